#include "tools/ui/RTouch.h"

#include "dialogs/ui/DialogParts.h"
#include "document/ui/MyImageLayeredView.h"
#include "i18n/Format.h"
#include "raster/RectUtils.h"
#include "tools/RetouchArea.h"
#include "tools/ui/ToolDialogHost.h"
#include "ui/TrackBar.h"
#include "ui/UtilsDPI.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// The palette's blend-mode menu entries the dialog offers, in its order.
constexpr int ModeMenuEntries[] = {0, 3, 8, 14, 6, 12, 15, 17};
// The colour of every overlay drawn in XOR over the image.
constexpr TColor OverlayColor = 0xFFD8CE;
constexpr int MinRadius = 20, MaxRadius = 1000;

TMyImageLayeredView* View() { return ToolDialogHost() ? ToolDialogHost()->ActiveView() : nullptr; }

TLayerItem* CurrentLayer() {
  TMyImageLayeredView* V = View();
  return V ? V->Image().CurrentLayer() : nullptr;
}

// The host's busy bracket for a scope.
struct TBusy {
  TToolDialogHost& Host;
  explicit TBusy(TToolDialogHost& H) : Host(H) { Host.DebutAction(); }
  ~TBusy() { Host.FinAction(); }
};

} // namespace

QString EncodeRetouchCenter(TPoint Center) {
  // In 64 bits: a centre below row 32767 must come back as it was saved.
  return QString::number(int64_t(Center.Y) * 65536 + Center.X);
}

TPoint DecodeRetouchCenter(const QString& Text) {
  bool Ok = false;
  int64_t V = Text.trimmed().toLongLong(&Ok);
  if (!Ok) V = -1;
  return {int(V & 0xFFFF), int(V >> 16)};
}

TRTouchForm::TRTouchForm(QWidget* Parent) : TInteractiveForm(Parent) {
  setObjectName(QStringLiteral("RTouchForm"));
  TToolDialogHost* Host = ToolDialogHost();
  QString Title = QStringLiteral("R-Touch");
  if (TranslationLoaded() && Host && !Host->TitreMenu(QStringLiteral("MenuRTouch")).isEmpty())
    Title = Host->TitreMenu(QStringLiteral("MenuRTouch"));
  setWindowTitle(Title);
  DialogMode = TMainDialogMode::dmDialog;
  IniCustomVarCount = 1;

  auto* Main = new QVBoxLayout(this);
  const auto Bar = [&](const char* Name, int Min, int Max, int Pos, int PageSize, QLabel*& Label) {
    Label = new QLabel(this);
    Main->addWidget(Label);
    auto* T = new TTrackBar(this);
    T->setObjectName(QString::fromLatin1(Name));
    T->setRange(Min, Max);
    T->setPageStep(PageSize);
    T->SetFrequency(PageSize);
    T->SetPosition(Pos);
    T->setMinimumWidth(Rescale(220));
    Main->addWidget(T);
    PrepareTrackBar(T);
    T->OnChange = [this](QObject*) { ParamChanged(false); };
    // A release (key or mouse, through the preparation) previews.
    T->OnKeyUp = [this](TTrackBar*, int, Qt::KeyboardModifiers) { UpdatePreview(); };
    return T;
  };
  TBRadius = Bar("TBRadius", MinRadius, MaxRadius, 100, 20, LblRadius);
  // The circle follows the radius at once; the retouch waits for the release.
  TBRadius->OnChange = [this](QObject*) {
    ParamChanged(false);
    if (!Updating) RepaintOverlay();
  };
  TBOpacity = Bar("TBOpacity", 10, 100, 50, 5, LblOpacity);

  auto* Grid = new QGridLayout;
  Grid->addWidget(new QLabel(TrLabel(TrId::GetTrMnuFilter, QStringLiteral("Filtre :")), this),
                  0, 0);
  CBFilter = new QComboBox(this);
  CBFilter->setObjectName(QStringLiteral("CBFilter"));
  Grid->addWidget(CBFilter, 0, 1);
  Grid->addWidget(
      new QLabel(TrLabel(TrId::GetTrLblMergeMode, QStringLiteral("Mode de fusion :")), this), 1,
      0);
  CBMode = new QComboBox(this);
  CBMode->setObjectName(QStringLiteral("CBMode"));
  Grid->addWidget(CBMode, 1, 1);
  Main->addLayout(Grid);
  CBMax = new QCheckBox(TrText(TrId::GetTrMnuMaximum, QStringLiteral("Maximum")), this);
  CBMax->setObjectName(QStringLiteral("CBMax"));
  CBMax->setChecked(true);
  Main->addWidget(CBMax);

  auto* Row = new QHBoxLayout;
  CBPreview = new QCheckBox(TrText(TrId::GetTrLblDirectPreview, QStringLiteral("Aperçu direct")), this);
  CBPreview->setObjectName(QStringLiteral("CBPreview"));
  BApercu = new QPushButton(TrText(TrId::GetTrBtnPreview, QStringLiteral("Aperçu")), this);
  BApercu->setObjectName(QStringLiteral("BApercu"));
  Row->addWidget(CBPreview);
  Row->addStretch(1);
  Row->addWidget(BApercu);
  Main->addLayout(Row);
  const TOkCancel Buttons = AddOkCancel(*this, *Main);
  BOk = Buttons.BOk;
  BAnnuler = Buttons.BAnnuler;

  // The filters: none, then the commands that do the same to a whole layer.
  CBFilter->addItem(QLatin1Char('<') + Tr(TrId::GetTrLblNone) + QLatin1Char('>'));
  const std::pair<const char*, const char16_t*> Filters[] = {
      {"MenuReglageTonsClairs", u"Renforcer les tons clairs"},
      {"MenuReglageTonsSombres", u"Renforcer les tons sombres"},
      {"MenuReglageCtr", u"Contraste"},
      {nullptr, u"Saturation"},
      {"MenuReglageGris", u"Niveaux de gris"},
      {"MenuFiltreAdoucir", u"Adoucir"},
      {"MenuFiltreMicroCtr", u"Micro contraste"}};
  for (const auto& [Item, French] : Filters) {
    const QString Caption = Item && Host ? Host->TitreMenu(QString::fromLatin1(Item)) : QString();
    CBFilter->addItem(Caption.isEmpty() ? QString::fromUtf16(French) : Caption);
  }
  CBFilter->setCurrentIndex(1);
  FillModes();
  UpdateLabels();

  connect(CBFilter, &QComboBox::currentIndexChanged, this, [this] { ParamChanged(true); });
  connect(CBMode, &QComboBox::currentIndexChanged, this, [this] { ParamChanged(true); });
  connect(CBMax, &QCheckBox::toggled, this, [this] { ParamChanged(true); });
  connect(CBPreview, &QCheckBox::clicked, this, [this] { CBPreviewClick(); });
  connect(BApercu, &QPushButton::clicked, this, [this] { BApercuClick(); });
  connect(BOk, &QPushButton::clicked, this, [this] { BOkClick(); });
}

