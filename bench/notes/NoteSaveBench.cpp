// Saving notes as the program does: one note on deactivation (note file and
// body file, each flushed to disk before it replaces the old one), and every
// note at exit or at the end of the session.
#include "app/DLista.h"
#include "note/Note.h"
#include "storage/NoteFolder.h"
#include "ui/NoteText.h"

#include <QApplication>
#include <QImage>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

// A few formatted lines, as a reminder or a phone number note holds; every
// fifth note of a set also holds a small picture.
void fillTypical(TSingolNote *note, int index)
{
    ui::NoteText *text = note->NoteText;
    text->setHtml(QStringLiteral("<p><b style=\"color:#004080\">Call Anna #%1</b></p>"
                                 "<p>0612 345 678</p><p><i>Reminder %1: check the list</i></p>"
                                 "<p style=\"color:#c00000\">Done: yes / no</p>")
                      .arg(index));
    if (index % 5 == 0) {
        QImage picture(48, 48, QImage::Format_RGB32);
        picture.fill(QColor(40, 120, 200));
        text->insertPicture(picture);
    }
    note->Modified = true;
}

void BM_SaveNoteTypical(benchmark::State &state)
{
    TVeskLista list;
    TSingolNote *note = list.addNew(false, false);
    fillTypical(note, 1);
    for (auto _ : state)
        note->SaveNote();
}
BENCHMARK(BM_SaveNoteTypical)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SaveAll(benchmark::State &state)
{
    TVeskLista list;
    for (int i = 0; i < state.range(0); ++i)
        fillTypical(list.addNew(false, false), i);
    for (auto _ : state)
        list.saveAll();
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_SaveAll)->Arg(200)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    // Notes and settings go to a folder of their own, never the user's.
    const QTemporaryDir home;
    for (const char *name : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"})
        qputenv(name, home.path().toLocal8Bit());
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const QApplication app(argc, argv);
    // The program makes the folder at start-up, before any note saves.
    storage::ensureNoteFolder();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
