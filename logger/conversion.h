// Raw counts <-> engineering values, rounding to the display step, value
// texts, custom scaling of the voltage/current models, dew point.
// Values are 32-bit floats; arithmetic runs in double. Every text here is
// locale-independent ('.' decimal point, whatever the C locale says) and
// equals what C printf gives in the "C" locale.
#pragma once

#include "logger_config.h"

#include <string>
#include <string_view>

namespace vessor {

// Engineering value of one raw count.
float rawToValue(const LoggerConfig& config, unsigned raw);
// Raw count of an engineering value (alarm entry).
int valueToRaw(const LoggerConfig& config, float value);
// The same with the conversion's error code: 0, or 1, 14, 15 on the
// voltage/current models with the value clamped.
struct RawValue {
    int raw;
    int error;
};
RawValue checkedValueToRaw(const LoggerConfig& config, float value);

// The model's display step (0.1 on most models).
double displayStepOf(const LoggerConfig& config);
// Rounds half away from zero to the display step; model 9 shows below 3 as 0.
float roundToStep(const LoggerConfig& config, float value);

// One reading as written to download files and shown to the user:
// formatFixed(readingValue, readingDecimals).
std::string formatReading(const LoggerConfig& config, unsigned raw);
// The value a reading shows (rounded to the display step where the model
// rounds) and the digits after the point it is shown with.
double readingValue(const LoggerConfig& config, unsigned raw);
int readingDecimals(const LoggerConfig& config);
// Alarm levels as the status page shows them (without unit).
std::string formatHighAlarm(const LoggerConfig& config);
std::string formatLowAlarm(const LoggerConfig& config);

int alarmDecimals(const LoggerConfig& config);
bool isAscending(const LoggerConfig& config);

// The scaling line, display step and direction from the scaling texts
// (custom scaling) or the default texts.
ScalingResult deriveScaling(const LoggerConfig& config);
// deriveScaling, kept in the config (LoggerConfig::setDerivedScaling);
// returns the error code.
int applyScaling(LoggerConfig& config);
// The calibrated full-scale input (M × 65472 + C) × capScalar.
double fullScaleInput(const LoggerConfig& config);
// The output range a voltage/current logger can show, rounded inward.
void scalingRange(const LoggerConfig& config, float& high, float& low);

// Unit of the main channel, UTF-8: "°C"/"°F" on 14 and 18 by optionFlags,
// the custom unit text (scaleUnit) on every other model.
std::string unitText(const LoggerConfig& config);

// Dew point in the logger's temperature unit; humidity in %rh (> 0).
float dewPoint(const LoggerConfig& config, float temperature, float humidity);

float halfUnitsToPercent(unsigned halfUnits);
int percentToHalfUnits(double percent);

// The display step table of deriveScaling.
struct DisplayStepRow {
    double step;
    int decimals;
};
constexpr int DISPLAY_STEP_ROWS = 28;
const DisplayStepRow* displayStepTable();

// --- Locale-independent number texts ---
// printf("%.*f", decimals, value) in the "C" locale.
std::string formatFixed(double value, int decimals);
// The leading decimal number of a text as atof reads it in the "C" locale
// (leading blanks, sign, digits, '.', exponent); 0 when there is none.
double parseLeadingNumber(std::string_view text);
// A whole text as a decimal number; false when it is not one (blanks around
// it are allowed).
bool parseNumber(std::string_view text, double& value);

} // namespace vessor
