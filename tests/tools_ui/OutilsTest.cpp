#include "tools/ui/Outils.h"

#include "support/WaitFor.h"
#include "document/Pattern.h"
#include "document/ui/CursorEx.h"
#include "i18n/LibLang.h"
#include "tools/ColorStrip.h"
#include "tools/ui/PaletteWidgets.h"
#include "ui/SpecialEdit.h"
#include "ui/SpinEdit.h"
#include "ui/TrackBar.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QSet>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <memory>

namespace {

// The main window as the palette sees it, recording what it is asked.
class TFakePalette : public TPaletteServices {
public:
  bool Shortcuts = true;
  bool Image = true, Colors16M = true, BkgTransparent = false, Dialogue = false, Pipette = false, Paused = false;
  TPaletteLayerInfo Layer;
  QMainWindow Main;
  QString Brushes, NozzleFolder;
  QStringList Skipped;
  QStringList Calls;
  int DockedTo = -1, DockCount = 0;
  bool ColorDialogAnswer = false;
  TColor ColorDialogColor = clRed;

  bool UneImage() const override { return Image; }
  bool Mode16M() const override { return Colors16M; }
  bool BackgroundTransparent() const override { return BkgTransparent; }
  TPaletteLayerInfo CurrentLayer() const override { return Layer; }
  bool SelPaused() const override { return Paused; }
  bool IsDialogueForm() const override { return Dialogue; }
  bool HasPipetteForm() const override { return Pipette; }
  bool Terminating() const override { return false; }
  bool CheckActionKey() const override { return true; }
  QWidget* MainWindow() const override { return const_cast<QMainWindow*>(&Main); }
  void PaletteDocked(int Alignment) override {
    DockedTo = Alignment;
    ++DockCount;
  }
  bool ChooseColor(TColor& Color) override {
    if (ColorDialogAnswer) Color = ColorDialogColor;
    return ColorDialogAnswer;
  }
  QString BrushDir() const override { return Brushes; }
  QString NozzleDir() const override { return NozzleFolder; }
  void ReportSkippedFiles(const QStringList& Files) override { Skipped << Files; }
  QString MenuCaption(const char* ItemName) const override { return QStringLiteral("<%1>").arg(ItemName); }
  bool AddShortcut() const override { return Shortcuts; }
  void ToolChanged(bool LayerTool) override { Calls << (LayerTool ? "tool layer" : "tool"); }
  // Loads a 6 x 4 pattern when asked to, unless PatternFails.
  bool PatternFails = false;
  bool LoadPattern() override {
    Calls << QStringLiteral("load pattern");
    if (PatternFails) return false;
    CurrentPattern().Bmp().SetSize(6, 4);
    return true;
  }
  void SetLineWidth(int Width) override { Calls << QStringLiteral("line width %1").arg(Width); }
  void ChangerForme(int Shape, bool MultiLine) override {
    Calls << QStringLiteral("shape %1 %2").arg(Shape).arg(MultiLine);
  }
  void SelectionCommand(TPaletteSelCommand Command) override {
    Calls << QStringLiteral("selection %1").arg(int(Command));
  }
  void SetLayerOpacity(int Opacity) override { Calls << QStringLiteral("opacity %1").arg(Opacity); }
  void SetLayerVisible(bool Visible) override { Calls << QStringLiteral("visible %1").arg(Visible); }
  void SetLayerLocked(bool Locked) override { Calls << QStringLiteral("locked %1").arg(Locked); }
  void SetLayerBlendMode(int Mode) override { Calls << QStringLiteral("blend %1").arg(Mode); }
};

class PaletteTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(Dir.isValid());
    QDir(Dir.path()).mkpath(QStringLiteral("Brushes"));
    QDir(Dir.path()).mkpath(QStringLiteral("Nozzles"));
    Services.Brushes = Dir.filePath(QStringLiteral("Brushes"));
    Services.NozzleFolder = Dir.filePath(QStringLiteral("Nozzles"));
    WriteNozzle(QStringLiteral("Bubbles.png"), true);
    WriteNozzle(QStringLiteral("Flat.png"), false);
    PaletteAlignment = 0;
  }
  void TearDown() override {
    Palette.reset();
    ResetTranslations();
    DialogParams = false;
    DialogsIniFile.clear();
  }
  void WriteNozzle(const QString& Name, bool Alpha) {
    QImage Image(64, 32, Alpha ? QImage::Format_ARGB32 : QImage::Format_RGB888);
    Image.fill(QColor(0, 0, 255, 200));
    Image.save(Dir.filePath(QStringLiteral("Nozzles/") + Name), "PNG");
  }
  void WriteBrushes(const QString& Name, int Cells) {
    QImage Image(16 * Cells, 16, QImage::Format_RGB888);
    Image.fill(Qt::black);
    Image.save(Dir.filePath(QStringLiteral("Brushes/") + Name), "PNG");
  }
  TOutilsForm& Make() {
    Palette = std::make_unique<TOutilsForm>(Services);
    return *Palette;
  }
  TOutilsForm& Shown() {
    Make().show();
    EXPECT_TRUE(WaitUntil([this] { return Palette->isVisible(); }));
    return *Palette;
  }
  QTemporaryDir Dir{QDir::homePath() + QStringLiteral("/palette-XXXXXX")};
  TFakePalette Services;
  std::unique_ptr<TOutilsForm> Palette;
};

