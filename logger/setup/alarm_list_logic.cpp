#include "logger/setup/alarm_list_logic.h"

#include <algorithm>
#include <cmath>

#include "logger/conversion.h"
#include "logger/logger_config.h"
#include "logger/strings.h"

namespace vessor {

namespace {

constexpr LevelList CELSIUS_LIST{87.5, 0.5, 256, 1, "\u00B0C"};
constexpr LevelList FAHRENHEIT_LIST{189, 1, 230, 0, "\u00B0F"};
constexpr LevelList LITE_CELSIUS_LIST{50, 1, 61, 0, "\u00B0C"};
constexpr LevelList LITE_FAHRENHEIT_LIST{122, 2, 55, 0, "\u00B0F"};
constexpr LevelList HUMIDITY_LIST{100, 0.5, 201, 1, "%"};

bool fahrenheitList(const LoggerConfig& config)
{
    return config.optionFlags() == 1;
}

} // namespace

int LevelList::indexOf(double value) const
{
    if (count <= 0)
        return 0;
    if (!std::isfinite(value))
        return 0;
    value = std::clamp(value, bottom(), top);
    const double position = (top - value) / step;
    const auto index = static_cast<int>(std::trunc(position + 0.5));
    return std::clamp(index, 0, count - 1);
}

std::vector<std::string> LevelList::texts() const
{
    std::vector<std::string> result;
    result.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        result.push_back(formatFixed(valueAt(i), decimals) + " " + unit);
    return result;
}

LevelList levelList(AlarmListPage page, const LoggerConfig& config)
{
    switch (page) {
    case AlarmListPage::Temperature:
        return fahrenheitList(config) ? FAHRENHEIT_LIST : CELSIUS_LIST;
    case AlarmListPage::LiteTemperature:
        return fahrenheitList(config) ? LITE_FAHRENHEIT_LIST : LITE_CELSIUS_LIST;
    case AlarmListPage::Humidity:
        break;
    }
    return HUMIDITY_LIST;
}

AlarmListState readAlarmList(AlarmListPage page, const LoggerConfig& config)
{
    const LevelList list = levelList(page, config);
    const std::uint8_t flags = config.alarmFlags();
    AlarmListState state;
    if (page == AlarmListPage::Humidity) {
        state.highEnabled = flags & ALARM_RH_HIGH_ENABLED;
        state.lowEnabled = flags & ALARM_RH_LOW_ENABLED;
        state.highHold = flags & ALARM_RH_HIGH_HOLD;
        state.lowHold = flags & ALARM_RH_LOW_HOLD;
        state.highIndex = list.indexOf(config.rhHighAlarmValue());
        state.lowIndex = list.indexOf(config.rhLowAlarmValue());
    } else {
        state.highEnabled = flags & ALARM_HIGH_ENABLED;
        state.lowEnabled = flags & ALARM_LOW_ENABLED;
        state.highHold = flags & ALARM_HIGH_HOLD;
        state.lowHold = flags & ALARM_LOW_HOLD;
        state.highIndex = list.indexOf(config.highAlarmValue());
        state.lowIndex = list.indexOf(config.lowAlarmValue());
    }
    return state;
}

void storeAlarmList(AlarmListPage page, LoggerConfig& config, const AlarmListState& state)
{
    const LevelList list = levelList(page, config);
    const double high = list.valueAt(std::clamp(state.highIndex, 0, list.count - 1));
    const double low = list.valueAt(std::clamp(state.lowIndex, 0, list.count - 1));
    if (page == AlarmListPage::Humidity) {
        config.setRhHighAlarm(static_cast<std::uint8_t>(std::clamp(percentToHalfUnits(high), 0, 255)));
        config.setRhLowAlarm(static_cast<std::uint8_t>(std::clamp(percentToHalfUnits(low), 0, 255)));
        config.setRhHighAlarmHold(state.highHold);
        config.setRhLowAlarmHold(state.lowHold);
        return;
    }
    config.setHighAlarmValue(static_cast<float>(high));
    config.setLowAlarmValue(static_cast<float>(low));
    config.setHighAlarmHold(state.highHold);
    config.setLowAlarmHold(state.lowHold);
}

bool checkAlarmOrder(AlarmListPage page, const LoggerConfig& config, UserInterface& ui)
{
    const bool humidity = page == AlarmListPage::Humidity;
    const std::uint8_t both = humidity ? (ALARM_RH_HIGH_ENABLED | ALARM_RH_LOW_ENABLED)
                                       : (ALARM_HIGH_ENABLED | ALARM_LOW_ENABLED);
    if ((config.alarmFlags() & both) != both)
        return true;
    const float high = humidity ? config.rhHighAlarmValue() : config.highAlarmValue();
    const float low = humidity ? config.rhLowAlarmValue() : config.lowAlarmValue();
    if (high > low)
        return true;
    showMessage(&ui, MSG_HIGH_NOT_ABOVE_LOW);
    return false;
}

void setAlarmEnabled(AlarmListPage page, LoggerConfig& config, bool high, bool enabled)
{
    if (page == AlarmListPage::Humidity) {
        if (high)
            config.setRhHighAlarmEnabled(enabled);
        else
            config.setRhLowAlarmEnabled(enabled);
    } else if (high) {
        config.setHighAlarmEnabled(enabled);
    } else {
        config.setLowAlarmEnabled(enabled);
    }
}

} // namespace vessor
