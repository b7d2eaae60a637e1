#include "raster/FoncUtils.h"

#include "i18n/Format.h"
#include "i18n/LibLang.h"
#include "platform/Rounding.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

#include <algorithm>
#include <cctype>
#include <climits>
#include <cmath>
#include <numbers>

namespace {

// The folder of the executable, with a trailing delimiter; read from the
// process itself when no application object exists yet.
QString ProgramFolder() {
  QString Dir;
  if (QCoreApplication::instance())
    Dir = QCoreApplication::applicationDirPath();
  else
    Dir = QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget()).absolutePath();
  return AddPathDelimiter(Dir);
}

bool IsWebAddress(const QString& Name) {
  const QUrl Url(Name, QUrl::StrictMode);
  return Url.isValid() && Url.scheme().size() > 1 && !Url.host().isEmpty();
}

struct TColorName {
  const char* Name;
  TColor Color;
};

// The colour names of the platform: the sixteen basic colours, the four
// extra ones, the system colours and the two special values.
constexpr TColorName ColorNames[] = {
    {"clBlack", clBlack},
    {"clMaroon", clMaroon},
    {"clGreen", clGreen},
    {"clOlive", clOlive},
    {"clNavy", clNavy},
    {"clPurple", clPurple},
    {"clTeal", clTeal},
    {"clGray", clGray},
    {"clSilver", clSilver},
    {"clRed", clRed},
    {"clLime", clLime},
    {"clYellow", clYellow},
    {"clBlue", clBlue},
    {"clFuchsia", clFuchsia},
    {"clAqua", clAqua},
    {"clWhite", clWhite},
    {"clMoneyGreen", 0xC0DCC0},
    {"clSkyBlue", 0xF0CAA6},
    {"clCream", 0xF0FBFF},
    {"clMedGray", 0xA4A0A0},
    {"clScrollBar", clScrollBar},
    {"clBackground", clBackground},
    {"clActiveCaption", clActiveCaption},
    {"clInactiveCaption", clInactiveCaption},
    {"clMenu", clMenu},
    {"clWindow", clWindow},
    {"clWindowFrame", clWindowFrame},
    {"clMenuText", clMenuText},
    {"clWindowText", clWindowText},
    {"clCaptionText", clCaptionText},
    {"clActiveBorder", clActiveBorder},
    {"clInactiveBorder", clInactiveBorder},
    {"clAppWorkSpace", clAppWorkSpace},
    {"clHighlight", clHighlight},
    {"clHighlightText", clHighlightText},
    {"clBtnFace", clBtnFace},
    {"clBtnShadow", clBtnShadow},
    {"clGrayText", clGrayText},
    {"clBtnText", clBtnText},
    {"clInactiveCaptionText", clInactiveCaptionText},
    {"clBtnHighlight", clBtnHighlight},
    {"cl3DDkShadow", cl3DDkShadow},
    {"cl3DLight", cl3DLight},
    {"clInfoText", clInfoText},
    {"clInfoBk", clInfoBk},
    {"clHotLight", clHotLight},
    {"clGradientActiveCaption", clGradientActiveCaption},
    {"clGradientInactiveCaption", clGradientInactiveCaption},
    {"clMenuHighlight", clMenuHighlight},
    {"clMenuBar", clMenuBar},
    {"clNone", clNone},
    {"clDefault", clDefault},
};

// The midpoint as the path code computes it: coordinates added, then div 2.
TPoint Midpoint(TPoint A, TPoint B) { return {(A.X + B.X) / 2, (A.Y + B.Y) / 2}; }

} // namespace

bool ShellOpen(const QString& FileName, const QString& Params) {
  if (FileName.isEmpty()) return false;
  if (IsWebAddress(FileName)) return QDesktopServices::openUrl(QUrl(FileName));
  QFileInfo Info(FileName);
  if (!Info.exists()) {
    // A bare program name is looked up on the search path, as the shell does.
    if (FileName.contains(u'/')) return false;
    const QString Found = QStandardPaths::findExecutable(FileName);
    if (Found.isEmpty()) return false;
    Info.setFile(Found);
  }
  if (Info.isFile() && Info.isExecutable())
    return QProcess::startDetached(Info.absoluteFilePath(), QProcess::splitCommand(Params));
  return QDesktopServices::openUrl(QUrl::fromLocalFile(Info.absoluteFilePath()));
}

QString UserDataFolder(const QString& SubFolder) {
  const QString Base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
  if (!Base.isEmpty()) {
    const QString Folder = AddPathDelimiter(AddPathDelimiter(Base) + SubFolder);
    QDir().mkpath(Folder);
    if (QFileInfo(Folder).isDir()) return Folder;
  }
  return ProgramFolder();
}

