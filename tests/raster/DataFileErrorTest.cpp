#include "raster/DataFileError.h"

#include <gtest/gtest.h>

#include <vector>

TEST(DataFileError, InvalidDataGoesToTheInstalledHandler) {
  std::vector<QString> Shown;
  const TFileErrorHandler Previous =
      SetFileErrorHandler([&Shown](const QString& Message) { Shown.push_back(Message); });
  ShowInvalidDataFileError();
  ReportFileError(QStringLiteral("Erreur de lecture"));
  ASSERT_EQ(Shown.size(), 2u);
  EXPECT_EQ(Shown[0], QString::fromUtf16(u"Fichier de données invalide !"));
  EXPECT_EQ(Shown[1], QStringLiteral("Erreur de lecture"));
  // Without a handler reports are dropped, and the old handler comes back.
  const TFileErrorHandler Mine = SetFileErrorHandler({});
  EXPECT_TRUE(Mine);
  ShowInvalidDataFileError();
  EXPECT_EQ(Shown.size(), 2u);
  EXPECT_FALSE(SetFileErrorHandler(Previous));
}

TEST(DataFileError, AHandlerMayReplaceItselfWhileReporting) {
  int Calls = 0;
  SetFileErrorHandler([&Calls](const QString&) {
    ++Calls;
    SetFileErrorHandler({});
  });
  ShowInvalidDataFileError();
  ShowInvalidDataFileError();
  EXPECT_EQ(Calls, 1);
}
