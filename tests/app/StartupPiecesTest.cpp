// The pieces around the controller: the platform choice, the welcome note
// delivery, the tray image and the one instance per note folder.
#include "app/PlatformChoice.h"
#include "app/SingleInstance.h"
#include "app/StartupFiles.h"
#include "platform/ControlChannel.h"
#include "support/TempHome.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QHostInfo>
#include <QImage>
#include <QImageWriter>
#include <QTest>
#include <QThread>
#include <gtest/gtest.h>

#include <functional>

using app::SingleInstance;

TEST(PlatformChoice, WaylandSessionsRunThroughXWaylandUnlessTheUserChose)
{
    EXPECT_EQ(app::preferredQpaPlatform("", "wayland-0", ""), QByteArray("xcb;wayland"));
    EXPECT_EQ(app::preferredQpaPlatform("", "", "wayland"), QByteArray("xcb;wayland"));
    EXPECT_EQ(app::preferredQpaPlatform("", "", "Wayland"), QByteArray("xcb;wayland"));
    EXPECT_EQ(app::preferredQpaPlatform("wayland", "wayland-0", "wayland"), QByteArray());
    EXPECT_EQ(app::preferredQpaPlatform("offscreen", "", "wayland"), QByteArray());
    EXPECT_EQ(app::preferredQpaPlatform("", "", "x11"), QByteArray());
    EXPECT_EQ(app::preferredQpaPlatform("", "", ""), QByteArray());
}

namespace {

struct WelcomeFolders
{
    QString program = testsupport::freshDir(QStringLiteral("welcome-program"));
    QString notes = testsupport::freshDir(QStringLiteral("welcome-notes"));

    WelcomeFolders()
    {
        testsupport::writeAll(program + QStringLiteral("/about.jtl"), "note");
        testsupport::writeAll(program + QStringLiteral("/about.jtl2"), "body");
    }
    bool inProgram() const { return QFile::exists(program + QStringLiteral("/about.jtl")); }
    bool inNotes() const
    {
        return QFile::exists(notes + QStringLiteral("/about.jtl"))
            && QFile::exists(notes + QStringLiteral("/about.jtl2"));
    }
};

} // namespace

TEST(WelcomeNote, AReadOnlyProgramFolderGivesACopyOnlyWhenTheNoteFolderIsNew)
{
    WelcomeFolders folders;
    app::deliverWelcomeNote(folders.program, folders.notes, false, false);
    EXPECT_FALSE(folders.inNotes()); // closed for good once: never again

    app::deliverWelcomeNote(folders.program, folders.notes, true, false);
    EXPECT_TRUE(folders.inNotes());
    EXPECT_TRUE(folders.inProgram());
    EXPECT_EQ(testsupport::readAll(folders.notes + QStringLiteral("/about.jtl2")), "body");
    EXPECT_EQ(QFile::permissions(folders.notes + QStringLiteral("/about.jtl")),
              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser
                  | QFileDevice::WriteUser);
}

TEST(WelcomeNote, AWritableProgramFolderGivesItUpWhateverTheNoteFolder)
{
    WelcomeFolders folders;
    app::deliverWelcomeNote(folders.program, folders.notes, false, true);
    EXPECT_TRUE(folders.inNotes());
    EXPECT_FALSE(folders.inProgram());
    EXPECT_FALSE(QFile::exists(folders.program + QStringLiteral("/about.jtl2")));
}

TEST(WelcomeNote, ANoteFolderWithAnAboutBodyIsLeftAlone)
{
    WelcomeFolders folders;
    testsupport::writeAll(folders.notes + QStringLiteral("/about.jtl2"), "old body");
    app::deliverWelcomeNote(folders.program, folders.notes, true, true);
    EXPECT_TRUE(folders.inProgram());
    EXPECT_FALSE(QFile::exists(folders.notes + QStringLiteral("/about.jtl")));
    EXPECT_EQ(testsupport::readAll(folders.notes + QStringLiteral("/about.jtl2")), "old body");
}

TEST(TrayImage, AnIcoFileBesideTheProgramReplacesTheBuiltInIcon)
{
    const QString folder = testsupport::freshDir(QStringLiteral("tray-image"));
    const QIcon builtIn = app::trayImage(folder);
    ASSERT_FALSE(builtIn.isNull());
    EXPECT_TRUE(builtIn.availableSizes().contains(QSize(32, 32)));

    QImage red(16, 16, QImage::Format_ARGB32);
    red.fill(Qt::red);
    QImageWriter writer(folder + QStringLiteral("/jotletlight.ico"), "ico");
    ASSERT_TRUE(writer.write(red)) << writer.errorString().toStdString();
    const QIcon fromFile = app::trayImage(folder);
    EXPECT_EQ(fromFile.availableSizes(), QList<QSize> {QSize(16, 16)});
    EXPECT_EQ(fromFile.pixmap(16, 16).toImage().pixelColor(8, 8), QColor(Qt::red));

    testsupport::writeAll(folder + QStringLiteral("/jotletlight.ico"), "not an image");
    EXPECT_TRUE(app::trayImage(folder).availableSizes().contains(QSize(32, 32)));
}

