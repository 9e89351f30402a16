#pragma once

#include "platform/Errors.h"
#include "platform/RegDocument.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

namespace platform {

// A write the registry refused ("Failed to set data for 'width'").
class ERegistryError : public Error
{
public:
    using Error::Error;
};

// The user's registry (HKEY_CURRENT_USER), kept in a registry export file.
// Like a key handle of the real registry, each operation sees the file as it
// is now (a parsed file is kept only while the file stays unchanged) or
// changes it in one locked, atomic step, so values written by another
// instance are seen at once and never lost.
class RegistryKey
{
public:
    // Opens the key (path below HKEY_CURRENT_USER, e.g. "Software\Harvel"),
    // creating it and its parents. The key stays closed when the path is not a
    // valid key path, when the file exists but cannot be read as a registry
    // file (it is then left alone for the user), or when creating it failed.
    explicit RegistryKey(const QString &keyPath, const QString &registryFile);
    // The same in the user's own registry file.
    explicit RegistryKey(const QString &keyPath);

    bool isOpen() const { return m_open; }

    // The value with its type; nullopt when absent or the key is closed.
    std::optional<RegValue> value(const QString &name) const;
    // Sets the value, replacing any value of that name of whatever type.
    // Does nothing on a closed key; raises ERegistryError when the file
    // cannot be changed.
    void setValue(const QString &name, const RegValue &value);
    // Deletes the value; false when it was not there or the key is closed.
    // Raises ERegistryError when the file cannot be changed.
    bool deleteValue(const QString &name);

private:
    // The file as a document; null when it cannot be read.
    std::shared_ptr<const RegDocument> load() const;
    // Applies an edit under the lock; the edit returns whether it changed anything.
    void update(const QString &failureMessage, const std::function<bool(RegDocument &)> &edit);

    QString m_file;
    QStringList m_key;
    bool m_open = false;
};

// Whether a registry file shows damage: it is there but cannot be read at
// all (no text, too large, no regular file), or some of its lines are no
// registry text (see RegDocument::isDamaged). A missing file is no damage.
bool registryFileDamaged(const QString &registryFile);

namespace testhooks {
// How long after its last change a registry file's parsed form may be kept.
void setRegistrySettledMs(qint64 milliseconds);
} // namespace testhooks

} // namespace platform
