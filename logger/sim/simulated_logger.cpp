// The firmware of the simulated logger. See docs/simulator.md for the
// behaviour it models.
#include "simulated_logger.h"

#include "../logger_config.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace vessor::sim {
namespace {

// Readings a stored log can hold: the memory, limited by memoryCapacity on
// the models that have it, and by what the signed readingCount can count.
std::uint64_t capacityOf(const LoggerConfig& c, std::size_t memoryBytes) {
    const ModelInfo* info = findModel(c.modelType());
    if (!info)
        return 0;
    std::uint64_t capacity = memoryBytes / static_cast<std::size_t>(info->sampleWidth * info->channels);
    if ((isWrapModel(c.modelType()) || isEventLogger(c.modelType())) && c.memoryCapacity() > 0)
        capacity = std::min<std::uint64_t>(capacity, c.memoryCapacity());
    return std::min<std::uint64_t>(capacity, 32767);
}

void putSample(std::vector<std::uint8_t>& memory, std::size_t sampleIndex, int width, unsigned raw) {
    const std::size_t at = sampleIndex * static_cast<std::size_t>(width);
    if (at + static_cast<std::size_t>(width) > memory.size())
        return;
    if (width == 2) {
        memory[at] = static_cast<std::uint8_t>(raw >> 8);  // high byte first
        memory[at + 1] = static_cast<std::uint8_t>(raw & 0xFF);
    } else {
        memory[at] = static_cast<std::uint8_t>(raw);
    }
}

unsigned getWord(const std::vector<std::uint8_t>& memory, std::size_t index) {
    const std::size_t at = index * 2;
    if (at + 2 > memory.size())
        return 0;
    return memory[at] * 256u + memory[at + 1];
}

// Time since the previous event, in tenths of a second (0.5 s .. 10 min).
unsigned eventGap(std::uint32_t index) {
    std::uint32_t x = index * 2246822519u + 3266489917u;
    x ^= x >> 15;
    x *= 0x27d4eb2fu;
    x ^= x >> 13;
    return 5 + x % 6000;
}

unsigned eventCount(std::uint32_t index) {
    std::uint32_t x = index * 374761393u + 668265263u;
    x ^= x >> 13;
    return 20 + x % 180;
}

// The image is the logger's memory, shared by every program that opens it:
// each request holds PATH.lock (a save renames a new image over the old one,
// so the image itself cannot carry the lock) and reads the image afresh.
class ImageLock {
public:
    explicit ImageLock(const std::string& imagePath) {
        if (imagePath.empty())
            return;
        const std::string path = imagePath + ".lock";
        m_fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0666);
        if (m_fd < 0)  // a folder this program may not write in
            m_fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        while (m_fd >= 0 && ::flock(m_fd, LOCK_EX) != 0 && errno == EINTR) {
        }
    }
    ~ImageLock() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    ImageLock(const ImageLock&) = delete;
    ImageLock& operator=(const ImageLock&) = delete;

private:
    int m_fd = -1;
};

} // namespace

std::unique_ptr<SimulatedLogger> SimulatedLogger::open(const std::string& imagePath, std::string& error,
                                                       const Clock& clock, std::optional<double> speed) {
    if (!speed)
        speed = simSpeedFromEnvironment(error);
    if (!speed)
        return nullptr;
    auto image = loadImage(imagePath, error);
    if (!image)
        return nullptr;
    return std::unique_ptr<SimulatedLogger>(new SimulatedLogger(std::move(*image), imagePath, clock, *speed));
}

std::unique_ptr<SimulatedLogger> SimulatedLogger::fromImage(LoggerImage image, const Clock& clock,
                                                            double speed) {
    return std::unique_ptr<SimulatedLogger>(new SimulatedLogger(std::move(image), {}, clock, speed));
}

SimulatedLogger::SimulatedLogger(LoggerImage image, std::string path, const Clock& clock, double speed)
    : m_image(std::move(image)), m_path(std::move(path)), m_clock(clock), m_speed(speed) {}

std::uint32_t SimulatedLogger::serialNumber() const {
    std::lock_guard lock(m_mutex);
    LoggerConfig c;
    c.setBlock(m_image.block);
    return c.serialNumber();
}

void SimulatedLogger::setQuirks(FirmwareQuirks quirks) {
    std::lock_guard lock(m_mutex);
    m_quirks = std::move(quirks);
}

void SimulatedLogger::setImage(const LoggerImage& image) {
    std::lock_guard lock(m_mutex);
    const ImageLock imageLock(m_path);
    m_image = image;
    save();
}

void SimulatedLogger::reload() {
    if (m_path.empty())
        return;
    std::string error;
    if (auto image = loadImage(m_path, error))
        m_image = std::move(*image);
    else
        m_lastError = error;
}

