#include "extensions/PrintLayout.h"

#include "platform/Rounding.h"

#include <algorithm>
#include <cmath>

namespace {

// Centimetres per inch.
constexpr double CmPerInch = 2.54;

double UnitsPerInch(TPrintUnit Unit) { return Unit == puCentimetres ? CmPerInch : 1.0; }

} // namespace

TPrintPage TPrintPage::Make(int LPage, int HPage, double Resolution, TPrintUnit Unit) {
  TPrintPage P;
  P.LPage = std::max(LPage, 0);
  P.HPage = std::max(HPage, 0);
  P.Unit = Unit;
  if (Resolution > 0) {
    P.LPageUnit = P.LPage / Resolution * UnitsPerInch(Unit);
    P.HPageUnit = P.HPage / Resolution * UnitsPerInch(Unit);
  }
  return P;
}

double TPrintPage::DeviceToUnit(double P, bool Horizontal) const {
  const int Device = Horizontal ? LPage : HPage;
  return Device > 0 ? P * (Horizontal ? LPageUnit : HPageUnit) / Device : 0;
}

int TPrintPage::UnitToDevice(double V, bool Horizontal) const {
  const double Units = Horizontal ? LPageUnit : HPageUnit;
  return Units > 0 ? Round(V * (Horizontal ? LPage : HPage) / Units) : 0;
}

TRect PrintRect(const TPrintPage& Page, double X, double Y, double Width, double Height) {
  TRect R;
  R.Left = Page.UnitToDevice(X, true);
  R.Top = Page.UnitToDevice(Y, false);
  R.Right = R.Left + Page.UnitToDevice(Width, true);
  R.Bottom = R.Top + Page.UnitToDevice(Height, false);
  return R;
}

double ScaleFactor(int Position, double SBFacteur) { return Position * SBFacteur / 100; }

int ScalePercent(int Position, double SBFacteur) { return Trunc(Position * SBFacteur); }

int ScalePosition(double FacteurZoom, double SBFacteur) {
  return SBFacteur > 0 ? Round(FacteurZoom * 100 / SBFacteur) : ScaleMin;
}

double InitialZoom(double SBFacteur) { return std::min(0.8 * SBFacteur, 10.0); }

double ZoomForSize(const TPrintPage& Page, int L, int H, double Width, double Height) {
  const double Side = Page.Landscape() ? Page.DeviceToUnit(L, true) : Page.DeviceToUnit(H, false);
  return Side > 0 ? (Page.Landscape() ? Width : Height) / Side : 0;
}

double RelativeResolution(TPrintUnit Unit, int L, int H, double Width, double Height) {
  const double Side = H < L ? Width : Height;
  if (!(Side > 0)) return 0;
  return (H < L ? L : H) / Side * UnitsPerInch(Unit);
}

double RoundTenth(double X) { return Round(X * 10) / 10.0; }

TRealSize RealSize(const TPrintPage& Page, int L, int H, double Dpi) {
  TRealSize S;
  if (!(Dpi > 0)) return S;
  const double PerUnit = Dpi / UnitsPerInch(Page.Unit);
  S.Width = L / PerUnit;
  S.Height = H / PerUnit;
  S.Fits = S.Width < Page.LPageUnit + 0.1 && S.Height < Page.HPageUnit + 0.1;
  return S;
}

TPrintFieldCheck CheckPrintFields(const TPrintPage& Page, double X, double Y, double Width, double Height) {
  if (Width < 1 || Width > Page.LPageUnit + 0.01) return {TPrintFieldError::Width, Page.LPageUnit};
  if (Height < 1 || Height > Page.HPageUnit + 0.01) return {TPrintFieldError::Height, Page.HPageUnit};
  const double FreeX = std::max(0.0, Page.LPageUnit - Width);
  const double FreeY = std::max(0.0, Page.HPageUnit - Height);
  if (X > FreeX + 0.01) return {TPrintFieldError::Left, FreeX};
  if (Y > FreeY + 0.01) return {TPrintFieldError::Top, FreeY};
  return {};
}

std::vector<TPrintLine> CutMarks(const TPrintPage& Page, const TRect& R, int L, int H) {
  // The same physical lengths in both units; the horizontal factor serves
  // the vertical marks too.
  const double Cm = UnitsPerInch(Page.Unit) / CmPerInch;
  const int Far = Page.UnitToDevice(0.8 * Cm, true), Near = Page.UnitToDevice(0.1 * Cm, true);
  std::vector<TPrintLine> Marks = {
      {{R.Left - Far, R.Top}, {R.Left - Near, R.Top}},         {{R.Left, R.Top - Far}, {R.Left, R.Top - Near}},
      {{R.Right + Far, R.Top}, {R.Right + Near, R.Top}},       {{R.Right, R.Top - Far}, {R.Right, R.Top - Near}},
      {{R.Right + Far, R.Bottom}, {R.Right + Near, R.Bottom}}, {{R.Right, R.Bottom + Far}, {R.Right, R.Bottom + Near}},
      {{R.Left - Far, R.Bottom}, {R.Left - Near, R.Bottom}},   {{R.Left, R.Bottom + Far}, {R.Left, R.Bottom + Near}},
  };
  const int Long = std::max(L, H), Short = std::min(L, H);
  if (Short > 0 && double(Long) / Short >= 1.5) {
    if (L > H) {
      const int X = R.Left + R.Width() / 2;
      Marks.push_back({{X, R.Top - Far}, {X, R.Top - Near}});
      Marks.push_back({{X, R.Bottom + Far}, {X, R.Bottom + Near}});
    } else {
      const int Y = R.Top + R.Height() / 2;
      Marks.push_back({{R.Left - Far, Y}, {R.Left - Near, Y}});
      Marks.push_back({{R.Right + Far, Y}, {R.Right + Near, Y}});
    }
  }
  return Marks;
}

TPreviewPage LayoutPreview(const TPrintPage& Page, int Margin, int MaxApercu) {
  TPreviewPage P;
  const int Longer = std::max(Page.LPage, Page.HPage);
  if (Longer <= 0 || MaxApercu <= 0) return P;
  P.Facteur = double(MaxApercu) / Longer;
  const int W = Page.LPage >= Page.HPage ? MaxApercu : Round(Page.LPage * P.Facteur);
  const int H = Page.HPage > Page.LPage ? MaxApercu : Round(Page.HPage * P.Facteur);
  const int X = Margin + (MaxApercu - W) / 2;
  P.Page = {X, Margin, X + W, Margin + H};
  return P;
}
