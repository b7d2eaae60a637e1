#include "raster/TransformData.h"

#include "platform/Rounding.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

const TFloatMatrix IdentityMatrix{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};

namespace {
// The largest integer not above X (Trunc moves negative values up).
int Floor(double X) {
  const int T = Trunc(X);
  return X < T ? T - 1 : T;
}

// (x, y, 1) . M without the projective part.
void ApplyAffine(const TFloatMatrix& M, int X, int Y, double& OutX, double& OutY) {
  OutX = X * M[0][0] + Y * M[1][0] + M[2][0];
  OutY = X * M[0][1] + Y * M[1][1] + M[2][1];
}

void ApplyProjective(const TFloatMatrix& M, int X, int Y, double& OutX, double& OutY) {
  const double W = X * M[0][2] + Y * M[1][2] + M[2][2];
  if (W == 0) {
    OutX = OutY = UnmappedCoordinate;
    return;
  }
  ApplyAffine(M, X, Y, OutX, OutY);
  if (W != 1) {
    OutX /= W;
    OutY /= W;
  }
}

TFloatMatrix ZeroMatrix() { return TFloatMatrix{}; }
} // namespace

double Det2(double a, double b, double c, double d) { return a * d - b * c; }

double Det3(double a1, double a2, double a3, double b1, double b2, double b3, double c1, double c2, double c3) {
  return a1 * Det2(b2, b3, c2, c3) - a2 * Det2(b1, b3, c1, c3) + a3 * Det2(b1, b2, c1, c2);
}

double MatrixDeterminant(const TFloatMatrix& M) {
  return Det3(M[0][0], M[0][1], M[0][2], M[1][0], M[1][1], M[1][2], M[2][0], M[2][1], M[2][2]);
}

void AdjointMatrix(TFloatMatrix& M) {
  const TFloatMatrix A = M;
  M[0][0] = Det2(A[1][1], A[1][2], A[2][1], A[2][2]);
  M[0][1] = -Det2(A[0][1], A[0][2], A[2][1], A[2][2]);
  M[0][2] = Det2(A[0][1], A[0][2], A[1][1], A[1][2]);
  M[1][0] = -Det2(A[1][0], A[1][2], A[2][0], A[2][2]);
  M[1][1] = Det2(A[0][0], A[0][2], A[2][0], A[2][2]);
  M[1][2] = -Det2(A[0][0], A[0][2], A[1][0], A[1][2]);
  M[2][0] = Det2(A[1][0], A[1][1], A[2][0], A[2][1]);
  M[2][1] = -Det2(A[0][0], A[0][1], A[2][0], A[2][1]);
  M[2][2] = Det2(A[0][0], A[0][1], A[1][0], A[1][1]);
}

void ScaleMatrix(TFloatMatrix& M, double Factor) {
  for (auto& Row : M)
    for (double& E : Row) E *= Factor;
}

void InvertMatrix(TFloatMatrix& M) {
  const double D = MatrixDeterminant(M);
  if (std::abs(D) < 1e-5) {
    M = IdentityMatrix;
    return;
  }
  AdjointMatrix(M);
  ScaleMatrix(M, 1 / D);
}

TFloatMatrix MultiplyMatrix(const TFloatMatrix& A, const TFloatMatrix& B) {
  TFloatMatrix R;
  for (int I = 0; I < 3; ++I)
    for (int J = 0; J < 3; ++J) R[I][J] = B[I][0] * A[0][J] + B[I][1] * A[1][J] + B[I][2] * A[2][J];
  return R;
}

// --- TTransformation ---

void TTransformation::GoToOrigin() {
  const TRect R = GetBounds();
  Translate(-R.Left, -R.Top);
}

bool TTransformation::ScaleOnly() const {
  TRectVertices V;
  GetVertices(V);
  return V[0].Y == V[1].Y && V[3].Y == V[2].Y && V[0].X == V[3].X && V[1].X == V[2].X;
}

bool TTransformation::TanslateOnly() const {
  if (!ScaleOnly()) return false;
  const TRect B = GetBounds();
  return B.Width() == FSrcRect.Width() && B.Height() == FSrcRect.Height();
}

// --- TAffineTransformation ---

void TAffineTransformation::Clear() {
  Matrix = IdentityMatrix;
  FTransformValid = false;
}

void TAffineTransformation::Assign(const TTransformation& NewT) {
  if (const auto* Other = dynamic_cast<const TAffineTransformation*>(&NewT)) {
    Matrix = Other->Matrix;
    FTransformValid = false;
  }
}

void TAffineTransformation::Append(const TFloatMatrix& Step) {
  Matrix = MultiplyMatrix(Step, Matrix);
  FTransformValid = false;
}

void TAffineTransformation::TranslateF(double Dx, double Dy) {
  TFloatMatrix S = IdentityMatrix;
  S[2][0] = Dx;
  S[2][1] = Dy;
  Append(S);
}

