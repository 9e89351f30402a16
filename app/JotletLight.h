#pragma once

#include "app/MainMenu.h"
#include "app/OptionsRunner.h"
#include "note/NoteServices.h"
#include "platform/ControlCommands.h"

#include <QString>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

class QTimer;
class QUrl;
class TVeskLista;

namespace app {
class AboutPanel;
class FolderSync;
class NotesWindow;
class TrayIcon;

// What the controller uses of the world outside the process. Members left
// empty get the real thing; tests put in their own.
struct ControllerEnvironment
{
    QString executablePath; // this program's executable
    QString programFolder; // default.lng, about.jtl, jotletlight.ico
    // Whether the desktop has a notification area now; unset: ask Qt.
    std::function<bool()> systemTrayAvailable;
    // Starts a program without arguments in a working folder.
    std::function<bool(const QString &program, const QString &workingFolder)> startProgram;
    OptionsDialogRunner runOptions;
    // What the notes and the About window's links use of the desktop.
    note::SharedServices noteServices;
};

} // namespace app

// The application controller: it starts the program, loads every note into
// the note list and frees them at the end, owns the tray icon with its menu
// and the alarm timer, and is at the same time the About window, which is
// shrunk to nothing and hidden while it is not wanted. There is no other
// main window.
class TFJotletLightMain : public QWidget
{
    Q_OBJECT
    // First, as the components are made from it.
    const app::ControllerEnvironment m_environment;

public:
    explicit TFJotletLightMain(app::ControllerEnvironment environment = {});
    ~TFJotletLightMain() override;

    // The note list: none before LoadNotes and after FreeNotes.
    TVeskLista *notes() const { return m_notes.get(); }
    bool NotesLoaded = false;
    QString NotesFolder;
    quint16 AboutWidth = 0;
    quint16 AboutHeight = 0;

    app::AboutPanel *const PanGen;
    app::MainMenu Menu;
    app::TrayIcon *const RxTrayIcon1;
    QTimer *const TimerAlarm;

    // The one activation of the controller, from the event loop once it
    // runs; errors are shown and the program goes on.
    void activate();

    // Start-up and shutdown. These raise their errors; the event handlers
    // below show them.
    void FormActivate();
    void LoadNotes();
    void FreeNotes();
    void Restart();
    void ShowOptions(bool languagePage);
    void ParkNotes(bool park);

    // The About window.
    void ShowAboutBox(bool withOk);
    void HideAboutBox();
    void BContinueClick();
    void LcopClick();
    void Label3Click();
    void LemailClick();
    void lblAuthorClick();

    // The tray icon and its menu.
    void RxTrayIcon1Click(Qt::MouseButton button);
    void NewJotlet1Click();
    void ShowAllJotlet1Click();
    void CloseAllJotlet1Click();
    void AllNotes1Click();
    void DeleteAllJotlet1Click();
    void Options1Click();
    void About2Click();
    void Close1Click();

    // The alarm timer's tick.
    void TimerAlarmTimer();

    // The end of the session is near: every note is saved.
    void saveAllNotes();

    // How the program may end: Restart and Exit are the user's, who sees
    // what fails and may act on it; Quietly is a session end or a
    // termination signal, where nobody answers. Each overrides the ones
    // before it when both are asked for.
    enum class Ending { Restart, Exit, Quietly };
    // Ends the program: every note saved and closed, then the controller
    // closes (after starting a new instance, for Restart). Open modal
    // windows are cancelled first and the notes go only once those have
    // returned. For Exit and Restart a note that cannot be saved keeps the
    // program running, with the reason shown; Quietly saves what it can and
    // reports the rest on standard error.
    void requestEnd(Ending ending);
    // endProgram(true) is requestEnd(Quietly), endProgram(false) Exit.
    void endProgram(bool quietly);
    // A request of another process (platform::kControlCommands): nothing
    // when it was carried out, else why not (busy with a window, ending,
    // notes not loaded yet, an exit that could not save a note).
    QString runRemoteCommand(platform::ControlCommand command, const QString &argument = {});
    // The notes window, once it was opened.
    app::NotesWindow *notesWindow() const { return m_notesWindow.get(); }

    // True once an end was requested and until it failed; hasEnded() once
    // the controller has closed.
    bool isEnding() const { return m_pendingEnd.has_value() || m_ended; }
    bool hasEnded() const { return m_ended; }

Q_SIGNALS:
    // The notes are saved and freed: the next instance may take the note
    // folder. Comes before a restart starts the new instance.
    void noteFolderReleased();
    // The controller has closed: the program ends.
    void finished();

protected:
    // The window manager closing the About window (Alt+F4) is its OK button.
    void closeEvent(QCloseEvent *event) override;

private:
    void FormCreate();
    void connectMenu();
    void attachTray(bool attached);
    void tellOnceWhenNoTray();
    void continueEnd();
    // The end could not save every note: the program goes on as before.
    void resumeAfterFailedEnd();
    void freeNotesQuietly();
    void closeController();
    void releaseNoteFolder();
    // Runs a command of the user; none while a window of the controller is
    // open modally or once the program is ending.
    void runCommand(void (TFJotletLightMain::*command)());
    bool isBusy() const;
    // The note file's note shown, unrolled, raised and active; else why not.
    QString showNote(const QString &fileName);
    // Runs a modal window of the controller, counting it as open meanwhile.
    template<typename Window> auto runModal(Window &&window)
    {
        struct Open
        {
            int &count;
            explicit Open(int &c)
                : count(++c)
            {
            }
            ~Open() { --count; }
        } open(m_modalWindows);
        return window();
    }

    std::unique_ptr<app::NotesWindow> m_notesWindow;
    std::unique_ptr<TVeskLista> m_notes;
    std::unique_ptr<app::FolderSync> m_folderSync;
    QMetaObject::Connection m_trayClick;
    int m_modalWindows = 0;
    bool m_aboutOpen = false;
    bool m_notesParked = false;
    std::optional<Ending> m_pendingEnd;
    bool m_ended = false;
    bool m_released = false;
};
