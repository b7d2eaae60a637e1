// The main window with real image windows: opening from the command line,
// the menus and the recent files, saving with its questions, reverting,
// closing and quitting.
#include "MainFormFixture.h"
#include "app/ui/MainForm.h"
#include "app/ui/MainStatusBar.h"
#include "dialogs/ui/New.h"
#include "document/MyImageLayered.h"
#include "document/TxtData.h"
#include "files/BmpOE2.h"
#include "files/FreeImage.h"
#include "files/FreeImageProvider.h"
#include "files/GifImage.h"
#include "files/ui/BmpOE2.h"
#include "platform/Beep.h"
#include "platform/IniFile.h"
#include "platform/Rounding.h"
#include "raster/DataFileError.h"
#include "support/ImageCompare.h"
#include "ui/MsgDlg.h"

#include <QAction>
#include <QColor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLocale>
#include <QMdiArea>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "ui/SpecialEdit.h"
#include <QToolBar>
#include <QUrl>

#include <gtest/gtest.h>

#include <deque>

class MainFormFileTest : public MainFormFixture {};

// Five formats named on the command line open in five fitted windows; each
// saves as .lmi and as .png and reads back the same.
TEST_F(MainFormFileTest, CommandLineFilesOpenFittedAndSaveInTwoFormats) {
  TScopedMsgDlgAnswers Answers(Messages.Provider());
  const PBitmap SmallP = Bands(64, 48);
  const TBitmap& Small = *SmallP;
  const QString Png = WritePng("bands.png", Small);
  const QString Jpg = Path("photo.jpg");
  ASSERT_TRUE(Photo(1600, 1200).save(Jpg, "JPEG", 95));
  const QString Bmp = Path("bands.bmp");
  ASSERT_TRUE(Small.QImageView().save(Bmp, "BMP"));
  const QString Gif = Path("bands.gif");
  {
    TBitmap B;
    B.Assign(Small);
    ASSERT_TRUE(SaveBitmapToFile(Gif, B));
  }
  const QString Lmi = Path("layers.lmi");
  PBitmap LmiMerged;
  {
    TMyImageLayered Doc;
    TBitmap Bkg(300, 200, pf24bit);
    FillRandom(Bkg, 7);
    Doc.AddBackground(&Bkg, nullptr, "#0");
    const PBitmap TextP = Bands(40, 20);
    const TBitmap& Text = *TextP;
    auto Data = std::make_unique<TTestTextData>();
    Data->Lines = QStringList{"Bonjour"};
    const int T = Doc.AddLayerData(std::move(Data), "#1");
    Doc.Layers()[T].Bitmap().Assign(Text);
    Doc.Layers()[T].Pos = {30, 40};
    Doc.AddLayer(&Text, nullptr, {100, 50}, 60, "Nuage");
    Doc.ColorCount = 16777216;
    Doc.SaveToFile(Lmi);
    Doc.MergeLayersForPreview(false);
    LmiMerged = Copy(Doc.Bitmap());
  }

  auto Form = Start({Png, Jpg, "-noplugins", Bmp, Gif, Lmi});
  ASSERT_TRUE(QTest::qWaitFor([] { return ImageWindows().size() == 5; }, 20000)) << ImageWindows().size();
  EXPECT_TRUE(Messages.Shown.isEmpty()) << Messages.Shown.join('|').toStdString();
  const std::vector<TNewImgForm*> Windows = ImageWindows();
  const QSize Sizes[] = {{64, 48}, {1600, 1200}, {64, 48}, {64, 48}, {300, 200}};
  for (int I = 0; I < 5; ++I) {
    TNewImgForm* W = Windows[size_t(I)];
    const TBitmap& Fond = W->Image->Image().Layers()[0].Bitmap();
    EXPECT_EQ(QSize(Fond.Width(), Fond.Height()), Sizes[I]) << I;
    // Fitted: the whole image shows at a zoom of at most 1.
    EXPECT_TRUE(W->FlagAutoZoom) << I;
    const TRect R = W->Image->ImgRect();
    const QSize Client = W->Image->size();
    EXPECT_LE(R.Width(), Client.width()) << I;
    EXPECT_LE(R.Height(), Client.height()) << I;
    // Sized to the image area that the palette and the browser leave.
    EXPECT_TRUE(Form->MdiArea()->viewport()->rect().contains(W->geometry()))
        << I << ": " << W->geometry().right() << " beyond " << Form->MdiArea()->viewport()->width();
    if (Sizes[I].width() < 500)
      EXPECT_DOUBLE_EQ(W->Image->Zoom(), 1.0) << I;
    else
      EXPECT_LT(W->Image->Zoom(), 1.0) << I;
    EXPECT_FALSE(W->Modified()) << I;
  }
  EXPECT_IMAGES_MATCH(*Merged(Windows[0]), Small);
  EXPECT_IMAGES_MATCH(*Merged(Windows[1]), *FromQImage(Photo(1600, 1200)), 8);
  EXPECT_IMAGES_MATCH(*Merged(Windows[2]), Small);
  EXPECT_IMAGES_MATCH(*Merged(Windows[3]), Small);
  EXPECT_IMAGES_MATCH(*Merged(Windows[4]), *LmiMerged);
  // The text layer came back with its data and the layer names show.
  const TLayerList& Layers = Windows[4]->Image->Image().Layers();
  ASSERT_EQ(Layers.Count(), 3);
  EXPECT_EQ(Layers[1].LayerType, ltData);
  ASSERT_NE(dynamic_cast<const TTextData*>(Layers[1].Data()), nullptr);
  EXPECT_EQ(static_cast<const TTextData*>(Layers[1].Data())->Lines, QStringList{"Bonjour"});
  EXPECT_EQ(Layers[0].DisplayCaption(), "Fond");
  EXPECT_EQ(Layers[1].DisplayCaption(), "Calque 1");
  EXPECT_EQ(Layers[2].DisplayCaption(), "Nuage");
  EXPECT_EQ(Form->ListeFichiers().first(), Lmi);

  std::vector<PBitmap> Expected;
  for (int I = 0; I < 5; ++I) {
    TNewImgForm* W = Windows[size_t(I)];
    W->BringMDIToFront();
    ASSERT_EQ(Form->EnfantActif(), W);
    Expected.push_back(Merged(W));
    EXPECT_TRUE(Form->Enregistrer(Path(QString("out%1.lmi").arg(I)), "", false, false)) << I;
    EXPECT_TRUE(Form->Enregistrer(Path(QString("out%1.png").arg(I)), "", false, false)) << I;
    EXPECT_EQ(W->NomFichier, Path(QString("out%1.png").arg(I)));
  }
  EXPECT_TRUE(Messages.Shown.isEmpty()) << Messages.Shown.join('|').toStdString();
  Form->MenuFichierFermerToutClick();
  EXPECT_TRUE(ImageWindows().empty());
  for (int I = 0; I < 5; ++I)
    for (const char* Ext : {"lmi", "png"}) {
      Form->Ouvrir(Path(QString("out%1.%2").arg(I).arg(Ext)), true, true);
      ASSERT_TRUE(Form->UneImage());
      EXPECT_IMAGES_MATCH(*Merged(Form->EnfantActif()), *Expected[size_t(I)], 0, std::string("out") + Ext);
    }
  EXPECT_EQ(ImageWindows().size(), 10u);
  EXPECT_EQ(Form->EnfantActif()->Image->Image().Layers().Count(), 1);
}

