#include "app/AlarmScheduler.h"

#include "app/DLista.h"
#include "app/JotletLight.h"
#include "app/TrayIcon.h"
#include "note/Note.h"
#include "storage/DateTime.h"
#include "ui/Guarded.h"
#include "ui/QuietShow.h"

namespace app {

bool isMomentDue(double dateField, double timeField, double now)
{
    try {
        const storage::DateTimeParts day = storage::splitDateTime(dateField);
        const storage::DateTimeParts time = storage::splitDateTime(timeField);
        const storage::DateTimeParts current = storage::splitDateTime(now);
        return day.year == current.year && day.month == current.month && day.day == current.day
            && time.hour == current.hour && time.minute == current.minute;
    } catch (const EConvertError &) {
        // A damaged field would otherwise raise its error every few seconds.
        return false;
    }
}

void runAlarmTick(TVeskLista *notes, double now)
{
    const int count = notes ? notes->count() : -1;
    for (int i = 0; i < count; ++i) {
        TSingolNote *note = notes->form(i);
        if (note->AlarmEnabled && !note->Discarded && !note->AlarmFired
            && isMomentDue(note->AlarmDate, note->AlarmTime, now)) {
            ui::showWithoutActivating(note);
            note->AlarmFired = true;
            note->SetOnTop(true);
        }
        if (note->ExpirationEnabled
            && isMomentDue(note->ExpirationDate, note->ExpirationTime, now)) {
            note->Discarded = true;
            note->ExpirationEnabled = false;
            note->close();
        }
    }
}

} // namespace app

void TFJotletLightMain::TimerAlarmTimer()
{
    ui::runGuarded(nullptr, [this] { app::runAlarmTick(m_notes.get(), storage::nowDateTime()); });
    // On the same tick, so that waiting for a tray costs no wake-ups of its own.
    if (!RxTrayIcon1->usesSystemTray() && m_environment.systemTrayAvailable())
        RxTrayIcon1->adoptSystemTray();
}
