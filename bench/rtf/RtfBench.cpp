// Reading and writing formatted RTF with pictures, as a note body, at
// 10 KB, 1 MB and 10 MB. Reading 1 MB should stay well under 100 ms.
// A note body of 10 MB, plain lines or formatted, loads from its file and
// saves to it within a second each (noteBodyLoad, noteBodySave); saving
// grows with the body, it does not lay it out.
#include "ui/NoteText.h"
#include "ui/rtf/Rtf.h"

#include <QApplication>
#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTextDocument>
#include <benchmark/benchmark.h>

#include <memory>
#include <random>

namespace {

QByteArray pictureGroup(int seed)
{
    QImage image(48, 32, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb((x * 5 + seed) & 255, (y * 7) & 255, (x ^ y) & 255));
    }
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "png");
    QByteArray group = "{\\pict\\pngblip\\picw48\\pich32\\picwgoal720\\pichgoal480\r\n";
    for (qsizetype at = 0; at < png.size(); at += 40)
        group += png.mid(at, 40).toHex() + "\r\n";
    return group + "}";
}

// Rich-edit shaped RTF: a format change every few words, Windows-1252 and
// Unicode characters, a picture about every 20 KB.
QByteArray formattedRtf(qsizetype targetSize)
{
    static const char *const words[] = {"call",
                                        "Anna",
                                        "555-0199",
                                        "caf\\'e9",
                                        "\\u268?esk\\'e9",
                                        "\\u26085?\\u26412?",
                                        "meeting",
                                        "tomorrow",
                                        "{\\b bold}",
                                        "list\\tab item"};
    static const char *const formats[]
        = {"\\b ",          "\\b0 ",         "\\i ",        "\\i0 ",       "\\cf1 ", "\\cf0 ",
           "\\highlight2 ", "\\highlight0 ", "\\f1\\fs24 ", "\\f0\\fs20 ", "\\ul ",  "\\ulnone "};
    std::mt19937 random(42);
    QByteArray rtf
        = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl{\\f0\\fswiss\\fcharset0 "
          "Arial;}{\\f1\\froman\\fcharset0 Times New Roman;}}\r\n{\\colortbl ;\\red255\\green0"
          "\\blue0;\\red255\\green255\\blue0;}\r\n\\viewkind4\\uc1\\pard\\f0\\fs20 ";
    rtf.reserve(targetSize + 4096);
    qsizetype nextPicture = 20000;
    int pictures = 0;
    while (rtf.size() < targetSize) {
        for (int w = 0; w < 12; ++w) {
            rtf += words[random() % std::size(words)];
            rtf += ' ';
            if (random() % 3 == 0)
                rtf += formats[random() % std::size(formats)];
        }
        rtf += random() % 4 == 0 ? "\\par\r\n\\pard\\qc " : "\\par\r\n\\pard ";
        if (rtf.size() > nextPicture) {
            rtf += pictureGroup(pictures++);
            nextPicture += 20000;
        }
    }
    return rtf + "\\par\r\n}";
}

void readRtf(benchmark::State &state)
{
    const QByteArray rtf = formattedRtf(state.range(0));
    for (auto _ : state) {
        QTextDocument document;
        rtf::read(rtf, &document);
        benchmark::DoNotOptimize(document.characterCount());
    }
    state.SetBytesProcessed(state.iterations() * rtf.size());
}

void writeRtf(benchmark::State &state)
{
    QTextDocument document;
    rtf::read(formattedRtf(state.range(0)), &document);
    qsizetype size = 0;
    for (auto _ : state) {
        const QByteArray written = rtf::write(document);
        size = written.size();
        benchmark::DoNotOptimize(written.constData());
    }
    state.SetBytesProcessed(state.iterations() * size);
}

// A body of short plain lines, as the note saves it.
QByteArray plainRtf(qsizetype targetSize)
{
    QStringList lines;
    qsizetype size = 0;
    for (int i = 0; size < targetSize; ++i) {
        lines << QStringLiteral("line %1 of a long list: call Anna at 555-0199").arg(i);
        size += lines.last().size() + 7;
    }
    ui::NoteText text;
    text.setLines(lines);
    return rtf::write(*text.document());
}

QByteArray bodyOfKind(int kind, qsizetype size)
{
    return kind == 0 ? plainRtf(size) : formattedRtf(size);
}

QString writeBodyFile(const QTemporaryDir &folder, const QByteArray &rtf)
{
    const QString path = folder.filePath(QStringLiteral("body.jtl2"));
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(rtf);
    return path;
}

// Arguments: 0 plain lines or 1 formatted, and the body file's size.
void noteBodyLoad(benchmark::State &state)
{
    QTemporaryDir folder;
    const QByteArray rtf = bodyOfKind(int(state.range(0)), state.range(1));
    const QString path = writeBodyFile(folder, rtf);
    for (auto _ : state) {
        auto text = std::make_unique<ui::NoteText>();
        text->loadFromFile(path);
        benchmark::DoNotOptimize(text->document()->characterCount());
        // Letting go of the body is no part of loading it.
        state.PauseTiming();
        text.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * rtf.size());
}

void noteBodySave(benchmark::State &state)
{
    QTemporaryDir folder;
    const QByteArray rtf = bodyOfKind(int(state.range(0)), state.range(1));
    ui::NoteText text;
    text.loadFromFile(writeBodyFile(folder, rtf));
    const QString path = folder.filePath(QStringLiteral("saved.jtl2"));
    for (auto _ : state) {
        // Without the old file every save writes: none can find its bytes in place.
        state.PauseTiming();
        QFile::remove(path);
        state.ResumeTiming();
        text.saveToFile(path);
    }
    state.SetBytesProcessed(state.iterations() * rtf.size());
}

} // namespace

BENCHMARK(noteBodyLoad)
    ->Args({0, 10 << 20})
    ->Args({1, 10 << 20})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
// 50 MB of plain lines: about a million of them.
BENCHMARK(noteBodySave)
    ->Args({0, 10 << 20})
    ->Args({1, 10 << 20})
    ->Args({0, 50 << 20})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK(readRtf)->Arg(10 << 10)->Arg(1 << 20)->Arg(10 << 20)->Unit(benchmark::kMillisecond);
BENCHMARK(writeRtf)->Arg(10 << 10)->Arg(1 << 20)->Arg(10 << 20)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
