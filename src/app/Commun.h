// Free helpers that the main window's commands share: caption styles, the
// default save formats with the save-name and format-loss rules, the text of
// the document information box and the captions shown for layers. Depends on
// the layered image model (document), the format capabilities (files) and
// the strings (i18n); no widgets, so tests call them directly.
#pragma once

#include "i18n/LibLang.h"

#include <QDateTime>
#include <QString>

#include <cstdint>
#include <optional>

class TMyImageLayered;

// The caption cleaned (first "&", trailing "..." and ":" cut, trimmed), its
// first letter upper-cased when it is an ASCII lower-case letter, then styled:
// Kind 0 " text ", 1 "text...", 2 "text :", 3 "- text", other kinds as is.
// An empty cleaned caption gives "" for every kind.
QString FormatCaption(const QString& Caption, int Kind);

// ---- Default save formats: 0 ".png", 1 ".jpg", 2 ".bmp", 3 ".lmi", 4 ".tif"
// and 5 ".webp" (the last two only while the FreeImage library is loaded).
inline constexpr int SaveFormatCount = 6;
QString SaveFormatExt(int Index);         // '' outside 0..5
QString SaveFormatDescription(int Index); // '' outside 0..5
QString SaveFormatItemText(int Index);    // description + " (" + extension + ")"
bool IsSaveFormatAvailable(int Index);

// What the save rules read of the image.
struct TSaveImageFacts {
  int LayerCount = 1;
  bool RGBA = false;           // ModeRGBA(true): background mask, hidden or translucent background
  bool BkgTransparent = false; // the background bitmap has a transparent colour
};
// The background's mask is not empty; with CheckBkgVisible also when the
// background is hidden or its opacity is below 100. False without layers.
bool ModeRGBA(const TMyImageLayered& Image, bool CheckBkgVisible);
TSaveImageFacts SaveImageFacts(const TMyImageLayered& Image);

// The name File > Save proposes: a name without folder goes into SaveDir;
// then the default format's extension when SaveFormatIndex names an
// available one; else ".lmi" for several layers; else ".png" when the name's
// format would lose the image's alpha, transparent colour or cannot be
// written (".lmi" included); otherwise the name is kept.
void DefaultSaveName(QString& FileName, const TSaveImageFacts& Facts, int SaveFormatIndex, const QString& SaveDir);

// The question to ask before saving the image into FileName's format (its
// layers, transparent colour or alpha would be lost), or none when nothing is
// lost.
std::optional<TrId> FormatLossQuestion(const QString& FileName, const TSaveImageFacts& Facts);

// What the document information box shows.
struct TDocumentInfoFacts {
  QString FileName;          // the window's file name (a title for an unsaved image)
  bool FromFile = false;     // the window's image comes from a file
  int Width = 0, Height = 0; // the background's size
  int64_t Memory = 0;        // bytes of every layer's bitmap and mask
  int64_t HistoryMemory = 0; // bytes of the undo list
  int Colors = 0;            // distinct colours of the merged image
  double ResolutionX = 0;    // dots per inch; 0 when the file gave none
  int PrintUnit = 0;         // 0 centimetres, 1 inches
  QDateTime Now;             // the date shown for an unsaved image
};
// The resolution used when the image has none, as the view does.
inline constexpr double DefaultResolution = 96.0;
QString DocumentInfoText(const TDocumentInfoFacts& Facts);

// The caption shown for a stored layer caption: "#0" is the background's
// name, "#n" (up to three digits read) "Calque n", anything else as is.
QString LayerDisplayName(const QString& S);
