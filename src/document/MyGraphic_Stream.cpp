// The layer records of the layered file: one layer (TLayerItem) and the list
// (TLayerList) with its preview record and its progress passes.
#include "document/LayerStream.h"
#include "document/MyGraphic.h"
#include "document/MyImageLayered.h"
#include "raster/Bitmap24.h"
#include "raster/DataFileError.h"
#include "raster/FilterEvent.h"
#include "raster/ImgUtils24.h"
#include "raster/RectUtils.h"

#include <cstring>

namespace {

// The smallest layer record: an empty caption, no bitmap, mask or data.
constexpr int64_t MinLayerRecord = 4 + 2 + 4 * 4 + 1 + 4 * 4 + 1 + 1 + 1 + 1 + 24 + 32 + 1;

// The rectangle of a layer left once its fully transparent margins go; empty
// when nothing would go (no mask, or a mask wholly transparent or with no
// transparent margin).
TRect OpaqueCropRect(const TLayerItem& L) {
  const TRect R = AutoCropRect(L.Mask(), 0, clWhite);
  return R == BitmapRect(L.Mask()) ? TRect{} : R;
}

// The pass count of a save or load, set back to 1 on every way out.
struct TPassesScope {
  explicit TPassesScope(int Passes) { SetProgressPasses(Passes); }
  ~TPassesScope() { SetProgressPasses(1); }
};

void WriteAdjustInfos(TStream& S, const TAdjustLayerInfos& A) {
  S.WriteInt16(A.Luminosity);
  S.WriteInt16(A.Reserved1);
  S.WriteInt16(A.Contrast);
  S.WriteInt16(A.Reserved2);
  S.WriteInt16(A.Saturation);
  S.WriteInt16(A.Hue);
  S.WriteInt32(0);
  S.WriteDouble(A.Gamma);
}

void ReadAdjustInfos(TStream& S, TAdjustLayerInfos& A) {
  A.Luminosity = S.ReadInt16();
  A.Reserved1 = S.ReadInt16();
  A.Contrast = S.ReadInt16();
  A.Reserved2 = S.ReadInt16();
  A.Saturation = S.ReadInt16();
  A.Hue = S.ReadInt16();
  S.ReadInt32();
  A.Gamma = S.ReadDouble();
}

void WriteShadowInfos(TStream& S, const TLayerShadowInfos& I) {
  const uint8_t Pad[3] = {};
  S.WriteByte(I.DrawShadow ? 1 : 0);
  S.Write(Pad, 3);
  S.WriteInt32(I.Color);
  S.WriteInt32(I.DX);
  S.WriteInt32(I.DY);
  S.WriteInt32(I.Opacity);
  S.WriteInt32(static_cast<int32_t>(I.Blur));
  S.WriteByte(I.Style);
  S.Write(Pad, 3);
  S.WriteInt32(I.Reserved);
}

void ReadShadowInfos(TStream& S, TLayerShadowInfos& I) {
  uint8_t Pad[3];
  I.DrawShadow = S.ReadByte() != 0;
  S.ReadBuffer(Pad, 3);
  I.Color = S.ReadInt32();
  I.DX = S.ReadInt32();
  I.DY = S.ReadInt32();
  I.Opacity = S.ReadInt32();
  I.Blur = static_cast<uint32_t>(S.ReadInt32());
  I.Style = static_cast<TLayerShadowStyle>(S.ReadByte());
  S.ReadBuffer(Pad, 3);
  I.Reserved = S.ReadInt32();
}

bool HasPixels(const TLayerItem& L) { return L.LayerType == ltBitmap || L.LayerType == ltData; }

} // namespace

void TLayerData::SaveToStream(TStream&) const {
  throw EStreamError(QStringLiteral("This layer data cannot be stored"));
}

void TLayerData::LoadFromStream(TStream&) { InvalidDataFile(); }

// ---- TLayerItem ----------------------------------------------------------------------------

void TLayerItem::SaveToStream(TStream& Stream) const { SaveRecord(Stream, FBitmap, FBitmap.Transparent, nullptr); }

void TLayerItem::SaveRecord(TStream& Stream, const TBitmap& Pixels, bool Transparent, const TRect* Crop) const {
  WriteStreamString(Stream, Caption, false);
  Stream.WriteByte(Visible ? 1 : 0);
  Stream.WriteByte(Locked ? 1 : 0);
  Stream.WriteInt32(BlendMode);
  Stream.WriteInt32(FReserved1);
  Stream.WriteInt32(FReserved2);
  Stream.WriteInt32(Tag);
  Stream.WriteByte(LayerType);
  Stream.WriteInt32(Color);
  Stream.WriteInt32(Color2);
  Stream.WriteInt32(Pos.X + (Crop ? Crop->Left : 0));
  Stream.WriteInt32(Pos.Y + (Crop ? Crop->Top : 0));
  Stream.WriteByte(Opacity);
  const bool HasBitmap = HasPixels(*this) && !Pixels.Empty();
  Stream.WriteByte(HasBitmap ? 1 : 0);
  if (HasBitmap)
    WriteLayerBitmap(Pixels, Crop, Transparent, Stream);
  else
    ProgressEmptyPass();
  const bool HasMask = HasPixels(*this) && !FMask.Empty();
  Stream.WriteByte(HasMask ? 1 : 0);
  if (HasMask)
    WriteLayerMask(FMask, Stream, Crop);
  else
    ProgressEmptyPass();
  Stream.WriteByte(0); // the second mask is never stored
  WriteAdjustInfos(Stream, AdjustInfos);
  WriteShadowInfos(Stream, ShadowInfos);
  const bool HasData = LayerType == ltData && FData;
  Stream.WriteByte(HasData ? 1 : 0);
  if (HasData) FData->SaveToStream(Stream);
}

