// An image view (a 100 x 80 grey picture at zoom 2) and the mouse sent to an
// overlay laid over it, in picture pixels.
#pragma once

#include "document/ui/MyImage.h"
#include "raster/Bitmap24.h"
#include "tools/ui/OverlayControl.h"

#include <QApplication>
#include <QMouseEvent>

#include <gtest/gtest.h>

class OverlayFixture : public ::testing::Test {
protected:
  static constexpr TColor Ground = 0x606060;

  OverlayFixture() {
    View.resize(300, 240);
    NewBitmap24(View.Bitmap(), 100, 80, Ground);
    View.BitmapChanged();
    View.show();
    View.SetZoom(2);
    QApplication::processEvents();
  }
  // The overlay under test, aligned on the view and shown.
  void Attach(TOverlayControl& Overlay) {
    FOverlay = &Overlay;
    Overlay.ReAlign();
    Overlay.show();
  }
  // Picture point to the overlay's client point.
  QPoint At(int X, int Y) const {
    const TPoint P = FOverlay->BmpToClient(TPoint{X, Y});
    return {P.X, P.Y};
  }
  void Send(QEvent::Type Type, QPoint P, Qt::MouseButton Button, Qt::MouseButtons Buttons,
            Qt::KeyboardModifiers Mods = {}) {
    QMouseEvent E(Type, P, FOverlay->mapToGlobal(P), Button, Buttons, Mods);
    QApplication::sendEvent(FOverlay, &E);
  }
  void Click(QPoint P, Qt::KeyboardModifiers Mods = {}) {
    Send(QEvent::MouseButtonPress, P, Qt::LeftButton, Qt::LeftButton, Mods);
    Send(QEvent::MouseButtonRelease, P, Qt::LeftButton, {}, Mods);
  }
  void Press(QPoint P, Qt::KeyboardModifiers Mods = {}) {
    Send(QEvent::MouseButtonPress, P, Qt::LeftButton, Qt::LeftButton, Mods);
  }
  void MoveTo(QPoint P, Qt::KeyboardModifiers Mods = {}) { Send(QEvent::MouseMove, P, Qt::NoButton, Qt::LeftButton, Mods); }
  void Release(QPoint P, Qt::KeyboardModifiers Mods = {}) { Send(QEvent::MouseButtonRelease, P, Qt::LeftButton, {}, Mods); }
  void Drag(QPoint From, QPoint To, Qt::KeyboardModifiers Mods = {}) {
    Press(From, Mods);
    MoveTo((From + To) / 2, Mods);
    MoveTo(To, Mods);
    Release(To, Mods);
  }
  void DoubleClick(QPoint P) {
    Click(P);
    Send(QEvent::MouseButtonDblClick, P, Qt::LeftButton, Qt::LeftButton);
    Send(QEvent::MouseButtonRelease, P, Qt::LeftButton, {});
  }

  TMyImage View;

private:
  TOverlayControl* FOverlay = nullptr;
};
