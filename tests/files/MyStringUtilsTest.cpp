#include "files/MyStringUtils.h"

#include <QStringList>

#include <gtest/gtest.h>

namespace {

QStringList AllFields(const QString& Text, QChar Separator) {
  QStringList Fields;
  TFieldScan Scan;
  Scan.Separator = Separator;
  for (bool Found = FirstField(Text, Scan); Found; Found = NextField(Text, Scan)) {
    EXPECT_EQ(Scan.Index, Fields.size());
    Fields.append(FieldText(Text, Scan));
  }
  return Fields;
}

} // namespace

TEST(MyStringUtils, FieldsOfATextFollowTheScanRules) {
  struct Case {
    const char* Text;
    QStringList Fields;
  };
  for (const Case& C : {
           Case{"", {}},
           Case{"a", {"a"}},
           Case{"a|b|c", {"a", "b", "c"}},
           Case{"a||b", {"a", "", "b"}},
           Case{"a|", {"a"}}, // no empty last field
           Case{"|a", {"", "a"}},
           Case{"a\"x|y\"|z", {"a\"x|y\"", "z"}}, // quotes hide the bar and stay in the field
           Case{"a\"x|y|z", {"a\"x|y|z"}},        // an open quote takes the rest
           Case{"\"\"|\"|\"", {"\"\"", "\"|\""}},
       }) {
    EXPECT_EQ(AllFields(QString::fromUtf8(C.Text), QLatin1Char('|')), C.Fields) << C.Text;
  }
}

TEST(MyStringUtils, GetDelimitedField) {
  const QString Text = QStringLiteral("a|b|c");
  EXPECT_EQ(GetDelimitedField(0, Text, QLatin1Char('|')), "a");
  EXPECT_EQ(GetDelimitedField(1, Text, QLatin1Char('|')), "b");
  EXPECT_EQ(GetDelimitedField(3, Text, QLatin1Char('|')), "");
  EXPECT_EQ(GetDelimitedField(-1, Text, QLatin1Char('|')), "");
  const QString Quoted = QStringLiteral("a\"x|y\"|z");
  EXPECT_EQ(GetDelimitedField(1, Quoted, QLatin1Char('|')), "z");
  EXPECT_EQ(GetDelimitedField(0, Quoted, QLatin1Char('|')), "a\"x|y\"");
  EXPECT_EQ(GetDelimitedField(1, QStringLiteral("*.jpg;*.jpeg"), QLatin1Char(';')), "*.jpeg");
}

TEST(MyStringUtils, IndexOfDelimitedFieldComparesWholeFieldsWithCase) {
  const QString Masks = QStringLiteral("*.jpg;*.jpeg;*.jpe");
  EXPECT_EQ(IndexOfDelimitedField("*.jpg", Masks, QLatin1Char(';')), 0);
  EXPECT_EQ(IndexOfDelimitedField("*.jpe", Masks, QLatin1Char(';')), 2);
  EXPECT_EQ(IndexOfDelimitedField("*.jp", Masks, QLatin1Char(';')), -1);
  EXPECT_EQ(IndexOfDelimitedField("*.JPG", Masks, QLatin1Char(';')), -1);
  EXPECT_EQ(IndexOfDelimitedField("", Masks, QLatin1Char(';')), -1);
  EXPECT_EQ(IndexOfDelimitedField("a", "", QLatin1Char(';')), -1);
  EXPECT_EQ(IndexOfDelimitedField("b", "a;;b", QLatin1Char(';')), 2);
}

TEST(MyStringUtils, SubStrAtAndNextDelimiter) {
  EXPECT_TRUE(SubStrAt("bc", "abcd", 2));
  EXPECT_TRUE(SubStrAt("cd", "abcd", 3));
  EXPECT_FALSE(SubStrAt("cde", "abcd", 3)); // too short
  EXPECT_FALSE(SubStrAt("ab", "abcd", 0));
  EXPECT_FALSE(SubStrAt("", "abcd", 1));
  EXPECT_FALSE(SubStrAt("a", "", 1));
  EXPECT_EQ(NextDelimiter("a|b", QLatin1Char('|'), 1), 2);
  EXPECT_EQ(NextDelimiter("a|b", QLatin1Char('|'), 3), 4); // none: length + 1
  EXPECT_EQ(NextDelimiter("a|b", QLatin1Char('|'), 4), 0); // past the end
  EXPECT_EQ(NextDelimiter("\"|\"|", QLatin1Char('|'), 1), 4);
}