// Quitting asks about a modified image: Cancel keeps everything, No
// discards, Yes saves.
TEST_F(MainFormFileTest, QuittingAsksAboutChanges) {
  TScopedMsgDlgAnswers Answers(Messages.Provider());
  const PBitmap SmallP = Bands(30, 20);
  const TBitmap& Small = *SmallP;
  const QString File = WritePng("quit.png", Small);
  const auto Modify = [](TMainForm& Form) {
    TBitmap Black(30, 20, pf24bit, clBlack);
    Form.LeBitmap().Assign(Black);
    Form.EnfantActif()->FlagUndoModified = true;
  };
  {
    auto Form = Start();
    Form->Ouvrir(File, true, true);
    ASSERT_TRUE(Form->UneImage());
    EXPECT_TRUE(Form->close()); // unmodified: no question
    EXPECT_TRUE(Messages.Shown.isEmpty());
  }
  auto Form = Start();
  Form->Ouvrir(File, true, true);
  Modify(*Form);
  Messages.Answers = {mrCancel};
  EXPECT_FALSE(Form->close());
  EXPECT_EQ(Messages.Shown.size(), 1);
  EXPECT_TRUE(Messages.Shown[0].contains(QString::fromUtf8("a été modifiée"))) << Messages.Shown[0].toStdString();
  ASSERT_EQ(ImageWindows().size(), 1u);
  EXPECT_TRUE(Form->EnfantActif()->Modified());

  Messages.Answers = {mrNo};
  EXPECT_TRUE(Form->close());
  EXPECT_TRUE(ImageWindows().empty());
  QImage Kept(File);
  EXPECT_IMAGES_MATCH(*FromQImage(Kept), Small); // discarded

  Form = Start();
  Form->Ouvrir(File, true, true);
  Modify(*Form);
  Messages.Answers = {mrYes};
  EXPECT_TRUE(Form->close());
  EXPECT_IMAGES_MATCH(*FromQImage(QImage(File)), TBitmap(30, 20, pf24bit, clBlack)); // saved
}

