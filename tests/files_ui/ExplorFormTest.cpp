// The image browser on a folder of small files of every kind the editor
// reads, with a fake main window: the thumbnails, their captions, order and
// badges, the settings section, the stop, the uses offered and run, the file
// operations and the drag onto the editor.
#include "files/ui/Explor.h"

#include "document/MyImageLayered.h"
#include "document/ShapeManager.h"
#include "files/BmpExtOE.h"
#include "files/FreeImage.h"
#include "files/FreeImageProvider.h"
#include "files/ui/ExplorerHost.h"
#include "platform/IniFile.h"
#include "support/WaitFor.h"
#include "ui/MsgDlg.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QListWidget>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include <deque>

namespace {

// ---- The rules without a window -----------------------------------------------

TEST(ExplorRules, ShortCaptions) {
  const std::pair<const char*, const char*> Cases[] = {
      {"/a/short.jpeg", "short.jpeg"},          // 10 characters: as it is
      {"/a/twelvechars.jpg", "twelvechars"},    // 15: without its extension
      {"/a/verylongname.jpeg", "verylongn..."}, // still 12: cut to 9 and "..."
      {"/a/abcdefghijk", "abcdefghijk"},        // 11 without extension
  };
  for (const auto& [Name, Caption] : Cases) EXPECT_EQ(ExplorShortCaption(Name), Caption) << Name;
}

TEST(ExplorRules, SortKeysOrderNumbersByValueAndIgnoreCase) {
  QStringList Names = {"photo2.jpg", "photo10.jpg", "Photo1.png", "img123456.png", "img9.png"};
  std::sort(Names.begin(), Names.end(),
            [](const QString& A, const QString& B) { return ExplorSortKey(A) < ExplorSortKey(B); });
  EXPECT_EQ(Names, (QStringList{"img9.png", "img123456.png", "Photo1.png", "photo2.jpg", "photo10.jpg"}));
  EXPECT_EQ(ExplorSortKey("/x/Img9.Png"), "img00009");
  // Only the last five digits of a longer run are padded.
  EXPECT_EQ(ExplorSortKey("img123456.png"), "img123456");
}

TEST(ExplorRules, UsesOfferedAndTheirOrder) {
  // No image: only a new image (and the associated program, always shown).
  TExplorUses None = ExplorUses(false, false, true, true, true, true);
  EXPECT_FALSE(None.Sel || None.Masque || None.Motif || None.Texture || None.Calque || None.Separator());
  EXPECT_EQ(ExplorDefaultUse(None), TExplorUse::NewImage);
  // An image of 256 colours still takes a selection file, nothing else.
  const TExplorUses Indexed = ExplorUses(true, false, true, true, true, true);
  EXPECT_TRUE(Indexed.Sel && Indexed.Separator());
  EXPECT_FALSE(Indexed.Calque || Indexed.Motif);
  const TExplorUses Pattern = ExplorUses(true, true, false, false, true, true);
  EXPECT_EQ(ExplorDefaultUse(Pattern), TExplorUse::Texture) << "texture comes before pattern";
  const TExplorUses Plain = ExplorUses(true, true, false, false, false, false);
  EXPECT_EQ(ExplorDefaultUse(Plain), TExplorUse::NewImage);
  EXPECT_EQ(ExplorDropUse(Plain, 2), TExplorUse::Calque);
  EXPECT_EQ(ExplorDropUse(Plain, 1), TExplorUse::NewImage);
  EXPECT_EQ(ExplorDropUse(Plain, 0), TExplorUse::None);
  EXPECT_EQ(ExplorDropUse(Pattern, 1), TExplorUse::NewImage);
}

TEST(ExplorRules, DragThresholdAndFilterBox) {
  EXPECT_FALSE(ExplorDragStarts({10, 10}, {13, 7}));
  EXPECT_TRUE(ExplorDragStarts({10, 10}, {14, 10}));
  EXPECT_TRUE(ExplorDragStarts({10, 10}, {10, 6}));
  const QString Long(32, QLatin1Char('x'));
  EXPECT_EQ(ExplorFilterDefault("*.jpg"), "*.jpg");
  EXPECT_EQ(ExplorFilterDefault(Long), "");
  EXPECT_EQ(ExplorFilterAnswer("", "*.all"), "*.all");
  EXPECT_EQ(ExplorFilterAnswer("*.png", "*.all"), "*.png");
}

TEST(ExplorRules, DataFoldersAvailableUnlessTheProgramFolder) {
  TExplorFolders F;
  F.ProgramDir = "/prog/";
  F.SelDir = "/prog/";
  F.MasqueDir = "/data/Masks/";
  F.MotifDir = "/PROG";
  const int Flags = ExplorDirFlags(F);
  EXPECT_EQ(Flags, edOuvrir | edSauve | edMasque);
  EXPECT_TRUE(InExplorFolder("/DATA/masks/sub/", F.MasqueDir, edMasque, Flags));
  EXPECT_FALSE(InExplorFolder("/prog/x/", F.SelDir, edSel, Flags));
}

// ---- The window ------------------------------------------------------------------

class TFakeHost : public TExplorerHost {
public:
  bool Image = false, UseAllowed = false;
  QString ActiveFile;
  QStringList OpenFiles;
  TExplorFolders Dirs;
  QString Ini;
  int Target = 0;
  QStringList Calls;
  QStringList Statuses;
  std::function<void()> OnStatus;

