// LoggerLink -> libusb backend -> emulated usbdevfs -> simulated logger.
#include "emulated_logger.h"
#include "logger/logger_config.h"
#include "logger/logger_link.h"
#include "logger/strings.h"
#include "logger/usb/libusb_xpress.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace vessor::usbtest {
namespace {

const CalendarTime NOW{.second = 0, .minute = 30, .hour = 10, .day = 14, .month = 4, .year = 124};

std::shared_ptr<sim::SimulatedLogger> makeLogger(int model, const FixedClock& clock,
                                                 std::size_t memoryBytes = 0) {
    sim::FactoryOptions options;
    options.modelType = model;
    options.serialNumber = 4711;
    options.now = NOW;
    std::string error;
    std::optional<sim::LoggerImage> image = sim::makeFactoryImage(options, error);
    if (!image)
        throw std::runtime_error(error);
    if (memoryBytes != 0) {
        image->memory.resize(memoryBytes);
        for (std::size_t i = 0; i < memoryBytes; ++i)
            image->memory[i] = static_cast<std::uint8_t>((i * 13 + i / 256) & 0xFF);
    }
    return sim::SimulatedLogger::fromImage(*image, clock, 0.0);
}

class EndToEnd : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(inMockEnvironment()); }
    void TearDown() override {
        usb.reset();
        bed.reset();
    }

    // A fresh bus with just this logger on it.
    EmulatedUsbDevice& plugIn(std::shared_ptr<sim::SimulatedLogger> simulated) {
        usb.reset();
        bed.reset();
        bed = std::make_unique<UsbTestbed>();
        logger = std::move(simulated);
        EmulatedUsbDevice& device = bed->addDevice(
            loggerDeviceSetup(*logger), std::make_shared<SimulatedLoggerFirmware>(logger));
        std::string error;
        usb = usb::createLibusbXpress({}, error);
        if (!usb)
            throw std::runtime_error(error);
        link = LoggerLink(usb.get());
        return device;
    }

    FixedClock clock{NOW};
    std::unique_ptr<UsbTestbed> bed;
    std::shared_ptr<sim::SimulatedLogger> logger;
    std::unique_ptr<UsbXpress> usb;
    LoggerLink link;
};

TEST_F(EndToEnd, FindsTheLoggerAndReadsItsBlock) {
    plugIn(makeLogger(3, clock));
    ASSERT_TRUE(link.findDevice());
    EXPECT_EQ(link.deviceCount(), 1);
    EXPECT_EQ(link.deviceStrings()[0], sim::simProductString(4711));

    ConfigBlock block{};
    ASSERT_TRUE(link.readConfig(0, block)) << link.lastError();
    EXPECT_EQ(block, logger->image().block);
    EXPECT_FALSE(link.isOpen());
}

// The same write through USB and through the direct simulated transport
// leaves the two loggers alike.
TEST_F(EndToEnd, WritesABlockAsTheDirectTransportDoes) {
    for (const auto& [model, length] : {std::pair{3, std::size_t{256}}, std::pair{1, std::size_t{64}}}) {
        SCOPED_TRACE(model);
        plugIn(makeLogger(model, clock));
        auto twin = std::shared_ptr<sim::SimulatedLogger>(makeLogger(model, clock));
        sim::SimXpress direct(twin);
        LoggerLink directLink(&direct);

        ConfigBlock block = logger->image().block;
        const char name[] = "Cold store 4";
        std::copy(std::begin(name), std::end(name), block.begin() + field::LOGGER_NAME);
        ASSERT_TRUE(link.writeConfig(0, block, length)) << link.lastError();
        ASSERT_TRUE(directLink.writeConfig(0, block, length));
        EXPECT_EQ(logger->image().block, twin->image().block);
        EXPECT_EQ(0, std::memcmp(logger->image().block.data() + field::LOGGER_NAME, name, sizeof name));

        ConfigBlock readBack{};
        ASSERT_TRUE(link.readConfig(0, readBack));
        EXPECT_EQ(readBack, logger->image().block);
    }
}

