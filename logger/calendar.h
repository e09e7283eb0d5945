// Calendar arithmetic on broken-down local times. Logger times are local
// clock times without daylight-saving adjustment, so nothing here goes
// through time zones: carries, month lengths and leap years are done by hand.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace vessor {

// Field conventions as in struct tm: month 0..11, year since 1900.
struct CalendarTime {
    int second = 0;   // 0..59
    int minute = 0;   // 0..59
    int hour = 0;     // 0..23
    int day = 1;      // 1..31
    int month = 0;    // 0..11
    int year = 70;    // years since 1900
    int tenths = 0;   // tenths of a second, 0..9 (download rows of the event logger)
    int isDst = -1;   // always "unknown" for logger times

    int fullYear() const { return year + 1900; }
    // Plain field comparison (second resolution; tenths and isDst ignored).
    friend bool operator==(const CalendarTime& a, const CalendarTime& b) {
        return a.second == b.second && a.minute == b.minute && a.hour == b.hour &&
               a.day == b.day && a.month == b.month && a.year == b.year;
    }
};

// Builds a CalendarTime from a full year and a month 1..12.
CalendarTime makeCalendarTime(int fullYear, int month1to12, int day, int hour = 0,
                              int minute = 0, int second = 0);

bool isLeapYear(int fullYear);
// Days of month 0..11 of the given full year; 0 for a month outside 0..11.
int daysInMonth(int month0to11, int fullYear);

// Every field within its range and the day within its month.
bool isValidCalendarTime(const CalendarTime& t);

// Adds seconds: carries seconds, minutes and hours, then advances whole days
// with month lengths and leap years. Fields a little out of range (as a
// logger may hold) are carried, never indexed with.
void addSeconds(CalendarTime& t, std::uint64_t seconds);

// Adds d tenths of a second (0..32767 from an event record) with the carries
// of addSeconds; the tenths field carries into seconds.
void addTenths(CalendarTime& t, int tenths);

// Seconds since 1 Jan 1970 00:00:00 counted on the plain calendar (no time
// zone, no daylight saving): differences give logger time spans.
std::int64_t toCalendarSeconds(const CalendarTime& t);
CalendarTime fromCalendarSeconds(std::int64_t seconds);

// Three-way date comparison ignoring the time of day: -1, 0, 1.
int compareDates(const CalendarTime& a, const CalendarTime& b);

// "%d/%m/%Y %H:%M:%S" (two-digit fields, four-digit year), as download rows
// carry times. Always ASCII digits whatever the locale.
std::string formatDayFirst(const CalendarTime& t);
// "%02d/%02d/%04d" (day, month, year).
std::string formatDayFirstDate(const CalendarTime& t);

// A dated period of the CO models (sensor life, calibration): a start date as
// the block stores it and a length in months.
struct DatedPeriod {
    int day = 0;               // as stored
    int month = 0;             // 1..12 as stored
    int yearsSince1900 = 0;    // as stored; valid only above 99
    int months = 0;            // 0 = no date set
};

// The last valid day of the period (the day before the same day `months`
// later, limited to the month's length); nullopt when the stored date is
// invalid (year not above 99, month above 12 or 0, day above 31).
// Only meaningful when months != 0.
std::optional<CalendarTime> expiryDate(const DatedPeriod& period);

} // namespace vessor