void TRTouchForm::FillModes() {
  TToolDialogHost* Host = ToolDialogHost();
  if (!Host || !TagModes.empty()) return;
  const QSignalBlocker Quiet(CBMode);
  for (const int Entry : ModeMenuEntries) {
    QString Caption;
    int Tag = 0;
    Host->LayerModeMenuItem(Entry, Caption, Tag);
    if (Caption.isEmpty()) continue;
    CBMode->addItem(Caption);
    TagModes.push_back(uint8_t(Tag));
  }
  CBMode->setCurrentIndex(0);
}

void TRTouchForm::UpdateLabels() {
  LblRadius->setText(Format(Tr(TrId::GetTrFmtRadius), {TBRadius->Position()}));
  LblOpacity->setText(Format(Tr(TrId::GetTrFmtOpacity), {TBOpacity->Position()}));
}

QString TRTouchForm::GetIniCustomVar(int Index) { return Index == 0 ? EncodeRetouchCenter(Center) : QString(); }

void TRTouchForm::SetIniCustomVar(int Index, const QString& Value) {
  if (Index == 0) Center = DecodeRetouchCenter(Value);
}

bool TRTouchForm::NothingToDo() const { return CBFilter->currentIndex() == rfNone && CBMode->currentIndex() == 0; }

void TRTouchForm::ParamChanged(bool PreviewNow) {
  UpdateLabels();
  if (Updating) return;
  Changed = true;
  if (PreviewNow) UpdatePreview();
}

void TRTouchForm::ApplyRetouch() {
  TToolDialogHost* Host = ToolDialogHost();
  TLayerItem* Layer = CurrentLayer();
  if (!Host || !Layer || NothingToDo()) return;
  const int Mode = CBMode->currentIndex();
  const int Code = Mode >= 0 && size_t(Mode) < TagModes.size() ? TagModes[size_t(Mode)] : 0;
  RetouchArea24(Layer->Bitmap(), Host->BmpUndo(), Center, TBRadius->Position(), CBFilter->currentIndex(), Code,
                TBOpacity->Position(), CBMax->isChecked());
}

