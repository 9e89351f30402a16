#pragma once

#include <QList>
#include <QPointer>
#include <QWidget>

#include <functional>

class QKeyEvent;
class QLabel;
class QLineEdit;
class QListView;
class QPushButton;
class TSingolNote;

namespace app {
class NotesModel;

// "All notes": one window that lists every note of the list, hidden, rolled
// up and on-top ones too, with a search over titles and text as the user
// types. Enter or a double click brings the selected note forward with the
// keyboard in it; buttons and keys hide it, show it and close it for good.
// The list follows the notes while the window is open; closed, the window
// follows nothing. It works by keyboard alone: the search field has the
// keyboard, Up and Down move through the list from there.
class NotesWindow : public QWidget
{
    Q_OBJECT
public:
    // The notes of the list, in list order, as they are when asked.
    using NoteSource = std::function<QList<TSingolNote *>()>;
    explicit NotesWindow(NoteSource notes, QWidget *parent = nullptr);
    ~NotesWindow() override;

    // Shown in front and active, listing the notes as they are now, with the
    // keyboard in the search field and its text selected.
    void open();
    // A note the list has just added.
    void noteAdded(TSingolNote *note);

    // The selected note's commands; nothing without a selection.
    void showSelected();
    void hideSelected();
    void closeSelectedForGood();
    TSingolNote *selectedNote() const;

    NotesModel *const Model;
    QLineEdit *const Search;
    QListView *const List;
    QLabel *const EmptyLabel;
    QLabel *const HintLabel;
    QPushButton *const ShowButton;
    QPushButton *const HideButton;
    QPushButton *const CloseForGoodButton;
    QPushButton *const CloseButton;

protected:
    bool event(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void applyCaptions();
    void connectParts();
    void select(int row);
    void keepSelection();
    void restoreSelection();
    void updateControls();
    bool handleKey(QObject *watched, QKeyEvent *event);

    NoteSource m_notes;
    bool m_placed = false;
    // The selected note and row across a change of the rows.
    QPointer<TSingolNote> m_selectedBefore;
    int m_selectedRowBefore = -1;
};

} // namespace app
