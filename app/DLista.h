#pragma once

#include "note/NoteServices.h"
#include "platform/Errors.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class TSingolNote;

// An index outside the note list.
class EVeskListError : public Error
{
public:
    using Error::Error;
};

// The open notes in the order they were added. The list creates the note
// windows, owns them and is the only one to destroy them.
class TVeskLista
{
public:
    // Every note of the list gets these services.
    explicit TVeskLista(note::SharedServices services = note::desktopServices());
    // Saves and closes every note that is still there; errors are reported.
    ~TVeskLista();
    TVeskLista(const TVeskLista &) = delete;
    TVeskLista &operator=(const TVeskLista &) = delete;

    // The number of notes; -1 once the list has been destroyed.
    int count() const;
    // The note at index; EVeskListError outside 0 .. count() - 1.
    TSingolNote *form(int index) const;

    // A note with the new-note defaults (drawn twice: the second place and
    // file name count), shown or hidden as asked.
    TSingolNote *addNew(bool visible, bool onTop);
    // A note loaded from `fileName` in the note folder; an empty name gives a
    // hidden note with the new-note defaults. A load error leaves the list
    // as it was.
    TSingolNote *addFromFile(const QString &fileName, bool onTop);
    // Discards the note at index: its files are deleted, its window closed
    // and destroyed, and later notes move down by one. EVeskListError outside
    // the list, and then nothing changes.
    void deleteNote(int index);
    // Saves every note, discarded ones included (their files are deleted).
    // One note's failure does not keep the others from being saved; the
    // failures are raised together afterwards.
    void saveAll();
    // Deletes every discarded note from the list.
    void purgeClosed();
    // Lets go of the note at index without saving it or touching its files:
    // they were removed elsewhere (the folder is kept in sync). Later notes
    // move down by one; EVeskListError outside the list.
    void forget(int index);
    // Saves, closes and destroys every note; count() is -1 afterwards. Like
    // saveAll, every note is saved even when one fails.
    void destroy();

    // Told of every note the list adds, once it is in the list.
    void setAddedHandler(std::function<void(TSingolNote *)> handler);

private:
    TSingolNote *announced(TSingolNote *added) const;

    note::SharedServices m_services;
    std::function<void(TSingolNote *)> m_added;
    std::optional<std::vector<std::unique_ptr<TSingolNote>>> m_notes;
};

// Loads the note files `fileNames` of the note folder into the list, in that
// order. A file that cannot be loaded, for whatever reason (running out of
// memory included), is left as it is and skipped; the result names each
// such file with its error.
QStringList addNotesFromFiles(TVeskLista &list, const QStringList &fileNames);
