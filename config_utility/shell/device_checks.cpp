#include "config_utility/shell/device_checks.h"

#include <string>

#include "config_utility/wizard/page_sequence.h"
#include "logger/logger_config.h"
#include "logger/strings.h"

namespace vessor {

namespace {

// The steps both commands share. Only a failed read or an unknown type end
// the command; battery, sensor and CO date warnings are shown and passed.
bool commonChecks(LoggerConfig& config)
{
    if (!config.refresh())
        return false;
    if (!config.checkCompatible())
        return false;
    config.checkBattery();
    config.checkSensorError(true);
    if (config.modelHas(GROUP_CO)) {
        std::string text;
        // An invalid sensor-life date says all there is to say; the
        // calibration date is checked only behind a valid one.
        if (config.sensorLifeStatus(text, true))
            config.calibrationStatus(text, true);
    }
    return true;
}

} // namespace

int runSetUpChecks(LoggerConfig& config)
{
    if (!commonChecks(config))
        return NO_PAGE;
    UserInterface* ui = config.userInterface();
    if (config.isLogging()) {
        const int question = config.isDelayedStart()     ? MSG_SETUP_WHILE_DELAYED
                             : config.isAwaitingButton() ? MSG_SETUP_AWAITING_BUTTON
                                                         : MSG_SETUP_WHILE_LOGGING;
        if (askMessage(ui, question, MessageButtons::YesNo, MessageIcon::None) != Answer::Yes)
            return NO_PAGE;
        if (!config.stopLogging())
            return NO_PAGE;
    } else if (config.hasUndownloadedData()) {
        if (askMessage(ui, MSG_SETUP_NOT_DOWNLOADED, MessageButtons::OkCancel, MessageIcon::None)
            != Answer::Ok)
            return NO_PAGE;
    }
    return entryPage(config.modelType());
}

bool runStopChecks(LoggerConfig& config)
{
    if (!commonChecks(config))
        return false;
    if (!config.isLogging())
        return true;
    UserInterface* ui = config.userInterface();
    Answer answer;
    if (config.isDelayedStart())
        answer = askMessage(ui, MSG_CONFIRM_STOP_DELAYED, MessageButtons::YesNo, MessageIcon::Question);
    else if (config.isAwaitingButton())
        answer = askMessage(ui, MSG_SETUP_AWAITING_BUTTON, MessageButtons::YesNo, MessageIcon::None);
    else
        answer = askMessage(ui, MSG_CONFIRM_STOP, MessageButtons::YesNo, MessageIcon::Question);
    if (answer != Answer::Yes)
        return false;
    return config.stopLogging();
}

bool runStatusChecks(LoggerConfig& config)
{
    return config.refresh() && config.checkCompatible();
}

} // namespace vessor
