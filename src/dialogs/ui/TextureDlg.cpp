#include "dialogs/ui/TextureDlg.h"

#include "dialogs/ui/DialogParts.h"
#include "filters/Convolution.h"
#include "filters/ui/FilterHost.h"
#include "i18n/Format.h"
#include "platform/NumberFormat.h"
#include "raster/Bitmap24.h"
#include "raster/FoncUtils.h"
#include "ui/SpecialEdit.h"
#include "ui/TrackBar.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

void ApplyTextureOverlay(const TBitmap& Texture, TBitmap& Dst, const TRect& R, int Scale, int Opacity, int Relief) {
  ApplyTextureReliefScaled24(Texture, Dst, Scale / 100.0, R, Opacity);
  if (Relief <= 0) return;
  // Rows 0 1 0 / 1 1 -1 / 0 -1 0, divisor 1, no bias.
  TFilterMatrix Kernel(3, 3);
  const int32_t Values[3][3] = {{0, 1, 0}, {1, 1, -1}, {0, -1, 0}};
  for (int Y = 0; Y < 3; ++Y)
    for (int X = 0; X < 3; ++X) Kernel.SetValueXY(X, Y, Values[Y][X]);
  ConvolveAmount(Dst, Kernel, Relief, R);
}

TTextureForm::TTextureForm(QWidget* Parent) : TMainDialogForm(Parent) {
  setObjectName(QStringLiteral("TextureForm"));
  setWindowTitle(DialogTitle("MenuTexture", QStringLiteral("Texture")));
  DialogMode = TMainDialogMode::dmDialog;
  IniCustomVarCount = 2;
  auto* Main = new QVBoxLayout(this);
  const TPictureGroup Picture =
      MakePictureGroup(*this, TrText(TrId::GetTrLblMask, QStringLiteral(" Masque ")), "EdiTexture", true);
  GroupBox2 = Picture.Group;
  EdiTexture = Picture.Edit;
  BtnParcourir = Picture.Browse;
  ImgMasque = Picture.Thumb;
  BtnRotation = Picture.Rotation;
  BtnNegatif = Picture.Negatif;
  Main->addWidget(GroupBox2);
  auto* GroupBox1 = new QGroupBox(TrText(TrId::GetTrLblSettings, QStringLiteral(" Paramètres ")), this);
  GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
  auto* Settings = new QVBoxLayout(GroupBox1);
  TBOpacite = AddLabeledBar(*this, *Settings, "TBOpacite", "LblOpacite", 10, 100, 50, [](int V) {
                return Format(Tr(TrId::GetTrFmtOpacity), {V});
              }).Bar;
  TBEchelle = AddLabeledBar(*this, *Settings, "TBEchelle", "LblEchelle", 30, 300, 100, [](int V) {
                return QStringLiteral("Echelle : %1%").arg(V);
              }).Bar;
  TFilterHost* Host = FilterHost();
  const QString Relief = Host ? Host->TitreMenu(QStringLiteral("MenuRelief")) : QString();
  const QString ReliefFmt = (Relief.isEmpty() ? QStringLiteral("Relief") : Relief) + QStringLiteral(" : %1%");
  TBRelief = AddLabeledBar(*this, *Settings, "TBRelief", "LblRelief", 0, 100, 0, [ReliefFmt](int V) {
               return ReliefFmt.arg(V);
             }).Bar;
  Main->addWidget(GroupBox1);
  const TPreviewRow Live = AddPreviewRow(*this, *Main);
  CBPreview = Live.CBPreview;
  BApercu = Live.BApercu;
  const TOkCancel Buttons = AddOkCancel(*this, *Main);
  BOk = Buttons.BOk;
  BAnnuler = Buttons.BAnnuler;

  Previewer = std::make_unique<TOverlayPreview>(
      CBPreview, BApercu, [this] { return !Texture.Empty(); },
      [this](const TRect& R) {
        ApplyTextureOverlay(Texture.Bmp, FilterHost()->LeBitmap(), R, TBEchelle->Position(), TBOpacite->Position(),
                            TBRelief->Position());
      });
  QMenu* Menu = Texture.MakeMenu(this, true, [this] { PictureChanged(); });
  connect(ImgMasque, &QWidget::customContextMenuRequested, this,
          [this, Menu](const QPoint& At) { Menu->popup(ImgMasque->mapToGlobal(At)); });
  connect(BtnParcourir, &QToolButton::clicked, this, [this] { LoadTexture(QString(), false); });
  connect(BtnRotation, &QToolButton::clicked, this, [this] {
    Texture.Turn(90);
    PictureChanged();
  });
  connect(BtnNegatif, &QToolButton::clicked, this, [this] {
    Texture.Invert();
    PictureChanged();
  });
  for (TTrackBar* T : {TBOpacite, TBEchelle, TBRelief})
    T->OnKeyUp = [this](TTrackBar*, int, Qt::KeyboardModifiers) {
      if (!Updating) Previewer->OptionChanged();
    };
  connect(CBPreview, &QCheckBox::clicked, this, [this] { Previewer->LiveClick(); });
  connect(BApercu, &QPushButton::clicked, this, [this] { Previewer->Run(); });
  connect(BOk, &QPushButton::clicked, this, [this] { BOkClick(); });
  MajBoutons();
}

