#include "app/AlarmScheduler.h"

#include "app/DLista.h"
#include "note/Note.h"
#include "storage/DateTime.h"
#include "ui/Guarded.h"

#include <array>
#include <optional>

namespace app {

namespace {

// A moment to the minute, comparable; nothing for a field that holds no
// valid date-time (a damaged field would otherwise raise its error every
// few seconds).
using Minute = std::array<int, 5>;

std::optional<Minute> minuteOf(double dateField, double timeField)
{
    try {
        const storage::DateTimeParts day = storage::splitDateTime(dateField);
        const storage::DateTimeParts time = storage::splitDateTime(timeField);
        return Minute {day.year, day.month, day.day, time.hour, time.minute};
    } catch (const EConvertError &) {
        return std::nullopt;
    }
}

} // namespace

bool isMomentDue(double dateField, double timeField, double now)
{
    const std::optional<Minute> moment = minuteOf(dateField, timeField);
    return moment && moment == minuteOf(now, now);
}

bool isMomentReached(double dateField, double timeField, double now)
{
    const std::optional<Minute> moment = minuteOf(dateField, timeField);
    const std::optional<Minute> current = minuteOf(now, now);
    return moment && current && *moment <= *current;
}

void runAlarmTick(TVeskLista *notes, double now)
{
    const int count = notes ? notes->count() : -1;
    for (int i = 0; i < count; ++i) {
        TSingolNote *note = notes->form(i);
        if (note->AlarmEnabled() && !note->Discarded() && !note->AlarmFired()
            && isMomentReached(note->AlarmDate(), note->AlarmTime(), now))
            note->fireAlarm();
        if (note->ExpirationEnabled()
            && isMomentDue(note->ExpirationDate(), note->ExpirationTime(), now))
            note->expire();
    }
}

} // namespace app
