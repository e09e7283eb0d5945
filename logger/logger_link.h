// The only code that talks to a logger: finds loggers on the bus and runs the
// three requests (read configuration, write configuration, read data) over
// the UsbXpress seam. Every request opens device `index`, exchanges its bytes
// and closes the device again, and returns what happened as a DeviceResult;
// the link shows nothing to the user.
#pragma once

#include "usb_xpress.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vessor {

// One raw count per reading, in memory order. After a successful data read
// its size() is the number of readings the logger sent (N on the 8-bit
// models, N / 2 on the 16-bit ones), at most 65535.
using Sample = std::uint16_t;
using SampleBuffer = std::vector<Sample>;
constexpr std::size_t SAMPLE_BUFFER_CAPACITY = 65536;

constexpr std::size_t CONFIG_BLOCK_SIZE = 256;
using ConfigBlock = std::array<std::uint8_t, CONFIG_BLOCK_SIZE>;

// Protocol constants.
constexpr std::uint8_t CMD_READ_CONFIG = 0x00;
constexpr std::uint8_t CMD_WRITE_CONFIG = 0x01;
constexpr std::uint8_t CMD_READ_DATA = 0x03;
constexpr std::uint8_t WRITE_ACK = 0xFF;
constexpr std::uint32_t LINK_TIMEOUT_MS = 3000;
constexpr std::size_t MAX_DEVICE_STRINGS = 8;

// How a device operation ended.
enum class DeviceOutcome {
    Ok,
    NoDevice,        // no logger answered on the bus (or no transport)
    NoAccess,        // the logger is there but could not be opened
    IoFailure,       // a transfer failed
    TimedOut,        // the logger stopped answering
    BadReply,        // a reply that cannot be what was asked for
    ShortBlock,      // the block read is shorter than the write it would feed
    LoggerReplaced,  // another logger than the one last read
    Incompatible,    // a model this program does not know
};

struct DeviceResult {
    DeviceOutcome outcome = DeviceOutcome::Ok;
    // Why, for logs and diagnostics; on NoAccess what the transport knows
    // about it (no permission, claimed by another program), else empty.
    std::string detail;

    bool ok() const { return outcome == DeviceOutcome::Ok; }
    explicit operator bool() const { return ok(); }
};

class LoggerLink {
public:
    LoggerLink() = default;
    explicit LoggerLink(UsbXpress* usb) : m_usb(usb) {}

    // The transport may be swapped at any time between requests; without
    // one every request fails as "no device".
    void setTransport(UsbXpress* usb) { m_usb = usb; }
    UsbXpress* transport() const { return m_usb; }

    // Reads the device count and the product strings (selector 0) of at most
    // MAX_DEVICE_STRINGS devices; deviceCount() counts the strings read.
    void enumerate();
    // enumerate(); NoDevice when no device answered.
    DeviceResult findDevice();

    // Fills `destination` with the device's block; bytes beyond the announced
    // length are zero. A reply announcing more than 256 bytes is refused.
    // On failure `destination` is untouched.
    DeviceResult readConfig(std::uint32_t index, ConfigBlock& destination);
    // The length the last successful configuration reply announced (the
    // bytes of the block that came from the device).
    std::size_t lastConfigLength() const { return m_lastConfigLength; }
    // Sends the first `length` bytes of `source` (64 or 256) and waits for
    // the 0xFF acknowledgement.
    DeviceResult writeConfig(std::uint32_t index, const ConfigBlock& source, std::size_t length);
    // Reads the whole data memory; word samples (high byte first) on the
    // 16-bit models, byte samples otherwise. On failure `samples` is
    // untouched. A trailing odd byte on a 16-bit model is not a reading and
    // is dropped.
    DeviceResult readData(std::uint32_t index, int modelType, SampleBuffer& samples);
    // The same request, keeping the memory bytes as the logger sent them
    // (for saving a logger image).
    DeviceResult readDataBytes(std::uint32_t index, int modelType, std::vector<std::uint8_t>& bytes);

    // The primitives the requests use (public for tests and tools).
    // timedWrite: write time-out `timeoutMs`, read time-out 0, restored after.
    bool timedWrite(const void* data, std::uint32_t length, std::uint32_t& written,
                    std::uint32_t timeoutMs);
    // timedRead: collects up to `length` bytes, waiting at most `timeoutMs`
    // for each part; 0 polls the receive queue until data is ready. Succeeds
    // only when all `length` bytes arrived.
    bool timedRead(void* data, std::uint32_t length, std::uint32_t& received,
                   std::uint32_t timeoutMs);

    int deviceCount() const { return m_deviceCount; }
    const std::array<std::string, MAX_DEVICE_STRINGS>& deviceStrings() const {
        return m_deviceStrings;
    }
    bool isOpen() const { return m_handle != UsbXpress::INVALID_HANDLE; }

    // Why the last request failed, in words (as the result's detail, with
    // the transport's reason on an open failure).
    const std::string& lastError() const { return m_lastError; }

private:
    DeviceResult open(std::uint32_t index);
    void close();
    DeviceResult fail(DeviceOutcome outcome, const std::string& why);
    // The outcome of the last failed primitive (time-out or I/O failure).
    DeviceOutcome transferFailure() const { return m_timedOut ? DeviceOutcome::TimedOut : DeviceOutcome::IoFailure; }

    UsbXpress* m_usb = nullptr;
    bool m_timedOut = false;
    int m_deviceCount = 0;
    std::array<std::string, MAX_DEVICE_STRINGS> m_deviceStrings{};
    UsbXpress::Handle m_handle = UsbXpress::INVALID_HANDLE;
    std::string m_lastError;
    std::size_t m_lastConfigLength = 0;
};

} // namespace vessor
