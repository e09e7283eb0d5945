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

std::unique_ptr<UsbXpress> createTransport(std::string_view deviceSpec, const TransportOptions& options,
                                           std::string& error) {
    if (deviceSpec == "usb") {
#ifdef VESSOR_WITH_LIBUSB
        return usb::createLibusbXpress(options.extraUsbIds, error);
#else
        error = "no USB backend is built";
        return nullptr;
#endif
    }
    constexpr std::string_view simPrefix = "sim:";
    if (deviceSpec.substr(0, simPrefix.size()) == simPrefix) {
        const std::string path(deviceSpec.substr(simPrefix.size()));
        if (path.empty()) {
            error = "sim: needs the path of a logger image (sim:PATH)";
            return nullptr;
        }
        const Clock& clock = options.simClock ? *options.simClock : SystemClock::instance();
        std::shared_ptr<sim::SimulatedLogger> logger = sim::SimulatedLogger::open(path, error, clock);
        if (!logger)
            return nullptr;
        return std::make_unique<sim::SimXpress>(std::move(logger));
    }
    error = "unknown device \"" + std::string(deviceSpec) + "\" (use usb or sim:PATH)";
    return nullptr;
}

} // namespace vessor
