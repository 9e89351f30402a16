// Reading a small file through the bounded reader, as every note body and
// every registry look-up does at start-up, beside a read sized by the file:
// the bound must not cost anything when the file is small.
#include "platform/FileUpdate.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <stdexcept>

namespace {

constexpr qint64 kBodyLimit = 512LL * 1024 * 1024; // the body file limit

QString smallFile(const QTemporaryDir &dir)
{
    const QString path = dir.filePath(QStringLiteral("small.rtf"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(QByteArray(1500, 'a')) != 1500)
        throw std::runtime_error("cannot write the sample file");
    return path;
}

void BM_ReadExistingFile(benchmark::State &state)
{
    const QTemporaryDir dir;
    const QString path = smallFile(dir);
    for (auto _ : state)
        benchmark::DoNotOptimize(platform::readExistingFile(path, state.range(0)));
}
BENCHMARK(BM_ReadExistingFile)
    ->Arg(platform::kMaxSettingsFileBytes)
    ->Arg(kBodyLimit)
    ->Unit(benchmark::kMicrosecond);

void BM_ReadAllReference(benchmark::State &state)
{
    const QTemporaryDir dir;
    const QString path = smallFile(dir);
    for (auto _ : state) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            state.SkipWithError("cannot open the sample file");
        benchmark::DoNotOptimize(file.readAll());
    }
}
BENCHMARK(BM_ReadAllReference)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
