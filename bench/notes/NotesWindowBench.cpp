// The notes window as the user meets it with many notes: opening it (every
// note read and folded, the list laid out and painted), and every keystroke
// of a search (the rows narrowed, the list painted again). Target: under
// 50 ms each for 1000 notes.
#include "app/DLista.h"
#include "app/NotesModel.h"
#include "app/NotesWindow.h"
#include "note/Note.h"
#include "ui/NoteText.h"

#include <QApplication>
#include <QLineEdit>
#include <QListView>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

const QStringList kNames
    = {QStringLiteral("Anna"), QStringLiteral("Lefèvre"), QStringLiteral("Müller"),
       QStringLiteral("Tom"),  QStringLiteral("Zoë"),     QStringLiteral("Ōkubo")};

// A list of notes as a person keeps them: a title and a handful of lines,
// a name and a number among them.
std::unique_ptr<TVeskLista> manyNotes(int count)
{
    auto list = std::make_unique<TVeskLista>();
    for (int i = 0; i < count; ++i) {
        TSingolNote *note = list->addNew(i % 3 != 0, false);
        const QString &name = kNames[i % kNames.size()];
        note->NoteText->setHtml(
            QStringLiteral("<p><b>Call %1</b> about the %2 appointment</p><p>0612 %3 %4</p>"
                           "<ul><li>bring the papers</li><li>ask about Tuesday</li></ul>"
                           "<p><i>Note %2 of the list, kept since spring</i></p>")
                .arg(name)
                .arg(i)
                .arg(100 + i % 900)
                .arg(i * 37 % 1000, 3, 10, QLatin1Char('0')));
    }
    // Saved, shown and painted before anything is measured: none of that is
    // the window's work.
    list->saveAll();
    QApplication::processEvents();
    return list;
}

QList<TSingolNote *> notesOf(const TVeskLista &list)
{
    QList<TSingolNote *> notes;
    for (int i = 0; i < list.count(); ++i)
        notes << list.form(i);
    return notes;
}

// What the user sees after the change: the list laid out and painted.
void showChanges(app::NotesWindow &window)
{
    QApplication::processEvents();
    window.List->viewport()->repaint();
}

void BM_OpenNotesWindow(benchmark::State &state)
{
    const std::unique_ptr<TVeskLista> list = manyNotes(int(state.range(0)));
    app::NotesWindow window([&] { return notesOf(*list); });
    for (auto _ : state) {
        window.open();
        showChanges(window);
        state.PauseTiming();
        window.close();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenNotesWindow)
    ->ArgName("notes")
    ->Arg(1000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// One keystroke each: a name typed letter by letter (without its accent),
// then a phone number, then the field cleared.
void BM_SearchKeystroke(benchmark::State &state)
{
    const std::unique_ptr<TVeskLista> list = manyNotes(int(state.range(0)));
    app::NotesWindow window([&] { return notesOf(*list); });
    window.open();
    showChanges(window);
    const QString typed[] = {QStringLiteral("lefevre"), QStringLiteral("0612 5")};
    QStringList steps;
    for (const QString &text : typed) {
        for (int length = 1; length <= text.size(); ++length)
            steps << text.left(length);
        steps << QString();
    }
    qsizetype step = 0;
    for (auto _ : state) {
        window.Search->setText(steps[step++ % steps.size()]);
        showChanges(window);
    }
    state.counters["shown"] = window.Model->rowCount();
}
BENCHMARK(BM_SearchKeystroke)
    ->ArgName("notes")
    ->Arg(1000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace
