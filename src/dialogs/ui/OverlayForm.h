// TOverlayForm, the base of the overlay dialogs (PNG overlay, mask,
// texture): a picture group (file, thumbnail with its context menu, turn and
// negative buttons), the live preview box and "Aperçu", Ok and Cancel, and
// the life of such a dialog: the picture read again with its stored
// transformations when shown (or the image browser's picture, for one
// opening), previews taken back by any close but Ok, Ok registered for
// Edit > Repeat, the picture freed whenever the dialog closes. A descendant
// builds its own settings between BuildPictureGroup and BuildButtons and
// applies the overlay in ApplyOverlay. It is a pipette form so that the mask
// dialog receives the colours picked on the image; the others ignore them.
// Depends on OverlayPicture.h, the filter host, the dialog base of ui/.
#pragma once

#include "dialogs/ui/OverlayPicture.h"
#include "filters/ui/FilterHost.h"
#include "ui/DlgMain.h"

#include <memory>

class QVBoxLayout;

class TOverlayForm : public TPipetteForm {
  Q_OBJECT
public:
  // TitleItem: the menu item whose caption titles the undo step and Repeat;
  // UndoKind: the step Repeat prepares; Folder: where the open dialog of the
  // picture starts.
  TOverlayForm(QWidget* Parent, TOverlayPicture::TKind Kind, const char* TitleItem, int UndoKind,
               TOverlayFolder Folder);
  ~TOverlayForm() override;

  TOverlayPicture Picture;
  std::unique_ptr<TOverlayPreview> Previewer;
  QGroupBox* GroupBox2 = nullptr;
  TSpecialEdit* PictureEdit = nullptr;
  QLabel* Thumb = nullptr;
  QToolButton* Browse = nullptr;
  QToolButton* Rotation = nullptr;
  QToolButton* Negatif = nullptr;
  QCheckBox* CBPreview = nullptr;
  QPushButton* BApercu = nullptr;
  QPushButton* BOk = nullptr;
  QPushButton* BAnnuler = nullptr;
  // The picture came from the image browser for this opening: the stored
  // file and transformations stay out of it, and out of the stored file.
  bool FlagExplorer = false;

  // The browser's picture, without transformations; the caller prepared the
  // undo record and shows the dialog after.
  void ExplorePicture(const QString& NomFic);
  // A picture read (the open dialog when Name is empty); a preview follows
  // when live.
  void LoadPicture(const QString& Name, bool KeepTransform);
  void FreePicture();
  // The enabling rule: the picture's buttons, the live box, Ok and preview.
  void MajBoutons();
  void BOkClick();
  void UpdateControls() override;
  void AcceptIniControl(QWidget* Control, bool& Accept) override;
  void ChangerCouleur(TColor) override {}

protected:
  QVBoxLayout* Main;
  void BuildPictureGroup(const QString& Title, const char* EditName, bool WithNegatif);
  void BuildButtons();
  virtual void ApplyOverlay(const TRect& R) = 0;
  // After Ok and Repeat applied the overlay: the menus, buttons and status
  // information follow the changed image.
  void Applied();
  void PictureChanged();
  void FormShow() override;
  void FormHide() override;

private:
  void Repeat();
  const char* FTitleItem;
  int FUndoKind;
  TOverlayFolder FFolder;
};
