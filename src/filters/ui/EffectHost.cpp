#include "filters/ui/EffectHost.h"

#include "document/Undo.h"

TUndoBmpItem* CurrentUndoBmp() {
  TEffectHost* H = EffectHost();
  TUndoList* List = H ? FilterHost()->SelMasks().ListeUndo() : nullptr;
  return List ? dynamic_cast<TUndoBmpItem*>(List->CurrentUndo()) : nullptr;
}

bool SelectionSmoothing() {
  const TEffectHost* H = EffectHost();
  return !H || !FilterHost()->SelMasks().SelAucunLissage();
}
