#include "app/Commun.h"

#include "document/MyImageLayered.h"
#include "files/BmpExtOE.h"
#include "files/ColorReduction.h"
#include "files/FindFiles.h"
#include "files/FreeImageProvider.h"
#include "files/MyStringUtils.h"
#include "i18n/Format.h"
#include "raster/FoncUtils.h"

#include <QFileInfo>
#include <QLocale>

#include <new>

// ---- Default save formats ---------------------------------------------------------------------------------

QString SaveFormatExt(int Index) {
  static const char* const Exts[SaveFormatCount] = {".png", ".jpg", ".bmp", ".lmi", ".tif", ".webp"};
  return Index >= 0 && Index < SaveFormatCount ? QString::fromLatin1(Exts[Index]) : QString();
}

QString SaveFormatDescription(int Index) {
  switch (Index) {
  case 0:
    return GetDelimitedField(0, PngTypeEntry(), QLatin1Char('|'));
  case 1:
    return GetDelimitedField(0, JpegTypeEntry(), QLatin1Char('|'));
  case 2:
    return GetDelimitedField(0, BitmapTypeEntry(), QLatin1Char('|'));
  case 3:
    return Tr(TrId::LayeredImageFormatName);
  case 4:
    return FreeImageFormatDescription(fifTiff);
  case 5:
    return FreeImageFormatDescription(fifWebp);
  default:
    return QString();
  }
}

QString SaveFormatItemText(int Index) {
  return SaveFormatDescription(Index) + QStringLiteral(" (") + SaveFormatExt(Index) + QLatin1Char(')');
}

bool IsSaveFormatAvailable(int Index) {
  if (Index >= 0 && Index <= 3) return true;
  return (Index == 4 || Index == 5) && HasFreeImage();
}

// ---- Save rules ----------------------------------------------------------------------------------------------

bool ModeRGBA(const TMyImageLayered& Image, bool CheckBkgVisible) {
  if (Image.Layers().Count() == 0) return false;
  const TLayerItem& Bkg = Image.Layers()[0];
  if (!Bkg.Mask().Empty()) return true;
  return CheckBkgVisible && (!Bkg.Visible || Bkg.UsedOpacity() < 100);
}

TSaveImageFacts SaveImageFacts(const TMyImageLayered& Image) {
  TSaveImageFacts F;
  F.LayerCount = Image.Layers().Count();
  F.RGBA = ModeRGBA(Image, true);
  F.BkgTransparent = F.LayerCount > 0 && Image.Layers()[0].Bitmap().Transparent;
  return F;
}

namespace {

// The extension of the file part replaced by Ext (added when there is none).
QString ChangeFileExt(const QString& FileName, const QString& Ext) {
  const int Slash = FileName.lastIndexOf(QLatin1Char('/'));
  const int Dot = FileName.lastIndexOf(QLatin1Char('.'));
  return (Dot > Slash ? FileName.left(Dot) : FileName) + Ext;
}

} // namespace

void DefaultSaveName(QString& FileName, const TSaveImageFacts& Facts, int SaveFormatIndex, const QString& SaveDir) {
  if (!FileName.contains(QLatin1Char('/'))) {
    QString Dir = SaveDir;
    if (!Dir.isEmpty() && !Dir.endsWith(QLatin1Char('/'))) Dir += QLatin1Char('/');
    FileName.prepend(Dir);
  }
  if (IsSaveFormatAvailable(SaveFormatIndex)) {
    FileName = ChangeFileExt(FileName, SaveFormatExt(SaveFormatIndex));
    return;
  }
  if (Facts.LayerCount >= 2) {
    FileName = ChangeFileExt(FileName, QStringLiteral(".lmi"));
    return;
  }
  if (!Facts.RGBA || SupportsAlphaChannel(FileName, false)) {
    if ((Facts.BkgTransparent && !KeepsTransparentColor(FileName)) || IsLmiFile(FileName) ||
        !IsSavableImageFile(FileName))
      FileName = ChangeFileExt(FileName, QStringLiteral(".png"));
    return;
  }
  FileName = ChangeFileExt(FileName, QStringLiteral(".png"));
}

