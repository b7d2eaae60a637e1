// Fast repeated pixel access to a rectangle of a 24-bit bitmap without asking
// the bitmap for a row address per pixel: TDiBitmap (any pixel from row 0 and
// the row step, reads and writes clipped), TScanLinesManager (a row table and
// rolling row copies for in-place neighbourhood filters) and
// TScanLinesManagerEx (clipped or clamped reads, opacity writes and the five
// samplers at fractional coordinates). Depends on raster/Bitmap24.
//
// The managers hold row addresses: the bitmap must keep its size and format
// while they live. A bitmap that is not 24-bit gives an empty manager.
#pragma once

#include "platform/Rounding.h"
#include "raster/Bitmap24.h"
#include "raster/Pixels.h"

#include <cstdint>
#include <memory>
#include <vector>

enum TAntialiasMode : uint8_t { amNearest, amBilinear, amBicubic, amMitchell, amLagrange };

// amBilinear when Smooth, else amNearest: the mode used for masks.
TAntialiasMode MaskAntialiasMode(bool Smooth);
// amBicubic when Smooth, else amNearest: the mode used for images.
TAntialiasMode ImageAntialiasMode(bool Smooth);
// 0 for V <= 0, 255 for V > 254 (254.2 gives 255), else Round(V), ties to even.
inline uint8_t ClampRoundByte(double V) {
  if (V <= 0) return 0;
  if (V > 254) return 255;
  return static_cast<uint8_t>(Round(V));
}
// Per channel ClampRoundByte(P00 (1 - FX)(1 - FY) + P10 FX (1 - FY) +
// P01 (1 - FX) FY + P11 FX FY).
TRGB BilinearTRGB(TRGB P00, TRGB P10, TRGB P01, TRGB P11, double FX, double FY);

// The 4 x 4 kernels of the samplers, t = |distance| in 0..2.
// Cubic convolution, a = -1.
inline double BicubicKernel(double T) { return T < 1 ? (T - 1) * (T * T - T - 1) : -(T - 1) * (T - 2) * (T - 2); }
// Mitchell-Netravali, B = C = 1/3.
inline double MitchellKernel(double T) {
  return T < 1 ? 7 * T * T * T / 6 - 2 * T * T + 8.0 / 9 : 2 * T * T - 10 * T / 3 - 7 * T * T * T / 18 + 16.0 / 9;
}
// Cubic Lagrange.
inline double LagrangeKernel(double T) {
  return T < 1 ? (T - 2) * 0.5 * (T + 1) * (T - 1) : -(T - 3) * (T - 2) * (T - 1) / 6;
}

class TDiBitmap {
public:
  // Bitmap must be 24-bit; any other, or an empty one, leaves nothing to
  // read or write (the clip rectangle is empty).
  TDiBitmap(TBitmap& Bitmap, const TRect& RClip);

  const TRect& ClipRect() const { return FClipRect; }
  // Value intersected with the bitmap, without normalising.
  void SetClipRect(const TRect& Value);

  // Unchecked addresses.
  uint8_t* GetScanLine(int Y) const { return FBuffer + static_cast<ptrdiff_t>(Y) * FDelta; }
  uint8_t* GetPixelAdr(int X, int Y) const { return GetScanLine(Y) + 3 * static_cast<ptrdiff_t>(X); }

  // Blue in bits 0..7, green 8..15, red 16..23; 0 outside the clip rectangle.
  int GetPixelBGR(int X, int Y) const;
  // Inside the clip rectangle only.
  void SetPixelBGR(int X, int Y, int Color);
  // Exclusive or with the colour's three bytes: a second call restores.
  void SetPixelBGRXOr(int X, int Y, int Color);

private:
  bool Inside(int X, int Y) const {
    return X >= FClipRect.Left && X < FClipRect.Right && Y >= FClipRect.Top && Y < FClipRect.Bottom;
  }

  ptrdiff_t FDelta = 0;
  uint8_t* FBuffer = nullptr;
  TBitmap* FBitmap;
  TRect FClipRect;
};

class TScanLinesManager {
public:
  // Sel is intersected with the bitmap without normalising: a reversed Sel
  // gives an empty manager, Sel (0, 0, -1, -1).
  TScanLinesManager(TBitmap& Bitmap, const TRect& Sel);
  // For managers that only read: writing through one is the caller's fault.
  TScanLinesManager(const TBitmap& Bitmap, const TRect& Sel);
  virtual ~TScanLinesManager() = default;
  TScanLinesManager(const TScanLinesManager&) = delete;
  TScanLinesManager& operator=(const TScanLinesManager&) = delete;

