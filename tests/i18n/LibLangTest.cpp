#include "i18n/LibLang.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

class LibLangTest : public ::testing::Test {
protected:
  void TearDown() override { ResetTranslations(); }
};

struct TDefaultCase {
  TrId Id;
  const char* Key;
  const char16_t* Default; // empty: no French default
};

// A sample of every family, misspelt keys included, with the texts written out
// by hand (line breaks are one carriage return).
const TDefaultCase DefaultCases[] = {
    {TrId::GetFltIconFile, "GetFltIconFile", u"Icône"},
    {TrId::GetOeMsgErrorOpening, "GetOeMsgErrorOpening", u"Impossible d'ouvrir l'image dans le fichier \"%s\" !"},
    {TrId::GetShpMsgStreamError, "GetShpMsgStreamError", u"Fichier de données invalide !"},
    {TrId::GetDlgYes, "GetDlgYes", u"&Oui"},
    {TrId::GetDlgNo, "GetDlgNo", u"&Non"},
    {TrId::GetDlgCancel, "GetDlgCancel", u"Annuler"},
    {TrId::GetDlgWarning, "GetDlgWarning", u"Avertissement"},
    {TrId::GetDlgInput, "GetDlgInput", u"Saisie"},
    {TrId::GetMnuPgUp, "GetMnuPgUp", u"PagePréc"},
    {TrId::GetMnuShift, "GetMnuShift", u"Maj+"},
    {TrId::GetDlgKb, "GetDlgKb", u"Ko"},
    {TrId::GetTrLanguage, "GetTrLanguage", u"French/Français"},
    {TrId::GetTrCode, "GetTrCode", u"FR"},
    {TrId::GetTrBtnReset, "GetTrBtnReset", u"Réinitialiser"},
    {TrId::GetTrBtnOk, "GetTrBtnOk", u""},
    {TrId::GetTrBtnTxtSel, "GetTrBtnTxtSel", u""},
    {TrId::GetTrStaReady, "GetTrStaReady", u"Prêt"},
    {TrId::GetTrStaPreparingColor, "GetTrStaPreparingColor", u"Preparation des couleurs"},
    {TrId::GetTrStaFmtExploring, "GetTrStaFmtExploring", u"Exploration : %d image(s)"},
    {TrId::GetTrMnuSelShow, "GetTrMnuSelShow", u"Afficher la sélection"},
    {TrId::GetTrMnuCropLayer, "GetTrMnuCropLayer", u"Recadrer le calque"},
    {TrId::GetTrMnyCrystallize, "GetTrMnyCrystallize", u""},
    {TrId::GetTrMnuPhotocopoy, "GetTrMnuPhotocopoy", u""},
    {TrId::GetTrMnuFisheyeCorrection, "GetTrMnuFisheyeCorrection", u""},
    {TrId::GetTrLblBkg, "GetTrLblBkg", u"Fond"},
    {TrId::GetTrLblChannelAlls, "GetTrLblChannelAlls", u"<Toutes>"},
    {TrId::GetTrLblRGB_GBR, "GetTrLblRGB_GBR", u"RVB ==> VBR"},
    {TrId::GetTrLblbatchSuccess, "GetTrLblbatchSuccess", u"Traitement terminé avec succès !"},
    {TrId::GetTrlLblCompressLow, "GetTrlLblCompressLow", u""},
    {TrId::GetTrlLblCompressHigh, "GetTrlLblCompressHigh", u""},
    {TrId::GetTrLblStrkeOptions, "GetTrLblStrkeOptions", u""},
    {TrId::GetTrLbl8bf, "GetTrLbl8bf", u"8BF"},
    {TrId::GetTrFmtOpacity, "GetTrFmtOpacity", u"Opacité : %d%%"},
    {TrId::GetTrFmtSkewTopBootom, "GetTrFmtSkewTopBootom", u"Inclinaison haut/bas : %d%%"},
    {TrId::GetTrFmtInfoSel, "GetTrFmtInfoSel", u"%d:%d => %d:%d (L=%d  H=%d  L/H=%s)"},
    {TrId::GetTrFmtExploreProperties, "GetTrFmtExploreProperties",
     u"Nom du fichier : %s\rDossier : %s\rDimensions : %s\r\rTaille du fichier : %s\rDate : %s\r\rNombre d'images : "
     u"%d"},
    {TrId::GetTrFmtBadFormat, "GetTrFmtBadFormat",
     u"Le format du fichier ne correspond pas !\rLe format correct est <%s>"},
    {TrId::GetTrFmtFileDate, "GetTrFmtFileDate", u""},
    {TrId::GetTrDldGlb1, "GetTrDldGlb1", u"Renseignez tous les champs avant de continuer !"},
    {TrId::GetTrDldGlb2, "GetTrDldGlb2",
     u"La sélection ou l'image est trop petite par rapport\raux valeurs actuelles !"},
    {TrId::GetTrDlgPrint4, "GetTrDlgPrint4", u"La marge du haut être inférieure ou égale à %f !"},
    {TrId::GetTrDlgGlb6, "GetTrDlgGlb6",
     u"Vous devez terminer la transformation en cours avant de continuer.\r(Menu contextuel, touche Entrée ou touche "
     u"Echap)"},
    {TrId::GetTrDlgBoxParams, "GetTrDlgBoxParams", u"Voulez-vous supprimer le fichier de sauvegarde des paramètres ?"},
    {TrId::GetTrHntNozzlesTool, "GetTrHntNozzlesTool", u""},
    {TrId::GetTrPrnSpool, "GetTrPrnSpool", u""},
    {TrId::GetTrPlgBar, "GetTrPlgBar", u"Barre des modules"},
    {TrId::GetTrWallpaperFileName, "GetTrWallpaperFileName", u"Papier-peint-Lumaretique.bmp"},
    {TrId::GetOeAll, "GetOeAll", u"Toutes les images"},
    {TrId::GetDlgOtherColors, "GetDlgOtherColors", u"Autre couleur"},
    {TrId::GetTrButtonsSize, "GetTrButtonsSize", u""},
};