TEST_F(EndToEnd, DownloadsAFullDataMemory) {
    const struct {
        int model;
        std::size_t readings;
    } cases[] = {
        {3, 65535}, // 8-bit, 512-byte blocks
        {1, 65535}, // 8-bit, 64-byte blocks
        {4, 32767}, // 16-bit: the odd last byte is no reading
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.model);
        plugIn(makeLogger(c.model, clock, sim::MAX_MEMORY_BYTES));
        const std::vector<std::uint8_t> memory = logger->image().memory;
        SampleBuffer samples;
        ASSERT_TRUE(link.readData(0, c.model, samples)) << link.lastError();
        ASSERT_EQ(samples.size(), c.readings);
        const bool words = c.readings != memory.size();
        for (std::size_t i = 0; i < samples.size(); ++i) {
            const unsigned expected = words ? memory[2 * i] * 256u + memory[2 * i + 1] : memory[i];
            ASSERT_EQ(samples[i], expected) << "reading " << i;
        }
    }
}

TEST_F(EndToEnd, UnplugMidTransferFailsAndKeepsWhatWasThere) {
    EmulatedUsbDevice& device = plugIn(makeLogger(3, clock, sim::MAX_MEMORY_BYTES));
    device.unplugAfterInBytes(30000);
    SampleBuffer samples{1, 2};
    EXPECT_EQ(link.readData(0, 3, samples).outcome, DeviceOutcome::IoFailure);
    EXPECT_EQ(samples, (SampleBuffer{1, 2}));
    EXPECT_FALSE(link.isOpen());

    ConfigBlock block{};
    block.fill(0x5A);
    EXPECT_FALSE(link.readConfig(0, block));
    EXPECT_TRUE(std::all_of(block.begin(), block.end(), [](std::uint8_t b) { return b == 0x5A; }));
}

#ifdef VESSOR_LOGGER_PROGRAM
TEST_F(EndToEnd, CommandLineToolReadsTheLoggerOverUsb) {
    plugIn(makeLogger(3, clock));
    usb.reset(); // the tool is the only host now
    std::string output;
    const int status = runInTestbed({VESSOR_LOGGER_PROGRAM, "--device", "usb", "info"}, output);
    EXPECT_EQ(status, 0) << output;
    const auto* name = reinterpret_cast<const char*>(logger->image().block.data() + field::LOGGER_NAME);
    EXPECT_NE(output.find(std::string(name, strnlen(name, field::LOGGER_NAME_WIDTH))), std::string::npos)
        << output;
    EXPECT_NE(output.find("4711"), std::string::npos) << output;
}

// Two loggers on the bus: list names each by the serial number of its
// block, and usb:SERIAL reaches the one asked for, set up included.
TEST_F(EndToEnd, ListAndSerialNumbersPickOneLoggerOfTwo) {
    bed = std::make_unique<UsbTestbed>();
    std::vector<std::shared_ptr<sim::SimulatedLogger>> loggers;
    unsigned port = 0;
    for (const auto& [model, serial] : {std::pair{3, 4711u}, std::pair{17, 10003017u}}) {
        ++port;
        sim::FactoryOptions options;
        options.modelType = model;
        options.serialNumber = serial;
        options.now = NOW;
        std::string error;
        std::optional<sim::LoggerImage> image = sim::makeFactoryImage(options, error);
        ASSERT_TRUE(image) << error;
        loggers.push_back(sim::SimulatedLogger::fromImage(*image, clock, 0.0));
        DeviceSetup setup = loggerDeviceSetup(*loggers.back());
        setup.sysName = "1-" + std::to_string(port);
        setup.address = 1 + port;
        bed->addDevice(setup, std::make_shared<SimulatedLoggerFirmware>(loggers.back()));
    }
    std::string output;
    ASSERT_EQ(runInTestbed({VESSOR_LOGGER_PROGRAM, "--device", "usb", "list"}, output), 0) << output;
    EXPECT_NE(output.find("usb:000004711\t3 ZR-TH\tZR-TH\t000004711\tStopped\t0\n"), std::string::npos) << output;
    EXPECT_NE(output.find("usb:010003017\t17 ZR-EV\tZR-EV\t010003017\tStopped\t0\n"), std::string::npos) << output;

    ASSERT_EQ(runInTestbed({VESSOR_LOGGER_PROGRAM, "--device", "usb:010003017", "setup", "--name", "Door"}, output), 0)
        << output;
    LoggerConfig first;
    first.setBlock(loggers[0]->image().block);
    LoggerConfig second;
    second.setBlock(loggers[1]->image().block);
    EXPECT_EQ(first.loggerName(), "ZR-TH");
    EXPECT_FALSE(first.isLogging());
    EXPECT_EQ(second.loggerName(), "Door");
    EXPECT_TRUE(second.isLogging());

    // Nobody of that number: "no logger with the serial number 000000099 is attached".
    EXPECT_EQ(runInTestbed({VESSOR_LOGGER_PROGRAM, "--device", "usb:99", "info"}, output), 1);
    EXPECT_EQ(output, "");
}

