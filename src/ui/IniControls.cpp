#include "ui/IniControls.h"

#include "platform/NumberFormat.h"
#include "raster/FoncUtils.h"
#include "ui/ColorEdit.h"
#include "ui/ControlTag.h"
#include "ui/DirectionEdit.h"
#include "ui/RadioGroup.h"
#include "ui/SpecialEdit.h"
#include "ui/SpinEdit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QTabWidget>
#include <QTextEdit>
#include <QToolButton>

#include <optional>
#include <utility>
#include <vector>

namespace {

// The combo boxes whose value is their text rather than their index.
constexpr int TagComboByText = -771;
// Special edits that take a stored file or folder only while it exists.
constexpr int TagExistingFile = -772;
constexpr int TagExistingFolder = -773;

QString Switch(bool Value) { return Value ? QStringLiteral("1") : QStringLiteral("0"); }
QString Quoted(const QString& Text) { return u'"' + Text + u'"'; }
int Integer(const QString& Value) { return StrToIntDef(Value, 0, true); }

// Runs Body with the control's signals blocked when Detach is set.
template <class F> void Restoring(QWidget* Control, bool Detach, F&& Body) {
  std::optional<QSignalBlocker> Blocker;
  if (Detach) Blocker.emplace(Control);
  Body();
}

// Runs Body with an event member of the program's own controls cleared.
template <class E, class F> void WithoutEvent(E& Event, bool Detach, F&& Body) {
  if (!Detach) {
    Body();
    return;
  }
  E Saved = std::exchange(Event, nullptr);
  Body();
  Event = std::move(Saved);
}

template <class T> T* As(QWidget* W) { return static_cast<T*>(W); }

// An index the control can take: -1 (none) to Count - 1.
bool InRange(int Index, int Count) { return Index >= -1 && Index < Count; }

std::vector<TIniControlClass> BuiltInRows() {
  std::vector<TIniControlClass> R;
  R.push_back({&QSlider::staticMetaObject, true, [](QWidget* C) { return QString::number(As<QSlider>(C)->value()); },
               [](QWidget* C, const QString& V, TIniOptions O) {
                 Restoring(C, O & ioNoTrackBarEvent, [&] { As<QSlider>(C)->setValue(Integer(V)); });
               }});
  R.push_back({&TSpinEdit2::staticMetaObject, true,
               [](QWidget* C) { return QString::number(As<TSpinEdit2>(C)->Value()); },
               [](QWidget* C, const QString& V, TIniOptions O) {
                 if (O & ioNoEvent)
                   As<TSpinEdit2>(C)->SetValue2(Integer(V));
                 else
                   As<TSpinEdit2>(C)->SetValue(Integer(V));
               }});
  R.push_back({&TFloatSpinEdit::staticMetaObject, true,
               [](QWidget* C) { return FloatToStr(As<TFloatSpinEdit>(C)->Value()); },
               [](QWidget* C, const QString& V, TIniOptions O) {
                 // Written with the separator of the locale of the day: any
                 // separator reads back.
                 double Value = 0.0;
                 if (!TryStrToFloatAnyPoint(V, Value)) Value = 0.0;
                 if (O & ioNoEvent)
                   As<TFloatSpinEdit>(C)->SetValue2(Value);
                 else
                   As<TFloatSpinEdit>(C)->SetValue(Value);
               }});
  R.push_back({&QLineEdit::staticMetaObject, true, [](QWidget* C) { return Quoted(As<QLineEdit>(C)->text()); },
               [](QWidget* C, const QString& V, TIniOptions O) {
                 Restoring(C, O & ioNoEvent, [&] { As<QLineEdit>(C)->setText(V); });
               }});
  R.push_back({&QPlainTextEdit::staticMetaObject, false,
               [](QWidget* C) { return Quoted(As<QPlainTextEdit>(C)->toPlainText()); },
               [](QWidget* C, const QString& V, TIniOptions O) {
                 Restoring(C, O & ioNoEvent, [&] { As<QPlainTextEdit>(C)->setPlainText(V); });
               }});
  R.push_back({&QTextEdit::staticMetaObject, false, [](QWidget* C) { return Quoted(As<QTextEdit>(C)->toPlainText()); },
               [](QWidget* C, const QString& V, TIniOptions O) {
                 Restoring(C, O & ioNoEvent, [&] { As<QTextEdit>(C)->setPlainText(V); });
               }});
  R.push_back({&TSpecialEdit::staticMetaObject, true,
               [](QWidget* C) {
                 TSpecialEdit* E = As<TSpecialEdit>(C);
                 return E->DropDownMenu() ? QString::number(E->ItemIndex()) : E->Text();
               },
               [](QWidget* C, const QString& V, TIniOptions O) {
                 TSpecialEdit* E = As<TSpecialEdit>(C);
                 WithoutEvent(E->OnChange, O & ioNoEvent, [&] {
                   if (E->DropDownMenu()) {
                     const int Index = Integer(V);
                     if (Index == -1 || E->IndexToItem(Index)) E->SetItemIndex(Index);
                     return;
                   }
                   const int Tag = ControlTag(E);
                   if (Tag == TagExistingFile && !QFileInfo(V).isFile()) return;
                   if (Tag == TagExistingFolder && !QFileInfo(V).isDir()) return;
                   E->SetText(V);
                 });
               }});
  for (const QMetaObject* Box : {&QCheckBox::staticMetaObject, &QRadioButton::staticMetaObject})
    R.push_back({Box, true, [](QWidget* C) { return Switch(As<QAbstractButton>(C)->isChecked()); },
                 [](QWidget* C, const QString& V, TIniOptions O) {
                   if (V.isEmpty()) return; // never written so: the control stays as it is
                   Restoring(C, O & ioNoEvent, [&] { As<QAbstractButton>(C)->setChecked(V.front() != u'0'); });
                 }});
  R.push_back({&TRadioGroup::staticMetaObject, true,
               [](QWidget* C) { return QString::number(As<TRadioGroup>(C)->ItemIndex()); },
               [](QWidget* C, const QString& V, TIniOptions O) {
                 TRadioGroup* G = As<TRadioGroup>(C);
                 const int Index = Integer(V);
                 if (!InRange(Index, G->Count())) return;
                 WithoutEvent(G->OnClick, O & ioNoEvent, [&] { G->SetItemIndex(Index); });
               }});
  // The web form "#RRGGBB"; an unreadable text gives black.
  R.push_back({&TColorEdit::staticMetaObject, true,
               [](QWidget* C) { return ColorToText(As<TColorEdit>(C)->Color(), true); },
               [](QWidget* C, const QString& V, TIniOptions O) {
                 TColorEdit* E = As<TColorEdit>(C);
                 WithoutEvent(E->OnChange, O & ioNoEvent, [&] { E->SetColor(TextToColor(V, clBlack, true)); });
               }});
  R.push_back({&TDirectionEdit::staticMetaObject, true,
               [](QWidget* C) { return QString::number(As<TDirectionEdit>(C)->Direction()); },
               [](QWidget* C, const QString& V, TIniOptions O) {
                 TDirectionEdit* E = As<TDirectionEdit>(C);
                 WithoutEvent(E->OnChange, O & ioNoEvent, [&] { E->SetDirection(Integer(V)); });
               }});
  R.push_back({&QComboBox::staticMetaObject, true,
               [](QWidget* C) {
                 QComboBox* B = As<QComboBox>(C);
                 if (B->isEditable() || ControlTag(B) == TagComboByText) return B->currentText();
                 return QString::number(B->currentIndex());
               },
               [](QWidget* C, const QString& V, TIniOptions O) {
                 QComboBox* B = As<QComboBox>(C);
                 Restoring(C, O & ioNoEvent, [&] {
                   if (B->isEditable()) {
                     B->setEditText(V);
                   } else if (ControlTag(B) == TagComboByText) {
                     B->setCurrentIndex(B->findText(V, Qt::MatchExactly | Qt::MatchCaseSensitive));
                   } else if (const int Index = Integer(V); InRange(Index, B->count())) {
                     B->setCurrentIndex(Index);
                   }
                 });
               }});
  R.push_back({&QTabWidget::staticMetaObject, false,
               [](QWidget* C) { return QString::number(As<QTabWidget>(C)->currentIndex()); },
               [](QWidget* C, const QString& V, TIniOptions O) {
                 QTabWidget* T = As<QTabWidget>(C);
                 const int Index = Integer(V);
                 if (Index < 0 || Index >= T->count()) return;
                 Restoring(C, O & ioNoEvent, [&] { T->setCurrentIndex(Index); });
               }});
  R.push_back({&QToolButton::staticMetaObject, false,
               [](QWidget* C) {
                 QToolButton* B = As<QToolButton>(C);
                 return Switch(B->isCheckable() ? B->isChecked() : B->isDown());
               },
               [](QWidget* C, const QString& V, TIniOptions O) {
                 if (V.isEmpty()) return;
                 QToolButton* B = As<QToolButton>(C);
                 Restoring(C, O & ioNoEvent, [&] {
                   if (B->isCheckable())
                     B->setChecked(V.front() != u'0');
                   else
                     B->setDown(V.front() != u'0');
                 });
               }});
  return R;
}

std::vector<TIniControlClass>& Rows() {
  static std::vector<TIniControlClass> Table = BuiltInRows();
  return Table;
}

} // namespace

void RegisterIniControlClass(const TIniControlClass& Row) {
  if (!Row.Class || !Row.Write || !Row.Restore) return;
  std::vector<TIniControlClass>& Table = Rows();
  for (TIniControlClass& Existing : Table)
    if (Existing.Class == Row.Class) {
      Existing = Row;
      return;
    }
  for (auto It = Table.begin(); It != Table.end(); ++It)
    if (Row.Class->inherits(It->Class)) {
      Table.insert(It, Row);
      return;
    }
  Table.push_back(Row);
}

const TIniControlClass* FindIniControlClass(const QWidget* Control) {
  for (const TIniControlClass& Row : Rows())
    if (Control->metaObject()->inherits(Row.Class)) return &Row;
  return nullptr;
}