  bool UneImage() const override { return Image; }
  QString ActiveFileName() const override { return ActiveFile; }
  bool ImageUseAllowed() const override { return UseAllowed; }
  bool FileIsOpen(const QString& F) const override { return OpenFiles.contains(F); }
  TExplorFolders Folders() const override { return Dirs; }
  QString MainIniFile() const override { return Ini; }
  int ToolButtonHeight() const override { return 25; }
  bool Terminating() const override { return false; }
  void DebutAction(const QString& Msg) override { Calls << "DebutAction " + Msg; }
  void FinAction() override { Calls << "FinAction"; }
  void SetStatusText(const QString& Text) override {
    Statuses << Text;
    if (OnStatus) OnStatus();
  }
  void DebutDialogueEx() override {}
  void FinDialogueEx() override {}
  void PreparerPopupMenu(QMenu*) override {}
  void BrowserResized() override { Calls << "Resized"; }
  void ChargerForme(const QString& F) override { Calls << "Sel " + F; }
  void OuvrirImage(const QString& F) override { Calls << "Open " + F; }
  void OuvrirCalque(const QString& F) override { Calls << "Layer " + F; }
  void UtiliserMotif(const QString& F) override { Calls << "Pattern " + F; }
  void UtiliserTexture(const QString& F) override { Calls << "Texture " + F; }
  void UtiliserMasque(const QString& F) override { Calls << "Masque " + F; }
  QString CurrentFileAction(const QString& Title, const QString& F, int Op) override {
    Calls << QStringLiteral("File %1 %2 %3").arg(Op).arg(Title, F);
    return F;
  }
  void ShowProperties(const QString& F, const QString& Text, bool HasMetadata) override {
    Calls << "Properties " + F;
    PropertiesText = Text;
    PropertiesMetadata = HasMetadata;
  }
  int DropTarget(const QPoint&) const override { return Target; }
  QString PropertiesText;
  bool PropertiesMetadata = false;
};

QByteArray JpegWithExifAndComment() {
  QImage Picture(40, 30, QImage::Format_RGB32);
  Picture.fill(qRgb(200, 120, 60));
  QByteArray Jpeg;
  {
    QBuffer Buffer(&Jpeg);
    Buffer.open(QIODevice::WriteOnly);
    Picture.save(&Buffer, "JPEG");
  }
  // An APP1 Exif block with one tag (Make = "Lum", inline) and a comment block,
  // right after the start marker.
  const QByteArray Tiff = QByteArray("II*\0\x08\0\0\0", 8) + QByteArray("\x01\0", 2) +
                          QByteArray("\x0F\x01\x02\0\x04\0\0\0Lum\0", 12) + QByteArray(4, '\0');
  const QByteArray Exif = QByteArray("Exif\0\0", 6) + Tiff;
  QByteArray App1("\xFF\xE1", 2);
  App1 += char((Exif.size() + 2) >> 8);
  App1 += char((Exif.size() + 2) & 0xFF);
  App1 += Exif;
  const QByteArray Text("a comment");
  QByteArray Com("\xFF\xFE", 2);
  Com += char((Text.size() + 2) >> 8);
  Com += char((Text.size() + 2) & 0xFF);
  Com += Text;
  return Jpeg.left(2) + App1 + Com + Jpeg.mid(2);
}

class ExplorFormTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(Dir.isValid());
    Host.Ini = Dir.filePath("Lumaretique.ini");
    Host.Dirs.ProgramDir = Dir.path() + "/prog/";
    Host.Dirs.OuvrirDir = Folder();
    Host.Dirs.SelDir = Dir.path() + "/Selections/";
    QDir(Dir.path()).mkpath("pics/sub");
    QDir(Dir.path()).mkpath("Selections");
    QImage Small(30, 20, QImage::Format_RGB32);
    Small.fill(qRgb(10, 200, 30));
    ASSERT_TRUE(Small.save(Folder() + "photo10.png"));
    ASSERT_TRUE(Small.save(Folder() + "photo2.bmp"));
    ASSERT_TRUE(Small.save(Folder() + "Photo1.jpg"));
    ASSERT_TRUE(Small.save(Folder() + "verylongname.jpeg"));
    ASSERT_TRUE(Small.save(Folder() + "sub/deep.png"));
    Write(Folder() + "broken.png", QByteArray("\x89PNG\r\n\x1a\nthis is no picture", 26));
    TMyImageLayered Layered;
    Layered.AddBackground(6, 2, clBlue, QStringLiteral("Fond"));
    Layered.SaveToFile(Folder() + "layers.lmi");
    TShapeManager Shapes;
    ASSERT_TRUE(Shapes.SaveToFile(Folder() + "shape.lms", ssEllipse, {0, 0, 40, 30}));
    ASSERT_TRUE(Shapes.SaveToFile(Host.Dirs.SelDir + "round.lms", ssEllipse, {0, 0, 50, 20}));
    Small.save(Host.Dirs.SelDir + "notashape.png");
  }
  QString Folder() const { return Dir.path() + "/pics/"; }
  static void Write(const QString& Name, const QByteArray& Bytes) {
    QFile F(Name);
    ASSERT_TRUE(F.open(QIODevice::WriteOnly));
    F.write(Bytes);
  }
  QStringList Captions() const {
    QStringList C;
    for (int I = 0; I < Form->ListView->count(); ++I) C << Form->ListView->item(I)->text();
    return C;
  }
  void Select(const QString& Name) {
    QListWidgetItem* Item = Form->FindImage(Folder() + Name);
    ASSERT_NE(Item, nullptr) << Name.toStdString();
    Form->ListView->setCurrentItem(Item);
  }
  std::unique_ptr<TExplorForm> Make() { return std::make_unique<TExplorForm>(Host, nullptr); }

  QTemporaryDir Dir;
  TFakeHost Host;
  std::unique_ptr<TExplorForm> Form;
};

