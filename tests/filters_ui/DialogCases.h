// One filter dialog opened from its menu item, run the ways a user runs it:
// Ok with its defaults, a preview of one changed setting then Cancel, and Ok
// with that setting; each result against the filter routines called directly
// on the same pixels. Random filters are made reproducible for the whole run.
#pragma once

#include "FilterDialogFixture.h"

#include "raster/FoncUtils.h"
#include "raster/RandomGen.h"
#include "ui/DirectionEdit.h"

#include <QCheckBox>

using TFilter = std::function<void(TBitmap&, const TRect&)>;
// A filter that reads the unfiltered pixels as its source.
using TSourceFilter = std::function<void(const TBitmap&, TBitmap&, const TRect&)>;

inline TFilter FromSource(TSourceFilter F) {
  return [F = std::move(F)](TBitmap& B, const TRect& R) {
    TBitmap Source;
    Source.Assign(B);
    F(Source, B, R);
  };
}

struct TDialogCase {
  const char* Item;
  const char* TopMenu;
  const char* FormName;
  TFilter Defaults;
  // Sets the changed controls to fixed values, so that running it again on
  // a dialog that kept them changes nothing.
  std::function<void(TFilterNForm*)> Change;
  TFilter Changed;
  // The dialog changes the current layer's transparency mask, not its
  // pixels (the filters above then work on the mask).
  bool OnMask = false;
  // Sets up the image before the dialog first opens (a mask, a selection).
  std::function<void(TMainForm&)> Prepare = nullptr;
  // The menu item whose title names the undo step, when not the dialog's.
  const char* UndoTitleItem = nullptr;
};

template <class T> T* Child(TFilterNForm* D, const char* Name) { return D->findChild<T*>(QString::fromLatin1(Name)); }
inline void SetBar(TFilterNForm* D, const char* Name, int Position) {
  Child<TTrackBar>(D, Name)->SetPosition(Position);
}
inline void SetBox(TFilterNForm* D, const char* Name, bool Checked) {
  Child<QAbstractButton>(D, Name)->setChecked(Checked);
}

class DialogCaseTest : public FilterDialogFixture, public ::testing::WithParamInterface<TDialogCase> {
protected:
  TFilterNForm* OpenCase(const TDialogCase& C) {
    emit Form->MenuNamed(QString::fromLatin1(C.TopMenu))->aboutToShow();
    QAction* A = Form->MenuItem(QString::fromLatin1(C.Item));
    if (!A || !A->isEnabled()) return nullptr;
    A->trigger();
    auto* D = Form->findChild<TFilterNForm*>(QString::fromLatin1(C.FormName));
    return D && D->isVisible() ? D : nullptr;
  }

  // The bitmap the case changes and what it held before.
  TBitmap& Live(const TDialogCase& C) { return C.OnMask ? Form->LeMasque() : Form->LeBitmap(); }
  std::unique_ptr<TBitmap> Expect(const TDialogCase& C, const TFilter& Filter) {
    auto E = std::make_unique<TBitmap>();
    E->Assign(C.OnMask ? OriginalMask : Original);
    Filter(*E, {0, 0, E->Width(), E->Height()});
    return E;
  }

  void RunCase() {
    const TDialogCase& C = GetParam();
    if (C.Prepare) {
      C.Prepare(*Form);
      Original.Assign(Form->LeBitmap());
    }
    if (C.OnMask) OriginalMask.Assign(Form->LeMasque());
    const TBitmap& Start = C.OnMask ? OriginalMask : Original;
    TFixedRandomize Fixed(11);
    TFilterNForm* D = OpenCase(C);
    ASSERT_TRUE(D) << C.Item;
    EXPECT_FALSE(D->windowTitle().isEmpty());
    const QString Step = C.UndoTitleItem ? CleanMenuCaption(Form->MenuItem(C.UndoTitleItem)->text()) : D->windowTitle();
    EXPECT_EQ(Form->ListeUndo().CurrentUndo()->Caption, Step);
    Click(D->BOk);
    EXPECT_FALSE(D->isVisible());
    EXPECT_IMAGES_MATCH(Live(C), *Expect(C, C.Defaults), 0, "defaults");
    EXPECT_EQ(UndoSteps(), 1);
    Form->MenuItem("MenuEditionUndo")->trigger();
    ASSERT_TRUE(ImagesMatch(Live(C), Start));

    // A preview of the change, then Cancel: the layer as it was, no step.
    D = OpenCase(C);
    ASSERT_TRUE(D);
    C.Change(D);
    Click(D->BApercu);
    EXPECT_IMAGES_MATCH(Live(C), *Expect(C, C.Changed), 0, "preview");
    Click(D->BAnnuler);
    EXPECT_FALSE(D->isVisible());
    EXPECT_IMAGES_MATCH(Live(C), Start, 0, "cancelled");
    EXPECT_IMAGES_MATCH(Form->LeBitmap(), Original, 0, "cancelled pixels");
    EXPECT_EQ(UndoSteps(), 0);

    D = OpenCase(C);
    ASSERT_TRUE(D);
    C.Change(D);
    Click(D->BOk);
    EXPECT_IMAGES_MATCH(Live(C), *Expect(C, C.Changed), 0, "changed");
    EXPECT_EQ(UndoSteps(), 1);
  }
  TBitmap OriginalMask;
};

inline std::string CaseName(const ::testing::TestParamInfo<TDialogCase>& I) {
  return std::string(I.param.FormName) + std::to_string(I.index);
}
