#include "dialogs/ui/TextureDlg.h"

#include "dialogs/ui/DialogParts.h"
#include "ui/SpecialEdit.h"
#include "filters/Convolution.h"
#include "filters/ui/FilterHost.h"
#include "i18n/Format.h"
#include "raster/Bitmap24.h"
#include "raster/FoncUtils.h"
#include "ui/TrackBar.h"

#include <QGroupBox>
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

TTextureForm::TTextureForm(QWidget* Parent)
    : TOverlayForm(Parent, TOverlayPicture::pkGrey, "MenuTexture", FilterUndoKind, TOverlayFolder::Textures) {
  setObjectName(QStringLiteral("TextureForm"));
  setWindowTitle(DialogTitle("MenuTexture", QStringLiteral("Texture")));
  IniCustomVarCount = 2;
  BuildPictureGroup(TrText(TrId::GetTrLblMask, QStringLiteral(" Masque ")), "EdiTexture", true);
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
  BuildButtons();
  for (TTrackBar* T : {TBOpacite, TBEchelle, TBRelief})
    T->OnKeyUp = [this](TTrackBar*, int, Qt::KeyboardModifiers) {
      if (!Updating) Previewer->OptionChanged();
    };
}

QString TTextureForm::GetIniCustomVar(int Index) {
  return Index == 0 ? QString::number(Picture.Angle) : QString(Picture.Negatif ? u'1' : u'0');
}

void TTextureForm::SetIniCustomVar(int Index, const QString& Value) {
  if (FlagExplorer) return;
  if (Index == 0) Picture.SetAngleText(Value);
  if (Index == 1) Picture.Negatif = Value == QStringLiteral("1");
}

void TTextureForm::ApplyOverlay(const TRect& R) {
  ApplyTextureOverlay(Picture.Bmp, FilterHost()->LeBitmap(), R, TBEchelle->Position(), TBOpacite->Position(),
                      TBRelief->Position());
}
