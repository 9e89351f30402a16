// The tray icon, its menu and the About window.
#include "app/ControllerFixture.h"

#include "app/AboutBox.h"
#include "app/DLista.h"
#include "app/TrayIcon.h"
#include "note/Note.h"
#include "settings/DResource.h"
#include "settings/veskUt.h"
#include "storage/NoteFolder.h"
#include "support/TempHome.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

namespace {

class TrayTest : public ControllerTest
{
protected:
    // n notes in the note folder, visible ones first, then loaded.
    std::unique_ptr<TFJotletLightMain> startWithNotes(int visible, int hidden = 0)
    {
        for (int i = 0; i < visible + hidden; ++i) {
            writeNote(QString::number(i + 1) + QStringLiteral(".jtl"),
                      noteRecord(QString::number(i + 1), i < visible));
        }
        return startController();
    }

    static int visibleNotes(const TFJotletLightMain &controller)
    {
        int visible = 0;
        for (int i = 0; i < noteCount(controller); ++i)
            visible += noteAt(controller, i)->isVisible() ? 1 : 0;
        return visible;
    }
};

} // namespace

TEST_F(TrayTest, ALeftClickDoesWhatTheSettingSaysByItsLowByte)
{
    struct Case
    {
        qint32 action;
        int newNotes;
        int visibleAfter;
    };
    // One hidden note from the start: "show all" shows it, a new note does not.
    for (const Case c : {Case {0, 1, 0}, Case {256, 1, 0}, Case {1, 0, 1}, Case {257, 0, 1},
                         Case {2, 0, 0}, Case {-1, 0, 0}}) {
        SCOPED_TRACE(c.action);
        QFile::remove(storage::noteFolderPath() + QStringLiteral("/1.jtl"));
        auto controller = startWithNotes(0, 1);
        writeRegInt(QStringLiteral("LeftDefaultAction"), c.action);
        controller->RxTrayIcon1Click(Qt::LeftButton);
        EXPECT_EQ(noteCount(*controller), 1 + c.newNotes);
        EXPECT_EQ(visibleNotes(*controller) - c.newNotes, c.visibleAfter);
        controller->Close1Click();
        for (const QString &name : noteFiles())
            QFile::remove(pathOf(name));
    }
}

TEST_F(TrayTest, ANewNoteIsShownWithTheDefaultsAndNotOnTop)
{
    auto controller = startWithNotes(0, 1);
    controller->RxTrayIcon1Click(Qt::LeftButton);
    ASSERT_EQ(noteCount(*controller), 2);
    TSingolNote *added = noteAt(*controller, 1);
    EXPECT_TRUE(added->isVisible());
    EXPECT_FALSE(added->OnTop());
    EXPECT_FALSE(noteAt(*controller, 0)->isVisible());
}

TEST_F(TrayTest, NewNoteFollowsOnTopOnNewAndShowAllOnNew)
{
    auto controller = startWithNotes(0, 2);
    noteAt(*controller, 1)->discard();
    writeRegBool(QStringLiteral("OnTopOnNew"), true);
    writeRegBool(QStringLiteral("ShowAllOnNew"), true);
    controller->NewJotlet1Click();
    ASSERT_EQ(noteCount(*controller), 3);
    EXPECT_TRUE(noteAt(*controller, 2)->OnTop());
    EXPECT_TRUE(noteAt(*controller, 0)->isVisible());
    EXPECT_FALSE(noteAt(*controller, 1)->isVisible()); // discarded stays away
    EXPECT_FALSE(noteAt(*controller, 0)->OnTop()); // raised, but not made topmost
}

TEST_F(TrayTest, RightAndMiddleClicksMakeNoNote)
{
    auto controller = startWithNotes(0);
    for (const qint32 action : {0, 1}) {
        writeRegInt(QStringLiteral("LeftDefaultAction"), action);
        controller->RxTrayIcon1Click(Qt::RightButton);
        controller->RxTrayIcon1Click(Qt::MiddleButton);
    }
    EXPECT_EQ(noteCount(*controller), 0);
}

