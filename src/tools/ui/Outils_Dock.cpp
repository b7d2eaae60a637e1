// The palette's window: its layout, floating or docked at the left or right
// of the main window, keyboard focus and pending edits, and its settings.
#include "tools/ui/Outils.h"

#include "raster/FoncUtils.h"
#include "tools/ColorStrip.h"
#include "tools/ui/PaletteWidgets.h"
#include "ui/SpecialEdit.h"
#include "ui/SpinEdit.h"
#include "ui/TrackBar.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLineEdit>
#include <QPainter>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStackedWidget>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int ToolBarLeft = 8;
constexpr int ToolButtonWidth = 28;

} // namespace

void TOutilsForm::Layout() {
  FDefWidth = 2 * ToolBarLeft + 3 * ToolButtonWidth;
  // The strip: 8 columns of whole pixels plus a frame line, rows of 5.
  const int StripW = ((FDefWidth - 2 * ToolBarLeft) / 8) * 8 + 1;
  const int StripH = (StripW * 5 / 40) * 5 + 1;
  const int PanelW = StripW / 2, PanelH = int(PanelW * 0.8 + 0.5);
  int Y = 4;
  FPnlCouleur->setGeometry(ToolBarLeft, Y, PanelW, PanelH);
  FPnlFond->setGeometry(ToolBarLeft + PanelW / 2, Y + PanelH / 2, PanelW, PanelH);
  FPnlCouleur->raise();
  FImgSwap->setGeometry(ToolBarLeft + PanelW + 1, Y, 15, 15);
  FImgNB->setGeometry(ToolBarLeft, Y + PanelH + 1, 15, 15);
  FImgGrad2->setGeometry(FDefWidth - ToolBarLeft - 12, Y, 12, PanelH * 3 / 2);
  FImgGrad2->Picture.SetSize(12, PanelH * 3 / 2);
  DrawRainbowStrip(FImgGrad2->Picture, clBtnShadow);
  Y += PanelH * 3 / 2 + 6;
  FImgGrad->setGeometry((FDefWidth - StripW) / 2, Y, StripW, StripH);
  Y += StripH;
  const int ArrowH = style()->pixelMetric(QStyle::PM_ScrollBarExtent) - 2 + 6;
  FBtnPrevGrad->setGeometry(FImgGrad->x(), Y, StripW / 2, ArrowH);
  FBtnNextGrad->setGeometry(FImgGrad->x() + StripW / 2, Y, StripW - StripW / 2, ArrowH);
  Y += ArrowH + 4;
  FTlbBtn->setGeometry(ToolBarLeft, Y, 3 * ToolButtonWidth, 6 * ToolButtonWidth);
  Y += FTlbBtn->height() + 8;
  auto* Separator = new QFrame(FContent);
  Separator->setFrameShape(QFrame::HLine);
  Separator->setGeometry(ToolBarLeft, Y, 3 * ToolButtonWidth, 2);
  Y += 8;
  int PageH = 0;
  for (int I = 0; I < FNbkOptions->count(); ++I) PageH = std::max(PageH, FNbkOptions->widget(I)->sizeHint().height());
  FNbkOptions->setGeometry(ToolBarLeft - 3, Y, 3 * ToolButtonWidth + 6, PageH);
  FCBInvertGomme->setGeometry(ToolBarLeft, Y + PageH - 20, 3 * ToolButtonWidth, 20);
  FDefHeight = Y + PageH + 8;
  FContent->resize(FDefWidth, FDefHeight);
  // Everything sits in a scroll box, so a palette shorter than its content
  // scrolls.
  auto* Scroll = new QScrollArea(this);
  Scroll->setObjectName(QStringLiteral("_ScrollBox"));
  Scroll->setFrameShape(QFrame::NoFrame);
  Scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  Scroll->setWidget(FContent);
  auto* Outer = new QVBoxLayout(this);
  Outer->setContentsMargins(0, 0, 0, 0);
  Outer->addWidget(Scroll);
  const QScreen* Screen = QGuiApplication::primaryScreen();
  FVHeight = std::min(FDefHeight, (Screen ? Screen->availableGeometry().height() : 100000) - 100);
}

void TOutilsForm::PlacePalette() {
  if (Alignment() != 0) return;
  const QWidget* Main = FServices.MainWindow();
  if (!Main) return;
  const QPoint Origin = Main->mapToGlobal(QPoint(0, 0));
  move(Origin.x() + Main->width() - width() - 2 - 4, Origin.y() + 2 + 4);
}

int TOutilsForm::Alignment() const { return FAlignment; }

void TOutilsForm::SetAlignment(int Value) {
  if (Value != 1 && Value != 2) Value = 0;
  if (Value == FAlignment) return;
  const bool WasVisible = isVisible();
  if (WasVisible) hide();
  FAlignment = Value;
  if (Value == 0) {
    setParent(FServices.MainWindow(), Qt::Tool);
    resize(WidthNeeded(FVHeight), FVHeight);
  } else {
    setParent(FServices.MainWindow(), Qt::Widget);
  }
  FServices.PaletteDocked(Value);
  if (WasVisible) show();
}

