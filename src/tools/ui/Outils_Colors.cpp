// The colours of the tool palette: the foreground and background panels,
// swapping, black and white, the web colour edit, and the two colour strips.
#include "tools/ui/Outils.h"

#include "raster/FoncUtils.h"
#include "tools/ColorStrip.h"
#include "tools/ui/PaletteWidgets.h"
#include "tools/ui/ToolGlyphs.h"
#include "ui/ColorPicker.h"

#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

namespace {

constexpr TColor StripShadow = clBtnShadow;

QToolButton* NewIconButton(QWidget* Parent, const char* Name, const QIcon& Icon) {
  auto* Button = new QToolButton(Parent);
  Button->setObjectName(QString::fromLatin1(Name));
  Button->setIcon(Icon);
  Button->setAutoRaise(true);
  Button->setFocusPolicy(Qt::NoFocus);
  return Button;
}

} // namespace

void TOutilsForm::CreateColorArea() {
  FPnlCouleur = new TColorSwatch(FContent);
  FPnlCouleur->setObjectName(QStringLiteral("PnlCouleur"));
  FPnlCouleur->SetColor(clBlack);
  FPnlCouleur->OnClick = [this] { PnlCouleurClick(false); };
  FPnlFond = new TColorSwatch(FContent);
  FPnlFond->setObjectName(QStringLiteral("PnlFond"));
  FPnlFond->SetColor(clWhite);
  FPnlFond->OnClick = [this] { PnlCouleurClick(true); };
  FImgSwap = NewIconButton(FContent, "ImgSwap", SwapGlyph(15));
  FImgNB = NewIconButton(FContent, "ImgNB", BlackWhiteGlyph(15));
  connect(FImgSwap, &QToolButton::clicked, this, [this] { ImgSwapClick(); });
  connect(FImgNB, &QToolButton::clicked, this, [this] { ImgNBClick(); });
  FImgGrad = new TStripImage(FContent);
  FImgGrad->setObjectName(QStringLiteral("ImgGrad"));
  FImgGrad->OnPick = [this](int X, int Y, bool Right) { StripPick(FImgGrad, X, Y, Right); };
  FImgGrad2 = new TStripImage(FContent);
  FImgGrad2->setObjectName(QStringLiteral("ImgGrad2"));
  FImgGrad2->OnPick = [this](int X, int Y, bool Right) { StripPick(FImgGrad2, X, Y, Right); };
  FBtnPrevGrad = NewIconButton(FContent, "BtnPrevGrad", QIcon());
  FBtnPrevGrad->setArrowType(Qt::LeftArrow);
  FBtnNextGrad = NewIconButton(FContent, "BtnNextGrad", QIcon());
  FBtnNextGrad->setArrowType(Qt::RightArrow);
  connect(FBtnPrevGrad, &QToolButton::clicked, this, [this] { BtnPrevGradClick(); });
  connect(FBtnNextGrad, &QToolButton::clicked, this, [this] { BtnNextGradClick(); });
}

TColor TOutilsForm::GetColor(bool Back) const { return (Back ? FPnlFond : FPnlCouleur)->Color(); }

void TOutilsForm::SetColor(TColor Value, bool Back) {
  if (Back) {
    FPnlFond->SetColor(Value);
    return;
  }
  FPnlCouleur->SetColor(Value);
  SetColorPickerDefaultColor(Value);
  ShowColorValues(Value);
}

void TOutilsForm::ShowColorValues(TColor C) {
  const TColor Rgb = ColorToRGB(C);
  Control<QLabel>("LblR")->setText(QStringLiteral("%1 = %2").arg(QStringLiteral("R")).arg(Rgb & 0xFF));
  Control<QLabel>("LblV")->setText(QStringLiteral("%1 = %2").arg(QStringLiteral("V")).arg((Rgb >> 8) & 0xFF));
  Control<QLabel>("LblB")->setText(QStringLiteral("%1 = %2").arg(QStringLiteral("B")).arg((Rgb >> 16) & 0xFF));
  Control<QLineEdit>("EdiHTML")->setText(ColorToText(Rgb, true).toUpper());
}

void TOutilsForm::ValidateEdiHTML() {
  // A value no text gives: the text was not a colour.
  constexpr TColor Invalid = 0x7EDCBA98;
  const TColor Color = TextToColor(Control<QLineEdit>("EdiHTML")->text().trimmed(), Invalid, true);
  SetColor(Color == Invalid ? GetColor(false) : Color, false);
}

void TOutilsForm::ImgSwapClick() {
  const TColor Fore = GetColor(false);
  SetColor(GetColor(true), false);
  SetColor(Fore, true);
}

void TOutilsForm::ImgNBClick() {
  SetColor(clWhite, true);
  SetColor(clBlack, false);
}

void TOutilsForm::PnlCouleurClick(bool Back) {
  TColor Color = GetColor(Back);
  if (FServices.ChooseColor(Color)) SetColor(Color, Back);
}

void TOutilsForm::StripPick(TStripImage* Strip, int X, int Y, bool Back) {
  SetColor(ColorAtPos(Strip->Picture, Strip == FImgGrad && FColorsIndex <= 0, X, Y), Back);
}

void TOutilsForm::SetGradIndex(int Index) {
  FColorsIndex = ColorStripIndex(Index);
  DrawGrad();
}

void TOutilsForm::BtnPrevGradClick() { SetGradIndex(FColorsIndex <= 0 ? ColorStripCount - 1 : FColorsIndex - 1); }

void TOutilsForm::BtnNextGradClick() { SetGradIndex(FColorsIndex >= ColorStripCount - 1 ? 0 : FColorsIndex + 1); }

void TOutilsForm::DrawGrad() {
  FImgGrad->Picture.SetSize(FImgGrad->width(), FImgGrad->height());
  DrawColorStrip(FImgGrad->Picture, FColorsIndex, StripShadow);
  FImgGrad->update();
}
