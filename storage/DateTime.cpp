#include "storage/DateTime.h"

#include "platform/Errors.h"

#include <cmath>
#include <cstdint>
#include <utility>

namespace storage {
namespace {

constexpr std::int64_t kMsecsPerDay = 86'400'000;
// Julian day number of 1899-12-30, day 0 of the serials.
constexpr qint64 kJulianDayOfZero = 2'415'019;
constexpr int kFirstYear = 1;
constexpr int kLastYear = 9999;

bool isValidDate(int year, int month, int day)
{
    return year >= kFirstYear && year <= kLastYear && QDate::isValid(year, month, day);
}

qint64 dayNumber(int year, int month, int day)
{
    return QDate(year, month, day).toJulianDay() - kJulianDayOfZero;
}

// The serial as whole days and milliseconds of that day, rounded to the millisecond.
struct DayAndMsecs
{
    std::int64_t day;
    std::int64_t msecs; // 0 .. kMsecsPerDay - 1
};

DayAndMsecs splitToMsecs(double value)
{
    static const double first = double(dayNumber(kFirstYear, 1, 1));
    static const double end = double(dayNumber(kLastYear, 12, 31) + 1);
    // Checked before any conversion to an integer: NaN and huge values would
    // not survive it.
    if (!(value >= first && value < end))
        throw EConvertError(QStringLiteral("Invalid date-time value"));
    const std::int64_t total = std::llround(value * double(kMsecsPerDay));
    std::int64_t day = total / kMsecsPerDay;
    std::int64_t msecs = total % kMsecsPerDay;
    if (msecs < 0) {
        msecs += kMsecsPerDay;
        --day;
    }
    // Rounding up the last millisecond of 9999-12-31 lands past the range.
    if (double(day) >= end)
        throw EConvertError(QStringLiteral("Invalid date-time value"));
    return {day, msecs};
}

} // namespace

double encodeDate(int year, int month, int day)
{
    if (!isValidDate(year, month, day))
        throw EConvertError(QStringLiteral("Invalid argument to date encode"));
    return double(dayNumber(year, month, day));
}

double encodeTime(int hour, int minute, int second, int msec)
{
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 || msec < 0
        || msec > 999)
        throw EConvertError(QStringLiteral("Invalid argument to time encode"));
    const std::int64_t msecs = ((hour * 60 + minute) * 60 + second) * std::int64_t(1000) + msec;
    return double(msecs) / double(kMsecsPerDay);
}

double encodeDateTime(const DateTimeParts &parts)
{
    const double date = encodeDate(parts.year, parts.month, parts.day);
    return date + encodeTime(parts.hour, parts.minute, parts.second);
}

DateTimeParts splitDateTime(double value)
{
    const DayAndMsecs split = splitToMsecs(value);
    const QDate date = QDate::fromJulianDay(split.day + kJulianDayOfZero);
    const int seconds = int(split.msecs / 1000);
    return {date.year(), date.month(), date.day(), seconds / 3600, seconds / 60 % 60, seconds % 60};
}

double fromQDateTime(const QDateTime &dateTime)
{
    const QDate date = dateTime.date();
    const QTime time = dateTime.time();
    return encodeDate(date.year(), date.month(), date.day())
        + encodeTime(time.hour(), time.minute(), time.second(), time.msec());
}

QDate toQDate(double value)
{
    const DateTimeParts parts = splitDateTime(value);
    return QDate(parts.year, parts.month, parts.day);
}

QTime toQTime(double value)
{
    const DateTimeParts parts = splitDateTime(value);
    return QTime(parts.hour, parts.minute, parts.second);
}

double nowDateTime()
{
    return fromQDateTime(QDateTime::currentDateTime());
}

} // namespace storage
