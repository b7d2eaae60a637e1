// The Image menu's commands that set, change or drop the background's
// transparent colour, through their dialogs on a real main window: Undo
// gives back the background exactly as it was (pixels, mark and colour),
// Redo exactly as the command left it, and a cancelled dialog leaves it
// untouched.
#include "TransparentMark.h"

#include "../support/WaitFor.h"
#include "filters/ui/IndexForm.h"
#include "filters/ui/TransparencyForms.h"
#include "i18n/LibLang.h"

#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>

namespace {

using MainFormTransparentMarkUndoTest = TransparentMarkFixture;

template <class TForm> TForm* Shown(TMainForm& Form) {
  auto* D = Form.findChild<TForm*>();
  return D && D->isVisible() ? D : nullptr;
}

void Close(QWidget* Dialog, QAbstractButton* Button) {
  QTest::mouseClick(Button, Qt::LeftButton);
  ASSERT_TRUE(WaitUntil([&] { return !Dialog->isVisible(); }));
}

} // namespace

TEST_F(MainFormTransparentMarkUndoTest, TransparentColourSetOnAnOpaqueBackground) {
  const TTransparentMark Before = Mark();
  Trigger("MenuImageCouleurTrans");
  auto* D = Shown<TCouleurTransForm>(*Form);
  ASSERT_NE(D, nullptr);
  const TColor Picked = Form->LeFond().PixelColor(3, 3);
  D->ChangerCouleur(Picked);
  Close(D, D->BOk);
  const TTransparentMark After = Mark();
  ASSERT_TRUE(After.Transparent);
  EXPECT_EQ(After.Color, Picked);
  ExpectUndoRedo(Before, After);
}

TEST_F(MainFormTransparentMarkUndoTest, TransparentColourReplacedThenSwitchedOff) {
  KeyOn(1, 1);
  const TTransparentMark Keyed = Mark();
  Trigger("MenuImageCouleurTrans");
  auto* D = Shown<TCouleurTransForm>(*Form);
  ASSERT_NE(D, nullptr);
  D->RBRemplacer->setChecked(true);
  const TColor Picked = Form->LeFond().PixelColor(7, 4);
  D->ChangerCouleur(Picked);
  Close(D, D->BOk);
  const TTransparentMark Replaced = Mark();
  ASSERT_EQ(Replaced.Color, Picked);
  ExpectUndoRedo(Keyed, Replaced);

  // "Désactiver la transparence": the pixels stay, the mark goes.
  Trigger("MenuImageCouleurTrans");
  ASSERT_EQ(D, Shown<TCouleurTransForm>(*Form));
  D->CBAnnulerTransp->setChecked(true);
  Close(D, D->BOk);
  const TTransparentMark Opaque = Mark();
  ASSERT_FALSE(Opaque.Transparent);
  ExpectUndoRedo(Replaced, Opaque);
}

TEST_F(MainFormTransparentMarkUndoTest, TransparencyMaskOfAKeyedBackgroundDropsTheMark) {
  KeyOn(2, 5);
  const TTransparentMark Before = Mark();
  Trigger("MenuImageMaskTransp");
  auto* D = Shown<TMaskCoulForm>(*Form);
  ASSERT_NE(D, nullptr);
  Close(D, D->BOk);
  const TTransparentMark After = Mark();
  ASSERT_FALSE(After.Transparent);
  ExpectUndoRedo(Before, After);
}

// The command drops the mark before its dialog shows; Cancel, with or
// without a preview, must bring it back and leave no step.
TEST_F(MainFormTransparentMarkUndoTest, IndexedColoursCancelledKeepTheTransparentColour) {
  TScopedMsgDlgAnswers Answers(Messages.Provider());
  KeyOn(4, 2);
  const TTransparentMark Before = Mark();
  for (const bool Preview : {false, true}) {
    SCOPED_TRACE(Preview ? "previewed" : "not previewed");
    Messages.Answers = {mrYes};
    Trigger("MenuModeIndex");
    auto* D = Shown<TIndexForm>(*Form);
    ASSERT_NE(D, nullptr);
    EXPECT_FALSE(Form->LeFond().Transparent);
    if (Preview) QTest::mouseClick(D->BApercu, Qt::LeftButton);
    Close(D, D->BAnnuler);
    ExpectSameMark(Mark(), Before, "cancelled");
    EXPECT_EQ(Form->ListeUndo().Count(), 0);
  }
  EXPECT_EQ(Messages.Shown, QStringList({Tr(TrId::GetTrDlgMain13), Tr(TrId::GetTrDlgMain13)}));
}