namespace {

// Runs work in a thread while this thread's event loop turns, so an
// instance served here can answer it.
template<typename Result> Result whileServing(const std::function<Result()> &work)
{
    Result result {};
    QThread *thread = QThread::create([&] { result = work(); });
    thread->start();
    while (!thread->isFinished())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    thread->wait();
    delete thread;
    return result;
}

QString instanceFolder(const char *name)
{
    return testsupport::tempHome() + QStringLiteral("/instances/") + QLatin1String(name);
}

} // namespace

TEST(SingleInstanceTest, ASecondStartAsksTheFirstToShowAllAndEnds)
{
    SingleInstance first(instanceFolder("a"));
    ASSERT_EQ(first.claim(0), SingleInstance::Claim::Acquired);
    QStringList received;
    ASSERT_TRUE(first.serve(
        [&](platform::ControlCommand command, const QString &) {
            received << platform::controlCommandWord(command);
            return QString();
        },
        nullptr));

    const SingleInstance::Claim second = whileServing<SingleInstance::Claim>(
        [] { return SingleInstance(instanceFolder("a")).claim(0); });
    EXPECT_EQ(second, SingleInstance::Claim::HandedOver);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !received.isEmpty(); }));
    EXPECT_EQ(received, QStringList {QStringLiteral("show-all")});
}

TEST(SingleInstanceTest, AHolderThatDoesNotAnswerBlocksTheFolder)
{
    SingleInstance first(instanceFolder("b"));
    ASSERT_EQ(first.claim(0), SingleInstance::Claim::Acquired);
    SingleInstance second(instanceFolder("b"));
    EXPECT_EQ(second.claim(200), SingleInstance::Claim::Blocked);
}

TEST(SingleInstanceTest, TheNextInstanceWaitsForTheEndingOneToLetGo)
{
    SingleInstance first(instanceFolder("c"));
    ASSERT_EQ(first.claim(0), SingleInstance::Claim::Acquired);
    ASSERT_TRUE(
        first.serve([](platform::ControlCommand, const QString &) { return QString(); }, nullptr));
    // What a restart does: stop answering and let go, a moment later.
    first.release();

    const SingleInstance::Claim next = whileServing<SingleInstance::Claim>(
        [] { return SingleInstance(instanceFolder("c")).claim(5000); });
    EXPECT_EQ(next, SingleInstance::Claim::Acquired);

    SingleInstance again(instanceFolder("c"));
    EXPECT_EQ(again.claim(0), SingleInstance::Claim::Acquired);
}

TEST(SingleInstanceTest, TheLockOfACrashedInstanceIsTakenOver)
{
    const QString folder = instanceFolder("d");
    QDir().mkpath(folder);
    // The lock file of a process that no longer exists.
    testsupport::writeAll(folder + QStringLiteral(".lock"),
                          "2147480000\njotletlight\n" + QHostInfo::localHostName().toUtf8() + "\n");
    SingleInstance instance(folder);
    EXPECT_EQ(instance.claim(1000), SingleInstance::Claim::Acquired);
}

TEST(SingleInstanceTest, OnlyTheProgramsCommandsAreTaken)
{
    SingleInstance instance(instanceFolder("e"));
    ASSERT_EQ(instance.claim(0), SingleInstance::Claim::Acquired);
    QStringList received;
    ASSERT_TRUE(instance.serve(
        [&](platform::ControlCommand command, const QString &) {
            received << platform::controlCommandWord(command);
            return QString();
        },
        nullptr));
    const QString socket = platform::controlSocketPath(instanceFolder("e"));
    for (const platform::ControlCommandName &command : platform::kControlCommands) {
        // Each with the argument it takes.
        const platform::ControlRequest request(QLatin1String(command.word),
                                               command.argument == platform::ControlArgument::None
                                                   ? QString()
                                                   : QStringLiteral("1.jtl"));
        EXPECT_TRUE(whileServing<bool>(
            [&] { return platform::sendControlRequest(socket, request, nullptr, 30000); }));
    }
    EXPECT_FALSE(whileServing<bool>([&] {
        return platform::sendControlRequest(socket, QStringLiteral("quit"), nullptr, 30000);
    }));
    const int count = int(platform::kControlCommands.size());
    EXPECT_TRUE(QTest::qWaitFor([&] { return received.size() >= count; }));
    EXPECT_EQ(received, platform::controlCommandWords());
    EXPECT_EQ(received.size(), count);
}
