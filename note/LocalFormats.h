#pragma once

#include <QString>

// Dates and times in the user's regional formats.
namespace note {

// The user's short date format.
QString shortDateFormat();
// The user's long time format (with seconds), without the time zone that the
// toolkit's long format adds.
QString longTimeFormat();

// "<short date>  <long time>" of a date-time serial, as "Insert date/time"
// writes it.
QString dateTimeLine(double dateTime);

} // namespace note
