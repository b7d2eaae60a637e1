// The rules of the full-screen view and slide show that need no window:
// the information line, its text colour, the zoom that fits an image on the
// screen and the whole-second clocks of the slide and of the idle cursor.
#pragma once

#include "platform/Colors.h"

#include <QDateTime>
#include <QString>

// "name (W x H, Z%)": every "&" of the file name doubled (the bar shows "&"
// as a mnemonic otherwise), the zoom in whole percent.
QString FullScreenInfoText(const QString& FileName, int Width, int Height, double Zoom);

// White on a dark background, black on a light one.
TColor FullScreenInfoTextColor(TColor Background);

// The zoom that fits the image into the screen: reduced to fit, never
// enlarged.
double FullScreenZoom(double FitZoom);

// Whole seconds from Start to Now (0 before Start).
int WholeSecondsSince(const QDateTime& Start, const QDateTime& Now);

// The slide has lasted its delay; the cursor has been still long enough to
// hide it (2 s).
bool SlideDelayElapsed(const QDateTime& SlideStart, const QDateTime& Now, int DelaySeconds);
bool CursorIdle(const QDateTime& CursorShown, const QDateTime& Now);