TEST_F(ExplorFormTest, ScanShowsEveryReadableFileSortedWithShortCaptions) {
  Form = Make();
  Form->resize(900, Form->WantedHeight());
  Form->show();
  Form->Explore(Folder(), QString(), true);
  EXPECT_FALSE(Form->Processing());
  // The broken file is skipped, selection files are listed in the
  // selections folder only, and subfolders wait for their item.
  EXPECT_EQ(Captions(), (QStringList{"layers.lmi", "Photo1.jpg", "photo2.bmp", "photo10.png", "verylongn..."}));
  EXPECT_EQ(Host.Calls.first(), "DebutAction Exploration");
  EXPECT_EQ(Host.Calls.last(), "FinAction");
  EXPECT_EQ(Host.Statuses.last(), "Exploration : 5 image(s)");
  const TImageData& Lmi = TExplorForm::ImageData(Form->FindImage(Folder() + "LAYERS.LMI"));
  EXPECT_EQ(Lmi.Width, 6);
  EXPECT_EQ(Lmi.Height, 2);
  // A thumbnail is the thumbnail edge square, the picture inside its frame.
  const QImage Thumb = Form->FindImage(Folder() + "photo2.bmp")->icon().pixmap(Form->ThumbSize()).toImage();
  EXPECT_EQ(Thumb.size(), QSize(Form->ThumbSize(), Form->ThumbSize()));
  EXPECT_EQ(QColor(Thumb.pixel(Form->ThumbSize() / 2 - 2, Form->ThumbSize() / 2 - 2)), QColor(10, 200, 30));
  EXPECT_EQ(Form->ListView->item(0)->toolTip(), "layers.lmi\n6 x 2 pixels\n" + Lmi.GetFileDate());

  // Unsorted, a new scan keeps the order found; subfolders when ticked.
  Form->MenuTrier->trigger();
  Form->MenuRecurssif->trigger();
  Form->Actualiser();
  EXPECT_EQ(Form->ListView->count(), 6);
  EXPECT_NE(Form->FindImage(Folder() + "sub/deep.png"), nullptr);
}