QString DocumentsFolder() {
  const QString Docs = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  if (!Docs.isEmpty() && QFileInfo(Docs).isDir()) return AddPathDelimiter(Docs);
  return ProgramFolder();
}

int64_t FileSizeOf(const QString& FileName) {
  QFile File(FileName);
  if (!File.open(QIODevice::ReadOnly)) return -1;
  return File.size();
}

QString ChangeFileFolder(const QString& FileName, const QString& Folder) {
  if (FileName.isEmpty()) return {};
  const QString Name = QFileInfo(FileName).fileName();
  return Folder.isEmpty() ? Name : AddPathDelimiter(Folder) + Name;
}

QString AddPathDelimiter(const QString& Path) { return Path.endsWith(u'/') ? Path : Path + u'/'; }

namespace {
const QString FolderMacro = QStringLiteral("%lmsdir%");
QString WithoutDelimiter(QString Dir) {
  while (Dir.endsWith(u'/')) Dir.chop(1);
  return Dir;
}
} // namespace

QString EncodeFolderMacro(const QString& Path, const QString& ProgramDir) {
  const QString Dir = WithoutDelimiter(ProgramDir);
  if (Dir.isEmpty() || !Path.startsWith(Dir + u'/')) return Path;
  return FolderMacro + Path.mid(Dir.size());
}

QString ExpandFolderMacro(const QString& Path, const QString& ProgramDir) {
  return QString(Path).replace(FolderMacro, WithoutDelimiter(ProgramDir), Qt::CaseInsensitive);
}

QString FileNameWithoutExt(const QString& Path) {
  const QString Name = QFileInfo(Path).fileName();
  const qsizetype Dot = Name.lastIndexOf(u'.');
  return Dot < 0 ? Name : Name.left(Dot);
}

bool DeleteToRecycleBin(const QString& FileName, bool) {
  if (FileName.isEmpty() || !QFileInfo::exists(FileName)) return false;
  // The trash of the home volume lives in the per-user data folder, which
  // Qt needs to exist already.
  const QString Data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
  if (!Data.isEmpty()) QDir().mkpath(Data);
  QString InTrash;
  if (!QFile::moveToTrash(FileName, &InTrash)) return false;
  // Without a usable trash folder Qt moves the file to a "files" folder of
  // the working directory and reports success: put it back and fail.
  if (QFileInfo(InTrash).isRelative()) {
    const QString InfoFile = QFileInfo(InTrash).dir().filePath(QStringLiteral("../info/")) +
                             QFileInfo(InTrash).fileName() + QStringLiteral(".trashinfo");
    QFile::rename(InTrash, FileName);
    QFile::remove(InfoFile);
    return false;
  }
  return true;
}

QString CleanMenuCaption(const QString& Caption) {
  if (Caption.isEmpty()) return {};
  QString S = Caption;
  const qsizetype Amp = S.indexOf(u'&');
  if (Amp >= 0) S.remove(Amp, 1);
  if (S.endsWith(QStringLiteral("..."))) S.chop(3);
  if (S.endsWith(u':')) S.chop(1);
  return S.trimmed();
}

QString FormatCaption(const QString& Caption, int Kind) {
  QString S = CleanMenuCaption(Caption);
  if (S.isEmpty()) return S;
  if (S[0] >= QLatin1Char('a') && S[0] <= QLatin1Char('z')) S[0] = S[0].toUpper();
  switch (Kind) {
  case 0:
    return QLatin1Char(' ') + S + QLatin1Char(' ');
  case 1:
    return S + QStringLiteral("...");
  case 2:
    return S + QStringLiteral(" :");
  case 3:
    return QStringLiteral("- ") + S;
  default:
    return S;
  }
}

QString ControlCharsToSpaces(const QString& Text) {
  QString S = Text;
  for (QChar& C : S)
    if (C.unicode() < 32) C = u' ';
  return S;
}

QString EscapeAmpersands(const QString& Text) {
  QString S = Text;
  return S.replace(u'&', QStringLiteral("&&"));
}

QString EllipsisEnd(const QString& Text, int N) {
  if (Text.size() <= N) return Text;
  return Text.left(std::max(0, N - 3)) + QStringLiteral("...");
}

QString EllipsisMiddle(const QString& Text, int N) {
  const qsizetype L = Text.size();
  if (L <= N) return Text;
  const int B = (N - 3) / 2;
  // The tail from the 1-based position L + B - N + 3, at most 999 characters.
  const qsizetype From = std::max<qsizetype>(0, L + B - N + 2);
  return Text.left(std::max(0, B)) + QStringLiteral("...") + (From < L ? Text.mid(From, 999) : QString());
}

