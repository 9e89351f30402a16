// The notes window: its search, its rows following the notes, its keys and
// commands, and the remote commands that open it and show a note.
#include "app/ControllerFixture.h"

#include "app/DLista.h"
#include "app/NotesModel.h"
#include "app/NotesWindow.h"
#include "note/Note.h"
#include "note/NoteParts.h"
#include "settings/DResource.h"
#include "storage/DateTime.h"
#include "ui/NoteListing.h"
#include "ui/NoteText.h"

#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTest>

namespace {

using app::NotesModel;

struct SearchCase
{
    const char *title;
    QStringList lines;
    const char *query;
    std::optional<ui::TextSpan> inTitle;
    int line;
    ui::TextSpan inLine;
};

// Case, accents (precomposed or combining), letters without a
// decomposition, blanks, and where the match is: the title, a line, both.
TEST(NoteSearch, IgnoresCaseAndAccentsAndSaysWhereTheTextIs)
{
    const std::optional<ui::TextSpan> none;
    const SearchCase cases[] = {
        {"Phone numbers", {"Anna"}, "PHONE", ui::TextSpan {0, 5}, -1, {}},
        {"Téléphone", {}, "telephone", ui::TextSpan {0, 9}, -1, {}},
        {"Notes", {"", "  Café Müller"}, "CAFE MULL", none, 1, {2, 9}},
        {"Notes", {QStringLiteral("Cafe\u0301 Tom")}, "café", none, 0, {0, 5}},
        {"Straße 5", {}, "strasse", ui::TextSpan {0, 6}, -1, {}},
        {"Łódź", {}, "lodz", ui::TextSpan {0, 4}, -1, {}},
        {"Table", {"Anna\t0123", "ﬁle"}, "anna 0123", none, 0, {0, 9}},
        {"Table", {"x", "ﬁle"}, "FILE", none, 1, {0, 3}},
        {"Anna", {"call Anna"}, "anna", ui::TextSpan {0, 4}, 0, {5, 4}},
        {"Anna", {"call"}, "bob", none, -1, {}},
        {"Anna", {"call"}, "", none, -1, {}},
    };
    for (const SearchCase &c : cases) {
        SCOPED_TRACE(c.query);
        const ui::NoteMatch match = ui::NoteSearchText(QString::fromUtf8(c.title), c.lines)
                                        .find(ui::foldForSearch(QString::fromUtf8(c.query)));
        EXPECT_EQ(match.title, c.inTitle);
        EXPECT_EQ(match.line, c.line);
        if (c.line >= 0) {
            EXPECT_EQ(match.inLine, c.inLine);
        }
    }
}

class NotesWindowTest : public ControllerTest
{
protected:
    // 1.jtl visible, 2.jtl hidden, 3.jtl rolled up, 4.jtl on top with an
    // alarm, 5.jtl closed for good.
    std::unique_ptr<TFJotletLightMain> startWithNotes()
    {
        writeNote(QStringLiteral("1.jtl"), noteRecord(QStringLiteral("Shopping")));
        writeNote(QStringLiteral("2.jtl"), noteRecord(QStringLiteral("Garage"), false));
        storage::NoteRecord rolled = noteRecord(QStringLiteral("Plumber"));
        rolled.width = rolled.height = 20;
        rolled.lines = QStringList {QStringLiteral("Mr. Lefèvre 0555")};
        writeNote(QStringLiteral("3.jtl"), rolled);
        storage::NoteRecord alarm = noteRecord(QStringLiteral("Dentist"));
        alarm.onTop = true;
        alarm.alarmEnabled = true;
        alarm.alarmDate = storage::encodeDate(2030, 5, 11);
        alarm.alarmTime = storage::encodeTime(18, 0, 0);
        writeNote(QStringLiteral("4.jtl"), alarm);
        writeNote(QStringLiteral("5.jtl"), noteRecord(QStringLiteral("Gone")));
        auto controller = startController();
        noteAt(*controller, 4)->discard();
        noteAt(*controller, 4)->close();
        return controller;
    }

    static QStringList titles(const NotesModel &model)
    {
        QStringList shown;
        for (int row = 0; row < model.rowCount(); ++row)
            shown << model.rowAt(row).title;
        return shown;
    }

