#include "transport.h"

#include "sim/simulated_logger.h"

#ifdef VESSOR_WITH_LIBUSB
#include "usb/libusb_xpress.h"
#endif

#include <cstdlib>

namespace vessor {

std::string defaultDeviceSpec() {
    const char* device = std::getenv("VESSOR_DEVICE");
    return device && *device ? std::string(device) : std::string("usb");
}

namespace {
constexpr std::string_view SIM_PREFIX = "sim:";
}

bool checkDeviceSpec(std::string_view deviceSpec, std::string& error) {
    if (deviceSpec == "usb")
        return true;
    if (deviceSpec.substr(0, SIM_PREFIX.size()) == SIM_PREFIX) {
        if (deviceSpec.size() > SIM_PREFIX.size())
            return true;
        error = "sim: needs the path of a logger image (sim:PATH)";
        return false;
    }
    error = "unknown device \"" + std::string(deviceSpec) + "\" (use usb or sim:PATH)";
    return false;
}

std::unique_ptr<UsbXpress> createTransport(std::string_view deviceSpec, const TransportOptions& options,
                                           std::string& error) {
    if (!checkDeviceSpec(deviceSpec, error))
        return nullptr;
    if (deviceSpec == "usb") {
#ifdef VESSOR_WITH_LIBUSB
        return usb::createLibusbXpress(options.extraUsbIds, error);
#else
        error = "no USB backend is built";
        return nullptr;
#endif
    }
    const std::string path(deviceSpec.substr(SIM_PREFIX.size()));
    const Clock& clock = options.simClock ? *options.simClock : SystemClock::instance();
    std::shared_ptr<sim::SimulatedLogger> logger = sim::SimulatedLogger::open(path, error, clock);
    if (!logger)
        return nullptr;
    return std::make_unique<sim::SimXpress>(std::move(logger));
}

} // namespace vessor
