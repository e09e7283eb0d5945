// The libusb-1.0 implementation of the transport seam.
#pragma once

#include "../transport.h"

#include <memory>
#include <string>
#include <vector>

namespace vessor::usb {

// The default device id of the USB bridge the loggers use.
constexpr UsbId DEFAULT_USB_ID{0x10C4, 0xEA61};

// A transport over libusb that looks for DEFAULT_USB_ID and `extraIds`.
// nullptr with `error` set when libusb cannot be started.
std::unique_ptr<UsbXpress> createLibusbXpress(const std::vector<UsbId>& extraIds,
                                              std::string& error);

} // namespace vessor::usb
