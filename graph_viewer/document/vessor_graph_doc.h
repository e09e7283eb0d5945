// The graph viewer's document: a download file, read by the one download-file
// reader (logger/download_reader.h), or an archive's series shaped like one
// (logger/archive/archive.h), as two trace sets (the first channel with its
// alarm lines and dew point, and the humidity channel with its alarm lines)
// on a common time axis in seconds from the first reading. A series' places
// without a reading hold NO_VALUE: the chart leaves gaps there and the
// summary counts no reading. It shows no messages: the shell tells the user
// how a read ended.
#pragma once

#include "trace_set.h"

#include "logger/archive/archive.h"
#include "logger/download_reader.h"
#include "logger/strings.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace vessor::graph {

using download::ClockFields;
using download::FieldReader;
using download::fromClockSeconds;
using download::toClockSeconds;

// Starts the desktop's text editor on a file without waiting for it.
class TextEditorLauncher {
public:
    virtual ~TextEditorLauncher() = default;
    virtual bool open(const std::string& path) = 0;
};

// Where an archive's series on show comes from (the shell names it).
struct SeriesSource {
    std::string label;   // "COLD ROOM 2 — archive, 2026-03-01 to 2026-04-01", UTF-8
    std::string archive; // the archive's URL without password
    std::string serial;  // the logger's serial number, nine digits
};

enum class LoadStatus {
    Ok,
    CannotOpen, // the file could not be opened for reading
    Invalid,    // content refused ("The File contains invaild data.")
    ReadError,  // the file layer failed while reading
    EventFile,  // an event logger's file, not plotted
};

// Messages of the viewer's reading, exactly as the user has always seen them.
namespace text {
inline constexpr const char* UNABLE_TO_OPEN = "Unable to open the file.";
inline constexpr const char* INVALID_DATA = "The File contains invaild data.";
inline constexpr const char* EVENT_QUESTION =
    "The file you are trying to open is an event log which cannot be displayed in Vessor USB "
    "Graph. Clicking 'Yes' will open the data in the text editor.\n\nNote: To import ZR-EV data into "
    "Excel, use the following method:\n\n1. In Excel, select 'File > Open'.\n2. Locate data "
    "file (*.txt) ensuring 'All Files' is selected in 'Files of type:'; click 'Open'.\n3. In "
    "'Text Import Wizard 1 of 3'; click 'Next'.\n4. Ensure 'Comma' is checked in 'Text Import "
    "Wizard 2 of 3'; click 'Finish'.\n\nFor further information consult the ZR-EV help file "
    "section 'Importing the Measurements into Other Applications'.\n\nDo you wish to open the "
    "file in the text editor?";
inline constexpr const char* EDITOR_FAILED = vessor::text::TEXT_EDITOR_NOT_FOUND;
} // namespace text

class VessorGraphDoc {
public:
    // `dataFilePath` belongs to the application object: the document sets it
    // when it opens a file and clears it when it empties.
    explicit VessorGraphDoc(std::string& dataFilePath);
    VessorGraphDoc(const VessorGraphDoc&) = delete;
    VessorGraphDoc& operator=(const VessorGraphDoc&) = delete;

    TraceSet primary{4};        // readings, high alarm, low alarm or warning level, dew point
    TraceSet secondary{3};      // humidity readings, its high and low alarms
    TraceSet* y1Set = &primary; // which set the view put on which axis
    TraceSet* y2Set = &secondary;
    std::string title; // the logger name
    int readingCount = 0;
    int rowsRead = 0; // data rows in the file (one where readingCount draws two points)
    std::string serialNumber; // file bytes; empty when the file names none
    std::int64_t startTime = 0; // clock seconds of the first reading
    int interval = 10;          // seconds between readings, 1..43200

    bool newDocument();
    // After the caller has checked that the file can be opened at all: empty
    // the document, remember the path, read the file. True whatever the
    // reading gave; a refused file leaves an empty document, and lastStatus()
    // and lastError() say why.
    bool openDocument(const std::string& path);
    // The same over the file the caller checked, read from that descriptor.
    bool openDocument(const std::string& path, InputFile& file);
    void ResetContents();

    LoadStatus ParseDownloadFile(const std::string& path);
    LoadStatus ParseDownloadFile(InputFile& file, const std::string& path);
    // The same reading over bytes in memory.
    LoadStatus ParseDownloadText(std::string_view bytes);

    // An archive's series instead of a file: no path, rows as its places
    // (gaps included). A series whose columns do not fit its places is
    // refused (Invalid) and leaves the document empty.
    LoadStatus openSeries(archive::ArchiveSeries series, SeriesSource source);
    // The series on show; none for a file or the empty document.
    const std::optional<SeriesSource>& seriesSource() const { return seriesSource_; }
    // The chart's heading: the logger name, or the series' label.
    const std::string& heading() const { return seriesSource_ ? seriesSource_->label : title; }

    // How the last read ended.
    LoadStatus lastStatus() const { return lastStatus_; }
    // CannotOpen and ReadError: the file layer's report. Invalid: the line
    // and the reason, for logs (the user is shown message 129 alone).
    const std::string& lastError() const { return lastError_; }

    static constexpr int MIN_INTERVAL = download::MIN_INTERVAL;
    static constexpr int MAX_INTERVAL = download::MAX_INTERVAL;

private:
    LoadStatus finish(LoadStatus status, std::string error = {});
    LoadStatus take(download::ReadResult read);
    void takeData(download::DownloadData& data);

    std::string& dataFilePath_;
    LoadStatus lastStatus_ = LoadStatus::Ok;
    std::string lastError_;
    std::optional<SeriesSource> seriesSource_;
};

} // namespace vessor::graph
