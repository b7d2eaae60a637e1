// The base of the colour dialogs that preview on the image: the dialog's
// operation is applied for real to the layer, over the undo record the menu
// command prepared; every new preview first restores the saved pixels; Ok
// keeps the result (a final preview when a parameter changed since) and runs
// the dialog's own steps; closing otherwise restores and drops the record. An optional live-preview box previews at every change. Depends on
// the dialog framework of ui/ and the main window through TFilterHost.
//
// How to add one: derive, build the controls, put the buttons with
// PlaceButtons, call ParamChanged from every change, override ApplyOperation
// and, where Ok must do more, OkSteps.
#pragma once

#include "filters/ui/FilterHost.h"
#include "ui/DlgMain.h"

class QCheckBox;
class QPushButton;

class TColorPreviewForm : public TPipetteForm {
  Q_OBJECT
public:
  explicit TColorPreviewForm(QWidget* Parent = nullptr);

  QPushButton* BApercu = nullptr;
  QPushButton* BOk = nullptr;
  QPushButton* BAnnuler = nullptr;
  // The live-preview box; nullptr in dialogs without one.
  QCheckBox* CBPreview = nullptr;
  bool Preview = false;
  bool Changed = false;

  void ChangerCouleur(TColor) override {}
  void UpdateControls() override;
  void BApercuClick();
  void BOkClick();
  // A parameter changed; previews at once when Live and live preview is on.
  void ParamChanged(bool Live);

protected:
  virtual void ApplyOperation() = 0;
  // What Ok does once the dialog is closed: by default the final preview
  // when a parameter changed since the last one.
  virtual void OkSteps();
  // The live-preview box ("Aperçu direct") at Left, Top.
  void AddLivePreviewBox(int Left, int Top);
  // The three buttons at Top, the client height under them.
  void PlaceButtons(int Top);
  // The saved pixels back in the layer, shown.
  void RestoreLayer();

  void FormShow() override;
  void FormHide() override;

private:
  void CBPreviewClick();
};
