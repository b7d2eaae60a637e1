#include "files/FreeMetadata.h"

#include "files/FreeImageProvider.h"
#include "platform/Rounding.h"
#include "platform/Win1252.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// The denominator of every rational the program writes.
constexpr uint32_t RationalDenominator = 100;
// Date and time with the final NUL, as EXIF stores them.
constexpr size_t ExifDateSize = 20;

TExifClock CurrentClock = nullptr;

// ---- Byte order -------------------------------------------------------------

void StoreUInt(uint8_t* At, uint64_t Value, int Size, bool BigEndian) {
  for (int I = 0; I < Size; ++I) At[BigEndian ? Size - 1 - I : I] = uint8_t(Value >> (8 * I));
}

uint64_t LoadUInt(const uint8_t* At, int Size, bool BigEndian) {
  uint64_t Value = 0;
  for (int I = 0; I < Size; ++I) Value |= uint64_t(At[BigEndian ? Size - 1 - I : I]) << (8 * I);
  return Value;
}

// Size of one element of a tag type, for swapping a value's byte order.
int ElementSize(int Format) {
  switch (Format) {
  case fdtShort:
  case fdtSShort:
    return 2;
  case fdtLong:
  case fdtSLong:
  case fdtRational: // numerator and denominator are two elements
  case fdtSRational:
  case fdtFloat:
  case fdtIfd:
    return 4;
  case fdtDouble:
    return 8;
  default:
    return 1;
  }
}

TFreeTagData LittleEndian(uint64_t Value, int Size) {
  TFreeTagData Data(size_t(Size), 0);
  StoreUInt(Data.data(), Value, Size, false);
  return Data;
}

// The current date as stored: 19 characters and the NUL.
TFreeTagData ExifDateBytes() {
  const std::string Date = ExifDateTimeNow();
  TFreeTagData Bytes(Date.begin(), Date.begin() + std::min(Date.size(), ExifDateSize - 1));
  Bytes.resize(ExifDateSize, 0);
  return Bytes;
}

TFreeTagData RationalBytes(float Value) {
  const TRational R = FloatToRational(Value);
  TFreeTagData Data = LittleEndian(R.Numerator, 4);
  const TFreeTagData Den = LittleEndian(R.Denominator, 4);
  Data.insert(Data.end(), Den.begin(), Den.end());
  return Data;
}

uint32_t NonNegative(int Value) { return Value < 0 ? 0u : uint32_t(Value); }

// ---- Reading a raw block ------------------------------------------------------

// The TIFF part of a raw block (from byte 6, where its offsets count from),
// every read checked against the end.
class TTiffView {
public:
  TTiffView(const uint8_t* Data, uint64_t Size, bool BigEndian) : FData(Data), FSize(Size), FBigEndian(BigEndian) {}
  bool Holds(uint64_t Offset, uint64_t Length) const { return Offset <= FSize && Length <= FSize - Offset; }
  bool Read(uint64_t Offset, int Size, uint32_t& Value) const {
    if (!Holds(Offset, uint64_t(Size))) return false;
    Value = uint32_t(LoadUInt(FData + Offset, Size, FBigEndian));
    return true;
  }

private:
  const uint8_t* FData;
  uint64_t FSize;
  bool FBigEndian;
};

// The TIFF header (byte order, 42, first IFD offset) is 8 bytes; no value
// may lie inside it.
constexpr uint64_t TiffHeaderSize = 8;
// "Exif", two zero bytes, then the TIFF header.
constexpr uint64_t RawBlockMinSize = 6 + TiffHeaderSize;

struct TIfdEntry {
  uint16_t Tag;
  uint16_t Type;
  uint32_t Count;
  uint32_t Value; // the value field read as a LONG: an offset for long values
  uint64_t Field; // where the value field lies
};

