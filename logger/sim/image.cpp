#include "simulated_logger.h"

#include "logger/safe_save.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

namespace vessor::sim {

std::string simProductString(std::uint32_t serialNumber) {
    char text[32];
    std::snprintf(text, sizeof text, "SIM%09u", static_cast<unsigned>(serialNumber));
    return text;
}

std::optional<LoggerImage> LoggerImage::fromBytes(const std::vector<std::uint8_t>& bytes,
                                                  std::string& error) {
    if (bytes.size() < CONFIG_BLOCK_SIZE) {
        error = "not a logger image: " + std::to_string(bytes.size()) +
                " bytes, but the configuration block alone is 256";
        return std::nullopt;
    }
    const std::size_t memory = bytes.size() - CONFIG_BLOCK_SIZE;
    if (memory > MAX_MEMORY_BYTES) {
        error = "not a logger image: its data memory of " + std::to_string(memory) +
                " bytes exceeds the 65535 bytes a logger can send";
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
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = "cannot read " + path + ": " + std::strerror(errno);
        return std::nullopt;
    }
    // Never read more than an image can hold: a huge file is refused, not loaded.
    std::vector<std::uint8_t> bytes;
    constexpr std::size_t limit = CONFIG_BLOCK_SIZE + MAX_MEMORY_BYTES + 1;
    bytes.resize(limit);
    file.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(limit));
    if (file.bad()) {
        error = "cannot read " + path;
        return std::nullopt;
    }
    bytes.resize(static_cast<std::size_t>(file.gcount()));
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
