// What the layered image document asks of the windows above it: the view
// that shows an image. The view widget implements it; batch runs, file
// readers and tests use the model without one (or with a small fake).
// Depends on platform/Types only.
#pragma once

#include "platform/Types.h"

// The view of one layered image. The model calls it after changes that must
// show; every call may come at any time on the interface thread.
class DocumentView {
public:
  virtual ~DocumentView() = default;
  // The whole image must be composited again at the next paint.
  virtual void Invalidate() = 0;
  // The part of the image under R (image coordinates) must be painted again.
  virtual void RepaintBmpRect(const TRect& R) = 0;
  // The cursor may have to change: the current layer changed.
  virtual void RefreshCursor() = 0;
};
