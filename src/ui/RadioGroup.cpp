#include "ui/RadioGroup.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QRadioButton>

#include <algorithm>

TRadioGroup::TRadioGroup(QWidget* Parent)
    : QGroupBox(Parent), FGroup(new QButtonGroup(this)), FLayout(new QGridLayout(this)) {
  FGroup->setExclusive(true);
  connect(FGroup, &QButtonGroup::idClicked, this, [this](int Id) { Choose(Id); });
}

QStringList TRadioGroup::Items() const {
  QStringList Out;
  for (const QRadioButton* B : FButtons) Out.append(B->text());
  return Out;
}

void TRadioGroup::SetItems(const QStringList& Items) {
  for (QRadioButton* B : FButtons) delete B;
  FButtons.clear();
  FItemIndex = -1;
  for (int I = 0; I < Items.size(); ++I) {
    auto* B = new QRadioButton(Items[I], this);
    FGroup->addButton(B, I);
    FButtons.push_back(B);
  }
  Arrange();
}

void TRadioGroup::SetColumns(int Value) {
  Value = std::max(1, Value);
  if (Value == FColumns) return;
  FColumns = Value;
  Arrange();
}

void TRadioGroup::Arrange() {
  for (QRadioButton* B : FButtons) FLayout->removeWidget(B);
  const int N = Count();
  const int Rows = (N + FColumns - 1) / FColumns;
  for (int I = 0; I < N; ++I)
    FLayout->addWidget(FButtons[static_cast<size_t>(I)], I % std::max(Rows, 1), I / std::max(Rows, 1));
}

QRadioButton* TRadioGroup::Button(int Index) const {
  return Index >= 0 && Index < Count() ? FButtons[static_cast<size_t>(Index)] : nullptr;
}

void TRadioGroup::Choose(int Index) {
  if (Index == FItemIndex) return;
  FItemIndex = Index;
  if (OnClick) OnClick(this);
}

void TRadioGroup::SetItemIndex(int Value) {
  if (Value < -1 || Value >= Count()) Value = -1;
  if (Value == FItemIndex) return;
  if (Value >= 0) {
    FButtons[static_cast<size_t>(Value)]->setChecked(true);
  } else {
    // An exclusive group never unchecks its last button by itself.
    FGroup->setExclusive(false);
    for (QRadioButton* B : FButtons) B->setChecked(false);
    FGroup->setExclusive(true);
  }
  Choose(Value);
}
