// DPI helpers: layout values are designed at 96 pixels per inch and scaled to
// the screen resolution the program works at. Depends on nothing.
//
// The resolution is the program's own setting (96 until set, then the
// screen's once FollowScreenResolution runs), never combined
// with Qt's device-pixel-ratio scaling: MakeProcessDPIAware switches that off
// before the application object exists, so one layout pixel is one screen pixel.
#pragma once

// The screen's pixels per inch as the program uses it (default 96).
int ScreenPixelsPerInch();
void SetScreenPixelsPerInch(int Dpi);
// Takes the primary screen's logical resolution now and whenever it or the
// primary screen changes (once the application object exists).
void FollowScreenResolution();

// The screen's vertical pixels per logical inch.
int ScreenLogPixelsY();

// Kind 0: horizontal design resolution (96); 1: vertical design resolution
// (96); 2: ScreenLogPixelsY; any other kind: the screen's pixels per inch.
int ScreenDPI(int Kind);

// Value x pixels per inch / 96, rounded to nearest with halves away from zero;
// Value itself at 96.
int ScaleByDPI(int Value);

// Points x ScreenDPI(Kind) / 72, rounded as ScaleByDPI.
int PointsToPixels(int Points, int Kind);

// Value x Numerator / Denominator in 64 bits, rounded to nearest with halves
// away from zero (the platform's MulDiv); -1 when Denominator is 0.
int MulDiv(int Value, int Numerator, int Denominator);

// Makes the process handle resolution itself: Qt's own high-DPI scaling is
// switched off. Works only before the application object is created; returns
// false when called too late.
bool MakeProcessDPIAware();
