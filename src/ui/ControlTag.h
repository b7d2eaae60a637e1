// The integer Tag that the program's controls, menu items and toolbar
// buttons carry for their owners' use (a default value, a marker such as
// -771, an item number), and the component a shared popup menu was opened
// from. Both are properties of the QObject, so any Qt object can carry them.
// Depends on QtCore.
#pragma once

#include <QObject>
#include <QVariant>

// 0 until set.
inline int ControlTag(const QObject* Object) { return Object ? Object->property("Tag").toInt() : 0; }
inline void SetControlTag(QObject* Object, int Tag) {
  if (Object) Object->setProperty("Tag", Tag);
}

// The control that opened a popup menu shared by several controls, for the
// menu's own about-to-show handler; nullptr when none did.
inline QObject* PopupComponent(const QObject* Menu) {
  return Menu ? Menu->property("PopupComponent").value<QObject*>() : nullptr;
}
inline void SetPopupComponent(QObject* Menu, QObject* Component) {
  if (Menu) Menu->setProperty("PopupComponent", QVariant::fromValue(Component));
}
