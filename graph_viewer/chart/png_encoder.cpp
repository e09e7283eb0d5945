#include "png_encoder.h"

#include <zlib.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace vessor::graph {

namespace {

void putBigEndian(QByteArray& out, std::uint32_t value) {
    const char bytes[4] = {static_cast<char>(value >> 24), static_cast<char>(value >> 16),
                           static_cast<char>(value >> 8), static_cast<char>(value)};
    out.append(bytes, 4);
}

void putChunk(QByteArray& out, const char* type, const char* data, std::uint32_t size) {
    putBigEndian(out, size);
    const qsizetype start = out.size();
    out.append(type, 4);
    if (size > 0)
        out.append(data, size);
    const auto* typed = reinterpret_cast<const Bytef*>(out.constData() + start);
    putBigEndian(out, static_cast<std::uint32_t>(crc32(0, typed, size + 4)));
}

} // namespace

QByteArray encodePng(const QImage& source) {
    if (source.isNull())
        return {};
    const QImage image = source.format() == QImage::Format_RGB32 || source.format() == QImage::Format_ARGB32
                             ? source
                             : source.convertToFormat(QImage::Format_RGB32);
    const auto width = static_cast<std::uint32_t>(image.width());
    const auto height = static_cast<std::uint32_t>(image.height());
    const std::size_t stride = 3 * std::size_t{width} + 1; // filter byte, then R G B per pixel

    z_stream zip{};
    if (deflateInit2(&zip, 1, Z_DEFLATED, 15, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        return {};
    QByteArray compressed(static_cast<qsizetype>(deflateBound(&zip, static_cast<uLong>(stride * height))),
                          Qt::Uninitialized);
    zip.next_out = reinterpret_cast<Bytef*>(compressed.data());
    zip.avail_out = static_cast<uInt>(compressed.size());
    std::vector<unsigned char> above(stride, 0), current(stride), row(stride);
    row[0] = 2; // "Up": each byte less the one above it
    bool ok = true;
    for (std::uint32_t y = 0; y < height && ok; ++y) {
        const auto* pixels = reinterpret_cast<const QRgb*>(image.constScanLine(static_cast<int>(y)));
        unsigned char* rgb = current.data() + 1;
        for (std::uint32_t x = 0; x < width; ++x, rgb += 3) {
            const QRgb p = pixels[x];
            rgb[0] = static_cast<unsigned char>(p >> 16);
            rgb[1] = static_cast<unsigned char>(p >> 8);
            rgb[2] = static_cast<unsigned char>(p);
        }
        for (std::size_t i = 1; i < stride; ++i)
            row[i] = static_cast<unsigned char>(current[i] - above[i]);
        above.swap(current);
        zip.next_in = row.data();
        zip.avail_in = static_cast<uInt>(stride);
        const int flush = y + 1 == height ? Z_FINISH : Z_NO_FLUSH;
        const int status = deflate(&zip, flush);
        ok = flush == Z_FINISH ? status == Z_STREAM_END : status == Z_OK && zip.avail_in == 0;
    }
    const auto compressedSize = static_cast<std::uint32_t>(zip.total_out);
    deflateEnd(&zip);
    if (!ok)
        return {};

    QByteArray png;
    png.reserve(static_cast<qsizetype>(compressedSize) + 128);
    png.append("\x89PNG\r\n\x1a\n", 8);
    QByteArray header;
    putBigEndian(header, width);
    putBigEndian(header, height);
    header.append("\x08\x02\x00\x00\x00", 5); // 8 bits, truecolour, deflate, adaptive filters, no interlace
    putChunk(png, "IHDR", header.constData(), 13);
    if (image.dotsPerMeterX() > 0 && image.dotsPerMeterY() > 0) {
        QByteArray density;
        putBigEndian(density, static_cast<std::uint32_t>(image.dotsPerMeterX()));
        putBigEndian(density, static_cast<std::uint32_t>(image.dotsPerMeterY()));
        density.append('\x01'); // per metre
        putChunk(png, "pHYs", density.constData(), 9);
    }
    putChunk(png, "IDAT", compressed.constData(), compressedSize);
    putChunk(png, "IEND", nullptr, 0);
    return png;
}

} // namespace vessor::graph
