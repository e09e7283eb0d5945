#include "cli_support.h"
#include "logger_info.h"

#include "logger/conversion.h"
#include "logger/text_encoding.h"

#include <cstdio>

namespace vessor::cli {
namespace {

std::string hex(unsigned value) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", value);
    return text;
}

std::string stateText(const LoggerConfig& c) {
    if (!c.isLogging())
        return "Stopped";
    if (c.isDelayedStart())
        return "Delayed Start";
    if (c.isAwaitingButton())
        return "Push Button To Start";
    return "Logging";
}

// The unit the alarm levels are shown in, as the status page shows it.
std::string alarmUnit(const LoggerConfig& c) {
    const int model = c.modelType();
    if (isVoltageCurrentModel(model))
        return unitText(c);
    if (isCOModel(model))
        return "ppm";
    if (isThermocoupleModel(model))
        return (c.optionFlags() & TC_FAHRENHEIT) ? "\u00B0F" : "\u00B0C";
    if (isEventLogger(model) || !isKnownModel(model))
        return {};
    switch (c.optionFlags()) {
    case 0: return "\u00B0C";
    case 1: return "\u00B0F";
    default: return "(unit error)";
    }
}

// A time built from logger bytes; a block from a confused logger can hold
// fields no clock shows (month 13, 25 o'clock): say so rather than pass them off.
std::string timeText(const CalendarTime& t) {
    return formatDayFirst(t) + (isValidCalendarTime(t) ? "" : " (invalid)");
}

std::string alarmLine(const std::string& value, const std::string& unit, bool enabled, bool hold) {
    std::string text = value;
    if (!unit.empty())
        text += " " + unit;
    text += enabled ? " (enabled" : " (disabled";
    text += hold ? ", hold)" : ")";
    return text;
}

} // namespace

void printLoggerInfo(std::FILE* out, const LoggerConfig& block, const LocaleFormat& locale) {
    const LoggerConfig& c = block;
    auto line = [out](const char* field, const std::string& value) {
        std::fprintf(out, "%s: %s\n", field, value.c_str());
    };
    const int model = c.modelType();
    line("model", std::to_string(model) + " " + modelName(model) +
                      (isKnownModel(model) ? "" : " (not compatible)"));
    line("name", cp1252ToUtf8(c.loggerName()));
    line("serial", c.serialNumberText());
    line("firmware", cp1252ToUtf8(c.firmwareVersion()));
    line("state", stateText(c));
    line("start", timeText(c.startTime()));
    line("first reading", timeText(c.firstReadingTime()));
    line("start delay", std::to_string(c.startDelay()) + " s");
    line("interval", std::to_string(c.sampleInterval()) + " s");
    line("readings", std::to_string(c.readingCount()));
    if (isWrapModel(model) || isEventLogger(model)) {
        line("wrap count", std::to_string(c.wrapCount()));
        line("memory capacity", std::to_string(c.memoryCapacity()));
    }
    line("alarm flags", hex(c.alarmFlags()));
    line("status flags", hex(c.statusFlags()));
    line("option flags", hex(c.optionFlags()));
    line("mode flags", hex(c.modeFlags()));
    if (isKnownModel(model) && !isEventLogger(model)) {
        const std::string unit = alarmUnit(c);
        const std::uint8_t flags = c.alarmFlags();
        line("high alarm", alarmLine(formatHighAlarm(c), unit, flags & ALARM_HIGH_ENABLED, flags & ALARM_HIGH_HOLD));
        line(isCOModel(model) ? "warning level" : "low alarm",
             alarmLine(formatLowAlarm(c), unit, flags & ALARM_LOW_ENABLED, flags & ALARM_LOW_HOLD));
        if (isHumidityModel(model)) {
            line("humidity high alarm", alarmLine(formatFixed(c.rhHighAlarmValue(), 1), "%rh",
                                                  flags & ALARM_RH_HIGH_ENABLED, flags & ALARM_RH_HIGH_HOLD));
            line("humidity low alarm", alarmLine(formatFixed(c.rhLowAlarmValue(), 1), "%rh",
                                                 flags & ALARM_RH_LOW_ENABLED, flags & ALARM_RH_LOW_HOLD));
        }
    }
    if (isVoltageCurrentModel(model)) {
        const int scalingError = deriveScaling(c).error;
        line("scaling", std::string(c.optionFlags() ? "custom" : "factory") + ", unit " + unitText(c) +
                            ", step " + formatFixed(c.displayStep, c.decimalPlaces) +
                            (scalingError ? ", error " + std::to_string(scalingError) : ""));
    }
    if (isEventLogger(model)) {
        line("sample mode", std::to_string(c.eventSampleMode()));
        line("count period", std::to_string(c.countPeriod()));
    }
    if (isCOModel(model)) {
        line("sensor life expiry", expiryText(c.sensorLife(), locale));
        line("calibration expiry", expiryText(c.calibrationPeriod(), locale));
    }
    line("battery", std::to_string(c.batteryLevel()) + " (low battery level " +
                        std::to_string(c.lowBatteryLevel()) + ")");
}

int cmdInfo(CommandContext& context) {
    if (!context.args.empty())
        return context.usageError("info", "takes no arguments");
    DeviceSession session(context);
    if (!openSession(context, session, LoggerKinds::Any))
        return EXIT_DEVICE_FAILURE;
    printLoggerInfo(context.out, session.config, context.locale);
    return EXIT_OK;
}

} // namespace vessor::cli
