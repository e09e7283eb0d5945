// A folder of logger images as several simulated loggers on one bus.
#include "simulated_logger.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace vessor::sim {

namespace {

constexpr std::uintmax_t SMALLEST_IMAGE = CONFIG_BLOCK_SIZE;
constexpr std::uintmax_t LARGEST_IMAGE = CONFIG_BLOCK_SIZE + MAX_MEMORY_BYTES;

bool isImageFile(const std::filesystem::directory_entry& entry) {
    const std::string name = entry.path().filename().string();
    if (name.empty() || name.front() == '.' || name.ends_with(".lock"))
        return false;
    std::error_code ec;
    if (!entry.is_regular_file(ec))
        return false;
    const std::uintmax_t size = entry.file_size(ec);
    return !ec && size >= SMALLEST_IMAGE && size <= LARGEST_IMAGE;
}

} // namespace

struct SimFolderXpress::Device {
    std::string path;
    std::unique_ptr<SimXpress> xpress;  // nullptr when the image could not be opened
    std::string error;
    Handle handle = INVALID_HANDLE;     // the open handle of `xpress`
};

SimFolderXpress::SimFolderXpress(const std::string& folder, const Clock& clock, std::string& error) {
    std::error_code ec;
    std::vector<std::string> paths;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        if (isImageFile(*it))
            paths.push_back(it->path().string());
    if (ec) {
        error = "cannot read the folder " + folder + ": " + ec.message();
        return;
    }
    std::sort(paths.begin(), paths.end());
    for (const std::string& path : paths) {
        auto device = std::make_unique<Device>();
        device->path = path;
        std::shared_ptr<SimulatedLogger> logger = SimulatedLogger::open(path, device->error, clock);
        if (logger)
            device->xpress = std::make_unique<SimXpress>(std::move(logger));
        m_devices.push_back(std::move(device));
    }
}

SimFolderXpress::~SimFolderXpress() = default;

SimFolderXpress::Device* SimFolderXpress::deviceOf(Handle handle) {
    if (handle == 0 || handle > m_devices.size())
        return nullptr;
    Device* device = m_devices[handle - 1].get();
    return device->handle != INVALID_HANDLE ? device : nullptr;
}

UsbStatus SimFolderXpress::getNumDevices(std::uint32_t& count) {
    count = static_cast<std::uint32_t>(m_devices.size());
    return USB_SUCCESS;
}

UsbStatus SimFolderXpress::getProductString(std::uint32_t index, std::string& text, std::uint32_t selector) {
    if (index >= m_devices.size())
        return USB_DEVICE_NOT_FOUND;
    const Device& device = *m_devices[index];
    if (selector == USB_RETURN_LINK_NAME) {
        text = device.path;
        return USB_SUCCESS;
    }
    // A logger whose image cannot be opened is still on the bus: listed, but
    // it cannot be opened.
    if (!device.xpress) {
        if (selector != USB_RETURN_SERIAL_NUMBER && selector != USB_RETURN_DESCRIPTION)
            return USB_INVALID_PARAMETER;
        text = "SIM";
        return USB_SUCCESS;
    }
    return device.xpress->getProductString(0, text, selector);
}

UsbStatus SimFolderXpress::open(std::uint32_t index, Handle& handle) {
    handle = INVALID_HANDLE;
    m_detail.clear();
    if (index >= m_devices.size())
        return USB_DEVICE_NOT_FOUND;
    Device& device = *m_devices[index];
    if (!device.xpress) {
        m_detail = device.error;
        return USB_DEVICE_IO_FAILED;
    }
    device.xpress->setTimeouts(m_readTimeout, m_writeTimeout);
    const UsbStatus status = device.xpress->open(0, device.handle);
    if (status != USB_SUCCESS) {
        device.handle = INVALID_HANDLE;
        return status;
    }
    handle = index + 1;
    return USB_SUCCESS;
}

UsbStatus SimFolderXpress::close(Handle handle) {
    Device* device = deviceOf(handle);
    if (!device)
        return USB_INVALID_HANDLE;
    const UsbStatus status = device->xpress->close(device->handle);
    device->handle = INVALID_HANDLE;
    return status;
}

UsbStatus SimFolderXpress::read(Handle handle, void* buffer, std::uint32_t toRead, std::uint32_t& bytesRead) {
    bytesRead = 0;
    Device* device = deviceOf(handle);
    return device ? device->xpress->read(device->handle, buffer, toRead, bytesRead) : USB_INVALID_HANDLE;
}

UsbStatus SimFolderXpress::write(Handle handle, const void* buffer, std::uint32_t toWrite,
                                 std::uint32_t& bytesWritten) {
    bytesWritten = 0;
    Device* device = deviceOf(handle);
    return device ? device->xpress->write(device->handle, buffer, toWrite, bytesWritten) : USB_INVALID_HANDLE;
}

UsbStatus SimFolderXpress::setTimeouts(std::uint32_t readMs, std::uint32_t writeMs) {
    m_readTimeout = readMs;
    m_writeTimeout = writeMs;
    for (const auto& device : m_devices)
        if (device->xpress)
            device->xpress->setTimeouts(readMs, writeMs);
    return USB_SUCCESS;
}

UsbStatus SimFolderXpress::getTimeouts(std::uint32_t& readMs, std::uint32_t& writeMs) {
    readMs = m_readTimeout;
    writeMs = m_writeTimeout;
    return USB_SUCCESS;
}

UsbStatus SimFolderXpress::checkRxQueue(Handle handle, std::uint32_t& bytesInQueue, std::uint32_t& queueStatus) {
    bytesInQueue = 0;
    queueStatus = 0;
    Device* device = deviceOf(handle);
    return device ? device->xpress->checkRxQueue(device->handle, bytesInQueue, queueStatus) : USB_INVALID_HANDLE;
}

} // namespace vessor::sim
