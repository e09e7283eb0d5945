#include "logger/usb/libusb_support.h"

#include <gtest/gtest.h>
#include <libusb.h>

namespace vessor::usb {
namespace {

TEST(LibusbSupport, TimeoutsTranslateToLibusb) {
    const struct {
        std::uint32_t library;
        unsigned int libusb;
    } cases[] = {
        {USB_INFINITE_TIMEOUT, 0}, // libusb's 0 waits for ever
        {0, 1},                    // "do not wait": the shortest libusb wait
        {1, 1},
        {3000, 3000},
        {0xFFFFFFFEu, 0xFFFFFFFEu},
    };
    for (const auto& c : cases)
        EXPECT_EQ(libusbTimeout(c.library), c.libusb) << c.library;
}

TEST(LibusbSupport, ErrorsMapToStatusPerOperation) {
    using Op = UsbOperation;
    const struct {
        int error;
        Op op;
        UsbStatus status;
    } cases[] = {
        {LIBUSB_SUCCESS, Op::Read, USB_SUCCESS},
        {LIBUSB_ERROR_TIMEOUT, Op::Read, USB_READ_TIMED_OUT},
        {LIBUSB_ERROR_TIMEOUT, Op::Write, USB_WRITE_TIMED_OUT},
        {LIBUSB_ERROR_TIMEOUT, Op::Open, USB_DEVICE_IO_FAILED},
        {LIBUSB_ERROR_NO_DEVICE, Op::Open, USB_DEVICE_NOT_FOUND},
        {LIBUSB_ERROR_NO_DEVICE, Op::Read, USB_DEVICE_IO_FAILED},
        {LIBUSB_ERROR_NO_DEVICE, Op::Write, USB_DEVICE_IO_FAILED},
        {LIBUSB_ERROR_PIPE, Op::Read, USB_READ_ERROR},
        {LIBUSB_ERROR_OVERFLOW, Op::Read, USB_READ_ERROR},
        {LIBUSB_ERROR_IO, Op::Write, USB_WRITE_ERROR},
        {LIBUSB_ERROR_IO, Op::Close, USB_DEVICE_IO_FAILED},
        {LIBUSB_ERROR_ACCESS, Op::Open, USB_SYSTEM_ERROR},
        {LIBUSB_ERROR_BUSY, Op::Open, USB_SYSTEM_ERROR},
        {LIBUSB_ERROR_NOT_FOUND, Op::Open, USB_DEVICE_NOT_FOUND},
        {LIBUSB_ERROR_INVALID_PARAM, Op::Write, USB_INVALID_PARAMETER},
        {LIBUSB_ERROR_OTHER, Op::Read, USB_SYSTEM_ERROR},
        {-12345, Op::Read, USB_SYSTEM_ERROR},
    };
    for (const auto& c : cases)
        EXPECT_EQ(statusFor(c.error, c.op), c.status) << libusb_error_name(c.error);
}

TEST(LibusbSupport, OnlyPermissionAndBusyGetAUserDetail) {
    const std::string access = failureDetail(LIBUSB_ERROR_ACCESS, "/dev/bus/usb/003/007");
    EXPECT_NE(access.find("/dev/bus/usb/003/007"), std::string::npos);
    EXPECT_NE(access.find("60-vessor-usb.rules"), std::string::npos);
    EXPECT_NE(access.find("udevadm control --reload-rules"), std::string::npos);
    EXPECT_NE(failureDetail(LIBUSB_ERROR_BUSY, "/dev/x").find("another program"), std::string::npos);
    for (int error : {LIBUSB_SUCCESS, LIBUSB_ERROR_NO_DEVICE, LIBUSB_ERROR_TIMEOUT, LIBUSB_ERROR_IO})
        EXPECT_EQ(failureDetail(error, "/dev/x"), "") << error;
}

// The commands in the access-denied text must work as they stand: a user who
// runs the programs from the build tree has no installed rule to copy, and
// the shipped rule does not cover a logger found through --usb-id.
TEST(LibusbSupport, PermissionTextGivesARuleThatExists) {
    const std::string installed = "/nonexistent/lib/udev/rules.d/60-vessor-usb.rules";
    const std::string source = std::string(VESSOR_TEST_SOURCE_DIR) + "/packaging/udev/60-vessor-usb.rules";
    EXPECT_EQ(findUdevRule({installed, source}), source);
    EXPECT_EQ(findUdevRule({installed}), "");
    EXPECT_NE(findUdevRule(), ""); // the source tree's copy at least

    const std::string copy = failureDetail(LIBUSB_ERROR_ACCESS, "/dev/bus/usb/001/002", {0x10C4, 0xEA61}, source);
    EXPECT_NE(copy.find("  sudo cp " + source + " /etc/udev/rules.d/\n"), std::string::npos) << copy;

    const std::string written = failureDetail(LIBUSB_ERROR_ACCESS, "/dev/bus/usb/001/002", {0x10C4, 0xEA61}, "");
    EXPECT_EQ(written.find("sudo cp"), std::string::npos) << written;
    EXPECT_NE(written.find("  echo 'SUBSYSTEM==\"usb\", ENV{DEVTYPE}==\"usb_device\", ATTR{idVendor}==\"10c4\", "
                           "ATTR{idProduct}==\"ea61\", TAG+=\"uaccess\"' | sudo tee -a "
                           "/etc/udev/rules.d/60-vessor-usb.rules\n"),
              std::string::npos)
        << written;

    const std::string other = failureDetail(LIBUSB_ERROR_ACCESS, "/dev/bus/usb/001/002", {0x1A2B, 0x00CD}, source);
    EXPECT_EQ(other.find("sudo cp"), std::string::npos) << other;
    EXPECT_NE(other.find("ATTR{idVendor}==\"1a2b\", ATTR{idProduct}==\"00cd\""), std::string::npos) << other;
    EXPECT_NE(other.find("udevadm control --reload-rules"), std::string::npos) << other;
}

TEST(LibusbSupport, NamesAndIds) {
    EXPECT_EQ(deviceNodePath(1, 2), "/dev/bus/usb/001/002");
    EXPECT_EQ(deviceNodePath(12, 127), "/dev/bus/usb/012/127");
    EXPECT_EQ(hex4(0x10C4), "10C4");
    EXPECT_EQ(hex4(0x000a), "000A");
    EXPECT_EQ(sysfsName({1, {1}, 5}), "1-1");
    EXPECT_EQ(sysfsName({2, {1, 4, 2}, 5}), "2-1.4.2");

    const auto ids = wantedIds({{0x10C4, 0xEA61}, {0x1234, 0x5678}, {0x1234, 0x5678}});
    ASSERT_EQ(ids.size(), 2u);
    EXPECT_TRUE(isWanted(0x10C4, 0xEA61, ids));
    EXPECT_TRUE(isWanted(0x1234, 0x5678, ids));
    EXPECT_FALSE(isWanted(0x10C4, 0xEA60, ids)); // same vendor, other product
}

TEST(LibusbSupport, BusOrderIsBusThenPortPathThenAddress) {
    const BusLocation sorted[] = {
        {1, {1}, 40}, {1, {1, 2}, 3}, {1, {2}, 9}, {1, {10}, 1}, {2, {1}, 2}, {2, {1}, 5},
    };
    for (std::size_t i = 0; i < std::size(sorted); ++i)
        for (std::size_t k = 0; k < std::size(sorted); ++k)
            EXPECT_EQ(busOrderLess(sorted[i], sorted[k]), i < k) << i << " vs " << k;
}

} // namespace
} // namespace vessor::usb
