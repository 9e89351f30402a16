#pragma once

#include "note/NoteGeometry.h"
#include "note/NoteMenus.h"

#include <QElapsedTimer>
#include <QPoint>
#include <QSize>
#include <QString>
#include <QWidget>

#include <optional>

class QKeyEvent;
class QLineEdit;
class QTimer;

namespace storage {
struct NoteRecord;
}
namespace ui {
class NoteText;
}
namespace note {
class NotePanel;
class NoteTitle;
} // namespace note

// One note on the desktop: a borderless tool window with a coloured frame, a
// title strip, a rich-text body and two popup menus, and the record the rest
// of the program keeps about it. The note list creates, saves and destroys
// notes; a note saves itself when its body loses the focus, when it loses
// activation with unsaved changes, when it is closed, and a moment after
// anything of it changed (see noteChanged). Closing hides it; only the note
// list destroys it.
class TSingolNote : public QWidget
{
    Q_OBJECT
public:
    // Hidden, with the new-note defaults (InitDefaults has run once).
    explicit TSingolNote(bool onTop);
    ~TSingolNote() override;

    // The record. Date-times are serials (storage/DateTime.h).
    bool Modified = true; // the next deactivation must save
    bool SizingWidth = false; // a resize by the frame grip is under way
    bool SizingHeight = false;
    int SizeOriginLeft = 0; // window edges when that resize began
    int SizeOriginTop = 0;
    double CreateStamp1 = 0;
    double CreateStamp2 = 0;
    quint16 RestoreWidth = 0; // the size to unroll to
    quint16 RestoreHeight = 0;
    bool Discarded = false; // closed for good: the next save deletes the files
    bool Parked = false; // hidden while a modal window is open...
    bool ParkedVisible = false; // ...and the visibility from before
    double AlarmDate = 0;
    double AlarmTime = 0;
    bool AlarmEnabled = false;
    bool AlarmFired = false;
    double ExpirationDate = 0;
    double ExpirationTime = 0;
    bool ExpirationEnabled = false;
    bool ExpirationReserved = false;

    bool OnTop() const { return m_onTop; }
    const QString &NoteFolder() const { return m_noteFolder; }
    const QString &NoteFileName() const { return m_noteFileName; }
    // NoteFolder + "/" + NoteFileName.
    QString notePath() const;

    // The components.
    note::NotePanel *const NotePanel;
    note::NoteTitle *const NoteTitle;
    QLineEdit *const TitleEdit;
    ui::NoteText *const NoteText;
    const note::NoteMenus Menus;

    // The new-note defaults from the settings, a place on the primary screen
    // and a fresh file name in the note folder.
    void InitDefaults();
    // Into or out of the always-on-top band, without moving, showing or
    // activating the window. No effect on a discarded note.
    void SetOnTop(bool value);
    // Above the other windows without activating; OnTop stays as it was.
    void BringToFront();
    // Shown, in front and active, with the keyboard in the body: where the
    // user types next.
    void takeFocus();
    // Title strip and body laid out again inside the frame.
    void LayoutBody();

    // Writes the note file and its body file, or deletes both for a
    // discarded note. Errors are those of storage and the body control,
    // naming the note; the previous files then stay whole.
    void SaveNote();
    // Something that the note's files keep has changed: the note writes
    // itself once the changes pause for a moment, and at least every few
    // seconds while they go on, so a crash or a power cut costs seconds of
    // typing. Nothing is scheduled while nothing changes.
    void noteChanged();
    // Whether a change is waiting for that save.
    bool hasUnsavedChanges() const { return m_unsavedSince.isValid(); }
    static constexpr int kSaveAfterQuietMs = 1500;
    static constexpr int kLongestUnsavedMs = 5000;
    // Takes everything from the note file `fileName` in the note folder and
    // from its body file when there is one; shows the note when it was saved
    // visible. A note whose place lies off every screen is shown on the
    // nearest one. Errors leave the note as it was.
    void LoadNote(const QString &fileName);

    // The draws behind placement and file naming; an empty function restores
    // the system's random generator. For tests.
    static void setRandomDraw(notegeometry::RandomDraw draw);

protected:
    bool event(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void connectParts();
    static void installActivationHandler(TSingolNote *note);

    // Save triggers.
    void FormDeactivate();
    void NoteTextExit();
    // Frame grip, title drag, roll-up and title editing.
    void NotePanelMouseDown(Qt::MouseButton button, const QPoint &position);
    void NotePanelMouseMove(const QPoint &position);
    void NotePanelMouseUp();
    void NoteTitleMouseDown(Qt::MouseButton button);
    void NoteTitleMouseMove();
    void NoteTitleMouseUp(Qt::MouseButton button);
    void NoteTitleDblClick();
    void Changetitle1Click();
    void TitleEditChange();
    void TitleEditKeyDown(int key);
    void Ontop1Click();

    // The menu commands (NoteCommands.cpp).
    void connectCommands();
    bool bodyShortcutPressed(const QKeyEvent &event);
    void ChangeFont1Click();
    void ChangeColor1Click();
    void Insertdatetime1Click();
    void Noteexpiration1Click();
    void insertImage1Click();
    // Inserts the picture file at the caret, replacing the selection; the
    // clipboard is left alone. An unreadable file changes nothing.
    void InsertPicture(const QString &fileName);
    void Print1Click();
    void Hide1Click();
    void Close1Click();
    void Cut2Click();
    void Copy2Click();
    void Paste2Click();
    void Undo1Click();
    void Redo1Click();
    void Font1Click();
    void setHighlight(qint32 color);
    void Black1Click();
    void Red1Click();
    void White1Click();
    void Green1Click();
    void None1Click();
    void Left1Click();
    void Right1Click();
    void Center1Click();
    void Fonrt1Click();
    void Background1Click();
    void ObjectProperties1Click();
    void NoteTextMouseDown(Qt::MouseButton button, const QPoint &position);
    void NoteTextURLClick(const QString &linkText, Qt::MouseButton button);

    void saveChanges();
    void forgetChanges();
    void matchPlaceOnScreen();
    storage::NoteRecord record() const;
    void loadBody(const storage::NoteRecord &loaded, const QString &companion);
    void applyRecord(const storage::NoteRecord &record);
    void applyWindowSize(int width, int height);

    bool m_onTop = false;
    QString m_noteFolder;
    QString m_noteFileName;
    // A left-button press on the title strip, until its release or until
    // the window system takes the move over.
    struct TitleDrag
    {
        QPoint pressPointer;
        QPoint pressWindow;
        bool systemMoveRefused;
    };
    std::optional<TitleDrag> m_titleDrag;
    QTimer *const m_saveTimer;
    QElapsedTimer m_unsavedSince;
    // The reason the last save of changes failed, shown once, not at
    // every keystroke that follows.
    QString m_changesError;
    QTimer *const m_placeCheck;
};
