#include "platform/IniFile.h"

#include "platform/NumberFormat.h"
#include "platform/SafeFile.h"
#include "platform/Win1252.h"

#include <QFile>
#include <QStringDecoder>

#include <algorithm>

namespace {

const QString EscapeMark = QStringLiteral("\\:");

bool IsBlank(QChar C) { return C == u' ' || C == u'\t'; }

QStringView TrimBlanks(QStringView S) {
  while (!S.isEmpty() && IsBlank(S.front())) S = S.mid(1);
  while (!S.isEmpty() && IsBlank(S.back())) S.chop(1);
  return S;
}

bool SameName(QStringView A, QStringView B) { return A.compare(B, Qt::CaseInsensitive) == 0; }

QString Decode(const QByteArray& Bytes) {
  if (Bytes.startsWith("\xEF\xBB\xBF")) return QString::fromUtf8(Bytes.mid(3));
  if (Bytes.startsWith("\xFF\xFE")) {
    QStringDecoder D(QStringDecoder::Utf16LE);
    return D(Bytes.mid(2));
  }
  if (Bytes.startsWith("\xFE\xFF")) {
    QStringDecoder D(QStringDecoder::Utf16BE);
    return D(Bytes.mid(2));
  }
  QStringDecoder Utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString Text = Utf8(Bytes);
  if (!Utf8.hasError()) return Text;
  return FromWin1252(std::string_view(Bytes.constData(), static_cast<size_t>(Bytes.size())));
}

QString EncodeValue(const QString& Given) {
  // Blanks at either end would be trimmed by the reader: the value goes in
  // double quotes, which the reader removes.
  const QString Value =
      TrimBlanks(Given).size() != Given.size() ? QLatin1Char('"') + Given + QLatin1Char('"') : Given;
  if (!Value.contains(u'\r') && !Value.contains(u'\n') && !TrimBlanks(Value).startsWith(EscapeMark)) return Value;
  QString Out = EscapeMark;
  for (QChar C : Value) {
    if (C == u'\\')
      Out += QStringLiteral("\\\\");
    else if (C == u'\r')
      Out += QStringLiteral("\\r");
    else if (C == u'\n')
      Out += QStringLiteral("\\n");
    else
      Out += C;
  }
  return Out;
}

QString Unescape(QStringView S) {
  QString Out;
  for (qsizetype I = 0; I < S.size(); ++I) {
    if (S[I] == u'\\' && I + 1 < S.size()) {
      const QChar N = S[I + 1];
      if (N == u'\\' || N == u'r' || N == u'n') {
        Out += N == u'\\' ? QChar(u'\\') : N == u'r' ? QChar(u'\r') : QChar(u'\n');
        ++I;
        continue;
      }
    }
    Out += S[I];
  }
  return Out;
}

// The value as the profile functions give it back.
QString DecodeValue(const QString& Raw) {
  QStringView V = TrimBlanks(Raw);
  QString Text = V.startsWith(EscapeMark) ? Unescape(V.mid(EscapeMark.size())) : V.toString();
  if (Text.size() >= 2 && (Text.front() == u'"' || Text.front() == u'\'') && Text.back() == Text.front())
    Text = Text.mid(1, Text.size() - 2);
  return Text;
}

bool IsBlankLine(const QString& Line) { return TrimBlanks(Line).isEmpty(); }

} // namespace

TIniFile::TIniFile(const QString& FileName) : FFileName(FileName) { Load(); }

TIniFile::~TIniFile() { UpdateFile(); }

void TIniFile::Load() {
  QFile File(FFileName);
  if (!File.exists()) return;
  if (!File.open(QIODevice::ReadOnly)) {
    FReadFailed = true;
    return;
  }
  const QByteArray Bytes = File.readAll();
  if (File.error() != QFileDevice::NoError) {
    FReadFailed = true;
    return;
  }
  const QString Text = Decode(Bytes);
  const qsizetype FirstLF = Text.indexOf(u'\n');
  if (FirstLF > 0 && Text[FirstLF - 1] == u'\r') FLineEnd = QStringLiteral("\r\n");
  QStringList Lines = Text.split(u'\n');
  if (!Lines.isEmpty() && Lines.back().isEmpty()) Lines.removeLast();
  for (QString& Line : Lines) {
    if (Line.endsWith(u'\r')) Line.chop(1);
    const QStringView T = TrimBlanks(Line);
    if (T.startsWith(u'[')) {
      const qsizetype Close = T.indexOf(u']');
      FSections.push_back({TrimBlanks(T.mid(1, Close < 0 ? -1 : Close - 1)).toString(), {{Line, {}, {}}}});
      continue;
    }
    TLine Entry{Line, {}, {}};
    const qsizetype Eq = Line.indexOf(u'=');
    if (!FSections.empty() && !T.startsWith(u';') && Eq >= 0) {
      Entry.Key = TrimBlanks(QStringView(Line).left(Eq)).toString();
      Entry.Value = Line.mid(Eq + 1);
    }
    (FSections.empty() ? FPreamble : FSections.back().Lines).push_back(std::move(Entry));
  }
}

TIniFile::TSection* TIniFile::FindSection(const QString& Section) {
  for (TSection& S : FSections)
    if (SameName(S.Name, Section)) return &S;
  return nullptr;
}

const TIniFile::TSection* TIniFile::FindSection(const QString& Section) const {
  return const_cast<TIniFile*>(this)->FindSection(Section);
}

