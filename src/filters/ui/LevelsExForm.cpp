#include "filters/ui/LevelsExForm.h"

#include "filters/Convolution.h"
#include "filters/Filtres24.h"
#include "filters/ui/ChannelBars.h"
#include "i18n/Format.h"
#include "i18n/LibLang.h"
#include "raster/Bitmap24.h"
#include "raster/Pixels.h"
#include "ui/DlgColors.h"
#include "ui/MyImage.h"
#include "ui/MySlider.h"
#include "ui/TrackBar.h"

#include <QLabel>
#include <QPushButton>

#include <algorithm>

namespace {

// The strip: a frame in the bevel colour around columns going from black
// to white, column x (1 .. width - 2) in grey trunc((x - 1) * 256 / (width - 2)).
void PaintStrip(TBitmap& B, int W, int H) {
  B.SetSize(W, H);
  const TRGB Frame{GetBValue(ColorToRGB(clDlgBorder)), GetGValue(ColorToRGB(clDlgBorder)),
                   GetRValue(ColorToRGB(clDlgBorder))};
  for (int Y = 0; Y < H; ++Y) {
    TRGB* Row = RowOf(B, Y);
    for (int X = 0; X < W; ++X) {
      const bool Edge = X == 0 || Y == 0 || X == W - 1 || Y == H - 1;
      const auto Grey = uint8_t(std::min(255, (X - 1) * 256 / std::max(1, W - 2)));
      Row[X] = Edge ? Frame : TRGB{Grey, Grey, Grey};
    }
  }
}

} // namespace

TLevelsExForm::TLevelsExForm(QWidget* Parent) : TFilterNForm(Parent) {
  setObjectName(QStringLiteral("LevelsExForm"));
  setWindowTitle(Title(QStringLiteral("MenuReglageTons")));
  LblN->hide();
  TBN->hide();
  const int Left = BApercu->x();
  const int StripWidth = width() - 2 * Left;
  Strip = new MyImage::TMyImage(this);
  Strip->setGeometry(Left, Rescale(33), StripWidth, Rescale(12));
  PaintStrip(Strip->Bitmap(), StripWidth, Rescale(12));
  Strip->UpdateBitmap();
  const auto Mark = [&](const QString& Text, int X, int Align) {
    auto* L = new QLabel(Text, this);
    L->adjustSize();
    L->move(Align == 0 ? X : Align == 1 ? X - L->width() / 2 : X - L->width(), Rescale(17));
    return L;
  };
  Mark(QStringLiteral("+100"), Left, 0);
  Mark(QStringLiteral("0"), Left + StripWidth / 4, 1);
  Mark(QStringLiteral("-100"), Left + StripWidth / 2, 1);
  Mark(QStringLiteral("0"), Left + StripWidth * 3 / 4, 1);
  Mark(QStringLiteral("+100"), Left + StripWidth - 1, 2);

  Zones = new TMySlider(this);
  const int Cursor = Rescale(Zones->CursorSize());
  Zones->SetCursorSize(Cursor);
  Zones->SetDrawBar(false);
  Zones->SetMin(0);
  Zones->SetMax(400);
  Zones->SetPageSize(10);
  Zones->CanReset = true;
  Zones->setGeometry(Left - Cursor + 1, Strip->y() + Strip->height(), StripWidth + 2 * Cursor - 2, Zones->height());
  AddSliderCursor(Zones, 100, clBlack);
  AddSliderCursor(Zones, 300, clWhite);
  LblShadows = NewLabel(QString(), 4);
  LblHighlights = new QLabel(this);
  ZonesChanged();
  Zones->OnBeforeChange = [](TMySlider*, int Index, int& Value) {
    Value = Index == 0 ? std::min(Value, 200) : std::max(Value, 200);
  };
  Zones->OnChange = [this](TMySlider*, int, TSliderChangeMode Mode) {
    ZonesChanged();
    if (Mode != TSliderChangeMode::cmProperty) ParamChanged(false);
  };
  Zones->OnMouseUp = [this](TMySlider*, Qt::MouseButton, Qt::KeyboardModifiers, int, int) { ParamChanged(true); };
  Zones->OnKeyUp = [this](TMySlider*, int, Qt::KeyboardModifiers) { ParamChanged(true); };

  QLabel* Label = nullptr;
  Radius = NewLabelledBar(*this, Tr(TrId::GetTrFmtRadius), 1, 20, 1, 1, 3, 20, 4, Label);
  NewSeparator(12);
  Gamma = NewLabelledBar(*this, Tr(TrId::GetTrFmtGamma), 10, 300, 10, 10, 100, 8, 4, Label, 100);
  BtnReset = PlaceResetButton(*this);
  ArrangeButtons();
}

void TLevelsExForm::ZonesChanged() {
  LblShadows->setText(Tr(TrId::GetTrLblShadows) + Format(QStringLiteral(" : %d%%"), {100 - Zones->GetPosition(0)}));
  LblShadows->adjustSize();
  LblHighlights->setText(Tr(TrId::GetTrLblHighlights) +
                         Format(QStringLiteral(" : %d%%"), {Zones->GetPosition(1) - 300}));
  LblHighlights->adjustSize();
  LblHighlights->move(Strip->x() + Strip->width() - LblHighlights->width(), LblShadows->y());
}

bool TLevelsExForm::HasEffect() {
  return Zones->GetPosition(0) != 100 || Zones->GetPosition(1) != 300 || Gamma->Position() != 100;
}

void TLevelsExForm::ResetParams() {
  Zones->SetPosProperty(0, 100);
  Zones->SetPosProperty(1, 300);
  if (const TFilterHost* H = FilterHost(); H && H->UneImage()) {
    const TBitmap& B = FilterHost()->LeBitmap();
    Radius->SetPosition(std::max(B.Width(), B.Height()) / 300);
  }
  Gamma->SetPosition(100);
}

void TLevelsExForm::ApplyFilter() {
  if (!HasEffect()) return;
  TBitmap& B = Bitmap();
  const TRect R = IntersectRect(WorkRect(), {0, 0, B.Width(), B.Height()});
  ShadowsHighlights24(B, 0, 177, Zones->GetPosition(0) - 100, 255, 77, 300 - Zones->GetPosition(1),
                      Radius->Position() * 5, R);
  // Half of the unfiltered layer back over the result.
  CopyRect24Opacity(FilterHost()->BmpUndo(), R, B, R.Left, R.Top, R, 50);
  if (Gamma->Position() != 100) Gamma24(B, Gamma->Position() / 100.0, R);
}
