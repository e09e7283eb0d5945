// The plain rules of the libusb backend, kept apart from the device code so
// they can be checked without a device: time-out translation, the one
// mapping of libusb errors to library status codes and user texts, the
// device filter and the bus order that keeps device 0 stable.
#pragma once

#include "../transport.h"
#include "../usb_xpress.h"
#include "libusb_xpress.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vessor::usb {

// The library's time-out in ms as libusb takes it: the library's "infinite"
// (0xFFFFFFFF) is libusb's 0, and the library's 0 ("do not wait") becomes the
// shortest wait libusb knows, 1 ms.
unsigned int libusbTimeout(std::uint32_t libraryMs);

enum class UsbOperation { Enumerate, Open, Read, Write, Close };

// The status code a failing libusb call (a libusb_error) gives in `op`.
UsbStatus statusFor(int libusbError, UsbOperation op);

// The udev rule file a user can copy: the first of `candidates` that exists
// (by default the installed copy, then the one in the source tree the
// program was built from); empty when none does.
std::vector<std::string> defaultUdevRuleCandidates();
std::string findUdevRule(const std::vector<std::string>& candidates = defaultUdevRuleCandidates());

// The line for the user that goes with a libusb error when the status code
// alone would not tell what to do (no permission, device held by another
// program); empty for the others. `deviceNode` names the device, `id` is
// its vendor and product id. Without permission the text gives commands
// that work as they stand: copy `ruleFile` when there is one and it covers
// the device (the default id), else write the rule line for this device.
std::string failureDetail(int libusbError, const std::string& deviceNode, UsbId id = DEFAULT_USB_ID,
                          const std::string& ruleFile = findUdevRule());

// "/dev/bus/usb/001/002"
std::string deviceNodePath(unsigned bus, unsigned address);
// Four upper-case hex digits, "10C4".
std::string hex4(std::uint16_t value);

// The ids to look for: the default first, then the extra ones, without
// repeats.
std::vector<UsbId> wantedIds(const std::vector<UsbId>& extraIds);
bool isWanted(std::uint16_t vendorId, std::uint16_t productId, const std::vector<UsbId>& ids);

// Where a device sits: bus, port path from the root hub, and address.
struct BusLocation {
    unsigned bus = 0;
    std::vector<std::uint8_t> ports;
    unsigned address = 0;
};
// Bus first, then port path, so that the same socket gives the same index
// whatever order the system lists devices in or which address it handed out.
bool busOrderLess(const BusLocation& a, const BusLocation& b);
// The kernel's name for the device in /sys/bus/usb/devices: "1-1.2".
std::string sysfsName(const BusLocation& location);

} // namespace vessor::usb
