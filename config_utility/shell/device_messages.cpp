#include "config_utility/shell/device_messages.h"

#include "logger/strings.h"

namespace vessor {

namespace {

struct OutcomeRow {
    DeviceOutcome outcome;
    int messageId;
};

// Every transfer failure is one message to the user; the difference is for
// the logs (DeviceResult::detail).
constexpr OutcomeRow OUTCOME_MESSAGES[] = {
    {DeviceOutcome::NoDevice, MSG_NO_LOGGER},
    {DeviceOutcome::NoAccess, MSG_COMMUNICATION_ERROR},
    {DeviceOutcome::IoFailure, MSG_COMMUNICATION_ERROR},
    {DeviceOutcome::TimedOut, MSG_COMMUNICATION_ERROR},
    {DeviceOutcome::BadReply, MSG_COMMUNICATION_ERROR},
    {DeviceOutcome::ShortBlock, MSG_COMMUNICATION_ERROR},
    {DeviceOutcome::LoggerReplaced, MSG_LOGGER_REPLACED},
    {DeviceOutcome::Incompatible, MSG_INCOMPATIBLE},
};

} // namespace

DeviceMessage deviceMessage(const DeviceResult& result)
{
    if (result.ok())
        return {};
    int id = MSG_COMMUNICATION_ERROR;
    for (const OutcomeRow& row : OUTCOME_MESSAGES)
        if (row.outcome == result.outcome)
            id = row.messageId;
    std::string text = messageText(id);
    // An open failure carries what the transport knows (no permission on
    // the device node, the device claimed by another program): what to do.
    if (result.outcome == DeviceOutcome::NoAccess && !result.detail.empty())
        text += "\n\n" + result.detail;
    return {text, MessageIcon::None};
}

bool showDeviceResult(UserInterface& ui, const DeviceResult& result)
{
    if (result.ok())
        return true;
    const DeviceMessage message = deviceMessage(result);
    ui.showMessage(message.text, message.icon);
    return false;
}

} // namespace vessor
