#pragma once

class TVeskLista;

// Alarms and expirations: every few seconds each note is checked against
// the clock, and what has come due is carried out.
namespace app {

// Whether a moment given by two fields has come: the calendar day of
// dateField and the hour and minute of timeField equal those of now.
// Seconds do not count; neither do the time of dateField nor the date of
// timeField. A field that holds no valid date-time is never due.
bool isMomentDue(double dateField, double timeField, double now);

// One tick, in list order: an armed alarm that is due shows its note on
// top without activating it, once; an expiration that is due discards the
// note and closes it, which deletes its files. Nothing without a list.
void runAlarmTick(TVeskLista *notes, double now);

} // namespace app
