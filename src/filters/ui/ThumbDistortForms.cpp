#include "filters/ui/ThumbDistortForms.h"

#include "document/Calque.h"
#include "document/MyImageLayered.h"
#include "document/Undo.h"
#include "filters/CompositeSteps.h"
#include "filters/Distortions24.h"
#include "filters/ui/EffectHost.h"
#include "i18n/Format.h"
#include "i18n/LibLang.h"
#include "raster/Bitmap24.h"
#include "raster/FoncUtils.h"
#include "raster/ImgUtils24.h"
#include "raster/RectUtils.h"
#include "raster/Stretching.h"
#include "raster/TransformFunc.h"
#include "ui/ColorEdit.h"
#include "ui/DlgColors.h"
#include "ui/MyImage.h"
#include "ui/TrackBar.h"

#include <QCheckBox>
#include <QHideEvent>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>

#include <algorithm>
#include <utility>

namespace {
constexpr int PreviewWidth = 150;

// The busy status and cursor for the life of a final run.
struct TActionBracket {
  explicit TActionBracket(TFilterHost& H) : Host(H) { Host.DebutAction(QString(), true); }
  ~TActionBracket() { Host.FinAction(); }
  TFilterHost& Host;
};
constexpr int PreviewHeight = 120;
} // namespace

TThumbDistortForm::TThumbDistortForm(QWidget* Parent) : TPipetteForm(Parent) {
  setFixedWidth(Rescale(298));
  LblFond = new QLabel(Tr(TrId::GetTrLblBkg) + QStringLiteral(" :"), this);
  LblFond->move(Rescale(16), Rescale(18));
  ColorEdit = new TColorEdit(this);
  ColorEdit->setObjectName(QStringLiteral("ColorEdit"));
  ColorEdit->setGeometry(Rescale(64), Rescale(14), Rescale(81), ColorEdit->sizeHint().height());
  ColorEdit->SetColor(clWhite);
  ColorEdit->OnChange = [this](QObject*) {
    if (!Updating && Thumb) PreviewThumb();
  };
  ImgApercu = new MyImage::TMyImage(this);
  ImgApercu->setGeometry(Rescale(16), Rescale(48), Rescale(PreviewWidth), Rescale(PreviewHeight));
  ImgApercu->Bitmap().SetSize(Rescale(PreviewWidth), Rescale(PreviewHeight));
  BOk = new QPushButton(Tr(TrId::GetTrBtnOk), this);
  BAnnuler = new QPushButton(Tr(TrId::GetTrBtnCancel), this);
  for (QPushButton* B : {BOk, BAnnuler}) {
    B->setAutoDefault(false);
    B->resize(Rescale(75), Rescale(25));
  }
  connect(BOk, &QPushButton::clicked, this, [this] { BOkClick(); });
  connect(BAnnuler, &QPushButton::clicked, this, [this] { close(); });
  OkButton = BOk;
  CancelButton = BAnnuler;
}

int TThumbDistortForm::ControlsBottom() const {
  int Bottom = 0;
  for (QObject* Child : children()) {
    auto* C = qobject_cast<QWidget*>(Child);
    if (C && !C->isWindow() && C != BOk && C != BAnnuler) Bottom = std::max(Bottom, C->y() + C->height());
  }
  return Bottom;
}

void TThumbDistortForm::ArrangeButtons() {
  const int Top = ControlsBottom() + Rescale(16);
  BOk->move(Rescale(128), Top);
  BAnnuler->move(Rescale(208), Top);
  resize(width(), Top + BOk->height() + Rescale(16));
}

void TThumbDistortForm::PrepareBar(TTrackBar* Bar) {
  PrepareTrackBar(Bar);
  Bar->OnKeyUp = [this](TTrackBar*, int, Qt::KeyboardModifiers) {
    if (Thumb) PreviewThumb();
  };
}

