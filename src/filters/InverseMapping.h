// The loop every distortion shares, internal to src/filters: for each target
// pixel a mapping gives a source position, which the sampler reads in its
// mode (the loop is compiled once per mode, without a call through a
// pointer per pixel). Depends on the raster core's samplers.
#pragma once

#include "raster/ProgressScope.h"
#include "raster/ScanMan.h"

#include <cstdint>

// What a mapping makes of one target pixel.
enum class TMapped : uint8_t {
  Sample,     // the sampler's value at the position
  Background, // the sampler's back colour
  Keep,       // left as it is
};

// The sampler's outside rule: clNone repeats the edge pixels, any other
// colour is read outside its rect.
void SetSamplerBack(TScanLinesManagerEx& Sampler, TColor BackColor, TAntialiasMode Mode);

// Map(X, Y, SX, SY) -> TMapped for every pixel of Target (inside Dst). With
// Report, one progress pass over the rows; a cancel stops at a row.
template <class F>
void InverseMap(const TScanLinesManagerEx& Sampler, TBitmap& Dst, const TRect& Target, bool Report, F&& Map) {
  Sampler.WithSampler([&](auto Read) {
    auto Row = [&](int Y) {
      PRGBArray Out = RowOf(Dst, Y);
      for (int X = Target.Left; X < Target.Right; ++X) {
        double SX = X, SY = Y;
        switch (Map(X, Y, SX, SY)) {
        case TMapped::Sample:
          Out[X] = Read(SX, SY);
          break;
        case TMapped::Background:
          Out[X] = Sampler.BackColor();
          break;
        case TMapped::Keep:
          break;
        }
      }
    };
    if (!Report) {
      for (int Y = Target.Top; Y < Target.Bottom; ++Y) Row(Y);
      return;
    }
    TProgressScope Progress(Target.Height());
    if (!Progress.Begun()) return;
    for (int Y = Target.Top; Y < Target.Bottom; ++Y) {
      if (!Progress.Step(Y - Target.Top)) return;
      Row(Y);
    }
  });
}
