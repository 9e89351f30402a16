// What a program killed half-way through a save leaves behind must never
// stop the next instance: lock files of a dead process, a lock file that was
// created but never written, and temporary files beside the notes.
#include "platform/FileUpdate.h"
#include "platform/InstanceLock.h"
#include "platform/Paths.h"
#include "settings/veskUt.h"
#include "storage/NoteFile.h"
#include "storage/NoteFolder.h"
#include "support/TempHome.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLockFile>
#include <QProcess>
#include <gtest/gtest.h>

using testsupport::writeAll;

namespace {

// A leftover from before the crash, not a lock being written this moment.
void ageFile(const QString &path)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTime().addSecs(-60),
                                 QFileDevice::FileModificationTime));
}

QString lockPath()
{
    return platform::registryFile() + QStringLiteral(".lock");
}

// The pid of a process that has ended.
qint64 deadProcessId()
{
    QProcess process;
    process.start(QStringLiteral("true"), {});
    process.waitForFinished();
    return process.processId() ? process.processId() : 999999;
}

// A real lock file, as this Qt writes it, naming a process that has ended.
QByteArray lockOfADeadProcess()
{
    const QString model = testsupport::freshDir(QStringLiteral("lock")) + QStringLiteral("/model");
    QByteArray content;
    {
        QLockFile lock(model);
        EXPECT_TRUE(lock.tryLock());
        content = testsupport::readAll(model);
    }
    return QByteArray::number(deadProcessId()) + content.mid(content.indexOf('\n'));
}

class RegistryAfterACrash : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QDir().mkpath(platform::configFolder());
        QFile::remove(lockPath());
        writeRegInt(QStringLiteral("width"), 135);
    }
    void TearDown() override { QFile::remove(lockPath()); }

    // The write goes through, and soon: a user does not wait for a lock
    // nobody holds.
    void expectWriteGoesThrough()
    {
        QElapsedTimer took;
        took.start();
        EXPECT_NO_THROW(writeRegInt(QStringLiteral("width"), 200));
        EXPECT_EQ(readRegInt(QStringLiteral("width"), 135), 200);
        EXPECT_LT(took.elapsed(), 3000);
    }
};

TEST_F(RegistryAfterACrash, ALockOfAProcessThatIsGoneIsTakenOver)
{
    writeAll(lockPath(), lockOfADeadProcess());
    expectWriteGoesThrough();
}

// A process killed between creating the lock file and writing its pid into
// it leaves an empty lock file.
TEST_F(RegistryAfterACrash, AnEmptyLockFileDoesNotStopTheSettings)
{
    writeAll(lockPath(), QByteArray());
    ageFile(lockPath());
    expectWriteGoesThrough();
}

// The note folder's instance lock: a start after a crash must not be blocked.
class InstanceLockAfterACrash : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_folder = testsupport::freshDir(QStringLiteral("instance")) + QStringLiteral("/notes");
        QFile::remove(lockFile());
    }
    QString lockFile() const { return m_folder + QStringLiteral(".lock"); }
    QString m_folder;
};

TEST_F(InstanceLockAfterACrash, ALockOfAProcessThatIsGoneIsTakenOver)
{
    writeAll(lockFile(), lockOfADeadProcess());
    platform::InstanceLock lock(m_folder);
    EXPECT_TRUE(lock.tryLock(500));
}

// Killed, or the power cut, between creating the lock file and its contents
// reaching the disk: an empty lock file.
TEST_F(InstanceLockAfterACrash, AnEmptyLockFileDoesNotKeepTheProgramFromStarting)
{
    writeAll(lockFile(), QByteArray());
    ageFile(lockFile());
    platform::InstanceLock lock(m_folder);
    EXPECT_TRUE(lock.tryLock(500));
}

TEST(NoteFolderAfterACrash, TemporaryFilesOfInterruptedSavesAreNoNotes)
{
    const QString folder = testsupport::freshDir(QStringLiteral("leftovers"));
    storage::NoteRecord record;
    storage::writeNoteFile(folder + QStringLiteral("/5.jtl"), record);
    // Where the file system cannot make unnamed temporary files, an
    // interrupted save leaves a named one beside its target.
    for (const char *name : {"5.jtl.AbCd12", "5.jtl2.xY9zQw", "6.jtl.Qq0000", "7.jtl2.zzzzzz"})
        writeAll(folder + QLatin1Char('/') + QLatin1String(name), "half a save");
    EXPECT_EQ(storage::listNoteFiles(folder), QStringList {QStringLiteral("5.jtl")});
}

} // namespace
