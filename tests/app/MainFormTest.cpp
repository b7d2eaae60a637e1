#include "app/ui/MainForm.h"
#include "app/MainMenuTable.h"
#include "app/ui/MainStatusBar.h"
#include "ui/ToolbarImages.h"
#include "platform/IniFile.h"
#include "raster/ColorUtils.h"
#include "ui/ColorEdit.h"
#include "ui/ColorPicker.h"
#include "ui/DlgColors.h"

#include <QAction>
#include <QDropEvent>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QShortcutEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QUrl>

#include <gtest/gtest.h>

namespace {

class MainFormTest : public ::testing::Test {
protected:
  void SetUp() override {
    State.ProgramDir = Dir.path() + "/";
    State.MainIniFile = Dir.path() + "/Lumaretique.ini";
  }
  QTemporaryDir Dir;
  TStartupState State;
};

QColor Rgb(TColor C) {
  const TColor R = ColorToRGB(C);
  return QColor(GetRValue(R), GetGValue(R), GetBValue(R));
}

} // namespace

TEST_F(MainFormTest, MenusHoldEveryTableItemInFrench) {
  TMainForm Form(State);
  QStringList Tops;
  for (QAction* Top : Form.menuBar()->actions()) Tops << Top->text();
  EXPECT_EQ(Tops, QStringList({"Fichier", "Edition", "Image", "Calque", QString::fromUtf8("Sélection"),
                               QString::fromUtf8("Réglage"), "Filtre", "Affichage", "Outils",
                               QString::fromUtf8("Fenêtre"), "?"}));
  for (const TMenuEntry& E : MainMenuEntries()) {
    QAction* Item = Form.MenuItem(QString::fromLatin1(E.Name));
    ASSERT_NE(Item, nullptr) << E.Name;
    // A separator carries no caption, which a style would draw as "-".
    EXPECT_EQ(Item->text(), Item->isSeparator() ? QString() : QString::fromUtf16(E.Caption)) << E.Name;
  }
  // Items stand where the table puts them.
  EXPECT_TRUE(Form.MenuNamed("MenuAttenuation")->actions().contains(Form.MenuItem("MenuFiltreFlou")));
  EXPECT_TRUE(Form.MenuNamed("PopForm")->actions().contains(Form.MenuItem("PopFormOuvrir")));
  EXPECT_EQ(Form.MenuItem("MenuFichierOuvrir")->shortcut(), QKeySequence("Ctrl+O"));
  // Popups made of clones, and the zoom list.
  EXPECT_EQ(Form.MenuNamed("PopSelForme")->actions().size(), Form.MenuNamed("MenuSelForme")->actions().size());
  EXPECT_EQ(Form.MenuNamed("PopSelTransform")->actions().size(), 5 + 1 + 2);
  // "<Auto>", a separator, the presets with separators around real size
  const QList<QAction*> Zoom = Form.MenuNamed("PopZoom")->actions();
  ASSERT_EQ(Zoom.size(), 1 + 1 + 15 + 2);
  EXPECT_TRUE(Zoom[8]->isSeparator() && Zoom[10]->isSeparator());
  EXPECT_EQ(Zoom[9]->text(), "100%   (1:1)");
  EXPECT_EQ(Zoom[2]->text(), "10%   (1:10)");
  EXPECT_EQ(Form.MenuNamed("PopImg")->actions().last()->text(), "Refaire");
}

TEST_F(MainFormTest, CommandsNotBuiltYetAreDisabledWithTheirButtons) {
  TMainForm Form(State);
  EXPECT_FALSE(Form.MenuItem("MenuFiltreAdoucir")->isEnabled());
  EXPECT_FALSE(Form.ToolBar(3)->findChild<QAction*>("BtnAdoucir")->isEnabled());
  EXPECT_TRUE(Form.MenuItem("MenuFichierQuiter")->isEnabled());
  EXPECT_TRUE(Form.MenuItem("MenuFenetreCascade")->isEnabled());
  // Hints come from the menu captions, with the short-cut in brackets.
  EXPECT_EQ(Form.ToolBar(1)->findChild<QAction*>("BtnNew")->toolTip(),
            "Nouveau [" + QKeySequence("Ctrl+N").toString(QKeySequence::NativeText) + "]");
  EXPECT_EQ(Form.ToolBar(2)->findChild<QAction*>("BtnZoomPlus")->toolTip(), "Zoom avant [+]");
  EXPECT_EQ(Form.ToolBar(3)->findChild<QAction*>("BtnLumMoins")->toolTip(), QString::fromUtf8("Luminosité  (-)"));
}

