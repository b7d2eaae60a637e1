#include "ui/ColorPopup.h"

#include "platform/Bitmap.h"
#include "platform/Rounding.h"
#include "raster/FoncUtils.h"
#include "ui/ColorPicker.h"
#include "ui/DrawUtils.h"
#include "ui/UtilsDPI.h"
#include "ui/VisualStyles.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QToolTip>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

namespace {

// Red, green, blue of the named cells, row by row.
constexpr std::array<uint32_t, 40> NamedColors = {
    0x000000, 0x993300, 0x333300, 0x003300, 0x003366, 0x000080, 0x333399, 0x333333, //
    0x800000, 0xFF6600, 0x808000, 0x008000, 0x008080, 0x0000FF, 0x666699, 0x808080, //
    0xFF0000, 0xFF9900, 0x99CC00, 0x339966, 0x33CCCC, 0x3366FF, 0x800080, 0x969696, //
    0xFF00FF, 0xFFCC00, 0xFFFF00, 0x00FF00, 0x00FFFF, 0x00CCFF, 0x993366, 0xC0C0C0, //
    0xFF99CC, 0xFFCC99, 0xFFFF99, 0xCCFFCC, 0xCCFFFF, 0x99CCFF, 0xCC99FF, 0xFFFFFF};

const char* const SystemHints[25] = {"system color: scroll bar",
                                     "system color: background",
                                     "system color: active caption",
                                     "system color: inactive caption",
                                     "system color: menu",
                                     "system color: window",
                                     "system color: window frame",
                                     "system color: menu text",
                                     "system color: window text",
                                     "system color: caption text",
                                     "system color: active border",
                                     "system color: inactive border",
                                     "system color: application workspace",
                                     "system color: highlight",
                                     "system color: highlight text",
                                     "system color: button face",
                                     "system color: button shadow",
                                     "system color: gray text",
                                     "system color: button text",
                                     "system color: inactive caption text",
                                     "system color: button highlight",
                                     "system color: 3D dark shadow",
                                     "system color: 3D light",
                                     "system color: info text",
                                     "system color: info background"};

constexpr int NamedCount = 40;
constexpr int SystemCount = 25;
const double Cos30 = std::cos(std::numbers::pi / 6);

TRect Shrunk(const TRect& R, int DX, int DY) { return Rect(R.Left + DX, R.Top + DY, R.Right - DX, R.Bottom - DY); }

void FrameColor(QPainter& Canvas, TColor Color, const TRect& R) {
  Canvas.setBrush(ToQColor(Color));
  FillFrameRect(Canvas, R, 1);
}

// A swatch: filled and outlined.
void Swatch(QPainter& Canvas, const TRect& R, TColor Fill) {
  FillRectColor(Canvas, Fill, R);
  FrameColor(Canvas, ColorPopupOutlineColor, R);
}

// A one-pixel etched line: shadow over highlight.
void EtchedLine(QPainter& Canvas, int X1, int X2, int Y) {
  FillRectColor(Canvas, clBtnShadow, Rect(X1, Y, X2, Y + 1));
  FillRectColor(Canvas, clBtnHighlight, Rect(X1, Y + 1, X2, Y + 2));
}

// A comb of size S centred at (CX, CY): a hexagon with a vertex at its top
// and at its bottom, the vertices rounded.
std::array<TPoint, 6> Hexagon(int CX, int CY, int S) {
  std::array<TPoint, 6> P;
  const int Angles[6] = {90, 30, -30, -90, -150, 150};
  for (int K = 0; K < 6; ++K) {
    const double A = Angles[K] * std::numbers::pi / 180;
    P[static_cast<size_t>(K)] = {Round(CX + std::cos(A) * S / 2.0), Round(CY - std::sin(A) * S / 2.0)};
  }
  return P;
}

TColor FloatColor(const TFloatRGB& C) { return RGB(Round(C.Red * 255), Round(C.Green * 255), Round(C.Blue * 255)); }

// The accelerator character of a caption ("&Other" gives 'o'), or none.
QChar Accelerator(const QString& Text) {
  for (qsizetype I = 0; I + 1 < Text.size(); ++I)
    if (Text[I] == u'&') {
      if (Text[I + 1] != u'&') return Text[I + 1].toLower();
      ++I;
    }
  return {};
}

} // namespace

TColor NamedCellColor(int Cell) {
  const uint32_t C = NamedColors.at(static_cast<size_t>(Cell));
  return RGB((C >> 16) & 0xFF, (C >> 8) & 0xFF, C & 0xFF);
}