void TLayerItem::LoadFromStream(TStream& Stream, bool ReadPixels) {
  Caption = ReadStreamString(Stream, false);
  Visible = Stream.ReadByte() != 0;
  Locked = Stream.ReadByte() != 0;
  BlendMode = Stream.ReadInt32();
  FReserved1 = Stream.ReadInt32();
  FReserved2 = Stream.ReadInt32();
  Tag = Stream.ReadInt32();
  LayerType = static_cast<TLayerType>(Stream.ReadByte());
  Color = Stream.ReadInt32();
  Color2 = Stream.ReadInt32();
  Pos.X = Stream.ReadInt32();
  Pos.Y = Stream.ReadInt32();
  Opacity = Stream.ReadByte();
  FBitmap.ReleaseImage();
  FMask.ReleaseImage();
  const bool HasBitmap = Stream.ReadByte() != 0;
  if (HasBitmap && ReadPixels)
    ReadLayerBitmap(FBitmap, Stream);
  else if (HasBitmap)
    SkipLayerBitmap(Stream);
  if (!HasBitmap || !ReadPixels) ProgressEmptyPass();
  const bool HasMask = Stream.ReadByte() != 0;
  if (HasMask && ReadPixels)
    // A mask always matches its bitmap.
    ReadLayerMask(FMask, Stream, FBitmap.Width(), FBitmap.Height());
  else if (HasMask)
    SkipLayerMask(Stream);
  if (!HasMask || !ReadPixels) ProgressEmptyPass();
  Stream.ReadByte(); // no data follows the second-mask flag
  FMaskNot.ReleaseImage();
  ReadAdjustInfos(Stream, AdjustInfos);
  ReadShadowInfos(Stream, ShadowInfos);
  if (Stream.ReadByte() != 0) {
    // Data that no object can read would leave the following fields misread.
    if (OnNeedLayerData) OnNeedLayerData(*this);
    if (!FData) InvalidDataFile();
    FData->LoadFromStream(Stream);
  }
}

// ---- TLayerList ------------------------------------------------------------------------------

void TLayerList::SaveToStream(TStream& Stream, const TBitmap* Preview) const {
  const int N = Count();
  Stream.WriteInt32(N);
  TPassesScope Passes(Preview ? 2 * N + 2 : 2 * N);
  if (Preview) {
    // The merged image is stored as it lies, not copied into a layer first.
    TLayerItem P;
    P.LayerType = ltBitmap;
    P.Caption = QStringLiteral("Preview");
    P.Opacity = 100;
    P.SaveRecord(Stream, *Preview, false, nullptr);
  }
  for (int I = 0; I < N; ++I) {
    const TLayerItem& L = *FItems[size_t(I)];
    // A bitmap layer is stored without its transparent margins; only the
    // rectangle that remains is read from it.
    const TRect Crop = AutoCropOnSave && I >= 1 && L.LayerType == ltBitmap ? OpaqueCropRect(L) : TRect{};
    L.SaveRecord(Stream, L.Bitmap(), L.Bitmap().Transparent, Crop.IsEmpty() ? nullptr : &Crop);
  }
}

bool TLayerList::LoadFromStream(TStream& Stream, bool LoadPreview) {
  Clear();
  const int32_t N = Stream.ReadInt32();
  if (N < 1 || N > Stream.Remaining() / MinLayerRecord) InvalidDataFile();
  const bool Preview = LoadPreview && N >= 2;
  TPassesScope Passes(Preview ? 2 * N + 2 : 2 * N);
  if (Preview) {
    // The merged preview is made again from the layers: only passed over.
    TLayerItem Scratch;
    Scratch.LoadFromStream(Stream, false);
  }
  bool Complete = true;
  for (int I = 0; I < N; ++I) {
    auto Item = std::make_unique<TLayerItem>();
    try {
      Item->LoadFromStream(Stream);
    } catch (const EStreamError&) {
      if (Count() == 0) InvalidDataFile();
      Complete = false;
    }
    if (!Complete) break;
    Add(std::move(Item));
  }
  if (!Complete) ShowInvalidDataFileError(Stream.Name());
  if (FImage && Count() > 0) FImage->FLayerIndex = 0;
  return Complete;
}
