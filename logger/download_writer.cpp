#include "download_writer.h"

#include <charconv>
#include <cstdio>

namespace vessor {

namespace {

constexpr std::string_view LINE_END = "\r\n";

void appendNumber(std::string& out, std::int64_t value)
{
    char text[24];
    const auto result = std::to_chars(text, text + sizeof text, value);
    out.append(text, result.ptr);
}

// printf "%0*d" for the time fields; the fast path covers every sane value.
void appendPadded(std::string& out, int value, int width)
{
    if (value >= 0 && ((width == 2 && value < 100) || (width == 4 && value < 10000))) {
        char text[4];
        for (int i = width - 1; i >= 0; --i) {
            text[i] = static_cast<char>('0' + value % 10);
            value /= 10;
        }
        out.append(text, static_cast<std::size_t>(width));
        return;
    }
    char text[24];
    const int length = std::snprintf(text, sizeof text, "%0*d", width, value);
    out.append(text, static_cast<std::size_t>(length > 0 ? length : 0));
}

// "%d/%m/%Y %H:%M:%S"
void appendTime(std::string& out, const CalendarTime& t)
{
    appendPadded(out, t.day, 2);
    out += '/';
    appendPadded(out, t.month + 1, 2);
    out += '/';
    appendPadded(out, t.fullYear(), 4);
    out += ' ';
    appendPadded(out, t.hour, 2);
    out += ':';
    appendPadded(out, t.minute, 2);
    out += ':';
    appendPadded(out, t.second, 2);
}

} // namespace

void DownloadTextWriter::line(std::string_view text)
{
    out_.append(text);
    out_.append(LINE_END);
}

void DownloadTextWriter::beginRow(std::int64_t number, const CalendarTime& time, bool withTenths)
{
    appendNumber(out_, number);
    out_ += ',';
    appendTime(out_, time);
    if (withTenths) {
        out_ += '.';
        appendNumber(out_, time.tenths);
    }
}

void DownloadTextWriter::value(double v, int decimals)
{
    if (decimals < 0)
        decimals = 0;
    if (decimals > 30)
        decimals = 30;
    char text[400];
    const auto result = std::to_chars(text, text + sizeof text, v, std::chars_format::fixed, decimals);
    out_ += ',';
    if (result.ec != std::errc())
        out_ += '0';
    else
        out_.append(text, result.ptr);
}

void DownloadTextWriter::whole(std::int64_t v)
{
    out_ += ',';
    appendNumber(out_, v);
}

void DownloadTextWriter::field(std::string_view text)
{
    out_ += ',';
    out_.append(text);
}

void DownloadTextWriter::endRow()
{
    out_.append(LINE_END);
}

} // namespace vessor
