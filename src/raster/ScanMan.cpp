#include "raster/ScanMan.h"

#include <algorithm>
#include <cstring>

using ScanManDetail::FloorInt;

TAntialiasMode MaskAntialiasMode(bool Smooth) { return Smooth ? amBilinear : amNearest; }
TAntialiasMode ImageAntialiasMode(bool Smooth) { return Smooth ? amBicubic : amNearest; }

TRGB BilinearTRGB(TRGB P00, TRGB P10, TRGB P01, TRGB P11, double FX, double FY) {
  const double W00 = (1 - FX) * (1 - FY), W10 = FX * (1 - FY), W01 = (1 - FX) * FY, W11 = FX * FY;
  const auto Channel = [&](uint8_t TRGB::*C) {
    return ClampRoundByte(P00.*C * W00 + P10.*C * W10 + P01.*C * W01 + P11.*C * W11);
  };
  return {Channel(&TRGB::Blue), Channel(&TRGB::Green), Channel(&TRGB::Red)};
}

// ---- TDiBitmap ------------------------------------------------------------------

TDiBitmap::TDiBitmap(TBitmap& Bitmap, const TRect& RClip) : FBitmap(&Bitmap) {
  if (Bitmap.PixelFormat() == pf24bit && !Bitmap.Empty()) {
    FBuffer = Bitmap.ScanLine(0);
    // The step is the bitmap's own, so one row is enough.
    FDelta = Bitmap.RowStride();
  }
  SetClipRect(RClip);
}

void TDiBitmap::SetClipRect(const TRect& Value) {
  FClipRect = FBuffer ? IntersectRect(Value, TRect{0, 0, FBitmap->Width(), FBitmap->Height()}) : TRect{};
}

int TDiBitmap::GetPixelBGR(int X, int Y) const {
  if (!Inside(X, Y)) return 0;
  const uint8_t* P = GetPixelAdr(X, Y);
  return P[0] | (P[1] << 8) | (P[2] << 16);
}

void TDiBitmap::SetPixelBGR(int X, int Y, int Color) {
  if (!Inside(X, Y)) return;
  uint8_t* P = GetPixelAdr(X, Y);
  P[0] = static_cast<uint8_t>(Color);
  P[1] = static_cast<uint8_t>(Color >> 8);
  P[2] = static_cast<uint8_t>(Color >> 16);
}

void TDiBitmap::SetPixelBGRXOr(int X, int Y, int Color) {
  if (!Inside(X, Y)) return;
  uint8_t* P = GetPixelAdr(X, Y);
  P[0] ^= static_cast<uint8_t>(Color);
  P[1] ^= static_cast<uint8_t>(Color >> 8);
  P[2] ^= static_cast<uint8_t>(Color >> 16);
}

// ---- TScanLinesManager ------------------------------------------------------------

TScanLinesManager::TScanLinesManager(TBitmap& Bitmap, const TRect& Sel) { Init(Bitmap, Sel); }

TScanLinesManager::TScanLinesManager(const TBitmap& Bitmap, const TRect& Sel) {
  Init(const_cast<TBitmap&>(Bitmap), Sel);
}

void TScanLinesManager::Init(TBitmap& Bitmap, const TRect& Sel) {
  if (Bitmap.PixelFormat() != pf24bit) return;
  const TRect R = IntersectRect(Sel, TRect{0, 0, Bitmap.Width(), Bitmap.Height()});
  FLineSize = 3 * R.Right;
  FSel = {R.Left, R.Top, R.Right - 1, R.Bottom - 1};
  FScanLines.resize(static_cast<size_t>(R.Bottom - R.Top));
  for (int Y = R.Top; Y < R.Bottom; ++Y) FScanLines[static_cast<size_t>(Y - R.Top)] = Bitmap.ScanLine(Y);
}

void TScanLinesManager::InitBuffer(const uint8_t* Data, int Count) {
  FBufferList.clear();
  const size_t Size = static_cast<size_t>(FLineSize);
  for (int I = 0; I < Count; ++I) {
    FBufferList.emplace_back(new uint8_t[Size]());
    if (Data && I > 0) std::memcpy(FBufferList.back().get(), Data, Size);
  }
}

void TScanLinesManager::AddBufferLine(const uint8_t* Data) {
  if (FBufferList.empty()) return;
  std::rotate(FBufferList.begin(), FBufferList.begin() + 1, FBufferList.end());
  if (Data) std::memcpy(FBufferList.back().get(), Data, static_cast<size_t>(FLineSize));
}

