// The progress and cancel service: the one process-wide channel through which
// long pixel operations report progress and learn whether to go on. Depends on
// platform (the program clock); the main window plugs in through
// TProgressSink. Interface thread only: nothing here is locked.
//
// The calling order of every long operation: optionally SetProgressPasses(n)
// and SetProgressKeepStart(true) before a series; for each pass
// ProgressEvent(0, Maximum), then ProgressEvent(1, Value) per unit of work,
// stopping as soon as it answers false, then ProgressEvent(2, 0). The
// percentages of several passes run once from 0 to 100 over all of them.
#pragma once

#include "platform/Clock.h"
#include "platform/Types.h"

#include <concepts>
#include <cstdint>
#include <functional>
#include <string>

// Stages of ProgressEvent and of the sink's callback.
constexpr uint8_t ProgressStageBegin = 0;  // Value: the maximum
constexpr uint8_t ProgressStageReport = 1; // Value: a step (ProgressEvent) or a percent (callback)
constexpr uint8_t ProgressStageEnd = 2;    // Value: 0

// What the service needs of the main window: the status-bar display of the
// progress and the handling of pending interface messages.
class TProgressSink {
public:
  virtual ~TProgressSink() = default;
  // Stage 0 with the maximum, 1 with a percentage 0..100, 2 with 0; Tag is
  // the value set by SetProgressTag, passed unchanged.
  virtual void ProgressCallback(uint8_t Stage, int Value, int Tag) = 0;
  // Handles at most the interface messages already waiting and returns at
  // once when there are none: it never waits for one. Only called while
  // ProgressProcessMessages is on. It may set ProgressCancelled (a cancel
  // button) so that the next progress call answers false.
  virtual void HandlePendingMessages() = 0;
};

// The installed sink (not owned), or nullptr: then nothing is reported and
// no message is handled.
void SetProgressSink(TProgressSink* Sink);
TProgressSink* ProgressSink();

// Public switches. The main window clears ProgressDisabled and
// ProgressCancelled after every command.
extern bool ProgressDisabled;        // every call answers true and does nothing
extern bool ProgressProcessMessages; // a step past the throttle handles pending messages
extern bool ProgressCancelled;       // every call answers false and does nothing
// Timing, in tenths of a second.
extern int ProgressMinInterval;  // least time between two reports (3)
extern int ProgressInitialDelay; // nothing is reported this long after the start (12)

// The rest of the service's state, for reading.
struct TProgressState {
  int Passes = 1;      // passes of the current operation, at least 1
  int CurrentPass = 0; // 0-based, never beyond Passes - 1
  int Maximum = 1;     // the maximum of the last begin
  int Tag = 0;
  bool Running = false; // between a begin and its end
  bool KeepStart = false;
  TMonoTime StartTime{}; // when the first pass began
  TMonoTime LastTime{};  // the last report or message handling
  bool DelayPending = false;
  int LastPercent = 0; // -1 after each first-pass begin
};
const TProgressState& ProgressState();

// The central call: false means stop.
bool ProgressEvent(uint8_t Stage, int Value);
bool ProgressBegin(); // ProgressEvent(0, 100)
bool ProgressEnd();   // ProgressEvent(2, 0)
// Values below 1 give one pass; the current pass goes back to 0.
void SetProgressPasses(int Count);
void SetProgressKeepStart(bool Keep);
void SetProgressTag(int Tag);
bool IsFirstProgressPass();
bool IsLastProgressPass();
void NextProgressPass();
bool IsProgressRunning();
// One begin, one step and one end for an item with nothing to process, so
// that the pass count stays right; ignores the switches and answers
// !ProgressCancelled.
bool ProgressEmptyPass();
// Tenths of a second from T to now, rounded ties to even.
int ElapsedTenths(TMonoTime T);

// The platform's progress events, adapted to the service.
enum class TProgressStage : uint8_t { psStarting, psRunning, psEnding };

// The progress event of the picture classes (the JPEG coder).
using TProgressEvent = std::function<void(void* Sender, TProgressStage Stage, uint8_t PercentDone, bool RedrawNow,
                                          const TRect& R, const std::string& Msg)>;

// What the adapter reads of a zlib stream that notifies progress.
class TZStreamProgressSender {
public:
  virtual ~TZStreamProgressSender() = default;
  virtual bool IsCompressionStream() const = 0;
  // Per cent of the size saved so far (compression streams).
  virtual double CompressionRate() const = 0;
};
using TZStreamNotifyEvent = std::function<void(const TZStreamProgressSender& Sender)>;

class TFilterGraphicProgress {
public:
  // psStarting begins (maximum 100), psRunning steps with PercentDone,
  // psEnding ends. The answer is dropped: a JPEG coding cannot be stopped.
  void GraphicProgress(void* Sender, TProgressStage Stage, uint8_t PercentDone, bool RedrawNow, const TRect& R,
                       const std::string& Msg);
  // A compression stream steps with Trunc(its compression rate), any other
  // stream with 50.
  void ZStreamProgress(const TZStreamProgressSender& Sender);
};

// The one shared adapter, and its two methods as events.
TFilterGraphicProgress& FilterGraphicProgress();
TProgressEvent GraphicProgressEvent();
TZStreamNotifyEvent ZStreamProgressEvent();

// Point an image's OnProgress (a TProgressEvent) at the shared adapter.
template <class TImage>
requires std::assignable_from<decltype((std::declval<TImage&>().OnProgress)), TProgressEvent>
void HookJpegProgress(TImage& Image) { Image.OnProgress = GraphicProgressEvent(); }

// Point a zlib stream's OnProgress (a TZStreamNotifyEvent) at the shared adapter.
template <class TStream>
requires std::assignable_from<decltype((std::declval<TStream&>().OnProgress)), TZStreamNotifyEvent>
void HookZStreamProgress(TStream& Stream) { Stream.OnProgress = ZStreamProgressEvent(); }
