#include "libusb_xpress.h"

#include "libusb_support.h"

#include <libusb.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <deque>
#include <fstream>
#include <map>

namespace vessor::usb {
namespace {

// The bridge's vendor request that switches the data line on and off.
constexpr std::uint8_t VENDOR_OUT_REQUEST_TYPE = 0x40; // host to device, vendor, device
constexpr std::uint8_t REQUEST_LINE_CONTROL = 0x02;
constexpr std::uint16_t LINE_CLEAR_TO_SEND = 0x0002;
constexpr std::uint16_t LINE_NOT_CLEAR_TO_SEND = 0x0004;
constexpr unsigned CONTROL_TIMEOUT_MS = 1000;
constexpr int DATA_INTERFACE = 0;

// The host receive queue holds one largest read; the IN transfer is only
// resubmitted while a whole transfer still fits, so the device is held off
// (it NAKs) instead of data being dropped.
constexpr std::size_t RX_QUEUE_CAPACITY = USB_MAX_READ_LENGTH;
constexpr std::size_t IN_TRANSFER_SIZE = 4096;
// How long close waits for the cancelled IN transfer to come back.
constexpr auto CANCEL_WAIT = std::chrono::seconds(2);


struct Endpoints {
    std::uint8_t in = 0;
    std::uint8_t out = 0;
    std::uint16_t inPacketSize = 0;
};

// Bulk IN and OUT of interface 0, alternate setting 0, from the descriptors.
bool findEndpoints(libusb_device* device, Endpoints& endpoints) {
    libusb_config_descriptor* config = nullptr;
    if (libusb_get_active_config_descriptor(device, &config) != LIBUSB_SUCCESS)
        return false;
    bool found = false;
    for (int i = 0; i < config->bNumInterfaces && !found; ++i) {
        const libusb_interface& iface = config->interface[i];
        if (iface.num_altsetting < 1)
            continue;
        const libusb_interface_descriptor& alt = iface.altsetting[0];
        if (alt.bInterfaceNumber != DATA_INTERFACE)
            continue;
        Endpoints e;
        for (int k = 0; k < alt.bNumEndpoints; ++k) {
            const libusb_endpoint_descriptor& ep = alt.endpoint[k];
            if ((ep.bmAttributes & LIBUSB_TRANSFER_TYPE_MASK) != LIBUSB_TRANSFER_TYPE_BULK)
                continue;
            if ((ep.bEndpointAddress & LIBUSB_ENDPOINT_DIR_MASK) == LIBUSB_ENDPOINT_IN) {
                if (e.in == 0) {
                    e.in = ep.bEndpointAddress;
                    e.inPacketSize = static_cast<std::uint16_t>(ep.wMaxPacketSize & 0x7FF);
                }
            } else if (e.out == 0) {
                e.out = ep.bEndpointAddress;
            }
        }
        if (e.in != 0 && e.out != 0 && e.inPacketSize != 0) {
            endpoints = e;
            found = true;
        }
    }
    libusb_free_config_descriptor(config);
    return found;
}

BusLocation locationOf(libusb_device* device) {
    BusLocation location;
    location.bus = libusb_get_bus_number(device);
    location.address = libusb_get_device_address(device);
    std::uint8_t ports[8];
    const int depth = libusb_get_port_numbers(device, ports, sizeof ports);
    if (depth > 0)
        location.ports.assign(ports, ports + depth);
    return location;
}

// A sysfs attribute of the device, without its line end; false when absent.
bool readSysfsAttribute(const BusLocation& location, const char* name, std::string& value) {
    std::ifstream file("/sys/bus/usb/devices/" + sysfsName(location) + "/" + name);
    if (!file)
        return false;
    std::getline(file, value);
    return !file.bad();
}

// The wanted devices of one enumeration, in bus order. Holds the list's
// references until it goes.
class DeviceList {
public:
    DeviceList(libusb_context* context, const std::vector<UsbId>& ids) {
        const ssize_t count = libusb_get_device_list(context, &m_list);
        if (count < 0) {
            m_error = static_cast<int>(count);
            m_list = nullptr;
            return;
        }
        for (ssize_t i = 0; i < count; ++i) {
            libusb_device_descriptor descriptor{};
            if (libusb_get_device_descriptor(m_list[i], &descriptor) != LIBUSB_SUCCESS)
                continue;
            if (isWanted(descriptor.idVendor, descriptor.idProduct, ids))
                m_devices.push_back({m_list[i], locationOf(m_list[i]), descriptor});
        }
        std::sort(m_devices.begin(), m_devices.end(), [](const Entry& a, const Entry& b) {
            return busOrderLess(a.location, b.location);
        });
    }
    ~DeviceList() {
        if (m_list)
            libusb_free_device_list(m_list, 1);
    }
    DeviceList(const DeviceList&) = delete;
    DeviceList& operator=(const DeviceList&) = delete;

