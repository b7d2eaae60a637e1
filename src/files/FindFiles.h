// File search: the files of a folder (and optionally of its subfolders) that
// match a list of masks, as a sorted list or one by one to a callback that can
// stop the search. Depends on QtCore only; used by the image browser, the
// module and language-module loaders and the tool palette.
//
// Masks are separated by ';' ("*.jpg;*.png"); blanks in them are ignored. A
// file matches a mask when its name matches the mask's wildcards and its
// extension equals the mask's, both without regard to case; a mask whose
// extension is "*" therefore matches nothing. Hidden (dot) files are found;
// folders whose name begins with '.' are not entered. Special files (FIFOs,
// sockets, devices, broken links) are never listed: reading one could block.
// A folder reached twice through symbolic links is searched once, so link
// cycles end. Searches run on the interface thread; a callback may start a
// search of its own.
#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// Called with the folder (ending with '/') and the file's name; false stops
// the whole search.
using TFindFilesCallback = std::function<bool(const QString& Folder, const QString& FileName)>;

// The full names found, sorted and without duplicates, both without regard to
// case; none when the search failed.
std::optional<QStringList> FindFiles(const QString& Folder, const QString& Masks, bool Recurse);
// A folder's files come mask by mask, each mask's in the order the system
// lists them, and its subfolders after its files. Exceptions of the callback
// pass to the caller.
void FindFilesCallback(const QString& Folder, const QString& Masks, bool Recurse, const TFindFilesCallback& Callback);
// Ends the running search at its next test (from inside a callback).
void AbortFindFiles();
