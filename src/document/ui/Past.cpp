#include "document/ui/Past.h"

#include "document/MyImageLayered.h"
#include "files/ReadLimits.h"
#include "i18n/Format.h"
#include "i18n/LibLang.h"
#include "raster/Bitmap24.h"
#include "raster/ColorUtils.h"
#include "raster/FoncUtils.h"
#include "raster/GreyMasks.h"
#include "raster/ImgUtils.h"
#include "raster/ImgUtils24.h"
#include "raster/LayerPaint.h"
#include "raster/RectUtils.h"
#include "raster/Transparency.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QImageReader>
#include <QMimeData>

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

namespace {

// The clipboard content this process puts there: the copy's image. Finding
// it again in the clipboard means no other program has replaced it.
class TOwnClipboardMime : public QMimeData {};

// The system clipboard, or nullptr in a process without a graphical
// application (batch runs), where nothing is copied or pasted.
QClipboard* SystemClipboard() {
  return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) ? QGuiApplication::clipboard() : nullptr;
}

const QMimeData* ClipboardContent() {
  QClipboard* Clip = SystemClipboard();
  return Clip ? Clip->mimeData() : nullptr;
}

// Decoding needs Qt's allocation too; an image beyond Qt's own limit (in
// megabytes, 0 for none) is as impossible to paste as one beyond ours.
bool DecodableSize(const QSize& S) {
  if (!PixelCountFits(S.width(), S.height())) return false;
  const int64_t Limit = int64_t(QImageReader::allocationLimit()) << 20;
  return Limit <= 0 || int64_t(S.width()) * S.height() * 4 <= Limit;
}

const char* const MetafileTypes[] = {"image/x-emf", "image/emf", "image/x-wmf", "image/wmf"};

QString MimeBase(const QString& Format) { return Format.section(QLatin1Char(';'), 0, 0).trimmed().toLower(); }

bool IsMetafileType(const QString& Format) {
  const QString Base = MimeBase(Format);
  for (const char* T : MetafileTypes)
    if (Base == QLatin1String(T)) return true;
  return false;
}

bool IsImageType(const QString& Format) {
  return MimeBase(Format).startsWith(QLatin1String("image/")) && !IsMetafileType(Format);
}

// Bmp becomes a 24-bit copy of Image's colours (any alpha left out).
void BitmapFromImage(const QImage& Image, TBitmap& Bmp) {
  const QImage I = Image.convertToFormat(QImage::Format_BGR888);
  TBitmap Temp;
  Temp.SetPixelFormat(pf24bit);
  Temp.SetSizeUnfilled(I.width(), I.height());
  for (int Y = 0; Y < I.height(); ++Y) std::memcpy(Temp.ScanLine(Y), I.constScanLine(Y), size_t(I.width()) * 3);
  Bmp.Swap(Temp);
}

// The sizes of an image and its clipboard copy agree and every sample is
// near: the fingerprint's rule, 12 per channel.
constexpr int FingerprintTolerance = 12;

TColor SampleAt(const TBitmap& Bmp, int I) {
  const int W = Bmp.Width(), H = Bmp.Height();
  switch (I) {
  case 0:
    return Bmp.PixelColor(0, 0);
  case 1:
    return Bmp.PixelColor(W - 1, H - 1);
  default:
    return Bmp.PixelColor(W / 2, H / 2);
  }
}

std::unique_ptr<TBitmap> NewFilled(int W, int H, TColor Color) {
  auto B = std::make_unique<TBitmap>();
  NewBitmap24(*B, W, H, Color);
  return B;
}

} // namespace

// ---- Masks and metafiles ---------------------------------------------------------------------------

void MakeTransparencyMask(const TBitmap& Bmp, TBitmap& Mask) {
  // A mask of another size cannot be Bmp's: it starts afresh.
  if (Mask.Width() != Bmp.Width() || Mask.Height() != Bmp.Height() || Mask.PixelFormat() != pf24bit)
    Mask.ReleaseImage();
  if (Mask.Empty()) {
    try {
      NewBitmap24(Mask, Bmp.Width(), Bmp.Height(), clBlack);
    } catch (const std::bad_alloc&) {
      Mask.ReleaseImage();
      return;
    }
  }
  MaskOutColor(Bmp, Mask, Bmp.TransparentColor(), 0, WholeBitmapRect);
}

