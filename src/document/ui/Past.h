// The clipboard: pixels go to other programs as a plain image on the system
// clipboard (QClipboard); what an image cannot carry (the transparency mask
// of the copy, its transparent colour, resolution, the layer's opacity and
// blend mode, where and from which image it was copied) stays beside it in
// one TClipboardData. A paste trusts that side data only when the clipboard
// still holds the program's own copy: this process still owns the
// clipboard's content and the image has the recorded size and sample
// pixels. Any other content pastes with the defaults.
//
// The unit also holds the remembered selection shape (TMemSel), the metafile
// rendering of a clipboard metafile (TMyMetaFile) and the paste into the
// selection. The image read from the clipboard is bounded like a file's: its
// size is read from its header and refused beyond the readers' pixel limit
// before anything is decoded.
//
// Linux clipboards carry no standard metafile; a metafile is read when a
// program offers one as "image/x-emf", "image/emf", "image/x-wmf" or
// "image/wmf" (a Windows metafile with its placeable header).
//
// Depends on the selection masks (SelMask.h), the metafile player
// (files/Metafile.h), the raster core and QtGui's clipboard; reaches the main
// window through TClipboardHost.
#pragma once

#include "document/SelMask.h"
#include "files/Metafile.h"
#include "platform/Bitmap.h"

#include <QString>

#include <cstdint>
#include <functional>

class TMyImageLayered;

// What the copy and paste routines need of the main window beyond the
// selection masks' services. The main window implements it; tests use a fake.
class TClipboardHost : public TSelMaskHost {
public:
  // The image is edited with an alpha channel (the background has a mask);
  // with CheckBkgVisible also when the background is hidden or not opaque.
  virtual bool ModeRGBA(bool CheckBkgVisible) const = 0;
  // The visible selection covers pixels of the current layer; otherwise it
  // tells the user "Aucun pixel à traiter !" and is false.
  virtual bool PixelsToProcess() = 0;
  // The active image composited and shown again; the current layer changed.
  virtual void RefreshBitmap() = 0;
  virtual void LayerChanged() = 0;
};

// Makes every pixel of Mask whose image pixel is Bmp's transparent colour
// exactly 255; an empty Mask (or one that is not a 24-bit mask of Bmp's
// size) first becomes a black 24-bit one of Bmp's size.
void MakeTransparencyMask(const TBitmap& Bmp, TBitmap& Mask);

// A metafile rendered into a bitmap.
class TMyMetaFile : public TMetafile {
public:
  // Bmp becomes a 24-bit bitmap of the metafile's size (96 dots per inch)
  // showing it over the key colour TransparentKeyColor, transparent with that
  // key. With AutoCrop the border of the key colour is cut off, then any
  // uniform border. An empty metafile leaves Bmp empty.
  void DrawInBitmap(TBitmap& Bmp, bool AutoCrop) const;
};

class TClipboardData {
public:
  // ---- The side data of the last copy
  // Transparency mask of the copy (255 transparent); empty when none.
  TBitmap MaskAlpha;
  // The copy's transparent colour, clNone when it has none.
  TColor TransparentColor = clNone;
  // Size of the copy and its pixels at (0, 0), (W - 1, H - 1), (W / 2, H / 2).
  int FWidth = 0, FHeight = 0;
  TColor PixelsTest[3] = {0, 0, 0};

  // The copy's resolution, at least 96.
  double GetDPI() const { return FDPI <= 96 ? 96 : FDPI; }
  int Opacity() const { return FOpacity; }
  int BlendMode() const { return FBlendMode; }
  TPoint CopyPos() const { return FCopyPos; }

  // Empties the system clipboard, then ResetData.
  void Clear();
  // Forgets the side data (sample pixels kept).
  void ResetData();

  // ---- Copies
  // Puts Bmp on the clipboard with Mask (may be nullptr) and DPI as side
  // data, opacity 100 and blend mode 0; a missing or empty Bmp clears the
  // clipboard instead.
  void Assign(const TBitmap* Bmp, const TBitmap* Mask, double DPI);
  // "Copier" and "Couper": the selection of the current layer.
  void AssignLayer(TSelMaskHost& Host);
  // "Copier avec fusion": the selection of the visible layers merged.
  void AssignMerge(TClipboardHost& Host);
  // Opacity and blend mode from the current layer, the resolution from the
  // image; and back to the current layer.
  void SetLayerOptions(TSelMaskHost& Host);
  void GetLayerOptions(TSelMaskHost& Host);
  // The copy came from the active image at P (image coordinates).
  void SetCopyPosition(TSelMaskHost& Host, TPoint P);
  // The active image is the one copied from and still has its size.
  bool IsCopyImage(TSelMaskHost& Host) const;

  // ---- Pastes: each answers false, after telling OnMessage why, when the
  // clipboard holds no usable image; the bitmaps are then left as given.
  // The clipboard image as 24-bit Bmp; for the program's own copy with its
  // mask (Masque, 24-bit; left as given when the copy had none) and
  // transparent colour; otherwise the side data is forgotten.
  bool GetImage(TBitmap& Bmp, TBitmap& Masque);
  // An image and its mask side by side: the left half and the right half of
  // the same width.
  bool GetWithMask(TBitmap& Bmp, TBitmap& Masque);
  // The image as Masque, and Bmp a 24-bit bitmap of its size in Color (the
  // tool palette's first colour).
  bool GetMask(TBitmap& Bmp, TBitmap& Masque, TColor Color);
  // Something can be pasted: an image or a metafile is offered.
  bool CanPaste() const;

  // Bmp has the recorded size and its three sample pixels are within 12 of
  // the recorded ones on every channel.
  bool MatchesFingerprint(const TBitmap& Bmp) const;

  // Tells the user why nothing was pasted (the main window's message box).
  std::function<void(const QString& Text)> OnMessage;

private:
  void TakeFingerprint(const TBitmap& Bmp);
  // The clipboard picture as a 24-bit Bmp: an image, else a metafile (with
  // Sample, a transparent one gives the side data and sets Sampled); false
  // when neither is there or the image is refused (reported).
  bool ReadClipboardPicture(TBitmap& Bmp, bool Sample, bool& Sampled);
  // The system clipboard holds what this process put there last.
  bool OwnsClipboard() const;
  void Report(const QString& Text) const;

  double FDPI = 0;
  int FOpacity = 100;
  int FBlendMode = 0;
  // The image copied from, compared but never followed.
  const TMyImageLayered* FImage = nullptr;
  TPoint FCopyPos{0, 0};
  TPoint FImageSize{0, 0};
};

// The program's one clipboard side record.
TClipboardData& ClipboardData();

// "Copier la forme" and "Coller la forme": a remembered selection shape.
struct TMemSel {
  TPointsDataEx PointsData;
  bool Invert = false;
  TRect SelBounds;
  // The TMyShape remembered, -1 when nothing is.
  int Flag = -1;
};
TMemSel& MemSel();
// Remembers the selection's shape, rectangle and (polygons and bitmap
// shapes) its outline with flags.
void CopySelectionShape(TSelectionState& Sel);
// The remembered shape becomes the selection's; false when none is.
bool PasteSelectionShape(TSelectionState& Sel);

// "Coller dedans": the clipboard image painted into the selection of the
// current layer, centred, or with Fit scaled to fill the selection's
// rectangle keeping its proportions, and cut to the selection's shape. The
// caller prepared the undo record. False when nothing was pasted.
bool PasteIntoSelection(TClipboardHost& Host, bool Fit);
