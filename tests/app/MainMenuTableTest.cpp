#include "app/MainMenuTable.h"

#include <QSet>
#include <QStringList>

#include <vector>

#include <gtest/gtest.h>

TEST(MainMenuTable, EveryCaptionGroupIsComplete) {
  // Rows per caption routine: file, edit, layer, selection, image, adjust,
  // filter, tools, view, window, help, popups. The filter menu has the 124
  // items its routine captions and "R-Touch...", the edit menu the 28 of its
  // routine and "Image et masque associés", the same in every language.
  const int Expected[mgCount] = {23, 29, 62, 56, 46, 25, 125, 31, 19, 6, 6, 82};
  int Counts[mgCount] = {};
  for (const TMenuEntry& E : MainMenuEntries())
    if (!IsSeparator(E)) ++Counts[E.Group];
  for (int G = 0; G < mgCount; ++G) EXPECT_EQ(Counts[G], Expected[G]) << "group " << G;
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
      {"MenuImageRotLibre", "Rotation paramétrée..."},
      {"MenuEditionAssembler", "Assembler le collage..."},
      {"MenuPluginImage", "Module externe"},
      {"MenuPluginFiltre", "Module externe"},
      {"MenuPluginOutil", "Module externe"},
      {"MenuPluginImport", "Importation"},
      {"MenuPluginExport", "Exportation"},
      {"MenuSelPath", "Tracé vectoriel (Transformation)..."},
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
  // A plain entry keeps the accelerator "&" the module gives it (Alt+F).
  ASSERT_TRUE(SetTranslation(TrId::GetTrMnuFile, QStringLiteral("&File")));
  EXPECT_EQ(TranslatedCaption(Entry("MenuFichier")), "&File");
  SetTranslation(TrId::GetTrFmtBrightness, TrDefault(TrId::GetTrFmtBrightness));
  SetTranslation(TrId::GetTrMnuOpen, TrDefault(TrId::GetTrMnuOpen));
  SetTranslation(TrId::GetTrMnuFile, TrDefault(TrId::GetTrMnuFile));
}

namespace {

// The rows of one menu in order (items added at run time excluded).
std::vector<const TMenuEntry*> Children(const char* Parent) {
  std::vector<const TMenuEntry*> Result;
  for (const TMenuEntry& E : MainMenuEntries())
    if (!E.Again && QLatin1String(E.Parent) == QLatin1String(Parent)) Result.push_back(&E);
  return Result;
}

QStringList Names(const std::vector<const TMenuEntry*>& Rows, bool WithSeparators) {
  QStringList Result;
  for (const TMenuEntry* E : Rows)
    if (WithSeparators || !IsSeparator(*E)) Result << QString::fromLatin1(E->Name);
  return Result;
}

} // namespace

TEST(MainMenuTable, SeparatorsOnlyStandBetweenItems) {
  QSet<QString> Parents;
  for (const TMenuEntry& E : MainMenuEntries())
    if (*E.Parent) Parents.insert(QString::fromLatin1(E.Parent));
  // Menus that the program completes at run time may end on a separator.
  const QSet<QString> OpenEnded = {"PopImg", "PopZoom", "MenuFenetre", "MenuCalqueNouveau"};
  int Separators = 0;
  for (const QString& Parent : Parents) {
    const auto Rows = Children(Parent.toLatin1().constData());
    const TMenuEntry* Previous = nullptr;
    for (size_t I = 0; I < Rows.size(); ++I) {
      const TMenuEntry& E = *Rows[I];
      if (!IsSeparator(E)) {
        Previous = &E;
        continue;
      }
      ++Separators;
      EXPECT_EQ(E.Tag, 0) << E.Name;
      EXPECT_EQ(E.Key1, TrNoneValue) << E.Name;
      if (StartsHidden(E)) continue;
      EXPECT_NE(Previous, nullptr) << E.Name << " opens " << Parent.toStdString();
      if (Previous) {
        EXPECT_FALSE(IsSeparator(*Previous)) << E.Name;
      }
      if (I + 1 == Rows.size()) {
        EXPECT_TRUE(OpenEnded.contains(Parent)) << E.Name << " ends " << Parent.toStdString();
      }
      Previous = &E;
    }
  }
  EXPECT_GT(Separators, 60);
  // The separators the program shows and hides, each at its place.
  const auto Tools = Names(Children("MenuOutils"), true);
  EXPECT_EQ(Tools.indexOf("SepExtensionShell") + 1, Tools.indexOf("MenuExtensionShell"));
  const auto Filters = Names(Children("MenuFiltre"), true);
  EXPECT_EQ(Filters.indexOf("SepLumaBridge") + 1, Filters.indexOf("MenuLumaBridge"));
  EXPECT_EQ(Names(Children("MenuFenetre"), true).last(), "ImgSep");
  EXPECT_EQ(Names(Children("MenuCalqueNouveau"), true).last(), "SepCalqueNouveauModules");
  EXPECT_EQ(Names(Children("PopZoom"), true), QStringList({"PopZoomAuto", "SepPopZoomAuto"}));
  for (const char* Name : {"SepExtensionShell", "SepLumaBridge", "ImgSep", "SepCalqueNouveauModules"})
    EXPECT_TRUE(StartsHidden(Entry(Name))) << Name;
  EXPECT_FALSE(StartsHidden(Entry("SepFichierRecents")));
}

