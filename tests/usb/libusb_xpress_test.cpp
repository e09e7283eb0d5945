// The libusb backend against devices emulated through usbdevfs.
#include "emulated_usb_device.h"
#include "logger/usb/libusb_xpress.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <numeric>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace vessor::usbtest {
namespace {

using Handle = UsbXpress::Handle;

std::vector<std::uint8_t> pattern(std::size_t length, unsigned seed = 0) {
    std::vector<std::uint8_t> bytes(length);
    for (std::size_t i = 0; i < length; ++i)
        bytes[i] = static_cast<std::uint8_t>((i * 7 + i / 251 + seed) & 0xFF);
    return bytes;
}

class LibusbXpressTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(inMockEnvironment()) << "run without libumockdev-preload";
    }
    void TearDown() override { usb.reset(); } // before the test bed goes

    EmulatedUsbDevice& addLogger(DeviceSetup setup = {}) {
        return bed.addDevice(setup, firmware);
    }
    void start(const std::vector<UsbId>& extraIds = {}) {
        std::string error;
        usb = usb::createLibusbXpress(extraIds, error);
        ASSERT_TRUE(usb) << error;
    }
    Handle openFirst() {
        Handle handle = UsbXpress::INVALID_HANDLE;
        EXPECT_EQ(usb->open(0, handle), USB_SUCCESS);
        return handle;
    }
    // Reads until `length` bytes came or a read fails.
    std::vector<std::uint8_t> readAll(Handle handle, std::size_t length, UsbStatus& status) {
        std::vector<std::uint8_t> data;
        std::vector<std::uint8_t> chunk(USB_MAX_READ_LENGTH);
        status = USB_SUCCESS;
        while (data.size() < length) {
            std::uint32_t got = 0;
            const auto want = static_cast<std::uint32_t>(std::min(chunk.size(), length - data.size()));
            status = usb->read(handle, chunk.data(), want, got);
            if (status != USB_SUCCESS)
                break;
            EXPECT_LE(got, want);
            data.insert(data.end(), chunk.begin(), chunk.begin() + got);
        }
        return data;
    }

    UsbTestbed bed;
    std::shared_ptr<ScriptedFirmware> firmware = std::make_shared<ScriptedFirmware>();
    std::unique_ptr<UsbXpress> usb;
};

TEST_F(LibusbXpressTest, EnumeratesWantedIdsInBusAndPortOrder) {
    auto other = std::make_shared<ScriptedFirmware>();
    // Listed out of order, addresses contrary to the ports.
    bed.addDevice({.sysName = "2-1", .bus = 2, .address = 3, .serial = "C"}, other);
    bed.addDevice({.sysName = "1-3", .bus = 1, .address = 5, .serial = "B"}, other);
    bed.addDevice({.sysName = "1-2", .bus = 1, .address = 4, .vendorId = 0x0403,
                   .productId = 0x6001, .serial = "FTDI"}, other);
    bed.addDevice({.sysName = "1-4", .bus = 1, .address = 6, .productId = 0xEA60,
                   .serial = "SERIAL-BRIDGE"}, other);
    bed.addDevice({.sysName = "1-1", .bus = 1, .address = 12, .productId = 0x8A5E, .serial = "A"},
                  other);

    const struct {
        std::vector<UsbId> extra;
        std::vector<std::string> serials;
    } cases[] = {
        {{}, {"B", "C"}},
        {{{0x10C4, 0x8A5E}}, {"A", "B", "C"}},
        {{{0x10C4, 0x8A5E}, {0x10C4, 0xEA61}}, {"A", "B", "C"}},
    };
    for (const auto& c : cases) {
        start(c.extra);
        for (int round = 0; round < 2; ++round) { // the same answer every time
            std::uint32_t count = 99;
            ASSERT_EQ(usb->getNumDevices(count), USB_SUCCESS);
            ASSERT_EQ(count, c.serials.size());
            for (std::uint32_t i = 0; i < count; ++i) {
                std::string serial;
                EXPECT_EQ(usb->getProductString(i, serial, USB_RETURN_SERIAL_NUMBER), USB_SUCCESS);
                EXPECT_EQ(serial, c.serials[i]) << "device " << i;
            }
        }
    }
}

