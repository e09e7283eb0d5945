#include "logger/setup/co_alarm_logic.h"

#include <cmath>
#include <limits>
#include <string>

#include "logger/setup/alarm_list_logic.h"
#include "logger/conversion.h"
#include "logger/logger_config.h"
#include "logger/strings.h"

namespace vessor {

int coLevelMax(const LoggerConfig& config)
{
    return coLimits(config.modelType()).warningMax;
}

std::string coRangeMessage(const LoggerConfig& config)
{
    std::string text = messageText(MSG_WARNING_LEVEL_RANGE);
    // The message names the ZR-CO's range.
    text = replaceFirst(text, "3-1000", "3-" + std::to_string(coLevelMax(config)));
    return text;
}

CoAlarmState readCoAlarms(const LoggerConfig& config)
{
    CoAlarmState state;
    state.ledEnabled = config.alarmFlags() & ALARM_LOW_ENABLED;
    state.hold = config.alarmFlags() & ALARM_LOW_HOLD;
    state.sounder = config.modeFlags() & MODE_SOUNDER;
    state.level = config.lowAlarmValue();
    const double min = coLimits(config.modelType()).keptMin;
    if (!(state.level >= min && state.level <= coLevelMax(config)))
        state.level = CO_LEVEL_SAFE;
    return state;
}

CoAlarmOutcome storeCoAlarms(LoggerConfig& config, const CoAlarmState& entry, UserInterface& ui)
{
    CoAlarmOutcome outcome;
    const int max = coLevelMax(config);

    // Only the warning level alarms; the high slot is parked above the range.
    config.setHighAlarmEnabled(false);
    config.setHighAlarmValue(static_cast<float>(max + 1));

    // Rounded like the box shows it; a value that is not a number is out of range.
    const double rounded = std::trunc(entry.level + 0.5);
    int level = std::isfinite(rounded) && std::fabs(rounded) < 1e9 ? static_cast<int>(rounded)
                                                                    : std::numeric_limits<int>::max();
    if (level > max || level < CO_LEVEL_MIN) {
        if (entry.ledEnabled) {
            ui.showMessage(coRangeMessage(config));
            outcome.focus = CoControl::Level;
            outcome.levelAdjusted = true;
            outcome.adjustedLevel = level > max ? CO_LEVEL_SAFE : CO_LEVEL_MIN;
            return outcome;
        }
        level = CO_LEVEL_SAFE;
    }

    if (entry.ledEnabled) {
        if (level > CO_LEVEL_SAFE) {
            const int question = entry.sounder ? MSG_WARNING_ABOVE_SAFE : MSG_WARNING_ABOVE_SAFE_NO_SOUNDER;
            if (askMessage(&ui, question, MessageButtons::YesNo) != Answer::Yes) {
                outcome.focus = CoControl::Level;
                return outcome;
            }
        } else if (!entry.sounder) {
            if (askMessage(&ui, MSG_SOUNDER_DISABLED, MessageButtons::YesNo) != Answer::Yes) {
                outcome.focus = CoControl::Sounder;
                return outcome;
            }
        }
    }

    config.setLowAlarmValue(static_cast<float>(level));
    config.setLowAlarmHold(entry.hold);
    config.setSounderEnabled(entry.sounder);
    outcome.stored = true;
    return outcome;
}

} // namespace vessor
