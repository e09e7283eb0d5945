// libFuzzer entry: the link and the session over device replies the input
// decides. A simulated logger of the model the first byte names answers;
// every later byte steers one transport call: 0 (or no byte left) lets the
// simulated logger's answer through, other values fail the call, cut or
// replace the reply with input bytes, or report counts no device would.
// Refresh, reading the memory, stop and start must end cleanly whatever
// comes back.
#include "logger/download_file.h"
#include "logger/logger_config.h"
#include "logger/session.h"
#include "logger/sim/simulated_logger.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace {

using namespace vessor;

const CalendarTime NOW{.second = 0, .minute = 30, .hour = 10, .day = 14, .month = 4, .year = 124};

class Script {
public:
    Script(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}
    std::uint8_t next() { return m_at < m_size ? m_data[m_at++] : 0; }
    // Up to `count` input bytes into `out`; how many there were.
    std::size_t take(std::uint8_t* out, std::size_t count) {
        const std::size_t n = std::min(count, m_size - m_at);
        std::memcpy(out, m_data + m_at, n);
        m_at += n;
        return n;
    }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_at = 0;
};

class FuzzXpress : public UsbXpress {
public:
    FuzzXpress(sim::SimXpress& device, Script& script) : m_device(device), m_script(script) {}

    UsbStatus getNumDevices(std::uint32_t& count) override {
        switch (m_script.next()) {
        case 1: count = 0; return USB_SUCCESS;
        case 2: count = 1; return USB_DEVICE_IO_FAILED;
        case 3: count = 0xFFFFFFFFu; return USB_SUCCESS;
        case 4: count = m_script.next(); return USB_SUCCESS;
        default: return m_device.getNumDevices(count);
        }
    }
    UsbStatus getProductString(std::uint32_t index, std::string& text, std::uint32_t selector) override {
        switch (m_script.next()) {
        case 1: return USB_DEVICE_NOT_FOUND;
        case 2: text.assign(m_script.next() * 4u, 'S'); return USB_SUCCESS;
        case 3: {
            std::uint8_t bytes[256];
            text.assign(reinterpret_cast<const char*>(bytes), m_script.take(bytes, m_script.next()));
            return USB_SUCCESS;
        }
        default: return m_device.getProductString(index, text, selector);
        }
    }
    UsbStatus open(std::uint32_t index, Handle& handle) override {
        switch (m_script.next()) {
        case 1: handle = INVALID_HANDLE; return USB_DEVICE_NOT_FOUND;
        case 2: handle = INVALID_HANDLE; return USB_SUCCESS;
        default: return m_device.open(index, handle);
        }
    }
    UsbStatus close(Handle handle) override { return m_device.close(handle); }
    UsbStatus read(Handle handle, void* buffer, std::uint32_t toRead, std::uint32_t& bytesRead) override {
        auto* out = static_cast<std::uint8_t*>(buffer);
        switch (m_script.next()) {
        case 1: bytesRead = 0; return USB_READ_TIMED_OUT;
        case 2: bytesRead = 0; return USB_SUCCESS;
        case 3: bytesRead = 0; return USB_READ_ERROR;
        case 4: { // the logger's bytes, then input bytes over them
            const UsbStatus status = m_device.read(handle, buffer, toRead, bytesRead);
            m_script.take(out, std::min(bytesRead, toRead));
            return status;
        }
        case 5: // input bytes in the logger's place
            bytesRead = static_cast<std::uint32_t>(m_script.take(out, std::min<std::uint32_t>(toRead, m_script.next() + 1u)));
            return USB_SUCCESS;
        case 6: // a piece of the reply only
            return m_device.read(handle, buffer, std::min<std::uint32_t>(toRead, m_script.next() + 1u), bytesRead);
        case 7: { // a transport that reports more than it was asked for
            const UsbStatus status = m_device.read(handle, buffer, toRead, bytesRead);
            if (bytesRead != 0)
                bytesRead = toRead + m_script.next();
            return status;
        }
        default: return m_device.read(handle, buffer, toRead, bytesRead);
        }
    }
    UsbStatus write(Handle handle, const void* buffer, std::uint32_t toWrite, std::uint32_t& written) override {
        switch (m_script.next()) {
        case 1: written = 0; return USB_WRITE_TIMED_OUT;
        case 2: written = toWrite > 0 ? toWrite - 1 : 0; return USB_SUCCESS;
        case 3: written = 0; return USB_WRITE_ERROR;
        case 4: written = toWrite + 1; return USB_SUCCESS;
        default: return m_device.write(handle, buffer, toWrite, written);
        }
    }
    UsbStatus setTimeouts(std::uint32_t readMs, std::uint32_t writeMs) override {
        return m_device.setTimeouts(readMs, writeMs);
    }
    UsbStatus getTimeouts(std::uint32_t& readMs, std::uint32_t& writeMs) override {
        return m_device.getTimeouts(readMs, writeMs);
    }
    UsbStatus checkRxQueue(Handle handle, std::uint32_t& bytesInQueue, std::uint32_t& queueStatus) override {
        switch (m_script.next()) {
        case 1: return USB_RX_QUEUE_NOT_READY;
        case 2: bytesInQueue = 0; queueStatus = 0; return USB_SUCCESS;
        default: return m_device.checkRxQueue(handle, bytesInQueue, queueStatus);
        }
    }

private:
    sim::SimXpress& m_device;
    Script& m_script;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    sim::FactoryOptions options;
    options.modelType = data[0] % 18 + 1;
    options.logging = (data[0] / 18) % 2 == 1;
    options.serialNumber = 4711;
    options.now = NOW;
    std::string error;
    std::optional<sim::LoggerImage> image = sim::makeFactoryImage(options, error);
    if (!image)
        std::abort();
    // Some readings, so that a download has rows to build.
    for (std::size_t i = 0; i < image->memory.size(); ++i)
        image->memory[i] = static_cast<std::uint8_t>(i * 7);

    const FixedClock clock(NOW);
    sim::SimXpress device(sim::SimulatedLogger::fromImage(*image, clock, 0.0));
    Script script(data + 1, size - 1);
    FuzzXpress usb(device, script);
    LoggerConfig config;
    LoggerSession session(config, clock);
    session.setTransport(&usb);

    (void)session.refreshKnown();
    SampleBuffer samples;
    if (session.readSamples(samples)) {
        if (samples.size() >= SAMPLE_BUFFER_CAPACITY)
            std::abort();
        // The download file over whatever block and memory came back.
        std::string file;
        (void)buildDownloadFile(config, samples, file);
    }
    (void)session.stopLogging();
    (void)session.startLogging(2024, 4, 14, 10, 30, 0, 60, false);
    (void)session.refresh();
    return 0;
}