// ---- TScanLinesManagerEx ----------------------------------------------------------

TScanLinesManagerEx::TScanLinesManagerEx(TBitmap& Bitmap, const TRect& Sel) : TScanLinesManager(Bitmap, Sel) {
  SetAntialiasMode(amNearest);
}

TScanLinesManagerEx::TScanLinesManagerEx(const TBitmap& Bitmap, const TRect& Sel) : TScanLinesManager(Bitmap, Sel) {
  SetAntialiasMode(amNearest);
}

void TScanLinesManagerEx::SetAntialiasMode(TAntialiasMode Value) {
  FAntialiasMode = Value;
  int Reach = 2;
  FSetPixelProc = &TScanLinesManagerEx::SetPixelSpread;
  switch (Value) {
  case amNearest:
    FGetPixelProc = &TScanLinesManagerEx::Sample<amNearest>;
    FSetPixelProc = &TScanLinesManagerEx::SetPixelNearest;
    Reach = 0;
    break;
  case amBicubic:
    FGetPixelProc = &TScanLinesManagerEx::Sample<amBicubic>;
    break;
  case amMitchell:
    FGetPixelProc = &TScanLinesManagerEx::Sample<amMitchell>;
    break;
  case amLagrange:
    FGetPixelProc = &TScanLinesManagerEx::Sample<amLagrange>;
    break;
  default:
    FGetPixelProc = &TScanLinesManagerEx::Sample<amBilinear>;
    Reach = 1;
    break;
  }
  const TRect& S = Sel();
  FInterpolRect = {S.Left - Reach, S.Top - Reach, S.Right + Reach, S.Bottom + Reach};
}

TRGB TScanLinesManagerEx::GetPixel_T(int X, int Y) const {
  const TRect& S = Sel();
  if (InSel(X, Y)) return GetPixel(X, Y);
  if (!FPixelsInLimits || S.Right < S.Left || S.Bottom < S.Top) return FBackColor;
  return GetPixel(std::clamp(X, S.Left, S.Right), std::clamp(Y, S.Top, S.Bottom));
}

void TScanLinesManagerEx::SetPixel_T(int X, int Y, TRGB Value) {
  if (!InSel(X, Y)) return;
  MixPercent(reinterpret_cast<TRGB*>(GetScanLine(Y))[X], Value, FOpacity);
}

bool TScanLinesManagerEx::PtInLimits(double X, double Y) const {
  return FInterpolRect.Left <= X && X <= FInterpolRect.Right && FInterpolRect.Top <= Y && Y <= FInterpolRect.Bottom;
}

TRGB TScanLinesManagerEx::SampleBilinear(double X, double Y) const {
  const int IX = FloorInt(X);
  const int IY = FloorInt(Y);
  const double FX = X - IX;
  const double FY = Y - IY;
  const TRect& S = Sel();
  if (IX >= S.Left && IX + 1 <= S.Right && IY >= S.Top && IY + 1 <= S.Bottom) {
    const TRGB* R0 = reinterpret_cast<const TRGB*>(GetScanLine(IY));
    const TRGB* R1 = reinterpret_cast<const TRGB*>(GetScanLine(IY + 1));
    return BilinearTRGB(R0[IX], R0[IX + 1], R1[IX], R1[IX + 1], FX, FY);
  }
  return BilinearTRGB(GetPixel_T(IX, IY), GetPixel_T(IX + 1, IY), GetPixel_T(IX, IY + 1), GetPixel_T(IX + 1, IY + 1),
                      FX, FY);
}

void TScanLinesManagerEx::SetPixelNearest(double X, double Y, TRGB Value) { SetPixel_T(Round(X), Round(Y), Value); }

void TScanLinesManagerEx::SetPixelSpread(double X, double Y, TRGB Value) {
  const int IX = FloorInt(X);
  const int IY = FloorInt(Y);
  const double FX = X - IX;
  const double FY = Y - IY;
  const int W[4] = {Round((1 - FX) * (1 - FY) * 100), Round(FX * (1 - FY) * 100), Round((1 - FX) * FY * 100),
                    Round(FX * FY * 100)};
  for (int K = 0; K < 4; ++K) {
    const int PX = IX + (K & 1);
    const int PY = IY + (K >> 1);
    if (InSel(PX, PY)) MixPercent(reinterpret_cast<TRGB*>(GetScanLine(PY))[PX], Value, W[K] * FOpacity / 100);
  }
}
