// The note list: indexes and their errors, new and loaded notes, deleting,
// purging, saving all and destroying, with parked and failing notes.
#include "app/DLista.h"
#include "note/Note.h"
#include "note/NoteParts.h"
#include "note/NoteTestSupport.h"
#include "storage/NoteFile.h"
#include "storage/NoteFolder.h"
#include "support/TempHome.h"

#include <QDir>
#include <QFile>

using notetest::NoteFixture;

namespace {

class NoteList : public NoteFixture
{
protected:
    // A list of `count` saved notes titled "0", "1", ...
    void fill(TVeskLista &list, int count)
    {
        for (int i = 0; i < count; ++i) {
            TSingolNote *note = list.addNew(false, false);
            note->NoteTitle->setText(QString::number(i));
            note->SaveNote();
        }
    }
    QStringList titles(const TVeskLista &list)
    {
        QStringList result;
        for (int i = 0; i < list.count(); ++i)
            result.append(list.form(i)->NoteTitle->text());
        return result;
    }
    storage::NoteRecord stored(const QString &fileName)
    {
        return storage::readNoteFile(pathOf(fileName), storage::NoteRecord(), {}, {});
    }
};

template<typename Call> QString errorOf(const Call &call)
{
    try {
        call();
    } catch (const EVeskListError &e) {
        return e.message();
    }
    return QStringLiteral("no error");
}

} // namespace

TEST_F(NoteList, CountsItsNotesAndMinusOneOnceDestroyed)
{
    TVeskLista list(services);
    EXPECT_EQ(list.count(), 0);
    list.addNew(false, false);
    list.addFromFile(QString(), false);
    EXPECT_EQ(list.count(), 2);
    list.destroy();
    EXPECT_EQ(list.count(), -1);
    list.destroy(); // a second time finds nothing
    EXPECT_EQ(list.count(), -1);
}

TEST_F(NoteList, IndexesOutsideTheListRaiseTheirMessages)
{
    TVeskLista list(services);
    fill(list, 2);
    const QString formError = QStringLiteral("TVeskList.form(index):tFoglio: out of index");
    EXPECT_EQ(errorOf([&] { list.form(2); }), formError);
    EXPECT_EQ(errorOf([&] { list.form(-1); }), formError);
    const QString deleteError = QStringLiteral("TVeskList.delete(index):tFoglio:Out of index");
    EXPECT_EQ(errorOf([&] { list.deleteNote(2); }), deleteError);
    EXPECT_EQ(errorOf([&] { list.deleteNote(-1); }), deleteError);
    EXPECT_EQ(list.count(), 2);
    EXPECT_EQ(noteFiles().size(), 2);
    list.destroy();
    EXPECT_EQ(errorOf([&] { list.form(0); }), formError);
}

TEST_F(NoteList, ANewNoteKeepsTheSecondPlaceAndName)
{
    TVeskLista list(services);
    // Construction: left, top, three name draws; then the second round.
    draws.values = {10, 20, 1, 2, 3, 30, 40, 4, 5, 6};
    TSingolNote *note = list.addNew(true, true);
    EXPECT_EQ(note->pos(), QPoint(30, 40));
    EXPECT_EQ(note->NoteFileName(), QStringLiteral("26.jtl"));
    EXPECT_TRUE(note->isVisible());
    EXPECT_TRUE(note->OnTop());
    EXPECT_EQ(list.form(0), note);
    EXPECT_TRUE(noteFiles().isEmpty()); // nothing written under either name yet
}

TEST_F(NoteList, AnEmptyFileNameGivesAHiddenNewNote)
{
    TVeskLista list(services);
    TSingolNote *note = list.addFromFile(QString(), false);
    EXPECT_FALSE(note->isVisible());
    EXPECT_EQ(note->size(), QSize(135, 80));
    EXPECT_EQ(note->NoteTitle->text(), QStringLiteral("Vesk Jotlet 2003"));
}

TEST_F(NoteList, ANoteIsLoadedFromItsFile)
{
    {
        TVeskLista writer(services);
        fill(writer, 1);
        writer.form(0)->NoteTitle->setText(QStringLiteral("loaded"));
        writer.form(0)->show();
    } // destroying the list saves
    const QString name = noteFiles().value(0);
    TVeskLista list(services);
    TSingolNote *note = list.addFromFile(name, false);
    EXPECT_EQ(note->NoteFileName(), name);
    EXPECT_EQ(note->NoteTitle->text(), QStringLiteral("loaded"));
    EXPECT_TRUE(note->isVisible());
}

TEST_F(NoteList, ALoadErrorLeavesTheListAndTheFileAsTheyWere)
{
    testsupport::writeAll(pathOf(QStringLiteral("1.jtl")), QByteArray("\x02\x01", 2));
    TVeskLista list(services);
    fill(list, 1);
    EXPECT_THROW(list.addFromFile(QStringLiteral("1.jtl"), false), Error);
    EXPECT_EQ(list.count(), 1);
    EXPECT_EQ(testsupport::readAll(pathOf(QStringLiteral("1.jtl"))), QByteArray("\x02\x01", 2));
}

