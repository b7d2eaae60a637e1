#include "raster/FoncUtils.h"
#include "i18n/LibLang.h"
#include "support/Printers.h"
#include "support/WaitFor.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <numbers>

static void PrintTo(const QString& S, std::ostream* Out) { *Out << '"' << S.toStdString() << '"'; }

namespace {

// Sets environment variables for one test and puts them back.
class TEnvOverride {
public:
  void Set(const char* Name, const QByteArray& Value) {
    Saved.push_back({Name, qgetenv(Name), qEnvironmentVariableIsSet(Name)});
    qputenv(Name, Value);
  }
  ~TEnvOverride() {
    for (auto It = Saved.rbegin(); It != Saved.rend(); ++It)
      if (It->WasSet)
        qputenv(It->Name, It->Value);
      else
        qunsetenv(It->Name);
  }

private:
  struct TSaved {
    const char* Name;
    QByteArray Value;
    bool WasSet;
  };
  std::vector<TSaved> Saved;
};

QString ExecutableFolder() {
  return QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget()).absolutePath() + u'/';
}

void WriteFile(const QString& Path, const QByteArray& Bytes) {
  QFile F(Path);
  ASSERT_TRUE(F.open(QIODevice::WriteOnly));
  F.write(Bytes);
}

TEST(FoncUtils, MenuCaptions) {
  struct Case {
    const char16_t *In, *Out;
  };
  for (const Case& C : {Case{u"&Ouvrir...", u"Ouvrir"}, Case{u"Taille :", u"Taille"}, Case{u" Taille : ", u"Taille :"},
                        Case{u"A&&B", u"A&B"}, Case{u"", u""}, Case{u"&Fichier", u"Fichier"},
                        Case{u"Enregistrer sous...:", u"Enregistrer sous..."}})
    EXPECT_EQ(CleanMenuCaption(QString::fromUtf16(C.In)), QString::fromUtf16(C.Out));
  EXPECT_EQ(ControlCharsToSpaces(QStringLiteral("a\tb\r\nc\x1f")), QStringLiteral("a b  c "));
  EXPECT_EQ(EscapeAmpersands(QStringLiteral("A&B&&C")), QStringLiteral("A&&B&&&&C"));
  EXPECT_EQ(RemoveSubstring(QStringLiteral("ab"), QStringLiteral("xABxab"), true), QStringLiteral("xxab"));
  EXPECT_EQ(RemoveSubstring(QStringLiteral("ab"), QStringLiteral("xABxab"), false), QStringLiteral("xABx"));
  EXPECT_EQ(RemoveSubstring(QStringLiteral("zz"), QStringLiteral("xABxab"), false), QStringLiteral("xABxab"));
}

TEST(FoncUtils, Ellipsis) {
  struct Case {
    const char* Text;
    int N;
    const char *End, *Middle;
  };
  for (const Case& C :
       {Case{"abcdefghij", 6, "abc...", "a...hij"}, Case{"abcdefghij", 10, "abcdefghij", "abcdefghij"},
        Case{"abcdefghijklmnopqrst", 10, "abcdefg...", "abc...pqrst"}, Case{"abcd", 2, "...", "..."},
        Case{"abcd", 0, "...", "..."}, Case{"abcd", -5, "...", "..."}, Case{"abcd", 3, "...", "...d"}}) {
    EXPECT_EQ(EllipsisEnd(QString::fromLatin1(C.Text), C.N), QString::fromLatin1(C.End)) << C.Text << " " << C.N;
    EXPECT_EQ(EllipsisMiddle(QString::fromLatin1(C.Text), C.N), QString::fromLatin1(C.Middle)) << C.Text << " " << C.N;
  }
  // The tail holds at most 999 characters.
  const QString Long(3000, u'x');
  EXPECT_EQ(EllipsisMiddle(Long, 2001).size(), 999 + 999 + 3);
}

