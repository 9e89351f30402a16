#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

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

// Which file stands at a path, to tell whether someone else has written it
// since: a new file (every save renames one into place) or one changed in
// place shows as another identity.
struct FileIdentity
{
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = 0;
    qint64 modifiedNs = 0;
    qint64 changedNs = 0;
    bool regular = false; // a plain file, not a link, folder or device

    friend bool operator==(const FileIdentity &a, const FileIdentity &b)
    {
        return a.device == b.device && a.inode == b.inode && a.size == b.size
            && a.modifiedNs == b.modifiedNs && a.changedNs == b.changedNs && a.regular == b.regular;
    }
    friend bool operator!=(const FileIdentity &a, const FileIdentity &b) { return !(a == b); }
};

// The entry at the path itself (a link is not followed); nothing when there
// is none.
std::optional<FileIdentity> fileIdentity(const QString &path);

// A note's file and its body file.
struct PairIdentity
{
    std::optional<FileIdentity> record;
    std::optional<FileIdentity> body;

    bool exists() const { return record || body; }
    // Another version of a note: its files there, and only plain files (a
    // link or a folder in a note's place is nobody's version of it).
    bool isVersion() const
    {
        return exists() && (!record || record->regular) && (!body || body->regular);
    }
    friend bool operator==(const PairIdentity &a, const PairIdentity &b)
    {
        return a.record == b.record && a.body == b.body;
    }
    friend bool operator!=(const PairIdentity &a, const PairIdentity &b) { return !(a == b); }
};
PairIdentity pairIdentity(const QString &notePath);

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
