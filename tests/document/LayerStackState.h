// The whole state of a layer stack (every field, bitmap and mask of every
// layer) for comparing a stack with an earlier state of itself: an undo must
// give back exactly what was there. DataText describes a layer's data.
#pragma once

#include "document/MyImageLayered.h"
#include "document/Undo.h"

#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>
#include <vector>

using DataText = std::function<std::string(const TLayerData&)>;

inline std::string BitmapState(const TBitmap& B) {
  std::string S = std::to_string(B.Width()) + "x" + std::to_string(B.Height()) + ":";
  for (int Y = 0; Y < B.Height(); ++Y) S.append(reinterpret_cast<const char*>(B.ScanLine(Y)), size_t(B.Width()) * 3);
  return S;
}

struct LayerState {
  std::vector<std::string> Fields;
  std::string Bitmap, Mask;
};

inline LayerState StateOf(const TLayerItem& L, const DataText& Text) {
  LayerState S;
  const auto& A = L.AdjustInfos;
  const auto& H = L.ShadowInfos;
  std::ostringstream O;
  O << "caption " << L.Caption.toStdString() << "|visible " << L.Visible << "|locked " << L.Locked << "|blend "
    << L.BlendMode << "|reserved " << L.FReserved1 << "," << L.FReserved2 << "|tag " << L.Tag << "|type "
    << int(L.LayerType) << "|color " << L.Color << "," << L.Color2 << "|pos " << L.Pos.X << "," << L.Pos.Y
    << "|opacity " << int(L.Opacity) << "|adjust " << A.Luminosity << "," << A.Contrast << "," << A.Saturation << ","
    << A.Hue << "," << A.Gamma << "|shadow " << H.DrawShadow << "," << H.Color << "," << H.DX << "," << H.DY << ","
    << H.Opacity << "," << H.Blur << "," << int(H.Style) << "|text "
    << (L.Data() ? Text(*L.Data()) : "-") << "|transparent "
    << L.Bitmap().Transparent;
  S.Fields.push_back(O.str());
  S.Bitmap = BitmapState(L.Bitmap());
  S.Mask = BitmapState(L.Mask());
  return S;
}

using Stack = std::vector<LayerState>;

inline Stack StateOf(const TMyImageLayered& Image, const DataText& Text) {
  Stack S;
  for (int I = 0; I < Image.Layers().Count(); ++I) S.push_back(StateOf(Image.Layers()[I], Text));
  return S;
}

// "" when equal, else the first difference.
inline std::string Diff(const Stack& A, const Stack& E) {
  if (A.size() != E.size()) return "layer count " + std::to_string(A.size()) + " vs " + std::to_string(E.size());
  for (size_t I = 0; I < A.size(); ++I) {
    const std::string L = "layer " + std::to_string(I) + ": ";
    if (A[I].Fields != E[I].Fields) return L + A[I].Fields[0] + "\n   expected " + E[I].Fields[0];
    if (A[I].Bitmap != E[I].Bitmap) return L + "bitmap differs (" + A[I].Bitmap.substr(0, 12) + ")";
    if (A[I].Mask != E[I].Mask) return L + "mask differs (" + A[I].Mask.substr(0, 12) + ")";
  }
  return "";
}


// The last record of List undone, giving Before exactly, and redone, giving
// the state of now exactly.
inline void ExpectUndoRedo(TUndoList& List, const std::function<Stack()>& State, const Stack& Before) {
  const Stack After = State();
  List.Undo();
  EXPECT_EQ(Diff(State(), Before), "") << "after undo";
  List.Redo();
  EXPECT_EQ(Diff(State(), After), "") << "after redo";
}
