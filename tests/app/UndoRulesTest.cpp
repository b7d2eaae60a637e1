#include "app/UndoRules.h"

#include <gtest/gtest.h>

namespace {

struct TKindCase {
  TModifInfo Info;
  TUndoRecordClass Class;
  TUndoType Type;
  TScratchCopy BmpUndo;
  bool MaskUndo;
  bool Background;
  bool Empty;
};

// The choice table, one row per kind.
const TKindCase KindCases[] = {
    {miBkgNone, TUndoRecordClass::LayerInfos, utBitmap, TScratchCopy::None, false, true, false},
    {miBkgAll, TUndoRecordClass::AllLayers, utBitmap, TScratchCopy::Bitmap, false, true, false},
    {miLayerAll, TUndoRecordClass::WholeLayer, utAll, TScratchCopy::None, false, false, false},
    {miLayerMask, TUndoRecordClass::WholeLayer, utMask, TScratchCopy::Mask, false, false, false},
    {miDrawBmp, TUndoRecordClass::RegionLayer, utBitmap, TScratchCopy::Bitmap, false, false, true},
    {miDrawMask, TUndoRecordClass::RegionLayer, utMask, TScratchCopy::Mask, false, false, true},
    {miDrawBM, TUndoRecordClass::ExpandOrRegion, utAll, TScratchCopy::Bitmap, true, false, true},
    {miFiltre, TUndoRecordClass::RegionLayer, utBitmap, TScratchCopy::Bitmap, false, false, false},
    {miFiltreMask, TUndoRecordClass::RegionLayer, utMask, TScratchCopy::Mask, false, false, false},
    {miFiltreBM, TUndoRecordClass::RegionLayer, utAll, TScratchCopy::Bitmap, true, false, false},
    {miFiltreBM_D, TUndoRecordClass::ExpandOrRegion, utAll, TScratchCopy::Bitmap, true, false, false},
    {miLayerPos, TUndoRecordClass::LayerInfos, utBitmap, TScratchCopy::None, false, false, false},
    {miLayerIndex, TUndoRecordClass::LayerIndex, utBitmap, TScratchCopy::None, false, false, false},
    {miLayerOptions, TUndoRecordClass::LayerInfos, utBitmap, TScratchCopy::None, false, false, false},
    {miConvertText, TUndoRecordClass::LayerInfos, utBitmap, TScratchCopy::None, false, false, false},
    {miRenameLayer, TUndoRecordClass::LayerInfos, utBitmap, TScratchCopy::None, false, false, false},
    {miTextData, TUndoRecordClass::TextData, utBitmap, TScratchCopy::None, false, false, false},
    {miCreateLayer, TUndoRecordClass::CreateLayer, utBitmap, TScratchCopy::None, false, false, false},
    {miDeleteLayer, TUndoRecordClass::DeleteLayer, utBitmap, TScratchCopy::None, false, false, false},
    {miInsertBkg, TUndoRecordClass::InsertBkg, utBitmap, TScratchCopy::None, false, true, false},
    {miMergeLayers, TUndoRecordClass::MergeLayers, utBitmap, TScratchCopy::None, false, false, false},
    {miMergeAll, TUndoRecordClass::MergeAll, utBitmap, TScratchCopy::None, false, true, false},
    {miShowHideAll, TUndoRecordClass::ShowHideAll, utBitmap, TScratchCopy::None, false, true, false},
    {miAttenuer, TUndoRecordClass::Fade, utBitmap, TScratchCopy::None, false, false, false},
};

} // namespace

TEST(UndoRules, EveryKindHasItsRecordClassTypeLayerAndScratchCopies) {
  for (const TKindCase& C : KindCases) {
    SCOPED_TRACE(int(C.Info));
    EXPECT_EQ(UndoRecordClassOf(C.Info), C.Class);
    EXPECT_EQ(UndoTypeOf(C.Info), C.Type);
    EXPECT_EQ(BmpUndoCopyOf(C.Info), C.BmpUndo);
    EXPECT_EQ(MaskUndoCopiesMask(C.Info), C.MaskUndo);
    EXPECT_EQ(UndoOnBackground(C.Info), C.Background);
    EXPECT_EQ(UndoStartsEmpty(C.Info), C.Empty);
    EXPECT_EQ(UndoHidesSelection(C.Info), C.Info == miBkgAll || C.Info == miLayerAll || C.Info == miLayerMask);
  }
}

TEST(UndoRules, KindsFollowTheAlphaPaintingAndTheLayerMask) {
  // Drawing and the filters that may write the mask only record the bitmap
  // unless painting on alpha is on; a bitmap-and-mask filter on a layer
  // without mask records the bitmap.
  EXPECT_EQ(AdjustModifInfo(miDrawBM, false, true), miDrawBmp);
  EXPECT_EQ(AdjustModifInfo(miDrawBM, true, true), miDrawBM);
  EXPECT_EQ(AdjustModifInfo(miFiltreBM_D, false, true), miFiltre);
  EXPECT_EQ(AdjustModifInfo(miFiltreBM_D, true, true), miFiltreBM_D);
  EXPECT_EQ(AdjustModifInfo(miFiltreBM, true, false), miFiltre);
  EXPECT_EQ(AdjustModifInfo(miFiltreBM, false, true), miFiltreBM);
  EXPECT_EQ(AdjustModifInfo(miLayerMask, false, false), miLayerMask);
}

TEST(UndoRules, TitlesLoseTheirBracketedShortCut) {
  EXPECT_EQ(UndoTitle("Flou [Ctrl+B]", true), "Flou");
  EXPECT_EQ(UndoTitle("Flou [Ctrl+B]", false), "Flou [Ctrl+B]");
  EXPECT_EQ(UndoTitle("Flou", true), "Flou");
  EXPECT_EQ(UndoTitle("[x]", true), "");
  // Only a title that ends with the bracket loses it.
  EXPECT_EQ(UndoTitle("Flou [a] b", true), "Flou [a] b");
}

TEST(UndoRules, GrowingIsNeededOnlyBeyondTheLayer) {
  const TRect Layer{10, 20, 110, 120};
  EXPECT_FALSE(ReachesBeyond({10, 20, 110, 120}, Layer));
  EXPECT_FALSE(ReachesBeyond({50, 50, 60, 60}, Layer));
  EXPECT_TRUE(ReachesBeyond({9, 20, 110, 120}, Layer));
  EXPECT_TRUE(ReachesBeyond({10, 19, 110, 120}, Layer));
  EXPECT_TRUE(ReachesBeyond({10, 20, 111, 120}, Layer));
  EXPECT_TRUE(ReachesBeyond({10, 20, 110, 121}, Layer));
}

TEST(UndoRules, OnlyPixelChangesCanBeFaded) {
  for (int Kind = 0; Kind <= miAttenuer; ++Kind)
    EXPECT_EQ(CanFadeKind(Kind), (Kind >= miDrawBmp && Kind <= miFiltreBM_D) || Kind == miAttenuer) << Kind;
}
