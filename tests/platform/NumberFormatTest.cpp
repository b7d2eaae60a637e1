#include "platform/NumberFormat.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

namespace {

class NumberFormatTest : public ::testing::TestWithParam<bool> {
protected:
  // Each case runs under a C locale and a French one; expected texts are
  // written with "." and "," stands for the locale's separator.
  void SetUp() override { QLocale::setDefault(GetParam() ? QLocale(QLocale::French, QLocale::France) : QLocale::c()); }
  void TearDown() override { QLocale::setDefault(QLocale::c()); }
  QString L(QString Text) const { return GetParam() ? Text.replace(u'.', u',') : Text; }
};

TEST_P(NumberFormatTest, FormatFloatPictures) {
  struct Case {
    const char* Format;
    double Value;
    const char* Expected;
  };
  const Case Cases[] = {
      {"0.00", 0, "0.00"},
      {"0.00", 1.5, "1.50"},
      {"0.00", -1.005, "-1.00"}, // -1.00499999... in binary
      {"0.00", 0.125, "0.13"},   // an exact half goes away from zero
      {"0.00", -0.125, "-0.13"},
      {"0.00", -0.001, "0.00"}, // no sign on a zero result
      {"0.00", 1234567.891, "1234567.89"},
      {"#,##0.00", 1234567.891, "1234567.89"}, // never a group separator
      {"0", 2.5, "3"},
      {"0", 1e15, "1000000000000000"},
      {"0.0#", 1.5, "1.5"},
      {"0.0#", 1.256, "1.26"},
      {"#.##", 0.5, ".5"},
      {"000", 7, "007"},
      {"0.00 %", 12.346, "12.35 %"},
      {"'x='0", 4, "x=4"},
      {"0.00;(0.00)", -2, "(2.00)"},
      {"0.00;-0.00;'nil'", 0.001, "nil"},
      {"0.00E+00", 12345, "1.23E+04"},
      {"0.0E-0", 0.00025, "2.5E-4"},
      {"0.00E+00", 0, "0.00E+00"},
      {"0.00", 9.999, "10.00"},
  };
  for (const Case& C : Cases)
    EXPECT_EQ(FormatFloat(QString::fromUtf8(C.Format), C.Value), L(QString::fromUtf8(C.Expected))) << C.Format;
  EXPECT_EQ(FormatFloat(u"0.00", INFINITY), "INF");
  EXPECT_EQ(FormatFloat(u"0.00", NAN), "NAN");
}

TEST_P(NumberFormatTest, FloatToStrIsShortGeneralForm) {
  struct Case {
    double Value;
    const char* Expected;
  };
  const Case Cases[] = {
      {0, "0"},       {1.5, "1.5"},       {-2, "-2"},         {0.1 + 0.2, "0.3"}, {1e14, "100000000000000"},
      {1e15, "1E15"}, {2.5e20, "2.5E20"}, {0.0001, "0.0001"}, {2.5e-6, "2.5E-6"}, {123.456, "123.456"}};
  for (const Case& C : Cases) EXPECT_EQ(FloatToStr(C.Value), L(QString::fromUtf8(C.Expected))) << C.Value;
}

TEST_P(NumberFormatTest, ParsingFloats) {
  double V = -1;
  EXPECT_TRUE(TryStrToFloat(L(" 1.5 "), V));
  EXPECT_EQ(V, 1.5);
  EXPECT_TRUE(TryStrToFloat(L("-.5e+1"), V));
  EXPECT_EQ(V, -5);
  EXPECT_TRUE(TryStrToFloat(u"+12", V));
  EXPECT_EQ(V, 12);
  V = 99;
  for (const char* Bad : {"", " ", "-", "1e", "1..2", "1 2", "abc", "inf", "-INF", "nan", "1e999", "0x10", "1_0"})
    EXPECT_FALSE(TryStrToFloat(QString::fromUtf8(Bad), V)) << Bad;
  EXPECT_EQ(V, 99);
  // The other locale's separator is refused by the locale parse...
  EXPECT_FALSE(TryStrToFloat(GetParam() ? u"1.5" : u"1,5", V));
  // ...but accepted for stored values.
  EXPECT_TRUE(TryStrToFloatAnyPoint(u"1.5", V));
  EXPECT_EQ(V, 1.5);
  EXPECT_TRUE(TryStrToFloatAnyPoint(u"2,25", V));
  EXPECT_EQ(V, 2.25);
  EXPECT_FALSE(TryStrToFloatAnyPoint(u"1.000,5", V));
  EXPECT_EQ(StrToFloatDef(u"zz", 3.5), 3.5);
}

INSTANTIATE_TEST_SUITE_P(Locales, NumberFormatTest, ::testing::Values(false, true),
                         [](const auto& Info) { return Info.param ? "French" : "C"; });

TEST(NumberFormat, ParsingIntegers) {
  int V = 0;
  EXPECT_TRUE(TryStrToInt(u" -42 ", V));
  EXPECT_EQ(V, -42);
  EXPECT_TRUE(TryStrToInt(u"2147483647", V));
  EXPECT_EQ(V, INT_MAX);
  EXPECT_TRUE(TryStrToInt(u"-2147483648", V));
  EXPECT_EQ(V, INT_MIN);
  V = 5;
  for (const char* Bad : {"2147483648", "-2147483649", "99999999999999999999999", "", "+", "1.0", "$10", "12a"})
    EXPECT_FALSE(TryStrToInt(QString::fromUtf8(Bad), V)) << Bad;
  EXPECT_EQ(V, 5);
  EXPECT_EQ(StrToIntDef(u"$1F", 0, true), 31);
  EXPECT_EQ(StrToIntDef(u"0x10", 0, true), 16);
  EXPECT_EQ(StrToIntDef(u"$FFFFFFFF", 0, true), -1);
  EXPECT_EQ(StrToIntDef(u"$1FFFFFFFF", 7, true), 7);
  EXPECT_EQ(StrToIntDef(u"0x", 7, true), 7);
}

} // namespace
