#include "cli_support.h"

#include "logger/sim/simulated_logger.h"

namespace vessor::cli {

int cmdSimPress(CommandContext& context) {
    std::string path;
    if (context.args.size() == 1)
        path = context.args.front();
    else if (context.args.empty() && context.deviceSpec.rfind("sim:", 0) == 0)
        path = context.deviceSpec.substr(4);
    else
        return context.usageError("sim-press", "needs PATH or --device sim:PATH");
    std::string error;
    auto logger = sim::SimulatedLogger::open(path, error, context.clock);
    if (!logger) {
        std::fprintf(context.err, "vessor-logger sim-press: %s\n", error.c_str());
        return EXIT_DEVICE_FAILURE;
    }
    if (!logger->pressButton(error)) {
        std::fprintf(context.err, "vessor-logger sim-press: %s\n", error.c_str());
        return EXIT_DEVICE_FAILURE;
    }
    std::fprintf(context.out, "button pressed: logging started\n");
    return EXIT_OK;
}

} // namespace vessor::cli
