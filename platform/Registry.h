#pragma once

#include "platform/Errors.h"
#include "platform/RegDocument.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

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

// Changes made by one user action, stored together. Nothing is written until
// commit(), which takes the lock once, reads and parses the file once, applies
// every change in order and replaces the file in one atomic step: another
// process sees the file as it was before or after, never in between. Each
// key a change names is opened (created) as RegistryKey opens it, so what a
// closed key does for one value it does for the edit: the changes are dropped
// without a word when the file cannot be read as a registry file, or when none
// of their keys existed yet and they could not be created.
class RegistryEdit
{
public:
    explicit RegistryEdit(QString registryFile);
    // The same in the user's own registry file.
    RegistryEdit();

    // Sets the value (keyPath as for RegistryKey), replacing any value of
    // that name of whatever type.
    void setValue(const QString &keyPath, const QString &name, const RegValue &value);
    // The same, unless the value stored at commit passes keep: a read that
    // stores its default where the stored value is of no use.
    using Keep = std::function<bool(const std::optional<RegValue> &)>;
    void setValueUnless(const QString &keyPath, const QString &name, const RegValue &value,
                        Keep keep);

    // Stores the changes. A refusal raises ERegistryError naming the value
    // that was refused, or the first value when the file could not be
    // changed at all; the file is then left as it was.
    void commit();

private:
    struct Change
    {
        QStringList key;
        QString name;
        RegValue value;
        Keep keep;
    };

    // Whether a failed commit is one a closed key swallows.
    bool failsSilently() const;

    QString m_file;
    std::vector<Change> m_changes;
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
