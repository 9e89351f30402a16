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
}

// The user typed into the note: both of its files change.
void BM_SaveNoteEdited(benchmark::State &state)
{
    TVeskLista list;
    TSingolNote *note = list.addNew(false, false);
    int edit = 0;
    for (auto _ : state) {
        state.PauseTiming();
        fillTypical(note, ++edit);
        state.ResumeTiming();
        note->SaveNote();
    }
}
BENCHMARK(BM_SaveNoteEdited)->Unit(benchmark::kMillisecond)->UseRealTime();

// A note the user only looked at: its files already hold what it shows.
void BM_SaveNoteUnchanged(benchmark::State &state)
{
    TVeskLista list;
    TSingolNote *note = list.addNew(false, false);
    fillTypical(note, 1);
    note->SaveNote();
    for (auto _ : state)
        note->SaveNote();
}
BENCHMARK(BM_SaveNoteUnchanged)->Unit(benchmark::kMillisecond)->UseRealTime();

// Exit with 200 notes: range(1) of them edited since the last save.
void BM_SaveAll(benchmark::State &state)
{
    TVeskLista list;
    const int notes = int(state.range(0));
    for (int i = 0; i < notes; ++i)
        fillTypical(list.addNew(false, false), i);
    list.saveAll();
    int edit = notes;
    for (auto _ : state) {
        state.PauseTiming();
        for (int i = 0; i < state.range(1); ++i)
            fillTypical(list.form(i), ++edit);
        state.ResumeTiming();
        list.saveAll();
    }
    state.SetItemsProcessed(state.iterations() * notes);
}
BENCHMARK(BM_SaveAll)
    ->ArgNames({"notes", "edited"})
    ->Args({200, 0})
    ->Args({200, 10})
    ->Args({200, 200})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

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
