#include "png_encoder.h"

#include <zlib.h>

#include <cstdint>
#include <cstring>
#include <system_error>
#include <thread>
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

// Rows [from, to) as PNG scanlines (a filter byte, then R G B per pixel),
// deflated without a zlib wrapper; the checksum covers the scanlines.
struct Part {
    QByteArray deflated;
    uLong adler = 1;
    z_off_t length = 0;
    bool ok = false;
};

void deflateRows(const QImage& image, int from, int to, bool last, Part& part) {
    const auto width = static_cast<std::size_t>(image.width());
    const std::size_t stride = 3 * width + 1;
    std::vector<unsigned char> above(stride, 0), current(stride), row(stride);
    const auto toRgb = [&image, width](int y, unsigned char* rgb) {
        const auto* pixels = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (std::size_t x = 0; x < width; ++x, rgb += 3) {
            const QRgb p = pixels[x];
            rgb[0] = static_cast<unsigned char>(p >> 16);
            rgb[1] = static_cast<unsigned char>(p >> 8);
            rgb[2] = static_cast<unsigned char>(p);
        }
    };
    if (from > 0)
        toRgb(from - 1, above.data() + 1);

    z_stream zip{};
    if (deflateInit2(&zip, 1, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        return;
    const auto rows = static_cast<uLong>(to - from);
    part.deflated = QByteArray(static_cast<qsizetype>(deflateBound(&zip, stride * rows) + 16),
                               Qt::Uninitialized);
    zip.next_out = reinterpret_cast<Bytef*>(part.deflated.data());
    zip.avail_out = static_cast<uInt>(part.deflated.size());
    row[0] = 2; // "Up": each byte less the one above it
    bool ok = true;
    for (int y = from; y < to && ok; ++y) {
        toRgb(y, current.data() + 1);
        for (std::size_t i = 1; i < stride; ++i)
            row[i] = static_cast<unsigned char>(current[i] - above[i]);
        above.swap(current);
        part.adler = adler32(part.adler, row.data(), static_cast<uInt>(stride));
        zip.next_in = row.data();
        zip.avail_in = static_cast<uInt>(stride);
        // A part before the last ends on a byte boundary, its blocks open, for the next to follow.
        const int flush = y + 1 < to ? Z_NO_FLUSH : last ? Z_FINISH : Z_SYNC_FLUSH;
        const int status = deflate(&zip, flush);
        ok = flush == Z_FINISH ? status == Z_STREAM_END : status == Z_OK && zip.avail_in == 0;
    }
    part.deflated.truncate(static_cast<qsizetype>(zip.total_out));
    part.length = static_cast<z_off_t>(stride * rows);
    deflateEnd(&zip);
    part.ok = ok;
}

// The image's scanlines as one zlib stream. The upper and lower halves are
// compressed at once on two threads (a part is about as long as drawing
// the chart) and joined: zlib streams concatenate when the first ends
// byte-aligned without a final block and the checksums are combined.
QByteArray zlibStream(const QImage& image) {
    const int height = image.height();
    Part upper, lower;
    const int half = height / 2;
    bool split = half > 0 && std::thread::hardware_concurrency() > 1;
    if (split) {
        try {
            std::thread worker([&] { deflateRows(image, half, height, true, lower); });
            deflateRows(image, 0, half, false, upper);
            worker.join();
        } catch (const std::system_error&) {
            split = false; // no thread to be had: one part
        }
    }
    if (!split) {
        upper = Part();
        deflateRows(image, 0, height, true, upper);
    }
    if (!upper.ok || (split && !lower.ok))
        return {};
    QByteArray stream;
    stream.reserve(upper.deflated.size() + lower.deflated.size() + 6);
    stream.append("\x78\x01", 2); // deflate, 32 KiB window, fastest
    stream.append(upper.deflated);
    uLong adler = upper.adler;
    if (split) {
        stream.append(lower.deflated);
        adler = adler32_combine(upper.adler, lower.adler, lower.length);
    }
    putBigEndian(stream, static_cast<std::uint32_t>(adler));
    return stream;
}

} // namespace

QByteArray encodePng(const QImage& source) {
    if (source.isNull())
        return {};
    const QImage image =
        source.format() == QImage::Format_RGB32 || source.format() == QImage::Format_ARGB32
            ? source
            : source.convertToFormat(QImage::Format_RGB32);
    const QByteArray compressed = zlibStream(image);
    if (compressed.isEmpty())
        return {};

    QByteArray png;
    png.reserve(compressed.size() + 128);
    png.append("\x89PNG\r\n\x1a\n", 8);
    QByteArray header;
    putBigEndian(header, static_cast<std::uint32_t>(image.width()));
    putBigEndian(header, static_cast<std::uint32_t>(image.height()));
    header.append("\x08\x02\x00\x00\x00",
                  5); // 8 bits, truecolour, deflate, adaptive filters, no interlace
    putChunk(png, "IHDR", header.constData(), 13);
    if (image.dotsPerMeterX() > 0 && image.dotsPerMeterY() > 0) {
        QByteArray density;
        putBigEndian(density, static_cast<std::uint32_t>(image.dotsPerMeterX()));
        putBigEndian(density, static_cast<std::uint32_t>(image.dotsPerMeterY()));
        density.append('\x01'); // per metre
        putChunk(png, "pHYs", density.constData(), 9);
    }
    putChunk(png, "IDAT", compressed.constData(), static_cast<std::uint32_t>(compressed.size()));
    putChunk(png, "IEND", nullptr, 0);
    return png;
}

} // namespace vessor::graph
