// A note folder kept in sync by another program: a second writer in the
// test puts, changes and removes note files while the notes are open.
#include "app/FolderSync.h"
#include "app/DLista.h"
#include "note/Note.h"
#include "note/NoteParts.h"
#include "note/NoteTestSupport.h"
#include "storage/NoteFile.h"
#include "storage/NoteFolder.h"
#include "support/TempHome.h"
#include "ui/NoteText.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <QThread>

namespace {

class SyncedFolder : public notetest::NoteFixture
{
protected:
    void SetUp() override
    {
        NoteFixture::SetUp();
        list = std::make_unique<TVeskLista>(services);
        sync = std::make_unique<app::FolderSync>(
            *list, folder(), [] { return true; },
            [this](const QStringList &failed) { reported += failed; });
    }
    void TearDown() override
    {
        sync.reset();
        list.reset();
        NoteFixture::TearDown();
    }

    // What the other computer's copy of a note holds, as the sync program
    // puts it in place: written beside and renamed over.
    void arrive(const QString &name, const QString &title, bool visible = true,
                const QByteArray &body = QByteArray())
    {
        storage::NoteRecord record;
        record.title = title;
        record.lines = {title + QStringLiteral(" text")};
        record.visible = visible;
        record.left = 100;
        record.top = 120;
        record.width = 200;
        record.height = 150;
        const QString temporary
            = pathOf(QStringLiteral(".syncthing.") + name + QStringLiteral(".tmp"));
        storage::writeNoteFile(temporary, record);
        QFile::remove(pathOf(name));
        ASSERT_TRUE(QFile::rename(temporary, pathOf(name)));
        if (!body.isEmpty())
            testsupport::writeAll(pathOf(name + QLatin1Char('2')), body);
    }
    // Two looks, as the folder holds still between them.
    void settle()
    {
        sync->scan();
        sync->scan();
    }
    TSingolNote *noteNamed(const QString &name) const
    {
        for (int i = 0; i < list->count(); ++i) {
            if (list->form(i)->NoteFileName() == name)
                return list->form(i);
        }
        return nullptr;
    }

    std::unique_ptr<TVeskLista> list;
    std::unique_ptr<app::FolderSync> sync;
    QStringList reported;
};

} // namespace

TEST_F(SyncedFolder, ANoteThatArrivesAppearsOnceItsFilesHoldStill)
{
    arrive(QStringLiteral("5.jtl"), QStringLiteral("From the laptop"));
    sync->scan();
    EXPECT_EQ(list->count(), 0) << "its body may still be on its way";
    testsupport::writeAll(pathOf(QStringLiteral("5.jtl2")), "{\\rtf1 Body from the laptop\\par}");
    sync->scan();
    EXPECT_EQ(list->count(), 0) << "the body just came";
    sync->scan();
    ASSERT_EQ(list->count(), 1);
    TSingolNote *note = list->form(0);
    EXPECT_EQ(note->NoteTitle->text(), QStringLiteral("From the laptop"));
    EXPECT_EQ(note->NoteText->lines(), QStringList {QStringLiteral("Body from the laptop")});
    EXPECT_TRUE(note->isVisible());
    EXPECT_FALSE(note->isActiveWindow());

    arrive(QStringLiteral("6.jtl"), QStringLiteral("Hidden there"), false);
    settle();
    ASSERT_EQ(list->count(), 2);
    EXPECT_FALSE(noteNamed(QStringLiteral("6.jtl"))->isVisible());
    EXPECT_TRUE(reported.isEmpty());
}

// The temporary files of sync programs are never notes and never damaged
// ones; a conflict copy is a note of its own.
TEST_F(SyncedFolder, WhatSyncProgramsLeaveInTheFolder)
{
    for (const char *name : {".syncthing.7.jtl.tmp", "~syncthing~8.jtl.tmp", ".9.jtl.~1a2b3c",
                             "10.jtl.part", ".~lock.11.jtl#"})
        testsupport::writeAll(pathOf(QLatin1String(name)), "half a file");
    arrive(QStringLiteral("12.sync-conflict-20261209-101010-ABCDEFG.jtl"), QStringLiteral("Other"));
    settle();
    ASSERT_EQ(list->count(), 1);
    EXPECT_EQ(list->form(0)->NoteTitle->text(), QStringLiteral("Other"));
    EXPECT_TRUE(reported.isEmpty()) << reported.join(QLatin1Char('\n')).toStdString();
}

