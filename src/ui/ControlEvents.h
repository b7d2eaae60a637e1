// The event types of the program's own controls: plain callables a form
// assigns and clears, like the platform's event properties. An event that is
// empty is not called. Depends on nothing but the standard library.
#pragma once

#include <QString>

#include <functional>

class QObject;

// Something happened to Sender (a change, a click, the end of a click).
using TNotifyEvent = std::function<void(QObject* Sender)>;
// An item was picked from a control's drop-down menu; Changed tells whether
// the control's value changed.
using TSelectItemEvent = std::function<void(QObject* Sender, bool Changed)>;
// The text a control is about to show, which the handler may change.
using TDisplayTextEvent = std::function<void(QObject* Sender, QString& Text)>;
