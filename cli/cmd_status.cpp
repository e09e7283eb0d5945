// vessor-logger status: the logger's current status as the utility's status
// page shows it, for scripts: the heading, then one "label<TAB>value" line
// per item.
#include "cli/command.h"

#include "logger/logger_config.h"
#include "logger/status_report.h"

namespace vessor::cli {

int cmdStatus(CommandContext& context)
{
    if (!context.args.empty())
        return context.usageError("status", "takes no arguments");
    std::unique_ptr<UsbXpress> usb = context.openTransport();
    if (!usb)
        return EXIT_DEVICE_FAILURE;

    LoggerConfig config;
    config.setTransport(usb.get());
    config.setUserInterface(&context.ui);
    config.setClock(&context.clock);
    config.setLocaleFormat(&context.locale);
    // As the Current Status command: read the logger, then refuse a device
    // of an unknown type (each shows its own message).
    if (!config.refresh() || !config.checkCompatible())
        return EXIT_DEVICE_FAILURE;

    const std::string text = formatStatusText(composeStatus(config, context.locale));
    std::fwrite(text.data(), 1, text.size(), context.out);
    return EXIT_OK;
}

} // namespace vessor::cli
