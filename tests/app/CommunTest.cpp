#include "app/Commun.h"
#include "document/MyImageLayered.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// Numbers in the texts follow the user's locale; these tests read them as a
// French user sees them.
class FrenchLocale {
public:
  FrenchLocale() { QLocale::setDefault(QLocale(QLocale::French, QLocale::France)); }
  ~FrenchLocale() { QLocale::setDefault(FPrevious); }

private:
  QLocale FPrevious;
};

} // namespace

TEST(Commun, FormatCaptionCleansThenStyles) {
  struct TCase {
    const char* Caption;
    int Kind;
    const char* Expected;
  };
  const TCase Cases[] = {
      {"&Ouvrir...", 1, "Ouvrir..."}, // the old dots are cut, not doubled
      {"Taille :", 2, "Taille :"},    // the old colon is cut first
      {"&flou", 0, " Flou "},         {"options", 3, "- Options"}, {"rayon:", 7, "Rayon"}, {"", 1, ""}, {"&...", 0, ""},
  };
  for (const TCase& C : Cases)
    EXPECT_EQ(FormatCaption(QString::fromUtf8(C.Caption), C.Kind), QString::fromUtf8(C.Expected)) << C.Caption;
  // An accented first letter is not an ASCII letter: it stays lower case.
  EXPECT_EQ(FormatCaption(QString::fromUtf8("éclat"), 1), QString::fromUtf8("éclat..."));
}

TEST(Commun, SaveFormatTableWithoutTheImageLibrary) {
  EXPECT_EQ(SaveFormatExt(0), ".png");
  EXPECT_EQ(SaveFormatExt(3), ".lmi");
  EXPECT_EQ(SaveFormatExt(5), ".webp");
  EXPECT_EQ(SaveFormatExt(6), "");
  EXPECT_EQ(SaveFormatExt(-1), "");
  EXPECT_EQ(SaveFormatItemText(0), "PNG (.png)");
  EXPECT_EQ(SaveFormatItemText(3), "Lumaretique Image (.lmi)");
  EXPECT_EQ(SaveFormatDescription(9), "");
  EXPECT_TRUE(IsSaveFormatAvailable(3));
  EXPECT_FALSE(IsSaveFormatAvailable(4)); // TIFF and WebP need the library
  EXPECT_FALSE(IsSaveFormatAvailable(5));
  EXPECT_FALSE(IsSaveFormatAvailable(-1));
}

TEST(Commun, DefaultSaveNameFollowsLayersAlphaAndTransparency) {
  struct TCase {
    const char* Name;
    int Layers;
    bool RGBA, Transparent;
    int Format;
    const char* Expected;
  };
  const TCase Cases[] = {
      {"photo.jpg", 2, false, false, -1, "/save/photo.lmi"},
      {"photo.jpg", 1, true, false, -1, "/save/photo.png"},  // alpha into JPEG would be lost
      {"photo.jpg", 1, false, false, -1, "/save/photo.jpg"}, // nothing lost
      {"photo.png", 1, true, false, -1, "/save/photo.png"},
      {"photo.jpg", 1, false, true, -1, "/save/photo.png"}, // a transparent colour JPEG cannot keep
      {"anim.gif", 1, false, true, -1, "/save/anim.gif"},   // GIF keeps it
      {"single.lmi", 1, false, false, -1, "/save/single.png"},
      {"Sans titre 3", 1, false, false, -1, "/save/Sans titre 3.png"},
      {"photo.xyz", 1, false, false, -1, "/save/photo.png"}, // not writable
      {"photo.jpg", 2, false, false, 2, "/save/photo.bmp"},  // the default format wins
      {"photo.jpg", 2, false, false, 4, "/save/photo.lmi"},  // TIFF without the library counts as none
      {"/other/photo.bmp", 1, false, false, -1, "/other/photo.bmp"},
      {"/other.d/photo", 1, false, false, 0, "/other.d/photo.png"},
  };
  for (const TCase& C : Cases) {
    QString Name = QString::fromUtf8(C.Name);
    DefaultSaveName(Name, {C.Layers, C.RGBA, C.Transparent}, C.Format, "/save");
    EXPECT_EQ(Name, QString::fromUtf8(C.Expected)) << C.Name << " layers " << C.Layers << " format " << C.Format;
  }
  QString Name = "photo.jpg";
  DefaultSaveName(Name, {}, -1, "/save/"); // a folder that ends with its delimiter
  EXPECT_EQ(Name, "/save/photo.jpg");
}

