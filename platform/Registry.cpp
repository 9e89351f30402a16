#include "platform/Registry.h"

#include "platform/FileUpdate.h"
#include "platform/Paths.h"
#include "platform/TextFile.h"

namespace platform {
namespace {

constexpr QFileDevice::Permissions kPrivateFile = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

// Bytes of a file that is not ours to rewrite become an error the caller
// turns into its own message.
RegDocument documentOf(const std::optional<QByteArray> &bytes)
{
    if (!bytes)
        return RegDocument();
    const std::optional<DecodedText> decoded = decodeTextFile(*bytes);
    if (!decoded)
        throw EInOutError(QStringLiteral("The registry file is not text"));
    return RegDocument::parse(decoded->text);
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
    const std::optional<RegDocument> document = load();
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

std::optional<RegDocument> RegistryKey::load() const
{
    try {
        return documentOf(readExistingFile(m_file, kMaxSettingsFileBytes));
    } catch (const Error &) {
        return std::nullopt;
    }
}

std::optional<RegValue> RegistryKey::value(const QString &name) const
{
    if (!m_open)
        return std::nullopt;
    const std::optional<RegDocument> document = load();
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
    const QString failure = QStringLiteral("Failed to set data for '%1'").arg(name);
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

} // namespace platform