int TOutilsForm::WidthNeeded(int AHeight) const {
  int Width = FDefWidth + (FAlignment == 1 ? 1 : FAlignment == 2 ? -1 : 0);
  if (AHeight < FDefHeight) Width += style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  return Width;
}

void TOutilsForm::paintEvent(QPaintEvent* Event) {
  TMainDialogForm::paintEvent(Event);
  if (FAlignment == 0) return;
  // The docked palette's edge towards the images.
  QPainter P(this);
  P.setPen(palette().color(QPalette::Dark));
  const int X = FAlignment == 1 ? width() - 1 : 0;
  P.drawLine(X, 0, X, height());
}

// ---- Focus and pending edits -----------------------------------------------------

QWidget* TOutilsForm::FindEditingControl(bool All) const {
  if (!isVisible()) return nullptr;
  QWidget* Focus = QApplication::focusWidget();
  if (!Focus || !isAncestorOf(Focus)) return nullptr;
  if (qobject_cast<TCustomSpinEdit*>(Focus) || qobject_cast<QLineEdit*>(Focus)) return Focus;
  if (!All) return nullptr;
  if (qobject_cast<QSlider*>(Focus)) return Focus;
  if (auto* List = qobject_cast<QComboBox*>(Focus); List && List->view()->isVisible()) return Focus;
  return nullptr;
}

bool TOutilsForm::ValidateEditControls() {
  if (!isVisible() || !FServices.CheckActionKey()) return false;
  const QWidget* Focus = FindEditingControl(false);
  for (TCustomSpinEdit* Spin : findChildren<TCustomSpinEdit*>()) Spin->Commit();
  ValidateEdiHTML();
  ResetFocus();
  return Focus != nullptr;
}

void TOutilsForm::ResetFocus() {
  QWidget* Main = FServices.MainWindow();
  if (FAlignment == 0 && isActiveWindow())
    FPnlCouleur->setFocus();
  else if (Main)
    Main->setFocus();
}

// ---- Settings ----------------------------------------------------------------------

void TOutilsForm::AcceptIniControl(QWidget* Control, bool& Accept) {
  static const QStringList Refused = {"SELayerAlpha", "CBVisible",      "CBLocked",      "EdiLayerMode",
                                      "EdiHTML",      "CBMotifRemplir", "CBTamponMotif", "CBBrush"};
  if (Refused.contains(Control->objectName())) Accept = false;
}

QString TOutilsForm::GetIniCustomVar(int Index) {
  switch (Index) {
  case 0:
  case 1: return ColorToText(ColorToRGB(GetColor(Index == 1)), true).toUpper();
  case 2: return QString::number(FColorsIndex);
  case 3: return FBrushes.CurrentFile;
  case 4:
    return QStringLiteral("%1%2%3")
        .arg(FTBSymHorz->property("Tag").toInt())
        .arg(FTBSymVert->property("Tag").toInt())
        .arg(FBrushes.ItemIndex);
  default: {
    int Down = 0;
    for (int I = 0; I < FBrushButtons.size(); ++I)
      if (FBrushButtons[I]->isChecked()) Down = I;
    return QString::number(FBrushButtons[Down]->property("ImageIndex").toInt());
  }
  }
}

void TOutilsForm::SetIniCustomVar(int Index, const QString& Value) {
  switch (Index) {
  case 0:
  case 1: SetColor(TextToColor(Value, Index == 1 ? clWhite : clBlack, true), Index == 1); break;
  case 2: {
    bool Ok = false;
    const int Strip = Value.toInt(&Ok);
    SetGradIndex(Ok ? std::clamp(Strip, 0, ColorStripCount - 1) : 0);
    break;
  }
  case 3: LoadBrushSet(Value); break;
  case 4: {
    // Characters 3 and 4 are the selected brush; the first two the mirrors.
    bool Ok = false;
    const int Selected = Value.mid(2, 2).toInt(&Ok);
    FBrushes.ItemIndex = !Ok ? 0 : Selected >= 0 && Selected < FBrushes.Count() ? Selected : -1;
    FCBBrush->setCurrentIndex(FBrushes.ItemIndex);
    if (Value.startsWith(QLatin1Char('1'))) TBSymClick(true);
    if (Value.mid(1, 1) == QLatin1String("1")) TBSymClick(false);
    break;
  }
  default: {
    QToolButton* Button = FBrushButtons.first();
    for (QToolButton* Candidate : std::as_const(FBrushButtons))
      if (Candidate->property("ImageIndex").toString() == Value) Button = Candidate;
    BtnBrushClick(Button);
    break;
  }
  }
}

void TOutilsForm::UpdateControls() {
  if (FBrushes.Count() == 0) LoadBrushSet(QString());
  if (FColorsIndex == -1) SetGradIndex(0);
  FServices.SetLineWidth(Control<TSpinEdit2>("SELineWidth")->Value());
  CBTamponClick();
  if (FNozzles.Count() > 0 && FNozzles.ItemIndex < 0) {
    FNozzles.ItemIndex = 0;
    FCBNozzle->setCurrentIndex(0);
  }
  EdiDessinModeChange();
  EdiRetoucheChange();
  CBLineStyleChange();
}
