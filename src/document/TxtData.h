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

// The rendering (PrepareBitmaps) belongs to the text rendering unit, which
// derives from or completes this class.
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
};
