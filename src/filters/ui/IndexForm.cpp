#include "filters/ui/IndexForm.h"

#include "files/ColorDepth.h"
#include "filters/Filtres24.h"
#include "filters/ui/ColorDialogHost.h"
#include "filters/ui/DialogTexts.h"
#include "ui/RadioGroup.h"

#include <QCheckBox>
#include <QTabWidget>

namespace {

constexpr int OptimizedCounts[6] = {8, 16, 32, 64, 128, 256};
// Monochrome, dithered monochrome, 4, 16 and 256 greys, Windows 20, web 216.
constexpr int SystemCounts[7] = {2, 2, 4, 16, 256, 20, 256};

int ItemOf(const int (&Table)[6], int Item) { return Table[std::clamp(Item, 0, 5)]; }

} // namespace

int IndexColorCount(int Page, int Item) {
  return Page == ipOptimized ? ItemOf(OptimizedCounts, Item) : SystemCounts[std::clamp(Item, 0, 6)];
}

void IndexColors24(TBitmap& Bitmap, int Page, int Item, bool Diffusion, int ImageColors) {
  const TRect All{0, 0, Bitmap.Width(), Bitmap.Height()};
  if (Page == ipOptimized) {
    const int Count = ItemOf(OptimizedCounts, Item);
    if (ImageColors > Count) ReduceColors24(Bitmap, Count, Diffusion ? ReduceDither : 0, nullptr);
    return;
  }
  switch (Item) {
  case 1:
    DitherFloydSteinberg24(Bitmap, All);
    [[fallthrough]];
  case 0:
    ThresholdTwoColors24(Bitmap, 128, clBlack, clWhite, All);
    break;
  case 2:
    ReduceColors24(Bitmap, 4, ReduceDither | ReduceWindowsGray, nullptr);
    break;
  case 3:
    Grayscale24(Bitmap, All);
    ReduceColors24(Bitmap, 16, ReduceDither, nullptr);
    break;
  case 4:
    Grayscale24(Bitmap, All);
    break;
  case 5:
    ReduceColors24(Bitmap, 20, ReduceDither | ReduceWindows20, nullptr);
    break;
  default:
    ReduceColors24(Bitmap, 256, ReduceDither | ReduceWeb, nullptr);
    break;
  }
}

TIndexForm::TIndexForm(QWidget* Parent) : TColorPreviewForm(Parent) {
  setObjectName(QStringLiteral("IndexForm"));
  if (TFilterHost* H = FilterHost()) setWindowTitle(H->TitreMenu(QStringLiteral("MenuModeIndex")));
  const int Margin = Rescale(16);
  PageControl = new QTabWidget(this);
  PageControl->setObjectName(QStringLiteral("PageControl"));
  PageControl->setGeometry(Margin, Margin, Rescale(262), Rescale(250));
  const auto MakeGroup = [this](QWidget* Page, const QString& Title, const QStringList& Items, int Index,
                                const char* Name) {
    auto* G = new TRadioGroup(Page);
    G->setObjectName(QString::fromLatin1(Name));
    G->setTitle(GroupTitle(Title));
    G->SetItems(Items);
    G->setGeometry(Rescale(8), Rescale(8), Rescale(240), Rescale(24) * (int(Items.size()) + 1));
    SetRadioIndexSilent(G, Index);
    G->OnClick = [this](QObject*) { ParamChanged(true); };
    return G;
  };
  auto* Manual = new QWidget;
  Manual->setObjectName(QStringLiteral("TshMan"));
  QStringList Counts;
  const TrId CountIds[6] = {TrId::GetTrLblColor8,  TrId::GetTrLblColor16,  TrId::GetTrLblColor32,
                            TrId::GetTrLblColor64, TrId::GetTrLblColor128, TrId::GetTrLblColor256};
  for (int I = 0; I < 6; ++I)
    Counts << TrOr(CountIds[I], QStringLiteral("%1 couleurs").arg(OptimizedCounts[I]));
  RGManuel = MakeGroup(Manual, TrOr(TrId::GetTrLblOptimizedPalette, u"Palette optimisée"), Counts, 5, "RGManuel");
  CBDiffusion = new QCheckBox(TrOr(TrId::GetTrLblDiffusion, u"Diffusion"), Manual);
  CBDiffusion->setObjectName(QStringLiteral("CBDiffusion"));
  CBDiffusion->setChecked(true);
  CBDiffusion->move(Rescale(16), RGManuel->y() + RGManuel->height() + Rescale(8));
  connect(CBDiffusion, &QCheckBox::toggled, this, [this] { ParamChanged(true); });
  PageControl->addTab(Manual, TrOr(TrId::GetTrLblOptimizedMode, u"Optimisé"));

  auto* System = new QWidget;
  System->setObjectName(QStringLiteral("TshAuto"));
  RGAuto = MakeGroup(System, TrOr(TrId::GetTrLblSystemPalette, u"Palette système"),
                     {TrOr(TrId::GetTrLblMonochrom, u"Monochrome"), TrOr(TrId::GetTrLblDithering, u"Monochrome tramé"),
                      TrOr(TrId::GetTrLblGray4, u"Gris 4 couleurs"), TrOr(TrId::GetTrLblGray16, u"Gris 16 couleurs"),
                      TrOr(TrId::GetTrLblGray256, u"Gris 256 couleurs"),
                      TrOr(TrId::GetTrLblWindows20, u"Windows 20 couleurs"), TrOr(TrId::WebPaletteCaption, u"Web 216 couleurs")},
                     6, "RGAuto");
  PageControl->addTab(System, Tr(TrId::GetTrLblSystemMode));
  connect(PageControl, &QTabWidget::currentChanged, this, [this] { ParamChanged(true); });

  AddLivePreviewBox(Margin, PageControl->y() + PageControl->height() + Rescale(12));
  PlaceButtons(CBPreview->y() + CBPreview->height() + Rescale(12));
}

void TIndexForm::AcceptIniControl(QWidget* Control, bool& Accept) {
  if (Control == PageControl) Accept = true;
}

void TIndexForm::ApplyOperation() {
  TFilterHost& H = *FilterHost();
  const TColorDialogHost* C = ColorDialogHost();
  const TBusyAction Busy(H, Tr(TrId::GetTrStaPreparingColor));
  IndexColors24(H.LeBitmap(), PageControl->currentIndex(),
                (PageControl->currentIndex() == ipOptimized ? RGManuel : RGAuto)->ItemIndex(),
                CBDiffusion->isChecked(), C ? C->NbCouleurs() : 16777216);
}

void TIndexForm::OkSteps() {
  TColorPreviewForm::OkSteps();
  if (TColorDialogHost* C = ColorDialogHost()) {
    C->SetNbCouleurs(IndexColorCount(PageControl->currentIndex(),
                                     (PageControl->currentIndex() == ipOptimized ? RGManuel : RGAuto)->ItemIndex()));
    C->MajMenus();
    C->AfficherInfos();
  }
  if (TFilterHost* H = FilterHost()) H->LayerChanged();
}
