#include "StorageTestUtil.h"

#include "storage/DateTime.h"

#include <QFileInfo>

#include <climits>

#include <sys/stat.h>

using storage::FontDesc;
using storagetest::bytesOf;
using storagetest::messageOf;
using storagetest::readerOver;
using storagetest::scratchPath;

namespace {

QByteArray hex(const char *text)
{
    return QByteArray::fromHex(text);
}

FontDesc arialBoldUnderlined()
{
    FontDesc font;
    font.name = QStringLiteral("Arial");
    font.size = 10;
    font.bold = true;
    font.underline = true;
    return font;
}

// One worked encoding: how it is written, its bytes, and what reading them gives.
struct Encoding
{
    const char *what;
    std::function<void(TVeskFile &)> write;
    const char *bytes;
    std::function<void(TVeskFile &)> expectReadBack;
};

std::vector<Encoding> workedEncodings()
{
    static const double lastSecondOf2003 = storage::encodeDateTime({2003, 12, 31, 23, 59, 58});
    return {
        {"string abc", [](TVeskFile &f) { f.writeString(QStringLiteral("abc")); }, "0003616263",
         [](TVeskFile &f) {
             EXPECT_EQ(f.readString(), QStringLiteral("abc"));
         }},
        {"empty string", [](TVeskFile &f) { f.writeString({}); }, "0000",
         [](TVeskFile &f) {
             EXPECT_TRUE(f.readString().isEmpty());
         }},
        {"bool true", [](TVeskFile &f) { f.writeBool(true); }, "0101",
         [](TVeskFile &f) {
             EXPECT_TRUE(f.readBool());
         }},
        {"bool false", [](TVeskFile &f) { f.writeBool(false); }, "0100",
         [](TVeskFile &f) {
             EXPECT_FALSE(f.readBool());
         }},
        {"int -300", [](TVeskFile &f) { f.writeInt(-300); }, "02002c01",
         [](TVeskFile &f) {
             EXPECT_EQ(f.readInt(), -300);
         }},
        {"int 0", [](TVeskFile &f) { f.writeInt(0); }, "02010000",
         [](TVeskFile &f) {
             EXPECT_EQ(f.readInt(), 0);
         }},
        {"int 135", [](TVeskFile &f) { f.writeInt(135); }, "02018700",
         [](TVeskFile &f) {
             EXPECT_EQ(f.readInt(), 135);
         }},
        {"int -1", [](TVeskFile &f) { f.writeInt(-1); }, "02000100",
         [](TVeskFile &f) {
             EXPECT_EQ(f.readInt(), -1);
         }},
        {"int -65535", [](TVeskFile &f) { f.writeInt(-65535); }, "0200ffff",
         [](TVeskFile &f) {
             EXPECT_EQ(f.readInt(), -65535);
         }},
        {"byte 200", [](TVeskFile &f) { f.writeByte(200); }, "04c8",
         [](TVeskFile &f) {
             EXPECT_EQ(f.readByte(), 200);
         }},
        {"word 2003", [](TVeskFile &f) { f.writeWord(2003); }, "05d307",
         [](TVeskFile &f) {
             EXPECT_EQ(f.readWord(), 2003);
         }},
        {"date-time", [](TVeskFile &f) { f.writeDateTime(lastSecondOf2003); },
         "06 05d307 050c00 051f00 051700 053b00 053a00",
         [](TVeskFile &f) {
             EXPECT_EQ(f.readDateTime(), lastSecondOf2003);
         }},
        {"colour 0x00C0DCC0", [](TVeskFile &f) { f.writeColor(12639424); }, "09 0580dd 05c000",
         [](TVeskFile &f) {
             EXPECT_EQ(f.readColor(), 12639424);
         }},
        {"system colour", [](TVeskFile &f) { f.writeColor(qint32(0xFF00000F)); },
         "09 050fff 0500ff",
         [](TVeskFile &f) {
             EXPECT_EQ(f.readColor(), qint32(0xFF00000F));
         }},
        {"empty list", [](TVeskFile &f) { f.writeStrings({}); }, "080400",
         [](TVeskFile &f) {
             QStringList lines;
             f.readStrings(lines);
             EXPECT_TRUE(lines.isEmpty());
         }},
        {"list ab", [](TVeskFile &f) { f.writeStrings({QStringLiteral("ab")}); },
         "08 0401 00026162",
         [](TVeskFile &f) {
             QStringList lines;
             f.readStrings(lines);
             EXPECT_EQ(lines, QStringList {QStringLiteral("ab")});
         }},
        {"font", [](TVeskFile &f) { f.writeFont(arialBoldUnderlined()); },
         "07 0005417269616c 02010a00 0101 0100 0101 0100 09 050000 050000",
         [](TVeskFile &f) {
             EXPECT_EQ(f.readFont(), arialBoldUnderlined());
         }},
    };
}

TEST(VeskFileEncoding, WorkedExamplesAreWrittenByteForByte)
{
    for (const Encoding &e : workedEncodings())
        EXPECT_EQ(bytesOf(e.write).toHex(), hex(e.bytes).toHex()) << e.what;
}

TEST(VeskFileEncoding, WorkedExamplesReadBackInOneFile)
{
    QByteArray all;
    for (const Encoding &e : workedEncodings())
        all += hex(e.bytes);
    auto file = readerOver(all);
    for (const Encoding &e : workedEncodings()) {
        SCOPED_TRACE(e.what);
        e.expectReadBack(*file);
    }
    EXPECT_TRUE(file->atEnd());
}

TEST(VeskFileEncoding, ReadersAcceptWhatTheWriterNeverProduces)
{
    auto file = readerOver(hex("0102 0107 02070500 02000000 02000002"));
    EXPECT_FALSE(file->readBool()); // only the byte 1 is true
    EXPECT_TRUE(file->readBool() == false) << "7 is not true either";
    EXPECT_EQ(file->readInt(), 5); // any sign byte but 0 is positive
    EXPECT_EQ(file->readInt(), 0); // "minus zero"
    EXPECT_EQ(file->readInt(), -512);
}

TEST(VeskFileEncoding, IntKeepsOnlyTheLow16BitsOfTheMagnitude)
{
    EXPECT_EQ(bytesOf([](TVeskFile &f) { f.writeInt(65536 + 7); }).toHex(), "02010700");
    // The most negative value has a magnitude only unsigned arithmetic can hold.
    EXPECT_EQ(bytesOf([](TVeskFile &f) { f.writeInt(INT_MIN); }).toHex(), "02000000");
}

TEST(VeskFileEncoding, ColoursTheProgramUsesSurviveTheDivisor65535)
{
    std::vector<qint32> colours
        = {0, 0x0000FFFF, 0x0000FFFE, 0x00010000, 0x00FFFFFF, 0x00C0DCC0, 0x7FFFFFFF};
    for (quint32 index = 0; index <= 0xFF; ++index)
        colours.push_back(qint32(0xFF000000u | index)); // every system-colour constant
    const QByteArray bytes = bytesOf([&](TVeskFile &f) {
        for (qint32 colour : colours)
            f.writeColor(colour);
    });
    auto file = readerOver(bytes);
    for (qint32 colour : colours)
        EXPECT_EQ(file->readColor(), colour) << colour;
}

TEST(VeskFileEncoding, KeepsColorTellsWhichColoursComeBack)
{
    const std::vector<qint32> colours
        = {0,      1,      0x7FFFFFFF, qint32(0xFF000000), -1,      -65534,
           -65535, -65536, -65535 * 2, -65535 * 2 - 1,     INT_MIN, INT_MIN + 1};
    const QByteArray bytes = bytesOf([&](TVeskFile &f) {
        for (qint32 colour : colours)
            f.writeColor(colour);
    });
    auto file = readerOver(bytes);
    for (qint32 colour : colours)
        EXPECT_EQ(file->readColor() == colour, TVeskFile::keepsColor(colour)) << colour;
    EXPECT_TRUE(TVeskFile::keepsColor(qint32(0xFF0000FF)));
    EXPECT_FALSE(TVeskFile::keepsColor(-1));
}

TEST(VeskFileEncoding, LongTextsAndListsAreCutSoTheFileStaysReadable)
{
    const QString latin(300, QLatin1Char('x'));
    const QString cyrillic(200, QChar(0x0436)); // two UTF-8 bytes each
    QStringList many;
    for (int i = 0; i < 300; ++i)
        many << QString::number(i);

    const QByteArray bytes = bytesOf([&](TVeskFile &f) {
        f.writeString(latin);
        f.writeString(cyrillic);
        f.writeStrings(many);
    });
    EXPECT_EQ(quint8(bytes[1]), 255);
    EXPECT_EQ(quint8(bytes[2 + 255 + 1]), 254); // cut between characters, not inside one

    auto file = readerOver(bytes);
    EXPECT_EQ(file->readString(), latin.left(255));
    EXPECT_EQ(file->readString(), cyrillic.left(127));
    QStringList lines;
    file->readStrings(lines);
    EXPECT_EQ(lines, many.mid(0, 255));
    EXPECT_TRUE(file->atEnd());
}

TEST(VeskFileEncoding, TextsOutsideWindows1252ComeBack)
{
    const QString text = QStringLiteral("Заметка: позвонить ☎ 555-0100");
    const QString western = QStringLiteral("café €5");
    const QByteArray bytes = bytesOf([&](TVeskFile &f) {
        f.writeString(text);
        f.writeString(western);
    });
    EXPECT_EQ(bytes.right(9).toHex(), "0007636166e9208035"); // Windows-1252 when it fits
    auto file = readerOver(bytes);
    EXPECT_EQ(file->readString(), text);
    EXPECT_EQ(file->readString(), western);
}

TEST(VeskFileEncoding, DateTimesKeepWholeSecondsAndCheckTheirParts)
{
    const double noon = storage::encodeDate(2024, 2, 29) + storage::encodeTime(12, 0, 0, 999);
    auto file = readerOver(bytesOf([&](TVeskFile &f) { f.writeDateTime(noon); }));
    EXPECT_EQ(storage::splitDateTime(file->readDateTime()),
              (storage::DateTimeParts {2024, 2, 29, 12, 0, 0}));

    const auto dateTimeBytes = [](int month, int hour) {
        QByteArray bytes(1, char(TVeskFile::DateTimeTag));
        for (int number : {2024, month, 1, hour, 0, 0})
            bytes += bytesOf([&](TVeskFile &f) { f.writeWord(quint16(number)); });
        return bytes;
    };
    EXPECT_EQ(messageOf<EConvertError>([&] { readerOver(dateTimeBytes(13, 10))->readDateTime(); }),
              "Invalid argument to date encode");
    EXPECT_EQ(messageOf<EConvertError>([&] { readerOver(dateTimeBytes(12, 24))->readDateTime(); }),
              "Invalid argument to time encode");
    // The date is checked first.
    EXPECT_EQ(messageOf<EConvertError>([&] { readerOver(dateTimeBytes(0, 24))->readDateTime(); }),
              "Invalid argument to date encode");
}

TEST(VeskFileEncoding, UnusableDateTimeWritesNothing)
{
    const QByteArray bytes = bytesOf([](TVeskFile &f) {
        EXPECT_THROW(f.writeDateTime(std::nan("")), EConvertError);
        f.writeBool(true);
    });
    EXPECT_EQ(bytes.toHex(), "0101");
}

TEST(VeskFileErrors, EveryReaderNamesItselfOnAWrongTag)
{
    const struct
    {
        const char *message;
        std::function<void(TVeskFile &)> read;
    } readers[] = {
        {"Error at readString:type",
         [](TVeskFile &f) {
             f.readString();
         }},
        {"Error at readBool:type",
         [](TVeskFile &f) {
             f.readBool();
         }},
        {"Error at readInt:type",
         [](TVeskFile &f) {
             f.readInt();
         }},
        {"Error at readByte:type",
         [](TVeskFile &f) {
             f.readByte();
         }},
        {"Error at readWord:type",
         [](TVeskFile &f) {
             f.readWord();
         }},
        {"Error at readDateTime:type",
         [](TVeskFile &f) {
             f.readDateTime();
         }},
        {"Error at readFont:type",
         [](TVeskFile &f) {
             f.readFont();
         }},
        {"Error at readStrings:type",
         [](TVeskFile &f) {
             QStringList lines;
             f.readStrings(lines);
         }},
        {"Error at readColor:type",
         [](TVeskFile &f) {
             f.readColor();
         }},
    };
    for (const auto &r : readers) {
        auto file = readerOver(hex("03")); // the tag no type has
        EXPECT_EQ(messageOf<EVeskFileError>([&] { r.read(*file); }), r.message);
    }
}

TEST(VeskFileErrors, WrongTagStaysConsumed)
{
    auto file = readerOver(hex("04 0101"));
    EXPECT_EQ(messageOf<EVeskFileError>([&] { file->readWord(); }), "Error at readWord:type");
    EXPECT_TRUE(file->readBool()); // the next value starts right after the rejected tag
}

TEST(VeskFileErrors, CompositeValuesReportTheInnerReader)
{
    auto stringWhereFontIs = readerOver(hex("0003616263"));
    EXPECT_EQ(messageOf<EVeskFileError>([&] { stringWhereFontIs->readFont(); }),
              "Error at readFont:type");

    auto fontWithoutFaceName = readerOver(hex("07 02010a00"));
    EXPECT_EQ(messageOf<EVeskFileError>([&] { fontWithoutFaceName->readFont(); }),
              "Error at readString:type");

    auto dateTimeWithByte = readerOver(hex("06 04d3"));
    EXPECT_EQ(messageOf<EVeskFileError>([&] { dateTimeWithByte->readDateTime(); }),
              "Error at readWord:type");
}

TEST(VeskFileErrors, ListIsClearedOnlyOnceItsTagIsRight)
{
    QStringList lines {QStringLiteral("old")};
    auto wrong = readerOver(hex("0000"));
    EXPECT_THROW(wrong->readStrings(lines), EVeskFileError);
    EXPECT_EQ(lines, QStringList {QStringLiteral("old")});

    auto empty = readerOver(hex("080400"));
    empty->readStrings(lines);
    EXPECT_TRUE(lines.isEmpty());
}

TEST(VeskFileErrors, ShortFilesFailWithReadBeyondEndOfFile)
{
    const auto readString = [](TVeskFile &f) {
        f.readString();
    };
    const struct
    {
        const char *bytes;
        std::function<void(TVeskFile &)> read;
    } cases[] = {
        {"", readString},
        {"00", readString},
        {"0005616263", readString},
        {"0201",
         [](TVeskFile &f) {
             f.readInt();
         }},
        {"05d3",
         [](TVeskFile &f) {
             f.readWord();
         }},
        {"06 05d307 050c",
         [](TVeskFile &f) {
             f.readDateTime();
         }},
        {"07 0005417269616c 02010a00 0101",
         [](TVeskFile &f) {
             f.readFont();
         }},
        {"08040100",
         [](TVeskFile &f) {
             QStringList lines;
             f.readStrings(lines);
         }},
    };
    for (const auto &c : cases) {
        auto file = readerOver(hex(c.bytes));
        // Never EVeskFileError: the note loader tells the two apart.
        EXPECT_EQ(messageOf<EInOutError>([&] { c.read(*file); }), "Read beyond end of file")
            << c.bytes;
    }
}

TEST(VeskFileErrors, OpeningProblemsAreInputOutputErrors)
{
    TVeskFile missing(scratchPath(QStringLiteral("no such file")));
    EXPECT_EQ(messageOf<EInOutError>([&] { missing.reset(); }), "File not found");

    TVeskFile folder(testsupport::freshDir(QStringLiteral("a folder")));
    EXPECT_FALSE(messageOf<EInOutError>([&] { folder.reset(); }).isEmpty());

    TVeskFile unopened(scratchPath(QStringLiteral("unopened")));
    EXPECT_EQ(messageOf<EInOutError>([&] { unopened.readBool(); }), "File not open");
    EXPECT_EQ(messageOf<EInOutError>([&] { unopened.writeBool(true); }), "File not open");
    EXPECT_EQ(messageOf<EInOutError>([&] { unopened.commit(); }), "File not open");
}

// ---- writing never tears a file

QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden);
}

