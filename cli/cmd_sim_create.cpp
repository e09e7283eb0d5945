#include "cli_support.h"

#include "logger/logger_name.h"
#include "logger/sim/simulated_logger.h"
#include "logger/text_encoding.h"

#include <charconv>

namespace vessor::cli {

int cmdSimCreate(CommandContext& context) {
    std::vector<std::string> args = context.args;
    bool missing = false;
    const auto modelText = takeOption(args, "--model", missing);
    if (missing || !modelText)
        return context.usageError("sim-create", "needs --model N (1..18)");
    const auto name = takeOption(args, "--name", missing);
    if (missing)
        return context.usageError("sim-create", "--name needs a value");
    const auto serialText = takeOption(args, "--serial", missing);
    if (missing)
        return context.usageError("sim-create", "--serial needs a value");
    const bool logging = takeFlag(args, "--logging");
    if (args.size() != 1 || args.front().rfind("--", 0) == 0)
        return context.usageError("sim-create", "needs exactly one PATH");

    int model = 0;
    const auto parsed = std::from_chars(modelText->data(), modelText->data() + modelText->size(), model);
    if (parsed.ec != std::errc() || parsed.ptr != modelText->data() + modelText->size() ||
        !isKnownModel(model))
        return context.usageError("sim-create", "--model " + *modelText + " is not a model number 1..18");

    // A serial number of its own, so that several images can stand for
    // several loggers (the default follows the model number).
    std::uint32_t serial = 0;
    if (serialText) {
        const auto read = std::from_chars(serialText->data(), serialText->data() + serialText->size(), serial);
        if (read.ec != std::errc() || read.ptr != serialText->data() + serialText->size() || serial == 0 ||
            serial > 999999999)
            return context.usageError("sim-create", "--serial " + *serialText + " is not a serial number 1..999999999");
    }

    sim::FactoryOptions options;
    options.modelType = model;
    options.serialNumber = serial;
    options.logging = logging;
    options.now = context.clock.now();
    if (name) {
        if (const std::string refusal = unstorableCharacterRefusal(*name); !refusal.empty())
            return context.usageError("sim-create", refusal);
        options.name = utf8ToCp1252(*name);
        if (options.name.size() > 15)
            return context.usageError("sim-create", "--name is longer than 15 characters");
    }
    std::string error;
    const auto image = sim::makeFactoryImage(options, error);
    if (!image)
        return context.usageError("sim-create", error);
    if (!sim::saveImage(args.front(), *image, error)) {
        std::fprintf(context.err, "vessor-logger sim-create: %s\n", error.c_str());
        return EXIT_DEVICE_FAILURE;
    }
    std::fprintf(context.out, "created %s: model %d %s%s\n", args.front().c_str(), model,
                 modelName(model).c_str(), logging ? ", logging" : "");
    return EXIT_OK;
}

} // namespace vessor::cli
