#include "simulated_logger.h"

#include "logger/open_file.h"
#include "logger/safe_save.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iterator>

namespace vessor::sim {

std::string simProductString(std::uint32_t serialNumber) {
    char text[32];
    std::snprintf(text, sizeof text, "SIM%09u", static_cast<unsigned>(serialNumber));
    return text;
}

namespace {

constexpr std::size_t LARGEST_IMAGE = CONFIG_BLOCK_SIZE + MAX_MEMORY_BYTES;

std::string tooLarge(unsigned long long size) {
    return "not a logger image: " + std::to_string(size) + " bytes, but a logger image has at most " +
           std::to_string(LARGEST_IMAGE) + " (the 256-byte block and at most 65535 bytes of data memory)";
}

} // namespace

std::optional<LoggerImage> LoggerImage::fromBytes(const std::vector<std::uint8_t>& bytes,
                                                  std::string& error) {
    if (bytes.size() < CONFIG_BLOCK_SIZE) {
        error = "not a logger image: " + std::to_string(bytes.size()) +
                " bytes, but the configuration block alone is 256";
        return std::nullopt;
    }
    const std::size_t memory = bytes.size() - CONFIG_BLOCK_SIZE;
    if (memory > MAX_MEMORY_BYTES) {
        error = tooLarge(bytes.size());
        return std::nullopt;
    }
    LoggerImage image;
    std::copy_n(bytes.begin(), CONFIG_BLOCK_SIZE, image.block.begin());
    image.memory.assign(bytes.begin() + CONFIG_BLOCK_SIZE, bytes.end());
    return image;
}

std::vector<std::uint8_t> LoggerImage::toBytes() const {
    std::vector<std::uint8_t> bytes(block.begin(), block.end());
    bytes.insert(bytes.end(), memory.begin(), memory.end());
    return bytes;
}

std::optional<LoggerImage> loadImage(const std::string& path, std::string& error) {
    InputFile file = openInputFile(path);
    if (!file.isOpen()) {
        error = "cannot read " + path + ": " + file.reason();
        return std::nullopt;
    }
    // A file larger than any image is refused by its size, unread.
    if (file.size() > LARGEST_IMAGE) {
        error = path + ": " + tooLarge(file.size());
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes(LARGEST_IMAGE + 1);
    std::size_t got = 0;
    while (got < bytes.size()) {
        const long n = file.read(reinterpret_cast<char*>(bytes.data()) + got, bytes.size() - got);
        if (n < 0) {
            error = "cannot read " + path + ": " + std::strerror(errno);
            return std::nullopt;
        }
        if (n == 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    bytes.resize(got);
    auto image = LoggerImage::fromBytes(bytes, error);
    if (!image)
        error = path + ": " + error;
    return image;
}

bool saveImage(const std::string& path, const LoggerImage& image, std::string& error) {
    if (image.memory.size() > MAX_MEMORY_BYTES) {
        error = "data memory larger than 65535 bytes";
        return false;
    }
    const std::vector<std::uint8_t> bytes = image.toBytes();
    const SaveResult saved =
        saveFile(path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    if (!saved.ok()) {
        error = "cannot write " + path + ": " + saved.reason;
        return false;
    }
    return true;
}

} // namespace vessor::sim
