// TOverlayForm, the base of the overlay dialogs (PNG overlay, texture): a
// picture group (file, thumbnail with its context menu, turn and negative
// buttons), the live preview box and "Aperçu", Ok and Cancel, and the life
// of such a dialog: the picture read again with its stored transformations
// when shown, previews taken back by any close but Ok, Ok registered for
// Edit > Repeat, the picture freed whenever the dialog closes. A descendant
// builds its own settings between BuildPictureGroup and BuildButtons and
// applies the overlay in ApplyOverlay. Depends on OverlayPicture.h, the
// filter host, the dialog base of ui/.
#pragma once

#include "dialogs/ui/OverlayPicture.h"
#include "ui/DlgMain.h"

#include <memory>

class QVBoxLayout;

class TOverlayForm : public TMainDialogForm {
  Q_OBJECT
public:
  // TitleItem: the menu item whose caption titles the undo step and Repeat;
  // UndoKind: the step Repeat prepares.
  TOverlayForm(QWidget* Parent, TOverlayPicture::TKind Kind, const char* TitleItem, int UndoKind);
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

  // A picture read (the open dialog when Name is empty); a preview follows
  // when live.
  void LoadPicture(const QString& Name, bool KeepTransform);
  void FreePicture();
  // The enabling rule: the picture's buttons, the live box, Ok and preview.
  void MajBoutons();
  void BOkClick();
  void UpdateControls() override;

protected:
  QVBoxLayout* Main;
  void BuildPictureGroup(const QString& Title, const char* EditName, bool WithNegatif);
  void BuildButtons();
  virtual void ApplyOverlay(const TRect& R) = 0;
  // The stored picture is read again when shown (the browser's picture of
  // this opening stands instead).
  virtual bool ReloadStoredPicture() { return true; }
  void PictureChanged();
  void FormShow() override;
  void FormHide() override;

private:
  void Repeat();
  const char* FTitleItem;
  int FUndoKind;
};
