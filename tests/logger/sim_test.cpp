// The link and the configuration block end to end against the simulated
// logger: factory images, live logging, start/stop, and injected faults.
#include "test_support.h"

#include "logger/clock.h"
#include "logger/conversion.h"
#include "logger/session.h"
#include "logger/sim/simulated_logger.h"
#include "logger/strings.h"

#include <atomic>
#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace vessor {
namespace {

using sim::LoggerImage;
using sim::SimFaults;
using sim::SimulatedLogger;
using sim::SimXpress;

std::vector<std::uint8_t> fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class SimFixture : public ::testing::Test {
protected:
    void SetUp() override { dir = test::tempDir(); }
    void TearDown() override { std::filesystem::remove_all(dir); }

    // A factory image of `model` on disk, a logger over it and theConfig.
    void make(int model, bool logging = false, double speed = 1.0, std::uint32_t serial = 0) {
        path = dir + "/logger" + std::to_string(model) + ".img";
        sim::FactoryOptions options;
        options.modelType = model;
        options.logging = logging;
        options.now = clock.now();
        options.serialNumber = serial;
        std::string error;
        auto image = sim::makeFactoryImage(options, error);
        ASSERT_TRUE(image) << error;
        ASSERT_TRUE(sim::saveImage(path, *image, error)) << error;
        logger = SimulatedLogger::open(path, error, clock, speed);
        ASSERT_TRUE(logger) << error;
        usb = std::make_unique<SimXpress>(logger);
        config = LoggerConfig();
        session.setTransport(usb.get());
    }

    std::shared_ptr<SimulatedLogger> another(int model, std::uint32_t serial) {
        sim::FactoryOptions options;
        options.modelType = model;
        options.serialNumber = serial;
        options.now = clock.now();
        options.logging = true;
        std::string error;
        return SimulatedLogger::fromImage(*sim::makeFactoryImage(options, error), clock, 0.0);
    }

    DeviceResult startNow(bool pushButton = false, std::uint32_t delay = 0) {
        // A push-button start is set up now; a delayed one starts later.
        CalendarTime t = clock.now();
        if (!pushButton)
            addSeconds(t, delay);
        return session.startLogging(t.fullYear(), t.month + 1, t.day, t.hour, t.minute, t.second, delay,
                                   pushButton);
    }

    std::string dir;
    std::string path;
    FixedClock clock{makeCalendarTime(2024, 3, 10, 12, 0, 0)};
    std::shared_ptr<SimulatedLogger> logger;
    std::unique_ptr<SimXpress> usb;
    LoggerConfig config;
    LoggerSession session{config, clock};
};

TEST_F(SimFixture, FactoryImagesOfAllModelsArePlausible) {
    for (int model = 1; model <= 18; ++model) {
        SCOPED_TRACE(model);
        make(model);
        ASSERT_TRUE(session.refresh());
        const ModelInfo& info = *findModel(model);
        EXPECT_EQ(config.modelType(), model);
        EXPECT_TRUE(config.isCompatible());
        EXPECT_EQ(config.batteryState(), BatteryState::Good);
        EXPECT_FALSE(config.hasSensorError());
        EXPECT_FALSE(config.isLogging());
        EXPECT_EQ(config.loggerName(), info.name);
        EXPECT_NE(config.serialNumber(), 0u);
        EXPECT_GE(config.lowBatteryLevel(), 555);
        EXPECT_LE(config.lowBatteryLevel(), 585);
        EXPECT_EQ(config.refreshDerived(), SCALING_OK);
        EXPECT_EQ(logger->image().memory.size(),
                  static_cast<std::size_t>(info.factoryCapacity * info.sampleWidth * info.channels));
        if (is8BitModel(model)) {
            EXPECT_EQ(rawToValue(config, 0), -40.0f);
            EXPECT_EQ(rawToValue(config, 255), 87.5f);
        }
        if (isWrapModel(model) || isEventLogger(model)) {
            EXPECT_EQ(config.memoryCapacity(), 16383);
        }
        if (isCOModel(model)) {
            EXPECT_EQ(expiryState(config.sensorLife(), clock.now()), ExpiryState::Valid);
            EXPECT_EQ(expiryState(config.calibrationPeriod(), clock.now()), ExpiryState::Valid);
            EXPECT_EQ(expiryTextNumeric(config.calibrationPeriod()), "09/03/2025");
        }
        if (isVoltageCurrentModel(model)) {
            EXPECT_FALSE(config.defaultScaleUnit().empty());
            float high = 0, low = 0;
            scalingRange(config, high, low);
            EXPECT_LT(low, high);
        }
        if (!isEventLogger(model) && model != 6 && model != 7) {
            EXPECT_LT(config.lowAlarmValue(), config.highAlarmValue());
        }
        EXPECT_TRUE(deviceWarnings(config, clock.now()).empty());
    }
}

struct LiveCase {
    int model;
    double low, high;  // plausible engineering range of the signal
};

class LiveLogging : public SimFixture, public ::testing::WithParamInterface<LiveCase> {};

TEST_P(LiveLogging, ReadingsAccrueWithTheClockAndSurviveTheStop) {
    const LiveCase c = GetParam();
    make(c.model);
    ASSERT_TRUE(session.refresh());
    ASSERT_TRUE(startNow());
    clock.advance(600);
    ASSERT_TRUE(session.refresh());
    EXPECT_TRUE(config.isLogging());
    EXPECT_FALSE(config.isDelayedStart());
    EXPECT_EQ(config.readingCount(), 11);  // one at the start, then each minute
    EXPECT_TRUE(config.hasUndownloadedData());
    ASSERT_TRUE(session.stopLogging());
    EXPECT_FALSE(config.isLogging());
    EXPECT_EQ(config.readingCount(), 11);
    EXPECT_TRUE(config.hasUndownloadedData());
    clock.advance(600);
    ASSERT_TRUE(session.refresh());
    EXPECT_EQ(config.readingCount(), 11);

    SampleBuffer samples;
    ASSERT_TRUE(session.readSamples(samples));
    const ModelInfo& info = *findModel(c.model);
    ASSERT_EQ(samples.size(), logger->image().memory.size() / static_cast<std::size_t>(info.sampleWidth));
    for (int i = 0; i < 11; ++i) {
        const auto raw = static_cast<unsigned>(samples[static_cast<std::size_t>(i * info.channels)]);
        const float value = rawToValue(config, raw);
        EXPECT_GE(value, c.low) << i;
        EXPECT_LE(value, c.high) << i;
        if (info.channels == 2) {
            const float rh = halfUnitsToPercent(static_cast<unsigned>(samples[static_cast<std::size_t>(i * 2 + 1)]));
            EXPECT_GT(rh, 20.0f);
            EXPECT_LT(rh, 90.0f);
        }
    }
    // The whole memory has been read out: nothing is left undownloaded.
    ASSERT_TRUE(session.refresh());
    EXPECT_FALSE(config.hasUndownloadedData());
}

INSTANTIATE_TEST_SUITE_P(Models, LiveLogging,
                         ::testing::Values(LiveCase{1, 10, 30}, LiveCase{3, 10, 30}, LiveCase{4, 0.5, 9.5},
                                           LiveCase{5, 1, 19}, LiveCase{8, 10, 30}, LiveCase{9, 0, 30},
                                           LiveCase{10, 100, 260}, LiveCase{14, 10, 30}, LiveCase{18, 10, 30}));

TEST_F(SimFixture, EightBitModelsSendOnlyTheFirst64Bytes) {
    make(3);
    ASSERT_TRUE(session.refresh());
    const LoggerImage before = logger->image();
    config.setByteAt(0x80, 0x5A);  // beyond the 64-byte write
    config.setLoggerName("Cellar");
    ASSERT_TRUE(startNow());
    const std::vector<std::uint8_t>& sent = usb->lastHostBytes();
    ASSERT_EQ(sent.size(), 3u + 64u);
    EXPECT_EQ(sent[0], 0x01);
    EXPECT_EQ(sent[1], 64);
    EXPECT_EQ(logger->image().block[0x80], before.block[0x80]);
    const std::vector<std::uint8_t> saved = fileBytes(path);
    EXPECT_EQ(std::string(saved.begin() + 2, saved.begin() + 8), "Cellar");
    EXPECT_EQ(saved[0x21] & STATUS_LOGGING, STATUS_LOGGING);
    EXPECT_EQ(config.commandByte(), 0);
}

TEST_F(SimFixture, FrozenClockServesTheImageAsSaved) {
    make(2, true, 0.0);
    const std::vector<std::uint8_t> before = fileBytes(path);
    clock.advance(86400);
    ASSERT_TRUE(session.refresh());
    EXPECT_TRUE(config.isLogging());
    EXPECT_EQ(config.readingCount(), 0);
    SampleBuffer samples;
    ASSERT_TRUE(session.readSamples(samples));
    EXPECT_EQ(fileBytes(path), before);
}

TEST_F(SimFixture, WrapStorageKeepsTheNewestReadingsInARing) {
    make(14);
    ASSERT_TRUE(session.refresh());
    LoggerImage small = logger->image();
    LoggerConfig edit;
    edit.setBlock(small.block);
    edit.setU16At(field::MEMORY_CAPACITY, 10);
    small.block = edit.block();
    small.memory.assign(20, 0);
    logger->setImage(small);
    ASSERT_TRUE(session.refresh());
    config.setWrapMode(true);
    config.setSampleInterval(1);
    ASSERT_TRUE(startNow());
    clock.advance(25);  // readings 0..25
    ASSERT_TRUE(session.refresh());
    EXPECT_TRUE(config.isWrapMode());
    EXPECT_EQ(config.wrapCount(), 2);
    EXPECT_EQ(config.readingCount(), 6);
    SampleBuffer samples;
    ASSERT_TRUE(session.readSamples(samples));
    ASSERT_EQ(samples.size(), 10u);
    for (std::uint32_t j = 16; j <= 25; ++j)
        EXPECT_EQ(samples[j % 10], static_cast<float>(sim::simulatedRaw(logger->image().block, j, 0))) << j;
}

TEST_F(SimFixture, NonWrapLogStopsAtCapacity) {
    make(2);
    LoggerImage small = logger->image();
    small.memory.assign(5, 0);
    logger->setImage(small);
    ASSERT_TRUE(session.refresh());
    ASSERT_TRUE(startNow());
    clock.advance(3600);
    ASSERT_TRUE(session.refresh());
    EXPECT_EQ(config.readingCount(), 5);
}

TEST_F(SimFixture, PushButtonLoggerWaitsForThePress) {
    make(12);
    ASSERT_TRUE(session.refresh());
    ASSERT_TRUE(startNow(true, 999));  // the delay is ignored for a push-button start
    ASSERT_TRUE(session.refresh());
    EXPECT_EQ(config.startDelay(), 0u);
    EXPECT_TRUE(config.isAwaitingButton());
    EXPECT_FALSE(config.isDelayedStart());
    clock.advance(300);
    ASSERT_TRUE(session.refresh());
    EXPECT_EQ(config.readingCount(), 0);
    std::string error;
    ASSERT_TRUE(logger->pressButton(error)) << error;
    EXPECT_FALSE(logger->pressButton(error));  // once started it is not waiting
    ASSERT_TRUE(session.refresh());
    EXPECT_EQ(config.startDelay(), 300u);
    EXPECT_EQ(config.readingCount(), 1);
    EXPECT_FALSE(config.isAwaitingButton());
    EXPECT_EQ(config.firstReadingTime(), makeCalendarTime(2024, 3, 10, 12, 5, 0));
    clock.advance(120);
    ASSERT_TRUE(session.stopLogging());
    EXPECT_EQ(config.readingCount(), 3);
    EXPECT_EQ(config.startDelay(), 300u);  // kept by the stop in push-button mode
}

TEST_F(SimFixture, StopZeroesTheDelayAndANewLogClearsTheMemory) {
    make(8);
    ASSERT_TRUE(session.refresh());
    ASSERT_TRUE(startNow(false, 120));
    ASSERT_TRUE(session.refresh());
    EXPECT_TRUE(config.isDelayedStart());
    clock.advance(60);
    ASSERT_TRUE(session.refresh());
    EXPECT_EQ(config.readingCount(), 0);  // not started yet
    clock.advance(120);
    ASSERT_TRUE(session.refresh());
    EXPECT_EQ(config.readingCount(), 2);
    EXPECT_TRUE(config.isDelayedStart());  // model 8: the stored delay alone decides
    ASSERT_TRUE(session.stopLogging());
    EXPECT_EQ(config.startDelay(), 0u);
    EXPECT_TRUE(config.hasUndownloadedData());
    ASSERT_TRUE(startNow());
    ASSERT_TRUE(session.refresh());
    EXPECT_EQ(config.readingCount(), 1);
    EXPECT_EQ(config.statusFlags() & STATUS_NOT_DOWNLOADED, STATUS_NOT_DOWNLOADED);
    // The old readings are gone from memory; only the new first one is there.
    const auto& memory = logger->image().memory;
    EXPECT_TRUE(std::all_of(memory.begin() + 2, memory.end(), [](std::uint8_t b) { return b == 0; }));
}

TEST_F(SimFixture, StopWritesTheLoggersOwnCountersNotStaleOnes) {
    make(2);
    ASSERT_TRUE(session.refresh());
    ASSERT_TRUE(startNow());
    ASSERT_TRUE(session.refresh());  // theConfig now holds 1 reading
    clock.advance(600);             // the logger goes on to 11
    ASSERT_TRUE(session.stopLogging());
    EXPECT_EQ(config.readingCount(), 11);
    LoggerConfig saved;
    const auto bytes = fileBytes(path);
    ConfigBlock block;
    std::copy_n(bytes.begin(), 256, block.begin());
    saved.setBlock(block);
    EXPECT_EQ(saved.readingCount(), 11);
    EXPECT_FALSE(saved.isLogging());
}

TEST_F(SimFixture, EventLoggerModes) {
    make(17);
    ASSERT_TRUE(session.refresh());
    config.setEventSampleMode(EVENT_MODE_EDGE);
    ASSERT_TRUE(startNow());
    clock.advance(3600);
    ASSERT_TRUE(session.refresh());
    ASSERT_GT(config.readingCount(), 5);
    SampleBuffer samples;
    ASSERT_TRUE(session.readSamples(samples));
    std::uint64_t tenths = 0;
    for (int i = 0; i < config.readingCount(); ++i) {
        const auto v = static_cast<unsigned>(samples[static_cast<std::size_t>(i)]);
        EXPECT_TRUE(v & 0x8000u);
        tenths += v & 0x7FFFu;
    }
    EXPECT_LE(tenths, 36000u);

    ASSERT_TRUE(session.stopLogging());
    config.setEventSampleMode(EVENT_MODE_COUNT_PER);
    config.setCountPeriod(600);
    ASSERT_TRUE(startNow());
    clock.advance(1300);
    ASSERT_TRUE(session.refresh());
    EXPECT_EQ(config.readingCount(), 2);

    ASSERT_TRUE(session.stopLogging());
    config.setEventSampleMode(EVENT_MODE_COUNT_TOTAL);
    ASSERT_TRUE(startNow());
    clock.advance(400);
    ASSERT_TRUE(session.refresh());
    EXPECT_EQ(config.countPeriod(), 100u);
}

TEST_F(SimFixture, DeviceFaultsGiveTheirOutcomeAndKeepTheConfig) {
    struct Case {
        const char* what;
        SimFaults faults;
        DeviceOutcome outcome;
    };
    std::vector<Case> cases;
    cases.push_back({"no device", {}, DeviceOutcome::NoDevice});
    cases.back().faults.noDevice = true;
    cases.push_back({"product string unreadable", {}, DeviceOutcome::NoDevice});
    cases.back().faults.productStringFails = true;
    cases.push_back({"open fails", {}, DeviceOutcome::NoAccess});
    cases.back().faults.openFails = true;
    cases.push_back({"header read times out", {}, DeviceOutcome::TimedOut});
    cases.back().faults.failReadAfter = 0;
    cases.push_back({"body read times out", {}, DeviceOutcome::TimedOut});
    cases.back().faults.failReadAfter = 1;
    cases.push_back({"request write times out", {}, DeviceOutcome::TimedOut});
    cases.back().faults.failWriteAfter = 0;
    cases.push_back({"request written short", {}, DeviceOutcome::IoFailure});
    cases.back().faults.shortWriteAfter = 0;
    cases.push_back({"block announced above 256", {}, DeviceOutcome::BadReply});
    cases.back().faults.firmware.configLength = 257;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        make(5);
        config.setLoggerName("Before");
        const ConfigBlock before = config.block();
        usb->setFaults(c.faults);
        EXPECT_EQ(session.refresh().outcome, c.outcome);
        EXPECT_EQ(config.block(), before);
        EXPECT_EQ(usb->openHandles(), 0);
    }
}

