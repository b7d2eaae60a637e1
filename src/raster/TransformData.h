// Geometric mappings of the raster core: the abstract TTransformation, the
// affine one (a 3x3 matrix of rotations, scalings, skews and translations)
// and the projective one (a rectangle onto four free corners), with the
// matrix helpers they share. Arithmetic only, no pixels. Depends on
// platform/Types and raster/RectUtils; used by the merges, transformed
// drawing, layers, paths and the correction dialogs.
//
// Points are row vectors: (x, y) maps to (x, y, 1) . M, so row 2 of a matrix
// is the translation and column 2 the projective part.
//
// Life of a transformation: set SrcRect, build it (Rotate/Scale/Skew/
// Translate, or the corners P0..P3), Prepare, then Transform/Reverse any
// number of times. Every change makes it invalid; Reverse (and the projective
// Transform) read data that only Prepare brings up to date.
#pragma once

#include "platform/Types.h"
#include "raster/RectUtils.h"

#include <array>

// M[row][column].
using TFloatMatrix = std::array<std::array<double, 3>, 3>;
// Corners of a transformed source rectangle: the images of its top-left,
// top-right, bottom-right and bottom-left corners.
using TRectVertices = std::array<TPoint, 4>;

extern const TFloatMatrix IdentityMatrix;

// What the projective mapping returns for a point it cannot map (w = 0);
// callers read it as outside every source.
constexpr double UnmappedCoordinate = -9999;

double Det2(double a, double b, double c, double d);
double Det3(double a1, double a2, double a3, double b1, double b2, double b3, double c1, double c2, double c3);
double MatrixDeterminant(const TFloatMatrix& M);
// M becomes its adjugate (the transpose of its cofactor matrix).
void AdjointMatrix(TFloatMatrix& M);
void ScaleMatrix(TFloatMatrix& M, double Factor);
// A nearly singular matrix (|det| < 1e-5) becomes the identity.
void InvertMatrix(TFloatMatrix& M);
// The product B . A: A's mapping first, then B's.
TFloatMatrix MultiplyMatrix(const TFloatMatrix& A, const TFloatMatrix& B);

class TTransformation {
public:
  virtual ~TTransformation() = default;

  const TRect& SrcRect() const { return FSrcRect; }
  void SetSrcRect(const TRect& R) {
    FSrcRect = R;
    FTransformValid = false;
  }
  bool IsValid() const { return FTransformValid; }

  // Copies the mapping of a transformation of the same kind (not SrcRect);
  // another kind is ignored.
  virtual void Assign(const TTransformation& NewT) = 0;
  // Brings the derived data (inverse, projective matrices) up to date; does
  // nothing when already valid.
  virtual void Prepare() = 0;
  // No clipping: any point maps, whether it lies in SrcRect or not.
  virtual void Transform(int SrcX, int SrcY, double& DstX, double& DstY) const = 0;
  virtual void Reverse(int DstX, int DstY, double& SrcX, double& SrcY) const = 0;
  virtual TRect GetBounds() const = 0;
  virtual void GetVertices(TRectVertices& Points) const = 0;
  virtual void Translate(int Dx, int Dy) = 0;

  // Moves the mapping so that its bounds begin at (0, 0).
  void GoToOrigin();
  // The corners form an axis-parallel rectangle (mirrored or turned by 180
  // degrees included).
  bool ScaleOnly() const;
  // ScaleOnly with the bounds of SrcRect's own size.
  bool TanslateOnly() const;

protected:
  TRect FSrcRect;
  bool FTransformValid = false;
};

class TAffineTransformation : public TTransformation {
public:
  TAffineTransformation() { Clear(); }

  // The forward mapping. Changing it directly is allowed; the owner then
  // prepares again before reversing.
  TFloatMatrix Matrix{};

  void Clear();
  void Assign(const TTransformation& NewT) override;
  // Each of these appends a step that acts after the steps already there.
  void TranslateF(double Dx, double Dy);
  void Translate(int Dx, int Dy) override { TranslateF(Dx, Dy); }
  void Scale(double Sx, double Sy);
  // x' = x + Fx * y, y' = Fy * x + y.
  void Skew(double Fx, double Fy);
  // Alpha in degrees about (Cx, Cy); positive turns anticlockwise on screen.
  void Rotate(double Cx, double Cy, double Alpha);

  void Prepare() override;
  void Transform(int SrcX, int SrcY, double& DstX, double& DstY) const override;
  void Reverse(int DstX, int DstY, double& SrcX, double& SrcY) const override;
  // The images of SrcRect's four corner pixels, unrounded.
  TFloatRect GetBoundsR() const;
  // GetBoundsR widened to whole pixels: Floor of Left/Top, Ceil + 1 of
  // Right/Bottom.
  TRect GetBounds() const override;
  void GetVertices(TRectVertices& Points) const override;

protected:
  TFloatMatrix FInvMatrix{};

private:
  void Append(const TFloatMatrix& Step);
};

class TProjectiveTransformation : public TTransformation {
public:
  TPoint P0() const { return {Wx0, Wy0}; }
  TPoint P1() const { return {Wx1, Wy1}; }
  TPoint P2() const { return {Wx2, Wy2}; }
  TPoint P3() const { return {Wx3, Wy3}; }
  void SetP0(TPoint P) { SetCorner(Wx0, Wy0, P); }
  void SetP1(TPoint P) { SetCorner(Wx1, Wy1, P); }
  void SetP2(TPoint P) { SetCorner(Wx2, Wy2, P); }
  void SetP3(TPoint P) { SetCorner(Wx3, Wy3, P); }
  // True: Reverse applies the forward mapping, so sampling through it
  // straightens the quadrilateral into SrcRect.
  bool FlagInvert() const { return FFLagInvert; }
  void SetFlagInvert(bool Value);

  void Assign(const TTransformation& NewT) override;
  void Translate(int Dx, int Dy) override;
  // A quadrilateral that is not convex in the order P0..P3 is first reset to
  // its bounding rectangle. A SrcRect of width or height 0 cannot be mapped:
  // both matrices become zero and every point maps to UnmappedCoordinate.
  void Prepare() override;
  void Transform(int SrcX, int SrcY, double& DstX, double& DstY) const override;
  void Reverse(int DstX, int DstY, double& SrcX, double& SrcY) const override;
  // The corners' extent, without +1 and without regard to SrcRect.
  TRect GetBounds() const override;
  void GetVertices(TRectVertices& Points) const override;

protected:
  TFloatMatrix FMatrix{};
  TFloatMatrix FInvMatrix{};

private:
  void SetCorner(int& X, int& Y, TPoint P);
  bool IsConvex() const;
  void ResetToBounds();

  int Wx0 = 0, Wx1 = 0, Wx2 = 0, Wx3 = 0;
  int Wy0 = 0, Wy1 = 0, Wy2 = 0, Wy3 = 0;
  bool FFLagInvert = false;
};
