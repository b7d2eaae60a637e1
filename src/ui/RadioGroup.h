// TRadioGroup: a framed group of radio buttons, one per item, of which one
// (or none) is chosen, laid out in columns filled top to bottom. Depends on
// the event types, QtWidgets.
#pragma once

#include "ui/ControlEvents.h"

#include <QGroupBox>
#include <QStringList>

#include <vector>

class QButtonGroup;
class QGridLayout;
class QRadioButton;

class TRadioGroup : public QGroupBox {
  Q_OBJECT
public:
  explicit TRadioGroup(QWidget* Parent = nullptr);

  // Replaces the buttons; nothing is chosen afterwards.
  void SetItems(const QStringList& Items);
  QStringList Items() const;
  int Count() const { return static_cast<int>(FButtons.size()); }
  int Columns() const { return FColumns; }
  void SetColumns(int Value);
  // -1 when none is chosen.
  int ItemIndex() const { return FItemIndex; }
  // A value outside -1 .. Count - 1 chooses none. A change fires OnClick.
  void SetItemIndex(int Value);
  QRadioButton* Button(int Index) const;

  // The chosen item changed, by a click or by code.
  TNotifyEvent OnClick;

private:
  void Arrange();
  void Choose(int Index);

  std::vector<QRadioButton*> FButtons;
  QButtonGroup* FGroup;
  QGridLayout* FLayout;
  int FColumns = 1;
  int FItemIndex = -1;
};
