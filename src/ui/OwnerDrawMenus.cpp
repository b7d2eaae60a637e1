#include "ui/OwnerDrawMenus.h"

#include "i18n/LibLang.h"
#include "ui/DrawUtils.h"
#include "ui/UtilsDPI.h"
#include "ui/WinVersion.h"

#include <QAction>
#include <QActionEvent>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPointer>
#include <QProxyStyle>
#include <QStyleOptionMenuItem>

namespace {

// Key codes of the short-cuts (the platform's virtual keys) and the keys
// they stand for.
struct TKeyCode {
  int Code;
  Qt::Key Key;
};

constexpr TKeyCode NamedKeys[] = {
    {8, Qt::Key_Backspace}, {9, Qt::Key_Tab},    {13, Qt::Key_Return}, {13, Qt::Key_Enter},
    {27, Qt::Key_Escape},   {32, Qt::Key_Space}, {33, Qt::Key_PageUp}, {34, Qt::Key_PageDown},
    {35, Qt::Key_End},      {36, Qt::Key_Home},  {37, Qt::Key_Left},   {38, Qt::Key_Up},
    {39, Qt::Key_Right},    {40, Qt::Key_Down},  {45, Qt::Key_Insert}, {46, Qt::Key_Delete},
};
constexpr TrId NamedKeyTexts[] = {TrId::GetMnuBkSp,  TrId::GetMnuTab,   TrId::GetMnuEnter, TrId::GetMnuEnter,
                                  TrId::GetMnuEsc,   TrId::GetMnuSpace, TrId::GetMnuPgUp,  TrId::GetMnuPgDn,
                                  TrId::GetMnuEnd,   TrId::GetMnuHome,  TrId::GetMnuLeft,  TrId::GetMnuUp,
                                  TrId::GetMnuRight, TrId::GetMnuDown,  TrId::GetMnuIns,   TrId::GetMnuDel};
static_assert(std::size(NamedKeys) == std::size(NamedKeyTexts));

// The other keys with a code, named as the keyboard names them.
constexpr TKeyCode OtherKeys[] = {
    {19, Qt::Key_Pause},       {20, Qt::Key_CapsLock},     {44, Qt::Key_Print},      {106, Qt::Key_Asterisk},
    {107, Qt::Key_Plus},       {109, Qt::Key_Minus},       {110, Qt::Key_Period},    {111, Qt::Key_Slash},
    {144, Qt::Key_NumLock},    {145, Qt::Key_ScrollLock},  {186, Qt::Key_Semicolon}, {187, Qt::Key_Equal},
    {188, Qt::Key_Comma},      {189, Qt::Key_Minus},       {190, Qt::Key_Period},    {191, Qt::Key_Slash},
    {192, Qt::Key_QuoteLeft},  {219, Qt::Key_BracketLeft}, {220, Qt::Key_Backslash}, {221, Qt::Key_BracketRight},
    {222, Qt::Key_Apostrophe},
};

QString KeyName(int Code) {
  for (size_t I = 0; I < std::size(NamedKeys); ++I)
    if (NamedKeys[I].Code == Code) return Tr(NamedKeyTexts[I]);
  if ((Code >= '0' && Code <= '9') || (Code >= 'A' && Code <= 'Z')) return QString(QChar(Code));
  if (Code >= 96 && Code <= 105) return QString(QChar('0' + Code - 96)); // the numeric keypad
  if (Code >= 112 && Code <= 135) return QStringLiteral("F%1").arg(Code - 111);
  for (const TKeyCode& K : OtherKeys)
    if (K.Code == Code) return QKeySequence(K.Key).toString(QKeySequence::NativeText);
  return {};
}

int CodeOfKey(Qt::Key Key, bool Keypad) {
  if (Key >= Qt::Key_0 && Key <= Qt::Key_9) return Keypad ? 96 + (Key - Qt::Key_0) : '0' + (Key - Qt::Key_0);
  if (Key >= Qt::Key_A && Key <= Qt::Key_Z) return 'A' + (Key - Qt::Key_A);
  if (Key >= Qt::Key_F1 && Key <= Qt::Key_F24) return 112 + (Key - Qt::Key_F1);
  if (Keypad) {
    // The keypad's own operator keys.
    switch (Key) {
    case Qt::Key_Asterisk:
      return 106;
    case Qt::Key_Plus:
      return 107;
    case Qt::Key_Minus:
      return 109;
    case Qt::Key_Period:
      return 110;
    case Qt::Key_Slash:
      return 111;
    default:
      break;
    }
  }
  for (const TKeyCode& K : NamedKeys)
    if (K.Key == Key) return K.Code;
  for (const TKeyCode& K : OtherKeys)
    if (K.Key == Key && K.Code > 111) return K.Code;
  for (const TKeyCode& K : OtherKeys)
    if (K.Key == Key) return K.Code;
  return 0;
}

TMenuColors& Colors() {
  static TMenuColors C;
  return C;
}

int IconSize = 0;

// The width of the check mark and of the column it stands in without icons.
int CheckWidth() { return ScaleByDPI(15); }

QColor Q(TColor C) { return ToQColor(C); }

void DrawCheckMark(QPainter& P, const QRect& Box, const QColor& Color) {
  // A tick in the box: down to the lower third, then up to the top right.
  const double W = Box.width(), H = Box.height();
  const QPointF Points[] = {{Box.left() + W * 0.22, Box.top() + H * 0.52},
                            {Box.left() + W * 0.42, Box.top() + H * 0.72},
                            {Box.left() + W * 0.78, Box.top() + H * 0.30}};
  P.save();
  P.setRenderHint(QPainter::Antialiasing, true);
  P.setPen(QPen(Color, std::max(1.5, W / 8.0), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  P.drawPolyline(Points, 3);
  P.restore();
}

class TMenuStyle : public QProxyStyle {
public:
  QSize sizeFromContents(ContentsType Type, const QStyleOption* Option, const QSize& Size,
                         const QWidget* Widget) const override {
    const auto* Item = qstyleoption_cast<const QStyleOptionMenuItem*>(Option);
    if (!Item || (Type != CT_MenuItem && Type != CT_MenuBarItem))
      return QProxyStyle::sizeFromContents(Type, Option, Size, Widget);
    const QFontMetrics Metrics(Item->font);
    const int Column = ColumnWidth(Type == CT_MenuBarItem, !Item->icon.isNull());
    if (Type == CT_MenuBarItem) {
      const QSize Base = QProxyStyle::sizeFromContents(Type, Option, Size, Widget);
      return {Base.width() + Column, Base.height()};
    }
    const bool Separator = Item->menuItemType == QStyleOptionMenuItem::Separator;
    const int Height = MenuItemHeight(Separator, ScreenPixelsPerInch(), Metrics.height(), IconSize);
    if (Separator) return {Size.width(), Height};
    QString Text = Item->text;
    Text.replace(QLatin1Char('\t'), QStringLiteral("XX"));
    Text.remove(QLatin1Char('&'));
    return {Column + Metrics.horizontalAdvance(Text) + CheckWidth(), Height};
  }

  int pixelMetric(PixelMetric Metric, const QStyleOption* Option, const QWidget* Widget) const override {
    // The items fill the menu: their own measures hold.
    switch (Metric) {
    case PM_MenuHMargin:
    case PM_MenuVMargin:
      return 0;
    case PM_MenuPanelWidth:
      return 1;
    default:
      return QProxyStyle::pixelMetric(Metric, Option, Widget);
    }
  }

  void drawPrimitive(PrimitiveElement Element, const QStyleOption* Option, QPainter* P,
                     const QWidget* Widget) const override {
    if (Element == PE_PanelMenu || Element == PE_FrameMenu) {
      P->fillRect(Option->rect, Q(Colors().Background));
      P->setPen(Q(Colors().Separator));
      P->drawRect(Option->rect.adjusted(0, 0, -1, -1));
      return;
    }
    QProxyStyle::drawPrimitive(Element, Option, P, Widget);
  }

  void drawControl(ControlElement Element, const QStyleOption* Option, QPainter* P,
                   const QWidget* Widget) const override {
    const auto* Item = qstyleoption_cast<const QStyleOptionMenuItem*>(Option);
    if (!Item || (Element != CE_MenuItem && Element != CE_MenuBarItem && Element != CE_MenuEmptyArea &&
                  Element != CE_MenuBarEmptyArea)) {
      QProxyStyle::drawControl(Element, Option, P, Widget);
      return;
    }
    if (Element == CE_MenuEmptyArea || Element == CE_MenuBarEmptyArea) {
      P->fillRect(Option->rect, Q(Element == CE_MenuBarEmptyArea ? clMenuBar : Colors().Background));
      return;
    }
    DrawItem(*Item, Element == CE_MenuBarItem, P, Widget);
  }

private:
  static int ColumnWidth(bool MenuBar, bool HasIcon) {
    if (MenuBar) return IconSize > 0 && HasIcon ? IconSize + 6 : 0;
    return IconSize > 0 ? IconSize + 6 : CheckWidth();
  }

  void DrawItem(const QStyleOptionMenuItem& Item, bool MenuBar, QPainter* P, const QWidget* Widget) const {
    const TMenuColors& C = Colors();
    QRect R = Item.rect;
    if (Item.menuItemType == QStyleOptionMenuItem::Separator) {
      P->fillRect(R, Q(C.Background));
      P->fillRect(QRect(R.left(), R.top() + R.height() / 2, R.width(), 1), Q(C.Separator));
      return;
    }
    const bool Enabled = Item.state & State_Enabled;
    const bool Selected = (Item.state & State_Selected) && (MenuBar || Enabled);
    // The background: a flat selection box, else the menu colour.
    if (Selected) {
      QRect Box = MenuBar ? R.adjusted(0, 1, 0, -1) : R;
      P->fillRect(Box, Q(C.SelectionFrame));
      P->fillRect(Box.adjusted(1, 1, -1, -1), Q(C.SelectionFill));
    } else {
      P->fillRect(R, Q(MenuBar ? clMenuBar : C.Background));
    }
    const QColor Text = Q(Enabled ? C.Text : C.DisabledText);
    const bool Checked = Item.checkType != QStyleOptionMenuItem::NotCheckable && Item.checked;
    const int Column = ColumnWidth(MenuBar, !Item.icon.isNull());
    if (Checked) {
      const int Side = IconSize > 0 ? IconSize : CheckWidth();
      const QRect Box(R.left() + 1, R.top() + (R.height() - Side) / 2, Side, Side);
      if (IconSize > 0) {
        P->setPen(Text);
        P->setBrush(Qt::NoBrush);
        P->drawRect(Box.adjusted(0, 0, -1, -1));
      }
      const int W = CheckWidth();
      const QRect Mark((Box.left() + Box.right() + 1 - W) / 2 + 1, (Box.top() + Box.bottom() + 1 - W) / 2, W, W);
      DrawCheckMark(*P, Mark, Text);
    } else if (IconSize > 0 && !Item.icon.isNull()) {
      const QPixmap Icon = Item.icon.pixmap(QSize(IconSize, IconSize), Enabled ? QIcon::Normal : QIcon::Disabled);
      const int Top = Enabled ? R.top() + 1 : R.top() + (R.height() - IconSize) / 2;
      P->drawPixmap(R.left() + 1, Top, Icon);
    }
    QFont Font = Item.font;
    if (Item.menuItemType == QStyleOptionMenuItem::DefaultItem) Font.setBold(true);
    P->setFont(Font);
    const bool ShowMnemonic = styleHint(SH_UnderlineShortcut, &Item, Widget);
    const int Mnemonic = ShowMnemonic ? Qt::TextShowMnemonic : Qt::TextHideMnemonic;
    QRect TextRect(R.left() + Column, R.top(), R.width() - Column, R.height() - 1);
    const qsizetype Tab = Item.text.indexOf(QLatin1Char('\t'));
    const QString Caption = Tab < 0 ? Item.text : Item.text.left(Tab);
    P->setPen(Text);
    if (MenuBar) {
      P->drawText(TextRect, Qt::AlignCenter | Qt::TextSingleLine | Mnemonic, Caption);
      return;
    }
    TextRect.setRight(R.right() - CheckWidth());
    P->drawText(TextRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextExpandTabs | Mnemonic,
                Caption);
    if (const QString Keys = ShortCutOfItem(Item, Widget, Tab); !Keys.isEmpty()) {
      P->setPen(Enabled && !Selected ? Q(C.ShortCutText) : Text);
      P->drawText(TextRect, Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine, Keys);
    }
    if (Item.menuItemType == QStyleOptionMenuItem::SubMenu) {
      QStyleOption Arrow(Item);
      Arrow.rect = QRect(R.right() - CheckWidth(), R.top(), CheckWidth(), R.height());
      Arrow.palette.setColor(QPalette::ButtonText, Text);
      Arrow.palette.setColor(QPalette::WindowText, Text);
      QProxyStyle::drawPrimitive(PE_IndicatorArrowRight, &Arrow, P, Widget);
    }
  }

  // The item's short-cut in the program's own words: from its action when
  // the menu is known, else the text the menu gave.
  static QString ShortCutOfItem(const QStyleOptionMenuItem& Item, const QWidget* Widget, qsizetype Tab) {
    if (const auto* Menu = qobject_cast<const QMenu*>(Widget))
      if (const QAction* Action = Menu->actionAt(Item.rect.center()); Action && !Action->shortcut().isEmpty())
        return ShortCutText(Action->shortcut());
    return Tab < 0 ? QString() : Item.text.mid(Tab + 1);
  }
};

QStyle* MenuStyle() {
  static QPointer<TMenuStyle> Style;
  if (!Style) {
    Style = new TMenuStyle;
    Style->setParent(qApp);
  }
  return Style;
}

// Hooks the submenus that a menu gains later.
class TMenuWatcher : public QObject {
public:
  using QObject::QObject;

protected:
  bool eventFilter(QObject* Watched, QEvent* Event) override {
    if (Event->type() == QEvent::ActionAdded || Event->type() == QEvent::ActionChanged)
      OwnerDrawMenuItem(static_cast<QActionEvent*>(Event)->action());
    return QObject::eventFilter(Watched, Event);
  }
};

QObject* MenuWatcher() {
  static QPointer<TMenuWatcher> Watcher;
  if (!Watcher) Watcher = new TMenuWatcher(qApp);
  return Watcher;
}

constexpr const char* OwnerDrawnProperty = "OwnerDrawn";

} // namespace

QString ShortCutToTextLoc(int ShortCut) {
  const QString Name = KeyName(ShortCut & 0xFF);
  if (Name.isEmpty()) return {};
  QString Text;
  if (ShortCut & scShift) Text += Tr(TrId::GetMnuShift);
  if (ShortCut & scCtrl) Text += Tr(TrId::GetMnuCtrl);
  if (ShortCut & scAlt) Text += Tr(TrId::GetMnuAlt);
  return Text + Name;
}

int ShortCutOf(const QKeySequence& Keys) {
  if (Keys.isEmpty()) return 0;
  const QKeyCombination First = Keys[0];
  const Qt::KeyboardModifiers Mods = First.keyboardModifiers();
  const int Code = CodeOfKey(First.key(), Mods & Qt::KeypadModifier);
  if (Code == 0) return 0;
  return Code | (Mods & Qt::ShiftModifier ? scShift : 0) | (Mods & Qt::ControlModifier ? scCtrl : 0) |
         (Mods & Qt::AltModifier ? scAlt : 0);
}

QString ShortCutText(const QKeySequence& Keys) { return ShortCutToTextLoc(ShortCutOf(Keys)); }

const TMenuColors& MenuColors() { return Colors(); }

void SetMenuColors(TColor Base) {
  TMenuColors& C = Colors();
  C.SelectionFrame = Base;
  C.SelectionFill = MixColorsF(C.Background, Base, 0.2);
  C.DisabledText = MixColorsF(C.Text, C.Background, 0.7);
  C.Separator = C.DisabledText;
}

void SetMenuIconSize(int Size) { IconSize = std::max(0, Size); }
int MenuIconSize() { return IconSize; }

int MenuItemHeight(bool Separator, int ScreenDpi, int FontHeight, int IconHeight) {
  if (Separator) return IsWin8 ? 7 : IsWinVista ? 8 : 9;
  int H = (8 * ScreenDpi + 48) / 96 + FontHeight;
  if (IconHeight > 0) {
    const int Least = IconHeight + 2;
    if (H < Least)
      H = Least;
    else if ((H - Least) % 2 != 0)
      ++H;
  }
  return H;
}

bool IsOwnerDrawn(const QMenu* Menu) { return Menu && Menu->property(OwnerDrawnProperty).toBool(); }

void OwnerDrawMenu(QMenu* Menu) {
  if (!Menu || IsOwnerDrawn(Menu)) return;
  Menu->setProperty(OwnerDrawnProperty, true);
  Menu->setStyle(MenuStyle());
  Menu->installEventFilter(MenuWatcher());
  const QList<QAction*> Items = Menu->actions();
  for (auto It = Items.crbegin(); It != Items.crend(); ++It) OwnerDrawMenuItem(*It);
}

void OwnerDrawMenuItem(QAction* Item) {
  if (Item) OwnerDrawMenu(Item->menu());
}

void OwnerDrawMainMenu(QMenuBar* Bar, bool TopLevel) {
  if (!Bar || Bar->property(OwnerDrawnProperty).toBool()) return;
  Bar->setProperty(OwnerDrawnProperty, true);
  const QList<QAction*> Items = Bar->actions();
  for (auto It = Items.crbegin(); It != Items.crend(); ++It) OwnerDrawMenuItem(*It);
  if (TopLevel) Bar->setStyle(MenuStyle());
}

void SetMenuBarTextItems(QMenuBar* Bar) {
  if (Bar && Bar->style() == MenuStyle()) Bar->setStyle(nullptr);
}
