// The naming pages' decisions without widgets: the read-back limit, the unit
// change of the name page, the rate lists, the thermocouple type byte (the
// naming rule itself is tested with the core, tests/logger).
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "logger/setup/name_pages_logic.h"
#include "logger/conversion.h"
#include "logger/logger_config.h"
#include "logger/strings.h"

namespace vessor {
namespace {

TEST(NamingRule, ReadBackLimitCountsCharacters)
{
    EXPECT_EQ(nameReadBackMessage(std::string(255, 'a'), NAME_READ_BACK_LIMIT), "");
    EXPECT_EQ(nameReadBackMessage(std::string(256, 'a'), NAME_READ_BACK_LIMIT),
              "Please enter no more than 255 characters.");
    std::string umlauts;
    for (int i = 0; i < 255; ++i)
        umlauts += "\xC3\xBC";
    EXPECT_EQ(nameReadBackMessage(umlauts, NAME_READ_BACK_LIMIT), "");
    EXPECT_EQ(nameReadBackMessage(std::string(300, 'a'), 0), "");
}

// A temperature logger of `model` as the factory leaves it, in °C.
LoggerConfig temperatureLogger(int model, float gradient, float offset)
{
    LoggerConfig c;
    c.setModelType(model);
    c.setCalGradient(gradient);
    c.setCalOffset(offset);
    c.setOptionFlags(0);
    return c;
}

struct UnitCase {
    const char* label;
    int model;
    float gradient, offset;
    std::uint8_t flags;
    float high, low;            // levels before, in the stored unit
    bool toFahrenheit;
    float newGradient, newOffset;
    float highAfter, lowAfter;  // levels read back in the new unit
};

class NamePageUnit : public ::testing::TestWithParam<UnitCase> {};

TEST_P(NamePageUnit, ConvertsTheLevelsAndRewritesTheCalibration)
{
    const UnitCase& c = GetParam();
    LoggerConfig config = temperatureLogger(c.model, c.gradient, c.offset);
    config.setOptionFlags(c.flags);
    config.setHighAlarmRaw(static_cast<unsigned>(valueToRaw(config, c.high)));
    config.setLowAlarmRaw(static_cast<unsigned>(valueToRaw(config, c.low)));
    ASSERT_NEAR(config.highAlarmValue(), c.high, 0.01);

    applyNamePageUnit(config, c.toFahrenheit, !c.toFahrenheit);

    EXPECT_EQ(config.optionFlags(), c.toFahrenheit ? 1 : 0);
    EXPECT_FLOAT_EQ(config.calGradient(), c.newGradient);
    EXPECT_FLOAT_EQ(config.calOffset(), c.newOffset);
    EXPECT_NEAR(config.highAlarmValue(), c.highAfter, 0.051);
    EXPECT_NEAR(config.lowAlarmValue(), c.lowAfter, 0.051);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NamePageUnit,
    ::testing::Values(
        UnitCase{"zr_t_30C_to_86F", 2, 0.5f, -40.0f, 0, 30.0f, -10.0f, true, 1.0f, -40.0f, 86.0f, 14.0f},
        UnitCase{"zr_t_86F_to_30C", 2, 1.0f, -40.0f, 1, 86.0f, 14.0f, false, 0.5f, -40.0f, 30.0f, -10.0f},
        UnitCase{"zr_th_x", 13, 0.5f, -40.0f, 0, 40.0f, 0.0f, true, 1.0f, -40.0f, 104.0f, 32.0f},
        UnitCase{"zr_t_pro_to_F", 14, 0.01f, -40.0f, 0, 100.0f, 20.0f, true, 0.01f, -40.0f, 212.0f, 68.0f},
        UnitCase{"zr_t_pro_to_C", 14, 0.01f, -40.0f, 1, 212.0f, 68.0f, false, 0.01f, -40.0f, 100.0f, 20.0f},
        // Counts in tenths of a °F whatever is shown: calibration untouched.
        UnitCase{"zr_t_rc_to_F", 18, 0.25f, 3.0f, 0, 25.0f, -5.0f, true, 0.25f, 3.0f, 77.0f, 23.0f},
        UnitCase{"zr_t_rc_to_C", 18, 0.25f, 3.0f, 1, 77.0f, 23.0f, false, 0.25f, 3.0f, 25.0f, -5.0f},
        // 215 °F is 101.7 °C, above the byte slot's 87.5 °C: the level stops
        // at the top instead of wrapping round to a low one.
        UnitCase{"byte_slot_clamped", 2, 1.0f, -40.0f, 1, 215.0f, -40.0f, false, 0.5f, -40.0f, 87.5f, -40.0f},
        // 600 °C is 1112 °F, beyond the word slot of the ZR-T-PRO.
        UnitCase{"word_slot_clamped", 14, 0.01f, -40.0f, 0, 600.0f, -40.0f, true, 0.01f, -40.0f, 615.35f,
                 -40.0f}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(NamePageUnit, AnUnchangedUnitTouchesNothing)
{
    LoggerConfig config = temperatureLogger(2, 0.3f, -12.0f);
    config.setOptionFlags(0x05);
    config.setHighAlarmRaw(200);
    config.setLowAlarmRaw(3);
    const ConfigBlock before = config.block();
    applyNamePageUnit(config, true, true);
    applyNamePageUnit(config, false, false);
    EXPECT_EQ(config.block(), before);
}

struct RateCase {
    const char* label;
    WizardStep step;
    int model;
    std::uint16_t interval;
    int shownIndex;         // -1: nothing selected
    const char* shownText;  // nullptr when nothing is selected
};

class RateLists : public ::testing::TestWithParam<RateCase> {};

TEST_P(RateLists, SelectTheMatchingEntryOrTheFallback)
{
    const RateCase& c = GetParam();
    const RateList list = rateListFor(c.step, c.model);
    const int index = rateIndexFor(list, c.interval);
    EXPECT_EQ(index, c.shownIndex);
    // Next stores what is shown, or 10 s when nothing is.
    const std::uint16_t stored = rateToStore(list, index);
    if (c.shownText) {
        ASSERT_GE(index, 0);
        EXPECT_STREQ(list.entries[static_cast<std::size_t>(index)].text, c.shownText);
        EXPECT_EQ(stored, list.entries[static_cast<std::size_t>(index)].seconds);
    } else {
        EXPECT_EQ(stored, 10);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RateLists,
    ::testing::Values(RateCase{"pro_2s_nothing", WizardStep::Name, 14, 2, -1, nullptr},
                      RateCase{"rc_2s_nothing", WizardStep::Name, 18, 2, -1, nullptr},
                      RateCase{"pro_1s", WizardStep::Name, 14, 1, 0, "1 Sec (9 Hrs)"},
                      RateCase{"zr_t_2s_first", WizardStep::Name, 2, 2, 0, "10 Sec (45 Hrs)"},
                      RateCase{"zr_th_12h", WizardStep::Name, 3, 43200, 6, "12 Hours (>2 Yrs)"},
                      RateCase{"zr_t_1s_not_offered", WizardStep::Name, 2, 1, 0, "10 Sec (45 Hrs)"},
                      RateCase{"co_30s", WizardStep::CoName, 9, 30, 1, "30 Sec (11 Days)"},
                      RateCase{"co_1800_first", WizardStep::CoName, 11, 1800, 0, "10 Sec (3 Days)"},
                      RateCase{"tc_2s_second", WizardStep::ThermocoupleName, 10, 2, 1, "10 Sec (3.5 Days)"},
                      RateCase{"tc_30s", WizardStep::ThermocoupleName, 15, 30, 2, "30 Sec (11 Days)"},
                      RateCase{"voltage_2s_second", WizardStep::VoltageName, 4, 2, 1, "10 Sec (3.7 Days)"},
                      RateCase{"voltage_5min", WizardStep::VoltageName, 7, 300, 3, "5 Min (3 Mths)"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(RateLists, LowCostPageHasNoListAndNothingSelectedStoresTenSeconds)
{
    EXPECT_TRUE(rateListFor(WizardStep::LiteName, 8).entries.empty());
    EXPECT_EQ(LITE_SAMPLE_INTERVAL, 1800);
    const RateList list = rateListFor(WizardStep::ThermocoupleName, 10);
    EXPECT_EQ(rateToStore(list, -1), 10);
    EXPECT_EQ(rateToStore(list, 99), 10);
}

TEST(ThermocoupleType, SelectionAndStoredByte)
{
    struct Shown {
        std::uint8_t flags;
        int index;
    };
    for (const Shown& s : {Shown{0x10, TC_J}, Shown{0x20, TC_K}, Shown{0x30, TC_K}, Shown{0x40, TC_T},
                           Shown{0x41, TC_T}, Shown{0x50, TC_K}, Shown{0x00, TC_K}})
        EXPECT_EQ(thermocoupleTypeIndex(s.flags), s.index) << int(s.flags);

    struct Stored {
        std::uint8_t flags;
        int selected;
        std::uint8_t result;
    };
    for (const Stored& s : {Stored{0x27, TC_T, 0x41}, Stored{0x27, TC_J, 0x11}, Stored{0x01, TC_K, 0x21},
                            Stored{0x4F, -1, 0x29}, Stored{0x00, TC_J, 0x10}})
        EXPECT_EQ(withThermocoupleType(s.flags, s.selected), s.result) << int(s.flags) << " " << s.selected;
}

TEST(ThermocoupleUnit, ChangeRewritesUnitBitAndTextButNotTheLevels)
{
    LoggerConfig config;
    config.setModelType(10);
    config.setOptionFlags(0x2E);
    config.setHighAlarmRaw(4000);
    applyThermocoupleUnit(config, true, false);
    EXPECT_EQ(config.optionFlags(), 0x21);
    EXPECT_EQ(config.scaleUnit(), "\xB0" "F");
    EXPECT_EQ(config.highAlarmRaw(), 4000u);
    applyThermocoupleUnit(config, false, true);
    EXPECT_EQ(config.optionFlags(), 0x20);
    EXPECT_EQ(config.scaleUnit(), "\xB0" "C");
    config.setOptionFlags(0x2E);
    applyThermocoupleUnit(config, false, false);
    EXPECT_EQ(config.optionFlags(), 0x2E);
}

} // namespace
} // namespace vessor
