#include "dialogs/ui/TubeDlg.h"

#include "dialogs/ui/AnchorBar.h"
#include "dialogs/ui/DialogParts.h"
#include "filters/ui/FilterHost.h"
#include "i18n/Format.h"
#include "platform/NumberFormat.h"
#include "platform/Rounding.h"
#include "raster/Bitmap24.h"
#include "raster/ImgUtils24.h"
#include "raster/LayerPaint.h"
#include "raster/RectUtils.h"
#include "ui/TrackBar.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

enum { ModeFrame = 0, ModePattern = 1, ModePosition = 2 };

// B becomes W x H, tiled with Src from its top-left corner.
void Tile(const TBitmap& Src, int W, int H, TBitmap& B) {
  B.Assign(TBitmap(W, H, pf24bit, clWhite));
  TileBitmap24(Src, B, 0, 0, {0, 0, W, H});
}

} // namespace

void ApplyPngOverlay(const TBitmap& Bmp, const TBitmap& Mask, TBitmap& Dst, TBitmap* DstMask, TRect R, int Mode,
                     int Scale, TPosition Pos, int Opacity) {
  if (Bmp.Empty() || !ClipToBitmap(R, Dst)) return;
  TBitmap Colours, Cover;
  TRect Place = R;
  if (Mode == ModePattern) {
    Tile(Bmp, R.Width(), R.Height(), Colours);
    if (!Mask.Empty()) Tile(Mask, R.Width(), R.Height(), Cover);
  } else {
    int W = R.Width(), H = R.Height();
    if (Mode == ModePosition) {
      W = std::max(1, int(Round(Bmp.Width() * Scale / 10.0)));
      H = std::max(1, int(Round(Bmp.Height() * Scale / 10.0)));
      Place = {0, 0, W, H};
      PositionRect(Place, R, Pos);
    }
    StretchBitmap(W, H, Mode == ModePosition ? TStretchMode::smBicubic : TStretchMode::smBest, Bmp, Colours);
    if (!Mask.Empty()) StretchBitmap(W, H, TStretchMode::smBilinear, Mask, Cover);
  }
  const TRect Src{0, 0, Colours.Width(), Colours.Height()};
  const TBitmap* CoverMask = Cover.Empty() ? nullptr : &Cover;
  if (DstMask && !DstMask->Empty())
    PaintBitmapOnLayer(Colours, CoverMask, Src, Dst, DstMask, Place.Left, Place.Top, R, Opacity);
  else
    CopyRect24MaskOpacity(Colours, Src, Dst, Place.Left, Place.Top, R, Opacity, CoverMask);
}

TTubeForm::TTubeForm(QWidget* Parent)
    : TOverlayForm(Parent, TOverlayPicture::pkAlpha, "MenuLumaPng", FilterBMUndoKind, TOverlayFolder::Png) {
  setObjectName(QStringLiteral("TubeForm"));
  setWindowTitle(DialogTitle("MenuLumaPng", QStringLiteral("LumaPNG")));
  IniCustomVarCount = 3;
  BuildPictureGroup(TrText(TrId::GetTrLblPicture, QStringLiteral(" Image ")), "EdiTube", false);

  GroupBox1 = new QGroupBox(TrText(TrId::GetTrLblSettings, QStringLiteral(" Paramètres ")), this);
  GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
  auto* Settings = new QVBoxLayout(GroupBox1);
  auto* ModeRow = new QFormLayout;
  CmbMode = new QComboBox(GroupBox1);
  CmbMode->setObjectName(QStringLiteral("CmbMode"));
  CmbMode->addItems({TrText(TrId::GetTrMnuFrame, QStringLiteral("Encadrement")),
                     TrText(TrId::GetTrLblPattern, QStringLiteral("Motif")),
                     TrText(TrId::GetTrLblPosition, QStringLiteral("Position"))});
  ModeRow->addRow(TrLabel(TrId::GetTrMnuMode, QStringLiteral("Mode :")), CmbMode);
  Settings->addLayout(ModeRow);
  const TLabeledBar Opacity = AddLabeledBar(*this, *Settings, "TBOpacite", "LblOpacite", 10, 100, 100,
                                            [](int V) { return Format(Tr(TrId::GetTrFmtOpacity), {V}); });
  LblOpacite = Opacity.Label;
  TBOpacite = Opacity.Bar;
  const TLabeledBar Scale = AddLabeledBar(*this, *Settings, "TBEchelle", "LblEchelle", 3, 30, 10,
                                          [](int V) { return QStringLiteral("Echelle : %1%").arg(V * 10); });
  LblEchelle = Scale.Label;
  TBEchelle = Scale.Bar;
  Anchors = new TAnchorBar(GroupBox1);
  Anchors->SetPosition(poCenter);
  Settings->addWidget(Anchors, 0, Qt::AlignLeft);
  Main->addWidget(GroupBox1);
  BuildButtons();

  connect(CmbMode, &QComboBox::activated, this, [this] { CmbModeChanged(); });
  for (TTrackBar* T : {TBOpacite, TBEchelle})
    T->OnKeyUp = [this](TTrackBar*, int, Qt::KeyboardModifiers) {
      if (!Updating) Previewer->OptionChanged();
    };
  Anchors->OnChange = [this] {
    if (!Updating) Previewer->OptionChanged();
  };
  CmbModeChanged();
}

