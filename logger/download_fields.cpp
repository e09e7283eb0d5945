#include "logger/download_fields.h"

#include "logger/calendar.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <cstdio>
#include <limits>

namespace vessor::download {

bool FieldReader::next(std::string_view& field) {
    if (delimiters_.size() == 1) {
        // The common case, a comma: a plain scan beats the general search.
        const char delimiter = delimiters_[0];
        std::size_t start = pos_;
        const std::size_t size = line_.size();
        while (start < size && line_[start] == delimiter)
            ++start;
        if (start == size) {
            pos_ = size;
            return false;
        }
        std::size_t end = start;
        while (end < size && line_[end] != delimiter)
            ++end;
        field = line_.substr(start, end - start);
        pos_ = end < size ? end + 1 : end;
        return true;
    }
    const std::size_t start = line_.find_first_not_of(delimiters_, pos_);
    if (start == std::string_view::npos) {
        pos_ = line_.size();
        return false;
    }
    std::size_t end = line_.find_first_of(delimiters_, start);
    if (end == std::string_view::npos)
        end = line_.size();
    field = line_.substr(start, end - start);
    pos_ = end < line_.size() ? end + 1 : end;
    return true;
}

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

std::string_view trimBlanks(std::string_view text) {
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::string toUpperAscii(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return upper;
}

namespace {

// Leading blanks and one sign, as the C library's number readers take them.
bool takeSign(std::string_view& text) {
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    return negative;
}

} // namespace

bool parseWhole(std::string_view text, int& value) {
    const bool negative = takeSign(text);
    long long v = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            break;
        v = v * 10 + (c - '0');
        if (v > INT_MAX)
            return false;
    }
    value = static_cast<int>(negative ? -v : v);
    return true;
}

double parseDecimal(std::string_view text) {
    const bool negative = takeSign(text);
    // from_chars takes no sign of its own here: "--1" and "+-1" are no numbers.
    if (!text.empty() && (text.front() == '+' || text.front() == '-'))
        return 0.0;
    double value = 0.0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec == std::errc::result_out_of_range) {
        // Too large or too small for a double: infinity or zero, as strtod
        // gives. The reader refuses infinite values.
        const std::string_view digits(text.data(), static_cast<std::size_t>(ptr - text.data()));
        const auto e = digits.find_first_of("eE");
        const bool tiny =
            e != std::string_view::npos && e + 1 < digits.size() && digits[e + 1] == '-';
        value = tiny ? 0.0 : std::numeric_limits<double>::infinity();
    } else if (ec != std::errc{}) {
        return 0.0;
    }
    return negative ? -value : value;
}

int decimalsOf(std::string_view field) {
    constexpr int MOST = 15;
    const auto dot = field.find('.');
    if (dot == std::string_view::npos)
        return 0;
    const std::size_t after = field.size() - dot - 1;
    return after > static_cast<std::size_t>(MOST) ? MOST : static_cast<int>(after);
}

// The logger's calendar does the day arithmetic; these only map the fields
// (full year, month 1..12) onto it.
std::int64_t toClockSeconds(const ClockFields& f) {
    CalendarTime t;
    t.year = f.year - 1900;
    t.month = f.month - 1;
    t.day = f.day;
    t.hour = f.hour;
    t.minute = f.minute;
    t.second = f.second;
    return toCalendarSeconds(t);
}

ClockFields fromClockSeconds(std::int64_t seconds) {
    const CalendarTime t = fromCalendarSeconds(seconds);
    return ClockFields{t.fullYear(), t.month + 1, t.day, t.hour, t.minute, t.second};
}

std::string isoTimeText(std::int64_t clockSeconds) {
    const ClockFields t = fromClockSeconds(clockSeconds);
    char text[48];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d", t.year, t.month, t.day, t.hour,
                  t.minute, t.second);
    return text;
}

} // namespace vessor::download
