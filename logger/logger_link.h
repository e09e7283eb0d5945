// The only code that talks to a logger: finds loggers on the bus and runs the
// three requests (read configuration, write configuration, read data) over
// the UsbXpress seam. Every request opens device `index`, exchanges its bytes
// and closes the device again; a failure shows message 135 (no device: 134)
// through the user-interface seam and returns false.
#pragma once

#include "usb_xpress.h"
#include "user_interface.h"

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

class LoggerLink {
public:
    LoggerLink() = default;
    LoggerLink(UsbXpress* usb, UserInterface* ui) : m_usb(usb), m_ui(ui) {}

    // The transport and the user interface may be swapped at any time between
    // requests; without a transport every request fails as "no device".
    void setTransport(UsbXpress* usb) { m_usb = usb; }
    void setUserInterface(UserInterface* ui) { m_ui = ui; }
    UsbXpress* transport() const { return m_usb; }
    UserInterface* userInterface() const { return m_ui; }

    // Reads the device count and the product strings (selector 0) of at most
    // MAX_DEVICE_STRINGS devices; deviceCount() counts the strings read.
    void enumerate();
    // enumerate(); false with message 134 when no device answered.
    bool findDevice();

    // Fills `destination` with the device's block; bytes beyond the announced
    // length are zero. A reply announcing more than 256 bytes is refused.
    // On failure `destination` is untouched.
    bool readConfig(std::uint32_t index, ConfigBlock& destination);
    // The length the last successful configuration reply announced (the
    // bytes of the block that came from the device).
    std::size_t lastConfigLength() const { return m_lastConfigLength; }
    // Sends the first `length` bytes of `source` (64 or 256) and waits for
    // the 0xFF acknowledgement.
    bool writeConfig(std::uint32_t index, const ConfigBlock& source, std::size_t length);
    // Reads the whole data memory; word samples (high byte first) on the
    // 16-bit models, byte samples otherwise. On failure `samples` is
    // untouched. A trailing odd byte on a 16-bit model is not a reading and
    // is dropped.
    bool readData(std::uint32_t index, int modelType, SampleBuffer& samples);
    // The same request, keeping the memory bytes as the logger sent them
    // (for saving a logger image).
    bool readDataBytes(std::uint32_t index, int modelType, std::vector<std::uint8_t>& bytes);

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

    // Why the last request failed, for logs and the command-line tool (the
    // user has already seen message 134 or 135).
    const std::string& lastError() const { return m_lastError; }

private:
    bool open(std::uint32_t index);
    void close();
    bool fail(const std::string& why);
    bool openFailed();
    void showMessageId(int id);

    UsbXpress* m_usb = nullptr;
    UserInterface* m_ui = nullptr;
    int m_deviceCount = 0;
    std::array<std::string, MAX_DEVICE_STRINGS> m_deviceStrings{};
    UsbXpress::Handle m_handle = UsbXpress::INVALID_HANDLE;
    std::string m_lastError;
    std::size_t m_lastConfigLength = 0;
};

} // namespace vessor
