// A note window whose save fails on a full or read-only disk: the user is
// told, the note's previous files stay whole, nothing typed is dropped from
// the window, and the next save trigger saves it once the disk can take it.
#include "reliability/SmallDisk.h"

#include "note/Note.h"
#include "note/NoteParts.h"
#include "note/NoteTestSupport.h"
#include "platform/Errors.h"

#include "storage/NoteFile.h"
#include "storage/NoteFolder.h"
#include "support/TempHome.h"
#include "ui/NoteText.h"
#include <QImage>
#include <QRandomGenerator>

#include <QDir>
#include <QLineEdit>
#include <gtest/gtest.h>

#include <memory>

using testsupport::readAll;

namespace {

enum class DiskProblem { Full, ReadOnly };

std::string nameOf(const ::testing::TestParamInfo<DiskProblem> &param)
{
    return param.param == DiskProblem::Full ? "Full" : "ReadOnly";
}

QStringList typedLines()
{
    return QStringList {QStringLiteral("call the plumber 0123 456789")}
    + QStringList(30, QString(80, QLatin1Char('x')));
}

class NoteOnASmallDisk : public notetest::NoteFixture,
                         public ::testing::WithParamInterface<DiskProblem>
{
protected:
    void SetUp() override
    {
        NoteFixture::SetUp();
        m_disk = std::make_unique<SmallDisk>(folder(), 64);
        if (!m_disk->available())
            GTEST_SKIP() << m_disk->reason().toStdString();
    }
    void TearDown() override
    {
        m_disk.reset();
        NoteFixture::TearDown();
    }

    void breakDisk()
    {
        if (GetParam() == DiskProblem::Full)
            m_disk->fill();
        else
            ASSERT_TRUE(m_disk->setReadOnly(true));
    }
    // Typing, then a switch to another window, once the disk has failed.
    void typeAndDeactivateOnABrokenDisk(TSingolNote &note)
    {
        breakDisk();
        note.NoteText->setLines(typedLines());
        note.TitleEdit->setText(QStringLiteral("edited")); // changes waiting for a deactivation
        notetest::deactivate(note);
    }
    void leaveRoomFor(qint64 bytes) { m_disk->fill(bytes); }
    void mendDisk()
    {
        if (GetParam() == DiskProblem::Full)
            m_disk->freeFiller();
        else
            ASSERT_TRUE(m_disk->setReadOnly(false));
    }

    // A saved note, and its files' bytes.
    void saveFirstVersion(TSingolNote &note)
    {
        note.NoteTitle->setText(QStringLiteral("Plumber"));
        note.NoteText->setLines({QStringLiteral("first version")});
        note.SaveNote();
        m_record = readAll(note.notePath());
        m_body = readAll(storage::companionPath(note.notePath()));
    }
    void expectFirstVersionOnDisk(const TSingolNote &note) const
    {
        EXPECT_EQ(readAll(note.notePath()), m_record);
        EXPECT_EQ(readAll(storage::companionPath(note.notePath())), m_body);
        QStringList files = QDir(folder()).entryList(QDir::Files);
        files.removeAll(QStringLiteral("filler"));
        EXPECT_EQ(files.size(), 2) << files.join(QLatin1Char(' ')).toStdString();
    }

private:
    std::unique_ptr<SmallDisk> m_disk;
    QByteArray m_record;
    QByteArray m_body;
};

TEST_P(NoteOnASmallDisk, TypedTextIsSavedByTheNextDeactivationOnceTheDiskCanTakeIt)
{
    TSingolNote note(false, services);
    saveFirstVersion(note);
    typeAndDeactivateOnABrokenDisk(note);
    EXPECT_EQ(errors.size(), 1);
    expectFirstVersionOnDisk(note);
    EXPECT_EQ(note.NoteText->lines(), typedLines()) << "the window keeps what was typed";
    EXPECT_TRUE(note.Modified()) << "a failed save must be tried again";

    mendDisk();
    notetest::deactivate(note);
    EXPECT_EQ(errors.size(), 1);
    EXPECT_FALSE(note.Modified());
    const storage::NoteRecord saved = storage::readNoteFile(note.notePath(), {}, {}, {});
    EXPECT_EQ(saved.lines, typedLines());
}

// The body is the larger file: written first, a disk that can still take the
// small note file but not the body leaves the pair as it was, not one file
// of each generation.
TEST_P(NoteOnASmallDisk, ABodyThatNoLongerFitsLeavesBothFilesAsTheyWere)
{
    if (GetParam() != DiskProblem::Full)
        GTEST_SKIP() << "a matter of space only";
    TSingolNote note(false, services);
    saveFirstVersion(note);
    leaveRoomFor(8 * 1024);
    note.NoteTitle->setText(QStringLiteral("Plumber, urgent"));
    // A picture of noise: some 20 KB in the body, nothing in the note file.
    QImage noise(60, 60, QImage::Format_RGB32);
    QRandomGenerator random(7);
    for (int y = 0; y < noise.height(); ++y) {
        for (int x = 0; x < noise.width(); ++x)
            noise.setPixel(x, y, random.generate());
    }
    note.NoteText->insertPicture(noise);
    EXPECT_THROW(note.SaveNote(), EInOutError);
    expectFirstVersionOnDisk(note);
}

TEST_P(NoteOnASmallDisk, BodyLosingTheFocusReportsAndKeepsTheFiles)
{
    TSingolNote note(false, services);
    saveFirstVersion(note);
    breakDisk();
    note.NoteText->setLines(typedLines());
    Q_EMIT note.NoteText->focusLost();
    EXPECT_EQ(errors.size(), 1);
    expectFirstVersionOnDisk(note);
}

TEST_P(NoteOnASmallDisk, ANoteThatCannotBeSavedStaysOpenWhenClosed)
{
    TSingolNote note(false, services);
    saveFirstVersion(note);
    note.show();
    breakDisk();
    note.NoteText->setLines(typedLines());
    EXPECT_FALSE(note.close());
    EXPECT_TRUE(note.isVisible());
    EXPECT_EQ(errors.size(), 1);
    expectFirstVersionOnDisk(note);

    mendDisk();
    EXPECT_TRUE(note.close());
    EXPECT_EQ(storage::readNoteFile(note.notePath(), {}, {}, {}).lines, typedLines());
}

TEST_P(NoteOnASmallDisk, TheMessageNamesTheNote)
{
    TSingolNote note(false, services);
    saveFirstVersion(note);
    typeAndDeactivateOnABrokenDisk(note);
    ASSERT_EQ(errors.size(), 1);
    const QString &message = errors.front();
    EXPECT_TRUE(message.contains(note.NoteFileName())
                || message.contains(QStringLiteral("Plumber")))
        << message.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Disks, NoteOnASmallDisk,
                         ::testing::Values(DiskProblem::Full, DiskProblem::ReadOnly), nameOf);

using ClosedNoteOnAReadOnlyDisk = NoteOnASmallDisk;

// A note closed for good whose files cannot be deleted yet keeps them, and
// they go at its next save.
TEST_P(ClosedNoteOnAReadOnlyDisk, KeepsItsFilesUntilTheyCanBeDeleted)
{
    TSingolNote note(false, services);
    saveFirstVersion(note);
    note.discard();
    breakDisk();
    EXPECT_THROW(note.SaveNote(), EInOutError);
    expectFirstVersionOnDisk(note);
    mendDisk();
    note.SaveNote();
    EXPECT_EQ(QDir(folder()).entryList(QDir::Files), QStringList());
}

INSTANTIATE_TEST_SUITE_P(Disks, ClosedNoteOnAReadOnlyDisk,
                         ::testing::Values(DiskProblem::ReadOnly));

} // namespace
