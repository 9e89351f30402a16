#pragma once

#include <QString>

namespace settings {

// Writes what every start leaves in the registry, so other tools can find
// the program and its settings: under "Software\Harvel" the value
// "Vesk Jotlet 2003" pointing at the settings key, and in the settings key
// "Path" (the executable's folder), "Filename", "Version" ("1.9.5"); it
// also makes sure "AboutBox" holds a boolean (false when it does not). All
// in one step: a second instance sees all of them or none. Keys that cannot
// be opened are skipped; a refused write raises platform::ERegistryError.
void writeStartupValues(const QString &executablePath);

// Whether the first-run language prompt is due: "FirstRun" read with the
// default true, except where the registry file is damaged (see
// platform::registryFileDamaged) and the value cannot be read there: an
// account whose settings file took damage has had its first run, so the
// value is then false (and stored so, where the file takes it).
bool firstRunDue();

} // namespace settings
