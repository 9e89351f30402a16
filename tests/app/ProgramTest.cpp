// The program as the session runs it: it loads the notes of the note folder
// and saves every one of them when it is told to end.
#include "note/NoteTestSupport.h"
#include "platform/Paths.h"
#include "settings/veskUt.h"
#include "storage/NoteFile.h"
#include "storage/NoteFolder.h"
#include "support/TempHome.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QThread>

#include <csignal>

namespace {

// The program has read the settings of its first note window.
bool notesLoading()
{
    QFile registry(platform::registryFile());
    return registry.open(QIODevice::ReadOnly) && registry.readAll().contains("\"position\"");
}

} // namespace

using Program = notetest::NoteFixture;

TEST_F(Program, SavesEveryNoteWhenTerminated)
{
    storage::NoteRecord record;
    record.title = QStringLiteral("kept");
    record.width = 150;
    record.height = 90;
    record.visible = false;
    const QString path = pathOf(QStringLiteral("1.jtl"));
    storage::writeNoteFileLayout(path, record, storage::NoteLayout::UpToFonts);
    // No first-run language prompt: this test is about the notes.
    writeRegBool(QStringLiteral("FirstRun"), false);

    // A copy of its own: the build's program folder keeps its welcome note.
    const QString folder = testsupport::freshDir(QStringLiteral("program"));
    QDir(folder).mkdir(QStringLiteral("language"));
    const QString english = QStringLiteral(JL_TEST_SOURCE_DIR "/resources/language/english.lng");
    QFile::copy(english, folder + QStringLiteral("/default.lng"));
    QFile::copy(english, folder + QStringLiteral("/language/english.lng"));
    const QString executable = folder + QStringLiteral("/jotletlight");
    ASSERT_TRUE(QFile::copy(QStringLiteral(JOTLETLIGHT_PATH), executable));

    QProcess program;
    program.setProcessChannelMode(QProcess::ForwardedChannels);
    program.start(executable, {});
    ASSERT_TRUE(program.waitForStarted());
    const QDeadlineTimer deadline(20000);
    while (!notesLoading() && !deadline.hasExpired() && program.state() == QProcess::Running)
        QThread::msleep(20);
    ASSERT_TRUE(notesLoading());
    ::kill(pid_t(program.processId()), SIGTERM);
    ASSERT_TRUE(program.waitForFinished(20000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);

    // Saved in the current layout, with its body file.
    EXPECT_TRUE(QFile::exists(storage::companionPath(path)));
    const storage::NoteRecord saved = storage::readNoteFile(path, storage::NoteRecord(), {}, {});
    EXPECT_EQ(saved.title, QStringLiteral("kept"));
    EXPECT_FALSE(saved.visible);
    EXPECT_EQ(saved.restoreWidth, 150);
}