int PaletteBoxSize(int PixelsPerInch) {
  static constexpr int Sizes[] = {19, 23, 27, 33, 36, 39, 45, 50};
  const int Wanted = MulDiv(19, PixelsPerInch, 96);
  int Best = Sizes[0];
  for (int S : Sizes)
    if (std::abs(S - Wanted) <= std::abs(Best - Wanted)) Best = S; // the larger one on a tie
  return Best;
}

TColorPopup::TColorPopup(TColorPicker* Picker) : QWidget(Picker, Qt::Popup | Qt::FramelessWindowHint), FPicker(Picker) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  // The click that closes the palette goes nowhere else.
  setAttribute(Qt::WA_NoMouseReplay);
  setMouseTracking(true);
  FMargin = ScaleByDPI(2);
  FBoxSize = PaletteBoxSize(ScreenPixelsPerInch());
  AdjustWindow();
  // Switching to another application closes the palette, cancelled.
  connect(qGuiApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState State) {
    if (State != Qt::ApplicationActive && isVisible()) CloseUp(false);
  });
}

// ---- Properties -------------------------------------------------------------------------

void TColorPopup::SetSelectedColor(TColor Value) {
  FCurrentColor = Value;
  SelectCellOf(Value);
}

void TColorPopup::SetSpacing(int Value) {
  Value = std::max(Value, 0);
  if (Value == FSpacing) return;
  FSpacing = Value;
  AdjustWindow();
  update();
}

void TColorPopup::SetDefaultText(const QString& Value) {
  if (Value == FDefaultText) return;
  FDefaultText = Value;
  AdjustWindow();
  if (isVisible()) ShowPopupAligned();
}

void TColorPopup::SetCustomText(const QString& Value) {
  if (Value == FCustomText) return;
  FCustomText = Value;
  if (Value.isEmpty() && FSelectedIndex == CustomCell) FSelectedIndex = NoCell;
  AdjustWindow();
  if (isVisible()) ShowPopupAligned();
}

void TColorPopup::SetShowSysColors(bool Value) {
  if (Value == FShowSysColors) return;
  FShowSysColors = Value;
  if (!Value && (FSelectedIndex >= NamedCount)) FSelectedIndex = NoCell;
  AdjustWindow();
  if (isVisible()) ShowPopupAligned();
}

void TColorPopup::SetSelectedIndex(int Value) {
  const bool WasExtended = FSelectedIndex == CustomCell;
  FSelectedIndex = Value;
  if (WasExtended != (Value == CustomCell)) resize(FWindowRect.Width(), ShownHeight());
  update();
}

void TColorPopup::SetHoverIndex(int Value) {
  if (Value == FHoverIndex) return;
  FHoverIndex = Value;
  update();
}

// ---- Layout ----------------------------------------------------------------------------------

void TColorPopup::AdjustWindow() {
  const int M = FMargin, S = FSpacing, B = FBoxSize;
  int W = 0, H = 0;
  if (HasDefault() || HasCustom()) {
    const QFontMetrics Metrics(FPicker->font());
    W = std::max(Metrics.horizontalAdvance(FDefaultText), Metrics.horizontalAdvance(FCustomText));
    H = std::max(Metrics.height(), B - 5);
    W += 2 * M;
    H += 4 * M + 2;
  }
  FColumnCount = 8;
  FRowCount = NamedCount / FColumnCount + (NamedCount % FColumnCount ? 1 : 0);
  FWindowRect = Rect(0, 0, FColumnCount * B + 2 * M + 2 * S, FRowCount * B + 4 * M);
  FRadius = Trunc(8.0 * B * 7 / 16);
  FCombSize = Round(double(FRadius) / (FLevels - 1) + 0.5);
  if (HasDefault()) {
    FWindowRect.Right = std::max(FWindowRect.Right, W);
    const int Wt = FWindowRect.Width() - 2 * M;
    FDefaultTextRect = Rect(M + S, 2 * M, M - S + Wt, 2 * M + H);
    FWindowRect.Bottom += H + 2 * M;
  } else {
    FDefaultTextRect = {};
  }
  if (FShowSysColors) {
    FSysRowCount = (SystemCount + FColumnCount - 1) / FColumnCount;
    FWindowRect.Bottom += FSysRowCount * B + 2 * M;
  }
  if (HasCustom()) {
    FWindowRect.Right = std::max(FWindowRect.Right, W);
    const int Wt = FWindowRect.Width() - 2 * M;
    const int Y = FWindowRect.Height();
    FCustomTextRect = Rect(M + S, Y, M - S + Wt, Y + H);
    const TRect Sw = Shrunk(Rect(0, 0, B, B), M + 1, M + 1);
    FCustomColorRect =
        OffsetRect(Sw, FCustomTextRect.Right - B - M + 2, FCustomTextRect.Top + (H - Sw.Bottom - M - 1) / 2);
    FWindowRect.Bottom += H + 2 * M;
  } else {
    FCustomTextRect = FCustomColorRect = {};
  }
  const int Bottom = FWindowRect.Bottom;
  FColorCombRect = Rect(M + S, Bottom, M + S + 2 * FRadius, Bottom + 2 * FRadius);
  FBWCombRect = Rect(FColorCombRect.Left, FColorCombRect.Bottom - 4, Round(17 * FCombSize * Cos30 / 2) + 6 * FCombSize,
                     FColorCombRect.Bottom + 2 * FCombSize);
  FSliderRect = Rect(FColorCombRect.Right, FColorCombRect.Top + FCombSize, FColorCombRect.Right + 20,
                     FColorCombRect.Bottom - FCombSize);
  setFont(FPicker->font());
  resize(FWindowRect.Width(), ShownHeight());
}

