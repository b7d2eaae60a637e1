// Helpers of the layered file tests: a byte builder for hand-made files, a
// plain little-endian reader independent of the production reader, a text
// data class that renders nothing, and layer comparison.
#pragma once

#include "document/MyGraphic.h"
#include "document/TxtData.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace LmiTest {

// Text data whose rendering is not under test.
struct TestText : TTextData {
  void PrepareBitmaps(TLayerItem&) override {}
};

struct Bytes {
  std::vector<uint8_t> D;
  Bytes& u8(int V) {
    D.push_back(uint8_t(V));
    return *this;
  }
  Bytes& i16(int V) {
    u8(V & 0xFF);
    return u8((V >> 8) & 0xFF);
  }
  Bytes& i32(int64_t V) {
    for (int I = 0; I < 4; ++I) u8(int((V >> (8 * I)) & 0xFF));
    return *this;
  }
  Bytes& f64(double V) {
    uint8_t B[8];
    std::memcpy(B, &V, 8);
    D.insert(D.end(), B, B + 8);
    return *this;
  }
  Bytes& raw(const std::string& S) {
    D.insert(D.end(), S.begin(), S.end());
    return *this;
  }
  Bytes& str(const std::string& S) { return i32(int64_t(S.size())).raw(S); }
  Bytes& zeros(size_t N) {
    D.insert(D.end(), N, 0);
    return *this;
  }
  Bytes& append(const std::vector<uint8_t>& V) {
    D.insert(D.end(), V.begin(), V.end());
    return *this;
  }
};

struct Reader {
  const std::vector<uint8_t>& D;
  size_t P = 0;
  void Need(size_t N) {
    if (P + N > D.size()) throw std::out_of_range("past the end");
  }
  int u8() {
    Need(1);
    return D[P++];
  }
  int i16() {
    Need(2);
    const int16_t V = int16_t(D[P] | D[P + 1] << 8);
    P += 2;
    return V;
  }
  int32_t i32() {
    Need(4);
    const uint32_t V = uint32_t(D[P]) | uint32_t(D[P + 1]) << 8 | uint32_t(D[P + 2]) << 16 | uint32_t(D[P + 3]) << 24;
    P += 4;
    return int32_t(V);
  }
  double f64() {
    Need(8);
    double V;
    std::memcpy(&V, D.data() + P, 8);
    P += 8;
    return V;
  }
  std::string raw(size_t N) {
    Need(N);
    std::string S(D.begin() + long(P), D.begin() + long(P + N));
    P += N;
    return S;
  }
  std::string str() { return raw(size_t(i32())); }
  // The S-framed zlib content, inflated with zlib's one-shot routine.
  std::vector<uint8_t> zip(size_t Expected) {
    const int32_t S = i32();
    const std::string C = raw(size_t(S - 4));
    std::vector<uint8_t> Out(Expected + 16);
    uLongf Len = uLongf(Out.size());
    EXPECT_EQ(uncompress(Out.data(), &Len, reinterpret_cast<const Bytef*>(C.data()), uLong(C.size())), Z_OK);
    Out.resize(Len);
    return Out;
  }
};

// zlib stream of Data at the default level.
inline std::vector<uint8_t> Deflate(const std::vector<uint8_t>& Data) {
  uLongf Len = compressBound(uLong(Data.size()));
  std::vector<uint8_t> Out(Len);
  compress(Out.data(), &Len, Data.data(), uLong(Data.size()));
  Out.resize(Len);
  return Out;
}

inline bool SamePixels(const TBitmap& A, const TBitmap& B) {
  if (A.Width() != B.Width() || A.Height() != B.Height()) return false;
  if (A.Empty()) return true;
  if (A.PixelFormat() != B.PixelFormat()) return false;
  const size_t Row = size_t(TBitmap::BytesPerRow(A.Width(), A.BitsPerPixel()));
  const size_t Used = size_t(A.Width()) * size_t(A.BitsPerPixel()) / 8;
  for (int Y = 0; Y < A.Height(); ++Y)
    if (std::memcmp(A.ScanLine(Y), B.ScanLine(Y), std::min(Row, Used)) != 0) return false;
  return true;
}

inline void ExpectSameLayer(const TLayerItem& A, const TLayerItem& B) {
  EXPECT_EQ(A.Caption, B.Caption);
  EXPECT_EQ(A.Visible, B.Visible);
  EXPECT_EQ(A.Locked, B.Locked);
  EXPECT_EQ(A.BlendMode, B.BlendMode);
  EXPECT_EQ(A.FReserved1, B.FReserved1);
  EXPECT_EQ(A.FReserved2, B.FReserved2);
  EXPECT_EQ(A.Tag, B.Tag);
  EXPECT_EQ(A.LayerType, B.LayerType);
  EXPECT_EQ(A.Color, B.Color);
  EXPECT_EQ(A.Color2, B.Color2);
  EXPECT_EQ(A.Pos, B.Pos);
  EXPECT_EQ(A.Opacity, B.Opacity);
  EXPECT_EQ(A.AdjustInfos.Luminosity, B.AdjustInfos.Luminosity);
  EXPECT_EQ(A.AdjustInfos.Reserved1, B.AdjustInfos.Reserved1);
  EXPECT_EQ(A.AdjustInfos.Contrast, B.AdjustInfos.Contrast);
  EXPECT_EQ(A.AdjustInfos.Reserved2, B.AdjustInfos.Reserved2);
  EXPECT_EQ(A.AdjustInfos.Saturation, B.AdjustInfos.Saturation);
  EXPECT_EQ(A.AdjustInfos.Hue, B.AdjustInfos.Hue);
  EXPECT_EQ(A.AdjustInfos.Gamma, B.AdjustInfos.Gamma);
  EXPECT_EQ(A.ShadowInfos.DrawShadow, B.ShadowInfos.DrawShadow);
  EXPECT_EQ(A.ShadowInfos.Color, B.ShadowInfos.Color);
  EXPECT_EQ(A.ShadowInfos.DX, B.ShadowInfos.DX);
  EXPECT_EQ(A.ShadowInfos.DY, B.ShadowInfos.DY);
  EXPECT_EQ(A.ShadowInfos.Opacity, B.ShadowInfos.Opacity);
  EXPECT_EQ(A.ShadowInfos.Blur, B.ShadowInfos.Blur);
  EXPECT_EQ(A.ShadowInfos.Style, B.ShadowInfos.Style);
  EXPECT_EQ(A.ShadowInfos.Reserved, B.ShadowInfos.Reserved);
  EXPECT_TRUE(SamePixels(A.Bitmap(), B.Bitmap())) << A.Caption.toStdString();
  EXPECT_TRUE(SamePixels(A.Mask(), B.Mask())) << A.Caption.toStdString();
  EXPECT_EQ(A.Bitmap().Transparent, B.Bitmap().Transparent);
  if (A.Bitmap().Transparent) {
    EXPECT_EQ(A.Bitmap().TransparentColor(), B.Bitmap().TransparentColor());
  }
  EXPECT_EQ(A.Data() != nullptr, B.Data() != nullptr);
}

} // namespace LmiTest