// Opening a file twice shows the open window with a warning; revert reads
// the file back into it.
TEST_F(MainFormFileTest, ReopeningWarnsAndRevertRestoresTheFile) {
  TScopedMsgDlgAnswers Answers(Messages.Provider());
  const PBitmap SmallP = Bands(30, 20);
  const TBitmap& Small = *SmallP;
  const QString File = WritePng("twice.png", Small);
  const QString Other = WritePng("other.png", TBitmap(10, 10, pf24bit, clRed));
  auto Form = Start();
  Form->Ouvrir(File, true, true);
  TNewImgForm* First = Form->EnfantActif();
  Form->Ouvrir(Other, true, true);
  ASSERT_NE(Form->EnfantActif(), First);
  Form->Ouvrir(Dir.path() + "/./twice.png", true, true); // the same file by another name
  EXPECT_EQ(ImageWindows().size(), 2u);
  ASSERT_EQ(Messages.Shown.size(), 1);
  EXPECT_TRUE(Messages.Shown[0].startsWith(QString::fromUtf8("Cette image est en cours d'édition.")));
  EXPECT_EQ(Form->EnfantActif(), First); // brought to the front

  TBitmap Black(30, 20, pf24bit, clBlack);
  Form->LeBitmap().Assign(Black);
  First->FlagUndoModified = true;
  Form->MenuFichierClick();
  ASSERT_TRUE(Form->MenuItem("MenuFichierRetablir")->isEnabled());
  Messages.Answers = {mrNo};
  Form->MenuItem("MenuFichierRetablir")->trigger();
  EXPECT_IMAGES_MATCH(*Background(*Form), Black);
  Messages.Answers = {mrYes};
  Form->MenuItem("MenuFichierRetablir")->trigger();
  EXPECT_EQ(Messages.Shown.size(), 3); // two confirmations, no warning about the open file
  EXPECT_EQ(ImageWindows().size(), 2u);
  EXPECT_EQ(Form->EnfantActif(), First);
  EXPECT_IMAGES_MATCH(*Background(*Form), Small);
  EXPECT_FALSE(First->Modified());
  Form->MenuFichierClick();
  EXPECT_FALSE(Form->MenuItem("MenuFichierRetablir")->isEnabled());
  EXPECT_FALSE(Form->MenuItem("MenuFichierEnregistrer")->isEnabled());
}

// The recent files: most recent first, at most 12, a name listed again moves
// to the top; the next start reads the same list.
TEST_F(MainFormFileTest, RecentFilesKeepTheirOrderAcrossTwoStarts) {
  QStringList Names;
  for (int I = 0; I < 13; ++I) {
    Names << Path(QString("f%1.png").arg(I));
    QFile F(Names.last());
    ASSERT_TRUE(F.open(QIODevice::WriteOnly));
  }
  const QString Long = Path("R&D vacances au bord de la mer en 2026.png");
  {
    QFile F(Long);
    ASSERT_TRUE(F.open(QIODevice::WriteOnly));
  }
  QStringList Expected;
  {
    auto Form = Start();
    for (const QString& N : Names) Form->AjouterListeFichiers(N);
    Form->AjouterListeFichiers(Names[5]); // the listed name moves up
    Form->AjouterListeFichiers(Long);
    Expected = {Long, Names[5]};
    for (int I = 12; I >= 2; --I)
      if (I != 5) Expected << Names[I];
    EXPECT_EQ(Form->ListeFichiers(), Expected);
    EXPECT_TRUE(Form->close());
  }
  auto Form = Start();
  EXPECT_EQ(Form->ListeFichiers(), Expected);
  Form->MenuFichierRecentsClick();
  QStringList Captions;
  for (const QAction* Item : Form->MenuNamed("MenuFichierRecents")->actions())
    if (Item->isVisible()) Captions << Item->text();
  ASSERT_EQ(Captions.size(), 12);
  // Shortened to 30 characters in the middle, "&" shown as itself.
  EXPECT_EQ(Captions[0], "1  R&&D vacances ...mer en 2026.png");
  EXPECT_EQ(Captions[1], "2  f5.png");
  EXPECT_EQ(Captions[11], "12  f2.png");
}

// Names that differ only by case are two files: "A.png" opened after
// "a.png" is listed too and "a.png" stays where it was.
TEST_F(MainFormFileTest, RecentFilesTellNamesApartByCase) {
  TScopedMsgDlgAnswers Answers(Messages.Provider());
  const PBitmap B = Bands(8, 8);
  const QString Lower = WritePng("a.png", *B), Upper = WritePng("A.png", *B), Other = WritePng("b.png", *B);
  auto Form = Start();
  for (const QString& Name : {Lower, Other, Upper}) Form->Ouvrir(Name, true, true);
  EXPECT_EQ(ImageWindows().size(), 3u);
  EXPECT_EQ(Form->ListeFichiers(), QStringList({Upper, Other, Lower}));
}

