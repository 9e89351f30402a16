// Saves on a full disk and on a read-only disk, on a real tiny file system:
// the save fails with a clear error, the previous file stays whole and
// loadable, nothing half-written is left beside it, and saving works again
// once there is room or the disk is writable again.
#include "reliability/SmallDisk.h"

#include "platform/Errors.h"
#include "platform/Registry.h"
#include "storage/NoteFile.h"
#include "storage/NoteFolder.h"
#include "support/TempHome.h"
#include "ui/NoteText.h"

#include <QDir>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include <functional>
#include <optional>

namespace {

QString generationText(int generation)
{
    return QStringLiteral("generation %1").arg(generation);
}

std::optional<int> generationIn(const QString &text)
{
    const QRegularExpressionMatch match
        = QRegularExpression(QStringLiteral("^generation (\\d+)$")).match(text);
    return match.hasMatch() ? std::optional<int>(match.captured(1).toInt()) : std::nullopt;
}

// Enough text that a save needs more than the last free bytes of a page.
QStringList bulk(int generation)
{
    return QStringList(40, QString(100, QChar(u'a' + generation % 26)));
}

// One kind of file the program saves: how to save a generation into a
// folder, how to read back the generation a folder holds, and the file's name.
struct Saver
{
    const char *name;
    QString fileName;
    std::function<void(const QString &folder, int generation)> save;
    std::function<std::optional<int>(const QString &folder)> load;
};

void saveNoteFile(const QString &folder, int generation)
{
    storage::NoteRecord record;
    record.title = generationText(generation);
    record.lines = bulk(generation);
    storage::writeNoteFile(folder + QStringLiteral("/1.jtl"), record);
}

std::optional<int> loadNoteFile(const QString &folder)
{
    return generationIn(storage::readNoteFile(folder + QStringLiteral("/1.jtl"), {}, QSize(135, 80),
                                              QSize(800, 600))
                            .title);
}

ui::NoteText &body()
{
    static ui::NoteText text;
    return text;
}

void saveBodyFile(const QString &folder, int generation)
{
    body().setLines(QStringList {generationText(generation)} + bulk(generation));
    body().saveToFile(folder + QStringLiteral("/1.jtl2"));
}

std::optional<int> loadBodyFile(const QString &folder)
{
    body().setLines({});
    body().loadFromFile(folder + QStringLiteral("/1.jtl2"));
    return generationIn(body().lines().value(0));
}

const QString kKey = QStringLiteral("Software\\Harvel\\Vesk Jotlet 2003\\1.9.5");

void saveRegistryValue(const QString &folder, int generation)
{
    platform::RegistryKey key(kKey, folder + QStringLiteral("/registry.reg"));
    ASSERT_TRUE(key.isOpen());
    key.setValue(QStringLiteral("Bulk"),
                 platform::RegValue::fromText(bulk(generation).join(QLatin1Char(' '))));
    key.setValue(QStringLiteral("Title"), platform::RegValue::fromText(generationText(generation)));
}

std::optional<int> loadRegistryValue(const QString &folder)
{
    const platform::RegistryKey key(kKey, folder + QStringLiteral("/registry.reg"));
    const std::optional<platform::RegValue> value = key.value(QStringLiteral("Title"));
    return value ? generationIn(value->text()) : std::nullopt;
}

const Saver kSavers[] = {
    {"NoteFile", QStringLiteral("1.jtl"), saveNoteFile, loadNoteFile},
    {"BodyFile", QStringLiteral("1.jtl2"), saveBodyFile, loadBodyFile},
    {"RegistryFile", QStringLiteral("registry.reg"), saveRegistryValue, loadRegistryValue},
};

std::string nameOf(const ::testing::TestParamInfo<Saver> &param)
{
    return param.param.name;
}

// The message of the error a save raises; nullopt when it raised none.
std::optional<QString> saveError(const Saver &saver, const QString &folder, int generation)
{
    try {
        saver.save(folder, generation);
    } catch (const Error &e) {
        return e.message();
    }
    return std::nullopt;
}

class WriteFailure : public ::testing::TestWithParam<Saver>
{
protected:
    void SetUp() override
    {
        m_disk = std::make_unique<SmallDisk>(testsupport::freshDir(QStringLiteral("small")), 64);
        if (!m_disk->available())
            GTEST_SKIP() << m_disk->reason().toStdString();
    }

