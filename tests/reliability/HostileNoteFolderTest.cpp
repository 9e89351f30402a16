// The note folder as a hostile user (or a careless sync tool) leaves it:
// links leading out of it and within it, FIFOs, devices, bodies too large
// to hold, a folder open to everybody or owned by someone else, a second
// path to it through a link, and memory running out on one note. The
// program follows no link, opens nothing that is not a regular file, names
// each refused file, loads every other note, and never writes outside.
#include "app/ControllerFixture.h"

#include "app/DLista.h"
#include "note/Note.h"
#include "platform/ControlChannel.h"
#include "platform/InstanceLock.h"
#include "settings/veskUt.h"
#include "storage/NoteFolder.h"
#include "support/TempHome.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <cstdio>
#include <functional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

using testsupport::readAll;
using testsupport::writeAll;

namespace {

bool makeLink(const QString &target, const QString &link)
{
    return ::symlink(QFile::encodeName(target).constData(), QFile::encodeName(link).constData())
        == 0;
}

bool makeNode(const QString &path, mode_t kind, dev_t device = 0)
{
    return ::mknod(QFile::encodeName(path).constData(), kind | 0600, device) == 0;
}

// A file of that size holding no data blocks.
bool makeSparse(const QString &path, qint64 size)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.resize(size);
}

mode_t modeOf(const QString &path)
{
    struct stat info = {};
    EXPECT_EQ(::lstat(QFile::encodeName(path).constData(), &info), 0) << path.toStdString();
    return info.st_mode;
}

// What stands at the path: its kind, and where a link leads or how large a
// file is.
QString entryState(const QString &path)
{
    struct stat info = {};
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0)
        return QStringLiteral("nothing");
    if (S_ISLNK(info.st_mode))
        return QStringLiteral("link to ") + QFile::symLinkTarget(path);
    return QStringLiteral("mode %1, %2 bytes").arg(info.st_mode, 0, 8).arg(info.st_size);
}

// Files outside the note folder that links in it lead to; none may change.
class OutsideFiles
{
public:
    OutsideFiles()
        : m_folder(testsupport::freshDir(QStringLiteral("outside")))
    {
    }

    QString add(const QString &name, const QByteArray &bytes)
    {
        const QString path = pathOf(name);
        writeAll(path, bytes);
        QFile::setPermissions(path,
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                  | QFileDevice::ReadGroup | QFileDevice::ReadOther);
        m_files.append({path, bytes});
        return path;
    }
    QString pathOf(const QString &name) const { return m_folder + QLatin1Char('/') + name; }

    void expectUntouched(const char *when) const
    {
        for (const auto &[path, bytes] : m_files) {
            EXPECT_EQ(readAll(path), bytes) << when << ": " << path.toStdString();
            EXPECT_EQ(modeOf(path) & 07777, 0644u) << when << ": " << path.toStdString();
        }
        // Nothing came into being out here either.
        EXPECT_EQ(QDir(m_folder).entryList(QDir::Files).size(), m_files.size()) << when;
    }

private:
    QString m_folder;
    QList<std::pair<QString, QByteArray>> m_files;
};

class HostileNoteFolder : public ControllerTest
{
protected:
    QByteArray noteBytes(const QString &title)
    {
        const QString path = testsupport::freshDir(QStringLiteral("model")) + "/model.jtl";
        storage::writeNoteFile(path, noteRecord(title));
        return readAll(path);
    }

    QStringList loadedNames(const TFJotletLightMain &controller) const
    {
        QStringList names;
        for (int i = 0; i < noteCount(controller); ++i)
            names << noteAt(controller, i)->NoteFileName();
        names.sort();
        return names;
    }

    // The notes the one loading message reports; each line names the file
    // that was refused by its path.
    QStringList reportedNames() const
    {
        QStringList names;
        if (script.messages.isEmpty())
            return names;
        EXPECT_EQ(script.messages.size(), 1) << script.messages.join("\n").toStdString();
        static const QRegularExpression line(QStringLiteral("^([0-9]+\\.jtl): (.*)$"));
        for (const QString &text : script.messages.first().split(QLatin1Char('\n'))) {
            const QRegularExpressionMatch match = line.match(text);
            EXPECT_TRUE(match.hasMatch() && match.captured(2).contains(pathOf(match.captured(1))))
                << text.toStdString();
            names << match.captured(1);
        }
        names.sort();
        return names;
    }