// The entries of the IFD at Offset; false when the IFD reaches past the end.
bool ReadIfd(const TTiffView& View, uint32_t Offset, std::vector<TIfdEntry>& Entries) {
  uint32_t N = 0;
  if (Offset < TiffHeaderSize || !View.Read(Offset, 2, N) || !View.Holds(uint64_t(Offset) + 2, uint64_t(N) * 12))
    return false;
  Entries.clear();
  for (uint32_t I = 0; I < N; ++I) {
    const uint64_t At = uint64_t(Offset) + 2 + uint64_t(I) * 12;
    uint32_t Tag = 0, Type = 0, Count = 0, Value = 0;
    View.Read(At, 2, Tag);
    View.Read(At + 2, 2, Type);
    View.Read(At + 4, 4, Count);
    View.Read(At + 8, 4, Value);
    Entries.push_back({uint16_t(Tag), uint16_t(Type), Count, Value, At + 8});
  }
  return true;
}

// The writes of one patch, gathered while the block is read and made only
// when the whole walk succeeded, so that a bad block stays as it was.
class TPatchList {
public:
  explicit TPatchList(bool BigEndian) : FBigEndian(BigEndian) {}
  void UInt(uint64_t Offset, uint64_t Value, int Size) {
    TFreeTagData Bytes(size_t(Size), 0);
    StoreUInt(Bytes.data(), Value, Size, FBigEndian);
    FWrites.push_back({Offset, std::move(Bytes)});
  }
  void Bytes(uint64_t Offset, TFreeTagData Bytes) { FWrites.push_back({Offset, std::move(Bytes)}); }
  void ApplyTo(uint8_t* Tiff) const {
    for (const auto& [Offset, Bytes] : FWrites) std::memcpy(Tiff + Offset, Bytes.data(), Bytes.size());
  }

private:
  bool FBigEndian;
  std::vector<std::pair<uint64_t, TFreeTagData>> FWrites;
};

// A single SHORT or LONG held in its entry, written by the entry's own type;
// a SHORT that cannot hold Value becomes a LONG. Other entries are passed over.
void PatchInlineInteger(const TIfdEntry& E, uint32_t Value, TPatchList& Patches) {
  if (E.Count != 1) return;
  if (E.Type == fdtShort && Value <= 0xFFFF) {
    Patches.UInt(E.Field, Value, 2);
  } else if (E.Type == fdtLong) {
    Patches.UInt(E.Field, Value, 4);
  } else if (E.Type == fdtShort) {
    Patches.UInt(E.Field - 6, fdtLong, 2); // the entry's type field
    Patches.UInt(E.Field, Value, 4);
  }
}

// A value stored at an offset: false when it lies in the header or past the end.
bool ValueInBlock(const TTiffView& View, const TIfdEntry& E, uint64_t Length) {
  return E.Value >= TiffHeaderSize && View.Holds(E.Value, Length);
}

// ---- Building a raw block ----------------------------------------------------

// A tag's value in the block's byte order.
TFreeTagData BlockValue(const TFreeTag& Tag, bool BigEndian) {
  TFreeTagData Bytes = Tag.Data;
  const size_t Size = size_t(ElementSize(Tag.Format));
  if (BigEndian && Size > 1)
    for (size_t At = 0; At + Size <= Bytes.size(); At += Size)
      std::reverse(Bytes.begin() + At, Bytes.begin() + At + Size);
  return Bytes;
}

uint32_t IfdSize(const TMetadata& Tags) {
  uint32_t Data = 0;
  for (int I = 0; I < Tags.Length(); ++I)
    if (Tags[I].Data.size() > 4) Data += uint32_t(Tags[I].Data.size());
  return 2 + 12 * uint32_t(Tags.Length()) + 4 + Data;
}

// Writes one IFD at Start (a TIFF offset), its longer values in its data
// area right after the next-IFD offset, in entry order without gaps.
void WriteIfd(TFreeTagData& Block, uint32_t Start, const TMetadata& Tags, bool BigEndian) {
  uint8_t* Tiff = Block.data() + 6;
  const uint32_t N = uint32_t(Tags.Length());
  StoreUInt(Tiff + Start, N, 2, BigEndian);
  uint32_t Data = Start + 2 + 12 * N + 4;
  for (uint32_t I = 0; I < N; ++I) {
    const TFreeTag& Tag = Tags[int(I)];
    uint8_t* Entry = Tiff + Start + 2 + 12 * I;
    StoreUInt(Entry, Tag.Id, 2, BigEndian);
    StoreUInt(Entry + 2, uint32_t(Tag.Format), 2, BigEndian);
    StoreUInt(Entry + 4, Tag.Count, 4, BigEndian);
    const TFreeTagData Value = BlockValue(Tag, BigEndian);
    if (Value.size() <= 4) {
      std::copy(Value.begin(), Value.end(), Entry + 8);
    } else {
      StoreUInt(Entry + 8, Data, 4, BigEndian);
      std::copy(Value.begin(), Value.end(), Tiff + Data);
      Data += uint32_t(Value.size());
    }
  }
  StoreUInt(Tiff + Start + 2 + 12 * N, 0, 4, BigEndian);
}