// The option page of each tool id.
constexpr int ToolPages[ToolCount] = {pgSel,   pgPipette, pgMagic,  pgLigne,  pgRemplir, pgAero,
                                      pgDessin, pgDessin2, pgGoutte, pgDoigt,  pgTampon,  pgScroll,
                                      pgDessin, pgCalque,  pgRetouche, pgDeform, pgArt,   PgNoz};

TEST_F(PaletteTest, ClickingEachToolButtonSelectsItAndShowsItsPage) {
  TOutilsForm& P = Shown();
  EXPECT_EQ(P.NbkOptions()->count(), OptionPageCount);
  for (TToolId Id = 0; Id < ToolCount; ++Id) {
    QToolButton* Button = P.ToolButton(Id);
    ASSERT_TRUE(Button->isVisible()) << Id;
    ASSERT_TRUE(Button->isEnabled()) << Id;
    QTest::mouseClick(Button, Qt::LeftButton);
    EXPECT_EQ(P.Tool(), Id);
    EXPECT_EQ(P.NbkOptions()->currentIndex(), ToolPages[Id]) << Id;
  }
  EXPECT_EQ(Services.Calls.count(QStringLiteral("tool layer")), 1);
}

TEST_F(PaletteTest, HintsCarryTheKeysAndTheMenuCaptionsOfTheSameCommands) {
  const auto Hint = [this](const char* Name) { return Palette->findChild<QToolButton*>(Name)->toolTip(); };
  Make();
  EXPECT_EQ(Hint("BtnSel"), "Outil Sélection [A..J]");
  EXPECT_EQ(Hint("BtnNozzle"), "Outil Nozzle [0]");
  EXPECT_EQ(Hint("TB0"), "<MenuSelRect> [A]");
  EXPECT_EQ(Hint("TB10"), "<MenuSelTriangle3> [F]");
  EXPECT_EQ(Hint("TB5"), "Lasso [I]");
  EXPECT_EQ(Hint("TB7"), "<MenuSelCharger>");
  EXPECT_EQ(Hint("TBSymHorz"), "<MenuImageSymVerti>");
  EXPECT_EQ(Hint("TBOpenPattern2"), "<MenuFichierOuvrir>");
  // The undo steps of a tool are titled without the key.
  EXPECT_EQ(Palette->ToolHint(6), "Outil Pinceau");

  Services.Shortcuts = false;
  Make();
  EXPECT_EQ(Hint("BtnSel"), "Outil Sélection");
  EXPECT_EQ(Hint("TB0"), "<MenuSelRect>");

  // A language module's tool hints, also for the undo titles.
  SetTranslation(TrId::GetTrHntPaintbrushTool, QStringLiteral("Brush tool"));
  SetTranslationLoaded(true);
  Make();
  EXPECT_EQ(Hint("BtnPinceau1"), "Brush tool");
  EXPECT_EQ(Palette->ToolHint(6), "Brush tool");
  EXPECT_EQ(Hint("BtnSel"), "") << "a key the module lacks";
}

