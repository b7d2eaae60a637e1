#include "dialogs/ui/Rot.h"

#include "dialogs/ui/DialogParts.h"
#include "dialogs/ui/ImageDialogHost.h"
#include "dialogs/ui/ImageResize.h"
#include "document/Calque.h"
#include "platform/FontUtils.h"
#include "platform/Rounding.h"
#include "raster/Bitmap24.h"
#include "raster/FilterEvent.h"
#include "raster/FoncUtils.h"
#include "raster/ImgUtils24.h"
#include "raster/Rotation24.h"
#include "raster/Stretching.h"
#include "raster/TransformFunc.h"
#include "ui/ColorEdit.h"
#include "ui/DlgColors.h"
#include "ui/SpinEdit.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

TRotForm::TRotForm(QWidget* Parent) : TPipetteForm(Parent) {
  setObjectName(QStringLiteral("RotForm"));
  setWindowTitle(TrText(TrId::GetTrMnuRotate, QStringLiteral("Rotation")));
  auto* Main = new QHBoxLayout(this);
  auto* Left = new QVBoxLayout;
  auto* Form = new QFormLayout;
  SEAngle = new TFloatSpinEdit(this);
  SEAngle->setObjectName(QStringLiteral("SEAngle"));
  SEAngle->SetMinValue(-359);
  SEAngle->SetMaxValue(359);
  SEAngle->SetIncrement(1);
  SEAngle->setMaxLength(7);
  SEAngle->SetValue2(0);
  Form->addRow(TrLabel(TrId::GetTrLblAngle, QStringLiteral("Angle :")), SEAngle);
  ColorEdit = new TColorEdit(this);
  ColorEdit->setObjectName(QStringLiteral("ColorEdit"));
  ColorEdit->SetColor(clWhite);
  Form->addRow(TrLabel(TrId::GetTrLblBkg, QStringLiteral("Fond :")), ColorEdit);
  Left->addLayout(Form);
  const auto Box = [&](const char* Name, TrId Id, const char* French) {
    auto* C = new QCheckBox(TrText(Id, QString::fromUtf8(French)), this);
    C->setObjectName(QString::fromLatin1(Name));
    C->setChecked(true);
    Left->addWidget(C);
    return C;
  };
  CBAjuster = Box("CBAjuster", TrId::GetTrLblAdjustSize, "Ajuster la taille");
  CBLisser = Box("CBLisser", TrId::GetTrLblAntialias, "Lisser");
  CBTous = Box("CBTous", TrId::GetTrLblAllLayers, "Tous les calques");
  Left->addStretch(1);
  Main->addLayout(Left);
  auto* Right = new QVBoxLayout;
  ImgApercu = new QLabel(this);
  ImgApercu->setObjectName(QStringLiteral("ImgApercu"));
  ImgApercu->setFixedSize(Rescale(160), Rescale(160));
  Right->addWidget(ImgApercu);
  const TOkCancel Buttons = AddOkCancel(*this, *Right);
  BOk = Buttons.BOk;
  BAnnuler = Buttons.BAnnuler;
  Main->addLayout(Right);

  const auto OptionChanged = [this] {
    if (!Thumb.Empty()) DrawPreview();
  };
  SEAngle->OnChange = [OptionChanged](QObject*) { OptionChanged(); };
  ColorEdit->OnChange = [OptionChanged](QObject*) { OptionChanged(); };
  connect(CBAjuster, &QCheckBox::toggled, this, OptionChanged);
  connect(CBLisser, &QCheckBox::toggled, this, OptionChanged);
  connect(CBTous, &QCheckBox::toggled, this, [this] {
    if (Updating) return;
    MakeThumb();
    DrawPreview();
  });
  connect(BOk, &QPushButton::clicked, this, [this] { BOkClick(); });
}

bool TRotForm::AllLayers() const { return CBTous->isChecked() && !CBTous->isHidden(); }
bool TRotForm::Smooth() const { return CBLisser->isChecked() && !CBLisser->isHidden(); }

bool TRotForm::UseMergedImage(bool All) const {
  TImageDialogHost* Host = ActiveImageDialogHost();
  if (!Host) return false;
  return All || Host->LeFond().Transparent || (Host->ModeRGBA(false) && Host->Image().Layers().Count() == 1);
}

void TRotForm::FormShow() {
  TImageDialogHost* Host = ActiveImageDialogHost();
  if (!Host) return;
  const TBitmap& Fond = Host->LeFond();
  ColorEdit->setEnabled(!Fond.Transparent && !Host->ModeRGBA(true));
  ColorEdit->SetReadOnly(!Host->Mode16M());
  CBLisser->setVisible(Host->Mode16M() && !Fond.Transparent);
  CBTous->setVisible(Host->Image().Layers().Count() > 1);
  Host->Image().MergeLayersForPreview(true);
  DialogMode = ColorEdit->isEnabled() ? TMainDialogMode::dmPipette : TMainDialogMode::dmModal;
}

