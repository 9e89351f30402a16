// Start-up, note loading and the ends of the program.
#include "app/ControllerFixture.h"

#include "app/AboutBox.h"
#include "app/DLista.h"
#include "app/ProgramEnds.h"
#include "app/SingleInstance.h"
#include "app/TrayIcon.h"
#include "note/Note.h"
#include "platform/ControlChannel.h"
#include "platform/Paths.h"
#include "platform/Product.h"
#include "platform/Registry.h"
#include "platform/SignalBridge.h"
#include "settings/DResource.h"
#include "settings/veskUt.h"
#include "storage/NoteFolder.h"
#include "support/TempHome.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QSystemTrayIcon>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <csignal>

using settings::settingsKeyPath;

namespace {

QString registryText(const QString &name)
{
    const std::optional<platform::RegValue> value
        = platform::RegistryKey(settingsKeyPath()).value(name);
    return value ? value->text() : QString();
}

} // namespace

TEST_F(ControllerTest, FirstRunAsksForALanguageAndRestartsWithoutTouchingNotes)
{
    QFile::remove(platform::registryFile()); // no FirstRun value at all
    writeNote(QStringLiteral("1.jtl"), noteRecord(QStringLiteral("kept")));
    const QByteArray before = testsupport::readAll(pathOf(QStringLiteral("1.jtl")));
    auto controller = makeController();
    QSignalSpy released(controller.get(), &TFJotletLightMain::noteFolderReleased);
    QSignalSpy finished(controller.get(), &TFJotletLightMain::finished);

    controller->activate();

    EXPECT_EQ(script.messages,
              QStringList {QStringLiteral(
                  "This is the first time you run Harvel Jotlet Light: Please select a language")});
    EXPECT_FALSE(readRegBool(QStringLiteral("FirstRun"), true));
    EXPECT_EQ(optionsRuns, QList<bool> {true});
    EXPECT_EQ(startedPrograms,
              QStringList {programFolder + QStringLiteral("/jotletlight in ") + programFolder});
    EXPECT_EQ(released.count(), 1);
    EXPECT_EQ(finished.count(), 1);
    EXPECT_TRUE(controller->hasEnded());
    EXPECT_EQ(controller->notes(), nullptr);
    EXPECT_EQ(noteFiles(), QStringList {QStringLiteral("1.jtl")});
    EXPECT_EQ(testsupport::readAll(pathOf(QStringLiteral("1.jtl"))), before);
}

TEST_F(ControllerTest, CreationWritesTheStartValuesAndStartsTheTrayAndTimer)
{
    auto controller = makeController();
    EXPECT_EQ(registryText(QStringLiteral("Path")), QDir::toNativeSeparators(programFolder));
    EXPECT_EQ(registryText(QStringLiteral("Filename")),
              QDir::toNativeSeparators(programFolder + QStringLiteral("/jotletlight")));
    EXPECT_EQ(registryText(QStringLiteral("Version")), QStringLiteral("1.9.5"));

    EXPECT_TRUE(controller->RxTrayIcon1->isActive());
    EXPECT_EQ(controller->RxTrayIcon1->hint(), QStringLiteral("Vesk Jotlet 2000"));
    EXPECT_FALSE(controller->RxTrayIcon1->icon().isNull()); // the built-in one
    EXPECT_TRUE(controller->TimerAlarm->isActive());
    EXPECT_EQ(controller->TimerAlarm->interval(), 5000);
    // The About window waits at its remembered size, shrunk and hidden.
    EXPECT_EQ(controller->AboutWidth, 341);
    EXPECT_EQ(controller->AboutHeight, 359);
    EXPECT_FALSE(controller->isVisible());
    EXPECT_EQ(controller->PanGen->Lname->text(), QStringLiteral("Vesk Jotlet 2003"));
    EXPECT_EQ(controller->notes(), nullptr);
    EXPECT_FALSE(controller->NotesLoaded);
}

