// Caps Lock as the window system reports it. Qt offers no query for it, but
// every key event carries the window system's modifier state, whose Lock bit
// (X11 LockMask, the XKB "Lock" modifier under Wayland) is Caps Lock; so the
// state is read from the key events the application receives. A platform
// whose events carry no native state (offscreen) answers off. Depends on
// QtGui only.
#pragma once

// Watches the application's key events from now on, ahead of every
// application event filter installed so far (a filter that takes a key
// would hide it otherwise): call it again after installing one. Needs the
// application object.
void WatchCapsLock();
// Caps Lock was on at the latest key event (off before any).
bool CapsLockActive();