std::optional<TrId> FormatLossQuestion(const QString& FileName, const TSaveImageFacts& Facts) {
  if (Facts.LayerCount >= 2 && !KeepsLayers(FileName)) return TrId::GetTrDlgMain8;
  if (!Facts.RGBA || SupportsAlphaChannel(FileName, false)) {
    if (!Facts.BkgTransparent || KeepsTransparentColor(FileName)) return std::nullopt;
    return TrId::GetTrDlgMain10;
  }
  return TrId::GetTrDlgMain11;
}

// ---- Document information --------------------------------------------------------------------------------

QString DocumentInfoText(const TDocumentInfoFacts& Facts) {
  const QFileInfo Info(Facts.FileName);
  QString Size, Folder, Date;
  if (Facts.FromFile) {
    Size = FormatByteSize(Info.size(), false);
    Folder = Info.absolutePath();
    if (Folder.size() > 50) Folder.insert(49, QLatin1Char('\r'));
    Date = FileDateText(Info.lastModified());
  } else {
    Size = Folder = Tr(TrId::GetTrLblNoSaved);
    Date = FileDateText(Facts.Now);
  }
  // An image without a resolution is measured as the view shows it, never
  // divided by zero.
  const double Dpi = Facts.ResolutionX > 0 ? Facts.ResolutionX : DefaultResolution;
  double W = Facts.Width / Dpi, H = Facts.Height / Dpi;
  QString Unit;
  if (Facts.PrintUnit == 0) {
    W *= 2.54;
    H *= 2.54;
    Unit = Tr(TrId::GetTrLblCm);
  } else {
    Unit = Tr(TrId::GetTrLblInches);
  }
  const QString Dimensions = Format(u"%d x %d %s", {Facts.Width, Facts.Height, Tr(TrId::GetTrLblPixels)}) +
                             QStringLiteral(" ==> ") +
                             Format(u"%.2f x %.2f %s  (%s)", {W, H, Unit, Format(Tr(TrId::GetTrFmtResolution), {Dpi})});
  return Format(Tr(TrId::GetTrFmtImageProperties),
                {Info.fileName(), Folder, Dimensions, Facts.Colors, Size, Date, FormatByteSize(Facts.Memory, false),
                 FormatByteSize(Facts.Memory + Facts.HistoryMemory, false) + QString(33, QLatin1Char(' '))}) +
         QLatin1Char('\r');
}

QString LayerDisplayName(const QString& S) {
  if (!S.startsWith(QLatin1Char('#'))) return S;
  bool Ok = false;
  int N = S.mid(1, 3).toInt(&Ok);
  if (!Ok) N = -1;
  if (N == 0) return Tr(TrId::GetTrLblLayerBkg);
  if (N > 0) return Format(Tr(TrId::GetTrFmtLayerName), {N});
  return S;
}

// ---- The current file and its folder -------------------------------------------------------------------------------

QString NeighbourFile(const QString& FileName, int Position) {
  const QFileInfo Info(FileName);
  const std::optional<QStringList> Found = FindFiles(Info.absolutePath() + QLatin1Char('/'), GetOpenMasks(), false);
  if (!Found || Found->size() < 2) return {};
  const QStringList& Files = *Found;
  const qsizetype I = Files.indexOf(Info.absoluteFilePath());
  const qsizetype Last = Files.size() - 1;
  switch (Position) {
  case npFirst:
    return I > 0 ? Files.first() : QString();
  case npPrevious:
    return I > 0 ? Files[I - 1] : QString();
  case npNext:
    return I < Last ? Files[I + 1] : QString();
  default:
    return I < Last ? Files.last() : QString();
  }
}

QString RenamedFileName(const QString& FileName, const QString& Answer) {
  QString Name = Answer.trimmed();
  for (QChar& C : Name)
    if (C == u'/' || C == u'\\' || C.unicode() < 32) C = u'_';
  if (Name.isEmpty() || Name == QLatin1String(".") || Name == QLatin1String("..")) return {};
  const QFileInfo Info(FileName);
  const QString Old = Info.fileName();
  const qsizetype Dot = Old.lastIndexOf(u'.');
  return Info.absolutePath() + QLatin1Char('/') + Name + (Dot < 0 ? QString() : Old.mid(Dot));
}