    struct Entry {
        libusb_device* device;
        BusLocation location;
        libusb_device_descriptor descriptor;
    };
    int error() const { return m_error; }
    std::size_t size() const { return m_devices.size(); }
    const Entry* at(std::uint32_t index) const {
        return index < m_devices.size() ? &m_devices[index] : nullptr;
    }

private:
    libusb_device** m_list = nullptr;
    int m_error = LIBUSB_SUCCESS;
    std::vector<Entry> m_devices;
};

// One open device: the claimed interface, the IN transfer kept in flight and
// the host receive queue it fills.
struct Connection {
    libusb_device_handle* handle = nullptr;
    Endpoints endpoints;
    libusb_transfer* inTransfer = nullptr;
    std::vector<unsigned char> inBuffer;
    std::deque<std::uint8_t> queue;
    bool inFlight = false;
    bool closing = false;
    bool gone = false;         // unplugged: every later call fails
    int inError = LIBUSB_SUCCESS; // a failed IN transfer, reported by the next read

    void resubmitIfRoom() {
        if (inFlight || closing || gone || inError != LIBUSB_SUCCESS)
            return;
        if (RX_QUEUE_CAPACITY - queue.size() < inBuffer.size())
            return;
        const int result = libusb_submit_transfer(inTransfer);
        if (result == LIBUSB_SUCCESS)
            inFlight = true;
        else if (result == LIBUSB_ERROR_NO_DEVICE)
            gone = true;
        else
            inError = result;
    }

    static void LIBUSB_CALL onInComplete(libusb_transfer* transfer) {
        auto* self = static_cast<Connection*>(transfer->user_data);
        self->inFlight = false;
        // Whatever arrived is kept, whatever ended the transfer. A zero-length
        // packet (after a transfer of whole packets) adds nothing and ends nothing.
        if (transfer->actual_length > 0)
            self->queue.insert(self->queue.end(), transfer->buffer,
                               transfer->buffer + transfer->actual_length);
        switch (transfer->status) {
        case LIBUSB_TRANSFER_COMPLETED:
        case LIBUSB_TRANSFER_TIMED_OUT:
        case LIBUSB_TRANSFER_CANCELLED:
            break;
        case LIBUSB_TRANSFER_NO_DEVICE:
            self->gone = true;
            break;
        case LIBUSB_TRANSFER_STALL:
            self->inError = LIBUSB_ERROR_PIPE;
            break;
        case LIBUSB_TRANSFER_OVERFLOW:
            self->inError = LIBUSB_ERROR_OVERFLOW;
            break;
        case LIBUSB_TRANSFER_ERROR:
        default:
            self->inError = LIBUSB_ERROR_IO;
            break;
        }
        self->resubmitIfRoom();
    }
};

class LibusbXpress final : public UsbXpress {
public:
    LibusbXpress(libusb_context* context, std::vector<UsbId> ids)
        : m_context(context), m_ids(std::move(ids)) {}

    ~LibusbXpress() override {
        while (!m_open.empty())
            close(m_open.begin()->first);
        for (Connection* abandoned : m_abandoned)
            libusb_close(abandoned->handle);
        // With a transfer that never came back, libusb cannot be shut down
        // safely; the process is ending anyway.
        if (m_abandoned.empty())
            libusb_exit(m_context);
    }

    UsbStatus getNumDevices(std::uint32_t& count) override {
        m_detail.clear();
        count = 0;
        DeviceList list(m_context, m_ids);
        if (list.error() != LIBUSB_SUCCESS)
            return statusFor(list.error(), UsbOperation::Enumerate);
        count = static_cast<std::uint32_t>(list.size());
        return USB_SUCCESS;
    }

