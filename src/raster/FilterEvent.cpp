#include "raster/FilterEvent.h"

#include "platform/Rounding.h"

#include <chrono>

bool ProgressDisabled = false;
bool ProgressProcessMessages = false;
bool ProgressCancelled = false;
int ProgressMinInterval = 3;
int ProgressInitialDelay = 12;

namespace {

TProgressState State;
TProgressSink* Sink = nullptr;

void DoProgressBegin(int Maximum) {
  if (Maximum > 0) State.Maximum = Maximum;
  if (Sink) Sink->ProgressCallback(ProgressStageBegin, State.Maximum, State.Tag);
  if (State.CurrentPass == 0) {
    if (!State.KeepStart) State.StartTime = MonoNow();
    State.LastTime = State.StartTime;
    State.DelayPending = true;
    State.LastPercent = -1;
  }
  State.Running = true;
}

void DoProgressStep(double Fraction) {
  if (State.DelayPending && ProgressInitialDelay > 0) {
    if (ElapsedTenths(State.StartTime) < ProgressInitialDelay) return;
    State.DelayPending = false;
  }
  if (ProgressMinInterval > 0) {
    if (ElapsedTenths(State.LastTime) < ProgressMinInterval) return;
    State.LastTime = MonoNow();
  }
  if (ProgressProcessMessages && ProgressMinInterval > 0 && Sink) {
    Sink->HandlePendingMessages();
    State.LastTime = MonoNow();
  }
  if (!Sink) return;
  const int Percent = Round((Fraction + State.CurrentPass) / State.Passes * 100.0);
  if (Percent == State.LastPercent) return;
  State.LastPercent = Percent;
  Sink->ProgressCallback(ProgressStageReport, Percent, State.Tag);
}

void DoProgressEnd() {
  State.Running = false;
  if (IsLastProgressPass() && Sink) {
    if (!State.DelayPending) Sink->ProgressCallback(ProgressStageReport, 100, State.Tag);
    Sink->ProgressCallback(ProgressStageEnd, 0, State.Tag);
  }
  NextProgressPass();
}

} // namespace

void SetProgressSink(TProgressSink* NewSink) { Sink = NewSink; }
TProgressSink* ProgressSink() { return Sink; }
const TProgressState& ProgressState() { return State; }

bool ProgressEvent(uint8_t Stage, int Value) {
  if (ProgressDisabled) return true;
  if (ProgressCancelled) return false;
  switch (Stage) {
  case ProgressStageBegin:
    DoProgressBegin(Value > 0 ? Value : 100);
    break;
  case ProgressStageReport: {
    const int V = Value < 0 ? 0 : (Value > State.Maximum ? State.Maximum : Value);
    DoProgressStep(static_cast<double>(V) / State.Maximum);
    break;
  }
  default:
    DoProgressEnd();
    break;
  }
  return true;
}

bool ProgressBegin() { return ProgressEvent(ProgressStageBegin, 100); }
bool ProgressEnd() { return ProgressEvent(ProgressStageEnd, 0); }

void SetProgressPasses(int Count) {
  State.Passes = Count < 1 ? 1 : Count;
  State.CurrentPass = 0;
}

void SetProgressKeepStart(bool Keep) { State.KeepStart = Keep; }
void SetProgressTag(int Tag) { State.Tag = Tag; }
bool IsFirstProgressPass() { return State.CurrentPass == 0; }
bool IsLastProgressPass() { return State.CurrentPass == State.Passes - 1; }

void NextProgressPass() {
  if (State.CurrentPass < State.Passes - 1) ++State.CurrentPass;
}

bool IsProgressRunning() { return State.Running; }

bool ProgressEmptyPass() {
  const bool WasCancelled = ProgressCancelled;
  DoProgressBegin(1);
  DoProgressStep(0.5);
  DoProgressEnd();
  return !WasCancelled;
}

int ElapsedTenths(TMonoTime T) {
  const std::chrono::duration<double> Seconds = MonoNow() - T;
  return Round(Seconds.count() * 10.0);
}

void TFilterGraphicProgress::GraphicProgress(void*, TProgressStage Stage, uint8_t PercentDone, bool, const TRect&,
                                             const std::string&) {
  switch (Stage) {
  case TProgressStage::psStarting:
    ProgressEvent(ProgressStageBegin, 100);
    break;
  case TProgressStage::psRunning:
    ProgressEvent(ProgressStageReport, PercentDone);
    break;
  case TProgressStage::psEnding:
    ProgressEvent(ProgressStageEnd, 0);
    break;
  }
}

void TFilterGraphicProgress::ZStreamProgress(const TZStreamProgressSender& Sender) {
  if (Sender.IsCompressionStream())
    ProgressEvent(ProgressStageReport, Trunc(Sender.CompressionRate()));
  else
    ProgressEvent(ProgressStageReport, 50);
}

TFilterGraphicProgress& FilterGraphicProgress() {
  static TFilterGraphicProgress Adapter;
  return Adapter;
}

TProgressEvent GraphicProgressEvent() {
  return [](void* Sender, TProgressStage Stage, uint8_t PercentDone, bool RedrawNow, const TRect& R,
            const std::string& Msg) {
    FilterGraphicProgress().GraphicProgress(Sender, Stage, PercentDone, RedrawNow, R, Msg);
  };
}

TZStreamNotifyEvent ZStreamProgressEvent() {
  return [](const TZStreamProgressSender& Sender) { FilterGraphicProgress().ZStreamProgress(Sender); };
}
