#include "filters/ui/ArtisticForms.h"

#include "filters/Filtres24.h"
#include "filters/FiltresComposes.h"
#include "filters/Patterns24.h"
#include "filters/ui/ChannelBars.h"
#include "i18n/Format.h"
#include "i18n/LibLang.h"
#include "ui/TrackBar.h"

#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>

#include <algorithm>

TMainBarForm::TMainBarForm(QWidget* Parent, const TMainBarSettings& Bar) : TFilterNForm(Parent) {
  setObjectName(QString::fromLatin1(Bar.FormName));
  setWindowTitle(Title(QString::fromLatin1(Bar.MenuItem)));
  SetMainBar(Bar.Min, Bar.Max, Bar.Step, Bar.Step, Bar.Pos, Tr(Bar.Format));
}

namespace {
constexpr TrId Level = TrId::GetTrFmtLevel2;
} // namespace

// ---- One slider --------------------------------------------------------------------------------------------------

TAeroForm::TAeroForm(QWidget* Parent)
    : TMainBarForm(Parent, {"AeroForm", "MenuFiltreArographe", 1, 30, 1, 7, TrId::GetTrFmtRadius}) {}
void TAeroForm::ApplyFilter() { Diffuse24(Bitmap(), TBN->Position(), 0, WorkRect()); }

TCrystalForm::TCrystalForm(QWidget* Parent)
    : TMainBarForm(Parent, {"CrystalForm", "MenuFiltreCristalliser", 1, 12, 1, 1, Level}) {}
void TCrystalForm::ApplyFilter() { Crystallize24(Bitmap(), TBN->Position() + 1, WorkRect()); }

TOilForm::TOilForm(QWidget* Parent) : TMainBarForm(Parent, {"OilForm", "MenuFiltreHuile", 1, 12, 1, 1, Level}) {}
void TOilForm::ApplyFilter() { OilPaint24(Bitmap(), TBN->Position() + 1, WorkRect()); }

TKnifForm::TKnifForm(QWidget* Parent) : TMainBarForm(Parent, {"KnifForm", "MenuFiltreSpatule", 1, 12, 1, 1, Level}) {}
void TKnifForm::ApplyFilter() { PaletteKnife24(Bitmap(), TBN->Position() + 3, WorkRect()); }

TSmudgeForm::TSmudgeForm(QWidget* Parent)
    : TMainBarForm(Parent, {"SmudgeForm", "MenuFiltreEtaler", 1, 20, 1, 3, Level}) {}
void TSmudgeForm::ApplyFilter() { Smudge24(Bitmap(), TBN->Position() + 1, WorkRect()); }

TColorPencilForm::TColorPencilForm(QWidget* Parent)
    : TMainBarForm(Parent, {"ColorPencilForm", "MenuFiltreCrayons", 1, 20, 1, 7, Level}) {}
void TColorPencilForm::ApplyFilter() {
  ColorPencil24(Bitmap(), FilterHost()->BmpUndo(), TBN->Position(), WorkRect());
}

// ---- With further controls ---------------------------------------------------------------------------------------

TAquaForm::TAquaForm(QWidget* Parent) : TMainBarForm(Parent, {"AquaForm", "MenuFiltreAquarelle", 1, 12, 1, 1, Level}) {
  Shadows = NewCheckBox(Tr(TrId::GetTrLblShadows), true, 8);
  Contours = NewCheckBox(Title(QStringLiteral("MenuFiltreContours")), false, 2);
  ArrangeButtons();
}
void TAquaForm::ApplyFilter() {
  Watercolor24(Bitmap(), TBN->Position(), Shadows->isChecked(), Contours->isChecked(), WorkRect());
}

TIndiaInkForm::TIndiaInkForm(QWidget* Parent)
    : TMainBarForm(Parent, {"IndiaInkForm", "MenuFiltreEncre", 1, 9, 1, 7, Level}) {
  Threshold = NewLabelledBar(*this, Tr(TrId::GetTrFmtThreshold), 0, 255, 10, 10, 70, 12, 4, LblThreshold);
  ArrangeButtons();
}
void TIndiaInkForm::ApplyFilter() { IndiaInk24(Bitmap(), TBN->Position(), Threshold->Position(), WorkRect()); }

