#include "logger/summary.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace vessor::download {
namespace {

constexpr double N = NO_VALUE;

// A file read as the viewer reads it; the bytes outlive the views.
struct Read {
    explicit Read(std::string text) : bytes(std::move(text)), result(readDownload(bytes)) {}
    std::string bytes;
    ReadResult result;
    Summary summary(ReadingRange range = {}, double energy = DEFAULT_ACTIVATION_ENERGY) const {
        return summarize(summaryInput(result.data), range, energy);
    }
};

// One channel with one alarm column, built by hand: rows without a level
// cannot come from a file.
Summary oneAlarm(const std::vector<double>& values, const std::vector<double>& levels, AlarmKind kind) {
    SummaryInput input;
    input.startTime = 1000;
    input.interval = 60;
    input.readings = static_cast<int>(values.size());
    ChannelColumns& channel = input.channels.emplace_back();
    channel.unit = "V";
    channel.values = values;
    channel.alarms.push_back({kind, "Alarm", levels});
    return summarize(input);
}

TEST(Summary, AlarmRunsAndLevels) {
    struct Run {
        int first, last;
        double extreme;
        bool open;
    };
    struct Case {
        const char* what;
        std::vector<double> values, levels;
        AlarmKind kind;
        std::optional<double> level;
        int readings, longest;
        std::vector<Run> runs;
    };
    const Case cases[] = {
        {"first row, a gap, last row open", {21, 19, 21, 21.5, 19, 22}, {20, 20, 20, 20, 20, 20},
         AlarmKind::High, 20, 4, 2, {{0, 0, 21, false}, {2, 3, 21.5, false}, {5, 5, 22, true}}},
        {"a row with no level ends a run", {25, 25, 25, 25}, {20, N, 20, 20}, AlarmKind::High, 20, 3, 2,
         {{0, 0, 25, false}, {2, 3, 25, true}}},
        {"a reading with no value ends a run", {5, N, 4, 6}, {10, 10, 10, 10}, AlarmKind::Low, 10, 3, 2,
         {{0, 0, 5, false}, {2, 3, 4, true}}},
        {"the level from the first row that has one", {40, 40, 40, 1}, {N, N, 30, 30}, AlarmKind::Warning,
         30, 1, 1, {{2, 2, 40, false}}},
        {"no level at all", {40, 40}, {N, N}, AlarmKind::High, std::nullopt, 0, 0, {}},
        {"at the level is within it", {20, 20, 5}, {20, 20, 5}, AlarmKind::High, 20, 0, 0, {}},
        {"a low run's extreme is its lowest", {3, 1, 2, 10}, {5, 5, 5, 5}, AlarmKind::Low, 5, 3, 3,
         {{0, 2, 1, false}}},
        {"levels change from row to row", {10, 10, 10}, {9, 11, 9}, AlarmKind::High, 9, 2, 1,
         {{0, 0, 10, false}, {2, 2, 10, true}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Summary s = oneAlarm(c.values, c.levels, c.kind);
        ASSERT_EQ(s.channels.size(), 1u);
        ASSERT_EQ(s.channels[0].alarms.size(), 1u);
        const AlarmSummary& a = s.channels[0].alarms[0];
        EXPECT_EQ(a.level, c.level);
        EXPECT_EQ(a.readings, c.readings);
        EXPECT_EQ(a.longestRun, c.longest);
        ASSERT_EQ(a.excursions.size(), c.runs.size());
        for (std::size_t i = 0; i < c.runs.size(); ++i) {
            EXPECT_EQ(a.excursions[i].first, c.runs[i].first) << i;
            EXPECT_EQ(a.excursions[i].last, c.runs[i].last) << i;
            EXPECT_EQ(a.excursions[i].extreme, c.runs[i].extreme) << i;
            EXPECT_EQ(a.excursions[i].openAtEnd, c.runs[i].open) << i;
        }
        EXPECT_EQ(a.firstAt(), c.runs.empty() ? std::nullopt : std::optional<int>(c.runs[0].first));
    }
}

TEST(Summary, StatisticsOverTheFileAndARange) {
    const Read file("Cold Store,Time,Celsius(\xB0" "C),High Alarm\r\n"
                    "1,08/12/2026 12:42:31,18.5,19.5\r\n"
                    "2,08/12/2026 12:43:31,20.0,19.5\r\n"
                    "3,08/12/2026 12:44:31,19.0,19.5\r\n"
                    "4,08/12/2026 12:45:31,20.0,19.5\r\n"
                    "5,08/12/2026 12:46:31,18.5,19.5\r\n");
    ASSERT_EQ(file.result.outcome.status, ReadStatus::Ok);
    const Summary whole = file.summary();
    EXPECT_EQ(whole.readings(), 5);
    const ChannelSummary& c = whole.channels.at(0);
    EXPECT_EQ(c.count, 5);
    EXPECT_EQ(c.min, 18.5);
    EXPECT_EQ(c.minAt, 0);
    EXPECT_EQ(c.max, 20.0);
    EXPECT_EQ(c.maxAt, 1); // the first of two
    EXPECT_NEAR(*c.mean, 19.2, 1e-12);
    // Squares of the deviations 0.49 + 0.64 + 0.04 + 0.64 + 0.49 = 2.3, over n − 1 = 4.
    EXPECT_NEAR(*c.stddev, std::sqrt(0.575), 1e-12);
    EXPECT_EQ(c.alarms.at(0).excursions.size(), 2u);

    // Readings 1 and 2 only; times stay those of the whole file.
    const Summary part = file.summary({1, 3});
    EXPECT_EQ(part.readings(), 2);
    const ChannelSummary& p = part.channels.at(0);
    EXPECT_EQ(p.count, 2);
    EXPECT_EQ(p.minAt, 2);
    EXPECT_EQ(p.maxAt, 1);
    EXPECT_EQ(p.alarms.at(0).readings, 1);
    EXPECT_FALSE(p.alarms.at(0).excursions.at(0).openAtEnd);
    // A run that reaches the range's last reading is open there.
    EXPECT_TRUE(file.summary({1, 4}).channels.at(0).alarms.at(0).excursions.at(1).openAtEnd);
    EXPECT_FALSE(whole.channels.at(0).alarms.at(0).excursions.at(1).openAtEnd);
    // A range beyond the file is held to it.
    const Summary clamped = file.summary({3, 99});
    EXPECT_EQ(clamped.range.from, 3);
    EXPECT_EQ(clamped.range.to, 5);
    EXPECT_EQ(file.summary({7, 2}).readings(), 0);
}

TEST(Summary, CoWarningLevelCountsFromBelow) {
    const Read file("CO,Time,CO(ppm),High Alarm,Warning Level,Serial Number\r\n"
                    "1,05/03/2007 14:30:00,36.0,50.0,35.0,000123456\r\n"
                    "2,05/03/2007 14:30:10,51.0,50.0,35.0\r\n"
                    "3,05/03/2007 14:30:20,10.0,50.0,35.0\r\n");
    const Summary s = file.summary();
    const ChannelSummary& co = s.channels.at(0);
    ASSERT_EQ(co.alarms.size(), 2u);
    EXPECT_EQ(co.alarms[0].kind, AlarmKind::High);
    EXPECT_EQ(co.alarms[0].readings, 1);
    EXPECT_EQ(co.alarms[1].kind, AlarmKind::Warning);
    EXPECT_EQ(co.alarms[1].label, "Warning Level");
    EXPECT_EQ(co.alarms[1].readings, 2);
    EXPECT_EQ(co.alarms[1].longestRun, 2);
    EXPECT_FALSE(co.mkt); // not a temperature
}

TEST(Summary, HumidityWithErrorDewPoints) {
    const Read file("TH,Time,Celsius(\xB0" "C),Humidity(%rh),High Alarm rh,Low Alarm rh,dew point(\xB0" "C)\r\n"
                    "1,05/03/2007 14:30:00,21.5,45.5,70.0,20.0,9.2\r\n"
                    "2,05/03/2007 14:31:00,21.4,0.0,70.0,20.0,Error\r\n"
                    "3,05/03/2007 14:32:00,21.3,46.0,70.0,20.0,9.4\r\n");
    const Summary s = file.summary();
    ASSERT_EQ(s.channels.size(), 3u);
    EXPECT_EQ(s.channels[0].role, ChannelRole::Primary);
    EXPECT_TRUE(s.channels[0].alarms.empty());
    const ChannelSummary& rh = s.channels[1];
    EXPECT_EQ(rh.role, ChannelRole::Secondary);
    EXPECT_EQ(rh.unit, "%rh");
    ASSERT_EQ(rh.alarms.size(), 2u);
    EXPECT_EQ(rh.alarms[1].kind, AlarmKind::Low);
    EXPECT_EQ(rh.alarms[1].readings, 1);
    EXPECT_FALSE(rh.mkt);
    const ChannelSummary& dew = s.channels[2];
    EXPECT_EQ(dew.role, ChannelRole::Extra);
    EXPECT_EQ(dew.name, "dew point");
    EXPECT_EQ(dew.unit, "\u00B0C");
    EXPECT_EQ(dew.count, 2);
    EXPECT_EQ(dew.min, 9.2);
    EXPECT_EQ(dew.maxAt, 2);
    EXPECT_NEAR(*dew.mean, 9.3, 1e-12);
    EXPECT_FALSE(dew.mkt); // only the primary channel has one
}

TEST(Summary, MeanKineticTemperature) {
    // By hand: 50, 68, 86 °F are 10, 20, 30 °C, T = 283.15, 293.15, 303.15 K.
    // With ΔH/R = 10000 K: exp(−10000/T) = 4.5923491e-16, 1.5319588e-15,
    // 4.7199880e-15; their mean 2.2370605e-15, ln of it −33.733614;
    // 10000 / 33.733614 = 296.44022 K = 23.290224 °C = 73.922404 °F.
    const Read fahrenheit("F,Time,Fahrenheit(\xB0" "F)\r\n"
                          "1,05/03/2007 14:30:00,50\r\n"
                          "2,05/03/2007 14:31:00,68\r\n"
                          "3,05/03/2007 14:32:00,86\r\n");
    EXPECT_NEAR(*fahrenheit.summary().channels.at(0).mkt, 73.922404, 1e-6);

    struct Case {
        const char* what;
        std::vector<double> values;
        const char* unit;
        double energy;
        std::optional<double> mkt;
    };
    const Case cases[] = {
        {"the same in Celsius", {10, 20, 30}, "\u00B0C", DEFAULT_ACTIVATION_ENERGY, 23.290224},
        {"equal values give that value", {5, 5, N}, "\u00B0C", DEFAULT_ACTIVATION_ENERGY, 5},
        // Zero activation energy would weigh every value alike: refused.
        {"no activation energy", {5}, "\u00B0C", 0, std::nullopt},
        {"not a temperature", {5}, "V", DEFAULT_ACTIVATION_ENERGY, std::nullopt},
        {"at absolute zero", {20, -273.15}, "\u00B0C", DEFAULT_ACTIVATION_ENERGY, std::nullopt},
        {"below absolute zero in Fahrenheit", {-500}, "\u00B0F", DEFAULT_ACTIVATION_ENERGY, std::nullopt},
        // exp(−10000 / 0.15) is below the smallest double.
        {"every term underflows", {-273}, "\u00B0C", DEFAULT_ACTIVATION_ENERGY, std::nullopt},
        {"no values", {N}, "\u00B0C", DEFAULT_ACTIVATION_ENERGY, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::optional<double> mkt = meanKineticTemperature(c.values, c.unit, c.energy);
        ASSERT_EQ(mkt.has_value(), c.mkt.has_value());
        if (mkt) {
            EXPECT_NEAR(*mkt, *c.mkt, 1e-6);
        }
    }
}

TEST(Summary, SingleReading) {
    const Read file("S,Time,Celsius(\xB0" "C),High Alarm\r\n"
                    "1,08/12/2026 12:42:31,5.0,4.0\r\n");
    const Summary s = file.summary();
    EXPECT_EQ(s.readings(), 1);
    const ChannelSummary& c = s.channels.at(0);
    EXPECT_EQ(c.count, 1);
    EXPECT_EQ(c.stddev, 0.0);
    EXPECT_NEAR(*c.mkt, 5.0, 1e-9);
    EXPECT_EQ(c.alarms.at(0).excursions.size(), 1u);
    EXPECT_TRUE(c.alarms.at(0).excursions[0].openAtEnd);
}

TEST(Summary, JsonText) {
    // Two readings; the dew point has none, so its statistics are null.
    const Read file("Cold \"Store\",Time,Celsius(\xB0" "C),High Alarm,Humidity(%rh),dew point(\xB0" "C)\r\n"
                    "1,08/12/2026 12:42:31,18.5,18.0,45.0,Error\r\n"
                    "2,08/12/2026 12:43:31,17.25,18.0,46.0,Error\r\n");
    EXPECT_EQ(summaryToJson(file.summary()),
              "{\"title\": \"Cold \\\"Store\\\"\", \"readings\": 2, \"interval\": 60, "
              "\"first\": \"2026-12-08T12:42:31\", \"last\": \"2026-12-08T12:43:31\", "
              "\"activationEnergy\": 83.14472, \"channels\": [\n"
              " {\"name\": \"Celsius\", \"unit\": \"\u00B0C\", \"role\": \"primary\", \"count\": 2, "
              "\"min\": 17.25, \"minAt\": \"2026-12-08T12:43:31\", \"max\": 18.5, "
              "\"maxAt\": \"2026-12-08T12:42:31\", \"mean\": 17.875, \"stddev\": 0.8838834764831844, "
              "\"mkt\": 17.896699224664474, \"alarms\": [{\"kind\": \"high\", \"label\": \"High Alarm\", "
              "\"level\": 18, \"readings\": 1, \"seconds\": 60, \"excursions\": 1, \"longestSeconds\": 60, "
              "\"firstAt\": \"2026-12-08T12:42:31\", \"excursionList\": [{\"start\": "
              "\"2026-12-08T12:42:31\", \"end\": \"2026-12-08T12:42:31\", \"seconds\": 60, "
              "\"extreme\": 18.5, \"openAtEnd\": false}]}]},\n"
              " {\"name\": \"Humidity\", \"unit\": \"%rh\", \"role\": \"secondary\", \"count\": 2, "
              "\"min\": 45, \"minAt\": \"2026-12-08T12:42:31\", \"max\": 46, \"maxAt\": "
              "\"2026-12-08T12:43:31\", \"mean\": 45.5, \"stddev\": 0.7071067811865476, \"mkt\": null, "
              "\"alarms\": []},\n"
              " {\"name\": \"dew point\", \"unit\": \"\u00B0C\", \"role\": \"extra\", \"count\": 0, "
              "\"min\": null, \"minAt\": null, \"max\": null, \"maxAt\": null, \"mean\": null, "
              "\"stddev\": null, \"mkt\": null, \"alarms\": []}]}\n");
}

} // namespace
} // namespace vessor::download
