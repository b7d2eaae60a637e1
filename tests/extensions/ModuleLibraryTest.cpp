// The module libraries without a window: the scan of a module folder with
// good, broken and foreign libraries, the caption split, the toolbar
// choice, the enabling rule, the host record filled by level, and what the
// loaded module is told (its language, the clicks of the image).
#include "extensions/ModuleLibrary.h"
#include "i18n/LibLang.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>

namespace {

void CopyModule(const char* Built, const QString& Path) {
  QDir().mkpath(QFileInfo(Path).absolutePath());
  ASSERT_TRUE(QFile::copy(QString::fromLocal8Bit(Built), Path)) << Path.toStdString();
}

QStringList Captions(const std::vector<TPluginItem>& Items) {
  QStringList C;
  for (const TPluginItem& I : Items) C << I.Caption;
  return C;
}

} // namespace

TEST(ModuleLibrary, ScanRegistersModulesOfFolderAndSubfoldersSortedAndNamesTheBrokenOnes) {
  QTemporaryDir Dir;
  const QString F = Dir.path() + "/";
  CopyModule(TEST_MODULE_1, F + "Filtre.lml");
  CopyModule(TEST_MODULE_2, F + "Outil.lml");
  CopyModule(TEST_MODULE_3, F + "Sous/Dossier/Import.lml");
  CopyModule(TEST_MODULE_14, F + "Plein.lml");
  CopyModule(TEST_MODULE_10, F + "SansExecute.lml");
  CopyModule(TEST_MODULE_11, F + "Refuse.lml");
  CopyModule(TEST_MODULE_12, F + "SansEntete.lml");
  CopyModule(TEST_MODULE_13, F + "Inconnu.lml");
  // The two foreign libraries are skipped by their exact names only.
  CopyModule(TEST_MODULE_1, F + "8bf_64.lml");
  CopyModule(TEST_MODULE_1, F + "FreeImage_64.lml");
  CopyModule(TEST_MODULE_1, F + "Sous/8BF_64.lml");
  {
    QFile Fake(F + "Faux.lml");
    ASSERT_TRUE(Fake.open(QIODevice::WriteOnly));
    Fake.write("not a library");
  }
  TModuleLibrary Library;
  QStringList Shown;
  const TModuleScan Scan = ScanModuleFolder(Library, Dir.path(), [&](const QString& N) { Shown << N; });
  EXPECT_FALSE(Library.IsModuleLoaded());
  EXPECT_FALSE(Shown.contains("8bf_64.lml"));
  EXPECT_FALSE(Shown.contains("FreeImage_64.lml"));
  EXPECT_EQ(Captions(Scan.Items), (QStringList{QString(64, 'C'), "Import de test|Importer du vert",
                                                "Module de test|&Inverser...", "Module de test|&Inverser...",
                                                "Outil de test"}));
  ASSERT_EQ(Scan.Skipped.size(), 3) << Scan.Skipped.join('\n').toStdString();
  EXPECT_TRUE(Scan.Skipped[0].startsWith(F + "Faux.lml : "));
  EXPECT_EQ(Scan.Skipped[1], F + "SansEntete.lml : le module ne donne pas d'en-tête");
  EXPECT_EQ(Scan.Skipped[2], F + "SansExecute.lml : la fonction Execute est absente");

  const TPluginItem& Filter = Scan.Items[2];
  EXPECT_EQ(Filter.FileName, F + "Filtre.lml");
  EXPECT_EQ(Filter.Version, "Version 2.5 beta");
  EXPECT_EQ(Filter.Author, "(c) Tom & Jerry");
  EXPECT_EQ(Filter.Comment, "Inverse les couleurs");
  EXPECT_EQ(Filter.PluginType, ptFilter);
  ASSERT_EQ(Filter.Glyph.size(), QSize(19, 19));
  EXPECT_EQ(Filter.Glyph.pixel(0, 0), qRgb(255, 0, 0));
  EXPECT_EQ(qAlpha(Filter.Glyph.pixel(18, 18)), 0) << "the colour at (18, 18) is transparent";
  EXPECT_TRUE(Scan.Items[4].Glyph.isNull());
  // Texts that fill their fields are read to the field's end, no further.
  EXPECT_EQ(Scan.Items[0].Version, QString(64, '9'));
  EXPECT_EQ(Scan.Items[0].Comment, QString(256, 'c'));
}

