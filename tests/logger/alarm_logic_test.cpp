// The alarm pages' decisions without widgets: the drop-down lists and their
// index formulas, the numeric page's ranges, order check and automatic
// adjustment, and the CO warning level with its questions.
#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include "logger/setup/alarm_list_logic.h"
#include "logger/setup/co_alarm_logic.h"
#include "logger/setup/number_alarm_logic.h"
#include "logger/conversion.h"
#include "logger/logger_config.h"
#include "logger/strings.h"
#include "test_support.h"

namespace vessor {
namespace {

using Edit = std::function<void(LoggerConfig&)>;

// An 8-bit temperature logger: 0.5 °C per count from −40 °C, or the same
// range in °F (0.9 °F per count) as the name page leaves it.
LoggerConfig byteLogger(int model, bool fahrenheit = false)
{
    LoggerConfig c;
    c.setModelType(model);
    c.setOptionFlags(fahrenheit ? 1 : 0);
    c.setCalGradient(fahrenheit ? 0.9f : 0.5f);
    c.setCalOffset(-40.0f);
    return c;
}

// --- Drop-down lists ----------------------------------------------------------

struct ListCase {
    AlarmListPage page;
    int model;
    bool fahrenheit;
    int count;
    const char* first;
    const char* second;
    const char* last;
};

class LevelLists : public ::testing::TestWithParam<ListCase> {};

TEST_P(LevelLists, HoldTheirEntriesWithUnits)
{
    const ListCase& c = GetParam();
    const LoggerConfig config = byteLogger(c.model, c.fahrenheit);
    const std::vector<std::string> texts = levelList(c.page, config).texts();
    ASSERT_EQ(static_cast<int>(texts.size()), c.count);
    EXPECT_EQ(texts.front(), c.first);
    EXPECT_EQ(texts[1], c.second);
    EXPECT_EQ(texts.back(), c.last);
}

INSTANTIATE_TEST_SUITE_P(
    AlarmPages, LevelLists,
    ::testing::Values(
        ListCase{AlarmListPage::Temperature, 2, false, 256, "87.5 \u00B0C", "87.0 \u00B0C", "-40.0 \u00B0C"},
        ListCase{AlarmListPage::Temperature, 2, true, 230, "189 \u00B0F", "188 \u00B0F", "-40 \u00B0F"},
        ListCase{AlarmListPage::LiteTemperature, 8, false, 61, "50 \u00B0C", "49 \u00B0C", "-10 \u00B0C"},
        ListCase{AlarmListPage::LiteTemperature, 8, true, 55, "122 \u00B0F", "120 \u00B0F", "14 \u00B0F"},
        ListCase{AlarmListPage::Humidity, 3, false, 201, "100.0 %", "99.5 %", "0.0 %"}));

struct IndexCase {
    AlarmListPage page;
    bool fahrenheit;
    double value;
    int index;
};

class ListIndex : public ::testing::TestWithParam<IndexCase> {};

TEST_P(ListIndex, ClampsAndRoundsHalfAway)
{
    const IndexCase& c = GetParam();
    const LevelList list = levelList(c.page, byteLogger(8, c.fahrenheit));
    EXPECT_EQ(list.indexOf(c.value), c.index);
}

INSTANTIATE_TEST_SUITE_P(
    Formulas, ListIndex,
    ::testing::Values(IndexCase{AlarmListPage::Temperature, false, 87.5, 0},
                      IndexCase{AlarmListPage::Temperature, false, 100, 0},
                      IndexCase{AlarmListPage::Temperature, false, -45, 255},
                      IndexCase{AlarmListPage::Temperature, false, 20, 135},
                      IndexCase{AlarmListPage::Temperature, false, 20.25, 135},  // 134.5 rounds away from zero
                      IndexCase{AlarmListPage::Temperature, true, 189, 0},
                      IndexCase{AlarmListPage::Temperature, true, -40, 229},
                      IndexCase{AlarmListPage::Temperature, true, 68.4, 121},
                      IndexCase{AlarmListPage::LiteTemperature, false, -10, 60},
                      IndexCase{AlarmListPage::LiteTemperature, false, 25.5, 25},
                      IndexCase{AlarmListPage::LiteTemperature, true, 121, 1},  // 61 - 60.5
                      IndexCase{AlarmListPage::LiteTemperature, true, 0, 54},
                      IndexCase{AlarmListPage::Humidity, false, 37.5, 125},
                      IndexCase{AlarmListPage::Humidity, false, -3, 200},
                      IndexCase{AlarmListPage::Humidity, false, 150, 0}));

TEST(AlarmListRead, SelectsTheStoredLevelsAtTheListEnds)
{
    LoggerConfig c = byteLogger(2);
    c.setCalOffset(-50.0f);     // raw 10 reads −45 °C, below the list
    c.setHighAlarmRaw(255);     // 77.5 °C
    c.setLowAlarmRaw(10);
    c.setAlarmFlags(ALARM_HIGH_ENABLED | ALARM_LOW_HOLD);
    const AlarmListState s = readAlarmList(AlarmListPage::Temperature, c);
    EXPECT_EQ(s.highIndex, 20);
    EXPECT_EQ(s.lowIndex, 255);
    EXPECT_TRUE(s.highEnabled);
    EXPECT_FALSE(s.lowEnabled);
    EXPECT_FALSE(s.highHold);
    EXPECT_TRUE(s.lowHold);

    c.setCalOffset(-40.0f);     // raw 255 is the list's top, 87.5 °C
    EXPECT_EQ(readAlarmList(AlarmListPage::Temperature, c).highIndex, 0);
}

TEST(AlarmListStore, StoresRawLevelsHoldsAndHumidityHalfUnits)
{
    LoggerConfig c = byteLogger(3);
    AlarmListState s;
    s.highIndex = 135;   // 20.0 °C
    s.lowIndex = 255;    // −40.0 °C
    s.highHold = true;
    storeAlarmList(AlarmListPage::Temperature, c, s);
    EXPECT_EQ(c.highAlarmRaw(), 120u);
    EXPECT_EQ(c.lowAlarmRaw(), 0u);
    EXPECT_EQ(c.alarmFlags(), ALARM_HIGH_HOLD);

    s = {};
    s.highIndex = 125;   // 37.5 %rh
    s.lowIndex = 200;    // 0 %rh
    s.lowHold = true;
    storeAlarmList(AlarmListPage::Humidity, c, s);
    EXPECT_EQ(c.rhHighAlarm(), 75);
    EXPECT_EQ(c.rhLowAlarm(), 0);
    EXPECT_EQ(c.alarmFlags(), ALARM_HIGH_HOLD | ALARM_RH_LOW_HOLD);

    // In °F the selection is stored through the °F calibration.
    LoggerConfig f = byteLogger(2, true);
    s = {};
    s.highIndex = 0;     // 189 °F
    s.lowIndex = 229;    // −40 °F
    storeAlarmList(AlarmListPage::Temperature, f, s);
    EXPECT_NEAR(f.highAlarmValue(), 189.0, 0.45);   // within half a count
    EXPECT_NEAR(f.lowAlarmValue(), -40.0, 1e-4);
}

TEST(AlarmListStore, UnitByteOtherThanOneShowsAndStoresCelsius)
{
    // A stray unit byte must not show °F entries and store them as °C.
    LoggerConfig c = byteLogger(2);
    c.setOptionFlags(2);
    EXPECT_EQ(levelList(AlarmListPage::Temperature, c).texts().front(), "87.5 \u00B0C");
}

TEST(AlarmListStore, LevelsNeverWrapRoundTheByte)
{
    LoggerConfig c = byteLogger(2);
    c.setCalOffset(-60.0f);   // 87.5 °C would need raw 295
    AlarmListState s;
    s.highIndex = 0;
    s.lowIndex = 255;
    storeAlarmList(AlarmListPage::Temperature, c, s);
    EXPECT_EQ(c.highAlarmRaw(), 255u);
}

struct OrderCase {
    const char* name;
    AlarmListPage page;
    std::uint8_t flags;
    int highIndex;
    int lowIndex;
    bool passes;
};

class AlarmOrder : public ::testing::TestWithParam<OrderCase> {};

TEST_P(AlarmOrder, RefusesHighNotAboveLowOnlyWithBothEnabled)
{
    const OrderCase& c = GetParam();
    LoggerConfig config = byteLogger(3);
    config.setAlarmFlags(c.flags);
    AlarmListState s;
    s.highIndex = c.highIndex;
    s.lowIndex = c.lowIndex;
    storeAlarmList(c.page, config, s);
    test::RecordingUserInterface ui;
    EXPECT_EQ(checkAlarmOrder(c.page, config, ui), c.passes);
    const std::vector<std::string> expected =
        c.passes ? std::vector<std::string>{} : std::vector<std::string>{messageText(MSG_HIGH_NOT_ABOVE_LOW)};
    EXPECT_EQ(ui.texts(), expected);
    // Stored whether or not the check passes.
    const LevelList list = levelList(c.page, config);
    const float high = c.page == AlarmListPage::Humidity ? config.rhHighAlarmValue() : config.highAlarmValue();
    EXPECT_FLOAT_EQ(high, static_cast<float>(list.valueAt(c.highIndex)));
}

constexpr std::uint8_t BOTH = ALARM_HIGH_ENABLED | ALARM_LOW_ENABLED;
constexpr std::uint8_t RH_BOTH = ALARM_RH_HIGH_ENABLED | ALARM_RH_LOW_ENABLED;

INSTANTIATE_TEST_SUITE_P(
    Pages, AlarmOrder,
    ::testing::Values(OrderCase{"EqualBothEnabled", AlarmListPage::Temperature, BOTH, 135, 135, false},
                      OrderCase{"HighBelowLow", AlarmListPage::Temperature, BOTH, 200, 135, false},
                      OrderCase{"EqualHighOnly", AlarmListPage::Temperature, ALARM_HIGH_ENABLED, 135, 135, true},
                      OrderCase{"EqualLowOnly", AlarmListPage::Temperature, ALARM_LOW_ENABLED, 135, 135, true},
                      OrderCase{"HighAbove", AlarmListPage::Temperature, BOTH, 134, 135, true},
                      OrderCase{"HumidityFlagsDoNotCount", AlarmListPage::Temperature, RH_BOTH, 135, 135, true},
                      OrderCase{"HumidityEqual", AlarmListPage::Humidity, RH_BOTH, 40, 40, false},
                      OrderCase{"HumidityTemperatureFlags", AlarmListPage::Humidity, BOTH, 40, 40, true},
                      OrderCase{"HumidityAbove", AlarmListPage::Humidity, RH_BOTH, 40, 41, true}),
    [](const auto& info) { return std::string(info.param.name); });

// --- Numeric alarm page ---------------------------------------------------------

// A voltage logger with a full-scale input of 31.96875 V (exact in binary)
// whose custom scaling maps (in1 → out1), (in2 → out2).
LoggerConfig voltageLogger(int model, const char* in1, const char* out1, const char* in2, const char* out2)
{
    LoggerConfig c;
    c.setModelType(model);
    c.setCalGradient(1.0f);
    c.setCalOffset(0.0f);
    c.setF32At(field::CAP_SCALAR, 1.0f / 2048.0f);
    c.setOptionFlags(1);
    c.setScaleInput1Text(in1);
    c.setScaleOutput1Text(out1);
    c.setScaleInput2Text(in2);
    c.setScaleOutput2Text(out2);
    applyScaling(c);
    return c;
}

// A voltage or current logger as it leaves the factory: its capScalar is
// full scale / 65472 as a float, so the full scale comes out a few parts in
// 10^9 off (9.99999999 V for 10 V). Custom scaling when points are given.
LoggerConfig factoryLogger(int model, float fullScale, const char* in1 = nullptr, const char* out1 = nullptr,
                           const char* in2 = nullptr, const char* out2 = nullptr)
{
    LoggerConfig c;
    c.setModelType(model);
    c.setCalGradient(1.0f);
    c.setCalOffset(0.0f);
    c.setF32At(field::CAP_SCALAR, fullScale / 65472.0f);
    const std::string top = formatFixed(fullScale, 0);
    c.setTextAt(field::DEFAULT_INPUT1_TEXT, field::SCALE_TEXT_WIDTH, "0");
    c.setTextAt(field::DEFAULT_OUTPUT1_TEXT, field::SCALE_TEXT_WIDTH, "0");
    c.setTextAt(field::DEFAULT_INPUT2_TEXT, field::SCALE_TEXT_WIDTH, top);
    c.setTextAt(field::DEFAULT_OUTPUT2_TEXT, field::SCALE_TEXT_WIDTH, top);
    c.setOptionFlags(in1 ? 1 : 0);
    if (in1) {
        c.setScaleInput1Text(in1);
        c.setScaleOutput1Text(out1);
        c.setScaleInput2Text(in2);
        c.setScaleOutput2Text(out2);
    }
    // The scaling page takes these points, full scale included.
    EXPECT_EQ(applyScaling(c), SCALING_OK);
    return c;
}

LoggerConfig wordLogger(int model, std::uint8_t options)
{
    LoggerConfig c;
    c.setModelType(model);
    c.setOptionFlags(options);
    if (model == MODEL_ZR_T_PRO) {
        c.setCalGradient(0.01f);
        c.setCalOffset(-40.0f);
    }
    return c;
}

struct RangeCase {
    const char* name;
    std::function<LoggerConfig()> make;
    double min;
    double max;
    int decimals;
};

class NumberRange : public ::testing::TestWithParam<RangeCase> {};

TEST_P(NumberRange, FollowsTheModelAndUnit)
{
    const RangeCase& c = GetParam();
    const LoggerConfig config = c.make();
    const AlarmRange r = numberAlarmRange(config);
    EXPECT_DOUBLE_EQ(r.min, c.min);
    EXPECT_DOUBLE_EQ(r.max, c.max);
    EXPECT_EQ(numberAlarmDecimals(config), c.decimals);
}

INSTANTIATE_TEST_SUITE_P(
    Models, NumberRange,
    ::testing::Values(
        RangeCase{"TcCelsius", [] { return wordLogger(10, TC_TYPE_K); }, -200, 1300, 1},
        RangeCase{"TcFahrenheit", [] { return wordLogger(15, TC_TYPE_K | TC_FAHRENHEIT); }, -328, 2372, 0},
        RangeCase{"ProCelsius", [] { return wordLogger(14, 0); }, -40, 125, 1},
        RangeCase{"ProFahrenheit", [] { return wordLogger(14, 1); }, -40, 257, 1},
        RangeCase{"RechargeableCelsius", [] { return wordLogger(18, 0); }, -20, 60, 1},
        RangeCase{"RechargeableFahrenheit", [] { return wordLogger(18, 1); }, -4, 140, 1},
        // Scaled ×10: 0..319.6875 in steps of 0.5, the top rounded inward.
        RangeCase{"VoltageScaled", [] { return voltageLogger(4, "0", "0", "10", "100"); }, 0, 319.6, 1},
        // Falling: 100 at 0 V down to −219.6875 at full scale.
        RangeCase{"VoltageFalling", [] { return voltageLogger(7, "0", "100", "10", "0"); }, -219.6, 100, 1},
        // A 4..20 loop over the whole input: steps of 0.02.
        RangeCase{"CurrentLoop", [] { return voltageLogger(5, "0", "4", "30", "20"); }, 4, 21.05, 2},
        // Full scale reaches the last display step although the float
        // capScalar puts it a hair below.
        RangeCase{"FactoryTenVolts", [] { return factoryLogger(4, 10); }, 0, 10, 2},
        RangeCase{"FactoryTwentyMilliamps", [] { return factoryLogger(5, 20); }, 0, 20, 2},
        RangeCase{"PercentOfTwentyMilliamps", [] { return factoryLogger(7, 20, "0", "0", "20", "100"); }, 0, 100, 1},
        RangeCase{"FallingToZero", [] { return factoryLogger(5, 20, "0", "100", "20", "0"); }, 0, 100, 1},
        RangeCase{"FallingVolts", [] { return factoryLogger(6, 10, "0", "10", "10", "0"); }, 0, 10, 2},
        // A bound exactly on a step stays there on either side of zero.
        RangeCase{"NegativeTop", [] { return factoryLogger(4, 10, "0", "-20", "10", "-10"); }, -20, -10, 2},
        RangeCase{"FallingPositiveBottom", [] { return factoryLogger(4, 10, "0", "20", "10", "10"); }, 10, 20, 2},
        // Full scale between two steps still loses the part step.
        RangeCase{"PartStepCut", [] { return factoryLogger(4, 10, "0", "0", "3", "1"); }, 0, 3.333, 3}),
    [](const auto& info) { return std::string(info.param.name); });

// What the user leaves on the page; the boxes' texts are the values in
// `decimals` places.
struct TypedLevels {
    bool highEnabled;
    bool lowEnabled;
    double high;
    double low;

