// The background as a person sees it after a command, Undo or Redo: its
// pixels, whether it is transparent and its transparent colour.
#pragma once

#include "MainFormFixture.h"

#include "../support/ImageCompare.h"

struct TTransparentMark {
  PBitmap Pixels;
  bool Transparent;
  TColor Color;
};

inline TTransparentMark MarkOf(const TBitmap& Background) {
  auto Pixels = std::make_unique<TBitmap>();
  Pixels->Assign(Background);
  return {std::move(Pixels), Background.Transparent, Background.TransparentColor()};
}

// The colour only counts while the background is transparent.
inline void ExpectSameMark(const TTransparentMark& Actual, const TTransparentMark& Expected, const char* When) {
  SCOPED_TRACE(When);
  EXPECT_IMAGES_MATCH(*Actual.Pixels, *Expected.Pixels);
  EXPECT_EQ(Actual.Transparent, Expected.Transparent);
  if (Expected.Transparent) EXPECT_EQ(Actual.Color, Expected.Color);
}

// A main window with one 20 x 10 image of random pixels in 16 million
// colours, and the Edit menu's Undo and Redo checked against the states
// before and after a command.
class TransparentMarkFixture : public MainFormFixture {
protected:
  static constexpr int W = 20, H = 10;
  void SetUp() override {
    MainFormFixture::SetUp();
    Form = Start();
    TBitmap B(W, H, pf24bit);
    FillRandom(B, 7);
    Form->NouvelleImage(nullptr, &B, QString(), srcNew, 16777216);
    ASSERT_TRUE(Form->UneImage());
  }
  void TearDown() override {
    Form.reset();
    MainFormFixture::TearDown();
  }
  TTransparentMark Mark() const { return MarkOf(Form->LeFond()); }
  void Trigger(const char* Name) { TriggerItem(*Form, Form->MenuItem(QString::fromLatin1(Name)), Name); }
  // The background keyed on the colour of its pixel (X, Y).
  void KeyOn(int X, int Y) {
    Form->LeFond().SetTransparentColor(Form->LeFond().PixelColor(X, Y));
    Form->LeFond().Transparent = true;
  }
  void ExpectUndoRedo(const TTransparentMark& Before, const TTransparentMark& After) {
    Trigger("MenuEditionUndo");
    ExpectSameMark(Mark(), Before, "undone");
    Trigger("MenuEditionRedo");
    ExpectSameMark(Mark(), After, "redone");
  }
  std::unique_ptr<TMainForm> Form;
};