int TColorPopup::ShownHeight() const {
  return FSelectedIndex == CustomCell ? 2 * FMargin + FBWCombRect.Bottom : FWindowRect.Bottom;
}

void TColorPopup::ShowPopupAligned() {
  const int W = FWindowRect.Width(), H = ShownHeight();
  QWidget* Reference = FPicker->ParentOwner() && FPicker->parentWidget() ? FPicker->parentWidget() : FPicker;
  const QPoint Top = Reference->mapToGlobal(QPoint(0, 0));
  int X = Top.x(), Y = Top.y() + Reference->height();
  QScreen* Screen = Reference->screen() ? Reference->screen() : QGuiApplication::primaryScreen();
  if (Screen) {
    const QRect Area = Screen->geometry();
    if (Y + H > Area.bottom() + 1) {
      Y = Area.bottom() + 1 - H;
      if (Y < Top.y()) Y = Top.y() - H; // it would cover the reference: above it instead
    }
    if (X + W > Area.right() + 1) X = std::max(0, Area.right() + 1 - W);
  }
  setGeometry(X, Y, W, H);
  show();
  raise();
  update();
}

void TColorPopup::CloseUp(bool Accepted) {
  FPicker->SetDroppedDown(false);
  if (FPicker->DroppedDown() || !Accepted) return;
  if (FSelectedIndex >= 0)
    FPicker->SetSelectionColor(CellColor(FSelectedIndex));
  else if (FSelectedIndex == CustomCell) {
    if (FCustomIndex != 0) FPicker->SetSelectionColor(CustomColor());
  } else {
    FPicker->DoDefaultSelect();
  }
}

void TColorPopup::hideEvent(QHideEvent* Event) {
  QWidget::hideEvent(Event);
  FSelectionMode = TSelectionMode::smNone;
  // Closed from outside (a click elsewhere, another application): cancelled.
  if (FPicker->DroppedDown()) FPicker->SetDroppedDown(false);
}

// ---- Cells ------------------------------------------------------------------------------------

bool TColorPopup::CellExists(int Cell) const { return Cell >= 0 && Cell <= LastCell(); }

TColor TColorPopup::CellColor(int Cell) const {
  if (Cell >= 0 && Cell < NamedCount) return NamedCellColor(Cell);
  if (Cell >= NamedCount && Cell < NamedCount + SystemCount) return SystemColor(Cell - NamedCount);
  return clNone;
}

TRect TColorPopup::CellRect(int Cell) const {
  if (Cell == CustomCell) return FCustomTextRect;
  if (Cell == DefaultCell) return FDefaultTextRect;
  if (Cell < 0) return {};
  const int Column = Cell % FColumnCount, Row = Cell / FColumnCount;
  const int Left = Column * FBoxSize + FMargin + FSpacing;
  int Top = HasDefault() ? FDefaultTextRect.Bottom + Row * FBoxSize : Row * FBoxSize + 2 * FMargin;
  if (Cell >= NamedCount) Top += 3 * FMargin;
  return Bounds(Left, Top, FBoxSize, FBoxSize);
}