void TMyMetaFile::DrawInBitmap(TBitmap& Bmp, bool AutoCrop) const {
  Bmp.ReleaseImage();
  Bmp.SetPixelFormat(pf24bit);
  // The metafile's size is at 96 dots per inch, the screen resolution the
  // program draws at; the player has bounded it by the data's bytes.
  if (Width() <= 0 || Height() <= 0) return;
  NewBitmap24(Bmp, Width(), Height(), TransparentKeyColor);
  StretchDraw(Bmp, BitmapRect(Bmp));
  Bmp.Transparent = true;
  Bmp.SetTransparentColor(TransparentKeyColor);
  if (!AutoCrop) return;
  for (TColor Border : {TColor(TransparentKeyColor), TColor(clNone)}) {
    const TRect R = AutoCropRect(Bmp, 0, Border);
    if (!R.IsEmpty() && !(R == BitmapRect(Bmp))) CropBitmap(Bmp, R);
  }
}

// ---- Side data ---------------------------------------------------------------------------------------------

TClipboardData& ClipboardData() {
  static TClipboardData Data;
  return Data;
}

void TClipboardData::Report(const QString& Text) const {
  if (OnMessage) OnMessage(Text);
}

void TClipboardData::ResetData() {
  MaskAlpha.ReleaseImage();
  TransparentColor = clNone;
  FWidth = FHeight = 0;
  FDPI = 0;
  FOpacity = 100;
  FBlendMode = 0;
  FImage = nullptr;
  FCopyPos = {0, 0};
  FImageSize = {0, 0};
}

void TClipboardData::Clear() {
  if (QClipboard* Clip = SystemClipboard()) Clip->clear();
  ResetData();
}

void TClipboardData::TakeFingerprint(const TBitmap& Bmp) {
  if (Bmp.Transparent) {
    TransparentColor = Bmp.TransparentColor();
    MakeTransparencyMask(Bmp, MaskAlpha);
  } else {
    TransparentColor = clNone;
  }
  FWidth = Bmp.Width();
  FHeight = Bmp.Height();
  for (int I = 0; I < 3; ++I) PixelsTest[I] = SampleAt(Bmp, I);
}

bool TClipboardData::MatchesFingerprint(const TBitmap& Bmp) const {
  if (FWidth <= 0 || Bmp.Width() != FWidth || Bmp.Height() != FHeight) return false;
  for (int I = 0; I < 3; ++I)
    if (!ColorsNear(SampleAt(Bmp, I), PixelsTest[I], FingerprintTolerance)) return false;
  return true;
}

bool TClipboardData::OwnsClipboard() const {
  return dynamic_cast<const TOwnClipboardMime*>(ClipboardContent()) != nullptr;
}

// ---- Copies ---------------------------------------------------------------------------------------------------

void TClipboardData::Assign(const TBitmap* Bmp, const TBitmap* Mask, double DPI) {
  QClipboard* Clip = SystemClipboard();
  if (!Bmp || Bmp->Empty() || !Clip) {
    Clear();
    return;
  }
  TBitmap Colours;
  Colours.Assign(*Bmp);
  Colours.SetPixelFormat(pf24bit);
  auto* Data = new TOwnClipboardMime;
  Data->setImageData(Colours.QImageView().copy());
  Clip->setMimeData(Data);
  if (Mask && !Mask->Empty())
    MaskAlpha.Assign(*Mask);
  else
    MaskAlpha.ReleaseImage();
  TakeFingerprint(*Bmp);
  FDPI = DPI;
  FOpacity = 100;
  FBlendMode = 0;
}

