// vessor-usb-emulator IMAGE COMMAND [ARGS...]
//
// For manual checks without hardware: puts the simulated logger of IMAGE on
// an emulated USB bus (libusb sees it through usbdevfs, via umockdev) and
// runs COMMAND there, e.g.
//   vessor-usb-emulator /tmp/zr-th.img build/bin/vessor-logger --device usb info
// The image is saved as the logger changes it. Exit status: the command's.
#include "emulated_logger.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s IMAGE COMMAND [ARGS...]\n", argv[0]);
        return 2;
    }
    const char* preload = std::getenv("LD_PRELOAD");
    if (!preload || !std::strstr(preload, "libumockdev-preload")) {
        setenv("LD_PRELOAD", "libumockdev-preload.so.0", 1);
        execv("/proc/self/exe", argv);
        std::perror("cannot run under umockdev");
        return 1;
    }
    std::string error;
    std::shared_ptr<vessor::sim::SimulatedLogger> logger =
        vessor::sim::SimulatedLogger::open(argv[1], error);
    if (!logger) {
        std::fprintf(stderr, "%s: %s\n", argv[1], error.c_str());
        return 1;
    }
    vessor::usbtest::UsbTestbed bed;
    bed.addDevice(vessor::usbtest::loggerDeviceSetup(*logger),
                  std::make_shared<vessor::usbtest::SimulatedLoggerFirmware>(logger));
    // The command's own output goes straight through.
    std::fflush(stdout);
    std::string output;
    std::vector<std::string> command(argv + 2, argv + argc);
    const int status = vessor::usbtest::runInTestbed(command, output);
    std::fwrite(output.data(), 1, output.size(), stdout);
    return status < 0 ? 1 : status;
}
