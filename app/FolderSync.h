#pragma once

#include "storage/NoteFolder.h"

#include <QFileSystemWatcher>
#include <QObject>
#include <QStringList>
#include <QTimer>

#include <functional>
#include <map>

class TVeskLista;

namespace app {

// Follows the note folder while the program runs, for a folder that another
// program keeps in sync with other computers (Syncthing, Nextcloud): a note
// that arrives there appears, one changed there reloads, one removed there
// closes its window, and nothing is deleted. The folder is watched, not
// polled; what changed is taken once it has held still for a moment, since
// a note's file and its body arrive one after the other. A note with
// unsaved changes keeps them: it saves (see TSingolNote::SaveNote) instead
// of reloading, so both versions are kept.
class FolderSync : public QObject
{
    Q_OBJECT
public:
    // mayChangeNotes: false while the notes must not change under the user
    // (a modal window is open, the notes are parked); the look is then put
    // off. report: load errors of arriving notes, once per file.
    FolderSync(TVeskLista &notes, QString folder, std::function<bool()> mayChangeNotes,
               std::function<void(const QStringList &errors)> report);

    // Looks at the folder now; the watch calls it a moment after changes.
    void scan();

    // How long changed files must hold still before they are taken.
    static constexpr int kSettleMs = 1000;

private:
    // True when `files` of `name` looked the same at the previous look.
    bool settled(const QString &name, const storage::PairIdentity &files);
    // Notes of the list whose files changed or went elsewhere; false when
    // one has not settled yet.
    bool followChangedNotes();
    bool loadArrivedNotes();

    TVeskLista &m_notes;
    QString m_folder;
    std::function<bool()> m_mayChangeNotes;
    std::function<void(const QStringList &)> m_report;
    QFileSystemWatcher m_watch;
    QTimer m_settle;
    std::map<QString, storage::PairIdentity> m_seen; // changed files as last seen
    std::map<QString, storage::PairIdentity> m_refused; // files that did not load
};

} // namespace app
