#include "StorageTestUtil.h"

#include "storage/DateTime.h"

#include <cmath>
#include <limits>

using storage::DateTimeParts;
using storage::encodeDate;
using storage::encodeDateTime;
using storage::encodeTime;
using storage::splitDateTime;
using storagetest::messageOf;

namespace {

TEST(DateSerial, CountsDaysFrom30December1899)
{
    EXPECT_EQ(encodeDate(1899, 12, 30), 0);
    EXPECT_EQ(encodeDate(1899, 12, 31), 1);
    EXPECT_EQ(encodeDate(1899, 12, 29), -1);
    EXPECT_EQ(encodeDate(1900, 3, 1), 61); // 1900 has no 29 February
    EXPECT_EQ(encodeDate(2000, 1, 1), 36526);
    EXPECT_EQ(encodeDate(1, 1, 1), -693593);
    EXPECT_EQ(encodeDate(9999, 12, 31), 2958465);
    EXPECT_EQ(encodeTime(6, 0, 0), 0.25);
    EXPECT_EQ(encodeTime(12, 0, 0), 0.5);
}

TEST(DateSerial, RejectsDatesAndTimesThatDoNotExist)
{
    const int badDates[][3]
        = {{1900, 2, 29}, {2001, 2, 29}, {2024, 4, 31}, {2024, 13, 1}, {2024, 0, 1},
           {2024, 1, 0},  {0, 1, 1},     {10000, 1, 1}, {-5, 1, 1}};
    for (const auto &d : badDates)
        EXPECT_EQ(messageOf<EConvertError>([&] { encodeDate(d[0], d[1], d[2]); }),
                  "Invalid argument to date encode")
            << d[0] << '-' << d[1] << '-' << d[2];
    EXPECT_NO_THROW(encodeDate(2000, 2, 29));
    EXPECT_NO_THROW(encodeDate(2024, 2, 29));

    const int badTimes[][4] = {{24, 0, 0, 0}, {23, 60, 0, 0},  {23, 59, 60, 0},
                               {-1, 0, 0, 0}, {0, 0, 0, 1000}, {0, 0, 0, -1}};
    for (const auto &t : badTimes)
        EXPECT_EQ(messageOf<EConvertError>([&] { encodeTime(t[0], t[1], t[2], t[3]); }),
                  "Invalid argument to time encode");
}

TEST(DateSerial, EverySecondOfADaySplitsBackExactly)
{
    // Sums of day and fraction are not exact in binary; splitting must not
    // lose a second to that, on either side of day 0.
    for (const int day : {-36522 /* 1800-01-01 */, -1, 0, 45351 /* 2024-03-01 */}) {
        const DateTimeParts date = splitDateTime(day);
        for (int second = 0; second < 86400; ++second) {
            const DateTimeParts parts {date.year,     date.month,       date.day,
                                       second / 3600, second / 60 % 60, second % 60};
            const DateTimeParts back = splitDateTime(encodeDateTime(parts));
            if (back != parts) {
                ADD_FAILURE() << "day " << day << " second " << second;
                break;
            }
        }
    }
}

TEST(DateSerial, BeforeDayZeroTheTimeStillCountsForward)
{
    EXPECT_EQ(splitDateTime(-0.75), (DateTimeParts {1899, 12, 29, 6, 0, 0}));
    EXPECT_EQ(splitDateTime(-1.25), (DateTimeParts {1899, 12, 28, 18, 0, 0}));
    EXPECT_EQ(encodeDateTime({1899, 12, 29, 6, 0, 0}), -0.75);
    // So later moments have larger serials also there.
    EXPECT_LT(encodeDateTime({1899, 12, 29, 18, 0, 0}), encodeDateTime({1899, 12, 30, 6, 0, 0}));
    EXPECT_EQ(splitDateTime(encodeDate(1, 1, 1)), (DateTimeParts {1, 1, 1, 0, 0, 0}));
}

TEST(DateSerial, MillisecondsAreDroppedWithoutReachingHour24)
{
    const double day = encodeDate(2024, 6, 30);
    EXPECT_EQ(splitDateTime(day + encodeTime(12, 0, 0, 999)),
              (DateTimeParts {2024, 6, 30, 12, 0, 0}));
    EXPECT_EQ(splitDateTime(day + encodeTime(23, 59, 59, 999)),
              (DateTimeParts {2024, 6, 30, 23, 59, 59}));
    // Less than half a millisecond before midnight is midnight of the next day.
    const double almostMidnight = day + (86400 - 0.0001) / 86400.0;
    EXPECT_EQ(splitDateTime(almostMidnight), (DateTimeParts {2024, 7, 1, 0, 0, 0}));
    EXPECT_EQ(splitDateTime(-1 + (86400 - 0.0001) / 86400.0),
              (DateTimeParts {1899, 12, 30, 0, 0, 0}));
}

TEST(DateSerial, ValuesOutsideTheCalendarCannotBeSplit)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double infinity = std::numeric_limits<double>::infinity();
    const double lastMoment = encodeDate(9999, 12, 31) + (86400 - 0.0001) / 86400.0;
    for (double value : {nan, infinity, -infinity, 1e300, encodeDate(1, 1, 1) - 0.5,
                         encodeDate(9999, 12, 31) + 1, lastMoment})
        EXPECT_EQ(messageOf<EConvertError>([&] { splitDateTime(value); }),
                  "Invalid date-time value")
            << value;
    EXPECT_EQ(splitDateTime(encodeDate(9999, 12, 31) + encodeTime(23, 59, 59, 999)),
              (DateTimeParts {9999, 12, 31, 23, 59, 59}));
}

TEST(DateSerial, ConvertsToAndFromQtTypes)
{
    const QDateTime moment(QDate(2024, 2, 29), QTime(10, 30, 15, 250));
    const double serial = storage::fromQDateTime(moment);
    EXPECT_EQ(serial, encodeDate(2024, 2, 29) + encodeTime(10, 30, 15, 250));
    EXPECT_EQ(storage::toQDate(serial), QDate(2024, 2, 29));
    EXPECT_EQ(storage::toQTime(serial), QTime(10, 30, 15));
    EXPECT_EQ(storage::toQDate(-0.75), QDate(1899, 12, 29));
}

TEST(DateSerial, NowIsTheLocalClock)
{
    const double before = storage::fromQDateTime(QDateTime::currentDateTime());
    const double now = storage::nowDateTime();
    const double after = storage::fromQDateTime(QDateTime::currentDateTime());
    EXPECT_LE(before, now);
    EXPECT_LE(now, after);
}

} // namespace
