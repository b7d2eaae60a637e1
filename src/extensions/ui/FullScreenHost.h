// What the full-screen view needs of the main window.
#pragma once

#include "platform/Colors.h"

#include <QString>

class TMyImageLayered;

// The four steps through the image files of the active image's folder.
enum class TNavigation { Next, Previous, First, Last };

class TFullScreenHost {
public:
  virtual ~TFullScreenHost() = default;
  // The active window's image (nullptr without one), its file name, whether
  // it was read from a file and whether it changed since.
  virtual TMyImageLayered* ActiveImage() = 0;
  virtual QString ActiveFileName() const = 0;
  virtual bool ActiveFromFile() const = 0;
  virtual bool ActiveModified() const = 0;
  // A step through the folder runs (the view starts no other meanwhile).
  virtual bool Navigating() const = 0;
  // Opens the neighbouring image in the active window, asking to save
  // changes first.
  virtual void Navigate(TNavigation Direction) = 0;
  // Stepping past the last image comes back to the first, and the reverse.
  virtual void SetLoopNavig(bool Loop) = 0;
  // The colour dialog on Color; true when confirmed.
  virtual bool ChooseColor(TColor& Color) = 0;
};
