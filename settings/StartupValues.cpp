#include "settings/StartupValues.h"

#include "platform/Paths.h"
#include "platform/Product.h"
#include "platform/Registry.h"
#include "settings/SettingsTable.h"
#include "settings/veskUt.h"

#include <QDir>
#include <QFileInfo>

using platform::RegistryKey;
using platform::RegValue;

namespace settings {

void writeStartupValues(const QString &executablePath)
{
    const QFileInfo executable(executablePath);
    SettingsEdit edit;
    edit.registry().setValue(QStringLiteral("Software\\") + QLatin1String(product::kMaker),
                             QLatin1String(product::kName),
                             RegValue::fromText(QLatin1Char('\\') + settingsKeyPath()));
    edit.write(kPath, QDir::toNativeSeparators(executable.absolutePath()));
    edit.write(kFilename, QDir::toNativeSeparators(executable.absoluteFilePath()));
    edit.write(kVersion, QLatin1String(product::kKeyVersion));
    // Only to have a boolean there; nothing depends on it.
    edit.keep(kAboutBox);
    edit.commit();
}

bool firstRunDue()
{
    const QString name = QLatin1String(kFirstRun.name);
    RegistryKey key(settingsKeyPath());
    const std::optional<RegValue> stored = key.value(name);
    if ((!stored || !stored->isDWord())
        && platform::registryFileDamaged(platform::registryFile())) {
        try {
            key.setValue(name, RegValue::fromDWord(0));
        } catch (const platform::ERegistryError &) {
            // The answer stands whether or not the file takes it.
        }
        return false;
    }
    return kFirstRun.read();
}

} // namespace settings