TEST_F(ControllerTest, AnEmptyNoteFolderGivesAnEmptyListAndTheCaptionsOfTheLanguage)
{
    auto controller = startController();
    EXPECT_TRUE(QFileInfo(folder()).isDir());
    EXPECT_EQ(controller->NotesFolder, folder());
    EXPECT_EQ(noteCount(*controller), 0);
    EXPECT_TRUE(controller->NotesLoaded);

    const TReadRes &texts = TReadRes::current();
    const app::MainMenu &menu = controller->Menu;
    const QList<QAction *> items = menu.PopupMenuPrinc->actions();
    ASSERT_EQ(items.size(), 8);
    EXPECT_EQ(items[0], menu.NewJotlet1);
    EXPECT_EQ(items[1], menu.Desktop1->menuAction());
    EXPECT_EQ(items[2], menu.AllNotes1);
    EXPECT_EQ(items[3], menu.Options1);
    EXPECT_EQ(items[4], menu.DeleteAllJotlet1);
    EXPECT_EQ(items[5], menu.About2);
    EXPECT_TRUE(items[6]->isSeparator());
    EXPECT_EQ(items[7], menu.Close1);
    EXPECT_EQ(menu.Desktop1->actions(),
              (QList<QAction *> {menu.ShowAllJotlet1, menu.CloseAllJotlet1}));
    EXPECT_EQ(menu.NewJotlet1->text(), texts.GetText(0));
    EXPECT_EQ(menu.Desktop1->title(), texts.GetText(1));
    EXPECT_EQ(menu.ShowAllJotlet1->text(), texts.GetText(2));
    EXPECT_EQ(menu.CloseAllJotlet1->text(), texts.GetText(3));
    EXPECT_EQ(menu.AllNotes1->text(), texts.GetText(12));
    EXPECT_EQ(menu.Options1->text(), texts.GetText(4));
    EXPECT_EQ(menu.DeleteAllJotlet1->text(), texts.GetText(5));
    EXPECT_EQ(menu.Close1->text(), texts.GetText(6));
    EXPECT_EQ(menu.About2->text(), texts.GetText(17));
    EXPECT_EQ(controller->PanGen->BContinue->text(), texts.GetText(16));
    EXPECT_EQ(controller->RxTrayIcon1->hint(), QStringLiteral("Vesk Jotlet 2003"));
    EXPECT_TRUE(controller->PanGen->LOptions->text().isEmpty());
    EXPECT_TRUE(script.messages.isEmpty());
}

TEST_F(ControllerTest, OnlyNoteFilesLoadNotBodyFilesNorTheirCopies)
{
    writeNote(QStringLiteral("a.jtl"), noteRecord(QStringLiteral("A")));
    writeNote(QStringLiteral("b.jtl"), noteRecord(QStringLiteral("B")));
    // A whole note file by its bytes, but its name holds ".jtl2".
    writeNote(QStringLiteral("x.jtl2.jtl"), noteRecord(QStringLiteral("X")));
    auto controller = startController();

    ASSERT_EQ(noteCount(*controller), 2);
    QStringList loaded;
    for (int i = 0; i < 2; ++i)
        loaded << noteAt(*controller, i)->NoteFileName();
    loaded.sort();
    EXPECT_EQ(loaded, (QStringList {QStringLiteral("a.jtl"), QStringLiteral("b.jtl")}));
    EXPECT_TRUE(script.messages.isEmpty());
}

TEST_F(ControllerTest, ADamagedNoteIsReportedByNameAndTheOthersStillLoad)
{
    writeNote(QStringLiteral("1.jtl"), noteRecord(QStringLiteral("one")));
    storage::ensureNoteFolder();
    const QByteArray garbage("this is not a note file");
    testsupport::writeAll(pathOf(QStringLiteral("2.jtl")), garbage);
    writeNote(QStringLiteral("3.jtl"), noteRecord(QStringLiteral("three")));
    auto controller = startController();

    EXPECT_EQ(noteCount(*controller), 2);
    ASSERT_EQ(script.messages.size(), 1);
    EXPECT_TRUE(script.messages[0].startsWith(QStringLiteral("2.jtl: ")))
        << script.messages[0].toStdString();
    EXPECT_EQ(testsupport::readAll(pathOf(QStringLiteral("2.jtl"))), garbage);
    // Nor does ending the program write over it.
    controller->Close1Click();
    EXPECT_EQ(testsupport::readAll(pathOf(QStringLiteral("2.jtl"))), garbage);
}

