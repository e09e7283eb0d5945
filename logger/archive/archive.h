// The archive of downloads: every download file stored once (its bytes
// compressed, their SHA-256, who and when), its readings merged into one
// series per logger keyed by (serial, time), conflicts kept beside it,
// deletions recorded instead of carried out. Qt-free: `vessor-logger
// archive`, the download hooks and the programs' dialogs all use it. The
// schema, URL rules and merging rules are in docs/archive.md.
#pragma once

#include "logger/archive/archive_url.h"
#include "logger/archive/audit.h"
#include "logger/archive/store.h"
#include "logger/download_reader.h"
#include "logger/summary.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vessor::archive {

// A value, or why there is none (one line, no password).
template <class T>
struct Result {
    std::optional<T> value;
    std::string error;

    bool ok() const { return value.has_value(); }
    static Result failure(std::string why) { return Result{std::nullopt, std::move(why)}; }
};

// One stored download, as `archive list` prints it.
struct DownloadEntry {
    std::int64_t id = 0;
    std::int64_t serial = 0;
    std::string loggerName; // UTF-8
    std::string heading;    // the reading's heading ("Celsius(°C)"), UTF-8
    std::optional<std::int64_t> firstTime, lastTime; // clock seconds
    int readings = 0;       // data rows of the file
    std::string sourceName; // the file's name when stored
    std::int64_t storedAt = 0; // Unix seconds
    std::string storedBy;
    bool event = false;     // an event logger's file: stored without a series
};

// A reading that differs from the one kept for the same logger and time.
struct ConflictEntry {
    std::int64_t serial = 0;
    std::int64_t time = 0; // clock seconds
    std::int64_t keptDownload = 0;
    std::string keptValue;  // "22.0", with "/humidity/dew point" where the logger has them
    std::int64_t otherDownload = 0;
    std::string otherValue;
};

// One logger of the archive (for a picker): its latest name and heading and
// the span of its visible downloads.
struct LoggerEntry {
    std::int64_t serial = 0;
    std::string loggerName;
    std::string heading;
    std::optional<std::int64_t> firstTime, lastTime;
    int downloads = 0;
    bool event = false; // its latest download is an event logger's file
};

enum class ImportStatus {
    Stored,        // a new download
    AlreadyStored, // the same bytes are stored already (`downloadId`): nothing added
    Refused,       // not a download file the archive can take (`message`)
    Failed,        // the archive could not store it (`message`)
};

struct ImportResult {
    ImportStatus status = ImportStatus::Failed;
    std::int64_t downloadId = 0;
    bool event = false;
    bool hidden = false;        // AlreadyStored: that download was deleted
    int readings = 0;           // data rows of the file
    std::int64_t added = 0;     // readings new to the logger's series
    std::int64_t conflicts = 0; // readings that differ from the ones kept
    std::string message;

    bool ok() const { return status == ImportStatus::Stored || status == ImportStatus::AlreadyStored; }
};

// A file the export writes: `name` is SERIAL-YYYYMMDDTHHMMSS.txt after its
// first reading (an event file: after its first row).
struct ExportFile {
    std::string name;
    std::string bytes;
    int readings = 0;
};

// A logger's readings over a range as one evenly spaced series, as the
// viewer draws a file: `data` is shaped like a read download file (title,
// start, interval, channels with NO_VALUE where there is no reading, one
// row per place with its time where a reading is), so the viewer's
// document and the summary take it as they take a file.
struct ArchiveSeries {
    std::int64_t serial = 0;
    download::DownloadData data; // data.header is left empty: the line is `header`
    std::string header;    // the header line of the latest download in the series (Windows-1252)
    int readings = 0;      // places with a reading
    int gaps = 0;          // runs of places without one between readings
    int leftOut = 0;       // readings of another interval or set of channels in the range
    int moved = 0;         // readings placed on the nearest place of the grid
    std::vector<std::int64_t> downloads; // the downloads the readings come from

