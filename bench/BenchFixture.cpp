#include "BenchFixture.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

const TBitmap& BenchImage() {
  static const TBitmap* Image = [] {
    auto* B = new TBitmap(BenchWidth, BenchHeight, pf24bit, clBlack);
    uint32_t Noise = 12345;
    for (int Y = 0; Y < BenchHeight; ++Y) {
      uint8_t* Row = B->ScanLine(Y);
      for (int X = 0; X < BenchWidth; ++X) {
        Noise = Noise * 1664525u + 1013904223u;
        const int N = static_cast<int>(Noise >> 28) - 8;
        Row[3 * X] = static_cast<uint8_t>(std::clamp(X * 255 / BenchWidth + N, 0, 255));
        Row[3 * X + 1] = static_cast<uint8_t>(std::clamp(Y * 255 / BenchHeight + N, 0, 255));
        Row[3 * X + 2] = static_cast<uint8_t>(std::clamp(((X + Y) / 16 % 2) * 128 + 64 + N, 0, 255));
      }
    }
    return B;
  }();
  return *Image;
}

const TBitmap& BenchPhoto() {
  static const TBitmap* Image = [] {
    auto* B = new TBitmap(BenchWidth, BenchHeight, pf24bit, clBlack);
    uint32_t Noise = 987654321;
    int Grain = 0; // a random walk along the row: neighbours differ by little
    struct TDisc {
      double X, Y, R;
      int Shade;
    };
    const TDisc Discs[] = {{1500, 1200, 700, 60}, {4200, 2600, 1100, -50}, {3000, 800, 300, 90}};
    for (int Y = 0; Y < BenchHeight; ++Y) {
      uint8_t* Row = B->ScanLine(Y);
      for (int X = 0; X < BenchWidth; ++X) {
        Noise = Noise * 1664525u + 1013904223u;
        Grain = std::clamp(Grain + static_cast<int>(Noise >> 30) - 1 - Grain / 3, -3, 3);
        const double Sky = 60 * std::sin(X / 900.0) + 40 * std::cos(Y / 700.0 + X / 2500.0);
        int Shade = 0;
        for (const TDisc& D : Discs) {
          // A soft edge some twenty pixels wide.
          const double Edge = (D.R - std::hypot(X - D.X, Y - D.Y)) / 20;
          Shade += static_cast<int>(D.Shade * std::clamp(Edge, 0.0, 1.0));
        }
        const int Base = 110 + static_cast<int>(Sky) + Shade + Grain;
        Row[3 * X] = static_cast<uint8_t>(std::clamp(Base + Y / 40, 0, 255));
        Row[3 * X + 1] = static_cast<uint8_t>(std::clamp(Base + 15, 0, 255));
        Row[3 * X + 2] = static_cast<uint8_t>(std::clamp(Base + X / 60 - 30, 0, 255));
      }
    }
    return B;
  }();
  return *Image;
}

const TBitmap& BenchMask() {
  static const TBitmap* Mask = [] {
    auto* M = new TBitmap(BenchWidth, BenchHeight, pf24bit, clBlack);
    const double CX = BenchWidth / 2.0, CY = BenchHeight / 2.0;
    const double Max = std::hypot(CX, CY);
    for (int Y = 0; Y < BenchHeight; ++Y) {
      uint8_t* Row = M->ScanLine(Y);
      for (int X = 0; X < BenchWidth; ++X) {
        const auto V = static_cast<uint8_t>(255.0 * std::hypot(X - CX, Y - CY) / Max);
        Row[3 * X] = Row[3 * X + 1] = Row[3 * X + 2] = V;
      }
    }
    return M;
  }();
  return *Mask;
}

size_t BenchImageBytes() { return static_cast<size_t>(TBitmap::BytesPerRow(BenchWidth, 24)) * BenchHeight; }

void SetBenchBytes(benchmark::State& State, size_t Bytes) {
  State.SetBytesProcessed(static_cast<int64_t>(State.iterations()) * static_cast<int64_t>(Bytes));
}

void RunOnBenchCopy(benchmark::State& State, const std::function<void(TBitmap&)>& Work) {
  TBitmap Copy(BenchWidth, BenchHeight);
  for (auto _ : State) {
    State.PauseTiming();
    std::memcpy(Copy.ScanLine(0), BenchImage().ScanLine(0), BenchImageBytes());
    State.ResumeTiming();
    Work(Copy);
    benchmark::ClobberMemory();
  }
  SetBenchBytes(State);
}

void BM_Memcpy(benchmark::State& State) {
  const TBitmap& Src = BenchImage(); // generated outside the timing
  TBitmap Dst(BenchWidth, BenchHeight);
  for (auto _ : State) {
    std::memcpy(Dst.ScanLine(0), Src.ScanLine(0), BenchImageBytes());
    benchmark::ClobberMemory();
  }
  SetBenchBytes(State);
}
