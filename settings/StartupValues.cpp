#include "settings/StartupValues.h"

#include "platform/Paths.h"
#include "platform/Product.h"
#include "platform/Registry.h"
#include "settings/veskUt.h"

#include <QDir>
#include <QFileInfo>

using platform::RegistryKey;
using platform::RegValue;

void writeStartupValues(const QString &executablePath)
{
    RegistryKey parent(QStringLiteral("Software\\") + QLatin1String(product::kMaker));
    parent.setValue(QLatin1String(product::kName),
                    RegValue::fromText(QLatin1Char('\\') + settingsKeyPath()));

    RegistryKey settings(settingsKeyPath());
    if (!settings.isOpen())
        return;
    const QFileInfo executable(executablePath);
    settings.setValue(QStringLiteral("Path"),
                      RegValue::fromText(QDir::toNativeSeparators(executable.absolutePath())));
    settings.setValue(QStringLiteral("Filename"),
                      RegValue::fromText(QDir::toNativeSeparators(executable.absoluteFilePath())));
    settings.setValue(QStringLiteral("Version"),
                      RegValue::fromText(QLatin1String(product::kKeyVersion)));
    // Read only to have a boolean there; nothing depends on it.
    readRegBool(QStringLiteral("AboutBox"), false);
}

bool firstRunDue()
{
    const QString name = QStringLiteral("FirstRun");
    RegistryKey settings(settingsKeyPath());
    const std::optional<RegValue> stored = settings.value(name);
    if ((!stored || !stored->isDWord())
        && platform::registryFileDamaged(platform::registryFile())) {
        try {
            settings.setValue(name, RegValue::fromDWord(0));
        } catch (const platform::ERegistryError &) {
            // The answer stands whether or not the file takes it.
        }
        return false;
    }
    return readRegBool(name, true);
}