TEST_F(ExplorFormTest, SelectionsFolderListsOnlyShapesAndBadgesShowMetadata) {
  Form = Make();
  Form->Explore(Host.Dirs.SelDir, QString(), true);
  EXPECT_EQ(Captions(), QStringList{"round.lms"});
  const TImageData& Lms = TExplorForm::ImageData(Form->ListView->item(0));
  EXPECT_EQ(Lms.Width, 50) << "the outline's own size, not its drawing's";
  EXPECT_EQ(Lms.Height, 20);

  // The JPEG's tags come through FreeImage; the other tests of this program
  // run without it.
  const bool WasLoaded = IsFreeImageLoaded();
  if (!WasLoaded && !StartFreeImage(false, QCoreApplication::applicationDirPath() + "/Plugins_64"))
    GTEST_SKIP() << "no FreeImage beside the test program";
  struct TUnload {
    bool Active;
    ~TUnload() {
      if (Active) UnloadFreeImageLibrary();
    }
  } Unloader{!WasLoaded};
  Write(Folder() + "tagged.jpg", JpegWithExifAndComment());
  Form->Explore(Folder(), QString(), false);
  const QListWidgetItem* Tagged = Form->FindImage(Folder() + "tagged.jpg");
  ASSERT_NE(Tagged, nullptr);
  EXPECT_TRUE(TExplorForm::ImageData(Tagged).HasMetadata);
  const QImage Thumb = Tagged->icon().pixmap(Form->ThumbSize()).toImage();
  // The EXIF badge at (3, 3), the comment badge one badge width and a pixel
  // further (no IPTC badge between them).
  EXPECT_EQ(QColor(Thumb.pixel(4, 4)), QColor(40, 110, 210));
  EXPECT_EQ(QColor(Thumb.pixel(3 + 10 + 1, 4)), QColor(230, 150, 0));
  const QImage Plain = Form->FindImage(Folder() + "Photo1.jpg")->icon().pixmap(Form->ThumbSize()).toImage();
  EXPECT_FALSE(TExplorForm::ImageData(Form->FindImage(Folder() + "Photo1.jpg")).HasMetadata);
  EXPECT_NE(QColor(Plain.pixel(4, 4)), QColor(40, 110, 210));
}

TEST_F(ExplorFormTest, SettingsSectionRoundTrips) {
  {
    TIniFile Ini(Host.Ini);
    Ini.WriteString("Explorer", "Dir", Folder());
    Ini.WriteString("Explorer", "SubDirs", "1");
    Ini.WriteString("Explorer", "Sort", "yes"); // anything but "0" sorts
    Ini.WriteString("Explorer", "Multiline", "1");
  }
  Form = Make();
  const int OneRow = Form->MenuMultiline->isChecked() ? 0 : Form->WantedHeight();
  Form->show();
  EXPECT_EQ(Form->CurrentDir, Folder());
  EXPECT_TRUE(Form->MenuRecurssif->isChecked());
  EXPECT_TRUE(Form->MenuTrier->isChecked());
  EXPECT_TRUE(Form->MenuMultiline->isChecked());
  EXPECT_GT(Form->WantedHeight(), OneRow);
  Form->MenuTrier->trigger();
  Form->MenuMultiline->trigger();
  Form->hide();
  TIniFile Ini(Host.Ini);
  EXPECT_EQ(Ini.ReadString("Explorer", "Dir", ""), Folder());
  EXPECT_EQ(Ini.ReadString("Explorer", "SubDirs", ""), "1");
  EXPECT_EQ(Ini.ReadString("Explorer", "Sort", ""), "0");
  EXPECT_EQ(Ini.ReadString("Explorer", "Multiline", ""), "0");

  // A stored folder that is gone is not used.
  TIniFile(Host.Ini).WriteString("Explorer", "Dir", Dir.path() + "/gone/");
  auto Other = Make();
  Other->show();
  EXPECT_EQ(Other->CurrentDir, "");
  EXPECT_FALSE(Other->MenuTrier->isChecked());
}