    static app::NotesWindow *openWindow(TFJotletLightMain &controller)
    {
        EXPECT_EQ(controller.runRemoteCommand(platform::ControlCommand::Notes), QString());
        return controller.notesWindow();
    }
};

TEST_F(NotesWindowTest, ListsEveryNoteWithItsMarksAndFollowsTheNotesLive)
{
    auto controller = startWithNotes();
    app::NotesWindow *window = openWindow(*controller);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    const NotesModel &model = *window->Model;
    EXPECT_EQ(titles(model),
              (QStringList {QStringLiteral("Shopping"), QStringLiteral("Garage"),
                            QStringLiteral("Plumber"), QStringLiteral("Dentist")}));
    EXPECT_EQ(NotesModel::stateMarks(model.rowAt(0)), QStringList());
    EXPECT_EQ(NotesModel::stateMarks(model.rowAt(1)), QStringList {QStringLiteral("hidden")});
    // A hidden note is listed with its text without making its body editor.
    EXPECT_EQ(model.rowAt(1).lines, noteRecord(QStringLiteral("Garage"), false).lines);
    EXPECT_FALSE(noteAt(*controller, 1)->NoteText.made());
    EXPECT_EQ(NotesModel::stateMarks(model.rowAt(2)), QStringList {QStringLiteral("rolled up")});
    EXPECT_EQ(NotesModel::stateMarks(model.rowAt(3)), QStringList {QStringLiteral("on top")});
    EXPECT_EQ(model.rowAt(3).alarm, QDateTime(QDate(2030, 5, 11), QTime(18, 0)));
    EXPECT_TRUE(
        NotesModel::timeMarks(model.rowAt(3)).value(0).startsWith(QStringLiteral("Alarm ")));

    // A search by the body's text, and the line it shows.
    QTest::keyClicks(window->Search, QStringLiteral("lefevre"));
    EXPECT_EQ(titles(model), QStringList {QStringLiteral("Plumber")});
    EXPECT_EQ(model.shownLine(0), QStringLiteral("Mr. Lefèvre 0555"));

    // Changes come while the window is open: typed text, a new note, a
    // hidden one, one closed for good, one changed elsewhere, one deleted
    // from the list.
    noteAt(*controller, 0)->NoteText->setPlainText(QStringLiteral("Call M. Lefèvre"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return model.rowCount() == 2; }))
        << "typed text reaches the list by itself";
    controller->NewJotlet1Click();
    noteAt(*controller, 5)->NoteText->setPlainText(QStringLiteral("lefevre too"));
    noteAt(*controller, 0)->hide();
    script.confirmations = {true};
    TSingolNote *plumber = noteAt(*controller, 2);
    plumber->runMenuItem(plumber->Menus.Close1);
    // Changed elsewhere (a sync program) and loaded again in place.
    storage::NoteRecord garage = noteRecord(QStringLiteral("Garage door"), false);
    garage.lines = QStringList {QStringLiteral("Lefevre fixes it")};
    writeNote(QStringLiteral("2.jtl"), garage);
    noteAt(*controller, 1)->LoadNote(QStringLiteral("2.jtl"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return model.rowCount() == 3 && model.noteCount() == 4; }));
    EXPECT_EQ(titles(model),
              (QStringList {QStringLiteral("Shopping"), QStringLiteral("Garage door"),
                            QStringLiteral("Vesk Jotlet 2003")}));
    EXPECT_EQ(NotesModel::stateMarks(model.rowAt(0)), QStringList {QStringLiteral("hidden")});
    controller->notes()->deleteNote(0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return model.noteCount() == 3; }));
    EXPECT_EQ(titles(model),
              (QStringList {QStringLiteral("Garage door"), QStringLiteral("Vesk Jotlet 2003")}));

    // Closed, the window follows nothing; opened again, it lists what is there.
    window->close();
    EXPECT_EQ(model.noteCount(), 0);
    controller->NewJotlet1Click();
    EXPECT_EQ(model.noteCount(), 0);
    window->Search->clear();
    openWindow(*controller);
    EXPECT_EQ(model.noteCount(), 4);
}

