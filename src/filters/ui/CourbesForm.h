// Adjust > Curves: one tone curve for the composite channel and one for each
// of red, green and blue, edited with the mouse on a 256 x 256 graph as an
// open path of 2 to 7 vertices (Bezier or straight segments, one mode for
// all four), turned into four tables, the composite merged into the colour
// ones, applied to the layer inside the work rect. Curve sets are saved to
// and loaded from .lmc files. Depends on TFilterNForm (the preview
// protocol), the path editor overlay, the curve files and tables.
//
// Vertex rules, kept by CurvePathChangeInfo: vertices are only inserted
// between two others, at least 12 levels from both, up to 7; the two ends
// cannot be deleted; a moved anchor stays 12 levels from its neighbours.
// Control points move freely. A refused request brings the edit mode back.
#pragma once

#include "filters/CurveLuts.h"
#include "filters/ui/CurveDialogs.h"
#include "filters/ui/CurveFiles.h"
#include "filters/ui/FilterNForm.h"
#include "tools/ui/PathOverlay.h"

class QComboBox;
class QToolButton;
class TMyImage;
class TSimplePanel;

// The four tables of the last curves applied: composite, red, green, blue.
extern TCurveLUT CurveLUTs[CurveChannelCount];

class TCourbesForm : public TFilterNForm {
  Q_OBJECT
public:
  explicit TCourbesForm(QWidget* Parent = nullptr);
  ~TCourbesForm() override;

  TSimplePanel* PnlImage = nullptr;
  TMyImage* ImgDraw = nullptr;
  TPathOverlay* Path = nullptr;
  QComboBox* CmbCouche = nullptr;
  TCurveButtons Buttons;
  QPushButton* BReset = nullptr;

  // The four curves (the in-use flags are the channels' ListChanged) and
  // the segment mode.
  const TCurveSet& Curves() const { return FCurves; }
  // 0 composite, 1 red, 2 green, 3 blue.
  int ActiveCouche() const { return FActiveCouche; }
  const QString& FichierCourbes() const { return FFichierCourbes; }
  bool FlagChanged() const { return FFlagChanged; }

  void UpdateControls() override;
  QString GetIniCustomVar(int Index) override;
  void SetIniCustomVar(int Index, const QString& Value) override;
  bool HasEffect() override { return AnyCurveChanged(); }
  void ApplyFilter() override;
  QString FilterTitle() const override;

  bool AnyCurveChanged() const;
  // The tables of the curves as they stand (identity for a channel not in
  // use), the composite merged into the colour ones.
  void BuildCurveLUTs();
  // The curves shown again: the grid, the other channels in use, the
  // active channel's path.
  void ShowCurves();
  // Writes the set through a safe file; false (reported, naming the file)
  // when it fails.
  bool SaveCurvesFile(const QString& FileName);
  // Replaces the set only when the whole file could be read; false
  // (reported, naming the file, the curves as they were) otherwise.
  bool LoadCurvesFile(const QString& FileName);

  // Handlers.
  void SBClick(QToolButton* Button);
  void SBResetClick();
  void SBOpenClick();
  void SBSaveClick();
  void CmbCoucheChange();
  void BResetClick();

protected:
  void hideEvent(QHideEvent* Event) override;
  void keyPressEvent(QKeyEvent* Event) override;

private:
  TCurveChannel& ActiveList() { return FCurves.Channels[size_t(FActiveCouche)]; }
  void ResetAllCurves();
  void ShowCurve(const TCurveChannel& List);
  void StoreCurve();
  void SetBezierModeQuiet(bool Value);
  void UpdateCurvesTitle();
  void CurvesChanged();
  void CurvePathUpdating(TSelOption Option);
  void CurvePathChangeInfo(TPathChangeInfo Info, int Index, int& X, int& Y, int Data, bool& Accept);

  TCurveSet FCurves;
  int FActiveCouche = 0;
  QString FFichierCourbes;
  bool FFlagChanged = false;
  bool FQuiet = false;
};
