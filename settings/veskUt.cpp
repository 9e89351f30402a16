#include "settings/veskUt.h"

#include "platform/Product.h"
#include "platform/Registry.h"

using platform::RegistryKey;
using platform::RegValue;
using settings::settingsKeyPath;

namespace {

void writeValue(const QString &name, const RegValue &value)
{
    platform::RegistryEdit edit;
    edit.setValue(settingsKeyPath(), name, value);
    edit.commit();
}

} // namespace

QString settings::settingsKeyPath()
{
    return QStringLiteral("Software\\%1\\%2\\%3")
        .arg(QLatin1String(product::kMaker), QLatin1String(product::kName),
             QLatin1String(product::kKeyVersion));
}

QString readRegString(const QString &name, const QString &defaultValue)
{
    RegistryKey key(settingsKeyPath());
    if (!key.isOpen())
        return defaultValue;
    const std::optional<RegValue> stored = key.value(name);
    if (stored && stored->isText() && !stored->text().isEmpty())
        return stored->text();
    key.setValue(name, RegValue::fromText(defaultValue));
    return defaultValue;
}

qint32 readRegInt(const QString &name, qint32 defaultValue)
{
    RegistryKey key(settingsKeyPath());
    if (!key.isOpen())
        return defaultValue;
    const std::optional<RegValue> stored = key.value(name);
    if (stored && stored->isDWord())
        return stored->dword();
    key.setValue(name, RegValue::fromDWord(defaultValue));
    return defaultValue;
}

bool readRegBool(const QString &name, bool defaultValue)
{
    return readRegInt(name, defaultValue ? 1 : 0) != 0;
}

void writeRegString(const QString &name, const QString &value)
{
    writeValue(name, RegValue::fromText(value));
}

void writeRegInt(const QString &name, qint32 value)
{
    writeValue(name, RegValue::fromDWord(value));
}

void writeRegBool(const QString &name, bool value)
{
    writeValue(name, RegValue::fromDWord(value ? 1 : 0));
}