int TColorPopup::CellAt(int X, int Y) const {
  if (HasCustom() && PtInRect(FCustomTextRect, {X, Y})) return CustomCell;
  if (HasDefault() && PtInRect(FDefaultTextRect, {X, Y})) return DefaultCell;
  if (HasDefault()) Y -= FDefaultTextRect.Height();
  if (X <= FSpacing) return NoCell;
  const int XX = X - FSpacing;
  int YY = Y - (5 * FMargin) / 2;
  if (XX < 0 || YY < 0) return NoCell;
  if (FShowSysColors && YY / FBoxSize >= FRowCount) {
    YY -= 3 * FMargin;
    if (YY / FBoxSize < FRowCount) return NoCell; // the gap above the system colours
  }
  const int Column = XX / FBoxSize, Row = YY / FBoxSize;
  if (Column >= FColumnCount) return NoCell;
  const int Cell = Row * FColumnCount + Column;
  return CellExists(Cell) ? Cell : NoCell;
}

void TColorPopup::SelectCellOf(TColor Color) {
  auto Select = [this](int Cell) { SetSelectedIndex(Cell); };
  if (Color == clNone) return Select(NoCell);
  if (Color == clDefault) return Select(DefaultCell);
  const bool IsSystem = Color < 0;
  if (FShowSysColors && IsSystem && (Color & 0xFF) < SystemCount && (Color & 0x00FFFF00) == 0)
    return Select(NamedCount + (Color & 0xFF));
  const TColor Value = ColorToRGB(Color);
  for (int I = 0; I < NamedCount; ++I)
    if (SameColor24(NamedCellColor(I), Value)) return Select(I);
  if (FShowSysColors && !IsSystem)
    for (int I = 0; I < SystemCount; ++I)
      if (SameColor24(ColorToRGB(SystemColor(I)), Value)) return Select(NamedCount + I);
  FCustomIndex = 0;
  const TCombArray& Greys = BWCombs();
  for (size_t I = 0; I < Greys.size(); ++I)
    if (SameColor24(Greys[I].Color, Value)) {
      FCustomIndex = -static_cast<int>(I + 1);
      return Select(CustomCell);
    }
  const TCombArray& Colors = ColorCombs();
  for (size_t I = 0; I < Colors.size(); ++I)
    if (SameColor24(Colors[I].Color, Value)) {
      FCustomIndex = static_cast<int>(I + 1);
      return Select(CustomCell);
    }
  Select(NoCell);
}

// ---- Combs ------------------------------------------------------------------------------------

void TColorPopup::DropCombs() {
  FColorCombs.clear();
  FBWCombs.clear();
}

void TColorPopup::BuildCombs() {
  const int Steps = FLevels - 1;
  const double S = 2 * FRadius * Cos30;
  struct TCorner {
    double X, Y;
    TFloatRGB Color;
  };
  const TFloatRGB CornerColors[6] = {{1, 0, 1}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {0, 1, 1}, {0, 0, 1}};
  TCorner Corners[6];
  for (int K = 0; K < 6; ++K) {
    // Clockwise from the right on screen, with Y growing downwards.
    const double A = K * std::numbers::pi / 3;
    Corners[K] = {std::cos(A) * S / 2, std::sin(A) * S / 2, CornerColors[K]};
  }
  auto Step = [](const TFloatRGB& From, const TFloatRGB& To, int N) {
    return TFloatRGB{(To.Red - From.Red) / N, (To.Green - From.Green) / N, (To.Blue - From.Blue) / N};
  };
  auto Add = [](TFloatRGB& C, const TFloatRGB& D) {
    C.Red += D.Red;
    C.Green += D.Green;
    C.Blue += D.Blue;
  };
  FColorCombs.clear();
  FColorCombs.reserve(static_cast<size_t>(6 * FLevels * Steps / 2 + 1));
  FColorCombs.push_back({{0, 0}, FloatColor(FCenterColor)});
  for (int K = 0; K < 6; ++K) {
    const TCorner& A = Corners[K];
    const TCorner& B = Corners[(K + 1) % 6];
    // Two edge points walking from the centre to the two corners.
    double X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
    TFloatRGB C1 = FCenterColor, C2 = FCenterColor;
    const TFloatRGB D1 = Step(FCenterColor, A.Color, Steps), D2 = Step(FCenterColor, B.Color, Steps);
    for (int R = 1; R <= Steps; ++R) {
      X1 += A.X / Steps;
      Y1 += A.Y / Steps;
      X2 += B.X / Steps;
      Y2 += B.Y / Steps;
      Add(C1, D1);
      Add(C2, D2);
      double X = X1, Y = Y1;
      TFloatRGB C = C1;
      const TFloatRGB D = Step(C1, C2, R);
      for (int J = 0; J < R; ++J) {
        FColorCombs.push_back({{Round(X), Round(Y)}, FloatColor(C)});
        X += (X2 - X1) / R;
        Y += (Y2 - Y1) / R;
        Add(C, D);
      }
    }
  }
  const int CS = FCombSize;
  const int DX = Round(CS * Cos30 / 2), DY = Round(CS * (0.5 + 1) / 2);
  FBWCombs.clear();
  FBWCombs.push_back({{CS, CS}, clWhite});
  for (int I = 1; I <= 15; ++I) {
    const int J = I - 1, Grey = (16 - I) * 15;
    const int Y = Round(3.0 * (CS / 4)) + (J % 2 ? DY : 0);
    FBWCombs.push_back({{Round(3.0 * CS + J * DX), Y}, RGB(Grey, Grey, Grey)});
  }
  FBWCombs.push_back({{Round(3.0 * CS + 16 * DX + CS), CS}, clBlack});
}