TEST_F(TrayTest, EveryTrayActivationIsOneClickOfItsButton)
{
    using Tray = app::TrayIcon;
    EXPECT_EQ(Tray::buttonOf(QSystemTrayIcon::Trigger), Qt::LeftButton);
    EXPECT_EQ(Tray::buttonOf(QSystemTrayIcon::DoubleClick), Qt::LeftButton);
    EXPECT_EQ(Tray::buttonOf(QSystemTrayIcon::Context), Qt::RightButton);
    EXPECT_EQ(Tray::buttonOf(QSystemTrayIcon::MiddleClick), Qt::MiddleButton);
    EXPECT_EQ(Tray::buttonOf(QSystemTrayIcon::Unknown), std::nullopt);
}

TEST_F(TrayTest, ADoubleClickInTheStandInWindowMakesTwoNotes)
{
    auto controller = startWithNotes(0);
    QWidget *window = controller->RxTrayIcon1->fallbackWindow();
    ASSERT_NE(window, nullptr);
    auto *button = window->findChild<QToolButton *>();
    ASSERT_NE(button, nullptr);
    const QPoint icon(4, button->height() / 2); // the icon, not the menu arrow
    // The first click, then the second one that the window system reports
    // as a double click.
    QTest::mouseClick(button, Qt::LeftButton, {}, icon);
    QTest::mouseDClick(button, Qt::LeftButton, {}, icon);
    QTest::mouseRelease(button, Qt::LeftButton, {}, icon);
    EXPECT_EQ(noteCount(*controller), 2);
}

TEST_F(TrayTest, ARightClickInTheStandInWindowOpensTheMenuOnly)
{
    auto controller = startWithNotes(0);
    QWidget *window = controller->RxTrayIcon1->fallbackWindow();
    auto *button = window->findChild<QToolButton *>();
    ASSERT_NE(button, nullptr);
    QSignalSpy clicks(controller->RxTrayIcon1, &app::TrayIcon::clicked);
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(4, 4),
                            button->mapToGlobal(QPoint(4, 4)));
    QCoreApplication::sendEvent(button, &event);
    EXPECT_TRUE(controller->Menu.PopupMenuPrinc->isVisible());
    controller->Menu.PopupMenuPrinc->hide();
    ASSERT_EQ(clicks.count(), 1);
    EXPECT_EQ(clicks[0][0].value<Qt::MouseButton>(), Qt::RightButton);
    EXPECT_EQ(noteCount(*controller), 0);
}

TEST_F(TrayTest, ShowAllLeavesNotesClosedForGoodHidden)
{
    auto controller = startWithNotes(0, 3);
    noteAt(*controller, 1)->close();
    noteAt(*controller, 1)->discard();
    controller->Menu.ShowAllJotlet1->trigger();
    EXPECT_TRUE(noteAt(*controller, 0)->isVisible());
    EXPECT_FALSE(noteAt(*controller, 1)->isVisible());
    EXPECT_TRUE(noteAt(*controller, 2)->isVisible());
}

TEST_F(TrayTest, HideAllThenExitBringsEveryNoteBackHidden)
{
    auto controller = startWithNotes(2, 1);
    noteAt(*controller, 1)->discard();
    controller->Menu.CloseAllJotlet1->trigger();
    EXPECT_EQ(visibleNotes(*controller), 0);
    controller->Menu.Close1->trigger();
    EXPECT_FALSE(readNote(QStringLiteral("1.jtl")).visible);
    EXPECT_FALSE(readNote(QStringLiteral("3.jtl")).visible);

    auto next = startController();
    EXPECT_EQ(noteCount(*next), 2); // the discarded one lost its files
    EXPECT_EQ(visibleNotes(*next), 0);
}

TEST_F(TrayTest, DeleteAllConfirmedRemovesEveryNoteAndRestarts)
{
    auto controller = startWithNotes(3, 2);
    script.confirmations = {true};
    controller->Menu.DeleteAllJotlet1->trigger();
    EXPECT_EQ(script.questions, QStringList {TReadRes::current().GetText(72)});
    EXPECT_TRUE(noteFiles().isEmpty());
    EXPECT_TRUE(QDir(folder()).entryList(QDir::Files).isEmpty()); // body files too
    EXPECT_EQ(startedPrograms.size(), 1);
    EXPECT_TRUE(controller->hasEnded());

    auto next = startController();
    EXPECT_EQ(noteCount(*next), 0);
}