void TThumbDistortForm::ChangerCouleur(TColor Couleur) { ColorEdit->SetColor(Couleur); }

TColor TThumbDistortForm::ThumbBackColor() const { return ColorEdit->isEnabled() ? ColorEdit->Color() : clWhite; }

void TThumbDistortForm::PrepareShow() {
  const TEffectHost* H = EffectHost();
  const bool Opaque = !H || !H->HasAlpha();
  ColorEdit->setEnabled(Opaque);
  LblFond->setEnabled(Opaque);
}

void TThumbDistortForm::showEvent(QShowEvent* Event) {
  if (!Event->spontaneous()) {
    PrepareShow();
    DialogMode = ColorEdit->isEnabled() ? TMainDialogMode::dmPipette : TMainDialogMode::dmModal;
  }
  TPipetteForm::showEvent(Event);
}

void TThumbDistortForm::hideEvent(QHideEvent* Event) {
  TPipetteForm::hideEvent(Event);
  if (Event->spontaneous()) return;
  Thumb.reset();
  MaskSel.reset();
  ImgApercu->Bitmap().Canvas().Brush.Color = clWhite;
  ImgApercu->Bitmap().Canvas().FillRect(BitmapRect(ImgApercu->Bitmap()));
  ImgApercu->UpdateBitmap();
}

void TThumbDistortForm::UpdateControls() {
  MakeThumb();
  PreviewThumb();
}

void TThumbDistortForm::ThumbSize(int& W, int& H) const {
  const int W0 = W, H0 = H;
  FitSize(W, H, ImgApercu->width() * 3 / 2, ImgApercu->height() * 3 / 2);
  if (W0 < W || H0 < H) {
    W = W0;
    H = H0;
  }
}

void TThumbDistortForm::MakeThumb() {
  Thumb.reset();
  MaskSel.reset();
  TFilterHost* F = FilterHost();
  TEffectHost* E = EffectHost();
  if (!F || !E || !F->UneImage()) return;
  const TBitmap& Layer = F->LeBitmap();
  TRect R = F->LaSelection();
  if (!ClipToBitmap(R, Layer)) return;
  int W = R.Width(), H = R.Height();
  ThumbSize(W, H);
  Thumb = std::make_unique<TBitmap>(W, H, pf24bit, ThumbBackColor());
  const TBitmap* Mask = F->LeMasque().Empty() ? nullptr : &F->LeMasque();
  StretchRect24Mask(Layer, R, *Thumb, BitmapRect(*Thumb), BitmapRect(*Thumb), Mask);
  if (LayerMode || !SelectionNeedsMask(FilterHost()->SelMasks(), false)) return;
  if (const std::unique_ptr<TBitmap> Sel = SelectionMaskOfRect(FilterHost()->SelMasks(), R, true, true)) {
    MaskSel = std::make_unique<TBitmap>(W, H, pf24bit, clWhite);
    StretchRect24(*Sel, BitmapRect(*Sel), *MaskSel, BitmapRect(*MaskSel), BitmapRect(*MaskSel));
  }
}

void TThumbDistortForm::PreviewThumb() {
  if (!Thumb) return;
  TBitmap Preview;
  Preview.Assign(*Thumb);
  Distort(*Thumb, Preview, ThumbBackColor(), BitmapRect(*Thumb), amBilinear, LayerMode);
  if (MaskSel && MaskSel->Width() == Preview.Width() && MaskSel->Height() == Preview.Height())
    FillColorMask24(*MaskSel, BitmapRect(*MaskSel), Preview, 0, 0, BitmapRect(Preview), clWhite, 100);
  TBitmap& Picture = ImgApercu->Bitmap();
  Picture.SetSize(ImgApercu->width(), ImgApercu->height());
  DrawThumbnail24(Preview, Picture, clWhite, 2, 4, clDlgPanel);
  ImgApercu->UpdateBitmap();
}

