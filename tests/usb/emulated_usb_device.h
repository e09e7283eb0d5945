// A USB logger that libusb finds and talks to through the kernel's usbdevfs
// interface, emulated with umockdev in the test process (which must run with
// libumockdev-preload; see usb_test_main.cpp). The device side is byte-level
// firmware: the bytes the host writes go in, the bytes it has ready come out
// of the bulk IN endpoint in packets.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

typedef struct _UMockdevTestbed UMockdevTestbed;
typedef struct _UMockdevIoctlBase UMockdevIoctlBase;
typedef struct _UMockdevIoctlClient UMockdevIoctlClient;
typedef struct _UMockdevIoctlData UMockdevIoctlData;

namespace vessor::usbtest {

// The device's logic. Called on umockdev's worker thread, one call at a time.
class DeviceFirmware {
public:
    virtual ~DeviceFirmware() = default;
    virtual void hostWrite(const std::uint8_t* data, std::size_t length) = 0;
    virtual std::size_t hostRead(std::uint8_t* out, std::size_t maxLength) = 0;
    virtual std::size_t pendingBytes() const = 0;
    // The bridge's line requests: 0x0001 flush, 0x0002 clear to send, 0x0004 not.
    virtual void lineControl(std::uint16_t /*value*/) {}
};

// Firmware driven by the test: records what the host sent, sends what the
// test queued (thread-safe, the test queues from its own thread).
class ScriptedFirmware : public DeviceFirmware {
public:
    void queueReply(const std::vector<std::uint8_t>& bytes);
    std::vector<std::uint8_t> received() const;

    void hostWrite(const std::uint8_t* data, std::size_t length) override;
    std::size_t hostRead(std::uint8_t* out, std::size_t maxLength) override;
    std::size_t pendingBytes() const override;

private:
    mutable std::mutex m_mutex;
    std::vector<std::uint8_t> m_received;
    std::deque<std::uint8_t> m_outgoing;
};

struct DeviceSetup {
    std::string sysName = "1-1"; // kernel name: bus-port[.port...]
    unsigned bus = 1;
    unsigned address = 2;
    std::uint16_t vendorId = 0x10C4;
    std::uint16_t productId = 0xEA61;
    std::string serial = "VL0001";
    bool serialInSysfs = true; // false: the host must ask the device for it
    std::string product = "Vessor USB Data Logger";
    std::uint8_t inEndpoint = 0x81;
    std::uint8_t outEndpoint = 0x01;
    std::uint16_t packetSize = 64;
};

class EmulatedUsbDevice {
public:
    EmulatedUsbDevice(UMockdevTestbed* testbed, const DeviceSetup& setup,
                      std::shared_ptr<DeviceFirmware> firmware);
    ~EmulatedUsbDevice();
    EmulatedUsbDevice(const EmulatedUsbDevice&) = delete;
    EmulatedUsbDevice& operator=(const EmulatedUsbDevice&) = delete;

    const DeviceSetup& setup() const { return m_setup; }
    std::string deviceNode() const;

    // What the host did to the device, in order: "detach-and-claim 0",
    // "claim 0", "release 0", "attach-driver 0", "control 40 02 0002 0000".
    std::vector<std::string> events() const;
    void clearEvents();

    // Pulls the plug: requests in flight end with ENODEV, later ones fail.
    void unplug();
    // Pulls the plug in the IN transfer that would bring the bytes sent to
    // the host up to `bytes`.
    void unplugAfterInBytes(std::size_t bytes);
    // At most this many bytes per IN transfer (0: no limit), to make the
    // host see data arrive in pieces.
    void setChunkLimit(std::size_t bytes);
    // Whether a transfer that ends on a packet boundary is closed with a
    // zero-length packet (what the bridge does; default on).
    void setZeroLengthPackets(bool on);
    // The next IN transfer ends with this error (EPIPE: stall, EOVERFLOW: babble).
    void failNextIn(int errnoValue);
    // OUT transfers are not accepted (the device NAKs) until switched back.
    void setRefuseOut(bool on);

    std::size_t zeroLengthPacketsSent() const;
    std::size_t inBytesSent() const;
    std::size_t inTransfersCompleted() const;

private:
    struct Urb {
        UMockdevIoctlClient* client = nullptr; // the open device file it came through
        UMockdevIoctlData* data = nullptr; // the usbdevfs_urb, kept across ioctls
        bool in = false;
        bool control = false;
        bool ready = false;
        int status = 0;
        int actualLength = 0;
    };

    static int onIoctl(UMockdevIoctlBase* handler, UMockdevIoctlClient* client, void* self);
    static void onClientVanished(UMockdevIoctlBase* handler, UMockdevIoctlClient* client, void* self);
    void forget(UMockdevIoctlClient* client);
    bool claim(UMockdevIoctlClient* client);
    bool handleIoctl(UMockdevIoctlClient* client);
    void submit(UMockdevIoctlClient* client);
    void reap(UMockdevIoctlClient* client);
    void discard(UMockdevIoctlClient* client);
    void handleControl(Urb& urb);
    bool completeIn(Urb& urb);
    void event(std::string text);

    DeviceSetup m_setup;
    std::shared_ptr<DeviceFirmware> m_firmware;
    UMockdevTestbed* m_testbed;
    UMockdevIoctlBase* m_handler = nullptr;

    mutable std::mutex m_mutex;
    std::vector<std::string> m_events;
    std::deque<Urb> m_urbs;
    // The open device file that has claimed interface 0: as the kernel does,
    // another one's claim is refused (EBUSY) until it is released or closed.
    UMockdevIoctlClient* m_owner = nullptr;
    bool m_unplugged = false;
    bool m_clearToSend = false; // the bridge sends nothing before the host allows it
    std::size_t m_unplugAfter = 0;
    std::size_t m_inBytes = 0;
    std::size_t m_chunkLimit = 0;
    bool m_zeroLengthPackets = true;
    bool m_zlpOwed = false;
    int m_failNextIn = 0;
    bool m_refuseOut = false;
    std::size_t m_zlpSent = 0;
    std::size_t m_inCompleted = 0;
};

// One umockdev test bed (a private /sys and /dev for this process); devices
// added to it are seen by libusb contexts created afterwards.
class UsbTestbed {
public:
    UsbTestbed();
    ~UsbTestbed();
    UsbTestbed(const UsbTestbed&) = delete;
    UsbTestbed& operator=(const UsbTestbed&) = delete;

    EmulatedUsbDevice& addDevice(const DeviceSetup& setup,
                                 std::shared_ptr<DeviceFirmware> firmware);
    std::string rootDir() const;

private:
    UMockdevTestbed* m_testbed;
    std::vector<std::unique_ptr<EmulatedUsbDevice>> m_devices;
};

// True when this process runs under umockdev's preload library.
bool inMockEnvironment();

} // namespace vessor::usbtest
