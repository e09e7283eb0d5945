#include "download_sequence.h"

#include <cstdio>

namespace vessor {

namespace {

DownloadResult deviceFailed(DeviceResult device) {
    DownloadResult result;
    result.step = DownloadStep::DeviceFailed;
    result.device = std::move(device);
    return result;
}

// Rows are timed from the start date: one that is no date would give times
// that run backwards, a file the viewer refuses. Empty when it is a date.
std::string startDateRefusal(const LoggerConfig& config) {
    CalendarTime date = config.startTime();
    date.hour = date.minute = date.second = 0;
    if (isValidCalendarTime(date))
        return {};
    char stored[32];
    std::snprintf(stored, sizeof stored, "%02d/%02d/%04d", config.startDay(), config.startMonth(),
                  date.fullYear());
    return std::string("The logger's start date (") + stored +
           ") is not a valid date, so its readings cannot be given times. No file was written; "
           "the readings stay in the logger.";
}

DownloadResult badStartDate(std::string refusal) {
    DownloadResult result;
    result.step = DownloadStep::BadStartDate;
    result.refusal = std::move(refusal);
    return result;
}

// Ends the caller's busy state however the step is left.
class Busy {
public:
    explicit Busy(DownloadPrompts& prompts) : prompts_(prompts) { prompts_.busy(true); }
    ~Busy() { prompts_.busy(false); }
    Busy(const Busy&) = delete;
    Busy& operator=(const Busy&) = delete;

private:
    DownloadPrompts& prompts_;
};

} // namespace

DownloadResult prepareDownload(LoggerSession& session, UserInterface* ui, const CalendarTime& today,
                               DownloadPrompts& prompts) {
    if (DeviceResult read = refreshAndWarn(session, ui, today); !read)
        return deviceFailed(std::move(read));
    if (std::string refusal = startDateRefusal(session.config()); !refusal.empty())
        return badStartDate(std::move(refusal));
    if (!session.config().isLogging())
        return {};
    if (!prompts.confirmStop(session.config())) {
        DownloadResult result;
        result.step = DownloadStep::StopDeclined;
        return result;
    }
    if (DeviceResult stopped = session.stopLogging(); !stopped)
        return deviceFailed(std::move(stopped));
    return {};
}

DownloadResult saveReadings(LoggerSession& session, SampleBuffer& samples, DownloadPrompts& prompts,
                            bool rereadFirst) {
    {
        const Busy busy(prompts);
        // A device of an unknown kind plugged in since the stop is not
        // written out.
        if (rereadFirst) {
            if (DeviceResult read = session.refreshKnown(); !read)
                return deviceFailed(std::move(read));
        }
        if (std::string refusal = startDateRefusal(session.config()); !refusal.empty())
            return badStartDate(std::move(refusal));
        if (DeviceResult read = session.readSamples(samples); !read)
            return deviceFailed(std::move(read));
    }
    DownloadResult result;
    result.path = prompts.chooseFile(session.config());
    if (result.path.empty()) {
        result.step = DownloadStep::NotSaved;
        return result;
    }
    std::string bytes;
    {
        const Busy busy(prompts);
        result.saved = buildDownloadFile(session.config(), samples, bytes);
        if (result.saved.ok())
            result.saved = saveDownloadFile(result.path, bytes);
    }
    if (!result.saved.ok()) {
        result.step = DownloadStep::SaveFailed;
        return result;
    }
    // Outside the busy state: the program may show a warning here.
    prompts.saved(result.path, bytes);
    return result;
}

} // namespace vessor