void TClipboardData::AssignLayer(TSelMaskHost& Host) {
  TBitmap* Layer = LeBitmap(Host);
  TRect R = LaSelection(Host);
  if (!Layer || !ClipToBitmap(R, *Layer)) {
    Clear();
    return;
  }
  TBitmap* LayerMask = LeMasque(Host);
  const bool HasMask = HasAlpha(Host);
  const bool NeedsMask = SelectionNeedsMask(Host, false);
  const bool Inverted = Host.Sel() && Host.Sel()->Invert();
  if (R == BitmapRect(*Layer)) {
    if (!NeedsMask) {
      Assign(Layer, HasMask ? LayerMask : nullptr, 96);
    } else {
      auto Mask = SelectionMaskOfLayer(Host, Inverted, true);
      if (Mask && HasMask) CombineMaskMax(*LayerMask, *Mask, 0, 0, WholeBitmapRect);
      Assign(Layer, Mask.get(), 96);
    }
  } else {
    TBitmap Image;
    CropBitmapTo(*Layer, Image, R);
    std::unique_ptr<TBitmap> Mask;
    if (NeedsMask) {
      Mask = SelectionMaskOfRect(Host, R, Inverted, true);
      if (Mask && HasMask) CombineMaskMax(*LayerMask, *Mask, -R.Left, -R.Top, WholeBitmapRect);
    } else if (HasMask) {
      Mask = std::make_unique<TBitmap>();
      CropBitmapTo(*LayerMask, *Mask, R);
    }
    Assign(&Image, Mask.get(), 96);
  }
  SetLayerOptions(Host);
}

void TClipboardData::AssignMerge(TClipboardHost& Host) {
  TMyImageLayered* Img = Host.Image();
  const TBitmap* Fond = LeFond(Host);
  const TSelectionState* Sel = Host.Sel();
  const bool Visible = Sel && Sel->Visible();
  const bool Inverted = Visible && Sel->Invert();
  TRect R = Visible && !Inverted ? Sel->BmpSelRect() : WholeBitmapRect;
  if (!Img || !Fond || !ClipToBitmap(R, *Fond)) {
    Clear();
    return;
  }
  const bool NeedsMask = SelectionNeedsMask(Host, false);
  const bool Whole = R == BitmapRect(*Fond);
  const double DPI = Img->ResolutionX;
  if (Host.ModeRGBA(true)) {
    auto Image = NewFilled(R.Width(), R.Height(), clWhite);
    auto Mask = NewFilled(R.Width(), R.Height(), clWhite);
    Img->MergeImageLayers(R.Left, R.Top, *Image, *Mask);
    if (NeedsMask) {
      if (auto SelMask = SelectionMaskOfImageRect(Host, R, Inverted, true))
        CombineMaskMax(*SelMask, *Mask, 0, 0, WholeBitmapRect);
    }
    Assign(Image.get(), Mask.get(), DPI);
  } else if (Whole) {
    Img->MergeLayersForPreview(false);
    const auto Mask = NeedsMask ? SelectionMaskOfImage(Host, Inverted, true) : nullptr;
    Assign(&Img->Bitmap(), Mask.get(), DPI);
  } else {
    auto Image = NewFilled(R.Width(), R.Height(), clWhite);
    Img->DrawImageLayers(R.Left, R.Top, *Image);
    const auto Mask = NeedsMask ? SelectionMaskOfImageRect(Host, R, Inverted, true) : nullptr;
    Assign(Image.get(), Mask.get(), DPI);
  }
}

void TClipboardData::SetLayerOptions(TSelMaskHost& Host) {
  TMyImageLayered* Img = Host.Image();
  const TLayerItem* Layer = Img ? Img->CurrentLayer() : nullptr;
  if (!Layer) return;
  FOpacity = Layer->Opacity;
  FBlendMode = Layer->BlendMode;
  FDPI = Img->ResolutionX;
}

void TClipboardData::GetLayerOptions(TSelMaskHost& Host) {
  TMyImageLayered* Img = Host.Image();
  TLayerItem* Layer = Img ? Img->CurrentLayer() : nullptr;
  if (!Layer) return;
  Layer->Opacity = FOpacity;
  Layer->BlendMode = FBlendMode;
}

