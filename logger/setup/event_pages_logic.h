// The decisions of the event logger's set-up pages: name and mode of
// operation (page 21), trigger edge, input kind and LED (22), voltage range
// (23) and counting period (24). Everything they choose lives in
// optionFlags, modeFlags bit 0 and countPeriod.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vessor {

class LoggerConfig;

// --- Page 21: name and mode of operation ---

// The three choices of the page.
enum EventModeChoice : int {
    EVENT_CHOICE_EDGES = 0,
    EVENT_CHOICE_STATES = 1,
    EVENT_CHOICE_COUNT = 2,
};

// The choice shown for an eventMode: 1 states, 2 and 3 counting, else edges.
int eventModeChoice(int eventMode);
// The mode Next stores: counting keeps a counting mode shown at the last
// refresh (`shownMode`) and otherwise starts counting per period with one
// hour (countPeriod is set then); the other choices are their own mode.
void storeEventModeChoice(LoggerConfig& config, int choice, int shownMode);

// --- Page 22: trigger ---

inline constexpr const char* EVENT_RATE_LIMIT_NOTE = "(Limits event count to 20 times per second)";

struct TriggerPageState {
    bool risingEdge = false;
    bool voltFree = false;
    bool edgeChoiceEnabled = true;  // state changes record both edges
    bool ledOff = false;
    std::string note;               // EVENT_RATE_LIMIT_NOTE when counting per period
};
TriggerPageState triggerPageState(const LoggerConfig& config);
// Stores the page; volt-free contacts reset the voltage range to 0 - 3V.
void storeTriggerPage(LoggerConfig& config, bool risingEdge, bool voltFree, bool ledOff);

// --- Page 23: voltage range ---

struct EventVoltageRange {
    const char* range;
    const char* lowTrigger;
    const char* highTrigger;
};
inline constexpr EventVoltageRange EVENT_VOLTAGE_RANGES[4] = {
    {"0 - 3V", "0.8V", "2.0V"},
    {"0 - 5V", "1.3V", "3.4V"},
    {"0 - 12V", "3.2V", "8.0V"},
    {"0 - 24V", "6.4V", "16.0V"},
};

// The range shown (a value above 3 as 3).
int voltageRangeChoice(const LoggerConfig& config);
void storeVoltageRange(LoggerConfig& config, int choice);

// --- Page 24: counting period ---

inline constexpr const char* HOURS_OUT_OF_RANGE = "Hours is out of range.";
inline constexpr const char* MINUTES_OUT_OF_RANGE = "Minutes is out of range.";
inline constexpr const char* PERIOD_TOO_SHORT = "The time period must be at least one second.";
inline constexpr int PERIOD_HOURS_MAX = 99;
inline constexpr int PERIOD_MINUTES_MAX = 59;
inline constexpr int PERIOD_SECONDS_MAX = 59;   // of the spin control only
// Characters each field takes: enough for any hours or minutes typed by
// mistake, while the sum stays far inside countPeriod's 32 bits.
inline constexpr int PERIOD_FIELD_LIMIT = 9;

struct PeriodFields {
    std::string hours;
    std::string minutes;
    std::string seconds;
};
// The fields for a period in seconds: hours, minutes and seconds as plain
// numbers.
PeriodFields periodFields(std::uint32_t seconds);

// The box "Enable counts per time period" is ticked in every mode but 2.
bool isCountPerPeriod(const LoggerConfig& config);
// Ticking the box: in mode 2 the period starts at one hour. Returns the
// period the fields show.
std::uint32_t periodOnTicking(LoggerConfig& config);

// A field read as a whole number: its leading digits, 0 when there are
// none; more digits than fit read as the largest value.
std::uint32_t wholeNumber(std::string_view text);

// One step of a spin control over 0..max that wraps around at its ends,
// starting from the number in the field (clamped into the range).
int spinStep(std::string_view field, int step, int max);

enum class PeriodField { None, Hours, Minutes, Seconds };
struct PeriodVerdict {
    std::string message;                      // empty: stored
    PeriodField focus = PeriodField::None;
};
// Next: stores the mode (3 ticked, 2 not) before the checks, then checks
// hours (0..99) and minutes (0..59) and stores the period; seconds above 59
// add to it. A ticked box with a zero period is refused (the logger would
// never close a period).
PeriodVerdict storeCountPeriod(LoggerConfig& config, bool ticked, const PeriodFields& fields);

} // namespace vessor
