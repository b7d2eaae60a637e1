// The toolbar and menu images: the program's own glyphs, drawn with
// QPainter at any size, and their disabled look. Depends on the style
// colours of ui/ and QtGui; used by the main window's toolbars and menus and
// by the dialogs' glyph buttons.
//
// How to add a glyph: add a value to TGlyph before GlyphCount and a case in
// DrawGlyph (ToolbarImages.cpp) that draws it in a 24 x 24 box.
#pragma once

#include "platform/Colors.h"

#include <QIcon>
#include <QImage>

enum class TGlyph : int {
  New,
  Open,
  Save,
  SaveAs,
  Print,
  Scan,
  Undo,
  Redo,
  Copy,
  PasteSel,
  PasteImg,
  ModeRGB,
  ModeIndex,
  Transparent,
  Resize,
  CanvasSize,
  Selection,
  Text,
  Path,
  Explore,
  Batch,
  Params,
  LumMinus,
  LumPlus,
  CtrMinus,
  CtrPlus,
  GamMinus,
  GamPlus,
  ColMinus,
  ColPlus,
  Histogram,
  Adjust,
  WhiteBalance,
  AutoLevels,
  AutoContrast,
  Grey,
  Sepia,
  OldPhoto,
  Dust,
  Soften,
  Blur,
  Relief,
  Sharpen,
  Reinforce,
  Variation,
  Gradient,
  LumaMask,
  FlipVert,
  FlipHorz,
  Rotate90a,
  Rotate90h,
  ZoomIn,
  ZoomOut,
  Zoom100,
  ZoomAuto,
  FullScreen,
  // Editing a path or a curve: modify, add, delete a vertex, curved or
  // straight segments, back to the start.
  PathMove,
  PathAdd,
  PathDelete,
  PathBezier,
  PathLine,
  PathReset,
  // Text alignment: lines flush left, centred, flush right.
  AlignLeft,
  AlignCenter,
  AlignRight,
  GlyphCount
};

// The glyph on a transparent Size x Size image.
QImage GlyphImage(TGlyph Glyph, int Size);

// The disabled look: each opaque pixel becomes its grey level g = (B + G + R)
// div 3, lightened to g + (255 - g) x LightenPercent div 100, then moved
// TintPercent % towards TintColor; alpha is kept. Percents are capped at
// 100; TintPercent <= 0 leaves the grey as it is.
QImage DisabledImage(const QImage& Image, TColor TintColor, int TintPercent, int LightenPercent);

// An icon with the normal and the disabled image at Size, the disabled one
// tinted towards the main window's panel colour as the toolbars want.
QIcon ToolbarIcon(TGlyph Glyph, int Size);