void TClipboardData::SetCopyPosition(TSelMaskHost& Host, TPoint P) {
  const TBitmap* Fond = LeFond(Host);
  FImage = Host.Image();
  FCopyPos = P;
  FImageSize = Fond ? TPoint{Fond->Width(), Fond->Height()} : TPoint{0, 0};
}

bool TClipboardData::IsCopyImage(TSelMaskHost& Host) const {
  const TBitmap* Fond = LeFond(Host);
  return FImage && Host.Image() == FImage && Fond && Fond->Width() == FImageSize.X &&
         Fond->Height() == FImageSize.Y;
}

// ---- Pastes ---------------------------------------------------------------------------------------------------

bool TClipboardData::CanPaste() const {
  const QMimeData* Data = ClipboardContent();
  if (!Data) return false;
  if (Data->hasImage()) return true;
  for (const QString& F : Data->formats())
    if (IsImageType(F) || IsMetafileType(F)) return true;
  return false;
}

bool TClipboardData::ReadClipboardPicture(TBitmap& Bmp, bool Sample, bool& Sampled) {
  Sampled = false;
  const QMimeData* Data = ClipboardContent();
  if (!Data) {
    Report(Tr(TrId::GetClpMsgNoImage));
    return false;
  }
  try {
    // An image held in memory by this process (its own copy, or one another
    // part of it put there) needs no decoding; encoded images come from other
    // programs.
    const QStringList Formats0 = Data->formats();
    if (Data->hasImage() && std::none_of(Formats0.begin(), Formats0.end(), IsImageType)) {
      const QImage I = qvariant_cast<QImage>(Data->imageData());
      if (!I.isNull()) {
        BitmapFromImage(I, Bmp);
        return true;
      }
    }
    // Encoded images from other programs, PNG first: the size is read from
    // the header and checked before any pixel is decoded.
    QStringList Formats = Formats0;
    std::stable_partition(Formats.begin(), Formats.end(),
                          [](const QString& F) { return MimeBase(F) == QLatin1String("image/png"); });
    for (const QString& F : Formats) {
      if (!IsImageType(F)) continue;
      QByteArray Bytes = Data->data(F);
      QBuffer Buffer(&Bytes);
      Buffer.open(QIODevice::ReadOnly);
      QImageReader Reader(&Buffer);
      Reader.setDecideFormatFromContent(true);
      const QSize S = Reader.size();
      if (!S.isValid()) continue;
      if (!DecodableSize(S)) {
        Report(Format(Tr(TrId::GetClpMsgTooLarge), {S.width(), S.height()}));
        return false;
      }
      const QImage I = Reader.read();
      if (I.isNull()) continue;
      BitmapFromImage(I, Bmp);
      return true;
    }
    for (const QString& F : Data->formats()) {
      if (!IsMetafileType(F)) continue;
      QByteArray Bytes = Data->data(F);
      QBuffer Buffer(&Bytes);
      Buffer.open(QIODevice::ReadOnly);
      TMyMetaFile Meta;
      try {
        Meta.LoadFromDevice(Buffer, QStringLiteral("clipboard"));
      } catch (const EInvalidGraphic&) {
        continue;
      }
      TBitmap Drawn;
      Meta.DrawInBitmap(Drawn, true);
      if (Drawn.Empty()) continue;
      if (Sample && Drawn.Transparent) {
        // The metafile's own transparency becomes the side data, in place
        // of whatever an older copy left.
        ResetData();
        TakeFingerprint(Drawn);
        Sampled = true;
      }
      Bmp.Swap(Drawn);
      return true;
    }
  } catch (const std::bad_alloc&) {
  }
  Report(Tr(TrId::GetClpMsgNoImage));
  return false;
}

bool TClipboardData::GetImage(TBitmap& Bmp, TBitmap& Masque) {
  TBitmap Picture;
  bool Sampled = false;
  if (!ReadClipboardPicture(Picture, true, Sampled)) return false;
  if ((Sampled || OwnsClipboard()) && MatchesFingerprint(Picture)) {
    if (!MaskAlpha.Empty()) {
      Masque.Assign(MaskAlpha);
      Masque.SetPixelFormat(pf24bit);
    }
    Picture.Transparent = TransparentColor != clNone;
    if (Picture.Transparent) Picture.SetTransparentColor(TransparentColor);
  } else {
    ResetData();
  }
  Bmp.Swap(Picture);
  return true;
}

