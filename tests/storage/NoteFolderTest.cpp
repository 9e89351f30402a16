#include "StorageTestUtil.h"

#include "storage/NoteFolder.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <deque>

using storagetest::messageOf;

namespace {

constexpr auto kPrivateFolder = QFileDevice::ReadOwner | QFileDevice::WriteOwner
    | QFileDevice::ExeOwner | QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ExeUser;

// Points XDG_DATA_HOME elsewhere for one test.
class DataHome
{
public:
    explicit DataHome(const QString &path)
        : m_saved(qgetenv("XDG_DATA_HOME"))
    {
        qputenv("XDG_DATA_HOME", path.toLocal8Bit());
    }
    ~DataHome() { qputenv("XDG_DATA_HOME", m_saved); }

private:
    QByteArray m_saved;
};

// Hands out the given draws in order and records the bounds asked for.
struct ScriptedDraws
{
    std::deque<int> draws;
    QList<int> bounds;

    storage::RandomBelow source()
    {
        return [this](int bound) {
            bounds << bound;
            const int value = draws.front();
            draws.pop_front();
            return value;
        };
    }
};

TEST(NoteFolder, LiesInTheDataHome)
{
    const QString home = testsupport::freshDir(QStringLiteral("data home"));
    DataHome dataHome(home);
    EXPECT_EQ(storage::noteFolderPath(), home + QStringLiteral("/Jotlet light cache"));
}

TEST(NoteFolder, IsCreatedPrivateWithItsParents)
{
    const QString base = testsupport::freshDir(QStringLiteral("nested"));
    DataHome dataHome(base + QStringLiteral("/a/b"));

    const QString folder = storage::ensureNoteFolder();
    EXPECT_EQ(folder, base + QStringLiteral("/a/b/Jotlet light cache"));
    for (const QString &made : {folder, base + QStringLiteral("/a/b"), base + QStringLiteral("/a")})
        EXPECT_EQ(QFileInfo(made).permissions() & 0x7777, kPrivateFolder) << made.toStdString();

    // A second start finds it there.
    testsupport::writeAll(folder + QStringLiteral("/1.jtl"), "keep");
    EXPECT_EQ(storage::ensureNoteFolder(), folder);
    EXPECT_EQ(testsupport::readAll(folder + QStringLiteral("/1.jtl")), "keep");
}

TEST(NoteFolder, AFileInTheWayIsAnError)
{
    const QString base = testsupport::freshDir(QStringLiteral("in the way"));
    DataHome dataHome(base);
    testsupport::writeAll(base + QStringLiteral("/Jotlet light cache"), "not a folder");
    EXPECT_THROW(storage::ensureNoteFolder(), EInOutError);

    DataHome below(base + QStringLiteral("/Jotlet light cache/deeper"));
    EXPECT_FALSE(messageOf<EInOutError>([] { storage::ensureNoteFolder(); }).isEmpty());
}

TEST(NoteFileName, IsTheProductOfTwoDrawsPlusAThird)
{
    const QString folder = testsupport::freshDir(QStringLiteral("naming"));
    ScriptedDraws random {{3, 4, 5}, {}};
    EXPECT_EQ(storage::newNoteFileName(folder, random.source()), QStringLiteral("17.jtl"));
    EXPECT_EQ(random.bounds, (QList<int> {30000, 30000, 30000}));

    ScriptedDraws largest {{29999, 29999, 29999}, {}};
    EXPECT_EQ(storage::newNoteFileName(folder, largest.source()), QStringLiteral("899970000.jtl"));
}

TEST(NoteFileName, DrawsAgainWhileTheNameOrItsBodyFileIsTaken)
{
    const QString folder = testsupport::freshDir(QStringLiteral("clash"));
    testsupport::writeAll(folder + QStringLiteral("/17.jtl"), "a note");
    testsupport::writeAll(folder + QStringLiteral("/9.jtl2"), "an orphaned body");
    // A link leading nowhere takes its name too: a save there would replace it.
    ASSERT_TRUE(QFile::link(folder + QStringLiteral("/../nowhere"), folder + "/2.jtl"));
    ScriptedDraws random {{3, 4, 5, 0, 7, 9, 1, 1, 1, 2, 2, 2}, {}};
    EXPECT_EQ(storage::newNoteFileName(folder, random.source()), QStringLiteral("6.jtl"));
    EXPECT_TRUE(random.draws.empty());
}

TEST(NoteFileName, DefaultDrawsGiveAFreeDecimalName)
{
    const QString folder = testsupport::freshDir(QStringLiteral("default draws"));
    const QString name = storage::newNoteFileName(folder);
    EXPECT_TRUE(
        QRegularExpression(QStringLiteral("^(0|[1-9][0-9]{0,8})\\.jtl$")).match(name).hasMatch())
        << name.toStdString();
    EXPECT_FALSE(QFileInfo::exists(folder + QLatin1Char('/') + name));
}

TEST(NoteFileName, ABrokenRandomSourceDoesNotHang)
{
    const QString folder = testsupport::freshDir(QStringLiteral("stuck"));
    testsupport::writeAll(folder + QStringLiteral("/0.jtl"), "taken");
    EXPECT_THROW(storage::newNoteFileName(folder, [](int) { return 0; }), EInOutError);
}

TEST(NoteFiles, CompanionIsThePathWithA2)
{
    EXPECT_EQ(storage::companionPath(QStringLiteral("/n/17.jtl")), QStringLiteral("/n/17.jtl2"));
}

TEST(NoteFiles, DeletingRemovesBothAndToleratesMissingOnes)
{
    const QString folder = testsupport::freshDir(QStringLiteral("delete"));
    const QString note = folder + QStringLiteral("/17.jtl");
    testsupport::writeAll(note, "fields");
    testsupport::writeAll(note + QLatin1Char('2'), "body");
    storage::deleteNoteFiles(note);
    EXPECT_TRUE(QDir(folder).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));

