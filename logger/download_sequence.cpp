#include "download_sequence.h"

namespace vessor {

namespace {

DownloadResult deviceFailed(DeviceResult device) {
    DownloadResult result;
    result.step = DownloadStep::DeviceFailed;
    result.device = std::move(device);
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
        if (DeviceResult read = session.readSamples(samples); !read)
            return deviceFailed(std::move(read));
    }
    DownloadResult result;
    result.path = prompts.chooseFile(session.config());
    if (result.path.empty()) {
        result.step = DownloadStep::NotSaved;
        return result;
    }
    const Busy busy(prompts);
    result.saved = writeDownloadFile(session.config(), samples, result.path);
    if (!result.saved.ok())
        result.step = DownloadStep::SaveFailed;
    return result;
}

} // namespace vessor
