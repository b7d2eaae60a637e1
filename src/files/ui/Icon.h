// TIconForm, Tools > export as an icon: the active image, of one layer,
// written as a one-image .ico file of the chosen size (16 to 256) and colour
// depth, with a preview at that size. Created on first use and kept; shown
// registered as the modal form, so the frame waits while it is open. Its
// controls are kept in the dialogs settings like any dialog's. Depends on
// the export rules (files/IconExport.h), the icon picture class, the file
// dialogs, the dialog base and the picture control; the main window
// implements TIconExportHost.
#pragma once

#include "files/IconExport.h"
#include "ui/DlgMain.h"

class QCheckBox;
class QFrame;
class QListWidget;
class QPushButton;
class TMyImageLayered;
namespace MyImage {
class TMyImage;
}

// What the icon export needs of the main window.
class TIconExportHost {
public:
  virtual ~TIconExportHost() = default;
  // The active window's image (nullptr without one).
  virtual TMyImageLayered* ActiveImage() = 0;
  // The active image's file name ('' for a new image), and the folder the
  // save dialogs start in.
  virtual QString ActiveFileName() const = 0;
  virtual QString SaveFolder() const = 0;
  // The cleaned caption of the main menu item of that name.
  virtual QString TitreMenu(const QString& ItemName) const = 0;
  // The background has a mask; the image holds more than 256 colours.
  virtual bool ModeRGBA() const = 0;
  virtual bool Mode16M() const = 0;
};

class TIconForm : public TMainDialogForm {
  Q_OBJECT
public:
  explicit TIconForm(TIconExportHost& Host, QWidget* Parent = nullptr);

  QListWidget* LstSize;
  QFrame* PnlImage;
  MyImage::TMyImage* PreviewImage;
  QCheckBox* cb16M;
  QPushButton* BSauver;
  QPushButton* BAnnuler;

  // Each show: 32 x 32, the colour option and the preview.
  void UpdateControls() override;
  void LstSizeClick();
  void BSauverClick();

  int IconSize() const;
  TIconFormat IconColorDepth() const;
  void UpdateColorOption();
  void UpdatePreview();
  // Writes the icon of the active image's background at Size and Depth
  // through a safe file; false, after the message naming the file and the
  // reason, when nothing was written.
  bool SaveIcon(const QString& FileName, int Size, TIconFormat Depth);

protected:
  void FormHide() override;

private:
  TIconExportHost& FHost;
};
