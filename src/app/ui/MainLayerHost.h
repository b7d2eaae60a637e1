// What the layer commands of the document need of the main window, read
// afresh from the active image window at each call: the selection masks'
// services (forwarded to the main window's own host), the layers panel, the
// view's visible part, and new image windows.
#pragma once

#include "document/Calque.h"
#include "document/ui/CalquePaste.h"

class TMainForm;

class TMainLayerHost final : public TLayerCommandHost, public TNewImageHost {
public:
  explicit TMainLayerHost(TMainForm& Form) : F(Form) {}

  // TSelMaskHost
  TSelectionState* Sel() override;
  TMyImageLayered* Image() override;
  TUndoList* ListeUndo() override;
  bool Mode16M() const override;
  TBitmap* BmpUndo() override;
  TBitmap* MaskUndo() override;
  bool SelAucunLissage() const override;
  bool SelContourProgressif() const override;
  TShapeManager* ViewShapeManager() override;
  TMyShape ViewSelShape() const override;
  bool LoadPattern(const QString& FileName, TBitmap& Pattern, TBitmap& PatternMask) override;
  // TLayerCommandHost
  LayerNavigator* LayerNav() override;
  void MasquerSelection() override;
  bool ModeRGBA(bool CheckBkgVisible) const override;
  TColor SecondaryColor() const override;
  TRect VisibleBmpRect() const override;
  int BmpMarge() const override;
  void AfficherSelection() override;
  void RefreshBitmap() override;
  void LayerChanged() override;
  // TNewImageHost
  TMyImageLayered* NouvelleImage(TBitmap& Bitmap, const QString& Title, TImageSourceType SourceType,
                                 int NbCol) override;
  void MajMenus() override;

private:
  TMainForm& F;
};