TEST_F(PaletteTest, ToolIdsOutsideTheRangeSelectTheSelectionTool) {
  TOutilsForm& P = Shown();
  for (int Id : {18, -1}) {
    P.SetTool(6);
    P.SetTool(Id);
    EXPECT_EQ(P.Tool(), 0) << Id;
  }
  // A disabled tool leaves the tool as it is.
  Services.Colors16M = false;
  P.MajBoutons();
  P.SetTool(1);
  P.SetTool(6);
  EXPECT_EQ(P.Tool(), 1);
}

TEST_F(PaletteTest, ToolsFollowTheImageAndLayer) {
  TOutilsForm& P = Shown();
  const auto Enabled = [&P](TToolId Id) { return P.ToolButton(Id)->isEnabled(); };
  // A 256-colour image: painting tools off; the eraser only with a
  // transparent background.
  Services.Colors16M = false;
  P.MajBoutons();
  EXPECT_FALSE(Enabled(6));
  EXPECT_FALSE(Enabled(12));
  EXPECT_TRUE(Enabled(2));
  Services.BkgTransparent = true;
  P.MajBoutons();
  EXPECT_TRUE(Enabled(12));
  EXPECT_FALSE(Enabled(3));
  // A locked layer: no painting, no wand; a text layer keeps the wand.
  Services.Colors16M = true;
  Services.BkgTransparent = false;
  Services.Layer.Locked = true;
  P.MajBoutons();
  EXPECT_FALSE(Enabled(6));
  EXPECT_FALSE(Enabled(2));
  EXPECT_TRUE(Enabled(13));
  Services.Layer = TPaletteLayerInfo{};
  Services.Layer.IsBitmap = false;
  Services.Layer.IsText = true;
  P.MajBoutons();
  EXPECT_FALSE(Enabled(6));
  EXPECT_TRUE(Enabled(2));
  // A down tool that becomes disabled gives way to the selection tool.
  Services.Layer = TPaletteLayerInfo{};
  P.MajBoutons();
  P.SetTool(17);
  EXPECT_EQ(P.Tool(), 17) << "one 32-bit nozzle was loaded";
  Services.Image = false;
  P.MajBoutons();
  EXPECT_EQ(P.Tool(), 0);
  EXPECT_FALSE(Enabled(1));
}

TEST_F(PaletteTest, CtrlAndSpaceTurnToolsIntoPipetteAndScroll) {
  TOutilsForm& P = Shown();
  P.SetTool(6);
  EXPECT_FALSE(P.IsPipetteTool());
  QTest::keyPress(&Services.Main, Qt::Key_Control);
  EXPECT_TRUE(P.IsPipetteTool());
  P.StrokeRunning = true;
  EXPECT_FALSE(P.IsPipetteTool()) << "not during a stroke";
  P.StrokeRunning = false;
  QTest::keyRelease(&Services.Main, Qt::Key_Control);
  EXPECT_FALSE(P.IsPipetteTool());

  P.SetTool(5);
  EXPECT_FALSE(P.IsScrollTool());
  QTest::keyPress(&Services.Main, Qt::Key_Space);
  EXPECT_TRUE(P.IsScrollTool());
  P.SetTool(2);
  EXPECT_FALSE(P.IsScrollTool()) << "the wand does not scroll";
  // With a dialogue form every tool is off but the selection tool; Space
  // scrolls only while the selection drawing is paused.
  P.SetTool(6);
  Services.Dialogue = true;
  EXPECT_FALSE(P.IsBrushTool());
  EXPECT_TRUE(P.IsSelectTool());
  EXPECT_FALSE(P.IsScrollTool());
  Services.Paused = true;
  EXPECT_TRUE(P.IsScrollTool());
  Services.Pipette = true;
  EXPECT_FALSE(P.IsSelectTool());
  EXPECT_TRUE(P.IsPipetteTool());
  QTest::keyRelease(&Services.Main, Qt::Key_Space);
}

