// The download file: the comma-separated text a download leaves on the PC,
// built from theConfig and the samples of the data memory. The stop page and
// `vessor-logger download` both write it through these functions, so both
// produce the same bytes.
//
// The bytes are Windows-1252 (degree sign 0xB0) with CR LF line ends; every
// number is written the same way whatever the C locale says. The format is
// described in docs/download-file.md.
#pragma once

#include "calendar.h"
#include "logger_config.h"
#include "safe_save.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vessor {

// Characters a logger name loses on its way to the default file name.
inline constexpr std::string_view FILE_NAME_REMOVED_CHARACTERS = "\"%&*,./:<>?\\|";

// The logger name (cp1252 bytes) without the removed characters and without
// control characters (bytes below 0x20 and 0x7F, which would reach the file
// name and the terminal); empty when nothing is left. The caller adds ".txt".
std::string defaultDownloadFileName(std::string_view loggerName);

// Seconds between two rows: countPeriod on the event logger, sampleInterval
// on every other model.
std::uint64_t downloadTimeStep(const LoggerConfig& config);

// Which samples the rows of a sampling file read: `rows` rows starting at
// sample `first`; the index returns to 0 when it reaches `ring` (the wrap
// storage ring, one or two samples per reading).
struct SampleLayout {
    long rows = 0;
    std::size_t first = 0;
    std::size_t ring = 0;
};
SampleLayout sampleLayout(const LoggerConfig& config);

// The header line, without its line end.
std::string downloadHeader(const LoggerConfig& config);

enum class DownloadError {
    None,
    NoReadings,     // the file would hold no data row
    SampleMissing,  // a row needs a sample the data read did not deliver
    NoPath,         // empty file name
    OpenFailed,     // the file cannot be created (or the old one not replaced)
    WriteFailed,    // writing, flushing or replacing failed
};

struct DownloadOutcome {
    DownloadError error = DownloadError::None;
    std::string message;  // UTF-8, ready to show; empty on success

    bool ok() const { return error == DownloadError::None; }
};

// Builds the whole file into `out` (cleared first). `start` is the time of
// the first reading (the logging start on the event logger); its tenths are
// ignored. On failure `out` holds what was built so far and must not be
// saved.
DownloadOutcome buildDownloadFile(const LoggerConfig& config, const SampleBuffer& samples,
                                  const CalendarTime& start, std::string& out);
// The same from config.firstReadingTime().
DownloadOutcome buildDownloadFile(const LoggerConfig& config, const SampleBuffer& samples,
                                  std::string& out);

// Puts `bytes` at `path` (native file name bytes) through saveFile: a
// failure leaves an existing file of that name untouched and no partial file
// behind; a target that may not be written is refused ("Failed opening
// file:"), as the old in-place write would have been.
DownloadOutcome saveDownloadFile(const std::string& path, std::string_view bytes,
                                 const SaveOptions& options = {});

// buildDownloadFile from firstReadingTime, then saveDownloadFile.
DownloadOutcome writeDownloadFile(const LoggerConfig& config, const SampleBuffer& samples,
                                  const std::string& path);

// Texts of the failures that have no string-table id.
namespace text {
inline constexpr const char* NO_READINGS = "The logger holds no readings to save.";
inline constexpr const char* SAMPLE_MISSING =
    "The data read from the logger is incomplete: reading %s is missing (%s were read).\n"
    "Nothing was saved; the data is still on the logger.";
inline constexpr const char* FAILED_WRITING_FILE =
    "Failed writing file:\n%s\n%s\nThe file was not saved; the data is still on the logger.";
} // namespace text

} // namespace vessor
