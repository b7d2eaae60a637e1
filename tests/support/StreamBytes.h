// Byte-stream helpers of the tests: what a writer puts into a memory
// stream, and a reader run over given bytes.
#pragma once

#include <QBuffer>
#include <QByteArray>

#include <functional>

inline QByteArray Written(const std::function<void(QIODevice&)>& Write) {
  QBuffer B;
  B.open(QIODevice::WriteOnly);
  Write(B);
  return B.data();
}

template <class F> auto ReadFrom(QByteArray Bytes, F&& Read) {
  QBuffer B(&Bytes);
  B.open(QIODevice::ReadOnly);
  return Read(B);
}