TEST(FoncUtils, ClampedNumbers) {
  struct Case {
    const char* Text;
    int Default, Min, Max, Result;
  };
  for (const Case& C : {Case{"abc", 5, 0, 3, 3}, Case{"-7", 0, 0, 10, 0}, Case{"42", 0, 0, 100, 42},
                        Case{" 12 ", 0, 0, 100, 12}, Case{"$1F", 0, 0, 100, 31}, Case{"0x10", 0, 0, 100, 16},
                        Case{"-$10", 0, -100, 100, -16}, Case{"99999999999", 7, 0, INT_MAX, 7}, Case{"", -1, -5, 5, -1},
                        Case{"1.5", 9, 0, 100, 9}, Case{"+8", 0, 0, 9, 8}, Case{"- 8", 3, 0, 9, 3}}) {
    EXPECT_EQ(StrToIntRange(QString::fromLatin1(C.Text), C.Default, C.Min, C.Max), C.Result) << C.Text;
  }
  const QLocale Saved;
  QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
  EXPECT_DOUBLE_EQ(StrToFloatRange(QStringLiteral("2,5"), 0, 0, 10), 2.5);
  EXPECT_DOUBLE_EQ(StrToFloatRange(QStringLiteral("2.5"), 1, 0, 10), 1);
  EXPECT_DOUBLE_EQ(StrToFloatRange(QStringLiteral("25"), 1, 0, 10), 10);
  EXPECT_DOUBLE_EQ(StrToFloatRange(QStringLiteral("x"), -3, 0, 10), 0);
  EXPECT_DOUBLE_EQ(StrToFloatRange(QStringLiteral("inf"), 4, 0, 10), 4);
  QLocale::setDefault(QLocale::c());
  EXPECT_DOUBLE_EQ(StrToFloatRange(QStringLiteral("2.5"), 1, 0, 10), 2.5);
  QLocale::setDefault(Saved);
}

TEST(FoncUtils, FormatByteSize) {
  const QLocale Saved;
  QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
  struct Case {
    int64_t Size;
    bool Whole;
    const char* Text;
  };
  for (const Case& C :
       {Case{0, true, "0 octet"}, Case{1, true, "1 octet"}, Case{2, true, "2 octets"}, Case{1023, true, "1023 octets"},
        Case{1536, true, "2 Ko"}, Case{1536, false, "1,50 Ko"}, Case{1048575, true, "1024 Ko"},
        Case{1048576, true, "1 Mo"}, Case{2560, true, "2 Ko"}, Case{3584, true, "4 Ko"},
        Case{5368709120LL, true, "5 Go"}, Case{5000000000000LL, false, "4656,61 Go"}}) {
    EXPECT_EQ(FormatByteSize(C.Size, C.Whole), QString::fromUtf8(C.Text)) << C.Size;
  }
  // The unit words are the translatable ones.
  ASSERT_TRUE(SetTranslation(TrId::GetDlgKb, QStringLiteral("KB")));
  EXPECT_EQ(FormatByteSize(2048, true), QStringLiteral("2 KB"));
  ResetTranslations();
  QLocale::setDefault(Saved);
}

TEST(FoncUtils, ColoursAsText) {
  EXPECT_EQ(ColorToText(clRed, true), QStringLiteral("#FF0000"));
  EXPECT_EQ(ColorToText(clRed, false), QStringLiteral("$0000FF"));
  EXPECT_EQ(ColorToText(RGB(0x12, 0xAB, 0x0C), true), QStringLiteral("#12AB0C"));
  EXPECT_EQ(ColorToText(clWindow, false), ColorToText(ColorToRGB(clWindow), false));
  struct Case {
    const char* Text;
    TColor Default;
    bool Html;
    TColor Result;
  };
  for (const Case& C :
       {Case{"#ff0000", 0, true, clRed}, Case{"$0000FF", 0, false, clRed}, Case{"#0000FF", 0, false, clRed},
        Case{"FF0000", 0, true, clRed}, Case{"#ff00", 7, true, 7}, Case{"", 7, true, 7}, Case{"#GG0000", 7, true, 7},
        Case{"clRed", 7, true, clRed}, Case{"CLBTNFACE", 7, false, clBtnFace}, Case{"clNone", 7, false, clNone},
        Case{"#12AB0C", 0, true, RGB(0x12, 0xAB, 0x0C)}, Case{"#12AB0C1", 5, true, 5}}) {
    EXPECT_EQ(TextToColor(QString::fromLatin1(C.Text), C.Default, C.Html), C.Result) << C.Text;
  }
  for (TColor Color : {clRed, RGB(1, 2, 3), clWhite, clBlack})
    for (bool Html : {false, true}) EXPECT_EQ(TextToColor(ColorToText(Color, Html), -1, Html), Color);
}