// The status bar describes the active image and empties with the last
// window.
TEST_F(MainFormFileTest, StatusInformationFollowsTheImage) {
  TScopedMsgDlgAnswers Answers(Messages.Provider());
  auto Form = Start();
  TMainStatusBar* Bar = Form->StatusBar();
  const TBitmap Bitmap(800, 600, pf24bit, clWhite);
  Form->NouvelleImage(nullptr, &Bitmap, "", srcNew, 256);
  EXPECT_EQ(Bar->PanelText(1), "800x600x256");
  EXPECT_TRUE(Bar->PanelText(3).startsWith("Sans titre"));
  const QString Info = Form->DocumentInfoText();
  EXPECT_TRUE(Info.contains("\rDimensions : 800 x 600 pixels ==> ")) << Info.toStdString();
  EXPECT_TRUE(Info.contains("\rNombre de couleurs : 1\r")) << Info.toStdString();
  EXPECT_TRUE(Info.contains(QString::fromUtf8("Dossier : <non enregistré>\r"))) << Info.toStdString();
  Form->SetNbCouleurs(16777216);
  Form->AfficherInfos();
  EXPECT_EQ(Bar->PanelText(1), "800x600x16M");
  Form->Image().Layers()[0].CheckCreateMask(false);
  Form->AfficherInfos();
  EXPECT_EQ(Bar->PanelText(1), "800x600 (Alpha)");
  Form->AfficherInfosSelection({10, 20, 310, 220});
  EXPECT_EQ(Bar->PanelText(3), "10:20 => 309:219 (L=300  H=200  L/H=1,500)");

  // The work rectangle: the visible selection, the whole image when it is
  // inverted, else the current layer (in its own coordinates).
  EXPECT_EQ(Form->LaSelection(), TRect({0, 0, 800, 600}));
  Form->Sel()->SetBmpSelRect({10, 20, 310, 220});
  Form->Sel()->SetVisible(true);
  EXPECT_EQ(Form->LaSelection(), TRect({10, 20, 310, 220}));
  Form->Sel()->SetInvert(true);
  EXPECT_EQ(Form->LaSelection(), TRect({0, 0, 800, 600}));
  Form->Sel()->SetInvert(false);
  const TBitmap Small(100, 50, pf24bit, clRed);
  Form->LayerNav()->AddLayer(&Small, nullptr, {40, 30}, 100, "#1");
  EXPECT_EQ(Form->LaSelection(), TRect({-30, -10, 270, 190}));
  Bar->SetPanelText(3, "");
  Form->AfficherInfos();
  EXPECT_EQ(Bar->PanelText(3), "10:20 => 309:219 (L=300  H=200  L/H=1,500)");
  Form->Sel()->SetVisible(false);
  EXPECT_EQ(Form->LaSelection(), TRect({0, 0, 100, 50}));
  Form->AfficherInfosSelection({10, 20, 10, 220});
  EXPECT_EQ(Bar->PanelText(3), "10:20 => 9:219 (L=0  H=200  L/H=?)");
  Form->VerticesMode = 1;
  Form->AfficherInfosSelection({10, 20, 310, 220});
  EXPECT_EQ(Bar->PanelText(3), "10:20 => 309:219 (L=300  H=200)");
  Form->VerticesMode = 0;
  Messages.Answers = {mrNo}; // the new image was never saved
  Form->MenuItem("MenuFichierFermer")->trigger();
  EXPECT_FALSE(Form->UneImage());
  for (int I = 1; I <= 3; ++I) EXPECT_EQ(Bar->PanelText(I), "") << I;
  EXPECT_EQ(Bar->PanelText(0), QString::fromUtf8("Prêt"));
  EXPECT_FALSE(Form->MenuItem("MenuFichierEnregistrerSous")->isEnabled());
}

// A save that fails says so and leaves the window modified; a refused
// format-loss question writes nothing.
TEST_F(MainFormFileTest, FailedOrRefusedSavesKeepTheImageModified) {
  TScopedMsgDlgAnswers Answers(Messages.Provider());
  auto Form = Start();
  const TBitmap Bitmap(40, 30, pf24bit, clWhite);
  Form->NouvelleImage(nullptr, &Bitmap, "", srcNew, 16777216);
  TNewImgForm* W = Form->EnfantActif();
  EXPECT_TRUE(W->Modified()); // a new image was never saved
  EXPECT_FALSE(Form->Enregistrer(Path("missing/folder/new.png"), "", true, false));
  EXPECT_TRUE(W->Modified());
  ASSERT_EQ(Messages.Shown.size(), 1);
  EXPECT_TRUE(Messages.Shown[0].contains("new.png")) << Messages.Shown[0].toStdString();
  EXPECT_TRUE(W->NomFichier.startsWith("Sans titre"));
  EXPECT_TRUE(Form->MenuItem("MenuFichierEnregistrer")->isEnabled());
  QAction* SaveButton = Form->ToolBar(1)->findChild<QAction*>("BtnEnregistrer");
  EXPECT_TRUE(SaveButton->isEnabled());

  Form->LayerNav()->AddLayer(&Bitmap, nullptr, {5, 5}, 100, "#1");
  Messages.Answers = {mrNo};
  EXPECT_FALSE(Form->Enregistrer(Path("flat.png"), "", true, true));
  EXPECT_EQ(Messages.Shown.last(),
            QString::fromUtf8("Ce format d'image ne gère pas les calques.\rVoulez-vous tout de même continuer ?"));
  EXPECT_FALSE(QFile::exists(Path("flat.png")));
  EXPECT_TRUE(W->Modified());
  Messages.Answers = {mrYes};
  EXPECT_TRUE(Form->Enregistrer(Path("flat.png"), "", true, true));
  EXPECT_TRUE(QFile::exists(Path("flat.png")));
  EXPECT_FALSE(W->Modified());
  EXPECT_FALSE(Form->MenuItem("MenuFichierEnregistrer")->isEnabled());
  EXPECT_FALSE(SaveButton->isEnabled());
}

