// The colour of a control and its "parent colour" switch, kept in the
// widget's palette (window role) so that children that follow their parent
// see a change at once. Depends on platform colours, QtWidgets.
#pragma once

#include "platform/Colors.h"

class QWidget;

// The colour the control paints its background in.
TColor ControlColor(const QWidget* Control);
// Gives the control a colour of its own (ParentColor becomes false).
void SetControlColor(QWidget* Control, TColor Color);
// True: the control takes its parent's colour, now and after later changes.
bool ControlParentColor(const QWidget* Control);
void SetControlParentColor(QWidget* Control, bool Value);
