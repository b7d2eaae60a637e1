#include "extensions/CompanionChannel.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <atomic>

namespace {

void Put(QByteArray& B, uint64_t V, int Bytes) {
  for (int I = 0; I < Bytes; ++I) B.append(char(uint8_t(V >> (8 * I))));
}

uint64_t Get(const QByteArray& B, int At, int Bytes) {
  uint64_t V = 0;
  for (int I = 0; I < Bytes; ++I) V |= uint64_t(uint8_t(B[At + I])) << (8 * I);
  return V;
}

} // namespace

QByteArray EncodeCompanionFrame(const TCompanionFrame& Frame) {
  QByteArray B;
  B.reserve(CompanionFrameHeader + Frame.Data.size());
  Put(B, Frame.Message, 4);
  Put(B, uint64_t(Frame.Param), 8);
  Put(B, uint64_t(Frame.Kind), 8);
  Put(B, uint64_t(Frame.Data.size()), 4);
  B.append(Frame.Data);
  return B;
}

std::optional<TCompanionFrame> TakeCompanionFrame(QByteArray& Buffer, bool& Malformed) {
  Malformed = false;
  if (Buffer.size() < CompanionFrameHeader) return std::nullopt;
  const int64_t Length = int64_t(Get(Buffer, 20, 4));
  if (Length > CompanionMaxData) {
    Malformed = true;
    return std::nullopt;
  }
  if (Buffer.size() - CompanionFrameHeader < Length) return std::nullopt;
  TCompanionFrame F;
  F.Message = uint32_t(Get(Buffer, 0, 4));
  F.Param = int64_t(Get(Buffer, 4, 8));
  F.Kind = int64_t(Get(Buffer, 12, 8));
  F.Data = Buffer.mid(CompanionFrameHeader, Length);
  Buffer.remove(0, CompanionFrameHeader + Length);
  return F;
}

QString CompanionSocketName(int64_t Handle) {
  const QString Name = QStringLiteral("/lumaretique-window-") + QString::number(Handle);
  // A socket's path holds at most 107 bytes: a deep runtime folder gives way
  // to the temporary folder.
  const QString Runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  if (!Runtime.isEmpty() && QFile::encodeName(Runtime + Name).size() < 100) return Runtime + Name;
  return QDir::tempPath() + Name;
}

// ---- TCompanionLink -------------------------------------------------------------

TCompanionLink::TCompanionLink(QLocalSocket* Socket, QObject* Parent) : QObject(Parent), FSocket(Socket) {
  Socket->setParent(this);
  connect(Socket, &QLocalSocket::readyRead, this, [this] { ReadAvailable(); });
}

void TCompanionLink::Write(const TCompanionFrame& Frame) {
  FSocket->write(EncodeCompanionFrame(Frame));
  FSocket->flush();
}

void TCompanionLink::Answer(TCompanionFrame& Frame) {
  const int64_t Result = OnMessage ? OnMessage(Frame) : 0;
  if (FSocket->state() == QLocalSocket::ConnectedState) Write({CompanionAnswer, Result, 0, {}});
}

std::optional<TCompanionFrame> TCompanionLink::Next(int TimeoutMs) {
  const QDeadlineTimer Deadline(TimeoutMs);
  for (;;) {
    bool Malformed = false;
    if (auto Frame = TakeCompanionFrame(FBuffer, Malformed)) return Frame;
    if (Malformed) {
      FSocket->abort();
      return std::nullopt;
    }
    if (FSocket->bytesAvailable() == 0 &&
        (FSocket->state() != QLocalSocket::ConnectedState || !FSocket->waitForReadyRead(int(Deadline.remainingTime()))))
      return std::nullopt;
    FBuffer += FSocket->readAll();
  }
}

std::optional<int64_t> TCompanionLink::Send(const TCompanionFrame& Frame, int TimeoutMs) {
  if (FSocket->state() != QLocalSocket::ConnectedState) return std::nullopt;
  Write(Frame);
  const bool Outer = !FInSend;
  FInSend = true;
  std::optional<int64_t> Result;
  const QDeadlineTimer Deadline(TimeoutMs);
  while (auto Reply = Next(int(Deadline.remainingTime()))) {
    if (Reply->Message == CompanionAnswer) {
      Result = Reply->Param;
      break;
    }
    Answer(*Reply);
  }
  if (Outer) {
    FInSend = false;
    // Frames that came behind the answer are handled as if they came now.
    if (!FBuffer.isEmpty())
      QMetaObject::invokeMethod(
          this, [this] { ReadAvailable(); }, Qt::QueuedConnection);
  }
  return Result;
}

void TCompanionLink::ReadAvailable() {
  if (FInSend) return; // Send reads for itself
  FBuffer += FSocket->readAll();
  for (;;) {
    bool Malformed = false;
    std::optional<TCompanionFrame> Frame = TakeCompanionFrame(FBuffer, Malformed);
    if (Malformed) FSocket->abort();
    if (!Frame) return;
    // An answer nobody waits for is dropped.
    if (Frame->Message != CompanionAnswer) Answer(*Frame);
  }
}

// ---- TCompanionServer -----------------------------------------------------------

TCompanionServer::TCompanionServer(QObject* Parent) : QObject(Parent) {
  // The process and a serial number: unique among the windows of this user.
  static std::atomic<int> Serial{0};
  FHandle = (int64_t(QCoreApplication::applicationPid()) << 16) | (++Serial & 0xFFFF);
  const QString Name = CompanionSocketName(FHandle);
  QLocalServer::removeServer(Name);
  FServer.setSocketOptions(QLocalServer::UserAccessOption);
  FServer.listen(Name);
  connect(&FServer, &QLocalServer::newConnection, this, [this] {
    while (QLocalSocket* Socket = FServer.nextPendingConnection()) {
      auto* Link = new TCompanionLink(Socket, this);
      Link->OnMessage = [this, Link](TCompanionFrame& Frame) { return OnMessage ? OnMessage(Frame, *Link) : 0; };
      connect(Socket, &QLocalSocket::disconnected, Link, &QObject::deleteLater);
    }
  });
}
