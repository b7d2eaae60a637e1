// A real main window and the ways a user reaches the image dialogs: their
// menu items, typing into their fields, their buttons; layered images made
// for each test, and the messages shown meanwhile.
#pragma once

#include "app/ui/MainForm.h"

#include "../support/ImageCompare.h"
#include "../support/Pixels.h"
#include "../support/WaitFor.h"
#include "document/Calque.h"
#include "ui/MsgDlg.h"
#include "ui/SpinEdit.h"

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

class ImageDialogFixture : public ::testing::Test {
protected:
  void SetUp() override { MakeForm(""); }
  // The main window with Params as the [Params] section of its settings.
  void MakeForm(const char* Params) {
    Form.reset();
    State.ProgramDir = Dir.path() + "/";
    State.MainIniFile = Dir.path() + "/Lumaretique.ini";
    QFile Ini(State.MainIniFile);
    ASSERT_TRUE(Ini.open(QIODevice::WriteOnly));
    Ini.write(QByteArray("[Params]\r\n") + Params);
    Ini.close();
    Form = std::make_unique<TMainForm>(State);
    Form->resize(900, 700);
    Form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(Form.get()));
  }
  // An image whose background is a random W x H picture; with Layer, a
  // random 6 x 4 layer with a mask at (3, 2) above it.
  void OpenImage(int W, int H, bool Layer = false, bool BkgMask = false) {
    TMyImageLayered Doc;
    TBitmap B(W, H, pf24bit, clBlack);
    FillRandom(B, 7);
    TBitmap Mask;
    if (BkgMask) {
      Mask.Assign(TBitmap(W, H, pf24bit, clBlack));
      for (int Y = 0; Y < H; ++Y) SetPx(Mask, 0, Y, Grey(255));
    }
    Doc.AddBackground(&B, BkgMask ? &Mask : nullptr, QStringLiteral("#0"));
    if (Layer) {
      TBitmap L(6, 4, pf24bit, clBlack), M(6, 4, pf24bit, clBlack);
      FillRandom(L, 9);
      SetPx(M, 5, 3, Grey(255));
      Doc.AddLayer(&L, &M, {3, 2}, 100, QStringLiteral("#1"));
    }
    Form->NouvelleImage(&Doc, nullptr, QString(), srcNew, 16777216);
    Form->Image().ResolutionX = 96;
    Original.Assign(Form->LeFond());
  }
  // Opens a dialog through its menu item after its top menu opened (which
  // applies the menu rules).
  template <class TForm> TForm* Open(const char* Item, const char* TopMenu = "MenuImage") {
    emit Form->MenuNamed(QString::fromLatin1(TopMenu))->aboutToShow();
    QAction* A = Form->MenuItem(QString::fromLatin1(Item));
    EXPECT_TRUE(A && A->isEnabled()) << Item;
    if (!A || !A->isEnabled()) return nullptr;
    A->trigger();
    auto* D = Form->findChild<TForm*>();
    EXPECT_TRUE(D && D->isVisible()) << Item;
    return D && D->isVisible() ? D : nullptr;
  }
  // Text typed into a field over what it held, as a user would.
  static void Type(TCustomSpinEdit* Edit, const QString& Text) {
    Edit->setFocus();
    Edit->selectAll();
    QTest::keyClick(Edit, Qt::Key_Delete);
    QTest::keyClicks(Edit, Text);
  }
  static void Click(QAbstractButton* B) { QTest::mouseClick(B, Qt::LeftButton, {}, QPoint(4, 4)); }
  const TLayerItem& Layer(int Index) const { return Form->Image().Layers()[Index]; }
  int UndoSteps() const { return Form->ListeUndo().ItemIndex() + 1; }
  // Edit > Undo or Redo, as the menu shows them when it opens.
  void Undo() const { EditItem("MenuEditionUndo"); }
  void Redo() const { EditItem("MenuEditionRedo"); }
  void EditItem(const char* Name) const {
    emit Form->MenuNamed(QStringLiteral("MenuEdition"))->aboutToShow();
    QAction* A = Form->MenuItem(QString::fromLatin1(Name));
    ASSERT_TRUE(A->isEnabled()) << Name;
    A->trigger();
  }

  QTemporaryDir Dir;
  TStartupState State;
  std::unique_ptr<TMainForm> Form;
  TBitmap Original;
  QStringList Messages;
  TScopedMsgDlgAnswers Answers{[this](const TMsgDlgRequest& R) {
    Messages << R.Msg;
    return TMsgDlgAnswer{mrOk, {}};
  }};
};
