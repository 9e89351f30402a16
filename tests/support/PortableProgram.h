#pragma once

// For tests that run the real program as a process. Include only where
// JOTLETLIGHT_PATH names its executable.
#include "platform/Paths.h"
#include "settings/veskUt.h"
#include "storage/NoteFolder.h"
#include "support/TempHome.h"

#include <QDir>
#include <QFile>
#include <QString>

namespace testsupport {

// A fresh account (no settings, no notes) and a portable copy of the program:
// its own folder with the English language files, so a welcome note put
// there is the test's. Neither the first-run prompt nor the missing-tray
// notice shows: nobody is there to answer them. Returns the copy's path, or
// an empty string when it could not be made.
inline QString makePortableProgram()
{
    QFile::remove(platform::registryFile());
    QDir(storage::noteFolderPath()).removeRecursively();
    const QString folder = freshDir(QStringLiteral("portable"));
    QDir(folder).mkdir(QStringLiteral("language"));
    const QString english = QStringLiteral(JL_TEST_SOURCE_DIR "/resources/language/english.lng");
    QFile::copy(english, folder + QStringLiteral("/default.lng"));
    QFile::copy(english, folder + QStringLiteral("/language/english.lng"));
    const QString executable = folder + QStringLiteral("/jotletlight");
    if (!QFile::copy(QStringLiteral(JOTLETLIGHT_PATH), executable))
        return QString();
    writeRegBool(QStringLiteral("FirstRun"), false);
    writeRegBool(QStringLiteral("NoTrayNoticeShown"), true);
    return executable;
}

} // namespace testsupport
