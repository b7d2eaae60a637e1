// The program's own document types (layered images .lmi, selections .lms,
// vector paths .lmv) made known to the desktop, so that file managers show
// them as the program's and open them with it. On Linux a type is a MIME
// type, declared with the globs of its extensions in a shared-mime-info
// package, and opened by a desktop entry that the user's MIME defaults name:
//   ProgID "Lumaretique.Lmi"      -> MIME type "application/vnd.lumaretique.lmi"
//   .ext -> ProgID                -> glob "*.ext" -> that MIME type (package
//                                    "$XDG_DATA_HOME/mime/packages/lumaretique.xml")
//   ProgID\Shell\Open\Command     -> "$XDG_DATA_HOME/applications/lumaretique.desktop"
//                                    (Exec= the program, quoted, and %f), made
//                                    the types' default with xdg-mime
// Another program's claim on an extension is never removed: its package
// stays, ours outweighs it, and removing ours gives the extension back.
// There is no icon per type: the program ships no icon files.
// Depends on QtCore and the safe writer; used by the main window's start-up.
#pragma once

#include <QString>

#include <array>

struct TFileTypeRow {
  const char* ProgID;
  const char* Extensions; // without dots, several separated by ';'
  const char* IconIndex;
};

inline constexpr std::array<TFileTypeRow, 3> OwnFileTypes{{
    {"Lumaretique.Lmi", "lmi", "1"},
    {"Lumaretique.Lms", "lms", "2"},
    {"Lumaretique.Lmv", "lmv", "3"},
}};

// Every own ProgID (and so MIME type and desktop entry) contains it.
inline constexpr char OwnProgIDPrefix[] = "Lumaretique.";
inline constexpr char OwnDesktopEntry[] = "lumaretique.desktop";

// The program the desktop entry opens files with (the main window sets the
// executable's full name before registering).
void SetFileTypesExeName(const QString& ExeName);
QString FileTypesExeName();

// The MIME type that stands for a ProgID: "application/vnd." + lower case.
QString MimeTypeOfProgID(const QString& ProgID);

// Unless Force, nothing when "lmi" already maps to one of the program's
// types. Otherwise the package and the desktop entry are brought up to date
// (a file already holding the right bytes is left alone), and when either
// changed the desktop is told: update-mime-database, update-desktop-database
// and xdg-mime, each skipped when it is not installed. Errors are swallowed:
// start-up never fails because of them.
void RegisterFileTypes(bool Force);

// The MIME type the user's packages ($XDG_DATA_HOME/mime/packages/*.xml)
// give files of extension Ext (with or without its dot, any case): the glob
// of the highest weight, the first package in name order on a tie; '' when
// none declares it or on any error.
QString GetExtensionProgID(QString Ext);
bool IsOwnExtension(const QString& Ext);
// The name contains OwnProgIDPrefix, compared in lower case.
bool IsOwnProgID(const QString& ProgID);

// The text of the two files RegisterFileTypes writes.
QByteArray FileTypesMimePackage();
QByteArray FileTypesDesktopEntry();
// The folders they are written to (created when missing).
QString MimePackageFile();
QString DesktopEntryFile();