TEST_F(PaletteTest, ColoursSwapResetAndTakeWebText) {
  TOutilsForm& P = Shown();
  P.SetColor(0x3366CC, false);
  EXPECT_EQ(P.Control<QLabel>("LblR")->text(), QStringLiteral("R = 204"));
  EXPECT_EQ(P.Control<QLineEdit>("EdiHTML")->text(), QStringLiteral("#CC6633"));
  QTest::mouseClick(P.Control<QToolButton>("ImgSwap"), Qt::LeftButton);
  EXPECT_EQ(P.GetColor(false), clWhite);
  EXPECT_EQ(P.GetColor(true), TColor(0x3366CC));
  QTest::mouseClick(P.Control<QToolButton>("ImgNB"), Qt::LeftButton);
  EXPECT_EQ(P.GetColor(false), clBlack);
  EXPECT_EQ(P.GetColor(true), clWhite);

  QLineEdit* Html = P.Control<QLineEdit>("EdiHTML");
  Html->setText(QStringLiteral("#10a0FF"));
  P.ValidateEdiHTML();
  EXPECT_EQ(P.GetColor(false), TColor(0xFFA010));
  Html->setText(QStringLiteral("zz"));
  P.ValidateEdiHTML();
  EXPECT_EQ(P.GetColor(false), TColor(0xFFA010));
  EXPECT_EQ(Html->text(), QStringLiteral("#10A0FF"));

  // The colour dialog on the background panel.
  Services.ColorDialogAnswer = true;
  QTest::mouseClick(P.Control<TColorSwatch>("PnlFond"), Qt::LeftButton, {}, QPoint(10, 10));
  EXPECT_EQ(P.GetColor(true), clRed);
}

TEST_F(PaletteTest, StripsPickColoursAndWrap) {
  TOutilsForm& P = Shown();
  EXPECT_EQ(P.ColorsIndex(), 0);
  TStripImage* Grad = P.ImgGrad();
  // The grid's last cell, even on the frame; the right button sets the
  // background.
  QTest::mouseClick(Grad, Qt::LeftButton, {}, QPoint(Grad->width() - 1, Grad->height() - 1));
  EXPECT_EQ(P.GetColor(false), clWhite);
  QTest::mouseClick(Grad, Qt::RightButton, {}, QPoint(2, 2));
  EXPECT_EQ(P.GetColor(true), clBlack);
  P.BtnPrevGradClick();
  EXPECT_EQ(P.ColorsIndex(), 11);
  P.BtnNextGradClick();
  EXPECT_EQ(P.ColorsIndex(), 0);
  P.SetGradIndex(12);
  EXPECT_EQ(P.ColorsIndex(), 0);
  P.SetGradIndex(3);
  QTest::mouseClick(Grad, Qt::LeftButton, {}, QPoint(1, 3));
  EXPECT_LT(P.GetColor(false) & 0xFF, 16u) << "the red ramp starts black";
}

TEST_F(PaletteTest, LayerPageShowsAndEditsTheLayer) {
  TOutilsForm& P = Shown();
  Services.Layer.Caption = QStringLiteral("Fond");
  Services.Layer.CanChangeBlendMode = false;
  P.SetTool(13);
  EXPECT_EQ(P.Control<QLabel>("LblNomCalque")->text(), QStringLiteral("Fond"));
  EXPECT_FALSE(P.Control<QWidget>("SELayerAlpha")->isEnabled()) << "background without transparency";
  EXPECT_FALSE(P.Control<QWidget>("EdiLayerMode")->isEnabled());
  EXPECT_FALSE(Services.Calls.join(',').contains(QStringLiteral("opacity"))) << "filling changes nothing";

  Services.Layer = TPaletteLayerInfo{};
  Services.Layer.IsBackground = false;
  Services.Layer.CanChangeBlendMode = true;
  Services.Layer.BlendMode = 6;
  Services.Layer.Opacity = 80;
  P.MajOptionsCalques();
  auto* Alpha = P.Control<TSpinEdit2>("SELayerAlpha");
  EXPECT_TRUE(Alpha->isEnabled());
  EXPECT_EQ(Alpha->Value(), 80);
  EXPECT_EQ(P.Control<TSpecialEdit>("EdiLayerMode")->Text(), QStringLiteral("Produit"));
  Services.Calls.clear();
  Alpha->SetValue(50);
  Alpha->SetValue(40);
  QTest::mouseClick(P.Control<QCheckBox>("CBLocked"), Qt::LeftButton);
  P.Control<TSpecialEdit>("EdiLayerMode")->SetItemIndex(6); // the mode it has
  P.Control<TSpecialEdit>("EdiLayerMode")->SetItemIndex(15);
  EXPECT_EQ(Services.Calls, QStringList({"opacity 50", "opacity 40", "locked 1", "blend 15"}));

  QString Caption;
  int Tag = -1;
  P.LayerModeMenuItem(3, Caption, Tag);
  EXPECT_EQ(Caption, QStringLiteral("Produit"));
  EXPECT_EQ(Tag, 6);
  P.LayerModeMenuItem(2, Caption, Tag);
  EXPECT_TRUE(Caption.isEmpty()) << "a separator";
  P.LayerModeMenuItem(99, Caption, Tag);
  EXPECT_TRUE(Caption.isEmpty());
}

