// The program as the session runs it: it loads the notes of the note folder
// and saves every one of them when it is told to end.
#include "note/NoteTestSupport.h"
#include "platform/Paths.h"
#include "settings/veskUt.h"
#include "storage/NoteFile.h"
#include "storage/NoteFolder.h"
#include "support/TempHome.h"

#include <QDeadlineTimer>
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

    QProcess program;
    program.setProcessChannelMode(QProcess::ForwardedChannels);
    program.start(QStringLiteral(JOTLETLIGHT_PATH), {});
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