    UsbStatus getProductString(std::uint32_t index, std::string& text,
                               std::uint32_t selector) override {
        m_detail.clear();
        if (selector > USB_RETURN_PID)
            return USB_INVALID_PARAMETER;
        DeviceList list(m_context, m_ids);
        if (list.error() != LIBUSB_SUCCESS)
            return statusFor(list.error(), UsbOperation::Enumerate);
        const DeviceList::Entry* entry = list.at(index);
        if (!entry)
            return USB_DEVICE_NOT_FOUND;
        std::string value;
        UsbStatus status = USB_SUCCESS;
        switch (selector) {
        case USB_RETURN_SERIAL_NUMBER:
            status = deviceString(*entry, "serial", entry->descriptor.iSerialNumber, value);
            break;
        case USB_RETURN_DESCRIPTION:
            status = deviceString(*entry, "product", entry->descriptor.iProduct, value);
            break;
        case USB_RETURN_LINK_NAME:
            value = deviceNodePath(entry->location.bus, entry->location.address);
            break;
        case USB_RETURN_VID:
            value = hex4(entry->descriptor.idVendor);
            break;
        case USB_RETURN_PID:
            value = hex4(entry->descriptor.idProduct);
            break;
        }
        if (status == USB_SUCCESS)
            text = value.substr(0, 255);
        return status;
    }

    UsbStatus open(std::uint32_t index, Handle& handle) override {
        m_detail.clear();
        handle = INVALID_HANDLE;
        DeviceList list(m_context, m_ids);
        if (list.error() != LIBUSB_SUCCESS)
            return statusFor(list.error(), UsbOperation::Enumerate);
        const DeviceList::Entry* entry = list.at(index);
        if (!entry)
            return USB_DEVICE_NOT_FOUND;
        const std::string node = deviceNodePath(entry->location.bus, entry->location.address);

        Endpoints endpoints;
        if (!findEndpoints(entry->device, endpoints))
            return USB_DEVICE_NOT_FOUND;

        auto connection = std::make_unique<Connection>();
        connection->endpoints = endpoints;
        int result = libusb_open(entry->device, &connection->handle);
        if (result != LIBUSB_SUCCESS)
            return fail(result, UsbOperation::Open, node, idOf(*entry));
        // The kernel's serial driver claims the bridge's default id; it is
        // detached while we hold the interface and attached again on release.
        libusb_set_auto_detach_kernel_driver(connection->handle, 1);
        result = libusb_claim_interface(connection->handle, DATA_INTERFACE);
        if (result != LIBUSB_SUCCESS) {
            libusb_close(connection->handle);
            return fail(result, UsbOperation::Open, node, idOf(*entry));
        }
        result = lineControl(*connection, LINE_CLEAR_TO_SEND);
        if (result == LIBUSB_SUCCESS) {
            // A multiple of the packet size, so a full buffer never cuts a packet.
            const std::size_t packet = endpoints.inPacketSize;
            connection->inBuffer.resize(std::max(packet, IN_TRANSFER_SIZE / packet * packet));
            connection->inTransfer = libusb_alloc_transfer(0);
            if (!connection->inTransfer)
                result = LIBUSB_ERROR_NO_MEM;
        }
        if (result == LIBUSB_SUCCESS) {
            libusb_fill_bulk_transfer(connection->inTransfer, connection->handle, endpoints.in,
                                      connection->inBuffer.data(),
                                      static_cast<int>(connection->inBuffer.size()),
                                      &Connection::onInComplete, connection.get(), 0);
            connection->resubmitIfRoom();
            if (connection->gone)
                result = LIBUSB_ERROR_NO_DEVICE;
            else if (!connection->inFlight)
                result = connection->inError;
        }
        if (result != LIBUSB_SUCCESS) {
            if (result != LIBUSB_ERROR_NO_DEVICE)
                lineControl(*connection, LINE_NOT_CLEAR_TO_SEND);
            libusb_free_transfer(connection->inTransfer);
            libusb_release_interface(connection->handle, DATA_INTERFACE);
            libusb_close(connection->handle);
            return fail(result, UsbOperation::Open, node, idOf(*entry));
        }
        handle = m_nextHandle++;
        m_open.emplace(handle, std::move(connection));
        return USB_SUCCESS;
    }

    UsbStatus close(Handle handle) override {
        m_detail.clear();
        auto it = m_open.find(handle);
        if (it == m_open.end())
            return USB_INVALID_HANDLE;
        std::unique_ptr<Connection> connection = std::move(it->second);
        m_open.erase(it);
        connection->closing = true;
        if (!connection->gone)
            lineControl(*connection, LINE_NOT_CLEAR_TO_SEND);
        if (connection->inFlight) {
            libusb_cancel_transfer(connection->inTransfer);
            const auto deadline = std::chrono::steady_clock::now() + CANCEL_WAIT;
            while (connection->inFlight && std::chrono::steady_clock::now() < deadline)
                pumpEvents(std::chrono::milliseconds(100));
        }
        if (connection->inFlight) {
            // libusb still owns the transfer and its buffer: keep them.
            libusb_release_interface(connection->handle, DATA_INTERFACE);
            m_abandoned.push_back(connection.release());
            return USB_SUCCESS;
        }
        libusb_free_transfer(connection->inTransfer);
        libusb_release_interface(connection->handle, DATA_INTERFACE);
        libusb_close(connection->handle);
        return USB_SUCCESS;
    }

