#include "platform/Registry.h"

#include "platform/FileUpdate.h"
#include "platform/Paths.h"
#include "platform/TextFile.h"

#include <QFile>
#include <QMutex>

#include <algorithm>

#include <sys/stat.h>

namespace platform {
namespace {

constexpr QFileDevice::Permissions kPrivateFile = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

// Bytes of a file that is not ours to rewrite become an error the caller
// turns into its own message.
RegDocument documentOf(const std::optional<QByteArray> &bytes)
{
    if (!bytes)
        return RegDocument();
    // The program's own file, so NULs in it are damage to some lines, not a
    // sign of some other kind of file: every other line is still read.
    const std::optional<DecodedText> decoded = decodeTextFile(*bytes, NulBytes::Damage);
    if (!decoded)
        throw EInOutError(QStringLiteral("The registry file is not text"));
    return RegDocument::parse(decoded->text);
}

// One version of a file, told apart by its change time: every write, in
// place or by renaming a new file over it, sets that time to the moment of
// the write. Two writes within one tick of the file system's clock can share
// it, so only a version older than g_settledMs is kept: any later change
// then carries a later time (see readDocument).
struct FileVersion
{
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec changed {};

    bool operator==(const FileVersion &other) const
    {
        return device == other.device && inode == other.inode && size == other.size
            && changed.tv_sec == other.changed.tv_sec && changed.tv_nsec == other.changed.tv_nsec;
    }
};

// Longer than the coarsest file time stamps of Linux file systems (FAT's 2 s).
qint64 g_settledMs = 2500;

std::optional<FileVersion> versionOf(const QString &path)
{
    struct stat info = {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return std::nullopt;
    return FileVersion {info.st_dev, info.st_ino, info.st_size, info.st_ctim};
}

bool hasSettled(const FileVersion &version)
{
    timespec now {};
    clock_gettime(CLOCK_REALTIME, &now);
    const qint64 elapsedMs = (qint64(now.tv_sec) - qint64(version.changed.tv_sec)) * 1000
        + (qint64(now.tv_nsec) - qint64(version.changed.tv_nsec)) / 1000000;
    return elapsedMs > g_settledMs;
}

// Each value read used to read and parse the whole file again, and a new
// note reads some twenty settings: most of a start-up with many notes went
// there. The last document read is kept while its file is unchanged; a file
// changed in the last moments is read afresh each time. A change made while
// the file is read leaves a later version behind, so what was read is kept
// under the version seen before it and simply not found again.
std::shared_ptr<const RegDocument> readDocument(const QString &path)
{
    static QMutex mutex;
    static QString lastPath;
    static FileVersion lastVersion;
    static std::shared_ptr<const RegDocument> lastDocument;

    const QMutexLocker locker(&mutex);
    const std::optional<FileVersion> version = versionOf(path);
    if (version && lastDocument && lastPath == path && lastVersion == *version)
        return lastDocument;
    auto document = std::make_shared<const RegDocument>(
        documentOf(readExistingFile(path, kMaxSettingsFileBytes)));
    if (version && hasSettled(*version)) {
        lastPath = path;
        lastVersion = *version;
        lastDocument = document;
    }
    return document;
}

QString failedToSet(const QString &name)
{
    return QStringLiteral("Failed to set data for '%1'").arg(name);
}

} // namespace

RegistryKey::RegistryKey(const QString &keyPath)
    : RegistryKey(keyPath, registryFile())
{
}

RegistryKey::RegistryKey(const QString &keyPath, const QString &registryFile)
    : m_file(registryFile)
{
    const std::optional<QStringList> key = parseKeyPath(keyPath);
    if (!key)
        return;
    m_key = *key;
    const std::shared_ptr<const RegDocument> document = load();
    if (!document)
        return;
    if (document->hasKey(m_key)) {
        m_open = true;
        return;
    }
    try {
        updateFile(m_file, kPrivateFile, [this](const std::optional<QByteArray> &bytes) {
            RegDocument current = documentOf(bytes);
            if (current.hasKey(m_key))
                return std::optional<QByteArray>();
            current.createKey(m_key);
            return std::optional<QByteArray>(current.toText().toUtf8());
        });
        m_open = true;
    } catch (const Error &) {
        // As with the real registry: a key that cannot be created stays closed.
    }
}

std::shared_ptr<const RegDocument> RegistryKey::load() const
{
    try {
        return readDocument(m_file);
    } catch (const Error &) {
        return nullptr;
    }
}

std::optional<RegValue> RegistryKey::value(const QString &name) const
{
    if (!m_open)
        return std::nullopt;
    const std::shared_ptr<const RegDocument> document = load();
    return document ? document->value(m_key, name) : std::nullopt;
}

void RegistryKey::update(const QString &failureMessage,
                         const std::function<bool(RegDocument &)> &edit)
{
    try {
        updateFile(m_file, kPrivateFile, [&edit](const std::optional<QByteArray> &bytes) {
            RegDocument document = documentOf(bytes);
            if (!edit(document))
                return std::optional<QByteArray>();
            return std::optional<QByteArray>(document.toText().toUtf8());
        });
    } catch (const ERegistryError &) {
        throw;
    } catch (const Error &) {
        throw ERegistryError(failureMessage);
    }
}

void RegistryKey::setValue(const QString &name, const RegValue &value)
{
    if (!m_open)
        return;
    const QString failure = failedToSet(name);
    update(failure, [&](RegDocument &document) {
        if (!document.setValue(m_key, name, value))
            throw ERegistryError(failure);
        return true;
    });
}

bool RegistryKey::deleteValue(const QString &name)
{
    if (!m_open)
        return false;
    bool removed = false;
    update(QStringLiteral("Failed to delete data for '%1'").arg(name), [&](RegDocument &document) {
        removed = document.removeValue(m_key, name);
        return removed;
    });
    return removed;
}

RegistryEdit::RegistryEdit(QString registryFile)
    : m_file(std::move(registryFile))
{
}

RegistryEdit::RegistryEdit()
    : RegistryEdit(registryFile())
{
}

void RegistryEdit::setValue(const QString &keyPath, const QString &name, const RegValue &value)
{
    setValueUnless(keyPath, name, value, nullptr);
}

void RegistryEdit::setValueUnless(const QString &keyPath, const QString &name,
                                  const RegValue &value, Keep keep)
{
    // A path no key can have is a closed key: its value goes nowhere.
    if (const std::optional<QStringList> key = parseKeyPath(keyPath))
        m_changes.push_back({*key, name, value, std::move(keep)});
}

void RegistryEdit::commit()
{
    if (m_changes.empty())
        return;
    try {
        updateFile(m_file, kPrivateFile, [this](const std::optional<QByteArray> &bytes) {
            RegDocument document;
            try {
                document = documentOf(bytes);
            } catch (const EInOutError &) {
                // Not ours to rewrite: every key in it stays closed.
                return std::optional<QByteArray>();
            }
            for (const Change &change : m_changes) {
                // Opening a key creates it, whatever happens to the value.
                document.createKey(change.key);
                if (change.keep && change.keep(document.value(change.key, change.name)))
                    continue;
                if (!document.setValue(change.key, change.name, change.value))
                    throw ERegistryError(failedToSet(change.name));
            }
            return std::optional<QByteArray>(document.toText().toUtf8());
        });
    } catch (const ERegistryError &) {
        throw;
    } catch (const Error &) {
        if (!failsSilently())
            throw ERegistryError(failedToSet(m_changes.front().name));
    }
    m_changes.clear();
}

bool RegistryEdit::failsSilently() const
{
    std::shared_ptr<const RegDocument> document;
    try {
        document = readDocument(m_file);
    } catch (const Error &) {
        return true;
    }
    return std::none_of(m_changes.begin(), m_changes.end(),
                        [&](const Change &change) { return document->hasKey(change.key); });
}

bool registryFileDamaged(const QString &registryFile)
{
    try {
        return readDocument(registryFile)->isDamaged();
    } catch (const Error &) {
        return true;
    }
}

namespace testhooks {

void setRegistrySettledMs(qint64 milliseconds)
{
    g_settledMs = milliseconds;
}

} // namespace testhooks

} // namespace platform
