// Stop and Download, once for both programs: read the logger, warn, stop it
// when the caller agrees, read the data memory, pick the file, write it.
// The utility's stop page and `vessor-logger download` differ only in how
// they ask (DownloadPrompts) and how they report the result.
#pragma once

#include "download_file.h"
#include "session.h"

#include <string>
#include <string_view>

namespace vessor {

enum class DownloadStep {
    Done,
    DeviceFailed,  // `device` says why
    StopDeclined,  // the logger is logging and the caller did not stop it
    BadStartDate,  // the stored start date is no date: `refusal` says so; nothing was written
    NotSaved,      // no file was chosen
    SaveFailed,    // `saved` says why
};

struct DownloadResult {
    DownloadStep step = DownloadStep::Done;
    DeviceResult device;
    DownloadOutcome saved;
    std::string path;  // the file written
    std::string refusal;  // BadStartDate: the message

    bool ok() const { return step == DownloadStep::Done; }
};

// What each program supplies.
class DownloadPrompts {
public:
    virtual ~DownloadPrompts() = default;
    // The logger is logging: stop it now?
    virtual bool confirmStop(const LoggerConfig& config) = 0;
    // The file for the readings (native file name bytes); empty when none
    // was chosen.
    virtual std::string chooseFile(const LoggerConfig& config) = 0;
    // The device or the disk is busy (a wait cursor), or no longer.
    virtual void busy(bool /*on*/) {}
    // The file was written: `bytes` are what `path` now holds (each program
    // stores them in its archive here; nothing it does can undo the save).
    virtual void saved(const std::string& /*path*/, std::string_view /*bytes*/) {}
};

// Reads the logger, refuses a model this program does not know, shows the
// warnings through `ui`, refuses a start date that is no date (before any
// stop: the logger is left as it is) and, when the logger is logging, stops
// it once the caller confirms.
DownloadResult prepareDownload(LoggerSession& session, UserInterface* ui, const CalendarTime& today,
                               DownloadPrompts& prompts);

// Reads the data memory into `samples` (after reading the block again when
// `rereadFirst`: a logger may have been swapped since the stop), refuses a
// start date that is no date, asks for the file, writes it and hands the
// bytes written to prompts.saved.
DownloadResult saveReadings(LoggerSession& session, SampleBuffer& samples, DownloadPrompts& prompts,
                            bool rereadFirst);

} // namespace vessor
