// TSimplePanel: a flat container with a one-colour border on any chosen
// edges. Depends on the drawing helpers, QtWidgets.
#pragma once

#include "platform/Colors.h"
#include "platform/Types.h"

#include <QWidget>

#include <cstdint>

enum TBevelEdge : uint8_t { beLeft = 1, beTop = 2, beRight = 4, beBottom = 8 };
using TBevelEdges = uint8_t; // a set of TBevelEdge flags
constexpr TBevelEdges beAllEdges = beLeft | beTop | beRight | beBottom;

class TSimplePanel : public QWidget {
  Q_OBJECT
public:
  explicit TSimplePanel(QWidget* Parent = nullptr);

  int BevelWidth() const { return FBevelWidth; }
  void SetBevelWidth(int Value); // a negative width becomes 0
  // clNone draws no border (the space stays reserved).
  TColor BevelColor() const { return FBevelColor; }
  void SetBevelColor(TColor Value);
  TBevelEdges BevelEdges() const { return FBevelEdges; }
  void SetBevelEdges(TBevelEdges Value);
  TColor Color() const;
  void SetColor(TColor Value);
  bool ParentColor() const;
  void SetParentColor(bool Value);

  // The area for child controls: the panel less BevelWidth on each bevelled
  // edge (also the widget's contents margins, which layouts follow).
  TRect ClientRect() const;

protected:
  void paintEvent(QPaintEvent* Event) override;

private:
  void UpdateMargins();

  int FBevelWidth = 1;
  TColor FBevelColor = clBtnShadow;
  TBevelEdges FBevelEdges = beAllEdges;
};
