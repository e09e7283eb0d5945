// The few texts that follow the user's locale (dates and times on the status
// page, CO expiry dates). The Qt programs supply a QLocale-based format; the
// command-line tool and tests use FixedLocaleFormat.
#pragma once

#include "calendar.h"

#include <string>

namespace vessor {

class LocaleFormat {
public:
    virtual ~LocaleFormat() = default;
    // The user's short date format.
    virtual std::string formatDate(const CalendarTime& t) const = 0;
    // The user's time format (hours, minutes, seconds).
    virtual std::string formatTime(const CalendarTime& t) const = 0;
};

// Qt-style patterns: d dd M MM yy yyyy H HH h hh m mm s ss ap AP; any other
// character is copied. Defaults "dd/MM/yyyy" and "HH:mm:ss".
class FixedLocaleFormat : public LocaleFormat {
public:
    FixedLocaleFormat(std::string datePattern = "dd/MM/yyyy",
                      std::string timePattern = "HH:mm:ss");
    std::string formatDate(const CalendarTime& t) const override;
    std::string formatTime(const CalendarTime& t) const override;

    static const FixedLocaleFormat& instance();  // the defaults

private:
    std::string m_datePattern;
    std::string m_timePattern;
};

// Formats with a Qt-style pattern (as FixedLocaleFormat does).
std::string formatCalendarPattern(const CalendarTime& t, const std::string& pattern);

} // namespace vessor