// The raw block of an IFD0 and an EXIF IFD; Ifd0 gets the pointer to the
// EXIF IFD appended as its last entry.
TFreeTagData BuildRawExif(TMetadata& Ifd0, const TMetadata& ExifIfd, bool BigEndian) {
  const int Pointer = AddLongTag(Ifd0, fmdExifMain, "", etExifIfdPointer, 0);
  const uint32_t Ifd0Size = IfdSize(Ifd0);
  Ifd0[Pointer].Data = LittleEndian(TiffHeaderSize + Ifd0Size, 4);
  TFreeTagData Block(RawBlockMinSize + Ifd0Size + IfdSize(ExifIfd), 0);
  std::memcpy(Block.data(), "Exif", 4);
  Block[6] = Block[7] = BigEndian ? 'M' : 'I';
  StoreUInt(Block.data() + 8, 42, 2, BigEndian);
  StoreUInt(Block.data() + 10, TiffHeaderSize, 4, BigEndian);
  WriteIfd(Block, TiffHeaderSize, Ifd0, BigEndian);
  WriteIfd(Block, TiffHeaderSize + Ifd0Size, ExifIfd, BigEndian);
  return Block;
}

void AddDefaultMainTags(TMetadata& List, const std::string& Date, double ResX, double ResY) {
  if (!ExifMake.empty()) AddAsciiTag(List, fmdExifMain, "", etMake, ExifMake);
  if (!ExifModel.empty()) AddAsciiTag(List, fmdExifMain, "", etModel, ExifModel);
  AddAsciiTag(List, fmdExifMain, "", etDateTime, Date);
  AddShortTag(List, fmdExifMain, "", etOrientation, 1);
  AddShortTag(List, fmdExifMain, "", etResolutionUnit, 2);
  AddRationalTag(List, fmdExifMain, "", etXResolution, float(ResX));
  AddRationalTag(List, fmdExifMain, "", etYResolution, float(ResY));
  if (!ExifSoftware.empty()) AddAsciiTag(List, fmdExifMain, "", etSoftware, ExifSoftware);
}

void AddDefaultExifTags(TMetadata& List, int Width, int Height) {
  AddLongTag(List, fmdExifExif, "", etPixelXDimension, NonNegative(Width));
  AddLongTag(List, fmdExifExif, "", etPixelYDimension, NonNegative(Height));
  AddUndefinedTag(List, fmdExifExif, "", etExifVersion, "0220");
}

// ---- Plain display text --------------------------------------------------------

bool Printable(const TFreeTagData& Data) {
  size_t End = Data.size();
  while (End > 0 && Data[End - 1] == 0) --End;
  if (End == 0) return false;
  for (size_t I = 0; I < End; ++I)
    if (Data[I] < 0x20 || Data[I] > 0x7E) return false;
  return true;
}

std::string NumberText(const TFreeTag& Tag, size_t At) {
  const uint8_t* P = Tag.Data.data() + At;
  const auto U = [P](int Offset, int Size) { return LoadUInt(P + Offset, Size, false); };
  switch (Tag.Format) {
  case fdtSByte:
    return std::to_string(int8_t(U(0, 1)));
  case fdtShort:
    return std::to_string(U(0, 2));
  case fdtSShort:
    return std::to_string(int16_t(U(0, 2)));
  case fdtSLong:
    return std::to_string(int32_t(U(0, 4)));
  case fdtRational:
    return std::to_string(U(0, 4)) + "/" + std::to_string(U(4, 4));
  case fdtSRational:
    return std::to_string(int32_t(U(0, 4))) + "/" + std::to_string(int32_t(U(4, 4)));
  case fdtFloat: {
    float F;
    std::memcpy(&F, P, 4);
    return QString::number(double(F)).toStdString();
  }
  case fdtDouble: {
    double D;
    std::memcpy(&D, P, 8);
    return QString::number(D).toStdString();
  }
  case fdtLong:
  case fdtIfd:
    return std::to_string(U(0, 4));
  default:
    return std::to_string(U(0, 1));
  }
}

} // namespace

