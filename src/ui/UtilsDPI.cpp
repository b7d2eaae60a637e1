#include "ui/UtilsDPI.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>

#include <climits>
#include <cstdint>
#include <cstdlib>

namespace {
int PixelsPerInch = 96;
constexpr int DesignDPI = 96;
} // namespace

int ScreenPixelsPerInch() { return PixelsPerInch; }

void SetScreenPixelsPerInch(int Dpi) { PixelsPerInch = Dpi > 0 ? Dpi : DesignDPI; }

int ScreenLogPixelsY() { return PixelsPerInch; }

int ScreenDPI(int Kind) {
  switch (Kind) {
  case 0:
  case 1:
    return DesignDPI;
  case 2:
    return ScreenLogPixelsY();
  default:
    return PixelsPerInch;
  }
}

int MulDiv(int Value, int Numerator, int Denominator) {
  if (Denominator == 0) return -1;
  const int64_t Product = int64_t(Value) * Numerator;
  const int64_t AbsProduct = Product < 0 ? -Product : Product;
  const int64_t AbsDen = Denominator < 0 ? -int64_t(Denominator) : int64_t(Denominator);
  int64_t Q = (AbsProduct + AbsDen / 2) / AbsDen; // halves away from zero
  if ((Product < 0) != (Denominator < 0)) Q = -Q;
  if (Q > INT_MAX || Q < INT_MIN) return -1;
  return static_cast<int>(Q);
}

int ScaleByDPI(int Value) {
  const int Dpi = ScreenPixelsPerInch();
  return Dpi == DesignDPI ? Value : MulDiv(Value, Dpi, DesignDPI);
}

int PointsToPixels(int Points, int Kind) { return MulDiv(Points, ScreenDPI(Kind), 72); }

bool MakeProcessDPIAware() {
  if (QCoreApplication::instance()) return false;
  return qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
}

void FollowScreenResolution() {
  auto* App = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
  if (!App) return;
  const auto Read = [] {
    if (const QScreen* Screen = QGuiApplication::primaryScreen())
      SetScreenPixelsPerInch(static_cast<int>(Screen->logicalDotsPerInch() + 0.5));
  };
  const auto Watch = [Read](QScreen* Screen) {
    if (Screen) QObject::connect(Screen, &QScreen::logicalDotsPerInchChanged, Screen, [Read](qreal) { Read(); });
  };
  Read();
  // Connected once per application object.
  static QPointer<QGuiApplication> Followed;
  if (Followed == App) return;
  Followed = App;
  Watch(QGuiApplication::primaryScreen());
  QObject::connect(App, &QGuiApplication::primaryScreenChanged, App, [Read, Watch](QScreen* Screen) {
    Watch(Screen);
    Read();
  });
}
