#include "ui/CompUtils.h"

#include "platform/Bitmap.h"
#include "platform/FontUtils.h"
#include "raster/Shadow.h"
#include "ui/DlgColors.h"
#include "ui/DlgEx.h"
#include "ui/DrawUtils.h"
#include "ui/ThemedCustomControl.h"
#include "ui/UtilsDPI.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QStylePainter>
#include <QStyledItemDelegate>

namespace {

using TItemPainter = void (*)(const QComboBox*, QPainter&, int, const QRect&, uint8_t);

int ItemHeight(const QComboBox* Combo) { return Combo->property("OwnerDrawItemHeight").toInt(); }

// Paints the list items of an owner-drawn combo.
class TOwnerDrawDelegate : public QStyledItemDelegate {
public:
  TOwnerDrawDelegate(QComboBox* Combo, TItemPainter Painter)
      : QStyledItemDelegate(Combo), FCombo(Combo), FPainter(Painter) {}
  void paint(QPainter* Painter, const QStyleOptionViewItem& Option, const QModelIndex& Index) const override {
    Painter->save();
    FPainter(FCombo, *Painter, Index.row(), Option.rect, (Option.state & QStyle::State_Selected) ? odSelected : 0);
    Painter->restore();
  }
  QSize sizeHint(const QStyleOptionViewItem& Option, const QModelIndex& Index) const override {
    return {QStyledItemDelegate::sizeHint(Option, Index).width(), ItemHeight(FCombo)};
  }

private:
  QComboBox* FCombo;
  TItemPainter FPainter;
};

// Paints the edit part of an owner-drawn combo: the frame and arrow by the
// style, the item by the picker's painter.
class TOwnerDrawEditPainter : public QObject {
public:
  TOwnerDrawEditPainter(QComboBox* Combo, TItemPainter Painter) : QObject(Combo), FCombo(Combo), FPainter(Painter) {}
  bool eventFilter(QObject* Watched, QEvent* Event) override {
    if (Watched != FCombo || Event->type() != QEvent::Paint) return false;
    QStylePainter P(FCombo);
    QStyleOptionComboBox Option;
    Option.initFrom(FCombo);
    Option.editable = false;
    Option.frame = true;
    P.drawComplexControl(QStyle::CC_ComboBox, Option);
    const QRect Edit =
        FCombo->style()->subControlRect(QStyle::CC_ComboBox, &Option, QStyle::SC_ComboBoxEditField, FCombo);
    if (FCombo->currentIndex() >= 0) {
      P.save();
      P.setClipRect(Edit);
      FPainter(FCombo, P, FCombo->currentIndex(), Edit, odComboBoxEdit);
      P.restore();
    }
    return true;
  }

private:
  QComboBox* FCombo;
  TItemPainter FPainter;
};

void InstallPainter(QComboBox* Combo, TItemPainter Painter) {
  PrepareOwnerDrawCombo(Combo);
  delete Combo->itemDelegate();
  Combo->setItemDelegate(new TOwnerDrawDelegate(Combo, Painter));
  Combo->installEventFilter(new TOwnerDrawEditPainter(Combo, Painter));
}

int ResolveIndex(const QComboBox* Combo, int Index) { return Index == -1 ? Combo->currentIndex() : Index; }

// The glyph of a toolbar button centred in Rect.
void DrawGlyph(QPainter& Canvas, const QRect& Rect, uint8_t State, const QPixmap& Glyph, const QPixmap& DisabledGlyph) {
  const QPixmap& P = (State & tbsDisabled) && !DisabledGlyph.isNull() ? DisabledGlyph : Glyph;
  if (P.isNull()) return;
  const QSize S = P.deviceIndependentSize().toSize();
  Canvas.drawPixmap(Rect.x() + (Rect.width() - S.width()) / 2, Rect.y() + (Rect.height() - S.height()) / 2, P);
}

// Whether a toolbar button shows its highlight.
bool Highlighted(uint8_t State) {
  return (!(State & tbsSelected) || (State & tbsDown)) && (State & (tbsChecked | tbsHot));
}

TRect ToTRect(const QRect& R) { return Bounds(R.x(), R.y(), R.width(), R.height()); }

bool ListOpen(const QComboBox* Combo) { return Combo->view() && Combo->view()->isVisible(); }

// The background of the brush and pen items; false when the combo is
// disabled (its own colour, nothing more to draw).
bool StyleItemBackground(const QComboBox* Combo, QPainter& Canvas, const QRect& Rect, uint8_t State) {
  if (!Combo->isEnabled()) {
    Canvas.fillRect(Rect, Combo->palette().color(QPalette::Base));
    return false;
  }
  const bool Accent = (State & odSelected) && !(State & odComboBoxEdit);
  Canvas.fillRect(Rect, ToQColor(Accent ? clDlgAccent : clWhite));
  return true;
}

void ListItemBackground(const QComboBox* Combo, QPainter& Canvas, const QRect& Rect, uint8_t State) {
  const bool Accent = (State & odSelected) && ListOpen(Combo);
  Canvas.fillRect(Rect, ToQColor(Accent ? clDlgAccent : clWhite));
}

} // namespace

