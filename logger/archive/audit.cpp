#include "logger/archive/audit.h"

#include "logger/download_fields.h"

#include <openssl/evp.h>
#include <pwd.h>
#include <unistd.h>
#include <zlib.h>

#include <ctime>

namespace vessor::archive {

std::string sha256Hex(std::string_view bytes) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (EVP_Digest(bytes.data(), bytes.size(), digest, &length, EVP_sha256(), nullptr) != 1)
        return {};
    static constexpr char HEX[] = "0123456789abcdef";
    std::string text;
    text.reserve(length * 2);
    for (unsigned int i = 0; i < length; ++i) {
        text += HEX[digest[i] >> 4];
        text += HEX[digest[i] & 0x0F];
    }
    return text;
}

std::string compressBytes(std::string_view bytes) {
    uLongf size = compressBound(static_cast<uLong>(bytes.size()));
    std::string out(size, '\0');
    if (compress2(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(bytes.data()),
                  static_cast<uLong>(bytes.size()), Z_BEST_SPEED) != Z_OK)
        return {};
    out.resize(size);
    return out;
}

std::optional<std::string> decompressBytes(std::string_view compressed, std::uint64_t originalSize) {
    // No download file comes near this; a damaged size must not allocate wildly.
    if (originalSize > (std::uint64_t{1} << 31))
        return std::nullopt;
    std::string out(static_cast<std::size_t>(originalSize), '\0');
    uLongf size = static_cast<uLongf>(originalSize);
    const int result = uncompress(reinterpret_cast<Bytef*>(out.data()), &size,
                                  reinterpret_cast<const Bytef*>(compressed.data()),
                                  static_cast<uLong>(compressed.size()));
    if (result != Z_OK || size != originalSize)
        return std::nullopt;
    return out;
}

Stamp currentStamp() {
    Stamp stamp;
    const uid_t uid = geteuid();
    if (const passwd* entry = getpwuid(uid); entry && entry->pw_name)
        stamp.user = entry->pw_name;
    else
        stamp.user = "uid " + std::to_string(uid);
    stamp.unixTime = static_cast<std::int64_t>(std::time(nullptr));
    return stamp;
}

std::string utcTimeText(std::int64_t unixTime) {
    // Unix time is clock seconds of UTC: the same calendar arithmetic.
    return download::isoTimeText(unixTime) + "Z";
}

} // namespace vessor::archive