TPointForm::TPointForm(QWidget* Parent)
    : TMainBarForm(Parent, {"PointForm", "MenuFiltrePointillisme", 1, 30, 1, 7, Level}) {
  Background = NewCheckBox(Tr(TrId::GetTrLblLayerBkg), false, 8);
  ArrangeButtons();
}
void TPointForm::ApplyFilter() {
  const int Size = TBN->Position() + 5;
  if (Background->isChecked())
    Pointillism24(Bitmap(), Size, Size * 3 / 4, clWhite, WorkRect());
  else
    Pointillism24(Bitmap(), Size, Size * 2 / 3, clNone, WorkRect());
}

TCharcoalForm::TCharcoalForm(QWidget* Parent)
    : TMainBarForm(Parent, {"CharcoalForm", "MenuFiltreFusain", 0, 100, 5, 30, TrId::GetTrFmtThreshold}) {
  SetMainBar(0, 100, 5, 5, 30, Tr(TrId::GetTrLblShadows) + QStringLiteral(" : %d"));
  FormatSMax = Tr(TrId::GetTrLblHighlights) + QStringLiteral(" : %d");
  TrackBar1 = NewLabelledBar(*this, FormatSMax, 100, 200, 5, 5, 170, 12, 4, LblHighlights);
  Charcoal = NewRadioBtn(Tr(TrId::GetTrMnuCharcoal), true, 8);
  Blood = NewRadioBtn(Tr(TrId::GetTrMnuBlood), false, 2);
  WhiteChalk = NewCheckBox(Title(QStringLiteral("MenuFiltreCraie")), true, 2);
  // The box's own ParamChanged comes from the builder's handler, after this.
  connect(WhiteChalk, &QCheckBox::toggled, this, [this] { UpdateControls(); });
  ArrangeButtons();
}
void TCharcoalForm::UpdateControls() {
  LblHighlights->setEnabled(WhiteChalk->isChecked());
  TrackBar1->setEnabled(WhiteChalk->isChecked());
}
void TCharcoalForm::ApplyFilter() {
  Charcoal24(Bitmap(), TBN->Position(), TrackBar1->Position(), Blood->isChecked(), WhiteChalk->isChecked(),
             WorkRect());
}

TBlackPencilForm::TBlackPencilForm(QWidget* Parent)
    : TMainBarForm(Parent, {"BlackPencilForm", "MenuFiltreCrayonNoir", 1, 9, 1, 1, Level}) {
  Contours = NewCheckBox(Title(QStringLiteral("MenuFiltreContours")), true, 8);
  ArrangeButtons();
}
int TBlackPencilForm::StrokeLength(int Width, int Height, int Level) {
  return std::max(3, std::max(17, std::min(Width, Height) / 100) - Level);
}
void TBlackPencilForm::ApplyFilter() {
  TBitmap& B = Bitmap();
  BlackPencil24(B, FilterHost()->BmpUndo(), StrokeLength(B.Width(), B.Height(), TBN->Position()), TBN->Position(),
                Contours->isChecked(), WorkRect());
}

TPastelsForm::TPastelsForm(QWidget* Parent)
    : TMainBarForm(Parent, {"PastelsForm", "MenuFiltrePastel", 1, 12, 1, 1, Level}) {
  Grain = NewCheckBox(Title(QStringLiteral("MenuTexturePapier")), false, 8);
  Strokes = NewCheckBox(Title(QStringLiteral("MenuFiltreRenforcement")), true, 2);
  ArrangeButtons();
}
void TPastelsForm::ApplyFilter() {
  Pastels24(Bitmap(), TBN->Position() + 7, Strokes->isChecked(), Grain->isChecked(), WorkRect());
}

TComicsForm::TComicsForm(QWidget* Parent)
    : TMainBarForm(Parent, {"ComicsForm", "MenuFiltreBD", 0, 255, 10, 128, TrId::GetTrFmtThreshold}) {
  Posterize = NewCheckBox(Title(QStringLiteral("MenuReglagePosteriser")), true, 8);
  Strokes = NewCheckBox(Title(QStringLiteral("MenuFiltreCrayonNoir")), true, 2);
  ArrangeButtons();
}
void TComicsForm::ApplyFilter() {
  Comics24(Bitmap(), std::min(TBN->Position(), 33), TBN->Position(), Posterize->isChecked(), Strokes->isChecked(),
           WorkRect());
}
