// The audit trail's pieces: the SHA-256 of a file's bytes, the bytes kept
// compressed, and who stores when.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vessor::archive {

// Lower-case hexadecimal SHA-256 (OpenSSL's libcrypto).
std::string sha256Hex(std::string_view bytes);

// zlib; decompress needs the original size and gives nullopt when the
// stored bytes do not inflate to exactly that many.
std::string compressBytes(std::string_view bytes);
std::optional<std::string> decompressBytes(std::string_view compressed, std::uint64_t originalSize);

// Who and when, for a stored download or a deletion.
struct Stamp {
    std::string user;          // the system user's name
    std::int64_t unixTime = 0; // seconds, UTC
};
// The current user (by the effective uid; "uid N" when it has no name) and now.
Stamp currentStamp();

// "YYYY-MM-DDTHH:MM:SSZ"
std::string utcTimeText(std::int64_t unixTime);

} // namespace vessor::archive
