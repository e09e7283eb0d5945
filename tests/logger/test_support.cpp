#include "test_support.h"

#include "logger/strings.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>

namespace vessor::test {

std::vector<int> RecordingUserInterface::messageIds() const {
    std::vector<int> ids;
    for (const Entry& e : entries) {
        int found = 0;
        for (int id = 100; id < 200 && !found; ++id)
            if (hasMessage(id) && messageText(id) == e.text)
                found = id;
        ids.push_back(found);
    }
    return ids;
}

UsbStatus ScriptedXpress::getNumDevices(std::uint32_t& count) {
    count = deviceCount;
    return USB_SUCCESS;
}

UsbStatus ScriptedXpress::getProductString(std::uint32_t index, std::string& text, std::uint32_t) {
    if (index >= deviceCount || (index < productStringFails.size() && productStringFails[index]))
        return USB_DEVICE_NOT_FOUND;
    text = "DEV" + std::to_string(index);
    return USB_SUCCESS;
}

UsbStatus ScriptedXpress::open(std::uint32_t index, Handle& handle) {
    openedIndexes.push_back(index);
    if (openFails || index >= deviceCount)
        return USB_DEVICE_NOT_FOUND;
    ++opens;
    handle = 7;
    return USB_SUCCESS;
}

UsbStatus ScriptedXpress::close(Handle handle) {
    if (handle != 7)
        return USB_INVALID_HANDLE;
    ++closes;
    return USB_SUCCESS;
}

UsbStatus ScriptedXpress::read(Handle, void* buffer, std::uint32_t toRead, std::uint32_t& bytesRead) {
    readSizes.push_back(toRead);
    bytesRead = 0;
    auto* out = static_cast<std::uint8_t*>(buffer);
    while (bytesRead < toRead && bytesRead < maxChunk && !replies.empty()) {
        out[bytesRead++] = replies.front();
        replies.pop_front();
    }
    return bytesRead == 0 ? USB_READ_TIMED_OUT : USB_SUCCESS;
}

UsbStatus ScriptedXpress::write(Handle, const void* buffer, std::uint32_t toWrite, std::uint32_t& bytesWritten) {
    const auto* in = static_cast<const std::uint8_t*>(buffer);
    written.insert(written.end(), in, in + toWrite);
    bytesWritten = toWrite;
    return USB_SUCCESS;
}

UsbStatus ScriptedXpress::setTimeouts(std::uint32_t readMs, std::uint32_t writeMs) {
    readTimeout = readMs;
    writeTimeout = writeMs;
    timeoutsSet.emplace_back(readMs, writeMs);
    return USB_SUCCESS;
}

UsbStatus ScriptedXpress::getTimeouts(std::uint32_t& readMs, std::uint32_t& writeMs) {
    readMs = readTimeout;
    writeMs = writeTimeout;
    return USB_SUCCESS;
}

UsbStatus ScriptedXpress::checkRxQueue(Handle, std::uint32_t& bytesInQueue, std::uint32_t& queueStatus) {
    if (rxQueueFails)
        return USB_DEVICE_IO_FAILED;
    bytesInQueue = static_cast<std::uint32_t>(replies.size());
    queueStatus = replies.empty() ? 0 : USB_RX_QUEUE_DATA_READY;
    return USB_SUCCESS;
}

LoggerConfig configFor(int model, std::uint32_t serial) {
    LoggerConfig c;
    c.setModelType(model);
    c.setU32At(field::SERIAL_NUMBER, serial);
    return c;
}

std::vector<std::uint8_t> reply(std::uint8_t command, const std::vector<std::uint8_t>& body,
                                std::optional<std::uint16_t> announced) {
    const std::uint16_t n = announced.value_or(static_cast<std::uint16_t>(body.size()));
    std::vector<std::uint8_t> bytes(3 + body.size());
    bytes[0] = command;
    bytes[1] = static_cast<std::uint8_t>(n & 0xFF);
    bytes[2] = static_cast<std::uint8_t>(n >> 8);
    std::copy(body.begin(), body.end(), bytes.begin() + 3);
    return bytes;
}

std::string tempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vessor-test-XXXXXX").string();
    const char* made = mkdtemp(pattern.data());
    return made ? std::string(made) : std::string("/tmp");
}

} // namespace vessor::test
