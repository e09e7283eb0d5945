// The utility's one table of device outcomes: what the user is told when
// reading or writing a logger ends in something other than success.
#pragma once

#include <string>

#include "logger/logger_link.h"
#include "logger/user_interface.h"

namespace vessor {

struct DeviceMessage {
    std::string text;  // UTF-8; empty for Ok
    MessageIcon icon = MessageIcon::None;
};
DeviceMessage deviceMessage(const DeviceResult& result);

// Shows the outcome's message (nothing for Ok); returns result.ok().
bool showDeviceResult(UserInterface& ui, const DeviceResult& result);

} // namespace vessor