    testsupport::writeAll(note + QLatin1Char('2'), "body without fields");
    EXPECT_NO_THROW(storage::deleteNoteFiles(note));
    EXPECT_FALSE(QFileInfo::exists(note + QLatin1Char('2')));
    EXPECT_NO_THROW(storage::deleteNoteFiles(note)); // both already gone
}

TEST(NoteFiles, AFileThatCannotBeDeletedIsAnError)
{
    const QString folder = testsupport::freshDir(QStringLiteral("undeletable"));
    const QString note = folder + QStringLiteral("/17.jtl");
    testsupport::writeAll(note, "fields");
    // A non-empty folder under the body file's name: no file removal takes it.
    QDir(folder).mkpath(QStringLiteral("17.jtl2/inside"));
    EXPECT_FALSE(messageOf<EInOutError>([&] { storage::deleteNoteFiles(note); }).isEmpty());
    EXPECT_FALSE(QFileInfo::exists(note)); // the note file goes first
}

TEST(NoteFiles, ListingSkipsBodyFilesAndOtherNames)
{
    const QString folder = testsupport::freshDir(QStringLiteral("listing"));
    for (const char *name :
         {"17.jtl", "17.jtl2", "about.jtl", "about.jtl2", "copy.jtl2.jtl", "COPY.JTL2.jtl",
          ".hidden.jtl", "UPPER.JTL", "notes.txt", "17.jtl.bak"})
        testsupport::writeAll(folder + QLatin1Char('/') + QLatin1String(name), "x");
    QDir(folder).mkdir(QStringLiteral("folder.jtl"));

    EXPECT_EQ(storage::listNoteFiles(folder),
              (QStringList {QStringLiteral(".hidden.jtl"), QStringLiteral("17.jtl"),
                            QStringLiteral("about.jtl")}));
}

} // namespace
