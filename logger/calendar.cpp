#include "calendar.h"

#include <algorithm>
#include <cstdio>

namespace vessor {
namespace {

constexpr std::int64_t DAYS_PER_400_YEARS = 146097;

// Brings the month into 0..11, carrying whole years, so that month lengths
// are never looked up with a stray value.
void normaliseMonth(CalendarTime& t) {
    if (t.month < 0 || t.month > 11) {
        int years = t.month / 12;
        int month = t.month % 12;
        if (month < 0) {
            month += 12;
            --years;
        }
        t.month = month;
        t.year += years;
    }
}

void advanceDays(CalendarTime& t, std::uint64_t days) {
    normaliseMonth(t);
    // The calendar repeats every 400 years; skip whole cycles first so that
    // absurd spans from a corrupt block cannot keep us looping.
    const std::uint64_t cycles = days / DAYS_PER_400_YEARS;
    t.year += static_cast<int>(std::min<std::uint64_t>(cycles, 1000000) * 400);
    days %= DAYS_PER_400_YEARS;
    for (; days > 0; --days) {
        ++t.day;
        if (t.day > daysInMonth(t.month, t.fullYear())) {
            t.day = 1;
            if (++t.month > 11) {
                t.month = 0;
                ++t.year;
            }
        }
    }
}

// Days from 1 Jan 1970 of a proleptic Gregorian date (month 1..12).
std::int64_t daysFromCivil(std::int64_t y, int m, int d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * DAYS_PER_400_YEARS + doe - 719468;
}

} // namespace

CalendarTime makeCalendarTime(int fullYear, int month1to12, int day, int hour, int minute,
                              int second) {
    CalendarTime t;
    t.year = fullYear - 1900;
    t.month = month1to12 - 1;
    t.day = day;
    t.hour = hour;
    t.minute = minute;
    t.second = second;
    return t;
}

bool isLeapYear(int fullYear) {
    return (fullYear % 4 == 0 && fullYear % 100 != 0) || fullYear % 400 == 0;
}

int daysInMonth(int month, int fullYear) {
    switch (month) {
    case 0: case 2: case 4: case 6: case 7: case 9: case 11:
        return 31;
    case 3: case 5: case 8: case 10:
        return 30;
    case 1:
        return isLeapYear(fullYear) ? 29 : 28;
    default:
        return 0;
    }
}

bool isValidCalendarTime(const CalendarTime& t) {
    return t.second >= 0 && t.second <= 59 && t.minute >= 0 && t.minute <= 59 && t.hour >= 0 &&
           t.hour <= 23 && t.month >= 0 && t.month <= 11 && t.day >= 1 &&
           t.day <= daysInMonth(t.month, t.fullYear()) && t.tenths >= 0 && t.tenths <= 9;
}

void addSeconds(CalendarTime& t, std::uint64_t seconds) {
    std::uint64_t days = seconds / 86400;
    const auto rest = static_cast<int>(seconds % 86400);
    t.second += rest % 60;
    int carry = t.second / 60;
    t.second %= 60;
    t.minute += rest / 60 % 60 + carry;
    carry = t.minute / 60;
    t.minute %= 60;
    t.hour += rest / 3600 + carry;
    days += static_cast<std::uint64_t>(t.hour / 24);
    t.hour %= 24;
    advanceDays(t, days);
}

void addTenths(CalendarTime& t, int tenths) {
    if (tenths < 0)
        tenths = 0;
    int seconds = (tenths % 600) / 10;
    t.tenths += tenths % 10;
    while (t.tenths > 9) {
        t.tenths -= 10;
        ++seconds;
    }
    addSeconds(t, static_cast<std::uint64_t>(tenths / 600) * 60 + static_cast<std::uint64_t>(seconds));
}

std::int64_t toCalendarSeconds(const CalendarTime& t) {
    CalendarTime n = t;
    normaliseMonth(n);
    const std::int64_t days = daysFromCivil(n.fullYear(), n.month + 1, 1) + (n.day - 1);
    return days * 86400 + std::int64_t{n.hour} * 3600 + std::int64_t{n.minute} * 60 + n.second;
}

CalendarTime fromCalendarSeconds(std::int64_t seconds) {
    std::int64_t days = seconds / 86400;
    std::int64_t rest = seconds % 86400;
    if (rest < 0) {
        rest += 86400;
        --days;
    }
    // Inverse of daysFromCivil.
    const std::int64_t z = days + 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / DAYS_PER_400_YEARS;
    const std::int64_t doe = z - era * DAYS_PER_400_YEARS;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    const int d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    const int m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    const std::int64_t y = yoe + era * 400 + (m <= 2);
    CalendarTime t;
    t.year = static_cast<int>(y - 1900);
    t.month = m - 1;
    t.day = d;
    t.hour = static_cast<int>(rest / 3600);
    t.minute = static_cast<int>(rest / 60 % 60);
    t.second = static_cast<int>(rest % 60);
    return t;
}

int compareDates(const CalendarTime& a, const CalendarTime& b) {
    const int ka[3] = {a.year, a.month, a.day};
    const int kb[3] = {b.year, b.month, b.day};
    for (int i = 0; i < 3; ++i) {
        if (ka[i] != kb[i])
            return ka[i] < kb[i] ? -1 : 1;
    }
    return 0;
}

std::string formatDayFirst(const CalendarTime& t) {
    char text[64];
    std::snprintf(text, sizeof text, "%02d/%02d/%04d %02d:%02d:%02d", t.day, t.month + 1,
                  t.fullYear(), t.hour, t.minute, t.second);
    return text;
}

std::string formatDayFirstDate(const CalendarTime& t) {
    char text[40];
    std::snprintf(text, sizeof text, "%02d/%02d/%04d", t.day, t.month + 1, t.fullYear());
    return text;
}

std::optional<CalendarTime> expiryDate(const DatedPeriod& period) {
    // Month 0 is not a month: it would index month lengths with -1 below.
    if (period.yearsSince1900 <= 99 || period.month > 12 || period.month < 1 || period.day > 31 ||
        period.day < 0 || period.months < 0)
        return std::nullopt;
    int month = period.month + period.months % 12;
    int carry = 0;
    if (month > 12) {
        month %= 12;
        carry = 1;
    }
    int year = 1900 + period.yearsSince1900 + period.months / 12 + carry;
    int day = period.day;
    if (day >= 2) {
        --day;
    } else {
        day = 31;
        if (month == 1) {
            month = 12;
            --year;
        } else {
            --month;
        }
    }
    const int length = daysInMonth(month - 1, year);
    if (day > length)
        day = length;
    return makeCalendarTime(year, month, day);
}

} // namespace vessor