  // The rectangle with inclusive right and bottom.
  const TRect& Sel() const { return FSel; }
  // Bytes of one row copy: 3 * (right edge), columns 0 up to the last one.
  int LineSize() const { return FLineSize; }
  const std::vector<uint8_t*>& ScanLines() const { return FScanLines; }
  int BufferCount() const { return static_cast<int>(FBufferList.size()); }

  // Image row Index, Sel().Top <= Index <= Sel().Bottom; unchecked.
  uint8_t* GetScanLine(int Index) const { return FScanLines[static_cast<size_t>(Index - FSel.Top)]; }

  // Count row copies; copies 1 .. Count - 1 take LineSize bytes from Data
  // when it is not null, copy 0 (the first to be recycled) is left zero. A
  // second call replaces the first list.
  void InitBuffer(const uint8_t* Data, int Count);
  // Recycles the oldest copy as the newest (index Count - 1), filled from
  // Data. Nothing without copies.
  void AddBufferLine(const uint8_t* Data);
  // Copy Index, 0 the oldest; unchecked.
  uint8_t* GetBufferLine(int Index) const { return FBufferList[static_cast<size_t>(Index)].get(); }

private:
  void Init(TBitmap& Bitmap, const TRect& Sel);

  std::vector<uint8_t*> FScanLines;
  std::vector<std::unique_ptr<uint8_t[]>> FBufferList;
  int FLineSize = 0;
  TRect FSel{0, 0, -1, -1};
};

// The in-place neighbourhood filter protocol (vertical radius R): create the
// manager on the rectangle; InitBuffer(row Sel().Top, R + 1); for each row y
// from the top, AddBufferLine(row y) before writing it, so that copy R + k
// (k from -R to 0) holds the unfiltered row y + k (the top row repeated above
// the rectangle); read the rows below directly, clamped to the last one.

class TScanLinesManagerEx : public TScanLinesManager {
public:
  TScanLinesManagerEx(TBitmap& Bitmap, const TRect& Sel);
  TScanLinesManagerEx(const TBitmap& Bitmap, const TRect& Sel);

  TRGB BackColor() const { return FBackColor; }
  void SetBackColor(TRGB Value) { FBackColor = Value; }
  int Opacity() const { return FOpacity; }
  void SetOpacity(int Value) { FOpacity = Value; }
  bool PixelsInLimits() const { return FPixelsInLimits; }
  void SetPixelsInLimits(bool Value) { FPixelsInLimits = Value; }
  TAntialiasMode AntialiasMode() const { return FAntialiasMode; }
  void SetAntialiasMode(TAntialiasMode Value);
  // Sel grown by the sampler's reach: where a fractional point has a value.
  const TRect& InterpolRect() const { return FInterpolRect; }

  // Unchecked image pixel.
  TRGB GetPixel(int X, int Y) const { return reinterpret_cast<const TRGB*>(GetScanLine(Y))[X]; }
  void SetPixel(int X, int Y, TRGB Value) { reinterpret_cast<TRGB*>(GetScanLine(Y))[X] = Value; }
  // Unchecked column X of row copy Y.
  TRGB GetBufferPixel(int X, int Y) const { return reinterpret_cast<const TRGB*>(GetBufferLine(Y))[X]; }
  void SetBufferPixel(int X, int Y, TRGB Value) { reinterpret_cast<TRGB*>(GetBufferLine(Y))[X] = Value; }

  // Outside Sel: the nearest edge pixel with PixelsInLimits, else BackColor.
  TRGB GetPixel_T(int X, int Y) const;
  // Inside Sel only: MixPercent by Opacity.
  void SetPixel_T(int X, int Y, TRGB Value);
  bool PtInLimits(double X, double Y) const;

  // Through the reader and writer of the current mode.
  TRGB GetPixel_A(double X, double Y) const { return (this->*FGetPixelProc)(X, Y); }
  void SetPixel_A(double X, double Y, TRGB Value) { (this->*FSetPixelProc)(X, Y, Value); }

  // The reader of a mode known at compile time, for pixel loops.
  template <TAntialiasMode Mode> TRGB Sample(double X, double Y) const;
  // Calls Fn(Reader) once with a callable Reader(X, Y) of the current mode,
  // so that a loop inside Fn is compiled per mode without a call per pixel
  // through a pointer.
  template <class F> decltype(auto) WithSampler(F&& Fn) const;

