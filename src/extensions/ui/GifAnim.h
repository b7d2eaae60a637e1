// TGifAnimForm, Tools > GIF animé: the layers of the active image saved as
// an animated GIF, each layer above the background one frame with its own
// display time (0 leaves it out), with the palette, dithering, loop,
// transparency, background and cropping options; a preview page with the
// animation opens in the system's browser. Modal. Only its place is kept
// in the dialogs settings; the times are kept, by list index, while the
// program runs. Depends on the builder (extensions/GifAnimBuilder.h), the
// host interface, the dialog base and parts, the file dialogs.
#pragma once

#include "extensions/GifAnimBuilder.h"
#include "extensions/ui/GifAnimHost.h"
#include "ui/DlgMain.h"

#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;
class TSpinEdit2;

// The names of the three preview files in the temporary folder.
inline constexpr const char* GifPreviewName = "GIFTest-Lumaretique.gif";
inline constexpr const char* GifPreviewTileName = "BrushTest-Lumaretique.gif";
inline constexpr const char* GifPreviewPageName = "HtmlTest-Lumaretique.htm";

class TGifAnimForm : public TMainDialogForm {
  Q_OBJECT
public:
  explicit TGifAnimForm(TGifAnimHost& Host, QWidget* Parent = nullptr);

  QComboBox* CmbImages;
  TSpinEdit2* SEDelai;
  QLabel* LblDelai;
  QCheckBox* CBLoop;
  QRadioButton* RBNetscape;
  QRadioButton* RBOptimiser;
  QCheckBox* CBDiffuse;
  QCheckBox* CBTransp;
  QCheckBox* CBrestoreBkg;
  QCheckBox* CBRogner;
  QPushButton* BApercu;
  QPushButton* BOk;
  QPushButton* BAnnuler;

  // The times kept from the last hide, by list index.
  std::vector<int> DelayList;
  // The first frame of the last build is transparent.
  bool IsFullTransparent = false;

  void UpdateControls() override;
  void AcceptIniControl(QWidget* Control, bool& Accept) override;

  void SEDelaiChanged();
  void CmbImagesChange();
  void BApercuClick();
  void BOkClick();

  // The time of list entry Index (0 the "all" entry, else layer Index).
  int EntryDelay(int Index) const;
  // The options the controls choose.
  TGifAnimOptions Options() const;
  // False (nothing left behind) when building or saving failed.
  bool BuildAnimatedGif(const QString& FileName);
  void PreviewAnimatedGif();
  void DeleteGifPreviewFiles();
  void FillLayerList();
  void SaveDelays();
  void RestoreDelays();
  // At least one layer gets a time: the first one 100 when all are 0.
  void EnsureSomeDelay();

protected:
  void FormShow() override;
  void FormHide() override;

private:
  void SetEntryDelay(int Index, int Delay);
  QString PreviewFile(const char* Name) const;
  // The preview page's lines.
  QStringList PreviewPage(int Width, int Height) const;

  TGifAnimHost& FHost;
};