void TRTouchForm::ApplyPreview() {
  TToolDialogHost* Host = ToolDialogHost();
  if (!Host || !CurrentLayer() || (Preview && !Changed)) return;
  {
    TBusy Busy(*Host);
    if (Preview) Host->RestaureBitmap();
    ApplyRetouch();
    Host->RefreshBitmap();
  }
  Changed = false;
  Preview = true;
}

void TRTouchForm::UpdatePreview() {
  if (Changed && CBPreview->isChecked()) ApplyPreview();
}

void TRTouchForm::BApercuClick() {
  if (Changed) ApplyPreview();
}

void TRTouchForm::CBPreviewClick() {
  const bool Live = CBPreview->isChecked();
  BApercu->setEnabled(!Live);
  if (Live) {
    if (Changed) ApplyPreview();
    return;
  }
  TToolDialogHost* Host = ToolDialogHost();
  if (!Preview || !Host) return;
  Host->RestaureBitmap();
  Host->RefreshBitmap();
  Changed = true;
  Preview = false;
}

void TRTouchForm::InteractiveClick(int X, int Y) {
  TMyImageLayeredView* V = View();
  if (!V || !V->PtInLayer({X, Y})) return;
  const TPoint P = V->ClientToLayer(TPoint{X, Y});
  if (P == Center) return;
  Changed = true;
  Center = P;
  if (CBPreview->isChecked())
    ApplyPreview();
  else
    RepaintOverlay();
}

void TRTouchForm::UpdateControls() {
  Preview = false;
  Changed = true;
  if (const TLayerItem* Layer = CurrentLayer()) {
    const int W = Layer->Bitmap().Width(), H = Layer->Bitmap().Height();
    const bool Inside = Center.X >= 0 && Center.Y >= 0 && Center.X < W && Center.Y < H;
    if (!Inside || TBRadius->Position() > std::min(W, H)) {
      TBRadius->SetPosition(std::clamp(std::min(W, H) / 2, MinRadius, MaxRadius));
      Center = {W / 2, H / 2};
    }
  }
  BApercu->setEnabled(!CBPreview->isChecked());
  if (CBPreview->isChecked())
    ApplyPreview();
  else
    RepaintOverlay();
}

void TRTouchForm::RepaintOverlay() {
  if (FHookedView) FHookedView->PaintAll();
}

void TRTouchForm::FormShow() {
  // The palette's blend modes, when it did not exist yet at the creation.
  FillModes();
  FHookedView = View();
  if (!FHookedView) return;
  FHookedView->OnPaint = [this](QObject*, TCanvas& Canvas) { PaintOverlay(Canvas); };
}

void TRTouchForm::PaintOverlay(TCanvas& Canvas) {
  TMyImageLayeredView* V = FHookedView;
  if (!V || Center.X < 0) return;
  const TRect R = V->LayerToClient(RetouchAreaRect(Center, TBRadius->Position()));
  Canvas.SetClipRect(IntersectRect(Canvas.ClipRect(), V->ImgVisibleRect()));
  Canvas.Pen.Mode = TPenMode::pmXor;
  Canvas.Pen.Style = TPenStyle::psDot;
  Canvas.Pen.Width = 1;
  Canvas.Pen.Color = OverlayColor;
  Canvas.Brush.Style = TBrushStyle::bsClear;
  Canvas.Ellipse(R);
  const int A = ScaleByDPI(8);
  const int CX = (R.Left + R.Right) / 2, CY = (R.Top + R.Bottom) / 2;
  Canvas.MoveTo(CX - A, CY - A);
  Canvas.LineTo(CX + A + 1, CY + A + 1);
  Canvas.MoveTo(CX - A, CY + A);
  Canvas.LineTo(CX + A + 1, CY - A - 1);
  Canvas.Pen.Mode = TPenMode::pmCopy;
  Canvas.Pen.Style = TPenStyle::psSolid;
  Canvas.Brush.Style = TBrushStyle::bsSolid;
}

void TRTouchForm::FormHide() {
  if (FHookedView) FHookedView->OnPaint = nullptr;
  TToolDialogHost* Host = ToolDialogHost();
  if (!DialogOk && Host) Host->AnnulerFiltre(Preview);
  if (!DialogOk) Preview = false;
  RepaintOverlay();
  FHookedView = nullptr;
}

void TRTouchForm::BOkClick() {
  TToolDialogHost* Host = ToolDialogHost();
  if (!Host || NothingToDo()) {
    close();
    return;
  }
  CloseOk();
  if (Changed) ApplyPreview();
  Host->ClearLastFilterEvent();
  Host->LayerChanged();
  Preview = false;
}
