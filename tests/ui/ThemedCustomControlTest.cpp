#include "ui/ThemedCustomControl.h"

#include "ui/VisualStyles.h"

#include "UiTestSupport.h"

#include <QCoreApplication>
#include <QEnterEvent>
#include <QEvent>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

// A control whose client area is green, to see where the frame ends.
class TGreenControl : public TThemedCustomControl {
public:
  using TThemedCustomControl::TThemedCustomControl;

protected:
  void Paint(QPainter& Canvas) override { Canvas.fillRect(rect(), Qt::green); }
};

class ThemedCustomControlTest : public ::testing::Test {
protected:
  void SetUp() override {
    SavedStyle = ActiveStyle().Name;
    ASSERT_TRUE(SetActiveStyle(u"Windows11 Dark"));
    Control.resize(12, 9);
  }
  void TearDown() override { SetActiveStyle(SavedStyle); }
  void Hover(bool In) {
    if (In) {
      QEnterEvent E(QPointF(3, 3), QPointF(3, 3), QPointF(3, 3));
      QCoreApplication::sendEvent(&Control, &E);
    } else {
      QEvent E(QEvent::Leave);
      QCoreApplication::sendEvent(&Control, &E);
    }
  }
  QString SavedStyle;
  TGreenControl Control;
};

TEST_F(ThemedCustomControlTest, StyledFrameFollowsTheState) {
  const TVisualStyle& S = ActiveStyle();
  const TColor Green = RGB(0, 255, 0);
  QImage I = GrabWidget(Control);
  EXPECT_EQ(Control.ClientRect(), Rect(2, 2, 10, 7));
  EXPECT_EQ(PixelAt(I, 0, 0), S.EditBorderNormal);
  EXPECT_EQ(PixelAt(I, 11, 8), S.EditBorderNormal);
  EXPECT_EQ(PixelAt(I, 1, 4), S.EditField);
  EXPECT_EQ(PixelAt(I, 2, 2), Green);
  EXPECT_EQ(PixelAt(I, 9, 6), Green);
  EXPECT_EQ(PixelAt(I, 10, 6), S.EditField);

  Hover(true);
  EXPECT_TRUE(Control.MouseInControl());
  I = GrabWidget(Control);
  EXPECT_EQ(PixelAt(I, 5, 0), S.EditBorderHot);
  Hover(false);
  EXPECT_FALSE(Control.MouseInControl());
  EXPECT_EQ(PixelAt(GrabWidget(Control), 5, 0), S.EditBorderNormal);

  Control.setEnabled(false);
  I = GrabWidget(Control);
  EXPECT_EQ(PixelAt(I, 5, 0), S.EditBorderDisabled);
  EXPECT_EQ(PixelAt(I, 1, 4), S.EditFieldDisabled);
}

TEST_F(ThemedCustomControlTest, FlatAndBorderlessFrames) {
  Control.SetCtl3D(false);
  EXPECT_EQ(Control.ClientRect(), Rect(1, 1, 11, 8));
  QImage I = GrabWidget(Control);
  EXPECT_EQ(PixelAt(I, 0, 4), ActiveStyle().EditBorderNormal);
  EXPECT_EQ(PixelAt(I, 1, 4), RGB(0, 255, 0));
  Control.SetBorderStyle(TBorderStyle::bsNone);
  EXPECT_EQ(Control.FrameWidth(), 0);
  I = GrabWidget(Control);
  EXPECT_EQ(PixelAt(I, 0, 0), RGB(0, 255, 0));
  EXPECT_EQ(Control.contentsMargins(), QMargins(0, 0, 0, 0));
}

TEST_F(ThemedCustomControlTest, StyleWithoutStyledDrawingGetsThePlatformEdge) {
  TVisualStyle Plain = ActiveStyle();
  Plain.Name = QStringLiteral("Plain test style");
  Plain.Enabled = false;
  RegisterStyle(Plain);
  ASSERT_TRUE(SetActiveStyle(u"Plain test style"));
  EXPECT_FALSE(IsStyleEnabled());
  const QImage I = GrabWidget(Control);
  EXPECT_EQ(PixelAt(I, 0, 4), ColorToRGB(clBtnShadow));
  EXPECT_EQ(PixelAt(I, 1, 4), ColorToRGB(cl3DDkShadow));
  EXPECT_EQ(PixelAt(I, 11, 4), ColorToRGB(clBtnHighlight));
  EXPECT_EQ(PixelAt(I, 10, 4), ColorToRGB(cl3DLight));
}

} // namespace
