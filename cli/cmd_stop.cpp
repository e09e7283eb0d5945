#include "cli_support.h"

namespace vessor::cli {

int cmdStop(CommandContext& context) {
    if (!context.args.empty())
        return context.usageError("stop", "takes no arguments");
    DeviceSession session;
    if (!openSession(context, session, LoggerKinds::Known))
        return EXIT_DEVICE_FAILURE;
    LoggerConfig& c = session.config;
    const bool wasLogging = c.isLogging();
    if (!c.stopLogging())
        return EXIT_DEVICE_FAILURE;
    std::fprintf(context.out, "%s; %d readings in memory\n",
                 wasLogging ? "stopped" : "was not logging", static_cast<int>(c.readingCount()));
    return EXIT_OK;
}

} // namespace vessor::cli
