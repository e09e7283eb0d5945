// Conversions: each model's formula, rounding and clamping, the step table,
// the scaling error codes, and locale independence of every number text.
#include "test_support.h"

#include "logger/conversion.h"

#include <clocale>
#include <cmath>
#include <gtest/gtest.h>

namespace vessor {
namespace {

using test::configFor;

// A voltage logger with full-scale input `full` and custom points.
LoggerConfig voltageLogger(double full, const char* in1, const char* out1, const char* in2, const char* out2) {
    LoggerConfig c = configFor(4);
    c.setCalGradient(1.0f);
    c.setCalOffset(0.0f);
    c.setF32At(field::CAP_SCALAR, static_cast<float>(full / 65472.0));
    c.setOptionFlags(1);
    c.setScaleInput1Text(in1);
    c.setScaleOutput1Text(out1);
    c.setScaleInput2Text(in2);
    c.setScaleOutput2Text(out2);
    applyScaling(c);
    return c;
}

TEST(Conversion, ThermocoupleAndRechargeableScale) {
    LoggerConfig c = configFor(10);
    EXPECT_NEAR(rawToValue(c, 3280), -17.7778f, 1e-4);
    EXPECT_NEAR(rawToValue(c, 3600), 0.0f, 1e-5);
    EXPECT_EQ(formatReading(c, 3600), "0.0");
    EXPECT_EQ(formatReading(c, 3280), "-18.0");  // step 0.5 in Celsius
    EXPECT_EQ(valueToRaw(c, 0.0f), 3600);
    c.setOptionFlags(TC_FAHRENHEIT | TC_TYPE_K);
    EXPECT_NEAR(rawToValue(c, 3600), 32.0f, 1e-4);
    EXPECT_EQ(formatReading(c, 3604), "32");  // 32.4 °F, step 1, no decimals
    EXPECT_EQ(valueToRaw(c, 32.0f), 3600);
    EXPECT_EQ(alarmDecimals(c), 0);
    LoggerConfig rc = configFor(18);
    EXPECT_EQ(formatReading(rc, 3600), "0.0");
    EXPECT_EQ(formatReading(rc, 3601), "0.1");  // no step rounding on 18: 0.0556 shows as 0.1
}

TEST(Conversion, CarbonMonoxideRounding) {
    LoggerConfig co = configFor(9);
    co.setCalGradient(0.1f);
    co.setCalOffset(0.0f);
    EXPECT_EQ(roundToStep(co, 2.7f), 0.0f);   // 2.5 is below 3
    EXPECT_EQ(roundToStep(co, 3.1f), 3.0f);
    EXPECT_EQ(formatReading(co, 27), "0.0");
    EXPECT_EQ(formatReading(co, 31), "3.0");
    co.setCalOffset(-10.0f);
    EXPECT_EQ(rawToValue(co, 60), 0.0f);      // -4 ppm is 0
    LoggerConfig co300 = configFor(11);
    EXPECT_EQ(roundToStep(co300, -1.3f), -1.5f);
    EXPECT_EQ(roundToStep(co300, 1.3f), 1.5f);
    EXPECT_EQ(roundToStep(co300, 2.7f), 2.5f);  // the 3 ppm rule is the ZR-CO's only
}

TEST(Conversion, LinearModelsRoundTrip) {
    for (int model : {1, 2, 3, 12, 13, 14, 16}) {
        LoggerConfig c = configFor(model);
        c.setCalGradient(0.5f);
        c.setCalOffset(-40.0f);
        EXPECT_EQ(rawToValue(c, 0), -40.0f);
        EXPECT_EQ(rawToValue(c, 255), 87.5f);
        EXPECT_EQ(formatReading(c, 121), "20.5");
        EXPECT_EQ(valueToRaw(c, 20.5f), 121);
        EXPECT_EQ(valueToRaw(c, 20.3f), 121);  // 120.6 + 0.5 truncated
        EXPECT_EQ(valueToRaw(c, -40.4f), 0);   // -0.8 + 0.5 truncates toward zero
        EXPECT_EQ(checkedValueToRaw(c, -40.4f).error, 0);
    }
    LoggerConfig ev = configFor(17);
    ev.setCalGradient(1.0f);
    EXPECT_EQ(formatReading(ev, 1234), "1234");
}

TEST(Conversion, MiniSensorCurve) {
    LoggerConfig c = configFor(8);
    c.setCalGradient(3.3f / 65535.0f);
    for (float celsius : {-30.0f, 0.0f, 20.0f, 85.0f}) {
        const int raw = valueToRaw(c, celsius);
        EXPECT_NEAR(rawToValue(c, static_cast<unsigned>(raw)), celsius, 0.1f) << celsius;
        EXPECT_EQ(formatReading(c, static_cast<unsigned>(raw)), formatFixed(celsius, 0)) << celsius;
    }
    c.setOptionFlags(1);
    const int raw = valueToRaw(c, 68.0f);
    EXPECT_NEAR(rawToValue(c, static_cast<unsigned>(raw)), 68.0f, 0.2f);
    EXPECT_EQ(formatReading(c, static_cast<unsigned>(raw)), "68");  // step 2 °F
    EXPECT_EQ(displayStepOf(c), 2.0);
}

TEST(Conversion, DeriveScalingPicksTheStep) {
    LoggerConfig c = voltageLogger(30, "0", "0", "10", "100");
    EXPECT_EQ(deriveScaling(c).error, 0);
    EXPECT_FLOAT_EQ(c.scaleGradient, 10.0f);
    EXPECT_FLOAT_EQ(c.scaleOffset, 0.0f);
    EXPECT_FLOAT_EQ(c.displayStep, 0.5f);  // w = 0.2933
    EXPECT_EQ(c.decimalPlaces, 1);
    EXPECT_TRUE(c.scaleAscending);
    EXPECT_EQ(c.modeFlags() & MODE_SCALING_INVERTED, 0);

    const LoggerConfig w150 = voltageLogger(30, "0", "0", "10", "51150");
    EXPECT_FLOAT_EQ(w150.displayStep, 200.0f);
    EXPECT_EQ(w150.decimalPlaces, 0);
    const LoggerConfig huge = voltageLogger(30, "0", "0", "10", "2000000");
    EXPECT_FLOAT_EQ(huge.displayStep, 5000.0f);
    const LoggerConfig tiny = voltageLogger(20, "0", "0", "10", "0.25");
    EXPECT_FLOAT_EQ(tiny.displayStep, 0.001f);
    EXPECT_EQ(tiny.decimalPlaces, 3);
}

TEST(Conversion, DescendingScalingSwapsAlarmSlots) {
    LoggerConfig c = voltageLogger(30, "0", "100", "10", "0");
    EXPECT_FLOAT_EQ(c.scaleGradient, -10.0f);
    EXPECT_FALSE(c.scaleAscending);
    EXPECT_FALSE(isAscending(c));
    EXPECT_NE(c.modeFlags() & MODE_SCALING_INVERTED, 0);
    c.setU16At(0x22, 0);
    c.setU16At(0x38, 65472);
    EXPECT_NEAR(c.highAlarmValue(), 100.0f - 300.0f, 1e-3);  // from 0x38
    EXPECT_NEAR(c.lowAlarmValue(), 100.0f, 1e-3);            // from 0x22
}

TEST(Conversion, ScalingErrorCodes) {
    struct Case {
        const char *in1, *out1, *in2, *out2;
        int code;
    };
    const Case cases[] = {
        {"0", "", "", "", 6},      {"", "0", "", "", 7},         {"0", "0", "10", "", 8},
        {"", "0", "", "1", 7},     {"0", "0", "", "1", 9},       {"5", "0", "5.0", "1", 3},
        {"0", "7", "10", "7", 4},  {"31", "0", "10", "1", 10},   {"-1", "0", "10", "1", 11},
        {"0", "0", "30.5", "1", 12}, {"0", "0", "-2", "1", 13},  {"abc", "0", "10", "1", 0},
        {"1e40", "0", "10", "1", 5},
    };
    for (const Case& k : cases) {
        const LoggerConfig c = voltageLogger(30, k.in1, k.out1, k.in2, k.out2);
        EXPECT_EQ(deriveScaling(c).error, k.code) << k.in1 << "," << k.out1 << "," << k.in2 << "," << k.out2;
    }
    // Factory texts are not checked, but equal inputs cannot give a line.
    LoggerConfig factory = voltageLogger(30, "0", "0", "10", "100");
    factory.setOptionFlags(0);
    factory.setTextAt(field::DEFAULT_INPUT1_TEXT, 8, "5");
    factory.setTextAt(field::DEFAULT_INPUT2_TEXT, 8, "5");
    EXPECT_EQ(applyScaling(factory), 5);
    EXPECT_FLOAT_EQ(factory.scaleGradient, 1.0f);
}

TEST(Conversion, VoltageInverseClampsAndReports) {
    LoggerConfig c = voltageLogger(30, "0", "0", "10", "100");
    const auto expectRaw = [&c](float value, int raw, int error) {
        const RawValue converted = checkedValueToRaw(c, value);
        EXPECT_EQ(converted.raw, raw) << value;
        EXPECT_EQ(converted.error, error) << value;
        EXPECT_EQ(valueToRaw(c, value), raw) << value;
    };
    expectRaw(150.0f, 32736, 0);
    expectRaw(301.0f, 65472, 1);
    expectRaw(-1.0f, 0, 14);
    c.setCalOffset(1.0e6f);
    expectRaw(50.0f, 0, 15);
    // A block whose capScalar is 0 must not produce an undefined conversion.
    c.setF32At(field::CAP_SCALAR, 0.0f);
    c.setCalOffset(0.0f);
    EXPECT_NE(checkedValueToRaw(c, 10.0f).error, 0);
}

TEST(Conversion, VoltageReadingsAndAlarmTexts) {
    LoggerConfig c = voltageLogger(30, "0", "0", "10", "100");
    EXPECT_EQ(formatReading(c, 32736), "150.0");
    EXPECT_EQ(formatReading(c, 32737), "150.0");  // 150.009 to the 0.5 step
    c.setU16At(0x22, 32737);
    EXPECT_EQ(formatHighAlarm(c), "150.0");      // models 4/5: not rounded, decimalPlaces
    c.decimalPlaces = 3;
    EXPECT_EQ(formatHighAlarm(c), "150.005");
    LoggerConfig text = configFor(6);
    text.setHighAlarmText("7.25");
    text.setLowAlarmText("0.5");
    EXPECT_EQ(formatHighAlarm(text), "7.25");
    EXPECT_EQ(formatLowAlarm(text), "0.5");
    // Readings below the calibrated zero show as the scaled zero.
    c.setCalOffset(-100.0f);
    EXPECT_EQ(rawToValue(c, 50), 0.0f);
}

TEST(Conversion, ScalingRangeIsRoundedInward) {
    LoggerConfig c = configFor(4);
    c.setCalGradient(1.0f);
    c.setF32At(field::CAP_SCALAR, static_cast<float>(10.0 / 65472.0));
    c.scaleGradient = 1.0f;
    c.scaleOffset = -2.345f;
    c.decimalPlaces = 1;
    c.scaleAscending = true;
    float high = 0, low = 0;
    scalingRange(c, high, low);
    EXPECT_FLOAT_EQ(high, 7.6f);
    EXPECT_FLOAT_EQ(low, -2.3f);
    c.scaleGradient = -1.0f;
    c.scaleOffset = 7.655f;
    c.scaleAscending = false;
    scalingRange(c, high, low);
    EXPECT_FLOAT_EQ(high, 7.7f);
    EXPECT_FLOAT_EQ(low, -2.3f);
}

TEST(Conversion, HumidityHelpersAndDewPoint) {
    EXPECT_EQ(percentToHalfUnits(37.25), 75);
    EXPECT_EQ(percentToHalfUnits(-37.25), -75);
    EXPECT_EQ(percentToHalfUnits(37.2), 74);
    EXPECT_EQ(halfUnitsToPercent(75), 37.5f);
    LoggerConfig c = configFor(3);
    EXPECT_NEAR(dewPoint(c, 20.0f, 50.0f), 9.26f, 0.05f);
    EXPECT_NEAR(dewPoint(c, 20.0f, 100.0f), 20.0f, 0.05f);
    c.setOptionFlags(1);
    EXPECT_NEAR(dewPoint(c, 68.0f, 50.0f), 48.67f, 0.1f);
}

TEST(Conversion, UnitTexts) {
    LoggerConfig c = configFor(14);
    EXPECT_EQ(unitText(c), "\u00B0C");
    c.setOptionFlags(1);
    EXPECT_EQ(unitText(c), "\u00B0F");
    c.setOptionFlags(2);
    EXPECT_EQ(unitText(c), "");
    LoggerConfig v = configFor(5);
    v.setScaleUnit("\xB5" "A");  // µA as the logger stores it
    EXPECT_EQ(unitText(v), "\u00B5A");
}

TEST(Conversion, StepTableHasItsTwentyEightRows) {
    const DisplayStepRow* table = displayStepTable();
    EXPECT_EQ(table[0].step, 0.001);
    EXPECT_EQ(table[2].decimals, 4);
    EXPECT_EQ(table[14].step, 2.5);
    EXPECT_EQ(table[14].decimals, 1);
    EXPECT_EQ(table[DISPLAY_STEP_ROWS - 1].step, 5000);
    for (int i = 1; i < DISPLAY_STEP_ROWS; ++i)
        EXPECT_LT(table[i - 1].step, table[i].step);
}

TEST(Conversion, NumberTextsIgnoreTheCLocale) {
    const char* old = std::setlocale(LC_ALL, nullptr);
    const std::string saved = old ? old : "C";
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8"))
        GTEST_SKIP() << "de_DE.UTF-8 is not installed";
    char probe[16];
    std::snprintf(probe, sizeof probe, "%.1f", 4.5);
    EXPECT_STREQ(probe, "4,5");  // the trap this code must avoid

    EXPECT_EQ(formatFixed(4.5, 1), "4.5");
    EXPECT_EQ(formatFixed(-0.04, 1), "-0.0");  // as printf
    EXPECT_EQ(formatFixed(0.25, 1), "0.2");    // exact tie: to even, as printf
    EXPECT_EQ(formatFixed(1234567.0, 2), "1234567.00");
    EXPECT_EQ(parseLeadingNumber("4.5V"), 4.5);
    EXPECT_EQ(parseLeadingNumber("  -2.5e1x"), -25.0);
    EXPECT_EQ(parseLeadingNumber("4,5"), 4.0);
    EXPECT_EQ(parseLeadingNumber("x1"), 0.0);
    EXPECT_EQ(parseLeadingNumber("inf"), 0.0);
    double v = 0;
    EXPECT_TRUE(parseNumber(" 12.75 ", v));
    EXPECT_EQ(v, 12.75);
    EXPECT_FALSE(parseNumber("12,75", v));
    EXPECT_FALSE(parseNumber("", v));
    const LoggerConfig c = voltageLogger(30, "0", "0", "2.5", "25");
    EXPECT_EQ(deriveScaling(c).error, 0);
    EXPECT_FLOAT_EQ(c.scaleGradient, 10.0f);
    EXPECT_EQ(formatReading(c, 32736), "150.0");
    std::setlocale(LC_ALL, saved.c_str());
}

} // namespace
} // namespace vessor
