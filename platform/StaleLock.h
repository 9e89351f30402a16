#pragma once

#include <QLockFile>
#include <QString>

namespace platform {

// A process killed (or a power cut) between creating a lock file and writing
// its owner into it leaves a file no owner can be read from. QLockFile takes
// such a file for held until it is old enough, or for ever with a stale time
// of 0, which would keep the settings or the whole program locked out.
// Removes the lock file when it names no owner and is older than a moment
// (a live process may be writing it right now). True when it removed it.
bool removeOwnerlessLock(QLockFile &lock, const QString &lockPath);

} // namespace platform