const TCombArray& TColorPopup::ColorCombs() {
  if (FColorCombs.empty()) BuildCombs();
  return FColorCombs;
}

const TCombArray& TColorPopup::BWCombs() {
  if (FBWCombs.empty()) BuildCombs();
  return FBWCombs;
}

TColor TColorPopup::CustomColor() {
  if (FCustomIndex > 0) return ColorCombs().at(static_cast<size_t>(FCustomIndex - 1)).Color;
  if (FCustomIndex < 0) return BWCombs().at(static_cast<size_t>(-FCustomIndex - 1)).Color;
  return clNone;
}

int TColorPopup::ColorCombAt(int X, int Y) {
  const int R = FCombSize / 2;
  const TCombArray& Combs = ColorCombs();
  for (size_t I = 0; I < Combs.size(); ++I) {
    const int64_t DX = X - (Combs[I].Position.X + FColorCombRect.Left + FRadius);
    const int64_t DY = Y - (Combs[I].Position.Y + FColorCombRect.Top + FRadius);
    if (DX * DX + DY * DY <= int64_t(R) * R) return static_cast<int>(I);
  }
  return -1;
}

int TColorPopup::BWCombAt(int X, int Y) {
  const TCombArray& Combs = BWCombs();
  for (size_t I = 0; I < Combs.size(); ++I) {
    const int R = I == 0 || I + 1 == Combs.size() ? FCombSize : FCombSize / 2;
    const int64_t DX = X - (Combs[I].Position.X + FBWCombRect.Left);
    const int64_t DY = Y - (Combs[I].Position.Y + FBWCombRect.Top);
    if (DX * DX + DY * DY <= int64_t(R) * R) return static_cast<int>(I);
  }
  return -1;
}

void TColorPopup::CombDrag(int X, int Y) {
  const TPoint P{X, Y};
  const bool OnSlider = FSelectionMode == TSelectionMode::smNone   ? PtInRect(FSliderRect, P)
                        : FSelectionMode == TSelectionMode::smRamp ? X >= FSliderRect.Left && X < FSliderRect.Right
                                                                   : false;
  if (OnSlider) {
    FSelectionMode = TSelectionMode::smRamp;
    const double Span = std::max(1, FSliderRect.Height());
    FCenterIntensity = static_cast<float>(std::clamp(1 - (Y - FSliderRect.Top) / Span, 0.0, 1.0));
    FCenterColor = {FCenterIntensity, FCenterIntensity, FCenterIntensity};
    DropCombs();
    update();
    return;
  }
  if (PtInRect(FBWCombRect, P) &&
      (FSelectionMode == TSelectionMode::smNone || FSelectionMode == TSelectionMode::smBW)) {
    FSelectionMode = TSelectionMode::smBW;
    if (const int I = BWCombAt(X, Y); I >= 0) {
      FCustomIndex = -(I + 1);
      update();
      return;
    }
  }
  if (PtInRect(FColorCombRect, P) &&
      (FSelectionMode == TSelectionMode::smNone || FSelectionMode == TSelectionMode::smColor)) {
    FSelectionMode = TSelectionMode::smColor;
    if (const int I = ColorCombAt(X, Y); I >= 0) {
      FCustomIndex = I + 1;
      update();
      return;
    }
  }
  FCustomIndex = 0;
  update();
}

// ---- Mouse and keys ---------------------------------------------------------------------------