    QStringList entryStates(const QStringList &notes) const
    {
        QStringList states;
        for (const QString &name : notes) {
            states << name + QStringLiteral(": ") + entryState(pathOf(name))
                   << name + QStringLiteral("2: ") + entryState(pathOf(name + QLatin1Char('2')));
        }
        return states;
    }
};

TEST_F(HostileNoteFolder, LinksFifosDevicesAndHugeBodiesAreRefusedByNameAndTheRestLoads)
{
    OutsideFiles outside;
    const QString outsideNote = outside.add(QStringLiteral("note.jtl"), noteBytes("outside"));
    const QString secret = outside.add(QStringLiteral("secret.txt"), "not for notes\n");
    writeNote(QStringLiteral("1.jtl"), noteRecord(QStringLiteral("one")));
    writeNote(QStringLiteral("3.jtl"), noteRecord(QStringLiteral("three")));

    struct Attack
    {
        const char *name; // the note whose load meets it
        const char *what;
        std::function<bool(const QString &notePath)> make;
    };
    const auto withBody = [this](const std::function<bool(const QString &)> &makeBody) {
        return [this, makeBody](const QString &note) {
            writeNote(QFileInfo(note).fileName(), noteRecord(QStringLiteral("beside")));
            return makeBody(storage::companionPath(note));
        };
    };
    const std::vector<Attack> attacks = {
        {"20.jtl", "a link to a note outside",
         [&](const QString &p) {
             return makeLink(outsideNote, p);
         }},
        {"21.jtl", "a link leading nowhere",
         [&](const QString &p) {
             return makeLink(outside.pathOf("missing.jtl"), p);
         }},
        {"22.jtl", "a link to a note inside",
         [](const QString &p) {
             return makeLink("1.jtl", p);
         }},
        {"23.jtl", "a body linked outside",
         withBody([&](const QString &b) { return makeLink(secret, b); })},
        {"24.jtl", "a FIFO",
         [](const QString &p) {
             return makeNode(p, S_IFIFO);
         }},
        {"25.jtl", "a FIFO body", withBody([](const QString &b) { return makeNode(b, S_IFIFO); })},
        {"26.jtl", "a body linked to /dev/zero",
         withBody([](const QString &b) { return makeLink("/dev/zero", b); })},
        {"27.jtl", "a body past the size limit",
         withBody([](const QString &b) { return makeSparse(b, 513LL * 1024 * 1024); })},
        {"28.jtl", "a body that is a device", withBody([](const QString &b) {
             return makeNode(b, S_IFCHR, makedev(1, 5)); // as /dev/zero
         })},
    };
    QStringList refused;
    for (const Attack &attack : attacks) {
        if (attack.make(pathOf(QLatin1String(attack.name))))
            refused << QLatin1String(attack.name);
        else
            std::printf("not tried, cannot be made here: %s\n", attack.what);
    }

    const QStringList before = entryStates(refused);

    auto controller = startController();

    EXPECT_EQ(loadedNames(*controller), QStringList({"1.jtl", "3.jtl"}));
    EXPECT_EQ(reportedNames(), refused);
    outside.expectUntouched("after loading");
    controller->Close1Click();
    outside.expectUntouched("after saving");
    // Left as they were, every one.
    EXPECT_EQ(entryStates(refused), before);
}

TEST_F(HostileNoteFolder, ASaveReplacesALinkAndNeverWritesThroughIt)
{
    OutsideFiles outside;
    const QString fields = outside.add(QStringLiteral("fields"), "outside fields\n");
    const QString body = outside.add(QStringLiteral("body"), "outside body\n");
    writeNote(QStringLiteral("1.jtl"), noteRecord(QStringLiteral("kept")));
    auto controller = startController();
    ASSERT_EQ(noteCount(*controller), 1);

    // Links put in the note's place while it is open.
    ASSERT_TRUE(QFile::remove(pathOf("1.jtl")));
    ASSERT_TRUE(makeLink(fields, pathOf("1.jtl")));
    ASSERT_TRUE(makeLink(body, pathOf("1.jtl2")));
    controller->Close1Click();

    outside.expectUntouched("after saving");
    for (const char *name : {"1.jtl", "1.jtl2"}) {
        EXPECT_TRUE(S_ISREG(modeOf(pathOf(name)))) << name;
        EXPECT_EQ(modeOf(pathOf(name)) & 07777, 0600u) << name;
    }
    EXPECT_EQ(readNote(QStringLiteral("1.jtl")).title, QStringLiteral("kept"));
}