TEST_F(PaletteTest, EraserSwitchesBetweenItsTwoBrushPages) {
  TOutilsForm& P = Shown();
  P.SetTool(12);
  EXPECT_EQ(P.NbkOptions()->currentIndex(), pgDessin);
  auto* Plus = P.Control<QToolButton>("BtnGommePlus");
  ASSERT_TRUE(Plus->isVisible());
  EXPECT_FALSE(P.Control<QWidget>("EdiDessinMode")->isVisible());
  QTest::mouseClick(Plus, Qt::LeftButton);
  EXPECT_EQ(P.NbkOptions()->currentIndex(), pgDessin2);
  QTest::mouseClick(Plus, Qt::LeftButton);
  EXPECT_EQ(P.NbkOptions()->currentIndex(), pgDessin);
  P.SetTool(6);
  EXPECT_FALSE(Plus->isVisible());
  EXPECT_TRUE(P.Control<QWidget>("EdiDessinMode")->isVisible());
}

TEST_F(PaletteTest, SelectionPageButtonsRunTheirCommands) {
  TOutilsForm& P = Shown();
  Services.Calls.clear();
  for (const char* Name : {"TB1", "TB3", "TB6", "TB5", "TB12", "TB9"})
    QTest::mouseClick(P.Control<QToolButton>(Name), Qt::LeftButton);
  EXPECT_EQ(Services.Calls, QStringList({"shape 1 0", "shape 9 0", "shape 10 1", "shape 10 0",
                                         QStringLiteral("selection %1").arg(int(TPaletteSelCommand::Invert)),
                                         QStringLiteral("selection %1").arg(int(TPaletteSelCommand::Ratio32))}));
}

// Each selection button shows its own picture (no cut caption) and names
// its command in its hint.
TEST_F(PaletteTest, SelectionPageButtonsShowDistinctPictures) {
  TOutilsForm& P = Shown();
  QSet<QByteArray> Pictures;
  for (const char* Name : {"TB0", "TB1", "TB2", "TB3", "TB4", "TB10", "TB5", "TB6", "TB7", "TB8", "TB11", "TB9", "TB12",
                           "TB13", "TB14"}) {
    SCOPED_TRACE(Name);
    const auto* Button = P.Control<QToolButton>(Name);
    EXPECT_TRUE(Button->text().isEmpty());
    EXPECT_FALSE(Button->toolTip().isEmpty());
    const QImage Picture = Button->icon().pixmap(22, 22).toImage();
    ASSERT_FALSE(Picture.isNull());
    Pictures.insert(QByteArray(reinterpret_cast<const char*>(Picture.constBits()), Picture.sizeInBytes()));
  }
  EXPECT_EQ(Pictures.size(), 15);
}

TEST_F(PaletteTest, BrushOutlineFollowsTheTool) {
  TOutilsForm& P = Shown();
  P.SetTool(5);
  EXPECT_EQ(CursorExData.Style, csCircle);
  EXPECT_EQ(CursorExData.Width, 39); // 2 * 20 - 1
  P.SetTool(6);
  EXPECT_EQ(CursorExData.Width, 21); // 2 * 10 + 1
  P.SetTool(17);
  EXPECT_EQ(CursorExData.Style, csRectangle);
  EXPECT_EQ(CursorExData.Width, 32);
  EXPECT_EQ(CursorExData.Height, 32);
  // The plain line styles draw a square outline, the brush styles a round
  // one without smoothing.
  P.SetTool(3);
  EXPECT_EQ(CursorExData.Style, csRectangle);
  EXPECT_EQ(CursorExData.Width, 2);
  P.Control<QComboBox>("CBLineStyle")->setCurrentIndex(3);
  EXPECT_EQ(CursorExData.Style, csCircle);
  EXPECT_FALSE(P.Control<QCheckBox>("CBLisserLigne")->isEnabled());
  P.SetTool(0);
  EXPECT_EQ(CursorExData.Width, 0);
}

