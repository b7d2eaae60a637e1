// What the batch dialog needs of the main window: the bracket of its use
// (the action "Automatisation" and the dialog-form registration), the batch
// window that shows each processed image, the main window's caption, menu
// captions and the pattern chooser. The main window implements it
// (app/ui/MainForm_Batch.cpp); tests use a fake.
#pragma once

#include <QString>

class QWidget;
class TBitmap;
class TMyImageLayered;

class TAutoHost {
public:
  virtual ~TAutoHost() = default;
  // The dialog is shown: the main window enters the action "Automatisation"
  // (no busy cursor) and blocks other commands; hidden: all undone.
  virtual void BeginBatchDialog(QWidget* Form) = 0;
  virtual void EndBatchDialog() = 0;

  // A new image window from Bitmap named FileName becomes the batch window.
  virtual void OpenBatchWindow(const TBitmap& Bitmap, const QString& FileName) = 0;
  // The batch window's document (its current layer is the working bitmap);
  // nullptr once the user closed it.
  virtual TMyImageLayered* BatchDocument() = 0;
  // The services below act on the batch window.
  virtual void SetNomFichier(const QString& FileName) = 0;
  virtual void TailleChangee() = 0;
  virtual void RefreshBitmap() = 0;
  virtual void AfficherInfos() = 0;

  virtual void SetMainCaption(const QString& Caption) = 0;
  // The cleaned caption of a main menu item.
  virtual QString TitreMenu(const QString& ItemName) const = 0;
  // The picture dialog in the pattern folder; '' when cancelled.
  virtual QString SelectPatternFile() = 0;
};
