// The transport seam: the nine calls of the USB device library the logger
// link is written against. Implementations: the simulated logger (sim/), the
// libusb-1.0 backend (usb/), and whatever a test needs.
#pragma once

#include <cstdint>
#include <string>

namespace vessor {

// Status codes as the device library reports them; 0 is success.
enum UsbStatus : std::uint32_t {
    USB_SUCCESS = 0x00,
    USB_INVALID_HANDLE = 0x01,
    USB_READ_ERROR = 0x02,
    USB_RX_QUEUE_NOT_READY = 0x03,
    USB_WRITE_ERROR = 0x04,
    USB_INVALID_PARAMETER = 0x06,
    USB_INVALID_REQUEST_LENGTH = 0x07,
    USB_DEVICE_IO_FAILED = 0x08,
    USB_SYSTEM_ERROR = 0x0C,
    USB_READ_TIMED_OUT = 0x0D,
    USB_WRITE_TIMED_OUT = 0x0E,
    USB_DEVICE_NOT_FOUND = 0xFF,
};

// Product string selectors.
enum UsbProductSelector : std::uint32_t {
    USB_RETURN_SERIAL_NUMBER = 0,
    USB_RETURN_DESCRIPTION = 1,
    USB_RETURN_LINK_NAME = 2,
    USB_RETURN_VID = 3,
    USB_RETURN_PID = 4,
};

// Bit of the receive-queue status word: data is waiting.
constexpr std::uint32_t USB_RX_QUEUE_DATA_READY = 0x02;
// Time-out value meaning "wait for ever".
constexpr std::uint32_t USB_INFINITE_TIMEOUT = 0xFFFFFFFFu;
// Largest single transfers the library accepts.
constexpr std::uint32_t USB_MAX_READ_LENGTH = 65536;
constexpr std::uint32_t USB_MAX_WRITE_LENGTH = 4096;

class UsbXpress {
public:
    using Handle = std::uintptr_t;
    static constexpr Handle INVALID_HANDLE = ~Handle(0);

    virtual ~UsbXpress() = default;

    // 1: number of attached devices.
    virtual UsbStatus getNumDevices(std::uint32_t& count) = 0;
    // 2: identifying string of device `index` (at most 255 characters).
    virtual UsbStatus getProductString(std::uint32_t index, std::string& text,
                                       std::uint32_t selector) = 0;
    // 3, 4
    virtual UsbStatus open(std::uint32_t index, Handle& handle) = 0;
    virtual UsbStatus close(Handle handle) = 0;
    // 6: reads what is available, up to `toRead` bytes, waiting at most the
    // read time-out; `bytesRead` may be less than asked.
    virtual UsbStatus read(Handle handle, void* buffer, std::uint32_t toRead,
                           std::uint32_t& bytesRead) = 0;
    // 7
    virtual UsbStatus write(Handle handle, const void* buffer, std::uint32_t toWrite,
                            std::uint32_t& bytesWritten) = 0;
    // 10, 11: process-wide time-outs in milliseconds.
    virtual UsbStatus setTimeouts(std::uint32_t readMs, std::uint32_t writeMs) = 0;
    virtual UsbStatus getTimeouts(std::uint32_t& readMs, std::uint32_t& writeMs) = 0;
    // 12: bytes waiting on the host and the queue status word.
    virtual UsbStatus checkRxQueue(Handle handle, std::uint32_t& bytesInQueue,
                                   std::uint32_t& queueStatus) = 0;

    // A line for the user about the last failed call when its status alone
    // would mislead (missing device permissions, device held by another
    // program); empty otherwise. Callers may add it to their own message.
    virtual std::string lastErrorDetail() const { return {}; }
};

} // namespace vessor