TEST(VeskFileSaving, FailureHalfWayLeavesTheOldFileWhole)
{
    const QString folder = testsupport::freshDir(QStringLiteral("half-way"));
    const QString path = folder + QStringLiteral("/1.jtl");
    testsupport::writeAll(path, "the old content");
    try {
        TVeskFile file(path);
        file.rewrite();
        file.writeString(QStringLiteral("new"));
        throw EInOutError(QStringLiteral("disk full"));
    } catch (const EInOutError &) {
    }
    EXPECT_EQ(testsupport::readAll(path), "the old content");
    EXPECT_EQ(filesIn(folder), QStringList {QStringLiteral("1.jtl")}); // no temporary left over
}

TEST(VeskFileSaving, CommitReplacesTheFileWithAPrivateOne)
{
    const QString folder = testsupport::freshDir(QStringLiteral("commit"));
    const QString existing = folder + QStringLiteral("/old.jtl");
    testsupport::writeAll(existing, "a much longer old content than the new one");
    QFile::setPermissions(existing,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup
                              | QFileDevice::ReadOther);
    for (const QString &path : {existing, folder + QStringLiteral("/new.jtl")}) {
        TVeskFile file(path);
        file.rewrite();
        file.writeBool(true);
        file.commit();
        EXPECT_EQ(testsupport::readAll(path).toHex(), "0101");
        EXPECT_EQ(QFileInfo(path).permissions() & 0x7777,
                  QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser
                      | QFileDevice::WriteUser)
            << path.toStdString();
    }
    EXPECT_EQ(filesIn(folder).size(), 2);
}

