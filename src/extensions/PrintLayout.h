// The geometry of a printed page, without a printer: the printable page in
// device pixels and in the print unit (centimetres or inches), the scale
// rules of the print dialog, the real size from the image's resolution, the
// range checks of typed sizes and positions, the crop marks and the page's
// place in the preview. Depends on platform (TRect, Round); used by the
// print dialog (extensions/ui/Impr.h) and its tests.
//
// Conventions: one device resolution R (dots per inch, the printer's
// horizontal one) serves both axes; a value in the unit becomes device pixels
// by Round(V x LPage / LPageUnit), ties to even.
#pragma once

#include "platform/Types.h"

#include <vector>

enum TPrintUnit : int { puCentimetres = 0, puInches = 1 };

// The printable page: its size in device pixels and in the print unit.
struct TPrintPage {
  int LPage = 0, HPage = 0;
  double LPageUnit = 0, HPageUnit = 0;
  TPrintUnit Unit = puCentimetres;

  // The page of LPage x HPage device pixels at Resolution dots per inch.
  static TPrintPage Make(int LPage, int HPage, double Resolution, TPrintUnit Unit);
  // Device pixels to the unit, and back (rounded); 0 on an empty page.
  double DeviceToUnit(double P, bool Horizontal) const;
  int UnitToDevice(double V, bool Horizontal) const;
  bool Landscape() const { return HPage < LPage; }
};

// The rectangle the image prints on, from its typed position and size.
TRect PrintRect(const TPrintPage& Page, double X, double Y, double Width, double Height);

// The scale bar: positions 7..100 are percent of the full-page fit SBFacteur
// (device pixels per image pixel).
constexpr int ScaleMin = 7, ScaleMax = 100;
double ScaleFactor(int Position, double SBFacteur);
int ScalePercent(int Position, double SBFacteur);
int ScalePosition(double FacteurZoom, double SBFacteur);
// The zoom the dialog starts with: 80 % of the fit, at most 10.
double InitialZoom(double SBFacteur);

// The zoom that prints an L x H image at Width x Height in the unit, read on
// the page's longer side (width on a landscape page, else height).
double ZoomForSize(const TPrintPage& Page, int L, int H, double Width, double Height);

// Pixels per inch of an L x H image printed Width x Height in the unit, read
// on the image's longer side; rounded to one decimal by RoundTenth.
double RelativeResolution(TPrintUnit Unit, int L, int H, double Width, double Height);
double RoundTenth(double X);

// The size of an L x H image at Dpi dots per inch, in the unit; it fits when
// both sides stay below the page's plus 0.1. A resolution of 0 or less has
// no real size and never fits.
struct TRealSize {
  double Width = 0, Height = 0;
  bool Fits = false;
};
TRealSize RealSize(const TPrintPage& Page, int L, int H, double Dpi);

// The first typed value out of range, with the limits its warning names.
enum class TPrintFieldError { None, Width, Height, Left, Top };
struct TPrintFieldCheck {
  TPrintFieldError Error = TPrintFieldError::None;
  double Limit = 0; // the page's side (Width, Height) or the free space (Left, Top)
};
TPrintFieldCheck CheckPrintFields(const TPrintPage& Page, double X, double Y, double Width, double Height);

// The crop marks around Rect: a line From -> To each (To itself not drawn),
// from 0.8 cm to 0.1 cm outside each corner along both edges, and two middle
// marks on the long sides when the L x H image's longer side is 1.5 times
// its shorter one or more.
struct TPrintLine {
  TPoint From, To;
  friend bool operator==(const TPrintLine&, const TPrintLine&) = default;
};
std::vector<TPrintLine> CutMarks(const TPrintPage& Page, const TRect& Rect, int L, int H);

// The page drawn in the preview square of side MaxApercu at (Margin, Margin):
// the longer side fills the square, the page centred horizontally at the top.
struct TPreviewPage {
  double Facteur = 0; // preview pixels per device pixel
  TRect Page;         // ApercuX, ApercuY, LApercu, HApercu
};
TPreviewPage LayoutPreview(const TPrintPage& Page, int Margin, int MaxApercu);
