// The real program ended as a session ends it: by SIGTERM, SIGHUP or SIGINT.
// A note that was made and never left (so never saved) is on disk after the
// signal, every loaded note is saved whole with its body, a modal dialog
// being open does not stop the saving, and a signal at any moment of the
// start never costs a note.
#include "platform/ControlChannel.h"
#include "platform/Paths.h"
#include "platform/Registry.h"
#include "settings/veskUt.h"
#include "storage/NoteFile.h"
#include "storage/NoteFolder.h"
#include "support/PortableProgram.h"
#include "support/TempHome.h"
#include "ui/rtf/Rtf.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTextDocument>
#include <QThread>
#include <gtest/gtest.h>

#include <csignal>

using settings::settingsKeyPath;
using testsupport::readAll;
using testsupport::writeAll;

namespace {

// Generous: a loaded machine or a sanitizer build starts slowly.
constexpr int kPatienceMs = 60000;

QString notePath(const QString &name)
{
    return storage::noteFolderPath() + QLatin1Char('/') + name;
}

storage::NoteRecord record(const QString &title, bool visible)
{
    storage::NoteRecord r;
    r.title = title;
    r.lines = {title + QStringLiteral(" body")};
    r.visible = visible;
    r.left = 40;
    r.top = 60;
    r.width = 180;
    r.height = 120;
    r.backColor = 0x0000FFFF;
    r.titleColor = 0x00C0DCC0;
    r.bodyFont = r.titleFont = {QStringLiteral("Arial"), 10, false, false, false, false, 0};
    return r;
}

bool jotletctl(const QString &command)
{
    QProcess ctl;
    ctl.start(QStringLiteral(JOTLETCTL_PATH), {command});
    return ctl.waitForFinished(kPatienceMs) && ctl.exitStatus() == QProcess::NormalExit
        && ctl.exitCode() == 0;
}

platform::RegistryKey settingsKey()
{
    return platform::RegistryKey(settingsKeyPath());
}

// Waits until the program has read (and so stored again) a setting this
// test removed: the sign that the step reading it has run.
bool waitUntilRead(const QString &name)
{
    const QDeadlineTimer deadline(kPatienceMs);
    while (!deadline.hasExpired()) {
        if (settingsKey().value(name))
            return true;
        QThread::msleep(20);
    }
    return false;
}

// A portable copy of the program (testsupport::makePortableProgram).
class ProgramEnd : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_executable = testsupport::makePortableProgram();
        ASSERT_FALSE(m_executable.isEmpty());
        storage::ensureNoteFolder();
    }

    void TearDown() override
    {
        if (m_program.state() != QProcess::NotRunning) {
            m_program.kill();
            m_program.waitForFinished();
        }
    }

    void start()
    {
        m_program.setProcessChannelMode(QProcess::ForwardedChannels);
        m_program.start(m_executable, {});
        ASSERT_TRUE(m_program.waitForStarted());
    }

    // The program answers requests, so its notes are loaded.
    void waitUntilRunning()
    {
        const QString socket = platform::controlSocketPath(storage::noteFolderPath());
        const QDeadlineTimer deadline(kPatienceMs);
        QString error;
        while (!deadline.hasExpired() && m_program.state() == QProcess::Running) {
            // Not a command it knows, so it changes nothing; any answer will do.
            platform::sendControlRequest(socket, QStringLiteral("ping"), &error, 1000);
            if (error.startsWith(QStringLiteral("unknown command")))
                return;
            QThread::msleep(20);
        }
        FAIL() << "the program did not come up: " << error.toStdString();
    }

    // Has the program make a new note, and waits until it is made.
    void makeNewNote()
    {
        settingsKey().deleteValue(QStringLiteral("title"));
        ASSERT_TRUE(jotletctl(QStringLiteral("new")));
        ASSERT_TRUE(waitUntilRead(QStringLiteral("title"))) << "no new note";
    }

    void endWith(int signalNumber)
    {
        ::kill(pid_t(m_program.processId()), signalNumber);
        ASSERT_TRUE(m_program.waitForFinished(kPatienceMs)) << "the program did not end";
        EXPECT_EQ(m_program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(m_program.exitCode(), 0);
    }

    // Every note file loads, is written whole in the current layout, and has
    // a body file that reads as RTF.
    void expectWholeNote(const QString &name, const QString &title, bool visible)
    {
        SCOPED_TRACE(name.toStdString());
        storage::NoteRecord saved;
        ASSERT_NO_THROW(saved = storage::readNoteFile(notePath(name), {}, {}, {}));
        EXPECT_EQ(saved.title, title);
        EXPECT_EQ(saved.visible, visible);
        const QString rewritten
            = testsupport::freshDir(QStringLiteral("check")) + QStringLiteral("/whole.jtl");
        storage::writeNoteFile(rewritten, saved);
        EXPECT_EQ(readAll(notePath(name)), readAll(rewritten)) << "not in the current layout";
        QTextDocument body;
        EXPECT_TRUE(rtf::read(readAll(storage::companionPath(notePath(name))), &body));
    }

    QString newNoteName() const
    {
        QStringList names = storage::listNoteFiles(storage::noteFolderPath());
        for (const char *prepared : {"11.jtl", "12.jtl", "13.jtl"})
            names.removeAll(QLatin1String(prepared));
        return names.size() == 1 ? names.front() : QString();
    }

    QString m_executable;
    QProcess m_program;
};

class EndedBySignal : public ProgramEnd, public ::testing::WithParamInterface<int>
{
};