TEST_F(TrayTest, DeleteAllCancelledOrOnNothingChangesNothing)
{
    auto controller = startWithNotes(2);
    script.confirmations = {false};
    controller->DeleteAllJotlet1Click();
    EXPECT_EQ(noteCount(*controller), 2);
    EXPECT_EQ(noteFiles().size(), 2);
    controller->Close1Click();

    for (const QString &name : noteFiles())
        QFile::remove(pathOf(name));
    script.questions.clear();
    auto empty = startController();
    empty->DeleteAllJotlet1Click();
    EXPECT_TRUE(script.questions.isEmpty());
    EXPECT_TRUE(startedPrograms.isEmpty());
    EXPECT_FALSE(empty->hasEnded());
}

TEST_F(TrayTest, OptionsParksTheNotesTakesTheTrayAwayAndRestarts)
{
    auto controller = startWithNotes(1, 1);
    bool trayActive = true;
    int visible = -1;
    duringOptions = [&] {
        trayActive = controller->RxTrayIcon1->isActive();
        visible = visibleNotes(*controller);
        // Clicks on where the icon was, and requests that would open
        // another window, do nothing meanwhile.
        Q_EMIT controller->RxTrayIcon1->clicked(Qt::LeftButton);
        controller->runRemoteCommand(platform::ControlCommand::New);
        controller->runRemoteCommand(platform::ControlCommand::About);
    };
    controller->Menu.Options1->trigger();

    EXPECT_EQ(optionsRuns, QList<bool> {false});
    EXPECT_FALSE(trayActive);
    EXPECT_EQ(visible, 0);
    EXPECT_EQ(startedPrograms.size(), 1);
    EXPECT_TRUE(controller->hasEnded());
    // Saved with the visibility from before parking.
    EXPECT_EQ(noteFiles().size(), 2);
    EXPECT_TRUE(readNote(QStringLiteral("1.jtl")).visible);
    EXPECT_FALSE(readNote(QStringLiteral("2.jtl")).visible);
}

TEST_F(TrayTest, AnExitRequestDuringTheOptionsDialogEndsWithoutARestart)
{
    auto controller = startWithNotes(1);
    duringOptions = [&] {
        controller->runRemoteCommand(platform::ControlCommand::Exit);
    };
    controller->Options1Click();
    EXPECT_TRUE(controller->hasEnded());
    EXPECT_TRUE(startedPrograms.isEmpty());
    EXPECT_TRUE(readNote(QStringLiteral("1.jtl")).visible);
}

TEST_F(TrayTest, NewNoteAndAboutBeforeTheNotesAreLoadedAreIgnored)
{
    auto controller = makeController();
    controller->RxTrayIcon1Click(Qt::LeftButton);
    controller->About2Click();
    controller->ShowAllJotlet1Click();
    controller->CloseAllJotlet1Click();
    controller->DeleteAllJotlet1Click();
    EXPECT_EQ(controller->notes(), nullptr);
    EXPECT_FALSE(controller->isVisible());
    EXPECT_TRUE(controller->RxTrayIcon1->isActive());
    EXPECT_TRUE(script.questions.isEmpty());
}

TEST_F(TrayTest, AboutPurgesClosedNotesAndCountsTheRest)
{
    auto controller = startWithNotes(4);
    noteAt(*controller, 2)->discard();
    noteAt(*controller, 2)->close();
    controller->Menu.About2->trigger();

    EXPECT_EQ(noteCount(*controller), 3);
    EXPECT_EQ(controller->PanGen->LOptions->text(),
              QStringLiteral("3 ") + TReadRes::current().GetText(23));
    EXPECT_TRUE(controller->isVisible());
    EXPECT_EQ(controller->size(), QSize(341, 359));
    EXPECT_TRUE(controller->PanGen->BContinue->isVisibleTo(controller.get()));
    EXPECT_FALSE(controller->RxTrayIcon1->isActive());
    const TReadRes &texts = TReadRes::current();
    EXPECT_EQ(controller->PanGen->lblAuthor->text(), texts.LangAuthor);
    EXPECT_EQ(controller->PanGen->LblLng->text(), texts.LangLanguage);
    EXPECT_EQ(controller->PanGen->lblVers->text(), texts.LangVersion);
}