void TRotForm::FormHide() {
  Thumb.Assign(TBitmap());
  Apercu.Assign(TBitmap());
  ImgApercu->clear();
}

void TRotForm::UpdateControls() {
  TImageDialogHost* Host = ActiveImageDialogHost();
  if (!Host) return;
  const TBitmap& Fond = Host->LeFond();
  if (Fond.Transparent)
    ColorEdit->SetColor(Fond.TransparentColor());
  else if (Host->ModeRGBA(true))
    ColorEdit->SetColor(clWhite);
  else if (!Host->Mode16M())
    ColorEdit->SetColor(Fond.PixelColor(0, 0));
  MakeThumb();
  DrawPreview();
}

void TRotForm::ChangerCouleur(TColor Couleur) { ColorEdit->SetColor(Couleur); }

void TRotForm::MakeThumb() {
  TImageDialogHost* Host = ActiveImageDialogHost();
  if (!Host) return;
  const bool Merged = UseMergedImage(AllLayers());
  const TBitmap& Source = Merged ? Host->Image().Bitmap() : Host->LeFond();
  const TBitmap* Mask = Merged ? nullptr : &Host->Image().Layers()[0].Mask();
  int W = Source.Width(), H = Source.Height();
  FitSize(W, H, Round(1.5 * ImgApercu->width()), Round(1.5 * ImgApercu->height()));
  W = std::clamp(W, 1, std::max(Source.Width(), 1));
  H = std::clamp(H, 1, std::max(Source.Height(), 1));
  NewBitmap24(Thumb, W, H, clWhite);
  StretchRect24Mask(Source, {0, 0, Source.Width(), Source.Height()}, Thumb, {0, 0, W, H}, {0, 0, W, H}, Mask);
}

void TRotForm::DrawPreview() {
  TImageDialogHost* Host = ActiveImageDialogHost();
  if (!Host || Thumb.Empty()) return;
  const double Angle = StrToFloatRange(SEAngle->text(), 0, -359.99, 359.99);
  const TColor Back = Host->ModeRGBA(true) || Host->LeFond().Transparent ? clWhite : ColorEdit->Color();
  TBitmap Turned;
  RotateBitmapAngleTo(Thumb, Turned, Angle, CBAjuster->isChecked(), Back, Smooth() ? amBilinear : amNearest);
  NewBitmap24(Apercu, ImgApercu->width(), ImgApercu->height(), clWhite);
  DrawThumbnail24(Turned, Apercu, clWhite, 2, 4, clDlgWindow);
  ImgApercu->setPixmap(QPixmap::fromImage(Apercu.QImageView().copy()));
}

void TRotForm::BOkClick() {
  if (SEAngle->text().isEmpty()) {
    WarnEmptyFields();
    return;
  }
  const double Angle = SEAngle->Value();
  TImageDialogHost* Host = ActiveImageDialogHost();
  if (Angle == 0 || !Host) {
    close();
    return;
  }
  int NewW = Host->LeFond().Width(), NewH = Host->LeFond().Height();
  if (CBAjuster->isChecked()) RotatedSize(NewW, NewH, Angle);
  if (!AcceptImageSize(NewW, NewH)) return;
  CloseOk();
  TActionScope Action(*Host);
  Host->PreparerUndo(UndoKindBkgAll, windowTitle());
  if (AllLayers())
    if (auto* Record = dynamic_cast<TUndoAllLayers*>(Host->CurrentUndo())) Record->SaveLayers();
  const int OldW = Host->LeFond().Width(), OldH = Host->LeFond().Height();
  const bool Fit = CBAjuster->isChecked();
  const TAntialiasMode Mode = Smooth() ? amBicubic : amNearest;
  const bool Done = GuardMemory(*Host, int64_t(NewW) * NewH * 3, [&] {
    if (Host->ModeRGBA(false)) {
      SetProgressPasses(2);
      TBitmap& Mask = Host->LeMasque();
      // Colours bled under the transparent pixels, so that interpolation
      // pulls in no stray colour at the edges.
      BleedColorsIntoTransparent(Host->BmpUndo(), Mask, 2, {0, 0, OldW, OldH});
      RotateBitmapAngle(Mask, Angle, Fit, clWhite, MaskAntialiasMode(Smooth()));
      RotateBitmapAngleTo(Host->BmpUndo(), Host->LeBitmap(), Angle, Fit, clNone, Mode);
      WhitenMaskedPixels(Host->LeBitmap(), Mask);
    } else {
      RotateBitmapAngleTo(Host->BmpUndo(), Host->LeBitmap(), Angle, Fit, ColorEdit->Color(), Mode);
    }
  });
  if (!Done) return;
  EndGeometryChange(*Host, LayersFollow(AllLayers(), [&] { return RotateAllLayers(Host->LayerNav(), Angle, OldW, OldH); }));
}
