#include "emulated_usb_device.h"

#include <umockdev.h>

#include <sys/ioctl.h>
#include <linux/usbdevice_fs.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace vessor::usbtest {

// ---------------------------------------------------------------- firmware

void ScriptedFirmware::queueReply(const std::vector<std::uint8_t>& bytes) {
    std::lock_guard lock(m_mutex);
    m_outgoing.insert(m_outgoing.end(), bytes.begin(), bytes.end());
}

std::vector<std::uint8_t> ScriptedFirmware::received() const {
    std::lock_guard lock(m_mutex);
    return m_received;
}

void ScriptedFirmware::hostWrite(const std::uint8_t* data, std::size_t length) {
    std::lock_guard lock(m_mutex);
    m_received.insert(m_received.end(), data, data + length);
}

std::size_t ScriptedFirmware::hostRead(std::uint8_t* out, std::size_t maxLength) {
    std::lock_guard lock(m_mutex);
    const std::size_t count = std::min(maxLength, m_outgoing.size());
    std::copy_n(m_outgoing.begin(), count, out);
    m_outgoing.erase(m_outgoing.begin(), m_outgoing.begin() + static_cast<std::ptrdiff_t>(count));
    return count;
}

std::size_t ScriptedFirmware::pendingBytes() const {
    std::lock_guard lock(m_mutex);
    return m_outgoing.size();
}

// ------------------------------------------------------------------ device

