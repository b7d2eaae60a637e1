#include "dialogs/SizeUnits.h"

#include "i18n/Format.h"
#include "i18n/LibLang.h"
#include "platform/FileLimits.h"
#include "platform/Rounding.h"
#include "raster/FoncUtils.h"

namespace {

constexpr double CmPerInch = 2.54;

} // namespace

int UnitToPixels(double Value, TSizeUnit Unit, int Current, double Resolution) {
  switch (Unit) {
  case TSizeUnit::Pixels:
    return Round(Value);
  case TSizeUnit::Percent:
    return Round(Value * Current / 100);
  case TSizeUnit::Centimetres:
    return Round(Value * Resolution / CmPerInch);
  case TSizeUnit::Inches:
    return Round(Value * Resolution);
  }
  return 0;
}

double PixelsToUnit(int Pixels, TSizeUnit Unit, int Current, double Resolution) {
  switch (Unit) {
  case TSizeUnit::Pixels:
    return Pixels;
  case TSizeUnit::Percent:
    return Current > 0 ? Pixels * 100.0 / Current : 0;
  case TSizeUnit::Centimetres:
    return Resolution > 0 ? Pixels / Resolution * CmPerInch : 0;
  case TSizeUnit::Inches:
    return Resolution > 0 ? Pixels / Resolution : 0;
  }
  return 0;
}

QString UnitFormat(TSizeUnit Unit) {
  return Unit == TSizeUnit::Pixels ? QStringLiteral("0") : QStringLiteral("0.00");
}

double ResolutionToPpi(double Shown, int ResUnit) { return ResUnit == 1 ? Shown * CmPerInch : Shown; }
double ResolutionFromPpi(double Ppi, int ResUnit) { return ResUnit == 1 ? Ppi / CmPerInch : Ppi; }

QString ImageMemSizeText(int W, int H) { return FormatByteSize(int64_t(W) * H * 3, false); }

int LimitSide(int Side) { return std::min(Side, MaxImageSide); }

TSizeCheck CheckImageSize(int64_t W, int64_t H) {
  if (W < 1 || H < 1) return TSizeCheck::TooSmall;
  return PixelCountFits(W, H) ? TSizeCheck::Ok : TSizeCheck::TooLarge;
}

QString SizeCheckMessage(TSizeCheck Check, int64_t W, int64_t H) {
  switch (Check) {
  case TSizeCheck::Ok:
    return {};
  case TSizeCheck::TooSmall:
    return Tr(TrId::GetOeMsgSizeTooSmall);
  case TSizeCheck::TooLarge:
    return Format(Tr(TrId::GetOeMsgSizeTooLarge),
                  {static_cast<long long>(W), static_cast<long long>(H), static_cast<long long>(MaxReadPixels)});
  }
  return {};
}
