#pragma once

#include <QString>

// Where the program finds its own files and keeps the user's. Everything
// follows the XDG rules, so tests and users can move it with XDG_CONFIG_HOME.
namespace platform {

// The program's folder (default.lng, language/, about.jtl, jotletlight.ico):
// the executable's folder when it holds a "language" folder (build tree,
// portable copy), else the installed data folder <prefix>/share/jotletlight.
QString programFolder();
// The same rule for a given executable folder.
QString programFolderFor(const QString &executableFolder);
// <prefix>/share/jotletlight of this build.
QString installedDataFolder();

// The "language" folder of the program's folder.
QString languageFolder();

// $XDG_CONFIG_HOME/Harvel (default ~/.config/Harvel).
QString configFolder();
// The registry file that stands in for HKEY_CURRENT_USER.
QString registryFile();
// "jotlig.ini", the options dialog's window placement.
QString windowPlacementFile();
// The user's own copy of the chosen language, written by the options dialog
// so that a read-only installation can still switch language.
QString userLanguageFile();
// The language file the program starts with: the user's copy when there is
// a readable one, else the program folder's "default.lng".
QString activeLanguageFile();
// The same rule for a given program folder.
QString activeLanguageFileIn(const QString &programFolder);

// The absolute path with every symbolic link resolved, also where its end
// does not exist yet (the part that exists is resolved, the rest kept): two
// paths that lead to one folder give the same text.
QString realPath(const QString &path);

// $XDG_CONFIG_HOME/autostart/VeskJotlet1.9.5.desktop: its presence with a
// non-empty Exec starts the program with the session.
QString autostartFile();

} // namespace platform