// As a user: File > Open of a photo through the dialog, the image fitted
// with its layers panel; File > Save as PNG writes a file any viewer reads.
TEST_F(MainFormFileTest, OpenAndSaveAsThroughTheMenus) {
  TScopedMsgDlgAnswers Answers(Messages.Provider());
  const QString Jpg = Path("vacances.jpg");
  ASSERT_TRUE(Photo(1200, 900).save(Jpg, "JPEG", 95));
  QStringList Many;
  for (int I = 0; I < 25; ++I) Many << WritePng(QString("m%1.png").arg(I, 2, 10, QChar('0')), *Bands(8, 6));
  auto Form = Start();
  std::vector<TFileDialogState> Asked;
  QStringList Answer = {Jpg};
  SetFileDialogProvider([&](TFileDialogState& S) {
    Asked.push_back(S);
    return Answer;
  });
  Form->MenuItem("MenuFichierOuvrir")->trigger();
  ASSERT_EQ(Asked.size(), 1u);
  EXPECT_FALSE(Asked[0].Save);
  EXPECT_TRUE(Asked[0].MultiSelect);
  ASSERT_TRUE(Form->UneImage());
  TNewImgForm* W = Form->EnfantActif();
  EXPECT_EQ(W->windowTitle(), "vacances.jpg");
  EXPECT_LT(W->Image->Zoom(), 1.0);
  EXPECT_LE(W->Image->ImgRect().Width(), W->Image->width());
  EXPECT_LE(W->Image->ImgRect().Height(), W->Image->height());
  EXPECT_TRUE(W->LayerNav->isVisible());
  EXPECT_EQ(Form->StatusBar()->PanelText(1), "1200x900x16M");
  EXPECT_FALSE(Form->MenuItem("MenuFichierEnregistrer")->isEnabled());
  EXPECT_TRUE(Form->MenuItem("MenuFichierEnregistrerSous")->isEnabled());

  // Real size, then fitted again.
  const double Fitted = W->Image->Zoom();
  Form->MenuItem("MenuZoom100")->trigger();
  EXPECT_DOUBLE_EQ(W->Image->Zoom(), 1.0);
  EXPECT_FALSE(W->FlagAutoZoom);
  EXPECT_EQ(Form->EdiZoom()->ItemIndex(), 100);
  EXPECT_FALSE(Form->MenuItem("MenuZoom100")->isEnabled());
  Form->MenuItem("MenuZoomAuto")->trigger();
  EXPECT_DOUBLE_EQ(W->Image->Zoom(), Fitted);
  EXPECT_TRUE(W->FlagAutoZoom);
  EXPECT_EQ(Form->EdiZoom()->ItemIndex(), 0);
  EXPECT_EQ(Form->EdiZoom()->DisplayedText(), QString::number(Round(Fitted * 100)) + "%");

  const PBitmap Shown = Background(*Form);
  Answer = {Path("vacances.png")};
  Form->MenuItem("MenuFichierEnregistrerSous")->trigger();
  ASSERT_EQ(Asked.size(), 2u);
  EXPECT_TRUE(Asked[1].Save);
  EXPECT_EQ(Asked[1].FileName, "vacances.jpg");
  QImage Written(Path("vacances.png"));
  ASSERT_FALSE(Written.isNull());
  EXPECT_EQ(Written.size(), QSize(1200, 900));
  EXPECT_IMAGES_MATCH(*FromQImage(Written), *Shown);
  EXPECT_EQ(W->windowTitle(), "vacances.png");
  EXPECT_EQ(Form->ListeFichiers().first(), Path("vacances.png"));
  QStringList Entries;
  for (const QAction* Item : Form->MenuNamed("MenuFenetre")->actions()) Entries << Item->text();
  EXPECT_TRUE(Entries.contains("vacances.png")) << Entries.join('|').toStdString();
  EXPECT_TRUE(Messages.Shown.isEmpty()) << Messages.Shown.join('|').toStdString();

  // At most twenty of the files chosen at once open.
  Answer = Many;
  Form->MenuItem("MenuFichierOuvrir")->trigger();
  EXPECT_EQ(ImageWindows().size(), 21u);
  EXPECT_EQ(Form->NomFichier(), Many[19]);

  // Files dropped on the window open the same way, not while a dialog owns
  // the image.
  QMimeData Drop;
  Drop.setUrls({QUrl::fromLocalFile(Many[22])});
  QWidget Dialog;
  Form->SetDialogueForm(&Dialog);
  Form->WMFilesDropped(&Drop);
  EXPECT_EQ(ImageWindows().size(), 21u);
  Form->SetDialogueForm(nullptr);
  Form->WMFilesDropped(&Drop);
  EXPECT_EQ(ImageWindows().size(), 22u);
  EXPECT_EQ(Form->NomFichier(), Many[22]);
}

