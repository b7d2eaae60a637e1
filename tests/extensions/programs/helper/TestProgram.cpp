// A stand-in for the outside programs the editor runs, doing what a real
// one would with its command line:
//   invert FILE   a filter: the PNG's colours inverted in place, alpha kept
//   grow FILE     a filter whose result has another size (5 x 4, red)
//   broken FILE   a filter that leaves a file no PNG reader takes
//   nothing FILE  a filter that fails without touching the file (exit 1)
//   import IN OUT reads the made-up format "LMTEST w h r g b" and writes a
//                 PNG of that size and colour
//   export IN OUT writes the PNG's size and top-left colour in that format
#include <QColor>
#include <QFile>
#include <QImage>

#include <cstdio>
#include <cstring>

namespace {

bool WriteText(const char* Path, const QByteArray& Text) {
  QFile F(QString::fromLocal8Bit(Path));
  return F.open(QIODevice::WriteOnly) && F.write(Text) == Text.size();
}

int Run(const char* Mode, const char* In, const char* Out) {
  const QString Input = QString::fromLocal8Bit(In);
  if (!std::strcmp(Mode, "invert")) {
    QImage Image(Input);
    if (Image.isNull()) return 2;
    Image.invertPixels(QImage::InvertRgb);
    return Image.save(Input, "PNG") ? 0 : 3;
  }
  if (!std::strcmp(Mode, "grow")) {
    QImage Image(5, 4, QImage::Format_RGB32);
    Image.fill(QColor(255, 0, 0));
    return Image.save(Input, "PNG") ? 0 : 3;
  }
  if (!std::strcmp(Mode, "broken")) return WriteText(In, "\x89PNG\r\n\x1a\nnot really") ? 0 : 3;
  if (!std::strcmp(Mode, "nothing")) return 1;
  if (!Out) return 4;
  if (!std::strcmp(Mode, "import")) {
    QFile F(Input);
    if (!F.open(QIODevice::ReadOnly)) return 2;
    int W = 0, H = 0, R = 0, G = 0, B = 0;
    if (std::sscanf(F.readAll().constData(), "LMTEST %d %d %d %d %d", &W, &H, &R, &G, &B) != 5) return 2;
    QImage Image(W, H, QImage::Format_RGB32);
    Image.fill(QColor(R, G, B));
    return Image.save(QString::fromLocal8Bit(Out), "PNG") ? 0 : 3;
  }
  if (!std::strcmp(Mode, "export")) {
    const QImage Image(Input);
    if (Image.isNull()) return 2;
    const QColor C = Image.pixelColor(0, 0);
    return WriteText(Out, QStringLiteral("LMTEST %1 %2 %3 %4 %5")
                              .arg(Image.width())
                              .arg(Image.height())
                              .arg(C.red())
                              .arg(C.green())
                              .arg(C.blue())
                              .toLatin1())
               ? 0
               : 3;
  }
  return 4;
}

} // namespace

int main(int Argc, char** Argv) {
  if (Argc < 3) return 4;
  return Run(Argv[1], Argv[2], Argc > 3 ? Argv[3] : nullptr);
}
