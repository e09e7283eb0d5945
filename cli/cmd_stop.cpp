#include "cli_support.h"

namespace vessor::cli {

int cmdStop(CommandContext& context) {
    if (!context.args.empty())
        return context.usageError("stop", "takes no arguments");
    DeviceSession session(context);
    if (!openSession(context, session, LoggerKinds::Known))
        return EXIT_DEVICE_FAILURE;
    LoggerConfig& c = session.config;
    const bool wasLogging = c.isLogging();
    if (const DeviceResult stopped = session.session.stopLogging(); !stopped)
        return reportDeviceResult(context, stopped);
    std::fprintf(context.out, "%s; %d readings in memory\n",
                 wasLogging ? "stopped" : "was not logging", static_cast<int>(c.readingCount()));
    return EXIT_OK;
}

} // namespace vessor::cli
