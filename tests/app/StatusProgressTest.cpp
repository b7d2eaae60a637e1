#include "app/StatusProgress.h"

#include "app/Commun.h"
#include "raster/FoncUtils.h"

#include <gtest/gtest.h>

TEST(StatusProgress, CaptionForms) {
  struct TCase {
    const char* In;
    const char* Titre;
    const char* Dialog;
  };
  const TCase Cases[] = {
      {"&Flou", "Flou", "Flou..."},
      {"Enregistrer &sous...", "Enregistrer sous", "Enregistrer sous..."},
      {"  luminosité :", "luminosité", "Luminosité..."},
      {"taille:", "taille", "Taille..."},
      {"", "", ""},
      {"&...", "", ""},
  };
  for (const TCase& C : Cases) {
    EXPECT_EQ(CleanMenuCaption(QString::fromUtf8(C.In)), QString::fromUtf8(C.Titre)) << C.In;
    EXPECT_EQ(FormatCaption(QString::fromUtf8(C.In), 1), QString::fromUtf8(C.Dialog)) << C.In;
  }
  EXPECT_EQ(FormatCaption(QString::fromUtf8("éclaircir"), 1), QString::fromUtf8("éclaircir..."));
}

TEST(StatusProgress, PanelTextKeepsReadyAndPercentTexts) {
  EXPECT_EQ(StatusPanelText(QString::fromUtf8("Prêt")), QString::fromUtf8("Prêt"));
  EXPECT_EQ(StatusPanelText("Flou : 40%"), "Flou : 40%");
  EXPECT_EQ(StatusPanelText("&flou"), "Flou...");
}

TEST(StatusProgress, FormatNamesTheRunningActionOrTheProcessing) {
  EXPECT_EQ(ProgressFormat("Flou...").arg(40), "Flou : 40%");
  EXPECT_EQ(ProgressFormat("Niveaux : 12%").arg(5), "Niveaux : 5%");
  EXPECT_EQ(ProgressFormat(QString::fromUtf8("Prêt")).arg(7), "Traitement en cours : 7%");
  EXPECT_EQ(ProgressFillWidth(40, 250), 100);
  EXPECT_EQ(ProgressFillWidth(33, 10), 3);
}
