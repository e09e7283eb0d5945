// The utility's table of device outcomes: which message each one shows.
#include <gtest/gtest.h>

#include "config_utility/shell/device_messages.h"
#include "config_utility/support/scripted_ui.h"
#include "logger/strings.h"

namespace vessor {
namespace {

TEST(DeviceMessages, EveryOutcomeShowsItsMessageOnce)
{
    const std::string ioText = messageText(MSG_COMMUNICATION_ERROR);
    const struct {
        DeviceResult result;
        std::string text;  // empty: nothing shown
    } cases[] = {
        {{DeviceOutcome::Ok, "ignored"}, ""},
        {{DeviceOutcome::NoDevice, "no logger found"}, messageText(MSG_NO_LOGGER)},
        {{DeviceOutcome::NoAccess, ""}, ioText},
        {{DeviceOutcome::NoAccess, "Permission denied on /dev/bus/usb/001/004"},
         ioText + "\n\nPermission denied on /dev/bus/usb/001/004"},
        {{DeviceOutcome::IoFailure, "read failed: device I/O failed"}, ioText},
        {{DeviceOutcome::TimedOut, "read timed out"}, ioText},
        {{DeviceOutcome::BadReply, "configuration reply announces 300 bytes"}, ioText},
        {{DeviceOutcome::ShortBlock, "short"}, ioText},
        {{DeviceOutcome::LoggerReplaced, "serial 000000222"}, messageText(MSG_LOGGER_REPLACED)},
        {{DeviceOutcome::Incompatible, "model 19"}, messageText(MSG_INCOMPATIBLE)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.result.detail);
        EXPECT_EQ(deviceMessage(c.result).text, c.text);
        test::ScriptedUserInterface ui;
        EXPECT_EQ(showDeviceResult(ui, c.result), c.result.ok());
        ASSERT_EQ(ui.log().size(), c.text.empty() ? 0u : 1u);
        if (!c.text.empty()) {
            EXPECT_EQ(ui.log()[0].text, c.text);
            EXPECT_EQ(ui.log()[0].icon, MessageIcon::None);
            EXPECT_FALSE(ui.log()[0].question);
        }
    }
}

} // namespace
} // namespace vessor
