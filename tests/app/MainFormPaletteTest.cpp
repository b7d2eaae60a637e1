#include "app/ui/MainForm.h"

#include "support/WaitFor.h"
#include "document/ui/SelectionControl.h"
#include "tools/ui/Outils.h"

#include <QMdiArea>
#include <QTemporaryDir>
#include <QTest>
#include <QHelpEvent>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

class MainFormPaletteTest : public ::testing::Test {
protected:
  void SetUp() override {
    State.ProgramDir = Dir.path() + "/";
    State.MainIniFile = Dir.path() + "/Lumaretique.ini";
  }
  // The frame shown until its palette exists.
  TOutilsForm* ShowFrame(TMainForm& Form) {
    Form.resize(900, 700);
    Form.show();
    EXPECT_TRUE(WaitUntil([&Form] { return Form.Palette() && Form.Palette()->isVisible(); }));
    return Form.Palette();
  }
  QTemporaryDir Dir;
  TStartupState State;
};

TEST_F(MainFormPaletteTest, PaletteDocksRightThenLeftAndTheImageAreaMakesRoom) {
  TMainForm Form(State);
  TOutilsForm* Palette = ShowFrame(Form);
  ASSERT_NE(Palette, nullptr);
  const QWidget* Client = Form.centralWidget();
  ASSERT_EQ(Palette->Alignment(), 2) << "docked right by default";
  EXPECT_FALSE(Palette->isWindow());
  EXPECT_EQ(Palette->geometry().right(), Client->width() - 1);
  EXPECT_LE(Form.MdiArea()->geometry().right(), Palette->x() - 1);
  EXPECT_EQ(Palette->width(), Palette->WidthNeeded(Palette->height()));

  Palette->SetAlignment(1);
  EXPECT_TRUE(WaitUntil([Palette] { return Palette->isVisible(); }));
  EXPECT_EQ(Palette->x(), 0);
  EXPECT_GE(Form.MdiArea()->x(), Palette->width());

  Palette->SetAlignment(0);
  EXPECT_TRUE(Palette->isWindow());
  EXPECT_EQ(Form.MdiArea()->x(), 0);
}

TEST_F(MainFormPaletteTest, ToolButtonsAndKeysSelectTools) {
  TMainForm Form(State);
  TOutilsForm* Palette = ShowFrame(Form);
  ASSERT_NE(Palette, nullptr);
  // Without an image only the selection tool is enabled.
  EXPECT_FALSE(Palette->ToolButton(6)->isEnabled());
  Form.ToolHooks()->SetTool(1);
  EXPECT_EQ(Palette->Tool(), 0);
  TBitmap Bitmap(120, 80);
  ASSERT_NE(Form.NouvelleImage(nullptr, &Bitmap, QString(), srcNew, 16777216), nullptr);
  // The menus' update enables the painting tools.
  Form.MajMenus();
  EXPECT_TRUE(Palette->ToolButton(6)->isEnabled());
  QTest::mouseClick(Palette->ToolButton(6), Qt::LeftButton);
  EXPECT_EQ(Palette->Tool(), 6);
  Form.ToolHooks()->SetTool(3);
  EXPECT_EQ(Palette->Tool(), 3);
  EXPECT_FALSE(Form.ToolHooks()->IsSelectionTool());
}