TEST_F(LibusbXpressTest, ProductStringsBySelector) {
    addLogger({.sysName = "1-1", .bus = 1, .address = 2, .serial = "VL0001"});
    addLogger({.sysName = "1-2", .bus = 1, .address = 3, .serial = "VL0002",
               .serialInSysfs = false});
    start();
    const struct {
        std::uint32_t index;
        std::uint32_t selector;
        UsbStatus status;
        std::string text;
    } cases[] = {
        {0, USB_RETURN_SERIAL_NUMBER, USB_SUCCESS, "VL0001"},
        {0, USB_RETURN_DESCRIPTION, USB_SUCCESS, "Vessor USB Data Logger"},
        {0, USB_RETURN_LINK_NAME, USB_SUCCESS, "/dev/bus/usb/001/002"},
        {0, USB_RETURN_VID, USB_SUCCESS, "10C4"},
        {0, USB_RETURN_PID, USB_SUCCESS, "EA61"},
        {1, USB_RETURN_SERIAL_NUMBER, USB_SUCCESS, "VL0002"}, // asked of the device itself
        {1, USB_RETURN_LINK_NAME, USB_SUCCESS, "/dev/bus/usb/001/003"},
        {0, 5, USB_INVALID_PARAMETER, "untouched"},
        {2, USB_RETURN_SERIAL_NUMBER, USB_DEVICE_NOT_FOUND, "untouched"},
    };
    for (const auto& c : cases) {
        std::string text = "untouched";
        EXPECT_EQ(usb->getProductString(c.index, text, c.selector), c.status)
            << c.index << "/" << c.selector;
        EXPECT_EQ(text, c.text) << c.index << "/" << c.selector;
    }
}

TEST_F(LibusbXpressTest, OpenAndCloseSendLineRequestsInsideTheClaim) {
    EmulatedUsbDevice& device = addLogger();
    start();
    const Handle handle = openFirst();
    EXPECT_EQ(device.events(), (std::vector<std::string>{"detach-and-claim 0",
                                                         "control 40 02 0002 0000"}));
    device.clearEvents();
    EXPECT_EQ(usb->close(handle), USB_SUCCESS);
    EXPECT_EQ(device.events(), (std::vector<std::string>{"control 40 02 0004 0000", "release 0",
                                                         "attach-driver 0"}));
    EXPECT_EQ(usb->close(handle), USB_INVALID_HANDLE);
    EXPECT_EQ(usb->close(UsbXpress::INVALID_HANDLE), USB_INVALID_HANDLE);

    Handle none = 1234;
    EXPECT_EQ(usb->open(1, none), USB_DEVICE_NOT_FOUND);
    EXPECT_EQ(none, UsbXpress::INVALID_HANDLE);
    // Open again after close: the device is usable once more.
    const Handle again = openFirst();
    EXPECT_EQ(usb->close(again), USB_SUCCESS);
}

TEST_F(LibusbXpressTest, EndpointsAndPacketSizeComeFromTheDescriptors) {
    EmulatedUsbDevice& device =
        addLogger({.inEndpoint = 0x83, .outEndpoint = 0x04, .packetSize = 32});
    start();
    const Handle handle = openFirst();
    const auto request = pattern(100, 3);
    std::uint32_t written = 0;
    ASSERT_EQ(usb->write(handle, request.data(), 100, written), USB_SUCCESS);
    EXPECT_EQ(written, 100u);
    EXPECT_EQ(firmware->received(), request);

    const auto reply = pattern(32 * 5, 9); // whole packets, closed by a zero-length packet
    firmware->queueReply(reply);
    UsbStatus status;
    EXPECT_EQ(readAll(handle, reply.size(), status), reply);
    EXPECT_EQ(status, USB_SUCCESS);
    EXPECT_EQ(device.zeroLengthPacketsSent(), 1u);
    usb->close(handle);
}