QString RemoveSubstring(const QString& Sub, const QString& Text, bool IgnoreCase) {
  if (Sub.isEmpty()) return Text;
  const qsizetype At = Text.indexOf(Sub, 0, IgnoreCase ? Qt::CaseInsensitive : Qt::CaseSensitive);
  if (At < 0) return Text;
  QString S = Text;
  return S.remove(At, Sub.size());
}

int StrToIntRange(const QString& Text, int Default, int Min, int Max) {
  QString S = Text.trimmed();
  bool Negative = false;
  if (S.startsWith(u'-') || S.startsWith(u'+')) {
    Negative = S.startsWith(u'-');
    S.remove(0, 1);
  }
  int Base = 10;
  if (S.startsWith(u'$')) {
    S.remove(0, 1);
    Base = 16;
  } else if (S.startsWith(QStringLiteral("0x"), Qt::CaseInsensitive)) {
    S.remove(0, 2);
    Base = 16;
  }
  bool Ok = !S.isEmpty() && S[0].isLetterOrNumber();
  const qlonglong Magnitude = Ok ? S.toLongLong(&Ok, Base) : 0;
  const qlonglong V = Negative ? -Magnitude : Magnitude;
  int Result = Ok && V >= INT_MIN && V <= INT_MAX ? static_cast<int>(V) : Default;
  if (Result < Min)
    Result = Min;
  else if (Result > Max)
    Result = Max;
  return Result;
}

double StrToFloatRange(const QString& Text, double Default, double Min, double Max) {
  bool Ok = false;
  double Result = QLocale().toDouble(Text.trimmed(), &Ok);
  if (!Ok || !std::isfinite(Result)) Result = Default;
  if (Result < Min)
    Result = Min;
  else if (Result > Max)
    Result = Max;
  return Result;
}

QString FormatByteSize(int64_t Size, bool Whole) {
  if (Size < 2) return Format(u"%d %s", {static_cast<long long>(Size), Tr(TrId::GetDlgByte)});
  if (Size < 1024) return Format(u"%d %s", {static_cast<long long>(Size), Tr(TrId::GetDlgBytes)});
  TrId Unit = TrId::GetDlgGb;
  double Divisor = 1073741824.0;
  if (Size < 1048576) {
    Unit = TrId::GetDlgKb;
    Divisor = 1024.0;
  } else if (Size < 1073741824) {
    Unit = TrId::GetDlgMb;
    Divisor = 1048576.0;
  }
  const double Value = static_cast<double>(Size) / Divisor;
  if (Whole) return Format(u"%d %s", {static_cast<long long>(Round64(Value)), Tr(Unit)});
  return Format(u"%.2f %s", {Value, Tr(Unit)});
}