TEST_F(ExplorFormTest, ScanStopsWhenAskedAndAtTheLimit) {
  for (int I = 0; I < 40; ++I) QFile::copy(Folder() + "photo10.png", Folder() + QStringLiteral("many%1.png").arg(I));
  Form = Make();
  Form->MaxImages = 10;
  Form->Explore(Folder(), QString(), false);
  EXPECT_EQ(Form->ListView->count(), 11) << "the scan stops after the limit's next thumbnail";

  // A folder button pressed while a scan pumps events stops it without
  // starting another.
  Form->MaxImages = 1000;
  bool Pressed = false;
  Host.OnStatus = [&] {
    if (Pressed || Form->ListView->count() < 3) return;
    Pressed = true;
    QTimer::singleShot(0, [this] { Form->BtnOuvrir->click(); });
  };
  Form->Explore(Folder(), QString(), false);
  EXPECT_TRUE(Pressed);
  EXPECT_FALSE(Form->Processing());
  EXPECT_LT(Form->ListView->count(), 46);
  EXPECT_EQ(Host.Calls.count("FinAction"), 2);
  // The form goes while a scan runs: nothing of it is touched afterwards.
  Host.OnStatus = [&] {
    if (Form && Form->ListView->count() >= 3) QTimer::singleShot(0, [this] { Form.reset(); });
  };
  Form->Explore(Folder(), QString(), false);
  EXPECT_FALSE(Form);
}

TEST_F(ExplorFormTest, UsesFollowTheFolderAndTheImage) {
  Form = Make();
  Form->Explore(Host.Dirs.SelDir, QString(), false);
  Form->ListView->setCurrentItem(Form->ListView->item(0));
  // No image: a double click opens the file as a new image.
  Form->ListViewDblClick();
  EXPECT_EQ(Host.Calls.last(), "Open " + Host.Dirs.SelDir + "round.lms");
  TExplorUses U = Form->MenuActionClick();
  EXPECT_FALSE(Form->MenuActionCalque->isVisible() || Form->MenuActionSel->isVisible() ||
               Form->MenuSepAction->isVisible());
  // With an image, a selection file double-clicked in the selections folder
  // becomes the selection.
  Host.Image = true;
  Form->ListViewDblClick();
  EXPECT_EQ(Host.Calls.last(), "Sel " + Host.Dirs.SelDir + "round.lms");

  Host.UseAllowed = true;
  Host.Dirs.MotifDir = Folder();
  Form->DirFlags = ExplorDirFlags(Host.Dirs);
  Form->Explore(Folder(), QString(), false);
  Select("photo2.bmp");
  U = Form->MenuActionClick();
  EXPECT_TRUE(U.Motif && U.Calque && !U.Sel);
  // The pattern question: No does nothing, Yes uses it.
  std::deque<int> Answers{mrNo, mrYes};
  QStringList Asked;
  SetMsgDlgAnswerProvider([&](const TMsgDlgRequest& R) {
    Asked << R.Msg;
    const int A = Answers.front();
    Answers.pop_front();
    return TMsgDlgAnswer{A, R.Text};
  });
  const int Before = Host.Calls.size();
  Form->ListViewDblClick();
  EXPECT_EQ(Host.Calls.size(), Before);
  QTest::keyClick(Form->ListView, Qt::Key_Return);
  EXPECT_EQ(Host.Calls.last(), "Pattern " + Folder() + "photo2.bmp");
  EXPECT_EQ(Asked.value(0), "Voulez-vous utiliser cette image comme motif ?");
  // From the menu there is no question.
  Form->MenuActionCalque->trigger();
  EXPECT_EQ(Host.Calls.last(), "Layer " + Folder() + "photo2.bmp");
  SetMsgDlgAnswerProvider(nullptr);
}

