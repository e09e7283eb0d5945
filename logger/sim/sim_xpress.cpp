#include "simulated_logger.h"

namespace vessor::sim {

namespace {
constexpr UsbXpress::Handle SIM_HANDLE = 0x5151;
}

SimXpress::SimXpress(std::shared_ptr<SimulatedLogger> logger) : m_logger(std::move(logger)) {}

void SimXpress::setFaults(SimFaults faults) {
    m_faults = std::move(faults);
    m_readCalls = 0;
    m_writeCalls = 0;
    m_requests = 0;
    if (m_logger)
        m_logger->setQuirks(m_faults.firmware);
}

void SimXpress::swapLogger(std::shared_ptr<SimulatedLogger> logger) {
    m_logger = std::move(logger);
    if (m_logger)
        m_logger->setQuirks(m_faults.firmware);
}

bool SimXpress::validHandle(Handle handle) const {
    return handle == SIM_HANDLE && m_handle == SIM_HANDLE && m_logger;
}

UsbStatus SimXpress::getNumDevices(std::uint32_t& count) {
    count = 0;
    if (m_faults.noDevice || !m_logger)
        return USB_SUCCESS;
    count = 1 + static_cast<std::uint32_t>(m_faults.extraDevices > 0 ? m_faults.extraDevices : 0);
    return USB_SUCCESS;
}

UsbStatus SimXpress::getProductString(std::uint32_t index, std::string& text, std::uint32_t selector) {
    std::uint32_t count = 0;
    getNumDevices(count);
    if (m_faults.productStringFails || index >= count)
        return USB_DEVICE_NOT_FOUND;
    if (selector != USB_RETURN_SERIAL_NUMBER && selector != USB_RETURN_DESCRIPTION)
        return USB_INVALID_PARAMETER;
    if (selector == USB_RETURN_DESCRIPTION)
        text = "Vessor USB Data Logger (simulated)";
    else
        text = index == 0 ? simProductString(m_logger->serialNumber())
                          : "SIMEXTRA" + std::to_string(index);
    return USB_SUCCESS;
}

UsbStatus SimXpress::open(std::uint32_t index, Handle& handle) {
    handle = INVALID_HANDLE;
    std::uint32_t count = 0;
    getNumDevices(count);
    if (index >= count)
        return USB_DEVICE_NOT_FOUND;
    // The other loggers on the bus are only listed.
    if (m_faults.openFails || index != 0 || m_handle != INVALID_HANDLE)
        return USB_DEVICE_IO_FAILED;
    m_logger->resetLink();
    m_handle = SIM_HANDLE;
    handle = m_handle;
    ++m_openHandles;
    m_lastHostBytes.clear();
    return USB_SUCCESS;
}

UsbStatus SimXpress::close(Handle handle) {
    if (!validHandle(handle))
        return USB_INVALID_HANDLE;
    m_logger->resetLink();
    m_handle = INVALID_HANDLE;
    --m_openHandles;
    ++m_requests;
    if (m_faults.swapAfterRequests >= 0 && m_requests == m_faults.swapAfterRequests && m_faults.swapIn)
        swapLogger(m_faults.swapIn);
    return USB_SUCCESS;
}

UsbStatus SimXpress::read(Handle handle, void* buffer, std::uint32_t toRead, std::uint32_t& bytesRead) {
    bytesRead = 0;
    if (!validHandle(handle))
        return USB_INVALID_HANDLE;
    if (!buffer || toRead == 0 || toRead > USB_MAX_READ_LENGTH)
        return USB_INVALID_REQUEST_LENGTH;
    if (m_readCalls++ == m_faults.failReadAfter)
        return USB_READ_TIMED_OUT;
    bytesRead = static_cast<std::uint32_t>(m_logger->hostRead(static_cast<std::uint8_t*>(buffer), toRead));
    // Nothing arrives from a logger with nothing to say: the read time-out
    // passes (at once, in the simulator).
    return bytesRead == 0 ? USB_READ_TIMED_OUT : USB_SUCCESS;
}

UsbStatus SimXpress::write(Handle handle, const void* buffer, std::uint32_t toWrite,
                           std::uint32_t& bytesWritten) {
    bytesWritten = 0;
    if (!validHandle(handle))
        return USB_INVALID_HANDLE;
    if (!buffer || toWrite == 0 || toWrite > USB_MAX_WRITE_LENGTH)
        return USB_INVALID_REQUEST_LENGTH;
    const int call = m_writeCalls++;
    if (call == m_faults.failWriteAfter)
        return USB_WRITE_TIMED_OUT;
    std::uint32_t n = toWrite;
    if (call == m_faults.shortWriteAfter)
        n = toWrite - 1;
    const auto* bytes = static_cast<const std::uint8_t*>(buffer);
    m_lastHostBytes.insert(m_lastHostBytes.end(), bytes, bytes + n);
    if (n > 0)
        m_logger->hostWrite(bytes, n);
    bytesWritten = n;
    return USB_SUCCESS;
}

UsbStatus SimXpress::setTimeouts(std::uint32_t readMs, std::uint32_t writeMs) {
    m_readTimeout = readMs;
    m_writeTimeout = writeMs;
    return USB_SUCCESS;
}

UsbStatus SimXpress::getTimeouts(std::uint32_t& readMs, std::uint32_t& writeMs) {
    readMs = m_readTimeout;
    writeMs = m_writeTimeout;
    return USB_SUCCESS;
}

UsbStatus SimXpress::checkRxQueue(Handle handle, std::uint32_t& bytesInQueue, std::uint32_t& queueStatus) {
    bytesInQueue = 0;
    queueStatus = 0;
    if (!validHandle(handle))
        return USB_INVALID_HANDLE;
    bytesInQueue = static_cast<std::uint32_t>(m_logger->pendingBytes());
    queueStatus = bytesInQueue > 0 ? USB_RX_QUEUE_DATA_READY : 0;
    return USB_SUCCESS;
}

} // namespace vessor::sim