TEST(Commun, FormatLossAsksTheQuestionOfWhatIsLost) {
  struct TCase {
    const char* Name;
    int Layers;
    bool RGBA, Transparent;
    std::optional<TrId> Expected;
  };
  const TCase Cases[] = {
      {"a.png", 2, false, false, TrId::GetTrDlgMain8}, {"a.lmi", 2, true, true, std::nullopt},
      {"a.jpg", 1, true, false, TrId::GetTrDlgMain11}, {"a.gif", 1, true, false, TrId::GetTrDlgMain11},
      {"a.png", 1, true, false, std::nullopt},         {"a.jpg", 1, false, true, TrId::GetTrDlgMain10},
      {"a.gif", 1, false, true, std::nullopt},         {"a.jpg", 1, false, false, std::nullopt},
  };
  for (const TCase& C : Cases)
    EXPECT_EQ(FormatLossQuestion(C.Name, {C.Layers, C.RGBA, C.Transparent}), C.Expected)
        << C.Name << " layers " << C.Layers << " rgba " << C.RGBA << " transparent " << C.Transparent;
}

TEST(Commun, SaveFactsOfAnImage) {
  TMyImageLayered Image;
  EXPECT_FALSE(ModeRGBA(Image, true));
  const TBitmap Bkg(4, 3, pf24bit, clWhite);
  Image.AddBackground(&Bkg, nullptr, "#0");
  EXPECT_FALSE(ModeRGBA(Image, true));
  Image.Layers()[0].Opacity = 99;
  EXPECT_FALSE(ModeRGBA(Image, false));
  EXPECT_TRUE(ModeRGBA(Image, true)); // a translucent background needs alpha
  Image.Layers()[0].Opacity = 100;
  Image.Layers()[0].Visible = false;
  EXPECT_TRUE(ModeRGBA(Image, true));
  Image.Layers()[0].Visible = true;
  Image.Layers()[0].CheckCreateMask(false);
  EXPECT_TRUE(ModeRGBA(Image, false)); // a background mask, even an opaque one
  Image.Layers()[0].Bitmap().Transparent = true;
  Image.AddLayer(&Bkg, nullptr, {0, 0}, 100, "#1");
  const TSaveImageFacts F = SaveImageFacts(Image);
  EXPECT_EQ(F.LayerCount, 2);
  EXPECT_TRUE(F.RGBA);
  EXPECT_TRUE(F.BkgTransparent);
}

TEST(Commun, DocumentInfoTextMeasuresInTheChosenUnit) {
  FrenchLocale French;
  TDocumentInfoFacts F;
  F.FileName = "Sans titre 1";
  F.Width = 2000;
  F.Height = 1000;
  F.ResolutionX = 200;
  F.Memory = 12000000;
  F.Colors = 42;
  F.Now = QDateTime(QDate(2026, 1, 2), QTime(3, 4));
  const QString Cm = DocumentInfoText(F);
  EXPECT_TRUE(Cm.startsWith(QString::fromUtf8("Nom de l'image : Sans titre 1\rDossier : <non enregistré>\r"
                                              "Dimensions : 2000 x 1000 pixels ==> 25,40 x 12,70 cm  (200,00 dpi)\r"
                                              "Nombre de couleurs : 42\r\rTaille du fichier : <non enregistré>\r")))
      << Cm.toStdString();
  EXPECT_TRUE(Cm.endsWith(QString(33, ' ') + "\r")) << Cm.toStdString();
  F.PrintUnit = 1;
  EXPECT_TRUE(DocumentInfoText(F).contains("==> 10,00 x 5,00 pouces  (200,00 dpi)\r"));

  // An image without resolution is measured at the view's 96 dpi instead
  // of dividing by zero.
  F.ResolutionX = 0;
  const QString NoDpi = DocumentInfoText(F);
  EXPECT_TRUE(NoDpi.contains("==> 20,83 x 10,42 pouces  (96,00 dpi)\r")) << NoDpi.toStdString();
  EXPECT_FALSE(NoDpi.contains("inf", Qt::CaseInsensitive) || NoDpi.contains("nan", Qt::CaseInsensitive));
}