TEST_F(HostileNoteFolder, RunningOutOfMemoryOnOneNoteLeavesTheOthersLoading)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer reserves more address space than any limit leaves";
#endif
    writeNote(QStringLiteral("1.jtl"), noteRecord(QStringLiteral("one")));
    writeNote(QStringLiteral("2.jtl"), noteRecord(QStringLiteral("too big to hold")));
    makeSparse(pathOf("2.jtl2"), 400LL * 1024 * 1024); // within the limit for bodies
    writeNote(QStringLiteral("3.jtl"), noteRecord(QStringLiteral("three")));
    writeRegBool(QStringLiteral("NoTrayNoticeShown"), true);
    auto controller = makeController();

    // Room for everything but that body.
    QFile statm(QStringLiteral("/proc/self/statm"));
    ASSERT_TRUE(statm.open(QIODevice::ReadOnly));
    const long pages = statm.readAll().split(' ').first().toLong();
    rlimit saved = {};
    ASSERT_EQ(::getrlimit(RLIMIT_AS, &saved), 0);
    rlimit limited = saved;
    limited.rlim_cur = rlim_t(pages) * rlim_t(::sysconf(_SC_PAGESIZE)) + 200ul * 1024 * 1024;
    ASSERT_EQ(::setrlimit(RLIMIT_AS, &limited), 0);
    controller->activate();
    ::setrlimit(RLIMIT_AS, &saved);

    EXPECT_EQ(loadedNames(*controller), QStringList({"1.jtl", "3.jtl"}));
    EXPECT_EQ(script.messages, QStringList("2.jtl: Not enough memory to load it"));
}

TEST_F(HostileNoteFolder, TheFolderIsMadePrivateAndOneOfAnotherUserIsRefused)
{
    for (const QFileDevice::Permissions open :
         {QFileDevice::Permissions(0x7777), QFileDevice::Permissions(0x7770),
          QFileDevice::Permissions(0x7750)}) {
        writeNote(QStringLiteral("1.jtl"), noteRecord(QStringLiteral("mine")));
        ASSERT_TRUE(QFile::setPermissions(folder(), open));
        auto controller = startController();
        EXPECT_EQ(noteCount(*controller), 1);
        EXPECT_EQ(modeOf(folder()) & 07777, 0700u);
        controller->Close1Click();
    }

    if (::geteuid() != 0) {
        std::printf("not tried: only root can give the folder to another user\n");
        return;
    }
    const QByteArray before = readAll(pathOf("1.jtl"));
    ASSERT_TRUE(QFile::setPermissions(folder(), QFileDevice::Permissions(0x7777)));
    ASSERT_EQ(::chown(QFile::encodeName(folder()).constData(), 4242, 4242), 0);
    auto controller = makeController();
    controller->activate();
    EXPECT_EQ(noteCount(*controller), -1);
    ASSERT_EQ(script.messages.size(), 1);
    EXPECT_TRUE(script.messages[0].contains(QStringLiteral("belongs to another user")))
        << script.messages[0].toStdString();
    controller->Close1Click();
    EXPECT_EQ(readAll(pathOf("1.jtl")), before);
    EXPECT_EQ(modeOf(folder()) & 07777, 0777u); // not the program's to change
    ::chown(QFile::encodeName(folder()).constData(), 0, 0);
}

TEST_F(HostileNoteFolder, ASecondPathThroughALinkMeetsTheSameInstance)
{
    storage::ensureNoteFolder();
    const QString elsewhere = testsupport::freshDir(QStringLiteral("second path"));
    const QString throughLink = elsewhere + QStringLiteral("/notes");
    ASSERT_TRUE(makeLink(folder(), throughLink));
    // A link further up, to where the folder does not exist yet.
    const QString parentLink = elsewhere + QStringLiteral("/data");
    ASSERT_TRUE(makeLink(QFileInfo(folder()).path(), parentLink));
    const QString notYetMade = QStringLiteral("/not yet made");

    for (const auto &[first, second] :
         {std::pair {folder(), throughLink},
          std::pair {QFileInfo(folder()).path() + notYetMade, parentLink + notYetMade}}) {
        platform::InstanceLock running(first);
        ASSERT_TRUE(running.tryLock(0));
        platform::InstanceLock starting(second);
        EXPECT_FALSE(starting.tryLock(0)) << second.toStdString();
        EXPECT_EQ(platform::controlSocketPath(second).toStdString(),
                  platform::controlSocketPath(first).toStdString());
    }
}

} // namespace