void TThumbDistortForm::BOkClick() {
  if (!HasEffect()) {
    close();
    return;
  }
  CloseOk();
  ApplyDistortion();
  TFilterHost* F = FilterHost();
  if (!F || !RegisterRepeat()) return;
  QPointer<TThumbDistortForm> Self(this);
  F->DernierFiltre(F->TitreMenu(MenuItemName()), this, [Self](QObject*) {
    if (Self) Self->ApplyDistortion();
  }, 0);
}

void TThumbDistortForm::ApplyDistortion() {
  TFilterHost* F = FilterHost();
  TEffectHost* E = EffectHost();
  if (!F || !E || !F->UneImage()) return;
  const TActionBracket Bracket(*F);
  TSelMaskHost& M = FilterHost()->SelMasks();
  TMyImageLayered& Image = *M.Image();
  const bool OnBackground = Image.LayerIndex() == 0;
  const int W0 = F->LeBitmap().Width();
  const int H0 = F->LeBitmap().Height();
  if (LayerMode) {
    F->PreparerUndo(OnBackground ? BkgAllUndoKind : LayerAllUndoKind, windowTitle());
    M.BmpUndo()->Assign(F->LeBitmap());
    M.MaskUndo()->Assign(F->LeMasque());
  } else {
    F->PreparerUndo(FilterBMUndoKind, windowTitle());
    // A change of shape, not of tone: nothing to fade.
    if (TUndoBmpItem* Record = CurrentUndoBmp()) Record->SetFlag(8, 1);
  }
  const TRect R = F->LaSelection();
  TBitmap& Undo = *M.BmpUndo();
  if (E->HasAlpha()) {
    const TPassesScope Passes(2);
    BleedColorsIntoTransparent(Undo, *M.MaskUndo(), 2, BitmapRect(Undo));
    Distort(*M.MaskUndo(), F->LeMasque(), clWhite, R, amBilinear, LayerMode);
    Distort(Undo, F->LeBitmap(), clNone, R, amBicubic, LayerMode);
    WhitenMaskedPixels(F->LeBitmap(), F->LeMasque());
  } else {
    Distort(Undo, F->LeBitmap(), ThumbBackColor(), R, amBicubic, LayerMode);
  }
  if (LayerMode) {
    const int DX = (F->LeBitmap().Width() - W0) / 2;
    const int DY = (F->LeBitmap().Height() - H0) / 2;
    if (!OnBackground) {
      TPoint& Pos = Image.CurrentLayer()->Pos;
      Pos = {Pos.X - DX, Pos.Y - DY};
      F->LayerChanged();
    } else {
      if (LayerNavigator* Nav = E->LayerNav()) OffsetAllLayers(*Nav, DX, DY, true);
      if (TUndoBmpItem* Record = CurrentUndoBmp()) {
        Record->SetFlag(5, DX);
        Record->SetFlag(6, DY);
      }
      E->TailleChangee();
    }
  } else {
    F->AppliquerMasqueSel(1);
  }
  F->RefreshBitmap();
  F->MarkModified();
}

// ---- Twirl -------------------------------------------------------------------------------------------------------

namespace {

// A trackbar with its label above it, built under the lowest control.
TTrackBar* NewLabelledBar(TThumbDistortForm& Form, int Top, int Min, int Max, int Page, int Pos, QLabel*& Label,
                          const QString& Name) {
  Label = new QLabel(&Form);
  Label->move(Form.Rescale(16), Top);
  auto* Bar = new TTrackBar(&Form);
  Bar->setObjectName(Name);
  Bar->setGeometry(Form.Rescale(10), Top + Form.Rescale(16), Form.width() - Form.Rescale(20), Form.Rescale(28));
  Bar->setRange(Min, Max);
  Bar->setPageStep(Page);
  Bar->SetPosition(Pos);
  return Bar;
}

QRadioButton* NewRadio(TThumbDistortForm& Form, const QString& Name, const QString& Caption, int Top, bool Checked) {
  auto* B = new QRadioButton(Caption, &Form);
  B->setObjectName(Name);
  B->setGeometry(Form.Rescale(16), Top, Form.Rescale(200), Form.Rescale(17));
  B->setChecked(Checked);
  return B;
}

} // namespace

