// The print wait box: its Cancel aborts a job that is printing, and only a
// job not cancelled gets its document ended, once.
#include "files/ui/Annuler.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

struct TFakeJob final : TPrintJob {
  bool Open = true;
  int Aborts = 0, Ends = 0;
  bool Printing() const override { return Open; }
  void AbortJob() override { ++Aborts, Open = false; }
  void EndJob() override { ++Ends, Open = false; }
};

TEST(AnnulerFormTest, CancelAbortsAPrintingJobAndOnlyAnUncancelledOneIsEnded) {
  struct TCase {
    bool Printing, Cancel;
    int Aborts, Ends;
    bool Result;
  };
  // Cancelled before the document began: nothing to abort, nothing ended.
  for (const TCase& C : {TCase{true, false, 0, 1, true}, TCase{true, true, 1, 0, false},
                         TCase{false, true, 0, 0, false}}) {
    SCOPED_TRACE(testing::Message() << "printing " << C.Printing << ", cancel " << C.Cancel);
    TAnnulerForm Box;
    TFakeJob Job;
    Job.Open = C.Printing;
    Box.Init(Job);
    EXPECT_TRUE(Box.isVisible());
    EXPECT_EQ(Box.Flag(), 0);
    EXPECT_EQ(Box.LabelTitre->text(), "Patientez, préparation de l'impression...");
    if (C.Cancel) QTest::mouseClick(Box.BAnnuler, Qt::LeftButton);
    EXPECT_EQ(Box.VerifierImpression(), C.Result);
    EXPECT_EQ(Job.Aborts, C.Aborts);
    EXPECT_EQ(Job.Ends, C.Ends);
    EXPECT_FALSE(Box.isVisible());
  }
}

TEST(AnnulerFormTest, EscapeIsCancel) {
  TAnnulerForm Box;
  TFakeJob Job;
  Box.Init(Job);
  QTest::keyClick(&Box, Qt::Key_Escape);
  EXPECT_EQ(Box.Flag(), -1);
  EXPECT_EQ(Job.Aborts, 1);
  EXPECT_FALSE(Box.VerifierImpression());
  EXPECT_EQ(Job.Ends, 0);
}

} // namespace
