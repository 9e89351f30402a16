#pragma once

#include "ui/NoteListing.h"

#include <QAbstractListModel>
#include <QColor>
#include <QDateTime>
#include <QPointer>
#include <QStringList>

#include <memory>
#include <optional>
#include <vector>

class QTimer;
class TSingolNote;

namespace app {

// What the notes window shows of one note.
struct NoteRow
{
    QString title;
    QStringList lines; // the text
    QColor back;
    QColor titleBack;
    bool visible = false; // as it was before it was parked
    bool onTop = false;
    bool rolledUp = false;
    std::optional<QDateTime> alarm; // one still to go off
    std::optional<QDateTime> expiration;
};

// The notes of the note list in list order, as the notes window lists them,
// narrowed by a search of titles and text that ignores case and accents.
// While it holds notes it follows their changes, gathered into one update a
// moment later; closed for good, a note leaves it. It holds nothing (and
// costs nothing) while the window is closed.
class NotesModel : public QAbstractListModel
{
    Q_OBJECT
public:
    explicit NotesModel(QObject *parent = nullptr);
    ~NotesModel() override;

    // Holds and follows these notes from now on; discarded ones are left out.
    void setNotes(const QList<TSingolNote *> &notes);
    // A note the list has just added; nothing while the model holds none.
    void addNote(TSingolNote *note);
    // Holds and follows no note.
    void clear();

    // Only the notes whose title or text holds the text are shown; an empty
    // or blank text shows all of them.
    void setSearch(const QString &text);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    // Qt::DisplayRole: the title; Qt::ToolTipRole and Qt::AccessibleTextRole:
    // title, shown line and marks in words.
    QVariant data(const QModelIndex &index, int role) const override;

    const NoteRow &rowAt(int row) const;
    // Where the shown row matches the search (nothing found without one).
    const ui::NoteMatch &matchAt(int row) const;
    // The line a row shows: the one that matches, else the first with text.
    QString shownLine(int row) const;
    // The note of a row; nullptr once it is gone.
    TSingolNote *noteAt(int row) const;
    int rowOf(const TSingolNote *note) const; // -1 when not shown
    // How many notes the model holds, shown or not.
    int noteCount() const { return int(m_entries.size()); }

    // The marks of a row in words: hidden, rolled up, on top; then the
    // alarm and the expiration with their time.
    static QStringList stateMarks(const NoteRow &row);
    static QStringList timeMarks(const NoteRow &row);

    // Changes of the notes reach the rows this long after the first of them.
    static constexpr int kUpdateDelayMs = 100;
    // Brings the rows of changed notes up to date now.
    void updateNow();

private:
    struct Entry
    {
        QPointer<TSingolNote> note;
        NoteRow row;
        ui::NoteSearchText search;
        bool stale = false;
    };
    struct Shown
    {
        Entry *entry;
        ui::NoteMatch match;
    };

    void follow(TSingolNote *note);
    void markStale(Entry *entry);
    static void read(Entry &entry);
    std::vector<Shown> matchingRows() const;
    // Works out the shown rows again; rows that stay the same are updated in
    // place, so the view keeps its selection and scroll position.
    void applySearch();

    std::vector<std::unique_ptr<Entry>> m_entries;
    std::vector<Shown> m_shown;
    QString m_query; // folded
    bool m_holding = false;
    QTimer *const m_update;
};

} // namespace app
