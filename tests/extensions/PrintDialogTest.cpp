#include "extensions/ui/Impr.h"

#include "i18n/Format.h"
#include "i18n/LibLang.h"
#include "platform/Rounding.h"
#include "ui/MsgDlg.h"
#include "ui/SpinEdit.h"

#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <optional>

namespace {

// A PDF printer on A4 with 10 mm margins at 300 dpi: nothing reaches a real
// printer.
class PrintDialogTest : public ::testing::Test {
protected:
  PrintDialogTest()
      : Dir(QDir::homePath() + "/printXXXXXX"), Answers([this](const TMsgDlgRequest& R) {
          Warnings << R.Msg;
          return TMsgDlgAnswer{mrOk, {}};
        }) {
    Printer.setOutputFormat(QPrinter::PdfFormat);
    Printer.setOutputFileName(Dir.filePath("page.pdf"));
    Printer.setResolution(300);
    Printer.setPageSize(QPageSize(QPageSize::A4));
    Printer.setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
  }

  // Shows the dialog on a W x H image at Dpi, filled with Color.
  TImprForm& Show(int W, int H, double Dpi, int Unit = 0, TColor Color = 0x0000FF) {
    Bitmap = std::make_unique<TBitmap>(W, H, pf24bit, Color);
    Form.emplace(Printer, Unit);
    Form->RunPrinterSetup = [this](QPrinter&) { return ++SetupRuns, true; };
    Form->SetImage(Bitmap.get(), "/photos/beach.jpg", Dpi);
    Form->show();
    return *Form;
  }

  static void Type(TCustomSpinEdit* Edit, const QString& Text) {
    Edit->setFocus();
    Edit->selectAll();
    QTest::keyClicks(Edit, Text);
  }

