// A fake main window for the layer commands: the selection masks' fake host
// with a layers panel, the view's visible area and counters of what the
// commands ask of the main window.
#pragma once

#include "FakeNavigator.h"
#include "FakeSelMaskHost.h"
#include "document/Calque.h"

class FakeCommandHost : public FakeHost {
public:
  FakeNavigator Nav{Document};
  bool RGBA = false;
  int Hidden = 0;
};

class CommandHost : public TLayerCommandHost {
public:
  FakeCommandHost F;
  TSelectionState* Sel() override { return F.Sel(); }
  TMyImageLayered* Image() override { return F.Image(); }
  TUndoList* ListeUndo() override { return F.ListeUndo(); }
  bool Mode16M() const override { return true; }
  TBitmap* BmpUndo() override { return F.BmpUndo(); }
  TBitmap* MaskUndo() override { return F.MaskUndo(); }
  bool SelAucunLissage() const override { return F.NoSmoothing; }
  bool SelContourProgressif() const override { return false; }
  TShapeManager* ViewShapeManager() override { return F.ViewShapeManager(); }
  TMyShape ViewSelShape() const override { return ssRect; }
  bool LoadPattern(const QString&, TBitmap&, TBitmap&) override { return false; }
  LayerNavigator* LayerNav() override { return &F.Nav; }
  void MasquerSelection() override {
    F.Selection.FVisible = false;
    ++F.Hidden;
  }
  bool ModeRGBA(bool) const override { return F.RGBA; }
  TColor SecondaryColor() const override { return RGB(0, 0, 255); }
  TRect Visible{50, 20, 150, 80};
  TRect VisibleBmpRect() const override { return Visible; }
  int BmpMarge() const override { return 4; }
  int Shown = 0, Refreshed = 0, Changed = 0;
  void AfficherSelection() override { ++Shown; }
  void RefreshBitmap() override { ++Refreshed; }
  void LayerChanged() override { ++Changed; }
};