// ---- The list --------------------------------------------------------------------

bool HasMetadata(const TMetadata& List) { return !List.Empty(); }
bool HasModel(const TMetadata& List, int Model) { return FirstTagOfModel(List, Model) >= 0; }

bool HasExifMetadata(const TMetadata& List) {
  for (int I = 0; I < List.Length(); ++I)
    if (List[I].Model >= fmdExifMain && List[I].Model <= fmdExifInterop) return true;
  return false;
}

bool HasIptcMetadata(const TMetadata& List) { return HasModel(List, fmdIptc); }

int FirstTagOfModel(const TMetadata& List, int Model) {
  for (int I = 0; I < List.Length(); ++I)
    if (List[I].Model == Model) return I;
  return -1;
}

bool ModelRange(const TMetadata& List, int Model, int& First, int& Last) {
  First = FirstTagOfModel(List, Model);
  if (First < 0) return false;
  Last = First;
  while (Last + 1 < List.Length() && List[Last + 1].Model == Model) ++Last;
  return true;
}

int FindTag(const TMetadata& List, int Model, uint16_t Id) {
  int First = 0, Last = 0;
  if (!ModelRange(List, Model, First, Last)) return -1;
  for (int I = First; I <= Last; ++I)
    if (List[I].Id == Id) return I;
  return -1;
}

int MetadataSupport(int Fif, int Model) {
  constexpr int R = 1, RW = 3;
  switch (Model) {
  case fmdComments:
    return (Fif == fifJpeg || Fif == fifPng || Fif == fifGif) ? RW : 0;
  case fmdExifMain:
    return (Fif == fifTiff || Fif == fifJxr) ? RW : (Fif == fifJpeg || Fif == fifRaw || Fif == fifWebp) ? R : 0;
  case fmdExifExif:
    return Fif == fifJxr ? RW : (Fif == fifJpeg || Fif == fifTiff || Fif == fifRaw || Fif == fifWebp) ? R : 0;
  case fmdExifGps:
    return Fif == fifJxr ? RW : (Fif == fifJpeg || Fif == fifRaw || Fif == fifWebp) ? R : 0;
  case fmdExifMakerNote:
  case fmdExifInterop:
    return (Fif == fifJpeg || Fif == fifRaw || Fif == fifWebp || Fif == fifJxr) ? R : 0;
  case fmdIptc:
    return (Fif == fifJpeg || Fif == fifTiff || Fif == fifJxr) ? RW : 0;
  case fmdExifRaw:
    return (Fif == fifJpeg || Fif == fifWebp) ? RW : Fif == fifRaw ? R : 0;
  default:
    return 0;
  }
}

bool CanReadModel(int Fif, int Model) { return (MetadataSupport(Fif, Model) & 1) != 0; }
bool CanWriteModel(int Fif, int Model) { return (MetadataSupport(Fif, Model) & 2) != 0; }

int ExifResolutionUnit(const TMetadata& List) {
  const int I = FindTag(List, fmdExifMain, etResolutionUnit);
  return I < 0 || List[I].Data.empty() ? 2 : List[I].Data[0];
}

double ExifRationalValue(const TMetadata& List, uint16_t Id) {
  const int I = FindTag(List, fmdExifMain, Id);
  if (I < 0 || List[I].Data.size() < 8) return 0;
  const uint8_t* P = List[I].Data.data();
  return RationalToFloat({uint32_t(LoadUInt(P, 4, false)), uint32_t(LoadUInt(P + 4, 4, false))});
}