TEST_F(SimFixture, WriteFaultsLeaveTheLoggerAsItWas) {
    struct Case {
        const char* what;
        SimFaults faults;
        DeviceOutcome outcome;
    };
    std::vector<Case> cases;
    cases.push_back({"header write times out", {}, DeviceOutcome::TimedOut});
    cases.back().faults.failWriteAfter = 1;  // write 0 is the read request of the check
    cases.push_back({"block written short", {}, DeviceOutcome::IoFailure});
    cases.back().faults.shortWriteAfter = 2;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        make(14);
        ASSERT_TRUE(session.refresh());
        const std::vector<std::uint8_t> before = fileBytes(path);
        usb->setFaults(c.faults);
        EXPECT_EQ(startNow().outcome, c.outcome);
        EXPECT_EQ(fileBytes(path), before);
    }
}

TEST_F(SimFixture, AcknowledgementVariants) {
    make(14);
    ASSERT_TRUE(session.refresh());
    SimFaults faults;
    faults.firmware.ackPrefix = {0x00, 0x00};
    usb->setFaults(faults);
    EXPECT_TRUE(startNow());
    faults.firmware.ackPrefix.clear();
    faults.firmware.dropAcknowledge = true;
    usb->setFaults(faults);
    EXPECT_EQ(session.stopLogging().outcome, DeviceOutcome::TimedOut);
}