void TColorPopup::mouseMoveEvent(QMouseEvent* Event) {
  const QPoint P = Event->position().toPoint();
  const int Cell = CellAt(P.x(), P.y());
  SetHoverIndex(Cell);
  if (Cell == NoCell && rect().contains(P) && (Event->buttons() & Qt::LeftButton)) CombDrag(P.x(), P.y());
  if (FPicker->ShowHint) ShowHintAt(P);
}

QString TColorPopup::HintAt(int X, int Y, TRect& Area) {
  const int Cell = CellAt(X, Y);
  QString Hint;
  if (Cell >= 0) {
    Area = CellRect(Cell);
    return Cell >= NamedCount ? QString::fromLatin1(SystemHints[Cell - NamedCount])
                              : ColorToText(CellColor(Cell), true);
  }
  if (Cell == DefaultCell || Cell == CustomCell) {
    Area = CellRect(Cell);
    if (Cell == DefaultCell) {
      if (ColorPickerDefaultColor() != clNone) Hint = ColorToText(ColorPickerDefaultColor(), true);
    } else if (FCustomIndex != 0) {
      Hint = ColorToText(CustomColor(), true);
    }
    if (FPicker->OnHint) FPicker->OnHint(FPicker, Cell, Hint);
    return Hint.isEmpty() ? FPicker->toolTip() : Hint;
  }
  if (FSelectedIndex != CustomCell) return {};
  // The comb area: every move updates the hint.
  Area = Bounds(X, Y, 1, 1);
  if (PtInRect(FSliderRect, {X, Y})) return QStringLiteral("%1%").arg(Round(FCenterIntensity * 100.0));
  if (FSelectionMode != TSelectionMode::smNone && FCustomIndex != 0) return ColorToText(CustomColor(), true);
  if (const int Comb = ColorCombAt(X, Y); Comb >= 0)
    return ColorToText(ColorCombs()[static_cast<size_t>(Comb)].Color, true);
  if (const int Comb = BWCombAt(X, Y); Comb >= 0) return ColorToText(BWCombs()[static_cast<size_t>(Comb)].Color, true);
  if (FPicker->OnHint) FPicker->OnHint(FPicker, NoCell, Hint);
  return Hint;
}

void TColorPopup::ShowHintAt(const QPoint& P) {
  TRect Area;
  const QString Hint = HintAt(P.x(), P.y(), Area);
  if (Hint.isEmpty()) {
    QToolTip::hideText();
    return;
  }
  // The intensity shows 8 pixels above the pointer at the slider's right edge.
  const QPoint At =
      PtInRect(FSliderRect, {P.x(), P.y()}) && FSelectedIndex == CustomCell ? QPoint(FSliderRect.Right, P.y() - 8) : P;
  QToolTip::showText(mapToGlobal(At), Hint, this, QRect(Area.Left, Area.Top, Area.Width(), Area.Height()));
}

bool TColorPopup::event(QEvent* Event) {
  // Hints are shown by the moves themselves, and only when the picker asks.
  if (Event->type() == QEvent::ToolTip) return true;
  return QWidget::event(Event);
}

void TColorPopup::mousePressEvent(QMouseEvent* Event) {
  const QPoint P = Event->position().toPoint();
  if (!rect().contains(P)) {
    CloseUp(false);
    return;
  }
  if (Event->button() != Qt::LeftButton) return;
  SetHoverIndex(CellAt(P.x(), P.y()));
  if (FHoverIndex == NoCell) CombDrag(P.x(), P.y());
}

void TColorPopup::mouseReleaseEvent(QMouseEvent* Event) {
  if (Event->button() != Qt::LeftButton) return;
  const TSelectionMode Mode = std::exchange(FSelectionMode, TSelectionMode::smNone);
  const QPoint P = Event->position().toPoint();
  const int Cell = rect().contains(P) ? CellAt(P.x(), P.y()) : NoCell;
  if (Cell == NoCell && !(FSelectedIndex == CustomCell && FCustomIndex != 0)) return;
  if (Cell != NoCell) SetSelectedIndex(Cell);
  const bool CombPicked = Mode == TSelectionMode::smColor || Mode == TSelectionMode::smBW;
  if ((FSelectedIndex == CustomCell && CombPicked) || FSelectedIndex >= 0 || FSelectedIndex == DefaultCell)
    CloseUp(true);
}