void TAffineTransformation::Scale(double Sx, double Sy) {
  TFloatMatrix S = IdentityMatrix;
  S[0][0] = Sx;
  S[1][1] = Sy;
  Append(S);
}

void TAffineTransformation::Skew(double Fx, double Fy) {
  TFloatMatrix S = IdentityMatrix;
  S[1][0] = Fx;
  S[0][1] = Fy;
  Append(S);
}

void TAffineTransformation::Rotate(double Cx, double Cy, double Alpha) {
  FTransformValid = false;
  const bool Centred = Cx != 0 || Cy != 0;
  if (Centred) TranslateF(-Cx, -Cy);
  const double A = Alpha * 0.017453292519943295;
  TFloatMatrix R = IdentityMatrix;
  R[0][0] = std::cos(A);
  R[0][1] = -std::sin(A);
  R[1][0] = std::sin(A);
  R[1][1] = std::cos(A);
  Append(R);
  if (Centred) TranslateF(Cx, Cy);
}

void TAffineTransformation::Prepare() {
  if (FTransformValid) return;
  FInvMatrix = Matrix;
  InvertMatrix(FInvMatrix);
  FTransformValid = true;
}

void TAffineTransformation::Transform(int SrcX, int SrcY, double& DstX, double& DstY) const {
  ApplyAffine(Matrix, SrcX, SrcY, DstX, DstY);
}

void TAffineTransformation::Reverse(int DstX, int DstY, double& SrcX, double& SrcY) const {
  ApplyAffine(FInvMatrix, DstX, DstY, SrcX, SrcY);
}

namespace {
// The four corner pixels of R: top-left, top-right, bottom-right, bottom-left.
std::array<TPoint, 4> CornerPixels(const TRect& R) {
  return {TPoint{R.Left, R.Top}, TPoint{R.Right - 1, R.Top}, TPoint{R.Right - 1, R.Bottom - 1},
          TPoint{R.Left, R.Bottom - 1}};
}
} // namespace

TFloatRect TAffineTransformation::GetBoundsR() const {
  TFloatRect R;
  bool First = true;
  for (const TPoint& P : CornerPixels(FSrcRect)) {
    double X, Y;
    Transform(P.X, P.Y, X, Y);
    if (First) {
      R = {X, Y, X, Y};
      First = false;
    } else {
      R.Left = std::min(R.Left, X);
      R.Top = std::min(R.Top, Y);
      R.Right = std::max(R.Right, X);
      R.Bottom = std::max(R.Bottom, Y);
    }
  }
  return R;
}

TRect TAffineTransformation::GetBounds() const {
  const TFloatRect R = GetBoundsR();
  return {Floor(R.Left), Floor(R.Top), Ceil(R.Right) + 1, Ceil(R.Bottom) + 1};
}

void TAffineTransformation::GetVertices(TRectVertices& Points) const {
  const TFloatRect R = GetBoundsR();
  const double MidX = (R.Left + R.Right) / 2;
  const double MidY = (R.Top + R.Bottom) / 2;
  const auto Corners = CornerPixels(FSrcRect);
  for (int I = 0; I < 4; ++I) {
    double X, Y;
    Transform(Corners[I].X, Corners[I].Y, X, Y);
    Points[I] = {X <= MidX ? Floor(X) : Ceil(X), Y <= MidY ? Floor(Y) : Ceil(Y)};
  }
}

// --- TProjectiveTransformation ---

void TProjectiveTransformation::SetCorner(int& X, int& Y, TPoint P) {
  X = P.X;
  Y = P.Y;
  FTransformValid = false;
}

void TProjectiveTransformation::SetFlagInvert(bool Value) {
  if (Value == FFLagInvert) return;
  FFLagInvert = Value;
  FTransformValid = false;
}

void TProjectiveTransformation::Assign(const TTransformation& NewT) {
  if (const auto* Other = dynamic_cast<const TProjectiveTransformation*>(&NewT)) {
    Wx0 = Other->Wx0, Wx1 = Other->Wx1, Wx2 = Other->Wx2, Wx3 = Other->Wx3;
    Wy0 = Other->Wy0, Wy1 = Other->Wy1, Wy2 = Other->Wy2, Wy3 = Other->Wy3;
    FTransformValid = false;
  }
}

void TProjectiveTransformation::Translate(int Dx, int Dy) {
  Wx0 += Dx, Wx1 += Dx, Wx2 += Dx, Wx3 += Dx;
  Wy0 += Dy, Wy1 += Dy, Wy2 += Dy, Wy3 += Dy;
  FTransformValid = false;
}

TRect TProjectiveTransformation::GetBounds() const {
  return {std::min({Wx0, Wx1, Wx2, Wx3}), std::min({Wy0, Wy1, Wy2, Wy3}), std::max({Wx0, Wx1, Wx2, Wx3}),
          std::max({Wy0, Wy1, Wy2, Wy3})};
}

