// The document over an archive's series: two downloads with a gap between
// them stored in an SQLite archive made here, opened as the document; the
// gap holds no reading in the traces or the summary, and a series that does
// not fit its places is refused.
#include "document/document_summary.h"
#include "document/vessor_graph_doc.h"

#include "archive/archive_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

namespace vessor::graph {
namespace {

struct Doc {
    std::string dataFilePath;
    VessorGraphDoc doc{dataFilePath};
};

// Two downloads of one logger, three minutes apart: 29 31 32 · · 33 29.
archive::ArchiveSeries gapSeries(const test::TempFolder& folder) {
    std::string error;
    auto url = archive::parseArchiveUrl("sqlite:" + (folder.path() / "a.sqlite").string(), error);
    auto archive = archive::Archive::open(*url, error);
    EXPECT_TRUE(archive) << error;
    if (!archive)
        return {};
    const test::SeriesFile before{.values = {29.0, 31.0, 32.0}};
    const test::SeriesFile after{.start = before.start + 5 * 60, .values = {33.0, 29.0}};
    for (const test::SeriesFile& file : {after, before})
        EXPECT_TRUE(archive->importFile(test::seriesBytes(file), "f.txt", test::TEST_STAMP).ok());
    auto series = archive->series(before.serial, std::nullopt, std::nullopt);
    EXPECT_TRUE(series.ok()) << series.error;
    return series.ok() ? std::move(*series.value) : archive::ArchiveSeries{};
}

TEST(DocumentSeries, GapsAreNoReadingsAndEndExcursions) {
    test::TempFolder folder;
    Doc d;
    d.dataFilePath = "/old/file.txt";
    const SeriesSource source{"Cold Room 2 \u2014 archive, 2024-03-01 to 2024-03-02",
                              "sqlite:/a.sqlite", "000123456"};
    ASSERT_EQ(d.doc.openSeries(gapSeries(folder), source), LoadStatus::Ok) << d.doc.lastError();

    EXPECT_EQ(d.dataFilePath, "");
    EXPECT_EQ(d.doc.title, "Cold Room 2");
    EXPECT_EQ(d.doc.heading(), source.label);
    ASSERT_TRUE(d.doc.seriesSource());
    EXPECT_EQ(d.doc.serialNumber, "000123456");
    EXPECT_EQ(d.doc.rowsRead, 7);
    EXPECT_EQ(d.doc.readingCount, 7);
    EXPECT_EQ(d.doc.interval, 60);
    EXPECT_EQ(d.doc.startTime, 1709251200);
    const double no = NO_VALUE;
    const std::vector<double> readings{29, 31, 32, no, no, 33, 29};
    const std::vector<double> high{30, 30, 30, no, no, 30, 30};
    EXPECT_EQ(d.doc.primary.data.ys(READINGS), readings);
    EXPECT_EQ(d.doc.primary.data.ys(HIGH_ALARM), high);
    EXPECT_EQ(d.doc.primary.data.xValue(READINGS, 6), 360.0);
    EXPECT_FALSE(d.doc.secondary.present);

    const download::Summary summary = download::summarize(documentSummaryInput(d.doc));
    ASSERT_EQ(summary.channels.size(), 1u);
    EXPECT_EQ(summary.channels[0].count, 5);
    EXPECT_EQ(*summary.channels[0].mean, (29 + 31 + 32 + 33 + 29) / 5.0);
    ASSERT_EQ(summary.channels[0].alarms.size(), 1u);
    const auto& excursions = summary.channels[0].alarms[0].excursions;
    ASSERT_EQ(excursions.size(), 2u);
    EXPECT_EQ(excursions[0].first, 1);
    EXPECT_EQ(excursions[0].last, 2);
    EXPECT_EQ(excursions[1].first, 5);
    EXPECT_EQ(excursions[1].last, 5);

    // A file opened next is a file again.
    d.doc.ParseDownloadText("N,Time,Celsius(\xB0"
                            "C)\r\n1,01/03/2024 00:00:00,20.0\r\n");
    EXPECT_FALSE(d.doc.seriesSource());
    EXPECT_EQ(d.doc.heading(), "N");
}

// A series from an archive that was tampered with or is of a newer program
// is refused like a bad file: an empty document and the reason.
TEST(DocumentSeries, SeriesThatDoesNotFitIsRefused) {
    test::TempFolder folder;
    const archive::ArchiveSeries good = gapSeries(folder);
    ASSERT_EQ(good.places(), 7);
    const struct {
        const char* what;
        std::function<void(archive::ArchiveSeries&)> spoil;
        const char* reason;
    } cases[] = {
        {"short readings", [](auto& s) { s.data.primary.readings.pop_back(); },
         "do not fit its 7 places"},
        {"long alarm", [](auto& s) { s.data.primary.high.push_back(1); },
         "do not fit its 7 places"},
        {"not a number",
         [](auto& s) { s.data.primary.readings[2] = std::numeric_limits<double>::quiet_NaN(); },
         "no number"},
        {"no places", [](auto& s) { s.data.rows.clear(); s.data.rowsRead = 0; }, "do not fit its 0 places"},
        {"no channel", [](auto& s) { s.data.primary.present = false; }, "do not fit"},
        {"interval", [](auto& s) { s.data.interval = 0; }, "interval of 0 s is outside 1..43200"},
    };
    for (const auto& c : cases) {
        archive::ArchiveSeries series = good;
        c.spoil(series);
        Doc d;
        EXPECT_EQ(d.doc.openSeries(std::move(series), {"label", "a", "1"}), LoadStatus::Invalid)
            << c.what;
        EXPECT_NE(d.doc.lastError().find(c.reason), std::string::npos)
            << c.what << ": " << d.doc.lastError();
        EXPECT_EQ(d.doc.rowsRead, 0) << c.what;
        EXPECT_FALSE(d.doc.seriesSource()) << c.what;
    }
}

} // namespace
} // namespace vessor::graph
