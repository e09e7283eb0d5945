#include "cli_support.h"

#include "logger/sim/simulated_logger.h"

namespace vessor::cli {

int cmdDump(CommandContext& context) {
    if (context.args.size() != 1)
        return context.usageError("dump", "needs exactly one PATH");
    const std::string path = context.args.front();
    DeviceSession session(context);
    if (!openSession(context, session, LoggerKinds::Any))
        return EXIT_DEVICE_FAILURE;
    LoggerConfig& c = session.config;
    sim::LoggerImage image;
    image.block = c.block();
    // The memory as the logger sends it, whatever its model says, so that a
    // strange logger can be replayed as it is.
    if (const DeviceResult read = session.session.link().readDataBytes(0, c.modelType(), image.memory); !read)
        return reportDeviceResult(context, read);
    std::string error;
    if (!sim::saveImage(path, image, error)) {
        std::fprintf(context.err, "vessor-logger dump: %s\n", error.c_str());
        return EXIT_DEVICE_FAILURE;
    }
    std::fprintf(context.out, "saved %s: configuration block and %zu bytes of data memory\n",
                 path.c_str(), image.memory.size());
    return EXIT_OK;
}

} // namespace vessor::cli