    UsbStatus read(Handle handle, void* buffer, std::uint32_t toRead,
                   std::uint32_t& bytesRead) override {
        bytesRead = 0;
        Connection* connection = nullptr;
        if (const UsbStatus refused = checkTransfer(handle, buffer, toRead, USB_MAX_READ_LENGTH, connection);
            refused != USB_SUCCESS)
            return refused;

        collectInput(*connection);
        const bool forever = m_readTimeout == USB_INFINITE_TIMEOUT;
        const auto deadline =
            std::chrono::steady_clock::now() + std::chrono::milliseconds(forever ? 0 : m_readTimeout);
        while (connection->queue.empty() && !connection->gone &&
               connection->inError == LIBUSB_SUCCESS) {
            auto wait = std::chrono::milliseconds(1000);
            if (!forever) {
                const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                    deadline - std::chrono::steady_clock::now());
                if (left.count() <= 0)
                    break;
                wait = std::min(wait, left);
            }
            pumpEvents(wait);
        }

        if (!connection->queue.empty()) {
            const std::size_t count = std::min<std::size_t>(toRead, connection->queue.size());
            auto* out = static_cast<std::uint8_t*>(buffer);
            std::copy_n(connection->queue.begin(), count, out);
            connection->queue.erase(connection->queue.begin(),
                                    connection->queue.begin() + static_cast<std::ptrdiff_t>(count));
            bytesRead = static_cast<std::uint32_t>(count);
            connection->resubmitIfRoom();
            return USB_SUCCESS;
        }
        return inputEnded(*connection, USB_READ_TIMED_OUT);
    }

    UsbStatus write(Handle handle, const void* buffer, std::uint32_t toWrite,
                    std::uint32_t& bytesWritten) override {
        bytesWritten = 0;
        Connection* connection = nullptr;
        if (const UsbStatus refused = checkTransfer(handle, buffer, toWrite, USB_MAX_WRITE_LENGTH, connection);
            refused != USB_SUCCESS)
            return refused;
        if (connection->gone)
            return statusFor(LIBUSB_ERROR_NO_DEVICE, UsbOperation::Write);

        std::vector<unsigned char> data(static_cast<const std::uint8_t*>(buffer),
                                        static_cast<const std::uint8_t*>(buffer) + toWrite);
        int transferred = 0;
        const int result = libusb_bulk_transfer(connection->handle, connection->endpoints.out,
                                                data.data(), static_cast<int>(data.size()),
                                                &transferred, libusbTimeout(m_writeTimeout));
        bytesWritten = static_cast<std::uint32_t>(std::max(transferred, 0));
        if (result == LIBUSB_ERROR_NO_DEVICE)
            connection->gone = true;
        return statusFor(result, UsbOperation::Write);
    }

    UsbStatus setTimeouts(std::uint32_t readMs, std::uint32_t writeMs) override {
        m_readTimeout = readMs;
        m_writeTimeout = writeMs;
        return USB_SUCCESS;
    }

    UsbStatus getTimeouts(std::uint32_t& readMs, std::uint32_t& writeMs) override {
        readMs = m_readTimeout;
        writeMs = m_writeTimeout;
        return USB_SUCCESS;
    }

    UsbStatus checkRxQueue(Handle handle, std::uint32_t& bytesInQueue,
                           std::uint32_t& queueStatus) override {
        m_detail.clear();
        bytesInQueue = 0;
        queueStatus = 0;
        Connection* connection = find(handle);
        if (!connection)
            return USB_INVALID_HANDLE;
        collectInput(*connection);
        bytesInQueue = static_cast<std::uint32_t>(connection->queue.size());
        if (bytesInQueue > 0) {
            queueStatus = USB_RX_QUEUE_DATA_READY;
            return USB_SUCCESS;
        }
        // Nothing will ever come: do not let a poller wait for ever.
        return inputEnded(*connection, USB_SUCCESS);
    }

    std::string lastErrorDetail() const override { return m_detail; }

private:
    Connection* find(Handle handle) {
        auto it = m_open.find(handle);
        return it == m_open.end() ? nullptr : it->second.get();
    }

