#include "transport.h"

#include "device_bus.h"
#include "sim/simulated_logger.h"

#ifdef VESSOR_WITH_LIBUSB
#include "usb/libusb_xpress.h"
#endif

#include <charconv>
#include <cstdlib>
#include <filesystem>
#include <limits>

namespace vessor {

std::string defaultDeviceSpec() {
    const char* device = std::getenv("VESSOR_DEVICE");
    return device && *device ? std::string(device) : std::string("usb");
}

namespace {
constexpr std::string_view SIM_PREFIX = "sim:";
constexpr std::string_view USB_SERIAL_PREFIX = "usb:";

// The serial number of "usb:SERIAL": digits only, as the block holds it.
bool parseSerial(std::string_view text, std::uint32_t& serial) {
    if (text.empty() || text.size() > 10 || text.find_first_not_of("0123456789") != std::string_view::npos)
        return false;
    std::uint64_t value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    if (value > std::numeric_limits<std::uint32_t>::max())
        return false;
    serial = static_cast<std::uint32_t>(value);
    return true;
}
} // namespace

bool checkDeviceSpec(std::string_view deviceSpec, std::string& error) {
    if (deviceSpec == "usb")
        return true;
    if (deviceSpec.substr(0, USB_SERIAL_PREFIX.size()) == USB_SERIAL_PREFIX) {
        std::uint32_t serial = 0;
        if (parseSerial(deviceSpec.substr(USB_SERIAL_PREFIX.size()), serial))
            return true;
        error = "usb: needs the logger's serial number (usb:SERIAL, digits only)";
        return false;
    }
    if (deviceSpec.substr(0, SIM_PREFIX.size()) == SIM_PREFIX) {
        if (deviceSpec.size() > SIM_PREFIX.size())
            return true;
        error = "sim: needs the path of a logger image (sim:PATH)";
        return false;
    }
    error = "unknown device \"" + std::string(deviceSpec) + "\" (use usb, usb:SERIAL or sim:PATH)";
    return false;
}

std::unique_ptr<UsbXpress> createTransport(std::string_view deviceSpec, const TransportOptions& options,
                                           std::string& error) {
    if (!checkDeviceSpec(deviceSpec, error))
        return nullptr;
    if (deviceSpec.substr(0, 3) == "usb") {
#ifdef VESSOR_WITH_LIBUSB
        std::unique_ptr<UsbXpress> bus = usb::createLibusbXpress(options.extraUsbIds, error);
        std::uint32_t serial = 0;
        if (!bus || !parseSerial(deviceSpec.substr(std::min(deviceSpec.size(), USB_SERIAL_PREFIX.size())), serial))
            return bus;
        return selectBySerial(std::move(bus), serial, error);
#else
        error = "no USB backend is built";
        return nullptr;
#endif
    }
    const std::string path(deviceSpec.substr(SIM_PREFIX.size()));
    const Clock& clock = options.simClock ? *options.simClock : SystemClock::instance();
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        auto folder = std::make_unique<sim::SimFolderXpress>(path, clock, error);
        return error.empty() ? std::move(folder) : nullptr;
    }
    std::shared_ptr<sim::SimulatedLogger> logger = sim::SimulatedLogger::open(path, error, clock);
    if (!logger)
        return nullptr;
    return std::make_unique<sim::SimXpress>(std::move(logger));
}

} // namespace vessor