bool SimulatedLogger::save() {
    if (m_path.empty())
        return true;
    std::string error;
    if (!saveImage(m_path, m_image, error)) {
        m_lastError = error;
        return false;
    }
    m_lastError.clear();
    return true;
}

// The logger's time line runs from the set-up of the current log: the start
// fields less the delay (a delayed start was set up `startDelay` seconds
// before its start), or the start fields themselves in push-button mode,
// where startDelay counts from set-up to the press.
CalendarTime SimulatedLogger::anchor() const {
    LoggerConfig c;
    c.setBlock(m_image.block);
    if (c.isPushButtonMode())
        return c.startTime();
    return fromCalendarSeconds(toCalendarSeconds(c.startTime()) - static_cast<std::int64_t>(c.startDelay()));
}

CalendarTime SimulatedLogger::loggerNow() const {
    std::lock_guard lock(m_mutex);
    return ScaledClock(m_clock, anchor(), m_speed).now();
}

void SimulatedLogger::resetLink() {
    std::lock_guard lock(m_mutex);
    m_request.clear();
    m_reply.clear();
    m_replyPos = 0;
}

std::size_t SimulatedLogger::pendingBytes() const {
    std::lock_guard lock(m_mutex);
    return m_reply.size() - m_replyPos;
}

std::size_t SimulatedLogger::hostRead(std::uint8_t* out, std::size_t maxLength) {
    std::lock_guard lock(m_mutex);
    const std::size_t n = std::min(maxLength, m_reply.size() - m_replyPos);
    std::copy_n(m_reply.begin() + static_cast<std::ptrdiff_t>(m_replyPos), n, out);
    m_replyPos += n;
    if (m_replyPos == m_reply.size()) {
        m_reply.clear();
        m_replyPos = 0;
    }
    return n;
}

void SimulatedLogger::queueReply(const std::uint8_t* data, std::size_t length) {
    m_reply.insert(m_reply.end(), data, data + length);
}

void SimulatedLogger::hostWrite(const std::uint8_t* data, std::size_t length) {
    std::lock_guard lock(m_mutex);
    m_request.insert(m_request.end(), data, data + length);
    const ImageLock imageLock(m_path);
    reload();
    handleRequests();
}

void SimulatedLogger::handleRequests() {
    while (m_request.size() >= 3) {
        const std::uint8_t command = m_request[0];
        const std::size_t announced = m_request[1] | m_request[2] << 8;
        if (command == CMD_READ_CONFIG) {
            m_request.erase(m_request.begin(), m_request.begin() + 3);
            catchUpLocked();
            const std::size_t length = m_quirks.configLength.value_or(CONFIG_BLOCK_SIZE);
            const std::uint8_t header[3] = {command, static_cast<std::uint8_t>(length & 0xFF),
                                            static_cast<std::uint8_t>(length >> 8)};
            queueReply(header, 3);
            std::vector<std::uint8_t> body(length, 0);
            std::copy_n(m_image.block.begin(), std::min(length, CONFIG_BLOCK_SIZE), body.begin());
            queueReply(body.data(), body.size());
        } else if (command == CMD_READ_DATA) {
            m_request.erase(m_request.begin(), m_request.begin() + 3);
            catchUpLocked();
            const std::size_t length = m_quirks.dataLength.value_or(m_image.memory.size());
            const std::uint8_t header[3] = {command, static_cast<std::uint8_t>(length & 0xFF),
                                            static_cast<std::uint8_t>(length >> 8)};
            queueReply(header, 3);
            std::vector<std::uint8_t> body(length, 0);
            std::copy_n(m_image.memory.begin(), std::min(length, m_image.memory.size()), body.begin());
            queueReply(body.data(), body.size());
            // A stopped logger whose memory has been read out in full has
            // nothing left that is not downloaded.
            LoggerConfig c;
            c.setBlock(m_image.block);
            if (!c.isLogging() && (c.statusFlags() & STATUS_NOT_DOWNLOADED) && !m_quirks.dataLength) {
                c.setStatusFlags(static_cast<std::uint8_t>(c.statusFlags() & ~STATUS_NOT_DOWNLOADED));
                const ConfigBlock before = m_image.block;
                m_image.block = c.block();
                if (!save())
                    m_image.block = before;
            }
        } else if (command == CMD_WRITE_CONFIG) {
            if (announced > CONFIG_BLOCK_SIZE) {
                // Not a block this logger can take: drop the request.
                m_request.clear();
                return;
            }
            if (m_request.size() < 3 + announced)
                return;  // wait for the rest of the block
            const bool stored = applyConfigWrite(m_request.data() + 3, announced);
            m_request.erase(m_request.begin(), m_request.begin() + 3 + static_cast<std::ptrdiff_t>(announced));
            if (stored && !m_quirks.dropAcknowledge) {
                queueReply(m_quirks.ackPrefix.data(), m_quirks.ackPrefix.size());
                const std::uint8_t ack = WRITE_ACK;
                queueReply(&ack, 1);
            }
        } else {
            // Unknown command byte: skip it and look for a request after it.
            m_request.erase(m_request.begin());
        }
    }
}

