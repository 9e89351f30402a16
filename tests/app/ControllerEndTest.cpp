// The program ends, by each way there is, while a window of a note is open,
// or while a note cannot be saved.
#include "app/ControllerFixture.h"

#include "app/DLista.h"
#include "app/TrayIcon.h"
#include "note/Note.h"
#include "note/NoteServices.h"
#include "storage/NoteFolder.h"
#include "support/TempHome.h"
#include "ui/NoteText.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPrinter>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

namespace {

using Ending = TFJotletLightMain::Ending;

// A command of a note's menus that opens a modal window and waits in it.
struct OpenWindow
{
    const char *name;
    QAction *(*item)(const note::NoteMenus &menus);
};

const OpenWindow kOpenWindows[] = {
    {"FontDialog",
     [](const note::NoteMenus &m) {
         return m.Font1;
     }},
    {"ColorDialog",
     [](const note::NoteMenus &m) {
         return m.Background1;
     }},
    {"FileDialog",
     [](const note::NoteMenus &m) {
         return m.InsertBitmap1;
     }},
    {"AlarmDialog",
     [](const note::NoteMenus &m) {
         return m.Noteexpiration1;
     }},
    {"Confirmation",
     [](const note::NoteMenus &m) {
         return m.Close1;
     }},
    {"PrintError",
     [](const note::NoteMenus &m) {
         return m.Print1;
     }},
};

const std::pair<const char *, Ending> kEndings[]
    = {{"Exit", Ending::Exit}, {"Restart", Ending::Restart}, {"Quietly", Ending::Quietly}};

class EndWithAWindowOpen
    : public ControllerTest,
      public ::testing::WithParamInterface<std::tuple<OpenWindow, std::pair<const char *, Ending>>>
{
protected:
    void TearDown() override { ControllerTest::TearDown(); }
};

// The window runs its own event loop on the note's stack: freeing the note
// under it was a double free. The note must go only once the window is
// back, and nothing typed may be lost.
TEST_P(EndWithAWindowOpen, ClosesTheWindowSavesEveryNoteAndEndsOnce)
{
    const auto &[window, ending] = GetParam();
    writeNote(QStringLiteral("1.jtl"), noteRecord(QStringLiteral("one")));
    auto controller = startController();
    TSingolNote *note = noteAt(*controller, 0);
    note->NoteText->setPlainText(QStringLiteral("Call Anna 0123"));
    printer = [] {
        return std::unique_ptr<QPrinter>();
    };
    dialogs::setScript(nullptr); // real windows, real event loops
    QSignalSpy finished(controller.get(), &TFJotletLightMain::finished);

    bool opened = false;
    QTimer::singleShot(100, controller.get(), [&] {
        opened = QApplication::activeModalWidget() != nullptr;
        controller->requestEnd(ending.second);
    });
    note->runMenuItem(window.item(note->Menus));

    EXPECT_TRUE(opened) << "the command opened no modal window";
    EXPECT_TRUE(finished.count() == 1 || finished.wait(5000));
    EXPECT_EQ(controller->notes(), nullptr);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(readNote(QStringLiteral("1.jtl")).lines,
              QStringList {QStringLiteral("Call Anna 0123")});
    EXPECT_EQ(startedPrograms.size(), ending.second == Ending::Restart ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(Windows, EndWithAWindowOpen,
                         ::testing::Combine(::testing::ValuesIn(kOpenWindows),
                                            ::testing::ValuesIn(kEndings)),
                         [](const auto &param) {
                             return std::string(std::get<0>(param.param).name)
                                 + std::get<1>(param.param).first;
                         });

class EndWithAFailingSave : public ControllerTest,
                            public ::testing::WithParamInterface<std::pair<const char *, Ending>>
{
protected:
    // A folder where the body file belongs: no save can replace it.
    void breakBody() const
    {
        const QString body = storage::companionPath(pathOf(QStringLiteral("1.jtl")));
        QFile::remove(body);
        ASSERT_TRUE(QDir().mkdir(body));
    }
    void mendBody() const
    {
        QDir(storage::companionPath(pathOf(QStringLiteral("1.jtl")))).removeRecursively();
    }
};

// The user asked for the end and is there to read why it cannot happen:
// the note stays open and the program goes on, until the save can be made.
TEST_P(EndWithAFailingSave, TheUsersEndKeepsTheNoteOpenAndRunningUntilItCanBeSaved)
{
    const Ending ending = GetParam().second;
    writeNote(QStringLiteral("1.jtl"), noteRecord(QStringLiteral("Phone numbers")));
    writeNote(QStringLiteral("2.jtl"), noteRecord(QStringLiteral("two")));
    auto controller = startController();
    TSingolNote *note = noteAt(*controller, 0);
    note->NoteText->setPlainText(QStringLiteral("Plumber 0987"));
    ASSERT_NO_FATAL_FAILURE(breakBody());

    controller->requestEnd(ending);
    EXPECT_FALSE(controller->isEnding());
    ASSERT_EQ(noteCount(*controller), 2);
    EXPECT_EQ(noteAt(*controller, 0), note);
    EXPECT_TRUE(note->isVisible());
    EXPECT_TRUE(startedPrograms.isEmpty());
    ASSERT_FALSE(errors.isEmpty());
    EXPECT_TRUE(errors.last().contains(QStringLiteral("\"Phone numbers\"")))
        << errors.last().toStdString();

    mendBody();
    controller->requestEnd(ending);
    EXPECT_TRUE(controller->hasEnded());
    EXPECT_EQ(readNote(QStringLiteral("1.jtl")).lines,
              QStringList {QStringLiteral("Plumber 0987")});
    EXPECT_EQ(startedPrograms.size(), ending == Ending::Restart ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(Endings, EndWithAFailingSave, ::testing::Values(kEndings[0], kEndings[1]),
                         [](const auto &param) { return std::string(param.param.first); });

// The options dialog ends in a restart; when that cannot save a note, the
// parked notes and the tray icon come back.
TEST_F(ControllerTest, OptionsWhoseRestartCannotSaveBringTheNotesAndTheTrayBack)
{
    writeNote(QStringLiteral("1.jtl"), noteRecord(QStringLiteral("one")));
    writeNote(QStringLiteral("2.jtl"), noteRecord(QStringLiteral("two"), false));
    auto controller = startController();
    noteAt(*controller, 0)->NoteText->setPlainText(QStringLiteral("typed"));
    duringOptions = [this] {
        const QString body = storage::companionPath(pathOf(QStringLiteral("1.jtl")));
        QFile::remove(body);
        QDir().mkdir(body);
    };

    controller->Options1Click();
    EXPECT_FALSE(controller->isEnding());
    EXPECT_TRUE(startedPrograms.isEmpty());
    EXPECT_TRUE(noteAt(*controller, 0)->isVisible());
    EXPECT_FALSE(noteAt(*controller, 1)->isVisible());
    EXPECT_FALSE(noteAt(*controller, 0)->Parked());
    EXPECT_TRUE(controller->RxTrayIcon1->isActive());
}

// Nobody answers at a session end: every note that can be saved is, and
// the program ends all the same.
TEST_F(ControllerTest, AQuietEndSavesWhatItCanAndEnds)
{
    writeNote(QStringLiteral("1.jtl"), noteRecord(QStringLiteral("one")));
    writeNote(QStringLiteral("2.jtl"), noteRecord(QStringLiteral("two")));
    auto controller = startController();
    noteAt(*controller, 0)->NoteText->setPlainText(QStringLiteral("lost"));
    noteAt(*controller, 1)->NoteText->setPlainText(QStringLiteral("kept"));
    const QString body = storage::companionPath(pathOf(QStringLiteral("1.jtl")));
    QFile::remove(body);
    ASSERT_TRUE(QDir().mkdir(body));

    controller->requestEnd(Ending::Quietly);
    EXPECT_TRUE(controller->hasEnded());
    EXPECT_EQ(readNote(QStringLiteral("2.jtl")).lines, QStringList {QStringLiteral("kept")});
    EXPECT_TRUE(errors.isEmpty()) << "no message box at a quiet end";
}

} // namespace