// "Axe horizontal" and "Axe vertical" under Below; a new choice runs
// Relabel, then previews.
void TThumbDistortForm::NewAxisRadios(TThumbDistortForm& Form, QWidget* Below, QRadioButton*& Horz,
                                      QRadioButton*& Vert, std::function<void()> Relabel) {
  const int Top = Below->y() + Below->height() + Form.Rescale(8);
  Horz = NewRadio(Form, QStringLiteral("RBHorz"), Tr(TrId::GetTrLblHorzAxis), Top, true);
  Vert = NewRadio(Form, QStringLiteral("RBVert"), Tr(TrId::GetTrLblVertAxis), Top + Form.Rescale(20), false);
  for (QRadioButton* B : {Horz, Vert})
    connect(B, &QRadioButton::toggled, &Form, [&Form, Relabel](bool On) {
      if (!On || Form.Updating) return;
      Relabel();
      if (Form.Thumb) Form.PreviewThumb();
    });
}

namespace {

void SetLabel(QLabel* Label, const QString& Fmt, int Value) {
  Label->setText(Format(Fmt, {Value}));
  Label->adjustSize();
}

} // namespace

TTwirlForm::TTwirlForm(QWidget* Parent) : TThumbDistortForm(Parent) {
  setObjectName(QStringLiteral("TwirlForm"));
  setWindowTitle(FilterHost() ? FilterHost()->TitreMenu(MenuItemName()) : QString());
  const int Top = ImgApercu->y() + ImgApercu->height() + Rescale(12);
  TBN = NewLabelledBar(*this, Top, 1, 49, 5, 8, LblPct, QStringLiteral("TBN"));
  SetLabel(LblPct, Tr(TrId::GetTrFmtAmount), TBN->Position());
  TBN->OnChange = [this](QObject*) { SetLabel(LblPct, Tr(TrId::GetTrFmtAmount), TBN->Position()); };
  PrepareBar(TBN);
  const int RadioTop = TBN->y() + TBN->height() + Rescale(8);
  RBHoraire = NewRadio(*this, QStringLiteral("RBHoraire"), Tr(TrId::GetTrLblClockwise), RadioTop, true);
  RBAntiHoraire = NewRadio(*this, QStringLiteral("RBAntiHoraire"), Tr(TrId::GetTrLblCounterClockwise),
                           RadioTop + Rescale(20), false);
  for (QRadioButton* B : {RBHoraire, RBAntiHoraire})
    connect(B, &QRadioButton::toggled, this, [this](bool On) {
      if (On && !Updating && Thumb) PreviewThumb();
    });
  ArrangeButtons();
}

double TTwirlForm::Angle() const { return TBN->Position() / 2.0 * (RBAntiHoraire->isChecked() ? -1 : 1); }

void TTwirlForm::Distort(const TBitmap& Src, TBitmap& Dst, TColor BackColor, const TRect& Rect, TAntialiasMode Mode,
                         bool Resize) {
  Twirl24(Src, Dst, Angle(), BackColor, Rect, Mode, Resize);
}

// ---- Trapezoid ---------------------------------------------------------------------------------------------------

