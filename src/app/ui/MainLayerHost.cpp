#include "app/ui/MainLayerHost.h"

#include "app/ui/MainForm.h"
#include "document/ui/LayerNavigator.h"
#include "document/ui/MyImageLayeredView.h"
#include "platform/Rounding.h"
#include "tools/ui/Outils.h"

TSelectionState* TMainLayerHost::Sel() { return F.SelMaskHost().Sel(); }
TMyImageLayered* TMainLayerHost::Image() { return F.SelMaskHost().Image(); }
TUndoList* TMainLayerHost::ListeUndo() { return F.SelMaskHost().ListeUndo(); }
bool TMainLayerHost::Mode16M() const { return F.SelMaskHost().Mode16M(); }
TBitmap* TMainLayerHost::BmpUndo() { return F.SelMaskHost().BmpUndo(); }
TBitmap* TMainLayerHost::MaskUndo() { return F.SelMaskHost().MaskUndo(); }
bool TMainLayerHost::SelAucunLissage() const { return F.SelMaskHost().SelAucunLissage(); }
bool TMainLayerHost::SelContourProgressif() const { return F.SelMaskHost().SelContourProgressif(); }
TShapeManager* TMainLayerHost::ViewShapeManager() { return F.SelMaskHost().ViewShapeManager(); }
TMyShape TMainLayerHost::ViewSelShape() const { return F.SelMaskHost().ViewSelShape(); }
bool TMainLayerHost::LoadPattern(const QString& FileName, TBitmap& Pattern, TBitmap& PatternMask) {
  return F.SelMaskHost().LoadPattern(FileName, Pattern, PatternMask);
}

LayerNavigator* TMainLayerHost::LayerNav() { return F.UneImage() ? F.LayerNav() : nullptr; }
void TMainLayerHost::MasquerSelection() { F.MasquerSelection(); }
bool TMainLayerHost::ModeRGBA(bool CheckBkgVisible) const { return F.ModeRGBA(CheckBkgVisible); }
TColor TMainLayerHost::SecondaryColor() const { return F.Palette() ? F.Palette()->GetColor(true) : clWhite; }

TRect TMainLayerHost::VisibleBmpRect() const {
  if (!F.UneImage()) return {};
  const TMyImageLayeredView* View = F.EnfantActif()->Image;
  return View->ClientToBmp(View->ImgVisibleRect());
}

int TMainLayerHost::BmpMarge() const {
  if (!F.UneImage()) return 0;
  const TMyImageLayeredView* View = F.EnfantActif()->Image;
  return View->Zoom() > 0 ? Round(View->Marge() / View->Zoom()) : 0;
}

void TMainLayerHost::AfficherSelection() { F.AfficherSelection(); }
void TMainLayerHost::RefreshBitmap() { F.RefreshBitmap(); }
void TMainLayerHost::LayerChanged() { F.LayerChanged(); }

TMyImageLayered* TMainLayerHost::NouvelleImage(TBitmap& Bitmap, const QString& Title, TImageSourceType SourceType,
                                               int NbCol) {
  TNewImgForm* W = F.NouvelleImage(nullptr, &Bitmap, Title, SourceType, NbCol);
  return W ? &W->Image->Image() : nullptr;
}

void TMainLayerHost::MajMenus() { F.MajMenus(); }
