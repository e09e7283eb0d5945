#include "logger/setup/name_pages_logic.h"

#include <algorithm>
#include <cstdio>

#include "logger/conversion.h"
#include "logger/logger_config.h"
#include "logger/strings.h"
#include "logger/text_encoding.h"
#include "logger/user_interface.h"

namespace vessor {

namespace {

// The bracketed figure is how long the memory lasts at that rate.
constexpr RateEntry RATES_WIDE_MEMORY[] = {
    {"1 Sec (9 Hrs)", 1},        {"10 Sec (3.5 Days)", 10},   {"1 Min (22 Days)", 60},
    {"5 Min (3.5 Mths)", 300},   {"30 Min (1.8 Yrs)", 1800},  {"1 Hour (>2 Yrs)", 3600},
    {"6 Hours (>2 Yrs)", 21600}, {"12 Hours (>2 Yrs)", 43200},
};
constexpr RateEntry RATES_NAME_PAGE[] = {
    {"10 Sec (45 Hrs)", 10},     {"1 Min (11 Days)", 60},      {"5 Min (56 Days)", 300},
    {"30 Min (11 Mths)", 1800},  {"1 Hour (1.8 Yrs)", 3600},   {"6 Hours (>2 Yrs)", 21600},
    {"12 Hours (>2 Yrs)", 43200},
};
constexpr RateEntry RATES_CO[] = {
    {"10 Sec (3 Days)", 10}, {"30 Sec (11 Days)", 30}, {"1 Min (22 Days)", 60}, {"5 Min (3 Mths)", 300},
};
constexpr RateEntry RATES_THERMOCOUPLE[] = {
    {"1 Sec (9 Hrs)", 1},         {"10 Sec (3.5 Days)", 10},   {"30 Sec (11 Days)", 30},
    {"1 Min (22 Days)", 60},      {"5 Min (3.5 Mths)", 300},   {"30 Min (1.8 Yrs)", 1800},
    {"1 Hour (>2 Yrs)", 3600},    {"6 Hours (>2 Yrs)", 21600}, {"12 Hours (>2 Yrs)", 43200},
};
constexpr RateEntry RATES_VOLTAGE[] = {
    {"1 Sec (9 Hrs)", 1},        {"10 Sec (3.7 Days)", 10},   {"1 Min (22 Days)", 60},
    {"5 Min (3 Mths)", 300},     {"30 Min (1.8 Yrs)", 1800},  {"1 Hour (>2 Yrs)", 3600},
    {"6 Hours (>2 Yrs)", 21600}, {"12 Hours (>2 Yrs)", 43200},
};

// Stored when no entry is selected.
constexpr std::uint16_t DEFAULT_RATE = 10;

constexpr double FAHRENHEIT_TO_CELSIUS = 0.5555555555555556;

// The raw alarm slot's range: a level converted into the other unit may lie
// outside it (215 °F is 283 counts at 0.5 °C per count), and a byte slot
// must not wrap round to a low level.
} // namespace

std::string nameReadBackMessage(std::string_view typedUtf8, int limit)
{
    // Characters, not bytes: count the UTF-8 lead bytes.
    const auto characters = std::count_if(typedUtf8.begin(), typedUtf8.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    });
    if (limit <= 0 || characters <= limit)
        return {};
    return "Please enter no more than " + std::to_string(limit) + " characters.";
}

NameCheck readBackName(std::string_view typedUtf8, int readBackLimit, UserInterface& ui)
{
    // The box itself refuses an over-long name first; the naming rule then
    // still has its say.
    const std::string tooLong = nameReadBackMessage(typedUtf8, readBackLimit);
    if (!tooLong.empty())
        ui.showMessage(tooLong);
    return checkLoggerName(typedUtf8);
}

RateList rateListFor(WizardStep step, int model)
{
    switch (step) {
    case WizardStep::Name:
        // The loggers with the large memory; their list has no fallback.
        if (setupModel(model).has(GROUP_WIDE_MEMORY))
            return {RATES_WIDE_MEMORY, -1};
        return {RATES_NAME_PAGE, 0};
    case WizardStep::CoName:
        return {RATES_CO, 0};
    case WizardStep::ThermocoupleName:
        return {RATES_THERMOCOUPLE, 1};
    case WizardStep::VoltageName:
        return {RATES_VOLTAGE, 1};
    default:
        return {};
    }
}