int FontEditHeight(const QFont& Font, bool Ctl3D) { return QFontMetrics(Font).height() + (Ctl3D ? 8 : 6); }

int ControlEditHeight(const QWidget* Control) {
  bool Ctl3D = true;
  if (auto* Themed = qobject_cast<const TThemedCustomControl*>(Control)) Ctl3D = Themed->Ctl3D();
  if (auto* Edit = qobject_cast<const QLineEdit*>(Control)) Ctl3D = Edit->hasFrame();
  return FontEditHeight(Control->font(), Ctl3D);
}

void FillFontList(QComboBox* Combo) {
  QString Last;
  for (const QString& Family : QFontDatabase::families()) {
    if (Family.startsWith(u'@')) continue;
    if (!Last.isEmpty() && Family.compare(Last, Qt::CaseInsensitive) == 0) continue;
    const int Type = QFontDatabase::isScalable(Family) ? TRUETYPE_FONTTYPE : RASTER_FONTTYPE;
    Combo->addItem(Family, Type);
    Last = Family;
  }
  Combo->model()->sort(0);
}

void SelectDefaultFont(QComboBox* Combo) {
  if (Combo->currentIndex() >= 0 || Combo->count() == 0) return;
  const int Arial = Combo->findText(QStringLiteral("Arial"));
  Combo->setCurrentIndex(Arial >= 0 ? Arial : 0);
}

void PrepareOwnerDrawCombo(QComboBox* Combo) {
  const QWidget* Main = MainFormWindow();
  const QFont Font = Main ? Main->font() : QApplication::font();
  Combo->setProperty("OwnerDrawItemHeight", FontEditHeight(Font, true) - 6);
  Combo->setEditable(false);
}

int ToQtBrushStyle(TComboBrushStyle Style) {
  switch (Style) {
  case TComboBrushStyle::bsSolid:
    return Qt::SolidPattern;
  case TComboBrushStyle::bsHorizontal:
    return Qt::HorPattern;
  case TComboBrushStyle::bsVertical:
    return Qt::VerPattern;
  case TComboBrushStyle::bsFDiagonal:
    return Qt::FDiagPattern; // top-left to bottom-right in both
  case TComboBrushStyle::bsBDiagonal:
    return Qt::BDiagPattern; // bottom-left to top-right in both
  case TComboBrushStyle::bsCross:
    return Qt::CrossPattern;
  case TComboBrushStyle::bsDiagCross:
    return Qt::DiagCrossPattern;
  default:
    return Qt::NoBrush;
  }
}

void InitBrushStyleCombo(QComboBox* Combo) {
  InstallPainter(Combo, DrawBrushStyleItem);
  Combo->addItems({"bsSolid", "bsHorizontal", "bsVertical", "bsFDiagonal", "bsBDiagonal", "bsCross", "bsDiagCross"});
  Combo->setCurrentIndex(0);
}

TComboBrushStyle ComboBrushStyle(const QComboBox* Combo, int Index) {
  Index = ResolveIndex(Combo, Index);
  if (Index == 0) return TComboBrushStyle::bsSolid;
  if (Index >= 1 && Index <= 6) return static_cast<TComboBrushStyle>(Index + 1);
  return TComboBrushStyle::bsClear;
}

void InitPenStyleCombo(QComboBox* Combo, bool WithLines) {
  InstallPainter(Combo, DrawPenStyleItem);
  if (WithLines) Combo->addItems({"psLine1", "psLine2"});
  Combo->addItems({"psSolid", "psDash", "psDot", "psDashDot", "psDashDotDot", "psClear"});
  Combo->setCurrentIndex(0);
}

int ComboPenStyle(const QComboBox* Combo, int Index) {
  Index = ResolveIndex(Combo, Index);
  if (Index < 0) return 0;
  if (Combo->count() == 6) return Index;
  return Index < 2 ? PenStyleUser : Index - 2;
}

void InitFontCombo(QComboBox* Combo) {
  InstallPainter(Combo, DrawFontItem);
  FillFontList(Combo);
}

int ComboFontType(const QComboBox* Combo, int Index) {
  Index = ResolveIndex(Combo, Index);
  if (Index < 0 || Index >= Combo->count()) return 0;
  return Combo->itemData(Index).toInt();
}

void InitColorCombo(QComboBox* Combo) {
  InstallPainter(Combo, DrawColorItem);
  const std::pair<const char*, TColor> Colors[] = {{"Red", 0x0000FF},    {"Green", 0x008000},   {"Blue", 0xFF0000},
                                                   {"Yellow", 0x00FFFF}, {"Fuchsia", 0xFF00FF}, {"Aqua", 0xFFFF00}};
  for (const auto& [Name, Color] : Colors) Combo->addItem(QString::fromLatin1(Name), Color);
  Combo->setCurrentIndex(0);
}

TColor ComboColor(const QComboBox* Combo, int Index) {
  Index = ResolveIndex(Combo, Index);
  if (Index < 0 || Index >= Combo->count()) Index = 0;
  return Combo->count() > 0 ? Combo->itemData(Index).toInt() : clNone;
}

