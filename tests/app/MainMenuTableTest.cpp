#include "app/MainMenuTable.h"

#include <QSet>

#include <gtest/gtest.h>

TEST(MainMenuTable, EveryCaptionGroupIsComplete) {
  // Rows per caption routine: file, edit, layer, selection, image, adjust,
  // filter, tools, view, window, help, popups.
  const int Expected[mgCount] = {23, 28, 62, 56, 46, 25, 124, 31, 19, 6, 6, 82};
  int Counts[mgCount] = {};
  for (const TMenuEntry& E : MainMenuEntries()) ++Counts[E.Group];
  for (int G = 0; G < mgCount; ++G) EXPECT_EQ(Counts[G], Expected[G]) << "group " << G;
  EXPECT_EQ(MainMenuEntries().size(), 508u);
}

TEST(MainMenuTable, NamesAreUniqueAndParentsExist) {
  QSet<QString> Names;
  for (const char* Top : TopMenuNames()) Names.insert(QString::fromLatin1(Top));
  for (const char* Pop : PopupMenuNames()) Names.insert(QString::fromLatin1(Pop));
  for (const TMenuEntry& E : MainMenuEntries()) {
    if (E.Again) {
      EXPECT_TRUE(Names.contains(QString::fromLatin1(E.Name))) << E.Name;
      continue;
    }
    if (*E.Parent) {
      EXPECT_FALSE(Names.contains(QString::fromLatin1(E.Name))) << E.Name;
    }
    Names.insert(QString::fromLatin1(E.Name));
  }
  for (const TMenuEntry& E : MainMenuEntries())
    if (*E.Parent) {
      EXPECT_TRUE(Names.contains(QString::fromLatin1(E.Parent))) << E.Name << " in " << E.Parent;
    }
}

namespace {

const TMenuEntry& Entry(const char* Name) {
  for (const TMenuEntry& E : MainMenuEntries())
    if (QLatin1String(E.Name) == QLatin1String(Name)) return E;
  throw std::runtime_error(Name);
}

} // namespace

TEST(MainMenuTable, FrenchCaptions) {
  const std::pair<const char*, const char*> Cases[] = {
      {"MenuFichier", "Fichier"},
      {"MenuSelection", "Sélection"},
      {"MenuAide", "?"},
      {"MenuFichierOuvrir", "Ouvrir..."},
      {"MenuReglageLum", "Luminosité..."},
      {"MenuReglageTons", "Tons sombres / Tons clairs..."},
      {"MenuZoomPe", "Plein écran / Diaporama"},
      {"MenuFiltreCtr3D", "Contours 3D..."},
      {"MenuFiltre8bf", "8BF"},
      {"PopFormNouveau", "Nouveau..."},
      {"PopZoomAuto", "<Auto>"},
      {"PopCalqueVerrou", "Verrou"},
  };
  for (const auto& [Name, Caption] : Cases)
    EXPECT_EQ(QString::fromUtf16(Entry(Name).Caption), QString::fromUtf8(Caption)) << Name;
  // The crossed pairs stay as they are named.
  EXPECT_EQ(Entry("MenuSelTriangle2").Key1, static_cast<int>(TrId::GetTrMnuSelTriangle3));
  EXPECT_EQ(Entry("MenuImageSymHoriz").Key1, static_cast<int>(TrId::GetTrMnuSymVert));
}

TEST(MainMenuTable, TranslatedCaptionsFollowTheLanguageModule) {
  ASSERT_TRUE(SetTranslation(TrId::GetTrFmtBrightness, QStringLiteral("brightness: %d%%")));
  ASSERT_TRUE(SetTranslation(TrId::GetTrMnuOpen, QStringLiteral("&open")));
  EXPECT_EQ(TranslatedCaption(Entry("MenuReglageLum")), "Brightness...");
  EXPECT_EQ(TranslatedCaption(Entry("MenuFichierOuvrir")), "Open...");
  EXPECT_EQ(TranslatedCaption(Entry("MenuReglageTons")), QString::fromUtf8("Tons sombres / Tons clairs..."));
  EXPECT_EQ(TranslatedCaption(Entry("MenuFiltre8bf")), "8BF");
  SetTranslation(TrId::GetTrFmtBrightness, TrDefault(TrId::GetTrFmtBrightness));
  SetTranslation(TrId::GetTrMnuOpen, TrDefault(TrId::GetTrMnuOpen));
}
