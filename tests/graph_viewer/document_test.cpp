// The download-file reader: every rule a file can meet, over small files.
#include "document/document_json.h"
#include "document/vessor_graph_doc.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace vessor::graph {
namespace {

const std::string DEG = "\xB0"; // the degree sign as files hold it
const std::string DATA_DIR = GRAPH_TEST_DATA;

struct Reader {
    std::string dataFilePath;
    VessorGraphDoc doc{dataFilePath};

    LoadStatus read(const std::string& text) { return doc.ParseDownloadText(text); }
    double y(const TraceSet& set, int trace, int i) const { return set.data.yValue(trace, i); }
};

std::string crlf(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    return text;
}

std::int64_t clock(int y, int mo, int d, int h, int mi, int s) {
    return toClockSeconds(ClockFields{y, mo, d, h, mi, s});
}

// ---------------------------------------------------------------- headings

struct HeadingCase {
    const char* what;
    std::string header;
    // expected
    std::string primaryName, primaryUnit;
    bool high, low, extra;
    bool secondary;
    std::string secondaryUnit;
    bool secondaryHigh, secondaryLow;
};

class Headings : public ::testing::TestWithParam<HeadingCase> {};

TEST_P(Headings, ChannelsAlarmsAndUnits) {
    const HeadingCase& c = GetParam();
    Reader r;
    // One row with a value for every column any of these headers announces.
    ASSERT_EQ(r.read(c.header + "\r\n1,05/03/2007 14:30:00,1,2,3,4,5,6,7,8\r\n"), LoadStatus::Ok)
        << c.what;
    const TraceSet& p = r.doc.primary;
    const TraceSet& s = r.doc.secondary;
    EXPECT_EQ(p.name, c.primaryName) << c.what;
    EXPECT_EQ(p.unit, c.primaryUnit) << c.what;
    EXPECT_EQ(p.hasHigh, c.high) << c.what;
    EXPECT_EQ(p.hasLow, c.low) << c.what;
    EXPECT_EQ(p.hasExtra, c.extra) << c.what;
    EXPECT_EQ(s.present, c.secondary) << c.what;
    EXPECT_EQ(s.unit, c.secondaryUnit) << c.what;
    EXPECT_EQ(s.hasHigh, c.secondaryHigh) << c.what;
    EXPECT_EQ(s.hasLow, c.secondaryLow) << c.what;
    // A trace is shown exactly when the file supplies it.
    EXPECT_EQ(p.data.display(HIGH_ALARM) == Display::Shown, c.high) << c.what;
    EXPECT_EQ(p.data.display(LOW_ALARM) == Display::Shown, c.low) << c.what;
    EXPECT_EQ(p.data.display(EXTRA) == Display::Shown, c.extra) << c.what;
    EXPECT_EQ(s.data.display(READINGS) == Display::Shown, c.secondary) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Reader, Headings,
    ::testing::Values(
        HeadingCase{"temperature with both alarms",
                    "X,Time,Celsius(" + DEG + "C),High Alarm,Low Alarm,Serial Number", "Celsius",
                    "\u00B0C", true, true, false, false, "", false, false},
        HeadingCase{"Celsius without brackets gets its unit by name",
                    "X,Time,Celsius,Humidity(%rh)", "Celsius", "\u00B0C", false, false, false, true,
                    "%rh", false, false},
        HeadingCase{"Fahrenheit in any case", "X,Time,water FAHRENHEIT", "water FAHRENHEIT",
                    "\u00B0F", false, false, false, false, "", false, false},
        HeadingCase{"other names get no unit", "X,Time,Voltage,High Alarm", "Voltage", "", true,
                    false, false, false, "", false, false},
        HeadingCase{"alarm before humidity is the temperature's, after it the humidity's",
                    "X,Time,Celsius(" + DEG +
                        "C),High Alarm,Humidity(%rh),High Alarm rh,dew point(" + DEG + "C)",
                    "Celsius", "\u00B0C", true, false, true, true, "%rh", true, false},
        HeadingCase{"dew point of another unit is ignored",
                    "X,Time,Celsius(" + DEG + "C),Humidity(%rh),Low Alarm rh,dew point(" + DEG +
                        "F)",
                    "Celsius", "\u00B0C", false, false, false, true, "%rh", false, true},
        HeadingCase{"the extra unit must match in case too",
                    "X,Time,Celsius(" + DEG + "C),Humidity(%rh),dew point(" + DEG + "c)", "Celsius",
                    "\u00B0C", false, false, false, true, "%rh", false, false},
        HeadingCase{"warning level is the low alarm",
                    "X,Time,CO(ppm),High Alarm,Warning Level,Serial Number,Sensor Life Expiry",
                    "CO", "ppm", true, true, false, false, "", false, false},
        HeadingCase{"no heading after Time: an unnamed channel", "X,Time", "", "", false, false,
                    false, false, "", false, false}));

// -------------------------------------------------- whole files: outcomes

struct FileCase {
    const char* what;
    std::string text;
    LoadStatus status;
    int readingCount;
    int interval;
    std::int64_t startTime;
};

class Files : public ::testing::TestWithParam<FileCase> {};

TEST_P(Files, StatusCountIntervalAndStart) {
    const FileCase& c = GetParam();
    Reader r;
    EXPECT_EQ(r.read(c.text), c.status) << c.what;
    EXPECT_EQ(r.doc.readingCount, c.readingCount) << c.what;
    EXPECT_EQ(r.doc.interval, c.interval) << c.what;
    EXPECT_EQ(r.doc.startTime, c.startTime) << c.what;
    EXPECT_EQ(r.doc.lastStatus(), c.status) << c.what;
    if (c.status == LoadStatus::Invalid) {
        // The line and the reason, for logs.
        EXPECT_EQ(r.doc.lastError().rfind("line ", 0), 0u) << c.what << ": " << r.doc.lastError();
        EXPECT_FALSE(r.doc.primary.present) << c.what;
        EXPECT_EQ(r.doc.primary.data.pointCount(READINGS), 0) << c.what;
    } else {
        EXPECT_TRUE(r.doc.lastError().empty()) << c.what;
    }
}

const std::string H = "X,Time,Celsius(" + DEG + "C)";
const std::int64_t T0 = clock(2007, 3, 5, 14, 30, 0);
const std::int64_t EMPTY_START = clock(2000, 1, 1, 0, 0, 0);

INSTANTIATE_TEST_SUITE_P(
    Reader, Files,
    ::testing::Values(
        FileCase{"two rows five minutes apart",
                 crlf({H, "1,05/03/2007 14:30:00,4.5", "2,05/03/2007 14:35:00,4.0"}),
                 LoadStatus::Ok, 2, 300, T0},
        FileCase{"same time gives one second",
                 crlf({H, "1,05/03/2007 14:30:00,4.5", "2,05/03/2007 14:30:00,4.0"}),
                 LoadStatus::Ok, 2, 1, T0},
        FileCase{"a second row before the first gives one second",
                 crlf({H, "1,05/03/2007 14:30:00,4.5", "2,05/03/2007 14:29:00,4.0"}),
                 LoadStatus::Ok, 2, 1, T0},
        FileCase{"24 hours apart gives 43200",
                 crlf({H, "1,05/03/2007 14:30:00,4.5", "2,06/03/2007 14:30:00,4.0"}),
                 LoadStatus::Ok, 2, 43200, T0},
        FileCase{
            "later rows' times are not read",
            crlf({H, "1,05/03/2007 14:30:00,4.5", "2,05/03/2007 14:30:10,4.0", "3,nonsense,3.5"}),
            LoadStatus::Ok, 3, 10, T0},
        FileCase{"year 2070 is read as 1970",
                 crlf({H, "1,05/03/2070 14:30:00,4.5", "2,05/03/2070 14:30:10,4.0"}),
                 LoadStatus::Ok, 2, 10, clock(1970, 3, 5, 14, 30, 0)},
        FileCase{"year 1969 is invalid",
                 crlf({H, "1,05/03/1969 14:30:00,4.5", "2,05/03/2007 14:30:10,4.0"}),
                 LoadStatus::Invalid, 0, 10, EMPTY_START},
        FileCase{"a one-digit day is refused",
                 crlf({H, "1,5/03/2007 14:30:00,4.5", "2,05/03/2007 14:30:10,4.0"}),
                 LoadStatus::Invalid, 0, 10, EMPTY_START},
        FileCase{"a malformed second time is refused",
                 crlf({H, "1,05/03/2007 14:30:00,4.5", "2,05/03/2007 14:60:00,4.0"}),
                 LoadStatus::Invalid, 0, 10, EMPTY_START},
        FileCase{"a single row is two points one second apart",
                 crlf({H, "1,05/03/2007 14:30:00,4.5,000123456"}), LoadStatus::Ok, 2, 1, T0},
        FileCase{"a blank second row ends the file there",
                 crlf({H, "1,05/03/2007 14:30:00,4.5", "  \t ", "3,garbage"}), LoadStatus::Ok, 2, 1,
                 T0},
        FileCase{"a blank line after the second row is invalid",
                 crlf({H, "1,05/03/2007 14:30:00,4.5", "2,05/03/2007 14:30:10,4.0", "",
                       "3,05/03/2007 14:30:20,4.0"}),
                 LoadStatus::Invalid, 0, 10, EMPTY_START},
        FileCase{"a trailing empty line is invalid",
                 crlf({H, "1,05/03/2007 14:30:00,4.5", "2,05/03/2007 14:30:10,4.0", ""}),
                 LoadStatus::Invalid, 0, 10, EMPTY_START},
        FileCase{"LF line ends and no final line end are read",
                 H + "\n1,05/03/2007 14:30:00,4.5\n2,05/03/2007 14:30:10,4.0\n3,x,3.0",
                 LoadStatus::Ok, 3, 10, T0},
        FileCase{"blanks around the header and the first two rows are ignored",
                 " " + H + "  \r\n\t1,05/03/2007 14:30:00,4.5 \r\n 2,05/03/2007 14:30:10,4.0 \r\n",
                 LoadStatus::Ok, 2, 10, T0},
        FileCase{"runs of commas are one separator",
                 crlf({"X,,Time,,,Celsius,High Alarm", "1,,05/03/2007 14:30:00,,4.5,,8.0",
                       "2,05/03/2007 14:30:10,4.0,8.0"}),
                 LoadStatus::Ok, 2, 10, T0},
        FileCase{
            "a row lacking an announced alarm is invalid",
            crlf({H + ",High Alarm", "1,05/03/2007 14:30:00,4.5,8.0", "2,05/03/2007 14:30:10,4.0"}),
            LoadStatus::Invalid, 0, 10, EMPTY_START},
        FileCase{"a first row without a reading is invalid", crlf({H, "1,05/03/2007 14:30:00"}),
                 LoadStatus::Invalid, 0, 10, EMPTY_START},
        FileCase{"no data row is invalid", crlf({H}), LoadStatus::Invalid, 0, 10, EMPTY_START},
        FileCase{"a header of one field is invalid", crlf({"COLDROOM", "1,05/03/2007 14:30:00,4"}),
                 LoadStatus::Invalid, 0, 10, EMPTY_START},
        FileCase{"an empty file is invalid", "", LoadStatus::Invalid, 0, 10, EMPTY_START},
        FileCase{"not-a-number readings are refused",
                 crlf({H, "1,05/03/2007 14:30:00,nan", "2,05/03/2007 14:30:10,4.0"}),
                 LoadStatus::Invalid, 0, 10, EMPTY_START},
        FileCase{"infinite readings are refused",
                 crlf({H, "1,05/03/2007 14:30:00,4.0", "2,05/03/2007 14:30:10,1e400"}),
                 LoadStatus::Invalid, 0, 10, EMPTY_START},
        FileCase{"binary bytes are invalid data", std::string("\x00\xff\x01,\x02\n\x7f", 7),
                 LoadStatus::Invalid, 0, 10, EMPTY_START},
        FileCase{"an event heading in any case after the second field",
                 crlf({"COLDROOM,Time,eVeNt(State)", "1,05/03/2007 14:30:00.0,0"}),
                 LoadStatus::EventFile, 0, 10, EMPTY_START},
        FileCase{"a logger named EVENT is no event file",
                 crlf({"EVENT ROOM,Time,Celsius", "1,05/03/2007 14:30:00,4.5"}), LoadStatus::Ok, 2,
                 1, T0}));

// ------------------------------------------------ the worked example files

struct SampleCase {
    const char* file;
    LoadStatus status;
    int readingCount;
    // Expected traces of primary (4) and secondary (3); nullopt = NO_VALUE.
    std::vector<std::vector<std::optional<double>>> primary;
    std::vector<std::vector<std::optional<double>>> secondary;
};

class Samples : public ::testing::TestWithParam<SampleCase> {};

TEST_P(Samples, ValuesAsTheFileGivesThem) {
    const SampleCase& c = GetParam();
    Reader r;
    const std::string path = DATA_DIR + "/" + c.file;
    EXPECT_EQ(r.doc.ParseDownloadFile(path), c.status) << c.file;
    EXPECT_EQ(r.doc.readingCount, c.readingCount) << c.file;
    const auto check = [&](const TraceSet& set, const auto& expected, const char* name) {
        for (std::size_t t = 0; t < expected.size(); ++t) {
            const int trace = static_cast<int>(t);
            ASSERT_EQ(set.data.pointCount(trace), static_cast<int>(expected[t].size()))
                << c.file << " " << name << " trace " << t;
            for (std::size_t i = 0; i < expected[t].size(); ++i) {
                const double y = set.data.yValue(trace, static_cast<int>(i));
                if (expected[t][i]) {
                    EXPECT_DOUBLE_EQ(y, *expected[t][i]) << c.file << " " << name << t << "/" << i;
                } else {
                    EXPECT_TRUE(isNoValue(y)) << c.file << " " << name << t << "/" << i;
                }
            }
        }
    };
    check(r.doc.primary, c.primary, "primary");
    check(r.doc.secondary, c.secondary, "secondary");
}

const std::optional<double> NONE;
INSTANTIATE_TEST_SUITE_P(
    Reader, Samples,
    ::testing::Values(
        SampleCase{"zr-t-celsius.txt",
                   LoadStatus::Ok,
                   2,
                   {{4.5, 4.0}, {8.0, 8.0}, {2.0, 2.0}, {}},
                   {{}, {}, {}}},
        SampleCase{"zr-th-alarms.txt",
                   LoadStatus::Ok,
                   2,
                   {{21.5, 21.4}, {30.0, 30.0}, {10.0, 10.0}, {9.2, 9.3}},
                   {{45.5, 46.0}, {70.0, 70.0}, {20.0, 20.0}}},
        SampleCase{"zr-th-no-humidity.txt",
                   LoadStatus::Ok,
                   2,
                   {{21.5, 21.5}, {NONE, NONE}, {NONE, NONE}, {NONE, NONE}},
                   {{0.0, 0.0}, {NONE, NONE}, {NONE, NONE}}},
        SampleCase{"zr-v.txt",
                   LoadStatus::Ok,
                   2,
                   {{12.35, 12.35}, {15.0, 15.0}, {NONE, NONE}, {}},
                   {{}, {}, {}}},
        SampleCase{"zr-co.txt",
                   LoadStatus::Ok,
                   2,
                   {{0.0, 3.5}, {50.0, 50.0}, {35.0, 35.0}, {}},
                   {{}, {}, {}}},
        SampleCase{"zr-tc-fahrenheit.txt",
                   LoadStatus::Ok,
                   2,
                   {{356, 356}, {NONE, NONE}, {NONE, NONE}, {}},
                   {{}, {}, {}}},
        SampleCase{"zr-ev-rising.txt", LoadStatus::EventFile, 0, {{}, {}, {}, {}}, {{}, {}, {}}},
        SampleCase{"zr-ev-state.txt", LoadStatus::EventFile, 0, {{}, {}, {}, {}}, {{}, {}, {}}},
        SampleCase{
            "zr-ev-count-total.txt", LoadStatus::EventFile, 0, {{}, {}, {}, {}}, {{}, {}, {}}}));

// --------------------------------------------------------- single details

TEST(Reader, SingleReadingRepeatsEveryTraceOneSecondLater) {
    Reader r;
    ASSERT_EQ(r.doc.ParseDownloadFile(DATA_DIR + "/zr-th-no-humidity.txt"), LoadStatus::Ok);
    EXPECT_EQ(r.doc.interval, 1);
    for (const TraceSet* set : {&r.doc.primary, &r.doc.secondary}) {
        for (int t = 0; t < 3; ++t) {
            EXPECT_DOUBLE_EQ(set->data.xValue(t, 1), 1.0);
            EXPECT_EQ(set->data.lastPoint(t), 1);
        }
    }
    EXPECT_EQ(r.doc.primary.data.pointCount(EXTRA), 2);
}

TEST(Reader, LabelsAreUnicodeAndTheTitleIsTheLoggerName) {
    Reader r;
    ASSERT_EQ(r.read(crlf({"K\xFChlraum,Time,Celsius(" + DEG + "C),High Alarm",
                           "1,05/03/2007 14:30:00,4.5,8.0"})),
              LoadStatus::Ok);
    EXPECT_EQ(r.doc.title, "K\u00FChlraum");
    EXPECT_EQ(r.doc.primary.unit, "\u00B0C");
    EXPECT_EQ(r.doc.primary.highLabel, "High Alarm");
}

TEST(Reader, DecimalsFollowTheReadingsAndAreCapped) {
    Reader r;
    ASSERT_EQ(r.read(crlf({"X,Time,Voltage(V)", "1,05/03/2007 14:30:00,12.35",
                           "2,05/03/2007 14:30:01,12.40"})),
              LoadStatus::Ok);
    EXPECT_EQ(r.doc.primary.decimals, 2);
    ASSERT_EQ(
        r.read(crlf({"X,Time,Voltage(V)", "1,05/03/2007 14:30:00,1." + std::string(500, '0')})),
        LoadStatus::Ok);
    EXPECT_EQ(r.doc.primary.decimals, 15);
    ASSERT_EQ(r.read(crlf({"X,Time,Celsius", "1,05/03/2007 14:30:00,356"})), LoadStatus::Ok);
    EXPECT_EQ(r.doc.primary.decimals, 0);
}

TEST(Reader, NumbersIgnoreTheUserLocale) {
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8"))
        GTEST_SKIP() << "de_DE.UTF-8 is not installed";
    Reader r;
    const LoadStatus status =
        r.read(crlf({"X,Time,Celsius(" + DEG + "C),High Alarm", "1,05/03/2007 14:30:00,4.5,-1.25e1",
                     "2,05/03/2007 14:30:01,  +7.25,8"}));
    const std::string json = documentToJson(r.doc);
    std::setlocale(LC_ALL, saved.c_str());
    ASSERT_EQ(status, LoadStatus::Ok);
    EXPECT_DOUBLE_EQ(r.y(r.doc.primary, READINGS, 0), 4.5);
    EXPECT_DOUBLE_EQ(r.y(r.doc.primary, HIGH_ALARM, 0), -12.5);
    EXPECT_DOUBLE_EQ(r.y(r.doc.primary, READINGS, 1), 7.25);
    EXPECT_NE(json.find("[4.5,7.25]"), std::string::npos) << json;
}

TEST(Reader, TextThatIsNoNumberReadsAsZero) {
    Reader r;
    ASSERT_EQ(r.read(crlf({"X,Time,Celsius,Humidity(%rh),dew point(" + DEG + "C)",
                           "1,05/03/2007 14:30:00,abc,12.5kg,Error",
                           "2,05/03/2007 14:30:01,--3,.5,error"})),
              LoadStatus::Ok);
    EXPECT_EQ(r.y(r.doc.primary, READINGS, 0), 0.0);
    EXPECT_EQ(r.y(r.doc.primary, READINGS, 1), 0.0);
    EXPECT_EQ(r.y(r.doc.secondary, READINGS, 0), 12.5);
    EXPECT_EQ(r.y(r.doc.secondary, READINGS, 1), 0.5);
    // Only "Error" exactly stands for no value.
    EXPECT_TRUE(isNoValue(r.y(r.doc.primary, EXTRA, 0)));
    EXPECT_EQ(r.y(r.doc.primary, EXTRA, 1), 0.0);
}

TEST(Reader, MoreReadingsThanTheOldCapacitiesGrowTheTraces) {
    std::string text = "X,Time,Celsius(" + DEG + "C),Humidity(%rh),dew point(" + DEG + "C)\r\n";
    constexpr int ROWS = 40000;
    for (int i = 0; i < ROWS; ++i) {
        text += std::to_string(i + 1) + (i < 2 ? ",05/03/2007 14:30:0" + std::to_string(i) : ",x") +
                "," + std::to_string(i % 100) + ".5," + std::to_string(i % 90) + ".0,1.0\r\n";
    }
    Reader r;
    ASSERT_EQ(r.read(text), LoadStatus::Ok);
    EXPECT_EQ(r.doc.readingCount, ROWS);
    EXPECT_EQ(r.doc.primary.data.lastPoint(READINGS), ROWS - 1);
    EXPECT_EQ(r.doc.secondary.data.lastPoint(READINGS), ROWS - 1);
    EXPECT_DOUBLE_EQ(r.y(r.doc.primary, READINGS, ROWS - 1), (ROWS - 1) % 100 + 0.5);
    EXPECT_DOUBLE_EQ(r.y(r.doc.secondary, READINGS, ROWS - 1), (ROWS - 1) % 90);
    EXPECT_DOUBLE_EQ(r.doc.secondary.data.xValue(READINGS, ROWS - 1), ROWS - 1.0);
}

TEST(Reader, HostileLinesAreRefusedWithoutHarm) {
    const std::vector<std::string> files = {
        H + "\r\n" + std::string(1000000, ',') + "\r\n",
        H + "\r\n1," + std::string(200000, '9') + ",4\r\n",
        std::string(300000, 'A') + ",Time," + std::string(300000, '(') +
            "\r\n1,05/03/2007 14:30:00\r\n",
        H + "\r\n1,05/03/2007 14:30:00,4.5\r\n2,05/03/2007 14:30:01,4.5\r\n3" +
            std::string(100000, ',') + "\r\n",
        H + "\r\n1,99999999999/03/2007 1\r\n",
    };
    for (const std::string& text : files) {
        Reader r;
        EXPECT_EQ(r.read(text), LoadStatus::Invalid);
        EXPECT_EQ(r.doc.readingCount, 0);
    }
    // A file without line ends is not read into memory whole, wherever the long line stands.
    const std::string endless(65u << 20, '7');
    for (const std::string& text :
         {endless, H + "\r\n" + endless, H + "\r\n1,05/03/2007 14:30:00,4.5\r\n" + endless}) {
        Reader r;
        EXPECT_EQ(r.read(text), LoadStatus::Invalid);
        const std::string path = ::testing::TempDir() + "/endless-graph-file.txt";
        std::ofstream(path, std::ios::binary) << text;
        EXPECT_EQ(r.doc.ParseDownloadFile(path), LoadStatus::Invalid);
        std::remove(path.c_str());
    }
}

TEST(Reader, RefusalsEmptyTheDocumentAndForgetThePath) {
    Reader r;
    ASSERT_TRUE(r.doc.openDocument(DATA_DIR + "/zr-t-celsius.txt"));
    EXPECT_EQ(r.dataFilePath, DATA_DIR + "/zr-t-celsius.txt");
    EXPECT_EQ(r.doc.title, "COLDROOM");

    const std::string bad = ::testing::TempDir() + "/bad-graph-file.txt";
    std::ofstream(bad, std::ios::binary) << H << "\r\n1,5/3/2007 14:30:00,1\r\n";
    // The open succeeds for the framework; the content is refused.
    EXPECT_TRUE(r.doc.openDocument(bad));
    EXPECT_EQ(r.doc.lastStatus(), LoadStatus::Invalid);
    EXPECT_EQ(r.dataFilePath, "");
    EXPECT_EQ(r.doc.title, "");
    EXPECT_EQ(r.doc.readingCount, 0);
    EXPECT_EQ(r.doc.interval, 10);
    EXPECT_EQ(r.doc.startTime, EMPTY_START);
    EXPECT_EQ(r.doc.primary.data.display(READINGS), Display::Hidden);
    std::remove(bad.c_str());

    EXPECT_EQ(r.doc.ParseDownloadFile(DATA_DIR + "/no-such-file.txt"), LoadStatus::CannotOpen);
    EXPECT_EQ(r.doc.lastError(), "No such file or directory");
}

TEST(Reader, ReadFailuresShowTheFileLayersReport) {
    Reader r;
    EXPECT_EQ(r.doc.ParseDownloadFile(DATA_DIR), LoadStatus::ReadError);
    EXPECT_NE(r.doc.lastError().find("Is a directory"), std::string::npos) << r.doc.lastError();
}

// ----------------------------------------------------------------- JSON

TEST(Json, AWholeDocument) {
    Reader r;
    ASSERT_EQ(r.doc.ParseDownloadFile(DATA_DIR + "/zr-th-no-humidity.txt"), LoadStatus::Ok);
    EXPECT_EQ(documentToJson(r.doc),
              "{\"title\":\"COLDROOM\",\"readingCount\":2,\"interval\":1,"
              "\"startTime\":\"2007-03-05T14:30:00\","
              "\"primary\":{\"present\":true,\"name\":\"Celsius\",\"unit\":\"\u00B0C\","
              "\"highLabel\":\"\",\"lowLabel\":\"\",\"extraLabel\":\"dew point\",\"hasHigh\":false,"
              "\"hasLow\":false,\"hasExtra\":true,\"decimals\":1,"
              "\"traces\":[[21.5,21.5],[null,null],[null,null],[null,null]]},"
              "\"secondary\":{\"present\":true,\"name\":\"Humidity\",\"unit\":\"%rh\","
              "\"highLabel\":\"\",\"lowLabel\":\"\",\"extraLabel\":\"\",\"hasHigh\":false,"
              "\"hasLow\":false,\"hasExtra\":false,\"decimals\":0,"
              "\"traces\":[[0,0],[null,null],[null,null]]}}\n");
}

TEST(Json, TextsAreEscaped) {
    Reader r;
    ASSERT_EQ(r.read(crlf({"A \"quoted\\\" name\x01,Time,Celsius", "1,05/03/2007 14:30:00,1"})),
              LoadStatus::Ok);
    const std::string json = documentToJson(r.doc);
    EXPECT_NE(json.find("\"title\":\"A \\\"quoted\\\\\\\" name\\u0001\""), std::string::npos)
        << json;
}

} // namespace
} // namespace vessor::graph