void DrawBrushStyleItem(const QComboBox* Combo, QPainter& Canvas, int Index, const QRect& Rect, uint8_t State) {
  if (!StyleItemBackground(Combo, Canvas, Rect, State)) return;
  const QRect R = (State & odComboBoxEdit) ? Rect : Rect.adjusted(1, 1, -1, -1);
  Canvas.setBrushOrigin(R.topLeft());
  Canvas.setBrush(QBrush(Qt::black, static_cast<Qt::BrushStyle>(ToQtBrushStyle(ComboBrushStyle(Combo, Index)))));
  Canvas.setPen(Qt::black);
  Canvas.drawRect(R.adjusted(0, 0, -1, -1));
}

void DrawPenStyleItem(const QComboBox* Combo, QPainter& Canvas, int Index, const QRect& Rect, uint8_t State) {
  if (!StyleItemBackground(Combo, Canvas, Rect, State)) return;
  const int D = ScaleByDPI(4);
  const QRect R = Rect.adjusted(2 + D / 2, (4 * D) / 3, -(2 + D / 2), -((4 * D) / 3));
  const QString Item = Combo->itemText(Index);
  if (Item == u"psLine1") {
    Canvas.fillRect(R, Qt::black);
    return;
  }
  if (Item == u"psLine2") {
    Canvas.setPen(Qt::black);
    Canvas.setBrush(ToQColor(0xDCDCDC));
    Canvas.drawRect(R.adjusted(0, 0, -1, -1));
    return;
  }
  static const Qt::PenStyle Styles[] = {Qt::SolidLine,   Qt::DashLine,       Qt::DotLine,
                                        Qt::DashDotLine, Qt::DashDotDotLine, Qt::NoPen};
  const int Style = ComboPenStyle(Combo, Index);
  if (Style < 0 || Style > 5) return;
  QPen Pen(Qt::black, D, Styles[Style], Qt::FlatCap);
  Canvas.setPen(Pen);
  const int Y = R.top() + R.height() / 2;
  Canvas.drawLine(R.left(), Y, R.right(), Y);
}

void DrawFontItem(const QComboBox* Combo, QPainter& Canvas, int Index, const QRect& Rect, uint8_t State) {
  ListItemBackground(Combo, Canvas, Rect, State);
  const QString Name = Combo->itemText(Index);
  QFont Font = Combo->font();
  QString Text = Name;
  if (IsTextFont(Name))
    Font.setFamily(Name);
  else
    Text = u'<' + Name + u'>';
  if (Combo->font().pixelSize() > 0) Font.setPixelSize(Combo->font().pixelSize());
  Canvas.setFont(Font);
  Canvas.setPen(Qt::black);
  Canvas.drawText(Rect.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, Text);
}

void DrawColorItem(const QComboBox* Combo, QPainter& Canvas, int Index, const QRect& Rect, uint8_t State) {
  ListItemBackground(Combo, Canvas, Rect, State);
  Canvas.fillRect(Rect.adjusted(2, 2, -2, -2), ToQColor(ComboColor(Combo, Index)));
}

void DrawToolButtonFrame(QPainter& Canvas, const QRect& Rect, uint8_t State, const QPixmap& Glyph,
                         const QPixmap& DisabledGlyph) {
  const TRect R = ToTRect(Rect.adjusted(1, 1, -1, -1));
  FillRectColor(Canvas, clWhite, R);
  Canvas.setBrush(ToQColor(clDlgBorder));
  FillFrameRect(Canvas, R, 1);
  if (Highlighted(State)) {
    Canvas.setBrush(ToQColor((State & tbsChecked) ? clDlgAccent : clBlack));
    FillFrameRect(Canvas, {R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1}, 2); // inside the border
  }
  DrawGlyph(Canvas, Rect, State, Glyph, DisabledGlyph);
}

void DrawToolButtonShadow(QPainter& Canvas, const QRect& Rect, uint8_t State, TColor BackColor, const QPixmap& Glyph,
                          const QPixmap& DisabledGlyph) {
  if (Rect.isEmpty()) return;
  if (!Highlighted(State)) {
    FillRectColor(Canvas, BackColor, ToTRect(Rect));
    DrawGlyph(Canvas, Rect, State, Glyph, DisabledGlyph);
    return;
  }
  // The face and its shadow are drawn into a bitmap of the button's size.
  TBitmap Face(Rect.width(), Rect.height(), pf24bit, BackColor);
  const TRect R{0, 0, Rect.width() - 2, Rect.height() - 2};
  DrawShadow(Face.Canvas(), R, 2, 60, BackColor, true, false);
  Face.Canvas().Brush.Color = clWhite;
  Face.Canvas().FillRect(R);
  Face.Canvas().Brush.Color = 0x474747;
  Face.Canvas().FrameRect(R);
  Canvas.drawImage(Rect.topLeft(), Face.QImageView());
  DrawGlyph(Canvas, Rect, State, Glyph, DisabledGlyph);
}
