// The three requests on the wire: byte sequences, block sizes, decoding,
// acknowledgement, and every way a reply can go wrong.
#include "test_support.h"

#include "logger/logger_link.h"

#include <gtest/gtest.h>

namespace vessor {
namespace {

using test::ScriptedXpress;
using test::reply;

struct LinkFixture : ::testing::Test {
    ScriptedXpress usb;
    LoggerLink link{&usb};
};

struct DataCase {
    int model;
    std::size_t bytes;
    std::size_t expectedReadings;
    std::uint32_t block;
};

class ReadDataSizes : public LinkFixture, public ::testing::WithParamInterface<DataCase> {};

TEST_P(ReadDataSizes, ReadsInModelBlocksAndDecodesEveryReading) {
    const DataCase c = GetParam();
    std::vector<std::uint8_t> memory(c.bytes);
    for (std::size_t i = 0; i < memory.size(); ++i)
        memory[i] = static_cast<std::uint8_t>(i * 7 + 3);
    usb.queue(reply(0x03, memory));
    usb.maxChunk = 100;  // replies arrive in pieces, as USB packets do
    SampleBuffer samples{1, 2};
    ASSERT_TRUE(link.readData(0, c.model, samples));
    ASSERT_EQ(samples.size(), c.expectedReadings);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const unsigned expected = c.block == 64 || !is16BitModel(c.model)
                                      ? memory[i]
                                      : memory[2 * i] * 256u + memory[2 * i + 1];
        ASSERT_EQ(samples[i], expected) << "reading " << i;
    }
    EXPECT_EQ(std::vector<std::uint8_t>(usb.written.begin(), usb.written.end()),
              (std::vector<std::uint8_t>{0x03, 0xFF, 0xFF}));
    for (std::size_t i = 1; i < usb.readSizes.size(); ++i)
        EXPECT_LE(usb.readSizes[i], c.block);
    EXPECT_EQ(usb.opens, 1);
    EXPECT_EQ(usb.closes, 1);
    EXPECT_FALSE(link.isOpen());
}

INSTANTIATE_TEST_SUITE_P(Blocks, ReadDataSizes,
                         ::testing::Values(DataCase{1, 130, 130, 64},     // 64 + 64 + 2
                                           DataCase{2, 130, 130, 512},
                                           DataCase{3, 1024, 1024, 512},
                                           DataCase{4, 1024, 512, 512},   // two full blocks
                                           DataCase{17, 0, 0, 512},       // nothing stored, success
                                           DataCase{14, 5, 2, 512},       // odd byte is not a reading
                                           DataCase{8, 65535, 32767, 512},
                                           DataCase{2, 65535, 65535, 512}));

TEST_F(LinkFixture, SixteenBitReadingIsHighByteFirst) {
    usb.queue(reply(0x03, {0x01, 0x02}));
    SampleBuffer samples;
    ASSERT_TRUE(link.readData(0, 5, samples));
    ASSERT_EQ(samples.size(), 1u);
    EXPECT_EQ(samples[0], 258);
}

TEST_F(LinkFixture, ShortConfigReplyLeavesTheRestOfTheBlockZero) {
    std::vector<std::uint8_t> body(64, 0xAB);
    usb.queue(reply(0x00, body));
    ConfigBlock block;
    block.fill(0x55);
    ASSERT_TRUE(link.readConfig(0, block));
    for (std::size_t i = 0; i < block.size(); ++i)
        ASSERT_EQ(block[i], i < 64 ? 0xAB : 0x00) << i;
    EXPECT_EQ(usb.written, (std::vector<std::uint8_t>{0x00, 0xFF, 0xFF}));
}

TEST_F(LinkFixture, BadConfigRepliesFailWithTheirOutcomeAndLeaveTheDestination) {
    struct Case {
        const char* what;
        std::vector<std::uint8_t> bytes;
        DeviceOutcome outcome;
    };
    const std::vector<Case> cases = {
        {"announces more than a block", reply(0x00, std::vector<std::uint8_t>(300, 1)), DeviceOutcome::BadReply},
        {"body shorter than announced", reply(0x00, std::vector<std::uint8_t>(100, 1), 256), DeviceOutcome::TimedOut},
        {"header cut short", {0x00, 0x00}, DeviceOutcome::TimedOut},
        {"silence", {}, DeviceOutcome::TimedOut},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScriptedXpress fresh;
        LoggerLink l(&fresh);
        fresh.queue(c.bytes);
        ConfigBlock block;
        block.fill(0x55);
        EXPECT_EQ(l.readConfig(0, block).outcome, c.outcome);
        EXPECT_EQ(block[0], 0x55);
        EXPECT_EQ(block[255], 0x55);
        EXPECT_EQ(fresh.opens, fresh.closes);
        EXPECT_FALSE(l.isOpen());
    }
}

TEST_F(LinkFixture, WriteSendsHeaderAndLengthBytesAndAcceptsLateAcknowledgement) {
    ConfigBlock block;
    for (std::size_t i = 0; i < block.size(); ++i)
        block[i] = static_cast<std::uint8_t>(i);
    usb.queue({0x00, 0x00, 0xFF});
    ASSERT_TRUE(link.writeConfig(0, block, 64));
    ASSERT_EQ(usb.written.size(), 3u + 64u);
    EXPECT_EQ(usb.written[0], 0x01);
    EXPECT_EQ(usb.written[1], 64);
    EXPECT_EQ(usb.written[2], 0);
    EXPECT_EQ(usb.written.back(), 63);
    EXPECT_TRUE(usb.replies.empty());

    ScriptedXpress wide;
    LoggerLink l(&wide);
    wide.queue({0xFF});
    ASSERT_TRUE(l.writeConfig(0, block, 256));
    EXPECT_EQ(wide.written[1], 0x00);
    EXPECT_EQ(wide.written[2], 0x01);
    EXPECT_EQ(wide.written.size(), 259u);
}

TEST_F(LinkFixture, WriteWithoutAcknowledgementFails) {
    const struct {
        std::vector<std::uint8_t> reply;
        DeviceOutcome outcome;
    } cases[] = {
        {{}, DeviceOutcome::TimedOut},
        {{0x00, 0x01}, DeviceOutcome::TimedOut},
        {std::vector<std::uint8_t>(5000, 0x00), DeviceOutcome::BadReply},  // talks, never acknowledges
    };
    for (const auto& c : cases) {
        ScriptedXpress fresh;
        LoggerLink l(&fresh);
        fresh.queue(c.reply);
        EXPECT_EQ(l.writeConfig(0, ConfigBlock{}, 256).outcome, c.outcome);
        EXPECT_EQ(fresh.opens, fresh.closes);
    }
}

TEST_F(LinkFixture, TruncatedDataFailsAndKeepsTheBuffer) {
    usb.queue(reply(0x03, std::vector<std::uint8_t>(600, 9), 1024));
    SampleBuffer samples{42};
    EXPECT_EQ(link.readData(0, 4, samples).outcome, DeviceOutcome::TimedOut);
    EXPECT_EQ(samples, SampleBuffer{42});
}

TEST_F(LinkFixture, OpenFailureIsNoAccessWithoutClosing) {
    usb.openFails = true;
    ConfigBlock block{};
    EXPECT_EQ(link.readConfig(0, block).outcome, DeviceOutcome::NoAccess);
    SampleBuffer samples;
    EXPECT_EQ(link.readData(0, 2, samples).outcome, DeviceOutcome::NoAccess);
    EXPECT_EQ(link.writeConfig(0, block, 64).outcome, DeviceOutcome::NoAccess);
    EXPECT_EQ(usb.closes, 0);
}

TEST_F(LinkFixture, EnumerationCountsReadableStringsAndUsesDeviceZero) {
    usb.deviceCount = 2;
    EXPECT_TRUE(link.findDevice());
    EXPECT_EQ(link.deviceCount(), 2);
    EXPECT_EQ(link.deviceStrings()[1], "DEV1");
    usb.queue(reply(0x00, std::vector<std::uint8_t>(256, 3)));
    ConfigBlock block{};
    ASSERT_TRUE(link.readConfig(0, block));
    EXPECT_EQ(usb.openedIndexes, std::vector<std::uint32_t>{0});

    usb.deviceCount = 12;  // more than the eight slots
    link.enumerate();
    EXPECT_EQ(link.deviceCount(), 8);

    usb.deviceCount = 3;
    usb.productStringFails = {true, false, true};
    link.enumerate();
    EXPECT_EQ(link.deviceCount(), 1);
}

TEST_F(LinkFixture, NoDeviceIsNoDevice) {
    usb.deviceCount = 0;
    EXPECT_EQ(link.findDevice().outcome, DeviceOutcome::NoDevice);
    usb.deviceCount = 1;
    usb.productStringFails = {true};
    EXPECT_EQ(link.findDevice().outcome, DeviceOutcome::NoDevice);
    LoggerLink unplugged(nullptr);
    EXPECT_EQ(unplugged.findDevice().outcome, DeviceOutcome::NoDevice);
}

TEST_F(LinkFixture, TimeoutsAreSetPerTransferAndRestored) {
    usb.queue(reply(0x00, std::vector<std::uint8_t>(256, 1)));
    ConfigBlock block{};
    ASSERT_TRUE(link.readConfig(0, block));
    bool sawWrite = false, sawRead = false;
    for (auto [r, w] : usb.timeoutsSet) {
        sawWrite |= (r == 0 && w == LINK_TIMEOUT_MS);
        sawRead |= (r == LINK_TIMEOUT_MS && w == 0);
    }
    EXPECT_TRUE(sawWrite);
    EXPECT_TRUE(sawRead);
    EXPECT_EQ(usb.readTimeout, 500u);
    EXPECT_EQ(usb.writeTimeout, 500u);
}

TEST_F(LinkFixture, ZeroTimeoutReadPollsTheQueue) {
    usb.queue({1, 2, 3});
    std::uint8_t buffer[3] = {};
    std::uint32_t got = 0;
    LoggerLink l(&usb);
    usb.rxQueueFails = true;
    EXPECT_FALSE(l.timedRead(buffer, 3, got, 0));
    usb.rxQueueFails = false;
    EXPECT_TRUE(l.timedRead(buffer, 3, got, 0));
    EXPECT_EQ(got, 3u);
    EXPECT_EQ(buffer[2], 3);
}

} // namespace
} // namespace vessor