TEST_F(SyncedFolder, AChangedNoteReloadsInPlaceAndARemovedOneClosesDeletingNothing)
{
    arrive(QStringLiteral("5.jtl"), QStringLiteral("First"));
    arrive(QStringLiteral("6.jtl"), QStringLiteral("Second"));
    settle();
    ASSERT_EQ(list->count(), 2);
    TSingolNote *first = noteNamed(QStringLiteral("5.jtl"));

    arrive(QStringLiteral("5.jtl"), QStringLiteral("First, edited there"));
    settle();
    EXPECT_EQ(noteNamed(QStringLiteral("5.jtl")), first) << "the same window";
    EXPECT_EQ(first->NoteTitle->text(), QStringLiteral("First, edited there"));

    ASSERT_TRUE(QFile::remove(pathOf(QStringLiteral("6.jtl"))));
    settle();
    EXPECT_EQ(list->count(), 1);
    EXPECT_EQ(noteNamed(QStringLiteral("6.jtl")), nullptr);
    list->saveAll(); // at Exit: it is not brought back
    EXPECT_FALSE(QFile::exists(pathOf(QStringLiteral("6.jtl"))));
    EXPECT_TRUE(QFile::exists(pathOf(QStringLiteral("5.jtl"))));
}

// A save never writes over a version it has not read: with nothing of its
// own it writes nothing; with its own changes both versions are kept; a
// note removed elsewhere while edited here comes back with the edit.
TEST_F(SyncedFolder, ASaveKeepsBothVersionsAndTheEditWins)
{
    TSingolNote *note = list->addNew(true, false);
    note->NoteTitle->setText(QStringLiteral("Mine"));
    note->SaveNote();
    const QString name = note->NoteFileName();

    arrive(name, QStringLiteral("Theirs"));
    note->SaveNote(); // nothing changed here
    EXPECT_EQ(storage::readNoteFile(pathOf(name), {}, {}, {}).title, QStringLiteral("Theirs"));

    note->NoteText->setPlainText(QStringLiteral("typed here"));
    note->SaveNote();
    EXPECT_NE(note->NoteFileName(), name) << "this side's version is a note of its own";
    EXPECT_EQ(storage::readNoteFile(pathOf(name), {}, {}, {}).title, QStringLiteral("Theirs"));
    EXPECT_EQ(storage::readNoteFile(note->notePath(), {}, {}, {}).lines,
              QStringList {QStringLiteral("typed here")});
    settle();
    ASSERT_EQ(list->count(), 2) << "the other version comes in beside it";
    EXPECT_EQ(noteNamed(name)->NoteTitle->text(), QStringLiteral("Theirs"));

    const QString mine = note->NoteFileName();
    storage::deleteNoteFiles(note->notePath());
    note->NoteText->setPlainText(QStringLiteral("typed on"));
    settle();
    EXPECT_EQ(noteNamed(mine), note);
    EXPECT_EQ(storage::readNoteFile(pathOf(mine), {}, {}, {}).lines,
              QStringList {QStringLiteral("typed on")});
}

// Closed for good here while edited there: the edit is not deleted, and
// the note comes back with it.
TEST_F(SyncedFolder, ANoteClosedHereButEditedThereIsNotDeleted)
{
    arrive(QStringLiteral("5.jtl"), QStringLiteral("Shared"));
    settle();
    ASSERT_EQ(list->count(), 1);
    arrive(QStringLiteral("5.jtl"), QStringLiteral("Edited there"));
    TSingolNote *note = list->form(0);
    note->discard();
    note->close();
    EXPECT_TRUE(QFile::exists(pathOf(QStringLiteral("5.jtl"))));
    settle();
    TSingolNote *back = nullptr;
    for (int i = 0; i < list->count(); ++i) {
        if (!list->form(i)->Discarded())
            back = list->form(i);
    }
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->NoteTitle->text(), QStringLiteral("Edited there"));
}

// Nobody calls the look: the folder's watch does, a moment after the change.
TEST_F(SyncedFolder, TheWatchTakesChangesWithoutPolling)
{
    arrive(QStringLiteral("5.jtl"), QStringLiteral("Watched"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return list->count() == 1; }, 10000));
}
