#include "extensions/FullScreenRules.h"

#include "platform/Rounding.h"

#include <algorithm>

QString FullScreenInfoText(const QString& FileName, int Width, int Height, double Zoom) {
  QString Name = FileName;
  Name.replace(QLatin1Char('&'), QStringLiteral("&&"));
  return QStringLiteral("%1 (%2x%3, %4%)").arg(Name).arg(Width).arg(Height).arg(Round(Zoom * 100));
}

TColor FullScreenInfoTextColor(TColor Background) {
  const TColor C = ColorToRGB(Background);
  const int Luminance = (GetRValue(C) * 77 + GetGValue(C) * 150 + GetBValue(C) * 28) >> 8;
  return Luminance < 128 ? clWhite : clBlack;
}

double FullScreenZoom(double FitZoom) { return std::min(FitZoom, 1.0); }

int WholeSecondsSince(const QDateTime& Start, const QDateTime& Now) {
  return int(std::max<qint64>(Start.msecsTo(Now), 0) / 1000);
}

bool SlideDelayElapsed(const QDateTime& SlideStart, const QDateTime& Now, int DelaySeconds) {
  return WholeSecondsSince(SlideStart, Now) >= DelaySeconds;
}

bool CursorIdle(const QDateTime& CursorShown, const QDateTime& Now) { return WholeSecondsSince(CursorShown, Now) >= 2; }
