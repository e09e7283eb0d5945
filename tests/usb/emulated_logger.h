// A simulated logger on an emulated USB bus: its firmware answers the bytes
// that come through libusb and the emulated usbdevfs.
#pragma once

#include "emulated_usb_device.h"
#include "logger/sim/simulated_logger.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace vessor::usbtest {

class SimulatedLoggerFirmware : public DeviceFirmware {
public:
    explicit SimulatedLoggerFirmware(std::shared_ptr<sim::SimulatedLogger> logger)
        : m_logger(std::move(logger)) {}

    void hostWrite(const std::uint8_t* data, std::size_t length) override {
        m_logger->hostWrite(data, length);
    }
    std::size_t hostRead(std::uint8_t* out, std::size_t maxLength) override {
        return m_logger->hostRead(out, maxLength);
    }
    std::size_t pendingBytes() const override { return m_logger->pendingBytes(); }
    // Closing the line or flushing drops whatever was half done.
    void lineControl(std::uint16_t value) override {
        if (value == 0x0001 || value == 0x0004)
            m_logger->resetLink();
    }

private:
    std::shared_ptr<sim::SimulatedLogger> m_logger;
};

// The device a logger shows on the bus: its serial number as the bridge's
// serial string, as the simulated transport reports it.
inline DeviceSetup loggerDeviceSetup(const sim::SimulatedLogger& logger) {
    DeviceSetup setup;
    setup.serial = sim::simProductString(logger.serialNumber());
    return setup;
}

// Runs `command` (argv style, no shell) as a child process that sees the
// test bed, and returns its exit status (-1 when it could not be run) with
// its standard output in `output`.
int runInTestbed(const std::vector<std::string>& command, std::string& output);

struct CommandRun {
    int status = -1; // -1: killed at the time limit, or could not be run
    std::string output; // standard output and error together
};
// Runs the commands side by side, each as runInTestbed does; one that has
// not ended within `limitSeconds` is killed. Each command after the first
// starts once `startNext` says so (at once without it): umockdev gives the
// processes of one test bed one uevent socket name, and two libusb start-ups
// at the same moment race for it.
std::vector<CommandRun> runTogetherInTestbed(const std::vector<std::vector<std::string>>& commands,
                                             int limitSeconds, const std::function<bool()>& startNext = {});

} // namespace vessor::usbtest
