#include "filters/ui/ChannelBars.h"

#include "i18n/Format.h"
#include "i18n/LibLang.h"
#include "ui/DrawUtils.h"
#include "ui/TrackBar.h"

#include <QLabel>

namespace {

constexpr TrId ChannelNames[3] = {TrId::GetTrLblChannelRed, TrId::GetTrLblChannelGreen, TrId::GetTrLblChannelBlue};
// Left (complementary) and right (channel) swatches of each bar.
constexpr TColor Swatches[3][2] = {{0xFFFF00, 0x0000FF}, {0xFF00FF, 0x00FF00}, {0x00FFFF, 0xFF0000}};
constexpr TColor LabelColors[3] = {0x000080, 0x008000, 0x800000};

} // namespace

QString ChannelLabelText(int Channel, const QString& Suffix, double Value) {
  const QString Text = Suffix.contains(QLatin1String("%d")) ? Format(Suffix, {int(Value)}) : Format(Suffix, {Value});
  return Tr(ChannelNames[Channel]) + Text;
}

void NewChannelBars(TFilterNForm& Form, const TChannelBarSpec& Spec, TTrackBar* (&Bars)[3], QLabel* (&Labels)[3]) {
  for (int C = 0; C < 3; ++C) {
    Labels[C] = Form.NewLabel(ChannelLabelText(C, Spec.Suffix, Spec.Pos / Spec.Divisor), C == 0 ? Spec.FirstGap : 8);
    Bars[C] = Form.NewBarCl(Spec.Min, Spec.Max, Spec.Frequency, Spec.PgSize, Spec.Pos, Swatches[C][0], Swatches[C][1], 4);
    Labels[C]->move(Bars[C]->x() + 6, Labels[C]->y());
    TTrackBar* Bar = Bars[C];
    QLabel* Label = Labels[C];
    Bar->OnChange = [&Form, Bar, Label, C, Spec](QObject*) {
      Label->setText(ChannelLabelText(C, Spec.Suffix, Bar->Position() / Spec.Divisor));
      Label->adjustSize();
      Form.ParamChanged(false);
    };
  }
}

void ColorChannelLabels(QLabel* const (&Labels)[3]) {
  for (int C = 0; C < 3; ++C) {
    QPalette P = Labels[C]->palette();
    P.setColor(QPalette::WindowText, ToQColor(LabelColors[C]));
    Labels[C]->setPalette(P);
  }
}