namespace {

constexpr std::uint32_t CAPABILITIES = USBDEVFS_CAP_ZERO_PACKET | USBDEVFS_CAP_BULK_CONTINUATION |
                                       USBDEVFS_CAP_NO_PACKET_SIZE_LIM |
                                       USBDEVFS_CAP_REAP_AFTER_DISCONNECT;

usbdevfs_urb* urbOf(UMockdevIoctlData* data) {
    return reinterpret_cast<usbdevfs_urb*>(data->data);
}

void put16(std::vector<std::uint8_t>& bytes, std::uint16_t value) {
    bytes.push_back(static_cast<std::uint8_t>(value & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>(value >> 8));
}

// Device descriptor, then the one configuration: a vendor-specific interface 0
// with one bulk IN and one bulk OUT endpoint.
std::vector<std::uint8_t> descriptors(const DeviceSetup& s) {
    std::vector<std::uint8_t> d{18, 1};
    put16(d, 0x0200);
    d.insert(d.end(), {0, 0, 0, 64});
    put16(d, s.vendorId);
    put16(d, s.productId);
    put16(d, 0x0100);
    d.insert(d.end(), {1, 2, 3, 1});
    d.insert(d.end(), {9, 2});
    put16(d, 9 + 9 + 7 + 7);
    d.insert(d.end(), {1, 1, 0, 0x80, 50});
    d.insert(d.end(), {9, 4, 0, 0, 2, 0xFF, 0, 0, 2});
    d.insert(d.end(), {7, 5, s.inEndpoint, 0x02});
    put16(d, s.packetSize);
    d.push_back(0);
    d.insert(d.end(), {7, 5, s.outEndpoint, 0x02});
    put16(d, s.packetSize);
    d.push_back(0);
    return d;
}

std::string hexText(unsigned value, int digits) {
    char text[16];
    std::snprintf(text, sizeof text, "%0*x", digits, value);
    return text;
}

std::vector<std::uint8_t> stringDescriptor(const std::string& text) {
    std::vector<std::uint8_t> d{static_cast<std::uint8_t>(2 + 2 * text.size()), 3};
    for (char c : text)
        put16(d, static_cast<std::uint8_t>(c));
    return d;
}

} // namespace

EmulatedUsbDevice::EmulatedUsbDevice(UMockdevTestbed* testbed, const DeviceSetup& setup,
                                     std::shared_ptr<DeviceFirmware> firmware)
    : m_setup(setup), m_firmware(std::move(firmware)), m_testbed(testbed) {
    const std::string busnum = std::to_string(setup.bus) + "\n";
    const std::string devnum = std::to_string(setup.address) + "\n";
    const std::string vendor = hexText(setup.vendorId, 4) + "\n";
    const std::string productId = hexText(setup.productId, 4) + "\n";
    const std::string product = setup.product + "\n";
    const std::string serial = setup.serial + "\n";
    const std::string dev =
        "189:" + std::to_string((setup.bus - 1) * 128 + (setup.address - 1)) + "\n";
    const std::string node = deviceNode();

    std::vector<const char*> attributes{"busnum", busnum.c_str(), "devnum", devnum.c_str(),
                                        "speed", "12\n", "bConfigurationValue", "1\n",
                                        "idVendor", vendor.c_str(), "idProduct", productId.c_str(),
                                        "product", product.c_str(), "dev", dev.c_str()};
    if (setup.serialInSysfs) {
        attributes.push_back("serial");
        attributes.push_back(serial.c_str());
    }
    attributes.push_back(nullptr);
    const char* properties[] = {"DEVNAME", node.c_str(), "DEVTYPE", "usb_device", nullptr};

    gchar* syspath = umockdev_testbed_add_devicev(testbed, "usb", setup.sysName.c_str(), nullptr,
                                                  const_cast<gchar**>(attributes.data()),
                                                  const_cast<gchar**>(properties));
    if (!syspath)
        throw std::runtime_error("umockdev could not add " + setup.sysName);
    std::vector<std::uint8_t> bytes = descriptors(setup);
    umockdev_testbed_set_attribute_binary(testbed, syspath, "descriptors", bytes.data(),
                                          static_cast<gint>(bytes.size()));
    g_free(syspath);

    // add_device makes no device node; libusb opens it.
    gchar* root = umockdev_testbed_get_root_dir(testbed);
    const std::string file = std::string(root) + node;
    g_free(root);
    const std::string folder = file.substr(0, file.rfind('/'));
    if (g_mkdir_with_parents(folder.c_str(), 0755) != 0)
        throw std::runtime_error("cannot make " + folder);
    const int fd = ::open(file.c_str(), O_CREAT | O_WRONLY, 0666);
    if (fd < 0)
        throw std::runtime_error("cannot make " + file);
    ::close(fd);

    m_handler = umockdev_ioctl_base_new();
    g_signal_connect(m_handler, "handle-ioctl", G_CALLBACK(&EmulatedUsbDevice::onIoctl), this);
    g_signal_connect(m_handler, "client-vanished", G_CALLBACK(&EmulatedUsbDevice::onClientVanished), this);
    GError* error = nullptr;
    if (!umockdev_testbed_attach_ioctl(testbed, node.c_str(), m_handler, &error)) {
        const std::string why = error ? error->message : "unknown";
        g_clear_error(&error);
        throw std::runtime_error("umockdev could not attach to " + node + ": " + why);
    }
}

EmulatedUsbDevice::~EmulatedUsbDevice() {
    umockdev_testbed_detach_ioctl(m_testbed, deviceNode().c_str(), nullptr);
    g_signal_handlers_disconnect_by_data(m_handler, this);
    g_object_unref(m_handler);
    for (Urb& urb : m_urbs)
        g_object_unref(urb.data);
}

std::string EmulatedUsbDevice::deviceNode() const {
    char text[40];
    std::snprintf(text, sizeof text, "/dev/bus/usb/%03u/%03u", m_setup.bus, m_setup.address);
    return text;
}

std::vector<std::string> EmulatedUsbDevice::events() const {
    std::lock_guard lock(m_mutex);
    return m_events;
}

void EmulatedUsbDevice::clearEvents() {
    std::lock_guard lock(m_mutex);
    m_events.clear();
}

void EmulatedUsbDevice::unplug() {
    std::lock_guard lock(m_mutex);
    m_unplugged = true;
}

void EmulatedUsbDevice::unplugAfterInBytes(std::size_t bytes) {
    std::lock_guard lock(m_mutex);
    m_unplugAfter = bytes;
}

void EmulatedUsbDevice::setChunkLimit(std::size_t bytes) {
    std::lock_guard lock(m_mutex);
    m_chunkLimit = bytes;
}

void EmulatedUsbDevice::setZeroLengthPackets(bool on) {
    std::lock_guard lock(m_mutex);
    m_zeroLengthPackets = on;
}

void EmulatedUsbDevice::failNextIn(int errnoValue) {
    std::lock_guard lock(m_mutex);
    m_failNextIn = errnoValue;
}

void EmulatedUsbDevice::setRefuseOut(bool on) {
    std::lock_guard lock(m_mutex);
    m_refuseOut = on;
}

std::size_t EmulatedUsbDevice::zeroLengthPacketsSent() const {
    std::lock_guard lock(m_mutex);
    return m_zlpSent;
}

std::size_t EmulatedUsbDevice::inBytesSent() const {
    std::lock_guard lock(m_mutex);
    return m_inBytes;
}

std::size_t EmulatedUsbDevice::inTransfersCompleted() const {
    std::lock_guard lock(m_mutex);
    return m_inCompleted;
}

void EmulatedUsbDevice::event(std::string text) {
    m_events.push_back(std::move(text));
}

int EmulatedUsbDevice::onIoctl(UMockdevIoctlBase*, UMockdevIoctlClient* client, void* self) {
    return static_cast<EmulatedUsbDevice*>(self)->handleIoctl(client) ? TRUE : FALSE;
}

void EmulatedUsbDevice::onClientVanished(UMockdevIoctlBase*, UMockdevIoctlClient* client, void* self) {
    static_cast<EmulatedUsbDevice*>(self)->forget(client);
}

// A closed device file takes its claim and its transfers with it.
void EmulatedUsbDevice::forget(UMockdevIoctlClient* client) {
    std::lock_guard lock(m_mutex);
    if (m_owner == client)
        m_owner = nullptr;
    for (auto it = m_urbs.begin(); it != m_urbs.end();) {
        if (it->client == client) {
            g_object_unref(it->data);
            it = m_urbs.erase(it);
        } else {
            ++it;
        }
    }
}

bool EmulatedUsbDevice::claim(UMockdevIoctlClient* client) {
    if (m_owner != nullptr && m_owner != client)
        return false;
    m_owner = client;
    return true;
}

bool EmulatedUsbDevice::handleIoctl(UMockdevIoctlClient* client) {
    std::lock_guard lock(m_mutex);
    const gulong request = umockdev_ioctl_client_get_request(client);
    UMockdevIoctlData* arg = umockdev_ioctl_client_get_arg(client);

    if (m_unplugged) {
        // The kernel still hands back the requests that died with the device.
        if (request == USBDEVFS_REAPURBNDELAY &&
            std::any_of(m_urbs.begin(), m_urbs.end(), [client](const Urb& urb) { return urb.client == client; })) {
            for (Urb& urb : m_urbs)
                if (!urb.ready && urb.client == client) {
                    urb.ready = true;
                    urb.status = -ENODEV;
                    urb.actualLength = 0;
                }
            reap(client);
            return true;
        }
        umockdev_ioctl_client_complete(client, -1, ENODEV);
        return true;
    }

    switch (request) {
    case USBDEVFS_GET_CAPABILITIES: {
        UMockdevIoctlData* caps = umockdev_ioctl_data_resolve(arg, 0, sizeof(std::uint32_t), nullptr);
        std::memcpy(caps->data, &CAPABILITIES, sizeof CAPABILITIES);
        umockdev_ioctl_client_complete(client, 0, 0);
        return true;
    }
    case USBDEVFS_CLAIMINTERFACE:
    case USBDEVFS_RELEASEINTERFACE: {
        UMockdevIoctlData* data = umockdev_ioctl_data_resolve(arg, 0, sizeof(int), nullptr);
        int iface = 0;
        std::memcpy(&iface, data->data, sizeof iface);
        if (iface != 0) {
            umockdev_ioctl_client_complete(client, -1, ENOENT);
            return true;
        }
        if (request == USBDEVFS_CLAIMINTERFACE) {
            if (!claim(client)) {
                event("claim refused 0");
                umockdev_ioctl_client_complete(client, -1, EBUSY);
                return true;
            }
            event("claim 0");
        } else {
            if (m_owner != client) {
                umockdev_ioctl_client_complete(client, -1, EINVAL);
                return true;
            }
            m_owner = nullptr;
            event("release 0");
        }
        umockdev_ioctl_client_complete(client, 0, 0);
        return true;
    }
    case USBDEVFS_DISCONNECT_CLAIM: {
        UMockdevIoctlData* data =
            umockdev_ioctl_data_resolve(arg, 0, sizeof(usbdevfs_disconnect_claim), nullptr);
        const auto* request = reinterpret_cast<const usbdevfs_disconnect_claim*>(data->data);
        if (request->interface == 0 && !claim(client)) {
            event("detach-and-claim refused " + std::to_string(request->interface));
            umockdev_ioctl_client_complete(client, -1, EBUSY);
            return true;
        }
        event("detach-and-claim " + std::to_string(request->interface));
        umockdev_ioctl_client_complete(client, 0, 0);
        return true;
    }
    case USBDEVFS_IOCTL: {
        UMockdevIoctlData* data = umockdev_ioctl_data_resolve(arg, 0, sizeof(usbdevfs_ioctl), nullptr);
        const auto* command = reinterpret_cast<const usbdevfs_ioctl*>(data->data);
        if (command->ioctl_code == static_cast<int>(USBDEVFS_CONNECT))
            event("attach-driver " + std::to_string(command->ifno));
        umockdev_ioctl_client_complete(client, 0, 0);
        return true;
    }
    case USBDEVFS_GETDRIVER:
        umockdev_ioctl_client_complete(client, -1, ENODATA);
        return true;
    case USBDEVFS_SUBMITURB:
        submit(client);
        return true;
    case USBDEVFS_REAPURBNDELAY:
        reap(client);
        return true;
    case USBDEVFS_DISCARDURB:
        discard(client);
        return true;
    default:
        umockdev_ioctl_client_complete(client, -1, ENOTTY);
        return true;
    }
}

void EmulatedUsbDevice::submit(UMockdevIoctlClient* client) {
    UMockdevIoctlData* arg = umockdev_ioctl_client_get_arg(client);
    UMockdevIoctlData* data = umockdev_ioctl_data_resolve(arg, 0, sizeof(usbdevfs_urb), nullptr);
    usbdevfs_urb* raw = urbOf(data);
    if (raw->buffer_length < 0 ||
        (raw->buffer_length > 0 &&
         !umockdev_ioctl_data_resolve(data, offsetof(usbdevfs_urb, buffer),
                                      static_cast<gsize>(raw->buffer_length), nullptr))) {
        umockdev_ioctl_client_complete(client, -1, EFAULT);
        return;
    }
    raw = urbOf(data); // resolve pointed `buffer` at our copy

    Urb urb;
    urb.client = client;
    urb.data = static_cast<UMockdevIoctlData*>(g_object_ref(data));
    urb.control = raw->type == USBDEVFS_URB_TYPE_CONTROL;
    urb.in = (raw->endpoint & 0x80) != 0;
    if (urb.control) {
        handleControl(urb);
    } else if (raw->type != USBDEVFS_URB_TYPE_BULK ||
               (urb.in && raw->endpoint != m_setup.inEndpoint) ||
               (!urb.in && raw->endpoint != m_setup.outEndpoint)) {
        g_object_unref(urb.data);
        umockdev_ioctl_client_complete(client, -1, ENOENT); // no such endpoint
        return;
    } else if (!urb.in && !m_refuseOut) {
        m_firmware->hostWrite(static_cast<const std::uint8_t*>(raw->buffer),
                              static_cast<std::size_t>(raw->buffer_length));
        urb.ready = true;
        urb.actualLength = raw->buffer_length;
    }
    m_urbs.push_back(urb);
    umockdev_ioctl_client_complete(client, 0, 0);
}

void EmulatedUsbDevice::handleControl(Urb& urb) {
    usbdevfs_urb* raw = urbOf(urb.data);
    auto* setup = static_cast<std::uint8_t*>(raw->buffer);
    urb.ready = true;
    if (raw->buffer_length < 8) {
        urb.status = -EPIPE;
        return;
    }
    const unsigned requestType = setup[0];
    const unsigned request = setup[1];
    const unsigned value = setup[2] | (setup[3] << 8);
    const unsigned index = setup[4] | (setup[5] << 8);
    const unsigned length = setup[6] | (setup[7] << 8);
    event("control " + hexText(requestType, 2) + " " + hexText(request, 2) + " " +
          hexText(value, 4) + " " + hexText(index, 4));

    if (requestType == 0x80 && request == 6 && (value >> 8) == 3) { // GET_DESCRIPTOR string
        std::vector<std::uint8_t> reply;
        switch (value & 0xFF) {
        case 0: reply = {4, 3, 0x09, 0x04}; break;
        case 2: reply = stringDescriptor(m_setup.product); break;
        case 3: reply = stringDescriptor(m_setup.serial); break;
        default: urb.status = -EPIPE; return;
        }
        const std::size_t count = std::min<std::size_t>(
            {reply.size(), length, static_cast<std::size_t>(raw->buffer_length - 8)});
        std::memcpy(setup + 8, reply.data(), count);
        urb.actualLength = static_cast<int>(count);
        return;
    }
    if (requestType != 0x40 || request != 0x02) { // only the line requests are known
        urb.status = -EPIPE;
        return;
    }
    if (value == 0x0002)
        m_clearToSend = true;
    else if (value == 0x0004)
        m_clearToSend = false;
    m_firmware->lineControl(static_cast<std::uint16_t>(value));
}

bool EmulatedUsbDevice::completeIn(Urb& urb) {
    usbdevfs_urb* raw = urbOf(urb.data);
    auto* buffer = static_cast<std::uint8_t*>(raw->buffer);
    const std::size_t capacity = static_cast<std::size_t>(raw->buffer_length);
    const std::size_t packet = m_setup.packetSize;

    if (m_failNextIn != 0) {
        urb.status = -m_failNextIn;
        m_failNextIn = 0;
        return true;
    }
    if (m_zlpOwed) {
        m_zlpOwed = false;
        ++m_zlpSent;
        return true; // a zero-length packet: no data, no error
    }
    if (!m_clearToSend)
        return false;
    const std::size_t available = m_firmware->pendingBytes();
    if (available == 0)
        return false;
    std::size_t count = std::min(available, capacity);
    if (m_chunkLimit != 0)
        count = std::min(count, m_chunkLimit);
    if (m_unplugAfter != 0 && m_inBytes + count >= m_unplugAfter) {
        m_unplugged = true;
        urb.status = -ENODEV;
        return true;
    }
    if (count == capacity && capacity % packet != 0 && available > capacity) {
        // The last packet does not fit the buffer: babble.
        urb.actualLength = static_cast<int>(m_firmware->hostRead(buffer, capacity));
        urb.status = -EOVERFLOW;
        return true;
    }
    const bool boundary = count % packet == 0;
    if (boundary && count < capacity && !m_zeroLengthPackets && available == count)
        return false; // nothing ends the transfer yet
    urb.actualLength = static_cast<int>(m_firmware->hostRead(buffer, count));
    if (boundary && m_zeroLengthPackets && m_firmware->pendingBytes() == 0) {
        if (count == capacity)
            m_zlpOwed = true; // arrives in the next transfer
        else
            ++m_zlpSent; // ends this one
    }
    return true;
}

// Each device file reaps only its own transfers.
void EmulatedUsbDevice::reap(UMockdevIoctlClient* client) {
    auto it = m_urbs.begin();
    for (; it != m_urbs.end(); ++it) {
        if (it->client != client)
            continue;
        if (!it->ready && it->in && !it->control)
            it->ready = completeIn(*it);
        if (it->ready)
            break;
    }
    if (it == m_urbs.end()) {
        umockdev_ioctl_client_complete(client, -1, m_unplugged ? ENODEV : EAGAIN);
        return;
    }
    Urb urb = *it;
    m_urbs.erase(it);
    usbdevfs_urb* raw = urbOf(urb.data);
    raw->status = urb.status;
    raw->actual_length = urb.actualLength;
    if (urb.in && !urb.control && urb.status == 0) {
        ++m_inCompleted;
        m_inBytes += static_cast<std::size_t>(urb.actualLength);
    }

    UMockdevIoctlData* arg = umockdev_ioctl_client_get_arg(client);
    UMockdevIoctlData* pointer = umockdev_ioctl_data_resolve(arg, 0, sizeof(void*), nullptr);
    umockdev_ioctl_data_set_ptr(pointer, 0, urb.data);
    umockdev_ioctl_client_complete(client, 0, 0);
    g_object_unref(urb.data);
}

void EmulatedUsbDevice::discard(UMockdevIoctlClient* client) {
    UMockdevIoctlData* arg = umockdev_ioctl_client_get_arg(client);
    gulong address = 0;
    std::memcpy(&address, arg->data, sizeof address);
    for (Urb& urb : m_urbs) {
        if (urb.client == client && urb.data->client_addr == address && !urb.ready) {
            urb.ready = true;
            urb.status = -ENOENT;
            urb.actualLength = 0;
            umockdev_ioctl_client_complete(client, 0, 0);
            return;
        }
    }
    umockdev_ioctl_client_complete(client, -1, EINVAL);
}

// ----------------------------------------------------------------- testbed

UsbTestbed::UsbTestbed() : m_testbed(umockdev_testbed_new()) {}

UsbTestbed::~UsbTestbed() {
    m_devices.clear();
    g_object_unref(m_testbed);
}

EmulatedUsbDevice& UsbTestbed::addDevice(const DeviceSetup& setup,
                                         std::shared_ptr<DeviceFirmware> firmware) {
    m_devices.push_back(std::make_unique<EmulatedUsbDevice>(m_testbed, setup, std::move(firmware)));
    return *m_devices.back();
}

std::string UsbTestbed::rootDir() const {
    gchar* root = umockdev_testbed_get_root_dir(m_testbed);
    std::string text = root;
    g_free(root);
    return text;
}

bool inMockEnvironment() {
    const char* preload = std::getenv("LD_PRELOAD");
    return preload && std::strstr(preload, "libumockdev-preload");
}

} // namespace vessor::usbtest
