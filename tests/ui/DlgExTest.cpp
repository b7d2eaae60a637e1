#include "ui/DlgEx.h"

#include "ui/UtilsDPI.h"

#include <QDialog>
#include <QFontInfo>

#include <gtest/gtest.h>

namespace {

TEST(DlgExTest, DialogFontNameAcceptsOnlyInstalledFaces) {
  EXPECT_EQ(DialogFontName(), QStringLiteral("Segoe UI")); // the start-up face
  EXPECT_EQ(DialogFontSize(), 9);
  SetDialogFontName(QStringLiteral("No Such Face 123"));
  EXPECT_EQ(DialogFontName(), QStringLiteral("Segoe UI"));
  // The installed face the start-up face is drawn with: the later tests of
  // this program keep the same font.
  const QString Installed = QFontInfo(QFont(DialogFontName())).family();
  ASSERT_FALSE(Installed.isEmpty());
  // The part before the first comma, trimmed; the rest is ignored.
  SetDialogFontName(QStringLiteral("  ") + Installed + QStringLiteral(" , 12, bold"));
  EXPECT_EQ(DialogFontName(), Installed);
  SetDialogFontName(QString());
  EXPECT_EQ(DialogFontName(), Installed);
}

TEST(DlgExTest, ApplyDialogFontSetsFaceAndPixelHeight) {
  QFont Font(QStringLiteral("Courier"), 20);
  ApplyDialogFont(Font, 3);
  EXPECT_EQ(Font.family(), DialogFontName());
  EXPECT_EQ(Font.pixelSize(), 12); // 9 points at 96 dpi
  SetScreenPixelsPerInch(144);
  ApplyDialogFont(Font, 3);
  EXPECT_EQ(Font.pixelSize(), 18);
  ApplyDialogFont(Font, 0); // the design resolution
  EXPECT_EQ(Font.pixelSize(), 12);
  SetScreenPixelsPerInch(96);
}

class TCountedForm : public QDialog {
public:
  explicit TCountedForm(QWidget* Owner) : QDialog(Owner) { ++Made; }
  static int Made;
};
int TCountedForm::Made = 0;

TEST(DlgExTest, CreateFormIfNeededMakesTheFormOnce) {
  QPointer<TCountedForm> Form;
  TCountedForm* First = CreateFormIfNeeded(Form);
  ASSERT_NE(First, nullptr);
  EXPECT_EQ(CreateFormIfNeeded(Form), First);
  EXPECT_EQ(TCountedForm::Made, 1);
  EXPECT_TRUE(First->isWindow());

  QWidget Owner;
  QPointer<TCountedForm> Owned;
  CreateFormIfNeeded(Owned, &Owner);
  EXPECT_EQ(Owned->parentWidget(), &Owner);
  EXPECT_TRUE(Owned->isWindow());
  EXPECT_EQ(TCountedForm::Made, 2);
}

TEST(DlgExTest, MainFormWindowIsClearedWhenDestroyed) {
  {
    QWidget Main;
    SetMainFormWindow(&Main);
    EXPECT_EQ(MainFormWindow(), &Main);
  }
  EXPECT_EQ(MainFormWindow(), nullptr);
}

} // namespace
