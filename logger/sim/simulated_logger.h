// The simulated logger: a logger's firmware answering the three requests byte
// for byte, with its state kept in a logger image file (bytes 0..255 the
// configuration block, the rest the data memory as the logger sends it).
// SimulatedLogger is the firmware alone (bytes in, bytes out), so any
// transport can carry it: SimXpress below for tests and sim:PATH devices, an
// emulated USB device for the libusb backend's tests.
#pragma once

#include "../clock.h"
#include "../logger_link.h"
#include "../usb_xpress.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace vessor::sim {

// Largest data memory a logger can announce (16-bit length field).
constexpr std::size_t MAX_MEMORY_BYTES = 65535;

// The product string the simulated bridge reports (selector 0 = serial).
std::string simProductString(std::uint32_t serialNumber);

// A logger image in memory.
struct LoggerImage {
    ConfigBlock block{};
    std::vector<std::uint8_t> memory;

    // Checks sizes: a full block and at most MAX_MEMORY_BYTES of memory.
    static std::optional<LoggerImage> fromBytes(const std::vector<std::uint8_t>& bytes,
                                                std::string& error);
    std::vector<std::uint8_t> toBytes() const;
};

// Reads and checks an image file; nullopt with `error` set (one line).
std::optional<LoggerImage> loadImage(const std::string& path, std::string& error);
// Writes through saveFile; false with `error` set, the old file untouched.
bool saveImage(const std::string& path, const LoggerImage& image, std::string& error);

// What a factory image holds.
struct FactoryOptions {
    int modelType = 3;
    std::string name;               // cp1252; empty gives the model name
    std::uint32_t serialNumber = 0; // 0 picks one from the model number
    bool logging = false;           // start logging at `now` (immediate start)
    CalendarTime now{};             // set-up time for `logging`, CO dates
};
// A plausible factory image of the model: calibration, serial number,
// firmware version, battery in good order, CO dates, factory scaling
// texts, memory sized from the model table. nullopt for an unknown model.
std::optional<LoggerImage> makeFactoryImage(const FactoryOptions& options, std::string& error);

// The deterministic reading `index` of `channel` (0 main, 1 humidity) as the
// logger stores it, before encoding: a smooth plausible signal per model.
unsigned simulatedRaw(const ConfigBlock& block, std::uint32_t index, int channel);

// Misbehaviour of the firmware's replies (fault injection).
struct FirmwareQuirks {
    std::optional<std::uint16_t> configLength; // announced L of config replies (body as announced, padded with 0)
    std::optional<std::uint16_t> dataLength;   // announced N of data replies (body as announced, padded with 0)
    bool dropAcknowledge = false;              // config writes are never acknowledged
    std::vector<std::uint8_t> ackPrefix;       // bytes sent before the 0xFF
};

class SimulatedLogger {
public:
    // Opens an image file; nullptr with `error` set when it cannot be read or
    // is not a logger image. `clock` gives the wall time; the logger runs its
    // own time line `speed` times as fast, anchored at the set-up of the
    // current log (see docs/simulator.md). Speed 0 freezes the logger; no
    // speed takes VESSOR_SIM_SPEED, and a value there that is no speed
    // fails the open.
    static std::unique_ptr<SimulatedLogger> open(const std::string& imagePath, std::string& error,
                                                 const Clock& clock = SystemClock::instance(),
                                                 std::optional<double> speed = std::nullopt);
    // A logger held in memory only (nothing saved), for tests.
    static std::unique_ptr<SimulatedLogger> fromImage(LoggerImage image, const Clock& clock,
                                                      double speed = 0.0);

    // Bytes the PC sends.
    void hostWrite(const std::uint8_t* data, std::size_t length);
    // Bytes the logger has ready for the PC; returns how many were copied.
    std::size_t hostRead(std::uint8_t* out, std::size_t maxLength);
    std::size_t pendingBytes() const;
    // Forgets a half-received request and unread reply bytes (device closed).
    void resetLink();

    // Brings the memory up to the logger's current time (readings accrue
    // while logging) and saves the image when it changed.
    void catchUp();
    // The start button: a push-button logger waiting for it stores the
    // seconds since set-up in startDelay and starts. False (with `error`)
    // when the logger is not waiting for the button.
    bool pressButton(std::string& error);

    // The logger's current time line.
    CalendarTime loggerNow() const;
    const LoggerImage& image() const { return m_image; }
    // Replaces the state (tests); saved when the logger has a file.
    void setImage(const LoggerImage& image);
    const std::string& imagePath() const { return m_path; }
    // Why the last save failed (empty when it did not).
    const std::string& lastError() const { return m_lastError; }
    std::uint32_t serialNumber() const;
    void setQuirks(FirmwareQuirks quirks);

private:
    SimulatedLogger(LoggerImage image, std::string path, const Clock& clock, double speed);
    void handleRequests();
    bool applyConfigWrite(const std::uint8_t* body, std::size_t length);
    void catchUpLocked();
    // Reads the image file afresh (another program may have changed it).
    void reload();
    void catchUpEvents(std::int64_t elapsedSeconds);
    CalendarTime anchor() const;
    void queueReply(const std::uint8_t* data, std::size_t length);
    bool save();

