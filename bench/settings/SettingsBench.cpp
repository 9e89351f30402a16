// The settings store as the program uses it: a new note reads some twenty
// settings, the options dialog's Ok writes some twenty at once. The registry
// file is the one a first session leaves.
#include "platform/Paths.h"
#include "settings/SettingsTable.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>

namespace {

using namespace settings;

// The reads of a new note, in the note's order.
void readNewNoteSettings()
{
    storage::FontDesc builtIn;
    builtIn.name = QStringLiteral("MS Sans Serif");
    builtIn.size = 8;
    benchmark::DoNotOptimize(kTitle.read());
    benchmark::DoNotOptimize(kWidth.read());
    benchmark::DoNotOptimize(kHeight.read());
    benchmark::DoNotOptimize(kBackColor.read());
    benchmark::DoNotOptimize(kNoteFont.readForNewNote(builtIn));
    benchmark::DoNotOptimize(kTitleFont.readForNewNote(builtIn));
    benchmark::DoNotOptimize(kBackTitleColor.read());
    benchmark::DoNotOptimize(kPosition.read());
}

// What Ok in the options dialog stores, in its order, round by round a
// little different; write(setting, value) stores one value.
template<typename Write> void writeOkValues(int round, const Write &write)
{
    write(kTitle, QStringLiteral("Note %1").arg(round));
    write(kWidth, 135 + round % 2);
    write(kHeight, 80 + round % 2);
    write(kBackColor, round);
    write(kBackTitleColor, round);
    for (const FontSettings &group : {kNoteFont, kTitleFont}) {
        write(group.face, QStringLiteral("Arial"));
        write(group.size, 10 + round % 2);
        write(group.bold, round % 2 != 0);
        write(group.italic, false);
        write(group.underline, false);
        write(group.color, round);
    }
    write(kPosition, 1 + round % 6);
    write(kOnTopOnNew, round % 2 != 0);
    write(kShowAllOnNew, false);
    write(kLeftDefaultAction, round % 2);
}

// The home of a first session: every setting stored once.
class Home
{
public:
    Home()
    {
        qputenv("XDG_CONFIG_HOME", m_dir.filePath(QStringLiteral("config")).toUtf8());
        qputenv("XDG_DATA_HOME", m_dir.filePath(QStringLiteral("data")).toUtf8());
        QDir().mkpath(platform::configFolder());
        readNewNoteSettings();
        for (const BoolSetting &setting : {kOnTopOnNew, kShowAllOnNew, kFirstRun, kAboutBox})
            setting.read();
        kLeftDefaultAction.read();
    }

    // A copy of the file put in its place, as another instance's write does.
    void replaceFile() const
    {
        const QString file = platform::registryFile();
        const QString copy = file + QStringLiteral(".new");
        QFile::remove(copy);
        if (!QFile::copy(file, copy) || std::rename(qPrintable(copy), qPrintable(file)) != 0)
            std::abort();
    }

private:
    QTemporaryDir m_dir;
};

// The file has not changed for a while: the usual case when notes are made.
void BM_NewNoteReadsSettled(benchmark::State &state)
{
    const Home home;
    QThread::msleep(2600);
    for (auto _ : state)
        readNewNoteSettings();
}
BENCHMARK(BM_NewNoteReadsSettled)->Unit(benchmark::kMicrosecond);

// Another writer has just replaced the file.
void BM_NewNoteReadsJustChanged(benchmark::State &state)
{
    const Home home;
    for (auto _ : state) {
        state.PauseTiming();
        home.replaceFile();
        state.ResumeTiming();
        readNewNoteSettings();
    }
}
BENCHMARK(BM_NewNoteReadsJustChanged)->Unit(benchmark::kMicrosecond);

// Ok's values, each in a step of its own.
void BM_OptionsOkOneByOne(benchmark::State &state)
{
    const Home home;
    int round = 0;
    for (auto _ : state) {
        writeOkValues(++round,
                      [](const auto &setting, const auto &value) { setting.write(value); });
    }
}
BENCHMARK(BM_OptionsOkOneByOne)->Unit(benchmark::kMillisecond);

// The same values in one edit, as Ok stores them.
void BM_OptionsOkInOneEdit(benchmark::State &state)
{
    const Home home;
    int round = 0;
    for (auto _ : state) {
        SettingsEdit edit;
        writeOkValues(++round, [&edit](const auto &setting, const auto &value) {
            edit.write(setting, value);
        });
        edit.commit();
    }
}
BENCHMARK(BM_OptionsOkInOneEdit)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