TEST(Commun, DocumentInfoTextOfAFileBreaksALongFolder) {
  QTemporaryDir Dir;
  const QString Folder = Dir.path() + "/" + QString(60, 'd');
  ASSERT_TRUE(QDir().mkpath(Folder));
  QFile File(Folder + "/photo.png");
  ASSERT_TRUE(File.open(QIODevice::WriteOnly));
  File.write(QByteArray(2048, 'x'));
  File.close();
  TDocumentInfoFacts F;
  F.FileName = File.fileName();
  F.FromFile = true;
  F.Width = F.Height = 10;
  F.ResolutionX = 72;
  const QString Text = DocumentInfoText(F);
  QString Broken = Folder;
  Broken.insert(49, '\r');
  EXPECT_TRUE(Text.contains("Dossier : " + Broken + "\r")) << Text.toStdString();
  EXPECT_TRUE(Text.contains("Nom de l'image : photo.png\r"));
  EXPECT_FALSE(Text.contains(QString::fromUtf8("<non enregistré>")));
}

TEST(Commun, LayerCaptionsShownForStoredOnes) {
  const std::pair<const char*, const char*> Cases[] = {
      {"#3", "Calque 3"},       {"#0", "Fond"},     {"#x1", "#x1"}, {"#7", "Calque 7"}, {"#", "#"},
      {"#12345", "Calque 123"}, {"Texte", "Texte"}, {"", ""},       {"#00", "Fond"},    {"#-1", "#-1"},
  };
  for (const auto& [Stored, Shown] : Cases) EXPECT_EQ(LayerDisplayName(Stored), QString::fromUtf8(Shown)) << Stored;
}

TEST(Commun, NeighbourFileAmongTheFolderImages) {
  QTemporaryDir Dir;
  const auto Path = [&Dir](const char* Name) { return Dir.path() + "/" + Name; };
  // Only readable image files count, in order of their names.
  for (const char* Name : {"b.png", "A.jpg", "c.bmp", "notes.txt"}) {
    QFile F(Path(Name));
    ASSERT_TRUE(F.open(QIODevice::WriteOnly));
  }
  const struct {
    const char* File;
    int Position;
    const char* Expected; // "" for none
  } Cases[] = {
      {"A.jpg", npFirst, ""},       {"A.jpg", npPrevious, ""},      {"A.jpg", npNext, "b.png"},
      {"A.jpg", npLast, "c.bmp"},   {"b.png", npFirst, "A.jpg"},    {"b.png", npPrevious, "A.jpg"},
      {"b.png", npNext, "c.bmp"},   {"c.bmp", npNext, ""},          {"c.bmp", npLast, ""},
      {"c.bmp", 9, ""},             {"b.png", 9, "c.bmp"},          // any other position is the last
      {"gone.png", npFirst, ""},    {"gone.png", npNext, "A.jpg"},  // a missing file stands before the first
      {"notes.txt", npLast, "c.bmp"},
  };
  for (const auto& C : Cases)
    EXPECT_EQ(NeighbourFile(Path(C.File), C.Position), *C.Expected ? Path(C.Expected) : QString())
        << C.File << " " << C.Position;

  // A file alone in its folder has no neighbour.
  QDir(Dir.path()).mkdir("solo");
  QFile Solo(Path("solo/x.png"));
  ASSERT_TRUE(Solo.open(QIODevice::WriteOnly));
  for (int P = npFirst; P <= npLast; ++P) EXPECT_EQ(NeighbourFile(Path("solo/x.png"), P), QString());
}

TEST(Commun, RenamedFileNameStaysInTheFolderWithTheExtension) {
  const struct {
    const char* Answer;
    const char* Expected; // "" for no file
  } Cases[] = {
      {"new", "/pics/new.png"},        {"  spaced  ", "/pics/spaced.png"}, {"a.b", "/pics/a.b.png"},
      {"../up", "/pics/.._up.png"},    {"/abs/x", "/pics/_abs_x.png"},     {"tab\there", "/pics/tab_here.png"},
      {"win\\dir", "/pics/win_dir.png"}, {"", ""},                         {"   ", ""},
      {".", ""},                       {"..", ""},
  };
  for (const auto& C : Cases)
    EXPECT_EQ(RenamedFileName("/pics/old.png", C.Answer), QString::fromUtf8(C.Expected)) << C.Answer;
  EXPECT_EQ(RenamedFileName("/pics/noext", "new"), "/pics/new");
}
