#pragma once

#include <QByteArray>
#include <QString>

// Files of the note folder are written whole or not at all, and only the user
// may read them.
namespace storage {

// Puts bytes in place as the file's whole content: a temporary file beside
// the target (mode 0600), flushed to disk, then renamed over the old file.
// Never writes through a symbolic link: a link at the path is replaced by
// the file, and what it pointed to is left as it was.
// A file that already holds exactly these bytes, private to the user, is left
// as it is: most saves (at exit, on deactivation) find nothing changed, and a
// flush per unchanged file would make them cost the disk's latency each.
// EInOutError naming the file and the system's reason when it fails; the old
// file is then untouched.
void writePrivateFile(const QString &path, const QByteArray &bytes);

} // namespace storage
