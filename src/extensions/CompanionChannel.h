// The channel through which companion programs answer the main window, the
// counterpart here of window messages between two programs: a local socket
// that the main window listens on, named from the number the companions
// receive as their window handle ("-hwnd=N"). Depends on QtNetwork; used by
// the main window's companion commands and by the test companions.
//
// Every message travels as one frame (little-endian): UInt32 message id,
// Int64 parameter, Int64 data kind, UInt32 length, then that many bytes.
// Each frame but an answer is answered by exactly one answer frame
// (message 0, the result as its parameter), as a sent window message
// returns its result; a side waiting for its answer handles the messages
// that come first (the editor answers a request for the layer by sending
// the layer before it answers the request).
//
// Messages: CompanionCopyData (0x004A) carries an image block (XDataImage.h)
// of data kind 0 (replaces the work rectangle), 1 (a new image) or 2 (a new
// layer); CompanionEnded (0x0514) tells that the program has ended;
// CompanionRequestLayer (0x0515) asks the editor to send the current layer.
#pragma once

#include <QByteArray>
#include <QLocalServer>
#include <QLocalSocket>
#include <QString>

#include <cstdint>
#include <functional>
#include <optional>

inline constexpr uint32_t CompanionAnswer = 0;
inline constexpr uint32_t CompanionCopyData = 0x004A;
inline constexpr uint32_t CompanionEnded = 0x0514;
inline constexpr uint32_t CompanionRequestLayer = 0x0515;
inline constexpr int CompanionFrameHeader = 24;
// The largest frame accepted: a block of 2^28 pixels with alpha, and room
// for its extras. A longer one closes the connection.
inline constexpr int64_t CompanionMaxData = (int64_t(1) << 30) + 6 + 65536;

struct TCompanionFrame {
  uint32_t Message = 0;
  int64_t Param = 0;
  int64_t Kind = 0;
  QByteArray Data;
};

QByteArray EncodeCompanionFrame(const TCompanionFrame& Frame);
// Takes one whole frame off the front of Buffer. Nothing when it is not all
// there yet; Malformed set when its length is beyond the limit.
std::optional<TCompanionFrame> TakeCompanionFrame(QByteArray& Buffer, bool& Malformed);

// The socket name of the window with that handle: in the user's runtime
// folder (the temporary folder when that is missing or too deep for a
// socket's path), "lumaretique-window-" and the number.
QString CompanionSocketName(int64_t Handle);

// One connection, either side: frames written, and read as they come or
// waited for.
class TCompanionLink : public QObject {
public:
  // Takes the socket (made its parent).
  explicit TCompanionLink(QLocalSocket* Socket, QObject* Parent = nullptr);
  QLocalSocket* Socket() const { return FSocket; }
  // Sends a message and waits (up to TimeoutMs) for its answer, handling
  // with OnMessage the messages that come first. Nothing when the link
  // failed or the time ran out.
  std::optional<int64_t> Send(const TCompanionFrame& Frame, int TimeoutMs);
  // Called for each message that arrives outside Send; returns the result
  // that answers it.
  std::function<int64_t(TCompanionFrame&)> OnMessage;

private:
  void Write(const TCompanionFrame& Frame);
  // The next whole frame, read from the socket as far as needed.
  std::optional<TCompanionFrame> Next(int TimeoutMs);
  void Answer(TCompanionFrame& Frame);
  void ReadAvailable();

  QLocalSocket* FSocket;
  QByteArray FBuffer;
  bool FInSend = false;
};

// The main window's side: listens under the name of its handle and keeps
// one link per companion connected.
class TCompanionServer : public QObject {
public:
  explicit TCompanionServer(QObject* Parent);
  // The number the companions get as their window handle.
  int64_t Handle() const { return FHandle; }
  bool Listening() const { return FServer.isListening(); }
  // For each message of any companion: the message and the link it came
  // by (to send back on); returns the answer's result.
  std::function<int64_t(TCompanionFrame&, TCompanionLink&)> OnMessage;

private:
  int64_t FHandle;
  QLocalServer FServer;
};
