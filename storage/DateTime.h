#pragma once

#include <QDate>
#include <QDateTime>
#include <QTime>

#include <functional>

// Date-times are days since 1899-12-30 00:00 held in a double, the fraction
// being the time of day. Before that day the serial stays a plain count on
// the same axis: the day is the floor of the value and the time what is left,
// so -0.75 is 1899-12-29 06:00 and serials compare as the moments they stand
// for. Only years 1 to 9999 exist.
namespace storage {

// A calendar date and a time of day to the whole second.
struct DateTimeParts
{
    int year = 1899;
    int month = 12;
    int day = 30;
    int hour = 0;
    int minute = 0;
    int second = 0;

    friend bool operator==(const DateTimeParts &a, const DateTimeParts &b)
    {
        return a.year == b.year && a.month == b.month && a.day == b.day && a.hour == b.hour
            && a.minute == b.minute && a.second == b.second;
    }
    friend bool operator!=(const DateTimeParts &a, const DateTimeParts &b) { return !(a == b); }
};

// The whole-day serial of a date. EConvertError("Invalid argument to date
// encode") unless the year is 1..9999 and the day exists (Gregorian leap years).
double encodeDate(int year, int month, int day);

// The fraction of a day. EConvertError("Invalid argument to time encode")
// unless hour 0..23, minute and second 0..59, msec 0..999.
double encodeTime(int hour, int minute, int second, int msec = 0);

// Date plus time of day; raises the errors of encodeDate and encodeTime.
double encodeDateTime(const DateTimeParts &parts);

// The calendar date and time of day of a serial. The value is first rounded
// to the nearest millisecond, which removes floating-point noise and carries
// 23:59:59.9999 over into the next day; the milliseconds are then dropped, so
// 12:00:00.999 gives 12:00:00. EConvertError("Invalid date-time value") for a
// value outside years 1..9999 or not a number.
DateTimeParts splitDateTime(double value);

// Conversions for the dialogs and the scheduler. fromQDateTime takes the date
// and the wall-clock time as they stand, milliseconds included.
double fromQDateTime(const QDateTime &dateTime);
QDate toQDate(double value);
QTime toQTime(double value); // whole seconds

// The current local date and time.
double nowDateTime();

} // namespace storage
