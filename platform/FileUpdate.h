#pragma once

#include <QByteArray>
#include <QFileDevice>
#include <QString>

#include <functional>
#include <optional>

namespace platform {

// New contents for a file, computed from its current bytes (nullopt when the
// file does not exist yet). Returning nullopt leaves the file as it is.
using FileChange = std::function<std::optional<QByteArray>(const std::optional<QByteArray> &)>;

// Reads, changes and rewrites a file as one step against other processes:
// under a lock file beside it ("<path>.lock"), the new bytes go to a temporary
// file in the same folder, are flushed to disk and renamed over the old file,
// so neither a second writer nor a crash can leave a torn or half-merged file.
// A missing parent folder is created private to the user (0700).
// Throws EInOutError when the lock cannot be had in time or the file cannot
// be read or written; the old file is then left whole.
void updateFile(const QString &path, QFileDevice::Permissions permissions,
                const FileChange &change);

// Reads a whole file: nullopt when it does not exist; throws EInOutError when
// it exists but cannot be read or is larger than maxBytes.
std::optional<QByteArray> readExistingFile(const QString &path, qint64 maxBytes);

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
