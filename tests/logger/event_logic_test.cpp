// The event logger pages' decisions: the mode of operation, the trigger, the
// voltage range and the counting period.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "logger/logger_config.h"
#include "logger/setup/event_pages_logic.h"
#include "logger/setup/setup_steps.h"

namespace vessor {
namespace {

LoggerConfig eventLogger(int mode, std::uint32_t period = 0)
{
    LoggerConfig config;
    config.setModelType(17);
    config.setEventSampleMode(mode);
    config.setCountPeriod(period);
    return config;
}

TEST(EventModeChoice, ShownChoiceFollowsTheStoredMode)
{
    const int expected[] = {EVENT_CHOICE_EDGES, EVENT_CHOICE_STATES, EVENT_CHOICE_COUNT, EVENT_CHOICE_COUNT};
    for (int mode = 0; mode < 4; ++mode)
        EXPECT_EQ(eventModeChoice(mode), expected[mode]) << mode;
    EXPECT_EQ(eventModeChoice(7), EVENT_CHOICE_EDGES);
}

TEST(EventModeChoice, CountingKeepsACountingModeAndStartsOthersAtOneHour)
{
    const struct {
        int shownMode;
        int choice;
        int storedMode;
        std::uint32_t period;   // countPeriod afterwards (1234 before)
    } cases[] = {
        {EVENT_MODE_EDGE, EVENT_CHOICE_COUNT, EVENT_MODE_COUNT_PER, 3600},
        {EVENT_MODE_STATE, EVENT_CHOICE_COUNT, EVENT_MODE_COUNT_PER, 3600},
        {EVENT_MODE_COUNT_TOTAL, EVENT_CHOICE_COUNT, EVENT_MODE_COUNT_TOTAL, 1234},
        {EVENT_MODE_COUNT_PER, EVENT_CHOICE_COUNT, EVENT_MODE_COUNT_PER, 1234},
        {EVENT_MODE_COUNT_PER, EVENT_CHOICE_EDGES, EVENT_MODE_EDGE, 1234},
        {EVENT_MODE_COUNT_TOTAL, EVENT_CHOICE_STATES, EVENT_MODE_STATE, 1234},
        {EVENT_MODE_EDGE, EVENT_CHOICE_STATES, EVENT_MODE_STATE, 1234},
    };
    for (const auto& c : cases) {
        LoggerConfig config = eventLogger(c.shownMode, 1234);
        config.setOptionFlags(static_cast<std::uint8_t>(config.optionFlags() | EVENT_RISING_EDGE | 2));
        storeEventModeChoice(config, c.choice, c.shownMode);
        EXPECT_EQ(config.eventSampleMode(), c.storedMode) << c.shownMode << "->" << c.choice;
        EXPECT_EQ(config.countPeriod(), c.period) << c.shownMode << "->" << c.choice;
        // The other option bits stay.
        EXPECT_EQ(config.optionFlags() & 0x0F, EVENT_RISING_EDGE | 2);
    }
}

TEST(EventTrigger, PageShowsTheBitsAndTheModesRules)
{
    const struct {
        std::uint8_t optionBits;
        std::uint8_t modeFlags;
        int mode;
        TriggerPageState state;
    } cases[] = {
        {EVENT_RISING_EDGE, 0, EVENT_MODE_EDGE, {true, false, true, false, ""}},
        {EVENT_VOLT_FREE, MODE_LEDS_DISABLED, EVENT_MODE_EDGE, {false, true, true, true, ""}},
        {0, 0, EVENT_MODE_STATE, {false, false, false, false, ""}},
        {EVENT_RISING_EDGE, 0, EVENT_MODE_COUNT_TOTAL, {true, false, true, false, ""}},
        {0, 0, EVENT_MODE_COUNT_PER, {false, false, true, false, EVENT_RATE_LIMIT_NOTE}},
    };
    for (const auto& c : cases) {
        LoggerConfig config = eventLogger(c.mode);
        config.setOptionFlags(static_cast<std::uint8_t>(config.optionFlags() | c.optionBits));
        config.setModeFlags(c.modeFlags);
        const TriggerPageState s = triggerPageState(config);
        EXPECT_EQ(s.risingEdge, c.state.risingEdge) << c.mode;
        EXPECT_EQ(s.voltFree, c.state.voltFree) << c.mode;
        EXPECT_EQ(s.edgeChoiceEnabled, c.state.edgeChoiceEnabled) << c.mode;
        EXPECT_EQ(s.ledOff, c.state.ledOff) << c.mode;
        EXPECT_EQ(s.note, c.state.note) << c.mode;
    }
}

TEST(EventTrigger, NextStoresTheChoicesAndDecidesTheStepsThatFollow)
{
    // The steps that follow: the voltage range for voltage triggering, the
    // count period in the counting modes (the pages' order is the shell's test).
    const struct {
        int mode;
        bool voltFree;
        bool range;
        bool period;
    } routes[] = {
        {EVENT_MODE_EDGE, false, true, false},
        {EVENT_MODE_COUNT_PER, false, true, true},
        {EVENT_MODE_EDGE, true, false, false},
        {EVENT_MODE_STATE, true, false, false},
        {EVENT_MODE_COUNT_TOTAL, true, false, true},
        {EVENT_MODE_COUNT_PER, true, false, true},
    };
    for (const auto& r : routes) {
        LoggerConfig config = eventLogger(r.mode);
        config.setEventVoltageRange(3);
        config.setModeFlags(MODE_PUSH_BUTTON);
        storeTriggerPage(config, true, r.voltFree, true);
        EXPECT_TRUE(config.optionFlags() & EVENT_RISING_EDGE);
        EXPECT_EQ((config.optionFlags() & EVENT_VOLT_FREE) != 0, r.voltFree);
        // Volt-free contacts reset the range to 0 - 3V.
        EXPECT_EQ(config.eventVoltageRange(), r.voltFree ? 0 : 3);
        EXPECT_EQ(config.modeFlags(), MODE_PUSH_BUTTON | MODE_LEDS_DISABLED);
        EXPECT_EQ(config.eventSampleMode(), r.mode);
        EXPECT_EQ(isStepShown(WizardStep::EventVoltageRange, config), r.range) << r.mode << r.voltFree;
        EXPECT_EQ(isStepShown(WizardStep::EventCountPeriod, config), r.period) << r.mode << r.voltFree;
    }
    LoggerConfig config = eventLogger(EVENT_MODE_EDGE);
    config.setOptionFlags(static_cast<std::uint8_t>(config.optionFlags() | EVENT_RISING_EDGE));
    config.setModeFlags(MODE_LEDS_DISABLED);
    storeTriggerPage(config, false, false, false);
    EXPECT_FALSE(config.optionFlags() & EVENT_RISING_EDGE);
    EXPECT_EQ(config.modeFlags(), 0);
}

TEST(EventVoltageRange, ChoiceRoundTripsAndKeepsTheOtherBits)
{
    for (int range = 0; range < 4; ++range) {
        LoggerConfig config = eventLogger(EVENT_MODE_COUNT_PER);
        config.setOptionFlags(static_cast<std::uint8_t>(config.optionFlags() | EVENT_RISING_EDGE));
        storeVoltageRange(config, range);
        EXPECT_EQ(voltageRangeChoice(config), range);
        EXPECT_EQ(config.optionFlags(), (EVENT_MODE_COUNT_PER << 4) | EVENT_RISING_EDGE | range);
    }
    LoggerConfig config = eventLogger(EVENT_MODE_EDGE);
    storeVoltageRange(config, 9);
    EXPECT_EQ(voltageRangeChoice(config), 3);
}

TEST(EventCountPeriod, FieldsSplitThePeriod)
{
    const struct {
        std::uint32_t period;
        PeriodFields fields;
    } cases[] = {
        {0, {"0", "0", "0"}},
        {3600, {"1", "0", "0"}},
        {10, {"0", "0", "10"}},
        {3600 * 99 + 59 * 60 + 59, {"99", "59", "59"}},
        {3600 * 150 + 75, {"150", "1", "15"}},
    };
    for (const auto& c : cases) {
        const PeriodFields f = periodFields(c.period);
        EXPECT_EQ(f.hours, c.fields.hours) << c.period;
        EXPECT_EQ(f.minutes, c.fields.minutes) << c.period;
        EXPECT_EQ(f.seconds, c.fields.seconds) << c.period;
    }
}

TEST(EventCountPeriod, WholeNumbersAndWrappingSpins)
{
    EXPECT_EQ(wholeNumber(""), 0u);
    EXPECT_EQ(wholeNumber("x"), 0u);
    EXPECT_EQ(wholeNumber("075"), 75u);
    EXPECT_EQ(wholeNumber("12ab"), 12u);
    EXPECT_EQ(wholeNumber("99999999999999999999"), 4294967295u);

    const struct {
        const char* field;
        int step;
        int max;
        int result;
    } spins[] = {
        {"0", 1, 99, 1},   {"99", 1, 99, 0},  {"0", -1, 99, 99}, {"", 1, 59, 1},
        {"", -1, 59, 59},  {"59", 1, 59, 0},  {"75", -1, 59, 58}, {"75", 1, 59, 0},
        {"30", -1, 59, 29},
    };
    for (const auto& s : spins)
        EXPECT_EQ(spinStep(s.field, s.step, s.max), s.result) << s.field << ' ' << s.step;
}

TEST(EventCountPeriod, NextStoresTheModeFirstThenChecksTheFields)
{
    const struct {
        const char* name;
        bool ticked;
        PeriodFields fields;
        std::string message;
        PeriodField focus;
        int mode;
        std::uint32_t period;   // countPeriod afterwards (777 before)
    } cases[] = {
        {"OneHour", true, {"1", "0", "0"}, "", PeriodField::None, 3, 3600},
        {"Largest", true, {"99", "59", "59"}, "", PeriodField::None, 3, 359999},
        {"SecondsAbove59Add", true, {"0", "1", "75"}, "", PeriodField::None, 3, 135},
        {"Hours100", true, {"100", "0", "0"}, HOURS_OUT_OF_RANGE, PeriodField::Hours, 3, 777},
        {"Minutes60", true, {"1", "60", "0"}, MINUTES_OUT_OF_RANGE, PeriodField::Minutes, 3, 777},
        {"HoursBeforeMinutes", true, {"100", "60", "0"}, HOURS_OUT_OF_RANGE, PeriodField::Hours, 3, 777},
        {"EmptyFieldsReadAsZero", true, {"", "", "5"}, "", PeriodField::None, 3, 5},
        {"UntickedEmptyStoresZero", false, {"", "", ""}, "", PeriodField::None, 2, 0},
        // A counting period of no length would never close.
        {"TickedZeroRefused", true, {"0", "0", "0"}, PERIOD_TOO_SHORT, PeriodField::Hours, 3, 777},
        // Nine digits of seconds (the field's limit) cannot wrap the period.
        {"HugeSeconds", true, {"99", "59", "999999999"}, "", PeriodField::None, 3,
         99u * 3600 + 59 * 60 + 999999999u},
        {"OverlongSecondsCapped", true, {"0", "0", "99999999999"}, "", PeriodField::None, 3, 999999999u},
    };
    for (const auto& c : cases) {
        LoggerConfig config = eventLogger(c.ticked ? EVENT_MODE_COUNT_TOTAL : EVENT_MODE_COUNT_PER, 777);
        const PeriodVerdict verdict = storeCountPeriod(config, c.ticked, c.fields);
        EXPECT_EQ(verdict.message, c.message) << c.name;
        EXPECT_EQ(verdict.focus, c.focus) << c.name;
        EXPECT_EQ(config.eventSampleMode(), c.mode) << c.name;
        EXPECT_EQ(config.countPeriod(), c.period) << c.name;
    }
}

TEST(EventCountPeriod, TickingStartsACountTotalAtOneHour)
{
    LoggerConfig total = eventLogger(EVENT_MODE_COUNT_TOTAL, 1542);
    EXPECT_FALSE(isCountPerPeriod(total));
    EXPECT_EQ(periodOnTicking(total), 3600u);
    EXPECT_EQ(total.countPeriod(), 3600u);

    LoggerConfig per = eventLogger(EVENT_MODE_COUNT_PER, 90);
    EXPECT_TRUE(isCountPerPeriod(per));
    EXPECT_EQ(periodOnTicking(per), 90u);
}

} // namespace
} // namespace vessor