const TIniFile::TLine* TIniFile::FindKey(const QString& Section, const QString& Ident) const {
  const TSection* S = FindSection(Section);
  if (!S) return nullptr;
  const QStringView Key = TrimBlanks(Ident);
  for (const TLine& L : S->Lines)
    if (!L.Key.isEmpty() && SameName(L.Key, Key)) return &L;
  return nullptr;
}

QString TIniFile::ReadString(const QString& Section, const QString& Ident, const QString& Default) const {
  const TLine* L = FindKey(Section, Ident);
  return L ? DecodeValue(L->Value) : Default;
}

void TIniFile::WriteString(const QString& Section, const QString& Ident, const QString& Value) {
  const QString Key = TrimBlanks(Ident).toString();
  if (Key.isEmpty() || Section.isEmpty()) return;
  const QString Encoded = EncodeValue(Value);
  TSection* S = FindSection(Section);
  if (!S) {
    std::vector<TLine>& Last = FSections.empty() ? FPreamble : FSections.back().Lines;
    if (!Last.empty() && !IsBlankLine(Last.back().Text)) Last.push_back({QString(), {}, {}});
    FSections.push_back({Section, {{u'[' + Section + u']', {}, {}}}});
    S = &FSections.back();
  }
  for (TLine& L : S->Lines)
    if (!L.Key.isEmpty() && SameName(L.Key, Key)) {
      if (L.Value == Encoded) return;
      L.Value = Encoded;
      L.Text = L.Key + u'=' + Encoded;
      FModified = true;
      return;
    }
  size_t At = S->Lines.size();
  while (At > 1 && IsBlankLine(S->Lines[At - 1].Text)) --At;
  S->Lines.insert(S->Lines.begin() + static_cast<std::ptrdiff_t>(At), {Key + u'=' + Encoded, Key, Encoded});
  FModified = true;
}

int TIniFile::ReadInteger(const QString& Section, const QString& Ident, int Default) const {
  const TLine* L = FindKey(Section, Ident);
  return L ? StrToIntDef(DecodeValue(L->Value), Default, true) : Default;
}

void TIniFile::WriteInteger(const QString& Section, const QString& Ident, int Value) {
  WriteString(Section, Ident, QString::number(Value));
}

bool TIniFile::ReadBool(const QString& Section, const QString& Ident, bool Default) const {
  return ReadInteger(Section, Ident, Default ? 1 : 0) != 0;
}

void TIniFile::WriteBool(const QString& Section, const QString& Ident, bool Value) {
  WriteString(Section, Ident, Value ? QStringLiteral("1") : QStringLiteral("0"));
}

double TIniFile::ReadFloat(const QString& Section, const QString& Ident, double Default) const {
  const TLine* L = FindKey(Section, Ident);
  double Value = Default;
  if (L && TryStrToFloatAnyPoint(DecodeValue(L->Value), Value)) return Value;
  return Default;
}

void TIniFile::WriteFloat(const QString& Section, const QString& Ident, double Value) {
  WriteString(Section, Ident, FloatToStr(Value));
}

void TIniFile::ReadSection(const QString& Section, QStringList& Strings) const {
  Strings.clear();
  const TSection* S = FindSection(Section);
  if (!S) return;
  for (const TLine& L : S->Lines)
    if (!L.Key.isEmpty() && !Strings.contains(L.Key, Qt::CaseInsensitive)) Strings.append(L.Key);
}

void TIniFile::ReadSections(QStringList& Strings) const {
  Strings.clear();
  for (const TSection& S : FSections)
    if (!Strings.contains(S.Name, Qt::CaseInsensitive)) Strings.append(S.Name);
}

void TIniFile::ReadSectionValues(const QString& Section, QStringList& Strings) const {
  QStringList Keys;
  ReadSection(Section, Keys);
  Strings.clear();
  for (const QString& Key : Keys) Strings.append(Key + u'=' + ReadString(Section, Key, QString()));
}

bool TIniFile::SectionExists(const QString& Section) const { return FindSection(Section) != nullptr; }

bool TIniFile::ValueExists(const QString& Section, const QString& Ident) const {
  return FindKey(Section, Ident) != nullptr;
}

void TIniFile::EraseSection(const QString& Section) {
  const auto Erased = std::erase_if(FSections, [&](const TSection& S) { return SameName(S.Name, Section); });
  if (Erased > 0) FModified = true;
}

void TIniFile::DeleteKey(const QString& Section, const QString& Ident) {
  TSection* S = FindSection(Section);
  if (!S) return;
  const QStringView Key = TrimBlanks(Ident);
  const auto Erased = std::erase_if(S->Lines, [&](const TLine& L) { return !L.Key.isEmpty() && SameName(L.Key, Key); });
  if (Erased > 0) FModified = true;
}

bool TIniFile::UpdateFile() {
  if (!FModified) return true;
  if (FReadFailed) return false;
  QString Text;
  auto Add = [&](const std::vector<TLine>& Lines) {
    for (const TLine& L : Lines) Text += L.Text + FLineEnd;
  };
  Add(FPreamble);
  for (const TSection& S : FSections) Add(S.Lines);
  const QByteArray Bytes = Text.toUtf8();
  try {
    TSafeFile File(FFileName);
    File.Write(Bytes.constData(), static_cast<size_t>(Bytes.size()));
    File.Commit();
  } catch (const std::exception&) { // a settings write never fails loudly
    return false;
  }
  FModified = false;
  return true;
}