    NumberAlarmEntry entry(int decimals) const
    {
        NumberAlarmEntry e;
        e.highEnabled = highEnabled;
        e.lowEnabled = lowEnabled;
        e.high = high;
        e.low = low;
        e.highText = formatFixed(high, decimals);
        e.lowText = formatFixed(low, decimals);
        return e;
    }
};

struct NumberCase {
    const char* name;
    std::function<LoggerConfig()> make;
    TypedLevels typed;
    std::vector<int> messages;
    AlarmBox focus;
    std::optional<double> adjusted;        // value put into the focused box
    std::optional<double> storedHigh;      // highAlarmValue afterwards
    std::optional<double> storedLow;
};

class NumberNext : public ::testing::TestWithParam<NumberCase> {};

TEST_P(NumberNext, ChecksAdjustsAndStores)
{
    const NumberCase& c = GetParam();
    LoggerConfig config = c.make();
    config.setHighAlarmRaw(1234);
    config.setLowAlarmRaw(1000);
    const float highBefore = config.highAlarmValue();
    const float lowBefore = config.lowAlarmValue();
    test::RecordingUserInterface ui;
    const NumberAlarmOutcome out = storeNumberAlarms(config, c.typed.entry(1), ui);

    std::vector<std::string> expected;
    for (int id : c.messages)
        expected.push_back(messageText(id));
    EXPECT_EQ(ui.texts(), expected);
    EXPECT_EQ(out.stored, c.messages.empty());
    EXPECT_EQ(out.focus, c.focus);
    if (c.adjusted) {
        EXPECT_EQ(out.adjustedBox, c.focus);
        EXPECT_DOUBLE_EQ(out.adjustedValue, *c.adjusted);
    } else {
        EXPECT_EQ(out.adjustedBox, AlarmBox::None);
    }
    // Within one count of the level (5 mV on the voltage loggers).
    EXPECT_NEAR(config.highAlarmValue(), c.storedHigh.value_or(highBefore), 0.01);
    EXPECT_NEAR(config.lowAlarmValue(), c.storedLow.value_or(lowBefore), 0.01);
}

const auto PRO_C = [] { return wordLogger(14, 0); };
const auto RC_F = [] { return wordLogger(18, 1); };
const auto TC_C = [] { return wordLogger(10, TC_TYPE_K); };
const auto FALLING = [] { return voltageLogger(4, "0", "100", "10", "0"); };   // 100 .. −200

INSTANTIATE_TEST_SUITE_P(
    Cases, NumberNext,
    ::testing::Values(
        NumberCase{"ProHighAboveEnabled", PRO_C, true, true, 130, 20, {MSG_HIGH_ALARM_ADJUSTED}, AlarmBox::High, 125, {}, {}},
        NumberCase{"ProHighAboveDisabled", PRO_C, false, true, 130, 20, {}, AlarmBox::None, {}, 125, 20},
        NumberCase{"ProHighBelowEnabled", PRO_C, true, false, -41, -50, {MSG_HIGH_ALARM_ADJUSTED}, AlarmBox::High, -40, {}, {}},
        NumberCase{"ProLowBelowDisabled", PRO_C, true, false, 30, -50, {}, AlarmBox::None, {}, 30, -40},
        NumberCase{"RcFahrenheitBounds", RC_F, true, true, 140, -4, {}, AlarmBox::None, {}, 140, -4},
        // The high level is already stored when the low one is refused.
        NumberCase{"RcFahrenheitLowBelow", RC_F, true, true, 140, -5, {MSG_LOW_ALARM_ADJUSTED}, AlarmBox::Low, -4, 140, {}},
        NumberCase{"RcFahrenheitLowAbove", RC_F, false, true, 150, 141, {MSG_LOW_ALARM_ADJUSTED}, AlarmBox::Low, 140, 140, {}},
        NumberCase{"EqualBothEnabled", TC_C, true, true, 300, 300, {MSG_HIGH_NOT_ABOVE_LOW}, AlarmBox::High, {}, {}, {}},
        NumberCase{"LowAboveHighOneEnabled", TC_C, true, false, 300, 400, {}, AlarmBox::None, {}, 300, 400},
        NumberCase{"TcBounds", TC_C, true, true, 1300, -200, {}, AlarmBox::None, {}, 1300, -200},
        // Falling scaling: high 10 and low 2 keep their meaning.
        NumberCase{"FallingStored", FALLING, true, true, 10, 2, {}, AlarmBox::None, {}, 10, 2},
        NumberCase{"FallingLowBelow", FALLING, true, true, 10, -250, {MSG_LOW_ALARM_ADJUSTED}, AlarmBox::Low, -219.6, {}, {}},
        NumberCase{"FallingLowAbove", FALLING, false, true, 10, 120, {MSG_LOW_ALARM_ADJUSTED}, AlarmBox::Low, 100, {}, {}},
        // The user's low level is in the (high) slot before the high level is refused.
        NumberCase{"FallingHighAbove", FALLING, true, true, 150, 2, {MSG_HIGH_ALARM_ADJUSTED}, AlarmBox::High, 100, {}, 2},
        NumberCase{"FallingHighBelow", FALLING, true, false, -230, -300, {MSG_HIGH_ALARM_ADJUSTED}, AlarmBox::High, -219.6, {}, -219.6},
        // Raw 0 reads 100, so the low slot keeps the floor of 31 counts.
        NumberCase{"FallingHighAboveDisabled", FALLING, false, true, 150, 2, {}, AlarmBox::None, {}, 100 - 310.0 / 2048, 2}),
    [](const auto& info) { return std::string(info.param.name); });

// Full scale typed, or taken by a disabled alarm, is stored as full scale and
// shown so again: no message, no step lost.
struct FullScaleCase {
    const char* name;
    std::function<LoggerConfig()> make;
    TypedLevels typed;
    const char* highShown;   // formatHighAlarm afterwards
    const char* lowShown;
};

class NumberFullScale : public ::testing::TestWithParam<FullScaleCase> {};

TEST_P(NumberFullScale, IsStoredAndShownAsTyped)
{
    const FullScaleCase& c = GetParam();
    LoggerConfig config = c.make();
    const int decimals = numberAlarmDecimals(config);
    test::RecordingUserInterface ui;
    EXPECT_TRUE(storeNumberAlarms(config, c.typed.entry(decimals), ui).stored);
    EXPECT_EQ(ui.texts(), std::vector<std::string>{});
    EXPECT_EQ(formatHighAlarm(config), c.highShown);
    EXPECT_EQ(formatLowAlarm(config), c.lowShown);
    // The page shows the stored levels again without moving them.
    const NumberAlarmState shown = readNumberAlarms(config);
    EXPECT_EQ(formatFixed(shown.high, decimals), c.highShown);
    EXPECT_EQ(formatFixed(shown.low, decimals), c.lowShown);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NumberFullScale,
    ::testing::Values(
        FullScaleCase{"TenVolts", [] { return factoryLogger(4, 10); }, true, true, 10, 0, "10.00", "0.00"},
        FullScaleCase{"TenVoltsHighDisabled", [] { return factoryLogger(6, 10); }, false, true, 12, 1, "10.00", "1.00"},
        FullScaleCase{"TwentyMilliamps", [] { return factoryLogger(5, 20); }, true, true, 20, 4, "20.00", "4.00"},
        FullScaleCase{"Percent", [] { return factoryLogger(7, 20, "0", "0", "20", "100"); }, true, true, 100, 0,
                      "100.0", "0.0"},
        // Falling: the levels trade slots and read back as typed.
        FullScaleCase{"FallingPercent", [] { return factoryLogger(5, 20, "0", "100", "20", "0"); }, true, true,
                      100, 0, "100.0", "0.0"},
        FullScaleCase{"FallingLowDisabled", [] { return factoryLogger(4, 10, "0", "10", "10", "0"); }, true, false,
                      5, -3, "5.00", "0.00"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(NumberNext, FallingScalingExchangesTheSlots)
{
    LoggerConfig c = voltageLogger(4, "0", "100", "10", "0");
    ASSERT_FALSE(isAscending(c));
    NumberAlarmEntry e;
    e.highEnabled = e.lowEnabled = true;
    e.high = 10;
    e.low = 2;
    test::RecordingUserInterface ui;
    ASSERT_TRUE(storeNumberAlarms(c, e, ui).stored);
    EXPECT_EQ(c.u16At(field::HIGH_ALARM_RAW), static_cast<unsigned>(valueToRaw(c, 2.0f)));
    EXPECT_EQ(c.u16At(field::LOW_ALARM_RAW16), static_cast<unsigned>(valueToRaw(c, 10.0f)));
    EXPECT_GT(c.u16At(field::HIGH_ALARM_RAW), c.u16At(field::LOW_ALARM_RAW16));
}

TEST(NumberNext, LowRawFloorWhenTheScaledZeroIsPositive)
{
    // 0 V reads 4 (a 4..20 loop): a low alarm at the bottom sits at raw 31.
    LoggerConfig c = voltageLogger(5, "0", "4", "30", "20");
    NumberAlarmEntry e;
    e.highEnabled = true;
    e.high = 12;
    e.low = 4;
    test::RecordingUserInterface ui;
    ASSERT_TRUE(storeNumberAlarms(c, e, ui).stored);
    EXPECT_EQ(c.lowAlarmRaw(), 31u);

    // From a zero scaled zero no floor applies.
    LoggerConfig z = voltageLogger(4, "0", "0", "30", "30");
    e.low = 0;
    ASSERT_TRUE(storeNumberAlarms(z, e, ui).stored);
    EXPECT_EQ(z.lowAlarmRaw(), 0u);
}

TEST(NumberNext, TextsStoredOnlyWhereTheyAreShown)
{
    NumberAlarmEntry e;
    e.highEnabled = e.lowEnabled = true;
    e.high = 8.5;
    e.low = 1.25;
    e.highText = "8.50";
    e.lowText = "1.25";
    test::RecordingUserInterface ui;

    LoggerConfig text = voltageLogger(6, "0", "0", "30", "30");
    ASSERT_TRUE(storeNumberAlarms(text, e, ui).stored);
    EXPECT_EQ(text.highAlarmText(), "8.50");
    EXPECT_EQ(text.lowAlarmText(), "1.25");
    EXPECT_EQ(formatHighAlarm(text), "8.50");

    LoggerConfig plain = voltageLogger(4, "0", "0", "30", "30");
    ASSERT_TRUE(storeNumberAlarms(plain, e, ui).stored);
    EXPECT_EQ(plain.highAlarmText(), "");

    // A disabled level outside the range is stored as the bound, and its
    // text says so.
    e.highEnabled = false;
    e.high = 99;
    e.highText = "99.00";
    ASSERT_TRUE(storeNumberAlarms(text, e, ui).stored);
    EXPECT_EQ(text.highAlarmText(), formatFixed(numberAlarmRange(text).max, numberAlarmDecimals(text)));
}

TEST(NumberRead, ShowsStoredLevelsWithinTheRangeAndHidesTheLedBoxOnThePro)
{
    LoggerConfig pro = wordLogger(14, 0);
    pro.setHighAlarmRaw(static_cast<unsigned>(valueToRaw(pro, 200.0f)));   // above 125
    pro.setLowAlarmRaw(static_cast<unsigned>(valueToRaw(pro, 20.0f)));
    pro.setModeFlags(MODE_LEDS_DISABLED | MODE_BIT2);
    const NumberAlarmState s = readNumberAlarms(pro);
    EXPECT_DOUBLE_EQ(s.high, 125);
    EXPECT_DOUBLE_EQ(s.low, 20);
    EXPECT_FALSE(s.ledsDisabled);
    EXPECT_EQ(pro.modeFlags(), MODE_BIT2);
    EXPECT_FALSE(offersDisableLeds(pro));

    LoggerConfig rc = wordLogger(18, 0);
    rc.setHighAlarmRaw(0);   // −200 °C, below −20
    rc.setLowAlarmRaw(static_cast<unsigned>(valueToRaw(rc, 70.0f)));
    rc.setModeFlags(MODE_LEDS_DISABLED);
    const NumberAlarmState r = readNumberAlarms(rc);
    EXPECT_DOUBLE_EQ(r.high, 60);
    EXPECT_DOUBLE_EQ(r.low, -20);
    EXPECT_TRUE(r.ledsDisabled);
}

// --- CO warning page ---------------------------------------------------------------

LoggerConfig coLogger(int model)
{
    LoggerConfig c;
    c.setModelType(model);
    c.setCalGradient(model == MODEL_ZR_CO ? 0.25f : 0.1f);
    c.setCalOffset(0.0f);
    c.setAlarmFlags(ALARM_HIGH_ENABLED | ALARM_LOW_ENABLED);
    c.setLowAlarmRaw(static_cast<unsigned>(valueToRaw(c, 35.0f)));
    return c;
}

struct CoCase {
    const char* name;
    int model;
    bool led;
    bool sounder;
    double level;
    std::vector<Answer> answers;
    std::vector<std::string> texts;
    CoControl focus;
    std::optional<int> adjusted;
    std::optional<double> stored;   // lowAlarmValue afterwards
};

class CoNext : public ::testing::TestWithParam<CoCase> {};

TEST_P(CoNext, ChecksAsksAndStores)
{
    const CoCase& c = GetParam();
    LoggerConfig config = coLogger(c.model);
    const unsigned before = config.lowAlarmRaw();
    test::RecordingUserInterface ui;
    for (Answer a : c.answers)
        ui.script({a});
    CoAlarmState entry;
    entry.ledEnabled = c.led;
    entry.hold = true;
    entry.sounder = c.sounder;
    entry.level = c.level;
    const CoAlarmOutcome out = storeCoAlarms(config, entry, ui);

    EXPECT_EQ(ui.texts(), c.texts);
    EXPECT_EQ(ui.unusedAnswers(), 0u);
    EXPECT_EQ(out.stored, c.stored.has_value());
    EXPECT_EQ(out.focus, c.focus);
    EXPECT_EQ(out.levelAdjusted, c.adjusted.has_value());
    EXPECT_EQ(out.adjustedLevel, c.adjusted.value_or(0));
    // The high alarm is off and parked above the range whatever follows.
    EXPECT_FALSE(config.alarmFlags() & ALARM_HIGH_ENABLED);
    EXPECT_FLOAT_EQ(config.highAlarmValue(), static_cast<float>(coLevelMax(config) + 1));
    if (c.stored) {
        EXPECT_FLOAT_EQ(config.lowAlarmValue(), static_cast<float>(*c.stored));
        EXPECT_TRUE(config.alarmFlags() & ALARM_LOW_HOLD);
        EXPECT_EQ((config.modeFlags() & MODE_SOUNDER) != 0, c.sounder);
    } else {
        EXPECT_EQ(config.lowAlarmRaw(), before);
    }
}

const std::string RANGE_1000 = "Error:- Warning Level out of range.\n(Range: 3-1000ppm)";
const std::string RANGE_300 = "Error:- Warning Level out of range.\n(Range: 3-300ppm)";

INSTANTIATE_TEST_SUITE_P(
    Cases, CoNext,
    ::testing::Values(
        CoCase{"Co300Above", 11, true, true, 400, {}, {RANGE_300}, CoControl::Level, 50, {}},
        CoCase{"CoAbove", 9, true, true, 1001, {}, {RANGE_1000}, CoControl::Level, 50, {}},
        CoCase{"CoTop", 9, true, true, 1000, {Answer::Yes}, {messageText(MSG_WARNING_ABOVE_SAFE)}, CoControl::None, {}, 1000},
        CoCase{"CoBelow", 9, true, true, 2, {}, {RANGE_1000}, CoControl::Level, 3, {}},
        CoCase{"RoundsBeforeChecking", 9, true, true, 2.5, {}, {}, CoControl::None, {}, 3},
        CoCase{"SafeWithSounder", 9, true, true, 50, {}, {}, CoControl::None, {}, 50},
        CoCase{"AboveSafeYes", 9, true, true, 51, {Answer::Yes}, {messageText(MSG_WARNING_ABOVE_SAFE)}, CoControl::None, {}, 51},
        CoCase{"AboveSafeNo", 9, true, true, 51, {Answer::No}, {messageText(MSG_WARNING_ABOVE_SAFE)}, CoControl::Level, {}, {}},
        CoCase{"AboveSafeNoSounder", 11, true, false, 200, {Answer::Yes}, {messageText(MSG_WARNING_ABOVE_SAFE_NO_SOUNDER)}, CoControl::None, {}, 200},
        CoCase{"SounderOffYes", 9, true, false, 50, {Answer::Yes}, {messageText(MSG_SOUNDER_DISABLED)}, CoControl::None, {}, 50},
        CoCase{"SounderOffNo", 9, true, false, 20, {Answer::No}, {messageText(MSG_SOUNDER_DISABLED)}, CoControl::Sounder, {}, {}},
        CoCase{"LedOffBelow", 9, false, false, 2, {}, {}, CoControl::None, {}, 50},
        CoCase{"LedOffAbove", 11, false, true, 400, {}, {}, CoControl::None, {}, 50},
        CoCase{"LedOffHighLevelAsksNothing", 9, false, false, 900, {}, {}, CoControl::None, {}, 900}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CoRead, ReplacesLevelsOutsideTheModelsRange)
{
    struct Row {
        int model;
        float level;
        double shown;
    };
    for (const Row& r : {Row{11, 350, 50}, Row{11, 1, 1}, Row{11, 300, 300}, Row{9, 2, 50}, Row{9, 1000, 1000},
                         Row{9, 1100, 50}}) {
        LoggerConfig c = coLogger(r.model);
        c.setLowAlarmRaw(static_cast<unsigned>(valueToRaw(c, r.level)));
        EXPECT_DOUBLE_EQ(readCoAlarms(c).level, r.shown) << "model " << r.model << " level " << r.level;
    }
}

} // namespace
} // namespace vessor