TEST(FoncUtils, FileNames) {
  EXPECT_EQ(ChangeFileFolder(QStringLiteral("/a/b/c.png"), QStringLiteral("/x")), QStringLiteral("/x/c.png"));
  EXPECT_EQ(ChangeFileFolder(QStringLiteral("/a/b/c.png"), QStringLiteral("/x/")), QStringLiteral("/x/c.png"));
  EXPECT_EQ(ChangeFileFolder(QStringLiteral("/a/b/c.png"), QString()), QStringLiteral("c.png"));
  EXPECT_EQ(ChangeFileFolder(QString(), QStringLiteral("/x")), QString());
  EXPECT_EQ(AddPathDelimiter(QStringLiteral("/a")), QStringLiteral("/a/"));
  EXPECT_EQ(AddPathDelimiter(QStringLiteral("/a/")), QStringLiteral("/a/"));
  EXPECT_EQ(FileNameWithoutExt(QStringLiteral("/a.d/b.tar.gz")), QStringLiteral("b.tar"));
  EXPECT_EQ(FileNameWithoutExt(QStringLiteral("/a.d/readme")), QStringLiteral("readme"));
}

TEST(FoncUtils, FileSizeOf) {
  QTemporaryDir Dir;
  ASSERT_TRUE(Dir.isValid());
  const QString Name = Dir.filePath(QStringLiteral("f.bin"));
  WriteFile(Name, QByteArray(1234, 'x'));
  EXPECT_EQ(FileSizeOf(Name), 1234);
  EXPECT_EQ(FileSizeOf(Dir.filePath(QStringLiteral("missing"))), -1);
  EXPECT_EQ(FileSizeOf(Dir.path()), -1);
  // Beyond 2 GB: a sparse file costs no disk space.
  const QString Big = Dir.filePath(QStringLiteral("big.bin"));
  {
    QFile F(Big);
    ASSERT_TRUE(F.open(QIODevice::WriteOnly));
    ASSERT_TRUE(F.resize(int64_t(5) << 30));
  }
  EXPECT_EQ(FileSizeOf(Big), int64_t(5) << 30);
}

TEST(FoncUtils, Folders) {
  QTemporaryDir Dir;
  ASSERT_TRUE(Dir.isValid());
  TEnvOverride Env;
  Env.Set("XDG_CONFIG_HOME", Dir.filePath(QStringLiteral("cfg")).toUtf8());
  Env.Set("HOME", Dir.path().toUtf8());
  const QString Expected = Dir.filePath(QStringLiteral("cfg/Lumaretique/"));
  EXPECT_EQ(UserDataFolder(QStringLiteral("Lumaretique")), Expected);
  EXPECT_TRUE(QFileInfo(Expected).isDir());
  // A folder that cannot be made: the program's folder.
  WriteFile(Dir.filePath(QStringLiteral("file")), "x");
  Env.Set("XDG_CONFIG_HOME", Dir.filePath(QStringLiteral("file/cfg")).toUtf8());
  EXPECT_EQ(UserDataFolder(QStringLiteral("Lumaretique")), ExecutableFolder());

  EXPECT_EQ(DocumentsFolder(), ExecutableFolder());
  ASSERT_TRUE(QDir(Dir.path()).mkdir(QStringLiteral("Documents")));
  EXPECT_EQ(DocumentsFolder(), Dir.filePath(QStringLiteral("Documents/")));
}