QString FileDateText(const QDateTime& Date) {
  const QString Fmt = Tr(TrId::GetTrFmtFileDate);
  if (!Fmt.isEmpty()) return QLocale().toString(Date, Fmt);
  return QLocale().toString(Date.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
         QLocale().toString(Date.time(), QLocale::ShortFormat);
}

TColor TextToColor(const QString& Text, TColor Default, bool HtmlOrder) {
  if (Text.isEmpty()) return Default;
  for (const TColorName& Entry : ColorNames)
    if (Text.compare(QLatin1StringView(Entry.Name), Qt::CaseInsensitive) == 0) return Entry.Color;
  QString S = Text;
  if (S.startsWith(u'#') || S.startsWith(u'$')) S.remove(0, 1);
  if (S.size() != 6) return Default;
  for (QChar C : S)
    if (!std::isxdigit(static_cast<unsigned char>(C.toLatin1()))) return Default;
  if (HtmlOrder) S = S.mid(4, 2) + S.mid(2, 2) + S.mid(0, 2);
  return static_cast<TColor>(S.toUInt(nullptr, 16));
}

QString ColorToText(TColor Color, bool HtmlOrder) {
  const TColor C = ColorToRGB(Color);
  const auto Hex = [](int V) { return QString::number(V, 16).rightJustified(2, u'0').toUpper(); };
  if (HtmlOrder) return u'#' + Hex(GetRValue(C)) + Hex(GetGValue(C)) + Hex(GetBValue(C));
  return u'$' + Hex(GetBValue(C)) + Hex(GetGValue(C)) + Hex(GetRValue(C));
}

void FitSize(int& W, int& H, int MaxW, int MaxH) {
  if (W <= 0 || H <= 0 || MaxW <= 0 || MaxH <= 0) return;
  const double R = std::max(static_cast<double>(W) / MaxW, static_cast<double>(H) / MaxH);
  W = std::min(Round(W / R), MaxW);
  H = std::min(Round(H / R), MaxH);
}

bool PointsEqual(TPoint P1, TPoint P2) { return P1.X == P2.X && P1.Y == P2.Y; }

int IntDistance(int X1, int Y1, int X2, int Y2) {
  const uint64_t DX = static_cast<uint64_t>(std::abs(static_cast<int64_t>(X2) - X1));
  const uint64_t DY = static_cast<uint64_t>(std::abs(static_cast<int64_t>(Y2) - Y1));
  // Either difference alone beyond the int range makes the distance so too.
  if (DX > static_cast<uint64_t>(INT_MAX) || DY > static_cast<uint64_t>(INT_MAX)) return INT_MAX;
  const uint64_t S = DX * DX + DY * DY;
  uint64_t R = S / 2 + (S & 1); // (S + 1) / 2 without overflow
  // Twelve Newton steps from above, as the distance has always been taken
  // (where they end swinging between k - 1 and k, for S = k * k - 1, that
  // choice stays); then, far away where twelve are not enough, more until R
  // reaches the root: R * R <= S + 1.
  for (int Step = 0; R > 0; ++Step) {
    if (Step >= 12 && R <= (S + 1) / R) break;
    R = (R + S / R) / 2;
  }
  return R > static_cast<uint64_t>(INT_MAX) ? INT_MAX : static_cast<int>(R);
}

double FloatDistance(double X1, double Y1, double X2, double Y2) { return std::hypot(X2 - X1, Y2 - Y1); }

double DistanceToSegment(int PX, int PY, int AX, int AY, int BX, int BY) {
  const double DX = static_cast<double>(BX) - AX;
  const double DY = static_cast<double>(BY) - AY;
  const double Length2 = DX * DX + DY * DY;
  if (Length2 == 0) return FloatDistance(PX, PY, AX, AY);
  const double T = ((static_cast<double>(PX) - AX) * DX + (static_cast<double>(PY) - AY) * DY) / Length2;
  if (T < 0) return FloatDistance(PX, PY, AX, AY);
  if (T > 1) return FloatDistance(PX, PY, BX, BY);
  return FloatDistance(PX, PY, AX + T * DX, AY + T * DY);
}

double AngleBetweenLines(TPoint P1, TPoint P2, TPoint P3, TPoint P4) {
  constexpr double TwoPi = 2 * std::numbers::pi;
  double A1 = std::atan2(static_cast<double>(P1.Y) - P2.Y, static_cast<double>(P2.X) - P1.X);
  double A2 = std::atan2(static_cast<double>(P3.Y) - P4.Y, static_cast<double>(P4.X) - P3.X);
  if (A1 < 0) A1 += TwoPi;
  if (A2 < 0) A2 += TwoPi;
  return A2 - A1;
}

TPoint BisectorPoint(TPoint V, TPoint A, TPoint B) {
  const auto Length = [V](TPoint P) {
    const float DX = static_cast<float>(P.X - V.X);
    const float DY = static_cast<float>(P.Y - V.Y);
    return Round(std::sqrt(DX * DX + DY * DY));
  };
  const int DA = Length(A);
  const int DB = Length(B);
  // A ray of length 0 has no direction: the midpoint then lies on the other ray.
  if (DA == DB || DA == 0 || DB == 0) return Midpoint(A, B);
  if (DB < DA) {
    const TPoint A2{V.X + Round(static_cast<double>(A.X - V.X) * DB / DA),
                    V.Y + Round(static_cast<double>(A.Y - V.Y) * DB / DA)};
    return Midpoint(A2, B);
  }
  const TPoint B2{V.X + Round(static_cast<double>(DA) * (B.X - V.X) / DB),
                  V.Y + Round(static_cast<double>(DA) * (B.Y - V.Y) / DB)};
  return Midpoint(A, B2);
}

bool LineIntersection(double X1, double Y1, double X2, double Y2, double X3, double Y3, double X4, double Y4, double& X,
                      double& Y) {
  const double D = (Y1 - Y2) * (X3 - X4) - (Y3 - Y4) * (X1 - X2);
  if (D == 0) return false;
  X = ((X3 * Y4 - X4 * Y3) * (X1 - X2) - (X1 * Y2 - X2 * Y1) * (X3 - X4)) / D;
  // Y on the first line, or on the second when the first is vertical (the
  // second cannot be too, or D would be 0).
  if (X1 != X2)
    Y = X * (Y1 - Y2) / (X1 - X2) + (X1 * Y2 - X2 * Y1) / (X1 - X2);
  else
    Y = X * (Y3 - Y4) / (X3 - X4) + (X3 * Y4 - X4 * Y3) / (X3 - X4);
  return true;
}
