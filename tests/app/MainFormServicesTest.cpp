// The main window's services around modal forms, modules and colours, and
// the view's display switches.
#include "app/ui/MainForm.h"

#include "../support/WaitFor.h"
#include "ui/SpecialEdit.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QDialog>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QMimeData>
#include <QToolBar>
#include <QMenu>

#include <gtest/gtest.h>

namespace {

class MainFormServicesTest : public ::testing::Test {
protected:
  void SetUp() override {
    State.ProgramDir = Dir.path() + "/";
    State.MainIniFile = Dir.path() + "/Lumaretique.ini";
    Form = std::make_unique<TMainForm>(State);
    Form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(Form.get()));
    TBitmap Bitmap(120, 90);
    Window = Form->NouvelleImage(nullptr, &Bitmap, QString(), srcNew, 16777216);
  }
  // Runs Answer on the modal dialog once it is up.
  static void WhenModal(std::function<void(QWidget*)> Answer) {
    auto* Timer = new QTimer;
    Timer->setInterval(5);
    QObject::connect(Timer, &QTimer::timeout, [Timer, Answer] {
      if (QWidget* Modal = QApplication::activeModalWidget()) {
        Timer->stop();
        Timer->deleteLater();
        Answer(Modal);
      }
    });
    Timer->start();
  }
  QTemporaryDir Dir;
  TStartupState State;
  std::unique_ptr<TMainForm> Form;
  TNewImgForm* Window = nullptr;
};

} // namespace

TEST_F(MainFormServicesTest, AModalFormCountsAsAnOpenDialogue) {
  QDialog Dialog(Form.get());
  int During = -1;
  bool KeysDuring = true;
  WhenModal([&](QWidget* Modal) {
    During = Form->DialogueEnCours;
    KeysDuring = Form->CheckActionKey();
    static_cast<QDialog*>(Modal)->accept();
  });
  EXPECT_TRUE(Form->ShowModalForm(&Dialog));
  EXPECT_EQ(During, 1);
  EXPECT_FALSE(KeysDuring);
  EXPECT_EQ(Form->DialogueEnCours, 0);
  WhenModal([](QWidget* Modal) { static_cast<QDialog*>(Modal)->reject(); });
  EXPECT_FALSE(Form->ShowModalForm(&Dialog));
}

TEST_F(MainFormServicesTest, ThePaletteGivesTheChosenColourOnlyOnOk) {
  TColor Colour = RGB(10, 20, 30);
  WhenModal([](QWidget* Modal) {
    auto* Dialog = qobject_cast<QColorDialog*>(Modal);
    ASSERT_NE(Dialog, nullptr);
    EXPECT_EQ(Dialog->currentColor(), QColor(10, 20, 30));
    Dialog->setCurrentColor(QColor(200, 100, 50));
    Dialog->accept();
  });
  Form->AfficherPalette(Colour);
  EXPECT_EQ(Colour, RGB(200, 100, 50));
  WhenModal([](QWidget* Modal) {
    static_cast<QColorDialog*>(Modal)->setCurrentColor(Qt::black);
    static_cast<QDialog*>(Modal)->reject();
  });
  Form->AfficherPalette(Colour);
  EXPECT_EQ(Colour, RGB(200, 100, 50));
}

TEST_F(MainFormServicesTest, AModuleFormOwnsTheImageUntilItGivesItBack) {
  QWidget Module;
  Form->PreparerModule(&Module);
  EXPECT_EQ(Form->DialogueForm(), &Module);
  EXPECT_FALSE(Window->isEnabled());
  EXPECT_TRUE(Form->EdiZoom()->ReadOnly());
  EXPECT_EQ(Form->DialogueEnCours, 1);
  // The zoom commands are refused while the zoom edit is read-only.
  EXPECT_FALSE(Form->ActionPossible(Form->ToolBar(2)->findChild<QAction*>("BtnZoomPlus")));
  Form->PreparerModule(nullptr);
  EXPECT_EQ(Form->DialogueForm(), nullptr);
  EXPECT_TRUE(Window->isEnabled());
  EXPECT_FALSE(Form->EdiZoom()->ReadOnly());
  EXPECT_EQ(Form->DialogueEnCours, 0);
}

