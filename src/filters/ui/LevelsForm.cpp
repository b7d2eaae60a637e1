#include "filters/ui/LevelsForm.h"

#include "filters/Filtres24.h"
#include "filters/ui/ChannelBars.h"
#include "i18n/LibLang.h"
#include "ui/MyBevel.h"
#include "ui/TrackBar.h"

#include <QLabel>
#include <QPushButton>

namespace {

// Control moved Gap design pixels under Above, keeping its Left.
void MoveUnder(TFilterNForm& Form, QWidget* Control, const QWidget* Above, int Gap) {
  Control->move(Control->x(), Above->y() + Above->height() + Form.Rescale(Gap));
}

} // namespace

TLevelsForm::TLevelsForm(QWidget* Parent) : TFilterNForm(Parent) {
  setObjectName(QStringLiteral("LevelsForm"));
  setWindowTitle(Title(QStringLiteral("MenuReglageNiveaux")));
  SetMainBar(0, 100, 5, 5, 85, Tr(TrId::GetTrFmtThreshold));
  const QString IntensityFormat = Tr(TrId::GetTrFmtIntensity);
  QLabel* Label = nullptr;
  // The shadow band's heading comes first, the designed slider under it.
  Headings[0] = NewLabel(Tr(TrId::GetTrLblShadows), 0);
  Headings[0]->move(Headings[0]->x(), Rescale(16));
  TMyBevel* Separator = NewSeparator(0);
  MoveUnder(*this, Separator, Headings[0], 4);
  MoveUnder(*this, LblN, Separator, 8);
  MoveUnder(*this, TBN, LblN, 4);
  Intensity[0] = NewLabelledBar(*this, IntensityFormat, -100, 100, 10, 5, 0, 0, 4, Label);
  Headings[1] = NewLabel(Tr(TrId::GetTrLblMidtones), 8);
  NewSeparator(4);
  Intensity[1] = NewLabelledBar(*this, IntensityFormat, -100, 100, 10, 5, 0, 8, 4, Label);
  Headings[2] = NewLabel(Tr(TrId::GetTrLblHighlights), 8);
  NewSeparator(4);
  HighLimit = NewLabelledBar(*this, Tr(TrId::GetTrFmtThreshold), 155, 255, 5, 5, 170, 8, 4, Label);
  Intensity[2] = NewLabelledBar(*this, IntensityFormat, -100, 100, 10, 5, 0, 0, 4, Label);
  BtnReset = PlaceResetButton(*this);
  ArrangeButtons();
}

void TLevelsForm::UpdateControls() {
  for (QLabel* H : Headings) SetBold(H);
}

bool TLevelsForm::HasEffect() { return AnyNot({Intensity[0], Intensity[1], Intensity[2]}, 0); }

void TLevelsForm::ResetParams() {
  TBN->SetPosition(85);
  SetAll({Intensity[0], Intensity[1], Intensity[2]}, 0);
  HighLimit->SetPosition(170);
}

void TLevelsForm::ApplyFilter() {
  const int S = TBN->Position(), H = HighLimit->Position();
  const int Mid = Intensity[1]->Position();
  BandContrast24(Bitmap(), Intensity[0]->Position(), 0, S, S, WorkRect());
  if (Mid > 0)
    BandContrast24(Bitmap(), Mid, S, H, S, WorkRect());
  else
    BandContrast24(Bitmap(), -Mid, S, H, H, WorkRect());
  BandContrast24(Bitmap(), Intensity[2]->Position(), H, 255, H, WorkRect());
}
