// TImprForm, File > Print: places the active image on the printer page (at
// a chosen scale, size and position, on the whole printable area, or at its
// real size from its resolution), previews the page to scale and prints one
// page per copy, the image or only its outline, with crop marks on request.
// Nothing is kept in the settings file. The geometry is extensions/
// PrintLayout.h; depends on the dialog base and spin edits of ui/, the
// dialog captions of dialogs/ui, raster/ui's zoomed drawing, QtPrintSupport.
#pragma once

#include "extensions/PrintLayout.h"
#include "files/ui/Annuler.h"
#include "raster/ImgZoom.h"
#include "ui/DialogFormEx.h"

#include <QString>

#include <functional>
#include <memory>

class QCheckBox;
class QGroupBox;
class QLabel;
class QPainter;
class QPrinter;
class QPushButton;
class QScrollBar;
class TFloatSpinEdit;
class TSpinEdit2;

class TImprForm : public TDialogFormEx, public TPrintJob {
  Q_OBJECT
public:
  // Prints on Printer, which outlives the dialog; Unit is the print unit
  // (0 centimetres, 1 inches).
  TImprForm(QPrinter& Printer, int Unit, QWidget* Parent = nullptr);
  ~TImprForm() override;

  // The image to print, set before each show: its display bitmap (kept
  // alive by the caller until the page is sent), file name and resolution
  // in dots per inch.
  void SetImage(const TBitmap* Bitmap, const QString& FileName, double Dpi);

  // Begins the printer document and draws one page per copy (the printer
  // makes the copies itself when it can). Before each page the pending
  // interface messages are handled and GoOn (when given) asked: false
  // aborts the job there. The document stays open: end it with
  // TerminerImpression or the wait box. False when the printer cannot
  // begin one.
  bool EnvoyerData(const std::function<bool()>& GoOn = {});
  // Ends the document, or aborts the job when Cancelled: nothing is sent
  // then, and a file the job was writing is removed.
  void TerminerImpression(bool Cancelled);

  // TPrintJob, for the wait box. An abort while pages are being drawn takes
  // effect before the next page.
  bool Printing() const override;
  void AbortJob() override;
  void EndJob() override { TerminerImpression(false); }

  // Runs the printer set-up dialog; true when it was accepted. Tests put a
  // stand-in here, so no real dialog and no real printer is reached.
  std::function<bool(QPrinter&)> RunPrinterSetup;

  // The controls, for the main window's look and for tests.
  QCheckBox *CBCentrer, *CBAjuster, *CBTailleReelle, *CBContours, *CBTraits;
  QScrollBar* ScrollBarZoom;
  QLabel *LabelZoom, *LblProp, *LblResolution;
  QGroupBox *GBTaille, *GBMarges;
  TFloatSpinEdit *SEL, *SEH, *SEX, *SEY;
  TSpinEdit2* SECopies;
  QPushButton *BOkTaille, *BOkMarges, *BConfigurer, *BImprimer, *BAnnuler;

  const TPrintPage& Page() const { return FPage; }
  const TPreviewPage& Preview() const { return FPreview; }
  // The image's rectangle on the printer page, in device pixels.
  TRect PrintRect() const;
  // The image's rectangle in the preview.
  TRect PreviewImageRect() const { return IZApercu.ImageRect(); }
  double FacteurZoom() const { return FFacteurZoom; }

  void BOkTailleClick();
  void BOkMargesClick();
  void BConfigurerClick();
  void BImprimerClick();

protected:
  void showEvent(QShowEvent* Event) override;
  void hideEvent(QHideEvent* Event) override;
  void keyPressEvent(QKeyEvent* Event) override;

private:
  class TPreviewArea;

  void CreateControls();
  void ReadPageSize();
  void LayoutPreview();
  void ResetLayout();
  void ApplyZoom();
  void ApplyPosition();
  void UpdateScaleBar();
  void ShowRelativeResolution(double Dpi);
  bool CheckFields();
  void EnableControls();
  void CBCentrerClick();
  void CBAjusterClick();
  void CBTailleReelleClick();
  void ScrollBarZoomScroll();
  void SizeChanged(bool Width);
  void PaintPreview(QPainter& Painter);
  void PrintCutMarks(QPainter& Painter, const TRect& R);

  QPrinter& FPrinter;
  TPrintUnit FUnit;
  TPreviewArea* FPreviewArea = nullptr;
  std::unique_ptr<QPainter> FPrintPainter;
  // Set while EnvoyerData draws, and once the job was aborted.
  bool FSending = false, FAborted = false;
  const TBitmap* FBitmap = nullptr;
  QString FFileName;
  double FDpi = 0;
  TImageZoom IZApercu, IZImg;
  int L = 0, H = 0;
  double Ratio = 1;
  TPrintPage FPage;
  TPreviewPage FPreview;
  double FFacteurZoom = 1, SBFacteur = 1;
  bool ChgTaille = true, TailleModifiee = false, MargesModifiees = false, TailleDefOk = false;
  QString FTitle;
};
