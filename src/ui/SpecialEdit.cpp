#include "ui/SpecialEdit.h"

#include "platform/Rounding.h"
#include "ui/CompUtils.h"
#include "ui/ControlColor.h"
#include "ui/ControlTag.h"
#include "ui/DrawUtils.h"
#include "ui/VisualStyles.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QPointer>

namespace {

constexpr auto CloseUpGuard = std::chrono::milliseconds(300);
const QString Dots = QStringLiteral("...");

// Removes the first folder of Dir: "/a/b/c/" gives "/.../b/c/", "/.../b/c/"
// gives "/.../c/", "/.../c/" gives "/.../", ".../" gives "".
QString CutFirstDirectory(const QString& Dir) {
  const bool Root = Dir.startsWith(u'/');
  QString Rest = Root ? Dir.mid(1) : Dir;
  if (Rest.startsWith(Dots + u'/')) Rest = Rest.mid(4);
  const qsizetype Slash = Rest.indexOf(u'/');
  Rest = Slash < 0 ? QString() : Dots + u'/' + Rest.mid(Slash + 1);
  return Root ? u'/' + Rest : Rest;
}

} // namespace

QString EllipsisText(const QString& Text, const QFontMetrics& Metrics, int MaxWidth) {
  if (Text.isEmpty() || Metrics.horizontalAdvance(Text) <= MaxWidth) return Text;
  QString Accumulated = Text.left(1);
  for (qsizetype I = 1; I < Text.size() - 1; ++I) {
    Accumulated += Text[I];
    if (Metrics.horizontalAdvance(Accumulated + Dots) > MaxWidth) break;
  }
  Accumulated.chop(1);
  return Accumulated + Dots;
}

QString MinimizeName(const QString& Path, const QFontMetrics& Metrics, int MaxWidth) {
  const qsizetype Slash = Path.lastIndexOf(u'/');
  QString Dir = Slash < 0 ? QString() : Path.left(Slash + 1);
  const QString Name = Path.mid(Slash + 1);
  QString Drive;
  if (Dir.size() >= 2 && Dir[1] == u':') {
    Drive = Dir.left(2);
    Dir = Dir.mid(2);
  }
  QString Result = Path;
  while ((!Dir.isEmpty() || !Drive.isEmpty()) && Metrics.horizontalAdvance(Result) > MaxWidth) {
    if (Dir == u"/.../") {
      Drive.clear();
      Dir = Dots + u'/';
    } else if (Dir.isEmpty()) {
      Drive.clear();
    } else {
      Dir = CutFirstDirectory(Dir);
    }
    Result = Drive + Dir + Name;
  }
  return Result;
}

TSpecialEdit::TSpecialEdit(QWidget* Parent) : TThemedCustomControl(Parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::StrongFocus);
  SetControlColor(this, clWindow);
  const int Height = FontEditHeight(font(), Ctl3D() && BorderStyle() == TBorderStyle::bsSingle);
  setMinimumHeight(Height);
  resize(80, Height);
}

QSize TSpecialEdit::sizeHint() const {
  return {80, FontEditHeight(font(), Ctl3D() && BorderStyle() == TBorderStyle::bsSingle)};
}

QString TSpecialEdit::Text() const {
  if (!FDropDownMenu) return FText;
  const QAction* Item = IndexToItem(FItemIndex);
  return Item ? QString(Item->text()).remove(u'&') : QString();
}

void TSpecialEdit::Changed() {
  update();
  if (OnChange) OnChange(this);
}

void TSpecialEdit::SetText(const QString& Value) {
  if (FDropDownMenu || Value == FText) return;
  FText = Value;
  Changed();
}

void TSpecialEdit::SetItemIndex(int Value) {
  if (Value < 0) Value = -1;
  if (Value == FItemIndex) return;
  FItemIndex = Value;
  if (FDropDownMenu) Changed();
}

void TSpecialEdit::SetDropDownMenu(QMenu* Value) {
  if (Value == FDropDownMenu) return;
  FDropDownMenu = Value;
  update();
}

void TSpecialEdit::SetMinimizeText(bool Value) {
  if (Value == FMinimize) return;
  FMinimize = Value;
  update();
}

void TSpecialEdit::SetReadOnly(bool Value) {
  FReadOnly = Value;
  UpdateButtonEnabled();
}

void TSpecialEdit::UpdateButtonEnabled() {
  if (FButton) FButton->setEnabled(isEnabled() && !FReadOnly);
}

bool TSpecialEdit::ShowButton() const { return FButton && !FButton->isHidden(); }

void TSpecialEdit::SetShowButton(bool Value) {
  if (Value == ShowButton()) return;
  if (Value) {
    if (!FButton) {
      FButton = new TPrevNextButton(this);
      FButton->OnClick = [this](QObject*) { ButtonClick(); };
    }
    FButton->show();
    UpdateButtonEnabled();
  } else {
    delete FButton;
    FButton = nullptr;
  }
  PlaceButton();
  update();
}

TPNStyle TSpecialEdit::ButtonStyle() const { return ShowButton() ? FButton->Style() : TPNStyle::stDown; }

void TSpecialEdit::SetButtonStyle(TPNStyle Value) {
  if (ShowButton()) FButton->SetStyle(Value);
}

QAction* TSpecialEdit::IndexToItem(int Index) const {
  if (!FDropDownMenu || Index < 0) return nullptr;
  int N = 0;
  for (QAction* Item : FDropDownMenu->actions()) {
    if (Item->isSeparator()) continue;
    if (FIndexByTag ? ControlTag(Item) == Index : N == Index) return Item;
    ++N;
  }
  return nullptr;
}

