// jotletctl dump and make, run as the real program.
#include "StorageTestUtil.h"

#include "platform/Product.h"
#include "storage/DateTime.h"
#include "storage/NoteFile.h"
#include "storage/NoteFolder.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>

namespace {

struct CtlRun
{
    int status = -1;
    QByteArray out;
    QString err;
};

CtlRun jotletctl(const QStringList &args, const QByteArray &input = {})
{
    QProcess process;
    process.start(QStringLiteral(JOTLETCTL_PATH), args);
    EXPECT_TRUE(process.waitForStarted());
    process.write(input);
    process.closeWriteChannel();
    EXPECT_TRUE(process.waitForFinished(30000));
    return {process.exitCode(), process.readAllStandardOutput(),
            QString::fromLocal8Bit(process.readAllStandardError())};
}

QJsonObject parsed(const QByteArray &json)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << json.toStdString();
    return document.object();
}

// Member names in the order the text gives them.
QStringList memberOrder(const QByteArray &json)
{
    QStringList names;
    static const QRegularExpression member(QStringLiteral("^    \"(\\w+)\":"),
                                           QRegularExpression::MultilineOption);
    for (auto it = member.globalMatch(QString::fromUtf8(json)); it.hasNext();)
        names << it.next().captured(1);
    return names;
}

QStringList fieldNames(int count)
{
    QStringList names;
    for (int i = 0; i < count; ++i)
        names << QLatin1String(storage::noteFields()[size_t(i)].name);
    return names;
}

const char kFullNote[] = R"({
    "signature": "Vesk Jotlet 2003",
    "version": "1.9.6",
    "left": -40,
    "top": 300,
    "width": 210,
    "height": 160,
    "title": "Phone \"numbers\" ☎",
    "lines": ["Dentist 555-0100", "", "Заметка"],
    "visible": false,
    "backColor": 16777215,
    "titleColor": -16777201,
    "bodyFont": {"name": "DejaVu Sans", "size": 11, "bold": true, "italic": false, "underline": true, "strikeOut": false, "color": 255},
    "titleFont": {"name": "Arial", "size": 8, "bold": false, "italic": true, "underline": false, "strikeOut": true, "color": 8421504},
    "onTop": true,
    "expirationEnabled": true,
    "expirationReserved": false,
    "expirationDate": "2025-01-02T00:00:00",
    "expirationTime": "1899-12-30T17:45:00",
    "alarmEnabled": true,
    "alarmFired": false,
    "alarmDate": "0001-01-01T00:00:00",
    "alarmTime": "9999-12-31T23:59:59",
    "createStamp1": "2003-12-31T23:59:58",
    "createStamp2": "1800-06-15T13:45:30",
    "restoreWidth": 300,
    "restoreHeight": 0
}
)";

// The full note without the given members.
QByteArray noteWithout(const QStringList &names)
{
    QJsonObject object = parsed(kFullNote);
    for (const QString &name : names)
        object.remove(name);
    return QJsonDocument(object).toJson();
}

QString notePath()
{
    return testsupport::freshDir(QStringLiteral("ctl")) + QStringLiteral("/1.jtl");
}

TEST(JotletctlMakeDump, FullNoteComesBackAsTheSameJson)
{
    const QString path = notePath();
    const CtlRun make = jotletctl({QStringLiteral("make"), path}, kFullNote);
    ASSERT_EQ(make.status, 0) << make.err.toStdString();

    const CtlRun dump = jotletctl({QStringLiteral("dump"), path});
    EXPECT_EQ(dump.status, 0) << dump.err.toStdString();
    EXPECT_EQ(dump.out, QByteArray(kFullNote));
    EXPECT_EQ(memberOrder(dump.out), fieldNames(26));

    // The loader agrees with the tool.
    const storage::NoteRecord loaded = storage::readNoteFile(path, {}, QSize(), QSize());
    EXPECT_EQ(loaded.title, QStringLiteral("Phone \"numbers\" ☎"));
    EXPECT_EQ(loaded.titleColor, qint32(0xFF00000F));
    EXPECT_EQ(storage::splitDateTime(loaded.createStamp2),
              (storage::DateTimeParts {1800, 6, 15, 13, 45, 30}));
}

