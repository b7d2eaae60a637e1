// The image-brush and nozzle pages of the tool palette: the owner-drawn
// lists, mirroring, the brush-file menu and the brush-outline cursor.
#include "tools/ui/Outils.h"

#include "document/Pattern.h"
#include "document/ui/CursorEx.h"
#include "ui/SpecialEdit.h"
#include "ui/SpinEdit.h"
#include "ui/TrackBar.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QStackedWidget>
#include <QStyledItemDelegate>
#include <QToolButton>
#include <QVBoxLayout>

#include <cmath>

namespace {

// Draws a list row: a frame of 2 in the row's background, the preview
// centred in a square of the row's height, the text after it.
class TPreviewDelegate : public QStyledItemDelegate {
public:
  TPreviewDelegate(QObject* Parent, std::function<QImage(int Row)> Preview)
      : QStyledItemDelegate(Parent), FPreview(std::move(Preview)) {}

  void paint(QPainter* P, const QStyleOptionViewItem& Option, const QModelIndex& Index) const override {
    const bool Selected = Option.state & QStyle::State_Selected;
    P->fillRect(Option.rect, Option.palette.color(Selected ? QPalette::Highlight : QPalette::Base));
    const QRect R = Option.rect.adjusted(2, 2, -2, -2);
    const QImage Image = FPreview(Index.row());
    const int H = R.height();
    P->drawImage(R.left() + (H - Image.width()) / 2, R.top() + (H - Image.height()) / 2, Image);
    P->setPen(Option.palette.color(Selected ? QPalette::HighlightedText : QPalette::Text));
    P->drawText(QRect(R.left() + H + 4, R.top(), R.width() - H - 4, H), Qt::AlignVCenter | Qt::AlignLeft,
                Index.data().toString());
  }
  QSize sizeHint(const QStyleOptionViewItem& Option, const QModelIndex& Index) const override {
    return QSize(QStyledItemDelegate::sizeHint(Option, Index).width(), BrushListRowHeight);
  }

private:
  std::function<QImage(int Row)> FPreview;
};

QImage GreyImage(const TBmp8& Grey) {
  TBitmap Bitmap;
  Grey.AssignTo(Bitmap);
  return Bitmap.QImageView().copy();
}

QComboBox* NewList(QWidget* Page, const char* Name) {
  auto* List = new QComboBox(Page);
  List->setObjectName(QString::fromLatin1(Name));
  List->setFocusPolicy(Qt::NoFocus);
  List->setMinimumHeight(BrushListRowHeight + 4);
  static_cast<QVBoxLayout*>(Page->layout())->addWidget(List);
  return List;
}

QToolButton* NewBarButton(QWidget* Bar, const char* Name, const QString& Text) {
  auto* Button = new QToolButton(Bar);
  Button->setObjectName(QString::fromLatin1(Name));
  Button->setText(Text);
  Button->setAutoRaise(true);
  Button->setFocusPolicy(Qt::NoFocus);
  Bar->layout()->addWidget(Button);
  return Button;
}

// The size a list entry's text gives, 3 when it is not a number.
int EntrySize(const QString& Text) {
  bool Ok = false;
  const int Size = Text.toInt(&Ok);
  return Ok ? Size : 3;
}

} // namespace