// Damage to the settings file costs the lines it hit, never the account:
// the next start is no first run, and every other value is still there.
TEST_F(ControllerTest, DamagedSettingsAreNoFirstRunAndKeepEveryReadableValue)
{
    writeNote(QStringLiteral("1.jtl"), noteRecord(QStringLiteral("kept")));
    writeRegInt(QStringLiteral("width"), 180);
    writeRegString(QStringLiteral("title"), QStringLiteral("Shopping"));
    startController()->Close1Click(); // every value a start writes is there
    const QByteArray settled = testsupport::readAll(platform::registryFile());
    const QByteArray firstRun("\"FirstRun\"=dword:00000000");
    const QByteArray width("\"width\"");
    ASSERT_TRUE(settled.contains(firstRun) && settled.contains(width));

    struct Damage
    {
        const char *what;
        QByteArray bytes;
        bool valuesReadable;
    };
    const Damage damages[] = {
        {"a stray NUL in the FirstRun line",
         QByteArray(settled).replace(firstRun, QByteArray("\"First\0Run\"=dword:00000000", 25)),
         true},
        {"a block of NULs between two lines and before one",
         QByteArray(settled)
             .replace(firstRun, QByteArray(4096, '\0') + '\n' + firstRun)
             .replace(width, QByteArray(512, '\0') + width),
         true},
        {"a file past the size the program reads",
         settled + ';' + QByteArray(17 * 1024 * 1024, 'x') + '\n', false},
    };
    for (const Damage &damage : damages) {
        SCOPED_TRACE(damage.what);
        testsupport::writeAll(platform::registryFile(), damage.bytes);
        script.messages.clear();
        optionsRuns.clear();
        auto controller = startController();
        EXPECT_TRUE(optionsRuns.isEmpty());
        EXPECT_FALSE(script.messages.contains(QStringLiteral(
            "This is the first time you run Harvel Jotlet Light: Please select a language")));
        EXPECT_EQ(noteCount(*controller), 1);
        if (damage.valuesReadable) {
            EXPECT_EQ(readRegInt(QStringLiteral("width"), 135), 180);
            EXPECT_EQ(readRegString(QStringLiteral("title"), QString()),
                      QStringLiteral("Shopping"));
        }
        controller->Close1Click();
    }
}

TEST_F(ControllerTest, LoadedNotesTakeTheirVisibilityFromTheirFiles)
{
    writeNote(QStringLiteral("1.jtl"), noteRecord(QStringLiteral("shown"), true));
    writeNote(QStringLiteral("2.jtl"), noteRecord(QStringLiteral("hidden"), false));
    auto controller = startController();
    ASSERT_EQ(noteCount(*controller), 2);
    for (int i = 0; i < 2; ++i) {
        TSingolNote *note = noteAt(*controller, i);
        EXPECT_EQ(note->isVisible(), note->NoteFileName() == QStringLiteral("1.jtl"));
    }
}

TEST_F(ControllerTest, TheWelcomeNoteMovesIntoTheNoteFolderAndLoads)
{
    storage::NoteRecord welcome = noteRecord(QStringLiteral("Welcome"));
    storage::writeNoteFile(programFolder + QStringLiteral("/about.jtl"), welcome);
    testsupport::writeAll(programFolder + QStringLiteral("/about.jtl2"), "Welcome body\n");
    auto controller = startController();

    EXPECT_FALSE(QFile::exists(programFolder + QStringLiteral("/about.jtl")));
    EXPECT_FALSE(QFile::exists(programFolder + QStringLiteral("/about.jtl2")));
    EXPECT_TRUE(QFile::exists(pathOf(QStringLiteral("about.jtl2"))));
    ASSERT_EQ(noteCount(*controller), 1);
    EXPECT_EQ(noteAt(*controller, 0)->NoteFileName(), QStringLiteral("about.jtl"));
    EXPECT_EQ(QFile::permissions(pathOf(QStringLiteral("about.jtl")))
                  & (QFileDevice::ReadGroup | QFileDevice::ReadOther),
              QFileDevice::Permissions());
}