TEST_F(TrayTest, OpeningAndClosingAboutKeepsEachNotesVisibility)
{
    auto controller = startWithNotes(2, 1);
    controller->About2Click();
    EXPECT_EQ(visibleNotes(*controller), 0);
    // The tray is away: a click now does nothing.
    Q_EMIT controller->RxTrayIcon1->clicked(Qt::LeftButton);
    EXPECT_EQ(noteCount(*controller), 3);

    controller->PanGen->BContinue->click();
    EXPECT_FALSE(controller->isVisible());
    EXPECT_EQ(visibleNotes(*controller), 2);
    EXPECT_FALSE(noteAt(*controller, 2)->isVisible());
    EXPECT_TRUE(controller->RxTrayIcon1->isActive());
    Q_EMIT controller->RxTrayIcon1->clicked(Qt::LeftButton);
    EXPECT_EQ(noteCount(*controller), 4);

    // Opened a second time, it still has its size.
    controller->About2Click();
    EXPECT_EQ(controller->size(), QSize(341, 359));
}

TEST_F(TrayTest, TheAboutWindowIsCentredRoundingTowardZero)
{
    EXPECT_EQ(app::centredTopLeft(QRect(0, 0, 1024, 768), QSize(341, 359)), QPoint(341, 204));
    EXPECT_EQ(app::centredTopLeft(QRect(0, 0, 1025, 769), QSize(341, 359)), QPoint(342, 205));
    // Larger than the screen: toward zero, not toward minus infinity.
    EXPECT_EQ(app::centredTopLeft(QRect(0, 0, 300, 300), QSize(341, 359)), QPoint(-20, -29));
    EXPECT_EQ(app::centredTopLeft(QRect(1920, 0, 1024, 768), QSize(341, 359)), QPoint(2261, 204));
}

TEST_F(TrayTest, TheLinksOpenTheMakersAddressesAndTheAuthorsMail)
{
    auto controller = startWithNotes(0);
    controller->LcopClick();
    controller->Label3Click();
    controller->LemailClick();
    controller->lblAuthorClick();
    ASSERT_EQ(openedUrls.size(), 4);
    EXPECT_EQ(openedUrls[0].scheme(), QStringLiteral("https"));
    EXPECT_EQ(openedUrls[1].scheme(), QStringLiteral("https"));
    EXPECT_NE(openedUrls[0], openedUrls[1]);
    EXPECT_EQ(openedUrls[2], QUrl(QStringLiteral("mailto:") + QLatin1String(app::kSupportMail)));
    EXPECT_EQ(openedUrls[3], QUrl(QStringLiteral("mailto:") + TReadRes::current().LangEmail));
}

TEST_F(TrayTest, ALanguageWithoutAuthorOrMailShowsAndMailsNotDefined)
{
    const QString file = programFolder + QStringLiteral("/language/bare.lng");
    testsupport::writeAll(file, "[Resource]\n16=Ok\n23=notes\n");
    TReadRes::setCurrent(
        std::make_unique<TReadRes>(file, programFolder + QStringLiteral("/language")));
    auto controller = startWithNotes(1);
    controller->About2Click();
    EXPECT_EQ(controller->PanGen->lblAuthor->text(), QStringLiteral("Not defined"));
    controller->PanGen->lblAuthor->clicked();
    ASSERT_EQ(openedUrls.size(), 1);
    EXPECT_EQ(openedUrls[0], QUrl(QStringLiteral("mailto:Not defined")));
}

TEST_F(TrayTest, ClosingTheAboutWindowFromTheWindowManagerActsAsItsOkButton)
{
    auto controller = startWithNotes(1);
    controller->About2Click();
    EXPECT_FALSE(controller->close());
    EXPECT_FALSE(controller->isVisible());
    EXPECT_EQ(visibleNotes(*controller), 1);
    EXPECT_TRUE(controller->RxTrayIcon1->isActive());
    EXPECT_FALSE(controller->hasEnded());
}
