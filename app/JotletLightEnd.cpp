// The ends of the program: exit, restart, the end of the session and
// termination signals, each saving every note first.
#include "app/DLista.h"
#include "app/JotletLight.h"
#include "app/TrayIcon.h"
#include "ui/Dialogs.h"
#include "ui/Guarded.h"

#include <QFileInfo>
#include <QTimer>

#include <cstdio>

namespace {

const QString kCannotRestart = QStringLiteral(
    "Jotlet Light could not start itself again (%1). Your notes are saved: please start it "
    "again from your applications menu.");

void printError(const QString &message)
{
    std::fprintf(stderr, "jotletlight: %s\n", qPrintable(message));
}

// The program ends without anybody to answer a message box (session end,
// termination signal): errors go to standard error instead.
template<typename Body> void runReportingToStandardError(Body &&body)
{
    try {
        body();
    } catch (const Error &e) {
        printError(e.message());
    } catch (const std::exception &e) {
        printError(QString::fromLocal8Bit(e.what()));
    }
}

} // namespace

void TFJotletLightMain::Restart()
{
    requestEnd(Ending::Restart);
}

void TFJotletLightMain::Close1Click()
{
    requestEnd(Ending::Exit);
}

void TFJotletLightMain::endProgram(bool quietly)
{
    requestEnd(quietly ? Ending::Quietly : Ending::Exit);
}

void TFJotletLightMain::requestEnd(Ending ending)
{
    if (m_ended || (m_pendingEnd && *m_pendingEnd >= ending))
        return;
    m_pendingEnd = ending;
    if (ending == Ending::Quietly && dialogs::openModalWindows() > 0) {
        // Whoever ends the program may not wait: what is typed is on disk
        // before anything else happens.
        dialogs::Unattended unattended;
        saveAllNotes();
        for (const QString &message : unattended.messages)
            printError(message);
    }
    continueEnd();
}

void TFJotletLightMain::continueEnd()
{
    if (m_ended || !m_pendingEnd)
        return;
    if (dialogs::openModalWindows() > 0) {
        // A window of a note may be on the stack inside its own event loop:
        // the note goes once that loop has returned, never under it.
        dialogs::cancelModalWindows();
        QTimer::singleShot(10, this, &TFJotletLightMain::continueEnd);
        return;
    }
    const Ending ending = *m_pendingEnd;
    if (ending == Ending::Quietly) {
        freeNotesQuietly();
    } else {
        // A note that cannot be saved is not thrown away: the user is told
        // which and why, and the program goes on with it open.
        const bool saved = ui::runGuarded(nullptr, [this] {
            if (m_notes)
                m_notes->saveAll();
        });
        if (m_pendingEnd != ending) // ended otherwise while the error was shown
            return;
        if (!saved || !ui::runGuarded(nullptr, [this] { FreeNotes(); })) {
            resumeAfterFailedEnd();
            return;
        }
    }
    if (ending == Ending::Restart) {
        releaseNoteFolder();
        const QString &program = m_environment.executablePath;
        if (!m_environment.startProgram(program, QFileInfo(program).absolutePath()))
            dialogs::showError(nullptr, kCannotRestart.arg(program));
    }
    closeController();
}

void TFJotletLightMain::resumeAfterFailedEnd()
{
    m_pendingEnd.reset();
    // Parked for the options dialog, which is gone by now; the About
    // window brings its notes back itself.
    if (m_notesParked && !m_aboutOpen) {
        ParkNotes(false);
        attachTray(true);
    }
}

void TFJotletLightMain::freeNotesQuietly()
{
    dialogs::Unattended unattended;
    runReportingToStandardError([this] { FreeNotes(); });
    for (const QString &message : unattended.messages)
        printError(message);
}

void TFJotletLightMain::closeController()
{
    if (m_ended)
        return;
    m_ended = true;
    // What closing the window runs: free the notes (nothing left by now).
    freeNotesQuietly();
    TimerAlarm->stop();
    attachTray(false);
    hide();
    releaseNoteFolder();
    Q_EMIT finished();
}

void TFJotletLightMain::releaseNoteFolder()
{
    if (m_released)
        return;
    m_released = true;
    Q_EMIT noteFolderReleased();
}

void TFJotletLightMain::saveAllNotes()
{
    if (m_notes)
        runReportingToStandardError([this] { m_notes->saveAll(); });
}
