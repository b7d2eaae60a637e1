// Filter > LumaMasque in its "Transparence" mode on a lone background, on a
// real main window: the key colour painted through the mask and the
// background marked transparent are one step, which Undo takes back whole
// (pixels and mark) and Redo gives again with its colour.
#include "TransparentMark.h"

#include "../support/Pixels.h"
#include "../support/WaitFor.h"
#include "dialogs/ui/LQ.h"
#include "raster/Transparency.h"
#include "ui/SpecialEdit.h"

#include <QImage>
#include <QPushButton>

namespace {

using MainFormMaskOverlayUndoTest = TransparentMarkFixture;

} // namespace

TEST_F(MainFormMaskOverlayUndoTest, TransparenceOnALoneBackgroundIsUndoneAndRedoneWithItsMark) {
  // A mask black in its left half, applied within a selection after a
  // preview.
  QImage Mask(2, 2, QImage::Format_RGB32);
  Mask.fill(Qt::white);
  Mask.setPixelColor(0, 0, Qt::black);
  Mask.setPixelColor(0, 1, Qt::black);
  ASSERT_TRUE(Mask.save(Path("mask.png"), "PNG"));
  const TRect Selected{2, 2, 12, 8};
  Form->Sel()->SetBmpSelRect(Selected);
  Form->AfficherSelection();
  const TTransparentMark Before = Mark();

  Trigger("MenuLumaMasque");
  auto* D = Form->findChild<TLQForm*>();
  ASSERT_TRUE(D && D->isVisible());
  D->LoadPicture(Path("mask.png"), false);
  D->LstFormat->SetItemIndex(meTransparent);
  QTest::mouseClick(D->BApercu, Qt::LeftButton);
  QTest::mouseClick(D->BOk, Qt::LeftButton);
  ASSERT_TRUE(WaitUntil([&] { return !D->isVisible(); }));
  const TTransparentMark After = Mark();
  ASSERT_TRUE(After.Transparent);
  EXPECT_EQ(After.Color, TransparentKeyColor);
  EXPECT_EQ(Px(Form->LeFond(), Selected.Left, Selected.Top), ColorToTRGB(TransparentKeyColor));
  EXPECT_EQ(Px(Form->LeFond(), 0, 0), Px(*Before.Pixels, 0, 0));

  ExpectUndoRedo(Before, After);
}