// With "Ouvrir les images en 16 millions de couleurs" a GIF's transparent
// colour becomes the background's mask; with -tempfile a file opens as an
// untitled image that the recent files do not list.
TEST_F(MainFormFileTest, TransparentGifOpensWithAMaskAndTempFilesAsImports) {
  TScopedMsgDlgAnswers Answers(Messages.Provider());
  const PBitmap B = Bands(28, 20);
  B->Transparent = true;
  B->SetTransparentColor(0x808080);
  const QString Gif = Path("trans.gif");
  ASSERT_TRUE(SaveBitmapToFile(Gif, *B));
  auto Form = Start();
  Form->Ouvrir(Gif, true, true);
  ASSERT_TRUE(Form->UneImage());
  const TBitmap& Mask = Form->LeMasque();
  ASSERT_FALSE(Mask.Empty());
  EXPECT_FALSE(Form->LeFond().Transparent);
  for (int Y = 0; Y < 20; ++Y)
    for (int X = 0; X < 28; ++X) {
      const bool Grey = B->PixelColor(X, Y) == 0x808080;
      ASSERT_EQ(Mask.ScanLine(Y)[3 * X], Grey ? 255 : 0) << X << "," << Y;
    }
  EXPECT_EQ(Form->StatusBar()->PanelText(1), "28x20 (Alpha)");
  EXPECT_TRUE(Form->Mode16M());

  State.Options.OpenAsImportOption = true;
  const QString Png = WritePng("import.png", *B);
  Form.reset();
  auto Import = Start({Png});
  ASSERT_TRUE(QTest::qWaitFor([] { return ImageWindows().size() == 1; }, 10000));
  EXPECT_TRUE(Import->NomFichier().startsWith("Sans titre")) << Import->NomFichier().toStdString();
  EXPECT_EQ(Import->EnfantActif()->SourceType, srcImport);
  EXPECT_FALSE(Import->ListeFichiers().contains(Png));
  Import->Ouvrir(Gif, true, true); // once the command line is done, files open as files again
  EXPECT_EQ(Import->NomFichier(), Gif);
  EXPECT_EQ(Import->ListeFichiers(), QStringList{Gif});
}

// An animated GIF opens with one layer per frame over a background.
TEST_F(MainFormFileTest, AnimatedGifFramesBecomeLayers) {
  TScopedMsgDlgAnswers Answers(Messages.Provider());
  const PBitmap First = Bands(30, 20);
  const PBitmap Second = Bands(12, 10);
  TGIFImage Gif;
  Gif.Assign(*First);
  TGIFFrame& Frame = Gif.AddFrame(*Second);
  Frame.Left = 5;
  Frame.Top = 3;
  TGIFGraphicControl Control;
  Control.Transparent = true;
  Control.TransparentIndex = Frame.Pixels[5 * 12 + 7]; // the colour of the band at (7, 5)
  Frame.SetGraphicControl(Control);
  const QString File = Path("anim.gif");
  Gif.SaveToFile(File);

  auto Form = Start();
  Form->Ouvrir(File, true, true);
  ASSERT_TRUE(Form->UneImage());
  EXPECT_TRUE(Messages.Shown.isEmpty()) << Messages.Shown.join('|').toStdString();
  const TLayerList& Layers = Form->Image().Layers();
  ASSERT_EQ(Layers.Count(), 3);
  EXPECT_EQ(Layers[0].DisplayCaption(), "Fond");
  EXPECT_EQ(Layers[1].DisplayCaption(), "Calque 1");
  EXPECT_EQ(Layers[2].DisplayCaption(), "Calque 2");
  EXPECT_TRUE(Layers[1].Visible);
  EXPECT_FALSE(Layers[2].Visible);
  EXPECT_EQ(Layers[2].Pos, TPoint({5, 3}));
  EXPECT_IMAGES_MATCH(*Copy(Layers[1].Bitmap()), *First);
  EXPECT_IMAGES_MATCH(*Copy(Layers[2].Bitmap()), *Second);
  const TBitmap& Mask = Layers[2].Mask();
  ASSERT_EQ(Mask.Width(), 12);
  for (int Y = 0; Y < 10; ++Y)
    for (int X = 0; X < 12; ++X)
      ASSERT_EQ(Mask.ScanLine(Y)[3 * X], Second->PixelColor(X, Y) == Second->PixelColor(7, 5) ? 255 : 0)
          << X << "," << Y;
  EXPECT_TRUE(Form->Mode16M());
}