void TOutilsForm::CreateListPages() {
  QWidget* Page = NewPage(pgDessin2);
  FCBBrush = NewList(Page, "CBBrush");
  FCBBrush->setItemDelegate(new TPreviewDelegate(FCBBrush, [this](int Row) {
    return Row < FBrushes.Count() ? GreyImage(FBrushes.Item(Row).Preview) : QImage();
  }));
  connect(FCBBrush, &QComboBox::activated, this, [this](int Index) {
    FBrushes.ItemIndex = Index;
    CanDrawBrushLine = false;
    FTBSymHorz->setProperty("Tag", 0);
    FTBSymVert->setProperty("Tag", 0);
    MajCureseurExData();
  });
  auto* Bar = new QWidget(Page);
  Bar->setObjectName(QStringLiteral("ToolBarBrush"));
  Bar->setLayout(new QHBoxLayout);
  Bar->layout()->setContentsMargins(0, 0, 0, 0);
  FTBSymHorz = NewBarButton(Bar, "TBSymHorz", QStringLiteral("↔"));
  FTBSymVert = NewBarButton(Bar, "TBSymVert", QStringLiteral("↕"));
  QToolButton* Open = NewBarButton(Bar, "TBBrushOpen", QStringLiteral("…"));
  connect(FTBSymHorz, &QToolButton::clicked, this, [this] { TBSymClick(true); });
  connect(FTBSymVert, &QToolButton::clicked, this, [this] { TBSymClick(false); });
  connect(Open, &QToolButton::clicked, this, [this, Open] {
    // Below the open button, at the left of the mirror buttons when the
    // palette is docked on the left.
    const QPoint Local = Alignment() == 1 ? QPoint(FTBSymHorz->x(), Open->y() + Open->height())
                                          : QPoint(Open->x() + Open->width(), Open->y() + Open->height());
    BrushFileMenu()->popup(Open->parentWidget()->mapToGlobal(Local));
  });
  static_cast<QVBoxLayout*>(Page->layout())->addWidget(Bar);
  QMenu* PopTaille = findChild<QMenu*>(QStringLiteral("PopTaille"));
  AddSpin(Page, "SEBrushTaille", QStringLiteral("Echelle (%)"), 10, 200, 100, PopTaille)->OnChange =
      [this](QObject*) { MajCureseurExData(); };
  AddSlider(Page, "TBDessin2", QStringLiteral("Pression"), 1, 10, 10);
  Control<QWidget>("LblTBDessin2")->setObjectName(QStringLiteral("Label21"));
  AddSlider(Page, "TBBrushStep", QStringLiteral("Pas"), 0, 10, 1);
  Control<QWidget>("LblTBBrushStep")->setObjectName(QStringLiteral("Label22"));
  AddCheck(Page, "CBFade", QStringLiteral("Atténuer"), false);
  AddUnderlinedLabel(Page, "LblBrushMode");

  Page = NewPage(PgNoz);
  FCBNozzle = NewList(Page, "CBNozzle");
  FCBNozzle->setItemDelegate(new TPreviewDelegate(FCBNozzle, [this](int Row) {
    return Row < FNozzles.Count() ? FNozzles.Item(Row).Preview.QImageView().copy() : QImage();
  }));
  connect(FCBNozzle, &QComboBox::activated, this, [this](int Index) {
    FNozzles.ItemIndex = Index;
    Control<TSpinEdit2>("SENozTaille")->SetValue2(100);
    Control<TTrackBar>("TBNozStep")->SetPosition(5);
    MajCureseurExData();
  });
  AddSpin(Page, "SENozTaille", QStringLiteral("Echelle (%)"), 10, 200, 100, PopTaille)->OnChange =
      [this](QObject*) { MajCureseurExData(); };
  AddSlider(Page, "TBNozzle", QStringLiteral("Pression"), 1, 10, 10);
  AddSlider(Page, "TBNozStep", QStringLiteral("Pas"), 0, 10, 5);
}

void TOutilsForm::LoadBrushSet(const QString& Name) {
  LoadBrushList([this, Name] { FBrushes.LoadBrushSet(FServices.BrushDir(), Name); });
}

void TOutilsForm::LoadBrushList(const std::function<void()>& Load) {
  FBrushes.SkippedFiles.clear();
  Load();
  FCBBrush->clear();
  for (int I = 0; I < FBrushes.Count(); ++I) FCBBrush->addItem(FBrushes.Text(I));
  FCBBrush->setCurrentIndex(FBrushes.ItemIndex);
  if (!FBrushes.SkippedFiles.isEmpty()) FServices.ReportSkippedFiles(FBrushes.SkippedFiles);
  MajCureseurExData();
}

void TOutilsForm::TBSymClick(bool Horizontal) {
  QToolButton* Button = Horizontal ? FTBSymHorz : FTBSymVert;
  Button->setProperty("Tag", 1 - Button->property("Tag").toInt());
  FBrushes.MirrorSelected(Horizontal);
  CanDrawBrushLine = false;
  FCBBrush->update();
}

