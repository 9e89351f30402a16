#include "platform/Paths.h"
#include "support/TempHome.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace platform;

namespace {

QString configHome()
{
    return testsupport::tempHome() + QStringLiteral("/.config");
}

// Sets an environment variable for one test and puts it back afterwards.
class ScopedEnv
{
public:
    ScopedEnv(const char *name, const QByteArray &value)
        : m_name(name)
        , m_old(qgetenv(name))
        , m_had(qEnvironmentVariableIsSet(name))
    {
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, value);
    }
    ~ScopedEnv()
    {
        if (m_had)
            qputenv(m_name, m_old);
        else
            qunsetenv(m_name);
    }

private:
    const char *m_name;
    QByteArray m_old;
    bool m_had;
};

} // namespace

TEST(Paths, ProgramFolderIsTheExecutablesWhenItHoldsLanguages)
{
    const QString portable = testsupport::freshDir(QStringLiteral("portable"));
    EXPECT_EQ(programFolderFor(portable), installedDataFolder());
    QDir(portable).mkdir(QStringLiteral("language"));
    EXPECT_EQ(programFolderFor(portable), portable);
    // A file named "language" is not the folder.
    const QString odd = testsupport::freshDir(QStringLiteral("odd"));
    testsupport::writeAll(odd + QStringLiteral("/language"), "x");
    EXPECT_EQ(programFolderFor(odd), installedDataFolder());
    EXPECT_TRUE(installedDataFolder().endsWith(QStringLiteral("/share/jotletlight")));
    EXPECT_EQ(languageFolder(), programFolder() + QStringLiteral("/language"));
}

TEST(Paths, UserFilesLiveInTheConfigFolder)
{
    EXPECT_EQ(configFolder(), configHome() + QStringLiteral("/Harvel"));
    EXPECT_EQ(registryFile(), configHome() + QStringLiteral("/Harvel/registry.reg"));
    EXPECT_EQ(windowPlacementFile(), configHome() + QStringLiteral("/Harvel/jotlig.ini"));
    EXPECT_EQ(userLanguageFile(), configHome() + QStringLiteral("/Harvel/default.lng"));
    EXPECT_EQ(autostartFile(), configHome() + QStringLiteral("/autostart/VeskJotlet1.9.5.desktop"));
}

TEST(Paths, ConfigFolderFollowsXdgConfigHome)
{
    {
        ScopedEnv moved("XDG_CONFIG_HOME", "/tmp/elsewhere");
        EXPECT_EQ(registryFile(), QStringLiteral("/tmp/elsewhere/Harvel/registry.reg"));
    }
    ScopedEnv unset("XDG_CONFIG_HOME", QByteArray());
    EXPECT_EQ(configFolder(), testsupport::tempHome() + QStringLiteral("/.config/Harvel"));
}

TEST(Paths, ActiveLanguageIsTheUsersCopyWhenThere)
{
    QFile::remove(userLanguageFile());
    EXPECT_EQ(activeLanguageFile(), programFolder() + QStringLiteral("/default.lng"));
    QDir().mkpath(configFolder());
    testsupport::writeAll(userLanguageFile(), "[General]\nlanguage=Deutsch\n");
    EXPECT_EQ(activeLanguageFile(), userLanguageFile());
    QFile::remove(userLanguageFile());
    // A folder in its place is no language file.
    QDir().mkpath(userLanguageFile());
    EXPECT_EQ(activeLanguageFile(), programFolder() + QStringLiteral("/default.lng"));
    QDir().rmdir(userLanguageFile());
}
