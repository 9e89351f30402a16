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
// The same moment has come or passed: it is now's minute or an earlier one.
bool isMomentReached(double dateField, double timeField, double now);

// One tick, in list order: an armed alarm whose moment has come shows its
// note on top without activating it, once, also when the minute itself
// went by unseen (the computer slept, the clock jumped, the program was not
// running): a reminder is never lost. An expiration is carried out only in
// its own minute, as a note is never deleted on a guess: it discards the
// note and closes it, which deletes its files. Nothing without a list.
void runAlarmTick(TVeskLista *notes, double now);

} // namespace app