TTrapezForm::TTrapezForm(QWidget* Parent) : TThumbDistortForm(Parent) {
  setObjectName(QStringLiteral("TrapezForm"));
  setWindowTitle(FilterHost() ? FilterHost()->TitreMenu(MenuItemName()) : QString());
  IniOptions = IniOptions | ioNoTrackBarEvent;
  const int Top = ImgApercu->y() + ImgApercu->height() + Rescale(12);
  TB1 = NewLabelledBar(*this, Top, 10, 200, 3, 100, Lbl1, QStringLiteral("TB1"));
  TB2 = NewLabelledBar(*this, TB1->y() + TB1->height() + Rescale(6), 10, 200, 3, 100, Lbl2, QStringLiteral("TB2"));
  for (TTrackBar* Bar : {TB1, TB2}) {
    Bar->OnChange = [this](QObject*) { UpdateLabels(); };
    PrepareBar(Bar);
  }
  NewAxisRadios(*this, TB2, RBHorz, RBVert, [this] { UpdateLabels(); });
  UpdateLabels();
  ArrangeButtons();
}

void TTrapezForm::UpdateLabels() {
  const bool Horz = RBHorz->isChecked();
  SetLabel(Lbl1, Tr(Horz ? TrId::GetTrFmtTopDistort : TrId::GetTrFmtLeftDistort), TB1->Position());
  SetLabel(Lbl2, Tr(Horz ? TrId::GetTrFmtBottomDistort : TrId::GetTrFmtRightDistort), TB2->Position());
}

void TTrapezForm::UpdateControls() {
  UpdateLabels();
  TThumbDistortForm::UpdateControls();
}

bool TTrapezForm::HasEffect() const { return TB1->Position() != 100 || TB2->Position() != 100; }

void TTrapezForm::Distort(const TBitmap& Src, TBitmap& Dst, TColor BackColor, const TRect& Rect, TAntialiasMode Mode,
                          bool Resize) {
  const double A = TB1->Position() / 100.0;
  const double B = TB2->Position() / 100.0;
  if (RBHorz->isChecked())
    Trapezoid24(Src, Dst, 1, A, 1, B, BackColor, Rect, Mode, Resize);
  else
    Trapezoid24(Src, Dst, A, 1, B, 1, BackColor, Rect, Mode, Resize);
}

// ---- Lens --------------------------------------------------------------------------------------------------------

TLensForm::TLensForm(QWidget* Parent) : TThumbDistortForm(Parent) {
  setObjectName(QStringLiteral("LensForm"));
  setWindowTitle(FilterHost() ? FilterHost()->TitreMenu(MenuItemName()) : QString());
  const int Top = ImgApercu->y() + ImgApercu->height() + Rescale(12);
  TBN = NewLabelledBar(*this, Top, 1, 20, 5, 5, Label2, QStringLiteral("TBN"));
  SetLabel(Label2, Tr(TrId::GetTrFmtAmount), TBN->Position());
  TBN->OnChange = [this](QObject*) { SetLabel(Label2, Tr(TrId::GetTrFmtAmount), TBN->Position()); };
  PrepareBar(TBN);
  ArrangeButtons();
}

double TLensForm::Strength() const { return 1.33 - (TBN->Position() + 3) / 20.0; }

void TLensForm::Distort(const TBitmap& Src, TBitmap& Dst, TColor BackColor, const TRect& Rect, TAntialiasMode Mode,
                        bool) {
  Lens24(Src, Dst, Strength(), BackColor, Rect, Mode);
}

// ---- Incline -----------------------------------------------------------------------------------------------------