TEST_F(LibLangTest, KeysAndFrenchDefaultsAcrossFamilies) {
  for (const TDefaultCase& C : DefaultCases) {
    SCOPED_TRACE(C.Key);
    EXPECT_STREQ(TrKey(C.Id), C.Key);
    EXPECT_EQ(Tr(C.Id), QString::fromUtf16(C.Default));
    EXPECT_EQ(TrDefault(C.Id), QString::fromUtf16(C.Default));
    EXPECT_EQ(TrHasDefault(C.Id), C.Default[0] != 0);
    ASSERT_TRUE(TrIdOfKey(C.Key).has_value());
    EXPECT_EQ(*TrIdOfKey(C.Key), C.Id);
  }
}

TEST_F(LibLangTest, LineBreaksAreOneCarriageReturn) {
  const QString& Text = Tr(TrId::GetTrFmtExploreProperties);
  EXPECT_EQ(Text.count(QChar(13)), 7);
  EXPECT_FALSE(Text.contains(QChar(10)));
  EXPECT_FALSE(Text.contains(QStringLiteral("\\r")));
}

TEST_F(LibLangTest, KeysAreUniqueAndCountedPerFamily) {
  std::set<std::string> Keys;
  int Derived = 0, Mnu = 0, Lbl = 0, Fmt = 0, Msg = 0, Hnt = 0, Prn = 0, Btn = 0, Sta = 0;
  for (int I = 0; I < TrCount; ++I) {
    const char* Key = TrKey(static_cast<TrId>(I));
    if (!Key) {
      ++Derived;
      continue;
    }
    EXPECT_TRUE(Keys.insert(Key).second) << Key;
    const std::string K = Key;
    auto Starts = [&](const char* P) { return K.rfind(P, 0) == 0; };
    if (Starts("GetTrMnu") || K == "GetTrMnyCrystallize")
      ++Mnu;
    else if (Starts("GetTrLbl") || Starts("GetTrlLbl"))
      ++Lbl;
    else if (Starts("GetTrFmt"))
      ++Fmt;
    else if (Starts("GetTrDlg") || Starts("GetTrDld"))
      ++Msg;
    else if (Starts("GetTrHnt"))
      ++Hnt;
    else if (Starts("GetTrPrn"))
      ++Prn;
    else if (Starts("GetTrBtn"))
      ++Btn;
    else if (Starts("GetTrSta"))
      ++Sta;
  }
  EXPECT_EQ(Mnu, 369);
  EXPECT_EQ(Lbl, 296);
  EXPECT_EQ(Fmt, 42);
  EXPECT_EQ(Msg, 50);
  EXPECT_EQ(Hnt, 18);
  EXPECT_EQ(Prn, 6); // the seventh, GetTrPrnUnit, is the whole number
  EXPECT_EQ(Btn, 10);
  EXPECT_EQ(Sta, 9);
  EXPECT_EQ(Derived, 17);
  EXPECT_FALSE(TrIdOfKey(PrnUnitKey).has_value());
  EXPECT_FALSE(TrIdOfKey("GetTrMnuCrystallize").has_value());
  EXPECT_FALSE(TrIdOfKey("gettrbtnok").has_value());
}

