#include "i18n/LoadDLLTranslation.h"

#include "i18n/LibLang.h"
#include "i18n/TraductionMnu.h"

#include <QFile>
#include <QLocale>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class LoadDLLTranslationTest : public ::testing::Test {
protected:
  void TearDown() override { ResetTranslations(); }
  // A copy of a built module in the program folder under Name.
  void Place(const char* Module, const QString& Name) {
    ASSERT_TRUE(QFile::copy(QString::fromUtf8(Module), Dir.filePath(Name))) << Name.toStdString();
  }
  // The start-up sequence: find, flag, derive.
  bool Start(QStringList* Shown = nullptr) {
    const bool Loaded = FindTranslationDLL(Dir.path(), [Shown](const QString& Name) {
      if (Shown) *Shown << Name;
    });
    SetTranslationLoaded(Loaded);
    DeriveTranslatedStrings();
    return Loaded;
  }
  QTemporaryDir Dir;
};

TEST_F(LoadDLLTranslationTest, AModuleFillsTheStringsItHasAndTheDerivedOnes) {
  Place(LANG_MODULE_1, QStringLiteral("English.plg"));
  ASSERT_TRUE(Start());
  EXPECT_EQ(Tr(TrId::GetDlgOk), "OK");
  EXPECT_EQ(Tr(TrId::GetDlgCancel), "Cancel") << "a text of the module's own memory";
  EXPECT_EQ(Tr(TrId::GetDlgWarning), "") << "a null answer empties the string";
  EXPECT_EQ(Tr(TrId::GetDlgError), QString(1000, u'E')) << "an unended buffer is read no further than its length";
  EXPECT_EQ(Tr(TrId::GetOeMsgErrorOpening), TrDefault(TrId::GetOeMsgErrorOpening))
      << "a format that lost its argument is refused";
  EXPECT_EQ(Tr(TrId::GetDlgYes), "&Oui") << "a missing export keeps the French text";
  EXPECT_EQ(TrPrintUnit(), 1);

  EXPECT_EQ(Tr(TrId::SelectionFormatName), "Lumaretique Selection");
  EXPECT_EQ(Tr(TrId::LayeredImageFormatName), "Lumaretique Image") << "the module has no word for it";
  EXPECT_EQ(Tr(TrId::PathFormatName), "Lumaretique Path");
  const QLocale Locale;
  EXPECT_EQ(Tr(TrId::GetTrFmtFileDate),
            Locale.dateFormat(QLocale::ShortFormat) + ' ' + Locale.timeFormat(QLocale::ShortFormat));
  EXPECT_EQ(Tr(TrId::HueLabel), "Hue");
  EXPECT_EQ(Tr(TrId::SaturationLabel), "") << "no colon";
  EXPECT_EQ(Tr(TrId::GainFormat), "Amount: %d%%");
  EXPECT_EQ(Tr(TrId::NoiseFormat), " : %d");
  EXPECT_EQ(Tr(TrId::WebPaletteCaption), "Web 216 colours, Windows 256") << "only the first of each";
  EXPECT_EQ(Tr(TrId::DateWord), "When");
  EXPECT_EQ(Tr(TrId::ThicknessLabel), "Largeur :");
  EXPECT_EQ(Tr(TrId::PathTransformCaption), "Path (Transform)");
}

TEST_F(LoadDLLTranslationTest, AModuleAnsweringOnlyTheVersionIsAccepted) {
  Place(LANG_MODULE_2, QStringLiteral("Bare.plg"));
  ASSERT_TRUE(Start());
  EXPECT_TRUE(TranslationLoaded());
  EXPECT_EQ(Tr(TrId::GetDlgOk), TrDefault(TrId::GetDlgOk));
  EXPECT_EQ(Tr(TrId::GetTrBtnOk), "") << "no French default, nothing from the module";
  EXPECT_EQ(Tr(TrId::PathFormatName), "Lumaretique ");
  EXPECT_EQ(Tr(TrId::SelectionFormatName), TrDefault(TrId::SelectionFormatName));
  EXPECT_EQ(Tr(TrId::HueLabel), "Teinte");
  EXPECT_EQ(TrPrintUnit(), 0);
}

TEST_F(LoadDLLTranslationTest, TheFirstAcceptableModuleInNameOrderWins) {
  // "a.plg" answers "2.0 " and is passed over; "B.PLG" sorts before "c.plg"
  // without regard to case; "0.plg" is no library at all.
  QFile NotALibrary(Dir.filePath(QStringLiteral("0.plg")));
  ASSERT_TRUE(NotALibrary.open(QIODevice::WriteOnly));
  NotALibrary.write("not a library");
  NotALibrary.close();
  Place(LANG_MODULE_3, QStringLiteral("a.plg"));
  Place(LANG_MODULE_2, QStringLiteral("B.PLG"));
  Place(LANG_MODULE_1, QStringLiteral("c.plg"));
  Place(LANG_MODULE_1, QStringLiteral("d.plg.txt"));
  QStringList Shown;
  ASSERT_TRUE(Start(&Shown));
  EXPECT_EQ(Shown, QStringList({"0.plg", "a.plg", "B.PLG"}));
  EXPECT_EQ(Tr(TrId::GetDlgOk), TrDefault(TrId::GetDlgOk)) << "neither the refused nor the later module wrote";
}

TEST_F(LoadDLLTranslationTest, WithoutAModuleNothingChanges) {
  Place(LANG_MODULE_3, QStringLiteral("Almost.plg"));
  EXPECT_FALSE(Start());
  EXPECT_FALSE(TranslationLoaded());
  EXPECT_EQ(Tr(TrId::GetDlgOk), TrDefault(TrId::GetDlgOk));
  EXPECT_EQ(Tr(TrId::GetTrFmtFileDate), "");
  EXPECT_EQ(Tr(TrId::HueLabel), "Teinte");
  EXPECT_FALSE(FindTranslationDLL(Dir.filePath(QStringLiteral("missing"))));
}

} // namespace
