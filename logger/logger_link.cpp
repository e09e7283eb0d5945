#include "logger_link.h"

#include "models.h"

#include <algorithm>
#include <chrono>
#include <cstring>

namespace vessor {
namespace {

// A logger acknowledges within a few bytes; a device that keeps talking
// without ever sending 0xFF is not acknowledging.
constexpr int MAX_ACK_BYTES = 4096;

// The logger needs a moment between announcing the block and sending it;
// the utility has always paused by clearing its buffer 100000 times.
void busyPause(std::uint8_t* buffer, std::size_t size) {
    for (int i = 0; i < 100000; ++i) {
        std::memset(buffer, 0, size);
        asm volatile("" : : "r"(buffer) : "memory");
    }
}

// Keeps the transport's time-outs and puts them back when it goes, so a
// timed transfer leaves them as it found them.
class SavedTimeouts {
public:
    explicit SavedTimeouts(UsbXpress& usb) : usb_(usb) { usb_.getTimeouts(read_, write_); }
    ~SavedTimeouts() { usb_.setTimeouts(read_, write_); }
    SavedTimeouts(const SavedTimeouts&) = delete;
    SavedTimeouts& operator=(const SavedTimeouts&) = delete;

private:
    UsbXpress& usb_;
    std::uint32_t read_ = 0;
    std::uint32_t write_ = 0;
};

std::string statusText(UsbStatus status) {
    switch (status) {
    case USB_SUCCESS: return "success";
    case USB_INVALID_HANDLE: return "invalid handle";
    case USB_READ_ERROR: return "read error";
    case USB_RX_QUEUE_NOT_READY: return "receive queue not ready";
    case USB_WRITE_ERROR: return "write error";
    case USB_INVALID_PARAMETER: return "invalid parameter";
    case USB_INVALID_REQUEST_LENGTH: return "invalid request length";
    case USB_DEVICE_IO_FAILED: return "device I/O failed";
    case USB_SYSTEM_ERROR: return "system error";
    case USB_READ_TIMED_OUT: return "read timed out";
    case USB_WRITE_TIMED_OUT: return "write timed out";
    case USB_DEVICE_NOT_FOUND: return "device not found";
    }
    return "status " + std::to_string(static_cast<unsigned>(status));
}

} // namespace

void LoggerLink::enumerate() {
    m_deviceCount = 0;
    if (!m_usb)
        return;
    std::uint32_t count = 0;
    if (m_usb->getNumDevices(count) != USB_SUCCESS || count == 0)
        return;
    // Only eight slots: further devices are not listed (device 0 is the one
    // every request uses anyway).
    const std::uint32_t listed = std::min<std::uint32_t>(count, MAX_DEVICE_STRINGS);
    for (std::uint32_t i = 0; i < listed; ++i) {
        std::string text;
        if (m_usb->getProductString(i, text, USB_RETURN_SERIAL_NUMBER) == USB_SUCCESS) {
            if (text.size() > 255)
                text.resize(255);
            m_deviceStrings[i] = text;
            ++m_deviceCount;
        }
    }
}

DeviceResult LoggerLink::findDevice() {
    enumerate();
    if (m_deviceCount > 0)
        return {};
    m_lastError = "no logger found";
    return DeviceResult{DeviceOutcome::NoDevice, m_lastError};
}

DeviceResult LoggerLink::open(std::uint32_t index) {
    m_handle = UsbXpress::INVALID_HANDLE;
    m_timedOut = false;
    if (!m_usb) {
        m_lastError = "no transport";
        return DeviceResult{DeviceOutcome::NoAccess, {}};
    }
    UsbXpress::Handle handle = UsbXpress::INVALID_HANDLE;
    const UsbStatus status = m_usb->open(index, handle);
    if (status != USB_SUCCESS || handle == UsbXpress::INVALID_HANDLE) {
        m_lastError = "cannot open the device: " + statusText(status);
        // The transport may know why (no permission on the device node, the
        // device claimed by another program): the user is told what to do.
        std::string detail = m_usb->lastErrorDetail();
        if (!detail.empty())
            m_lastError += " (" + detail + ")";
        return DeviceResult{DeviceOutcome::NoAccess, std::move(detail)};
    }
    m_handle = handle;
    return {};
}

void LoggerLink::close() {
    if (m_usb && m_handle != UsbXpress::INVALID_HANDLE)
        m_usb->close(m_handle);
    m_handle = UsbXpress::INVALID_HANDLE;
}

DeviceResult LoggerLink::fail(DeviceOutcome outcome, const std::string& why) {
    close();
    m_lastError = why;
    return DeviceResult{outcome, why};
}

bool LoggerLink::timedWrite(const void* data, std::uint32_t length, std::uint32_t& written,
                            std::uint32_t timeoutMs) {
    written = 0;
    if (!m_usb)
        return false;
    const SavedTimeouts saved(*m_usb);
    m_usb->setTimeouts(0, timeoutMs);
    const UsbStatus status = m_usb->write(m_handle, data, length, written);
    if (status != USB_SUCCESS) {
        m_lastError = "write failed: " + statusText(status);
        m_timedOut = status == USB_WRITE_TIMED_OUT;
    }
    return status == USB_SUCCESS;
}

bool LoggerLink::timedRead(void* data, std::uint32_t length, std::uint32_t& received,
                           std::uint32_t timeoutMs) {
    received = 0;
    if (!m_usb)
        return false;
    const SavedTimeouts saved(*m_usb);
    bool ok = true;
    if (timeoutMs != 0) {
        m_usb->setTimeouts(timeoutMs, 0);
    } else {
        // Poll until data is waiting; a device that never gets ready gives
        // up after the usual request time-out rather than hanging.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(LINK_TIMEOUT_MS);
        for (;;) {
            std::uint32_t queued = 0;
            std::uint32_t queueStatus = 0;
            if (m_usb->checkRxQueue(m_handle, queued, queueStatus) != USB_SUCCESS) {
                m_lastError = "receive queue query failed";
                ok = false;
                break;
            }
            if (queueStatus & USB_RX_QUEUE_DATA_READY)
                break;
            if (std::chrono::steady_clock::now() > deadline) {
                m_lastError = "read timed out";
                m_timedOut = true;
                ok = false;
                break;
            }
        }
    }
    // A read returns what has arrived; collect until the whole part is in,
    // so a reply split over several USB packets is not taken for complete.
    auto* bytes = static_cast<std::uint8_t*>(data);
    while (ok && received < length) {
        std::uint32_t got = 0;
        const UsbStatus status = m_usb->read(m_handle, bytes + received, length - received, got);
        if (status != USB_SUCCESS || got == 0) {
            m_lastError = status != USB_SUCCESS ? "read failed: " + statusText(status)
                                                : "read timed out";
            m_timedOut = status == USB_SUCCESS || status == USB_READ_TIMED_OUT;
            ok = false;
            break;
        }
        received += std::min(got, length - received);
    }
    return ok;
}

DeviceResult LoggerLink::readConfig(std::uint32_t index, ConfigBlock& destination) {
    if (DeviceResult opened = open(index); !opened)
        return opened;
    const std::uint8_t request[3] = {CMD_READ_CONFIG, 0xFF, 0xFF};
    std::uint32_t count = 0;
    if (!timedWrite(request, 3, count, LINK_TIMEOUT_MS) || count != 3)
        return fail(transferFailure(), "configuration request not sent");
    ConfigBlock work{};
    if (!timedRead(work.data(), 3, count, LINK_TIMEOUT_MS))
        return fail(transferFailure(), "no configuration reply: " + m_lastError);
    const std::uint32_t length = work[2] * 256u + work[1];
    // The working buffer holds one block; a longer reply is not a block.
    if (length > CONFIG_BLOCK_SIZE)
        return fail(DeviceOutcome::BadReply, "configuration reply announces " + std::to_string(length) + " bytes");
    busyPause(work.data(), work.size());
    if (length > 0 && !timedRead(work.data(), length, count, LINK_TIMEOUT_MS))
        return fail(transferFailure(), "configuration block incomplete: " + m_lastError);
    destination = work;
    m_lastConfigLength = length;
    close();
    return {};
}

DeviceResult LoggerLink::writeConfig(std::uint32_t index, const ConfigBlock& source, std::size_t length) {
    if (length > CONFIG_BLOCK_SIZE)
        length = CONFIG_BLOCK_SIZE;
    if (DeviceResult opened = open(index); !opened)
        return opened;
    const std::uint8_t header[3] = {CMD_WRITE_CONFIG, static_cast<std::uint8_t>(length & 0xFF),
                                    static_cast<std::uint8_t>(length >> 8)};
    std::uint32_t count = 0;
    if (!timedWrite(header, 3, count, LINK_TIMEOUT_MS) || count != 3)
        return fail(transferFailure(), "configuration write header not sent");
    ConfigBlock work{};
    std::copy_n(source.begin(), length, work.begin());
    const auto toSend = static_cast<std::uint32_t>(length);
    if (!timedWrite(work.data(), toSend, count, LINK_TIMEOUT_MS) || count != toSend)
        return fail(transferFailure(), "configuration block not sent");
    work.fill(0);
    for (int i = 0;; ++i) {
        if (i >= MAX_ACK_BYTES)
            return fail(DeviceOutcome::BadReply, "no acknowledgement");
        std::uint8_t byte = 0;
        if (!timedRead(&byte, 1, count, LINK_TIMEOUT_MS))
            return fail(transferFailure(), "no acknowledgement: " + m_lastError);
        if (byte == WRITE_ACK)
            break;
    }
    close();
    return {};
}

DeviceResult LoggerLink::readDataBytes(std::uint32_t index, int modelType, std::vector<std::uint8_t>& bytes) {
    if (DeviceResult opened = open(index); !opened)
        return opened;
    const std::uint32_t blockSize = static_cast<std::uint32_t>(dataBlockSize(modelType));
    const std::uint8_t request[3] = {CMD_READ_DATA, 0xFF, 0xFF};
    std::uint32_t count = 0;
    if (!timedWrite(request, 3, count, LINK_TIMEOUT_MS) || count != 3)
        return fail(transferFailure(), "data request not sent");
    std::uint8_t header[3] = {0, 0, 0};
    if (!timedRead(header, 3, count, LINK_TIMEOUT_MS))
        return fail(transferFailure(), "no data reply: " + m_lastError);
    const std::uint32_t total = header[2] * 256u + header[1];
    std::vector<std::uint8_t> memory(total);
    // Blocks of 64 or 512 bytes; the last one only as long as what is left.
    for (std::uint32_t offset = 0; offset < total; offset += blockSize) {
        const std::uint32_t part = std::min(blockSize, total - offset);
        if (!timedRead(memory.data() + offset, part, count, LINK_TIMEOUT_MS))
            return fail(transferFailure(), "data block at byte " + std::to_string(offset) + " incomplete: " + m_lastError);
    }
    close();
    bytes.swap(memory);
    return {};
}

DeviceResult LoggerLink::readData(std::uint32_t index, int modelType, SampleBuffer& samples) {
    std::vector<std::uint8_t> memory;
    if (DeviceResult read = readDataBytes(index, modelType, memory); !read)
        return read;
    SampleBuffer decoded;
    if (is16BitModel(modelType)) {
        // High byte first; a trailing odd byte is not a reading.
        decoded.reserve(memory.size() / 2);
        for (std::size_t i = 0; i + 1 < memory.size(); i += 2)
            decoded.push_back(static_cast<Sample>(memory[i] << 8 | memory[i + 1]));
    } else {
        decoded.assign(memory.begin(), memory.end());
    }
    samples.swap(decoded);
    return {};
}

} // namespace vessor
