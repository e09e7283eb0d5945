// The drop-down alarm pages: the temperature alarms (page 2), the low-cost
// temperature alarms (page 12) and the humidity alarms (page 7). Each list
// holds fixed steps from its top value down; entry i stands for
// top - step * i. The levels live in theConfig as raw values.
#pragma once

#include <string>
#include <vector>

namespace vessor {

class LoggerConfig;
class UserInterface;

enum class AlarmListPage { Temperature, LiteTemperature, Humidity };

struct LevelList {
    double top = 0;      // value of entry 0
    double step = 1;     // drop from one entry to the next
    int count = 0;       // number of entries
    int decimals = 0;    // decimals of the entry texts
    const char* unit = "";  // UTF-8, after a space: "°C", "°F", "%"

    double valueAt(int index) const { return top - step * index; }
    double bottom() const { return valueAt(count - 1); }
    // The entry nearest `value` after clamping it into the list (half a step
    // rounds away from zero, as the logger's own tables do).
    int indexOf(double value) const;
    // "87.5 °C", "189 °F", "100.0 %", ...
    std::vector<std::string> texts() const;
};

// The list a page shows for the logger in `config`. Temperature lists are in
// °F when the unit byte (optionFlags) is 1, in °C otherwise; the same rule
// decides how a selection is stored, so what is shown is what is stored.
LevelList levelList(AlarmListPage page, const LoggerConfig& config);

// What the page shows: the enable and hold boxes and the selected entries.
struct AlarmListState {
    bool highEnabled = false;
    bool lowEnabled = false;
    bool highHold = false;
    bool lowHold = false;
    int highIndex = 0;
    int lowIndex = 0;
};

AlarmListState readAlarmList(AlarmListPage page, const LoggerConfig& config);

// Stores the selected levels and hold boxes (the enable bits are stored by
// their boxes as they are clicked). Indexes outside the list are clamped.
void storeAlarmList(AlarmListPage page, LoggerConfig& config, const AlarmListState& state);

// The check of Next after storing: with both alarms enabled the stored high
// level must lie above the stored low level. Shows message 132 and returns
// false otherwise.
bool checkAlarmOrder(AlarmListPage page, const LoggerConfig& config, UserInterface& ui);

// Sets the enable bit of the high or low alarm of the page.
void setAlarmEnabled(AlarmListPage page, LoggerConfig& config, bool high, bool enabled);

} // namespace vessor
