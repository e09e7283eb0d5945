#include "logger/setup/number_alarm_logic.h"

#include <algorithm>
#include <cmath>

#include "logger/setup/alarm_list_logic.h"
#include "logger/conversion.h"
#include "logger/logger_config.h"
#include "logger/strings.h"

namespace vessor {

namespace {

// The voltage/current loggers never alarm on the first counts above zero
// when the scaled zero is positive.
constexpr unsigned VOLTAGE_LOW_RAW_FLOOR = 31;
// The text fields of the typed alarm levels hold 7 characters and a NUL.
constexpr std::size_t ALARM_TEXT_LENGTH = 7;

// A bound as the page's boxes would show it, so that typing the bound
// itself never reads as outside the range.
double asShown(double value, int decimals)
{
    double shown = 0;
    if (!parseNumber(formatFixed(value, decimals), shown))
        return value;
    return shown;
}

bool fahrenheitBit(const LoggerConfig& config)
{
    return config.optionFlags() & TC_FAHRENHEIT;
}

unsigned rawOf(const LoggerConfig& config, double value)
{
    return config.alarmRawOf(static_cast<float>(value));
}

} // namespace

int numberAlarmDecimals(const LoggerConfig& config)
{
    return std::clamp(alarmDecimals(config), 0, 6);
}

AlarmRange numberAlarmRange(const LoggerConfig& config)
{
    AlarmRange range;
    const ModelInfo* model = config.model();
    const AlarmBounds bounds = model ? model->alarmBounds : AlarmBounds{};
    switch (bounds.kind) {
    case AlarmBoundsKind::Counts:
        range.min = rawToValue(config, 0);
        range.max = rawToValue(config, static_cast<unsigned>(bounds.topCount));
        break;
    case AlarmBoundsKind::Fixed: {
        // The tenth-of-a-°F loggers keep °F in bit 0, the others in the whole byte.
        const bool fahrenheit = model->has(GROUP_TEMPERATURE_0_1F) ? fahrenheitBit(config)
                                                                   : config.optionFlags() != 0;
        range.min = fahrenheit ? bounds.lowF : bounds.lowC;
        range.max = fahrenheit ? bounds.highF : bounds.highC;
        break;
    }
    case AlarmBoundsKind::Scaling: {
        float high = 0;
        float low = 0;
        scalingRange(config, high, low);
        range.min = low;
        range.max = high;
        break;
    }
    case AlarmBoundsKind::None:
        break;
    }
    const int decimals = numberAlarmDecimals(config);
    range.min = asShown(range.min, decimals);
    range.max = asShown(range.max, decimals);
    return range;
}

bool offersDisableLeds(const LoggerConfig& config)
{
    return !config.modelHas(GROUP_NO_LED_CHOICE);
}

NumberAlarmState readNumberAlarms(LoggerConfig& config)
{
    if (!offersDisableLeds(config))
        config.setLedsDisabled(false);
    const std::uint8_t flags = config.alarmFlags();
    NumberAlarmState state;
    state.highEnabled = flags & ALARM_HIGH_ENABLED;
    state.lowEnabled = flags & ALARM_LOW_ENABLED;
    state.highHold = flags & ALARM_HIGH_HOLD;
    state.lowHold = flags & ALARM_LOW_HOLD;
    state.ledsDisabled = config.modeFlags() & MODE_LEDS_DISABLED;

    // The levels as the status page shows them, so they carry its rounding.
    const AlarmRange range = numberAlarmRange(config);
    state.high = parseLeadingNumber(formatHighAlarm(config));
    if (!range.contains(state.high))
        state.high = range.max;
    state.low = parseLeadingNumber(formatLowAlarm(config));
    if (!range.contains(state.low))
        state.low = range.min;
    return state;
}

NumberAlarmOutcome storeNumberAlarms(LoggerConfig& config, const NumberAlarmEntry& entry,
                                     UserInterface& ui)
{
    NumberAlarmOutcome outcome;
    const AlarmRange range = numberAlarmRange(config);
    const int decimals = numberAlarmDecimals(config);
    double high = entry.high;
    double low = entry.low;
    std::string highText = entry.highText;
    std::string lowText = entry.lowText;

    if (entry.highEnabled && entry.lowEnabled && !(low < high)) {
        showMessage(&ui, MSG_HIGH_NOT_ABOVE_LOW);
        outcome.focus = AlarmBox::High;
        return outcome;
    }

    // One typed level outside the range: an enabled alarm is refused and its
    // box offered the nearest limit; a disabled one quietly takes its default.
    struct Level {
        double& value;
        std::string& text;
        bool enabled;
        double fallback;
        int messageId;
        AlarmBox box;
    };
    Level highLevel{high, highText, entry.highEnabled, range.max, MSG_HIGH_ALARM_ADJUSTED, AlarmBox::High};
    Level lowLevel{low, lowText, entry.lowEnabled, range.min, MSG_LOW_ALARM_ADJUSTED, AlarmBox::Low};
    auto fits = [&](Level& level) {
        if (range.contains(level.value))
            return true;
        if (level.enabled) {
            showMessage(&ui, level.messageId);
            outcome.focus = level.box;
            outcome.adjustedBox = level.box;
            outcome.adjustedValue = level.value < range.min ? range.min : range.max;
            return false;
        }
        level.value = level.fallback;
        level.text = formatFixed(level.value, decimals);
        return true;
    };

    // A falling scaling: the high value is the low count, so the user's low
    // level goes to the high slot and the high level to the low slot.
    const bool ascending = isAscending(config);
    Level& highSlot = ascending ? highLevel : lowLevel;
    Level& lowSlot = ascending ? lowLevel : highLevel;
    if (!fits(highSlot))
        return outcome;
    config.setHighAlarmRaw(rawOf(config, highSlot.value));
    if (!fits(lowSlot))
        return outcome;
    unsigned lowRaw = rawOf(config, lowSlot.value);

    if (isVoltageCurrentModel(config.modelType()) && rawToValue(config, 0) > 0 &&
        lowRaw < VOLTAGE_LOW_RAW_FLOOR)
        lowRaw = VOLTAGE_LOW_RAW_FLOOR;
    config.setLowAlarmRaw(lowRaw);
    if (config.modelHas(GROUP_TEXT_ALARMS)) {
        config.setHighAlarmText(highText.substr(0, ALARM_TEXT_LENGTH));
        config.setLowAlarmText(lowText.substr(0, ALARM_TEXT_LENGTH));
    }
    config.setHighAlarmHold(entry.highHold);
    config.setLowAlarmHold(entry.lowHold);
    outcome.stored = true;
    return outcome;
}

} // namespace vessor