TEST_F(ControllerTest, TheWelcomeNoteDoesNotReplaceOneAlreadyInTheNoteFolder)
{
    writeNote(QStringLiteral("about.jtl"), noteRecord(QStringLiteral("mine")));
    const QByteArray mine = testsupport::readAll(pathOf(QStringLiteral("about.jtl")));
    storage::writeNoteFile(programFolder + QStringLiteral("/about.jtl"),
                           noteRecord(QStringLiteral("Welcome")));
    testsupport::writeAll(programFolder + QStringLiteral("/about.jtl2"), "Welcome body\n");
    auto controller = startController();

    EXPECT_TRUE(QFile::exists(programFolder + QStringLiteral("/about.jtl")));
    EXPECT_TRUE(QFile::exists(programFolder + QStringLiteral("/about.jtl2")));
    EXPECT_EQ(testsupport::readAll(pathOf(QStringLiteral("about.jtl"))), mine);
    EXPECT_FALSE(QFile::exists(pathOf(QStringLiteral("about.jtl2"))));
    EXPECT_EQ(noteCount(*controller), 1);
}

TEST_F(ControllerTest, ExitSavesAndClosesEveryNoteAndEndsOnce)
{
    writeNote(QStringLiteral("1.jtl"), noteRecord(QStringLiteral("one")));
    auto controller = startController();
    noteAt(*controller, 0)->move(123, 145);
    QSignalSpy released(controller.get(), &TFJotletLightMain::noteFolderReleased);
    QSignalSpy finished(controller.get(), &TFJotletLightMain::finished);

    controller->Close1Click();
    EXPECT_EQ(controller->notes(), nullptr);
    EXPECT_EQ(readNote(QStringLiteral("1.jtl")).left, 123);
    EXPECT_EQ(finished.count(), 1);
    EXPECT_EQ(released.count(), 1);
    EXPECT_FALSE(controller->TimerAlarm->isActive());
    EXPECT_FALSE(controller->RxTrayIcon1->isActive());

    // A second request finds nothing left to do.
    controller->runRemoteCommand(platform::ControlCommand::Exit);
    controller->FreeNotes();
    EXPECT_EQ(finished.count(), 1);
    EXPECT_TRUE(startedPrograms.isEmpty());
}

TEST_F(ControllerTest, RestartLetsGoOfTheNoteFolderBeforeTheNewInstanceStarts)
{
    writeNote(QStringLiteral("1.jtl"), noteRecord(QStringLiteral("one")));
    auto controller = startController();
    noteAt(*controller, 0)->move(77, 88);
    QStringList order;
    QObject::connect(controller.get(), &TFJotletLightMain::noteFolderReleased, [&] {
        order << QStringLiteral("released") + QString::number(startedPrograms.size());
    });

    controller->runRemoteCommand(platform::ControlCommand::Restart);
    EXPECT_EQ(order, QStringList {QStringLiteral("released0")});
    EXPECT_EQ(startedPrograms.size(), 1);
    EXPECT_EQ(readNote(QStringLiteral("1.jtl")).left, 77);
    EXPECT_TRUE(controller->hasEnded());
}

TEST_F(ControllerTest, EveryEndOfSessionRequestSavesEveryNote)
{
    writeNote(QStringLiteral("1.jtl"), noteRecord(QStringLiteral("one")));
    auto controller = startController();
    TSingolNote *note = noteAt(*controller, 0);

    note->move(10, 20);
    controller->saveAllNotes(); // the session asks whether it may end
    EXPECT_EQ(readNote(QStringLiteral("1.jtl")).left, 10);
    note->move(30, 20);
    controller->saveAllNotes(); // and then ends
    EXPECT_EQ(readNote(QStringLiteral("1.jtl")).left, 30);
    EXPECT_FALSE(controller->hasEnded());
    EXPECT_EQ(noteCount(*controller), 1);
}

TEST_F(ControllerTest, WithoutATrayTheUserIsToldOnceAndGetsTheMenuInAWindow)
{
    auto first = makeController();
    ASSERT_FALSE(first->RxTrayIcon1->usesSystemTray());
    ASSERT_NE(first->RxTrayIcon1->fallbackWindow(), nullptr);
    EXPECT_TRUE(first->RxTrayIcon1->fallbackWindow()->isVisible());
    first->FormActivate();
    ASSERT_EQ(script.messages.size(), 1);
    EXPECT_TRUE(script.messages[0].contains(QStringLiteral("notification area")));
    first->Close1Click();

    auto second = makeController();
    second->FormActivate();
    EXPECT_EQ(script.messages.size(), 1);
}