// Two downloads at once from one logger: both end, each either with the
// whole file or refused cleanly because the other holds the device, never
// with a crash or a hang; at least one gets the file.
TEST_F(EndToEnd, TwoDownloadsAtOnceBothEnd) {
    std::shared_ptr<sim::SimulatedLogger> simulated = makeLogger(1, clock);
    sim::LoggerImage image = simulated->image();
    for (std::size_t i = 0; i < image.memory.size(); ++i)
        image.memory[i] = static_cast<std::uint8_t>(i % 200);
    LoggerConfig config;
    config.setBlock(image.block);
    config.setReadingCount(static_cast<std::int16_t>(std::min<std::size_t>(image.memory.size(), 16000)));
    image.block = config.block();
    simulated->setImage(image);
    EmulatedUsbDevice& device = plugIn(simulated);
    usb.reset(); // the tools are the only hosts

    char folderTemplate[] = "/tmp/vessor-usb-XXXXXX";
    ASSERT_NE(mkdtemp(folderTemplate), nullptr);
    const std::filesystem::path folder = folderTemplate;
    const auto download = [&](const std::string& name) {
        return std::vector<std::string>{VESSOR_LOGGER_PROGRAM, "--device", "usb", "download", "-o",
                                        (folder / name).string()};
    };
    const auto contents = [&](const std::string& name) {
        std::ifstream file(folder / name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), {});
    };
    std::string output;
    ASSERT_EQ(runInTestbed(download("alone.txt"), output), 0) << output;
    const std::string expected = contents("alone.txt");
    ASSERT_FALSE(expected.empty());

    for (int round = 0; round < 4; ++round) {
        SCOPED_TRACE(round);
        // The second starts once the first holds the device.
        device.clearEvents();
        const auto firstHoldsIt = [&] {
            const std::vector<std::string> events = device.events();
            return std::find(events.begin(), events.end(), "detach-and-claim 0") != events.end();
        };
        const std::vector<CommandRun> runs =
            runTogetherInTestbed({download("a.txt"), download("b.txt")}, 60, firstHoldsIt);
        int written = 0;
        for (std::size_t i = 0; i < runs.size(); ++i) {
            const std::string name = i == 0 ? "a.txt" : "b.txt";
            if (runs[i].status == 0) {
                ++written;
                EXPECT_EQ(contents(name), expected) << name;
            } else {
                EXPECT_EQ(runs[i].status, 1) << runs[i].output;
                EXPECT_NE(runs[i].output.find("in use by another program"), std::string::npos) << runs[i].output;
                EXPECT_FALSE(std::filesystem::exists(folder / name)) << name;
            }
            std::filesystem::remove(folder / name);
        }
        EXPECT_GE(written, 1);
    }
    std::filesystem::remove_all(folder);
}
#endif

} // namespace
} // namespace vessor::usbtest
