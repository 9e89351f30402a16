#pragma once

#include <QByteArray>
#include <QSaveFile>
#include <QString>

#include <memory>

// Files of the note folder are written whole or not at all, and only the user
// may read them: a temporary file beside the target (mode 0600) that replaces
// the target on commit, after it has been flushed to disk.
namespace storage {

// EInOutError with the system's reason when the temporary file cannot be made.
std::unique_ptr<QSaveFile> openPrivateSaveFile(const QString &path);

// Puts the written content in place; EInOutError with the system's reason
// when that fails, the old file then being untouched.
void commitSaveFile(QSaveFile &file);

// Writes bytes to a file in one go, in the same way (for the body file).
void writePrivateFile(const QString &path, const QByteArray &bytes);

// Writes into an open save file; EInOutError with the system's reason.
void writeToSaveFile(QSaveFile &file, const QByteArray &bytes);

} // namespace storage