TEST_F(SimFixture, OddAndShortRepliesAreHandledWithinBounds) {
    make(14);
    ASSERT_TRUE(session.refresh());
    SimFaults faults;
    faults.firmware.dataLength = 5;  // odd on a 16-bit model
    usb->setFaults(faults);
    SampleBuffer samples;
    ASSERT_TRUE(session.readSamples(samples));
    EXPECT_EQ(samples.size(), 2u);
    faults.firmware.dataLength.reset();
    faults.firmware.configLength = 64;
    usb->setFaults(faults);
    ASSERT_TRUE(session.refresh());
    EXPECT_EQ(config.block()[0x80], 0);
    EXPECT_EQ(config.modelType(), 14);
}

TEST_F(SimFixture, ReplacedLoggerIsRefused) {
    make(12, true, 1.0, 111);
    ASSERT_TRUE(session.refresh());
    auto other = another(12, 222);
    const LoggerImage otherBefore = other->image();
    usb->swapLogger(other);
    EXPECT_EQ(session.stopLogging().outcome, DeviceOutcome::LoggerReplaced);
    EXPECT_EQ(startNow().outcome, DeviceOutcome::LoggerReplaced);
    EXPECT_EQ(other->image().block, otherBefore.block);

    // Swapped between the refresh and the stop, inside one user action.
    make(12, true, 1.0, 111);
    SimFaults faults;
    faults.swapAfterRequests = 1;
    faults.swapIn = another(12, 333);
    usb->setFaults(faults);
    ASSERT_TRUE(session.refresh());
    EXPECT_EQ(session.stopLogging().outcome, DeviceOutcome::LoggerReplaced);
}

