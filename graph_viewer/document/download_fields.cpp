#include "download_fields.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace vessor::graph {

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

double parseDecimal(std::string_view text) {
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
        // from_chars takes no sign of its own here: "--1" and "+-1" are no numbers.
        if (!text.empty() && (text.front() == '+' || text.front() == '-'))
            return 0.0;
    }
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

namespace {

// Days since 01/01/1970 of a proleptic Gregorian date (month 1..12).
std::int64_t daysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

} // namespace

std::int64_t toClockSeconds(const ClockFields& f) {
    // Day 1 of the month plus (day - 1) days, so 31/02 carries into March as
    // the C library's calendar conversion does.
    std::int64_t year = f.year;
    int month = f.month;
    if (month < 1 || month > 12) {
        year += (month - 1) / 12 - (month < 1 ? 1 : 0);
        month = ((month - 1) % 12 + 12) % 12 + 1;
    }
    const std::int64_t days = daysFromCivil(year, static_cast<unsigned>(month), 1) + (f.day - 1);
    return days * 86400 + std::int64_t{f.hour} * 3600 + std::int64_t{f.minute} * 60 + f.second;
}

ClockFields fromClockSeconds(std::int64_t seconds) {
    std::int64_t days = seconds / 86400;
    std::int64_t rest = seconds % 86400;
    if (rest < 0) {
        rest += 86400;
        --days;
    }
    // Inverse of daysFromCivil.
    const std::int64_t z = days + 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    ClockFields f;
    f.year = static_cast<int>(static_cast<std::int64_t>(yoe) + era * 400 + (m <= 2));
    f.month = static_cast<int>(m);
    f.day = static_cast<int>(d);
    f.hour = static_cast<int>(rest / 3600);
    f.minute = static_cast<int>(rest / 60 % 60);
    f.second = static_cast<int>(rest % 60);
    return f;
}

} // namespace vessor::graph
