// vessor-logger status: the logger's current status as the utility's status
// page shows it, for scripts: the heading, then one "label<TAB>value" line
// per item.
#include "cli/cli_support.h"

#include "logger/status_report.h"

namespace vessor::cli {

int cmdStatus(CommandContext& context)
{
    if (!context.args.empty())
        return context.usageError("status", "takes no arguments");
    // As the Current Status command: read the logger, then refuse a device
    // of an unknown type.
    DeviceSession session(context);
    if (!openSession(context, session, LoggerKinds::Known))
        return EXIT_DEVICE_FAILURE;

    const std::string text = formatStatusText(composeStatus(session.config, context.locale));
    std::fwrite(text.data(), 1, text.size(), context.out);
    return EXIT_OK;
}

} // namespace vessor::cli