TEST_F(PaletteTest, BrokenNozzleAndBrushFilesAreReported) {
  TOutilsForm& P = Shown();
  EXPECT_EQ(P.Nozzles().Count(), 1);
  QFile Broken(Dir.filePath(QStringLiteral("Brushes/Default.png")));
  ASSERT_TRUE(Broken.open(QIODevice::WriteOnly));
  Broken.write("broken");
  Broken.close();
  P.LoadBrushSet(QString());
  EXPECT_EQ(P.Brushes().Count(), BuiltInBrushCount) << "the built-in brushes stand in";
  EXPECT_EQ(Services.Skipped, QStringList({Broken.fileName()}));
  auto* List = P.Control<QComboBox>("CBBrush");
  EXPECT_EQ(List->count(), BuiltInBrushCount);

  // The file menu lists the brush files, default excepted.
  WriteBrushes(QStringLiteral("Dots.png"), 3);
  QMenu* Menu = P.BrushFileMenu();
  ASSERT_EQ(Menu->actions().size(), 3);
  EXPECT_EQ(Menu->actions()[2]->text(), QStringLiteral("Dots"));
  Menu->actions()[2]->trigger();
  EXPECT_EQ(P.Brushes().Count(), 3);
  EXPECT_EQ(P.CurrentFileBrush(), QStringLiteral("Dots"));
}

TEST_F(PaletteTest, PatternBoxesLoadAPatternAndShowTheirToolbar) {
  TOutilsForm& P = Shown();
  CurrentPattern().Clear();
  P.SetTool(4);
  auto* Fill = P.Control<QCheckBox>("CBMotifRemplir");
  Services.PatternFails = true;
  QTest::mouseClick(Fill, Qt::LeftButton);
  EXPECT_FALSE(Fill->isChecked()) << "no pattern loaded";
  EXPECT_FALSE(P.Control<QWidget>("ToolBarPattern2")->isVisible());
  Services.PatternFails = false;
  QTest::mouseClick(Fill, Qt::LeftButton);
  EXPECT_TRUE(Fill->isChecked());
  EXPECT_TRUE(P.Control<QWidget>("ToolBarPattern2")->isVisible());
  // The clone with a fixed pattern outlines the pattern.
  P.SetTool(10);
  QTest::mouseClick(P.Control<QCheckBox>("CBTamponFixe"), Qt::LeftButton);
  QTest::mouseClick(P.Control<QCheckBox>("CBTamponMotif"), Qt::LeftButton);
  EXPECT_EQ(Services.Calls.count(QStringLiteral("load pattern")), 2) << "the pattern was there already";
  EXPECT_FALSE(P.Control<QWidget>("SERTampon")->isEnabled());
  EXPECT_EQ(CursorExData.Style, csRectangle);
  EXPECT_EQ(CursorExData.Width, 6);
  EXPECT_EQ(CursorExData.Height, 4);
  // A pattern emptied elsewhere unticks both boxes.
  CurrentPattern().Clear();
  EXPECT_FALSE(Fill->isChecked());
  EXPECT_FALSE(P.Control<QCheckBox>("CBTamponMotif")->isChecked());
}

TEST_F(PaletteTest, EmptySpinEditTakesItsDefaultOnValidation) {
  TOutilsForm& P = Shown();
  P.SetTool(6);
  auto* Radius = P.Control<TSpinEdit2>("SERBrush");
  Radius->setText(QString());
  P.ValidateEditControls();
  EXPECT_EQ(Radius->text(), QStringLiteral("10"));
}

