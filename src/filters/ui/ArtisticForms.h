// The artistic dialogs of the Filter menu: airbrush, crystallize,
// watercolour, oil paint, palette knife, smudge, India ink, pointillism,
// charcoal and red chalk, black pencil, pastels, comics and colour pencils.
// Each is a main slider for the strength, sometimes a second slider or a few
// boxes, and one call of an artistic filter on the current layer. Depends on
// TFilterNForm and the artistic, pattern and point filters.
#pragma once

#include "filters/ui/FilterNForm.h"
#include "i18n/LibLang.h"

class QCheckBox;
class QLabel;
class QRadioButton;

// A dialog whose main slider is set from one line of settings: the form's
// name, the menu item whose title captions it, the slider's range, step
// (frequency and page), default and label format.
struct TMainBarSettings {
  const char* FormName;
  const char* MenuItem;
  int Min, Max, Step, Pos;
  TrId Format;
};
class TMainBarForm : public TFilterNForm {
  Q_OBJECT
public:
  TMainBarForm(QWidget* Parent, const TMainBarSettings& Bar);
};

// Diffuse24(main, mode 0).
class TAeroForm : public TMainBarForm {
  Q_OBJECT
public:
  explicit TAeroForm(QWidget* Parent = nullptr);
  void ApplyFilter() override;
};

// Crystallize24(main + 1).
class TCrystalForm : public TMainBarForm {
  Q_OBJECT
public:
  explicit TCrystalForm(QWidget* Parent = nullptr);
  void ApplyFilter() override;
};

// Watercolor24(main, "Tons sombres", "Contours").
class TAquaForm : public TMainBarForm {
  Q_OBJECT
public:
  explicit TAquaForm(QWidget* Parent = nullptr);
  QCheckBox* Shadows = nullptr;
  QCheckBox* Contours = nullptr;
  void ApplyFilter() override;
};

// OilPaint24(main + 1).
class TOilForm : public TMainBarForm {
  Q_OBJECT
public:
  explicit TOilForm(QWidget* Parent = nullptr);
  void ApplyFilter() override;
};

// PaletteKnife24(main + 3).
class TKnifForm : public TMainBarForm {
  Q_OBJECT
public:
  explicit TKnifForm(QWidget* Parent = nullptr);
  void ApplyFilter() override;
};

// Smudge24(main + 1).
class TSmudgeForm : public TMainBarForm {
  Q_OBJECT
public:
  explicit TSmudgeForm(QWidget* Parent = nullptr);
  void ApplyFilter() override;
};

// IndiaInk24(main, threshold).
class TIndiaInkForm : public TMainBarForm {
  Q_OBJECT
public:
  explicit TIndiaInkForm(QWidget* Parent = nullptr);
  TTrackBar* Threshold = nullptr;
  QLabel* LblThreshold = nullptr;
  void ApplyFilter() override;
};

// Pointillism24 with dots of main + 5: every 3/4 of a dot on white with
// "Fond", else every 2/3 of a dot on the layer as it is.
class TPointForm : public TMainBarForm {
  Q_OBJECT
public:
  explicit TPointForm(QWidget* Parent = nullptr);
  QCheckBox* Background = nullptr;
  void ApplyFilter() override;
};

// Charcoal24(shadows = main, highlights, "Sanguine", "Craie blanche"); the
// highlight slider only counts, and is only enabled, with "Craie blanche".
class TCharcoalForm : public TMainBarForm {
  Q_OBJECT
public:
  explicit TCharcoalForm(QWidget* Parent = nullptr);
  QString FormatSMax;
  QLabel* LblHighlights = nullptr;
  TTrackBar* TrackBar1 = nullptr;
  QRadioButton* Charcoal = nullptr;
  QRadioButton* Blood = nullptr;
  QCheckBox* WhiteChalk = nullptr;
  void UpdateControls() override;
  void ApplyFilter() override;
};

// BlackPencil24 from the unfiltered copy, strokes of max(17, the layer's
// smaller side div 100) - main pixels (at least 3), density main.
class TBlackPencilForm : public TMainBarForm {
  Q_OBJECT
public:
  explicit TBlackPencilForm(QWidget* Parent = nullptr);
  QCheckBox* Contours = nullptr;
  // The stroke length for a layer of that size at that level.
  static int StrokeLength(int Width, int Height, int Level);
  void ApplyFilter() override;
};

// Pastels24(main + 7, "Renforcement", "Papier à grain").
class TPastelsForm : public TMainBarForm {
  Q_OBJECT
public:
  explicit TPastelsForm(QWidget* Parent = nullptr);
  QCheckBox* Grain = nullptr;
  QCheckBox* Strokes = nullptr;
  void ApplyFilter() override;
};

// Comics24(min(main, 33), main, "Postériser", "Crayon noir").
class TComicsForm : public TMainBarForm {
  Q_OBJECT
public:
  explicit TComicsForm(QWidget* Parent = nullptr);
  QCheckBox* Posterize = nullptr;
  QCheckBox* Strokes = nullptr;
  void ApplyFilter() override;
};

// ColorPencil24 from the unfiltered copy, amount main.
class TColorPencilForm : public TMainBarForm {
  Q_OBJECT
public:
  explicit TColorPencilForm(QWidget* Parent = nullptr);
  void ApplyFilter() override;
};
