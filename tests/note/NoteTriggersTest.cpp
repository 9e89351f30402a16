// When a note saves itself: on body focus loss, on deactivation with changes,
// on application activation changes (the latest note only), on close, and a
// moment after any change; a save that fails is reported and nothing is lost.
#include "note/Note.h"
#include "note/NoteTestSupport.h"
#include "storage/NoteFolder.h"
#include "ui/NoteText.h"

#include <QDir>
#include <QFile>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPointer>
#include <QTest>

#include <map>

using notetest::NoteFixture;

namespace {

class SaveTriggers : public NoteFixture
{
protected:
    // Saved since the last forget(), or at all before one. Files that
    // vanish behind a note's back would be gone elsewhere to it, so the
    // saves are counted instead.
    bool saved(const TSingolNote &note) const
    {
        const auto counted = m_saves.find(&note);
        if (counted != m_saves.end())
            return counted->second > 0;
        return QFile::exists(note.notePath())
            && QFile::exists(storage::companionPath(note.notePath()));
    }
    void forget(const TSingolNote &note)
    {
        if (m_saves.count(&note) == 0) {
            QObject::connect(&note, &TSingolNote::noteSaved,
                             [this, key = &note] { ++m_saves[key]; });
            QObject::connect(&note, &QObject::destroyed,
                             [this, key = &note] { m_saves.erase(key); });
        }
        m_saves[&note] = 0;
    }
    std::map<const TSingolNote *, int> m_saves;
    void bodyLosesFocus(TSingolNote &note, Qt::FocusReason reason = Qt::TabFocusReason)
    {
        QFocusEvent event(QEvent::FocusOut, reason);
        QGuiApplication::sendEvent(note.NoteText, &event);
    }
    // A folder where the body file should go: every save of the note fails,
    // for root as well.
    void blockBodyFile(const TSingolNote &note)
    {
        QFile::remove(storage::companionPath(note.notePath()));
        QDir(folder()).mkdir(QFileInfo(storage::companionPath(note.notePath())).fileName());
    }
};

} // namespace

TEST_F(SaveTriggers, BodyFocusLossSavesEvenWithoutChanges)
{
    TSingolNote note(false, services);
    notetest::deactivate(note); // no change waits for a deactivation
    forget(note);
    bodyLosesFocus(note);
    EXPECT_TRUE(saved(note));
}

TEST_F(SaveTriggers, APopupMenuOverTheBodyDoesNotSave)
{
    TSingolNote note(false, services);
    bodyLosesFocus(note, Qt::PopupFocusReason);
    EXPECT_FALSE(saved(note));
}

TEST_F(SaveTriggers, DeactivationSavesOnceWhileModified)
{
    TSingolNote note(false, services);
    ASSERT_TRUE(note.Modified()); // a new note has changes
    notetest::deactivate(note);
    EXPECT_TRUE(saved(note));
    EXPECT_FALSE(note.Modified());
    forget(note);
    notetest::deactivate(note);
    EXPECT_FALSE(saved(note));
    note.TitleEdit->setText(QStringLiteral("edited")); // a title being edited
    notetest::deactivate(note);
    EXPECT_TRUE(saved(note));
}

TEST_F(SaveTriggers, ApplicationActivationChangesReachTheLatestNoteOnly)
{
    TSingolNote first(false, services);
    auto latest = std::make_unique<TSingolNote>(false, services);
    Q_EMIT qGuiApp->applicationStateChanged(Qt::ApplicationInactive);
    EXPECT_TRUE(saved(*latest));
    EXPECT_FALSE(saved(first));
    EXPECT_FALSE(latest->Modified());
    EXPECT_TRUE(first.Modified());

    // Once the latest note is gone nothing is called.
    latest.reset();
    Q_EMIT qGuiApp->applicationStateChanged(Qt::ApplicationActive);
    EXPECT_FALSE(saved(first));
}

TEST_F(SaveTriggers, ClosingSavesAndHidesWithoutDestroying)
{
    auto *note = new TSingolNote(false, services);
    QPointer<TSingolNote> alive(note);
    note->show();
    notetest::deactivate(*note);
    EXPECT_TRUE(note->close());
    EXPECT_TRUE(saved(*note));
    EXPECT_FALSE(note->isVisible());
    ASSERT_FALSE(alive.isNull());
    delete note;
}

TEST_F(SaveTriggers, ClosingADiscardedNoteDeletesItsFiles)
{
    TSingolNote note(false, services);
    note.show();
    note.SaveNote();
    note.discard();
    EXPECT_TRUE(note.close());
    EXPECT_TRUE(QDir(folder()).isEmpty());
    EXPECT_TRUE(errors.isEmpty());
}

TEST_F(SaveTriggers, AFailedSaveIsReportedAndTheNoteStaysOpen)
{
    TSingolNote note(false, services);
    note.show();
    blockBodyFile(note);
    EXPECT_FALSE(note.close());
    EXPECT_TRUE(note.isVisible());
    ASSERT_EQ(errors.size(), 1);
    EXPECT_FALSE(errors.first().isEmpty());

    notetest::deactivate(note);
    EXPECT_EQ(errors.size(), 2);
    EXPECT_TRUE(note.Modified()); // still to be saved
}

TEST_F(SaveTriggers, ADestroyedNoteDoesNotSaveAsItsBodyLosesTheFocus)
{
    auto note = std::make_unique<TSingolNote>(false, services);
    note->show();
    note->NoteText->setFocus();
    notetest::deactivate(*note);
    bool savedAgain = false;
    QObject::connect(note.get(), &TSingolNote::noteSaved, [&] { savedAgain = true; });
    note.reset();
    EXPECT_FALSE(savedAgain);
    EXPECT_TRUE(errors.isEmpty());
}

// Text typed into a note that keeps the focus is on disk seconds later,
// also while the typing goes on; a note that does not change writes nothing
// and waits for nothing; a failing disk is reported once, not per keystroke.
TEST_F(SaveTriggers, ChangesWriteThemselvesSoonWhileTheyGoOnAndOnlyThen)
{
    TSingolNote note(false, services);
    notetest::deactivate(note); // no change waits for a deactivation
    forget(note);
    note.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return saved(note); }, 10000)) << "a shown note is a change";

    forget(note);
    bool savedWhileTyping = false;
    for (int key = 0; key < 100 && !savedWhileTyping; ++key) {
        QTest::keyClick(note.NoteText, Qt::Key_A);
        QTest::qWait(100);
        savedWhileTyping = saved(note);
    }
    EXPECT_TRUE(savedWhileTyping) << "typing without a pause was never saved";
    ASSERT_TRUE(QTest::qWaitFor([&] { return !note.hasUnsavedChanges(); }, 10000));
    const QDateTime written = QFileInfo(note.notePath()).lastModified();
    QTest::qWait(TSingolNote::kSaveAfterQuietMs + 500);
    EXPECT_EQ(QFileInfo(note.notePath()).lastModified(), written);
    EXPECT_FALSE(note.hasUnsavedChanges());
    EXPECT_FALSE(note.Modified()) << "no save trigger of its own was pulled";

    forget(note);
    blockBodyFile(note);
    for (int round = 0; round < 2; ++round) {
        QTest::keyClick(note.NoteText, Qt::Key_B);
        QTest::qWait(TSingolNote::kSaveAfterQuietMs + 500);
    }
    EXPECT_EQ(errors.size(), 1) << errors.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(note.hasUnsavedChanges());
}