TEST_F(SimFixture, TwoLoggersOnTheBusUseDeviceZero) {
    make(2);
    SimFaults faults;
    faults.extraDevices = 1;
    usb->setFaults(faults);
    ASSERT_TRUE(session.refresh());
    EXPECT_EQ(session.link().deviceCount(), 2);
    EXPECT_EQ(config.modelType(), 2);
}

TEST_F(SimFixture, BadImagesAreRefusedWithAReason) {
    struct Case {
        const char* what;
        std::size_t size;
        const char* reason;
    };
    const Case cases[] = {
        {"empty", 0, "256"},
        {"short block", 100, "256"},
        // The size found and the largest an image can be.
        {"memory above 65535", 256 + 65536, "65792 bytes, but a logger image has at most 65791"},
        {"a megabyte", 1 << 20, "1048576 bytes, but a logger image has at most 65791"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string p = dir + "/bad.img";
        {
            std::ofstream out(p, std::ios::binary);
            const std::vector<char> bytes(c.size, 1);
            out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        }
        std::string error;
        EXPECT_EQ(SimulatedLogger::open(p, error, clock), nullptr);
        EXPECT_NE(error.find(c.reason), std::string::npos) << error;
        EXPECT_EQ(fileBytes(p).size(), c.size);
    }
    std::string error;
    EXPECT_EQ(SimulatedLogger::open(dir + "/missing.img", error, clock), nullptr);
    EXPECT_NE(error.find("missing.img"), std::string::npos);
    // Opened without waiting for a writer, and refused.
    const std::string fifo = dir + "/fifo.img";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(SimulatedLogger::open(fifo, error, clock), nullptr);
    EXPECT_NE(error.find("Not a plain file"), std::string::npos) << error;
}

// Two programs on one image are one logger: each request reads the image
// afresh, so neither undoes what the other did.
TEST_F(SimFixture, TwoProgramsOnOneImageSeeTheSameLogger) {
    make(12, true, 1.0);
    std::string error;
    // The second program (a status page, the utility) opened the image earlier.
    const std::shared_ptr<SimulatedLogger> earlier = SimulatedLogger::open(path, error, clock, 1.0);
    ASSERT_TRUE(earlier) << error;
    SimXpress earlierUsb(earlier);
    LoggerConfig earlierConfig;
    LoggerSession earlierSession(earlierConfig, clock);
    earlierSession.setTransport(&earlierUsb);

    clock.advance(600);
    ASSERT_TRUE(session.refresh());
    ASSERT_TRUE(session.stopLogging());
    clock.advance(600);
    // Its own copy would still be logging and save readings over the stop.
    ASSERT_TRUE(earlierSession.refresh());
    EXPECT_FALSE(earlierConfig.isLogging());
    EXPECT_EQ(earlierConfig.readingCount(), config.readingCount());
    ASSERT_TRUE(session.refresh());
    EXPECT_FALSE(config.isLogging());

    // A button pressed by another program is seen by the one already open.
    ASSERT_TRUE(startNow(true));
    ASSERT_TRUE(earlierSession.refresh());
    EXPECT_TRUE(earlierConfig.isAwaitingButton());
    const std::unique_ptr<SimulatedLogger> presser = SimulatedLogger::open(path, error, clock, 1.0);
    ASSERT_TRUE(presser) << error;
    ASSERT_TRUE(presser->pressButton(error)) << error;
    ASSERT_TRUE(earlierSession.refresh());
    EXPECT_FALSE(earlierConfig.isAwaitingButton());
    EXPECT_EQ(earlierConfig.readingCount(), 1);
}

// Each request holds PATH.lock: one waits while another program holds it.
TEST_F(SimFixture, RequestsWaitForTheImageLock) {
    make(3);
    const int lock = ::open((path + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    ASSERT_GE(lock, 0);
    ASSERT_EQ(::flock(lock, LOCK_EX), 0);
    std::atomic<bool> done = false;
    std::thread request([&] {
        EXPECT_TRUE(session.refresh());
        done = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_FALSE(done);
    ::flock(lock, LOCK_UN);
    request.join();
    EXPECT_TRUE(done);
    ::close(lock);
}

TEST_F(SimFixture, FailedSaveIsNotAcknowledged) {
    make(2);
    ASSERT_TRUE(session.refresh());
    std::filesystem::remove_all(dir);  // the image can no longer be saved
    const ConfigBlock before = logger->image().block;
    EXPECT_FALSE(startNow());
    EXPECT_EQ(logger->image().block, before);
    EXPECT_FALSE(logger->lastError().empty());
    std::filesystem::create_directories(dir);
}

TEST(SimulatedFirmware, ParsesRequestsArrivingInPieces) {
    FixedClock clock(makeCalendarTime(2024, 1, 1));
    std::string error;
    sim::FactoryOptions options;
    options.modelType = 4;
    auto logger = SimulatedLogger::fromImage(*sim::makeFactoryImage(options, error), clock);
    const std::uint8_t junk[] = {0x07, 0x00};
    logger->hostWrite(junk, 2);  // unknown command bytes are skipped
    const std::uint8_t part1[] = {0x00};
    const std::uint8_t part2[] = {0xFF, 0xFF};
    logger->hostWrite(part1, 1);
    EXPECT_EQ(logger->pendingBytes(), 0u);
    logger->hostWrite(part2, 2);
    ASSERT_EQ(logger->pendingBytes(), 259u);
    std::uint8_t out[300];
    EXPECT_EQ(logger->hostRead(out, 300), 259u);
    EXPECT_EQ(out[1], 0x00);
    EXPECT_EQ(out[2], 0x01);
    EXPECT_EQ(out[3], 4);

    // A write announcing more than a block is dropped, unacknowledged.
    const std::uint8_t tooLong[] = {0x01, 0x01, 0x01, 0xAA};
    logger->hostWrite(tooLong, 4);
    EXPECT_EQ(logger->pendingBytes(), 0u);
    // A complete write is acknowledged only when its last byte arrives.
    std::vector<std::uint8_t> write{0x01, 64, 0};
    write.insert(write.end(), logger->image().block.begin(), logger->image().block.begin() + 64);
    logger->hostWrite(write.data(), 30);
    EXPECT_EQ(logger->pendingBytes(), 0u);
    logger->hostWrite(write.data() + 30, write.size() - 30);
    ASSERT_EQ(logger->pendingBytes(), 1u);
    EXPECT_EQ(logger->hostRead(out, 10), 1u);
    EXPECT_EQ(out[0], 0xFF);
}

} // namespace
} // namespace vessor
