// Saving and loading the largest note the file can hold. A note saves on each
// deactivation (the time is mostly the flush to disk that makes the save
// safe) and every note loads at start-up.
#include "storage/DateTime.h"
#include "storage/NoteFile.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

// 255 lines of 255 characters.
storage::NoteRecord fullNote()
{
    storage::NoteRecord note;
    note.width = 400;
    note.height = 300;
    note.title = QStringLiteral("Phone numbers");
    for (int i = 0; i < 255; ++i)
        note.lines << QString(255, QLatin1Char('a' + i % 26));
    note.bodyFont = {QStringLiteral("DejaVu Sans"), 10, false, false, false, false, 0};
    note.titleFont = note.bodyFont;
    note.expirationDate = note.expirationTime = note.alarmDate = note.alarmTime = note.createStamp1
        = note.createStamp2 = storage::encodeDateTime({2024, 6, 30, 12, 0, 0});
    return note;
}

void BM_SaveNote(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("1.jtl"));
    const storage::NoteRecord note = fullNote();
    for (auto _ : state)
        storage::writeNoteFile(path, note);
}
BENCHMARK(BM_SaveNote)->Unit(benchmark::kMicrosecond);

void BM_LoadNote(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("1.jtl"));
    storage::writeNoteFile(path, fullNote());
    for (auto _ : state)
        benchmark::DoNotOptimize(
            storage::readNoteFile(path, {}, QSize(135, 80), QSize(1920, 1080)));
}
BENCHMARK(BM_LoadNote)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