bool SimulatedLogger::applyConfigWrite(const std::uint8_t* body, std::size_t length) {
    catchUpLocked();
    const LoggerImage before = m_image;
    LoggerConfig old;
    old.setBlock(before.block);
    LoggerConfig next;
    next.setBlock(before.block);
    ConfigBlock bytes = before.block;
    std::copy_n(body, length, bytes.begin());
    next.setBlock(bytes);

    // What the logger itself owns stays as the logger has it.
    next.setModelType(old.modelType());
    next.setU32At(field::SERIAL_NUMBER, old.serialNumber());
    for (std::size_t i = 0; i < field::FIRMWARE_VERSION_WIDTH; ++i)
        next.setByteAt(field::FIRMWARE_VERSION + i, old.byteAt(field::FIRMWARE_VERSION + i));
    next.setU16At(field::BATTERY_LEVEL, static_cast<std::uint16_t>(old.batteryLevel()));
    constexpr std::uint8_t deviceBits = STATUS_NOT_DOWNLOADED | STATUS_BATTERY_LOW |
                                        STATUS_BATTERY_CRITICAL | STATUS_SENSOR_ERROR;
    next.setStatusFlags(static_cast<std::uint8_t>((next.statusFlags() & ~deviceBits) |
                                                  (old.statusFlags() & deviceBits)));

    if (next.isLogging()) {
        // A new log: memory cleared, counters reset.
        next.setReadingCount(0);
        next.setByteAt(field::WRAP_COUNT, 0);
        next.setStatusFlags(static_cast<std::uint8_t>(next.statusFlags() & ~STATUS_NOT_DOWNLOADED));
        if (isEventLogger(next.modelType()) && next.eventSampleMode() == EVENT_MODE_COUNT_TOTAL)
            next.setCountPeriod(0);
        std::fill(m_image.memory.begin(), m_image.memory.end(), 0);
    } else {
        // Stopped (or stays stopped): the log and its counters are kept.
        next.setReadingCount(old.readingCount());
        next.setByteAt(field::WRAP_COUNT, old.wrapCount());
        if (isEventLogger(old.modelType()) && old.eventSampleMode() == EVENT_MODE_COUNT_TOTAL)
            next.setCountPeriod(old.countPeriod());
        if (old.isLogging() && (old.readingCount() > 0 || old.wrapCount() > 0))
            next.setStatusFlags(static_cast<std::uint8_t>(next.statusFlags() | STATUS_NOT_DOWNLOADED));
    }
    m_image.block = next.block();
    if (!save()) {
        m_image = before;
        return false;
    }
    return true;
}

void SimulatedLogger::catchUp() {
    std::lock_guard lock(m_mutex);
    const ImageLock imageLock(m_path);
    reload();
    catchUpLocked();
}

void SimulatedLogger::catchUpLocked() {
    LoggerConfig c;
    c.setBlock(m_image.block);
    const ModelInfo* info = findModel(c.modelType());
    if (m_speed == 0.0 || !info || !c.isLogging())
        return;
    if (c.isAwaitingButton())
        return;
    CalendarTime first = c.startTime();
    if (c.isPushButtonMode())
        addSeconds(first, c.startDelay());
    const std::int64_t elapsed = toCalendarSeconds(loggerNow()) - toCalendarSeconds(first);
    if (elapsed < 0)
        return;
    if (info->has(GROUP_EVENT)) {
        catchUpEvents(elapsed);
        return;
    }
    const std::uint64_t interval = c.sampleInterval();
    if (interval == 0)
        return;
    const std::uint64_t capacity = capacityOf(c, m_image.memory.size());
    if (capacity == 0)
        return;
    const bool wrap = c.isWrapMode();
    const std::uint64_t count = c.readingCount() > 0 ? static_cast<std::uint64_t>(c.readingCount()) : 0;
    const std::uint64_t stored = wrap ? c.wrapCount() * capacity + count : count;
    std::uint64_t expected = static_cast<std::uint64_t>(elapsed) / interval + 1;
    if (!wrap)
        expected = std::min(expected, capacity);
    if (expected <= stored)
        return;
    // Only the last `capacity` readings survive in a ring.
    std::uint64_t from = stored;
    if (wrap && expected - from > capacity)
        from = expected - capacity;
    for (std::uint64_t j = from; j < expected; ++j) {
        const std::size_t slot = static_cast<std::size_t>(wrap ? j % capacity : j);
        const auto index = static_cast<std::uint32_t>(j);
        for (int channel = 0; channel < info->channels; ++channel)
            putSample(m_image.memory, slot * static_cast<std::size_t>(info->channels) + static_cast<std::size_t>(channel),
                      info->sampleWidth, simulatedRaw(m_image.block, index, channel));
    }
    if (wrap) {
        c.setReadingCount(static_cast<std::int16_t>(expected % capacity));
        c.setByteAt(field::WRAP_COUNT, static_cast<std::uint8_t>(std::min<std::uint64_t>(expected / capacity, 255)));
    } else {
        c.setReadingCount(static_cast<std::int16_t>(expected));
    }
    c.setStatusFlags(static_cast<std::uint8_t>(c.statusFlags() | STATUS_NOT_DOWNLOADED));
    m_image.block = c.block();
    save();
}