    const Saver &saver() const { return GetParam(); }
    SmallDisk &disk() { return *m_disk; }
    QString folder() const { return m_disk->folder(); }

    // Files beside the saved one: what a failed save left behind.
    QStringList leftovers() const
    {
        QStringList names = QDir(folder()).entryList(QDir::Files | QDir::Hidden);
        names.removeAll(saver().fileName);
        names.removeAll(QStringLiteral("filler"));
        return names;
    }

    // The registry's refusal has its fixed message naming the value; file
    // errors carry the system's reason.
    void expectClearError(const QString &message) const
    {
        if (saver().fileName == QLatin1String("registry.reg"))
            EXPECT_EQ(message, QStringLiteral("Failed to set data for 'Bulk'"));
        else
            EXPECT_FALSE(message.trimmed().isEmpty());
    }

    void expectGeneration(int generation)
    {
        std::optional<int> loaded;
        try {
            loaded = saver().load(folder());
        } catch (const Error &e) {
            ADD_FAILURE() << "the file no longer loads: " << e.what();
        }
        EXPECT_EQ(loaded, generation);
    }

private:
    std::unique_ptr<SmallDisk> m_disk;
};

TEST_P(WriteFailure, FullDiskKeepsThePreviousFileWholeAndSavesOnceThereIsRoom)
{
    saver().save(folder(), 1);
    disk().fill();
    const std::optional<QString> error = saveError(saver(), folder(), 2);
    ASSERT_TRUE(error) << "a save on a full disk reported success";
    expectClearError(*error);
    expectGeneration(1);
    EXPECT_EQ(leftovers(), QStringList());

    disk().freeFiller();
    EXPECT_EQ(saveError(saver(), folder(), 3), std::nullopt);
    expectGeneration(3);
}

TEST_P(WriteFailure, ReadOnlyDiskKeepsThePreviousFileWholeAndSavesOnceWritable)
{
    saver().save(folder(), 1);
    ASSERT_TRUE(disk().setReadOnly(true));
    const std::optional<QString> error = saveError(saver(), folder(), 2);
    ASSERT_TRUE(error) << "a save on a read-only disk reported success";
    expectClearError(*error);
    expectGeneration(1);

    ASSERT_TRUE(disk().setReadOnly(false));
    EXPECT_EQ(saveError(saver(), folder(), 3), std::nullopt);
    expectGeneration(3);
}

INSTANTIATE_TEST_SUITE_P(Saves, WriteFailure, ::testing::ValuesIn(kSavers), nameOf);

// A user told only "No space left on device" cannot tell which note was not
// saved; the message must name the file. (The registry's refusal has the
// settings store's fixed message, which names the value.)
using SaveErrorMessage = WriteFailure;

TEST_P(SaveErrorMessage, NamesTheFile)
{
    saver().save(folder(), 1);
    ASSERT_TRUE(disk().setReadOnly(true));
    const QString readOnly = saveError(saver(), folder(), 2).value_or(QString());
    EXPECT_TRUE(readOnly.contains(saver().fileName)) << readOnly.toStdString();
    ASSERT_TRUE(disk().setReadOnly(false));
    disk().fill();
    const QString full = saveError(saver(), folder(), 3).value_or(QString());
    EXPECT_TRUE(full.contains(saver().fileName)) << full.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Files, SaveErrorMessage, ::testing::Values(kSavers[0], kSavers[1]),
                         nameOf);

} // namespace
