#include "document/TxtData.h"

#include "document/LayerStream.h"

void TTextData::Assign(const TLayerData& NewData) {
  const auto* D = dynamic_cast<const TTextData*>(&NewData);
  if (!D || D == this) return;
  Initialized = D->Initialized;
  TextFont = D->TextFont;
  TextSize = D->TextSize;
  FontType = D->FontType;
  TextColor = D->TextColor;
  TextAlign = D->TextAlign;
  SpacingX = D->SpacingX;
  TextStyle = D->TextStyle;
  TextAngle = D->TextAngle;
  SpacingY = D->SpacingY;
  AntialiasFont = D->AntialiasFont;
  Border = D->Border;
  Opacity = D->Opacity;
  Shadow = D->Shadow;
  ShadowColor = D->ShadowColor;
  ShadowDX = D->ShadowDX;
  ShadowDY = D->ShadowDY;
  ShadowOpacity = D->ShadowOpacity;
  ShadowBlur = D->ShadowBlur;
  ShadowStyle = D->ShadowStyle;
  BorderColor = D->BorderColor;
  Blur = D->Blur;
  Invert = D->Invert;
  Txt3D = D->Txt3D;
  UseBrush = D->UseBrush;
  Brush = D->Brush;
  Lines = D->Lines;
  Reserved1 = D->Reserved1;
  Reserved2 = D->Reserved2;
  SaveWidth = D->SaveWidth;
  SaveHeight = D->SaveHeight;
}

void TTextData::SaveToStream(TStream& Stream) const {
  Stream.WriteByte(Initialized ? 1 : 0);
  WriteStreamString(Stream, TextFont, false);
  Stream.WriteInt16(static_cast<int16_t>(TextSize));
  Stream.WriteInt16(static_cast<int16_t>(FontType));
  Stream.WriteInt32(TextColor);
  Stream.WriteInt16(static_cast<int16_t>(TextAlign));
  Stream.WriteInt16(SpacingX);
  Stream.WriteByte(TextStyle);
  Stream.WriteInt16(TextAngle);
  Stream.WriteInt16(SpacingY);
  Stream.WriteByte(AntialiasFont ? 1 : 0);
  Stream.WriteByte(Border ? 1 : 0);
  Stream.WriteInt32(Opacity);
  Stream.WriteByte(Shadow ? 1 : 0);
  Stream.WriteInt32(ShadowColor);
  Stream.WriteInt32(ShadowDX);
  Stream.WriteInt32(ShadowDY);
  Stream.WriteInt32(ShadowOpacity);
  Stream.WriteInt32(ShadowBlur);
  Stream.WriteByte(ShadowStyle);
  Stream.WriteInt32(BorderColor);
  Stream.WriteInt32(Blur);
  Stream.WriteByte(Invert ? 1 : 0);
  Stream.WriteByte(Txt3D ? 1 : 0);
  Stream.WriteByte(UseBrush ? 1 : 0);
  WriteStreamString(Stream, Brush, false);
  Stream.WriteInt32(static_cast<int32_t>(Lines.size()));
  for (const QString& L : Lines) WriteStreamString(Stream, L, false);
  Stream.WriteInt32(Reserved1);
  Stream.WriteInt32(Reserved2);
}

void TTextData::LoadFromStream(TStream& Stream) {
  Initialized = Stream.ReadByte() != 0;
  TextFont = ReadStreamString(Stream, false);
  TextSize = static_cast<uint16_t>(Stream.ReadInt16());
  FontType = static_cast<uint16_t>(Stream.ReadInt16());
  TextColor = Stream.ReadInt32();
  TextAlign = static_cast<uint16_t>(Stream.ReadInt16());
  SpacingX = Stream.ReadInt16();
  TextStyle = Stream.ReadByte();
  TextAngle = Stream.ReadInt16();
  SpacingY = Stream.ReadInt16();
  AntialiasFont = Stream.ReadByte() != 0;
  Border = Stream.ReadByte() != 0;
  Opacity = Stream.ReadInt32();
  Shadow = Stream.ReadByte() != 0;
  ShadowColor = Stream.ReadInt32();
  ShadowDX = Stream.ReadInt32();
  ShadowDY = Stream.ReadInt32();
  ShadowOpacity = Stream.ReadInt32();
  ShadowBlur = Stream.ReadInt32();
  ShadowStyle = static_cast<TLayerShadowStyle>(Stream.ReadByte());
  BorderColor = Stream.ReadInt32();
  Blur = Stream.ReadInt32();
  Invert = Stream.ReadByte() != 0;
  Txt3D = Stream.ReadByte() != 0;
  UseBrush = Stream.ReadByte() != 0;
  Brush = ReadStreamString(Stream, false);
  Lines.clear();
  const int32_t N = Stream.ReadInt32();
  // Each line takes at least its 4-byte length.
  if (N > Stream.Remaining() / 4) InvalidDataFile();
  for (int32_t I = 0; I < N; ++I) Lines.append(ReadStreamString(Stream, false));
  Reserved1 = Stream.ReadInt32();
  Reserved2 = Stream.ReadInt32();
}