void TTubeForm::AcceptIniControl(QWidget* Control, bool& Accept) {
  TOverlayForm::AcceptIniControl(Control, Accept);
  if (Control == CBPreview && !isWindow()) Accept = false;
}

QString TTubeForm::GetIniCustomVar(int Index) {
  if (Index == 0) return QString::number(Picture.Angle);
  if (Index == 1) return QString::number(int(Anchors->Position()));
  return Picture.FlipsText();
}

void TTubeForm::SetIniCustomVar(int Index, const QString& Value) {
  if (Index == 0) Picture.SetAngleText(Value);
  if (Index == 1) Anchors->SetPosition(TPosition(std::clamp(StrToIntDef(Value, 4), 0, 8)));
  if (Index == 2) Picture.SetFlipsText(Value);
}

void TTubeForm::CmbModeChanged() {
  const bool Position = CmbMode->currentIndex() == ModePosition;
  LblEchelle->setVisible(Position);
  TBEchelle->setVisible(Position);
  Anchors->setVisible(Position);
  if (!Updating) Previewer->OptionChanged();
}

void TTubeForm::UpdateControls() {
  TOverlayForm::UpdateControls();
  const bool WasUpdating = std::exchange(Updating, true);
  CmbModeChanged();
  Updating = WasUpdating;
}

void TTubeForm::ApplyOverlay(const TRect& R) {
  TFilterHost& Host = *FilterHost();
  TBitmap* Mask = Host.DessinerSurAlpha() && !Host.LeMasque().Empty() ? &Host.LeMasque() : nullptr;
  OverlayOnto(Host.LeBitmap(), Mask, R);
}

void TTubeForm::OverlayOnto(TBitmap& Dst, TBitmap* DstMask, const TRect& R) {
  ApplyPngOverlay(Picture.Bmp, Picture.Mask, Dst, DstMask, R, CmbMode->currentIndex(), TBEchelle->Position(),
                  Anchors->Position(), TBOpacite->Position());
}

// ---- As a panel of the batch dialog ------------------------------------------------------

void TTubeForm::SetAsPanel(QWidget* ParentControl, int X, int Y) {
  CBPreview->setChecked(false);
  CBPreview->hide();
  MakeDialogPanel(*this, ParentControl, X, Y, {BOk, BAnnuler, BApercu});
  BOk = BAnnuler = BApercu = nullptr;
}

void TTubeForm::SaveToIni(const QString& FileName) { SavePanelValues(*this, FileName); }
void TTubeForm::LoadFromIni(const QString& FileName) { LoadPanelValues(*this, FileName); }

void TTubeForm::DoAsPanel(TBitmap& Bitmap) { OverlayOnto(Bitmap, nullptr, {0, 0, Bitmap.Width(), Bitmap.Height()}); }
