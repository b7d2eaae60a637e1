#include "dialogs/ui/OuterCanvas.h"

#include "dialogs/ui/SizeFields.h"
#include "document/Calque.h"
#include "files/PatternFile.h"
#include "raster/Bitmap24.h"
#include "ui/SpecialEdit.h"

bool ReadOuterPattern(TImageDialogHost& Host, const TPatternChoice& Choice, TPattern32& Motif) {
  return !Choice.Wanted() || LoadPatternFile(Choice.EdiMotif->Text(), Motif.Bmp(), Motif.Mask(), Host.PatternDir());
}

void MakeOuterCanvas(TImageDialogHost& Host, int W, int H, TColor Color, const TPattern32& Motif, int X, int Y) {
  TBitmap& Fond = Host.LeFond();
  NewBitmap24(Fond, W, H, Color);
  if (!Motif.BmpEmpty()) Motif.FillBmp(Fond, WholeBitmapRect);
  // A repeat may reach an image whose background has a mask: the canvas
  // around the picture is opaque, as painted.
  if (!Host.ModeRGBA(false)) return;
  TBitmap Old;
  Old.Assign(Host.LeMasque());
  NewBitmap24(Host.LeMasque(), W, H, clBlack);
  CopyBitmap24(Old, Host.LeMasque(), X, Y);
}

void EndOuterCanvas(TImageDialogHost& Host, int X, int Y) {
  if (TUndoItem* Record = Host.CurrentUndo()) {
    Record->SetFlag(5, X);
    Record->SetFlag(6, Y);
  }
  OffsetAllLayers(Host.LayerNav(), X, Y, true);
  Host.TailleChangee();
}
