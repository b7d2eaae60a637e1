// What the animated GIF dialog needs of the main window: the active image
// and its layers panel, the file name and save folder that the export
// proposes, the busy bracket, menu captions, and where the preview goes and
// how it is opened. The main window implements it; tests use a fake.
#pragma once

#include <QString>

class LayerNavigator;
class TMyImageLayered;

class TGifAnimHost {
public:
  virtual ~TGifAnimHost() = default;
  // The active window's image and its panel (nullptr without one).
  virtual TMyImageLayered* ActiveImage() = 0;
  virtual LayerNavigator* LayerNav() = 0;
  // The active image's file name ('' for a new image), and the folder the
  // save dialogs start in.
  virtual QString ActiveFileName() const = 0;
  virtual QString SaveFolder() const = 0;
  // The cleaned caption of the main menu item of that name.
  virtual QString TitreMenu(const QString& ItemName) const = 0;
  virtual void DebutAction(const QString& Msg, bool ChangerCurseur) = 0;
  virtual void FinAction() = 0;
  // The user's temporary folder, which holds the preview files, and the
  // opening of the preview page in the system's browser.
  virtual QString TempFolder() const = 0;
  virtual bool OpenPage(const QString& FileName) = 0;
};