TInclinerForm::TInclinerForm(QWidget* Parent) : TThumbDistortForm(Parent) {
  setObjectName(QStringLiteral("InclinerForm"));
  setWindowTitle(FilterHost() ? FilterHost()->TitreMenu(MenuItemName()) : QString());
  IniOptions = IniOptions | ioNoTrackBarEvent;
  const int Top = ImgApercu->y() + ImgApercu->height() + Rescale(12);
  TB = NewLabelledBar(*this, Top, -50, 50, 5, 0, Lbl, QStringLiteral("TB"));
  TB->OnChange = [this](QObject*) { UpdateLabel(); };
  PrepareBar(TB);
  NewAxisRadios(*this, TB, RBHorz, RBVert, [this] { UpdateLabel(); });
  const int RadioTop = RBHorz->y();
  const auto NewBox = [&](const char* Name, TrId Caption, int BoxTop) {
    auto* B = new QCheckBox(Tr(Caption), this);
    B->setObjectName(QString::fromLatin1(Name));
    B->setGeometry(Rescale(16), BoxTop, Rescale(200), Rescale(17));
    B->setChecked(true);
    return B;
  };
  CBLisser = NewBox("CBLisser", TrId::GetTrLblAntialias, RadioTop + Rescale(48));
  CBTous = NewBox("CBTous", TrId::GetTrLblAllLayers, RadioTop + Rescale(68));
  connect(CBLisser, &QCheckBox::toggled, this, [this] {
    if (!Updating && Thumb) PreviewThumb();
  });
  connect(CBTous, &QCheckBox::toggled, this, [this] {
    if (Updating || !Thumb) return;
    MakeThumb();
    PreviewThumb();
  });
  UpdateLabel();
  ArrangeButtons();
}

namespace {
TMyImageLayered* ActiveImage() {
  TEffectHost* E = EffectHost();
  return E && FilterHost() && FilterHost()->UneImage() ? FilterHost()->SelMasks().Image() : nullptr;
}
const TBitmap* Background(const TMyImageLayered& Image) {
  return Image.Layers().Count() > 0 ? &Image.Layers()[0].Bitmap() : nullptr;
}
} // namespace

void TInclinerForm::UpdateLabel() {
  SetLabel(Lbl, Tr(RBHorz->isChecked() ? TrId::GetTrFmtSkewTopBootom : TrId::GetTrFmtSkewLeftRight), TB->Position());
}

void TInclinerForm::PrepareShow() {
  TMyImageLayered* Image = ActiveImage();
  const TEffectHost* E = EffectHost();
  if (!Image || !E) return;
  Image->MergeLayersForPreview(true);
  const TBitmap* Bkg = Background(*Image);
  const bool BkgTransparent = Bkg && Bkg->Transparent;
  const bool Mode16M = FilterHost()->SelMasks().Mode16M();
  ColorEdit->setEnabled(!BkgTransparent && !E->ModeRGBA(true));
  LblFond->setEnabled(ColorEdit->isEnabled());
  ColorEdit->SetReadOnly(!Mode16M);
  CBLisser->setVisible(Mode16M && !BkgTransparent);
  CBTous->setVisible(Image->Layers().Count() > 1);
}

void TInclinerForm::UpdateControls() {
  if (TMyImageLayered* Image = ActiveImage()) {
    const TBitmap* Bkg = Background(*Image);
    const TEffectHost* E = EffectHost();
    const bool Saved = std::exchange(Updating, true);
    if (Bkg && Bkg->Transparent)
      ColorEdit->SetColor(Bkg->TransparentColor());
    else if (E->ModeRGBA(true))
      ColorEdit->SetColor(clWhite);
    else if (Bkg && !FilterHost()->SelMasks().Mode16M())
      ColorEdit->SetColor(Bkg->Canvas().Pixels(0, 0));
    Updating = Saved;
  }
  UpdateLabel();
  TThumbDistortForm::UpdateControls();
}

bool TInclinerForm::HasEffect() const { return TB->Position() != 0; }

bool TInclinerForm::IncludeAllLayers() const { return !CBTous->isHidden() && CBTous->isChecked(); }

bool TInclinerForm::UseSmoothing() const { return !CBLisser->isHidden() && CBLisser->isChecked(); }

bool TInclinerForm::UseCompositeThumb() const {
  const TMyImageLayered* Image = ActiveImage();
  if (!Image) return false;
  const TBitmap* Bkg = Background(*Image);
  return IncludeAllLayers() || (Bkg && Bkg->Transparent) ||
         (EffectHost()->ModeRGBA(false) && Image->Layers().Count() == 1);
}

