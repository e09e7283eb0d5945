// The utility's command line: --device DEV, --usb-id VID:PID (repeatable),
// --help, --version. Parsed before Qt starts, so --help and --version work
// without a display; arguments it does not know are left for Qt.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "logger/transport.h"

namespace vessor {

struct StartupOptions {
    std::string deviceSpec;             // --device, else VESSOR_DEVICE, else "usb"
    TransportOptions transport;         // --usb-id
    std::optional<std::string> archiveUrl; // --archive
    bool help = false;
    bool version = false;
    std::string error;                  // bad usage, one line
    std::vector<std::string> remaining; // program name first, then what Qt may take
};

// `defaultDevice` is the device name ("usb", "sim:PATH") used when --device is absent.
StartupOptions parseStartupOptions(const std::vector<std::string>& args,
                                   const std::string& defaultDevice);

// "VID:PID" in hexadecimal ("10c4:ea61"); false when it is not one.
bool parseUsbId(const std::string& text, UsbId& id);

// The text of --help.
std::string startupUsage();

} // namespace vessor