TEST_F(NotesWindowTest, TheKeyboardFindsShowsHidesAndClosesANote)
{
    auto controller = startWithNotes();
    TSingolNote *plumber = noteAt(*controller, 2);
    app::NotesWindow *window = openWindow(*controller);
    QTest::keyClicks(window->Search, QStringLiteral("PLUMB"));
    QTest::keyClick(window->Search, Qt::Key_Return);
    // Shown, unrolled and above every window for now, its on-top state kept.
    EXPECT_TRUE(plumber->isVisible());
    EXPECT_EQ(plumber->size(), QSize(200, 150));
    EXPECT_TRUE(plumber->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_FALSE(plumber->OnTop());
    notetest::deactivate(*plumber);
    EXPECT_FALSE(plumber->windowFlags().testFlag(Qt::WindowStaysOnTopHint));

    // Escape clears the search; Up and Down move through the list from it.
    QTest::keyClick(window->Search, Qt::Key_Escape);
    EXPECT_TRUE(window->Search->text().isEmpty());
    EXPECT_EQ(window->selectedNote(), plumber);
    QTest::keyClick(window->Search, Qt::Key_Down);
    EXPECT_EQ(window->selectedNote(), noteAt(*controller, 3));
    QTest::keyClick(window->Search, Qt::Key_Up);
    QTest::keyClick(window->Search, Qt::Key_Up);
    EXPECT_EQ(window->selectedNote(), noteAt(*controller, 1));
    window->HideButton->click();
    window->Model->updateNow();
    window->ShowButton->click();
    EXPECT_TRUE(noteAt(*controller, 1)->isVisible());

    // Delete asks the note's own question; Cancel keeps the note.
    TSingolNote *garage = noteAt(*controller, 1);
    QTest::keyClick(window->List, Qt::Key_Delete);
    EXPECT_EQ(script.questions, QStringList {TReadRes::current().GetText(97)});
    EXPECT_FALSE(garage->Discarded());
    script.confirmations = {true};
    window->CloseForGoodButton->click();
    EXPECT_TRUE(garage->Discarded());
    EXPECT_FALSE(QFile::exists(pathOf(QStringLiteral("2.jtl"))));
    EXPECT_EQ(window->Model->rowOf(garage), -1);
    EXPECT_EQ(window->selectedNote(), plumber) << "the next note is selected";

    // Typing in the list searches; Escape there closes the window.
    QTest::keyClicks(window->List, QStringLiteral("dent"));
    EXPECT_EQ(window->Search->text(), QStringLiteral("dent"));
    EXPECT_EQ(titles(*window->Model), QStringList {QStringLiteral("Dentist")});
    QTest::keyClick(window->List, Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
}

TEST_F(NotesWindowTest, RemoteCommandsOpenTheWindowAndShowANoteByItsFileName)
{
    using platform::ControlCommand;
    auto controller = startWithNotes();
    EXPECT_EQ(controller->runRemoteCommand(ControlCommand::Show, QStringLiteral("3.jtl")),
              QString());
    EXPECT_TRUE(noteAt(*controller, 2)->isVisible());
    EXPECT_EQ(noteAt(*controller, 2)->size(), QSize(200, 150));
    EXPECT_EQ(controller->runRemoteCommand(ControlCommand::Show, QStringLiteral("9.jtl")),
              QStringLiteral("there is no note 9.jtl"));
    EXPECT_EQ(controller->runRemoteCommand(ControlCommand::Show, QStringLiteral("5.jtl")),
              QStringLiteral("there is no note 5.jtl"))
        << "closed for good";
    EXPECT_FALSE(noteAt(*controller, 4)->isVisible());

    // The window goes while the notes are parked, and nothing opens meanwhile.
    openWindow(*controller);
    controller->About2Click();
    EXPECT_FALSE(controller->notesWindow()->isVisible());
    EXPECT_NE(controller->runRemoteCommand(ControlCommand::Notes), QString());
    EXPECT_NE(controller->runRemoteCommand(ControlCommand::Show, QStringLiteral("2.jtl")),
              QString());
    EXPECT_FALSE(noteAt(*controller, 1)->isVisible());
    controller->BContinueClick();
    controller->Menu.AllNotes1->trigger();
    EXPECT_TRUE(controller->notesWindow()->isVisible());
}

} // namespace