TEST(VeskFileSaving, FailedCommitReportsTheSystemsReason)
{
    const QString folder = testsupport::freshDir(QStringLiteral("vanishing"));
    TVeskFile file(folder + QStringLiteral("/1.jtl"));
    file.rewrite();
    file.writeBool(true);
    QDir(folder).removeRecursively();
    const QString message = messageOf<EInOutError>([&] { file.commit(); });
    EXPECT_FALSE(message.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(folder));
}

TEST(VeskFileSaving, WritingIntoAMissingFolderFailsAtCommit)
{
    TVeskFile file(scratchPath(QStringLiteral("missing/1.jtl")));
    file.rewrite();
    file.writeBool(true);
    EXPECT_FALSE(messageOf<EInOutError>([&] { file.commit(); }).isEmpty());
}

ino_t inodeOf(const QString &path)
{
    struct stat info = {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_ino : 0;
}

void saveBool(const QString &path, bool value)
{
    TVeskFile file(path);
    file.rewrite();
    file.writeBool(value);
    file.commit();
}

// A file replaced by rename gets a new inode; one left alone keeps its own.
TEST(VeskFileSaving, AnUnchangedPrivateFileIsLeftAsItIs)
{
    const QString path
        = testsupport::freshDir(QStringLiteral("unchanged")) + QStringLiteral("/1.jtl");
    saveBool(path, true);
    const ino_t first = inodeOf(path);
    saveBool(path, true);
    EXPECT_EQ(inodeOf(path), first);

    saveBool(path, false); // same size, other bytes
    EXPECT_NE(inodeOf(path), first);
    EXPECT_EQ(testsupport::readAll(path).toHex(), "0100");
}

TEST(VeskFileSaving, SameContentIsStillRewrittenToMakeTheFilePrivate)
{
    const QString path = testsupport::freshDir(QStringLiteral("shared")) + QStringLiteral("/1.jtl");
    testsupport::writeAll(path, QByteArray::fromHex("0101"));
    QFile::setPermissions(
        path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadOther);
    saveBool(path, true);
    EXPECT_EQ(QFileInfo(path).permissions() & (QFileDevice::ReadOther | QFileDevice::ReadGroup), 0);
    EXPECT_EQ(testsupport::readAll(path).toHex(), "0101");
}

} // namespace
