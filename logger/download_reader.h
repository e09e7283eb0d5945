// The one reader of download files, beside their writer. The graph viewer's
// document and the spreadsheet export both read through it, so a file is
// accepted by both or by neither, with the same start time and values.
//
// What it demands and forgives is in docs/download-file.md. It reads bytes
// already in memory and knows nothing of files, messages or charts.
#pragma once

#include "logger/download_fields.h"
#include "logger/open_file.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vessor::download {

// The value of a point the file does not give: an alarm level it does not
// announce, a dew point of "Error".
inline constexpr double NO_VALUE = 1e308;

inline bool isNoValue(double y) {
    return y >= NO_VALUE;
}

// The second row's time minus the first's, held to this range, is the
// interval of the whole file.
inline constexpr int MIN_INTERVAL = 1;
inline constexpr int MAX_INTERVAL = 43200;

// No download line comes near this (a million commas is 1 MiB); such a line
// makes the file invalid rather than filling the memory.
inline constexpr std::size_t LONGEST_LINE = std::size_t{64} << 20;

enum class ReadStatus {
    Ok,
    Invalid,   // refused content ("The File contains invaild data.")
    EventFile, // an event logger's file: "EVENT" after the second heading
};

struct ReadOutcome {
    ReadStatus status = ReadStatus::Invalid;
    // Invalid only: the line (from 1) that made the file invalid and why,
    // for logs; the user sees message 129 alone.
    int line = 0;
    std::string reason;
};

// One channel with its alarm lines. Texts are UTF-8 (the file's
// Windows-1252 decoded once, here).
struct Channel {
    bool present = false;
    std::string name; // heading text before "("
    std::string unit; // heading text between "(" and ")"
    std::string highLabel;
    std::string lowLabel;
    std::string extraLabel; // primary only: the dew point's heading before "("
    bool hasHigh = false;
    bool hasLow = false;
    bool hasExtra = false; // primary only
    int decimals = 0;      // digits after the point of the last row's reading (primary only)
    // One value per row read when the channel is present; NO_VALUE where the
    // file gives none (an alarm it does not announce).
    std::vector<double> readings;
    std::vector<double> high;
    std::vector<double> low;
    std::vector<double> extra; // when hasExtra
};

struct Row {
    // The line as written, its line end dropped; a view into the bytes read.
    // Consumers that need fields the channels do not hold (the serial number,
    // a CO logger's expiry dates) split it themselves.
    std::string_view line;
    // The row's own time by the rule of the first two rows' times; none when
    // the field does not pass it (later rows' times are not checked).
    std::optional<std::int64_t> time; // clock seconds
};

struct DownloadData {
    std::string title;        // the logger name, UTF-8
    std::string_view header;  // the header line, blanks stripped; a view into the bytes
    std::int64_t startTime = 0; // clock seconds of the first reading
    int interval = 1;           // seconds, MIN_INTERVAL..MAX_INTERVAL
    Channel primary;   // left axis: readings, alarms, dew point
    Channel secondary; // right axis: humidity and its alarms
    std::vector<Row> rows; // every data row read, in order (the first alone: ReadOptions)
    int rowsRead = 0;      // data rows read, kept in `rows` or not

    int rowCount() const { return rowsRead; }
};

// What the reader keeps besides the channels.
struct ReadOptions {
    // Every row's line and time, which the workbook lists. Without, only the
    // first row is kept (the serial number is in it): a million rows then
    // cost 30 MB less and no time parsing, and rowCount() counts them all.
    bool everyRow = true;
};

struct ReadResult {
    ReadOutcome outcome;
    DownloadData data; // empty unless outcome.status is Ok
};

// Reads a whole download file held in memory. The views in the result point
// into `bytes`, which must outlive them.
ReadResult readDownload(const char* bytes, std::size_t size, ReadOptions options = {});
inline ReadResult readDownload(std::string_view bytes, ReadOptions options = {}) {
    return readDownload(bytes.data(), bytes.size(), options);
}
// A temporary's bytes would be gone before the views into them are read.
ReadResult readDownload(std::string&& bytes, ReadOptions options = {}) = delete;

// The channels a header line announces (names, units, alarm labels, the
// extra trace) as readDownload makes them, without values; none for an
// event logger's header or one of fewer than two fields.
std::optional<DownloadData> readHeader(std::string_view headerLine);

// What an event logger's file (ReadStatus::EventFile) says about itself:
// it has no channels to read, only rows of records.
struct EventFileFacts {
    std::string title;   // the logger name, UTF-8
    std::string heading; // the third heading ("Event(Rising)"), UTF-8
    std::string serial;  // the first row's "Serial Number" field
    int rows = 0;        // data rows (blank lines skipped)
    std::optional<std::int64_t> first, last; // clock seconds of the first and last row
};
EventFileFacts readEventFile(std::string_view bytes);

// The logger's serial number: the first row's field under the header's
// "Serial Number" column; empty when the file has none.
std::string serialNumber(const DownloadData& data);

// The time field rule: exactly 19 characters, six whole numbers separated by
// "/", ":", "," or blanks, day 1..31, month 1..12, year from 1970, hour
// 0..23, minute and second 0..59; the century comes from the last two digits
// of the year (00..69 are 2000..2069, 70..99 are 1970..1999).
bool parseTimeStamp(std::string_view text, ClockFields& fields);

// A download file's bytes, read whole. Files come as large as a million rows;
// beyond LARGEST_FILE no download file goes.
inline constexpr std::size_t LARGEST_FILE = std::size_t{1} << 30;

struct FileBytes {
    enum class Status {
        Ok,
        CannotOpen, // errorText: the system's reason; `problem` says which
        ReadError,  // errorText: "An error occurred while reading PATH:\nREASON." (a folder too)
        TooLarge,   // a line or the file beyond any download file: invalid data
    };
    Status status = Status::CannotOpen;
    std::string bytes;
    std::string errorText;
    OpenProblem problem = OpenProblem::CannotOpen;
};

// Opens `path` (the name's bytes) once and reads only a plain file, never
// waiting on a FIFO or a device.
FileBytes loadDownloadBytes(const std::string& path);
// The same from a file the caller has opened (and checked) already; `path`
// only names it in messages.
FileBytes loadDownloadBytes(InputFile& file, const std::string& path);

} // namespace vessor::download
