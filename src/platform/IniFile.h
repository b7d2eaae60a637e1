// TIniFile: a settings file in the platform's ini format with the platform's
// profile semantics. Depends on the safe file writer and the number texts of
// platform, QtCore; used by the main settings and the dialogs' settings.
//
// Reading follows the platform's profile functions:
// - sections and keys are found without regard to case; when a name occurs
//   twice, the first occurrence counts; lines before the first section and
//   lines starting with ";" are not keys;
// - a key's value is the text after the first "=", blanks around it removed,
//   then one pair of enclosing double or single quotes removed (so quoted
//   text keeps its blanks); commas are not separators;
// - lines end with LF or CR LF; the text is UTF-8 (with or without a byte
//   order mark), UTF-16 with a byte order mark, or else Windows-1252;
// - a missing key gives the caller's default; a present key with an empty
//   value gives the empty text; a missing or unreadable file reads as empty.
//
// Writing changes the file as little as it can: a new value replaces the
// first occurrence of its key in place, a new key goes after the last line of
// its section, a new section goes at the end of the file; comments, other
// lines and the file's line ends are kept. A value holding a line break (or
// starting with the escape mark "\:") is written escaped: "\:" followed by
// the text with "\" as "\\", CR as "\r" and LF as "\n"; reading turns it back.
// A value with blanks at either end is written in double quotes, so that it
// reads back whole. Any other value is written as given, so a value in
// quotes reads back as the platform reads it.
//
// Changes are kept in memory and written by UpdateFile and by the destructor,
// through a temporary file renamed over the old one, so the file is never
// seen half-written. Write errors are swallowed, as settings writes are: the
// destructor drops them, UpdateFile reports them as false. A file that exists
// but could not be read is never overwritten.
#pragma once

#include <QString>
#include <QStringList>

#include <vector>

class TIniFile {
public:
  explicit TIniFile(const QString& FileName);
  ~TIniFile();
  TIniFile(const TIniFile&) = delete;
  TIniFile& operator=(const TIniFile&) = delete;

  const QString& FileName() const { return FFileName; }

  QString ReadString(const QString& Section, const QString& Ident, const QString& Default) const;
  void WriteString(const QString& Section, const QString& Ident, const QString& Value);
  // Decimal, "$" or "0x" hexadecimal; Default when absent or not a number.
  int ReadInteger(const QString& Section, const QString& Ident, int Default) const;
  void WriteInteger(const QString& Section, const QString& Ident, int Value);
  // A switch: an integer other than 0 is true; Default when absent or not an
  // integer. Written "1" or "0".
  bool ReadBool(const QString& Section, const QString& Ident, bool Default) const;
  void WriteBool(const QString& Section, const QString& Ident, bool Value);
  // Written in the locale's form (FloatToStr); read with ".", "," or the
  // locale's separator, so a file written under another locale still reads.
  double ReadFloat(const QString& Section, const QString& Ident, double Default) const;
  void WriteFloat(const QString& Section, const QString& Ident, double Value);

  // The key names of a section in file order (Strings is cleared first).
  void ReadSection(const QString& Section, QStringList& Strings) const;
  // The section names in file order, each once.
  void ReadSections(QStringList& Strings) const;
  // "key=value" for every key of a section, values as ReadString gives them.
  void ReadSectionValues(const QString& Section, QStringList& Strings) const;
  bool SectionExists(const QString& Section) const;
  bool ValueExists(const QString& Section, const QString& Ident) const;
  // Removes every section of that name with its lines.
  void EraseSection(const QString& Section);
  // Removes the key (every line of that name in the section).
  void DeleteKey(const QString& Section, const QString& Ident);

  // Writes the pending changes; true when there were none or they were
  // written.
  bool UpdateFile();
  bool Modified() const { return FModified; }

private:
  struct TLine {
    QString Text;  // the line as it stands in the file
    QString Key;   // trimmed key name; empty for other lines
    QString Value; // the raw value text after "="
  };
  struct TSection {
    QString Name;
    std::vector<TLine> Lines; // the header line first
  };

  void Load();
  TSection* FindSection(const QString& Section);
  const TSection* FindSection(const QString& Section) const;
  const TLine* FindKey(const QString& Section, const QString& Ident) const;

  QString FFileName;
  std::vector<TLine> FPreamble; // lines before the first section
  std::vector<TSection> FSections;
  QString FLineEnd = QStringLiteral("\n");
  bool FModified = false;
  bool FReadFailed = false;
};