// A registered dialogue form refuses commands with a beep (the zoom buttons
// excepted) and leaves only the active image window usable.
TEST_F(MainFormFileTest, DialogueFormBlocksCommandsAndOtherWindows) {
  auto Form = Start();
  const TBitmap Bitmap(50, 40, pf24bit, clWhite);
  TNewImgForm* First = Form->NouvelleImage(nullptr, &Bitmap, "", srcNew, 16777216);
  TNewImgForm* Second = Form->NouvelleImage(nullptr, &Bitmap, "", srcNew, 16777216);
  ASSERT_EQ(Form->EnfantActif(), Second);
  QWidget Dialog;
  ResetBeepCount();
  Form->SetDialogueForm(&Dialog);
  EXPECT_FALSE(First->isEnabled());
  EXPECT_TRUE(Second->isEnabled());
  EXPECT_FALSE(Second->LayerNav->isEnabled());
  EXPECT_TRUE(Form->DisableMenu());
  Form->MenuItem("MenuFichierNouveau")->trigger();
  EXPECT_EQ(ImageWindows().size(), 2u);
  EXPECT_EQ(BeepCount(), 1);
  EXPECT_TRUE(Form->ActionPossible(Form->ToolBar(2)->findChild<QAction*>("BtnZoomAuto")));
  Form->EdiZoom()->SetReadOnly(true); // a module owns the window
  EXPECT_FALSE(Form->ActionPossible(Form->ToolBar(2)->findChild<QAction*>("BtnZoomAuto")));
  Form->EdiZoom()->SetReadOnly(false);
  Form->SetDialogueForm(nullptr);
  EXPECT_TRUE(First->isEnabled());
  EXPECT_TRUE(Second->LayerNav->isEnabled());
  Form->MenuItem("MenuFichierNouveau")->trigger();
  // The new-image dialog with its defaults.
  auto* NewDialog = Form->findChild<TNewForm*>();
  ASSERT_TRUE(NewDialog && NewDialog->isVisible());
  NewDialog->BOk->click();
  EXPECT_EQ(ImageWindows().size(), 3u);
  EXPECT_EQ(Form->LeFond().Width(), 800); // the new-image defaults
  EXPECT_EQ(Form->LeFond().Height(), 600);
  EXPECT_EQ(Form->LeFond().PixelColor(10, 10), clWhite);

  // In a distortion mode a command warns instead.
  TScopedMsgDlgAnswers Answers(Messages.Provider());
  Form->VerticesMode = 1;
  EXPECT_FALSE(Form->ActionPossible(nullptr));
  ASSERT_EQ(Messages.Shown.size(), 1);
  EXPECT_TRUE(Messages.Shown[0].startsWith("Vous devez terminer la transformation"));
  Form->VerticesMode = 0;
  Messages.Answers = {mrNo, mrNo, mrNo};
  Form->MenuFichierFermerToutClick();
  EXPECT_TRUE(ImageWindows().empty());
}

// The saved bitmap follows the image: straight alpha from a background mask,
// a palette for an image of 256 colours or fewer.
TEST_F(MainFormFileTest, SavedBitmapKeepsAlphaAndColourCount) {
  TScopedMsgDlgAnswers Answers(Messages.Provider());
  auto Form = Start();
  const PBitmap B = Bands(20, 10);
  Form->NouvelleImage(nullptr, B.get(), "", srcNew, 16777216);
  TLayerItem& Bkg = Form->Image().Layers()[0];
  Bkg.CheckCreateMask(false);
  for (int X = 0; X < 10; ++X)
    Bkg.Mask().ScanLine(4)[3 * X] = Bkg.Mask().ScanLine(4)[3 * X + 1] = Bkg.Mask().ScanLine(4)[3 * X + 2] = 255;
  ASSERT_TRUE(Form->Enregistrer(Path("alpha.png"), "", false, true));
  EXPECT_TRUE(Messages.Shown.isEmpty()) << Messages.Shown.join('|').toStdString(); // PNG keeps alpha
  const QImage Png(Path("alpha.png"));
  ASSERT_TRUE(Png.hasAlphaChannel());
  EXPECT_EQ(qAlpha(Png.pixel(3, 4)), 0);
  EXPECT_EQ(qAlpha(Png.pixel(13, 4)), 255);
  EXPECT_EQ(qAlpha(Png.pixel(3, 5)), 255);
  EXPECT_EQ(QColor(Png.pixel(13, 4)), QColor(B->QImageView().pixel(13, 4)));

  Messages.Answers = {mrYes};
  ASSERT_TRUE(Form->Enregistrer(Path("alpha.jpg"), "", false, true));
  ASSERT_EQ(Messages.Shown.size(), 1); // JPEG loses it: asked first
  EXPECT_TRUE(Messages.Shown[0].contains("Alpha"));
  Messages.Answers = {mrYes};
  ASSERT_TRUE(Form->Enregistrer(Path("alpha.gif"), "", false, true));
  EXPECT_EQ(Messages.Shown.size(), 2); // GIF keeps one transparent colour only
  const QImage GifImage(Path("alpha.gif"));
  ASSERT_FALSE(GifImage.isNull());
  EXPECT_EQ(qAlpha(GifImage.pixel(3, 4)), 0);
  EXPECT_EQ(qAlpha(GifImage.pixel(3, 5)), 255);

  Form->NouvelleImage(nullptr, B.get(), "", srcNew, 4);
  ASSERT_TRUE(Form->Enregistrer(Path("four.bmp"), "", false, true));
  const QImage Bmp(Path("four.bmp"));
  EXPECT_LE(Bmp.colorCount(), 16);
  EXPECT_GT(Bmp.colorCount(), 0);
  EXPECT_IMAGES_MATCH(*FromQImage(Bmp), *B);
}

