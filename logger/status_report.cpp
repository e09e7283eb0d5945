#include "status_report.h"

#include "calendar.h"
#include "conversion.h"
#include "locale_format.h"
#include "logger_config.h"
#include "models.h"
#include "strings.h"
#include "text_encoding.h"

#include <cstdio>

namespace vessor {

namespace {

const char* const DEGREES_C = "\u00b0C";
const char* const DEGREES_F = "\u00b0F";
const char* const NO_TIME = "--:--:--";
const char* const NO_DATE = "--/--/--";
const char* const INVALID_DATE_TIME = "Invalid DateTime";


std::string decimal(long long value)
{
    return std::to_string(value);
}

// "(hh:mm:ss)" of a counting period in seconds.
std::string periodText(std::uint32_t seconds)
{
    char text[48];
    std::snprintf(text, sizeof text, "(%02u:%02u:%02u)", unsigned(seconds / 3600),
                  unsigned(seconds / 60 % 60), unsigned(seconds % 60));
    return text;
}

// Memory use of the event logger's edge and state modes in per cent.
std::string memoryUsageText(int readings, unsigned capacity)
{
    double percent;
    if (capacity == 0)
        percent = readings > 0 ? 100.0 : 0.0;  // an empty capacity field must not divide by zero
    else
        percent = static_cast<double>(readings) / capacity * 100.0;
    if (percent > 100.0)
        percent = 100.0;
    if (percent < 0.1 && readings > 0)
        percent = 0.1;
    return formatFixed(percent, 1) + "%";
}

std::string sampleModeText(const LoggerConfig& config)
{
    switch (config.eventSampleMode()) {
    case EVENT_MODE_EDGE:
        return (config.optionFlags() & EVENT_RISING_EDGE) ? "Rising Edge" : "Falling Edge";
    case EVENT_MODE_STATE: return "State Change";
    case EVENT_MODE_COUNT_TOTAL: return "Count Total";
    case EVENT_MODE_COUNT_PER: return "Count Per " + periodText(config.countPeriod());
    default: return text::ERROR_TEXT;
    }
}

std::string eventRangeText(const LoggerConfig& config)
{
    if (config.optionFlags() & EVENT_VOLT_FREE)
        return "Volt free";
    static const char* const ranges[] = {"0-3V", "0-5V", "0-12V", "0-24V"};
    return ranges[config.eventVoltageRange() & 3];
}

} // namespace

std::vector<StatusLine> StatusReport::lines() const
{
    return {loggerName, status,   startTime, startDate, readings,        sampleRate,
            scale,      highAlarm, lowAlarm, serialNumber, firmwareVersion};
}

std::string sampleRateText(unsigned seconds)
{
    switch (seconds) {
    case 1: return "1 Second";
    case 2: return "2 Seconds";
    case 10: return "10 Seconds";
    case 30: return "30 Seconds";
    case 60: return "1 Minute";
    case 300: return "5 Minutes";
    case 1800: return "30 Minutes";
    case 3600: return "1 Hour";
    case 21600: return "6 Hours";
    case 43200: return "12 Hours";
    default: return "UnKnown";
    }
}

StatusReport composeStatus(const LoggerConfig& config, const LocaleFormat& locale)
{
    StatusReport r;
    r.loggerName.label = "Logger Name :";
    r.status.label = "Status :";
    r.startTime.label = "Start Time :";
    r.startDate.label = "Start Date :";
    r.readings.label = "Readings :";
    r.sampleRate.label = "Sample Rate :";
    r.scale.label = "Scale :";
    r.highAlarm.label = "High Alarm :";
    r.lowAlarm.label = "Low Alarm :";
    r.serialNumber.label = "Serial Number :";
    r.firmwareVersion.label = "Firmware Version :";

    const int model = config.modelType();
    const ModelInfo* info = config.model();
    const std::uint8_t alarms = config.alarmFlags();

    // modelName() gives "USB" for an unknown type, so the heading keeps it.
    r.heading = replaceFirst(messageText(MSG_STATUS_HEADING), "USB", modelName(model));
    r.loggerName.value = cp1252ToUtf8(config.loggerName());

    const CalendarTime first = config.firstReadingTime();
    if (isValidCalendarTime(first)) {
        r.startTime.value = locale.formatTime(first);
        r.startDate.value = locale.formatDate(first);
    } else {
        r.startTime.value = INVALID_DATE_TIME;
        r.startDate.value = INVALID_DATE_TIME;
    }

    if (!config.isLogging()) {
        r.status.value = "Stopped";
        if (config.readingCount() < 1) {
            r.startTime.value = NO_TIME;
            r.startDate.value = NO_DATE;
        }
    } else if (config.isDelayedStart()) {
        r.status.value = "Delayed Start";
    } else if (config.isAwaitingButton()) {
        r.status.value = "Push Button To Start";
        r.startTime.value = NO_TIME;
        r.startDate.value = NO_DATE;
    } else {
        r.status.value = "Logging";
    }

    // Readings.
    if (isWrapModel(model) && config.isWrapMode() && config.wrapCount() != 0) {
        r.readings.value = decimal(static_cast<long long>(config.memoryCapacity()) - 1);
    } else if (isEventLogger(model)) {
        switch (config.eventSampleMode()) {
        case EVENT_MODE_COUNT_PER:
            r.readings.value = decimal(config.readingCount());
            break;
        case EVENT_MODE_COUNT_TOTAL:
            r.readings.label = "Count Total :";
            r.readings.value = decimal(config.u32At(field::COUNT_PERIOD));
            break;
        default:
            r.readings.label = "Memory Usage :";
            r.readings.value = memoryUsageText(config.readingCount(), config.memoryCapacity());
            break;
        }
    } else {
        r.readings.value = decimal(config.readingCount());
    }

    if (isEventLogger(model)) {
        r.sampleRate.label = "Sample Mode :";
        r.sampleRate.value = sampleModeText(config);
    } else {
        r.sampleRate.value = sampleRateText(config.sampleInterval());
    }

    std::string high = formatHighAlarm(config) + " ";
    std::string low = formatLowAlarm(config) + " ";

    // Scale, and the unit of both alarm values.
    if (info && (info->quantity == Quantity::Temperature || info->quantity == Quantity::TemperatureHumidity)) {
        switch (config.optionFlags()) {
        case 0:
            r.scale.value = "Celsius";
            high += DEGREES_C;
            low += DEGREES_C;
            break;
        case 1:
            r.scale.value = "Fahrenheit";
            high += DEGREES_F;
            low += DEGREES_F;
            break;
        default:
            r.scale.value = text::ERROR_TEXT;
            break;
        }
    } else if (isVoltageCurrentModel(model)) {
        r.scale.value = info->quantity == Quantity::Voltage ? "Voltage" : "Current";
        const std::string unit = unitText(config);
        if (!unit.empty()) {
            r.scale.value += " (" + unit + ")";
            high += unit;
            low += unit;
        }
    } else if (isCOModel(model)) {
        low += "ppm";
        r.scale.label = "Sensor Expiry Date :";
        r.scale.value = expiryText(config.sensorLife(), locale);
    } else if (isThermocoupleModel(model)) {
        const bool fahrenheit = (config.optionFlags() & TC_FAHRENHEIT) != 0;
        r.scale.value = fahrenheit ? "Fahrenheit" : "Celsius";
        high += fahrenheit ? DEGREES_F : DEGREES_C;
        low += fahrenheit ? DEGREES_F : DEGREES_C;
        switch (config.optionFlags() & TC_TYPE_MASK) {
        case TC_TYPE_J: r.scale.value += ", J-Type"; break;
        case TC_TYPE_K: r.scale.value += ", K-Type"; break;
        case TC_TYPE_T: r.scale.value += ", T-Type"; break;
        default: break;
        }
    } else if (isEventLogger(model)) {
        r.scale.value = eventRangeText(config);
    } else {
        r.scale.value = text::ERROR_TEXT;
    }

    // Alarm lines.
    if (isCOModel(model)) {
        StatusLine warning{"Warning Level :", "Disabled"};
        if (alarms & ALARM_LOW_ENABLED) {
            warning.value = low;
            if (alarms & ALARM_LOW_HOLD)
                warning.value += " (Hold)";
            if (config.modeFlags() & MODE_SOUNDER)
                warning.value += " (Sounder)";
        }
        if (config.isCalDateSet()) {
            r.highAlarm.label = "Calibration Expiry Date :";
            r.highAlarm.value = expiryText(config.calibrationPeriod(), locale);
            r.lowAlarm = warning;
        } else {
            r.highAlarm = warning;
            r.lowAlarm = {};
        }
    } else if (isEventLogger(model)) {
        r.highAlarm.value = "N/A";
        r.lowAlarm.value = "N/A";
    } else {
        r.highAlarm.value = (alarms & ALARM_HIGH_ENABLED)
                                ? high + ((alarms & ALARM_HIGH_HOLD) ? " (Hold)" : "")
                                : "Disabled";
        r.lowAlarm.value = (alarms & ALARM_LOW_ENABLED)
                               ? low + ((alarms & ALARM_LOW_HOLD) ? " (Hold)" : "")
                               : "Disabled";
    }

    if (isHumidityModel(model)) {
        r.scale.value += ", %rh";
        auto humidity = [&](float value, std::uint8_t enabled, std::uint8_t hold) {
            std::string text = (alarms & enabled) ? ", " + formatFixed(value, 1) + " %rh" : ", Disabled";
            if (alarms & hold)
                text += " (Hold)";
            return text;
        };
        r.highAlarm.value += humidity(config.rhHighAlarmValue(), ALARM_RH_HIGH_ENABLED, ALARM_RH_HIGH_HOLD);
        r.lowAlarm.value += humidity(config.rhLowAlarmValue(), ALARM_RH_LOW_ENABLED, ALARM_RH_LOW_HOLD);
    }

    r.serialNumber.value = config.serialNumberText();
    r.firmwareVersion.value = cp1252ToUtf8(config.firmwareVersion());
    return r;
}

std::string formatStatusText(const StatusReport& report)
{
    std::string out = report.heading + "\n";
    for (const StatusLine& line : report.lines())
        out += line.label + "\t" + line.value + "\n";
    return out;
}

} // namespace vessor
