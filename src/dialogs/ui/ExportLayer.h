// TExportLayerForm, Layer > Export layer: the current layer alone saved to a
// PNG (alpha from its mask), a 32-bit BMP (the same) or a GIF (pixels at
// least half transparent become the transparent colour). The format is kept
// in the dialogs settings after an Ok. Every file goes through the safe
// writers: a failed export leaves the target as it was, no partial file,
// and says why. Depends on the host interfaces, the writers of files/ and
// the save dialog of files/ui, the dialog base and controls of ui/.
#pragma once

#include "ui/DlgMain.h"

#include <QString>

class QPushButton;
class TBitmap;
class TRadioGroup;

// The layer's pixels B and, when it has one, its mask M (255 transparent)
// written to FileName as Format 0 PNG, 1 BMP, 2 GIF. Throws the writer's
// error (which names the file) when the file cannot be written.
void ExportLayerFile(const QString& FileName, int Format, const TBitmap& B, const TBitmap* M);
// The current layer as PNG.
void ExportLayerPng(const QString& FileName);

// The name proposed for Caption saved with extension Ext: Caption's own
// extension replaced, folder separators kept out.
QString ExportFileName(const QString& Caption, const QString& Ext);

class TExportLayerForm : public TMainDialogForm {
  Q_OBJECT
public:
  explicit TExportLayerForm(QWidget* Parent = nullptr);

  TRadioGroup* RGFormat;
  QPushButton* BOk;
  QPushButton* BAnnuler;
  // The file being written.
  QString NomFichier;

  void BOkClick();

private:
  void ExportLayer();
};
