// The real program and jotletctl, as separate processes: one instance per
// note folder, the requests of jotletctl, and a restart handing over.
#include "app/SingleInstance.h"
#include "platform/Paths.h"
#include "settings/veskUt.h"
#include "storage/NoteFile.h"
#include "storage/NoteFolder.h"
#include "support/PortableProgram.h"
#include "support/TempHome.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QThread>
#include <gtest/gtest.h>

namespace {

// Generous: a loaded machine or a sanitizer build starts slowly.
constexpr int kPatienceMs = 60000;

struct CtlResult
{
    int exitCode = -1;
    QString errorOutput;
};

CtlResult jotletctl(const QString &command)
{
    QProcess ctl;
    ctl.start(QStringLiteral(JOTLETCTL_PATH), {command});
    if (!ctl.waitForFinished(kPatienceMs))
        return {};
    return {ctl.exitCode(), QString::fromLocal8Bit(ctl.readAllStandardError())};
}

// Polls until jotletctl gets the given answer (0: an instance took the
// request; 1: none runs).
bool waitForCtl(const QString &command, int exitCode)
{
    const QDeadlineTimer deadline(kPatienceMs);
    while (!deadline.hasExpired()) {
        if (jotletctl(command).exitCode == exitCode)
            return true;
        QThread::msleep(50);
    }
    return false;
}

// A portable copy of the program (testsupport::makePortableProgram).
class RunningProgram : public ::testing::Test
{
protected:
    void SetUp() override
    {
        executable = testsupport::makePortableProgram();
        ASSERT_FALSE(executable.isEmpty());
        programFolder = QFileInfo(executable).path();
    }

    void TearDown() override
    {
        // Whatever failed, no instance may outlive the test.
        jotletctl(QStringLiteral("exit"));
        if (first.state() != QProcess::NotRunning) {
            first.kill();
            first.waitForFinished();
        }
    }

    void startFirst()
    {
        first.setProcessChannelMode(QProcess::ForwardedChannels);
        first.start(executable, {});
        ASSERT_TRUE(first.waitForStarted());
        ASSERT_TRUE(waitForCtl(QStringLiteral("hide-all"), 0));
    }

    QStringList noteFiles() const { return storage::listNoteFiles(storage::noteFolderPath()); }

    QString programFolder;
    QString executable;
    QProcess first;
};

} // namespace

TEST_F(RunningProgram, ASecondStartHandsOverAndJotletctlDrivesTheFirst)
{
    storage::NoteRecord welcome;
    welcome.title = QStringLiteral("Welcome");
    welcome.width = 200;
    welcome.height = 150;
    storage::writeNoteFile(programFolder + QStringLiteral("/about.jtl"), welcome);
    ASSERT_NO_FATAL_FAILURE(startFirst());
    EXPECT_FALSE(QFile::exists(programFolder + QStringLiteral("/about.jtl")));

    QProcess second;
    second.setProcessChannelMode(QProcess::ForwardedChannels);
    second.start(executable, {});
    ASSERT_TRUE(second.waitForFinished(kPatienceMs));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(first.state(), QProcess::Running);

    EXPECT_EQ(jotletctl(QStringLiteral("new")).exitCode, 0);
    EXPECT_EQ(jotletctl(QStringLiteral("show-all")).exitCode, 0);
    EXPECT_EQ(jotletctl(QStringLiteral("exit")).exitCode, 0);
    ASSERT_TRUE(first.waitForFinished(kPatienceMs));
    EXPECT_EQ(first.exitCode(), 0);
    // The welcome note and the new one, both saved at the end.
    EXPECT_EQ(noteFiles().size(), 2);
    EXPECT_TRUE(noteFiles().contains(QStringLiteral("about.jtl")));

    const CtlResult none = jotletctl(QStringLiteral("exit"));
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_TRUE(none.errorOutput.contains(QStringLiteral("Jotlet Light is not running")))
        << none.errorOutput.toStdString();
}

TEST_F(RunningProgram, ARestartEndsThisInstanceAndTheNewOneTakesOver)
{
    ASSERT_NO_FATAL_FAILURE(startFirst());
    EXPECT_EQ(jotletctl(QStringLiteral("new")).exitCode, 0);
    EXPECT_EQ(jotletctl(QStringLiteral("restart")).exitCode, 0);
    ASSERT_TRUE(first.waitForFinished(kPatienceMs));
    EXPECT_EQ(first.exitCode(), 0);
    EXPECT_EQ(noteFiles().size(), 1);

    // The new instance is not this test's child; it answers on the same socket.
    ASSERT_TRUE(waitForCtl(QStringLiteral("hide-all"), 0));
    EXPECT_EQ(jotletctl(QStringLiteral("exit")).exitCode, 0);
    ASSERT_TRUE(waitForCtl(QStringLiteral("hide-all"), 1));
    // It let go of the note folder on its way out.
    const QDeadlineTimer deadline(kPatienceMs);
    app::SingleInstance next(storage::noteFolderPath());
    EXPECT_EQ(next.claim(int(deadline.remainingTime())), app::SingleInstance::Claim::Acquired);
    EXPECT_EQ(noteFiles().size(), 1);
}

TEST_F(RunningProgram, JotletctlSaysSoWhenNoInstanceRuns)
{
    for (const char *command :
         {"exit", "restart", "new", "show-all", "hide-all", "options", "about"}) {
        const CtlResult result = jotletctl(QLatin1String(command));
        EXPECT_EQ(result.exitCode, 1) << command;
        EXPECT_EQ(result.errorOutput, QStringLiteral("jotletctl: Jotlet Light is not running\n"))
            << command;
    }
}