    mutable std::recursive_mutex m_mutex;
    LoggerImage m_image;
    std::string m_path;
    const Clock& m_clock;
    double m_speed;
    std::vector<std::uint8_t> m_request;   // bytes of the request being received
    std::vector<std::uint8_t> m_reply;     // bytes ready for the PC from m_replyPos on
    std::size_t m_replyPos = 0;
    std::string m_lastError;
    FirmwareQuirks m_quirks;
};

// Faults a test can inject into SimXpress. Counters count calls from the
// moment the fault is set; -1 = never.
struct SimFaults {
    bool noDevice = false;             // getNumDevices reports 0
    bool productStringFails = false;   // every product string fails
    bool openFails = false;
    int failReadAfter = -1;            // the nth read call (0-based) times out
    int failWriteAfter = -1;           // the nth write call times out
    int shortWriteAfter = -1;          // the nth write reports one byte less written
    FirmwareQuirks firmware;           // passed on to the logger
    int extraDevices = 0;              // further loggers on the bus (never opened)
    // After this many requests have completed, `swapIn` replaces the logger.
    int swapAfterRequests = -1;
    std::shared_ptr<SimulatedLogger> swapIn;
};

// The transport over a simulated logger. Reads never block: with nothing
// pending a read reports a time-out at once.
class SimXpress : public UsbXpress {
public:
    explicit SimXpress(std::shared_ptr<SimulatedLogger> logger);

    void setFaults(SimFaults faults);
    const SimFaults& faults() const { return m_faults; }
    // Replaces the logger on the bus (a different logger plugged in).
    void swapLogger(std::shared_ptr<SimulatedLogger> logger);
    SimulatedLogger& logger() { return *m_logger; }
    // Calls seen, for tests: number of requests completed (device closed
    // after an exchange) and the bytes the host wrote in the last request.
    int requestsCompleted() const { return m_requests; }
    const std::vector<std::uint8_t>& lastHostBytes() const { return m_lastHostBytes; }
    int openHandles() const { return m_openHandles; }

    UsbStatus getNumDevices(std::uint32_t& count) override;
    UsbStatus getProductString(std::uint32_t index, std::string& text,
                               std::uint32_t selector) override;
    UsbStatus open(std::uint32_t index, Handle& handle) override;
    UsbStatus close(Handle handle) override;
    UsbStatus read(Handle handle, void* buffer, std::uint32_t toRead,
                   std::uint32_t& bytesRead) override;
    UsbStatus write(Handle handle, const void* buffer, std::uint32_t toWrite,
                    std::uint32_t& bytesWritten) override;
    UsbStatus setTimeouts(std::uint32_t readMs, std::uint32_t writeMs) override;
    UsbStatus getTimeouts(std::uint32_t& readMs, std::uint32_t& writeMs) override;
    UsbStatus checkRxQueue(Handle handle, std::uint32_t& bytesInQueue,
                           std::uint32_t& queueStatus) override;

private:
    bool validHandle(Handle handle) const;

    std::shared_ptr<SimulatedLogger> m_logger;
    SimFaults m_faults;
    int m_readCalls = 0;
    int m_writeCalls = 0;
    int m_requests = 0;
    int m_openHandles = 0;
    Handle m_handle = INVALID_HANDLE;
    std::uint32_t m_readTimeout = USB_INFINITE_TIMEOUT;
    std::uint32_t m_writeTimeout = USB_INFINITE_TIMEOUT;
    std::vector<std::uint8_t> m_lastHostBytes;
};

// A folder of logger images as a bus of simulated loggers: every image file
// in it is one device, in the order of the file names. Image files are the
// plain files of an image's size (256 to 65791 bytes) whose names neither
// start with a full stop nor end in ".lock". An image that cannot be opened
// stays a device that cannot be opened: open() fails with the reason as
// lastErrorDetail(). Product string selector 2 (link name) is the image's
// path.
class SimFolderXpress : public UsbXpress {
public:
    // Lists the folder once; `error` set (one line) when it cannot be read.
    SimFolderXpress(const std::string& folder, const Clock& clock, std::string& error);
    ~SimFolderXpress() override;

    UsbStatus getNumDevices(std::uint32_t& count) override;
    UsbStatus getProductString(std::uint32_t index, std::string& text,
                               std::uint32_t selector) override;
    UsbStatus open(std::uint32_t index, Handle& handle) override;
    UsbStatus close(Handle handle) override;
    UsbStatus read(Handle handle, void* buffer, std::uint32_t toRead,
                   std::uint32_t& bytesRead) override;
    UsbStatus write(Handle handle, const void* buffer, std::uint32_t toWrite,
                    std::uint32_t& bytesWritten) override;
    UsbStatus setTimeouts(std::uint32_t readMs, std::uint32_t writeMs) override;
    UsbStatus getTimeouts(std::uint32_t& readMs, std::uint32_t& writeMs) override;
    UsbStatus checkRxQueue(Handle handle, std::uint32_t& bytesInQueue,
                           std::uint32_t& queueStatus) override;
    std::string lastErrorDetail() const override { return m_detail; }

private:
    struct Device;
    Device* deviceOf(Handle handle);

    std::vector<std::unique_ptr<Device>> m_devices;
    std::uint32_t m_readTimeout = USB_INFINITE_TIMEOUT;
    std::uint32_t m_writeTimeout = USB_INFINITE_TIMEOUT;
    std::string m_detail;
};

} // namespace vessor::sim
