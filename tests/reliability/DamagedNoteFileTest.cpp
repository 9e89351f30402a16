// Note files cut short at every offset, with every byte changed, and of
// random bytes: none crashes or hangs the loader; each loads with the
// documented fallbacks or raises one of the tagged field file's errors, and
// the file itself is never changed by a load.
#include "reliability/Damage.h"

#include "platform/Errors.h"
#include "storage/DFile.h"
#include "storage/DateTime.h"
#include "storage/NoteFile.h"
#include "storage/NoteFolder.h"
#include "support/TempHome.h"

#include <QFile>
#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <vector>

using storage::NoteRecord;
using testsupport::readAll;
using testsupport::writeAll;

namespace {

const QSize kScreen(1024, 768);
const QSize kWindow(135, 80);

NoteRecord typicalNote()
{
    NoteRecord r;
    r.left = 612;
    r.top = 48;
    r.width = 180;
    r.height = 140;
    r.title = QStringLiteral("Phone numbers");
    r.lines = {QStringLiteral("Plumber 0123 456789"), QStringLiteral("Doctor: call before 9"),
               QString(), QStringLiteral("Grüße an Jürgen")};
    r.visible = true;
    r.backColor = 0x0000FFFF;
    r.titleColor = 0x00C0DCC0;
    r.bodyFont = {QStringLiteral("Arial"), 10, false, false, false, false, 0};
    r.titleFont = {QStringLiteral("Arial"), 10, true, false, false, false, 0x00800000};
    r.onTop = true;
    r.alarmEnabled = true;
    r.alarmDate = storage::encodeDateTime({2025, 3, 1, 0, 0, 0});
    r.alarmTime = storage::encodeDateTime({2025, 3, 1, 8, 30, 0});
    r.expirationDate = r.expirationTime = r.createStamp1 = r.createStamp2
        = storage::encodeDateTime({2024, 11, 5, 10, 11, 12});
    r.restoreWidth = 180;
    r.restoreHeight = 140;
    return r;
}

NoteRecord newNoteValues()
{
    NoteRecord r;
    r.width = quint16(kWindow.width());
    r.height = quint16(kWindow.height());
    r.onTop = true;
    return r;
}

QString scratchPath()
{
    static const QString folder = testsupport::freshDir(QStringLiteral("damaged-notes"));
    return folder + QStringLiteral("/1.jtl");
}

QByteArray fileBytes(const NoteRecord &record, storage::NoteLayout layout)
{
    storage::writeNoteFileLayout(scratchPath(), record, layout);
    return readAll(scratchPath());
}

// The errors a load may raise: a wrong tag or too few bytes.
const std::set<QString> &readerErrors()
{
    static const std::set<QString> messages = [] {
        std::set<QString> m {QStringLiteral("Read beyond end of file")};
        for (const char *type :
             {"String", "Bool", "Int", "Byte", "Word", "DateTime", "Font", "Strings", "Color"})
            m.insert(QStringLiteral("Error at read%1:type").arg(QLatin1String(type)));
        return m;
    }();
    return messages;
}

struct Outcome
{
    std::optional<NoteRecord> record;
    QString error;
};

// Loads the bytes as a note file; a load must leave the file as it was.
// Each input goes into a new file: rewriting one file in place makes the
// file system flush it every time, which costs more than the load.
Outcome load(const QByteArray &bytes)
{
    static int inputs = 0;
    const QString path = scratchPath() + QString::number(++inputs);
    writeAll(path, bytes);
    Outcome outcome;
    try {
        outcome.record = storage::readNoteFile(path, newNoteValues(), kWindow, kScreen);
    } catch (const Error &e) {
        outcome.error = e.message();
    }
    EXPECT_EQ(readAll(path), bytes) << "a load changed the file";
    QFile::remove(path);
    return outcome;
}

// Fields first..last (1-based) of the record equal those of the typical note.
bool sameFields(const NoteRecord &actual, int first, int last)
{
    const NoteRecord expected = typicalNote();
    bool same = true;
    for (int number = first; number <= last; ++number) {
        std::visit([&](auto member) { same = same && actual.*member == expected.*member; },
                   storage::noteFields()[size_t(number - 1)].member);
    }
    return same;
}

class DamagedNoteFile : public ::testing::Test
{
protected:
    const QByteArray full = fileBytes(typicalNote(), storage::NoteLayout::Full);
    const int endOfFonts = int(fileBytes(typicalNote(), storage::NoteLayout::UpToFonts).size());
    const int endOfStamps = int(fileBytes(typicalNote(), storage::NoteLayout::UpToStamps).size());
};

TEST_F(DamagedNoteFile, CutShortBeforeTheTitleFontItFailsAfterItTheFallbacksFillIn)
{
    damage::forEachCut(full, [&](const QByteArray &bytes, int cut) {
        const Outcome outcome = load(bytes);
        if (cut < endOfFonts) {
            EXPECT_EQ(outcome.error, QStringLiteral("Read beyond end of file")) << "cut " << cut;
            return;
        }
        ASSERT_TRUE(outcome.record) << "cut " << cut << ": " << outcome.error.toStdString();
        const NoteRecord &r = *outcome.record;
        EXPECT_TRUE(sameFields(r, 1, 13)) << "cut " << cut;
        if (cut < endOfStamps) {
            EXPECT_FALSE(r.onTop) << "cut " << cut << ": an unread Timing group is not on top";
        }
        EXPECT_EQ(r.restoreWidth, r.width) << "cut " << cut;
        EXPECT_EQ(r.restoreHeight, r.height) << "cut " << cut;
    });
}

TEST_F(DamagedNoteFile, EveryChangedByteLoadsOrRaisesAReaderError)
{
    damage::forEachChangedByte(full, [&](const QByteArray &bytes, const QString &change) {
        const Outcome outcome = load(bytes);
        if (!outcome.record) {
            EXPECT_TRUE(readerErrors().count(outcome.error))
                << change.toStdString() << ": " << outcome.error.toStdString();
        }
    });
}

// Damage in the optional groups is absorbed by their fallbacks: the window,
// title, body, colours and fonts always come back.
TEST_F(DamagedNoteFile, ChangesAfterTheTitleFontNeverLoseTheNote)
{
    const QByteArray tail = full.mid(endOfFonts);
    damage::forEachChangedByte(tail, [&](const QByteArray &changed, const QString &change) {
        const Outcome outcome = load(full.left(endOfFonts) + changed);
        ASSERT_TRUE(outcome.record) << change.toStdString() << ": " << outcome.error.toStdString();
        EXPECT_TRUE(sameFields(*outcome.record, 1, 13)) << change.toStdString();
    });
}

TEST_F(DamagedNoteFile, RandomBytesLoadOrRaiseAReaderError)
{
    damage::forEachRandom(2000, 400, [&](const QByteArray &bytes, const QString &input) {
        const Outcome outcome = load(bytes);
        if (!outcome.record) {
            EXPECT_TRUE(readerErrors().count(outcome.error))
                << input.toStdString() << ": " << outcome.error.toStdString();
        }
    });
}

// Single well-formed values of every type, made by the real writer.
std::vector<QByteArray> valuePool()
{
    QRandomGenerator random(7);
    std::vector<QByteArray> pool;
    const QString path = scratchPath() + QStringLiteral(".value");
    for (int i = 0; i < 180; ++i) {
        const quint32 n = random.generate();
        {
            TVeskFile file(path);
            file.rewrite();
            switch (i % 9) {
            case 0:
                file.writeString(QString(int(n % 300), QLatin1Char('t')));
                break;
            case 1:
                file.writeBool(n & 1);
                break;
            case 2:
                file.writeInt(qint32(n % 131071) - 65535);
                break;
            case 3:
                file.writeByte(quint8(n));
                break;
            case 4:
                file.writeWord(quint16(n));
                break;
            case 5:
                file.writeDateTime(double(n % 2958000));
                break;
            case 6:
                file.writeFont({QStringLiteral("F"), int(n % 100), true, false, true, false, 0});
                break;
            case 7:
                file.writeStrings(QStringList(int(n % 300), QStringLiteral("l")));
                break;
            default:
                file.writeColor(qint32(n & 0x7FFFFFFF));
                break;
            }
            file.commit();
        }
        pool.push_back(readAll(path));
    }
    return pool;
}

// Random sequences of well-formed values reach far deeper into the loader
// than random bytes do.
TEST_F(DamagedNoteFile, RandomValuesLoadOrRaiseAReaderError)
{
    const std::vector<QByteArray> pool = valuePool();
    QRandomGenerator random(11);
    for (int input = 0; input < 3000; ++input) {
        QByteArray bytes;
        const int values = int(random.bounded(40));
        for (int i = 0; i < values; ++i)
            bytes += pool[random.bounded(int(pool.size()))];
        const Outcome outcome = load(bytes);
        if (!outcome.record) {
            EXPECT_TRUE(readerErrors().count(outcome.error))
                << "input " << input << ": " << outcome.error.toStdString();
        }
    }
}

// One bad file among good ones: every good note loads whole, the bad ones
// raise their error, and no file is touched.
TEST(DamagedNoteFolder, OneDamagedFileDoesNotKeepTheOthersFromLoading)
{
    const QString folder = testsupport::freshDir(QStringLiteral("mixed-folder"));
    const QByteArray good = fileBytes(typicalNote(), storage::NoteLayout::Full);
    const QStringList bad
        = {QStringLiteral("2.jtl"), QStringLiteral("4.jtl"), QStringLiteral("6.jtl")};
    for (const char *name : {"1.jtl", "3.jtl", "5.jtl", "7.jtl"})
        writeAll(folder + QLatin1Char('/') + QLatin1String(name), good);
    writeAll(folder + QStringLiteral("/2.jtl"), good.left(20));
    writeAll(folder + QStringLiteral("/4.jtl"), QByteArray());
    writeAll(folder + QStringLiteral("/6.jtl"), damage::flipped(good, 0, 0xFF));

    QStringList loaded;
    QStringList failed;
    for (const QString &name : storage::listNoteFiles(folder)) {
        const QString path = folder + QLatin1Char('/') + name;
        const QByteArray before = readAll(path);
        try {
            const NoteRecord record
                = storage::readNoteFile(path, newNoteValues(), kWindow, kScreen);
            EXPECT_TRUE(sameFields(record, 1, storage::kNoteFieldCount)) << name.toStdString();
            loaded << name;
        } catch (const Error &e) {
            EXPECT_TRUE(readerErrors().count(e.message())) << e.what();
            failed << name;
        }
        EXPECT_EQ(readAll(path), before);
    }
    EXPECT_EQ(loaded, QStringList({"1.jtl", "3.jtl", "5.jtl", "7.jtl"}));
    EXPECT_EQ(failed, bad);
}

} // namespace