TTextureForm::~TTextureForm() = default;

void TTextureForm::AcceptIniControl(QWidget* Control, bool& Accept) {
  TMainDialogForm::AcceptIniControl(Control, Accept);
  // The browser's picture stays out of the stored file.
  if (Control == EdiTexture && FlagExplorer) Accept = false;
}

QString TTextureForm::GetIniCustomVar(int Index) {
  return Index == 0 ? QString::number(Texture.Angle) : QString(Texture.Negatif ? u'1' : u'0');
}

void TTextureForm::SetIniCustomVar(int Index, const QString& Value) {
  if (FlagExplorer) return;
  if (Index == 0) Texture.Angle = (StrToIntDef(Value, 0) % 360 + 360) / 90 % 4 * 90;
  if (Index == 1) Texture.Negatif = Value == QStringLiteral("1");
}

void TTextureForm::ExploreTexture(const QString& NomFic) {
  FlagExplorer = true;
  LoadTexture(NomFic, false);
}

void TTextureForm::LoadTexture(const QString& Name, bool KeepTransform) {
  TFilterHost* Host = FilterHost();
  if (!Texture.Load(Name, Host ? Host->DataDir() : QString(), KeepTransform)) return;
  EdiTexture->SetText(Texture.FileName);
  MajBoutons();
  Texture.DrawThumbnail(ImgMasque);
  if (!Updating) Previewer->OptionChanged();
}

void TTextureForm::PictureChanged() {
  Texture.DrawThumbnail(ImgMasque);
  Previewer->OptionChanged();
}

void TTextureForm::MajBoutons() {
  const bool Picture = !Texture.Empty();
  for (QWidget* W : {static_cast<QWidget*>(BtnNegatif), static_cast<QWidget*>(BtnRotation),
                     static_cast<QWidget*>(BOk), static_cast<QWidget*>(CBPreview)})
    W->setEnabled(Picture);
  BApercu->setEnabled(Picture && !CBPreview->isChecked());
}

void TTextureForm::FormShow() { Previewer->Start(); }

void TTextureForm::UpdateControls() {
  const bool WasUpdating = std::exchange(Updating, true);
  if (!FlagExplorer && !EdiTexture->Text().isEmpty()) LoadTexture(EdiTexture->Text(), true);
  FlagExplorer = false;
  MajBoutons();
  Updating = WasUpdating;
  if (!BOk->isEnabled()) BAnnuler->setFocus();
  if (CBPreview->isEnabled() && CBPreview->isChecked()) Previewer->Run();
}

void TTextureForm::BOkClick() {
  CloseOk();
  Previewer->Finish();
  if (TFilterHost* Host = FilterHost(); Host && Host->UneImage())
    Host->DernierFiltre(Host->TitreMenu(QStringLiteral("MenuTexture")), this, [this](QObject*) { Repeat(); }, 0);
  Texture.Free();
  ImgMasque->clear();
}

void TTextureForm::FormHide() {
  if (DialogOk) return;
  Previewer->Cancel();
  Texture.Free();
  ImgMasque->clear();
}

void TTextureForm::Repeat() {
  TFilterHost* Host = FilterHost();
  if (!Host || !Host->UneImage()) return;
  Host->PreparerUndo(FilterUndoKind, Host->TitreMenu(QStringLiteral("MenuTexture")));
  Previewer->Start();
  const bool WasUpdating = std::exchange(Updating, true);
  LoadTexture(EdiTexture->Text(), true);
  Updating = WasUpdating;
  Previewer->Run();
  Texture.Free();
}