void TInclinerForm::MakeThumb() {
  Thumb.reset();
  TMyImageLayered* Image = ActiveImage();
  if (!Image || Image->Layers().Count() == 0) return;
  const bool Composite = UseCompositeThumb();
  const TBitmap& Source = Composite ? Image->Bitmap() : Image->Layers()[0].Bitmap();
  const TBitmap* Mask = Composite || Image->Layers()[0].Mask().Empty() ? nullptr : &Image->Layers()[0].Mask();
  if (Source.Empty()) return;
  int W = Source.Width(), H = Source.Height();
  ThumbSize(W, H);
  Thumb = std::make_unique<TBitmap>(W, H, pf24bit, clWhite);
  StretchRect24Mask(Source, BitmapRect(Source), *Thumb, BitmapRect(*Thumb), BitmapRect(*Thumb), Mask);
}

TColor TInclinerForm::ThumbBackColor() const {
  const TMyImageLayered* Image = ActiveImage();
  const TBitmap* Bkg = Image ? Background(*Image) : nullptr;
  if ((Bkg && Bkg->Transparent) || (EffectHost() && EffectHost()->ModeRGBA(true))) return clWhite;
  return ColorEdit->Color();
}

void TInclinerForm::SkewFactors(double& Horizontal, double& Vertical) const {
  const double F = -TB->Position() / 100.0;
  Horizontal = RBHorz->isChecked() ? F : 0;
  Vertical = RBHorz->isChecked() ? 0 : F;
}

void TInclinerForm::Distort(const TBitmap& Src, TBitmap& Dst, TColor BackColor, const TRect&, TAntialiasMode, bool) {
  double H, V;
  SkewFactors(H, V);
  Skew24(Src, Dst, H, V, BackColor, MaskAntialiasMode(UseSmoothing()));
}

void TInclinerForm::BOkClick() {
  if (!HasEffect()) {
    close();
    return;
  }
  TEffectHost* E = EffectHost();
  if (IncludeAllLayers() && E && E->RefuseTextLayers()) return;
  CloseOk();
  ApplyDistortion();
}

void TInclinerForm::ApplyDistortion() {
  TFilterHost* F = FilterHost();
  TEffectHost* E = EffectHost();
  if (!F || !E || !F->UneImage()) return;
  const TActionBracket Bracket(*F);
  const bool All = IncludeAllLayers();
  TSelMaskHost& M = FilterHost()->SelMasks();
  F->PreparerUndo(BkgAllUndoKind, windowTitle());
  if (All)
    if (auto* Record = dynamic_cast<TUndoAllLayers*>(M.ListeUndo()->CurrentUndo())) Record->SaveLayers();
  TMyImageLayered& Image = *M.Image();
  TBitmap& Bkg = Image.Layers()[0].Bitmap();
  const int W0 = Bkg.Width();
  const int H0 = Bkg.Height();
  double H, V;
  SkewFactors(H, V);
  const bool Smooth = UseSmoothing();
  TBitmap& Undo = *M.BmpUndo();
  if (E->ModeRGBA(false)) {
    const TPassesScope Passes(2);
    BleedColorsIntoTransparent(Undo, *M.MaskUndo(), 2, BitmapRect(Undo));
    SkewInPlace24(F->LeMasque(), H, V, clWhite, MaskAntialiasMode(Smooth));
    Skew24(Undo, Bkg, H, V, clNone, ImageAntialiasMode(Smooth));
    WhitenMaskedPixels(Bkg, F->LeMasque());
  } else {
    Skew24(Undo, Bkg, H, V, ColorEdit->Color(), ImageAntialiasMode(Smooth));
  }
  if (All)
    if (LayerNavigator* Nav = E->LayerNav()) SkewAllLayers(*Nav, H, V, W0, H0);
  E->TailleChangee();
  F->RefreshBitmap();
  F->MarkModified();
}
