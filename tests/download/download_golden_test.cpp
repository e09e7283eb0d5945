// Whole download files of every model and mode against the files kept in
// tests/data/download. Set VESSOR_UPDATE_GOLDEN=1 to rewrite them after an
// intended change, then read the difference before committing it.
#include "download_support.h"

#include "logger/conversion.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <sstream>

namespace vessor::test {
namespace {

struct Golden {
    const char* file;
    int model;
    std::function<void(LoggerConfig&)> setUp;
    // Raw sample i of the data memory.
    std::function<unsigned(std::size_t)> sample;
    std::size_t samples = 24;
};

void bothAlarms(LoggerConfig& c, unsigned high, unsigned low)
{
    c.setAlarmFlags(c.alarmFlags() | ALARM_HIGH_ENABLED | ALARM_LOW_ENABLED);
    c.setHighAlarmRaw(high);
    c.setLowAlarmRaw(low);
}

void setDefaultScaling(LoggerConfig& c, const char* unit, const char* in1, const char* out1,
                       const char* in2, const char* out2)
{
    c.setTextAt(field::DEFAULT_SCALE_UNIT, field::SCALE_UNIT_WIDTH, unit);
    c.setTextAt(field::DEFAULT_INPUT1_TEXT, field::SCALE_TEXT_WIDTH, in1);
    c.setTextAt(field::DEFAULT_OUTPUT1_TEXT, field::SCALE_TEXT_WIDTH, out1);
    c.setTextAt(field::DEFAULT_INPUT2_TEXT, field::SCALE_TEXT_WIDTH, in2);
    c.setTextAt(field::DEFAULT_OUTPUT2_TEXT, field::SCALE_TEXT_WIDTH, out2);
    c.resetScaling();
}

// An 8-bit temperature around 20 °C (M 0.5, C -40) with humidity samples
// between them on the humidity models.
unsigned temperatureHumidity(std::size_t i)
{
    if (i % 2 == 1)
        return i == 7 ? 0 : 70 + static_cast<unsigned>((i * 13) % 90);
    return 110 + static_cast<unsigned>((i * 7) % 15);
}

const std::vector<Golden>& goldens()
{
    static const std::vector<Golden> table = {
        {"zr-t-64-celsius.txt", MODEL_ZR_T_64,
         [](LoggerConfig& c) {
             c.setCalGradient(0.5f);
             c.setCalOffset(-40.0f);
             c.setSampleInterval(600);
             bothAlarms(c, 96, 84);
         },
         [](std::size_t i) { return 80u + static_cast<unsigned>((i * 5) % 20); }},
        {"zr-t-fahrenheit.txt", MODEL_ZR_T,
         [](LoggerConfig& c) {
             c.setOptionFlags(1);
             c.setCalGradient(0.9f);
             c.setCalOffset(-40.0f);
             c.setSampleInterval(30);
             c.setAlarmFlags(ALARM_HIGH_ENABLED);
             c.setHighAlarmRaw(150);
         },
         [](std::size_t i) { return 100u + static_cast<unsigned>(i); }},
        {"zr-th-celsius.txt", MODEL_ZR_TH,
         [](LoggerConfig& c) {
             c.setCalGradient(0.5f);
             c.setCalOffset(-40.0f);
             c.setSampleInterval(60);
             bothAlarms(c, 130, 90);
             c.setAlarmFlags(c.alarmFlags() | ALARM_RH_HIGH_ENABLED | ALARM_RH_LOW_ENABLED);
             c.setRhHighAlarm(150);
             c.setRhLowAlarm(41);
         },
         temperatureHumidity},
        {"zr-th-fahrenheit.txt", MODEL_ZR_TH,
         [](LoggerConfig& c) {
             c.setOptionFlags(1);
             c.setCalGradient(0.9f);
             c.setCalOffset(-40.0f);
             c.setSampleInterval(3600);
             c.setAlarmFlags(ALARM_RH_LOW_ENABLED);
             c.setRhLowAlarm(60);
         },
         temperatureHumidity},
        {"zr-v-custom.txt", MODEL_ZR_V,
         [](LoggerConfig& c) {
             c.setCalGradient(0.000306f);
             c.setF32At(field::CAP_SCALAR, 1.0f);
             setDefaultScaling(c, "V", "0", "0", "20", "20");
             c.setOptionFlags(1);
             c.setScaleUnit("bar");
             c.setScaleInput1Text("4");
             c.setScaleOutput1Text("0");
             c.setScaleInput2Text("20");
             c.setScaleOutput2Text("16");
             applyScaling(c);
             c.setSampleInterval(2);
             bothAlarms(c, 52000, 14000);
         },
         [](std::size_t i) { return 13000u + static_cast<unsigned>(i * 1777); }},
        {"zr-a-inverted.txt", MODEL_ZR_A,
         [](LoggerConfig& c) {
             c.setCalGradient(0.000306f);
             c.setF32At(field::CAP_SCALAR, 1.0f);
             setDefaultScaling(c, "mA", "0", "0", "20", "20");
             c.setOptionFlags(1);
             c.setScaleUnit("%");
             c.setScaleInput1Text("4");
             c.setScaleOutput1Text("100");
             c.setScaleInput2Text("20");
             c.setScaleOutput2Text("0");
             applyScaling(c);
             c.setSampleInterval(10);
             bothAlarms(c, 20000, 50000);
         },
         [](std::size_t i) { return 13000u + static_cast<unsigned>(i * 2011); }},
        {"zr-v-text-alarms.txt", MODEL_ZR_V_TEXT,
         [](LoggerConfig& c) {
             c.setCalGradient(0.000306f);
             c.setF32At(field::CAP_SCALAR, 1.0f);
             setDefaultScaling(c, "V", "0", "0", "20", "20");
             c.setSampleInterval(1);
             bothAlarms(c, 50000, 10000);
             c.setHighAlarmText("15.5");
             c.setLowAlarmText("3");
         },
         [](std::size_t i) { return 30000u + static_cast<unsigned>((i * 997) % 5000); }},
        {"zr-a-text-default.txt", MODEL_ZR_A_TEXT,
         [](LoggerConfig& c) {
             c.setCalGradient(0.000306f);
             c.setF32At(field::CAP_SCALAR, 1.0f);
             setDefaultScaling(c, "mA", "4", "4", "20", "20");
             c.setSampleInterval(300);
         },
         [](std::size_t i) { return 20000u + static_cast<unsigned>(i * 300); }},
        {"zr-t-mini-fahrenheit.txt", MODEL_ZR_T_MINI,
         [](LoggerConfig& c) {
             c.setOptionFlags(1);
             c.setCalGradient(0.0001f);
             c.setSampleInterval(1800);
             bothAlarms(c, 18000, 19500);
         },
         [](std::size_t i) { return 18200u + static_cast<unsigned>((i * 37) % 900); }},
        {"zr-co-calibrated.txt", MODEL_ZR_CO,
         [](LoggerConfig& c) {
             c.setCalGradient(0.1f);
             c.setCalOffset(-2.0f);
             c.setSampleInterval(10);
             bothAlarms(c, 500, 350);
             for (std::size_t f : {field::SENSOR_LIFE_DAY, field::CAL_DATE_DAY}) {
                 c.setByteAt(f, 1);
                 c.setByteAt(f + 1, 3);
                 c.setByteAt(f + 2, 107);
             }
             c.setByteAt(field::SENSOR_LIFE_MONTHS, 24);
             c.setByteAt(field::CAL_PERIOD_MONTHS, 12);
         },
         [](std::size_t i) { return static_cast<unsigned>((i * 29) % 400); }},
        {"zr-co-300-exposed.txt", MODEL_ZR_CO_300,
         [](LoggerConfig& c) {
             c.setCalGradient(0.5f);
             c.setSampleInterval(60);
             c.setAlarmFlags(ALARM_LOW_ENABLED);
             c.setLowAlarmRaw(70);
             c.setStatusFlags(STATUS_SENSOR_ERROR);
             c.setByteAt(field::SENSOR_LIFE_DAY, 31);
             c.setByteAt(field::SENSOR_LIFE_MONTH, 1);
             c.setByteAt(field::SENSOR_LIFE_YEAR, 108);
             c.setByteAt(field::SENSOR_LIFE_MONTHS, 1);
         },
         [](std::size_t i) { return static_cast<unsigned>((i * 41) % 700); }},
        {"zr-tc-celsius.txt", MODEL_ZR_TC,
         [](LoggerConfig& c) {
             c.setOptionFlags(TC_TYPE_K);
             c.setSampleInterval(1);
             bothAlarms(c, 5000, 3000);
         },
         [](std::size_t i) { return 3200u + static_cast<unsigned>(i * 61); }},
        {"zr-tc-raw.txt", MODEL_ZR_TC,
         [](LoggerConfig& c) {
             c.setOptionFlags(TC_TYPE_J | 0x02);
             c.setSampleInterval(10);
         },
         [](std::size_t i) { return 3200u + static_cast<unsigned>(i * 61); }},
        {"zr-th-d-wrapped.txt", MODEL_ZR_TH_D,
         [](LoggerConfig& c) {
             c.setCalGradient(0.5f);
             c.setCalOffset(-40.0f);
             c.setSampleInterval(60);
             c.setWrapMode(true);
             c.setByteAt(field::WRAP_COUNT, 2);
             c.setU16At(field::MEMORY_CAPACITY, 12);
             c.setReadingCount(4);
         },
         temperatureHumidity},
        {"zr-th-x.txt", MODEL_ZR_TH_X,
         [](LoggerConfig& c) {
             c.setCalGradient(0.5f);
             c.setCalOffset(-40.0f);
             c.setSampleInterval(10);
             c.setAlarmFlags(ALARM_HIGH_ENABLED | ALARM_RH_HIGH_ENABLED);
             c.setHighAlarmRaw(125);
             c.setRhHighAlarm(161);
         },
         temperatureHumidity},
        {"zr-t-pro-wrapped.txt", MODEL_ZR_T_PRO,
         [](LoggerConfig& c) {
             c.setCalGradient(0.01f);
             c.setCalOffset(-50.0f);
             c.setSampleInterval(300);
             c.setWrapMode(true);
             c.setByteAt(field::WRAP_COUNT, 1);
             c.setU16At(field::MEMORY_CAPACITY, 24);
             c.setReadingCount(9);
             bothAlarms(c, 8000, 4000);
         },
         [](std::size_t i) { return 6000u + static_cast<unsigned>(i * 11); }},
        {"zr-tc-d-fahrenheit.txt", MODEL_ZR_TC_D,
         [](LoggerConfig& c) {
             c.setOptionFlags(TC_FAHRENHEIT | TC_TYPE_T);
             c.setSampleInterval(2);
             c.setAlarmFlags(ALARM_HIGH_ENABLED);
             c.setHighAlarmRaw(5000);
         },
         [](std::size_t i) { return 3600u + static_cast<unsigned>(i * 47); }},
        {"zr-th-dx-push-button.txt", MODEL_ZR_TH_DX,
         [](LoggerConfig& c) {
             c.setCalGradient(0.5f);
             c.setCalOffset(-40.0f);
             c.setSampleInterval(2);
             c.setPushButtonMode(true);
             c.setStartDelay(3725);
         },
         temperatureHumidity},
        {"zr-ev-rising.txt", MODEL_ZR_EV,
         [](LoggerConfig& c) {
             c.setEventSampleMode(EVENT_MODE_EDGE);
             c.setRisingEdge(true);
         },
         [](std::size_t i) {
             return (i % 3 == 2 ? 0u : 0x8000u) | static_cast<unsigned>((i * 4099) % 32768);
         }},
        {"zr-ev-falling.txt", MODEL_ZR_EV,
         [](LoggerConfig& c) {
             c.setEventSampleMode(EVENT_MODE_EDGE);
             c.setVoltFree(true);
         },
         [](std::size_t i) { return 0x8000u | static_cast<unsigned>(i * 9); }},
        {"zr-ev-state.txt", MODEL_ZR_EV,
         [](LoggerConfig& c) { c.setEventSampleMode(EVENT_MODE_STATE); },
         [](std::size_t i) {
             return ((i / 2) % 2 ? 0x8000u : 0u) | static_cast<unsigned>(100 + i * 37);
         }},
        {"zr-ev-count-total.txt", MODEL_ZR_EV,
         [](LoggerConfig& c) {
             c.setEventSampleMode(EVENT_MODE_COUNT_TOTAL);
             c.setCountPeriod(4000000000u);
         },
         [](std::size_t) { return 0u; }},
        {"zr-ev-count-per.txt", MODEL_ZR_EV,
         [](LoggerConfig& c) {
             c.setEventSampleMode(EVENT_MODE_COUNT_PER);
             c.setCountPeriod(900);
         },
         [](std::size_t i) { return static_cast<unsigned>((i * 7919) % 1000); }},
        {"zr-t-rc.txt", MODEL_ZR_T_RC,
         [](LoggerConfig& c) {
             c.setSampleInterval(43200);
             bothAlarms(c, 4200, 3400);
         },
         [](std::size_t i) { return 3700u + static_cast<unsigned>(i * 3); }},
    };
    return table;
}

std::string dataPath(const std::string& file)
{
    return std::string(VESSOR_DOWNLOAD_DATA_DIR) + "/" + file;
}

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void PrintTo(const Golden& golden, std::ostream* os)
{
    *os << golden.file;
}

class GoldenFile : public ::testing::TestWithParam<Golden> {};

std::string buildGolden(const Golden& golden)
{
    LoggerConfig config = coldroom(golden.model);
    config.setLoggerName("Store 4");
    config.setU32At(field::SERIAL_NUMBER, 70001234);
    config.setReadingCount(12);
    config.setStartTime(2011, 2, 28, 23, 58, 30);
    golden.setUp(config);
    SampleBuffer samples(golden.samples);
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<Sample>(golden.sample(i));
    std::string bytes;
    const DownloadOutcome outcome = buildDownloadFile(config, samples, bytes);
    return outcome.ok() ? bytes : "failed: " + outcome.message;
}

TEST_P(GoldenFile, MatchesKeptFile)
{
    const Golden& golden = GetParam();
    const std::string bytes = buildGolden(golden);
    ASSERT_NE(bytes.rfind("failed: ", 0), 0u) << bytes;

    const std::string path = dataPath(golden.file);
    if (std::getenv("VESSOR_UPDATE_GOLDEN")) {
        std::ofstream(path, std::ios::binary) << bytes;
        GTEST_SKIP() << "rewrote " << path;
    }
    const std::string kept = readFile(path);
    ASSERT_FALSE(kept.empty()) << "missing " << path;
    const std::vector<std::string> expected = linesOf(kept);
    const std::vector<std::string> actual = linesOf(bytes);
    EXPECT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < std::min(actual.size(), expected.size()); ++i)
        EXPECT_EQ(cp1252ToUtf8(actual[i]), cp1252ToUtf8(expected[i])) << "line " << i + 1;
    EXPECT_TRUE(bytes == kept) << "bytes differ from " << path;
}

TEST(GoldenFiles, SameBytesUnderGermanLocale)
{
    std::vector<std::string> inC;
    for (const Golden& golden : goldens())
        inC.push_back(buildGolden(golden));
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr) << "de_DE.UTF-8 is not installed";
    for (std::size_t i = 0; i < goldens().size(); ++i)
        EXPECT_EQ(buildGolden(goldens()[i]), inC[i]) << goldens()[i].file;
    std::setlocale(LC_ALL, previous.c_str());
}

INSTANTIATE_TEST_SUITE_P(Download, GoldenFile, ::testing::ValuesIn(goldens()),
                         [](const auto& info) {
                             std::string name = info.param.file;
                             name = name.substr(0, name.find('.'));
                             for (char& c : name)
                                 if (c == '-')
                                     c = '_';
                             return name;
                         });

} // namespace
} // namespace vessor::test