int TColorPopup::NextCell(int Key, int From) const {
  const int Last = LastCell();
  const int First = HasDefault() ? DefaultCell : HasCustom() ? CustomCell : Last; // before cell 0
  const int After = HasCustom() ? CustomCell : HasDefault() ? DefaultCell : 0;    // after the last cell
  const bool Back = Key == Qt::Key_Left || Key == Qt::Key_Up;
  if (From == CustomCell) return Back ? Last : (HasDefault() ? DefaultCell : 0);
  if (From == DefaultCell) return Back ? (HasCustom() ? CustomCell : Last) : 0;
  if (From < 0) return Back ? Last : 0;
  switch (Key) {
  case Qt::Key_Left:
    return From == 0 ? First : From - 1;
  case Qt::Key_Up:
    return From >= FColumnCount ? From - FColumnCount : First;
  case Qt::Key_Right:
    return From < Last ? From + 1 : After;
  default: // Down
    return From + FColumnCount <= Last ? From + FColumnCount : After;
  }
}

void TColorPopup::keyPressEvent(QKeyEvent* Event) {
  const int Key = Event->key();
  if (Event->modifiers() & Qt::AltModifier) {
    // The key itself: with Alt the text may be empty.
    const QChar Typed = (Key >= Qt::Key_0 && Key <= Qt::Key_9) || (Key >= Qt::Key_A && Key <= Qt::Key_Z)
                            ? QChar(Key).toLower()
                            : QChar();
    if (!Typed.isNull() && HasDefault() && Typed == Accelerator(FDefaultText)) {
      FSelectedIndex = DefaultCell;
      CloseUp(true);
    } else if (!Typed.isNull() && HasCustom() && FSelectedIndex != CustomCell && Typed == Accelerator(FCustomText)) {
      SetSelectedIndex(CustomCell);
    }
    return;
  }
  switch (Key) {
  case Qt::Key_Left:
  case Qt::Key_Up:
  case Qt::Key_Right:
  case Qt::Key_Down:
    SetHoverIndex(NextCell(Key, FHoverIndex != NoCell ? FHoverIndex : FSelectedIndex));
    break;
  case Qt::Key_Return:
  case Qt::Key_Enter:
  case Qt::Key_Space:
    FSelectedIndex = FHoverIndex;
    CloseUp(true);
    break;
  case Qt::Key_Escape:
    CloseUp(false);
    break;
  default:
    QWidget::keyPressEvent(Event);
  }
}

// ---- Painting -------------------------------------------------------------------------------------

void TColorPopup::PaintCell(QPainter& Canvas, int Cell) {
  const TRect R = CellRect(Cell);
  FillRectColor(Canvas, ColorPopupBackColor, R);
  if (Cell == FSelectedIndex || Cell == FHoverIndex) FrameColor(Canvas, ColorPopupFrameColor, R);
  Swatch(Canvas, Shrunk(R, FMargin + 1, FMargin + 1), CellColor(Cell));
}

void TColorPopup::PaintDefaultButton(QPainter& Canvas) {
  const TRect Button = FDefaultTextRect;
  FillRectColor(Canvas, ColorPopupBackColor, Button);
  const TRect R = Shrunk(Button, 0, 2);
  FillRectColor(Canvas, ColorPopupBackColor, R);
  if (FSelectedIndex == DefaultCell || FHoverIndex == DefaultCell) FrameColor(Canvas, ColorPopupFrameColor, R);
  const TColor Default = ColorPickerDefaultColor();
  if (Default == clNone) {
    Canvas.setPen(palette().color(QPalette::WindowText));
    Canvas.drawText(QRect(R.Left, R.Top, R.Width(), R.Height()),
                    Qt::AlignCenter | Qt::TextSingleLine | Qt::TextShowMnemonic, FDefaultText);
  } else {
    Swatch(Canvas, Shrunk(Button, FMargin + 1, FMargin + 3), Default);
  }
}

void TColorPopup::PaintCustomButton(QPainter& Canvas) {
  TRect R = FCustomTextRect;
  FillRectColor(Canvas, ColorPopupBackColor, R);
  EtchedLine(Canvas, R.Left, R.Right, R.Top - 2 * FMargin);
  R = Shrunk(R, 0, 2);
  R.Bottom -= 1;
  FillRectColor(Canvas, ColorPopupBackColor, R);
  if (FSelectedIndex == CustomCell || FHoverIndex == CustomCell) FrameColor(Canvas, ColorPopupFrameColor, R);
  Canvas.setPen(palette().color(QPalette::WindowText));
  Canvas.drawText(QRect(R.Left, R.Top, R.Width(), R.Height()),
                  Qt::AlignCenter | Qt::TextSingleLine | Qt::TextShowMnemonic, FCustomText);
  if (FCustomIndex != 0)
    Swatch(Canvas, FCustomColorRect, CustomColor());
  else
    FrameColor(Canvas, ColorPopupOutlineColor, FCustomColorRect);
}