int rateIndexFor(const RateList& list, std::uint16_t interval)
{
    for (std::size_t i = 0; i < list.entries.size(); ++i)
        if (list.entries[i].seconds == interval)
            return static_cast<int>(i);
    return list.fallbackIndex;
}

std::uint16_t rateToStore(const RateList& list, int selected)
{
    if (selected < 0 || static_cast<std::size_t>(selected) >= list.entries.size())
        return DEFAULT_RATE;
    return list.entries[static_cast<std::size_t>(selected)].seconds;
}

bool isFahrenheitByte(const LoggerConfig& config)
{
    return config.optionFlags() != 0;
}

void applyNamePageUnit(LoggerConfig& config, bool fahrenheit, bool shownFahrenheit)
{
    if (fahrenheit == shownFahrenheit)
        return;
    double high = config.highAlarmValue();
    double low = config.lowAlarmValue();
    if (fahrenheit) {
        high = high * 1.8 + 32.0;
        low = low * 1.8 + 32.0;
    } else {
        high = (high - 32.0) * FAHRENHEIT_TO_CELSIUS;
        low = (low - 32.0) * FAHRENHEIT_TO_CELSIUS;
    }
    // The calibration of the unit chosen; a logger counting in tenths of a
    // °F whatever it shows (ZR-T-RC) keeps its calibration.
    const ModelInfo& model = setupModel(config.modelType());
    if (model.calGradientF != 0) {
        config.setCalOffset(model.calOffset);
        config.setCalGradient(fahrenheit ? model.calGradientF : model.calGradient);
    }
    config.setOptionFlags(fahrenheit ? 1 : 0);
    config.setHighAlarmValue(static_cast<float>(high));
    config.setLowAlarmValue(static_cast<float>(low));
}

void storeLiteNamePage(LoggerConfig& config, bool fahrenheit)
{
    config.setOptionFlags(fahrenheit ? 1 : 0);
    config.setSampleInterval(LITE_SAMPLE_INTERVAL);
}

bool isFahrenheitBit(const LoggerConfig& config)
{
    return (config.optionFlags() & TC_FAHRENHEIT) != 0;
}

void applyThermocoupleUnit(LoggerConfig& config, bool fahrenheit, bool shownFahrenheit)
{
    if (fahrenheit == shownFahrenheit)
        return;
    config.setOptionFlags(static_cast<std::uint8_t>((config.optionFlags() & 0xF0) | (fahrenheit ? 1 : 0)));
    config.setScaleUnit(fahrenheit ? "\xB0" "F" : "\xB0" "C");
}

int thermocoupleTypeIndex(std::uint8_t optionFlags)
{
    switch (optionFlags & TC_TYPE_MASK) {
    case TC_TYPE_J:
        return TC_J;
    case TC_TYPE_T:
        return TC_T;
    default:
        return TC_K;
    }
}

std::uint8_t withThermocoupleType(std::uint8_t optionFlags, int selected)
{
    std::uint8_t type = TC_TYPE_K;
    if (selected == TC_J)
        type = TC_TYPE_J;
    else if (selected == TC_T)
        type = TC_TYPE_T;
    return static_cast<std::uint8_t>(((optionFlags & 0x0F) | type) & 0xF9);
}

bool isCustomScaling(const LoggerConfig& config)
{
    return config.optionFlags() != 0;
}

void applyScalingChoice(LoggerConfig& config, bool custom)
{
    if (custom) {
        config.setOptionFlags(1);
    } else {
        config.setOptionFlags(0);
        config.setScaleUnit(config.defaultScaleUnit());
    }
    applyScaling(config);
}

std::string scalingSetToText(const LoggerConfig& config)
{
    std::string text = messageText(MSG_VOLTAGE_LOGGER_SET_TO);
    const ModelInfo* model = config.model();
    if (model && model->quantity == Quantity::Current)
        text = replaceFirst(text, "Voltage", "Current");
    return text;
}

std::string scalingRangeText(const LoggerConfig& config)
{
    return "(" + cp1252ToUtf8(config.inputRangeText()) + " " + cp1252ToUtf8(config.defaultScaleUnit()) + ")";
}

} // namespace vessor
