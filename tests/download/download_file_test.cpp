// The download-file writer: the published example files byte for byte, the
// wrap ring, event records, broken inputs and the locale.
#include "download_support.h"

#include "logger/calendar.h"
#include "logger/conversion.h"

#include <gtest/gtest.h>

#include <clocale>
#include <functional>

namespace vessor::test {
namespace {

struct Example {
    const char* name;
    std::function<void(LoggerConfig&, SampleBuffer&)> setUp;
    std::string expected;
};

void setRawSamples(SampleBuffer& samples, std::initializer_list<unsigned> raws)
{
    samples.assign(raws.begin(), raws.end());
}

// Each example's block is chosen so that its conversions give the published
// values.
const std::vector<Example>& examples()
{
    static const std::vector<Example> table = {
        {"ZrTCelsiusBothAlarms",
         [](LoggerConfig& c, SampleBuffer& s) {
             c = coldroom(MODEL_ZR_T);
             c.setCalGradient(0.5f);
             c.setCalOffset(-40.0f);
             c.setSampleInterval(300);
             c.setReadingCount(2);
             c.setAlarmFlags(ALARM_HIGH_ENABLED | ALARM_LOW_ENABLED);
             c.setHighAlarmRaw(96);
             c.setLowAlarmRaw(84);
             setRawSamples(s, {89, 88});
         },
         fileOf({"COLDROOM,Time,Celsius(°C),High Alarm,Low Alarm,Serial Number",
                 "1,05/03/2007 14:30:00,4.5,8.0,2.0,000123456",
                 "2,05/03/2007 14:35:00,4.0,8.0,2.0"})},
        {"ZrThAllAlarms",
         [](LoggerConfig& c, SampleBuffer& s) {
             c = coldroom(MODEL_ZR_TH);
             c.setCalGradient(0.1f);
             c.setCalOffset(5.0f);
             c.setSampleInterval(60);
             c.setReadingCount(2);
             c.setAlarmFlags(ALARM_HIGH_ENABLED | ALARM_LOW_ENABLED | ALARM_RH_HIGH_ENABLED |
                             ALARM_RH_LOW_ENABLED);
             c.setHighAlarmRaw(250);
             c.setLowAlarmRaw(50);
             c.setRhHighAlarm(140);
             c.setRhLowAlarm(40);
             setRawSamples(s, {165, 91, 164, 92});
         },
         fileOf({"COLDROOM,Time,Celsius(°C),High Alarm,Low Alarm,Humidity(%rh),High Alarm rh,Low "
                 "Alarm rh,dew point(°C),Serial Number",
                 "1,05/03/2007 14:30:00,21.5,30.0,10.0,45.5,70.0,20.0,9.2,000123456",
                 "2,05/03/2007 14:31:00,21.4,30.0,10.0,46.0,70.0,20.0,9.3"})},
        {"ZrThNoHumidity",
         [](LoggerConfig& c, SampleBuffer& s) {
             c = coldroom(MODEL_ZR_TH);
             c.setCalGradient(0.1f);
             c.setCalOffset(5.0f);
             c.setSampleInterval(60);
             c.setReadingCount(1);
             setRawSamples(s, {165, 0});
         },
         fileOf({"COLDROOM,Time,Celsius(°C),Humidity(%rh),dew point(°C),Serial Number",
                 "1,05/03/2007 14:30:00,21.5,0.0,Error,000123456"})},
        {"ZrVTwoDecimals",
         [](LoggerConfig& c, SampleBuffer& s) {
             c = coldroom(MODEL_ZR_V);
             c.setCalGradient(0.001f);
             c.setF32At(field::CAP_SCALAR, 1.0f);
             c.setScaleUnit("V");
             c.setOptionFlags(1);
             c.setSampleInterval(60);
             c.setReadingCount(1);
             c.setAlarmFlags(ALARM_HIGH_ENABLED);
             c.setHighAlarmRaw(15000);
             c.resetDerivedScaling();
             c.displayStep = 0.01f;
             c.decimalPlaces = 2;
             setRawSamples(s, {12350});
         },
         fileOf({"COLDROOM,Time,Voltage(V),High Alarm,Serial Number",
                 "1,05/03/2007 14:30:00,12.35,15.00,000123456"})},
        {"ZrCoWithCalibration",
         [](LoggerConfig& c, SampleBuffer& s) {
             c = coldroom(MODEL_ZR_CO);
             c.setCalGradient(0.1f);
             c.setSampleInterval(10);
             c.setReadingCount(2);
             c.setAlarmFlags(ALARM_HIGH_ENABLED | ALARM_LOW_ENABLED);
             c.setHighAlarmRaw(500);
             c.setLowAlarmRaw(350);
             for (std::size_t f : {field::SENSOR_LIFE_DAY, field::CAL_DATE_DAY}) {
                 c.setByteAt(f, 5);
                 c.setByteAt(f + 1, 3);
                 c.setByteAt(f + 2, 107);
             }
             c.setByteAt(field::SENSOR_LIFE_MONTHS, 24);
             c.setByteAt(field::CAL_PERIOD_MONTHS, 12);
             setRawSamples(s, {0, 35});
         },
         fileOf({"COLDROOM,Time,CO(ppm),High Alarm,Warning Level,Serial Number,Sensor Life "
                 "Expiry,Calibration Expiry,Overrange Exposure",
                 "1,05/03/2007 14:30:00,0.0,50.0,35.0,000123456,04/03/2009,04/03/2008,No",
                 "2,05/03/2007 14:30:10,3.5,50.0,35.0"})},
        {"ZrTcFahrenheit",
         [](LoggerConfig& c, SampleBuffer& s) {
             c = coldroom(MODEL_ZR_TC);
             c.setOptionFlags(TC_FAHRENHEIT);
             c.setSampleInterval(60);
             c.setReadingCount(1);
             setRawSamples(s, {6840});
         },
         fileOf({"COLDROOM,Time,Fahrenheit(°F),Serial Number", "1,05/03/2007 14:30:00,356,000123456"})},
        {"ZrEvRisingEdges",
         [](LoggerConfig& c, SampleBuffer& s) {
             c = coldroom(MODEL_ZR_EV);
             c.setEventSampleMode(EVENT_MODE_EDGE);
             c.setRisingEdge(true);
             c.setReadingCount(2);
             // +12.4 s, then +10 min 50.6 s.
             setRawSamples(s, {0x8000 | 124, 0x8000 | 6506});
         },
         fileOf({"COLDROOM,Time,Event(Rising),Serial Number", "0,05/03/2007 14:30:00.0,,000123456",
                 "1,05/03/2007 14:30:12.4,1", "2,05/03/2007 14:41:03.0,1"})},
        {"ZrEvStates",
         [](LoggerConfig& c, SampleBuffer& s) {
             c = coldroom(MODEL_ZR_EV);
             c.setEventSampleMode(EVENT_MODE_STATE);
             c.setReadingCount(3);
             // +0, +2 min 15.7 s, +7 min 44.5 s.
             setRawSamples(s, {0, 0x8000 | 1357, 4645});
         },
         fileOf({"COLDROOM,Time,Event(State),Serial Number", "1,05/03/2007 14:30:00.0,0,000123456",
                 "2,05/03/2007 14:32:15.7,1", "3,05/03/2007 14:40:00.2,0"})},
        {"ZrEvCountTotal",
         [](LoggerConfig& c, SampleBuffer& s) {
             c = coldroom(MODEL_ZR_EV);
             c.setEventSampleMode(EVENT_MODE_COUNT_TOTAL);
             c.setCountPeriod(1542);
             c.setReadingCount(1);
             s.clear();
         },
         fileOf({"COLDROOM,Time,Event(Count Total),Serial Number",
                 "1,05/03/2007 14:30:00,1542,000123456"})},
    };
    return table;
}

void PrintTo(const Example& example, std::ostream* os)
{
    *os << example.name;
}

class WorkedExample : public ::testing::TestWithParam<Example> {};

TEST_P(WorkedExample, MatchesByteForByte)
{
    LoggerConfig config;
    SampleBuffer samples;
    GetParam().setUp(config, samples);
    EXPECT_EQ(build(config, samples, EXAMPLE_START), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Download, WorkedExample, ::testing::ValuesIn(examples()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DownloadFile, SameBytesUnderGermanLocale)
{
    // Every example, with decimals, dates and a dew point, built in the "C"
    // locale and again where printf would write a decimal comma.
    std::vector<std::string> inC;
    for (const Example& example : examples()) {
        LoggerConfig config;
        SampleBuffer samples;
        example.setUp(config, samples);
        inC.push_back(build(config, samples, EXAMPLE_START));
    }
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr) << "de_DE.UTF-8 is not installed";
    char probe[16];
    std::snprintf(probe, sizeof probe, "%.1f", 4.5);
    EXPECT_STREQ(probe, "4,5");
    for (std::size_t i = 0; i < examples().size(); ++i) {
        LoggerConfig config;
        SampleBuffer samples;
        examples()[i].setUp(config, samples);
        EXPECT_EQ(build(config, samples, EXAMPLE_START), inC[i]) << examples()[i].name;
    }
    std::setlocale(LC_ALL, previous.c_str());
}

TEST(DownloadFile, RoundedReadingsBelowZeroShowAsZero)
{
    // A reading that rounds to zero from below is "0.0", never "-0.0".
    LoggerConfig thermocouple = coldroom(MODEL_ZR_TC);
    thermocouple.setReadingCount(1);
    LoggerConfig voltage = coldroom(MODEL_ZR_V);
    voltage.setF32At(field::CAP_SCALAR, 1.0f);
    voltage.setOptionFlags(1);
    voltage.setReadingCount(1);
    voltage.resetDerivedScaling();
    voltage.scaleOffset = -0.03f;
    EXPECT_EQ(linesOf(build(thermocouple, {3596}, EXAMPLE_START))[1],
              "1,05/03/2007 14:30:00,0.0,000123456");
    EXPECT_EQ(linesOf(build(voltage, {0}, EXAMPLE_START))[1], "1,05/03/2007 14:30:00,0.0,000123456");
}

TEST(DownloadFile, DefaultFileNames)
{
    const struct {
        const char* loggerName;
        const char* fileName;
    } cases[] = {
        {"Freezer/1.a", "Freezer1a"},
        {"\"%&*,./:<>?\\|", ""},
        {"", ""},
        {"Cold Room 2", "Cold Room 2"},
        {"a:b<c>d?e|f", "abcdef"},
        {"K\xFChlraum", "K\xFChlraum"},  // cp1252 bytes stay as they are
        // Control characters would reach the file name and the terminal.
        {"a\x1B[2Jb", "a[2Jb"},
        {"Bell\x07\nRoom\r\t1\x7F", "BellRoom1"},
        {"\x01\x1F", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(defaultDownloadFileName(c.loggerName), c.fileName) << c.loggerName;
}

// Samples that show where each row read from: sample i holds i.
SampleBuffer countingSamples(std::size_t size)
{
    SampleBuffer samples(size);
    for (std::size_t i = 0; i < size; ++i)
        samples[i] = static_cast<Sample>(i);
    return samples;
}

std::vector<std::string> fieldsOf(const std::string& line)
{
    std::vector<std::string> fields;
    std::size_t from = 0;
    for (;;) {
        const std::size_t at = line.find(',', from);
        fields.push_back(line.substr(from, at - from));
        if (at == std::string::npos)
            return fields;
        from = at + 1;
    }
}

TEST(DownloadFile, HumidityWrapRing)
{
    // Humidity logger in wrap storage: capacity C, 100 readings since the
    // last wrap, wrapped once.
    constexpr int C = 300;
    LoggerConfig config = coldroom(MODEL_ZR_TH_D);
    config.setCalGradient(1.0f);
    config.setSampleInterval(1);
    config.setWrapMode(true);
    config.setByteAt(field::WRAP_COUNT, 1);
    config.setU16At(field::MEMORY_CAPACITY, C);
    config.setReadingCount(100);
    const std::vector<std::string> lines =
        linesOf(build(config, countingSamples(2 * C), EXAMPLE_START));

    ASSERT_EQ(lines.size(), 1u + (C - 1));
    // Temperature is the sample index itself, humidity half of it.
    EXPECT_EQ(fieldsOf(lines[1])[2], "202.0");
    EXPECT_EQ(fieldsOf(lines[1])[3], "101.5");
    std::vector<int> order;
    for (std::size_t i = 1; i < lines.size(); ++i)
        order.push_back(std::stoi(fieldsOf(lines[i])[2]));
    const auto last = std::find(order.begin(), order.end(), 2 * C - 2);
    ASSERT_NE(last, order.end());
    ASSERT_NE(last + 1, order.end());
    EXPECT_EQ(*(last + 1), 0);
    EXPECT_EQ(fieldsOf(lines[(last - order.begin()) + 2])[3], "0.5");
    EXPECT_EQ(std::count(order.begin(), order.end(), 200), 0);
    EXPECT_EQ(order.back(), 198);
    // Rows one second apart from the first reading on.
    EXPECT_EQ(fieldsOf(lines[1])[1], "05/03/2007 14:30:00");
    EXPECT_EQ(fieldsOf(lines[C - 1])[1], "05/03/2007 14:34:58");
}

TEST(DownloadFile, ThermocoupleWrapRing)
{
    // One sample per row, ring of C samples; the raw-sample option shows
    // which sample each row read.
    constexpr int C = 50;
    LoggerConfig config = coldroom(MODEL_ZR_TC_D);
    config.setOptionFlags(0x02);
    config.setSampleInterval(10);
    config.setWrapMode(true);
    config.setByteAt(field::WRAP_COUNT, 3);
    config.setU16At(field::MEMORY_CAPACITY, C);
    config.setReadingCount(10);
    const std::vector<std::string> lines = linesOf(build(config, countingSamples(C), EXAMPLE_START));

    ASSERT_EQ(lines.size(), 1u + (C - 1));
    std::vector<int> order;
    for (std::size_t i = 1; i < lines.size(); ++i)
        order.push_back(std::stoi(fieldsOf(lines[i])[2]));
    std::vector<int> expected;
    for (int k = 11; k < C; ++k)
        expected.push_back(k);
    for (int k = 0; k < 10; ++k)
        expected.push_back(k);
    EXPECT_EQ(order, expected);
}

TEST(DownloadFile, EventEdgeFileWithoutEdges)
{
    LoggerConfig config = coldroom(MODEL_ZR_EV);
    config.setEventSampleMode(EVENT_MODE_EDGE);
    config.setReadingCount(3);
    EXPECT_EQ(build(config, {12, 0x7FFF, 5}, EXAMPLE_START),
              fileOf({"COLDROOM,Time,Event(Falling),Serial Number",
                      "0,05/03/2007 14:30:00.0,,000123456"}));
}

TEST(DownloadFile, EventFallingEdgesCarryTenthsAcrossDays)
{
    // 32767 tenths (54 min 36.7 s) per record from 23:59:59.5 on 28 Feb 2008.
    LoggerConfig config = coldroom(MODEL_ZR_EV);
    config.setEventSampleMode(EVENT_MODE_EDGE);
    config.setReadingCount(3);
    CalendarTime start = makeCalendarTime(2008, 2, 28, 23, 59, 54);
    EXPECT_EQ(build(config, {0x8000 | 55, 0x8000 | 0x7FFF, 0x7FFF}, start),
              fileOf({"COLDROOM,Time,Event(Falling),Serial Number",
                      "0,28/02/2008 23:59:54.0,,000123456", "1,28/02/2008 23:59:59.5,0",
                      "2,29/02/2008 00:54:36.2,0"}));
}

TEST(DownloadFile, EventStateRecords)
{
    LoggerConfig config = coldroom(MODEL_ZR_EV);
    config.setEventSampleMode(EVENT_MODE_STATE);
    config.setReadingCount(3);
    EXPECT_EQ(build(config, {0x8005, 0x8003, 0x0010}, EXAMPLE_START),
              fileOf({"COLDROOM,Time,Event(State),Serial Number",
                      "1,05/03/2007 14:30:00.5,1,000123456", "2,05/03/2007 14:30:02.4,0"}));
}

TEST(DownloadFile, CountPerPeriodStartsOnePeriodLate)
{
    LoggerConfig config = coldroom(MODEL_ZR_EV);
    config.setEventSampleMode(EVENT_MODE_COUNT_PER);
    config.setCountPeriod(3600);
    config.setReadingCount(2);
    EXPECT_EQ(build(config, {17, 0}, EXAMPLE_START),
              fileOf({"COLDROOM,Time,Event(Count Per),Serial Number",
                      "1,05/03/2007 15:30:00,17,000123456", "2,05/03/2007 16:30:00,0"}));
}

TEST(DownloadFile, LongPeriodsKeepCalendarArithmetic)
{
    // Periods of a day and more take a shortcut; the dates must be those of
    // adding the seconds one carry at a time.
    for (std::uint32_t period : {86400u, 86401u, 31u * 86400u + 7u, 400u * 86400u, 4000000000u}) {
        LoggerConfig config = coldroom(MODEL_ZR_EV);
        config.setEventSampleMode(EVENT_MODE_COUNT_PER);
        config.setCountPeriod(period);
        config.setReadingCount(40);
        const CalendarTime start = makeCalendarTime(2007, 12, 31, 23, 59, 59);
        const std::vector<std::string> lines =
            linesOf(build(config, SampleBuffer(40, 1), start));
        ASSERT_EQ(lines.size(), 41u);
        CalendarTime t = start;
        for (std::size_t row = 1; row < lines.size(); ++row) {
            addSeconds(t, period);
            EXPECT_EQ(fieldsOf(lines[row])[1], formatDayFirst(t)) << period << " row " << row;
        }
    }
}

TEST(DownloadFile, MissingSamplesStopWithAMessage)
{
    const struct {
        const char* name;
        int model;
        int mode;
        int readings;
        std::size_t samples;
    } cases[] = {
        {"temperature", MODEL_ZR_T, 0, 10, 9},
        {"humidity channel", MODEL_ZR_TH, 0, 5, 9},
        {"event records", MODEL_ZR_EV, EVENT_MODE_STATE, 4, 3},
        {"count per period", MODEL_ZR_EV, EVENT_MODE_COUNT_PER, 4, 0},
    };
    for (const auto& c : cases) {
        LoggerConfig config = coldroom(c.model);
        config.setEventSampleMode(c.mode);
        config.setSampleInterval(60);
        config.setCountPeriod(60);
        config.setReadingCount(static_cast<std::int16_t>(c.readings));
        std::string bytes;
        const DownloadOutcome outcome =
            buildDownloadFile(config, SampleBuffer(c.samples, 0x8001), EXAMPLE_START, bytes);
        EXPECT_EQ(outcome.error, DownloadError::SampleMissing) << c.name;
        EXPECT_NE(outcome.message.find("is missing (" + std::to_string(c.samples) + " were read)"),
                  std::string::npos)
            << outcome.message;
    }
}

TEST(DownloadFile, WrapFieldsBeyondTheSamples)
{
    // A wrap count with a reading count past the ring: the first row would
    // read beyond the downloaded memory.
    LoggerConfig config = coldroom(MODEL_ZR_T_PRO);
    config.setWrapMode(true);
    config.setByteAt(field::WRAP_COUNT, 1);
    config.setU16At(field::MEMORY_CAPACITY, 20);
    config.setReadingCount(30000);
    std::string bytes;
    EXPECT_EQ(buildDownloadFile(config, SampleBuffer(20, 1), EXAMPLE_START, bytes).error,
              DownloadError::SampleMissing);
}

TEST(DownloadFile, NothingToWrite)
{
    const struct {
        const char* name;
        std::function<void(LoggerConfig&)> edit;
    } cases[] = {
        {"no readings", [](LoggerConfig& c) { c.setReadingCount(0); }},
        {"negative count", [](LoggerConfig& c) { c.setReadingCount(-3); }},
        {"wrap with capacity 1",
         [](LoggerConfig& c) {
             c.setModelType(MODEL_ZR_T_RC);
             c.setWrapMode(true);
             c.setByteAt(field::WRAP_COUNT, 1);
             c.setU16At(field::MEMORY_CAPACITY, 1);
             c.setReadingCount(5);
         }},
        {"state records, none",
         [](LoggerConfig& c) {
             c.setModelType(MODEL_ZR_EV);
             c.setEventSampleMode(EVENT_MODE_STATE);
             c.setReadingCount(0);
         }},
    };
    for (const auto& c : cases) {
        LoggerConfig config = coldroom(MODEL_ZR_T);
        c.edit(config);
        std::string bytes;
        const DownloadOutcome outcome =
            buildDownloadFile(config, SampleBuffer(100, 1), EXAMPLE_START, bytes);
        EXPECT_EQ(outcome.error, DownloadError::NoReadings) << c.name;
        EXPECT_EQ(outcome.message, text::NO_READINGS);
    }
}

TEST(DownloadFile, NamesThatWouldBreakTheFile)
{
    // A name from another tool with a comma or a line break must not add a
    // column or a line.
    LoggerConfig config = coldroom(MODEL_ZR_T);
    config.setLoggerName("A,B\r\nC");
    config.setReadingCount(1);
    const std::vector<std::string> lines = linesOf(build(config, {0}, EXAMPLE_START));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], utf8ToCp1252("A B  C,Time,Celsius(°C),Serial Number"));
}

TEST(DownloadFile, TimeFieldsStayNineteenCharacters)
{
    // A start in 1999 carried over the year end and an interval of 43200 s.
    LoggerConfig config = coldroom(MODEL_ZR_T_MINI);
    config.setSampleInterval(43200);
    config.setReadingCount(3);
    const std::vector<std::string> lines =
        linesOf(build(config, {100, 200, 300}, makeCalendarTime(1999, 12, 31, 6, 0, 0)));
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(fieldsOf(lines[1])[1], "31/12/1999 06:00:00");
    EXPECT_EQ(fieldsOf(lines[2])[1], "31/12/1999 18:00:00");
    EXPECT_EQ(fieldsOf(lines[3])[1], "01/01/2000 06:00:00");
}

TEST(DownloadFile, SampleLayoutOfEachStorage)
{
    const struct {
        int model;
        bool wrap;
        int wrapCount;
        int readings;
        long rows;
        std::size_t first;
        std::size_t ring;
    } cases[] = {
        {MODEL_ZR_T, false, 0, 40, 40, 0, 82},
        {MODEL_ZR_TH, false, 0, 40, 40, 0, 82},
        {MODEL_ZR_TH_X, true, 0, 40, 40, 0, 82},      // wrap mode, never wrapped
        {MODEL_ZR_TH_X, true, 2, 40, 99, 82, 200},
        {MODEL_ZR_TH_DX, true, 1, 0, 99, 2, 200},
        {MODEL_ZR_T_PRO, true, 1, 40, 99, 41, 100},
        {MODEL_ZR_T_RC, true, 5, 98, 99, 99, 100},
        {MODEL_ZR_T_MINI, true, 1, 40, 40, 0, 82},    // no wrap storage on this model
    };
    for (const auto& c : cases) {
        LoggerConfig config = coldroom(c.model);
        config.setWrapMode(c.wrap);
        config.setByteAt(field::WRAP_COUNT, static_cast<std::uint8_t>(c.wrapCount));
        config.setU16At(field::MEMORY_CAPACITY, 100);
        config.setReadingCount(static_cast<std::int16_t>(c.readings));
        const SampleLayout layout = sampleLayout(config);
        EXPECT_EQ(layout.rows, c.rows) << c.model;
        EXPECT_EQ(layout.first, c.first) << c.model;
        EXPECT_EQ(layout.ring, c.ring) << c.model;
    }
}

} // namespace
} // namespace vessor::test