TEST_F(PaletteTest, CustomValuesOfTheSettings) {
  WriteBrushes(QStringLiteral("Forty.png"), 40);
  TOutilsForm& P = Shown();
  P.SetIniCustomVar(2, QStringLiteral("12"));
  EXPECT_EQ(P.ColorsIndex(), 11);
  P.SetIniCustomVar(2, QStringLiteral("abc"));
  EXPECT_EQ(P.ColorsIndex(), 0);
  P.SetIniCustomVar(3, QStringLiteral("Forty"));
  ASSERT_EQ(P.Brushes().Count(), 40);
  const uint8_t Corner = P.Brushes().Item(12).Mask.Memory()[0];
  P.SetIniCustomVar(4, QStringLiteral("1012"));
  EXPECT_EQ(P.Brushes().ItemIndex, 12);
  EXPECT_EQ(P.GetIniCustomVar(4), QStringLiteral("1012"));
  EXPECT_EQ(P.Brushes().Item(12).Mask.Memory()[0], Corner) << "a uniform brush mirrors onto itself";
  P.SetIniCustomVar(4, QStringLiteral("00-1"));
  EXPECT_EQ(P.Brushes().ItemIndex, -1);
  P.SetIniCustomVar(0, QStringLiteral("#112233"));
  EXPECT_EQ(P.GetIniCustomVar(0), QStringLiteral("#112233"));
  P.SetIniCustomVar(5, QStringLiteral("4"));
  EXPECT_EQ(P.GetIniCustomVar(5), QStringLiteral("4"));
}

TEST_F(PaletteTest, SettingsSurviveARestart) {
  SetDialogsIniFile(Dir.filePath(QStringLiteral("Lumaretique.ini")));
  DialogParams = true;
  {
    TOutilsForm& P = Shown();
    P.SetColor(0x123456, false);
    P.SetColor(0x654321, true);
    P.SetGradIndex(7);
    P.Control<TSpinEdit2>("SERAero")->SetValue(77);
    P.Control<QCheckBox>("CBAeroGrad")->setChecked(true);
    P.Control<TTrackBar>("TBDispersionAero")->SetPosition(9);
    P.Control<TSpecialEdit>("EdiArtMode")->SetItemIndex(5);
    P.hide();
  }
  Palette.reset();
  TOutilsForm& P = Shown();
  EXPECT_EQ(P.GetColor(false), TColor(0x123456));
  EXPECT_EQ(P.GetColor(true), TColor(0x654321));
  EXPECT_EQ(P.ColorsIndex(), 7);
  EXPECT_EQ(P.Control<TSpinEdit2>("SERAero")->Value(), 77);
  EXPECT_TRUE(P.Control<QCheckBox>("CBAeroGrad")->isChecked());
  EXPECT_EQ(P.Control<TTrackBar>("TBDispersionAero")->Position(), 9);
  EXPECT_EQ(P.Control<TSpecialEdit>("EdiArtMode")->ItemIndex(), 5);
}

TEST_F(PaletteTest, DockingLeftRightAndFloating) {
  TOutilsForm& P = Make();
  EXPECT_EQ(P.Alignment(), 0);
  EXPECT_EQ(Services.DockCount, 1);
  P.SetAlignment(0);
  EXPECT_EQ(Services.DockCount, 1) << "already floating";
  P.SetAlignment(1);
  EXPECT_EQ(P.Alignment(), 1);
  EXPECT_EQ(Services.DockedTo, 1);
  EXPECT_EQ(P.parentWidget(), &Services.Main);
  EXPECT_FALSE(P.isWindow());
  EXPECT_EQ(P.WidthNeeded(P.DefHeight()), P.DefWidth() + 1);
  EXPECT_GT(P.WidthNeeded(P.DefHeight() - 1), P.DefWidth() + 1) << "a scroll bar more";
  P.SetAlignment(1);
  EXPECT_EQ(Services.DockCount, 2) << "already docked left";
  P.SetAlignment(2);
  EXPECT_EQ(Services.DockedTo, 2);
  EXPECT_EQ(P.WidthNeeded(P.DefHeight()), P.DefWidth() - 1);
  P.SetAlignment(0);
  EXPECT_TRUE(P.isWindow());
  EXPECT_EQ(P.size(), QSize(P.WidthNeeded(P.VHeight()), P.VHeight()));
}

} // namespace