TEST_F(MainFormServicesTest, GridSwitchesFollowTheActiveImage) {
  ASSERT_TRUE(Form->MenuItem("MenuAfficherGrille")->isEnabled());
  Form->MenuItem("MenuAfficherGrille")->trigger();
  EXPECT_TRUE(Window->Image->ShowGrid);
  Form->MenuItem("MenuAfficherMagnGrille")->trigger();
  EXPECT_TRUE(Window->Image->GridAlign);
  Form->MenuItem("MenuAfficherGrille")->trigger();
  EXPECT_FALSE(Window->Image->ShowGrid);
  // A second image has its own grid; the menu shows the active one's.
  TBitmap Bitmap(50, 50);
  Form->NouvelleImage(nullptr, &Bitmap, QString(), srcNew, 16777216);
  Form->MenuNamed("MenuAffichage")->aboutToShow();
  EXPECT_FALSE(Form->MenuItem("MenuAfficherMagnGrille")->isChecked());
}

TEST_F(MainFormServicesTest, PastingNeedsAPictureAndA16MImage) {
  QGuiApplication::clipboard()->clear();
  EXPECT_FALSE(Form->CollagePossible(false));
  QImage Picture(4, 4, QImage::Format_RGB32);
  Picture.fill(Qt::red);
  QGuiApplication::clipboard()->setImage(Picture);
  ASSERT_TRUE(WaitUntil([] { return QGuiApplication::clipboard()->mimeData()->hasImage(); }));
  EXPECT_TRUE(Form->CollagePossible(false));
  EXPECT_TRUE(Form->CollagePossible(true));
  Form->SetNbCouleurs(256);
  EXPECT_FALSE(Form->CollagePossible(true));
  QGuiApplication::clipboard()->clear();
}

TEST_F(MainFormServicesTest, ShowingHidingAndTheShapeOfTheSelection) {
  // Show/hide on a window that never had a selection selects everything.
  Form->MenuSelSelectionClick(Form->MenuItem("MenuSelSelection"));
  ASSERT_TRUE(Form->Sel()->Visible());
  EXPECT_EQ(Form->Sel()->BmpSelRect(), (TRect{0, 0, 120, 90}));
  EXPECT_EQ(Form->ToolBar(1)->findChild<QAction*>("BtnSelection")->toolTip(),
            QString::fromUtf8("Masquer la sélection [%1]")
                .arg(QKeySequence("Ctrl+D").toString(QKeySequence::NativeText)));
  Form->MenuSelSelectionClick(nullptr);
  EXPECT_FALSE(Form->Sel()->Visible());
  Form->MenuSelSelectionClick(nullptr);
  EXPECT_TRUE(Form->Sel()->Visible());

  // Flag 2 changes the tool's shape only, 1 the selection's only.
  Form->ChangerForme(ssEllipse, false, 2);
  EXPECT_EQ(Window->Image->SelShape(), ssEllipse);
  EXPECT_EQ(Form->Sel()->Shape(), ssRect);
  Form->ChangerForme(ssLosange, false, 1);
  EXPECT_EQ(Form->Sel()->Shape(), ssLosange);
  EXPECT_EQ(Window->Image->SelShape(), ssEllipse);
  Form->ChangerForme(ssRect, true, 0);
  EXPECT_EQ(Form->Sel()->Shape(), ssRect);
  EXPECT_EQ(Window->Image->SelShape(), ssRect);
  EXPECT_TRUE(Window->Image->MultiLine);

  // The default rectangle: the visible image inset by a tenth of its
  // smaller side.
  const TRect V = Window->Image->ClientToBmp(Window->Image->ImgVisibleRect());
  const TRect D = Form->SelectionDefaut();
  const int Inset = std::min(V.Width(), V.Height()) / 10;
  EXPECT_NEAR(D.Left, V.Left + Inset, 1);
  EXPECT_NEAR(D.Bottom, V.Bottom - Inset, 1);
}

TEST_F(MainFormServicesTest, DrawingASelectionReplacesTheShownOne) {
  Form->MenuSelToutClick();
  TMyImageLayeredView* View = Window->Image;
  View->SelectionMode = TSelMode::smShape;
  const TRect Client = View->BmpToClient(TRect{10, 20, 60, 50});
  Form->ImageSelecting(Client, soStart);
  EXPECT_FALSE(Form->Sel()->Visible());
  Form->ImageSelecting(Client, soChanging);
  Form->ImageSelecting(Client, soEnd);
  ASSERT_TRUE(Form->Sel()->Visible());
  EXPECT_EQ(Form->Sel()->BmpSelRect(), (TRect{10, 20, 60, 50}));
  // A drag that came to nothing leaves no selection.
  Form->ImageSelecting(Client, soStart);
  Form->ImageSelecting(Client, soNoValid);
  EXPECT_FALSE(Form->Sel()->Visible());
  EXPECT_TRUE(Window->isEnabled());
}
