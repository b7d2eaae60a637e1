// Path helpers of the tests: a line path's vertices from its anchors, and
// the image size a path control asks of its view.
#pragma once

#include "tools/PathControl.h"

#include <vector>

inline TPathVertexList LinePath(const std::vector<TPoint>& Anchors) {
  TPathVertexList L(Anchors.size());
  for (size_t I = 0; I < Anchors.size(); ++I) L[I].PP = Anchors[I];
  return L;
}

inline std::vector<TPoint> PathAnchors(const TPathControl& Path) {
  std::vector<TPoint> R;
  for (int I = 0; I < Path.PointsCount(); ++I) R.push_back(Path.AnchorPoint(I));
  return R;
}

using TFakePathView = TSizedPathView;
