// The checks that refuse a command with a message before it starts: one
// layer only, no text layer for a change of every layer, something selected
// on the current layer.
#include "app/ui/MainForm.h"

#include "i18n/LibLang.h"
#include "raster/FoncUtils.h"
#include "raster/RectUtils.h"
#include "ui/MsgDlg.h"

bool TMainForm::CheckSingleLayer() {
  if (UneImage() && Image().Layers().Count() == 1) return true;
  ShowMsgDlg(Tr(TrId::GetTrDlgLayer1), mdkWarning, TMsgDlgButtons{mdbOk});
  return false;
}

bool TMainForm::RefuseTextLayers() {
  if (!UneImage() || !HasDataLayer(Image())) return false;
  ShowMsgDlg(Tr(TrId::GetTrDlgLayer2), mdkWarning, TMsgDlgButtons{mdbOk});
  return true;
}

bool TMainForm::RefuseEmptySelection() {
  if (!UneImage() || !Sel()->Visible()) return false;
  if (!IntersectRect(LaSelection(), BitmapRect(LeBitmap())).IsEmpty()) return false;
  ShowMsgDlg(Tr(TrId::GetTrDlgGlb5), mdkWarning, TMsgDlgButtons{mdbOk});
  return true;
}
