#include "spreadsheet_export/download_table.h"

#include "logger/calendar.h"

#include <algorithm>

namespace vessor::xlsx {

namespace {

char upper(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// Digits only, exactly as many as the field is wide.
std::optional<int> fixedNumber(std::string_view text)
{
    if (text.empty())
        return std::nullopt;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

// Clock seconds (from 01/01/1970) as a serial: whole days, then the time of
// day as the fraction.
double serialOf(std::int64_t clockSeconds)
{
    constexpr std::int64_t DAY = 86400;
    constexpr int DAYS_TO_1970 = 25569;
    const std::int64_t days = clockSeconds >= 0 ? clockSeconds / DAY : -((-clockSeconds + DAY - 1) / DAY);
    const std::int64_t rest = clockSeconds - days * DAY;
    return static_cast<double>(days + DAYS_TO_1970) + static_cast<double>(rest) / 86400.0;
}

int columnsOf(std::string_view line)
{
    return static_cast<int>(std::count(line.begin(), line.end(), ',')) + 1;
}

} // namespace

bool equalsIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return upper(x) == upper(y); });
}

std::optional<double> dayFirstDateSerial(std::string_view text)
{
    if (text.size() != 10 || text[2] != '/' || text[5] != '/')
        return std::nullopt;
    const auto day = fixedNumber(text.substr(0, 2));
    const auto month = fixedNumber(text.substr(3, 2));
    const auto year = fixedNumber(text.substr(6, 4));
    // Loggers keep their clock from 1970 on.
    if (!day || !month || !year || *year < 1970)
        return std::nullopt;
    const CalendarTime date = makeCalendarTime(*year, *month, *day);
    if (!isValidCalendarTime(date))
        return std::nullopt;
    return serialOf(toCalendarSeconds(date));
}

std::optional<double> dayFirstTimeSerial(std::string_view text)
{
    download::ClockFields fields;
    if (!download::parseTimeStamp(text, fields))
        return std::nullopt;
    return serialOf(download::toClockSeconds(fields));
}

LoadResult parseDownloadBytes(std::string bytes)
{
    LoadResult result;
    result.table.bytes = std::make_unique<const std::string>(std::move(bytes));
    download::ReadResult read = download::readDownload(*result.table.bytes);
    switch (read.outcome.status) {
    case download::ReadStatus::Invalid:
        result.status = LoadStatus::Invalid;
        return result;
    case download::ReadStatus::EventFile:
        result.status = LoadStatus::EventFile;
        return result;
    case download::ReadStatus::Ok:
        break;
    }
    DownloadTable& table = result.table;
    table.data = std::move(read.data);
    bool fits = table.readingCount() <= MAX_SHEET_READINGS && columnsOf(table.data.header) <= MAX_SHEET_COLUMNS;
    for (const download::Row& row : table.data.rows)
        fits = fits && columnsOf(row.line) <= MAX_SHEET_COLUMNS;
    result.status = fits ? LoadStatus::Ok : LoadStatus::TooLargeForSheet;
    return result;
}

LoadResult loadDownloadFile(const std::string& path)
{
    InputFile input = openInputFile(path);
    return loadDownloadFile(input, path);
}

LoadResult loadDownloadFile(InputFile& input, const std::string& path)
{
    download::FileBytes file = download::loadDownloadBytes(input, path);
    switch (file.status) {
    case download::FileBytes::Status::Ok:
        break;
    case download::FileBytes::Status::CannotOpen:
        return {};
    case download::FileBytes::Status::ReadError: {
        LoadResult result;
        result.status = LoadStatus::ReadError;
        result.fileError = std::move(file.errorText);
        return result;
    }
    case download::FileBytes::Status::TooLarge: {
        LoadResult result;
        result.status = LoadStatus::Invalid;
        return result;
    }
    }
    return parseDownloadBytes(std::move(file.bytes));
}

} // namespace vessor::xlsx
