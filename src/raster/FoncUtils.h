// General helpers the whole program shares, with nothing to do with pixels:
// the desktop and the shell, folders, file names, texts for menus and labels,
// clamped number parsing, colours as text, byte sizes as text and small plane
// geometry. Stateless free routines. Depends on platform, i18n (the byte-size
// words) and QtCore/QtGui; the helpers over widgets are in raster/ui/FoncUtils.h.
#pragma once

#include "platform/Colors.h"
#include "platform/Types.h"

#include <QString>

class QDateTime;

#include <cstdint>

// Files, folders and the shell. Paths use "/" as their delimiter.

// Opens FileName the way the desktop does: a program is started with Params
// (split like a command line), a document or a web address goes to its
// associated program (Params then has no meaning). Does not wait; true when
// the start succeeded.
bool ShellOpen(const QString& FileName, const QString& Params);
// SubFolder inside the per-user configuration folder, with a trailing
// delimiter, created when missing; the program's folder when it cannot be.
QString UserDataFolder(const QString& SubFolder);
// The user's documents folder with a trailing delimiter when it exists, else
// the program's folder.
QString DocumentsFolder();
// The file's size in bytes, -1 when it cannot be opened for reading.
int64_t FileSizeOf(const QString& FileName);
// The file-name part of FileName placed in Folder (unchanged when Folder is
// empty); empty for an empty FileName.
QString ChangeFileFolder(const QString& FileName, const QString& Folder);
QString AddPathDelimiter(const QString& Path);
// The file-name part of Path without its extension.
QString FileNameWithoutExt(const QString& Path);
// The folder macro "%lmsdir%" stands for the program folder ProgramDir
// (without its trailing delimiter) in the file names that settings and
// layered files keep, so that they survive a move of the program. Encode
// puts it in place of a leading ProgramDir followed by a delimiter; Expand
// replaces every occurrence, whatever its case.
QString EncodeFolderMacro(const QString& Path, const QString& ProgramDir);
QString ExpandFolderMacro(const QString& Path, const QString& ProgramDir);
// Moves FileName to the desktop's trash; true on success. The trash never
// asks, so Confirm has no effect here: callers that want a question ask it.
bool DeleteToRecycleBin(const QString& FileName, bool Confirm);

// Texts.

// The first "&" removed, then a trailing "...", then a trailing ":", then
// blanks trimmed at both ends.
QString CleanMenuCaption(const QString& Caption);
// The caption cleaned, its first letter upper-cased when it is an ASCII
// lower-case letter, then styled: Kind 0 " text ", 1 "text...", 2 "text :",
// 3 "- text", other kinds as is. An empty cleaned caption gives "" for every
// kind.
QString FormatCaption(const QString& Caption, int Kind);
QString ControlCharsToSpaces(const QString& Text);
QString EscapeAmpersands(const QString& Text);
// Text when it has at most N characters; else its first N - 3 and "...".
QString EllipsisEnd(const QString& Text, int N);
// Text when it has at most N characters; else the first (N - 3) / 2, "..."
// and the end (N + 1 characters in all).
QString EllipsisMiddle(const QString& Text, int N);
// Text without the first occurrence of Sub.
QString RemoveSubstring(const QString& Sub, const QString& Text, bool IgnoreCase);
// The integer in Text (decimal, or hexadecimal after "$" or "0x"), Default
// when there is none; then raised to Min, else lowered to Max.
int StrToIntRange(const QString& Text, int Default, int Min, int Max);
// The number in Text in the user's locale, Default when there is none; then
// limited like StrToIntRange.
double StrToFloatRange(const QString& Text, double Default, double Min, double Max);
// "1 octet", "1023 octets", "2 Ko", "1,50 Mo" ...: units of 1024, the words
// translatable; Whole rounds to a whole number, else two decimals.
QString FormatByteSize(int64_t Size, bool Whole);
// A file's date in the translatable file-date format; when that is empty,
// the locale's short date and short time joined by a blank.
QString FileDateText(const QDateTime& Date);

// Colours as text.

// A colour name ("clRed", "clBtnFace", case ignored) or six hexadecimal digits
// after an optional "#" or "$": RRGGBB with HtmlOrder, else BBGGRR. Default
// for anything else.
TColor TextToColor(const QString& Text, TColor Default, bool HtmlOrder);
// "#RRGGBB" with HtmlOrder, else "$BBGGRR", of the resolved colour.
QString ColorToText(TColor Color, bool HtmlOrder);

// Plane geometry.

// W x H scaled to touch MaxW or MaxH, keeping its aspect (small sizes grow);
// nothing when any of the four is 0 or less.
void FitSize(int& W, int& H, int MaxW, int MaxH);
bool PointsEqual(TPoint P1, TPoint P2);
// The integer square root of the squared distance: twelve Newton steps from
// (S + 1) / 2, as it always was (short distances keep their values, S = k * k
// - 1 giving k or k - 1), then in 64 bits as many more as a long distance
// needs to be exact. Saturates at INT_MAX. The grey masks' distance is this
// routine too.
int IntDistance(int X1, int Y1, int X2, int Y2);
double FloatDistance(double X1, double Y1, double X2, double Y2);
// The distance from P to the segment AB, its ends included.
double DistanceToSegment(int PX, int PY, int AX, int AY, int BX, int BY);
// The angle from line P1P2 to line P3P4 in radians (Y up), -2 pi .. 2 pi.
double AngleBetweenLines(TPoint P1, TPoint P2, TPoint P3, TPoint P4);
// A point on the bisector of the angle at V between the rays to A and B.
TPoint BisectorPoint(TPoint V, TPoint A, TPoint B);
// The intersection of line (X1, Y1)-(X2, Y2) with line (X3, Y3)-(X4, Y4);
// false, with X and Y untouched, for parallel lines.
bool LineIntersection(double X1, double Y1, double X2, double Y2, double X3, double Y3, double X4, double Y4, double& X,
                      double& Y);
