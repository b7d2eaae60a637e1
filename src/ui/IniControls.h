// The control classes whose values the dialogs keep in their settings file,
// each with the text it is written as and how that text is restored.
// Depends on the program's own controls of ui/ and QtWidgets.
//
// The built-in classes, tried in this order (the first that matches wins):
// track bar (QSlider), TSpinEdit2, TFloatSpinEdit, edit boxes (QLineEdit;
// QPlainTextEdit and QTextEdit only when a dialog admits them), TSpecialEdit,
// check box, radio button, TRadioGroup, TColorEdit, TDirectionEdit, combo
// box, and, only when a dialog admits them, page controls (QTabWidget) and
// speed buttons (QToolButton).
//
// How to add a class (a control of the program not listed above): call
// RegisterIniControlClass once before the first dialog of that class is
// shown, e.g. from the control's constructor through a function-local static.
// A class is tried before every class it derives from.
#pragma once

#include <QString>

#include <cstdint>
#include <functional>

class QMetaObject;
class QWidget;

enum TIniOption : uint8_t {
  ioPosition = 1,         // save and restore the form position
  ioValue = 2,            // control values and custom values
  ioState = 4,            // each control's visible and enabled state too
  ioVisible = 8,          // only visible controls take part
  ioEnabled = 16,         // only enabled controls take part
  ioNoEvent = 32,         // restore without firing change or click events
  ioNoTrackBarEvent = 64, // restore track bars without their change event
};
using TIniOptions = uint8_t; // a set of TIniOption bits

struct TIniControlClass {
  // The class (descendants included) this row is for.
  const QMetaObject* Class = nullptr;
  // Taking part unless the dialog vetoes it; otherwise only when the dialog
  // admits it (AcceptIniControl).
  bool AcceptedByDefault = true;
  // The text the control's value is written as.
  std::function<QString(QWidget* Control)> Write;
  // Restores a value read from the file (never the missing-key mark);
  // Options tell whether events stay detached. A value that does not fit
  // (an index out of range) leaves the control as it is.
  std::function<void(QWidget* Control, const QString& Value, TIniOptions Options)> Restore;
};

// Adds a class, or replaces the row of the same class.
void RegisterIniControlClass(const TIniControlClass& Row);
// The row of the first class the control belongs to, or nullptr.
const TIniControlClass* FindIniControlClass(const QWidget* Control);
