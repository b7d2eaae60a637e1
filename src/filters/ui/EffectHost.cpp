#include "filters/ui/EffectHost.h"

#include "document/Undo.h"

TUndoBmpItem* CurrentUndoBmp() {
  TEffectHost* H = EffectHost();
  TUndoList* List = H ? H->Masks().ListeUndo() : nullptr;
  return List ? dynamic_cast<TUndoBmpItem*>(List->CurrentUndo()) : nullptr;
}

bool SelectionSmoothing() {
  const TEffectHost* H = EffectHost();
  return !H || !const_cast<TEffectHost*>(H)->Masks().SelAucunLissage();
}