TEST_F(LibusbXpressTest, TimeoutsAreProcessWideAndReadTimeoutsEndEmptyReads) {
    EmulatedUsbDevice& device = addLogger();
    start();
    std::uint32_t readMs = 0, writeMs = 0;
    ASSERT_EQ(usb->getTimeouts(readMs, writeMs), USB_SUCCESS);
    EXPECT_EQ(readMs, USB_INFINITE_TIMEOUT);
    EXPECT_EQ(writeMs, USB_INFINITE_TIMEOUT);
    ASSERT_EQ(usb->setTimeouts(80, 0), USB_SUCCESS);
    ASSERT_EQ(usb->getTimeouts(readMs, writeMs), USB_SUCCESS);
    EXPECT_EQ(readMs, 80u);
    EXPECT_EQ(writeMs, 0u);

    const Handle handle = openFirst();
    std::uint8_t buffer[16];
    std::uint32_t got = 77;
    const auto before = std::chrono::steady_clock::now();
    EXPECT_EQ(usb->read(handle, buffer, sizeof buffer, got), USB_READ_TIMED_OUT);
    EXPECT_GE(std::chrono::steady_clock::now() - before, std::chrono::milliseconds(75));
    EXPECT_EQ(got, 0u);

    usb->setTimeouts(0, 0); // do not wait
    EXPECT_EQ(usb->read(handle, buffer, sizeof buffer, got), USB_READ_TIMED_OUT);

    // A device that does not take data: the write gives up after its time-out.
    usb->setTimeouts(0, 100);
    device.setRefuseOut(true);
    std::uint32_t written = 55;
    EXPECT_EQ(usb->write(handle, buffer, 3, written), USB_WRITE_TIMED_OUT);
    EXPECT_EQ(written, 0u);
    device.setRefuseOut(false);
    EXPECT_EQ(usb->write(handle, buffer, 3, written), USB_SUCCESS);
    EXPECT_EQ(written, 3u);
    EXPECT_EQ(usb->close(handle), USB_SUCCESS);
}

TEST_F(LibusbXpressTest, ReadsReturnWhatHasArrived) {
    EmulatedUsbDevice& device = addLogger();
    start();
    usb->setTimeouts(2000, 2000);
    const Handle handle = openFirst();

    firmware->queueReply(pattern(10));
    std::vector<std::uint8_t> buffer(100);
    std::uint32_t got = 0;
    ASSERT_EQ(usb->read(handle, buffer.data(), 100, got), USB_SUCCESS);
    ASSERT_EQ(got, 10u);
    EXPECT_TRUE(std::equal(buffer.begin(), buffer.begin() + 10, pattern(10).begin()));

    // Data in dribs and drabs still comes out whole and in order.
    device.setChunkLimit(7);
    const auto reply = pattern(1000, 1);
    firmware->queueReply(reply);
    UsbStatus status;
    EXPECT_EQ(readAll(handle, reply.size(), status), reply);
    EXPECT_EQ(status, USB_SUCCESS);

    std::uint32_t inQueue = 9, queueStatus = 9;
    EXPECT_EQ(usb->checkRxQueue(handle, inQueue, queueStatus), USB_SUCCESS);
    EXPECT_EQ(inQueue, 0u);
    EXPECT_EQ(queueStatus & USB_RX_QUEUE_DATA_READY, 0u);
    usb->close(handle);
}

TEST_F(LibusbXpressTest, ZeroLengthPacketAfterWholeTransfersEndsNothing) {
    EmulatedUsbDevice& device = addLogger();
    start();
    usb->setTimeouts(2000, 2000);
    const Handle handle = openFirst();

    // A multiple of the host's transfer size: the zero-length packet that
    // closes it arrives in a transfer of its own.
    const auto first = pattern(8192, 4);
    firmware->queueReply(first);
    UsbStatus status;
    EXPECT_EQ(readAll(handle, first.size(), status), first);
    EXPECT_EQ(status, USB_SUCCESS);
    EXPECT_EQ(device.zeroLengthPacketsSent(), 1u);

    std::uint8_t byte = 0;
    std::uint32_t got = 0;
    usb->setTimeouts(100, 2000);
    EXPECT_EQ(usb->read(handle, &byte, 1, got), USB_READ_TIMED_OUT); // not an error

    const auto second = pattern(5, 8);
    firmware->queueReply(second);
    EXPECT_EQ(readAll(handle, second.size(), status), second);
    EXPECT_EQ(status, USB_SUCCESS);
    usb->close(handle);
}

