#include "device_bus.h"

#include "session.h"

#include <cstdio>

namespace vessor {

SingleDeviceXpress::SingleDeviceXpress(std::shared_ptr<UsbXpress> bus, std::uint32_t index)
    : m_bus(std::move(bus)), m_index(index) {}

UsbStatus SingleDeviceXpress::getNumDevices(std::uint32_t& count) {
    std::uint32_t onBus = 0;
    const UsbStatus status = m_bus->getNumDevices(onBus);
    count = status == USB_SUCCESS && m_index < onBus ? 1 : 0;
    return status;
}

UsbStatus SingleDeviceXpress::getProductString(std::uint32_t index, std::string& text, std::uint32_t selector) {
    if (index != 0)
        return USB_DEVICE_NOT_FOUND;
    return m_bus->getProductString(m_index, text, selector);
}

UsbStatus SingleDeviceXpress::open(std::uint32_t index, Handle& handle) {
    if (index != 0) {
        handle = INVALID_HANDLE;
        return USB_DEVICE_NOT_FOUND;
    }
    return m_bus->open(m_index, handle);
}

UsbStatus SingleDeviceXpress::close(Handle handle) { return m_bus->close(handle); }

UsbStatus SingleDeviceXpress::read(Handle handle, void* buffer, std::uint32_t toRead, std::uint32_t& bytesRead) {
    return m_bus->read(handle, buffer, toRead, bytesRead);
}

UsbStatus SingleDeviceXpress::write(Handle handle, const void* buffer, std::uint32_t toWrite,
                                    std::uint32_t& bytesWritten) {
    return m_bus->write(handle, buffer, toWrite, bytesWritten);
}

UsbStatus SingleDeviceXpress::setTimeouts(std::uint32_t readMs, std::uint32_t writeMs) {
    return m_bus->setTimeouts(readMs, writeMs);
}

UsbStatus SingleDeviceXpress::getTimeouts(std::uint32_t& readMs, std::uint32_t& writeMs) {
    return m_bus->getTimeouts(readMs, writeMs);
}

UsbStatus SingleDeviceXpress::checkRxQueue(Handle handle, std::uint32_t& bytesInQueue, std::uint32_t& queueStatus) {
    return m_bus->checkRxQueue(handle, bytesInQueue, queueStatus);
}

std::string SingleDeviceXpress::lastErrorDetail() const { return m_bus->lastErrorDetail(); }

std::vector<AttachedLogger> readAttachedLoggers(const std::shared_ptr<UsbXpress>& bus) {
    std::vector<AttachedLogger> loggers;
    std::uint32_t count = 0;
    if (!bus || bus->getNumDevices(count) != USB_SUCCESS)
        return loggers;
    for (std::uint32_t i = 0; i < count; ++i) {
        AttachedLogger logger;
        logger.index = i;
        SingleDeviceXpress device(bus, i);
        LoggerSession session(logger.config);
        session.setTransport(&device);
        logger.read = session.refresh();
        if (bus->getProductString(i, logger.linkName, USB_RETURN_LINK_NAME) != USB_SUCCESS)
            logger.linkName.clear();
        loggers.push_back(std::move(logger));
    }
    return loggers;
}

std::unique_ptr<UsbXpress> selectBySerial(std::shared_ptr<UsbXpress> bus, std::uint32_t serialNumber,
                                          std::string& error) {
    int unread = 0;
    for (const AttachedLogger& logger : readAttachedLoggers(bus)) {
        if (!logger.read) {
            ++unread;
            continue;
        }
        if (logger.config.serialNumber() == serialNumber)
            return std::make_unique<SingleDeviceXpress>(bus, logger.index);
    }
    char serial[16];
    std::snprintf(serial, sizeof serial, "%09u", static_cast<unsigned>(serialNumber));
    error = std::string("no logger with the serial number ") + serial + " is attached";
    if (unread > 0)
        error += " (" + std::to_string(unread) + (unread == 1 ? " logger" : " loggers") + " could not be read)";
    return nullptr;
}

} // namespace vessor