int TSpecialEdit::ItemToIndex(const QAction* Item) const {
  if (!FDropDownMenu || !Item) return -1;
  int N = 0;
  for (const QAction* A : FDropDownMenu->actions()) {
    if (A == Item) return FIndexByTag ? ControlTag(Item) : N;
    if (!A->isSeparator()) ++N;
  }
  return -1;
}

QRect TSpecialEdit::TextRect() const {
  TRect R = ClientRect();
  if (ShowButton()) R.Right -= FButton->width();
  return QRect(R.Left + 2, R.Top + 2, std::max(0, R.Width() - 4), std::max(0, R.Height() - 4));
}

QString TSpecialEdit::DisplayedText() const {
  QString Shown = Text();
  if (FMinimize) {
    const QFontMetrics Metrics(font());
    const int Width = TextRect().width();
    const bool IsPath = (Shown.size() >= 2 && Shown[1] == u':') || Shown.startsWith(u'/');
    Shown = IsPath ? MinimizeName(Shown, Metrics, Width) : EllipsisText(Shown, Metrics, Width);
  }
  if (OnDisplayText) OnDisplayText(const_cast<TSpecialEdit*>(this), Shown);
  return Shown;
}

void TSpecialEdit::PlaceButton() {
  if (!ShowButton()) return;
  const TRect R = ClientRect();
  const int A = Round(R.Height() * 3 / 4.0);
  const int Left = R.Right - A + (A % 2) - 3;
  FButton->setGeometry(Left, R.Top, R.Right - Left, R.Height());
}

void TSpecialEdit::resizeEvent(QResizeEvent* Event) {
  TThemedCustomControl::resizeEvent(Event);
  const int Height = FontEditHeight(font(), Ctl3D() && BorderStyle() == TBorderStyle::bsSingle);
  if (height() < Height) {
    resize(width(), Height);
    return;
  }
  PlaceButton();
}

void TSpecialEdit::changeEvent(QEvent* Event) {
  TThemedCustomControl::changeEvent(Event);
  if (Event->type() == QEvent::EnabledChange) {
    UpdateButtonEnabled();
    update();
  }
}

void TSpecialEdit::Paint(QPainter& Canvas) {
  const TVisualStyle& Style = ActiveStyle();
  const bool Styled = IsStyleEnabled() && !Style.SystemStyle;
  const TColor Back = Styled ? (isEnabled() ? Style.EditField : Style.EditFieldDisabled) : ControlColor(this);
  const TColor Fore = Styled ? (isEnabled() ? Style.WindowText : clGrayText)
                             : (isEnabled() ? FromQColor(palette().color(QPalette::WindowText)) : clBtnShadow);
  FillRectColor(Canvas, Back, ClientRect());
  Canvas.setFont(font());
  Canvas.setPen(ToQColor(Fore));
  const QRect Area = TextRect();
  Canvas.setClipRect(Area, Qt::IntersectClip);
  Canvas.drawText(Area, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, DisplayedText());
}

void TSpecialEdit::Click() {
  setFocus(Qt::MouseFocusReason);
  if (!FReadOnly) DropDown();
  if (OnClick) OnClick(this);
}

void TSpecialEdit::mousePressEvent(QMouseEvent* Event) {
  TThemedCustomControl::mousePressEvent(Event);
  if (Event->button() == Qt::LeftButton) {
    FPressed = true;
    setFocus(Qt::MouseFocusReason);
  }
}

void TSpecialEdit::mouseReleaseEvent(QMouseEvent* Event) {
  TThemedCustomControl::mouseReleaseEvent(Event);
  if (Event->button() != Qt::LeftButton || !FPressed) return;
  FPressed = false;
  if (rect().contains(Event->position().toPoint())) Click();
}

void TSpecialEdit::keyPressEvent(QKeyEvent* Event) {
  if ((Event->key() == Qt::Key_Right || Event->key() == Qt::Key_Down) && !(Event->modifiers() & ~Qt::KeypadModifier)) {
    Click();
    return;
  }
  TThemedCustomControl::keyPressEvent(Event);
}

void TSpecialEdit::ButtonClick() {
  setFocus(Qt::MouseFocusReason);
  DropDown();
  if (OnBtnClick) OnBtnClick(this);
}

void TSpecialEdit::DropDown() {
  if (!FDropDownMenu) return;
  if (FDateCloseUp && MonoNow() - *FDateCloseUp < CloseUpGuard) return;
  QPointer<TSpecialEdit> Self(this);
  QPointer<QMenu> Menu(FDropDownMenu);
  const QAction* Current = IndexToItem(FItemIndex);
  for (QAction* Item : Menu->actions()) {
    if (Item->isSeparator()) continue;
    Item->setCheckable(true);
    Item->setChecked(Item == Current);
  }
  SetPopupComponent(Menu, this);
  const QMetaObject::Connection Binding = connect(Menu, &QMenu::triggered, this, [this, Menu](QAction* Item) {
    if (Menu && Menu->actions().contains(Item)) MenuItemClick(Item);
  });
  Menu->exec(mapToGlobal(QPoint(0, height())));
  if (!Self) return;
  disconnect(Binding);
  FDateCloseUp = MonoNow();
}

void TSpecialEdit::MenuItemClick(QAction* Item) {
  const int Index = ItemToIndex(Item);
  if (Index < 0) return;
  const bool IsChange = Index != FItemIndex;
  if (IsChange) SetItemIndex(Index);
  if (OnSelectItem) OnSelectItem(this, IsChange);
}