TEST(JotletctlMakeDump, OlderLayoutsAreMadeAndDumpedWithoutError)
{
    const QStringList timing = fieldNames(24).mid(13);
    const QStringList restore = {QStringLiteral("restoreWidth"), QStringLiteral("restoreHeight")};
    const struct
    {
        QStringList leftOut;
        int fields;
    } layouts[] = {{restore, 24}, {timing + restore, 13}};
    for (const auto &layout : layouts) {
        const QString path = notePath();
        const QByteArray json = noteWithout(layout.leftOut);
        ASSERT_EQ(jotletctl({QStringLiteral("make"), path}, json).status, 0);
        const CtlRun dump = jotletctl({QStringLiteral("dump"), path});
        EXPECT_EQ(dump.status, 0) << dump.err.toStdString();
        EXPECT_EQ(parsed(dump.out), parsed(json));
        EXPECT_EQ(memberOrder(dump.out), fieldNames(layout.fields));
    }
}

TEST(JotletctlMake, BadInputNamesTheFieldAndWritesNothing)
{
    const QString path = notePath();
    testsupport::writeAll(path, "the old note");
    const auto withValue = [](const char *name, const QJsonValue &value) {
        QJsonObject object = parsed(kFullNote);
        object.insert(QLatin1String(name), value);
        return QJsonDocument(object).toJson();
    };
    QJsonObject fontWithoutSize = parsed(kFullNote).value(QStringLiteral("bodyFont")).toObject();
    fontWithoutSize.remove(QStringLiteral("size"));
    const struct
    {
        QByteArray json;
        const char *mentions;
    } cases[] = {
        {noteWithout({QStringLiteral("title")}), "\"title\""},
        {noteWithout({QStringLiteral("alarmDate")}), "\"alarmDate\""}, // half a Timing group
        {noteWithout(fieldNames(24).mid(13)), "\"onTop\""}, // Restore without Timing
        {withValue("width", QStringLiteral("wide")), "\"width\""},
        {withValue("width", 65536), "\"width\""},
        {withValue("left", 1.5), "\"left\""},
        {withValue("left", -65536), "\"left\""},
        {withValue("visible", 1), "\"visible\""},
        {withValue("backColor", -1), "\"backColor\""},
        {withValue("title", QString(256, QLatin1Char('x'))), "\"title\""},
        {withValue("lines", QJsonArray({QJsonValue(QStringLiteral("a")), QJsonValue(2)})),
         "\"lines\""},
        {withValue("bodyFont", fontWithoutSize), "\"size\""},
        {withValue("alarmDate", QStringLiteral("2025-02-29T00:00:00")), "\"alarmDate\""},
        {withValue("alarmTime", QStringLiteral("2025-02-28 10:00")), "\"alarmTime\""},
        {withValue("colour", 0), "\"colour\""},
        {withValue("error", QStringLiteral("Read beyond end of file")), "\"error\""},
        {"{\"title\": ", "JSON"},
        {"[]", "object"},
    };
    for (const auto &c : cases) {
        const CtlRun make = jotletctl({QStringLiteral("make"), path}, c.json);
        EXPECT_EQ(make.status, 1) << c.mentions;
        EXPECT_TRUE(make.err.contains(QLatin1String(c.mentions))) << make.err.toStdString();
        EXPECT_EQ(testsupport::readAll(path), "the old note");
    }
    EXPECT_EQ(QDir(QFileInfo(path).path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

TEST(JotletctlDump, StopsAtTheFirstErrorWithTheFieldsReadSoFar)
{
    const QString full = notePath();
    ASSERT_EQ(jotletctl({QStringLiteral("make"), full}, kFullNote).status, 0);
    const QByteArray bytes = testsupport::readAll(full);
    const QByteArray upToFonts = bytes.left(bytes.indexOf(QByteArray::fromHex("0101"
                                                                              "0101"
                                                                              "0100"
                                                                              "06")));
    ASSERT_FALSE(upToFonts.isEmpty());

    const struct
    {
        const char *what;
        QByteArray bytes;
        int fieldsShown;
        const char *error;
    } cases[] = {
        {"empty", {}, 0, "Read beyond end of file"},
        {"ends inside the title", bytes.left(40), 6, "Read beyond end of file"},
        {"ends inside the Timing group", upToFonts + QByteArray::fromHex("0101"), 14,
         "Read beyond end of file"},
        {"wrong tag", QByteArray::fromHex("0100"), 0, "Error at readString:type"},
        {"byte after the last field", bytes + 'x', 26, "Data after the last field"},
    };
    for (const auto &c : cases) {
        const QString path = notePath();
        testsupport::writeAll(path, c.bytes);
        const CtlRun dump = jotletctl({QStringLiteral("dump"), path});
        EXPECT_EQ(dump.status, 1) << c.what;
        const QJsonObject object = parsed(dump.out);
        EXPECT_EQ(object.value(QStringLiteral("error")).toString(), QLatin1String(c.error))
            << c.what;
        EXPECT_EQ(memberOrder(dump.out), fieldNames(c.fieldsShown) << QStringLiteral("error"))
            << c.what;
        EXPECT_EQ(testsupport::readAll(path), c.bytes) << "dump never changes the file";
    }
}

TEST(JotletctlDump, MissingFileAndUsage)
{
    const CtlRun missing = jotletctl({QStringLiteral("dump"), notePath()});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(parsed(missing.out).value(QStringLiteral("error")).toString(), "File not found");
    EXPECT_EQ(jotletctl({QStringLiteral("dump")}).status, 2);
    EXPECT_EQ(jotletctl({QStringLiteral("make")}).status, 2);
}

// The command line of every command: help and version succeed on standard
// output, and a wrong word is named on standard error.
TEST(JotletctlCommandLine, HelpVersionAndWrongWords)
{
    struct Case
    {
        QStringList args;
        int status;
        QString out; // contained in standard output
        QString err; // contained in standard error
    };
    const QString version
        = QStringLiteral("jotletctl (Jotlet Light) %1\n").arg(QLatin1String(product::kFileVersion));
    const Case cases[] = {
        {{"--help"}, 0, "  show-all ", ""},
        {{"-h"}, 0, "  convert IN OUT ", ""},
        {{"dump", "--help"}, 0, "  dump FILE ", ""},
        {{"--version"}, 0, version, ""},
        {{}, 2, "", "usage: jotletctl COMMAND"},
        {{"shw-all"}, 2, "", "jotletctl: unknown command 'shw-all'\n"},
        {{"--verbose"}, 2, "", "jotletctl: unknown option '--verbose'\n"},
        {{"dump", "-x", "1.jtl"}, 2, "", "jotletctl: unknown option '-x'\n"},
        // After "--" a name that begins with a hyphen is a file name.
        {{"dump", "--", "-1.jtl"}, 1, "\"error\": \"File not found\"", "-1.jtl: File not found"},
        {{"list", "--xml"}, 2, "", "jotletctl: unknown option '--xml'\n"},
        {{"search"}, 2, "", "usage: jotletctl search TEXT"},
        {{"notes", "1.jtl"}, 2, "", "usage: jotletctl notes\n"},
        {{"show"}, 2, "", "usage: jotletctl show FILE"},
        {{"show", "../1.jtl"}, 2, "", "show: '../1.jtl' is no note file name"},
        {{"show", "1.jtl"}, 1, "", "jotletctl: Jotlet Light is not running\n"},
    };
    for (const Case &c : cases) {
        const CtlRun run = jotletctl(c.args);
        const QString out = QString::fromUtf8(run.out);
        const std::string what = c.args.join(' ').toStdString();
        EXPECT_EQ(run.status, c.status) << what;
        EXPECT_TRUE(c.out.isEmpty() ? out.isEmpty() : out.contains(c.out))
            << what << ": " << out.toStdString();
        EXPECT_TRUE(c.err.isEmpty() ? run.err.isEmpty() : run.err.contains(c.err))
            << what << ": " << run.err.toStdString();
    }
}

// list and search read the note folder as the program loads it, with or
// without the program, and leave every file as it was.
TEST(JotletctlListSearch, ReadTheNoteFolderAndChangeNothing)
{
    const QString folder = storage::ensureNoteFolder();
    ASSERT_EQ(
        jotletctl({QStringLiteral("make"), folder + QStringLiteral("/10.jtl")}, kFullNote).status,
        0);
    QJsonObject second = parsed(kFullNote);
    second[QStringLiteral("title")] = QStringLiteral("Café");
    second[QStringLiteral("visible")] = true;
    second[QStringLiteral("alarmEnabled")] = false;
    ASSERT_EQ(jotletctl({QStringLiteral("make"), folder + QStringLiteral("/11.jtl")},
                        QJsonDocument(second).toJson())
                  .status,
              0);
    // The body file holds the text, not the record's lines.
    testsupport::writeAll(folder + QStringLiteral("/11.jtl2"),
                          "{\\rtf1\\ansi Stra\\u223?e 5\\par\\tab Bakery\\par}");
    testsupport::writeAll(folder + QStringLiteral("/12.jtl"), "not a note");
    const auto files = [&] {
        QStringList state;
        for (const QString &name : QDir(folder).entryList(QDir::Files, QDir::Name))
            state << name + QLatin1Char(' ') + testsupport::readAll(folder + '/' + name).toHex();
        return state;
    };
    const QStringList before = files();

    const CtlRun list = jotletctl({QStringLiteral("list")});
    EXPECT_EQ(list.status, 1) << "12.jtl cannot be read";
    EXPECT_TRUE(list.err.contains(QStringLiteral("list: 12.jtl: "))) << list.err.toStdString();
    EXPECT_EQ(
        QString::fromUtf8(list.out),
        QStringLiteral("10.jtl\thidden\tPhone \"numbers\" ☎\tDentist 555-0100\t0001-01-01 23:59\n"
                       "11.jtl\tvisible\tCafé\tStraße 5\t-\n"));

    const CtlRun json = jotletctl({QStringLiteral("list"), QStringLiteral("--json")});
    const QJsonArray notes = QJsonDocument::fromJson(json.out).array();
    ASSERT_EQ(notes.size(), 3) << json.out.toStdString();
    EXPECT_EQ(memberOrder(json.out).mid(0, 28),
              QStringList {QStringLiteral("file")} + fieldNames(storage::kNoteFieldCount)
                  + QStringList {QStringLiteral("text")});
    EXPECT_EQ(notes[0][QStringLiteral("text")], QStringLiteral("Dentist 555-0100\n\nЗаметка"));
    EXPECT_EQ(notes[1][QStringLiteral("text")], QStringLiteral("Straße 5\n\tBakery"));
    EXPECT_EQ(notes[1][QStringLiteral("lines")], parsed(kFullNote)[QStringLiteral("lines")]);
    EXPECT_EQ(notes[2][QStringLiteral("file")], QStringLiteral("12.jtl"));
    EXPECT_FALSE(notes[2][QStringLiteral("error")].toString().isEmpty());

    struct Search
    {
        const char *text;
        int status;
        QString out;
    };
    const Search searches[] = {
        {"STRASSE", 0, "11.jtl\tCafé\tStraße 5\n"},
        {"cafe", 0, "11.jtl\tCafé\tStraße 5\n"}, // the title, with the first line
        {"bakery", 0, "11.jtl\tCafé\tBakery\n"},
        {"ЗАМЕТКА", 0, "10.jtl\tPhone \"numbers\" ☎\tЗаметка\n"},
        {"555-0100", 0, "10.jtl\tPhone \"numbers\" ☎\tDentist 555-0100\n"},
        {"plumber", 1, ""},
    };
    for (const Search &search : searches) {
        const CtlRun run = jotletctl({QStringLiteral("search"), QString::fromUtf8(search.text)});
        EXPECT_EQ(run.status, search.status) << search.text;
        EXPECT_EQ(QString::fromUtf8(run.out), search.out) << search.text;
    }
    EXPECT_EQ(files(), before);
}

} // namespace
