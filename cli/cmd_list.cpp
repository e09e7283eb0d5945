// vessor-logger list: every logger the device name reaches (all of the USB
// bus, all images of a sim folder), one tab-separated line each for scripts:
// device name, model, logger name, serial number, state, readings.
#include "cli_support.h"

#include "logger/device_bus.h"
#include "logger/status_report.h"
#include "logger/text_encoding.h"

#include <algorithm>

namespace vessor::cli {

namespace {

// What --device takes to reach this logger again; empty for a USB logger
// whose block could not be read (only its serial number names it).
std::string deviceName(const std::string& given, const AttachedLogger& logger) {
    if (given.starts_with("sim:"))
        return logger.linkName.empty() ? given : "sim:" + logger.linkName;
    return logger.read ? "usb:" + logger.config.serialNumberText() : std::string();
}

// The name without what would break a tab-separated line.
std::string fieldText(const std::string& text) {
    std::string field;
    for (const char c : text)
        if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7F)
            field += c;
    return field;
}

std::string firstLine(const std::string& text) {
    return text.substr(0, text.find('\n'));
}

} // namespace

int cmdList(CommandContext& context) {
    if (!context.args.empty())
        return context.usageError("list", "takes no arguments");
    std::shared_ptr<UsbXpress> bus = context.openTransport();
    if (!bus)
        return EXIT_DEVICE_FAILURE;
    int status = EXIT_OK;
    for (const AttachedLogger& logger : readAttachedLoggers(bus)) {
        const std::string device = deviceName(context.deviceSpec, logger);
        if (!logger.read) {
            std::fprintf(context.out, "%s\t\t\t\tno access\t\n", device.c_str());
            const std::string why = logger.read.detail.empty() ? firstLine(deviceFailureReport(logger.read).message)
                                                               : logger.read.detail;
            std::fprintf(context.err, "vessor-logger list: %s: %s\n",
                         device.empty() ? ("device " + std::to_string(logger.index)).c_str() : device.c_str(),
                         why.c_str());
            status = EXIT_DEVICE_FAILURE;
            continue;
        }
        const LoggerConfig& c = logger.config;
        const std::string state = composeStatus(c, context.locale).status.value;
        std::fprintf(context.out, "%s\t%d %s\t%s\t%s\t%s\t%d\n", device.c_str(), c.modelType(),
                     modelName(c.modelType()).c_str(), fieldText(cp1252ToUtf8(c.loggerName())).c_str(),
                     c.serialNumberText().c_str(), state.c_str(), std::max(0, static_cast<int>(c.readingCount())));
    }
    return status;
}

} // namespace vessor::cli
