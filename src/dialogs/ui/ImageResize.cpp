#include "dialogs/ui/ImageResize.h"

#include "document/Calque.h"
#include "files/ColorDepth.h"
#include "i18n/Format.h"
#include "i18n/LibLang.h"
#include "raster/FoncUtils.h"
#include "ui/MsgDlg.h"
#include "raster/FilterEvent.h"
#include "raster/TransformFunc.h"

#include <new>

bool ResizeImage(TImageDialogHost& Host, const QString& Titre, int NewL, int NewH, uint8_t Kernel, bool AllLayers) {
  TActionScope Action(Host);
  Host.PreparerUndo(UndoKindBkgAll, Titre);
  if (AllLayers)
    if (auto* Record = dynamic_cast<TUndoAllLayers*>(Host.CurrentUndo())) Record->SaveLayers();
  if (Host.ModeRGBA(false)) SetProgressPasses(2);
  const int OldW = Host.LeFond().Width(), OldH = Host.LeFond().Height();
  bool Done = GuardMemory(Host, int64_t(NewL) * NewH * 3, [&] {
    ScaleBitmapAndMask(NewL, NewH, Kernel, &Host.BmpUndo(), nullptr, Host.LeBitmap(), Host.LeMasque());
    if (Kernel != 0 && !Host.Mode16M()) {
      Host.DebutAction(Tr(TrId::GetTrStaPreparingColor), true);
      ReduceColors24(Host.LeFond(), Host.NbCouleurs(), ReduceDither, nullptr);
      Host.DebutAction(QString(), true);
    }
  });
  if (!Done) return false;
  Done = LayersFollow(AllLayers, [&] {
    return ScaleAllLayers(Host.LayerNav(), double(Host.LeFond().Width()) / OldW,
                          double(Host.LeFond().Height()) / OldH);
  });
  EndGeometryChange(Host, Done);
  return Done;
}

bool GuardMemory(TImageDialogHost& Host, int64_t Needed, const std::function<void()>& Work) {
  try {
    Work();
    return true;
  } catch (const std::bad_alloc&) {
    Host.AnnulerFiltre(true);
    Host.TailleChangee();
    ShowMsgDlg(Format(Tr(TrId::GetOeMsgNoMemoryNew), {FormatByteSize(Needed, false)}), mdkError, {mdbOk});
    return false;
  }
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
