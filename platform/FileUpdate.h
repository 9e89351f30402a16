#pragma once

#include <QByteArray>
#include <QFileDevice>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class QFile;

namespace platform {

// New contents for a file, computed from its current bytes (nullopt when the
// file does not exist yet). Returning nullopt leaves the file as it is.
using FileChange = std::function<std::optional<QByteArray>(const std::optional<QByteArray> &)>;

// Reads, changes and rewrites a file as one step against other processes:
// under a lock file beside it ("<path>.lock"), the new bytes go to a temporary
// file in the same folder, are flushed to disk and renamed over the old file,
// so neither a second writer nor a crash can leave a torn or half-merged file.
// A missing parent folder is created private to the user (0700).
// Throws EInOutError when the lock cannot be had in time, the file cannot
// be read or written, or the new contents would be larger than
// kMaxSettingsFileBytes (so it could not be read again); the old file is
// then left whole.
void updateFile(const QString &path, QFileDevice::Permissions permissions,
                const FileChange &change);

// What a read does with a symbolic link standing at the path itself (links
// further up the path are always followed).
enum class LinkPolicy {
    Follow, // the user's own files: a dotfile may well be a link
    Refuse, // a private store: nothing in it may lead outside
};

// Opens an existing file for reading after looking at what it is, so only a
// regular file is ever opened: a FIFO would wait for a writer for good, a
// device may never end (and opening some has effects of its own), and with
// LinkPolicy::Refuse a link is not followed either. nullptr when nothing is
// there; EInOutError naming the file when it is something else or cannot be
// opened.
std::unique_ptr<QFile> openRegularFile(const QString &path, LinkPolicy links);

// Reads a whole file as openRegularFile() opens it: nullopt when it does not
// exist; throws EInOutError naming the file when it is no regular file,
// cannot be read, or is larger than maxBytes (told by its size, without
// reading it).
std::optional<QByteArray> readExistingFile(const QString &path, qint64 maxBytes,
                                           LinkPolicy links = LinkPolicy::Follow);

// Files the program reads in whole are settings-sized; anything larger is not
// one of ours and is left alone rather than loaded into memory.
inline constexpr qint64 kMaxSettingsFileBytes = 16 * 1024 * 1024;

// Seams for tests that must stop a write half-way or make a lock wait short.
namespace testhooks {
// Called after the new contents are flushed, before they replace the file.
void setBeforeReplace(void (*hook)());
void setLockTimeoutMs(int milliseconds);
} // namespace testhooks

} // namespace platform
