// A plain selection and a fake main window for the units that reach the
// active image through TSelMaskHost: the selection masks, the fill pattern
// and the clipboard.
#pragma once

#include "document/MyImageLayered.h"
#include "document/SelMask.h"
#include "document/Undo.h"
#include "raster/Bitmap24.h"

class PlainSelection : public TSelectionState {
public:
  bool FVisible = true;
  TMyShape FShape = ssRect;
  TRect FRect;
  bool FInvert = false;
  TShapeManager FManager;

  bool Visible() const override { return FVisible; }
  TMyShape Shape() const override { return FShape; }
  void SetShape(TMyShape Value) override { FShape = Value; }
  TRect BmpSelRect() const override { return FRect; }
  void SetBmpSelRect(const TRect& Value) override { FRect = Value; }
  bool Invert() const override { return FInvert; }
  void SetInvert(bool Value) override { FInvert = Value; }
  TShapeManager& ShapeManager() override { return FManager; }
};

class FakeHost : public TSelMaskHost {
public:
  PlainSelection Selection;
  TMyImageLayered Document;
  TUndoList Undo{10};
  bool F16M = true, NoSmoothing = false, Progressive = true;
  TBitmap UndoBmp, UndoMask;
  TShapeManager ViewManager;
  TMyShape ViewShape = ssRect;

  TSelectionState* Sel() override { return &Selection; }
  TMyImageLayered* Image() override { return &Document; }
  TUndoList* ListeUndo() override { return &Undo; }
  bool Mode16M() const override { return F16M; }
  TBitmap* BmpUndo() override { return &UndoBmp; }
  TBitmap* MaskUndo() override { return &UndoMask; }
  bool SelAucunLissage() const override { return NoSmoothing; }
  bool SelContourProgressif() const override { return Progressive; }
  TShapeManager* ViewShapeManager() override { return &ViewManager; }
  TMyShape ViewSelShape() const override { return ViewShape; }
  // The pattern "motif" loads as a solid red 4 x 4 bitmap without mask;
  // every other name fails.
  bool LoadPattern(const QString& Name, TBitmap& Pattern, TBitmap& PatternMask) override {
    if (Name != QStringLiteral("motif")) return false;
    NewBitmap24(Pattern, 4, 4, RGB(255, 0, 0));
    PatternMask.ReleaseImage();
    return true;
  }
};
