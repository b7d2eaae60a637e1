// The undo steps that repeated edits of one layer share: moves, options,
// names and a text layer's options. Two edits of one layer in a row make one
// step whose undo goes back to before the first; an edit of another layer in
// between starts a new step.
#include "MainFormFixture.h"

#include "../support/ImageCompare.h"
#include "document/MyImageLayered.h"
#include "document/ui/LayerNavigator.h"

#include <functional>

namespace {

struct TLayerFacts {
  TPoint Pos;
  QString Caption;
  int Opacity;
  bool operator==(const TLayerFacts&) const = default;
};
void PrintTo(const TLayerFacts& F, std::ostream* Out) {
  *Out << F.Pos.X << "," << F.Pos.Y << " " << F.Caption.toStdString() << " " << F.Opacity;
}

TLayerFacts FactsOf(const TLayerItem& L) { return {L.Pos, L.Caption, L.Opacity}; }

struct TMergeCase {
  const char* Name;
  const char* Title;
  TModifInfo Kind;
  // One edit of the current layer, its undo step prepared as the command does.
  std::function<void(TMainForm&, TLayerItem&)> Edit;
};

const TMergeCase MergeCases[] = {
    {"moves", "Déplacer calque", miLayerPos,
     [](TMainForm& F, TLayerItem& L) {
       const TPoint Old = L.Pos;
       L.Pos = {Old.X + 3, Old.Y + 1};
       F.PrepareLayerPosUndo(Old);
     }},
    {"options", "Calque > Options", miLayerOptions,
     [](TMainForm& F, TLayerItem& L) {
       F.PrepareLayerOptionsUndo();
       L.Opacity = uint8_t(L.Opacity - 10);
     }},
    {"names", "Renommer le calque", miRenameLayer,
     [](TMainForm& F, TLayerItem& L) {
       F.PrepareRenameLayerUndo();
       L.Caption += "x";
     }},
};

class MainFormMergedUndoTest : public MainFormFixture, public ::testing::WithParamInterface<TMergeCase> {
protected:
  void SetUp() override {
    MainFormFixture::SetUp();
    Form = Start();
    TBitmap B(30, 20, pf24bit);
    FillRandom(B, 1);
    Form->NouvelleImage(nullptr, &B, QString(), srcNew, 16777216);
    for (int I = 1; I <= 2; ++I) Form->Image().AddLayer(&B, nullptr, {I, I}, 90, QStringLiteral("#%1").arg(I));
    Form->LayerNav()->Synchronize(true);
  }
  void TearDown() override {
    Form.reset();
    MainFormFixture::TearDown();
  }
  TLayerItem& Select(int Index) {
    Form->Image().SetLayerIndex(Index);
    Form->LayerNav()->ResetLayerIndex();
    return *Form->Image().CurrentLayer();
  }
  int Steps() const { return Form->ListeUndo().Count(); }
  std::unique_ptr<TMainForm> Form;
};

} // namespace

TEST_P(MainFormMergedUndoTest, RepeatedEditsOfOneLayerMakeOneStep) {
  const TMergeCase& C = GetParam();
  TLayerItem& L = Select(1);
  const TLayerFacts Before = FactsOf(L);
  C.Edit(*Form, L);
  C.Edit(*Form, L);
  ASSERT_EQ(Steps(), 1);
  EXPECT_EQ(Form->ListeUndo().CurrentUndo()->Caption, QString::fromUtf8(C.Title));
  EXPECT_EQ(Form->ListeUndo().CurrentUndo()->GetFlag(2), C.Kind);
  const TLayerFacts After = FactsOf(L);
  Form->Undo();
  EXPECT_EQ(FactsOf(Form->Image().Layers()[1]), Before);
  Form->Redo();
  EXPECT_EQ(FactsOf(Form->Image().Layers()[1]), After);

  // Another layer in between: a step each.
  C.Edit(*Form, Select(2));
  C.Edit(*Form, Select(1));
  EXPECT_EQ(Steps(), 3);
}

INSTANTIATE_TEST_SUITE_P(LayerEdits, MainFormMergedUndoTest, ::testing::ValuesIn(MergeCases),
                         [](const ::testing::TestParamInfo<TMergeCase>& Info) { return std::string(Info.param.Name); });

TEST_F(MainFormMergedUndoTest, ATextLayersOptionsShareOneStep) {
  auto Data = std::make_unique<TTestTextData>();
  Data->Lines = QStringList{"Bonjour"};
  Select(Form->Image().AddLayerData(std::move(Data), "#3"));
  Form->LayerNav()->Synchronize(true);
  Form->PrepareTextDataUndo();
  Form->PrepareTextDataUndo();
  ASSERT_EQ(Steps(), 1);
  EXPECT_EQ(Form->ListeUndo().CurrentUndo()->Caption, "Texte > Options");
  EXPECT_EQ(Form->ListeUndo().CurrentUndo()->GetFlag(2), miTextData);
  // Another kind of step in between starts a new one.
  Form->PrepareLayerOptionsUndo();
  Form->PrepareTextDataUndo();
  EXPECT_EQ(Steps(), 3);
}