TEST_P(EndedBySignal, SavesANoteThatWasNeverLeftAndEveryLoadedNote)
{
    storage::writeNoteFile(notePath(QStringLiteral("11.jtl")),
                           record(QStringLiteral("Shown"), true));
    writeAll(storage::companionPath(notePath(QStringLiteral("11.jtl"))),
             "{\\rtf1\\ansi Plumber 0123 456789\\par}");
    storage::writeNoteFile(notePath(QStringLiteral("12.jtl")),
                           record(QStringLiteral("Hidden"), false));
    storage::writeNoteFileLayout(notePath(QStringLiteral("13.jtl")),
                                 record(QStringLiteral("Old layout"), true),
                                 storage::NoteLayout::UpToFonts);
    ASSERT_NO_FATAL_FAILURE(start());
    ASSERT_NO_FATAL_FAILURE(waitUntilRunning());
    ASSERT_NO_FATAL_FAILURE(makeNewNote());
    EXPECT_EQ(storage::listNoteFiles(storage::noteFolderPath()).size(), 3)
        << "the new note was saved before the signal; this test needs it unsaved";

    ASSERT_NO_FATAL_FAILURE(endWith(GetParam()));
    EXPECT_EQ(storage::listNoteFiles(storage::noteFolderPath()).size(), 4);
    expectWholeNote(QStringLiteral("11.jtl"), QStringLiteral("Shown"), true);
    expectWholeNote(QStringLiteral("12.jtl"), QStringLiteral("Hidden"), false);
    expectWholeNote(QStringLiteral("13.jtl"), QStringLiteral("Old layout"), true);
    const QString made = newNoteName();
    ASSERT_FALSE(made.isEmpty());
    expectWholeNote(made, QString::fromLatin1("Vesk Jotlet 2003"), true);
    QTextDocument body;
    rtf::read(readAll(storage::companionPath(notePath(QStringLiteral("11.jtl")))), &body);
    EXPECT_TRUE(body.toPlainText().contains(QStringLiteral("Plumber 0123 456789")));
}

INSTANTIATE_TEST_SUITE_P(Signals, EndedBySignal, ::testing::Values(SIGTERM, SIGHUP, SIGINT),
                         [](const ::testing::TestParamInfo<int> &param) {
                             return std::string(param.param == SIGTERM      ? "SIGTERM"
                                                    : param.param == SIGHUP ? "SIGHUP"
                                                                            : "SIGINT");
                         });

// The session ends while the options dialog is open (the notes are parked):
// the program still saves every note, with the visibility it had before,
// and ends instead of restarting.
TEST_F(ProgramEnd, EndsAndSavesWhileTheOptionsDialogIsOpen)
{
    storage::writeNoteFile(notePath(QStringLiteral("11.jtl")),
                           record(QStringLiteral("Shown"), true));
    storage::writeNoteFile(notePath(QStringLiteral("12.jtl")),
                           record(QStringLiteral("Hidden"), false));
    ASSERT_NO_FATAL_FAILURE(start());
    ASSERT_NO_FATAL_FAILURE(waitUntilRunning());
    // The dialog reads every new-note setting as it opens.
    settingsKey().deleteValue(QStringLiteral("TitleFontName"));
    ASSERT_TRUE(jotletctl(QStringLiteral("options")));
    ASSERT_TRUE(waitUntilRead(QStringLiteral("TitleFontName"))) << "no options dialog";

    ASSERT_NO_FATAL_FAILURE(endWith(SIGTERM));
    expectWholeNote(QStringLiteral("11.jtl"), QStringLiteral("Shown"), true);
    expectWholeNote(QStringLiteral("12.jtl"), QStringLiteral("Hidden"), false);
    // A restart would bring a new instance up within moments.
    const QDeadlineTimer deadline(2000);
    while (!deadline.hasExpired()) {
        if (jotletctl(QStringLiteral("exit"))) {
            ADD_FAILURE() << "the program restarted itself";
            break;
        }
        QThread::msleep(100);
    }
}

// A signal at any moment of the start, before or after the program can
// catch it, never damages or drops a note.
TEST_F(ProgramEnd, ASignalDuringTheStartCostsNoNote)
{
    const int kNotes = 40;
    for (int i = 0; i < kNotes; ++i) {
        storage::writeNoteFile(notePath(QStringLiteral("%1.jtl").arg(100 + i)),
                               record(QStringLiteral("Note %1").arg(i), i % 3 != 0));
    }
    QRandomGenerator random(5);
    for (int round = 0; round < 6; ++round) {
        ASSERT_NO_FATAL_FAILURE(start());
        QThread::msleep(random.bounded(round * 150 + 1));
        ::kill(pid_t(m_program.processId()), SIGTERM);
        ASSERT_TRUE(m_program.waitForFinished(kPatienceMs)) << "round " << round;
        for (int i = 0; i < kNotes; ++i) {
            const QString name = QStringLiteral("%1.jtl").arg(100 + i);
            storage::NoteRecord saved;
            ASSERT_NO_THROW(saved = storage::readNoteFile(notePath(name), {}, {}, {}))
                << "round " << round << ": " << name.toStdString();
            EXPECT_EQ(saved.title, QStringLiteral("Note %1").arg(i));
            EXPECT_EQ(saved.visible, i % 3 != 0);
        }
        EXPECT_EQ(storage::listNoteFiles(storage::noteFolderPath()).size(), kNotes);
    }
}

} // namespace