TEST_F(LibLangTest, DerivedStringsHaveDefaultsButNoKey) {
  EXPECT_EQ(TrKey(TrId::HueLabel), nullptr);
  EXPECT_EQ(Tr(TrId::LayeredImageFormatName), QStringLiteral("Lumaretique Image"));
  EXPECT_EQ(Tr(TrId::SelectionFormatName), QString::fromUtf16(u"Lumaretique Sélection"));
  EXPECT_EQ(Tr(TrId::PathFormatName), QString::fromUtf16(u"Lumaretique Tracé vectoriel"));
  EXPECT_EQ(Tr(TrId::GainFormat), QStringLiteral("Gain : %d%%"));
  EXPECT_EQ(Tr(TrId::NoiseFormat), QStringLiteral("Bruit : %d"));
  EXPECT_EQ(Tr(TrId::ThicknessLabel), QStringLiteral("Epaisseur :"));
  EXPECT_TRUE(Tr(TrId::WebPaletteCaption).isEmpty());
  EXPECT_TRUE(Tr(TrId::DateWord).isEmpty());
  EXPECT_TRUE(Tr(TrId::PathTransformCaption).isEmpty());
}

TEST_F(LibLangTest, TranslationReplacesTextAndResetRestoresIt) {
  EXPECT_FALSE(TranslationLoaded());
  EXPECT_TRUE(SetTranslation(TrId::GetDlgWarning, QStringLiteral("Warning")));
  EXPECT_TRUE(SetTranslation(TrId::GetTrBtnOk, QStringLiteral("OK")));
  EXPECT_TRUE(SetTranslation(TrId::GetTrLblBkg, QString())); // an empty answer empties a plain text
  SetTranslationLoaded(true);
  SetTrPrintUnit(1);
  EXPECT_EQ(Tr(TrId::GetDlgWarning), QStringLiteral("Warning"));
  EXPECT_EQ(Tr(TrId::GetTrBtnOk), QStringLiteral("OK"));
  EXPECT_TRUE(Tr(TrId::GetTrLblBkg).isEmpty());
  EXPECT_EQ(TrDefault(TrId::GetDlgWarning), QStringLiteral("Avertissement"));
  ResetTranslations();
  EXPECT_EQ(Tr(TrId::GetDlgWarning), QStringLiteral("Avertissement"));
  EXPECT_TRUE(Tr(TrId::GetTrBtnOk).isEmpty());
  EXPECT_FALSE(TranslationLoaded());
  EXPECT_EQ(TrPrintUnit(), 0);
}

struct TFormatCheck {
  TrId Id;
  const char* Text;
  bool Accepted;
};

TEST_F(LibLangTest, TranslationWithOtherFormatSpecifiersIsRefused) {
  const TFormatCheck Cases[] = {
      {TrId::GetTrFmtOpacity, "Opacity: %d%%", true},
      {TrId::GetTrFmtOpacity, "Opacity: %d", true},     // the percent sign is not an argument
      {TrId::GetTrFmtOpacity, "Opacity: %5d %%", true}, // width is free
      {TrId::GetTrFmtOpacity, "Opacity: %s%%", false},  // a text where a number goes
      {TrId::GetTrFmtOpacity, "Opacity: %d %d", false}, // one argument too many
      {TrId::GetTrFmtOpacity, "Opacity", false},        // one too few
      {TrId::GetTrFmtOpacity, "", false},               // an empty format loses the value
      {TrId::GetTrFmtInfoSel, "%d:%d -> %d:%d (W=%d H=%d W/H=%s)", true},
      {TrId::GetTrFmtInfoSel, "%d:%d -> %d:%d (W=%d H=%d W/H=%d)", false},
      {TrId::GetTrDlgImage7, "Rename \"%s\"\rto \"%s\"?", true},
      {TrId::GetTrDlgImage7, "Rename \"%s\"?", false},
      {TrId::GetTrDlgPrint1, "Width between %.1f and %.1f!", true},
      {TrId::GetTrDlgPrint1, "Width between %f and %d!", false},
      {TrId::GetTrLblBkg, "Background", true},
      {TrId::GetTrLblBkg, "100% background", true}, // not a placeholder
      {TrId::GetTrLblBkg, "Background %s", false},  // a plain text must not become a format
      {TrId::GetTrMnuOriginalSize, "Original size (100%)", true},
      {TrId::GetTrBtnOk, "%s", true}, // no French default: a caption, never formatted
      {TrId::NoiseFormat, "Noise %s : %d", false},
      {TrId::NoiseFormat, "Noise : %d", true},
  };
  for (const TFormatCheck& C : Cases) {
    SCOPED_TRACE(C.Text);
    ResetTranslations();
    const QString Before = Tr(C.Id);
    EXPECT_EQ(SetTranslation(C.Id, QString::fromUtf8(C.Text)), C.Accepted);
    EXPECT_EQ(Tr(C.Id), C.Accepted ? QString::fromUtf8(C.Text) : Before);
  }
}

} // namespace
