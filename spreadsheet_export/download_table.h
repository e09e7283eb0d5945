// The download file as the spreadsheet sees it. It is read by the one
// download-file reader (logger/download_reader.h), so the export takes
// exactly the files the viewer takes, and reads their times alike; the
// workbook then writes every comma field of the header and of each row read
// (an empty field is an empty cell). The bytes stay Windows-1252; the
// workbook writer converts them when it writes a text cell.
#pragma once

#include "logger/download_reader.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace vessor::xlsx {

enum class LoadStatus {
    Ok,
    CannotOpen,   // the file cannot be opened at all
    ReadError,    // the file layer failed while reading (message: its report)
    EventFile,    // an event logger's file: its rows are no readings
    Invalid,      // the viewer refuses the content
    TooLargeForSheet, // more columns or readings than a worksheet holds
};

// A worksheet holds this many columns, and this many rows with the heading row.
constexpr int MAX_SHEET_COLUMNS = 16384;
constexpr int MAX_SHEET_READINGS = 1048575;

struct DownloadTable {
    // The whole file, on the heap so that the views stay valid when the table moves.
    std::unique_ptr<const std::string> bytes;
    download::DownloadData data; // what the reader made of it; views into `bytes`

    std::string_view header() const { return data.header; }
    int readingCount() const { return data.rowCount(); }
};

struct LoadResult {
    LoadStatus status = LoadStatus::CannotOpen;
    std::string fileError; // ReadError: the file layer's report
    DownloadTable table;
};

LoadResult loadDownloadFile(const std::string& path);
// The same from a file the caller has opened already (`path` names it).
LoadResult loadDownloadFile(InputFile& file, const std::string& path);
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

using download::trimBlanks;
bool equalsIgnoringCase(std::string_view a, std::string_view b);

// A download file's time by the reader's rule (day first, the century from
// the year's last two digits) as a spreadsheet date-time serial number (days
// since 30 December 1899, the time as the fraction). No time zone: the file
// holds local clock times and so does the cell.
std::optional<double> dayFirstTimeSerial(std::string_view text);
// A date alone, "dd/mm/yyyy" (the expiry dates of CO loggers), when it is a
// real day from 1970 on.
std::optional<double> dayFirstDateSerial(std::string_view text);

} // namespace vessor::xlsx
