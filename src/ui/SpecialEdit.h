// TSpecialEdit: an owner-painted, non-editable text field with an optional
// arrow button at its right. It shows a text (a path shortened to fit, or any
// text), or acts as a drop-down list over a popup menu. Dialogs use it for
// file and folder fields (a click opens a chooser) and for compact choice
// lists. Depends on the themed base control, the arrow buttons, the
// edit-height helper, the clock seam, QtWidgets.
#pragma once

#include "platform/Clock.h"
#include "ui/ControlEvents.h"
#include "ui/MyUpDown.h"
#include "ui/ThemedCustomControl.h"

#include <optional>

class QAction;
class QFontMetrics;
class QMenu;

// Text when it fits MaxWidth; otherwise the longest start of it (first
// character included, up to the next-to-last) that still fits with "...",
// followed by "...".
QString EllipsisText(const QString& Text, const QFontMetrics& Metrics, int MaxWidth);
// A path shortened to MaxWidth by replacing its first folders with "...",
// keeping the root (a drive "C:" or "/") and the file name; then the root
// goes too; the bare name when nothing else fits.
QString MinimizeName(const QString& Path, const QFontMetrics& Metrics, int MaxWidth);

class TSpecialEdit : public TThemedCustomControl {
  Q_OBJECT
public:
  explicit TSpecialEdit(QWidget* Parent = nullptr);

  // With a drop-down menu: the caption of the item ItemIndex designates,
  // every "&" removed (empty when none). Otherwise the stored text.
  QString Text() const;
  // Ignored with a drop-down menu; otherwise stores, repaints and fires
  // OnChange when different.
  void SetText(const QString& Value);
  int ItemIndex() const { return FItemIndex; }
  // Any negative value is -1; with a drop-down menu a change repaints and
  // fires OnChange.
  void SetItemIndex(int Value);
  // Items are numbered by their Tag (ui/ControlTag.h) instead of their
  // place among the non-separator items.
  bool IndexByTag() const { return FIndexByTag; }
  void SetIndexByTag(bool Value) { FIndexByTag = Value; }
  // Owned by the form; the control re-binds its items each time it opens it.
  QMenu* DropDownMenu() const { return FDropDownMenu; }
  void SetDropDownMenu(QMenu* Value);
  bool MinimizeText() const { return FMinimize; }
  void SetMinimizeText(bool Value);
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value);
  bool ShowButton() const;
  void SetShowButton(bool Value);
  TPNStyle ButtonStyle() const;
  void SetButtonStyle(TPNStyle Value);
  TPrevNextButton* Button() const { return FButton; }

  // The menu item of an index, and the index of a menu item (-1 for none).
  QAction* IndexToItem(int Index) const;
  int ItemToIndex(const QAction* Item) const;
  // The text as it is painted (shortened, then OnDisplayText).
  QString DisplayedText() const;
  // The area the text is painted in.
  QRect TextRect() const;
  // Opens the drop-down menu under the control, unless it closed less than
  // 0.3 s ago.
  void DropDown();

  TSelectItemEvent OnSelectItem;
  TDisplayTextEvent OnDisplayText;
  TNotifyEvent OnBtnClick;
  TNotifyEvent OnChange;
  TNotifyEvent OnClick;

  QSize sizeHint() const override;

protected:
  void Paint(QPainter& Canvas) override;
  void mouseReleaseEvent(QMouseEvent* Event) override;
  void mousePressEvent(QMouseEvent* Event) override;
  void keyPressEvent(QKeyEvent* Event) override;
  void resizeEvent(QResizeEvent* Event) override;
  void changeEvent(QEvent* Event) override;

private:
  void Click();
  void ButtonClick();
  void MenuItemClick(QAction* Item);
  void PlaceButton();
  void UpdateButtonEnabled();
  void Changed();

  TPrevNextButton* FButton = nullptr;
  QMenu* FDropDownMenu = nullptr;
  int FItemIndex = -1;
  bool FMinimize = false;
  bool FReadOnly = false;
  QString FText;
  bool FIndexByTag = false;
  std::optional<TMonoTime> FDateCloseUp;
  bool FPressed = false;
};
