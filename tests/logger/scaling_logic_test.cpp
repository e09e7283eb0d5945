// The custom scaling page's decisions: the unit list, the check of stored
// point texts and what Next stores and reports.
#include <gtest/gtest.h>

#include <clocale>
#include <string>

#include "logger/setup/scaling_page_logic.h"
#include "logger/conversion.h"
#include "logger/logger_config.h"
#include "logger/sim/simulated_logger.h"
#include "logger/strings.h"

namespace vessor {
namespace {

const std::string DEGREE_C = "\u00B0C";

TEST(ScalingUnitList, HoldsTheUnitsInAnOrderIndependentOfAddingAndLocale)
{
    const UnitListState state = unitListFor("");
    ASSERT_EQ(state.entries.size(), 26);
    const UnitList expected = {
        "%",   "%RH", DEGREE_C, "\u00B0F", "Amps", "g", "Hz", "K", "kg",
        "kHz", "kph", "kVolts", "Lux", "mBar", "mm/sec", "mph", "N", "Nm", "pH", "ppm CO",
        "ppm CO2", "ppm O2", "PSI", "RPM", "Volts", "Watts"};
    EXPECT_EQ(state.entries, expected);
    EXPECT_EQ(state.selected, -1);
    EXPECT_EQ(state.text, "");

    // The same list whatever the order of adding.
    UnitList reversed;
    for (auto it = scalingUnits().rbegin(); it != scalingUnits().rend(); ++it)
        insertSorted(reversed, *it);
    EXPECT_EQ(reversed, expected);
}

struct UnitCase {
    const char* stored;   // UTF-8
    const char* shown;
    bool added;           // a 27th entry
};

class StoredUnit : public ::testing::TestWithParam<UnitCase> {};

TEST_P(StoredUnit, IsSelectedByPrefixOrAdded)
{
    const UnitCase& c = GetParam();
    const UnitListState state = unitListFor(c.stored);
    EXPECT_EQ(state.entries.size(), c.added ? 27 : 26);
    ASSERT_GE(state.selected, 0);
    EXPECT_EQ(state.entries.at(static_cast<std::size_t>(state.selected)), c.shown);
    EXPECT_EQ(state.text, c.shown);
    // Still sorted after adding.
    for (std::size_t i = 1; i < state.entries.size(); ++i)
        EXPECT_TRUE(unitSortsBefore(state.entries.at(i - 1), state.entries.at(i)));
}

INSTANTIATE_TEST_SUITE_P(Units, StoredUnit,
                         ::testing::Values(UnitCase{"ppm CO2", "ppm CO2", false},
                                           UnitCase{"ppm CO", "ppm CO", false},
                                           UnitCase{"Pa", "Pa", true},
                                           UnitCase{"volt", "Volts", false},
                                           UnitCase{"VOLTS", "Volts", false},
                                           UnitCase{"k", "K", false},
                                           UnitCase{"\u00B0c", "\u00B0C", false},
                                           UnitCase{"litres/m", "litres/m", true},
                                           UnitCase{"Volts/s", "Volts/s", true}));

TEST(ScalingUnitList, UnitBoxTakesOnlyWhatTheBlockAndTheFileCanHold)
{
    for (const char* ok : {"a", "Z", "/", "%", "\u00B0", "\u00B5", "\u20AC", " ", "?", "("})
        EXPECT_TRUE(isUnitText(ok)) << ok;
    // Outside Windows-1252, control characters, and the field separator.
    for (const char* bad : {",", "\u03A9", "\u2103", "\t", "\x7F"})
        EXPECT_FALSE(isUnitText(bad)) << bad;
}

TEST(ScalingPointText, StoredTextsThatAreNoNumberShowAsZero)
{
    const struct {
        const char* stored;
        const char* shown;
    } cases[] = {
        {"2.5", "2.5"},
        {"  -1.25", "-1.25"},       // leading blanks go
        {"-.5", "-.5"},
        {"+3", "+3"},
        {".5", ".5"},
        {"1234567", "1234567"},     // 7 characters: the most a box holds
        {"12345678", "0.00"},
        {"", "0.00"},
        {"   ", "0.00"},
        {"1.2.3", "0.00"},          // two full stops
        {"..", "0.00"},
        {"a1", "0.00"},
        {"1a", "0.00"},             // a letter after the first character
        {"1-2", "0.00"},            // a sign after the first character
        {"\xB0" "5", "0.00"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(checkedPointText(c.stored), c.shown) << '"' << c.stored << '"';
}

TEST(ScalingPointText, NumbersAreTextsWithDigitsAndAtMostOneStop)
{
    for (const char* yes : {"0", "-.5", "5.", "+2", "10.125", " 7"})
        EXPECT_TRUE(isPointNumber(yes)) << yes;
    for (const char* no : {"", "-", ".", "+", "1.2.3", "1-2", "abc", "5 ", "--5"})
        EXPECT_FALSE(isPointNumber(no)) << no;
}

// A factory voltage logger (0..10 V in, 10 V full scale) with custom scaling
// chosen on the naming page.
LoggerConfig customVoltageLogger(int model = 4)
{
    sim::FactoryOptions options;
    options.modelType = model;
    std::string error;
    const auto image = sim::makeFactoryImage(options, error);
    EXPECT_TRUE(image) << error;
    LoggerConfig config;
    if (image)
        config.setBlock(image->block);
    config.setOptionFlags(1);
    applyScaling(config);
    return config;
}

struct NextCase {
    const char* name;
    ScalingEntry entry;
    int messageId;
    ScalingBox focus;
};

class ScalingNext : public ::testing::TestWithParam<NextCase> {};

TEST_P(ScalingNext, ReportsTheFirstFaultOnItsBox)
{
    const NextCase& c = GetParam();
    LoggerConfig config = customVoltageLogger();
    const ScalingVerdict verdict = storeCustomScaling(config, c.entry);
    EXPECT_EQ(verdict.messageId, c.messageId);
    EXPECT_EQ(verdict.focus, c.focus);
    // The texts are stored as typed, refused or not.
    EXPECT_EQ(config.scaleOutput1Text(), c.entry.output1);
    EXPECT_EQ(config.scaleInput1Text(), c.entry.input1);
    EXPECT_EQ(config.scaleOutput2Text(), c.entry.output2);
    EXPECT_EQ(config.scaleInput2Text(), c.entry.input2);
    // An accepted entry leaves the scaling derived from it.
    if (c.messageId == 0) {
        EXPECT_FLOAT_EQ(config.scaleGradient, deriveScaling(config).gradient);
    }
}

ScalingEntry points(const char* in1, const char* out1, const char* in2, const char* out2)
{
    return {"PSI", out1, in1, out2, in2};
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ScalingNext,
    ::testing::Values(
        NextCase{"Valid", points("0", "0", "10", "100"), 0, ScalingBox::None},
        NextCase{"Descending", points("1", "50", "9", "-50"), 0, ScalingBox::None},
        NextCase{"EqualInputs", points("0", "0", "0", "5"), MSG_INPUTS_EQUAL, ScalingBox::Input2},
        NextCase{"EqualOutputs", points("1", "5", "2", "5"), MSG_OUTPUTS_EQUAL, ScalingBox::Output2},
        NextCase{"Input1AboveFullScale", points("12", "0", "1", "5"), MSG_INPUT_OUT_OF_RANGE,
                 ScalingBox::Input1},
        NextCase{"Input1Negative", points("-1", "0", "5", "5"), MSG_INPUT_OUT_OF_RANGE, ScalingBox::Input1},
        NextCase{"Input2AboveFullScale", points("0", "0", "10.5", "5"), MSG_INPUT_OUT_OF_RANGE,
                 ScalingBox::Input2},
        NextCase{"Input2Negative", points("1", "0", "-.5", "5"), MSG_INPUT_OUT_OF_RANGE, ScalingBox::Input2},
        // An empty output 1 wins over everything else that is wrong.
        NextCase{"EmptyOutput1", points("", "", "", ""), MSG_INVALID_NUMBER, ScalingBox::Output1},
        NextCase{"EmptyOutput1BeforeEqualInputs", points("3", "", "3", "5"), MSG_INVALID_NUMBER,
                 ScalingBox::Output1},
        NextCase{"EmptyInput1", points("", "1", "3", "5"), MSG_INVALID_NUMBER, ScalingBox::Input1},
        NextCase{"EmptyOutput2", points("1", "1", "3", ""), MSG_INVALID_NUMBER, ScalingBox::Output2},
        NextCase{"EmptyInput2", points("1", "1", "", "4"), MSG_INVALID_NUMBER, ScalingBox::Input2},
        // Pasted text that is no number is not read as 0.
        NextCase{"PastedLetters", points("0", "0", "abc", "5"), MSG_INVALID_NUMBER, ScalingBox::Input2},
        NextCase{"LoneMinus", points("-", "0", "5", "5"), MSG_INVALID_NUMBER, ScalingBox::Input1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ScalingNext, StoresTheUnitWithoutLeadingBlanksAsWindows1252)
{
    LoggerConfig config = customVoltageLogger();
    ScalingEntry entry = points("0", "-20", "10", "120");
    entry.unit = "  \u00B0C";
    ASSERT_EQ(storeCustomScaling(config, entry).messageId, 0);
    EXPECT_EQ(config.scaleUnit(), "\xB0" "C");
    EXPECT_EQ(unitText(config), "\u00B0C");
    EXPECT_FLOAT_EQ(config.scaleGradient, 14.0f);
    EXPECT_FLOAT_EQ(config.scaleOffset, -20.0f);
}

TEST(ScalingNext, ReadsTypedPointsTheSameUnderADecimalCommaLocale)
{
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8"))
        GTEST_SKIP() << "de_DE.UTF-8 is not installed";
    LoggerConfig config = customVoltageLogger(5);   // current logger, 0..20 mA
    const ScalingVerdict verdict = storeCustomScaling(config, points("4", "0", "20", "2.5"));
    std::setlocale(LC_ALL, saved.c_str());
    EXPECT_EQ(verdict.messageId, 0);
    EXPECT_FLOAT_EQ(config.scaleGradient, 2.5f / 16.0f);
    EXPECT_FLOAT_EQ(config.scaleOffset, -0.625f);
    EXPECT_EQ(config.scaleInput2Text(), "20");
    EXPECT_EQ(config.scaleOutput2Text(), "2.5");
}

} // namespace
} // namespace vessor

namespace vessor {
namespace {

// The factory points end at the nominal top of the input range, which must
// count as inside it however capScalar rounds.
TEST(ScalingNext, FactoryPointsAreAcceptedOnEveryVoltageAndCurrentModel)
{
    for (int model = 4; model <= 7; ++model) {
        LoggerConfig config = customVoltageLogger(model);
        config.resetScaling();
        const ScalingEntry entry{config.scaleUnit(), config.scaleOutput1Text(),
                                 config.scaleInput1Text(), config.scaleOutput2Text(), config.scaleInput2Text()};
        EXPECT_EQ(storeCustomScaling(config, entry).messageId, 0) << model;
        EXPECT_FLOAT_EQ(config.scaleGradient, 1.0f) << model;
    }
}

} // namespace
} // namespace vessor
