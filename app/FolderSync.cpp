#include "app/FolderSync.h"

#include "app/DLista.h"
#include "note/Note.h"
#include "ui/Guarded.h"

#include <QSet>

namespace app {

FolderSync::FolderSync(TVeskLista &notes, QString folder, std::function<bool()> mayChangeNotes,
                       std::function<void(const QStringList &errors)> report)
    : m_notes(notes)
    , m_folder(std::move(folder))
    , m_mayChangeNotes(std::move(mayChangeNotes))
    , m_report(std::move(report))
{
    m_settle.setSingleShot(true);
    m_settle.setInterval(kSettleMs);
    connect(&m_settle, &QTimer::timeout, this, &FolderSync::scan);
    // Every change in the folder, this program's own saves included, waits
    // for the folder to hold still; the look then finds its own saves as
    // they were written and passes over them.
    connect(&m_watch, &QFileSystemWatcher::directoryChanged, &m_settle,
            qOverload<>(&QTimer::start));
    m_watch.addPath(m_folder);
}

bool FolderSync::settled(const QString &name, const storage::PairIdentity &files)
{
    const auto seen = m_seen.find(name);
    if (seen != m_seen.end() && seen->second == files) {
        m_seen.erase(seen);
        return true;
    }
    m_seen[name] = files;
    return false;
}

void FolderSync::scan()
{
    if (!m_mayChangeNotes()) {
        m_settle.start();
        return;
    }
    const bool changedSettled = followChangedNotes();
    const bool arrivedSettled = loadArrivedNotes();
    // Files still arriving are looked at once more, and only then.
    if (!changedSettled || !arrivedSettled)
        m_settle.start();
}

bool FolderSync::followChangedNotes()
{
    bool allSettled = true;
    for (int i = 0; i < m_notes.count(); ++i) {
        TSingolNote *note = m_notes.form(i);
        if (note->Discarded() || !note->filesChangedElsewhere())
            continue;
        const storage::PairIdentity files = storage::pairIdentity(note->notePath());
        if (!settled(note->NoteFileName(), files)) {
            allSettled = false;
        } else if (note->hasUnsavedChanges()) {
            // This side's edit is kept: written again where the note was
            // removed, as a note of its own where it was changed too.
            ui::runGuarded(note, [note] { note->SaveNote(); });
        } else if (!files.exists()) {
            m_notes.forget(i--);
        } else if (m_refused.count(note->NoteFileName()) == 0
                   || m_refused[note->NoteFileName()] != files) {
            // Files that cannot be read are told of once, not at every look.
            const QString name = note->NoteFileName();
            if (ui::runGuarded(note, [note, &name] { note->LoadNote(name); }))
                m_refused.erase(name);
            else
                m_refused[name] = files;
        }
    }
    return allSettled;
}

bool FolderSync::loadArrivedNotes()
{
    QSet<QString> known;
    for (int i = 0; i < m_notes.count(); ++i) {
        if (!m_notes.form(i)->Discarded())
            known.insert(m_notes.form(i)->NoteFileName());
    }
    bool allSettled = true;
    QStringList failures;
    for (const QString &name : storage::listNoteFiles(m_folder)) {
        if (known.contains(name))
            continue;
        const storage::PairIdentity files
            = storage::pairIdentity(m_folder + QLatin1Char('/') + name);
        const auto refused = m_refused.find(name);
        if (refused != m_refused.end() && refused->second == files)
            continue; // told once already
        if (!settled(name, files)) {
            allSettled = false;
            continue;
        }
        const QStringList failed = addNotesFromFiles(m_notes, {name});
        if (failed.isEmpty()) {
            m_refused.erase(name);
        } else {
            m_refused[name] = files;
            failures += failed;
        }
    }
    if (!failures.isEmpty())
        m_report(failures);
    return allSettled;
}

} // namespace app
