#include "ui/MsgDlg.h"

#include "i18n/LibLang.h"
#include "support/WaitFor.h"
#include "ui/MyBevel.h"
#include "ui/UtilsDPI.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <vector>

namespace {

// Requests the provider saw, answered in turn from a list.
struct TRecorder {
  std::vector<TMsgDlgRequest> Requests;
  std::vector<TMsgDlgAnswer> Answers;
  TMsgDlgAnswerProvider Provider() {
    return [this](const TMsgDlgRequest& R) {
      EXPECT_TRUE(IsMsgDlgShowing());
      Requests.push_back(R);
      const TMsgDlgAnswer A = Answers.at(Requests.size() - 1);
      return A;
    };
  }
};

TEST(MsgDlgProviderTest, AnswersAndTitlesByKind) {
  TRecorder Rec;
  Rec.Answers = {{mrOk, {}}, {mrYes, {}}, {mrNo, {}}, {mrCancel, {}}, {mrOk, {}}, {mrOk, {}}};
  {
    TScopedMsgDlgAnswers Answers(Rec.Provider());
    EXPECT_EQ(ShowMsgDlg(QStringLiteral("Attention"), mdkWarning, {mdbOk}), mrOk);
    EXPECT_EQ(ShowMsgDlg(QStringLiteral("?"), mdkConfirmation, {mdbYes, mdbNo}), mrYes);
    EXPECT_EQ(ShowMsgDlg(QStringLiteral("!"), mdkError, {mdbYes, mdbNo, mdbCancel}), mrNo);
    EXPECT_EQ(ShowMsgDlg(QStringLiteral("i"), mdkInformation, {mdbOk}, QStringLiteral("Mon titre")), mrCancel);
    ShowMsgDlg(QStringLiteral("c"), mdkCustom, {mdbOk});
    ShowMsgDlg(QStringLiteral("i"), mdkInformation, {mdbOk});
  }
  ASSERT_EQ(Rec.Requests.size(), 6u);
  EXPECT_EQ(Rec.Requests[0].Title, QStringLiteral("Avertissement"));
  EXPECT_EQ(Rec.Requests[0].Buttons.Bits(), 4);
  EXPECT_EQ(Rec.Requests[1].Title, QStringLiteral("Confirmation"));
  EXPECT_EQ(Rec.Requests[1].Buttons.Bits(), 3);
  EXPECT_EQ(Rec.Requests[2].Title, QStringLiteral("Erreur"));
  EXPECT_EQ(Rec.Requests[2].Buttons.Bits(), 11);
  EXPECT_EQ(Rec.Requests[3].Title, QStringLiteral("Mon titre"));
  EXPECT_EQ(Rec.Requests[4].Title, QFileInfo(QCoreApplication::applicationFilePath()).fileName());
  EXPECT_EQ(Rec.Requests[5].Title, QStringLiteral("Information"));
  EXPECT_FALSE(Rec.Requests[0].Input);
  EXPECT_FALSE(IsMsgDlgShowing());
}

TEST(MsgDlgProviderTest, InputCancelledKeepsTheText) {
  TRecorder Rec;
  Rec.Answers = {{mrCancel, QStringLiteral("typed")}, {mrOk, QStringLiteral("new name")}, {mrCancel, {}}};
  TScopedMsgDlgAnswers Answers(Rec.Provider());
  QString Text = QStringLiteral("old");
  EXPECT_FALSE(InputMsgDlg(QString(), QStringLiteral("Nom :"), Text));
  EXPECT_EQ(Text, QStringLiteral("old"));
  EXPECT_TRUE(InputMsgDlg(QStringLiteral("Renommer"), QStringLiteral("Nom :"), Text));
  EXPECT_EQ(Text, QStringLiteral("new name"));
  EXPECT_EQ(InputMsgBox(QString(), QStringLiteral("Nom :"), QStringLiteral("abc")), QStringLiteral("abc"));
  ASSERT_EQ(Rec.Requests.size(), 3u);
  EXPECT_TRUE(Rec.Requests[0].Input);
  EXPECT_EQ(Rec.Requests[0].Title, QStringLiteral("Saisie"));
  EXPECT_EQ(Rec.Requests[0].Text, QStringLiteral("old"));
  EXPECT_EQ(Rec.Requests[0].Buttons.Bits(), 12);
  EXPECT_EQ(Rec.Requests[1].Title, QStringLiteral("Renommer"));
  EXPECT_EQ(Rec.Requests[2].Text, QStringLiteral("abc"));
}

// Drives the real dialog: Action runs inside its modal loop once it is shown.
// A dialog that an action fails to close is closed after the generous wait
// timeout with -1, so a broken test fails instead of hanging.
class MsgDlgFormTest : public ::testing::Test {
protected:
  void TearDown() override {
    SetMsgDlgBeforeShow(nullptr);
    SetScreenPixelsPerInch(96);
    ResetTranslations();
  }
  void WhenShown(std::function<void(TMsgDlgForm*)> Action) {
    SetMsgDlgBeforeShow([Action](TMsgDlgForm* Form) {
      QTimer::singleShot(0, Form, [Form, Action] {
        EXPECT_TRUE(Form->isVisible());
        EXPECT_TRUE(IsMsgDlgShowing());
        Action(Form);
      });
      QTimer::singleShot(WaitTimeout, Form, [Form] { Form->done(-1); });
    });
  }
  static void Key(TMsgDlgForm* Form, Qt::Key K) {
    QWidget* Target = Form->focusWidget() ? Form->focusWidget() : Form;
    QTest::keyClick(Target, K);
  }
  // Visible buttons from left to right.
  static std::vector<QPushButton*> VisibleButtons(TMsgDlgForm* F) {
    std::vector<QPushButton*> List;
    for (QPushButton* B : {F->BtnYes, F->BtnNo, F->BtnOk, F->BtnCancel})
      if (!B->isHidden()) List.push_back(B);
    std::sort(List.begin(), List.end(), [](QPushButton* A, QPushButton* B) { return A->x() < B->x(); });
    return List;
  }
};

TEST_F(MsgDlgFormTest, OneWordWarning) {
  WhenShown([](TMsgDlgForm* F) {
    EXPECT_EQ(F->width(), 377);
    EXPECT_EQ(F->LblCaption->text(), QStringLiteral("Avertissement"));
    EXPECT_EQ(F->windowTitle(), QStringLiteral("Lumaretique 11"));
    EXPECT_EQ(F->LblMsg->text(), QStringLiteral("Attention"));
    const auto Buttons = VisibleButtons(F);
    ASSERT_EQ(Buttons.size(), 1u);
    EXPECT_EQ(Buttons[0], F->BtnOk);
    EXPECT_EQ(F->BtnOk->text(), QStringLiteral("Ok"));
    EXPECT_EQ(F->BtnOk->x() + F->BtnOk->width(), 377 - 15);
    EXPECT_EQ(F->BtnOk->width(), 75);
    EXPECT_EQ(F->BtnOk->height(), 25);
    EXPECT_TRUE(F->BtnOk->isDefault());
    EXPECT_FALSE(F->ResIcon->pixmap().isNull());
    EXPECT_EQ(F->ResIcon->size(), QSize(32, 32));
    // The button band: a one-pixel line, the buttons 16 pixels below it.
    EXPECT_EQ(F->ButtonsSep->height(), 1);
    EXPECT_EQ(F->BtnOk->y(), 17);
    EXPECT_EQ(F->PnlButtons->height(), 25 - 1 + 32);
    EXPECT_EQ(F->PnlButtons->y() + F->PnlButtons->height(), F->height());
    EXPECT_EQ(F->CaptionSep->y(), F->LblCaption->y() + F->LblCaption->height() + 3);
    EXPECT_EQ(F->CaptionSep->width(), 377 - 2 * 16);
    Key(F, Qt::Key_Escape); // no cancel button: nothing happens
    EXPECT_TRUE(F->isVisible());
    Key(F, Qt::Key_Return);
  });
  EXPECT_EQ(ShowMsgDlg(QStringLiteral("Attention"), mdkWarning, {mdbOk}), mrOk);
  EXPECT_FALSE(IsMsgDlgShowing());
}

TEST_F(MsgDlgFormTest, YesNoCancelOrderAndKeys) {
  auto Check = [](TMsgDlgForm* F) {
    const auto Buttons = VisibleButtons(F);
    ASSERT_EQ(Buttons.size(), 3u);
    EXPECT_EQ(Buttons[0]->text(), QStringLiteral("&Oui"));
    EXPECT_EQ(Buttons[1]->text(), QStringLiteral("&Non"));
    EXPECT_EQ(Buttons[2]->text(), QStringLiteral("Annuler"));
    EXPECT_EQ(Buttons[1]->x() - Buttons[0]->x(), 75 + 5);
    EXPECT_EQ(Buttons[2]->x() + 75, F->width() - 15);
    EXPECT_EQ(F->DefaultButton(), F->BtnYes);
    EXPECT_EQ(F->CancelButton(), F->BtnCancel);
    EXPECT_EQ(F->LblCaption->text(), QStringLiteral("Confirmation"));
  };
  const std::pair<Qt::Key, int> Cases[] = {
      {Qt::Key_Return, mrYes}, {Qt::Key_Escape, mrCancel}, {Qt::Key_N, mrNo}, {Qt::Key_O, mrYes}};
  for (const auto& [K, Expected] : Cases) {
    WhenShown([&, K = K](TMsgDlgForm* F) {
      Check(F);
      Key(F, K);
    });
    EXPECT_EQ(ShowMsgDlg(QStringLiteral("Enregistrer ?"), mdkConfirmation, {mdbYes, mdbNo, mdbCancel}), Expected) << K;
  }
}

TEST_F(MsgDlgFormTest, YesNoEscapeAnswersNoAndClosingAnswersCancel) {
  WhenShown([](TMsgDlgForm* F) {
    EXPECT_EQ(F->CancelButton(), F->BtnNo);
    Key(F, Qt::Key_Escape);
  });
  EXPECT_EQ(ShowMsgDlg(QStringLiteral("Continuer ?"), mdkConfirmation, {mdbYes, mdbNo}), mrNo);
  WhenShown([](TMsgDlgForm* F) { F->close(); });
  EXPECT_EQ(ShowMsgDlg(QStringLiteral("Continuer ?"), mdkConfirmation, {mdbYes, mdbNo}), mrCancel);
  WhenShown([](TMsgDlgForm* F) { F->BtnNo->click(); });
  EXPECT_EQ(ShowMsgDlg(QStringLiteral("Continuer ?"), mdkConfirmation, {mdbYes, mdbNo}), mrNo);
}

TEST_F(MsgDlgFormTest, TranslatedAcceleratorsAnswer) {
  ASSERT_TRUE(SetTranslation(TrId::GetDlgYes, QStringLiteral("&Yes")));
  ASSERT_TRUE(SetTranslation(TrId::GetDlgNo, QStringLiteral("N&o")));
  WhenShown([](TMsgDlgForm* F) { Key(F, Qt::Key_O); });
  EXPECT_EQ(ShowMsgDlg(QStringLiteral("?"), mdkConfirmation, {mdbYes, mdbNo}), mrNo);
  WhenShown([](TMsgDlgForm* F) {
    Key(F, Qt::Key_N); // no longer an accelerator
    EXPECT_TRUE(F->isVisible());
    Key(F, Qt::Key_Y);
  });
  EXPECT_EQ(ShowMsgDlg(QStringLiteral("?"), mdkConfirmation, {mdbYes, mdbNo}), mrYes);
}

TEST_F(MsgDlgFormTest, LongAndManyLinedMessagesGrowTheDialog) {
  const QString Long(200, u'x');
  int OneLineHeight = 0;
  WhenShown([&](TMsgDlgForm* F) {
    EXPECT_EQ(F->width(), F->LblMsg->x() + F->LblMsg->width() + F->ResIcon->x());
    EXPECT_GT(F->width(), 377);
    OneLineHeight = F->LblMsg->height();
    F->BtnOk->click();
  });
  ShowMsgDlg(Long, mdkInformation, {mdbOk});
  QString TenLines = QStringLiteral("ligne");
  for (int I = 1; I < 10; ++I) TenLines += QStringLiteral("\rligne");
  WhenShown([&](TMsgDlgForm* F) {
    EXPECT_EQ(F->LblMsg->text().count(u'\n'), 9);
    EXPECT_GE(F->LblMsg->height(), 10 * OneLineHeight - 9);
    EXPECT_EQ(F->height(), F->LblMsg->y() + F->LblMsg->height() + F->LblCaption->y() + F->PnlButtons->height());
    EXPECT_EQ(F->width(), 377);
    F->BtnOk->click();
  });
  ShowMsgDlg(TenLines, mdkInformation, {mdbOk});
}

TEST_F(MsgDlgFormTest, EmptyMessageGivesTheMinimumDialog) {
  WhenShown([](TMsgDlgForm* F) {
    EXPECT_EQ(F->width(), 377);
    // The icon sets the least height: caption top + icon top + icon height.
    EXPECT_EQ(F->height(), 20 + 56 + 32 + F->PnlButtons->height());
    F->BtnOk->click();
  });
  EXPECT_EQ(ShowMsgDlg(QString(), mdkWarning, {mdbOk}), mrOk);
}

TEST_F(MsgDlgFormTest, InputModeTypesCancelsAndSelects) {
  WhenShown([](TMsgDlgForm* F) {
    EXPECT_EQ(F->Flag, 1);
    EXPECT_TRUE(F->EdiInput->isVisible());
    EXPECT_EQ(F->LblCaption->text(), QStringLiteral("Saisie"));
    EXPECT_EQ(F->EdiInput->width(), F->width() - 64 - 16);
    EXPECT_EQ(F->EdiInput->y(), F->LblMsg->y() + F->LblMsg->height() + F->BtnSpace);
    EXPECT_EQ(F->EdiInput->selectedText(), QStringLiteral("abc"));
    const auto Buttons = VisibleButtons(F);
    ASSERT_EQ(Buttons.size(), 2u);
    EXPECT_EQ(Buttons[0], F->BtnOk);
    EXPECT_EQ(Buttons[1], F->BtnCancel);
    QTest::keyClicks(F->EdiInput, QStringLiteral("xyz"));
    Key(F, Qt::Key_Escape);
  });
  EXPECT_EQ(InputMsgBox(QString(), QStringLiteral("Nom :"), QStringLiteral("abc")), QStringLiteral("abc"));

  WhenShown([](TMsgDlgForm* F) {
    QTest::keyClicks(F->EdiInput, QStringLiteral("nouveau")); // replaces the selected text
    QTest::keyClick(F->EdiInput, Qt::Key_Return);
  });
  EXPECT_EQ(InputMsgBox(QStringLiteral("Renommer"), QStringLiteral("Nom :"), QStringLiteral("abc")),
            QStringLiteral("nouveau"));
}

TEST_F(MsgDlgFormTest, ScaledLayoutAtOneHundredFortyFourDpi) {
  SetScreenPixelsPerInch(144);
  WhenShown([](TMsgDlgForm* F) {
    EXPECT_EQ(F->BtnWidth, 113); // 112.5
    EXPECT_EQ(F->BtnSpace, 156 - 36 - 113);
    EXPECT_EQ(F->width(), 4 * 113); // four buttons are wider than 377
    EXPECT_EQ(F->ResIcon->size(), QSize(48, 48));
    EXPECT_EQ(F->BtnOk->x() + F->BtnOk->width(), F->width() - 15);
    Key(F, Qt::Key_Return);
  });
  EXPECT_EQ(ShowMsgDlg(QStringLiteral("Attention"), mdkWarning, {mdbOk}), mrOk);
}

TEST_F(MsgDlgFormTest, CustomKindShowsTheProgramName) {
  WhenShown([](TMsgDlgForm* F) {
    EXPECT_EQ(F->LblCaption->text(), QFileInfo(QCoreApplication::applicationFilePath()).fileName());
    F->BtnOk->click();
  });
  ShowMsgDlg(QStringLiteral("x"), mdkCustom, {mdbOk});
}

} // namespace