void TProjectiveTransformation::GetVertices(TRectVertices& Points) const { Points = {P0(), P1(), P2(), P3()}; }

bool TProjectiveTransformation::IsConvex() const {
  // Edge directions with Y pointing up, taken in single precision.
  auto Angle = [](int DY, int DX) -> double { return static_cast<float>(std::atan2(double(DY), double(DX))); };
  const double A0 = Angle(Wy0 - Wy1, Wx1 - Wx0);
  const double A1 = Angle(Wy1 - Wy2, Wx2 - Wx1);
  const double A2 = Angle(Wy2 - Wy3, Wx3 - Wx2);
  const double A3 = Angle(Wy3 - Wy0, Wx0 - Wx3);
  constexpr double Wrapped = -3.3415926535897933; // -(pi + 0.2)
  if (A0 - A1 < 0.2) return false;
  if (A1 - A2 < 0.2 && A1 - A2 > Wrapped) return false;
  if (A2 - A3 < 0.2 && A2 - A3 > Wrapped) return false;
  return A3 - A0 >= 0.2;
}

void TProjectiveTransformation::ResetToBounds() {
  const TRect R = GetBounds();
  Wx0 = R.Left, Wy0 = R.Top;
  Wx1 = R.Right, Wy1 = R.Top;
  Wx2 = R.Right, Wy2 = R.Bottom;
  Wx3 = R.Left, Wy3 = R.Bottom;
}

void TProjectiveTransformation::Prepare() {
  if (FTransformValid) return;
  if (!IsConvex()) ResetToBounds();
  const int64_t SrcW = int64_t(FSrcRect.Right) - FSrcRect.Left;
  const int64_t SrcH = int64_t(FSrcRect.Bottom) - FSrcRect.Top;
  if (SrcW == 0 || SrcH == 0) {
    // Nothing to map from: every point is outside, both ways.
    FMatrix = FInvMatrix = ZeroMatrix();
    FTransformValid = true;
    return;
  }

  // The unit square onto P0..P3. Differences and products in 64 bits so that
  // far-away corners cannot overflow.
  const int64_t X0 = Wx0, X1 = Wx1, X2 = Wx2, X3 = Wx3;
  const int64_t Y0 = Wy0, Y1 = Wy1, Y2 = Wy2, Y3 = Wy3;
  const int64_t Dx3 = X0 - X1 + X2 - X3;
  const int64_t Dy3 = Y0 - Y1 + Y2 - Y3;
  TFloatMatrix Q = ZeroMatrix();
  if (Dx3 == 0 && Dy3 == 0) {
    Q[0][0] = double(X1 - X0), Q[1][0] = double(X2 - X1), Q[2][0] = double(X0);
    Q[0][1] = double(Y1 - Y0), Q[1][1] = double(Y2 - Y1), Q[2][1] = double(Y0);
    Q[2][2] = 1;
  } else {
    const int64_t D = (X1 - X2) * (Y3 - Y2) - (X3 - X2) * (Y1 - Y2);
    if (D != 0) {
      const double G = double(Dx3 * (Y3 - Y2) - Dy3 * (X3 - X2)) / double(D);
      const double H = double((X1 - X2) * Dy3 - (Y1 - Y2) * Dx3) / double(D);
      Q[0][0] = double(X1 - X0) + G * double(X1), Q[1][0] = double(X3 - X0) + H * double(X3), Q[2][0] = double(X0);
      Q[0][1] = double(Y1 - Y0) + G * double(Y1), Q[1][1] = double(Y3 - Y0) + H * double(Y3), Q[2][1] = double(Y0);
      Q[0][2] = G, Q[1][2] = H, Q[2][2] = 1;
    }
  }

  // Source rectangle to the unit square in front: translate, then scale.
  TFloatMatrix S = IdentityMatrix;
  S[0][0] = 1.0 / double(SrcW);
  S[1][1] = 1.0 / double(SrcH);
  TFloatMatrix T = IdentityMatrix;
  T[2][0] = -FSrcRect.Left;
  T[2][1] = -FSrcRect.Top;
  FMatrix = MultiplyMatrix(Q, MultiplyMatrix(S, T));

  FInvMatrix = FMatrix;
  if (!FFLagInvert) InvertMatrix(FInvMatrix);
  FTransformValid = true;
}

void TProjectiveTransformation::Transform(int SrcX, int SrcY, double& DstX, double& DstY) const {
  ApplyProjective(FMatrix, SrcX, SrcY, DstX, DstY);
}

void TProjectiveTransformation::Reverse(int DstX, int DstY, double& SrcX, double& SrcY) const {
  ApplyProjective(FInvMatrix, DstX, DstY, SrcX, SrcY);
}
