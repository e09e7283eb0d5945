// The current status of a logger as the utility's status page shows it and
// `vessor-logger status` prints it: a heading and eleven label/value lines
// composed from the configuration block alone (no device access). Texts are
// UTF-8; a label or value may be empty, and values keep their trailing
// blanks.
#pragma once

#include <string>
#include <vector>

namespace vessor {

class LoggerConfig;
class LocaleFormat;

struct StatusLine {
    std::string label;
    std::string value;
};

struct StatusReport {
    std::string heading;
    StatusLine loggerName;
    StatusLine status;
    StatusLine startTime;
    StatusLine startDate;
    StatusLine readings;      // "Count Total :" / "Memory Usage :" on the event logger
    StatusLine sampleRate;    // "Sample Mode :" on the event logger
    StatusLine scale;         // "Sensor Expiry Date :" on the CO models
    StatusLine highAlarm;     // "Calibration Expiry Date :" / "Warning Level :" on CO
    StatusLine lowAlarm;
    StatusLine serialNumber;
    StatusLine firmwareVersion;

    // The eleven lines in page order (name first, firmware last).
    std::vector<StatusLine> lines() const;
};

// Composes the report. Start time and date and the CO expiry dates use
// `locale`.
StatusReport composeStatus(const LoggerConfig& config, const LocaleFormat& locale);

// The sample interval as the status page names it ("1 Second" ... "12 Hours",
// "UnKnown" for any other value).
std::string sampleRateText(unsigned seconds);

// The report for scripts: the heading line, then "label<TAB>value" lines in
// page order, each ended by '\n'.
std::string formatStatusText(const StatusReport& report);

} // namespace vessor
