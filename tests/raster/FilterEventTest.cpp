#include "raster/FilterEvent.h"
#include "platform/Clock.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

namespace {

using TCall = std::tuple<int, int, int>; // Stage, Value, Tag

class TRecordingSink : public TProgressSink {
public:
  void ProgressCallback(uint8_t Stage, int Value, int Tag) override { Calls.emplace_back(Stage, Value, Tag); }
  void HandlePendingMessages() override {
    ++MessageRounds;
    if (CancelOnMessages) ProgressCancelled = true;
  }
  std::vector<TCall> Calls;
  int MessageRounds = 0;
  bool CancelOnMessages = false;
};

// Every test starts from the state the main window leaves after a command.
class FilterEvent : public ::testing::Test {
protected:
  void SetUp() override {
    Reset();
    SetProgressSink(&Sink);
  }
  void TearDown() override {
    Reset();
    SetProgressSink(nullptr);
    ProgressProcessMessages = false;
  }
  static void Reset() {
    ProgressDisabled = false;
    ProgressCancelled = false;
    SetProgressPasses(1);
    SetProgressKeepStart(false);
    SetProgressTag(0);
    if (IsProgressRunning()) ProgressEvent(ProgressStageEnd, 0);
  }
  // Runs steps 0..Maximum spread evenly over Ms milliseconds of fake time.
  void RunOperation(int Maximum, int Ms) {
    ASSERT_TRUE(ProgressEvent(ProgressStageBegin, Maximum));
    for (int I = 0; I <= Maximum; ++I) {
      Clock.Set(Start + std::chrono::milliseconds(int64_t(Ms) * I / Maximum));
      ASSERT_TRUE(ProgressEvent(ProgressStageReport, I));
    }
    ASSERT_TRUE(ProgressEvent(ProgressStageEnd, 0));
  }
  const TMonoTime Start{std::chrono::seconds(1000)};
  TFakeClock Clock{Start};
  TScopedClock Scope{Clock};
  TRecordingSink Sink;
};

TEST_F(FilterEvent, ShortOperationReportsOnlyBeginAndEnd) {
  RunOperation(100, 500);
  EXPECT_EQ(Sink.Calls, (std::vector<TCall>{{0, 100, 0}, {2, 0, 0}}));
  EXPECT_FALSE(IsProgressRunning());
}

TEST_F(FilterEvent, LongOperationIsThrottled) {
  SetProgressTag(7);
  // Every millisecond one step, 3 seconds in all.
  const int Maximum = 3000;
  ASSERT_TRUE(ProgressEvent(ProgressStageBegin, Maximum));
  EXPECT_TRUE(IsProgressRunning());
  std::vector<int64_t> ReportTimes;
  for (int I = 0; I <= Maximum; ++I) {
    Clock.Set(Start + std::chrono::milliseconds(I));
    const size_t Before = Sink.Calls.size();
    ProgressEvent(ProgressStageReport, I);
    if (Sink.Calls.size() != Before) ReportTimes.push_back(I);
  }
  ProgressEvent(ProgressStageEnd, 0);
  ASSERT_GE(Sink.Calls.size(), 4u);
  EXPECT_EQ(Sink.Calls.front(), (TCall{0, 3000, 7}));
  // Elapsed tenths are rounded ties to even: 1.15 s already counts as 12
  // tenths, 0.25 s as 2 (too soon), 0.251 s as 3.
  EXPECT_EQ(ReportTimes, (std::vector<int64_t>{1150, 1401, 1652, 1903, 2154, 2405, 2656, 2907}));
  ASSERT_EQ(Sink.Calls.size(), ReportTimes.size() + 3);
  for (size_t I = 1; I + 2 < Sink.Calls.size(); ++I) {
    const auto [Stage, Value, Tag] = Sink.Calls[I];
    EXPECT_EQ(Stage, 1);
    EXPECT_EQ(Tag, 7);
    // The percent of the step at which the report was made.
    EXPECT_EQ(Value, ReportTimes[I - 1] * 100 / Maximum + (ReportTimes[I - 1] * 100 % Maximum >= 1500 ? 1 : 0));
  }
  EXPECT_EQ(Sink.Calls[Sink.Calls.size() - 2], (TCall{1, 100, 7}));
  EXPECT_EQ(Sink.Calls.back(), (TCall{2, 0, 7}));
}

TEST_F(FilterEvent, OnlyAChangeOfWholePercentIsReported) {
  ProgressEvent(ProgressStageBegin, 1000);
  Clock.AdvanceMs(2000);
  ProgressEvent(ProgressStageReport, 500); // 50 %
  Clock.AdvanceMs(400);
  ProgressEvent(ProgressStageReport, 504); // 50.4 %: still 50
  Clock.AdvanceMs(400);
  ProgressEvent(ProgressStageReport, 506); // 51 %
  EXPECT_EQ(Sink.Calls, (std::vector<TCall>{{0, 1000, 0}, {1, 50, 0}, {1, 51, 0}}));
}

TEST_F(FilterEvent, ReportsWithinTheIntervalAreDropped) {
  ProgressEvent(ProgressStageBegin, 100);
  Clock.AdvanceMs(1300);
  ProgressEvent(ProgressStageReport, 10);
  Clock.AdvanceMs(200);
  ProgressEvent(ProgressStageReport, 20);
  Clock.AdvanceMs(100);
  ProgressEvent(ProgressStageReport, 30);
  EXPECT_EQ(Sink.Calls, (std::vector<TCall>{{0, 100, 0}, {1, 10, 0}, {1, 30, 0}}));
}

TEST_F(FilterEvent, PassesShareOneScale) {
  SetProgressPasses(4);
  SetProgressKeepStart(true);
  for (int Pass = 0; Pass < 2; ++Pass) {
    ProgressEvent(ProgressStageBegin, 10);
    ProgressEvent(ProgressStageEnd, 0);
  }
  EXPECT_EQ(ProgressState().CurrentPass, 2);
  EXPECT_FALSE(IsFirstProgressPass());
  EXPECT_FALSE(IsLastProgressPass());
  ProgressEvent(ProgressStageBegin, 10);
  Clock.AdvanceMs(1500);
  ProgressEvent(ProgressStageReport, 5);
  // Round(2.5 / 4 * 100): 62.5 rounds to even.
  EXPECT_EQ(Sink.Calls.back(), (TCall{1, 62, 0}));
  ProgressEvent(ProgressStageEnd, 0);
  EXPECT_TRUE(IsLastProgressPass());
  ProgressEvent(ProgressStageBegin, 10);
  ProgressEvent(ProgressStageEnd, 0);
  // The last pass stays the last: NextProgressPass does not go beyond it.
  EXPECT_EQ(ProgressState().CurrentPass, 3);
  EXPECT_EQ(Sink.Calls,
            (std::vector<TCall>{{0, 10, 0}, {0, 10, 0}, {0, 10, 0}, {1, 62, 0}, {0, 10, 0}, {1, 100, 0}, {2, 0, 0}}));
}

TEST_F(FilterEvent, EndsBeforeTheLastPassCallNothing) {
  SetProgressPasses(3);
  ProgressEvent(ProgressStageBegin, 100);
  ProgressEvent(ProgressStageEnd, 0);
  ProgressEvent(ProgressStageBegin, 100);
  ProgressEvent(ProgressStageEnd, 0);
  EXPECT_EQ(Sink.Calls, (std::vector<TCall>{{0, 100, 0}, {0, 100, 0}}));
  ProgressEvent(ProgressStageBegin, 100);
  ProgressEvent(ProgressStageEnd, 0);
  // Reporting never began (no time passed): no 100, only the end.
  EXPECT_EQ(Sink.Calls.back(), (TCall{2, 0, 0}));
  EXPECT_EQ(Sink.Calls.size(), 4u);
}

TEST_F(FilterEvent, KeepStartCountsTheDelayFromTheSeriesStart) {
  ProgressEvent(ProgressStageBegin, 100);
  ProgressEvent(ProgressStageEnd, 0);
  Clock.AdvanceMs(5000);
  SetProgressKeepStart(true);
  ProgressEvent(ProgressStageBegin, 100);
  ProgressEvent(ProgressStageReport, 40);
  // The start of the previous operation is kept: the delay is long over.
  EXPECT_EQ(Sink.Calls.back(), (TCall{1, 40, 0}));
  ProgressEvent(ProgressStageEnd, 0);
  SetProgressKeepStart(false);
  ProgressEvent(ProgressStageBegin, 100);
  ProgressEvent(ProgressStageReport, 40);
  EXPECT_EQ(Sink.Calls.back(), (TCall{0, 100, 0}));
}

TEST_F(FilterEvent, PassCountBelowOneIsOne) {
  for (int Count : {0, -2, 1}) {
    SetProgressPasses(5);
    NextProgressPass();
    SetProgressPasses(Count);
    EXPECT_EQ(ProgressState().Passes, 1) << Count;
    EXPECT_EQ(ProgressState().CurrentPass, 0) << Count;
    EXPECT_TRUE(IsFirstProgressPass());
    EXPECT_TRUE(IsLastProgressPass());
  }
}

TEST_F(FilterEvent, ArgumentsAreClamped) {
  for (int Maximum : {0, -5}) {
    ProgressEvent(ProgressStageBegin, Maximum);
    EXPECT_EQ(Sink.Calls.back(), (TCall{0, 100, 0})) << Maximum;
    EXPECT_EQ(ProgressState().Maximum, 100);
    ProgressEvent(ProgressStageEnd, 0);
  }
  ProgressEvent(ProgressStageBegin, 50);
  Clock.AdvanceMs(2000);
  ProgressEvent(ProgressStageReport, -3);
  EXPECT_EQ(Sink.Calls.back(), (TCall{1, 0, 0}));
  Clock.AdvanceMs(400);
  ProgressEvent(ProgressStageReport, 60);
  EXPECT_EQ(Sink.Calls.back(), (TCall{1, 100, 0}));
  // Any stage above 1 ends.
  ProgressEvent(9, 0);
  EXPECT_FALSE(IsProgressRunning());
  EXPECT_EQ(Sink.Calls.back(), (TCall{2, 0, 0}));
}

TEST_F(FilterEvent, SwitchesShortCutEveryCall) {
  struct Case {
    bool Disabled, Cancelled, Answer;
  };
  for (const Case& C : {Case{true, false, true}, Case{false, true, false}, Case{true, true, true}}) {
    ProgressDisabled = C.Disabled;
    ProgressCancelled = C.Cancelled;
    for (uint8_t Stage : {0, 1, 2}) {
      Clock.AdvanceMs(2000);
      EXPECT_EQ(ProgressEvent(Stage, 10), C.Answer) << int(Stage);
    }
    EXPECT_EQ(ProgressBegin(), C.Answer);
    EXPECT_EQ(ProgressEnd(), C.Answer);
    EXPECT_TRUE(Sink.Calls.empty());
    EXPECT_FALSE(IsProgressRunning());
  }
}

TEST_F(FilterEvent, EmptyPassIgnoresTheSwitches) {
  ProgressDisabled = true;
  EXPECT_TRUE(ProgressEmptyPass());
  EXPECT_EQ(Sink.Calls, (std::vector<TCall>{{0, 1, 0}, {2, 0, 0}}));
  Sink.Calls.clear();
  ProgressDisabled = false;
  ProgressCancelled = true;
  EXPECT_FALSE(ProgressEmptyPass());
  EXPECT_EQ(Sink.Calls, (std::vector<TCall>{{0, 1, 0}, {2, 0, 0}}));
}

TEST_F(FilterEvent, EmptyPassKeepsThePassCountRight) {
  SetProgressPasses(2);
  SetProgressKeepStart(true);
  EXPECT_TRUE(ProgressEmptyPass());
  EXPECT_EQ(ProgressState().CurrentPass, 1);
  ProgressEvent(ProgressStageBegin, 10);
  Clock.AdvanceMs(2000);
  ProgressEvent(ProgressStageReport, 0);
  // The second of two passes starts at 50 %.
  EXPECT_EQ(Sink.Calls.back(), (TCall{1, 50, 0}));
}

TEST_F(FilterEvent, MessagesAreHandledOnlyPastTheThrottle) {
  ProgressProcessMessages = true;
  Sink.CancelOnMessages = true;
  ASSERT_TRUE(ProgressEvent(ProgressStageBegin, 100));
  Clock.AdvanceMs(500);
  EXPECT_TRUE(ProgressEvent(ProgressStageReport, 10));
  EXPECT_EQ(Sink.MessageRounds, 0);
  Clock.AdvanceMs(1000);
  // The cancel button was pressed while the messages were handled: the
  // report still goes out, every later call answers false.
  EXPECT_TRUE(ProgressEvent(ProgressStageReport, 20));
  EXPECT_EQ(Sink.MessageRounds, 1);
  EXPECT_EQ(Sink.Calls.back(), (TCall{1, 20, 0}));
  EXPECT_FALSE(ProgressEvent(ProgressStageReport, 30));
  EXPECT_FALSE(ProgressEvent(ProgressStageEnd, 0));
  EXPECT_TRUE(IsProgressRunning());
}

TEST_F(FilterEvent, WithoutSinkNothingIsCalled) {
  SetProgressSink(nullptr);
  ProgressProcessMessages = true;
  EXPECT_TRUE(ProgressEvent(ProgressStageBegin, 100));
  Clock.AdvanceMs(2000);
  EXPECT_TRUE(ProgressEvent(ProgressStageReport, 50));
  EXPECT_TRUE(ProgressEvent(ProgressStageEnd, 0));
  EXPECT_EQ(Sink.MessageRounds, 0);
  EXPECT_TRUE(Sink.Calls.empty());
}

TEST_F(FilterEvent, ElapsedTenthsRoundsToEven) {
  struct Case {
    int Ms, Tenths;
  };
  for (const Case& C : {Case{0, 0}, Case{49, 0}, Case{50, 0}, Case{150, 2}, Case{250, 2}, Case{1149, 11},
                        Case{1151, 12}, Case{-250, -2}}) {
    Clock.Set(Start + std::chrono::milliseconds(C.Ms));
    EXPECT_EQ(ElapsedTenths(Start), C.Tenths) << C.Ms;
  }
}

struct TFakeJpeg {
  TProgressEvent OnProgress;
};

class TFakeZStream : public TZStreamProgressSender {
public:
  TFakeZStream(bool Compression, double Rate) : FCompression(Compression), FRate(Rate) {}
  bool IsCompressionStream() const override { return FCompression; }
  double CompressionRate() const override { return FRate; }
  TZStreamNotifyEvent OnProgress;

private:
  bool FCompression;
  double FRate;
};

TEST_F(FilterEvent, PlatformEventsAreAdapted) {
  TFakeJpeg Jpeg;
  HookJpegProgress(Jpeg);
  ASSERT_TRUE(Jpeg.OnProgress);
  Jpeg.OnProgress(&Jpeg, TProgressStage::psStarting, 0, false, {}, "");
  EXPECT_EQ(Sink.Calls.back(), (TCall{0, 100, 0}));
  Clock.AdvanceMs(1500);
  Jpeg.OnProgress(&Jpeg, TProgressStage::psRunning, 37, false, {}, "");
  EXPECT_EQ(Sink.Calls.back(), (TCall{1, 37, 0}));

  TFakeZStream Deflate(true, 64.9);
  TFakeZStream Inflate(false, 90);
  HookZStreamProgress(Deflate);
  HookZStreamProgress(Inflate);
  Clock.AdvanceMs(400);
  Deflate.OnProgress(Deflate);
  EXPECT_EQ(Sink.Calls.back(), (TCall{1, 64, 0})); // truncated
  Clock.AdvanceMs(400);
  Inflate.OnProgress(Inflate);
  EXPECT_EQ(Sink.Calls.back(), (TCall{1, 50, 0}));
  Jpeg.OnProgress(&Jpeg, TProgressStage::psEnding, 0, false, {}, "");
  EXPECT_EQ(Sink.Calls.back(), (TCall{2, 0, 0}));
}

} // namespace
