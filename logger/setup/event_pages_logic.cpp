#include "logger/setup/event_pages_logic.h"

#include <algorithm>
#include <limits>

#include "logger/logger_config.h"

namespace vessor {

namespace {

constexpr std::uint32_t ONE_HOUR = 3600;

std::string decimal(std::uint32_t value)
{
    return std::to_string(value);
}

} // namespace

int eventModeChoice(int eventMode)
{
    switch (eventMode) {
    case EVENT_MODE_STATE: return EVENT_CHOICE_STATES;
    case EVENT_MODE_COUNT_TOTAL:
    case EVENT_MODE_COUNT_PER: return EVENT_CHOICE_COUNT;
    default: return EVENT_CHOICE_EDGES;
    }
}

void storeEventModeChoice(LoggerConfig& config, int choice, int shownMode)
{
    if (choice == EVENT_CHOICE_COUNT) {
        if (shownMode == EVENT_MODE_COUNT_TOTAL || shownMode == EVENT_MODE_COUNT_PER) {
            config.setEventSampleMode(shownMode);
        } else {
            config.setEventSampleMode(EVENT_MODE_COUNT_PER);
            config.setCountPeriod(ONE_HOUR);
        }
        return;
    }
    config.setEventSampleMode(choice == EVENT_CHOICE_STATES ? EVENT_MODE_STATE : EVENT_MODE_EDGE);
}

TriggerPageState triggerPageState(const LoggerConfig& config)
{
    TriggerPageState state;
    const int mode = config.eventSampleMode();
    state.risingEdge = (config.optionFlags() & EVENT_RISING_EDGE) != 0;
    state.voltFree = (config.optionFlags() & EVENT_VOLT_FREE) != 0;
    state.edgeChoiceEnabled = mode != EVENT_MODE_STATE;
    state.ledOff = (config.modeFlags() & MODE_LEDS_DISABLED) != 0;
    if (mode == EVENT_MODE_COUNT_PER)
        state.note = EVENT_RATE_LIMIT_NOTE;
    return state;
}

void storeTriggerPage(LoggerConfig& config, bool risingEdge, bool voltFree, bool ledOff)
{
    config.setRisingEdge(risingEdge);
    config.setVoltFree(voltFree);
    if (voltFree)
        config.setEventVoltageRange(0);
    config.setLedsDisabled(ledOff);
}

int voltageRangeChoice(const LoggerConfig& config)
{
    return std::min(config.eventVoltageRange(), 3);
}

void storeVoltageRange(LoggerConfig& config, int choice)
{
    config.setEventVoltageRange(std::clamp(choice, 0, 3));
}

PeriodFields periodFields(std::uint32_t seconds)
{
    return {decimal(seconds / 3600), decimal(seconds % 3600 / 60), decimal(seconds % 60)};
}

bool isCountPerPeriod(const LoggerConfig& config)
{
    return config.eventSampleMode() != EVENT_MODE_COUNT_TOTAL;
}

std::uint32_t periodOnTicking(LoggerConfig& config)
{
    if (config.eventSampleMode() == EVENT_MODE_COUNT_TOTAL)
        config.setCountPeriod(ONE_HOUR);
    return config.countPeriod();
}

std::uint32_t wholeNumber(std::string_view text)
{
    constexpr std::uint32_t most = std::numeric_limits<std::uint32_t>::max();
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    std::uint64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            break;
        value = value * 10 + static_cast<unsigned>(c - '0');
        if (value > most)
            return most;
    }
    return static_cast<std::uint32_t>(value);
}

int spinStep(std::string_view field, int step, int max)
{
    const auto current = static_cast<int>(std::min<std::uint32_t>(wholeNumber(field), static_cast<std::uint32_t>(max)));
    const int next = current + step;
    if (next > max)
        return 0;
    if (next < 0)
        return max;
    return next;
}

PeriodVerdict storeCountPeriod(LoggerConfig& config, bool ticked, const PeriodFields& fields)
{
    config.setEventSampleMode(ticked ? EVENT_MODE_COUNT_PER : EVENT_MODE_COUNT_TOTAL);
    const std::uint32_t hours = wholeNumber(fields.hours);
    if (hours > PERIOD_HOURS_MAX)
        return {HOURS_OUT_OF_RANGE, PeriodField::Hours};
    const std::uint32_t minutes = wholeNumber(fields.minutes);
    if (minutes > PERIOD_MINUTES_MAX)
        return {MINUTES_OUT_OF_RANGE, PeriodField::Minutes};
    // Not range-checked: seconds above 59 lengthen the period. Capped so
    // that a mistyped run of digits cannot wrap the 32-bit period.
    const std::uint64_t seconds = std::min<std::uint64_t>(wholeNumber(fields.seconds), 999'999'999);
    const std::uint64_t period = std::uint64_t{hours} * 3600 + minutes * 60 + seconds;
    if (ticked && period == 0)
        return {PERIOD_TOO_SHORT, PeriodField::Hours};
    config.setCountPeriod(static_cast<std::uint32_t>(period));
    return {};
}

} // namespace vessor