void GetExifResolution(const TMetadata& List, double& X, double& Y) {
  X = ExifRationalValue(List, etXResolution);
  Y = ExifRationalValue(List, etYResolution);
  if (ExifResolutionUnit(List) == 3) {
    X *= 2.54;
    Y *= 2.54;
  }
}

// ---- Text ----------------------------------------------------------------------------

std::string TagDataToText(const TFreeTagData& Data) {
  size_t Size = Data.size();
  if (Size > 0 && Data[Size - 1] == 0) --Size;
  return std::string(reinterpret_cast<const char*>(Data.data()), Size);
}

std::string GetMetadataComment(const TMetadata& List) {
  const int I = FirstTagOfModel(List, fmdComments);
  return I < 0 ? std::string() : TagDataToText(List[I].Data);
}

void SetMetadataComment(TMetadata& List, std::string_view Text) {
  int I = FirstTagOfModel(List, fmdComments);
  if (I < 0) I = AddTag(List, fmdComments, fdtAscii, "Comment", 0, 0);
  TFreeTag& Tag = List[I];
  Tag.Data.assign(Text.begin(), Text.end());
  Tag.Data.push_back(0);
  Tag.Count = uint32_t(Tag.Data.size());
}

std::string PlainTagText(const TFreeTag& Tag) {
  if (Tag.Format == fdtAscii) return TagDataToText(Tag.Data);
  if (Tag.Format == fdtUndefined || Tag.Format == fdtByte) {
    if (Printable(Tag.Data)) return TagDataToText(Tag.Data);
    // A long opaque block says only its size.
    if (Tag.Data.size() > 8) return std::string("(").append(std::to_string(Tag.Data.size())).append(" bytes)");
  }
  const size_t Size = Tag.Format == fdtRational || Tag.Format == fdtSRational ? 8 : size_t(ElementSize(Tag.Format));
  std::string Text;
  for (size_t At = 0; At + Size <= Tag.Data.size(); At += Size) {
    if (!Text.empty()) Text += ' ';
    Text += NumberText(Tag, At);
  }
  return Text;
}

bool MetadataModelToStrings(const TMetadata& List, int Model, QStringList* Strings, bool IncludeEmpty) {
  int First = 0, Last = 0;
  if (!Strings || !ModelRange(List, Model, First, Last)) return false;
  const TFreeImageProvider* Provider = FreeImageProvider();
  for (int I = First; I <= Last; ++I) {
    const TFreeTag& Tag = List[I];
    const QString Text = (Provider ? Provider->TagToString(Model, Tag) : FromWin1252(PlainTagText(Tag))).trimmed();
    if (IncludeEmpty || !Text.isEmpty()) Strings->append(FromWin1252(Tag.Key) + QLatin1Char('=') + Text);
  }
  return true;
}

// ---- Adding and changing ------------------------------------------------------------------

std::string_view DefaultTagKey(uint16_t Id) {
  switch (Id) {
  case etMake:
    return "Make";
  case etModel:
    return "Model";
  case etOrientation:
    return "Orientation";
  case etXResolution:
    return "XResolution";
  case etYResolution:
    return "YResolution";
  case etResolutionUnit:
    return "ResolutionUnit";
  case etSoftware:
    return "Software";
  case etDateTime:
    return "DateTime";
  case etExifVersion:
    return "ExifVersion";
  case etPixelXDimension:
    return "PixelXDimension";
  case etPixelYDimension:
    return "PixelYDimension";
  default:
    return "";
  }
}

int AddTag(TMetadata& List, int Model, int Format, std::string_view Key, uint16_t Id, int Size) {
  TFreeTag Tag;
  Tag.Model = Model;
  Tag.Key = std::string(Key.empty() ? DefaultTagKey(Id) : Key);
  Tag.Id = Id;
  Tag.Format = Format;
  const size_t Bytes = Size < 0 ? 0 : size_t(Size);
  Tag.Count = (Format == fdtAscii || Format == fdtUndefined) ? uint32_t(Bytes) : 1;
  Tag.Data.assign(Bytes, 0);
  return List.Append(std::move(Tag));
}

int AddAsciiTag(TMetadata& List, int Model, std::string_view Key, uint16_t Id, std::string_view Text) {
  const int I = AddTag(List, Model, fdtAscii, Key, Id, int(Text.size()) + 1);
  std::copy(Text.begin(), Text.end(), List[I].Data.begin());
  return I;
}