TEST(FoncUtils, DeleteToRecycleBin) {
  QTemporaryDir Dir;
  ASSERT_TRUE(Dir.isValid());
  TEnvOverride Env;
  Env.Set("HOME", Dir.path().toUtf8());
  Env.Set("XDG_DATA_HOME", Dir.filePath(QStringLiteral("data")).toUtf8());
  const QString Name = Dir.filePath(QStringLiteral("image.png"));
  WriteFile(Name, "pixels");
  EXPECT_TRUE(DeleteToRecycleBin(Name, false));
  EXPECT_FALSE(QFileInfo::exists(Name));
  EXPECT_TRUE(QFileInfo::exists(Dir.filePath(QStringLiteral("data/Trash/files/image.png"))));
  EXPECT_FALSE(DeleteToRecycleBin(Name, true));
  EXPECT_FALSE(DeleteToRecycleBin(QString(), false));

  // No trash folder can be made: the file stays where it was.
  WriteFile(Name, "pixels");
  WriteFile(Dir.filePath(QStringLiteral("plain")), "x");
  Env.Set("XDG_DATA_HOME", Dir.filePath(QStringLiteral("plain/data")).toUtf8());
  const QString SavedCurrent = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(Dir.path()));
  EXPECT_FALSE(DeleteToRecycleBin(Name, false));
  QDir::setCurrent(SavedCurrent);
  EXPECT_TRUE(QFileInfo::exists(Name));
  EXPECT_FALSE(QFileInfo::exists(Dir.filePath(QStringLiteral("info/image.png.trashinfo"))));
}

