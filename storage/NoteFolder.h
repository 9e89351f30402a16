#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// Where notes live: one folder per user, one pair of files per note, a
// decimal number + ".jtl" (the fields) and the same name + "2" (the body).
namespace storage {

// $XDG_DATA_HOME (by default ~/.local/share) + "/Jotlet light cache".
QString noteFolderPath();

// Creates the note folder, with any missing parent, mode 0700 for each folder
// made here; returns its path. A folder already there is made 0700 when it
// is the user's, and refused when it belongs to another user (or is no
// folder): EInOutError with a message saying so, or the system's reason.
QString ensureNoteFolder();

// Whether anything stands at the path, a symbolic link included (even one
// that leads nowhere).
bool entryExists(const QString &path);

// A uniform draw from 0 to bound - 1.
using RandomBelow = std::function<int(int bound)>;

// A new note file name: r1 * r2 + r3 + ".jtl" from three draws of 0..29999,
// drawn again while anything stands under that name or its companion's in
// the folder (an orphaned body file or a link is not replaced either). The
// default draws come from the system's random generator.
QString newNoteFileName(const QString &folder, const RandomBelow &random = {});

// The body file beside a note file: its path with "2" appended.
QString companionPath(const QString &notePath);

// Removes a discarded note's file and then its companion. A file that is not
// there is no error; one that cannot be removed raises EInOutError with the
// system's reason.
void deleteNoteFiles(const QString &notePath);

// The names (not paths) of the note files in a folder, sorted: "*.jtl", as
// case-sensitive as the file system, leaving out every name that holds
// ".jtl2" anywhere (in any case), since those are body files or copies of them.
// Links, FIFOs, sockets and devices are listed too (loading refuses each by
// name); folders are not.
QStringList listNoteFiles(const QString &folder);

} // namespace storage
