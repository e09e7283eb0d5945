#include "libusb_support.h"
#include "libusb_xpress.h"

#include <libusb.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>

#define UDEV_RULE_NAME "60-vessor-usb.rules"

namespace vessor::usb {

unsigned int libusbTimeout(std::uint32_t libraryMs) {
    if (libraryMs == USB_INFINITE_TIMEOUT)
        return 0;
    if (libraryMs == 0)
        return 1;
    return libraryMs;
}

UsbStatus statusFor(int libusbError, UsbOperation op) {
    switch (libusbError) {
    case LIBUSB_SUCCESS:
        return USB_SUCCESS;
    case LIBUSB_ERROR_TIMEOUT:
        if (op == UsbOperation::Read)
            return USB_READ_TIMED_OUT;
        if (op == UsbOperation::Write)
            return USB_WRITE_TIMED_OUT;
        return USB_DEVICE_IO_FAILED;
    case LIBUSB_ERROR_NO_DEVICE:
        // Gone before we had it: not found; gone while open: the I/O failed.
        return (op == UsbOperation::Open || op == UsbOperation::Enumerate) ? USB_DEVICE_NOT_FOUND
                                                                           : USB_DEVICE_IO_FAILED;
    case LIBUSB_ERROR_NOT_FOUND:
        return USB_DEVICE_NOT_FOUND;
    case LIBUSB_ERROR_PIPE:
    case LIBUSB_ERROR_OVERFLOW:
    case LIBUSB_ERROR_IO:
        if (op == UsbOperation::Read)
            return USB_READ_ERROR;
        if (op == UsbOperation::Write)
            return USB_WRITE_ERROR;
        return USB_DEVICE_IO_FAILED;
    case LIBUSB_ERROR_INVALID_PARAM:
        return USB_INVALID_PARAMETER;
    case LIBUSB_ERROR_ACCESS:
    case LIBUSB_ERROR_BUSY:
    case LIBUSB_ERROR_NO_MEM:
    case LIBUSB_ERROR_INTERRUPTED:
    case LIBUSB_ERROR_NOT_SUPPORTED:
    default:
        return USB_SYSTEM_ERROR;
    }
}

std::vector<std::string> defaultUdevRuleCandidates() {
    return {VESSOR_UDEV_RULE_PATH, VESSOR_UDEV_RULE_SOURCE};
}

std::string findUdevRule(const std::vector<std::string>& candidates) {
    for (const std::string& path : candidates) {
        std::error_code error;
        if (!path.empty() && std::filesystem::is_regular_file(path, error))
            return path;
    }
    return {};
}

namespace {

std::string lowerHex4(std::uint16_t value) {
    std::string text = hex4(value);
    std::transform(text.begin(), text.end(), text.begin(),
                   [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); });
    return text;
}

} // namespace

std::string failureDetail(int libusbError, const std::string& deviceNode, UsbId id,
                          const std::string& ruleFile) {
    switch (libusbError) {
    case LIBUSB_ERROR_ACCESS: {
        const bool defaultId =
            id.vendorId == DEFAULT_USB_ID.vendorId && id.productId == DEFAULT_USB_ID.productId;
        std::string install;
        if (defaultId && !ruleFile.empty()) {
            install = "  sudo cp " + ruleFile + " /etc/udev/rules.d/\n";
        } else {
            // The shipped rule is not at hand, or does not name this id.
            install = "  echo 'SUBSYSTEM==\"usb\", ENV{DEVTYPE}==\"usb_device\", ATTR{idVendor}==\"" +
                      lowerHex4(id.vendorId) + "\", ATTR{idProduct}==\"" + lowerHex4(id.productId) +
                      "\", TAG+=\"uaccess\"' | sudo tee -a /etc/udev/rules.d/" UDEV_RULE_NAME "\n";
        }
        return "Permission denied: this user may not use the USB data logger at " + deviceNode +
               ".\nInstall the udev rule " UDEV_RULE_NAME " that gives the logged-in user access, "
               "then reload udev and plug the logger in again:\n" +
               install + "  sudo udevadm control --reload-rules && sudo udevadm trigger";
    }
    case LIBUSB_ERROR_BUSY:
        return "The USB data logger at " + deviceNode +
               " is in use by another program. Close that program and try again.";
    default:
        return {};
    }
}

std::string deviceNodePath(unsigned bus, unsigned address) {
    char text[32];
    std::snprintf(text, sizeof text, "/dev/bus/usb/%03u/%03u", bus & 0xFFFu, address & 0xFFFu);
    return text;
}

std::string hex4(std::uint16_t value) {
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string text(4, '0');
    for (int i = 3; i >= 0; --i, value = static_cast<std::uint16_t>(value >> 4))
        text[static_cast<std::size_t>(i)] = digits[value & 0xF];
    return text;
}

std::vector<UsbId> wantedIds(const std::vector<UsbId>& extraIds) {
    std::vector<UsbId> ids{DEFAULT_USB_ID};
    for (const UsbId& id : extraIds)
        if (!isWanted(id.vendorId, id.productId, ids))
            ids.push_back(id);
    return ids;
}

bool isWanted(std::uint16_t vendorId, std::uint16_t productId, const std::vector<UsbId>& ids) {
    return std::any_of(ids.begin(), ids.end(), [&](const UsbId& id) {
        return id.vendorId == vendorId && id.productId == productId;
    });
}

bool busOrderLess(const BusLocation& a, const BusLocation& b) {
    if (a.bus != b.bus)
        return a.bus < b.bus;
    if (a.ports != b.ports)
        return std::lexicographical_compare(a.ports.begin(), a.ports.end(), b.ports.begin(),
                                            b.ports.end());
    return a.address < b.address;
}

std::string sysfsName(const BusLocation& location) {
    std::string name = std::to_string(location.bus);
    for (std::size_t i = 0; i < location.ports.size(); ++i) {
        name += i == 0 ? '-' : '.';
        name += std::to_string(location.ports[i]);
    }
    return name;
}

} // namespace vessor::usb