  void SetPixelNearest(double X, double Y, TRGB Value);
  // Value blended into the four pixels around the point, each inside Sel by
  // MixPercent with its bilinear weight (a percent) times Opacity / 100.
  void SetPixelSpread(double X, double Y, TRGB Value);

private:
  using TGetPixelProc = TRGB (TScanLinesManagerEx::*)(double, double) const;
  using TSetPixelProc = void (TScanLinesManagerEx::*)(double, double, TRGB);

  bool InSel(int X, int Y) const { return X >= Sel().Left && X <= Sel().Right && Y >= Sel().Top && Y <= Sel().Bottom; }
  template <class TKernel> TRGB Sample4x4(double X, double Y, TKernel Kernel) const;
  TRGB SampleBilinear(double X, double Y) const;

  TRGB FBackColor{255, 255, 255};
  int FOpacity = 100;
  bool FPixelsInLimits = false;
  TAntialiasMode FAntialiasMode = amNearest;
  TRect FInterpolRect;
  TGetPixelProc FGetPixelProc = &TScanLinesManagerEx::Sample<amNearest>;
  TSetPixelProc FSetPixelProc = &TScanLinesManagerEx::SetPixelNearest;
};

// ---- Implementation of the templates ----------------------------------------

namespace ScanManDetail {
// Floor as an int, kept within +-2^30 so that the neighbours of any point
// stay representable (such points lie outside every bitmap anyway).
inline int FloorInt(double V) {
  if (!(V == V)) return 0;
  if (V >= 1073741824.0) return 1073741824;
  if (V <= -1073741824.0) return -1073741824;
  const int T = static_cast<int>(V);
  return (V < T) ? T - 1 : T;
}
} // namespace ScanManDetail

template <class TKernel> TRGB TScanLinesManagerEx::Sample4x4(double X, double Y, TKernel Kernel) const {
  const int IX = ScanManDetail::FloorInt(X);
  const int IY = ScanManDetail::FloorInt(Y);
  double KX[4], KY[4];
  for (int K = 0; K < 4; ++K) {
    const double DX = X - (IX - 1 + K);
    const double DY = Y - (IY - 1 + K);
    KX[K] = Kernel(DX < 0 ? -DX : DX);
    KY[K] = Kernel(DY < 0 ? -DY : DY);
  }
  const bool AllInside = IX - 1 >= Sel().Left && IX + 2 <= Sel().Right && IY - 1 >= Sel().Top && IY + 2 <= Sel().Bottom;
  double B = 0, G = 0, R = 0;
  for (int I = 0; I < 4; ++I) {
    const TRGB* Row = AllInside ? reinterpret_cast<const TRGB*>(GetScanLine(IY - 1 + I)) : nullptr;
    for (int J = 0; J < 4; ++J) {
      const TRGB P = AllInside ? Row[IX - 1 + J] : GetPixel_T(IX - 1 + J, IY - 1 + I);
      const double W = KX[J] * KY[I];
      B += P.Blue * W;
      G += P.Green * W;
      R += P.Red * W;
    }
  }
  return {ClampRoundByte(B), ClampRoundByte(G), ClampRoundByte(R)};
}

template <TAntialiasMode Mode> TRGB TScanLinesManagerEx::Sample(double X, double Y) const {
  if constexpr (Mode == amNearest)
    return GetPixel_T(Round(X), Round(Y));
  else if constexpr (Mode == amBilinear)
    return SampleBilinear(X, Y);
  else if constexpr (Mode == amBicubic)
    return Sample4x4(X, Y, [](double T) { return BicubicKernel(T); });
  else if constexpr (Mode == amMitchell)
    return Sample4x4(X, Y, [](double T) { return MitchellKernel(T); });
  else
    return Sample4x4(X, Y, [](double T) { return LagrangeKernel(T); });
}

template <class F> decltype(auto) TScanLinesManagerEx::WithSampler(F&& Fn) const {
  const auto Reader = [this]<TAntialiasMode Mode>() {
    return [this](double X, double Y) { return Sample<Mode>(X, Y); };
  };
  switch (FAntialiasMode) {
  case amNearest:
    return Fn(Reader.template operator()<amNearest>());
  case amBicubic:
    return Fn(Reader.template operator()<amBicubic>());
  case amMitchell:
    return Fn(Reader.template operator()<amMitchell>());
  case amLagrange:
    return Fn(Reader.template operator()<amLagrange>());
  default:
    return Fn(Reader.template operator()<amBilinear>());
  }
}
