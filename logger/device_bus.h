// Several loggers on one transport: every request of the link goes to
// device 0, so one logger among several is reached through a view that shows
// device `index` of the bus as device 0. Used by `vessor-logger list` and
// by the device names that pick a logger by its serial number.
#pragma once

#include "logger_config.h"
#include "logger_link.h"
#include "usb_xpress.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vessor {

// Device `index` of `bus` as the only device.
class SingleDeviceXpress : public UsbXpress {
public:
    SingleDeviceXpress(std::shared_ptr<UsbXpress> bus, std::uint32_t index);

    std::uint32_t index() const { return m_index; }

    UsbStatus getNumDevices(std::uint32_t& count) override;
    UsbStatus getProductString(std::uint32_t index, std::string& text, std::uint32_t selector) override;
    UsbStatus open(std::uint32_t index, Handle& handle) override;
    UsbStatus close(Handle handle) override;
    UsbStatus read(Handle handle, void* buffer, std::uint32_t toRead, std::uint32_t& bytesRead) override;
    UsbStatus write(Handle handle, const void* buffer, std::uint32_t toWrite, std::uint32_t& bytesWritten) override;
    UsbStatus setTimeouts(std::uint32_t readMs, std::uint32_t writeMs) override;
    UsbStatus getTimeouts(std::uint32_t& readMs, std::uint32_t& writeMs) override;
    UsbStatus checkRxQueue(Handle handle, std::uint32_t& bytesInQueue, std::uint32_t& queueStatus) override;
    std::string lastErrorDetail() const override;

private:
    std::shared_ptr<UsbXpress> m_bus;
    std::uint32_t m_index;
};

// One logger of a bus as it answered a block read.
struct AttachedLogger {
    std::uint32_t index = 0;
    DeviceResult read;        // the block read's outcome
    LoggerConfig config;      // the block, when `read` succeeded
    std::string linkName;     // the bus's name for the device (a path), may be empty
};

// Reads the block of every device of `bus`, in the bus's order.
std::vector<AttachedLogger> readAttachedLoggers(const std::shared_ptr<UsbXpress>& bus);

// The logger of `bus` whose block holds `serialNumber`, as a transport of
// its own; nullptr with `error` set (one line) when none does.
std::unique_ptr<UsbXpress> selectBySerial(std::shared_ptr<UsbXpress> bus, std::uint32_t serialNumber,
                                          std::string& error);

} // namespace vessor
