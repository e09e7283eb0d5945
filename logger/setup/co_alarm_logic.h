// The carbon monoxide warning page (page 15): one warning level in the low
// alarm slot with its LED indicator, hold and sounder; the high alarm is
// always off.
#pragma once

#include <string>

namespace vessor {

class LoggerConfig;
class UserInterface;

// The lowest warning level; the highest is the model's (1000 or 300 ppm).
constexpr int CO_LEVEL_MIN = 3;
// The recommended level, also what an unusable level is replaced by.
constexpr int CO_LEVEL_SAFE = 50;

int coLevelMax(const LoggerConfig& config);

// Message 165 with the model's range.
std::string coRangeMessage(const LoggerConfig& config);

struct CoAlarmState {
    bool ledEnabled = false;
    bool hold = false;
    bool sounder = false;
    double level = 0;
};
CoAlarmState readCoAlarms(const LoggerConfig& config);

enum class CoControl { None, Level, Sounder };

struct CoAlarmOutcome {
    bool stored = false;
    CoControl focus = CoControl::None;
    bool levelAdjusted = false;   // put adjustedLevel into the level box
    int adjustedLevel = 0;
};

// Next of the page: disables the high alarm at once, checks the level
// (165) and asks about a high level or a silent sounder (166, 167, 168)
// when the LED is on, then stores level, hold and sounder.
CoAlarmOutcome storeCoAlarms(LoggerConfig& config, const CoAlarmState& entry, UserInterface& ui);

} // namespace vessor
