// The heap one note takes once loaded from its files, shown and hidden:
// what a note set of hundreds costs beyond the toolkit. Reported as the
// counter "heap_per_note" (bytes in use by malloc, over the notes loaded).
#include "app/DLista.h"
#include "note/Note.h"
#include "storage/NoteFolder.h"
#include "ui/NoteText.h"

#include <QCoreApplication>
#include <QDir>

#include <benchmark/benchmark.h>

#include <malloc.h>

namespace {

constexpr int kNotes = 200;

size_t heapInUse()
{
    QCoreApplication::processEvents();
    return mallinfo2().uordblks;
}

// kNotes saved notes of a few formatted lines, once per visibility.
QStringList savedNotes(bool visible)
{
    static QStringList names[2];
    QStringList &made = names[visible];
    if (!made.isEmpty())
        return made;
    TVeskLista list;
    for (int i = 0; i < kNotes; ++i) {
        TSingolNote *note = list.addNew(visible, false);
        note->NoteText->setHtml(
            QStringLiteral("<p><b style=\"color:#004080\">Call Anna #%1</b></p><p>0612 345 678</p>"
                           "<p><i>Reminder %1: check the list</i></p>")
                .arg(i));
        made.append(note->NoteFileName());
    }
    list.saveAll();
    list.destroy();
    return made;
}

void BM_HeapPerLoadedNote(benchmark::State &state)
{
    const bool visible = state.range(0) != 0;
    const QStringList names = savedNotes(visible);
    double perNote = 0;
    for (auto _ : state) {
        TVeskLista list;
        const size_t before = heapInUse();
        addNotesFromFiles(list, names);
        perNote = double(heapInUse() - before) / kNotes;
        state.PauseTiming();
        list.destroy();
        state.ResumeTiming();
    }
    state.counters["heap_per_note"] = perNote;
}
BENCHMARK(BM_HeapPerLoadedNote)
    ->ArgName("visible")
    ->Arg(0)
    ->Arg(1)
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

} // namespace