TEST_F(ExplorFormTest, FileOperationsRefusedWhileEditedAndKeptInStep) {
  Form = Make();
  Form->Explore(Folder(), QString(), false);
  Select("photo2.bmp");
  QStringList Shown;
  SetMsgDlgAnswerProvider([&](const TMsgDlgRequest& R) {
    Shown << R.Msg;
    return TMsgDlgAnswer{mrOk, R.Text};
  });
  Host.OpenFiles << Folder() + "photo2.bmp";
  Form->MenuDelete->trigger();
  EXPECT_EQ(Shown, QStringList{"Action refusée car l'image est en cours d'édition !"});
  EXPECT_FALSE(Host.Calls.last().startsWith("File"));
  Host.OpenFiles.clear();
  Form->MenuRename->trigger();
  EXPECT_EQ(Host.Calls.last(), "File 3 Renommer l'image " + Folder() + "photo2.bmp");
  Form->MenuCopy->trigger();
  EXPECT_EQ(Host.Calls.last(), "File 1 Copier  l'image vers " + Folder() + "photo2.bmp");
  Form->MenuDelete->trigger();
  EXPECT_EQ(Host.Calls.last(), "File 4  " + Folder() + "photo2.bmp");
  SetMsgDlgAnswerProvider(nullptr);

  // The main window's file action keeps the thumbnails in step.
  Form->RenameItemByName(Folder() + "PHOTO2.BMP", Folder() + "zzz.bmp");
  EXPECT_EQ(Captions().last(), "zzz.bmp") << "renamed and sorted again";
  EXPECT_EQ(Form->CurrentImage(), Folder() + "zzz.bmp");
  Form->DeleteItemByName(Folder() + "zzz.bmp");
  EXPECT_EQ(Form->FindImage(Folder() + "zzz.bmp"), nullptr);

  // Properties: the text names the file and counts the thumbnails.
  Select("photo10.png");
  Form->MenuProprietesClick();
  EXPECT_TRUE(Host.PropertiesText.startsWith("Nom du fichier : photo10.png\rDossier : "));
  EXPECT_TRUE(Host.PropertiesText.contains("Dimensions : 30 x 20 pixels\r"));
  EXPECT_TRUE(Host.PropertiesText.endsWith("Nombre d'images : 4\r"));
}

TEST_F(ExplorFormTest, CustomFilterAndDragToTheEditor) {
  Form = Make();
  Form->resize(900, Form->WantedHeight());
  Form->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(Form.get()));
  std::deque<QString> Typed{"*.bmp", ""};
  SetMsgDlgAnswerProvider([&](const TMsgDlgRequest& R) {
    QString T = Typed.front();
    Typed.pop_front();
    return TMsgDlgAnswer{mrOk, T};
  });
  Form->MenuFiltre->trigger();
  EXPECT_EQ(Form->FileMask, "*.bmp");
  Form->Explore(Folder(), QString(), false);
  EXPECT_EQ(Captions(), QStringList{"photo2.bmp"});
  Form->MenuFiltre->trigger();
  EXPECT_EQ(Form->FileMask, GetOpenMasks());
  SetMsgDlgAnswerProvider(nullptr);

  QWidget* View = Form->ListView->viewport();
  const QPoint At = Form->ListView->visualItemRect(Form->ListView->item(0)).center();
  const auto Drag = [&](int Dx, int Target) {
    Host.Target = Target;
    QTest::mousePress(View, Qt::LeftButton, {}, At);
    QMouseEvent Move(QEvent::MouseMove, QPointF(At + QPoint(Dx, 0)), View->mapToGlobal(QPointF(At + QPoint(Dx, 0))),
                     Qt::NoButton, Qt::LeftButton, {});
    QApplication::sendEvent(View, &Move);
    const int State = Form->DragState();
    QTest::mouseRelease(View, Qt::LeftButton, {}, At + QPoint(Dx, 0));
    return State;
  };
  Host.Image = true;
  Host.UseAllowed = true;
  const int Before = Host.Calls.size();
  EXPECT_EQ(Drag(3, 2), 1) << "3 pixels start no drag";
  EXPECT_EQ(Host.Calls.size(), Before);
  EXPECT_EQ(Drag(4, 2), 2);
  EXPECT_EQ(Host.Calls.last(), "Layer " + Folder() + "photo2.bmp");
  EXPECT_EQ(Form->DragState(), 0);
  Drag(10, 1);
  EXPECT_EQ(Host.Calls.last(), "Open " + Folder() + "photo2.bmp");
  const int Calls = Host.Calls.size();
  Drag(10, 0);
  EXPECT_EQ(Host.Calls.size(), Calls) << "outside the main window nothing happens";
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

} // namespace