bool TClipboardData::GetWithMask(TBitmap& Bmp, TBitmap& Masque) {
  TBitmap Picture;
  bool Sampled = false;
  if (!ReadClipboardPicture(Picture, false, Sampled)) return false;
  const int W = Picture.Width() / 2;
  if (W < 1) {
    Report(Tr(TrId::GetClpMsgNoImage));
    return false;
  }
  CropBitmapTo(Picture, Bmp, {0, 0, W, Picture.Height()});
  CropBitmapTo(Picture, Masque, {W, 0, 2 * W, Picture.Height()});
  return true;
}

bool TClipboardData::GetMask(TBitmap& Bmp, TBitmap& Masque, TColor Color) {
  TBitmap Picture;
  bool Sampled = false;
  if (!ReadClipboardPicture(Picture, false, Sampled)) return false;
  Picture.Transparent = false;
  NewBitmap24(Bmp, Picture.Width(), Picture.Height(), Color);
  Masque.Swap(Picture);
  return true;
}

// ---- The remembered shape -------------------------------------------------------------------------------------

TMemSel& MemSel() {
  static TMemSel Mem;
  return Mem;
}

void CopySelectionShape(TSelectionState& Sel) {
  TMemSel& M = MemSel();
  M.Flag = Sel.Shape();
  M.SelBounds = Sel.BmpSelRect();
  M.PointsData = {};
  if (Sel.Shape() == ssPolygon || Sel.Shape() == ssBitmap) Sel.ShapeManager().GetPoints(M.PointsData, true);
}

bool PasteSelectionShape(TSelectionState& Sel) {
  const TMemSel& M = MemSel();
  if (M.Flag == -1) return false;
  const TMyShape Shape = static_cast<TMyShape>(M.Flag);
  if (Shape == ssPolygon || Shape == ssBitmap) Sel.ShapeManager().SetPoints(M.PointsData);
  Sel.SetShape(Shape);
  Sel.SetBmpSelRect(M.SelBounds);
  return true;
}

// ---- Paste into the selection -------------------------------------------------------------------------------

bool PasteIntoSelection(TClipboardHost& Host, bool Fit) {
  TBitmap* Layer = LeBitmap(Host);
  if (!Layer || !Host.PixelsToProcess()) return false;
  TBitmap Image, Mask;
  if (!ClipboardData().GetImage(Image, Mask)) return false;
  TRect L = LaSelection(Host);
  if (Fit) {
    int W = Image.Width(), H = Image.Height();
    FitSize(W, H, L.Width(), L.Height());
    StretchBitmapInPlace(W, H, TStretchMode::smBest, Image);
    if (!Mask.Empty()) StretchBitmapInPlace(W, H, TStretchMode::smBilinear, Mask);
  }
  TRect P{0, 0, Image.Width(), Image.Height()};
  PositionRect(P, L, poCenter);
  L = P;
  if (!ClipToBitmap(L, *Layer)) return false;
  const int DX = L.Left - P.Left, DY = L.Top - P.Top;
  const TSelectionState* Sel = Host.Sel();
  auto SelMask = SelectionMaskOfRect(Host, L, Sel && Sel->Invert(), true);
  if (Mask.Empty() || Mask.Width() != Image.Width() || Mask.Height() != Image.Height())
    NewBitmap24(Mask, Image.Width(), Image.Height(), clBlack);
  if (SelMask) CombineMaskMax(*SelMask, Mask, DX, DY, WholeBitmapRect);
  PaintBitmapOnLayer(Image, &Mask, BitmapRect(Image), *Layer, LeMasque(Host), P.Left, P.Top, LaSelection(Host), 100);
  Host.RefreshBitmap();
  Host.LayerChanged();
  return true;
}