  QTemporaryDir Dir;
  QPrinter Printer{QPrinter::HighResolution};
  QStringList Warnings;
  TScopedMsgDlgAnswers Answers;
  std::unique_ptr<TBitmap> Bitmap;
  std::optional<TImprForm> Form;
  int SetupRuns = 0;
};

TEST_F(PrintDialogTest, WideImageStartsLandscapeCentredAtEightyPercent) {
  TImprForm& F = Show(300, 200, 100);
  EXPECT_EQ(Printer.pageLayout().orientation(), QPageLayout::Landscape);
  EXPECT_EQ(F.windowTitle(), "Imprimer - beach.jpg");
  EXPECT_NEAR(F.Page().LPageUnit, 27.7, 0.05);
  EXPECT_NEAR(F.Page().HPageUnit, 19.0, 0.05);
  EXPECT_EQ(F.ScrollBarZoom->value(), 80);
  // 300 x 200 fills the width first: 80 % of 27.7 cm.
  EXPECT_NEAR(F.SEL->Value(), 0.8 * F.Page().LPageUnit, 0.01);
  EXPECT_NEAR(F.SEH->Value(), F.SEL->Value() / 1.5, 0.01);
  EXPECT_NEAR(F.SEX->Value(), (F.Page().LPageUnit - F.SEL->Value()) / 2, 0.01);
  EXPECT_NEAR(F.SEY->Value(), (F.Page().HPageUnit - F.SEH->Value()) / 2, 0.01);
  EXPECT_TRUE(F.CBCentrer->isChecked());
  EXPECT_FALSE(F.GBMarges->isEnabled());
  EXPECT_TRUE(F.LblProp->text().startsWith("300 x 200 pixels (100")) << F.LblProp->text().toStdString();
  EXPECT_TRUE(F.GBTaille->title().endsWith("(cm) "));
  // The preview: the page's longer side fills the square, the image centred
  // on the page at the same scale.
  const TRect Page = F.Preview().Page, Img = F.PreviewImageRect();
  EXPECT_GT(Page.Width(), Page.Height());
  EXPECT_NEAR(Img.Width(), 0.8 * Page.Width(), 1);
  EXPECT_NEAR(Img.Left - Page.Left, Page.Right - Img.Right, 1.5);
}

TEST_F(PrintDialogTest, TallImagePrintsPortraitInInches) {
  TImprForm& F = Show(200, 300, 100, 1);
  EXPECT_EQ(Printer.pageLayout().orientation(), QPageLayout::Portrait);
  EXPECT_NEAR(F.Page().LPageUnit, 190 / 25.4, 0.02);
  EXPECT_TRUE(F.GBMarges->title().endsWith("(pouces) "));
}

TEST_F(PrintDialogTest, TypedWidthKeepsProportionsAndEnterAppliesIt) {
  TImprForm& F = Show(300, 200, 100);
  const double Before = F.SEL->Value();
  Type(F.SEL, "10");
  EXPECT_NEAR(F.SEH->Value(), 6.67, 0.005);
  QTest::keyClick(F.SEL, Qt::Key_Return);
  EXPECT_NEAR(F.SEL->Value(), 10, 0.02);
  EXPECT_EQ(F.ScrollBarZoom->value(), Round(80 * 10 / Before));
  EXPECT_TRUE(F.LabelZoom->text().startsWith("Echelle : "));
  // Still centred.
  EXPECT_NEAR(F.SEX->Value(), (F.Page().LPageUnit - F.SEL->Value()) / 2, 0.01);
  EXPECT_TRUE(Warnings.isEmpty());
}

TEST_F(PrintDialogTest, PositionOffThePageIsRefusedWithTheLargestLeftMargin) {
  TImprForm& F = Show(300, 200, 100);
  F.CBCentrer->click();
  EXPECT_TRUE(F.GBMarges->isEnabled());
  Type(F.SEX, "20");
  QTest::mouseClick(F.BOkMarges, Qt::LeftButton);
  ASSERT_EQ(Warnings.size(), 1);
  EXPECT_EQ(Warnings[0].toStdString(),
            Format(Tr(TrId::GetTrDlgPrint3), {F.Page().LPageUnit - F.SEL->Value()}).toStdString());
  // A position that fits moves the image there.
  Warnings.clear();
  Type(F.SEX, "1");
  Type(F.SEY, "2");
  QTest::mouseClick(F.BOkMarges, Qt::LeftButton);
  EXPECT_TRUE(Warnings.isEmpty());
  EXPECT_EQ(F.PrintRect().Left, Round(1 / 2.54 * 300));
  EXPECT_EQ(F.PrintRect().Top, Round(2 / 2.54 * 300));
}

TEST_F(PrintDialogTest, EmptyFieldRefusesPrint) {
  TImprForm& F = Show(300, 200, 100);
  F.SEH->clear();
  QTest::mouseClick(F.BImprimer, Qt::LeftButton);
  ASSERT_EQ(Warnings.size(), 1);
  EXPECT_EQ(Warnings[0], Tr(TrId::GetTrDldGlb1));
  EXPECT_TRUE(F.isVisible());
}

TEST_F(PrintDialogTest, WholePageDisablesScaleSizeAndCentringAndSkipsChecks) {
  TImprForm& F = Show(300, 200, 100);
  F.CBAjuster->click();
  for (QWidget* W : std::initializer_list<QWidget*>{F.CBCentrer, F.ScrollBarZoom, F.LabelZoom, F.GBTaille,
                                                    F.CBTailleReelle, F.GBMarges})
    EXPECT_FALSE(W->isEnabled()) << W->objectName().toStdString();
  EXPECT_NEAR(F.SEL->Value(), F.Page().LPageUnit, 0.01);
  F.SEH->clear();
  QTest::mouseClick(F.BImprimer, Qt::LeftButton);
  EXPECT_TRUE(Warnings.isEmpty());
  EXPECT_EQ(F.result(), QDialog::Accepted);
}

TEST_F(PrintDialogTest, RealSizeFromTheResolution) {
  // 300 px at 30 dpi: 10 inches, 25.4 cm wide.
  TImprForm& F = Show(300, 200, 30);
  F.CBTailleReelle->click();
  EXPECT_TRUE(Warnings.isEmpty());
  EXPECT_NEAR(F.SEL->Value(), 25.4, 0.01);
  EXPECT_NEAR(F.SEH->Value(), 25.4 / 1.5, 0.01);
  EXPECT_TRUE(F.LblResolution->text().contains("30")) << F.LblResolution->text().toStdString();
  EXPECT_FALSE(F.GBTaille->isEnabled());
  EXPECT_FALSE(F.CBAjuster->isEnabled());
}

TEST_F(PrintDialogTest, RealSizeLargerThanThePageIsRefusedUntilTheNextShow) {
  // 3000 px at 72 dpi is 41.67 inches wide.
  TImprForm& F = Show(3000, 2000, 72);
  F.CBTailleReelle->click();
  ASSERT_EQ(Warnings.size(), 1);
  EXPECT_EQ(Warnings[0], Tr(TrId::GetTrDlgPrint5));
  EXPECT_FALSE(F.CBTailleReelle->isChecked());
  EXPECT_FALSE(F.CBTailleReelle->isEnabled());
  F.CBAjuster->click();
  F.CBAjuster->click();
  EXPECT_FALSE(F.CBTailleReelle->isEnabled());
  F.hide();
  F.show();
  EXPECT_TRUE(F.CBTailleReelle->isEnabled());
}

TEST_F(PrintDialogTest, PrinterSetupLaysThePageOutAgain) {
  TImprForm& F = Show(300, 200, 100);
  F.CBAjuster->click();
  Printer.setPageSize(QPageSize(QPageSize::A5));
  QTest::mouseClick(F.BConfigurer, Qt::LeftButton);
  EXPECT_EQ(SetupRuns, 1);
  EXPECT_NEAR(F.Page().LPageUnit, 19.0, 0.05);
  EXPECT_FALSE(F.CBAjuster->isChecked());
  EXPECT_EQ(F.ScrollBarZoom->value(), 80);
}

// The rendered page as an image at 30 dpi (pdftoppm), or nothing without
// poppler's tools.
std::optional<QImage> RenderPage(const QString& Pdf, int Page) {
  const QString Tool = QStandardPaths::findExecutable("pdftoppm");
  if (Tool.isEmpty()) return std::nullopt;
  QProcess P;
  P.start(Tool, {"-r", "30", "-f", QString::number(Page), "-l", QString::number(Page), "-png", Pdf,
                 Pdf + QString::number(Page)});
  if (!P.waitForFinished(60000)) return std::nullopt;
  QDir D(QFileInfo(Pdf).path());
  const QStringList Pngs = D.entryList({QFileInfo(Pdf).fileName() + QString::number(Page) + "*.png"});
  if (Pngs.isEmpty()) return std::nullopt;
  return QImage(D.filePath(Pngs.first()));
}

int PageCount(const QString& Pdf) {
  const QString Tool = QStandardPaths::findExecutable("pdfinfo");
  if (!Tool.isEmpty()) {
    QProcess P;
    P.start(Tool, {Pdf});
    P.waitForFinished(60000);
    for (const QString& Line : QString::fromUtf8(P.readAllStandardOutput()).split('\n'))
      if (Line.startsWith("Pages:")) return Line.mid(6).trimmed().toInt();
    return -1;
  }
  QFile F(Pdf);
  F.open(QIODevice::ReadOnly);
  const QByteArray Bytes = F.readAll();
  return Bytes.startsWith("%PDF") ? int(Bytes.count("/Type /Page\n")) : -1;
}

// The bounding box of pixels close to pure red.
QRect RedBox(const QImage& Image) {
  QRect Box;
  for (int Y = 0; Y < Image.height(); ++Y)
    for (int X = 0; X < Image.width(); ++X) {
      const QColor C = Image.pixelColor(X, Y);
      if (C.red() > 200 && C.green() < 60 && C.blue() < 60) Box |= QRect(X, Y, 1, 1);
    }
  return Box;
}

TEST_F(PrintDialogTest, PrintsOnePagePerCopyWithTheImageWhereTheLayoutSays) {
  TImprForm& F = Show(300, 200, 100);
  F.CBCentrer->click();
  Type(F.SEX, "2");
  Type(F.SEY, "3");
  Type(F.SECopies, "2");
  F.CBTraits->click();
  QTest::mouseClick(F.BImprimer, Qt::LeftButton);
  ASSERT_EQ(F.result(), QDialog::Accepted);
  EXPECT_EQ(Printer.docName(), "beach.jpg");
  const TRect R = F.PrintRect();
  ASSERT_TRUE(F.EnvoyerData());
  F.TerminerImpression(false);
  const QString Pdf = Printer.outputFileName();
  EXPECT_EQ(PageCount(Pdf), 2);
  const std::optional<QImage> Page = RenderPage(Pdf, 2);
  if (!Page) GTEST_SKIP() << "poppler-utils not installed";
  // Device pixels at 300 dpi, the printable area 10 mm from the paper's edge.
  const double Scale = 30.0 / 300, Margin = 10 / 25.4 * 300;
  const QRect Red = RedBox(*Page);
  EXPECT_NEAR(Red.left(), (Margin + R.Left) * Scale, 1.5);
  EXPECT_NEAR(Red.top(), (Margin + R.Top) * Scale, 1.5);
  EXPECT_NEAR(Red.right() + 1, (Margin + R.Right) * Scale, 1.5);
  EXPECT_NEAR(Red.bottom() + 1, (Margin + R.Bottom) * Scale, 1.5);
  // A crop mark: dark pixels left of the top-left corner, on the top edge.
  const int MarkY = Round((Margin + R.Top) * Scale);
  const int MarkX = Round((Margin + R.Left - 100) * Scale);
  EXPECT_LT(qGray(Page->pixel(MarkX, MarkY)) + qGray(Page->pixel(MarkX, MarkY - 1)), 400);
}

TEST_F(PrintDialogTest, OutlineOnlyLeavesTheImageOut) {
  TImprForm& F = Show(300, 200, 100);
  F.CBContours->click();
  QTest::mouseClick(F.BImprimer, Qt::LeftButton);
  ASSERT_TRUE(F.EnvoyerData());
  F.TerminerImpression(false);
  EXPECT_EQ(PageCount(Printer.outputFileName()), 1);
  const std::optional<QImage> Page = RenderPage(Printer.outputFileName(), 1);
  if (!Page) GTEST_SKIP() << "poppler-utils not installed";
  EXPECT_TRUE(RedBox(*Page).isEmpty());
  const double Scale = 30.0 / 300, Margin = 10 / 25.4 * 300;
  const TRect R = F.PrintRect();
  const int MidY = Round((Margin + (R.Top + R.Bottom) / 2) * Scale);
  const int LeftX = Round((Margin + R.Left) * Scale);
  EXPECT_LT(std::min({qGray(Page->pixel(LeftX - 1, MidY)), qGray(Page->pixel(LeftX, MidY))}), 160)
      << "the outline's left edge";
  EXPECT_GT(qGray(Page->pixel(LeftX + 20, MidY)), 240) << "nothing inside";
}

TEST_F(PrintDialogTest, AbortBetweenPagesStopsTheJobAndLeavesNoFile) {
  TImprForm& F = Show(300, 200, 100);
  Type(F.SECopies, "4");
  QTest::mouseClick(F.BImprimer, Qt::LeftButton);
  // Asked before each page; the answer "stop" comes before the second.
  int Asked = 0;
  ASSERT_TRUE(F.EnvoyerData([&Asked] { return ++Asked < 2; }));
  EXPECT_EQ(Asked, 2);
  EXPECT_FALSE(F.Printing());
  F.TerminerImpression(false);
  EXPECT_FALSE(QFile::exists(Printer.outputFileName()));
  // An abort from the wait box while no page is being drawn drops the
  // document at once; the next print starts afresh.
  ASSERT_TRUE(F.EnvoyerData());
  EXPECT_TRUE(F.Printing());
  F.AbortJob();
  EXPECT_FALSE(F.Printing());
  EXPECT_FALSE(QFile::exists(Printer.outputFileName()));
  ASSERT_TRUE(F.EnvoyerData());
  F.EndJob();
  EXPECT_EQ(PageCount(Printer.outputFileName()), 4);
}

} // namespace