// "Enregistrer dans" proposes the data folder and asks nothing about the
// format; the recent files do not change.
TEST_F(MainFormFileTest, SaveIntoADataFolderAsksNothing) {
  TScopedMsgDlgAnswers Answers(Messages.Provider());
  ASSERT_TRUE(QDir(Dir.path()).mkdir("Textures"));
  ASSERT_TRUE(QDir(Dir.path()).mkdir("PngData"));
  const QString File = Path("layers.jpg");
  ASSERT_TRUE(Photo(60, 40).save(File, "JPEG"));
  auto Form = Start();
  Form->Ouvrir(File, true, true);
  ASSERT_TRUE(Form->UneImage());
  const QStringList Recent = Form->ListeFichiers();
  std::vector<TFileDialogState> Asked;
  QString Chosen;
  SetFileDialogProvider([&](TFileDialogState& S) {
    Asked.push_back(S);
    return QStringList{S.Directory + "/" + (Chosen.isEmpty() ? S.FileName : Chosen)};
  });
  Form->MenuItem("MenuEnregistrerDansPNG")->trigger();
  ASSERT_EQ(Asked.size(), 1u);
  EXPECT_EQ(Asked[0].Directory, Path("PngData"));
  EXPECT_EQ(Asked[0].FileName, "layers.png");
  EXPECT_TRUE(QFile::exists(Path("PngData/layers.png")));

  // Layers saved into a JPEG: no question when saving into a data folder.
  const PBitmap Layer = Bands(10, 10);
  Form->LayerNav()->AddLayer(Layer.get(), nullptr, {3, 3}, 100, "#1");
  Chosen = "flat.jpg";
  Form->MenuItem("MenuEnregistrerDansTextures")->trigger();
  ASSERT_EQ(Asked.size(), 2u);
  EXPECT_EQ(Asked[1].Directory, Path("Textures"));
  EXPECT_EQ(Asked[1].FileName, "layers.lmi"); // the layered format is proposed
  EXPECT_TRUE(QFile::exists(Path("Textures/flat.jpg")));
  EXPECT_TRUE(Messages.Shown.isEmpty()) << Messages.Shown.join('|').toStdString();
  EXPECT_EQ(Form->ListeFichiers(), Recent);
}

// With the FreeImage library beside the program, a file whose content is
// not its extension's format opens with a word about its real format.
TEST_F(MainFormFileTest, MismatchedFormatIsNamedWhenFreeImageReadsIt) {
  TScopedMsgDlgAnswers Answers(Messages.Provider());
  State.ProgramDir = QFileInfo(LUMA_EXECUTABLE).absolutePath() + "/";
  const PBitmap B = Bands(16, 12);
  const QString Disguised = Path("disguised.jpg");
  ASSERT_TRUE(B->QImageView().save(Disguised, "PNG"));
  auto Form = Start();
  struct TUnload {
    ~TUnload() { UnloadFreeImageLibrary(); }
  } Unload;
  if (!IsFreeImageLoaded()) GTEST_SKIP() << "no FreeImage library beside the program";
  Form->Ouvrir(Disguised, true, true);
  ASSERT_TRUE(Form->UneImage());
  EXPECT_IMAGES_MATCH(*Background(*Form), *B);
  ASSERT_EQ(Messages.Shown.size(), 1);
  EXPECT_TRUE(Messages.Shown[0].startsWith("Le format du fichier ne correspond pas !\rLe format correct est <"))
      << Messages.Shown[0].toStdString();
  EXPECT_TRUE(Messages.Shown[0].contains("png", Qt::CaseInsensitive)) << Messages.Shown[0].toStdString();
}

// A damaged file is reported with its name and opens no window; a missing
// file or a name without extension is passed over silently.
TEST_F(MainFormFileTest, BrokenOrMissingFilesOpenNothing) {
  TScopedMsgDlgAnswers Answers(Messages.Provider());
  QFile Bad(Path("broken.png"));
  ASSERT_TRUE(Bad.open(QIODevice::WriteOnly));
  Bad.write("\x89PNG\r\n\x1a\n not really");
  Bad.close();
  QFile Bare(Path("noextension"));
  ASSERT_TRUE(Bare.open(QIODevice::WriteOnly));
  Bare.close();
  auto Form = Start();
  Form->Ouvrir(Path("absent.png"), true, true);
  Form->Ouvrir(Path("noextension"), true, true);
  EXPECT_TRUE(Messages.Shown.isEmpty());
  Form->Ouvrir(Path("broken.png"), true, true);
  EXPECT_TRUE(ImageWindows().empty());
  ASSERT_EQ(Messages.Shown.size(), 1);
  EXPECT_TRUE(Messages.Shown[0].contains("broken.png")) << Messages.Shown[0].toStdString();
  EXPECT_TRUE(Form->ListeFichiers().isEmpty());
  EXPECT_EQ(Form->StatusBar()->PanelText(0), QString::fromUtf8("Prêt"));
}
