#include "settings_ui/OptionsFixture.h"

#include "platform/Paths.h"
#include "platform/Registry.h"
#include "settings/DResource.h"
#include "settings/veskUt.h"
#include "support/TempHome.h"

#include <QDir>
#include <QFile>

using settings::settingsKeyPath;

void OptionsTest::SetUp()
{
    for (const QString &file : {platform::registryFile(), platform::windowPlacementFile(),
                                platform::autostartFile(), platform::userLanguageFile()})
        QFile::remove(file);
    QDir().mkpath(platform::configFolder());
    m_programFolder = testsupport::freshDir(QStringLiteral("program"));
    QDir().mkpath(languageFolder());
    ASSERT_TRUE(QFile::copy(sourceLanguage(QStringLiteral("english.lng")),
                            m_programFolder + QStringLiteral("/default.lng")));
    for (const QString &name : {QStringLiteral("english.lng"), QStringLiteral("german.lng")})
        ASSERT_TRUE(QFile::copy(sourceLanguage(name), languageFolder() + QLatin1Char('/') + name));
    TReadRes::setCurrent(std::make_unique<TReadRes>(
        m_programFolder + QStringLiteral("/default.lng"), languageFolder()));
    dialogs::setScript(&script);
}

void OptionsTest::TearDown()
{
    dialogs::setScript(nullptr);
    TReadRes::setCurrent(nullptr);
}

QString OptionsTest::sourceLanguage(const QString &fileName)
{
    return QStringLiteral(JL_TEST_SOURCE_DIR "/resources/language/") + fileName;
}

std::optional<platform::RegValue> OptionsTest::stored(const QString &name)
{
    return platform::RegistryKey(settingsKeyPath()).value(name);
}

void OptionsTest::store(const QString &name, const platform::RegValue &value)
{
    platform::RegistryKey(settingsKeyPath()).setValue(name, value);
}

void OptionsTest::storeInt(const QString &name, qint32 value)
{
    store(name, platform::RegValue::fromDWord(value));
}