TEST_F(NoteList, DeletingEveryNoteRemovesAllTheirFiles)
{
    TVeskLista list(services);
    fill(list, 3);
    ASSERT_EQ(QDir(folder()).entryList(QDir::Files).size(), 6);
    for (int i = 0; i < 3; ++i)
        list.deleteNote(0);
    EXPECT_EQ(list.count(), 0);
    EXPECT_TRUE(QDir(folder()).isEmpty());
    EXPECT_TRUE(errors.isEmpty());
}

TEST_F(NoteList, DeletingMovesLaterNotesDown)
{
    TVeskLista list(services);
    fill(list, 3);
    list.deleteNote(1);
    EXPECT_EQ(titles(list), QStringList({"0", "2"}));
    EXPECT_EQ(noteFiles().size(), 2);
}

TEST_F(NoteList, PurgeRemovesExactlyTheDiscardedNotes)
{
    TVeskLista list(services);
    fill(list, 5);
    list.purgeClosed();
    EXPECT_EQ(list.count(), 5);
    list.form(0)->discard();
    list.form(2)->discard();
    list.form(3)->discard();
    list.purgeClosed();
    EXPECT_EQ(titles(list), QStringList({"1", "4"}));
    EXPECT_EQ(noteFiles().size(), 2);
    list.form(0)->discard();
    list.form(1)->discard();
    list.purgeClosed();
    EXPECT_EQ(list.count(), 0);
    EXPECT_TRUE(QDir(folder()).isEmpty());
}

TEST_F(NoteList, SaveAllWritesEveryNoteAndRemovesDiscardedOnes)
{
    TVeskLista list(services);
    fill(list, 2);
    list.form(0)->NoteTitle->setText(QStringLiteral("changed"));
    list.form(1)->discard();
    list.saveAll();
    EXPECT_EQ(noteFiles(), QStringList({list.form(0)->NoteFileName()}));
    EXPECT_EQ(stored(list.form(0)->NoteFileName()).title, QStringLiteral("changed"));
    EXPECT_EQ(list.count(), 2); // the discarded note stays listed until purged
}

TEST_F(NoteList, OneFailingNoteDoesNotKeepTheOthersFromBeingSaved)
{
    TVeskLista list(services);
    fill(list, 2);
    // A folder where the first note's body file goes: its saves fail.
    const QString body = list.form(0)->NoteFileName() + QLatin1Char('2');
    ASSERT_TRUE(QFile::remove(pathOf(body)));
    ASSERT_TRUE(QDir(folder()).mkdir(body));
    list.form(1)->NoteTitle->setText(QStringLiteral("saved anyway"));
    EXPECT_THROW(list.saveAll(), Error);
    EXPECT_EQ(stored(list.form(1)->NoteFileName()).title, QStringLiteral("saved anyway"));

    list.form(1)->NoteTitle->setText(QStringLiteral("saved at the end"));
    const QString second = list.form(1)->NoteFileName();
    EXPECT_THROW(list.destroy(), Error);
    EXPECT_EQ(list.count(), -1);
    EXPECT_EQ(stored(second).title, QStringLiteral("saved at the end"));
}

TEST_F(NoteList, DestroyingSavesParkedNotesWithTheirVisibilityFromBefore)
{
    TVeskLista list(services);
    fill(list, 2);
    list.form(0)->show();
    const QString shown = list.form(0)->NoteFileName();
    const QString hidden = list.form(1)->NoteFileName();
    for (int i = 0; i < list.count(); ++i) {
        TSingolNote *note = list.form(i);
        note->park();
    }
    list.destroy();
    EXPECT_TRUE(stored(shown).visible);
    EXPECT_FALSE(stored(hidden).visible);
    EXPECT_TRUE(errors.isEmpty());
}

TEST_F(NoteList, UnreadableFilesAreNamedAndSkipped)
{
    TVeskLista writer(services);
    fill(writer, 2);
    writer.destroy();
    const QStringList good = noteFiles();
    testsupport::writeAll(pathOf(QStringLiteral("0.jtl")), "torn");
    TVeskLista list(services);
    const QStringList failures = addNotesFromFiles(list, QStringList({"0.jtl"}) + good);
    EXPECT_EQ(list.count(), 2);
    ASSERT_EQ(failures.size(), 1);
    EXPECT_TRUE(failures.first().startsWith(QStringLiteral("0.jtl: ")))
        << failures.first().toStdString();
    EXPECT_EQ(testsupport::readAll(pathOf(QStringLiteral("0.jtl"))), QByteArray("torn"));
}
