#include "locale_format.h"

#include <algorithm>
#include <cstdio>
#include <string_view>
#include <utility>

namespace vessor {
namespace {

std::string number(int value, int width) {
    char text[16];
    std::snprintf(text, sizeof text, "%0*d", width, value);
    return text;
}

} // namespace

std::string formatCalendarPattern(const CalendarTime& t, const std::string& pattern) {
    std::string out;
    const std::size_t n = pattern.size();
    for (std::size_t i = 0; i < n;) {
        const char c = pattern[i];
        std::size_t run = 1;
        while (i + run < n && pattern[i + run] == c)
            ++run;
        const bool isAp = (c == 'a' || c == 'A') && i + 1 < n &&
                          (pattern[i + 1] == 'p' || pattern[i + 1] == 'P');
        if (isAp) {
            const bool upper = c == 'A';
            out += t.hour < 12 ? (upper ? "AM" : "am") : (upper ? "PM" : "pm");
            i += 2;
            continue;
        }
        const int width = run >= 2 ? 2 : 1;
        switch (c) {
        case 'd':
            out += number(t.day, width);
            break;
        case 'M':
            out += number(t.month + 1, width);
            break;
        case 'y':
            out += run >= 4 ? number(t.fullYear(), 4) : number(t.fullYear() % 100, 2);
            break;
        case 'H':
            out += number(t.hour, width);
            break;
        case 'h': {
            const int h12 = t.hour % 12 == 0 ? 12 : t.hour % 12;
            out += number(h12, width);
            break;
        }
        case 'm':
            out += number(t.minute, width);
            break;
        case 's':
            out += number(t.second, width);
            break;
        default:
            out.append(run, c);
            break;
        }
        // A field letter takes at most two of its run ("ddd" = "dd" + "d").
        const bool twoAtMost = std::string_view("dMHhms").find(c) != std::string_view::npos;
        i += twoAtMost ? std::min<std::size_t>(run, 2) : run;
    }
    return out;
}

FixedLocaleFormat::FixedLocaleFormat(std::string datePattern, std::string timePattern)
    : m_datePattern(std::move(datePattern)), m_timePattern(std::move(timePattern)) {}

std::string FixedLocaleFormat::formatDate(const CalendarTime& t) const {
    return formatCalendarPattern(t, m_datePattern);
}

std::string FixedLocaleFormat::formatTime(const CalendarTime& t) const {
    return formatCalendarPattern(t, m_timePattern);
}

const FixedLocaleFormat& FixedLocaleFormat::instance() {
    static const FixedLocaleFormat format;
    return format;
}

} // namespace vessor