TEST(ModuleLibrary, AnEmptyOrMissingFolderGivesNothing) {
  TModuleLibrary Library;
  QTemporaryDir Dir;
  EXPECT_TRUE(ScanModuleFolder(Library, Dir.path()).Items.empty());
  EXPECT_TRUE(ScanModuleFolder(Library, Dir.path() + "/none").Items.empty());
}

TEST(ModuleLibrary, CaptionSplitsIntoNameAndCommand) {
  struct TCase {
    QString Caption, Name, Command;
  };
  const QString Long = "&" + QString(40, 'x');
  const TCase Cases[] = {
      {"Mon module|&Flou...", "Mon module", "&Flou..."},
      {"Sans barre...", "Sans barre", "Sans barre..."},
      {"|Au début", "Au début", "Au début"},
      {"A|", "A", ""},
      {"Deux|barres|ici", "Deux", "barres|ici"},
      // Cut to 32 before cleaning; the command keeps its accelerator.
      {Long, QString(31, 'x'), Long.left(32)},
      {" &Nom :|&Cmd", "Nom", "&Cmd"},
  };
  for (const TCase& C : Cases) {
    const TModuleCaptions R = SplitModuleCaption(C.Caption);
    EXPECT_EQ(R.Name, C.Name) << C.Caption.toStdString();
    EXPECT_EQ(R.Command, C.Command) << C.Caption.toStdString();
  }
}

TEST(ModuleLibrary, ToolbarTakesTheListedModulesUpToTwenty) {
  std::vector<TPluginItem> Items(25);
  for (int I = 0; I < 25; ++I) Items[I].FileName = QString("/m/mod%1.lml").arg(I);
  const std::vector<int> All = ModuleToolbarIndexes(Items, {});
  ASSERT_EQ(All.size(), 20u);
  EXPECT_EQ(All.front(), 0);
  EXPECT_EQ(All.back(), 19);
  EXPECT_EQ(ModuleToolbarIndexes(Items, {"MOD3.LML", "autre.lml", "mod24.lml"}), (std::vector<int>{3, 24}));
  EXPECT_TRUE(ModuleToolbarIndexes(Items, {"autre.lml"}).empty());
}

TEST(ModuleLibrary, EnablingRuleByKindAndFlags) {
  TModuleEnableState Open;
  Open.ImageOpen = true;
  Open.Mode16M = true;
  Open.ImageWindows = 1;
  Open.LayerCount = 1;
  Open.BackgroundFree = true;
  Open.CurrentLayerFree = true;
  Open.FileName = "/img/photo.JPG";
  const TModuleEnableState None;
  struct TCase {
    int32_t Type, Flags;
    TModuleEnableState State;
    std::function<void(TModuleEnableState&)> Change;
    bool Enabled;
  };
  const TCase Cases[] = {
      {ptFilter, 0, Open, {}, true},
      {ptFilter, 0, None, {}, false},
      {ptFilter, 0, Open, [](TModuleEnableState& S) { S.Mode16M = false; }, false},
      {ptFilter, 0, Open, [](TModuleEnableState& S) { S.CurrentLayerFree = false; }, false},
      {ptImage, 0, Open, [](TModuleEnableState& S) { S.LayerCount = 2; }, false},
      {ptImage, 0, Open, [](TModuleEnableState& S) { S.BackgroundFree = false; }, false},
      {ptExport, 0, None, {}, false},
      {ptImport, 0, None, {}, true},
      {ptTool, 0x40, None, {}, false},
      {ptTool, 0x1, None, {}, true}, // only 0x40 is read without an image
      {ptTool, 0x40, Open, {}, true},
      {ptTool, 0x2, Open, {}, false},
      {ptTool, 0x3, Open, {}, true}, // 0x2 only counts when 0x1 is clear
      {ptTool, 0x10, Open, {}, false},
      {ptTool, 0x20, Open, {}, true},
      {ptTool, 0x80, Open, {}, false},
      {ptTool, 0x200, Open, {}, true},
      {ptTool, 0x100, Open, {}, false},
      {ptTool, 0x800, Open, [](TModuleEnableState& S) { S.RGBA = true; }, false},
      {ptTool, 0x10000, Open, {}, true},
      {ptTool, 0x40000, Open, {}, false},
      {ptTool, 0x400000, Open, [](TModuleEnableState& S) { S.HasMetadata = true; }, true},
  };
  for (const TCase& C : Cases) {
    TPluginItem Item;
    Item.PluginType = C.Type;
    Item.Flags = C.Flags;
    TModuleEnableState S = C.State;
    if (C.Change) C.Change(S);
    EXPECT_EQ(ModuleCommandEnabled(Item, S), C.Enabled) << "type " << C.Type << " flags " << std::hex << C.Flags;
  }
}

