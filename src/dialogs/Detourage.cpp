#include "dialogs/Detourage.h"

#include "raster/Pixels.h"
#include "raster/RectUtils.h"

#include <cstdlib>
#include <new>
#include <vector>

namespace {

bool SameFormatAndSize(const TBitmap& A, const TBitmap& B) {
  return A.PixelFormat() == pf24bit && A.Width() == B.Width() && A.Height() == B.Height();
}

// One run of the engine over the rectangle R.
class TDetourage {
public:
  TDetourage(const TBitmap& Image, const TBitmap& WorkMask, TBitmap& DestMask, const TRect& R, int Tolerance,
             bool Optimised)
      : FImage(Image), FWork(WorkMask), FDest(DestMask), FR(R), FTolerance(std::abs(Tolerance)),
        FOptimised(Optimised), FRowBytes((R.Width() + 7) / 8),
        FVisited(static_cast<size_t>(FRowBytes) * static_cast<size_t>(R.Height()), 0) {}

  void ScanEdges(bool Horizontal, bool Vertical) {
    const int MX = (FR.Left + FR.Right) / 2, MY = (FR.Top + FR.Bottom) / 2;
    if (Horizontal) {
      for (int Y = FR.Top; Y < FR.Bottom; ++Y) ScanLine(FR.Left, Y, 1, 0, MX);
      for (int Y = FR.Top; Y < FR.Bottom; ++Y) ScanLine(FR.Right - 1, Y, -1, 0, MX);
    }
    if (Vertical) {
      for (int X = FR.Left; X < FR.Right; ++X) ScanLine(X, FR.Top, 0, 1, MY);
      for (int X = FR.Left; X < FR.Right; ++X) ScanLine(X, FR.Bottom - 1, 0, -1, MY);
    }
  }

private:
  bool Masked(int X, int Y) const { return FWork.ScanLine(Y)[X * 3] == 255; }
  bool IsVisited(int X, int Y) const {
    const int DX = X - FR.Left;
    return (FVisited[size_t(DX / 8) + size_t(Y - FR.Top) * size_t(FRowBytes)] >> (DX % 8)) & 1;
  }
  void MarkVisited(int X, int Y) {
    const int DX = X - FR.Left;
    FVisited[size_t(DX / 8) + size_t(Y - FR.Top) * size_t(FRowBytes)] |= uint8_t(1 << (DX % 8));
  }
  bool Inside(int X, int Y) const { return X >= FR.Left && X < FR.Right && Y >= FR.Top && Y < FR.Bottom; }
  bool Matches(const TRGB& C) const {
    return std::abs(C.Blue - FRef.Blue) <= FTolerance && std::abs(C.Green - FRef.Green) <= FTolerance &&
           std::abs(C.Red - FRef.Red) <= FTolerance;
  }
  // A neighbour outside the rectangle reads as the reference's inverse.
  bool NeighbourMatches(int X, int Y) const {
    if (Inside(X, Y)) return Matches(RowOf(FImage, Y)[X]);
    return Matches({uint8_t(~FRef.Blue), uint8_t(~FRef.Green), uint8_t(~FRef.Red)});
  }
  bool CanFill(int X, int Y) const {
    if (!Inside(X, Y) || IsVisited(X, Y) || Masked(X, Y)) return false;
    if (Matches(RowOf(FImage, Y)[X])) return true;
    return FOptimised && (NeighbourMatches(X - 1, Y) || NeighbourMatches(X + 1, Y) || NeighbourMatches(X, Y - 1) ||
                          NeighbourMatches(X, Y + 1));
  }
  void PaintSpan(int X1, int X2, int Y) {
    uint8_t* Row = FDest.ScanLine(Y);
    for (int X = X1; X <= X2; ++X) {
      Row[X * 3] = Row[X * 3 + 1] = Row[X * 3 + 2] = 255;
      MarkVisited(X, Y);
    }
  }
  // Seeds the start of every fillable run of row Y within X1..X2.
  void PushRuns(int X1, int X2, int Y) {
    if (Y < FR.Top || Y >= FR.Bottom) return;
    bool InRun = false;
    for (int X = X1; X <= X2; ++X) {
      const bool Fill = CanFill(X, Y);
      if (Fill && !InRun) FPending.push_back({X, Y});
      InRun = Fill;
    }
  }
  // The 4-connected region of (X, Y), span by span. Whether a pixel can be
  // filled does not depend on the order of the fill, and a run of fillable
  // pixels is always painted whole, so one seed per run in the rows above
  // and below reaches every pixel the region holds.
  void ScanlineFill(int X, int Y) {
    FPending.assign(1, {X, Y});
    while (!FPending.empty()) {
      const TPoint P = FPending.back();
      FPending.pop_back();
      if (!CanFill(P.X, P.Y)) continue;
      int X1 = P.X, X2 = P.X;
      while (CanFill(X1 - 1, P.Y)) --X1;
      while (CanFill(X2 + 1, P.Y)) ++X2;
      PaintSpan(X1, X2, P.Y);
      PushRuns(X1, X2, P.Y - 1);
      PushRuns(X1, X2, P.Y + 1);
    }
  }
  // From (X, Y) along the step (DX, DY) up to Limit (included): the first
  // pixel not masked gives the reference, filled pixels are skipped, and the
  // fill starts at the first one left.
  void ScanLine(int X, int Y, int DX, int DY, int Limit) {
    const auto Before = [&](int X0, int Y0) { return DX ? (X0 - Limit) * DX <= 0 : (Y0 - Limit) * DY <= 0; };
    while (Before(X, Y) && Masked(X, Y)) X += DX, Y += DY;
    if (!Before(X, Y)) return;
    FRef = RowOf(FImage, Y)[X];
    while (Before(X, Y) && IsVisited(X, Y)) X += DX, Y += DY;
    if (Before(X, Y)) ScanlineFill(X, Y);
  }

  const TBitmap& FImage;
  const TBitmap& FWork;
  TBitmap& FDest;
  const TRect FR;
  const int FTolerance;
  const bool FOptimised;
  const int FRowBytes;
  std::vector<uint8_t> FVisited;
  std::vector<TPoint> FPending;
  TRGB FRef{};
};

} // namespace

int DetourageFill(const TBitmap& Image, const TBitmap& WorkMask, int Tolerance, bool Horizontal, bool Vertical,
                  bool Optimised, TRect Rect, TBitmap& DestMask) {
  if (!ClipToBitmap(Rect, Image)) return DetourageDone;
  if (Image.PixelFormat() != pf24bit || !SameFormatAndSize(WorkMask, Image) || !SameFormatAndSize(DestMask, Image))
    return DetourageFailed;
  // The result is made aside and taken at the end, so a failure leaves
  // DestMask as it was (and DestMask may be WorkMask itself).
  try {
    TBitmap Result;
    Result.Assign(WorkMask);
    TDetourage Engine(Image, WorkMask, Result, Rect, Tolerance, Optimised);
    Engine.ScanEdges(Horizontal, Vertical);
    DestMask.Swap(Result);
  } catch (const std::bad_alloc&) {
    return DetourageFailed;
  }
  return DetourageDone;
}