void TColorPopup::PaintCombArea(QPainter& Screen) {
  const int Top = FColorCombRect.Top;
  const int Height = 2 * FRadius + FBWCombRect.Height() + 2 * FMargin;
  if (width() <= 0 || Height <= 0) return;
  TBitmap Work(width(), Height, pf24bit, ColorToRGB(IsStyleEnabled() ? clMenu : clBtnFace));
  TCanvas& Canvas = Work.Canvas();
  Canvas.Pen.Style = TPenStyle::psClear;
  Canvas.Brush.Style = TBrushStyle::bsSolid;
  auto Draw = [&](int CX, int CY, int Size, TColor Color, bool Chosen) {
    const std::array<TPoint, 6> Points = Hexagon(CX, CY, Size);
    Canvas.Pen.Style = TPenStyle::psClear;
    Canvas.Brush.Style = TBrushStyle::bsSolid;
    Canvas.Brush.Color = Color;
    Canvas.Polygon(Points);
    if (!Chosen) return;
    Canvas.Pen = TPen{clWhite, 1, TPenStyle::psSolid, TPenMode::pmXor};
    Canvas.Brush.Style = TBrushStyle::bsClear;
    Canvas.Polygon(Points);
    Canvas.Pen = TPen{};
  };
  const TCombArray& Colors = ColorCombs();
  for (size_t I = 0; I < Colors.size(); ++I)
    Draw(Colors[I].Position.X + FColorCombRect.Left + FRadius, Colors[I].Position.Y + FRadius, FCombSize,
         Colors[I].Color, FCustomIndex == static_cast<int>(I + 1));
  const TCombArray& Greys = BWCombs();
  for (size_t I = 0; I < Greys.size(); ++I) {
    const bool Big = I == 0 || I + 1 == Greys.size();
    Draw(Greys[I].Position.X + FColorCombRect.Left, Greys[I].Position.Y + 2 * FRadius - 4,
         Big ? 2 * FCombSize : FCombSize, Greys[I].Color, FCustomIndex == -static_cast<int>(I + 1));
  }
  // The intensity slider: white at the top to black at the bottom, and its mark.
  const TRect Slider = OffsetRect(FSliderRect, 0, -Top);
  const int H = Slider.Height() - 1;
  if (H > 0) {
    for (int I = 0; I <= H; ++I) {
      const int Grey = Round((H - I) * 255.0 / H);
      Canvas.Brush.Color = RGB(Grey, Grey, Grey);
      Canvas.Brush.Style = TBrushStyle::bsSolid;
      Canvas.FillRect(Rect(Slider.Left, Slider.Top + I, Slider.Left + 10, Slider.Top + I + 1));
    }
    const int X = Slider.Left + 11, Tip = Slider.Top + Round(H * (1 - double(FCenterIntensity)));
    const TPoint Mark[3] = {{X, Tip}, {X + 5, Tip - 3}, {X + 5, Tip + 3}};
    Canvas.Pen = TPen{clBlack};
    Canvas.Brush.Color = clBlack;
    Canvas.Polygon(Mark);
  }
  Screen.drawImage(0, Top, Work.QImageView());
}

void TColorPopup::paintEvent(QPaintEvent*) {
  QPainter Canvas(this);
  const TRect Client = Rect(0, 0, width(), height());
  FillRectColor(Canvas, ColorPopupBackColor, Client);
  FrameColor(Canvas, ColorPopupOutlineColor, Client);
  Canvas.setFont(FPicker->font());
  if (HasDefault()) PaintDefaultButton(Canvas);
  for (int I = 0; I < NamedCount; ++I) PaintCell(Canvas, I);
  if (FShowSysColors) {
    const int Y = FMargin + FRowCount * FBoxSize + (HasDefault() ? FDefaultTextRect.Bottom : 0);
    EtchedLine(Canvas, FMargin + FSpacing, FWindowRect.Width() - FMargin - FSpacing, Y);
    for (int I = NamedCount; I < NamedCount + SystemCount; ++I) PaintCell(Canvas, I);
  }
  if (HasCustom()) PaintCustomButton(Canvas);
  if (FSelectedIndex == CustomCell) PaintCombArea(Canvas);
}