TEST(MainMenuTable, TagsTheHandlersRead) {
  const std::pair<const char*, int> Cases[] = {
      // Save in: the folder by tag.
      {"MenuEnregistrerDansImage", 0},
      {"MenuEnregistrerDansMasques", 1},
      {"MenuEnregistrerDansPNG", 4},
      // Paste into: centre or fit.
      {"MenuEditionCollerIn1", 0},
      {"MenuEditionCollerIn2", 1},
      {"PopSelCollerIn2", 1},
      // Selection transformations 0..4, layer transformations 1..5.
      {"MenuTransformSymHoriz", 0},
      {"MenuTransformSymVerti", 1},
      {"MenuTransform90h", 2},
      {"MenuTransform180", 4},
      {"MenuCalqueSymHoriz", 1},
      {"MenuCalqueSymVert", 2},
      {"MenuCalque90h", 3},
      {"MenuCalque90a", 4},
      {"MenuCalque180", 5},
      // Layer distortion modes.
      {"MenuCalqueTransformEchelle", 0},
      {"MenuCalqueTransformDistort", 1},
      {"PopCalqueRedim", 0},
      {"PopCalqueDistort", 1},
      // Selection shapes: the shape ordinals.
      {"MenuSelRect", 0},
      {"MenuSelEllipse", 1},
      {"MenuSelRoundRect", 2},
      {"MenuSelLosange", 9},
      {"MenuSelPolygone", 10},
      // Rounded corners: the divisor; smoothing: the mode.
      {"MenuSelRoundRectDivisor1", 4},
      {"MenuSelRoundRectDivisor2", 3},
      {"MenuSelRoundRectDivisor3", 2},
      {"MenuSelAucunLissage", 0},
      {"MenuSelContourProgressif", 2},
      {"PopSelLisser", 1},
      // Proportions (the square is told by its name).
      {"MenuSelAdapter1", 0},
      {"MenuSelAdapter4", 3},
      {"MenuSelAdapterEcran", 4},
      // Current-file actions and neighbour files.
      {"MenuShell", 0},
      {"MenuCopierImage", 1},
      {"MenuDeplacerImage", 2},
      {"MenuRenommerImage", 3},
      {"MenuSupprimerImage", 4},
      {"MenuNaviguerPremier", 0},
      {"MenuNaviguerDernier", 3},
      // Layer thumbnails: hidden, sizes, names only.
      {"MenuAffichageMiniature1", 0},
      {"MenuAffichageMiniature2", 80},
      {"MenuAffichageMiniature3", 120},
      {"MenuAffichageMiniature4", -1},
      // Path modes.
      {"PopPathAjouter", 1},
      {"PopPathDeplacer", 5},
  };
  for (const auto& [Name, Tag] : Cases) EXPECT_EQ(Entry(Name).Tag, Tag) << Name;
  // The four triangles carry four distinct triangle ordinals.
  QSet<int> Triangles;
  for (const char* Name : {"MenuSelTriangle1", "MenuSelTriangle2", "MenuSelTriangle3", "MenuSelTriangle4"})
    Triangles.insert(Entry(Name).Tag);
  EXPECT_EQ(Triangles, QSet<int>({5, 6, 7, 8}));
}

TEST(MainMenuTable, PopupItemsStandInTheirOrder) {
  EXPECT_EQ(Names(Children("PopTortion"), false),
            QStringList({"PopDistorsionValider", "PopDistorsionRatio", "PopDistorsionAnnuler"}));
  EXPECT_EQ(Names(Children("PopSel"), false),
            QStringList({"PopSelCR", "PopSelRecadrer", "PopSelCouper", "PopSelCopier", "PopSelCopierFusion",
                         "PopSelCollerIn", "PopSelEffacer", "PopSelForme", "PopSelInvert", "PopSelParams",
                         "PopSelTransform", "PopSelDupliquer", "PopSelLissage", "PopSelRatio", "PopSelMasquer"}));
  EXPECT_EQ(Names(Children("PopCalque"), false),
            QStringList({"PopCalqueVisible", "PopCalqueVerrou", "PopCalqueRenommer", "PopCalqueOptions",
                         "PopCalqueParams", "PopCalqueRedim", "PopCalqueDistort", "PopCalqueTransformParams",
                         "PopCalqueEditAlpha", "PopEditionCollageAlpha", "PopCalqueTxtToCalque", "PopCalqueFusionOmbre",
                         "PopCalqueFusionPrev", "PopCalqueOrdre", "PopCalqueDupliquer", "PopCalqueSupprimer"}));
  const auto Path = Names(Children("PopPath"), false);
  EXPECT_EQ(Path.mid(0, 5),
            QStringList({"PopPathAjouter", "PopPathSupprimer", "PopPathModif", "PopPathReset", "PopPathDeplacer"}));
  EXPECT_EQ(Path.indexOf("PopPathGridMagnet") + 1, Path.indexOf("PopPathResetAll"));
  EXPECT_EQ(Path.last(), "PopPathFermer");
}