TEST_F(LibusbXpressTest, FullReceiveQueueHoldsTheDeviceOffWithoutLosingData) {
    addLogger();
    start();
    usb->setTimeouts(2000, 2000);
    const Handle handle = openFirst();
    const auto reply = pattern(3 * USB_MAX_READ_LENGTH + 100, 5);
    firmware->queueReply(reply);

    // Let the host take in all it will.
    std::uint32_t inQueue = 0, queueStatus = 0;
    for (int i = 0; i < 200; ++i) {
        ASSERT_EQ(usb->checkRxQueue(handle, inQueue, queueStatus), USB_SUCCESS);
        ASSERT_LE(inQueue, USB_MAX_READ_LENGTH);
    }
    EXPECT_GT(inQueue, USB_MAX_READ_LENGTH / 2);
    EXPECT_EQ(queueStatus, USB_RX_QUEUE_DATA_READY); // no overrun bit
    EXPECT_GT(firmware->pendingBytes(), 0u);         // the rest waits in the device

    UsbStatus status;
    EXPECT_EQ(readAll(handle, reply.size(), status), reply);
    EXPECT_EQ(status, USB_SUCCESS);
    usb->close(handle);
}

TEST_F(LibusbXpressTest, LengthAndArgumentLimits) {
    addLogger();
    start();
    usb->setTimeouts(0, 1000);
    const Handle handle = openFirst();
    std::vector<std::uint8_t> buffer(USB_MAX_READ_LENGTH + 1);
    const struct {
        bool isRead;
        Handle handle;
        bool nullBuffer;
        std::uint32_t length;
        UsbStatus status;
    } cases[] = {
        {true, handle, false, 0, USB_INVALID_REQUEST_LENGTH},
        {true, handle, false, USB_MAX_READ_LENGTH + 1, USB_INVALID_REQUEST_LENGTH},
        {true, handle, false, USB_MAX_READ_LENGTH, USB_READ_TIMED_OUT}, // allowed, nothing there
        {true, handle, true, 10, USB_INVALID_PARAMETER},
        {true, handle + 1, false, 10, USB_INVALID_HANDLE},
        {false, handle, false, 0, USB_INVALID_REQUEST_LENGTH},
        {false, handle, false, USB_MAX_WRITE_LENGTH + 1, USB_INVALID_REQUEST_LENGTH},
        {false, handle, true, 10, USB_INVALID_PARAMETER},
        {false, UsbXpress::INVALID_HANDLE, false, 10, USB_INVALID_HANDLE},
        {false, handle, false, USB_MAX_WRITE_LENGTH, USB_SUCCESS},
    };
    for (const auto& c : cases) {
        std::uint32_t done = 99;
        void* data = c.nullBuffer ? nullptr : buffer.data();
        const UsbStatus status = c.isRead ? usb->read(c.handle, data, c.length, done)
                                          : usb->write(c.handle, data, c.length, done);
        EXPECT_EQ(status, c.status) << (c.isRead ? "read " : "write ") << c.length;
        EXPECT_EQ(done, c.status == USB_SUCCESS ? c.length : 0u);
    }
    EXPECT_EQ(firmware->received().size(), USB_MAX_WRITE_LENGTH); // only the valid write
    std::uint32_t inQueue = 0, queueStatus = 0;
    EXPECT_EQ(usb->checkRxQueue(handle + 1, inQueue, queueStatus), USB_INVALID_HANDLE);
    usb->close(handle);
}

TEST_F(LibusbXpressTest, FailedInTransfersAreReportedOnceAndReadingGoesOn) {
    EmulatedUsbDevice& device = addLogger();
    start();
    usb->setTimeouts(2000, 2000);
    const Handle handle = openFirst();
    for (int error : {EPIPE, EOVERFLOW, EPROTO}) {
        device.failNextIn(error);
        std::uint8_t buffer[64];
        std::uint32_t got = 0;
        EXPECT_EQ(usb->read(handle, buffer, sizeof buffer, got), USB_READ_ERROR) << error;
        firmware->queueReply({1, 2, 3});
        ASSERT_EQ(usb->read(handle, buffer, sizeof buffer, got), USB_SUCCESS) << error;
        EXPECT_EQ(got, 3u);
    }
    usb->close(handle);
}

