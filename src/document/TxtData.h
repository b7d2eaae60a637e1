// The data of a text layer: the description from which the layer's pixels
// are rendered, and its record inside the layered file. Depends on the layers
// (MyGraphic) and LayerStream; used by the text commands and the file.
#pragma once

#include "document/MyGraphic.h"
#include "platform/Canvas.h"
#include "platform/Colors.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>

// Loads the fill pattern file of a text (the "%lmsdir%" macro already
// expanded): Pattern its pixels (24-bit), PatternMask its mask (left empty
// when it has none). False, without a message, when it does not load. The
// main window sets it once, since the image readers lie above this library;
// unset, text is never filled with a pattern.
extern std::function<bool(const QString& FileName, TBitmap& Pattern, TBitmap& PatternMask)> OnLoadTextPattern;
// Expands "%lmsdir%" in a pattern file name; unset, the name is used as is.
extern std::function<QString(const QString& Path)> OnExpandFolderMacro;

// The rendering (TxtData_Render.cpp) makes the layer's 24-bit bitmap the
// text's bounds (plus the outline, bevel or negative margin) and its mask the
// glyphs' shape; the layer's position is never changed by it.
class TTextData : public TLayerData {
public:
  bool Initialized = false;
  QString TextFont;
  uint16_t TextSize = 0;
  uint16_t FontType = 0; // the font's type flags (raster, device, TrueType)
  TColor TextColor = 0;
  uint16_t TextAlign = 0; // 0 left, 1 centre, 2 right
  int16_t SpacingX = 0;   // letter spacing in per cent
  TFontStyles TextStyle = 0;
  int16_t TextAngle = 0; // degrees, not reduced modulo 360
  int16_t SpacingY = 0;  // line spacing in per cent
  bool AntialiasFont = false;
  bool Border = false;
  int32_t Opacity = 0;
  bool Shadow = false;
  TColor ShadowColor = 0;
  int32_t ShadowDX = 0;
  int32_t ShadowDY = 0;
  int32_t ShadowOpacity = 0;
  int32_t ShadowBlur = 0;
  TLayerShadowStyle ShadowStyle = lstBlur;
  TColor BorderColor = 0;
  int32_t Blur = 0;
  bool Invert = false;
  bool Txt3D = false;
  bool UseBrush = false;
  QString Brush; // pattern file; may hold "%lmsdir%"
  QStringList Lines;
  int32_t Reserved1 = 0;
  int32_t Reserved2 = 0;
  // Size of the last raw rendering; not stored.
  int32_t SaveWidth = 0;
  int32_t SaveHeight = 0;

  // Every field from another TTextData; anything else changes nothing.
  void Assign(const TLayerData& NewData) override;
  // The record: fields in declaration order, strings as stream strings (at
  // most 255 characters), the line count before the lines, no framing.
  void SaveToStream(TStream& Stream) const override;
  void LoadFromStream(TStream& Stream) override;

  // Renders the text when the layer's bitmap is empty: a layer read from a
  // file with its pixels keeps them until something empties it.
  void PrepareBitmaps(TLayerItem& Item) override;
  // The raw text, black on white (white on black with Invert), rotated,
  // bevel-softened and blurred as set; nullptr for a text with no pixels.
  std::unique_ptr<TBitmap> RenderTextMask() const;
  // The layer's bitmap, mask, opacity and shadow made from the data.
  void RenderTextLayer(TLayerItem& Item);
  // Fits the font size so that the rendered layer takes R's size, then
  // renders; nothing when the size found is the present one.
  void ScaleTextLayer(TLayerItem& Item, const TRect& R);
  // Adds Angle (rounded) to the text angle, then renders.
  void RotateTextLayer(TLayerItem& Item, double Angle);

private:
  // The canvas font set to the text's font, size, style, in black.
  void SetupFont(TCanvas& Canvas) const;
  // The width of "M" when the text is drawn rotated, else 3 pixels.
  static int TextMargin(TCanvas& Canvas, bool Rotated);
  // The pattern file named by Brush, when UseBrush is set and it loads.
  bool LoadBrush(TBitmap& Pattern, TBitmap& PatternMask) const;
};
