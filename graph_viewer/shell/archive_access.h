// File › Open from Archive… without widgets: which archive the viewer
// reads (VESSOR_ARCHIVE, else the utility's setting Archive/URL, else the
// default file), opening it for reading with a message for every way that
// fails, the range a logger opens with, and the texts that name a series.
#pragma once

#include "logger/archive/archive.h"

#include <QDateTime>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>

namespace vessor::graph {

// The utility's setting, read from its own settings
// (QSettings("Meridane Electronics", "vessor-usb")); nullopt when unset.
std::optional<std::string> utilityArchiveSetting();

// The archive the viewer reads: VESSOR_ARCHIVE, else `setting`, else the default.
archive::ArchiveChoice viewerArchiveChoice(const std::optional<std::string>& setting);

// The chosen archive opened for reading, or the message that says why not:
// no archive chosen, a bad URL, a SQLite file that is not there (never made
// here), a server that does not answer within DIALOG_CONNECT_TIMEOUT seconds.
struct OpenedArchive {
    std::unique_ptr<archive::Archive> archive;
    std::string message;
};
OpenedArchive openArchiveForViewing(const archive::ArchiveChoice& choice);

// The range the dialog opens with for a logger: from midnight before its
// first reading to midnight after its last, so the whole span is in
// [from, to) and the title reads "2026-03-01 to 2026-04-01".
std::pair<std::int64_t, std::int64_t> wholeSpan(const archive::LoggerEntry& logger);

// Clock seconds (the logger's clock, no time zone) as a date-time for the
// dialog's fields, and back; the fields hold UTC so no daylight-saving jump
// moves them.
QDateTime clockDateTime(std::int64_t clockSeconds);
std::int64_t clockSecondsOf(const QDateTime& dateTime);

// "2026-03-01", "2026-03-01 08:30" or "2026-03-01 08:30:15".
std::string rangeTimeText(std::int64_t clockSeconds);
// "COLD ROOM 2 — archive, 2026-03-01 to 2026-04-01" (the serial number
// stands in for a name the logger has not been given).
std::string seriesLabel(const std::string& loggerName, std::int64_t serial, std::int64_t from,
                        std::int64_t to);
// What the status bar says about a series: readings, downloads, gaps, and
// readings left out or moved onto the grid when there are any.
std::string seriesFacts(const archive::ArchiveSeries& series);

} // namespace vessor::graph
