// TColorPicker: the swatch control of a colour field, which owns and drops
// the palette TColorPopup, and the program-wide state the colour controls
// share (palette colours, default colour, last drop time). Depends on the
// palette, the clock seam, the drawing helpers of ui/, QtWidgets.
#pragma once

#include "platform/Clock.h"
#include "platform/Colors.h"
#include "ui/ControlEvents.h"

#include <QWidget>

#include <cstdint>
#include <functional>
#include <optional>

class TColorPopup;

// ---- Program-wide state ---------------------------------------------------------

// The palette's background, outline and frame (selected and hovered cells):
// window, button shadow and highlight until the main window sets them.
inline TColor ColorPopupBackColor = clWindow;
inline TColor ColorPopupOutlineColor = clBtnShadow;
inline TColor ColorPopupFrameColor = clHighlight;
void SetColorPopupColors(TColor Back, TColor Outline, TColor Frame);
// The colour of the palette's default button; clNone: none, the button shows
// its text.
TColor ColorPickerDefaultColor();
void SetColorPickerDefaultColor(TColor Color);
// When the drop state of any picker last changed (none yet: empty).
std::optional<TMonoTime> LastColorDropChange();
// A drop-down arrow ignores clicks this soon after a palette opened or closed,
// so the click that closes a palette does not reopen it.
bool ColorDropTooSoon();

enum class TIndicatorBorder : uint8_t { ibNone, ibFlat, ibSunken, ibRaised };

using TDropChangingEvent = std::function<void(QObject* Sender, bool& Allowed)>;
using TChangingColor = std::function<void(QObject* Sender, TColor& Color)>;
// The hint of a palette button (Cell -3 or -2) or of the comb area (-1),
// which the handler may change.
using THintEvent = std::function<void(QObject* Sender, int Cell, QString& Hint)>;

class TColorPicker : public QWidget {
  Q_OBJECT
public:
  // Creates its palette, a child window that goes with it.
  explicit TColorPicker(QWidget* Parent = nullptr);

  // A different colour is offered to OnChangingColor first (clNone from it
  // refuses the change); an accepted one is stored, repainted, selected in an
  // open palette, and OnChange fires.
  TColor SelectionColor() const { return FSelectionColor; }
  void SetSelectionColor(TColor Value);
  // Opening hands SelectionColor to the palette and shows it; closing hides
  // it. OnDropChanging may refuse either; OnDropChanged follows.
  bool DroppedDown() const { return FDroppedDown; }
  void SetDroppedDown(bool Value);
  QString CustomText() const;
  void SetCustomText(const QString& Value);
  QString DefaultText() const;
  void SetDefaultText(const QString& Value);
  bool ShowSystemColors() const;
  void SetShowSystemColors(bool Value);
  // Negative values are 0.
  int PopupSpacing() const;
  void SetPopupSpacing(int Value);
  // False: the control fills its rectangle with Color first.
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool Value);
  // The background of an opaque picker and of a disabled swatch's checker.
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  TIndicatorBorder IndicatorBorder() const { return FIndicatorBorder; }
  void SetIndicatorBorder(TIndicatorBorder Value);
  // The inset of the swatch; negative values are 0.
  int Margin() const { return FMargin; }
  void SetMargin(int Value);
  // A left press drops the palette.
  bool ClickDropDown() const { return FClickDropDown; }
  void SetClickDropDown(bool Value) { FClickDropDown = Value; }
  // The palette aligns under the picker's parent instead of the picker.
  bool ParentOwner() const { return FParentOwner; }
  void SetParentOwner(bool Value) { FParentOwner = Value; }
  TColorPopup* Popup() const { return FColorPopup; }
  // The caption's accelerator ("&Grid" gives Alt+G) clicks the picker while
  // it is enabled and shown.
  QString Caption() const { return FCaption; }
  void SetCaption(const QString& Value);
  // The palette shows hints over its cells, buttons and combs.
  bool ShowHint = false;

  // Writes the program-wide default colour (unless none), then fires
  // OnDefaultSelect.
  virtual void DoDefaultSelect();

  TNotifyEvent OnChange;
  TNotifyEvent OnClick;
  TNotifyEvent OnDefaultSelect;
  TNotifyEvent OnDropChanged;
  TDropChangingEvent OnDropChanging;
  TChangingColor OnChangingColor;
  THintEvent OnHint;

protected:
  void paintEvent(QPaintEvent* Event) override;
  void mousePressEvent(QMouseEvent* Event) override;
  void mouseReleaseEvent(QMouseEvent* Event) override;
  void changeEvent(QEvent* Event) override;
  bool event(QEvent* Event) override;

private:
  bool FTransparent = true;
  int FMargin = 0;
  TIndicatorBorder FIndicatorBorder = TIndicatorBorder::ibFlat;
  bool FDroppedDown = false;
  bool FClickDropDown = false;
  TColor FSelectionColor = clBlack;
  TColor FColor = clBtnFace;
  TColorPopup* FColorPopup = nullptr;
  bool FParentOwner = false;
  bool FPressed = false;
  QString FCaption;
  int FShortcut = 0;
};
