// A stand-in for the companion programs, answering the main window through
// its channel as a real one would. It does what LUMA_COMPANION_MODE says:
//   invert  asks for the layer, sends it back with its colours inverted
//   image   sends a new 4 x 3 image named "scan.png" at 300 dots per inch
//   layer   sends a new 3 x 2 layer with transparency named "Courbe"
//   silent  ends without a word
// and writes its command line and the colours it was sent to
// LUMA_COMPANION_LOG.
#include "extensions/CompanionChannel.h"
#include "extensions/XDataImage.h"

#include <QCoreApplication>
#include <QFile>

namespace {

QByteArray Block(uint8_t Alpha, int W, int H, const QByteArray& Extra) {
  QByteArray B;
  B.append(char(0)).append(char(Alpha));
  B.append(char(W)).append(char(W >> 8)).append(char(H)).append(char(H >> 8));
  for (int I = 0; I < W * H * (Alpha == 1 ? 4 : 3); ++I) B.append(char(I * 13));
  return B + Extra;
}

QByteArray Text(const char* S) {
  const QByteArray T(S);
  return QByteArray(1, char(T.size())) + QByteArray(1, 0) + T;
}

} // namespace

int main(int Argc, char** Argv) {
  QCoreApplication App(Argc, Argv);
  QFile Log(qEnvironmentVariable("LUMA_COMPANION_LOG"));
  if (!Log.open(QIODevice::WriteOnly | QIODevice::Append)) return 2;
  Log.write(App.arguments().mid(1).join(' ').toUtf8() + '\n');
  Log.flush();
  const QByteArray Mode = qgetenv("LUMA_COMPANION_MODE");
  if (Mode == "silent") return 0;
  int64_t Handle = 0;
  for (const QString& A : App.arguments())
    if (A.startsWith("-hwnd=")) Handle = A.mid(6).toLongLong();
  auto* Socket = new QLocalSocket;
  Socket->connectToServer(CompanionSocketName(Handle));
  if (!Socket->waitForConnected(30000)) return 3;
  TCompanionLink Link(Socket);
  const int Wait = 60000;

  if (Mode == "invert") {
    QByteArray Layer;
    Link.OnMessage = [&](TCompanionFrame& F) -> int64_t {
      if (F.Message != CompanionCopyData || F.Kind != 0) return 0;
      Layer = F.Data;
      const TXDataImage View(reinterpret_cast<const uint8_t*>(Layer.constData()), Layer.size());
      QStringList Colours;
      for (int I = 0; I < View.ExtraSize(); ++I) Colours << QString::number(View.ExtraPtr()[I]);
      Log.write("colours " + Colours.join(' ').toUtf8() + '\n');
      return 1;
    };
    if (Link.Send({CompanionRequestLayer, 0, 0, {}}, Wait).value_or(0) != 1) return 4;
    const TXDataImage View(reinterpret_cast<const uint8_t*>(Layer.constData()), Layer.size());
    const int Bytes = View.HasAlpha() ? 4 : 3;
    QByteArray Inverted = Layer.left(XDataPixelBlockSize(View.Width(), View.Height(), View.HasAlpha()));
    for (qsizetype I = XDataHeaderSize; I < Inverted.size(); ++I)
      if ((I - XDataHeaderSize) % Bytes < 3) Inverted[I] = char(255 - uint8_t(Inverted[I]));
    Link.Send({CompanionCopyData, 0, 0, Inverted}, Wait);
  } else if (Mode == "image") {
    QByteArray Extra = Text("scan.png");
    const int32_t Dpi = 30000;
    Extra.append(reinterpret_cast<const char*>(&Dpi), 4);
    Link.Send({CompanionCopyData, 0, 1, Block(0, 4, 3, Extra)}, Wait);
  } else if (Mode == "layer") {
    Link.Send({CompanionCopyData, 0, 2, Block(1, 3, 2, Text("Courbe"))}, Wait);
  }
  Link.Send({CompanionEnded, 0, 0, {}}, Wait);
  return 0;
}