TEST_F(LibusbXpressTest, UnplugDuringAnEndlessReadFailsInsteadOfHanging) {
    EmulatedUsbDevice& device = addLogger();
    start(); // read time-out: infinite
    const Handle handle = openFirst();
    firmware->queueReply({0xAA, 0xBB});
    std::uint8_t buffer[64];
    std::uint32_t got = 0;
    ASSERT_EQ(usb->read(handle, buffer, sizeof buffer, got), USB_SUCCESS);

    std::thread puller([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        device.unplug();
    });
    EXPECT_EQ(usb->read(handle, buffer, sizeof buffer, got), USB_DEVICE_IO_FAILED);
    puller.join();
    EXPECT_EQ(got, 0u);
    std::uint32_t written = 9;
    EXPECT_EQ(usb->write(handle, buffer, 3, written), USB_DEVICE_IO_FAILED);
    EXPECT_EQ(written, 0u);
    std::uint32_t inQueue = 0, queueStatus = 0;
    EXPECT_EQ(usb->checkRxQueue(handle, inQueue, queueStatus), USB_DEVICE_IO_FAILED);
    EXPECT_EQ(usb->close(handle), USB_SUCCESS);
    EXPECT_EQ(usb->lastErrorDetail(), "");
}

// Two hosts on one device: as the kernel does, the device is refused to the
// second while the first holds it, and each gets only its own transfers.
TEST_F(LibusbXpressTest, ASecondHostIsRefusedWhileTheFirstHoldsTheDevice) {
    EmulatedUsbDevice& device = addLogger();
    start();
    std::string error;
    std::unique_ptr<UsbXpress> second = usb::createLibusbXpress({}, error);
    ASSERT_TRUE(second) << error;

    const Handle first = openFirst();
    Handle other = 7;
    EXPECT_EQ(second->open(0, other), USB_SYSTEM_ERROR);
    EXPECT_EQ(other, UsbXpress::INVALID_HANDLE);
    const std::string detail = second->lastErrorDetail();
    EXPECT_NE(detail.find("in use by another program"), std::string::npos) << detail;
    EXPECT_EQ(device.events().back(), "detach-and-claim refused 0");

    // The first host's transfers go on undisturbed.
    firmware->queueReply(pattern(100));
    UsbStatus status = USB_SUCCESS;
    EXPECT_EQ(readAll(first, 100, status), pattern(100));
    EXPECT_EQ(usb->close(first), USB_SUCCESS);

    // Released: now the second host has it.
    ASSERT_EQ(second->open(0, other), USB_SUCCESS);
    firmware->queueReply(pattern(10, 3));
    std::vector<std::uint8_t> got(10);
    std::uint32_t count = 0;
    EXPECT_EQ(second->read(other, got.data(), 10, count), USB_SUCCESS);
    EXPECT_EQ(count, 10u);
    EXPECT_EQ(got, pattern(10, 3));
    EXPECT_EQ(second->close(other), USB_SUCCESS);
}

TEST_F(LibusbXpressTest, NoPermissionNamesTheUdevRule) {
    EmulatedUsbDevice& device = addLogger();
    start();
    const std::string node = bed.rootDir() + device.deviceNode();
    ASSERT_EQ(chmod(node.c_str(), 0), 0);
    // The rest of the test bed stays open to that user, as /sys and /dev are.
    ASSERT_EQ(chmod(bed.rootDir().c_str(), 0755), 0);
    ASSERT_EQ(chmod((bed.rootDir() + "/ioctl" + device.deviceNode()).c_str(), 0777), 0);
    // root passes file permissions: open as an ordinary user for this call.
    const bool root = geteuid() == 0;
    if (root && seteuid(65534) != 0) {
        GTEST_SKIP() << "cannot drop to an ordinary user";
    }
    Handle handle = 5;
    const UsbStatus status = usb->open(0, handle);
    if (root) {
        ASSERT_EQ(seteuid(0), 0);
    }
    EXPECT_EQ(status, USB_SYSTEM_ERROR);
    EXPECT_EQ(handle, UsbXpress::INVALID_HANDLE);
    const std::string detail = usb->lastErrorDetail();
    EXPECT_NE(detail.find("Permission denied"), std::string::npos) << detail;
    EXPECT_NE(detail.find("/dev/bus/usb/001/002"), std::string::npos) << detail;
    EXPECT_NE(detail.find("60-vessor-usb.rules"), std::string::npos) << detail;
    EXPECT_TRUE(device.events().empty());

    // The listing itself needs no permission.
    std::string serial;
    EXPECT_EQ(usb->getProductString(0, serial, USB_RETURN_SERIAL_NUMBER), USB_SUCCESS);
    EXPECT_EQ(usb->lastErrorDetail(), "");
}

} // namespace
} // namespace vessor::usbtest
