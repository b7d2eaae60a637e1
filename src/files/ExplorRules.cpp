#include "files/ExplorRules.h"

#include "i18n/Format.h"
#include "i18n/LibLang.h"
#include "platform/IniFile.h"
#include "raster/FoncUtils.h"

#include <QDir>
#include <QFileInfo>

#include <cstdlib>

namespace {

const QString Section = QStringLiteral("Explorer");
const QString Missing = QStringLiteral("ERR!");

constexpr int CaptionMax = 11;
constexpr int SortDigits = 5;

QString Switch(bool On) { return On ? QStringLiteral("1") : QStringLiteral("0"); }

QString Dimensions(const TImageData& Data) {
  return Format(u"%d x %d %s", {Data.Width, Data.Height, Tr(TrId::GetTrLblPixels)});
}

} // namespace

QString TImageData::GetFileDate() const { return FileDateText(FileDate); }

QString ExplorShortCaption(const QString& FileName) {
  QString Caption = QFileInfo(FileName).fileName();
  if (Caption.length() > CaptionMax) Caption = QFileInfo(Caption).completeBaseName();
  if (Caption.length() > CaptionMax) Caption = Caption.left(CaptionMax - 2) + QStringLiteral("...");
  return Caption;
}

QString ExplorSortKey(const QString& FileName) {
  QString Key = QFileInfo(FileName).completeBaseName();
  qsizetype Digits = 0;
  while (Digits < SortDigits && Digits < Key.length() && Key.at(Key.length() - 1 - Digits).isDigit()) ++Digits;
  if (Digits > 0) {
    const QString Number = Key.right(Digits);
    Key.chop(Digits);
    Key += QString(SortDigits - Digits, QLatin1Char('0')) + Number;
  }
  return Key.toLower();
}

QString ExplorInfoTip(const TImageData& Data) {
  return QFileInfo(Data.FullName).fileName() + QLatin1Char('\r') + Dimensions(Data) + QLatin1Char('\r') +
         Data.GetFileDate();
}

QString ExplorPropertiesText(const TImageData& Data, qint64 FileSize, int Count) {
  const QFileInfo Info(Data.FullName);
  return Format(Tr(TrId::GetTrFmtExploreProperties),
                {Info.fileName(), QDir::toNativeSeparators(Info.absolutePath()), Dimensions(Data),
                 FormatByteSize(FileSize, false), Data.GetFileDate() + QString(33, QLatin1Char(' ')), Count}) +
         QLatin1Char('\r');
}

void ReadExplorSettings(const TIniFile& Ini, TExplorSettings& Settings) {
  const QString Dir = Ini.ReadString(Section, QStringLiteral("Dir"), Missing);
  if (Dir != Missing && !Dir.isEmpty() && QFileInfo(Dir).isDir()) Settings.Dir = AddPathDelimiter(Dir);
  if (Ini.ReadString(Section, QStringLiteral("SubDirs"), Missing) == QLatin1String("1")) Settings.SubDirs = true;
  Settings.Sort = Ini.ReadString(Section, QStringLiteral("Sort"), Missing) != QLatin1String("0");
  Settings.Multiline = Ini.ReadString(Section, QStringLiteral("Multiline"), Missing) == QLatin1String("1");
}

void WriteExplorSettings(TIniFile& Ini, const TExplorSettings& Settings) {
  Ini.WriteString(Section, QStringLiteral("Dir"), Settings.Dir);
  Ini.WriteString(Section, QStringLiteral("SubDirs"), Switch(Settings.SubDirs));
  Ini.WriteString(Section, QStringLiteral("Sort"), Switch(Settings.Sort));
  Ini.WriteString(Section, QStringLiteral("Multiline"), Switch(Settings.Multiline));
}

int ExplorDirFlags(const TExplorFolders& Folders) {
  int Flags = edOuvrir | edSauve;
  const auto Available = [&Folders](const QString& Dir) {
    return !Dir.isEmpty() &&
           AddPathDelimiter(Dir).compare(AddPathDelimiter(Folders.ProgramDir), Qt::CaseInsensitive) != 0;
  };
  if (Available(Folders.SelDir)) Flags |= edSel;
  if (Available(Folders.MasqueDir)) Flags |= edMasque;
  if (Available(Folders.MotifDir)) Flags |= edMotif;
  if (Available(Folders.TextureDir)) Flags |= edTexture;
  return Flags;
}

bool InExplorFolder(const QString& Dir, const QString& Folder, int Flag, int DirFlags) {
  return (DirFlags & Flag) != 0 && !Folder.isEmpty() && Dir.startsWith(Folder, Qt::CaseInsensitive);
}

TExplorUses ExplorUses(bool Image, bool ImageUse, bool InSel, bool InMasque, bool InMotif, bool InTexture) {
  TExplorUses U;
  U.Sel = Image && InSel;
  U.Masque = ImageUse && InMasque;
  U.Motif = ImageUse && InMotif;
  U.Texture = ImageUse && InTexture;
  U.Calque = ImageUse;
  return U;
}

TExplorUse ExplorDefaultUse(const TExplorUses& Uses) {
  if (Uses.Sel) return TExplorUse::Sel;
  if (Uses.Masque) return TExplorUse::Masque;
  if (Uses.Texture) return TExplorUse::Texture;
  if (Uses.Motif) return TExplorUse::Motif;
  return TExplorUse::NewImage;
}

TExplorUse ExplorDropUse(const TExplorUses& Uses, int Target) {
  if (Target == 1) return TExplorUse::NewImage;
  if (Target != 2) return TExplorUse::None;
  const TExplorUse First = ExplorDefaultUse(Uses);
  if (First == TExplorUse::NewImage && Uses.Calque) return TExplorUse::Calque;
  return First;
}

bool ExplorDragStarts(const QPoint& Origin, const QPoint& P) {
  return std::abs(P.x() - Origin.x()) > 3 || std::abs(P.y() - Origin.y()) > 3;
}

QString ExplorFilterDefault(const QString& Mask) { return Mask.length() < 32 ? Mask : QString(); }

QString ExplorFilterAnswer(const QString& Answer, const QString& AllMasks) {
  return Answer.isEmpty() ? AllMasks : Answer;
}
