// The download-file reader: its time rule, where and why it refuses, each
// row's own time and text, and a factory image of every model written and
// read back (the golden files are read in tests/download).
#include "logger/conversion.h"
#include "logger/download_file.h"
#include "logger/download_reader.h"
#include "logger/models.h"
#include "logger/sim/simulated_logger.h"
#include "logger/text_encoding.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

namespace vessor::download {
namespace {

// ---------------------------------------------------------------- times

TEST(TimeStamp, Fields) {
    struct Case {
        const char* text;
        bool valid;
        ClockFields fields;
    };
    const Case cases[] = {
        {"05/03/2007 14:30:00", true, {2007, 3, 5, 14, 30, 0}},
        {"31/12/1999 23:59:59", true, {1999, 12, 31, 23, 59, 59}},
        {"01/01/1970 00:00:00", true, {1970, 1, 1, 0, 0, 0}},
        {"05/03/2069 14:30:00", true, {2069, 3, 5, 14, 30, 0}},
        {"05/03/2070 14:30:00", true, {1970, 3, 5, 14, 30, 0}},
        {"05/03/1969 14:30:00", false, {}},
        {"00/03/2007 14:30:00", false, {}},
        {"32/03/2007 14:30:00", false, {}},
        {"05/13/2007 14:30:00", false, {}},
        {"05/03/2007 24:30:00", false, {}},
        {"05/03/2007 14:60:00", false, {}},
        {"05/03/2007 14:30:60", false, {}},
        {"5/03/2007 14:30:00", false, {}},
        {"05/03/2007 14:30:00.4", false, {}},
        {"05/03/2007 14:30", false, {}},
        {"05-03-2007 14:30:00", false, {}},
    };
    for (const Case& c : cases) {
        ClockFields f;
        ASSERT_EQ(parseTimeStamp(c.text, f), c.valid) << c.text;
        if (c.valid) {
            EXPECT_EQ(toClockSeconds(f), toClockSeconds(c.fields)) << c.text;
            EXPECT_EQ(f.year, c.fields.year) << c.text;
        }
    }
}

TEST(TimeStamp, ClockSecondsRoundTripAndCarryLikeTheCalendar) {
    for (const ClockFields f :
         {ClockFields{1970, 1, 1, 0, 0, 0}, ClockFields{2000, 2, 29, 12, 0, 1},
          ClockFields{2007, 3, 25, 2, 30, 0}, ClockFields{2069, 12, 31, 23, 59, 59},
          ClockFields{2100, 3, 1, 0, 0, 0}}) {
        const ClockFields back = fromClockSeconds(toClockSeconds(f));
        EXPECT_EQ(std::tie(back.year, back.month, back.day, back.hour, back.minute, back.second),
                  std::tie(f.year, f.month, f.day, f.hour, f.minute, f.second));
    }
    EXPECT_EQ(toClockSeconds({2000, 1, 1, 0, 0, 0}), 946684800);
    // 31 February runs into March as the C library's calendar does.
    EXPECT_EQ(toClockSeconds({2007, 2, 31, 0, 0, 0}), toClockSeconds({2007, 3, 3, 0, 0, 0}));
    // No daylight-saving step: the night the clocks change is 24 hours long.
    EXPECT_EQ(toClockSeconds({2007, 3, 26, 0, 0, 0}) - toClockSeconds({2007, 3, 25, 0, 0, 0}),
              86400);
}

// ------------------------------------------------------ outcome and rows

const std::string H = "X,Time,Celsius(\xB0"
                      "C),High Alarm";

TEST(ReadOutcome, NamesTheLineThatMadeTheFileInvalid) {
    const struct {
        std::string bytes;
        ReadStatus status;
        int line;
    } cases[] = {
        {"", ReadStatus::Invalid, 1},
        {"X\r\n1,05/03/2007 14:30:00,1\r\n", ReadStatus::Invalid, 1},
        {H + "\r\n", ReadStatus::Invalid, 2},
        {H + "\r\n1,5/03/2007 14:30:00,1,2\r\n", ReadStatus::Invalid, 2},
        {H + "\r\n1,05/03/2007 14:30:00,1\r\n", ReadStatus::Invalid, 2},
        {H + "\r\n1,05/03/2007 14:30:00,1,2\r\n2,x,1,2\r\n", ReadStatus::Invalid, 3},
        {H + "\r\n1,05/03/2007 14:30:00,1,2\r\n2,05/03/2007 14:30:10,1,2\r\n3,x,1\r\n",
         ReadStatus::Invalid, 4},
        {H + "\r\n1,05/03/2007 14:30:00,1,2\r\n2,05/03/2007 14:30:10,1,2\r\n\r\n", ReadStatus::Invalid, 4},
        {"X,Time,Event(State)\r\n", ReadStatus::EventFile, 0},
        {H + "\r\n1,05/03/2007 14:30:00,1,2\r\n", ReadStatus::Ok, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes);
        const ReadResult r = readDownload(c.bytes);
        EXPECT_EQ(r.outcome.status, c.status);
        EXPECT_EQ(r.outcome.line, c.line);
        EXPECT_EQ(r.outcome.reason.empty(), c.status != ReadStatus::Invalid);
        if (c.status != ReadStatus::Ok) {
            EXPECT_TRUE(r.data.rows.empty());
        }
    }
}

TEST(Rows, EachRowKeepsItsTextAndItsOwnTime) {
    const std::string bytes = H + "\r\n"
                                  " 1,05/03/2070 14:30:00,4.5,8.0,000123456,04/03/2009\r\n"
                                  "2,05/03/2070 14:30:10,4.0,8.0\n"
                                  "3,05/03/2071 00:00:00,3.5,8.0\r\n"
                                  "4,not a time,3.0,8.0";
    const ReadResult r = readDownload(bytes);
    ASSERT_EQ(r.outcome.status, ReadStatus::Ok) << r.outcome.reason;
    ASSERT_EQ(r.data.rowCount(), 4);
    EXPECT_EQ(r.data.rows[0].line, " 1,05/03/2070 14:30:00,4.5,8.0,000123456,04/03/2009");
    EXPECT_EQ(r.data.rows[1].line, "2,05/03/2070 14:30:10,4.0,8.0");
    EXPECT_EQ(r.data.rows[3].line, "4,not a time,3.0,8.0");
    // Every row's time by the first row's rule: "70" is 1970 throughout.
    EXPECT_EQ(r.data.startTime, toClockSeconds({1970, 3, 5, 14, 30, 0}));
    EXPECT_EQ(r.data.rows[0].time, r.data.startTime);
    EXPECT_EQ(r.data.rows[1].time, r.data.startTime + 10);
    EXPECT_EQ(r.data.rows[2].time, toClockSeconds({1971, 3, 5, 0, 0, 0}));
    EXPECT_FALSE(r.data.rows[3].time);
    EXPECT_EQ(r.data.interval, 10);
    EXPECT_EQ(r.data.primary.readings, (std::vector<double>{4.5, 4.0, 3.5, 3.0}));
    EXPECT_EQ(r.data.primary.high, (std::vector<double>{8, 8, 8, 8}));
    EXPECT_EQ(r.data.primary.low, std::vector<double>(4, NO_VALUE));
    EXPECT_TRUE(r.data.primary.extra.empty());
    EXPECT_FALSE(r.data.secondary.present);
    EXPECT_EQ(r.data.header, H);
    EXPECT_EQ(serialNumber(r.data), ""); // the header names no such column
}

TEST(Rows, TheSerialNumberIsTheFirstRowsFieldUnderItsHeading) {
    const std::string bytes = H + ",Serial Number\r\n1,05/03/2009 14:30:00,4.5,8.0,070001234\r\n"
                                  "2,05/03/2009 14:30:10,4.0,8.0\r\n";
    const ReadResult r = readDownload(bytes);
    ASSERT_EQ(r.outcome.status, ReadStatus::Ok) << r.outcome.reason;
    EXPECT_EQ(serialNumber(r.data), "070001234");
    const std::string plain = "Store,Time,Celsius(\xB0" "C)\r\n1,05/03/2009 14:30:00,4.5\r\n";
    const ReadResult without = readDownload(plain);
    ASSERT_EQ(without.outcome.status, ReadStatus::Ok) << without.outcome.reason;
    EXPECT_EQ(serialNumber(without.data), "");
}

TEST(Rows, ABlankSecondRowEndsTheFileAtOneReading) {
    const std::string bytes = H + "\r\n1,05/03/2007 14:30:00,4.5,8.0\r\n \r\n3,junk\r\n";
    const ReadResult r = readDownload(bytes);
    ASSERT_EQ(r.outcome.status, ReadStatus::Ok);
    EXPECT_EQ(r.data.rowCount(), 1);
    EXPECT_EQ(r.data.interval, 1);
}

// ------------------------------------------ round trips: every model

struct Written {
    LoggerConfig config;
    std::vector<unsigned> raw;     // main channel, one per reading
    std::vector<unsigned> rawRh;   // humidity, one per reading
    std::string bytes;
};

constexpr int READINGS = 40;

Written writeFactoryFile(int model) {
    sim::FactoryOptions options;
    options.modelType = model;
    options.now = makeCalendarTime(2007, 3, 5, 14, 30, 0);
    std::string error;
    const std::optional<sim::LoggerImage> image = sim::makeFactoryImage(options, error);
    EXPECT_TRUE(image) << error;
    Written w;
    if (!image)
        return w;
    w.config.setBlock(image->block);
    w.config.refreshDerived();
    w.config.setReadingCount(READINGS);
    const bool humidity = isHumidityModel(model);
    SampleBuffer samples;
    for (int i = 0; i < READINGS; ++i) {
        w.raw.push_back(sim::simulatedRaw(image->block, static_cast<std::uint32_t>(i), 0));
        samples.push_back(static_cast<SampleBuffer::value_type>(w.raw.back()));
        if (humidity) {
            // A dry reading now and then: its dew point is "Error".
            w.rawRh.push_back(i % 13 == 5 ? 0 : sim::simulatedRaw(image->block, static_cast<std::uint32_t>(i), 1));
            samples.push_back(static_cast<SampleBuffer::value_type>(w.rawRh.back()));
        }
    }
    const DownloadOutcome outcome = buildDownloadFile(w.config, samples, w.bytes);
    EXPECT_TRUE(outcome.ok()) << outcome.message;
    return w;
}

TEST(RoundTrip, AFactoryImageOfEveryModelReadsAsItsConversions) {
    for (int model = 1; model <= 18; ++model) {
        SCOPED_TRACE("model " + std::to_string(model));
        const Written w = writeFactoryFile(model);
        const ReadResult r = readDownload(w.bytes);
        if (isEventLogger(model)) {
            EXPECT_EQ(r.outcome.status, ReadStatus::EventFile);
            continue;
        }
        ASSERT_EQ(r.outcome.status, ReadStatus::Ok) << r.outcome.line << ": " << r.outcome.reason;
        const DownloadData& d = r.data;
        const LoggerConfig& c = w.config;
        ASSERT_EQ(d.rowCount(), READINGS);
        EXPECT_EQ(d.title, cp1252ToUtf8(c.loggerName()));
        EXPECT_EQ(d.startTime, toCalendarSeconds(c.firstReadingTime()));
        EXPECT_EQ(d.interval, std::clamp<int>(static_cast<int>(c.sampleInterval()), MIN_INTERVAL, MAX_INTERVAL));

        // Each value is the conversion of its raw count at the file's decimals.
        const std::string highText = formatHighAlarm(c);
        const std::string lowText = formatLowAlarm(c);
        for (int i = 0; i < READINGS; ++i) {
            const auto at = static_cast<std::size_t>(i);
            const std::string reading = formatReading(c, w.raw[at]);
            EXPECT_EQ(d.primary.readings[at], parseLeadingNumber(reading)) << i;
            EXPECT_EQ(d.primary.high[at], d.primary.hasHigh ? parseLeadingNumber(highText) : NO_VALUE) << i;
            EXPECT_EQ(d.primary.low[at], d.primary.hasLow ? parseLeadingNumber(lowText) : NO_VALUE) << i;
            EXPECT_EQ(d.rows[at].time, d.startTime + static_cast<std::int64_t>(i) * d.interval) << i;
            if (i == READINGS - 1) {
                EXPECT_EQ(d.primary.decimals, decimalsOf(reading));
            }
        }
        EXPECT_EQ(d.primary.hasHigh, (c.alarmFlags() & ALARM_HIGH_ENABLED) != 0);
        EXPECT_EQ(d.primary.hasLow, (c.alarmFlags() & ALARM_LOW_ENABLED) != 0);

        ASSERT_EQ(d.secondary.present, isHumidityModel(model));
        if (!d.secondary.present)
            continue;
        EXPECT_EQ(d.secondary.unit, "%rh");
        ASSERT_TRUE(d.primary.hasExtra);
        for (int i = 0; i < READINGS; ++i) {
            const auto at = static_cast<std::size_t>(i);
            const float rh = halfUnitsToPercent(w.rawRh[at]);
            EXPECT_EQ(d.secondary.readings[at], parseLeadingNumber(formatFixed(rh, 1))) << i;
            const double dew = rh == 0.0f ? NO_VALUE
                                          : parseLeadingNumber(formatFixed(
                                                dewPoint(c, rawToValue(c, w.raw[at]), rh), 1));
            EXPECT_EQ(d.primary.extra[at], dew) << i;
        }
    }
}

// The viewer keeps only the first row: every count, channel and the serial
// number are what a full read gives.
TEST(RoundTrip, KeepingTheFirstRowOnlyReadsTheSameChannels) {
    std::vector<std::string> files = {
        H + ",Serial Number\r\n"
            "1,05/03/2009 14:30:00,4.5,8.0,070001234\r\n"
            "2,05/03/2009 14:30:10,4.0,8.0\r\n"
            "3,x,3.5,8.0\r\n",
        H + "\r\n1,05/03/2007 14:30:00,4.5,8.0\r\n \r\n3,junk\r\n",
        H + "\r\n1,05/03/2007 14:30:00,4.5,8.0\r\n2,05/03/2007 14:30:10,4.5\r\n", // refused
    };
    for (int model = 1; model <= 18; ++model)
        files.push_back(writeFactoryFile(model).bytes);
    for (const std::string& bytes : files) {
        const ReadResult all = readDownload(bytes);
        const ReadResult first = readDownload(bytes, {.everyRow = false});
        ASSERT_EQ(first.outcome.status, all.outcome.status);
        EXPECT_EQ(first.outcome.line, all.outcome.line);
        EXPECT_EQ(first.data.rowCount(), all.data.rowCount());
        EXPECT_EQ(first.data.rows.size(), std::min<std::size_t>(all.data.rows.size(), 1));
        if (!all.data.rows.empty()) {
            EXPECT_EQ(first.data.rows[0].line, all.data.rows[0].line);
            EXPECT_EQ(first.data.rows[0].time, all.data.rows[0].time);
        }
        EXPECT_EQ(serialNumber(first.data), serialNumber(all.data));
        EXPECT_EQ(first.data.startTime, all.data.startTime);
        EXPECT_EQ(first.data.interval, all.data.interval);
        for (auto channel : {&DownloadData::primary, &DownloadData::secondary}) {
            const Channel& a = all.data.*channel;
            const Channel& b = first.data.*channel;
            EXPECT_EQ(b.readings, a.readings);
            EXPECT_EQ(b.high, a.high);
            EXPECT_EQ(b.low, a.low);
            EXPECT_EQ(b.extra, a.extra);
            EXPECT_EQ(b.decimals, a.decimals);
        }
    }
}

} // namespace
} // namespace vessor::download
