// The change of size the image size and fit dialogs end with, and the busy
// bracket every image dialog runs its change in. Depends on the host
// interface, the raster core's resampling and progress, the layer commands
// of document/, the colour reduction of files/.
#pragma once

#include "dialogs/ui/ImageDialogHost.h"

#include <cstdint>
#include <functional>

// DebutAction with the default status and the busy cursor; FinAction
// however the change ends.
class TActionScope {
public:
  explicit TActionScope(TImageDialogHost& Host) : FHost(Host) { FHost.DebutAction(QString(), true); }
  ~TActionScope() { FHost.FinAction(); }
  TActionScope(const TActionScope&) = delete;
  TActionScope& operator=(const TActionScope&) = delete;

private:
  TImageDialogHost& FHost;
};

// The background resampled to NewL x NewH from the copy the undo record of
// kind "background and layers" (titled Titre) keeps, with the kernel code
// Kernel of ScaleBitmapAndMask (0 nearest); an image of 256 colours or
// fewer resampled with a kernel is reduced to its colour count again
// (dithered). With AllLayers every layer above follows by the same factors
// and undo restores them all. When a layer's result would be larger than the
// readers open, the whole change is taken back, the user is told and false
// is answered.
bool ResizeImage(TImageDialogHost& Host, const QString& Titre, int NewL, int NewH, uint8_t Kernel, bool AllLayers);

// The end of a change of the whole image's geometry: when the layers above
// could not follow (LayersDone false), the background is taken back and the
// user told; then the views follow the new size.
void EndGeometryChange(TImageDialogHost& Host, bool LayersDone);
// With AllLayers, Transform (a layer command over every layer above the
// background) run with the progress start of the background's pass kept;
// its answer, true without AllLayers.
bool LayersFollow(bool AllLayers, const std::function<bool()>& Transform);
// Work, a change of the background made after its undo step was prepared;
// when memory runs out the background is taken back, the user told how
// much the result needed (Needed bytes) and false answered.
bool GuardMemory(TImageDialogHost& Host, int64_t Needed, const std::function<void()>& Work);
