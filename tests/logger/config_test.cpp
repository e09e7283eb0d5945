// The configuration block: layout, signedness, text bounds, checks, flag
// setters, first reading time and the CO expiry rules.
#include "test_support.h"

#include "logger/clock.h"
#include "logger/conversion.h"
#include "logger/locale_format.h"
#include "logger/session.h"
#include "logger/strings.h"

#include <gtest/gtest.h>

namespace vessor {
namespace {

using test::configFor;
using test::RecordingUserInterface;

TEST(ConfigBlock, FieldsSitAtTheirOffsetsLittleEndian) {
    LoggerConfig c;
    c.setSampleInterval(43200);
    c.setReadingCount(-1);
    c.setStartDelay(0x01020304);
    c.setCountPeriod(3725);
    EXPECT_EQ(c.block()[0x1C], 0xC0);
    EXPECT_EQ(c.block()[0x1D], 0xA8);
    EXPECT_EQ(c.sampleInterval(), 43200);  // unsigned, never negative
    EXPECT_EQ(c.readingCount(), -1);       // signed
    EXPECT_EQ(c.block()[0x18], 0x04);
    EXPECT_EQ(c.block()[0x1B], 0x01);
    EXPECT_EQ(c.u32At(field::COUNT_PERIOD), 3725u);
    c.setCalGradient(0.5f);
    EXPECT_EQ(c.block()[0x27], 0x3F);  // 0x3F000000
    EXPECT_EQ(c.calGradient(), 0.5f);
    // Out-of-block access reads zero and writes nothing.
    EXPECT_EQ(c.u32At(254), c.block()[254] | c.block()[255] << 8);
    c.setU32At(255, 0xFFFFFFFF);
    EXPECT_EQ(c.block()[255], 0xFF);
}

TEST(ConfigBlock, TextsNeverRunPastTheirField) {
    LoggerConfig c;
    for (std::size_t i = 0; i < 256; ++i)
        c.setByteAt(i, 'A');
    EXPECT_EQ(c.loggerName(), std::string(15, 'A'));
    EXPECT_EQ(c.scaleUnit(), std::string(11, 'A'));
    EXPECT_EQ(c.scaleInput1Text(), std::string(7, 'A'));
    EXPECT_EQ(c.inputRangeText(), std::string(13, 'A'));
    EXPECT_EQ(c.firmwareVersion(), "AAAA");
    c.setLoggerName("A name far longer than fifteen");
    EXPECT_EQ(c.loggerName(), "A name far long");
    EXPECT_EQ(c.byteAt(field::LOGGER_NAME + 15), 0);
    EXPECT_EQ(c.byteAt(field::START_HOUR), 'A');  // the next field is untouched
    c.setScaleOutput2Text("12.5");
    EXPECT_EQ(c.scaleOutput2Text(), "12.5");
    EXPECT_EQ(c.byteAt(field::CAP_SCALAR), 'A');
}

TEST(ConfigBlock, AlarmSlotsFollowTheModel) {
    for (int model = 1; model <= 18; ++model) {
        SCOPED_TRACE(model);
        LoggerConfig c = configFor(model);
        c.setHighAlarmRaw(0x1234);
        c.setLowAlarmRaw(0x5678);
        if (has16BitAlarms(model)) {
            EXPECT_EQ(c.u16At(0x22), 0x1234);
            EXPECT_EQ(c.u16At(0x38), 0x5678);
        } else {
            EXPECT_EQ(c.byteAt(0x22), 0x34);
            EXPECT_EQ(c.byteAt(0x23), 0x78);
            EXPECT_EQ(c.u16At(0x38), 0);
        }
    }
}

TEST(ConfigBlock, EightBitAlarmValuesUseCalibration) {
    LoggerConfig c = configFor(3);
    c.setCalGradient(0.5f);
    c.setCalOffset(-40.0f);
    c.setHighAlarmRaw(255);
    c.setLowAlarmRaw(0);
    EXPECT_FLOAT_EQ(c.highAlarmValue(), 87.5f);
    EXPECT_FLOAT_EQ(c.lowAlarmValue(), -40.0f);
    c.setRhHighAlarm(161);
    EXPECT_FLOAT_EQ(c.rhHighAlarmValue(), 80.5f);
}

TEST(ConfigBlock, StateChecksPerModel) {
    struct Case {
        int model;
        std::uint32_t delay;
        std::int16_t readings;
        bool pushButton;
        bool delayed;
        bool awaiting;
    };
    const Case cases[] = {
        {14, 30, 500, false, false, false},  // 12..16 with readings
        {14, 30, 0, false, true, false},
        {8, 30, 500, false, true, false},    // outside 12..16: delay alone decides
        {8, 30, -1, false, true, false},
        {8, 0, 0, false, false, false},
        {12, 30, 0, true, false, true},      // push-button: never a delayed start
        {12, 30, 5, true, false, false},
        {13, 30, 0, true, true, false},      // 13 has no push button, bit 7 means nothing
        {15, 0, -1, true, false, true},
        {16, 0, 1, true, false, false},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(::testing::Message() << "model " << k.model << " delay " << k.delay << " readings " << k.readings);
        LoggerConfig c = configFor(k.model);
        c.setStartDelay(k.delay);
        c.setReadingCount(k.readings);
        c.setPushButtonMode(k.pushButton);
        EXPECT_EQ(c.isDelayedStart(), k.delayed);
        EXPECT_EQ(c.isAwaitingButton(), k.awaiting);
    }
}

TEST(ConfigBlock, WrapUndownloadedAndLengths) {
    for (int model = 1; model <= 18; ++model) {
        LoggerConfig c = configFor(model);
        c.setWrapMode(true);
        const bool wrapModel = (model >= 12 && model <= 16) || model == 18;
        EXPECT_EQ(c.isWrapMode(), wrapModel) << model;
        EXPECT_EQ(c.configLength(), is16BitModel(model) ? 256 : 64) << model;
    }
    LoggerConfig c = configFor(2);
    c.setStatusFlags(STATUS_NOT_DOWNLOADED);
    c.setReadingCount(0);
    EXPECT_FALSE(c.hasUndownloadedData());
    c.setReadingCount(-5);
    EXPECT_FALSE(c.hasUndownloadedData());
    c.setReadingCount(1);
    EXPECT_TRUE(c.hasUndownloadedData());
}

TEST(ConfigBlock, FlagSettersTouchOnlyTheirBits) {
    LoggerConfig c = configFor(17);
    c.setOptionFlags(0xFF);
    c.setEventVoltageRange(6);  // low two bits only
    EXPECT_EQ(c.optionFlags(), 0xFE);
    EXPECT_EQ(c.eventVoltageRange(), 2);
    c.setEventSampleMode(1);
    EXPECT_EQ(c.optionFlags(), 0xDE);
    EXPECT_EQ(c.eventSampleMode(), 1);
    c.setVoltFree(false);
    c.setRisingEdge(false);
    EXPECT_EQ(c.optionFlags(), 0xD2);

    c.setModeFlags(0x00);
    c.setDisplayMode(1);
    EXPECT_EQ(c.modeFlags(), 0x60);
    c.setDisplayMode(2);
    EXPECT_EQ(c.modeFlags(), 0x20);
    c.setDisplayMode(0);
    EXPECT_EQ(c.modeFlags(), 0x00);
    c.setSounderEnabled(true);
    c.setPushButtonMode(true);
    c.setLedsDisabled(true);
    EXPECT_EQ(c.modeFlags(), 0x89);

    c.setAlarmFlags(0);
    c.setRhLowAlarmHold(true);
    c.setHighAlarmEnabled(true);
    EXPECT_EQ(c.alarmFlags(), 0x81);
    c.setRhLowAlarmHold(false);
    EXPECT_EQ(c.alarmFlags(), 0x01);
}

TEST(ConfigBlock, FirstReadingTime) {
    LoggerConfig c = configFor(2);
    c.setStartTime(2069, 3, 4, 5, 6, 7);
    EXPECT_EQ(c.firstReadingTime().fullYear(), 2069);
    c.setStartTime(1970, 3, 4, 5, 6, 7);
    EXPECT_EQ(c.firstReadingTime().fullYear(), 1970);
    EXPECT_EQ(c.firstReadingTime().month, 2);

    // Push-button: the press comes startDelay seconds after the set-up.
    LoggerConfig pb = configFor(12);
    pb.setStartTime(2024, 1, 1, 23, 0, 0);
    pb.setStartDelay(3600 + 5);
    pb.setPushButtonMode(true);
    EXPECT_EQ(pb.firstReadingTime(), makeCalendarTime(2024, 1, 2, 0, 0, 5));
    pb.setPushButtonMode(false);  // the delay then says when logging began: no shift
    EXPECT_EQ(pb.firstReadingTime(), makeCalendarTime(2024, 1, 1, 23, 0, 0));

    // Wrapped memory: whole passes and the readings of the current one.
    LoggerConfig wrap = configFor(14);
    wrap.setStartTime(2024, 2, 28, 0, 0, 0);
    wrap.setWrapMode(true);
    wrap.setU16At(field::MEMORY_CAPACITY, 101);
    wrap.setSampleInterval(60);
    wrap.setByteAt(field::WRAP_COUNT, 3);
    wrap.setReadingCount(10);
    // (101 - 1) × 2 × 60 s + 10 × 60 s = 210 minutes
    EXPECT_EQ(wrap.firstReadingTime(), makeCalendarTime(2024, 2, 28, 3, 30, 0));
    wrap.setWrapMode(false);
    EXPECT_EQ(wrap.firstReadingTime(), makeCalendarTime(2024, 2, 28, 0, 0, 0));
}

TEST(ConfigBlock, ChecksAndTheWarningsTheyRaise) {
    struct Case {
        int model;
        std::uint8_t status;
        bool compatible, battery, sensor;
        std::vector<int> messages;
    };
    const Case cases[] = {
        {0, 0, false, true, false, {}},
        {19, 0, false, true, false, {}},
        {18, 0, true, true, false, {}},
        {18, STATUS_BATTERY_LOW | STATUS_BATTERY_CRITICAL, true, false, false, {185}},
        {18, STATUS_BATTERY_LOW, true, false, false, {186}},
        {2, STATUS_BATTERY_LOW | STATUS_BATTERY_CRITICAL, true, false, false, {140}},
        {2, STATUS_BATTERY_LOW, true, false, false, {141}},
        {3, STATUS_SENSOR_ERROR, true, true, true, {147}},
        {11, STATUS_SENSOR_ERROR, true, true, true, {169}},
        {2, STATUS_SENSOR_ERROR, true, true, false, {}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.model);
        RecordingUserInterface ui;
        LoggerConfig c = configFor(k.model);
        c.setStatusFlags(k.status);
        EXPECT_EQ(c.isCompatible(), k.compatible);
        EXPECT_EQ(c.batteryState() == BatteryState::Good, k.battery);
        EXPECT_EQ(c.hasSensorError(), k.sensor);
        showWarnings(&ui, deviceWarnings(c, makeCalendarTime(2024, 1, 1)));
        EXPECT_EQ(ui.messageIds(), k.messages);
        for (const auto& e : ui.entries)
            EXPECT_EQ(e.icon, k.sensor ? MessageIcon::Stop : MessageIcon::None);
    }
}

TEST(ConfigBlock, CoExpiryStatus) {
    struct Case {
        int day, month, year1900, months;
        CalendarTime today;
        bool valid;
        std::string text;
        std::vector<int> messages;
    };
    const Case cases[] = {
        {1, 1, 110, 12, makeCalendarTime(2010, 12, 31), true, "31/12/2010", {}},
        {1, 1, 110, 12, makeCalendarTime(2011, 1, 1), false, "31/12/2010", {171}},
        {31, 1, 111, 1, makeCalendarTime(2011, 2, 1), true, "28/02/2011", {}},
        {31, 1, 112, 1, makeCalendarTime(2011, 2, 1), true, "29/02/2012", {}},
        {1, 3, 111, 12, makeCalendarTime(2011, 2, 1), true, "29/02/2012", {}},
        {1, 3, 110, 12, makeCalendarTime(2011, 2, 1), true, "28/02/2011", {}},
        {15, 11, 120, 3, makeCalendarTime(2021, 2, 14), true, "14/02/2021", {}},
        {15, 11, 120, 3, makeCalendarTime(2021, 2, 15), false, "14/02/2021", {171}},
        {0, 5, 120, 1, makeCalendarTime(2020, 1, 1), true, "31/05/2020", {}},
        {1, 1, 99, 12, makeCalendarTime(2000, 1, 1), false, "Error", {170}},   // year not above 99
        {1, 13, 120, 12, makeCalendarTime(2000, 1, 1), false, "Error", {170}},
        {32, 1, 120, 12, makeCalendarTime(2000, 1, 1), false, "Error", {170}},
        {1, 0, 120, 12, makeCalendarTime(2000, 1, 1), false, "Error", {170}},  // no month 0
        {0, 0, 0, 0, makeCalendarTime(2000, 1, 1), true, "No Date Set", {}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(::testing::Message() << k.day << "/" << k.month << "/" << k.year1900 << " +" << k.months);
        const auto isValid = [](ExpiryState state) {
            return state == ExpiryState::Valid || state == ExpiryState::NotSet;
        };
        RecordingUserInterface ui;
        LoggerConfig c = configFor(9);
        c.setByteAt(field::SENSOR_LIFE_DAY, static_cast<std::uint8_t>(k.day));
        c.setByteAt(field::SENSOR_LIFE_MONTH, static_cast<std::uint8_t>(k.month));
        c.setByteAt(field::SENSOR_LIFE_YEAR, static_cast<std::uint8_t>(k.year1900));
        c.setByteAt(field::SENSOR_LIFE_MONTHS, static_cast<std::uint8_t>(k.months));
        EXPECT_EQ(isValid(expiryState(c.sensorLife(), k.today)), k.valid);
        EXPECT_EQ(expiryText(c.sensorLife(), FixedLocaleFormat::instance()), k.text);
        showWarnings(&ui, deviceWarnings(c, k.today));
        EXPECT_EQ(ui.messageIds(), k.messages);
        // The same dates in the calibration bytes, behind a sensor life with
        // no date, give 172/173.
        RecordingUserInterface ui2;
        for (int i = 0; i < 4; ++i) {
            c.setByteAt(field::CAL_DATE_DAY + i, c.byteAt(field::SENSOR_LIFE_DAY + i));
            c.setByteAt(field::SENSOR_LIFE_DAY + i, 0);
        }
        EXPECT_EQ(isValid(expiryState(c.calibrationPeriod(), k.today)), k.valid);
        EXPECT_EQ(expiryText(c.calibrationPeriod(), FixedLocaleFormat::instance()), k.text);
        showWarnings(&ui2, deviceWarnings(c, k.today));
        std::vector<int> expected;
        for (int id : k.messages)
            expected.push_back(id + 2);
        EXPECT_EQ(ui2.messageIds(), expected);
    }
}

TEST(ConfigBlock, ResetScalingRestoresFactoryTexts) {
    LoggerConfig c = configFor(4);
    c.setF32At(field::CAP_SCALAR, 10.0f / 65472.0f);
    c.setCalGradient(1.0f);
    c.setTextAt(field::DEFAULT_SCALE_UNIT, field::SCALE_UNIT_WIDTH, "V");
    c.setTextAt(field::DEFAULT_INPUT1_TEXT, 8, "0");
    c.setTextAt(field::DEFAULT_OUTPUT1_TEXT, 8, "0");
    c.setTextAt(field::DEFAULT_INPUT2_TEXT, 8, "10");
    c.setTextAt(field::DEFAULT_OUTPUT2_TEXT, 8, "100");
    c.setScaleUnit("bar");
    c.setScaleInput1Text("junk");
    EXPECT_EQ(c.resetScaling(), SCALING_OK);
    EXPECT_EQ(c.scaleUnit(), "V");
    EXPECT_EQ(c.scaleInput1Text(), "0");
    EXPECT_EQ(c.scaleOutput2Text(), "100");
    EXPECT_FLOAT_EQ(c.scaleGradient, 10.0f);
}

} // namespace
} // namespace vessor