int AddShortTag(TMetadata& List, int Model, std::string_view Key, uint16_t Id, uint16_t Value) {
  const int I = AddTag(List, Model, fdtShort, Key, Id, 2);
  List[I].Data = LittleEndian(Value, 2);
  return I;
}

int AddLongTag(TMetadata& List, int Model, std::string_view Key, uint16_t Id, uint32_t Value) {
  const int I = AddTag(List, Model, fdtLong, Key, Id, 4);
  List[I].Data = LittleEndian(Value, 4);
  return I;
}

int AddRationalTag(TMetadata& List, int Model, std::string_view Key, uint16_t Id, float Value) {
  const int I = AddTag(List, Model, fdtRational, Key, Id, 8);
  List[I].Data = RationalBytes(Value);
  return I;
}

int AddUndefinedTag(TMetadata& List, int Model, std::string_view Key, uint16_t Id, std::string_view Bytes) {
  const int I = AddTag(List, Model, fdtUndefined, Key, Id, int(Bytes.size()));
  std::copy(Bytes.begin(), Bytes.end(), List[I].Data.begin());
  return I;
}

void SetIntegerData(TFreeTagData& Data, uint32_t Value) {
  if (Data.size() == 2) {
    StoreUInt(Data.data(), Value, 2, false);
    return;
  }
  if (Data.size() < 4) Data.resize(4);
  StoreUInt(Data.data(), Value, 4, false);
}

void SetRationalData(TFreeTagData& Data, float Value) {
  if (Data.size() < 8) Data.resize(8);
  const TFreeTagData Bytes = RationalBytes(Value);
  std::copy(Bytes.begin(), Bytes.end(), Data.begin());
}

TRational FloatToRational(float X) {
  const double V = X;
  if (!std::isfinite(V)) return {V > 0 ? UINT32_MAX : 0u, 1};
  const auto Clamp = [](int64_t N) { return uint32_t(std::clamp<int64_t>(N, 0, UINT32_MAX)); };
  const int64_t R = Round64(V);
  if (std::fabs(V - double(R)) < 1.0 / RationalDenominator) return {Clamp(R), 1};
  return {Clamp(Round64(V * RationalDenominator)), RationalDenominator};
}

double RationalToFloat(TRational R) { return R.Denominator == 0 ? 0 : double(R.Numerator) / R.Denominator; }

void SetExifClock(TExifClock Clock) { CurrentClock = Clock; }

std::string ExifDateTimeNow() {
  const QDateTime Now = CurrentClock ? CurrentClock() : QDateTime::currentDateTime();
  return Now.toString(QStringLiteral("yyyy:MM:dd hh:mm:ss")).toStdString();
}

void TouchExifDateTime(TMetadata& List) {
  const int I = FindTag(List, fmdExifMain, etDateTime);
  if (I < 0) return;
  TFreeTag& Tag = List[I];
  Tag.Data = ExifDateBytes();
  Tag.Format = fdtAscii;
  Tag.Count = ExifDateSize;
}

void SetExifResolution(TMetadata& List, double X, double Y) {
  const int Unit = FindTag(List, fmdExifMain, etResolutionUnit);
  if (Unit >= 0 && !List[Unit].Data.empty()) List[Unit].Data[0] = 2;
  const int XTag = FindTag(List, fmdExifMain, etXResolution);
  if (XTag >= 0) SetRationalData(List[XTag].Data, float(X));
  const int YTag = FindTag(List, fmdExifMain, etYResolution);
  if (YTag >= 0) SetRationalData(List[YTag].Data, float(Y));
}

void SetExifPixelSize(TMetadata& List, int Width, int Height) {
  for (const auto& [Id, Value] : {std::pair{etPixelXDimension, Width}, std::pair{etPixelYDimension, Height}}) {
    const int I = FindTag(List, fmdExifExif, Id);
    if (I < 0) continue;
    TFreeTag& Tag = List[I];
    const uint32_t V = NonNegative(Value);
    if (Tag.Data.size() == 2 && V > 0xFFFF) {
      Tag.Data.resize(4);
      Tag.Format = fdtLong;
    }
    SetIntegerData(Tag.Data, V);
  }
}

