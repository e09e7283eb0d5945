// The decisions of the naming pages (name, temperature unit, sample rate,
// thermocouple type, standard or custom scaling), as plain functions over
// LoggerConfig so that tests need no widgets.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "logger/logger_name.h"
#include "logger/models.h"

namespace vessor {

class LoggerConfig;
class UserInterface;

// --- The naming rule (every naming page, the event name page too) ---

// Limits of the name box (characters it accepts; 0: no limit).
inline constexpr int NAME_BOX_LIMIT_SHORT = 15;   // voltage and event name pages
inline constexpr int NAME_BOX_LIMIT_LONG = 255;   // low-cost name page
// The name and thermocouple pages refuse longer names when reading the box.
inline constexpr int NAME_READ_BACK_LIMIT = 255;

// "Please enter no more than 255 characters." for names read back from a box
// whose limit is `limit`; empty when the name fits.
std::string nameReadBackMessage(std::string_view typedUtf8, int limit);

// Next on a naming page: the box's read-back message first (shown through
// `ui` when the name exceeds `readBackLimit`; 0: the box has none), then
// the naming rule, whose refusal the caller shows.
NameCheck readBackName(std::string_view typedUtf8, int readBackLimit, UserInterface& ui);

// --- Sample rate lists ---

struct RateEntry {
    const char* text;
    std::uint16_t seconds;
};

struct RateList {
    std::span<const RateEntry> entries;
    // Selected when sampleInterval matches no entry; -1: nothing selected.
    int fallbackIndex = -1;
};

// The list of naming step `step` (Name, VoltageName, CoName,
// ThermocoupleName) for `model`; empty for steps without a list (the
// low-cost name page stores a fixed rate).
RateList rateListFor(WizardStep step, int model);
// The entry shown for `interval`: the matching entry, else the fallback.
int rateIndexFor(const RateList& list, std::uint16_t interval);
// The interval Next stores for `selected` (-1 or out of range: 10 s).
std::uint16_t rateToStore(const RateList& list, int selected);

inline constexpr std::uint16_t LITE_SAMPLE_INTERVAL = 1800;

// The low-cost name page's Next after the naming rule: the unit byte, and
// the fixed rate (this logger's raw levels do not depend on the unit, so
// nothing is converted).
void storeLiteNamePage(LoggerConfig& config, bool fahrenheit);

// --- Temperature unit (name page 1, low-cost page 11, thermocouple page 16) ---

// The unit radio of pages 1 and 11: °F when optionFlags is not 0.
bool isFahrenheitByte(const LoggerConfig& config);
// Page 1, after the naming rule: when `fahrenheit` differs from the unit
// shown at the last refresh, converts both alarm levels into the new unit
// and rewrites the calibration and optionFlags for it. An unchanged unit
// touches nothing.
void applyNamePageUnit(LoggerConfig& config, bool fahrenheit, bool shownFahrenheit);

// Page 16: the unit is optionFlags bit 0.
bool isFahrenheitBit(const LoggerConfig& config);
// Page 16: a changed unit rewrites the unit bit (clearing bits 1..3) and
// the unit text; the alarm levels keep their raw values.
void applyThermocoupleUnit(LoggerConfig& config, bool fahrenheit, bool shownFahrenheit);

// --- Thermocouple type (page 16) ---

enum ThermocoupleType : int { TC_J = 0, TC_K = 1, TC_T = 2 };
inline constexpr const char* THERMOCOUPLE_TYPE_TEXTS[] = {"J-Type", "K-Type", "T-Type"};

// The list entry for optionFlags bits 4..6: 0x10 J, 0x40 T, anything else K.
int thermocoupleTypeIndex(std::uint8_t optionFlags);
// optionFlags with the type of list entry `selected` (-1: K) stored and
// bits 1 and 2 cleared.
std::uint8_t withThermocoupleType(std::uint8_t optionFlags, int selected);

// --- Standard or custom scaling (voltage/current page 8) ---

bool isCustomScaling(const LoggerConfig& config);
// Stores the choice and derives the scaling; standard scaling restores the
// factory unit (the custom texts stay for a later custom choice).
void applyScalingChoice(LoggerConfig& config, bool custom);
// "The USB Voltage Data Logger is set to:-" ("Current" on current loggers)
// and "(<input range> <default unit>)", UTF-8.
std::string scalingSetToText(const LoggerConfig& config);
std::string scalingRangeText(const LoggerConfig& config);

} // namespace vessor
