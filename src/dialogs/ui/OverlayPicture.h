// What the overlay dialogs (PNG overlay, mask, texture) share: the picture
// they apply with the turns, flips and inversion made to it since it was
// loaded (TOverlayPicture, with its context menu and its thumbnail card),
// and the preview of a change on the current layer, taken back or kept
// (TOverlayPreview). Depends on the image loader of files/, the raster core,
// the filter host (FilterHost.h), QtWidgets.
#pragma once

#include "platform/Bitmap.h"

#include <QString>

#include <functional>

class QBoxLayout;
class QCheckBox;
class QGroupBox;
class QLabel;
class QMenu;
class QPushButton;
class QToolButton;
class QWidget;
class TMainDialogForm;
class TSpecialEdit;

// A picture as an overlay keeps it: its colours (24-bit) and, for a picture
// with transparency, its grey mask (0 opaque, 255 transparent).
class TOverlayPicture {
public:
  enum TKind : uint8_t {
    // A 32-bit picture split into colours and mask; anything else refused.
    pkAlpha,
    // Any picture turned to grey (L = trunc(0.11 B + 0.59 G + 0.3 R)).
    pkGrey,
  };
  explicit TOverlayPicture(TKind Kind) : FKind(Kind) {}

  TBitmap Bmp;
  TBitmap Mask;
  QString FileName;
  // Quarter turns clockwise in degrees (0, 90, 180, 270), mirrors, inversion.
  int Angle = 0;
  bool FlipH = false;
  bool FlipV = false;
  bool Negatif = false;

  bool Empty() const { return Bmp.Empty(); }
  bool Transformed() const { return Angle != 0 || FlipH || FlipV || Negatif; }
  void Free();
  // Reads Name (the open dialog in InitialDir when empty). With KeepTransform
  // the stored transformations are made again (inversion, turn, top-bottom,
  // left-right), else they are reset. False, the picture as it was, when the
  // file cannot be read (the loader reported it) or is refused (reported).
  bool Load(QString Name, const QString& InitialDir, bool KeepTransform);
  // Turned by Degrees clockwise (90, 180 or 270).
  void Turn(int Degrees);
  void Flip(bool Horizontal);
  void Invert();
  // The file loaded again without transformations.
  bool Restore() { return Load(FileName, QString(), false); }
  // Mirrors as two digits, top-bottom then left-right ("10": top-bottom
  // only); a missing digit means off.
  QString FlipsText() const;
  void SetFlipsText(const QString& Text);
  // Angle from its stored text: a quarter turn (0 when not a number).
  void SetAngleText(const QString& Text);
  // The picture (over white through its mask) fitted, never enlarged, and
  // centred on a white card with a 2-pixel margin and a 4-pixel shadow,
  // shown by Label; an empty picture clears it.
  void DrawThumbnail(QLabel* Label) const;
  // The context menu of the thumbnail: flips, turns, [negative,] restore
  // (enabled while a transformation is set). Changed runs after each.
  QMenu* MakeMenu(QWidget* Parent, bool WithNegatif, std::function<void()> Changed);

private:
  TKind FKind;
};

// The preview of an overlay on the current layer: the work rectangle of the
// main window is handed to Apply, the change limited to the selection's
// shape, the view repainted. Changed and Preview as every previewing dialog
// keeps them.
class TOverlayPreview {
public:
  TOverlayPreview(QCheckBox* Live, QPushButton* Apercu, std::function<bool()> CanPreview,
                  std::function<void(const TRect&)> Apply);
  bool Changed = true;
  bool Preview = false;
  // At every show.
  void Start();
  // "Aperçu": nothing while it cannot preview or nothing changed since.
  void Run();
  // A setting changed: previews when the live box is ticked.
  void OptionChanged();
  void LiveClick();
  // Ok: the change applied when not previewed yet.
  void Finish();
  // Any other close: the undo record cancelled, the pixels restored when a
  // preview was drawn.
  void Cancel();

private:
  QCheckBox* FLive;
  QPushButton* FApercu;
  std::function<bool()> FCanPreview;
  std::function<void(const TRect&)> FApply;
};

// The picture's group of an overlay dialog: the file edit (named EditName,
// restored only while its file exists), the browse button, the thumbnail
// with the picture's context menu, the turn button and, with WithNegatif,
// the negative button.
struct TPictureGroup {
  QGroupBox* Group;
  TSpecialEdit* Edit;
  QToolButton* Browse;
  QLabel* Thumb;
  QToolButton* Rotation;
  QToolButton* Negatif;
};
TPictureGroup MakePictureGroup(TMainDialogForm& Form, const QString& Title, const char* EditName, bool WithNegatif);

// "Aperçu direct" and "Aperçu" on a new row of Layout.
struct TPreviewRow {
  QCheckBox* CBPreview;
  QPushButton* BApercu;
};
TPreviewRow AddPreviewRow(TMainDialogForm& Form, QBoxLayout& Layout);