    int places() const { return data.rowCount(); }
};

// The summary over places [from, to) of a series (gaps are no readings, so
// an excursion ends at a gap).
download::Summary summarizeSeries(const ArchiveSeries& series, download::ReadingRange range = {},
                                  double activationEnergy = download::DEFAULT_ACTIVATION_ENERGY);

struct VerifyReport {
    int downloads = 0;
    std::int64_t readings = 0;
    std::vector<std::string> differences; // one line each
    std::string error;                    // the archive could not be read
};

// The largest series `series()` builds (places), so a long range at a short
// interval is refused instead of filling the memory.
inline constexpr std::int64_t LARGEST_SERIES = 20'000'000;

struct PreparedImport;

class Archive {
public:
    // Opens the archive of `url` and brings its schema up to date; nullptr
    // with the reason (naming the URL without its password).
    static std::unique_ptr<Archive> open(const ArchiveUrl& url, std::string& error);
    Archive(std::unique_ptr<ArchiveStore> store, std::string display);

    // The URL for messages.
    const std::string& display() const { return display_; }
    ArchiveStore& store() { return *store_; }

    // Stores one download file (its bytes as read or written; `sourceName`
    // the file's name), through the one download-file reader.
    ImportResult importFile(std::string_view bytes, std::string_view sourceName, const Stamp& stamp);

    // Visible downloads, oldest first; of one logger when `serial` is given.
    Result<std::vector<DownloadEntry>> downloads(std::optional<std::int64_t> serial = std::nullopt);
    Result<std::vector<ConflictEntry>> conflicts(std::optional<std::int64_t> serial = std::nullopt);
    Result<std::vector<LoggerEntry>> loggers();

    // The merged readings of `serial` in [from, to) as download files, one
    // per stretch (readings one interval apart with the same channels and
    // units); an event logger's original files instead.
    Result<std::vector<ExportFile>> exportFiles(std::int64_t serial, std::optional<std::int64_t> from,
                                                std::optional<std::int64_t> to);

    // The merged readings of `serial` in [from, to) on one grid: the
    // interval and set of channels that most readings in the range have.
    Result<ArchiveSeries> series(std::int64_t serial, std::optional<std::int64_t> from,
                                 std::optional<std::int64_t> to);

    // Re-hashes every stored file and re-reads it against the stored readings.
    VerifyReport verify();

    // Hides download `id` from lists, exports and the series; records who,
    // when and why. Empty on success, else why not.
    std::string hide(std::int64_t id, std::string_view reason, const Stamp& stamp);

private:
    struct DownloadRecord;
    Result<std::vector<DownloadRecord>> records(std::int64_t serial, std::optional<std::int64_t> from,
                                                std::optional<std::int64_t> to);
    ImportResult storeOnce(const PreparedImport& prepared, const Stamp& stamp);

    std::unique_ptr<ArchiveStore> store_;
    std::string display_;
};

// A serial number as files write it (digits, at most 18); nullopt otherwise.
std::optional<std::int64_t> parseSerial(std::string_view text);
// The nine-digit form files and lists use ("070001234").
std::string serialText(std::int64_t serial);
// "SERIAL-YYYYMMDDTHHMMSS": the name of what is written of a logger's
// readings from `time` on (the export's files, the viewer's report).
std::string stretchStem(std::int64_t serial, std::int64_t time);

// "YYYY-MM-DDTHH:MM:SS" in the logger's clock -> clock seconds; nullopt
// when it is not such a time.
std::optional<std::int64_t> parseIsoTime(std::string_view text);

// What the programs do after a download was saved: store `bytes` (the file
// just written at `path`) in the chosen archive. Empty when stored (or no
// archive is chosen), else the warning to show; the file itself is never
// touched.
std::string archiveSavedDownload(const ArchiveChoice& choice, std::string_view bytes, const std::string& path);

} // namespace vessor::archive
