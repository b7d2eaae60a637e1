// Small helpers of the interface tests: grabbing a widget's pixels.
#pragma once

#include "platform/Colors.h"

#include <QImage>
#include <QWidget>

// The widget as it paints itself, one image pixel per widget pixel.
inline QImage GrabWidget(QWidget& W) { return W.grab().toImage().convertToFormat(QImage::Format_RGB32); }

inline TColor PixelAt(const QImage& Image, int X, int Y) {
  const QRgb P = Image.pixel(X, Y);
  return RGB(qRed(P), qGreen(P), qBlue(P));
}
