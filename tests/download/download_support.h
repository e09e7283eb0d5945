// Helpers of the download tests: logger blocks as a download sees them and
// expected files written as readable UTF-8 lines.
#pragma once

#include "logger/download_file.h"
#include "logger/logger_config.h"
#include "logger/text_encoding.h"

#include <initializer_list>
#include <string>
#include <vector>

namespace vessor::test {

// A stopped logger named COLDROOM, serial number 123456, calibration M 1.
inline LoggerConfig coldroom(int model)
{
    LoggerConfig config;
    config.setModelType(model);
    config.setLoggerName("COLDROOM");
    config.setU32At(field::SERIAL_NUMBER, 123456);
    config.setCalGradient(1.0f);
    config.refreshDerived();
    return config;
}

// The file of these lines: cp1252 bytes, CR LF after every line.
inline std::string fileOf(std::initializer_list<const char*> utf8Lines)
{
    std::string bytes;
    for (const char* line : utf8Lines)
        bytes += utf8ToCp1252(line) + "\r\n";
    return bytes;
}

inline std::vector<std::string> linesOf(const std::string& bytes)
{
    std::vector<std::string> lines;
    std::size_t from = 0;
    for (std::size_t at = bytes.find("\r\n"); at != std::string::npos; at = bytes.find("\r\n", from)) {
        lines.push_back(bytes.substr(from, at - from));
        from = at + 2;
    }
    if (from < bytes.size())
        lines.push_back(bytes.substr(from));
    return lines;
}

inline std::string build(const LoggerConfig& config, const SampleBuffer& samples,
                         const CalendarTime& start)
{
    std::string bytes;
    const DownloadOutcome outcome = buildDownloadFile(config, samples, start, bytes);
    return outcome.ok() ? bytes : "failed: " + outcome.message;
}

inline const CalendarTime EXAMPLE_START = makeCalendarTime(2007, 3, 5, 14, 30, 0);

} // namespace vessor::test
