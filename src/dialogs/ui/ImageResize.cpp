#include "dialogs/ui/ImageResize.h"

#include "document/Calque.h"
#include "files/ColorDepth.h"
#include "i18n/LibLang.h"
#include "ui/MsgDlg.h"
#include "raster/FilterEvent.h"
#include "raster/TransformFunc.h"

bool ResizeImage(TImageDialogHost& Host, const QString& Titre, int NewL, int NewH, uint8_t Kernel, bool AllLayers) {
  TActionScope Action(Host);
  Host.PreparerUndo(UndoKindBkgAll, Titre);
  if (AllLayers)
    if (auto* Record = dynamic_cast<TUndoAllLayers*>(Host.CurrentUndo())) Record->SaveLayers();
  if (Host.ModeRGBA(false)) SetProgressPasses(2);
  const int OldW = Host.LeFond().Width(), OldH = Host.LeFond().Height();
  ScaleBitmapAndMask(NewL, NewH, Kernel, &Host.BmpUndo(), nullptr, Host.LeBitmap(), Host.LeMasque());
  if (Kernel != 0 && !Host.Mode16M()) {
    Host.DebutAction(Tr(TrId::GetTrStaPreparingColor), true);
    ReduceColors24(Host.LeFond(), Host.NbCouleurs(), ReduceDither, nullptr);
    Host.DebutAction(QString(), true);
  }
  const bool Done = LayersFollow(AllLayers, [&] {
    return ScaleAllLayers(Host.LayerNav(), double(Host.LeFond().Width()) / OldW,
                          double(Host.LeFond().Height()) / OldH);
  });
  EndGeometryChange(Host, Done);
  return Done;
}

bool LayersFollow(bool AllLayers, const std::function<bool()>& Transform) {
  if (!AllLayers) return true;
  SetProgressKeepStart(true);
  const bool Done = Transform();
  SetProgressKeepStart(false);
  return Done;
}

void EndGeometryChange(TImageDialogHost& Host, bool LayersDone) {
  // A layer too large to transform leaves every layer as it was: the
  // background goes back too, so that the image stays whole.
  if (!LayersDone) Host.AnnulerFiltre(true);
  Host.TailleChangee();
  if (!LayersDone) ShowMsgDlg(Tr(TrId::GetOeMsgTooLarge), mdkWarning, {mdbOk});
}
