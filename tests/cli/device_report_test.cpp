// vessor-logger's table of device outcomes: the message on stderr and the
// exit status each one ends a command with.
#include "cli/cli_support.h"

#include "logger/strings.h"

#include <gtest/gtest.h>

namespace vessor::cli {
namespace {

TEST(DeviceReport, EveryOutcomeHasItsMessageAndExitStatus) {
    const std::string ioText = messageText(MSG_COMMUNICATION_ERROR);
    const struct {
        DeviceResult result;
        std::string message;
        int exitStatus;
    } cases[] = {
        {{DeviceOutcome::Ok, "ignored"}, "", EXIT_OK},
        {{DeviceOutcome::NoDevice, "no logger found"}, messageText(MSG_NO_LOGGER), EXIT_DEVICE_FAILURE},
        {{DeviceOutcome::NoAccess, ""}, ioText, EXIT_DEVICE_FAILURE},
        {{DeviceOutcome::NoAccess, "claimed by another program"}, ioText + "\n\nclaimed by another program",
         EXIT_DEVICE_FAILURE},
        {{DeviceOutcome::IoFailure, "write failed"}, ioText, EXIT_DEVICE_FAILURE},
        {{DeviceOutcome::TimedOut, "read timed out"}, ioText, EXIT_DEVICE_FAILURE},
        {{DeviceOutcome::BadReply, "no acknowledgement"}, ioText, EXIT_DEVICE_FAILURE},
        {{DeviceOutcome::ShortBlock, "short"}, ioText, EXIT_DEVICE_FAILURE},
        {{DeviceOutcome::LoggerReplaced, "serial 2"}, messageText(MSG_LOGGER_REPLACED), EXIT_DEVICE_FAILURE},
        {{DeviceOutcome::Incompatible, "model 0"}, messageText(MSG_INCOMPATIBLE), EXIT_DEVICE_FAILURE},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.result.detail);
        const DeviceFailureReport report = deviceFailureReport(c.result);
        EXPECT_EQ(report.message, c.message);
        EXPECT_EQ(report.exitStatus, c.exitStatus);

        // Through a command's context: the message (if any) on stderr.
        std::FILE* err = std::tmpfile();
        StderrUserInterface ui(err, nullptr, false);
        CommandContext context{"usb", {}, {}, ui, SystemClock::instance(), FixedLocaleFormat::instance(), stdout, err, {}};
        EXPECT_EQ(reportDeviceResult(context, c.result), c.exitStatus);
        std::rewind(err);
        std::string shown;
        for (int ch = std::fgetc(err); ch != EOF; ch = std::fgetc(err))
            shown.push_back(static_cast<char>(ch));
        std::fclose(err);
        EXPECT_EQ(shown, c.message.empty() ? "" : c.message + "\n");
    }
}

} // namespace
} // namespace vessor::cli