TEST(ModuleLibrary, HostRecordIsWrittenUpToItsLevelOnly) {
  TPluginStruct Source;
  std::memset(&Source, 0x11, sizeof Source);
  const auto Written = [&Source](int32_t Level) {
    TPluginStruct Rec;
    std::memset(&Rec, 0xAB, sizeof Rec);
    FillHostRecord(&Rec, Level, Source);
    const auto* B = reinterpret_cast<const uint8_t*>(&Rec);
    std::vector<bool> W(sizeof Rec);
    for (size_t I = 0; I < sizeof Rec; ++I) W[I] = B[I] == 0x11;
    return W;
  };
  const auto Range = [](const std::vector<bool>& W, size_t From, size_t To, bool Value) {
    for (size_t I = From; I < To; ++I)
      if (W[I] != Value) return false;
    return true;
  };
  for (const int32_t Level : {-3, 0, 1}) {
    const auto W = Written(Level);
    EXPECT_TRUE(Range(W, 0, 52, true) && Range(W, 52, 56, false) && Range(W, 56, 272, true)) << Level;
    EXPECT_TRUE(Range(W, 272, 456, false)) << Level;
  }
  const auto W3 = Written(3);
  EXPECT_TRUE(Range(W3, 272, 368, true) && Range(W3, 368, 456, false));
  const auto W9 = Written(9);
  EXPECT_TRUE(Range(W9, 56, 368, true) && Range(W9, 368, 376, false) && Range(W9, 376, 456, true));
}

TEST(ModuleLibrary, TheLoadedModuleIsToldTheLanguageAndTheClicks) {
  QTemporaryDir Dir;
  const QString FilterPath = Dir.filePath("Filtre.lml"), ToolPath = Dir.filePath("Outil.lml");
  CopyModule(TEST_MODULE_1, FilterPath);
  CopyModule(TEST_MODULE_2, ToolPath);
  // The test holds the libraries too, so their state outlives the host's load.
  TDynamicLibrary FilterSide, ToolSide;
  ASSERT_TRUE(FilterSide.Load(FilterPath) && ToolSide.Load(ToolPath));
  TModuleLibrary Library;
  ASSERT_TRUE(Library.LoadModule(FilterPath)) << Library.Error().toStdString();
  const char16_t* Language = FilterSide.Function<const char16_t* (*)()>("TestLanguage")();
  EXPECT_EQ(QString::fromUtf16(Language), Tr(TrId::GetTrCode));
  EXPECT_EQ(QString::fromUtf16(Language + 4), Tr(TrId::GetTrLanguage));
  // The filter takes no clicks: nothing happens.
  Library.ForwardPointClick({1, 2}, 0);
  Library.ForwardColorPick(0x123456);

  ASSERT_TRUE(Library.LoadModule(ToolPath));
  Library.ForwardPointClick({5, 7}, 1);
  Library.UnloadModule();
  Library.ForwardPointClick({9, 9}, 0);
  TPluginPoint Points[8];
  int32_t Buttons[8];
  ASSERT_EQ(ToolSide.Function<int32_t (*)(TPluginPoint*, int32_t*)>("TestPoints")(Points, Buttons), 1);
  EXPECT_EQ(Points[0].X, 5);
  EXPECT_EQ(Points[0].Y, 7);
  EXPECT_EQ(Buttons[0], 1);
}
