// The download file as the spreadsheet sees it: the header line and the data
// lines, split at every comma (an empty field is an empty cell). The bytes stay
// Windows-1252; the workbook writer converts them when it writes a text cell.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vessor::xlsx {

enum class LoadStatus {
    Ok,
    CannotOpen, // the file cannot be read at all
    EventFile,  // an event logger's file: its rows are no readings
    Invalid,    // no header, no data row, or no valid time in the first row
};

struct DownloadTable {
    // The whole file, on the heap so that the views stay valid when the table moves.
    std::unique_ptr<const std::string> bytes;
    std::string_view header;            // the header line, blanks stripped
    std::vector<std::string_view> rows; // data lines, line ends stripped, blank lines left out
};

struct LoadResult {
    LoadStatus status = LoadStatus::CannotOpen;
    DownloadTable table;
};

// Reads and checks a download file. Blank lines carry nothing and are left
// out, so the sheet has one row per reading whatever the file's line ends.
LoadResult loadDownloadFile(const std::string& path);
// The same over bytes already read (tests, and files from elsewhere).
LoadResult parseDownloadBytes(std::string bytes);

// Calls `field(index, text)` for every comma-separated field of a line; a
// line of n commas has n + 1 fields.
template <typename Fn> void forEachField(std::string_view line, Fn&& field)
{
    int index = 0;
    for (;;) {
        const auto comma = line.find(',');
        field(index++, line.substr(0, comma));
        if (comma == std::string_view::npos)
            return;
        line.remove_prefix(comma + 1);
    }
}

std::string_view trimBlanks(std::string_view text);
bool equalsIgnoringCase(std::string_view a, std::string_view b);

// A download file's time "dd/mm/yyyy hh:mm:ss", day first, as a spreadsheet
// date-time serial number (days since 30 December 1899, the time as the
// fraction). No time zone: the file holds local clock times and so does the
// cell. Anything else (a one-digit day, 31/02, a year before 1970) is nullopt.
std::optional<double> dayFirstTimeSerial(std::string_view text);
// The same for a date alone, "dd/mm/yyyy" (the expiry dates of CO loggers).
std::optional<double> dayFirstDateSerial(std::string_view text);

} // namespace vessor::xlsx
