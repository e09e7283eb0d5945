// The numeric alarm page (page 10) of the voltage/current, thermocouple,
// professional and rechargeable temperature loggers: typed levels checked
// against the model's range, adjusted automatically where they fall outside.
#pragma once

#include <string>

namespace vessor {

class LoggerConfig;
class UserInterface;

// The levels the logger can hold, in the unit the page shows. Both bounds
// carry the page's decimals exactly, so a typed bound compares equal.
struct AlarmRange {
    double min = 0;
    double max = 0;
    bool contains(double v) const { return v >= min && v <= max; }
};
AlarmRange numberAlarmRange(const LoggerConfig& config);

// Decimal places of the number boxes.
int numberAlarmDecimals(const LoggerConfig& config);

// Whether the page offers "Disable LEDs" (every model but the ZR-T-PRO).
bool offersDisableLeds(const LoggerConfig& config);

// What the page shows; reading it may clear the LED bit on the ZR-T-PRO,
// whose page has no such box.
struct NumberAlarmState {
    bool highEnabled = false;
    bool lowEnabled = false;
    bool highHold = false;
    bool lowHold = false;
    bool ledsDisabled = false;
    double high = 0;   // a stored level outside the range shows as its bound
    double low = 0;
};
NumberAlarmState readNumberAlarms(LoggerConfig& config);

// What the user leaves on the page when pressing Next.
struct NumberAlarmEntry {
    bool highEnabled = false;
    bool lowEnabled = false;
    bool highHold = false;
    bool lowHold = false;
    double high = 0;          // the boxes' values
    double low = 0;
    std::string highText;     // the boxes' texts
    std::string lowText;
};

enum class AlarmBox { None, High, Low };

// The answer of Next: either stored (go on) or refused with the box to
// focus, and maybe a corrected value to put into that box.
struct NumberAlarmOutcome {
    bool stored = false;
    AlarmBox focus = AlarmBox::None;
    AlarmBox adjustedBox = AlarmBox::None;
    double adjustedValue = 0;
};

// Next of the page: checks the order (132) and the range (163, 164), stores
// levels, texts and hold bits. A refusal after the high level was stored
// leaves it stored.
NumberAlarmOutcome storeNumberAlarms(LoggerConfig& config, const NumberAlarmEntry& entry,
                                     UserInterface& ui);

} // namespace vessor