TEST_F(MainFormTest, MenuShortCutsWaitWhileADialogIsOpen) {
  TMainForm Form(State);
  QAction* Cascade = Form.MenuItem("MenuFenetreCascade");
  int Triggered = 0;
  QObject::connect(Cascade, &QAction::triggered, [&Triggered] { ++Triggered; });
  QShortcutEvent Key(QKeySequence("Ctrl+F5"), 0);
  QWidget Dialog;
  Form.SetDialogueForm(&Dialog);
  EXPECT_FALSE(Form.CheckActionKey());
  QCoreApplication::sendEvent(Cascade, &Key);
  EXPECT_EQ(Triggered, 0);
  Form.SetDialogueForm(nullptr);
  Form.DialogueEnCours = 1;
  QCoreApplication::sendEvent(Cascade, &Key);
  EXPECT_EQ(Triggered, 0);
  Form.DialogueEnCours = 0;
  QCoreApplication::sendEvent(Cascade, &Key);
  EXPECT_EQ(Triggered, 1);
}

TEST_F(MainFormTest, ProgressShowsTheActionAndFillsPanelZero) {
  TMainForm Form(State);
  Form.resize(900, 600);
  Form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&Form));
  TMainStatusBar* Bar = Form.StatusBar();
  Form.SetStatusText("&flou");
  EXPECT_EQ(Bar->PanelText(0), "Flou...");
  Form.ProgressCallback(ProgressStageBegin, 100, 0);
  Form.ProgressCallback(ProgressStageReport, 40, 0);
  EXPECT_EQ(Bar->PanelText(0), "Flou : 40%");

  const QImage Shot = Bar->grab().toImage();
  const int PanelWidth = Bar->PanelWidth(0);
  const int FillEnd = 40 * PanelWidth / 100;
  const QColor Panel = Rgb(clDlgPanelLight);
  const QColor Orange(255, 0x99, 0);
  const QColor Fill((Panel.red() + Orange.red()) / 2, (Panel.green() + Orange.green()) / 2,
                    (Panel.blue() + Orange.blue()) / 2);
  const int Y = Shot.height() - 2;
  const auto Near = [](QColor A, QColor B) {
    return std::abs(A.red() - B.red()) <= 1 && std::abs(A.green() - B.green()) <= 1 &&
           std::abs(A.blue() - B.blue()) <= 1;
  };
  EXPECT_TRUE(Near(Shot.pixelColor(FillEnd - 1, Y), Fill)) << Shot.pixelColor(FillEnd - 1, Y).name().toStdString();
  EXPECT_TRUE(Near(Shot.pixelColor(FillEnd + 1, Y), Panel)) << Shot.pixelColor(FillEnd + 1, Y).name().toStdString();

  Form.ProgressCallback(ProgressStageEnd, 0, 0);
  EXPECT_EQ(Bar->PanelText(0), "Flou...");
  EXPECT_FALSE(Bar->ProgressDrawn());
}

TEST_F(MainFormTest, DroppedNamesAreKeptWhole) {
  TMainForm Form(State);
  const QString Long = "/tmp/" + QString(300, QLatin1Char('a')) + ".png";
  QMimeData Data;
  Data.setUrls({QUrl::fromLocalFile(Long)});
  Form.WMFilesDropped(&Data);
  ASSERT_FALSE(Form.PendingFiles().isEmpty());
  EXPECT_EQ(Form.PendingFiles().last(), Long);

  QStringList Opened;
  Form.SetOpenFileHook([&Opened](const QString& File) { Opened << File; });
  Form.WMFilesDropped(&Data);
  EXPECT_TRUE(Form.PendingFiles().isEmpty());
  EXPECT_EQ(Opened.last(), Long);
}

TEST_F(MainFormTest, ClosingWritesTheSettingsAndTheNextStartReadsThem) {
  QFile Recent(Dir.path() + "/photo.png");
  ASSERT_TRUE(Recent.open(QIODevice::WriteOnly));
  Recent.close();
  {
    TMainForm Form(State);
    Form.show();
    Form.setGeometry(40, 50, 640, 480);
    Form.AjouterListeFichiers(Recent.fileName());
    Form.MenuItem("MenuAffichageBarreFiltres")->trigger();
    EXPECT_FALSE(Form.ToolBar(3)->isVisible());
    EXPECT_TRUE(Form.close());
  }
  TIniFile Ini(State.MainIniFile);
  EXPECT_EQ(Ini.ReadString("Files", "File1", ""), Recent.fileName());
  EXPECT_EQ(Ini.ReadString("Tools", "FilterBar", ""), "0");
  TMainForm Again(State);
  EXPECT_EQ(Again.Settings().ListeFichiers, QStringList({Recent.fileName()}));
  EXPECT_FALSE(Again.MenuItem("MenuAffichageBarreFiltres")->isChecked());
  Again.MenuFichierRecentsClick();
  int Shown = 0;
  for (const QAction* Item : Again.MenuNamed("MenuFichierRecents")->actions()) Shown += Item->isVisible() ? 1 : 0;
  EXPECT_EQ(Shown, 1);
  EXPECT_EQ(Again.Settings().WindowRect.size(), QSize(640, 480));
}

