#include "filters/ui/ChannelBars.h"

#include "i18n/Format.h"
#include "i18n/LibLang.h"
#include "ui/DrawUtils.h"
#include "ui/TrackBar.h"

#include <algorithm>

#include <QLabel>
#include <QPushButton>

namespace {

constexpr TrId ChannelNames[3] = {TrId::GetTrLblChannelRed, TrId::GetTrLblChannelGreen, TrId::GetTrLblChannelBlue};
// Left (complementary) and right (channel) swatches of each bar.
constexpr TColor Swatches[3][2] = {{0xFFFF00, 0x0000FF}, {0xFF00FF, 0x00FF00}, {0x00FFFF, 0xFF0000}};
constexpr TColor LabelColors[3] = {0x000080, 0x008000, 0x800000};

} // namespace

QString ChannelName(int Channel) { return Tr(ChannelNames[Channel]); }

QString BarLabelText(const QString& Fmt, int Position, double Divisor) {
  if (Fmt.contains(QLatin1String("%d"))) return Format(Fmt, {int(Position / Divisor)});
  return Format(Fmt, {Position / Divisor});
}

void LinkBarLabel(TFilterNForm& Form, TTrackBar* Bar, QLabel* Label, const QString& Fmt, double Divisor) {
  Label->setText(BarLabelText(Fmt, Bar->Position(), Divisor));
  Label->adjustSize();
  Bar->OnChange = [&Form, Bar, Label, Fmt, Divisor](QObject*) {
    Label->setText(BarLabelText(Fmt, Bar->Position(), Divisor));
    Label->adjustSize();
    Form.ParamChanged(false);
  };
}

TTrackBar* NewLabelledBar(TFilterNForm& Form, const QString& Fmt, int Min, int Max, int Frequency, int PgSize, int Pos,
                          int LabelGap, int BarGap, QLabel*& Label, double Divisor) {
  Label = Form.NewLabel(QString(), LabelGap);
  TTrackBar* Bar = Form.NewBar(Min, Max, Frequency, PgSize, Pos, BarGap);
  LinkBarLabel(Form, Bar, Label, Fmt, Divisor);
  return Bar;
}

void NewChannelBars(TFilterNForm& Form, const TChannelBarLayout& Layout, TTrackBar** Bars, QLabel** Labels) {
  for (int C = Layout.FirstChannel; C < 3; ++C) {
    const int I = C - Layout.FirstChannel;
    Labels[I] = Form.NewLabel(QString(), I == 0 ? Layout.FirstGap : 8);
    if (Layout.OwnSwatches) {
      Bars[I] = Form.NewBar(Layout.Min, Layout.Max, Layout.Frequency, Layout.PgSize, Layout.Pos, 4);
      Form.AddBarSwatches(Bars[I], Swatches[C][0], Swatches[C][1], 2);
    } else {
      Bars[I] = Form.NewBarCl(Layout.Min, Layout.Max, Layout.Frequency, Layout.PgSize, Layout.Pos, Swatches[C][0], Swatches[C][1], 4);
    }
    Labels[I]->move(Bars[I]->x() + 6, Labels[I]->y());
    LinkBarLabel(Form, Bars[I], Labels[I], ChannelName(C) + Layout.Suffix, Layout.Divisor);
  }
}

void ColorChannelLabels(QLabel* const* Labels, int Count, int FirstChannel) {
  for (int I = 0; I < Count; ++I) {
    QPalette P = Labels[I]->palette();
    P.setColor(QPalette::WindowText, ToQColor(LabelColors[FirstChannel + I]));
    Labels[I]->setPalette(P);
  }
}

TColor ChannelSwatch(int Channel, int Side) { return Swatches[Channel][Side]; }

QPushButton* PlaceResetButton(TFilterNForm& Form) {
  QPushButton* B = Form.NewResetButton();
  B->move(B->x(), Form.ControlsBottom(B) + Form.Rescale(16));
  return B;
}

void SetBold(QWidget* Control) {
  QFont F = Control->font();
  F.setBold(true);
  Control->setFont(F);
  // A label sized for its plain text would cut the bold one.
  if (auto* L = qobject_cast<QLabel*>(Control)) L->adjustSize();
}

bool AnyNot(std::initializer_list<const TTrackBar*> Bars, int Value) {
  return std::any_of(Bars.begin(), Bars.end(), [Value](const TTrackBar* B) { return B->Position() != Value; });
}

void SetAll(std::initializer_list<TTrackBar*> Bars, int Value) {
  for (TTrackBar* B : Bars) B->SetPosition(Value);
}
