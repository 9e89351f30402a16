#pragma once

#include <QString>

// Writes what every start leaves in the registry, so other tools can find
// the program and its settings: under "Software\Harvel" the value
// "Vesk Jotlet 2003" pointing at the settings key, and in the settings key
// "Path" (the executable's folder), "Filename", "Version" ("1.9.5"); it
// also makes sure "AboutBox" holds a boolean (false when it does not).
// Keys that cannot be opened are skipped; a refused write raises
// platform::ERegistryError.
void writeStartupValues(const QString &executablePath);