    // The checks before a read or write moves a byte; `connection` is the
    // open device when they pass.
    UsbStatus checkTransfer(Handle handle, const void* buffer, std::uint32_t length,
                            std::uint32_t maxLength, Connection*& connection) {
        m_detail.clear();
        connection = find(handle);
        if (!connection)
            return USB_INVALID_HANDLE;
        if (!buffer)
            return USB_INVALID_PARAMETER;
        if (length == 0 || length > maxLength)
            return USB_INVALID_REQUEST_LENGTH;
        return USB_SUCCESS;
    }

    // Takes in what the device has sent so far, without waiting.
    void collectInput(Connection& connection) {
        connection.resubmitIfRoom();
        pumpEvents(std::chrono::milliseconds(0));
    }

    // With the queue empty: why no more bytes will come, else `stillOpen`.
    UsbStatus inputEnded(Connection& connection, UsbStatus stillOpen) {
        if (connection.gone)
            return statusFor(LIBUSB_ERROR_NO_DEVICE, UsbOperation::Read);
        if (connection.inError != LIBUSB_SUCCESS)
            return takeInError(connection);
        return stillOpen;
    }

    static UsbId idOf(const DeviceList::Entry& entry) {
        return {entry.descriptor.idVendor, entry.descriptor.idProduct};
    }

    UsbStatus fail(int libusbError, UsbOperation op, const std::string& node, UsbId id) {
        m_detail = failureDetail(libusbError, node, id);
        return statusFor(libusbError, op);
    }

    UsbStatus takeInError(Connection& connection) {
        const int error = connection.inError;
        connection.inError = LIBUSB_SUCCESS;
        connection.resubmitIfRoom();
        return statusFor(error, UsbOperation::Read);
    }

    int lineControl(Connection& connection, std::uint16_t value) {
        const int result = libusb_control_transfer(connection.handle, VENDOR_OUT_REQUEST_TYPE,
                                                   REQUEST_LINE_CONTROL, value, 0, nullptr, 0,
                                                   CONTROL_TIMEOUT_MS);
        if (result == LIBUSB_ERROR_NO_DEVICE)
            connection.gone = true;
        return result < 0 ? result : LIBUSB_SUCCESS;
    }

    void pumpEvents(std::chrono::milliseconds wait) {
        timeval tv{};
        tv.tv_sec = static_cast<time_t>(wait.count() / 1000);
        tv.tv_usec = static_cast<suseconds_t>((wait.count() % 1000) * 1000);
        libusb_handle_events_timeout_completed(m_context, &tv, nullptr);
    }

    // A string of the device: from sysfs, which any user may read, else from
    // the device itself.
    UsbStatus deviceString(const DeviceList::Entry& entry, const char* attribute,
                           std::uint8_t descriptorIndex, std::string& value) {
        if (readSysfsAttribute(entry.location, attribute, value))
            return USB_SUCCESS;
        value.clear();
        if (descriptorIndex == 0)
            return USB_SUCCESS; // the device has none
        libusb_device_handle* handle = nullptr;
        int result = libusb_open(entry.device, &handle);
        if (result != LIBUSB_SUCCESS)
            return fail(result, UsbOperation::Enumerate,
                        deviceNodePath(entry.location.bus, entry.location.address), idOf(entry));
        unsigned char text[256];
        result = libusb_get_string_descriptor_ascii(handle, descriptorIndex, text, sizeof text);
        libusb_close(handle);
        if (result < 0)
            return statusFor(result, UsbOperation::Enumerate);
        value.assign(reinterpret_cast<const char*>(text), static_cast<std::size_t>(result));
        return USB_SUCCESS;
    }

    libusb_context* m_context;
    std::vector<UsbId> m_ids;
    std::uint32_t m_readTimeout = USB_INFINITE_TIMEOUT;
    std::uint32_t m_writeTimeout = USB_INFINITE_TIMEOUT;
    std::map<Handle, std::unique_ptr<Connection>> m_open;
    std::vector<Connection*> m_abandoned;
    Handle m_nextHandle = 1;
    std::string m_detail;
};

} // namespace

std::unique_ptr<UsbXpress> createLibusbXpress(const std::vector<UsbId>& extraIds,
                                              std::string& error) {
    libusb_context* context = nullptr;
    const int result = libusb_init(&context);
    if (result != LIBUSB_SUCCESS) {
        error = std::string("Cannot start the USB library (libusb): ") + libusb_strerror(result);
        return nullptr;
    }
    return std::make_unique<LibusbXpress>(context, wantedIds(extraIds));
}

} // namespace vessor::usb
