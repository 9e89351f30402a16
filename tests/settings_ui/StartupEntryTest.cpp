#include "settings/StartupEntry.h"

#include "platform/Errors.h"
#include "platform/Paths.h"
#include "support/TempHome.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

using settings::deleteStartupEntry;
using settings::quotedExecArgument;
using settings::readStartupEntry;
using settings::writeStartupEntry;

namespace {

class StartupEntry : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QFile::remove(platform::autostartFile());
        QDir().mkpath(QFileInfo(platform::autostartFile()).path());
    }
    static void writeEntry(const QByteArray &text)
    {
        testsupport::writeAll(platform::autostartFile(), text);
    }
};

} // namespace

TEST_F(StartupEntry, WrittenAsAValidDesktopEntryWithTheQuotedPath)
{
    QFile::remove(platform::autostartFile());
    QDir(QFileInfo(platform::autostartFile()).path()).removeRecursively();
    EXPECT_FALSE(readStartupEntry());
    writeStartupEntry(QStringLiteral("/opt/jotlet light/jotletlight"));
    EXPECT_TRUE(platform::autostartFile().endsWith(
        QStringLiteral("/.config/autostart/VeskJotlet1.9.5.desktop")));
    EXPECT_EQ(testsupport::readAll(platform::autostartFile()),
              QByteArray("[Desktop Entry]\n"
                         "Type=Application\n"
                         "Name=Jotlet Light\n"
                         "Exec=\"/opt/jotlet light/jotletlight\"\n"
                         "X-GNOME-Autostart-enabled=true\n"));
    EXPECT_TRUE(readStartupEntry());
    deleteStartupEntry();
    EXPECT_FALSE(QFile::exists(platform::autostartFile()));
    deleteStartupEntry(); // none there: nothing happens
}

TEST_F(StartupEntry, PathsAreQuotedForTheExecKey)
{
    EXPECT_EQ(quotedExecArgument(QStringLiteral("/usr/bin/jotletlight")),
              QStringLiteral("\"/usr/bin/jotletlight\""));
    // Quote, backtick, dollar and backslash take a backslash inside the
    // quotes; '%' is doubled; the string escape then doubles backslashes.
    EXPECT_EQ(quotedExecArgument(QStringLiteral("/a \"b\"/$HOME/`x`/c\\d/100%")),
              QStringLiteral("\"/a \\\\\"b\\\\\"/\\\\$HOME/\\\\`x\\\\`/c\\\\\\\\d/100%%\""));
    EXPECT_EQ(quotedExecArgument(QStringLiteral("/odd\nname")), QStringLiteral("\"/odd\\nname\""));
}

TEST_F(StartupEntry, TickedOnlyWhenItWouldStartTheProgram)
{
    struct Case
    {
        const char *text;
        bool started;
    };
    for (const Case c : {
             Case {"[Desktop Entry]\nExec=\"/x\"\n", true},
             Case {"[Desktop Entry]\r\nExec = /x\r\n", true},
             Case {"[Desktop Entry]\nExec=\n", false},
             Case {"[Desktop Entry]\nName=Jotlet Light\n", false},
             Case {"", false},
             Case {"[Other]\nExec=/x\n", false},
             Case {"[Desktop Entry]\n#Exec=/x\n", false},
             Case {"[Desktop Entry]\nexec=/x\n", false}, // keys are case-sensitive
             Case {"[Desktop Entry]\nExec=/x\nHidden=true\n", false},
             Case {"[Desktop Entry]\nExec=/x\nX-GNOME-Autostart-enabled=false\n", false},
             Case {"[Desktop Entry]\nExec=/x\nHidden=false\nX-GNOME-Autostart-enabled=true\n",
                   true},
         }) {
        writeEntry(c.text);
        EXPECT_EQ(readStartupEntry(), c.started) << c.text;
    }
}

TEST_F(StartupEntry, UnreadableEntryRaisesItsError)
{
    writeEntry(QByteArray("\x7f"
                          "ELF\0\0\0",
                          7));
    try {
        readStartupEntry();
        FAIL() << "no error";
    } catch (const EInOutError &error) {
        EXPECT_EQ(error.message(),
                  QStringLiteral("Cannot read the start-up entry %1: it is not text")
                      .arg(platform::autostartFile()));
    }
    QFile::remove(platform::autostartFile());
    QDir().mkpath(platform::autostartFile());
    EXPECT_THROW(readStartupEntry(), EInOutError);
    EXPECT_THROW(writeStartupEntry(QStringLiteral("/x")), EInOutError);
    EXPECT_THROW(deleteStartupEntry(), EInOutError);
    QDir(platform::autostartFile()).removeRecursively();
}
