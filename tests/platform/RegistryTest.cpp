#include "platform/Registry.h"
#include "platform/FileUpdate.h"
#include "support/TempHome.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QProcess>
#include <QThread>
#include <gtest/gtest.h>

#include <csignal>
#include <unistd.h>

using namespace platform;
using testsupport::freshDir;
using testsupport::readAll;
using testsupport::writeAll;

namespace {

const QString kKey = QStringLiteral("Software\\Harvel\\Vesk Jotlet 2003\\1.9.5");
// The helper processes below find their orders in these variables.
constexpr char kChildFile[] = "JL_REGISTRY_CHILD_FILE";
constexpr char kChildPrefix[] = "JL_REGISTRY_CHILD_PREFIX";
constexpr int kValuesPerWriter = 25;

QString freshRegistry(const QString &name)
{
    return freshDir(name) + QStringLiteral("/registry.reg");
}

// Runs one test of this program in a separate process.
QProcess *startHelper(const QString &test, const QString &file, const QString &prefix)
{
    auto *process = new QProcess;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QLatin1String(kChildFile), file);
    env.insert(QLatin1String(kChildPrefix), prefix);
    process->setProcessEnvironment(env);
    process->setProcessChannelMode(QProcess::MergedChannels);
    process->start(QCoreApplication::applicationFilePath(),
                   {QStringLiteral("--gtest_filter=RegistryHelperProcess.") + test});
    return process;
}

class ShortLockWait : public ::testing::Test
{
protected:
    void SetUp() override { testhooks::setLockTimeoutMs(300); }
    void TearDown() override { testhooks::setLockTimeoutMs(5000); }
};

} // namespace

// Not tests of their own: the bodies of the helper processes.
TEST(RegistryHelperProcess, WriteManyValues)
{
    if (qEnvironmentVariableIsEmpty(kChildFile))
        GTEST_SKIP() << "runs only as a helper process";
    RegistryKey key(kKey, qEnvironmentVariable(kChildFile));
    ASSERT_TRUE(key.isOpen());
    const QString prefix = qEnvironmentVariable(kChildPrefix);
    for (int i = 0; i < kValuesPerWriter; ++i) {
        key.setValue(prefix + QString::number(i), RegValue::fromDWord(i));
        QThread::msleep(1);
    }
}

// Edits of three values each, all three the round's number.
TEST(RegistryHelperProcess, WriteEdits)
{
    if (qEnvironmentVariableIsEmpty(kChildFile))
        GTEST_SKIP() << "runs only as a helper process";
    const QString prefix = qEnvironmentVariable(kChildPrefix);
    for (int round = 1; round <= kValuesPerWriter; ++round) {
        RegistryEdit edit(qEnvironmentVariable(kChildFile));
        for (const char *name : {"a", "b", "c"})
            edit.setValue(kKey, prefix + QLatin1String(name), RegValue::fromDWord(round));
        edit.commit();
        QThread::msleep(1);
    }
}

TEST(RegistryHelperProcess, DieWhileWriting)
{
    if (qEnvironmentVariableIsEmpty(kChildFile))
        GTEST_SKIP() << "runs only as a helper process";
    RegistryKey key(kKey, qEnvironmentVariable(kChildFile));
    testhooks::setBeforeReplace([] { ::kill(::getpid(), SIGKILL); });
    key.setValue(QStringLiteral("never"), RegValue::fromText(QString(100000, QLatin1Char('x'))));
}

TEST(Registry, ValuesSurviveInTheFileBetweenKeys)
{
    const QString file = freshRegistry(QStringLiteral("reg-basic"));
    {
        RegistryKey key(kKey, file);
        ASSERT_TRUE(key.isOpen());
        key.setValue(QStringLiteral("width"), RegValue::fromDWord(135));
        key.setValue(QStringLiteral("Title"), RegValue::fromText(QStringLiteral("Caf\u00e9")));
    }
    RegistryKey again(QStringLiteral("\\SOFTWARE\\harvel\\Vesk Jotlet 2003\\1.9.5"), file);
    EXPECT_EQ(again.value(QStringLiteral("WIDTH"))->dword(), 135);
    EXPECT_EQ(again.value(QStringLiteral("title"))->text(), QStringLiteral("Caf\u00e9"));
    EXPECT_TRUE(again.deleteValue(QStringLiteral("width")));
    EXPECT_FALSE(again.value(QStringLiteral("width")));
    EXPECT_FALSE(again.deleteValue(QStringLiteral("width")));

    const QByteArray bytes = readAll(file);
    EXPECT_TRUE(bytes.startsWith("Windows Registry Editor Version 5.00\n\n"));
    EXPECT_TRUE(bytes.contains("\"Title\"=\"Caf\xc3\xa9\"\n")) << bytes.constData();
    EXPECT_FALSE(bytes.contains('\r'));
    const QFileDevice::Permissions others = QFileDevice::ReadGroup | QFileDevice::WriteGroup
        | QFileDevice::ExeGroup | QFileDevice::ReadOther | QFileDevice::WriteOther
        | QFileDevice::ExeOther;
    EXPECT_EQ(QFile::permissions(file) & others, QFileDevice::Permissions());
    EXPECT_TRUE(QFile::permissions(file) & QFileDevice::WriteOwner);
}

