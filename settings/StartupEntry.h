#pragma once

#include <QString>

namespace settings {

// The program's entry in the session's autostart folder
// ($XDG_CONFIG_HOME/autostart/VeskJotlet1.9.5.desktop), which starts it when
// the user logs on.

// True when the entry starts the program: the file exists with a non-empty
// Exec and is not switched off (Hidden=true or X-GNOME-Autostart-enabled=false,
// as the desktop's own start-up settings leave it). Raises EInOutError when
// the file exists but cannot be read or is not text.
bool readStartupEntry();

// Writes the entry for the executable, replacing the file in one step.
// Raises EInOutError when it cannot be written; the old file is then whole.
void writeStartupEntry(const QString &executablePath);

// Removes the entry; nothing happens when there is none. Raises EInOutError
// when the file stays.
void deleteStartupEntry();

// The executable path as one quoted argument of a desktop entry's Exec key.
QString quotedExecArgument(const QString &executablePath);

} // namespace settings
