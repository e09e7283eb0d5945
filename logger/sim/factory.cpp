// Factory images and the simulated signal.
#include "simulated_logger.h"

#include "../conversion.h"
#include "../logger_config.h"

#include <algorithm>
#include <cmath>

namespace vessor::sim {
namespace {

constexpr double PI = 3.14159265358979323846;

// A small deterministic noise in [-1, 1] from the reading index.
double noise(std::uint32_t index, int channel) {
    std::uint32_t x = index * 2654435761u + static_cast<std::uint32_t>(channel) * 40503u + 12345u;
    x ^= x >> 13;
    x *= 0x5bd1e995u;
    x ^= x >> 15;
    return static_cast<double>(x % 20001u) / 10000.0 - 1.0;
}

// A daily cycle with a faster ripple, as seconds since the first reading.
double wave(double seconds, double dailyAmplitude, double rippleAmplitude) {
    return dailyAmplitude * std::sin(2 * PI * seconds / 86400.0) +
           rippleAmplitude * std::sin(2 * PI * seconds / 1800.0);
}

unsigned clampRaw(long long raw, int model) {
    const long long top = is16BitModel(model) ? 65535 : 255;
    return static_cast<unsigned>(std::clamp<long long>(raw, 0, top));
}

void setAlarmValue(LoggerConfig& c, bool high, float value) {
    const int raw = valueToRaw(c, value);
    if (high)
        c.setHighAlarmRaw(clampRaw(raw, c.modelType()));
    else
        c.setLowAlarmRaw(clampRaw(raw, c.modelType()));
}

} // namespace

unsigned simulatedRaw(const ConfigBlock& block, std::uint32_t index, int channel) {
    LoggerConfig c;
    c.setBlock(block);
    const int model = c.modelType();
    const ModelInfo* info = findModel(model);
    if (!info)
        return 0;
    const double interval = c.sampleInterval() > 0 ? c.sampleInterval() : 1;
    const double s = index * interval;
    const double n = noise(index, channel);
    if (channel == 1) {  // humidity in half-percent units
        const double rh = 55.0 - wave(s, 15.0, 3.0) + 0.5 * n;
        return static_cast<unsigned>(std::clamp(percentToHalfUnits(rh), 0, 200));
    }
    switch (info->quantity) {
    case Quantity::Voltage:
    case Quantity::Current: {
        // A fraction of the full-scale input, mid-range with a slow swing.
        const double fraction = 0.45 + 0.3 * std::sin(2 * PI * s / 86400.0) +
                                0.05 * std::sin(2 * PI * s / 900.0) + 0.002 * n;
        return clampRaw(std::llround(std::clamp(fraction, 0.0, 1.0) * 65472.0), model);
    }
    case Quantity::CarbonMonoxide: {
        const double ppm = std::max(0.0, 4.0 + 12.0 * std::sin(2 * PI * s / 43200.0) + n);
        return clampRaw(valueToRaw(c, static_cast<float>(ppm)), model);
    }
    case Quantity::Thermocouple: {
        double celsius = 180.0 + wave(s, 60.0, 8.0) + 0.4 * n;
        const bool fahrenheit = c.optionFlags() & TC_FAHRENHEIT;
        return clampRaw(valueToRaw(c, static_cast<float>(fahrenheit ? celsius * 1.8 + 32 : celsius)), model);
    }
    case Quantity::Events:
        return 0;
    case Quantity::Temperature:
    case Quantity::TemperatureHumidity:
        break;
    }
    const double celsius = 19.0 + wave(s, 4.0, 0.8) + 0.15 * n;
    // Unit byte 1 (or bit 0 on the 0.1 °F models) means the logger keeps °F.
    bool fahrenheit = c.optionFlags() == 1;
    if (modelHas(model, GROUP_TEMPERATURE_0_1F))
        fahrenheit = c.optionFlags() & TC_FAHRENHEIT;
    const double value = fahrenheit ? celsius * 1.8 + 32.0 : celsius;
    return clampRaw(valueToRaw(c, static_cast<float>(value)), model);
}

std::optional<LoggerImage> makeFactoryImage(const FactoryOptions& options, std::string& error) {
    const ModelInfo* info = findModel(options.modelType);
    if (!info) {
        error = "model " + std::to_string(options.modelType) + " is not one of 1..18";
        return std::nullopt;
    }
    const int model = info->type;
    LoggerConfig c;
    c.setModelType(model);
    c.setLoggerName(options.name.empty() ? std::string(info->name) : options.name);
    const CalendarTime& now = options.now;
    c.setStartTime(now.fullYear(), now.month + 1, now.day, now.hour, now.minute, now.second);
    c.setSampleInterval(static_cast<std::uint16_t>(info->factoryInterval));
    const std::uint32_t serial = options.serialNumber != 0
                                     ? options.serialNumber
                                     : 10000000u + static_cast<std::uint32_t>(model) * 1000u + 17u;
    c.setU32At(field::SERIAL_NUMBER, serial);
    const char firmware[4] = {'2', '.', '0', static_cast<char>('0' + model % 10)};
    for (std::size_t i = 0; i < 4; ++i)
        c.setByteAt(field::FIRMWARE_VERSION + i, static_cast<std::uint8_t>(firmware[i]));
    c.setU16At(field::BATTERY_LEVEL, 612);
    c.setU16At(field::LOW_BATTERY_LEVEL, 570);

    // Calibration: raw × M + C in the unit the logger keeps.
    c.setCalGradient(info->calGradient);
    c.setCalOffset(info->calOffset);
    if (isThermocoupleModel(model)) {
        c.setF32At(field::TC_GRADIENT, 1.0f);
        c.setF32At(field::TC_OFFSET, 0.0f);
    }

    if (isVoltageCurrentModel(model)) {
        const bool voltage = info->quantity == Quantity::Voltage;
        const float fullScale = voltage ? 10.0f : 20.0f;
        c.setF32At(field::CAP_SCALAR, fullScale / 65472.0f);
        const std::string unit = voltage ? "V" : "mA";
        const std::string top = voltage ? "10" : "20";
        c.setTextAt(field::INPUT_RANGE_TEXT, field::INPUT_RANGE_TEXT_WIDTH, "0-" + top);
        c.setTextAt(field::INPUT_UNIT, field::INPUT_UNIT_WIDTH, unit);
        c.setTextAt(field::DEFAULT_SCALE_UNIT, field::SCALE_UNIT_WIDTH, unit);
        c.setTextAt(field::DEFAULT_INPUT1_TEXT, field::SCALE_TEXT_WIDTH, "0");
        c.setTextAt(field::DEFAULT_OUTPUT1_TEXT, field::SCALE_TEXT_WIDTH, "0");
        c.setTextAt(field::DEFAULT_INPUT2_TEXT, field::SCALE_TEXT_WIDTH, top);
        c.setTextAt(field::DEFAULT_OUTPUT2_TEXT, field::SCALE_TEXT_WIDTH, top);
        const std::string high = voltage ? "8.0" : "16.0";
        const std::string low = voltage ? "1.0" : "4.0";
        c.setTextAt(field::DEFAULT_HIGH_ALARM_TEXT, field::SCALE_TEXT_WIDTH, high);
        c.setTextAt(field::DEFAULT_LOW_ALARM_TEXT, field::SCALE_TEXT_WIDTH, low);
        c.setOptionFlags(0);
        c.resetScaling();  // the factory texts become the working texts
        c.setHighAlarmText(high);
        c.setLowAlarmText(low);
        setAlarmValue(c, true, voltage ? 8.0f : 16.0f);
        setAlarmValue(c, false, voltage ? 1.0f : 4.0f);
        c.setHighAlarmEnabled(true);
        c.setLowAlarmEnabled(true);
    } else if (isCOModel(model)) {
        setAlarmValue(c, true, 200.0f);
        setAlarmValue(c, false, 35.0f);  // the warning level
        c.setLowAlarmEnabled(true);
        c.setSounderEnabled(true);
        const int year = now.year > 99 ? now.year : 110;
        c.setByteAt(field::SENSOR_LIFE_DAY, static_cast<std::uint8_t>(now.day));
        c.setByteAt(field::SENSOR_LIFE_MONTH, static_cast<std::uint8_t>(now.month + 1));
        c.setByteAt(field::SENSOR_LIFE_YEAR, static_cast<std::uint8_t>(year));
        c.setByteAt(field::SENSOR_LIFE_MONTHS, 36);
        c.setByteAt(field::CAL_DATE_DAY, static_cast<std::uint8_t>(now.day));
        c.setByteAt(field::CAL_DATE_MONTH, static_cast<std::uint8_t>(now.month + 1));
        c.setByteAt(field::CAL_DATE_YEAR, static_cast<std::uint8_t>(year));
        c.setByteAt(field::CAL_PERIOD_MONTHS, 12);
    } else if (isEventLogger(model)) {
        c.setEventVoltageRange(1);
        c.setRisingEdge(true);
        c.setEventSampleMode(EVENT_MODE_EDGE);
        c.setCountPeriod(3600);
    } else if (isThermocoupleModel(model)) {
        c.setOptionFlags(TC_TYPE_K);
        // The unit text the alarm page shows beside its boxes (Windows-1252).
        c.setTextAt(field::SCALE_UNIT, field::SCALE_UNIT_WIDTH, "\xB0" "C");
        setAlarmValue(c, true, 250.0f);
        setAlarmValue(c, false, 100.0f);
        c.setHighAlarmEnabled(true);
        c.setLowAlarmEnabled(true);
    } else {
        c.setOptionFlags(0);
        const bool rechargeable = modelHas(model, GROUP_RECHARGEABLE);
        setAlarmValue(c, true, 30.0f);
        setAlarmValue(c, false, rechargeable ? 2.0f : 5.0f);
        c.setHighAlarmEnabled(true);
        c.setLowAlarmEnabled(true);
    }
    if (isHumidityModel(model)) {
        c.setRhHighAlarm(static_cast<std::uint8_t>(percentToHalfUnits(80.0)));
        c.setRhLowAlarm(static_cast<std::uint8_t>(percentToHalfUnits(20.0)));
        c.setRhHighAlarmEnabled(true);
        c.setRhLowAlarmEnabled(true);
    }
    if (isWrapModel(model) || isEventLogger(model))
        c.setU16At(field::MEMORY_CAPACITY, static_cast<std::uint16_t>(info->factoryCapacity));
    if (options.logging)
        c.setStatusFlags(STATUS_LOGGING);

    LoggerImage image;
    image.block = c.block();
    image.memory.assign(static_cast<std::size_t>(info->factoryCapacity) * info->sampleWidth * info->channels, 0);
    return image;
}

} // namespace vessor::sim
