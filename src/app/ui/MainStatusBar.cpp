#include "app/ui/MainStatusBar.h"

#include "app/StatusProgress.h"
#include "raster/ColorUtils.h"
#include "ui/DlgColors.h"

#include <QPainter>

namespace {

QColor Rgb(TColor C) {
  const TColor R = ColorToRGB(C);
  return QColor(GetRValue(R), GetGValue(R), GetBValue(R));
}

// The orange of the progress fill, in the platform's colour order.
constexpr TColor ProgressColor = 0x0099FF;

} // namespace

TMainStatusBar::TMainStatusBar(QWidget* Parent) : QWidget(Parent) { setObjectName(QStringLiteral("StatusBar")); }

void TMainStatusBar::SetPanelText(int Index, const QString& Text) {
  if (FTexts.at(Index) == Text) return;
  FTexts.at(Index) = Text;
  update(PanelRect(Index));
}

void TMainStatusBar::SetPanelWidth(int Index, int Width) {
  FWidths.at(Index) = Width;
  update();
}

QRect TMainStatusBar::PanelRect(int Index) const {
  int Left = 0;
  for (int I = 0; I < Index; ++I) Left += FWidths[I];
  const int Width = Index == PanelCount - 1 ? std::max(FWidths[Index], width() - Left) : FWidths[Index];
  return QRect(Left, 0, Width, height());
}

void TMainStatusBar::SetProgress(bool Drawn, int Percent) {
  FProgressDrawn = Drawn;
  FProgressValue = Drawn ? std::clamp(Percent, 0, 100) : 0;
  update(PanelRect(0));
}

QSize TMainStatusBar::sizeHint() const { return QSize(400, fontMetrics().height() + 6); }

void TMainStatusBar::paintEvent(QPaintEvent*) {
  QPainter P(this);
  P.fillRect(rect(), Rgb(clDlgPanelLight));
  for (int I = 0; I < PanelCount; ++I) {
    const QRect R = PanelRect(I);
    if (I == 0 && FProgressDrawn) {
      const TColor Fill = MixColors(ColorToRGB(clDlgPanelLight), ProgressColor, 50);
      P.fillRect(QRect(R.left(), R.top(), ProgressFillWidth(FProgressValue, R.width()), R.height()), Rgb(Fill));
    }
    P.setPen(Rgb(clDlgBorder));
    if (I < PanelCount - 1) P.drawLine(R.right(), R.top() + 2, R.right(), R.bottom() - 2);
    P.setPen(Rgb(clDlgText));
    const int Align = (I == 1 || I == 2) ? Qt::AlignCenter : (Qt::AlignLeft | Qt::AlignVCenter);
    P.drawText(R.adjusted(2, 0, -2, 0), Align | Qt::TextSingleLine, FTexts[I]);
  }
}