// Whether resting the pointer on a widget reaches it for a hint: the
// widget's own filter runs after the application's.
class TTipProbe : public QObject {
public:
  bool Reached(QWidget* Target) {
    Seen = false;
    Target->installEventFilter(this);
    QHelpEvent Event(QEvent::ToolTip, QPoint(2, 2), Target->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(Target, &Event);
    Target->removeEventFilter(this);
    return Seen;
  }

protected:
  bool eventFilter(QObject*, QEvent* Event) override {
    if (Event->type() == QEvent::ToolTip) Seen = true;
    return true;
  }

private:
  bool Seen = false;
};

TEST_F(MainFormPaletteTest, ASelectionDragSilencesThePaletteUntilItEnds) {
  TMainForm Form(State);
  TOutilsForm* Palette = ShowFrame(Form);
  ASSERT_NE(Palette, nullptr);
  TBitmap Bitmap(120, 80);
  ASSERT_NE(Form.NouvelleImage(nullptr, &Bitmap, QString(), srcNew, 16777216), nullptr);
  QToolButton* Button = Palette->ToolButton(0);
  TTipProbe Probe;
  EXPECT_TRUE(Probe.Reached(Button));

  Form.ImageSelecting(TRect{10, 10, 40, 30}, soStart);
  EXPECT_FALSE(Probe.Reached(Button));
  EXPECT_FALSE(Probe.Reached(Form.ToolBar(1)));
  EXPECT_FALSE(Palette->isEnabled());

  Form.ImageSelecting(TRect{10, 10, 40, 30}, soEnd);
  EXPECT_TRUE(Probe.Reached(Button));
  EXPECT_TRUE(Probe.Reached(Form.ToolBar(1)));
  EXPECT_TRUE(Palette->isEnabled());
}

TEST_F(MainFormPaletteTest, ShapeButtonsAreHintedWithTheCleanedMenuCaptions) {
  TMainForm Form(State);
  TOutilsForm* Palette = ShowFrame(Form);
  ASSERT_NE(Palette, nullptr);
  EXPECT_EQ(Palette->findChild<QToolButton*>("TB1")->toolTip(), "Ellipse [B]");
  EXPECT_EQ(Palette->findChild<QToolButton*>("TB7")->toolTip(), "Charger une forme");
  EXPECT_EQ(Palette->findChild<QToolButton*>("TBBrushOpen")->toolTip(), "Ouvrir");
}

TEST_F(MainFormPaletteTest, SelectionPageWithoutAVisibleSelection) {
  TMainForm Form(State);
  TOutilsForm* Palette = ShowFrame(Form);
  ASSERT_NE(Palette, nullptr);
  TBitmap Bitmap(200, 100);
  TNewImgForm* Window = Form.NouvelleImage(nullptr, &Bitmap, QString(), srcNew, 16777216);
  ASSERT_NE(Window, nullptr);
  Form.MajMenus();
  Form.MasquerSelection();
  // Inverting marks the next selection; centring shows the default one.
  QTest::mouseClick(Palette->Control<QToolButton>("TB12"), Qt::LeftButton);
  EXPECT_TRUE(Form.Sel()->Invert());
  EXPECT_FALSE(Form.Sel()->Visible());
  QTest::mouseClick(Palette->Control<QToolButton>("TB13"), Qt::LeftButton);
  EXPECT_TRUE(Form.Sel()->Visible());
  EXPECT_EQ(Form.Sel()->BmpSelRect(), Form.SelectionDefaut());
}

TEST_F(MainFormPaletteTest, PlaceAndVisibilityOfThePaletteSurviveARestart) {
  {
    TMainForm Form(State);
    TOutilsForm* Palette = ShowFrame(Form);
    ASSERT_NE(Palette, nullptr);
    Palette->SetAlignment(1);
  }
  {
    TMainForm Form(State);
    TOutilsForm* Palette = ShowFrame(Form);
    ASSERT_NE(Palette, nullptr);
    EXPECT_EQ(Palette->Alignment(), 1);
    // View > Tool palette hides it, and it stays hidden at the next start.
    Form.MenuItem(QStringLiteral("MenuAffichageOutils"))->trigger();
    EXPECT_FALSE(Palette->isVisible());
    EXPECT_EQ(Form.MdiArea()->x(), 0);
  }
  TMainForm Form(State);
  Form.show();
  ASSERT_TRUE(WaitUntil([&Form] { return Form.Palette() != nullptr; }));
  EXPECT_FALSE(Form.Palette()->isVisible());
  EXPECT_FALSE(Form.MenuItem(QStringLiteral("MenuAffichageOutils"))->isChecked());
}

} // namespace
