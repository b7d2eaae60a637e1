// TMyBevel: a light control that draws one of twelve separator, frame,
// gradient or shadow styles, and its painter DrawBevel. Depends on the drawing
// helpers and the shadow painter of raster, QtWidgets.
#pragma once

#include "platform/Colors.h"
#include "platform/Types.h"

#include <QWidget>

#include <cstdint>

class QPainter;

enum class TMyBevelStyle : uint8_t {
  bsFill,
  bsLine,
  bsSeparator,
  bsBox,
  bsFrame,
  bsGradient,
  bsGradientV,
  bsGradientH,
  bsDoubleGradient,
  bsLowered,
  bsRaised,
  bsShadowBox,
};

// Paints Style over Rect. Horizontal (width > height for a bevel) chooses the
// direction of lines and of the plain gradient.
void DrawBevel(QPainter& Canvas, const TRect& Rect, TMyBevelStyle Style, TColor DrawColor, TColor Color,
               uint32_t BorderWidth, bool Horizontal);

class TMyBevel : public QWidget {
  Q_OBJECT
public:
  explicit TMyBevel(QWidget* Parent = nullptr);

  TMyBevelStyle Style() const { return FStyle; }
  void SetStyle(TMyBevelStyle Value);
  uint32_t BorderWidth() const { return FBorderWidth; }
  void SetBorderWidth(uint32_t Value);
  TColor DrawColor() const { return FDrawColor; }
  void SetDrawColor(TColor Value);
  TColor Color() const;
  void SetColor(TColor Value);
  bool ParentColor() const;
  void SetParentColor(bool Value);

protected:
  void paintEvent(QPaintEvent* Event) override;

private:
  TMyBevelStyle FStyle = TMyBevelStyle::bsSeparator;
  uint32_t FBorderWidth = 1;
  TColor FDrawColor = clBtnShadow;
};
