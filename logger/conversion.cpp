#include "conversion.h"

#include "text_encoding.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <climits>
#include <cmath>
#include <utility>

namespace vessor {
namespace {

constexpr double FIVE_NINTHS = 0.5555555555555556;
constexpr double RAW_TOP = 65472.0;

constexpr DisplayStepRow STEP_TABLE[DISPLAY_STEP_ROWS] = {
    {0.001, 3}, {0.002, 3}, {0.0025, 4}, {0.005, 3}, {0.01, 2},  {0.02, 2},  {0.025, 3},
    {0.05, 2},  {0.1, 1},   {0.2, 1},    {0.25, 2},  {0.5, 1},   {1, 0},     {2, 0},
    {2.5, 1},   {5, 0},     {10, 0},     {20, 0},    {25, 0},    {50, 0},    {100, 0},
    {200, 0},   {250, 0},   {500, 0},    {1000, 0},  {2000, 0},  {2500, 0},  {5000, 0},
};

// C's conversion to int truncates toward zero; values a corrupt block can
// produce (infinite, NaN, huge) must not make it undefined.
int truncateToInt(double value) {
    if (std::isnan(value))
        return 0;
    if (value >= static_cast<double>(INT_MAX))
        return INT_MAX;
    if (value <= static_cast<double>(INT_MIN))
        return INT_MIN;
    return static_cast<int>(value);
}

double roundHalfAway(double value) {
    // + 0.0: a whole number, so -0.4 rounds to 0 and never prints as "-0".
    return std::trunc(value >= 0 ? value + 0.5 : value - 0.5) + 0.0;
}

// Whole display steps, cut inward: down to the step below or up to the one
// above. The bounds come out of float gradients and offsets, so a bound
// within float noise of a whole step lies on it (10 V full scale is
// 9.99999999 V in double) and must not lose that step.
double cutToStep(double steps, bool up) {
    const double nearest = std::round(steps);
    if (std::abs(steps - nearest) <= 1e-6 * std::max(1.0, std::abs(steps)))
        return nearest + 0.0;
    return up ? std::ceil(steps) : std::floor(steps);
}

bool fahrenheitBit(const LoggerConfig& c) { return c.optionFlags() & TC_FAHRENHEIT; }

} // namespace

float rawToValue(const LoggerConfig& config, unsigned raw) {
    const int model = config.modelType();
    double v;
    if (modelHas(model, GROUP_TEMPERATURE_0_1F)) {
        v = raw * 0.1 - 328.0;
        if (!fahrenheitBit(config))
            v = (v - 32.0) * FIVE_NINTHS;
        return static_cast<float>(v);
    }
    v = raw * static_cast<double>(config.calGradient()) + static_cast<double>(config.calOffset());
    if (isVoltageCurrentModel(model)) {
        if (v < 0)
            v = 0;
        return static_cast<float>(v * static_cast<double>(config.capScalar()) *
                                      static_cast<double>(config.scaleGradient) +
                                  static_cast<double>(config.scaleOffset));
    }
    if (modelHas(model, GROUP_SENSOR_CURVE)) {
        v = (v - 1.8639) * -84.96176720475786;
        if (config.optionFlags() == 1)
            v = v * 1.8 + 32.0;
        return static_cast<float>(v);
    }
    if (isCOModel(model) && v < 0)
        return 0.0f;
    return static_cast<float>(v);
}

int valueToRaw(const LoggerConfig& config, float value) { return checkedValueToRaw(config, value).raw; }

RawValue checkedValueToRaw(const LoggerConfig& config, float valueF) {
    const int model = config.modelType();
    const double value = valueF;
    const double m = config.calGradient();
    const double c = config.calOffset();
    if (isVoltageCurrentModel(model)) {
        const double x = (value - static_cast<double>(config.scaleOffset)) /
                         static_cast<double>(config.scaleGradient) /
                         static_cast<double>(config.capScalar());
        if (x < 0 || std::isnan(x))
            return {0, SCALING_INPUT_BELOW_ZERO};
        const double r = (x - c) / m;
        if (r > RAW_TOP)
            return {static_cast<int>(RAW_TOP), SCALING_ABOVE_RANGE};
        if (r < 0 || std::isnan(r))
            return {0, SCALING_RAW_BELOW_ZERO};
        return {truncateToInt(r + 0.5), SCALING_OK};
    }
    if (modelHas(model, GROUP_SENSOR_CURVE)) {
        double v = value;
        if (config.optionFlags() == 1)
            v = (v - 32.0) * FIVE_NINTHS;
        return {truncateToInt((v * -0.01177 + 1.8639 - c) / m + 0.5), SCALING_OK};
    }
    if (modelHas(model, GROUP_TEMPERATURE_0_1F)) {
        const double v = fahrenheitBit(config) ? value : value * 1.8 + 32.0;
        return {truncateToInt((v + 328.0) * 10.0 + 0.5), SCALING_OK};
    }
    return {truncateToInt((value - c) / m + 0.5), SCALING_OK};
}

double displayStepOf(const LoggerConfig& config) {
    const int model = config.modelType();
    if (isVoltageCurrentModel(model))
        return config.displayStep;
    if (modelHas(model, GROUP_SENSOR_CURVE))
        return config.optionFlags() == 1 ? 2.0 : 1.0;
    if (isCOModel(model))
        return 0.5;
    if (isThermocoupleModel(model))
        return fahrenheitBit(config) ? 1.0 : 0.5;
    return 0.1;
}

float roundToStep(const LoggerConfig& config, float value) {
    const double step = displayStepOf(config);
    if (!(step > 0) || !std::isfinite(value))
        return value;
    const double n = roundHalfAway(static_cast<double>(value) / step);
    auto result = static_cast<float>(step * n);
    // Readings below the noise floor are sensor noise (ZR-CO).
    const ModelInfo* model = config.model();
    if (model && model->co.noiseFloor > 0 && result < model->co.noiseFloor)
        result = 0.0f;
    return result;
}

std::string formatFixed(double value, int decimals) {
    if (decimals < 0)
        decimals = 0;
    if (decimals > 30)
        decimals = 30;
    char text[400];
    const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
    if (result.ec != std::errc())
        return "0";
    return std::string(text, result.ptr);
}

double readingValue(const LoggerConfig& config, unsigned raw) {
    const int model = config.modelType();
    const float v = rawToValue(config, raw);
    if (isVoltageCurrentModel(model) || modelHas(model, GROUP_SENSOR_CURVE) || isCOModel(model) ||
        isThermocoupleModel(model))
        return roundToStep(config, v);
    return v;
}

int readingDecimals(const LoggerConfig& config) {
    const int model = config.modelType();
    if (isVoltageCurrentModel(model))
        return config.decimalPlaces;
    if (modelHas(model, GROUP_SENSOR_CURVE) || isEventLogger(model))
        return 0;
    if (isThermocoupleModel(model))
        return fahrenheitBit(config) ? 0 : 1;
    return 1;
}

std::string formatReading(const LoggerConfig& config, unsigned raw) {
    return formatFixed(readingValue(config, raw), readingDecimals(config));
}

namespace {

std::string formatAlarm(const LoggerConfig& config, float value, const std::string& text) {
    const int model = config.modelType();
    if (modelHas(model, GROUP_TEXT_ALARMS))
        return text;
    if (isVoltageCurrentModel(model))
        return formatFixed(value, config.decimalPlaces);
    if (modelHas(model, GROUP_SENSOR_CURVE))
        return formatFixed(roundToStep(config, value), 0);
    if (isCOModel(model) || isThermocoupleModel(model))
        return formatFixed(roundToStep(config, value), 1);
    return formatFixed(value, 1);
}

} // namespace

std::string formatHighAlarm(const LoggerConfig& config) {
    return formatAlarm(config, config.highAlarmValue(), config.highAlarmText());
}

std::string formatLowAlarm(const LoggerConfig& config) {
    return formatAlarm(config, config.lowAlarmValue(), config.lowAlarmText());
}

int alarmDecimals(const LoggerConfig& config) {
    const int model = config.modelType();
    if (isVoltageCurrentModel(model))
        return config.decimalPlaces;
    if (isThermocoupleModel(model))
        return fahrenheitBit(config) ? 0 : 1;
    return 1;
}

bool isAscending(const LoggerConfig& config) {
    return isVoltageCurrentModel(config.modelType()) ? config.scaleAscending : true;
}

const DisplayStepRow* displayStepTable() { return STEP_TABLE; }

double fullScaleInput(const LoggerConfig& config) {
    return (static_cast<double>(config.calGradient()) * RAW_TOP +
            static_cast<double>(config.calOffset())) *
           static_cast<double>(config.capScalar());
}

ScalingResult deriveScaling(const LoggerConfig& config) {
    ScalingResult r;
    const bool custom = config.optionFlags() != 0;
    float in1, out1, in2, out2;
    if (custom) {
        if (config.scaleOutput1Text().empty()) {
            r.error = SCALING_OUTPUT1_EMPTY;
            return r;
        }
        if (config.scaleInput1Text().empty()) {
            r.error = SCALING_INPUT1_EMPTY;
            return r;
        }
        if (config.scaleOutput2Text().empty()) {
            r.error = SCALING_OUTPUT2_EMPTY;
            return r;
        }
        if (config.scaleInput2Text().empty()) {
            r.error = SCALING_INPUT2_EMPTY;
            return r;
        }
        in1 = static_cast<float>(parseLeadingNumber(config.scaleInput1Text()));
        out1 = static_cast<float>(parseLeadingNumber(config.scaleOutput1Text()));
        in2 = static_cast<float>(parseLeadingNumber(config.scaleInput2Text()));
        out2 = static_cast<float>(parseLeadingNumber(config.scaleOutput2Text()));
        if (in1 == in2) {
            r.error = SCALING_EQUAL_INPUTS;
            return r;
        }
        if (out1 == out2) {
            r.error = SCALING_EQUAL_OUTPUTS;
            return r;
        }
    } else {
        in1 = static_cast<float>(parseLeadingNumber(config.defaultInput1Text()));
        out1 = static_cast<float>(parseLeadingNumber(config.defaultOutput1Text()));
        in2 = static_cast<float>(parseLeadingNumber(config.defaultInput2Text()));
        out2 = static_cast<float>(parseLeadingNumber(config.defaultOutput2Text()));
    }
    const double di = static_cast<double>(in1) - in2;
    const double gradient = (static_cast<double>(out1) - out2) / di;
    const double offset = (static_cast<double>(out2) * in1 - static_cast<double>(out1) * in2) / di;
    // Equal factory inputs, or numbers beyond float range, give no usable line.
    if (di == 0 || !std::isfinite(gradient) || !std::isfinite(offset) ||
        !std::isfinite(static_cast<float>(gradient)) || !std::isfinite(static_cast<float>(offset)) ||
        static_cast<float>(gradient) == 0.0f) {
        r.error = SCALING_ARITHMETIC;
        return r;
    }
    r.gradient = static_cast<float>(gradient);
    r.offset = static_cast<float>(offset);

    const double full = fullScaleInput(config);
    if (custom) {
        // The typed inputs are floats: compare with the full scale as a float
        // too, so a nominal top such as 10 V is not refused for lying a few
        // parts in 10^9 above a capScalar product.
        const float fullInput = static_cast<float>(full);
        int code = SCALING_OK;
        if (in1 > fullInput)
            code = SCALING_INPUT1_ABOVE_FULL_SCALE;
        else if (in1 < 0)
            code = SCALING_INPUT1_BELOW_ZERO;
        else if (in2 > fullInput)
            code = SCALING_INPUT2_ABOVE_FULL_SCALE;
        else if (in2 < 0)
            code = SCALING_INPUT2_BELOW_ZERO;
        if (code != SCALING_OK) {
            r.error = code;
            return r;
        }
    }
    double top = full * static_cast<double>(r.gradient) + static_cast<double>(r.offset);
    double bottom = r.offset;
    r.ascending = !(top < bottom);
    if (!r.ascending)
        std::swap(top, bottom);
    const double w = (top - bottom) * 0.0009775171;
    for (const DisplayStepRow& row : STEP_TABLE) {
        r.displayStep = static_cast<float>(row.step);
        r.decimalPlaces = row.decimals;
        if (row.step > w)
            break;
    }
    return r;
}

int applyScaling(LoggerConfig& config) {
    const ScalingResult result = deriveScaling(config);
    config.setDerivedScaling(result);
    return result.error;
}

void scalingRange(const LoggerConfig& config, float& high, float& low) {
    // The full scale as deriveScaling accepts a typed input: a float.
    const double full = static_cast<float>(fullScaleInput(config));
    const double top = full * static_cast<double>(config.scaleGradient) + static_cast<double>(config.scaleOffset);
    const double bottom = config.scaleOffset;
    double hi = config.scaleAscending ? top : bottom;
    double lo = config.scaleAscending ? bottom : top;
    const int dp = config.decimalPlaces;
    const double scale = dp != 0 ? std::pow(10.0, dp) : 1.0;
    hi *= scale;
    lo *= scale;
    if (config.scaleAscending) {
        lo = roundHalfAway(lo);
        hi = cutToStep(hi, false);
    } else {
        hi = roundHalfAway(hi);
        lo = cutToStep(lo, true);
    }
    high = static_cast<float>(hi / scale);
    low = static_cast<float>(lo / scale);
}

std::string unitText(const LoggerConfig& config) {
    const int model = config.modelType();
    if (modelHas(model, GROUP_UNIT_FROM_OPTIONS)) {
        switch (config.optionFlags()) {
        case 0: return "\u00B0C";
        case 1: return "\u00B0F";
        default: return {};
        }
    }
    return cp1252ToUtf8(config.scaleUnit());
}

float dewPoint(const LoggerConfig& config, float temperature, float humidity) {
    const bool fahrenheit = config.optionFlags() == 1;
    double t = temperature;
    if (fahrenheit)
        t = (t - 32.0) * FIVE_NINTHS;
    const double c = std::log10(static_cast<double>(humidity)) - 2.0 + 7.5 * t / (t + 237.3) + 0.66077;
    const double d = (0.66077 - c) * 237.3 / (c - 8.16077);
    return static_cast<float>(fahrenheit ? d * 1.8 + 32.0 : d);
}

float halfUnitsToPercent(unsigned halfUnits) { return static_cast<float>(halfUnits * 0.5); }

int percentToHalfUnits(double percent) {
    const double x = percent * 2.0;
    return truncateToInt(x >= 0 ? x + 0.5 : x - 0.5);
}

double parseLeadingNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n' ||
                               text[i] == '\r' || text[i] == '\f' || text[i] == '\v'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    // Only plain decimal notation: no hex floats, no inf/nan spelled out.
    const std::size_t start = i;
    if (start >= text.size() || !(std::isdigit(static_cast<unsigned char>(text[start])) || text[start] == '.'))
        return 0.0;
    double value = 0.0;
    const auto result = std::from_chars(text.data() + start, text.data() + text.size(), value,
                                        std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range)
        return 0.0;
    if (result.ec != std::errc())
        return 0.0;
    return negative ? -value : value;
}

bool parseNumber(std::string_view text, double& value) {
    auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    if (text.empty())
        return false;
    bool negative = false;
    if (text.front() == '+' || text.front() == '-') {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty() || !(std::isdigit(static_cast<unsigned char>(text.front())) || text.front() == '.'))
        return false;
    double parsed = 0.0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), parsed,
                                        std::chars_format::general);
    if (result.ec != std::errc() || result.ptr != text.data() + text.size())
        return false;
    value = negative ? -parsed : parsed;
    return true;
}


} // namespace vessor