TEST(FoncUtils, ShellOpenStartsAProgramWithItsParameters) {
  QTemporaryDir Dir;
  ASSERT_TRUE(Dir.isValid());
  const QString Script = Dir.filePath(QStringLiteral("run.sh"));
  const QString Out = Dir.filePath(QStringLiteral("out.txt"));
  WriteFile(Script, "#!/bin/sh\nprintf '%s|' \"$@\" > \"$0.tmp\" && mv \"$0.tmp\" \"" + Out.toUtf8() + "\"\n");
  QFile::setPermissions(Script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  ASSERT_TRUE(ShellOpen(Script, QStringLiteral("one \"two words\"")));
  EXPECT_TRUE(WaitUntil([&] { return QFileInfo::exists(Out); }));
  QFile F(Out);
  ASSERT_TRUE(F.open(QIODevice::ReadOnly));
  EXPECT_EQ(F.readAll(), QByteArray("one|two words|"));
  EXPECT_FALSE(ShellOpen(Dir.filePath(QStringLiteral("missing.png")), QString()));
  EXPECT_FALSE(ShellOpen(QString(), QString()));
  EXPECT_FALSE(ShellOpen(QStringLiteral("no-such-program-here"), QString()));
}

TEST(FoncUtils, FitSize) {
  struct Case {
    int W, H, MaxW, MaxH, OutW, OutH;
  };
  for (const Case& C :
       {Case{100, 50, 400, 400, 400, 200}, Case{0, 50, 400, 400, 0, 50}, Case{100, 50, 0, 400, 100, 50},
        Case{800, 600, 400, 400, 400, 300}, Case{3, 1, 100, 100, 100, 33}, Case{1000, 3, 10, 10, 10, 0}}) {
    int W = C.W, H = C.H;
    FitSize(W, H, C.MaxW, C.MaxH);
    EXPECT_EQ(W, C.OutW) << C.W << "x" << C.H;
    EXPECT_EQ(H, C.OutH) << C.W << "x" << C.H;
  }
  EXPECT_TRUE(PointsEqual({1, 2}, {1, 2}));
  EXPECT_FALSE(PointsEqual({1, 2}, {2, 1}));
}

// The routine the distance used to be: twelve Newton steps in 32 bits.
int TwelveStepDistance(int X1, int Y1, int X2, int Y2) {
  const int S = (X2 - X1) * (X2 - X1) + (Y2 - Y1) * (Y2 - Y1);
  int R = (S + 1) / 2;
  for (int I = 0; I < 12; ++I)
    if (R > 0) R = (R + S / R) / 2;
  return R;
}

TEST(FoncUtils, IntDistanceKeepsShortDistances) {
  // Distances up to 1000, where twelve steps always settled.
  for (int DX = 0; DX <= 1000; ++DX)
    for (int DY = 0; DY <= DX && DX * DX + DY * DY <= 1000 * 1000; DY += 7)
      ASSERT_EQ(IntDistance(0, 0, DX, DY), TwelveStepDistance(0, 0, DX, DY)) << DX << "," << DY;
  struct Case {
    int X1, Y1, X2, Y2, D;
  };
  for (const Case& C : {Case{0, 0, 3, 4, 5}, Case{0, 0, 0, 0, 0}, Case{0, 0, 1, 1, 1}, Case{0, 0, 1, 2, 2},
                        Case{0, 0, 3, 0, 3}, Case{5, 5, 2, 1, 5}}) {
    EXPECT_EQ(IntDistance(C.X1, C.Y1, C.X2, C.Y2), C.D);
  }
}

TEST(FoncUtils, IntDistanceIsExactFarAway) {
  struct Case {
    int X1, Y1, X2, Y2, D;
  };
  for (const Case& C :
       {Case{0, 0, 2000, 0, 2000}, Case{0, 0, 3000, 0, 3000}, Case{0, 0, 10000, 0, 10000},
        Case{0, 0, 30000, 40000, 50000}, Case{-20000, 0, 20000, 0, 40000}, Case{0, 0, 46341, 46341, 65536},
        Case{INT_MIN, 0, INT_MAX, 0, INT_MAX}, Case{0, INT_MIN, 0, 0, INT_MAX},
        Case{0, 0, 1500000000, 1500000000, 2121320343}, Case{0, 0, 1600000000, 1600000000, INT_MAX}}) {
    EXPECT_EQ(IntDistance(C.X1, C.Y1, C.X2, C.Y2), C.D) << C.X2 << "," << C.Y2;
  }
  // Elsewhere the floor of the root (or k where S = k * k - 1), against a
  // reference root on random pairs of every magnitude.
  uint64_t Seed = 12345;
  const auto Next = [&Seed](int64_t Limit) {
    Seed = Seed * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<int>((Seed >> 33) % static_cast<uint64_t>(Limit));
  };
  for (int64_t Limit : {int64_t(2000), int64_t(100000), int64_t(50000000), int64_t(1500000000)})
    for (int I = 0; I < 2000; ++I) {
      const int DX = Next(Limit), DY = Next(Limit);
      const uint64_t S = uint64_t(DX) * DX + uint64_t(DY) * DY;
      uint64_t Root = static_cast<uint64_t>(std::sqrt(static_cast<long double>(S)));
      while (Root * Root > S) --Root;
      while ((Root + 1) * (Root + 1) <= S) ++Root;
      const bool EitherRoot = (Root + 1) * (Root + 1) - 1 == S;
      const int Expected = Root > uint64_t(INT_MAX) ? INT_MAX : static_cast<int>(Root);
      const int D = IntDistance(0, 0, DX, DY);
      ASSERT_TRUE(D == Expected || (EitherRoot && D == Expected + 1)) << DX << "," << DY << ": " << D;
      ASSERT_EQ(IntDistance(DX, 0, 0, -DY), D) << DX << "," << DY;
    }
}

TEST(FoncUtils, DistanceToSegmentIncludesItsEnds) {
  struct Case {
    int PX, PY, AX, AY, BX, BY;
    double D;
  };
  for (const Case& C : {Case{100, 0, 0, 0, 10, 0, 90}, Case{5, 3, 0, 0, 10, 0, 3}, Case{-3, 4, 0, 0, 10, 0, 5},
                        Case{0, 20, 0, 0, 0, 10, 10}, Case{4, 5, 0, 0, 0, 10, 4}, Case{3, 4, 0, 0, 0, 0, 5},
                        Case{0, 10, 0, 0, 10, 10, std::sqrt(50.0)}, Case{20, 20, 0, 0, 10, 10, std::sqrt(200.0)},
                        Case{-3, -4, 0, 0, 10, 10, 5}}) {
    EXPECT_DOUBLE_EQ(DistanceToSegment(C.PX, C.PY, C.AX, C.AY, C.BX, C.BY), C.D)
        << C.PX << "," << C.PY << " to " << C.AX << "," << C.AY << "-" << C.BX << "," << C.BY;
  }
  EXPECT_DOUBLE_EQ(FloatDistance(1, 1, 4, 5), 5);
}

TEST(FoncUtils, LineIntersection) {
  double X = -1, Y = -1;
  ASSERT_TRUE(LineIntersection(0, 0, 10, 10, 0, 10, 10, 0, X, Y));
  EXPECT_DOUBLE_EQ(X, 5);
  EXPECT_DOUBLE_EQ(Y, 5);
  // A vertical first line.
  ASSERT_TRUE(LineIntersection(3, 0, 3, 10, 0, 1, 10, 6, X, Y));
  EXPECT_DOUBLE_EQ(X, 3);
  EXPECT_DOUBLE_EQ(Y, 2.5);
  // A vertical second line.
  ASSERT_TRUE(LineIntersection(0, 1, 10, 6, 3, 0, 3, 10, X, Y));
  EXPECT_DOUBLE_EQ(X, 3);
  EXPECT_DOUBLE_EQ(Y, 2.5);
  // Parallel and coincident lines: none, X and Y untouched.
  X = Y = 42;
  EXPECT_FALSE(LineIntersection(0, 0, 10, 10, 0, 1, 10, 11, X, Y));
  EXPECT_FALSE(LineIntersection(0, 0, 10, 10, 1, 1, 2, 2, X, Y));
  EXPECT_FALSE(LineIntersection(2, 0, 2, 10, 5, 0, 5, 3, X, Y));
  EXPECT_EQ(X, 42);
  EXPECT_EQ(Y, 42);
}

TEST(FoncUtils, AngleBetweenLines) {
  constexpr double Pi = std::numbers::pi;
  // Y is taken upwards: (0, 0)-(0, -1) points up, at pi / 2.
  EXPECT_DOUBLE_EQ(AngleBetweenLines({0, 0}, {1, 0}, {0, 0}, {0, -1}), Pi / 2);
  EXPECT_DOUBLE_EQ(AngleBetweenLines({0, 0}, {0, -1}, {0, 0}, {1, 0}), -Pi / 2);
  EXPECT_DOUBLE_EQ(AngleBetweenLines({0, 0}, {1, 0}, {0, 0}, {0, 1}), 3 * Pi / 2);
  EXPECT_DOUBLE_EQ(AngleBetweenLines({0, 0}, {1, 0}, {0, 0}, {-1, 0}), Pi);
  EXPECT_DOUBLE_EQ(AngleBetweenLines({5, 5}, {6, 6}, {0, 0}, {1, 1}), 0);
}

TEST(FoncUtils, BisectorPoint) {
  struct Case {
    TPoint V, A, B, Result;
  };
  for (const Case& C : {Case{{0, 0}, {10, 0}, {0, 10}, {5, 5}},
                        // A farther: brought back to B's distance (10) first.
                        Case{{0, 0}, {20, 0}, {0, 10}, {5, 5}},
                        // B farther: brought back to A's distance.
                        Case{{0, 0}, {0, 4}, {8, 0}, {2, 2}},
                        // A at the vertex: the midpoint of the vertex and B.
                        Case{{2, 2}, {2, 2}, {12, 8}, {7, 5}}, Case{{2, 2}, {12, 8}, {2, 2}, {7, 5}},
                        Case{{0, 0}, {-6, 0}, {0, -6}, {-3, -3}}}) {
    EXPECT_EQ(BisectorPoint(C.V, C.A, C.B), C.Result) << C.A.X << "," << C.A.Y << " " << C.B.X << "," << C.B.Y;
  }
}

} // namespace

// The folder macro stands for the program folder only where a path begins
// with it; expanding gives the path back.
TEST(FoncUtils, FolderMacro) {
  const QString Dir = QStringLiteral("/opt/luma/");
  EXPECT_EQ(EncodeFolderMacro("/opt/luma/Patterns/a.png", Dir), "%lmsdir%/Patterns/a.png");
  EXPECT_EQ(EncodeFolderMacro("/opt/lumax/a.png", Dir), "/opt/lumax/a.png");
  EXPECT_EQ(EncodeFolderMacro("/home/opt/luma/a.png", Dir), "/home/opt/luma/a.png");
  EXPECT_EQ(EncodeFolderMacro("/opt/luma/a.png", ""), "/opt/luma/a.png");
  EXPECT_EQ(ExpandFolderMacro("%LMSDIR%/Patterns/a.png", Dir), "/opt/luma/Patterns/a.png");
  EXPECT_EQ(ExpandFolderMacro(EncodeFolderMacro("/opt/luma/b.bmp", "/opt/luma"), Dir), "/opt/luma/b.bmp");
}