// A value of the same length keeps the file's size: only its change time
// tells the versions apart.
void editInPlace(const QString &file, const QByteArray &from, const QByteArray &to)
{
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    QByteArray bytes = f.readAll();
    ASSERT_TRUE(bytes.contains(from));
    bytes.replace(from, to);
    ASSERT_TRUE(f.seek(0));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

class KeptRegistry : public ::testing::Test
{
protected:
    void SetUp() override { testhooks::setRegistrySettledMs(0); }
    void TearDown() override { testhooks::setRegistrySettledMs(2500); }
    // Past one tick of the clock that stamps files.
    static void nextTick() { QThread::msleep(30); }
};

TEST_F(KeptRegistry, ChangesMadeElsewhereAreSeenAtOnce)
{
    const QString file = freshRegistry(QStringLiteral("reg-kept"));
    RegistryKey key(kKey, file);
    key.setValue(QStringLiteral("width"), RegValue::fromDWord(135));
    nextTick();
    EXPECT_EQ(key.value(QStringLiteral("width"))->dword(), 135);
    EXPECT_EQ(key.value(QStringLiteral("width"))->dword(), 135); // now from the kept copy

    nextTick();
    editInPlace(file, "dword:00000087", "dword:00000088");
    nextTick();
    EXPECT_EQ(key.value(QStringLiteral("width"))->dword(), 136) << "edited in place";

    RegistryKey other(kKey, file);
    other.setValue(QStringLiteral("width"), RegValue::fromDWord(137));
    nextTick();
    EXPECT_EQ(key.value(QStringLiteral("width"))->dword(), 137) << "replaced by another writer";

    QFile::remove(file);
    EXPECT_FALSE(key.value(QStringLiteral("width"))) << "deleted";
}

// Two writes within one tick of the file clock share their time stamps; a
// file changed that recently is read again for every value.
TEST(Registry, AFileChangedJustNowIsReadAgainForEachValue)
{
    const QString file = freshRegistry(QStringLiteral("reg-fresh"));
    RegistryKey key(kKey, file);
    key.setValue(QStringLiteral("width"), RegValue::fromDWord(135));
    EXPECT_EQ(key.value(QStringLiteral("width"))->dword(), 135);
    editInPlace(file, "dword:00000087", "dword:00000088");
    EXPECT_EQ(key.value(QStringLiteral("width"))->dword(), 136);
}

TEST(Registry, OpeningCreatesTheKeyOnce)
{
    const QString file = freshRegistry(QStringLiteral("reg-create"));
    RegistryKey key(kKey, file);
    ASSERT_TRUE(key.isOpen());
    const QByteArray created = readAll(file);
    EXPECT_TRUE(created.contains("[HKEY_CURRENT_USER\\Software\\Harvel\\Vesk Jotlet 2003\\1.9.5]"));
    RegistryKey parent(QStringLiteral("Software\\Harvel"), file);
    EXPECT_TRUE(parent.isOpen());
    EXPECT_EQ(readAll(file), created);
}

TEST(Registry, ExportOfTheRegistryEditorIsRead)
{
    const QString file = freshRegistry(QStringLiteral("reg-utf16"));
    const QString text
        = QStringLiteral("Windows Registry Editor Version 5.00\r\n\r\n"
                         "[HKEY_CURRENT_USER\\Software\\Harvel\\Vesk Jotlet 2003\\1.9.5]\r\n"
                         "\"title\"=\"\u041f\u0440\u0438\u0432\u0435\u0442\"\r\n"
                         "\"width\"=dword:00000064\r\n\r\n");
    QByteArray bytes("\xff\xfe");
    bytes.append(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
    writeAll(file, bytes);
    RegistryKey key(kKey, file);
    ASSERT_TRUE(key.isOpen());
    EXPECT_EQ(key.value(QStringLiteral("title"))->text(),
              QStringLiteral("\u041f\u0440\u0438\u0432\u0435\u0442"));
    // The first change turns it into the program's own UTF-8 form, values intact.
    key.setValue(QStringLiteral("height"), RegValue::fromDWord(80));
    EXPECT_TRUE(readAll(file).startsWith("Windows Registry Editor Version 5.00\n"));
    EXPECT_EQ(key.value(QStringLiteral("width"))->dword(), 100);
    EXPECT_EQ(key.value(QStringLiteral("height"))->dword(), 80);
}

TEST(Registry, FileThatIsNotRegistryTextIsLeftAlone)
{
    const QList<QByteArray> unreadable = {
        QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), // binary
        QByteArray("\xff\xfe\x41\x00\x42", 5), // truncated UTF-16
        QByteArray("\xff\xfe\x00\xd8\x41\x00", 6), // lone surrogate
        QByteArray("\xef\xbb\xbf\xc3(", 5), // broken UTF-8 behind a BOM
    };
    for (const QByteArray &bytes : unreadable) {
        const QString file = freshRegistry(QStringLiteral("reg-unreadable"));
        writeAll(file, bytes);
        RegistryKey key(kKey, file);
        EXPECT_FALSE(key.isOpen());
        EXPECT_FALSE(key.value(QStringLiteral("width")));
        EXPECT_NO_THROW(key.setValue(QStringLiteral("width"), RegValue::fromDWord(1)));
        EXPECT_EQ(readAll(file), bytes);
    }
    // A folder where the file should be cannot be read either.
    const QString folder = freshRegistry(QStringLiteral("reg-folder"));
    QDir().mkpath(folder);
    EXPECT_FALSE(RegistryKey(kKey, folder).isOpen());
}

TEST(Registry, HandMadeFileIsReadAndItsLinesKept)
{
    const QString file = freshRegistry(QStringLiteral("reg-hand"));
    // Windows-1252, no header, a line of nonsense and a truncated value.
    const QByteArray bytes("[HKEY_CURRENT_USER\\Software\\Harvel\\Vesk Jotlet 2003\\1.9.5]\n"
                           "\"title\"=\"Caf\xe9\"\n"
                           "this is not a value\n"
                           "\"cut\"=hex(2):41,00,\\\n");
    writeAll(file, bytes);
    RegistryKey key(kKey, file);
    ASSERT_TRUE(key.isOpen());
    EXPECT_EQ(key.value(QStringLiteral("title"))->text(), QStringLiteral("Caf\u00e9"));
    key.setValue(QStringLiteral("width"), RegValue::fromDWord(1));
    const QString written = QString::fromUtf8(readAll(file));
    EXPECT_TRUE(written.startsWith(QStringLiteral("Windows Registry Editor Version 5.00\n\n[")));
    EXPECT_TRUE(
        written.contains(QStringLiteral("\"title\"=\"Caf\u00e9\"\nthis is not a value\n"
                                        "\"cut\"=hex(2):41,00,\\\n\"width\"=dword:00000001\n")))
        << written.toStdString();
}

TEST(Registry, InvalidKeyPathStaysClosed)
{
    const QString file = freshRegistry(QStringLiteral("reg-badkey"));
    RegistryKey key(QStringLiteral("Software\\\\Harvel"), file);
    EXPECT_FALSE(key.isOpen());
    key.setValue(QStringLiteral("a"), RegValue::fromDWord(1));
    EXPECT_FALSE(QFile::exists(file));
}

TEST_F(ShortLockWait, WriteThatCannotGetTheLockRaisesTheValueName)
{
    const QString file = freshRegistry(QStringLiteral("reg-locked"));
    RegistryKey key(kKey, file);
    key.setValue(QStringLiteral("width"), RegValue::fromDWord(1));
    const QByteArray before = readAll(file);
    QLockFile other(file + QStringLiteral(".lock"));
    ASSERT_TRUE(other.tryLock(0));
    try {
        key.setValue(QStringLiteral("width"), RegValue::fromDWord(2));
        FAIL() << "no error raised";
    } catch (const ERegistryError &e) {
        EXPECT_EQ(e.message(), QStringLiteral("Failed to set data for 'width'"));
    }
    EXPECT_EQ(readAll(file), before);
    other.unlock();
    key.setValue(QStringLiteral("width"), RegValue::fromDWord(2));
    EXPECT_EQ(key.value(QStringLiteral("width"))->dword(), 2);
}

TEST(Registry, TwoProcessesWritingAtOnceLoseNothing)
{
    const QString file = freshRegistry(QStringLiteral("reg-race"));
    RegistryKey key(kKey, file);
    ASSERT_TRUE(key.isOpen());
    std::unique_ptr<QProcess> child(
        startHelper(QStringLiteral("WriteManyValues"), file, QStringLiteral("child")));
    ASSERT_TRUE(child->waitForStarted());
    // Start once the other process is writing, so the two really overlap.
    for (int i = 0; i < 500 && !key.value(QStringLiteral("child0")); ++i)
        QThread::msleep(10);
    for (int i = 0; i < kValuesPerWriter; ++i) {
        key.setValue(QStringLiteral("parent") + QString::number(i), RegValue::fromDWord(i));
        QThread::msleep(1);
    }
    ASSERT_TRUE(child->waitForFinished(60000));
    ASSERT_EQ(child->exitStatus(), QProcess::NormalExit);
    ASSERT_EQ(child->exitCode(), 0) << child->readAll().toStdString();
    for (int i = 0; i < kValuesPerWriter; ++i) {
        EXPECT_EQ(key.value(QStringLiteral("parent") + QString::number(i)), RegValue::fromDWord(i));
        EXPECT_EQ(key.value(QStringLiteral("child") + QString::number(i)), RegValue::fromDWord(i));
    }
}

// What one process stores in one edit another sees whole or not at all,
// read straight from the file; and neither loses the other's edits.
TEST(Registry, AnEditIsSeenWholeByAnotherProcess)
{
    const QString file = freshRegistry(QStringLiteral("reg-edits"));
    ASSERT_TRUE(RegistryKey(kKey, file).isOpen());
    std::unique_ptr<QProcess> child(
        startHelper(QStringLiteral("WriteEdits"), file, QStringLiteral("child")));
    ASSERT_TRUE(child->waitForStarted());
    const QStringList key = *parseKeyPath(kKey);
    const auto round = [&](const RegDocument &document, const char *name) {
        const std::optional<RegValue> value
            = document.value(key, QStringLiteral("child") + QLatin1String(name));
        return value ? value->dword() : 0;
    };
    const auto readFile = [&] {
        return RegDocument::parse(QString::fromUtf8(readAll(file)));
    };
    // Start once the other process is writing, so the two really overlap.
    for (int i = 0; i < 500 && round(readFile(), "a") == 0; ++i)
        QThread::msleep(10);
    int mine = 0;
    do {
        if (++mine <= kValuesPerWriter) {
            RegistryEdit edit(file);
            edit.setValue(kKey, QStringLiteral("parent") + QString::number(mine),
                          RegValue::fromDWord(mine));
            edit.commit();
        }
        const RegDocument document = readFile();
        const int a = round(document, "a");
        ASSERT_EQ(round(document, "b"), a) << "half an edit seen";
        ASSERT_EQ(round(document, "c"), a) << "half an edit seen";
        ASSERT_LT(mine, 60000) << "the helper process does not end";
    } while (mine < kValuesPerWriter
             || (child->state() != QProcess::NotRunning && !child->waitForFinished(1)));
    ASSERT_EQ(child->exitStatus(), QProcess::NormalExit);
    ASSERT_EQ(child->exitCode(), 0) << child->readAll().toStdString();
    const RegistryKey after(kKey, file);
    for (int i = 1; i <= kValuesPerWriter; ++i)
        EXPECT_EQ(after.value(QStringLiteral("parent") + QString::number(i)),
                  RegValue::fromDWord(i));
    EXPECT_EQ(after.value(QStringLiteral("childc")), RegValue::fromDWord(kValuesPerWriter));
}

// A value the file cannot hold refuses the whole edit: nothing of it is
// stored, and the error names that value.
TEST(Registry, ARefusedEditStoresNothing)
{
    const QString file = freshRegistry(QStringLiteral("reg-refused"));
    RegistryKey(kKey, file).setValue(QStringLiteral("width"), RegValue::fromDWord(1));
    const QByteArray before = readAll(file);
    RegistryEdit edit(file);
    edit.setValue(kKey, QStringLiteral("width"), RegValue::fromDWord(2));
    edit.setValue(kKey, QStringLiteral("two\nlines"), RegValue::fromDWord(3));
    edit.setValue(kKey, QStringLiteral("height"), RegValue::fromDWord(4));
    try {
        edit.commit();
        FAIL() << "no error raised";
    } catch (const ERegistryError &e) {
        EXPECT_EQ(e.message(), QStringLiteral("Failed to set data for 'two\nlines'"));
    }
    EXPECT_EQ(readAll(file), before);
}

TEST(Registry, CrashInTheMiddleOfAWriteLeavesTheOldFileWhole)
{
    const QString file = freshRegistry(QStringLiteral("reg-crash"));
    RegistryKey key(kKey, file);
    key.setValue(QStringLiteral("title"), RegValue::fromText(QStringLiteral("keep me")));
    const QByteArray before = readAll(file);

    std::unique_ptr<QProcess> child(startHelper(QStringLiteral("DieWhileWriting"), file, {}));
    ASSERT_TRUE(child->waitForFinished(60000));
    ASSERT_EQ(child->exitStatus(), QProcess::CrashExit);

    EXPECT_EQ(readAll(file), before);
    EXPECT_EQ(key.value(QStringLiteral("title"))->text(), QStringLiteral("keep me"));
    // The dead writer's lock does not block the next write.
    key.setValue(QStringLiteral("width"), RegValue::fromDWord(7));
    EXPECT_EQ(key.value(QStringLiteral("width"))->dword(), 7);
    EXPECT_EQ(key.value(QStringLiteral("title"))->text(), QStringLiteral("keep me"));
}
