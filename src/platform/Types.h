// Platform vocabulary: points and rectangles with the platform's meaning
// (Right and Bottom exclusive). Depends on nothing; used by every library.
#pragma once

#include <algorithm>
#include <cstdint>

struct TPoint {
  int X = 0;
  int Y = 0;
  friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;

  int Width() const { return Right - Left; }
  int Height() const { return Bottom - Top; }
  bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
  TPoint TopLeft() const { return {Left, Top}; }
  TPoint BottomRight() const { return {Right, Bottom}; }
  friend bool operator==(const TRect&, const TRect&) = default;
};

inline TPoint Point(int X, int Y) { return {X, Y}; }
inline TRect Rect(int Left, int Top, int Right, int Bottom) { return {Left, Top, Right, Bottom}; }
inline TRect Bounds(int X, int Y, int W, int H) { return {X, Y, X + W, Y + H}; }

// The intersection of two rectangles; an empty result is (0, 0, 0, 0).
inline TRect IntersectRect(const TRect& A, const TRect& B) {
  TRect R{std::max(A.Left, B.Left), std::max(A.Top, B.Top), std::min(A.Right, B.Right), std::min(A.Bottom, B.Bottom)};
  return R.IsEmpty() ? TRect{} : R;
}

// The smallest rectangle holding both; an empty operand is ignored.
inline TRect UnionRect(const TRect& A, const TRect& B) {
  if (A.IsEmpty()) return B.IsEmpty() ? TRect{} : B;
  if (B.IsEmpty()) return A;
  return {std::min(A.Left, B.Left), std::min(A.Top, B.Top), std::max(A.Right, B.Right), std::max(A.Bottom, B.Bottom)};
}

inline bool PtInRect(const TRect& R, TPoint P) {
  return P.X >= R.Left && P.X < R.Right && P.Y >= R.Top && P.Y < R.Bottom;
}

inline TRect OffsetRect(const TRect& R, int DX, int DY) {
  return {R.Left + DX, R.Top + DY, R.Right + DX, R.Bottom + DY};
}

// R grown by D on every side (shrunk for a negative D).
inline TRect InflateRect(const TRect& R, int D) { return {R.Left - D, R.Top - D, R.Right + D, R.Bottom + D}; }
