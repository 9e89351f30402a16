#pragma once

#include "note/NoteGeometry.h"
#include "note/NoteMenus.h"
#include "note/NoteServices.h"
#include "note/OnDemand.h"
#include "storage/NoteFile.h"
#include "storage/NoteFolder.h"

#include <QElapsedTimer>
#include <QPoint>
#include <QSize>
#include <QString>
#include <QWidget>

#include <optional>

class QKeyEvent;
class QLineEdit;
class QTimer;

namespace ui {
class NoteText;
}
namespace note {
class NotePanel;
class NoteTitle;
struct AlarmFields;
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
    // Hidden, with the new-note defaults (InitDefaults has run once). The
    // services are what the note hands to the desktop.
    explicit TSingolNote(bool onTop, note::SharedServices services = note::desktopServices());
    ~TSingolNote() override;

    // The record. What the note file keeps beyond the window's own state
    // (place, size, title, body, colours, fonts) lives in one NoteRecord,
    // changed only by the note's own operations below; date-times are
    // serials (storage/DateTime.h).
    const storage::NoteRecord &savedFields() const { return m_record; }
    double CreateStamp1() const { return m_record.createStamp1; }
    double CreateStamp2() const { return m_record.createStamp2; }
    // The size to unroll to.
    quint16 RestoreWidth() const { return m_record.restoreWidth; }
    quint16 RestoreHeight() const { return m_record.restoreHeight; }
    double AlarmDate() const { return m_record.alarmDate; }
    double AlarmTime() const { return m_record.alarmTime; }
    bool AlarmEnabled() const { return m_record.alarmEnabled; }
    bool AlarmFired() const { return m_record.alarmFired; }
    double ExpirationDate() const { return m_record.expirationDate; }
    double ExpirationTime() const { return m_record.expirationTime; }
    bool ExpirationEnabled() const { return m_record.expirationEnabled; }
    bool ExpirationReserved() const { return m_record.expirationReserved; }
    bool OnTop() const { return m_record.onTop; }

    // The window's state.
    bool Modified() const { return m_modified; } // the next deactivation must save
    bool SizingWidth() const { return m_sizingWidth; } // a grip resize is under way
    bool SizingHeight() const { return m_sizingHeight; }
    int SizeOriginLeft() const { return m_sizeOrigin.x(); } // edges when it began
    int SizeOriginTop() const { return m_sizeOrigin.y(); }
    bool Discarded() const { return m_discarded; } // the next save deletes the files
    bool Parked() const { return m_parked; } // hidden while a modal window is open...
    bool ParkedVisible() const { return m_parkedVisible; } // ...and visible before

    // The six alarm and expiration fields, as the alarm dialog shows them.
    note::AlarmFields alarms() const;
    // The alarm dialog's OK: all six fields taken, the alarm armed again.
    void setAlarms(const note::AlarmFields &fields);
    // The alarm goes off: the note is shown on top without taking the focus,
    // and it does not go off again until its alarms are set again.
    void fireAlarm();
    // The expiration comes: the note is discarded and closed, which deletes
    // its files; the expiration is off.
    void expire();
    // Closed for good: the next save deletes the files. Never undone.
    void discard();
    // Hidden while a modal window of the program is open, the visibility
    // from before kept for saving; unpark gives it back. A discarded note
    // is left as it is.
    void park();
    void unpark();

    const QString &NoteFolder() const { return m_noteFolder; }
    const QString &NoteFileName() const { return m_noteFileName; }
    // NoteFolder + "/" + NoteFileName.
    QString notePath() const;
    void setVisible(bool visible) override;
    // The body's plain lines, without making a body that waits.
    QStringList bodyLines() const;

    // The components.
    note::NotePanel *const NotePanel;
    note::NoteTitle *const NoteTitle;
    // Made when the title is first edited.
    note::OnDemand<QLineEdit> TitleEdit;
    // Made when the note is first shown or its body is first used: a note
    // loaded hidden keeps only its body file's bytes until then.
    note::OnDemand<ui::NoteText> NoteText;
    // The menus all notes share (note::SharedNoteMenus).
    const note::NoteMenus &Menus;

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
    // The note the user asked for, whole: shown, unrolled, above every
    // window (above notes kept on top as well, until it loses activation)
    // and active with the keyboard in the body. Nothing for a discarded note.
    void comeForward();
    // The note's own "Close", asked from `asker`: on OK to the close question the
    // note is closed for good, which deletes its files. True when it was.
    bool closeForGood(QWidget *asker);
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
    // nearest one. Errors leave the note as it was. Loading again reloads
    // the note in place.
    void LoadNote(const QString &fileName);

    // The note folder may be kept in sync by another program. Whether the
    // note's files are no longer the ones it last read or wrote: someone
    // else changed or removed them. SaveNote then writes nothing over them
    // and deletes nothing: without unsaved changes here it leaves them be;
    // with changes, a note removed elsewhere is written again, and one
    // changed elsewhere too keeps this side's version as a note of its own
    // under a new file name, a step aside, leaving the other one's files.
    bool filesChangedElsewhere() const;
    // A save found the note's files removed elsewhere and had nothing to
    // keep: the note is gone but for its window.
    bool goneElsewhere() const { return m_goneElsewhere; }

Q_SIGNALS:
    // The note wrote its files (or, discarded, deleted them).
    void noteSaved();
    // What a listing of the notes shows of it may differ now: at every
    // noteChanged, when it is loaded (again) and when it is closed for good.
    void changed();

public:
    static constexpr int kForkOffset = 24;

    const note::NoteServices &services() const { return *m_services; }

    // Runs an item of the menus on this note, as choosing it in the note's
    // menu does.
    void runMenuItem(QAction *item);
    // The menus act on this note from now on, with its on-top mark: what
    // opening one of them on it does.
    void aimMenus();

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
    ui::NoteText *makeBody();
    QRect bodyGeometry() const;
    storage::FontDesc bodyFont() const;
    void setBodyFont(const storage::FontDesc &font);
    void setBackColorRef(qint32 color);
    QLineEdit *makeTitleEdit();
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
    void connectBodyCommands(ui::NoteText *body);
    static void connectSharedMenus();
    void runCommand(void (TSingolNote::*command)());
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
    // Back into its own band after comeForward.
    void endComingForward();
    void matchPlaceOnScreen();
    storage::NoteRecord record() const;
    void loadBody(const storage::NoteRecord &loaded, const QString &companion);
    void applyRecord(const storage::NoteRecord &record);
    void applyWindowSize(int width, int height);
    int randomBelow(int bound) const;
    void forkToNewFiles();

    const note::SharedServices m_services;
    storage::NoteRecord m_record;
    bool m_modified = true;
    bool m_sizingWidth = false;
    bool m_sizingHeight = false;
    QPoint m_sizeOrigin;
    bool m_discarded = false;
    bool m_parked = false;
    bool m_parkedVisible = false;
    bool m_aboveUntilDeactivated = false;
    QString m_noteFolder;
    QString m_noteFileName;
    // The files as this note last read or wrote them; none before either.
    std::optional<storage::PairIdentity> m_knownFiles;
    bool m_goneElsewhere = false;
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
    // The body of a note whose editor is not made yet (see NoteText).
    struct WaitingBody
    {
        storage::FontDesc font;
        QStringList lines;
        std::optional<QByteArray> file;
    };
    WaitingBody m_waitingBody;
};
