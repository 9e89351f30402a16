// The controller's tray icon: its commands, all acting on every note, and
// the timer's tick, which carries out alarms and follows the tray.
#include "app/AlarmScheduler.h"
#include "app/DLista.h"
#include "app/JotletLight.h"
#include "app/NotesWindow.h"
#include "app/TrayIcon.h"
#include "note/Note.h"
#include "settings/DResource.h"
#include "settings/SettingsTable.h"
#include "settings/TextIds.h"
#include "ui/Dialogs.h"
#include "ui/Guarded.h"
#include "ui/QuietShow.h"

namespace {

enum LeftClickAction { NewNote = 0, ShowAll = 1 };

} // namespace

void TFJotletLightMain::RxTrayIcon1Click(Qt::MouseButton button)
{
    if (button != Qt::LeftButton)
        return;
    // Only the low byte counts: 256 acts as 0, 257 as 1.
    switch (settings::kLeftDefaultAction.read() & 0xFF) {
    case NewNote:
        NewJotlet1Click();
        break;
    case ShowAll:
        ShowAllJotlet1Click();
        break;
    default:
        break;
    }
}

void TFJotletLightMain::NewJotlet1Click()
{
    // Before the notes are loaded there is no list to add to.
    if (!m_notes)
        return;
    const bool showAll = settings::kShowAllOnNew.read();
    const bool onTop = settings::kOnTopOnNew.read();
    TSingolNote *note = m_notes->addNew(true, onTop);
    if (showAll)
        ShowAllJotlet1Click();
    // Made to be typed into at once.
    note->takeFocus();
}

void TFJotletLightMain::ShowAllJotlet1Click()
{
    const int count = m_notes ? m_notes->count() : -1;
    for (int i = 0; i < count; ++i) {
        TSingolNote *note = m_notes->form(i);
        if (note->Discarded())
            continue;
        ui::showWithoutActivating(note);
        note->BringToFront();
    }
}

void TFJotletLightMain::CloseAllJotlet1Click()
{
    const int count = m_notes ? m_notes->count() : -1;
    for (int i = 0; i < count; ++i)
        m_notes->form(i)->hide();
}

void TFJotletLightMain::AllNotes1Click()
{
    if (!m_notes)
        return;
    if (!m_notesWindow) {
        m_notesWindow = std::make_unique<app::NotesWindow>([this] {
            QList<TSingolNote *> notes;
            for (int i = 0; i < (m_notes ? m_notes->count() : 0); ++i)
                notes << m_notes->form(i);
            return notes;
        });
    }
    m_notesWindow->open();
}

void TFJotletLightMain::DeleteAllJotlet1Click()
{
    const int count = m_notes ? m_notes->count() : -1;
    if (count <= 0)
        return;
    const bool confirmed = runModal([] {
        return dialogs::confirm(nullptr, TReadRes::current().GetText(settings::DeleteAllQuestion));
    });
    // The program may have been asked to end while the question was open.
    if (!confirmed || isEnding())
        return;
    for (int i = 0; i < count; ++i)
        m_notes->deleteNote(0);
    Restart();
}

void TFJotletLightMain::Options1Click()
{
    ShowOptions(false);
}

void TFJotletLightMain::About2Click()
{
    if (!m_notes)
        return;
    attachTray(false);
    ParkNotes(true);
    NotesLoaded = true;
    ShowAboutBox(true);
}

void TFJotletLightMain::TimerAlarmTimer()
{
    ui::runGuarded(nullptr,
                   [this] { app::runAlarmTick(m_notes.get(), m_environment.noteServices->now()); });
    // On the same tick, so that watching the tray costs no wake-ups of its own.
    RxTrayIcon1->followSystemTray(m_environment.systemTrayAvailable());
}
