// Calendar arithmetic: carries, month lengths and leap years.
#include "logger/calendar.h"
#include "logger/locale_format.h"

#include <gtest/gtest.h>

namespace vessor {
namespace {

TEST(Calendar, AddSecondsCarriesThroughMonthsAndLeapYears) {
    struct Case {
        CalendarTime from;
        std::uint64_t seconds;
        CalendarTime to;
    };
    const Case cases[] = {
        {makeCalendarTime(2011, 3, 1), 86400ull * 366, makeCalendarTime(2012, 3, 1)},
        {makeCalendarTime(2012, 3, 1), 86400ull * 366, makeCalendarTime(2013, 3, 2)},
        {makeCalendarTime(2012, 2, 28, 23, 59, 59), 1, makeCalendarTime(2012, 2, 29)},
        {makeCalendarTime(2100, 2, 28, 23, 59, 59), 1, makeCalendarTime(2100, 3, 1)},  // not leap
        {makeCalendarTime(2000, 2, 28, 12), 86400, makeCalendarTime(2000, 2, 29, 12)},  // leap
        {makeCalendarTime(1999, 12, 31, 23, 59, 30), 45, makeCalendarTime(2000, 1, 1, 0, 0, 15)},
        {makeCalendarTime(2024, 4, 30, 10, 20, 30), 3600 * 14 - 1, makeCalendarTime(2024, 5, 1, 0, 20, 29)},
        {makeCalendarTime(2024, 1, 31, 0, 59, 59), 3601, makeCalendarTime(2024, 1, 31, 2, 0, 0)},
        {makeCalendarTime(2024, 1, 1), 0, makeCalendarTime(2024, 1, 1)},
        {makeCalendarTime(1970, 1, 1), 4294967295ull, makeCalendarTime(2106, 2, 7, 6, 28, 15)},
    };
    for (const Case& c : cases) {
        CalendarTime t = c.from;
        addSeconds(t, c.seconds);
        EXPECT_EQ(formatDayFirst(t), formatDayFirst(c.to)) << formatDayFirst(c.from) << " + " << c.seconds;
    }
}

TEST(Calendar, AgreesWithDayCountingOverManyYears) {
    // Adding in many small steps and in one step must land on the same time,
    // and both must match the day-count conversion.
    CalendarTime stepped = makeCalendarTime(1995, 6, 15, 13, 0, 0);
    const std::int64_t origin = toCalendarSeconds(stepped);
    std::uint64_t total = 0;
    for (int i = 0; i < 2000; ++i) {
        const std::uint64_t step = 86400ull * 7 + 3671ull * (i % 13);
        addSeconds(stepped, step);
        total += step;
        ASSERT_EQ(toCalendarSeconds(stepped), origin + static_cast<std::int64_t>(total)) << i;
    }
    EXPECT_EQ(fromCalendarSeconds(toCalendarSeconds(stepped)), stepped);
}

TEST(Calendar, StrayFieldsAreCarriedNotIndexed) {
    CalendarTime t = makeCalendarTime(2020, 1, 1);
    t.month = 14;  // as a corrupt block might give
    t.second = 75;
    addSeconds(t, 1);
    EXPECT_EQ(t.month, 2);
    EXPECT_EQ(t.fullYear(), 2021);
    EXPECT_EQ(t.second, 16);
    EXPECT_EQ(t.minute, 1);
}

TEST(Calendar, AddTenths) {
    struct Case {
        int tenthsBefore;
        int add;
        const char* expected;
        int tenthsAfter;
    };
    const Case cases[] = {
        {0, 5, "01/01/2024 00:00:00", 5},
        {5, 5, "01/01/2024 00:00:01", 0},
        {9, 32767, "01/01/2024 00:54:37", 6},  // 3276.7 s + 0.9 s
        {0, 600, "01/01/2024 00:01:00", 0},
        {3, 24, "01/01/2024 00:00:02", 7},
    };
    for (const Case& c : cases) {
        CalendarTime t = makeCalendarTime(2024, 1, 1);
        t.tenths = c.tenthsBefore;
        addTenths(t, c.add);
        EXPECT_EQ(formatDayFirst(t), c.expected) << c.add;
        EXPECT_EQ(t.tenths, c.tenthsAfter) << c.add;
    }
    CalendarTime t = makeCalendarTime(2023, 12, 31, 23, 59, 59);
    t.tenths = 9;
    addTenths(t, 1);
    EXPECT_EQ(formatDayFirst(t), "01/01/2024 00:00:00");
}

TEST(Calendar, ValidityAndPatterns) {
    EXPECT_TRUE(isValidCalendarTime(makeCalendarTime(2024, 2, 29)));
    EXPECT_FALSE(isValidCalendarTime(makeCalendarTime(2023, 2, 29)));
    EXPECT_FALSE(isValidCalendarTime(makeCalendarTime(2023, 13, 1)));
    EXPECT_FALSE(isValidCalendarTime(makeCalendarTime(2023, 4, 31)));
    EXPECT_EQ(daysInMonth(12, 2024), 0);
    const CalendarTime t = makeCalendarTime(2024, 3, 5, 7, 8, 9);
    EXPECT_EQ(formatDayFirstDate(t), "05/03/2024");
    EXPECT_EQ(FixedLocaleFormat().formatDate(t), "05/03/2024");
    EXPECT_EQ(FixedLocaleFormat().formatTime(t), "07:08:09");
    EXPECT_EQ(formatCalendarPattern(t, "M/d/yy h:mm AP"), "3/5/24 7:08 AM");
    EXPECT_EQ(formatCalendarPattern(makeCalendarTime(2024, 1, 1, 12), "hh ap"), "12 pm");
}

} // namespace
} // namespace vessor
