// The status composition for every kind of logger and state: each row edits
// a base block and names the lines it expects.
#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "logger/clock.h"
#include "logger/locale_format.h"
#include "logger/logger_config.h"
#include "logger/status_report.h"

namespace vessor {
namespace {

enum Line { NAME, STATUS, TIME, DATE, READINGS, RATE, SCALE, HIGH, LOW, SERIAL, FIRMWARE };

struct StatusCase {
    const char* name;
    int model;
    std::function<void(LoggerConfig&)> edit;
    std::map<Line, StatusLine> expected;
    const char* heading = nullptr;
};

// A stopped logger of `model`, set up on 15/03/2024 at 10:30:00, one reading
// a minute, 8-bit calibration 0.5 x - 40 (alarms 25.0 and -10.0), humidity
// alarms 80 and 20 %rh, every alarm enabled.
LoggerConfig baseConfig(int model)
{
    LoggerConfig c;
    c.setModelType(model);
    c.setLoggerName("Cold Store");
    c.setStartTime(2024, 3, 15, 10, 30, 0);
    c.setSampleInterval(60);
    c.setCalGradient(0.5f);
    c.setCalOffset(-40.0f);
    c.setHighAlarmRaw(130);
    c.setLowAlarmRaw(60);
    c.setRhHighAlarm(160);
    c.setRhLowAlarm(40);
    c.setAlarmFlags(ALARM_HIGH_ENABLED | ALARM_LOW_ENABLED | ALARM_RH_HIGH_ENABLED | ALARM_RH_LOW_ENABLED);
    c.setU32At(field::SERIAL_NUMBER, 1234);
    const char firmware[] = "1.07";
    for (int i = 0; i < 4; ++i)
        c.setByteAt(field::FIRMWARE_VERSION + i, static_cast<std::uint8_t>(firmware[i]));
    return c;
}

void logging(LoggerConfig& c, int readings)
{
    c.setStatusFlags(c.statusFlags() | STATUS_LOGGING);
    c.setReadingCount(static_cast<std::int16_t>(readings));
}

void setCoDates(LoggerConfig& c, bool calibration)
{
    // Sensor life from 1/6/2023 for 24 months; calibration from 1/1/2024 for 12.
    c.setByteAt(field::SENSOR_LIFE_DAY, 1);
    c.setByteAt(field::SENSOR_LIFE_MONTH, 6);
    c.setByteAt(field::SENSOR_LIFE_YEAR, 123);
    c.setByteAt(field::SENSOR_LIFE_MONTHS, 24);
    if (calibration) {
        c.setByteAt(field::CAL_DATE_DAY, 1);
        c.setByteAt(field::CAL_DATE_MONTH, 1);
        c.setByteAt(field::CAL_DATE_YEAR, 124);
        c.setByteAt(field::CAL_PERIOD_MONTHS, 12);
    }
}

class StatusComposition : public ::testing::TestWithParam<StatusCase> {};

TEST_P(StatusComposition, ShowsTheLinesOfTheLoggersState)
{
    const StatusCase& c = GetParam();
    LoggerConfig config = baseConfig(c.model);
    if (c.edit)
        c.edit(config);
    const StatusReport report = composeStatus(config, FixedLocaleFormat::instance());
    const std::vector<StatusLine> lines = report.lines();
    ASSERT_EQ(lines.size(), 11u);
    if (c.heading) {
        EXPECT_EQ(report.heading, c.heading);
    }
    for (const auto& [line, want] : c.expected) {
        EXPECT_EQ(lines[line].label, want.label) << "line " << line;
        EXPECT_EQ(lines[line].value, want.value) << "line " << line;
    }
}

const char* const DEG_C = "\u00b0C";

INSTANTIATE_TEST_SUITE_P(
    EveryModelAndState, StatusComposition,
    ::testing::Values(
        StatusCase{"ZrThStoppedWithoutReadings", 3, nullptr,
                   {{NAME, {"Logger Name :", "Cold Store"}},
                    {STATUS, {"Status :", "Stopped"}},
                    {TIME, {"Start Time :", "--:--:--"}},
                    {DATE, {"Start Date :", "--/--/--"}},
                    {READINGS, {"Readings :", "0"}},
                    {RATE, {"Sample Rate :", "1 Minute"}},
                    {SCALE, {"Scale :", "Celsius, %rh"}},
                    {HIGH, {"High Alarm :", std::string("25.0 ") + DEG_C + ", 80.0 %rh"}},
                    {LOW, {"Low Alarm :", std::string("-10.0 ") + DEG_C + ", 20.0 %rh"}},
                    {SERIAL, {"Serial Number :", "000001234"}},
                    {FIRMWARE, {"Firmware Version :", "1.07"}}},
                   "Current Status of the ZR-TH Data Logger:-"},
        StatusCase{"ZrThStoppedWithReadingsShowsItsStart", 3,
                   [](LoggerConfig& c) { c.setReadingCount(10); },
                   {{STATUS, {"Status :", "Stopped"}},
                    {TIME, {"Start Time :", "10:30:00"}},
                    {DATE, {"Start Date :", "15/03/2024"}},
                    {READINGS, {"Readings :", "10"}}}},
        StatusCase{"ZrThHumidityAlarmsOffAndHolds", 3,
                   [](LoggerConfig& c) {
                       c.setAlarmFlags(ALARM_HIGH_ENABLED | ALARM_HIGH_HOLD);
                   },
                   {{HIGH, {"High Alarm :", std::string("25.0 ") + DEG_C + " (Hold), Disabled"}},
                    {LOW, {"Low Alarm :", "Disabled, Disabled"}}}},
        StatusCase{"ZrTFahrenheitAndBadScale", 2,
                   [](LoggerConfig& c) { c.setOptionFlags(1); c.setSampleInterval(43200); },
                   {{SCALE, {"Scale :", "Fahrenheit"}},
                    {RATE, {"Sample Rate :", "12 Hours"}},
                    {HIGH, {"High Alarm :", "25.0 \u00b0F"}}}},
        StatusCase{"ZrTUnknownRateAndScaleByte", 2,
                   [](LoggerConfig& c) { c.setOptionFlags(7); c.setSampleInterval(120); },
                   {{SCALE, {"Scale :", "Error"}},
                    {RATE, {"Sample Rate :", "UnKnown"}},
                    {HIGH, {"High Alarm :", "25.0 "}}}},
        StatusCase{"ZrThDAwaitingTheButton", 12,
                   [](LoggerConfig& c) {
                       c.setPushButtonMode(true);
                       logging(c, 0);
                   },
                   {{STATUS, {"Status :", "Push Button To Start"}},
                    {TIME, {"Start Time :", "--:--:--"}},
                    {DATE, {"Start Date :", "--/--/--"}}},
                   "Current Status of the ZR-TH-D Data Logger:-"},
        StatusCase{"ZrThDAfterTheButtonPressStartsLater", 12,
                   [](LoggerConfig& c) {
                       c.setPushButtonMode(true);
                       c.setStartDelay(3725);
                       logging(c, 1);
                   },
                   {{STATUS, {"Status :", "Logging"}},
                    {TIME, {"Start Time :", "11:32:05"}},
                    {DATE, {"Start Date :", "15/03/2024"}}}},
        StatusCase{"ZrThDWrappedShowsAFullMemory", 12,
                   [](LoggerConfig& c) {
                       c.setWrapMode(true);
                       c.setU16At(field::MEMORY_CAPACITY, 16383);
                       c.setByteAt(field::WRAP_COUNT, 2);
                       logging(c, 5);
                   },
                   {{READINGS, {"Readings :", "16382"}}}},
        StatusCase{"ZrTDelayedStart", 2,
                   [](LoggerConfig& c) {
                       c.setStartDelay(600);
                       logging(c, 0);
                   },
                   {{STATUS, {"Status :", "Delayed Start"}}}},
        StatusCase{"EventLoggerOneReadingShowsATenth", 17,
                   [](LoggerConfig& c) {
                       c.setU16At(field::MEMORY_CAPACITY, 16383);
                       logging(c, 1);
                   },
                   {{READINGS, {"Memory Usage :", "0.1%"}},
                    {RATE, {"Sample Mode :", "Falling Edge"}},
                    {SCALE, {"Scale :", "0-3V"}},
                    {HIGH, {"High Alarm :", "N/A"}},
                    {LOW, {"Low Alarm :", "N/A"}}},
                   "Current Status of the ZR-EV Data Logger:-"},
        StatusCase{"EventLoggerEmpty", 17,
                   [](LoggerConfig& c) { c.setU16At(field::MEMORY_CAPACITY, 16383); },
                   {{READINGS, {"Memory Usage :", "0.0%"}}}},
        StatusCase{"EventLoggerOverfullStateChanges", 17,
                   [](LoggerConfig& c) {
                       c.setU16At(field::MEMORY_CAPACITY, 16383);
                       c.setEventSampleMode(EVENT_MODE_STATE);
                       c.setVoltFree(true);
                       c.setReadingCount(20000);
                   },
                   {{READINGS, {"Memory Usage :", "100.0%"}},
                    {RATE, {"Sample Mode :", "State Change"}},
                    {SCALE, {"Scale :", "Volt free"}}}},
        // A block without a capacity must not divide by zero.
        StatusCase{"EventLoggerWithoutCapacity", 17,
                   [](LoggerConfig& c) { c.setReadingCount(3); },
                   {{READINGS, {"Memory Usage :", "100.0%"}}}},
        StatusCase{"EventLoggerCountingPerPeriod", 17,
                   [](LoggerConfig& c) {
                       c.setEventSampleMode(EVENT_MODE_COUNT_PER);
                       c.setCountPeriod(3725);
                       c.setEventVoltageRange(3);
                       c.setRisingEdge(true);
                       c.setReadingCount(42);
                   },
                   {{READINGS, {"Readings :", "42"}},
                    {RATE, {"Sample Mode :", "Count Per (01:02:05)"}},
                    {SCALE, {"Scale :", "0-24V"}}}},
        StatusCase{"EventLoggerCountingTotal", 17,
                   [](LoggerConfig& c) {
                       c.setEventSampleMode(EVENT_MODE_COUNT_TOTAL);
                       c.setU32At(field::COUNT_PERIOD, 4000000000u);
                   },
                   {{READINGS, {"Count Total :", "4000000000"}},
                    {RATE, {"Sample Mode :", "Count Total"}}}},
        StatusCase{"EventLoggerRisingEdge", 17,
                   [](LoggerConfig& c) { c.setRisingEdge(true); c.setEventVoltageRange(2); },
                   {{RATE, {"Sample Mode :", "Rising Edge"}}, {SCALE, {"Scale :", "0-12V"}}}},
        StatusCase{"ThermocoupleFahrenheitKType", 10,
                   [](LoggerConfig& c) { c.setOptionFlags(TC_FAHRENHEIT | TC_TYPE_K); },
                   {{SCALE, {"Scale :", "Fahrenheit, K-Type"}}}},
        StatusCase{"ThermocoupleCelsiusTType", 15,
                   [](LoggerConfig& c) { c.setOptionFlags(TC_TYPE_T); },
                   {{SCALE, {"Scale :", "Celsius, T-Type"}}}},
        StatusCase{"CoWithCalibrationDate", 9,
                   [](LoggerConfig& c) {
                       setCoDates(c, true);
                       c.setAlarmFlags(ALARM_LOW_ENABLED | ALARM_LOW_HOLD);
                       c.setSounderEnabled(true);
                   },
                   {{SCALE, {"Sensor Expiry Date :", "31/05/2025"}},
                    {HIGH, {"Calibration Expiry Date :", "31/12/2024"}}}},
        StatusCase{"CoWithoutCalibrationDate", 11,
                   [](LoggerConfig& c) {
                       setCoDates(c, false);
                       c.setAlarmFlags(0);
                   },
                   {{HIGH, {"Warning Level :", "Disabled"}}, {LOW, {"", ""}}},
                   "Current Status of the ZR-CO-300 Data Logger:-"},
        StatusCase{"CoWithInvalidSensorDate", 9,
                   [](LoggerConfig& c) {
                       setCoDates(c, false);
                       c.setByteAt(field::SENSOR_LIFE_MONTH, 13);
                   },
                   {{SCALE, {"Sensor Expiry Date :", "Error"}}}},
        StatusCase{"UnknownModelKeepsUsbInTheHeading", 0, nullptr,
                   {{SCALE, {"Scale :", "Error"}}},
                   "Current Status of the USB Data Logger:-"},
        StatusCase{"ModelAboveTheTable", 19, nullptr,
                   {{SCALE, {"Scale :", "Error"}}},
                   "Current Status of the USB Data Logger:-"},
        StatusCase{"InvalidStartDate", 2,
                   [](LoggerConfig& c) {
                       c.setByteAt(field::START_MONTH, 14);
                       c.setReadingCount(3);
                   },
                   {{TIME, {"Start Time :", "Invalid DateTime"}},
                    {DATE, {"Start Date :", "Invalid DateTime"}}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(StatusComposition, CoWarningLineCarriesUnitHoldAndSounder)
{
    LoggerConfig config = baseConfig(9);
    setCoDates(config, true);
    config.setAlarmFlags(ALARM_LOW_ENABLED | ALARM_LOW_HOLD);
    config.setSounderEnabled(true);
    const StatusReport report = composeStatus(config, FixedLocaleFormat::instance());
    EXPECT_EQ(report.lowAlarm.label, "Warning Level :");
    const std::string& value = report.lowAlarm.value;
    ASSERT_GE(value.size(), 20u);
    EXPECT_NE(value.find(" ppm (Hold) (Sounder)"), std::string::npos) << value;
    EXPECT_EQ(value.rfind(" ppm (Hold) (Sounder)"), value.size() - 21);
}

TEST(StatusComposition, ScriptTextKeepsEmptyFieldsAndTrailingBlanks)
{
    LoggerConfig config = baseConfig(2);
    config.setOptionFlags(9);  // no unit appended: the alarm values keep their blank
    const std::string text = formatStatusText(composeStatus(config, FixedLocaleFormat::instance()));
    const std::string expected = "Current Status of the ZR-T Data Logger:-\n"
                                 "Logger Name :\tCold Store\n"
                                 "Status :\tStopped\n"
                                 "Start Time :\t--:--:--\n"
                                 "Start Date :\t--/--/--\n"
                                 "Readings :\t0\n"
                                 "Sample Rate :\t1 Minute\n"
                                 "Scale :\tError\n"
                                 "High Alarm :\t25.0 \n"
                                 "Low Alarm :\t-10.0 \n"
                                 "Serial Number :\t000001234\n"
                                 "Firmware Version :\t1.07\n";
    EXPECT_EQ(text, expected);
}

} // namespace
} // namespace vessor