// At log-in the panel may bring its tray after the program has started; a
// panel that ends or crashes takes its tray away again.
TEST_F(ControllerTest, TheStandInWindowGivesWayToATrayThatComesAndReturnsWhenItGoes)
{
    auto controller = makeController();
    controller->FormActivate();
    const QPointer<QWidget> standIn = controller->RxTrayIcon1->fallbackWindow();
    ASSERT_TRUE(standIn && standIn->isVisible());

    controller->TimerAlarmTimer();
    EXPECT_FALSE(controller->RxTrayIcon1->usesSystemTray()) << "no tray yet";

    trayAvailable = true;
    controller->TimerAlarmTimer();
    EXPECT_TRUE(controller->RxTrayIcon1->usesSystemTray());
    EXPECT_EQ(controller->RxTrayIcon1->fallbackWindow(), nullptr);
    EXPECT_TRUE(!standIn || !standIn->isVisible());
    EXPECT_TRUE(controller->RxTrayIcon1->isActive());
    EXPECT_EQ(controller->RxTrayIcon1->hint(), QStringLiteral("Vesk Jotlet 2003"));

    // A click on the tray icon makes a note, as on the stand-in.
    auto *tray = controller->RxTrayIcon1->findChild<QSystemTrayIcon *>();
    ASSERT_NE(tray, nullptr);
    const int notesBefore = noteCount(*controller);
    Q_EMIT tray->activated(QSystemTrayIcon::Trigger);
    EXPECT_EQ(noteCount(*controller), notesBefore + 1);

    trayAvailable = false;
    controller->TimerAlarmTimer();
    EXPECT_FALSE(controller->RxTrayIcon1->usesSystemTray());
    QWidget *back = controller->RxTrayIcon1->fallbackWindow();
    ASSERT_NE(back, nullptr);
    EXPECT_TRUE(back->isVisible());
    EXPECT_EQ(back->windowTitle(), QStringLiteral("Vesk Jotlet 2003"));
}

TEST_F(ControllerTest, ATerminationSignalSavesEveryNoteAndEnds)
{
    writeNote(QStringLiteral("1.jtl"), noteRecord(QStringLiteral("one")));
    auto controller = startController();
    noteAt(*controller, 0)->move(55, 66);
    platform::SignalBridge bridge;
    app::connectProgramEnds(controller.get(), &bridge);
    QSignalSpy finished(controller.get(), &TFJotletLightMain::finished);

    ::raise(SIGTERM);
    ASSERT_TRUE(finished.wait(5000));
    EXPECT_EQ(controller->notes(), nullptr);
    EXPECT_EQ(readNote(QStringLiteral("1.jtl")).left, 55);
}

TEST_F(ControllerTest, RequestsThroughTheControlSocketReachTheController)
{
    auto controller = startController();
    app::SingleInstance instance(folder());
    ASSERT_EQ(instance.claim(0), app::SingleInstance::Claim::Acquired);
    QObject::connect(controller.get(), &TFJotletLightMain::noteFolderReleased,
                     [&instance] { instance.release(); });
    ASSERT_TRUE(instance.serve(
        [&](platform::ControlCommand command, const QString &argument) {
            return controller->runRemoteCommand(command, argument);
        },
        nullptr));

    const QString socket = platform::controlSocketPath(folder());
    const auto send = [&](const QString &command) {
        bool ok = false;
        QThread *client
            = QThread::create([&] { ok = platform::sendControlRequest(socket, command, nullptr); });
        client->start();
        while (!client->isFinished())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        client->wait();
        delete client;
        QCoreApplication::processEvents();
        return ok;
    };
    // Each request is answered once it was carried out on the event loop.
    EXPECT_TRUE(send(QStringLiteral("new")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return noteCount(*controller) == 1; }));
    EXPECT_TRUE(send(QStringLiteral("hide-all")));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !noteAt(*controller, 0)->isVisible(); }));
    EXPECT_TRUE(send(QStringLiteral("exit")));
    EXPECT_TRUE(QTest::qWaitFor([&] { return controller->hasEnded(); }));
    EXPECT_EQ(noteFiles().size(), 1);
    // Nobody answers any more, and the folder is free for the next one.
    EXPECT_FALSE(send(QStringLiteral("show-all")));
    app::SingleInstance next(folder());
    EXPECT_EQ(next.claim(0), app::SingleInstance::Claim::Acquired);
}