TEST(ToolbarImages, DisabledLookIsTintedGrey) {
  QImage Red(2, 1, QImage::Format_ARGB32);
  Red.setPixel(0, 0, qRgba(255, 0, 0, 255));
  Red.setPixel(1, 0, qRgba(0, 0, 0, 0));
  const QImage Plain = DisabledImage(Red, clWhite, 0, 50);
  EXPECT_EQ(Plain.pixel(0, 0), qRgba(170, 170, 170, 255)); // g 85 lightened by half
  EXPECT_EQ(qAlpha(Plain.pixel(1, 0)), 0);
  const QImage Tinted = DisabledImage(Red, clWhite, 50, 50);
  EXPECT_EQ(Tinted.pixel(0, 0), qRgba(212, 212, 212, 255));
  // Every glyph draws something.
  for (int G = 0; G < static_cast<int>(TGlyph::GlyphCount); ++G) {
    const QImage Image = GlyphImage(static_cast<TGlyph>(G), 19);
    bool Opaque = false;
    for (int Y = 0; Y < 19 && !Opaque; ++Y)
      for (int X = 0; X < 19 && !Opaque; ++X) Opaque = qAlpha(Image.pixel(X, Y)) > 128;
    EXPECT_TRUE(Opaque) << G;
  }
}

// The File menu's short-cuts are those of its table, and no key runs two
// commands (Repeat has none of its own).
TEST_F(MainFormTest, FileShortCutsFollowTheirTableWithNoKeyBoundTwice) {
  TMainForm Form(State);
  const std::pair<const char*, const char*> Table[] = {
      {"MenuFichierNouveau", "Ctrl+N"},          {"MenuFichierOuvrir", "Ctrl+O"},
      {"MenuFichierRetablir", "Ctrl+R"},         {"MenuFichierEnregistrer", "Ctrl+S"},
      {"MenuFichierEnregistrerSous", "Ctrl+Shift+S"}, {"MenuFichierFermer", "Ctrl+W"},
      {"MenuFichierImprimer", "Ctrl+P"},         {"MenuFichierInfos", "Ctrl+J"},
      {"MenuFichierQuiter", "Ctrl+Q"}};
  for (const auto& [Name, Keys] : Table) EXPECT_EQ(Form.MenuItem(Name)->shortcut(), QKeySequence(Keys)) << Name;
  EXPECT_TRUE(Form.MenuItem("MenuEditionRepeter")->shortcut().isEmpty());
  QHash<QKeySequence, QString> Bound;
  for (const TMenuEntry& E : MainMenuEntries()) {
    const QKeySequence Key = Form.MenuItem(QString::fromLatin1(E.Name))->shortcut();
    if (Key.isEmpty() || E.Again) continue; // an entry listed again is the same item
    EXPECT_FALSE(Bound.contains(Key)) << Key.toString().toStdString() << ": " << Bound.value(Key).toStdString()
                                      << " and " << E.Name;
    Bound.insert(Key, QString::fromLatin1(E.Name));
  }
}

// The colour edits made after start-up offer "Autre couleur", black as the
// default colour and a palette in the style's colours.
TEST_F(MainFormTest, ColourEditsTakeTheirStartUpTextsAndColours) {
  SetColorEditCustomText(QString());
  SetColorPickerDefaultColor(clNone);
  TMainForm Form(State);
  EXPECT_EQ(ColorEditCustomText(), QString::fromUtf8("Autre couleur"));
  EXPECT_EQ(ColorEditDefaultText(), "bidon");
  EXPECT_EQ(ColorPickerDefaultColor(), clBlack);
  EXPECT_EQ(ColorPopupBackColor, clDlgList);
  EXPECT_EQ(ColorPopupOutlineColor, clDlgBorder);
  EXPECT_EQ(ColorPopupFrameColor, clDlgHighlight);
}