void AdjustMetadata(TMetadata& List, int Model, int Width, int Height, double ResX, double ResY) {
  switch (Model) {
  case fmdExifMain:
    TouchExifDateTime(List);
    SetExifResolution(List, ResX, ResY);
    break;
  case fmdExifExif:
    SetExifPixelSize(List, Width, Height);
    break;
  case fmdExifRaw:
    if (const int I = FirstTagOfModel(List, fmdExifRaw); I >= 0) PatchRawExif(List[I].Data, Width, Height, ResX, ResY);
    break;
  default:
    break;
  }
}

void AddDefaultExif(TMetadata& List, int Width, int Height, double ResX, double ResY) {
  const std::string Date = ExifDateTimeNow();
  if (!HasModel(List, fmdExifMain)) AddDefaultMainTags(List, Date, ResX, ResY);
  if (!HasModel(List, fmdExifExif)) AddDefaultExifTags(List, Width, Height);
  if (!HasModel(List, fmdExifRaw)) {
    TMetadata Ifd0, ExifIfd;
    AddDefaultMainTags(Ifd0, Date, ResX, ResY);
    AddDefaultExifTags(ExifIfd, Width, Height);
    const int I = AddTag(List, fmdExifRaw, fdtByte, "ExifRaw", 0, 0);
    List[I].Data = BuildRawExif(Ifd0, ExifIfd, true);
    List[I].Count = uint32_t(List[I].Data.size());
  }
}

bool PatchRawExif(TFreeTagData& Block, int Width, int Height, double ResX, double ResY) {
  if (Block.size() < RawBlockMinSize || std::memcmp(Block.data(), "Exif\0\0", 6) != 0) return false;
  const bool BigEndian = Block[6] == 'M';
  if (Block[7] != Block[6] || (Block[6] != 'M' && Block[6] != 'I')) return false;
  const TTiffView View(Block.data() + 6, Block.size() - 6, BigEndian);
  uint32_t Magic = 0, Ifd0 = 0;
  View.Read(2, 2, Magic);
  View.Read(4, 4, Ifd0);
  std::vector<TIfdEntry> Entries;
  if (Magic != 42 || !ReadIfd(View, Ifd0, Entries)) return false;

  TPatchList Patches(BigEndian);
  bool HasExifIfd = false;
  uint32_t ExifIfd = 0;
  for (const TIfdEntry& E : Entries) {
    switch (E.Tag) {
    case etOrientation:
      PatchInlineInteger(E, 1, Patches);
      break;
    case etResolutionUnit:
      PatchInlineInteger(E, 2, Patches);
      break;
    case etXResolution:
    case etYResolution:
      if (E.Type != fdtRational || E.Count == 0) break;
      if (!ValueInBlock(View, E, uint64_t(E.Count) * 8)) return false;
      {
        const TRational R = FloatToRational(float(E.Tag == etXResolution ? ResX : ResY));
        Patches.UInt(E.Value, R.Numerator, 4);
        Patches.UInt(uint64_t(E.Value) + 4, R.Denominator, 4);
      }
      break;
    case etDateTime:
      if (E.Type != fdtAscii || E.Count < ExifDateSize) break;
      if (!ValueInBlock(View, E, E.Count)) return false;
      Patches.Bytes(E.Value, ExifDateBytes());
      break;
    case etExifIfdPointer:
      if ((E.Type == fdtLong || E.Type == fdtIfd) && E.Count == 1) {
        HasExifIfd = true;
        ExifIfd = E.Value;
      }
      break;
    default:
      break;
    }
  }
  if (HasExifIfd) {
    if (!ReadIfd(View, ExifIfd, Entries)) return false;
    for (const TIfdEntry& E : Entries) {
      if (E.Tag == etPixelXDimension) PatchInlineInteger(E, NonNegative(Width), Patches);
      if (E.Tag == etPixelYDimension) PatchInlineInteger(E, NonNegative(Height), Patches);
    }
  }
  Patches.ApplyTo(Block.data() + 6);
  return true;
}
