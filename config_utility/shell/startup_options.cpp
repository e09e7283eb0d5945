#include "config_utility/shell/startup_options.h"

#include "logger/archive/archive_url.h"

#include <charconv>

namespace vessor {

namespace {

bool parseHex16(std::string_view text, std::uint16_t& value)
{
    if (text.empty() || text.size() > 4)
        return false;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value, 16);
    return result.ec == std::errc() && result.ptr == text.data() + text.size();
}

} // namespace

bool parseUsbId(const std::string& text, UsbId& id)
{
    const auto colon = text.find(':');
    if (colon == std::string::npos)
        return false;
    const std::string_view all(text);
    return parseHex16(all.substr(0, colon), id.vendorId) &&
           parseHex16(all.substr(colon + 1), id.productId);
}

StartupOptions parseStartupOptions(const std::vector<std::string>& args, const std::string& defaultDevice)
{
    StartupOptions options;
    options.deviceSpec = defaultDevice;
    if (!args.empty())
        options.remaining.push_back(args.front());

    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        // "--name value" and "--name=value".
        auto value = [&](const std::string& name, std::string& out) {
            if (arg == name) {
                // What follows an option is its value, and an option is none.
                if (i + 1 >= args.size() || args[i + 1].starts_with("--")) {
                    options.error = name + " needs a value";
                    return true;
                }
                out = args[++i];
                return true;
            }
            if (arg.rfind(name + "=", 0) == 0) {
                out = arg.substr(name.size() + 1);
                return true;
            }
            return false;
        };
        std::string text;
        if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--version") {
            options.version = true;
        } else if (value("--device", text)) {
            // A mistyped device is bad usage, as a mistyped --usb-id is; a
            // device that names something but cannot be opened is reported
            // in the window.
            std::string why;
            if (options.error.empty()) {
                if (text.empty())
                    options.error = "--device needs a value";
                else if (!checkDeviceSpec(text, why))
                    options.error = "--device: " + why;
                options.deviceSpec = text;
            }
        } else if (value("--archive", text)) {
            std::string why;
            if (options.error.empty() && !archive::parseArchiveUrl(text, why))
                options.error = "--archive: " + why;
            options.archiveUrl = text;
        } else if (value("--usb-id", text)) {
            UsbId id;
            if (options.error.empty() && !parseUsbId(text, id))
                options.error = "--usb-id expects VID:PID in hexadecimal, not \"" + text + "\"";
            else
                options.transport.extraUsbIds.push_back(id);
        } else {
            options.remaining.push_back(arg);
        }
        if (!options.error.empty())
            break;
    }
    return options;
}

std::string startupUsage()
{
    return "Usage: vessor-usb [--device DEV] [--usb-id VID:PID]... [--archive URL]\n"
           "The configuration utility of the Vessor USB data loggers.\n"
           "\n"
           "  --device DEV       the logger to use: usb (the first logger on the USB bus)\n"
           "                     or sim:PATH (a simulated logger kept in an image file);\n"
           "                     default: $VESSOR_DEVICE, else usb\n"
           "  --usb-id VID:PID   also look for loggers with this USB id (hexadecimal)\n"
           "  --archive URL      where downloads are also stored: sqlite:PATH,\n"
           "                     postgresql://[USER@]HOST[:PORT]/DB or none; default:\n"
           "                     $VESSOR_ARCHIVE, else the setting Archive/URL, else\n"
           "                     sqlite:$XDG_DATA_HOME/vessor/archive.sqlite\n"
           "  --help             show this help and exit\n"
           "  --version          show the version and exit\n";
}

} // namespace vessor
