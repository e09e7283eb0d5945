// Small text helpers of the download-file reader: field splitting as the
// file's writer and the viewer understand it, locale-independent numbers,
// and clock times without time zones.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vessor::download {

// Splits a line at any of `delimiters`. A run of delimiters is one separator,
// so an empty field is no field at all.
class FieldReader {
public:
    explicit FieldReader(std::string_view line, std::string_view delimiters = ",")
        : line_(line), delimiters_(delimiters) {}
    // The next non-empty field; false when the line has no more.
    bool next(std::string_view& field);
    // Where the search for the next field starts.
    std::size_t position() const { return pos_; }

private:
    std::string_view line_;
    std::string_view delimiters_;
    std::size_t pos_ = 0;
};

// Blanks, tabs, CR, LF, vertical tab and form feed, in any locale.
bool isBlank(char c);
std::string_view trimBlanks(std::string_view text);
std::string toUpperAscii(std::string_view text);

// The number at the start of `text` as the C library's text-to-double reads
// it in the C locale: leading blanks skipped, the number ends at the first
// character that cannot belong to it, no number at all gives 0. Never follows
// the user's locale ("4.5" is 4.5 under a decimal comma too).
double parseDecimal(std::string_view text);

// The whole number at the start of `text` as the C library's atoi reads it;
// false when it would not fit an int.
bool parseWhole(std::string_view text, int& value);

// Digits after the first '.' of a reading field, as the chart's label
// precision; capped at what a double can show.
int decimalsOf(std::string_view field);

// A wall-clock time as written in a file. Times are kept as "clock seconds":
// seconds since 01/01/1970 00:00:00 on the same clock, with no time zone or
// daylight-saving shift, so two rows of a file are always their written
// distance apart and every label shows the time as written.
struct ClockFields {
    int year = 1970; // full year
    int month = 1;   // 1..12
    int day = 1;     // 1..31; a day past the month's end carries into the next month
    int hour = 0;
    int minute = 0;
    int second = 0;
};

std::int64_t toClockSeconds(const ClockFields& fields);
ClockFields fromClockSeconds(std::int64_t seconds);
// "YYYY-MM-DDTHH:MM:SS", the form of times in the JSON the programs write.
std::string isoTimeText(std::int64_t clockSeconds);

} // namespace vessor::download
