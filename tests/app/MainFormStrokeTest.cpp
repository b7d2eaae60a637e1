
TEST_F(MainFormStrokeTest, AirbrushHeldStillSpraysAgainAtEachTick) {
  Open(80, 50);
  Tool(5);
  C<TSpinEdit2>("SERAero")->SetValue(10);
  C<TTrackBar>("TBPressionAero")->SetPosition(10);
  C<TTrackBar>("TBDispersionAero")->SetPosition(10); // one pixel in twenty
  Palette->SetColor(clBlack, false);
  const auto Sprayed = [this] {
    int N = 0;
    for (int Y = 0; Y < 50; ++Y)
      for (int X = 0; X < 80; ++X) N += Px(Layer(), X, Y) != Grey(255);
    return N;
  };
  QCursor::setPos(Viewport()->mapToGlobal(At(40, 25)));
  QTest::mousePress(Viewport(), Qt::LeftButton, {}, At(40, 25));
  const int First = Sprayed();
  EXPECT_GT(First, 0);
  EXPECT_TRUE(WaitUntil([&] { return Sprayed() > First; }, 3000)) << "the timer sprays while the button is held";
  QTest::mouseRelease(Viewport(), Qt::LeftButton, {}, At(40, 25));
  const int Final = Sprayed();
  QTest::qWait(700);
  EXPECT_EQ(Sprayed(), Final) << "nothing after the release";
}
