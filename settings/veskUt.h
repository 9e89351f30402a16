#pragma once

#include <QString>

// The settings store: named values in the settings key of the user's
// registry. Nothing is cached; every call opens the key, reads or writes one
// value and closes it, so a value written anywhere is seen by the next read.
// A read stores the caller's default when the value is missing, an empty
// text or of another type. Names ignore ASCII letter case ("Title" and
// "title" are one value). When the key cannot be opened, reads give their
// default and writes do nothing; a write the registry refuses raises
// platform::ERegistryError ("Failed to set data for '<name>'").
//
// The program names its settings through the table in settings/SettingsTable.h,
// which is built on these.

namespace settings {

// "Software\Harvel\Vesk Jotlet 2003\1.9.5", below HKEY_CURRENT_USER.
QString settingsKeyPath();

} // namespace settings

QString readRegString(const QString &name, const QString &defaultValue);
qint32 readRegInt(const QString &name, qint32 defaultValue);
// Any non-zero number reads as true.
bool readRegBool(const QString &name, bool defaultValue);

void writeRegString(const QString &name, const QString &value);
void writeRegInt(const QString &name, qint32 value);
// Stored as the integer 1 or 0.
void writeRegBool(const QString &name, bool value);
