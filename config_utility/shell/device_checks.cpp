#include "config_utility/shell/device_checks.h"

#include "config_utility/shell/device_messages.h"
#include "config_utility/wizard/page_sequence.h"
#include "logger/download_sequence.h"
#include "logger/setup/setup_steps.h"
#include "logger/strings.h"

namespace vessor {

namespace {

// The stop question the utility asks for the logger's state.
class StopQuestion : public DownloadPrompts {
public:
    explicit StopQuestion(UserInterface& ui) : m_ui(ui) {}

    bool confirmStop(const LoggerConfig& config) override
    {
        Answer answer;
        if (config.isDelayedStart())
            answer = askMessage(&m_ui, MSG_CONFIRM_STOP_DELAYED, MessageButtons::YesNo, MessageIcon::Question);
        else if (config.isAwaitingButton())
            answer = askMessage(&m_ui, MSG_SETUP_AWAITING_BUTTON, MessageButtons::YesNo, MessageIcon::None);
        else
            answer = askMessage(&m_ui, MSG_CONFIRM_STOP, MessageButtons::YesNo, MessageIcon::Question);
        return answer == Answer::Yes;
    }
    // The file is chosen on the stop page, not here.
    std::string chooseFile(const LoggerConfig&) override { return {}; }

private:
    UserInterface& m_ui;
};

} // namespace

int runSetUpChecks(LoggerSession& session, UserInterface& ui, const CalendarTime& today)
{
    if (!showDeviceResult(ui, refreshAndWarn(session, &ui, today)))
        return NO_PAGE;
    const LoggerConfig& config = session.config();
    const int question = setUpQuestion(config);
    if (config.isLogging()) {
        if (askMessage(&ui, question, MessageButtons::YesNo, MessageIcon::None) != Answer::Yes)
            return NO_PAGE;
        if (!showDeviceResult(ui, session.stopLogging()))
            return NO_PAGE;
    } else if (question != 0) {
        if (askMessage(&ui, question, MessageButtons::OkCancel, MessageIcon::None) != Answer::Ok)
            return NO_PAGE;
    }
    return entryPage(config.modelType());
}

bool runStopChecks(LoggerSession& session, UserInterface& ui, const CalendarTime& today)
{
    StopQuestion question(ui);
    const DownloadResult result = prepareDownload(session, &ui, today, question);
    if (result.step == DownloadStep::DeviceFailed)
        showDeviceResult(ui, result.device);
    if (result.step == DownloadStep::BadStartDate)
        ui.showMessage(result.refusal, MessageIcon::Warning);
    return result.ok();
}

bool runStatusChecks(LoggerSession& session, UserInterface& ui)
{
    return showDeviceResult(ui, session.refreshKnown());
}

} // namespace vessor
