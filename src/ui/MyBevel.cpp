#include "ui/MyBevel.h"

#include "ui/ControlColor.h"
#include "ui/DrawUtils.h"

#include "raster/Shadow.h"

#include <QPainter>

namespace {

// A soft shadow of Border pixels at strength 80 under the box R less Border at
// the right and bottom, painted over Color. Only the band is drawn: the box
// and the two corner squares beside the band keep what lies under the bevel.
void DrawShadowBox(QPainter& Canvas, const TRect& R, int Border, TColor Color) {
  const int W = R.Width(), H = R.Height();
  if (Border < 1 || W <= Border || H <= Border) return;
  TBitmap Work(W, H, pf24bit, ColorToRGB(Color));
  DrawShadow(Work.Canvas(), Rect(0, 0, W - Border, H - Border), Border, 80, Color, true, false);
  const QImage Band = Work.QImageView();
  Canvas.drawImage(QPoint(R.Left + Border, R.Top + H - Border), Band, QRect(Border, H - Border, W - Border, Border));
  Canvas.drawImage(QPoint(R.Left + W - Border, R.Top + Border), Band,
                   QRect(W - Border, Border, Border, H - 2 * Border));
}

} // namespace

void DrawBevel(QPainter& Canvas, const TRect& R, TMyBevelStyle Style, TColor DrawColor, TColor Color,
               uint32_t BorderWidth, bool Horizontal) {
  const int W = R.Width(), H = R.Height();
  const int Border = static_cast<int>(std::min<uint32_t>(BorderWidth, 1u << 20));
  switch (Style) {
  case TMyBevelStyle::bsFill:
    FillRectColor(Canvas, Color, R);
    break;
  case TMyBevelStyle::bsLine:
    FillRectColor(Canvas, DrawColor, Horizontal ? Bounds(R.Left, R.Top, W, 1) : Bounds(R.Left, R.Top, 1, H));
    break;
  case TMyBevelStyle::bsSeparator:
    if (Horizontal) {
      FillRectColor(Canvas, clBtnShadow, IntersectRect(Bounds(R.Left, R.Top, W, 1), R));
      FillRectColor(Canvas, clBtnHighlight, IntersectRect(Bounds(R.Left, R.Top + 1, W, 1), R));
    } else {
      FillRectColor(Canvas, clBtnShadow, IntersectRect(Bounds(R.Left, R.Top, 1, H), R));
      FillRectColor(Canvas, clBtnHighlight, IntersectRect(Bounds(R.Left + 1, R.Top, 1, H), R));
    }
    break;
  case TMyBevelStyle::bsBox:
    Canvas.setBrush(ToQColor(DrawColor));
    FillFrameRect(Canvas, R, 1);
    break;
  case TMyBevelStyle::bsFrame:
    DrawEtchedEdge(Canvas, R);
    break;
  case TMyBevelStyle::bsGradient:
    DrawGradient(Canvas, R, DrawColor, Color, Horizontal);
    break;
  case TMyBevelStyle::bsGradientV:
    DrawGradient(Canvas, R, DrawColor, Color, false);
    break;
  case TMyBevelStyle::bsGradientH:
    DrawGradient(Canvas, R, DrawColor, Color, true);
    break;
  case TMyBevelStyle::bsDoubleGradient: {
    // A bar that fades out at both ends; the solid middle overlaps the first band by one line.
    const int N = Horizontal ? W : H;
    const int T = N / 3;
    auto Band = [&](int From, int To) {
      return Horizontal ? Rect(R.Left + From, R.Top, R.Left + To, R.Bottom)
                        : Rect(R.Left, R.Top + From, R.Right, R.Top + To);
    };
    DrawGradient(Canvas, Band(0, T + 1), Color, DrawColor, Horizontal);
    FillRectColor(Canvas, DrawColor, Band(T, N - T));
    DrawGradient(Canvas, Band(N - T, N), DrawColor, Color, Horizontal);
    break;
  }
  case TMyBevelStyle::bsLowered:
    Frame3D(Canvas, R, clBtnShadow, clBtnHighlight, Border);
    break;
  case TMyBevelStyle::bsRaised:
    Frame3D(Canvas, R, clBtnHighlight, clBtnShadow, Border);
    break;
  case TMyBevelStyle::bsShadowBox:
    DrawShadowBox(Canvas, R, Border, Color);
    break;
  }
}

TMyBevel::TMyBevel(QWidget* Parent) : QWidget(Parent) { resize(50, 3); }

void TMyBevel::SetStyle(TMyBevelStyle Value) {
  if (Value == FStyle) return;
  FStyle = Value;
  update();
}

void TMyBevel::SetBorderWidth(uint32_t Value) {
  if (Value == FBorderWidth) return;
  FBorderWidth = Value;
  update();
}

void TMyBevel::SetDrawColor(TColor Value) {
  if (Value == FDrawColor) return;
  FDrawColor = Value;
  update();
}

TColor TMyBevel::Color() const { return ControlColor(this); }

void TMyBevel::SetColor(TColor Value) { SetControlColor(this, Value); }

bool TMyBevel::ParentColor() const { return ControlParentColor(this); }

void TMyBevel::SetParentColor(bool Value) { SetControlParentColor(this, Value); }

void TMyBevel::paintEvent(QPaintEvent*) {
  QPainter Canvas(this);
  DrawBevel(Canvas, Rect(0, 0, width(), height()), FStyle, FDrawColor, Color(), FBorderWidth, height() < width());
}
