// Choosing the device a program talks to: "usb" (the default: the first
// logger on the USB bus, through libusb), "usb:SERIAL" (the logger on the
// USB bus whose configuration block holds that serial number) or "sim:PATH"
// (a simulated logger kept in a logger image file; a folder of images is a
// bus of simulated loggers, the first one answering as device 0).
// VESSOR_DEVICE gives the default.
#pragma once

#include "usb_xpress.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vessor {

struct UsbId {
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
};

class Clock;

struct TransportOptions {
    // Extra VID:PID pairs to look for besides the default 10C4:EA61.
    std::vector<UsbId> extraUsbIds;
    // The wall clock a simulated logger runs from (default: the system
    // clock); its speed comes from VESSOR_SIM_SPEED.
    const Clock* simClock = nullptr;
};

// "usb" unless VESSOR_DEVICE is set.
std::string defaultDeviceSpec();

// Whether `deviceSpec` names a kind of device at all ("usb", "usb:SERIAL"
// with digits, or "sim:PATH" with a path); false with `error` set (one line,
// for the user).
bool checkDeviceSpec(std::string_view deviceSpec, std::string& error);

// nullptr with `error` set (one line, for the user) when the device name is not
// understood or the transport cannot be made.
std::unique_ptr<UsbXpress> createTransport(std::string_view deviceSpec,
                                           const TransportOptions& options, std::string& error);

} // namespace vessor
