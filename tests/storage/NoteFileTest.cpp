#include "StorageTestUtil.h"

#include "storage/DateTime.h"
#include "storage/NoteFile.h"

#include <cmath>

using storage::encodeDateTime;
using storage::NoteLayout;
using storage::NoteRecord;
using storagetest::bytesOf;
using storagetest::messageOf;

namespace {

const QSize kScreen(1024, 768);
const QSize kNewNoteSize(135, 80);

// A record with a different value in every field, unlike the new-note values.
NoteRecord savedNote()
{
    NoteRecord r;
    r.left = -40;
    r.top = 300;
    r.width = 210;
    r.height = 160;
    r.title = QStringLiteral("Phone numbers");
    r.lines
        = QStringList {QStringLiteral("Dentist 555-0100"), QString(), QStringLiteral("Заметка")};
    r.visible = false;
    r.backColor = 0x00FFFFFF;
    r.titleColor = qint32(0xFF00000F);
    r.bodyFont = {QStringLiteral("DejaVu Sans"), 11, true, false, true, false, 0x000000FF};
    r.titleFont = {QStringLiteral("Arial"), 8, false, true, false, true, 0x00808080};
    r.onTop = true;
    r.expirationEnabled = true;
    r.expirationReserved = true;
    r.expirationDate = encodeDateTime({2025, 1, 2, 0, 0, 0});
    r.expirationTime = encodeDateTime({2025, 1, 2, 17, 45, 0});
    r.alarmEnabled = true;
    r.alarmFired = true;
    r.alarmDate = encodeDateTime({2024, 12, 24, 9, 0, 0});
    r.alarmTime = encodeDateTime({2024, 12, 24, 9, 30, 0});
    r.createStamp1 = encodeDateTime({2003, 12, 31, 23, 59, 58});
    r.createStamp2 = encodeDateTime({2003, 12, 31, 23, 59, 59});
    r.restoreWidth = 300;
    r.restoreHeight = 200;
    return r;
}

// What a note window holds before it loads its file.
NoteRecord newNoteValues()
{
    NoteRecord r;
    r.left = 7;
    r.top = 8;
    r.width = quint16(kNewNoteSize.width());
    r.height = quint16(kNewNoteSize.height());
    r.onTop = true; // the loader must clear it when Timing is missing
    const double created = encodeDateTime({2026, 5, 4, 3, 2, 1});
    r.expirationDate = r.expirationTime = r.alarmDate = r.alarmTime = created;
    r.createStamp1 = r.createStamp2 = created;
    r.restoreWidth = 1;
    r.restoreHeight = 2;
    return r;
}

// Compares the given fields (1-based, inclusive) of two records.
void expectSameFields(const NoteRecord &actual, const NoteRecord &expected, int first = 1,
                      int last = storage::kNoteFieldCount)
{
    for (int number = first; number <= last; ++number) {
        const storage::NoteField &field = storage::noteFields()[size_t(number - 1)];
        std::visit(
            [&](auto member) { EXPECT_TRUE(actual.*member == expected.*member) << field.name; },
            field.member);
    }
}

NoteRecord load(const QString &path)
{
    return storage::readNoteFile(path, newNoteValues(), kNewNoteSize, kScreen);
}

QString notePath()
{
    return testsupport::freshDir(QStringLiteral("notes")) + QStringLiteral("/123.jtl");
}

// The bytes of fields first..last of a record, as a note file holds them.
QByteArray fieldBytes(const NoteRecord &record, int first, int last)
{
    return bytesOf([&](TVeskFile &f) {
        for (int number = first; number <= last; ++number)
            storage::writeNoteField(f, storage::noteFields()[size_t(number - 1)], record);
    });
}

TEST(NoteFile, CurrentLayoutRoundTrips)
{
    const QString path = notePath();
    NoteRecord note = savedNote();
    note.signature = QStringLiteral("someone else");
    note.version = QStringLiteral("0.1");
    storage::writeNoteFile(path, note);

    note.signature = QStringLiteral("Vesk Jotlet 2003");
    note.version = QStringLiteral("1.9.6");
    expectSameFields(load(path), note);

    const QByteArray bytes = testsupport::readAll(path);
    EXPECT_TRUE(bytes.startsWith(QByteArray("\x00\x10Vesk Jotlet 2003\x00\x05"
                                            "1.9.6",
                                            25)));
    EXPECT_TRUE(bytes.endsWith(QByteArray::fromHex("052c01"
                                                   "05c800"))); // restore size last
}

TEST(NoteFile, SavingTwiceGivesTheSameBytes)
{
    const QString path = notePath();
    storage::writeNoteFile(path, savedNote());
    const QByteArray first = testsupport::readAll(path);
    storage::writeNoteFile(path, savedNote());
    EXPECT_EQ(testsupport::readAll(path), first);
}

TEST(NoteFile, FileEndingAfterTheFontsTakesNewNoteValues)
{
    const QString path = notePath();
    storage::writeNoteFileLayout(path, savedNote(), NoteLayout::UpToFonts);
    const NoteRecord loaded = load(path);

    expectSameFields(loaded, savedNote(), 1, 13);
    EXPECT_FALSE(loaded.onTop);
    NoteRecord expected = newNoteValues();
    expected.onTop = false;
    expectSameFields(loaded, expected, 14, 24);
    EXPECT_EQ(loaded.restoreWidth, savedNote().width);
    EXPECT_EQ(loaded.restoreHeight, savedNote().height);
}

TEST(NoteFile, FileEndingAfterTheStampsTakesTheLoadedSizeToRestore)
{
    const QString path = notePath();
    storage::writeNoteFileLayout(path, savedNote(), NoteLayout::UpToStamps);
    const NoteRecord loaded = load(path);

    expectSameFields(loaded, savedNote(), 1, 24);
    EXPECT_EQ(loaded.restoreWidth, 210);
    EXPECT_EQ(loaded.restoreHeight, 160);
}

TEST(NoteFile, HalfARestoreGroupCountsAsNone)
{
    const QString path = notePath();
    testsupport::writeAll(path, fieldBytes(savedNote(), 1, 25));
    const NoteRecord loaded = load(path);
    EXPECT_EQ(loaded.restoreWidth, 210);
    EXPECT_EQ(loaded.restoreHeight, 160);
}

TEST(NoteFile, PositionStoredAsWordCentresAndReadsOnAfterTheRejectedTag)
{
    // Field 3 as the Word 0x1205 (tag 05, bytes 05 12) followed by the byte
    // 0x00: once the tag is rejected the bytes 05 12 00 read as field 5, the
    // width 0x0012 = 18.
    NoteRecord note = savedNote();
    note.width = 18;
    const QByteArray bytes
        = fieldBytes(note, 1, 2) + QByteArray::fromHex("05") + fieldBytes(note, 5, 26);
    ASSERT_EQ(bytes.mid(fieldBytes(note, 1, 2).size(), 4).toHex(), "05051200");
    const QString path = notePath();
    testsupport::writeAll(path, bytes);

    const NoteRecord loaded = load(path);
    EXPECT_EQ(loaded.left, (1024 - 135) / 2); // the new-note size, not the loaded one
    EXPECT_EQ(loaded.top, (768 - 80) / 2);
    expectSameFields(loaded, note, 5, 26);
}

TEST(NoteFile, CentringTruncatesTowardZero)
{
    const QString path = notePath();
    // A stray byte where field 4 belongs.
    testsupport::writeAll(path, fieldBytes(savedNote(), 1, 3) + QByteArray::fromHex("01")
                                    + fieldBytes(savedNote(), 5, 26));
    // Field 4 rejected: the left already read is centred too.
    const NoteRecord loaded
        = storage::readNoteFile(path, newNoteValues(), QSize(105, 80), QSize(100, 75));
    EXPECT_EQ(loaded.left, -2);
    EXPECT_EQ(loaded.top, -2);
}

TEST(NoteFile, BadValueInTimingKeepsWhatWasReadBeforeIt)
{
    // Field 17 with the month 13.
    QByteArray badDate(1, char(TVeskFile::DateTimeTag));
    for (int number : {2025, 13, 2, 0, 0, 0})
        badDate += bytesOf([&](TVeskFile &f) { f.writeWord(quint16(number)); });
    const QString path = notePath();
    testsupport::writeAll(
        path, fieldBytes(savedNote(), 1, 16) + badDate + fieldBytes(savedNote(), 18, 26));

    const NoteRecord loaded = load(path);
    expectSameFields(loaded, savedNote(), 1, 13);
    EXPECT_FALSE(loaded.onTop); // read as true, dropped with the group
    EXPECT_TRUE(loaded.expirationEnabled);
    EXPECT_TRUE(loaded.expirationReserved);
    NoteRecord expected = newNoteValues();
    expectSameFields(loaded, expected, 17, 24);
    // Reading went on with field 18 where field 25 was expected.
    EXPECT_EQ(loaded.restoreWidth, 210);
    EXPECT_EQ(loaded.restoreHeight, 160);
}

TEST(NoteFile, ErrorsOutsideTheOptionalGroupsAreRaised)
{
    const NoteRecord note = savedNote();
    const QByteArray anInt = QByteArray::fromHex("02010000");
    const struct
    {
        const char *what;
        QByteArray bytes;
        const char *message;
    } cases[] = {
        {"empty file", {}, "Read beyond end of file"},
        {"signature as Int", anInt + fieldBytes(note, 2, 26), "Error at readString:type"},
        {"no version", fieldBytes(note, 1, 1), "Read beyond end of file"},
        {"ends after the position", fieldBytes(note, 1, 4), "Read beyond end of file"},
        {"height as Int", fieldBytes(note, 1, 5) + anInt + fieldBytes(note, 7, 26),
         "Error at readWord:type"},
        {"ends inside the lines", fieldBytes(note, 1, 8).chopped(3), "Read beyond end of file"},
        {"title font missing", fieldBytes(note, 1, 12) + fieldBytes(note, 14, 26),
         "Error at readFont:type"},
        {"ends after the body font", fieldBytes(note, 1, 12), "Read beyond end of file"},
    };
    for (const auto &c : cases) {
        const QString path = notePath();
        testsupport::writeAll(path, c.bytes);
        EXPECT_EQ(messageOf<Error>([&] { load(path); }), c.message) << c.what;
        EXPECT_EQ(testsupport::readAll(path), c.bytes) << "a failed load changes nothing";
    }
    EXPECT_EQ(messageOf<EInOutError>([&] { load(notePath()); }), "File not found");
}

TEST(NoteFile, DataAfterTheLastFieldIsIgnored)
{
    const QString path = notePath();
    testsupport::writeAll(path, fieldBytes(savedNote(), 1, 26) + "more");
    expectSameFields(load(path), savedNote());
}

TEST(NoteFile, FailedSaveLeavesThePreviousFileWhole)
{
    const QString path = notePath();
    storage::writeNoteFile(path, savedNote());
    const QByteArray before = testsupport::readAll(path);

    NoteRecord broken = savedNote();
    broken.title = QStringLiteral("changed");
    broken.alarmTime = std::nan(""); // fails at field 22, after 21 fields went out
    EXPECT_THROW(storage::writeNoteFile(path, broken), EConvertError);

    EXPECT_EQ(testsupport::readAll(path), before);
    EXPECT_EQ(QDir(QFileInfo(path).path()).entryList(QDir::Files | QDir::Hidden),
              QStringList {QStringLiteral("123.jtl")});
}

} // namespace