void SimulatedLogger::catchUpEvents(std::int64_t elapsed) {
    LoggerConfig c;
    c.setBlock(m_image.block);
    const int mode = c.eventSampleMode();
    const std::uint64_t capacity = capacityOf(c, m_image.memory.size());
    const std::uint64_t count = c.readingCount() > 0 ? static_cast<std::uint64_t>(c.readingCount()) : 0;
    if (mode == EVENT_MODE_COUNT_TOTAL) {
        // One total, kept where the status page reads it: an event every 4 s.
        const auto total = static_cast<std::uint32_t>(std::min<std::int64_t>(elapsed / 4, 0xFFFFFFFF));
        if (total == c.countPeriod() && count == 1)
            return;
        c.setCountPeriod(total);
        c.setReadingCount(1);
    } else if (mode == EVENT_MODE_COUNT_PER) {
        const std::uint64_t period = c.countPeriod();
        if (period == 0 || capacity == 0)
            return;
        const std::uint64_t expected = std::min(static_cast<std::uint64_t>(elapsed) / period, capacity);
        if (expected <= count)
            return;
        for (std::uint64_t j = count; j < expected; ++j)
            putSample(m_image.memory, static_cast<std::size_t>(j), 2, eventCount(static_cast<std::uint32_t>(j)));
        c.setReadingCount(static_cast<std::int16_t>(expected));
    } else {
        // Edges or state changes at irregular gaps; the time so far is the
        // sum of the stored gaps.
        std::uint64_t tenths = 0;
        for (std::uint64_t j = 0; j < count; ++j)
            tenths += getWord(m_image.memory, static_cast<std::size_t>(j)) & 0x7FFF;
        const auto limit = static_cast<std::uint64_t>(elapsed) * 10;
        std::uint64_t j = count;
        for (; j < capacity; ++j) {
            const unsigned gap = eventGap(static_cast<std::uint32_t>(j));
            if (tenths + gap > limit)
                break;
            tenths += gap;
            const unsigned high = mode == EVENT_MODE_EDGE ? 0x8000u : (j % 2 == 0 ? 0x8000u : 0u);
            putSample(m_image.memory, static_cast<std::size_t>(j), 2, high | gap);
        }
        if (j == count)
            return;
        c.setReadingCount(static_cast<std::int16_t>(j));
    }
    c.setStatusFlags(static_cast<std::uint8_t>(c.statusFlags() | STATUS_NOT_DOWNLOADED));
    m_image.block = c.block();
    save();
}

bool SimulatedLogger::pressButton(std::string& error) {
    std::lock_guard lock(m_mutex);
    const ImageLock imageLock(m_path);
    reload();
    LoggerConfig c;
    c.setBlock(m_image.block);
    if (!c.isPushButtonMode() || !c.isLogging() || !c.isAwaitingButton()) {
        error = "the logger is not waiting for its button";
        return false;
    }
    const std::int64_t sinceSetup = toCalendarSeconds(loggerNow()) - toCalendarSeconds(c.startTime());
    c.setStartDelay(static_cast<std::uint32_t>(std::max<std::int64_t>(sinceSetup, 0)));
    // The first reading is taken at the press.
    const ModelInfo* info = findModel(c.modelType());
    if (info && capacityOf(c, m_image.memory.size()) > 0) {
        for (int channel = 0; channel < info->channels; ++channel)
            putSample(m_image.memory, static_cast<std::size_t>(channel), info->sampleWidth,
                      simulatedRaw(c.block(), 0, channel));
        c.setReadingCount(1);
        c.setStatusFlags(static_cast<std::uint8_t>(c.statusFlags() | STATUS_NOT_DOWNLOADED));
    }
    const ConfigBlock before = m_image.block;
    m_image.block = c.block();
    if (!save()) {
        m_image.block = before;
        error = m_lastError;
        return false;
    }
    catchUpLocked();
    return true;
}

} // namespace vessor::sim
