// Every artistic, blur, effect and transparency dialog with all its sliders
// and fields at one end of their ranges and its boxes checked, on layers one
// pixel wide or high and on a one-pixel selection: nothing crashes or reads
// outside the layer (the sanitizers watch), and Undo gives the layer back.
#include "FilterDialogFixture.h"

#include "../support/ImageCompare.h"
#include "ui/MsgDlg.h"
#include "ui/SpinEdit.h"

#include <QCheckBox>

namespace {

struct TItem {
  const char* Name;
  const char* TopMenu;
};

const TItem Items[] = {
    {"MenuFiltreArographe", "MenuFiltre"},      {"MenuFiltreCristalliser", "MenuFiltre"},
    {"MenuFiltreAquarelle", "MenuFiltre"},      {"MenuFiltreHuile", "MenuFiltre"},
    {"MenuFiltreSpatule", "MenuFiltre"},        {"MenuFiltreEtaler", "MenuFiltre"},
    {"MenuFiltreEncre", "MenuFiltre"},          {"MenuFiltrePointillisme", "MenuFiltre"},
    {"MenuFiltreFusain", "MenuFiltre"},         {"MenuFiltreCrayonNoir", "MenuFiltre"},
    {"MenuFiltrePastel", "MenuFiltre"},         {"MenuFiltreBD", "MenuFiltre"},
    {"MenuFiltreCrayons", "MenuFiltre"},        {"MenuFiltreBruit", "MenuFiltre"},
    {"MenuFiltreMinimum", "MenuFiltre"},        {"MenuFiltreMaximum", "MenuFiltre"},
    {"MenuFiltreDurcirPlus", "MenuFiltre"},     {"MenuFiltreRenforcement", "MenuFiltre"},
    {"MenuFiltreAntipoussiere", "MenuFiltre"},  {"MenuFiltreFlouPlus", "MenuFiltre"},
    {"MenuFiltreFlouGauss", "MenuFiltre"},      {"MenuFiltreEstampage", "MenuFiltre"},
    {"MenuFiltreFlouRadial", "MenuFiltre"},     {"MenuFiltreFlouCirculaire", "MenuFiltre"},
    {"MenuFiltreMouvement", "MenuFiltre"},      {"MenuFiltreMicroCtr", "MenuFiltre"},
    {"MenuFiltreRelief3", "MenuFiltre"},        {"MenuFiltrePassHaut", "MenuFiltre"},
    {"MenuFiltreOmbre", "MenuFiltre"},          {"MenuFiltreProgressif", "MenuFiltre"},
    {"MenuFiltreCtr3D", "MenuFiltre"},          {"MenuCalqueOpacite", "MenuCalque"},
    {"MenuCalqueBordProgressif", "MenuCalque"}, {"MenuCalqueBordDispersion", "MenuCalque"},
    {"MenuCalqueDegrade1", "MenuCalque"},       {"MenuCalqueCouleurTrans", "MenuCalque"},
};

struct TLayout {
  int Width, Height;
  TRect Selection; // empty: none
};
const TLayout Layouts[] = {{1, 30, {}}, {30, 1, {}}, {1, 1, {}}, {40, 30, {5, 0, 6, 30}}, {40, 30, {0, 7, 40, 8}}};

class DialogExtremesTest : public FilterDialogFixture, public ::testing::WithParamInterface<TItem> {
protected:
  // Every slider and field at its maximum (or minimum), every box checked
  // but the live preview.
  static void SetExtremes(TFilterNForm* D, bool Max) {
    for (TTrackBar* T : D->findChildren<TTrackBar*>()) T->SetPosition(Max ? T->maximum() : T->minimum());
    for (TSpinEdit2* E : D->findChildren<TSpinEdit2*>()) E->SetValue2(Max ? E->MaxValue() : E->MinValue());
    for (QCheckBox* B : D->findChildren<QCheckBox*>())
      if (B != D->CBRealTime && B->isEnabled()) B->setChecked(true);
  }
};

TEST_P(DialogExtremesTest, EndsOfTheRangesOnThinLayersAndSelections) {
  const TItem& I = GetParam();
  TScopedMsgDlgAnswers Answers([](const TMsgDlgRequest&) { return TMsgDlgAnswer{mrOk, {}}; });
  int Runs = 0;
  for (const TLayout& L : Layouts) {
    SCOPED_TRACE(testing::Message() << L.Width << "x" << L.Height);
    TBitmap B(L.Width, L.Height, pf24bit, clBlack);
    FillRandom(B, 3);
    Form->NouvelleImage(nullptr, &B, QString(), srcNew, 16777216);
    Form->Image().Layers()[0].CheckCreateMask(false);
    if (!L.Selection.IsEmpty()) {
      Form->MenuSelToutClick();
      Form->Sel()->SetBmpSelRect(L.Selection);
    }
    for (const bool Max : {true, false}) {
      SCOPED_TRACE(Max ? "max" : "min");
      emit Form->MenuNamed(QString::fromLatin1(I.TopMenu))->aboutToShow();
      QAction* A = Form->MenuItem(QString::fromLatin1(I.Name));
      if (!A->isEnabled()) continue; // the menu rules refuse it here
      ++Runs;
      A->trigger();
      TFilterNForm* D = nullptr;
      for (TFilterNForm* F : Form->findChildren<TFilterNForm*>())
        if (F->isVisible()) D = F;
      ASSERT_TRUE(D);
      SetExtremes(D, Max);
      Click(D->BOk);
      if (D->isVisible()) Click(D->BAnnuler); // refused as too small
      if (UndoSteps() > 0) Form->MenuItem("MenuEditionUndo")->trigger();
      EXPECT_IMAGES_MATCH(Form->LeBitmap(), B);
    }
    Form->MenuItem("MenuFichierFermer")->trigger();
  }
  EXPECT_GE(Runs, 4); // the drop shadow needs a selection
}

INSTANTIATE_TEST_SUITE_P(Dialogs, DialogExtremesTest, ::testing::ValuesIn(Items),
                         [](const ::testing::TestParamInfo<TItem>& I) { return std::string(I.param.Name); });

} // namespace