QMenu* TOutilsForm::BrushFileMenu() {
  if (!FPopBrushFile) FPopBrushFile = new QMenu(this);
  FPopBrushFile->clear();
  FPopBrushFile->addAction(QStringLiteral("Réinitialiser"), this, [this] { LoadBrushSet(QString()); });
  FPopBrushFile->addSeparator();
  for (const QString& Name : BrushFileNames(FServices.BrushDir())) {
    QAction* Item = FPopBrushFile->addAction(Name, this, [this, Name] {
      LoadBrushList([this, Name] { FBrushes.LoadBrushes(FServices.BrushDir(), Name, true); });
    });
    Item->setCheckable(true);
    Item->setChecked(Name == FBrushes.CurrentFile);
  }
  return FPopBrushFile;
}

void TOutilsForm::MajCureseurExData() {
  TCursorExData Shape;
  const auto Radius = [this](const char* Name) { return Control<TSpinEdit2>(Name)->Value(); };
  const auto Set = [&Shape](TCursorExStyle Style, int Width) {
    Shape.Style = Style;
    Shape.Width = Width;
  };
  const TToolId Id = Tool();
  if (Id == 5) {
    Set(csCircle, 2 * Radius("SERAero") - 1);
  } else if (Id == 10 && Control<QCheckBox>("CBTamponMotif")->isChecked() &&
             Control<QCheckBox>("CBTamponFixe")->isChecked() && !CurrentPattern().BmpEmpty()) {
    Set(csRectangle, CurrentPattern().Bmp().Width());
    Shape.Height = CurrentPattern().Bmp().Height();
  } else if (Id == 10) {
    Set(Control<QCheckBox>("CBTamponPrecis")->isChecked() ? csRectangle : csCircle,
        2 * Radius("SERTampon") + (Control<QCheckBox>("CBTamponPrecis")->isChecked() ? 1 : -1));
  } else if (Id == 15) {
    Set(csCircle, 2 * Radius("SERDeform") - 5);
  } else if (Id == 8 || Id == 9 || Id == 14 || Id == 16) {
    Set(csCircle, 2 * Radius(Id == 8 ? "SERGoutte" : Id == 9 ? "SERDoigt" : Id == 14 ? "SERRetouche" : "SERArt") - 1);
  } else if (Id == 17) {
    const int Size = FNozzles.ItemIndex >= 0 ? EntrySize(FNozzles.Text(FNozzles.ItemIndex)) : 3;
    Set(csRectangle, int(std::ceil(Radius("SENozTaille") * Size / 100.0)));
  } else if (Id == 3) {
    Set(Control<QComboBox>("CBLineStyle")->currentIndex() < 2 ? csRectangle : csCircle, Radius("SELineWidth"));
  } else if (Id == 7 || (Id == 12 && GommePageIndex == 1)) {
    const int Size = FBrushes.ItemIndex >= 0 ? EntrySize(FBrushes.Text(FBrushes.ItemIndex)) : 3;
    Set(csRectangle, int(std::ceil(Radius("SEBrushTaille") * Size / 100.0)));
  } else if (Id == 6 || Id == 12) {
    // The computed brushes by button: round, soft round, square, slash,
    // backslash, triangle; the glyph brushes by their tag.
    int Button = 0;
    for (int I = 0; I < FBrushButtons.size(); ++I)
      if (FBrushButtons[I]->isChecked()) Button = I;
    static const TCursorExStyle Computed[6] = {csCircle, csCircle, csRectangle, csOblicLine1, csOblicLine2,
                                               csTriangle};
    const int Tag = FBrushButtons[Button]->property("Tag").toInt();
    if (Button < 6)
      Set(Computed[Button], 2 * Radius("SERBrush") + 1);
    else
      Set(TCursorExStyle(Tag / 100), Tag % 100);
  }
  if (Shape.Height == 0) Shape.Height = Shape.Width;
  CursorExData = Shape;
}
