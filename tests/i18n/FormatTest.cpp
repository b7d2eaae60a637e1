#include "i18n/Format.h"

#include <QLocale>

#include <gtest/gtest.h>

namespace {

class FormatTest : public ::testing::Test {
protected:
  void SetUp() override { QLocale::setDefault(QLocale::c()); }
  void TearDown() override { QLocale::setDefault(QLocale::system()); }
};

TEST_F(FormatTest, PlaceholdersOfTheTranslatableStrings) {
  EXPECT_EQ(Format(u"Opacité : %d%%", {50}), QString::fromUtf16(u"Opacité : 50%"));
  EXPECT_EQ(Format(u"Niveau : %.2f", {1.005}), QStringLiteral("Niveau : 1.00")); // 1.005 is 1.00499... in binary
  EXPECT_EQ(Format(u"Niveau : %.2f", {2.5}), QStringLiteral("Niveau : 2.50"));
  EXPECT_EQ(Format(u"entre %f et %f", {1, 22.5}), QStringLiteral("entre 1.00 et 22.50"));
  EXPECT_EQ(Format(u"%d:%d => %d:%d (L=%d  H=%d  L/H=%s)", {10, 20, 309, 219, 300, 200, QStringLiteral("1.500")}),
            QStringLiteral("10:20 => 309:219 (L=300  H=200  L/H=1.500)"));
  EXPECT_EQ(Format(u"Fichier \"%s\" !", {u"a.png"}), QStringLiteral("Fichier \"a.png\" !"));
  EXPECT_EQ(Format(u"%.3d|%5d|%-5d|%x|%u", {7, -42, 3, 255, 9}), QStringLiteral("007|  -42|3    |FF|9"));
  EXPECT_EQ(Format(u"%.3s|%6s", {u"abcdef", u"ab"}), QStringLiteral("abc|    ab"));
  EXPECT_EQ(Format(u"%e", {1500.0}), QStringLiteral("1.50000000000000E+003"));
  EXPECT_EQ(Format(u"%g", {0.5}), QStringLiteral("0.5"));
}

TEST_F(FormatTest, DecimalSeparatorIsTheLocales) {
  QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
  EXPECT_EQ(Format(u"%.2f dpi", {2.54}), QStringLiteral("2,54 dpi"));
  EXPECT_EQ(Format(u"%.3f", {1.5}), QStringLiteral("1,500"));
}

TEST_F(FormatTest, MismatchedFormatsNeverReadPastTheArguments) {
  EXPECT_EQ(Format(u"%d and %s", {4}), QStringLiteral("4 and %s"));
  EXPECT_EQ(Format(u"%d", {}), QStringLiteral("%d"));
  EXPECT_EQ(Format(u"100% sure %", {}), QStringLiteral("100% sure %"));
  EXPECT_EQ(Format(u"%q %.x", {1}), QStringLiteral("%q %.x"));
  EXPECT_EQ(Format(u"%d", {u"text"}), QStringLiteral("text"));
  EXPECT_EQ(Format(u"%d", {2.9}), QStringLiteral("2"));
  EXPECT_EQ(Format(u"%s", {12}), QStringLiteral("12"));
  EXPECT_EQ(Format(u"%99999999d", {1}).size(), 1000); // absurd widths are bounded
}

TEST(FormatSpecifiersTest, ListsArgumentConsumingTypes) {
  EXPECT_EQ(FormatSpecifiers(u"%d:%d (L/H=%s) %%"), QStringLiteral("dds"));
  EXPECT_EQ(FormatSpecifiers(u"%.2F %5D %-3s"), QStringLiteral("fds"));
  EXPECT_EQ(FormatSpecifiers(u"50% off %"), QString());
}

} // namespace
