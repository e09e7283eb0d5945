// The archive on both backends: what goes in comes back out, merging,
// conflicts, stretches and gaps, deletion, the audit trail.
#include "archive_support.h"

#include "logger/archive/audit.h"
#include "logger/download_reader.h"

#include <gtest/gtest.h>

namespace vessor::test {
namespace {

namespace fs = std::filesystem;
using archive::Archive;
using archive::ImportStatus;

class ArchiveTest : public ::testing::TestWithParam<Backend> {
protected:
    // A new archive of the test's backend.
    std::unique_ptr<Archive> fresh() {
        const std::string url = freshArchiveUrl(GetParam(), folder);
        return url.empty() ? nullptr : openArchive(url);
    }

    archive::ImportResult store(Archive& archive, const std::string& bytes, const std::string& name = "file.txt") {
        return archive.importFile(bytes, name, TEST_STAMP);
    }

    TempFolder folder;
};

// Every golden download file comes back byte for byte: every reading, time,
// heading, alarm column and decimal (an event logger's file as stored).
TEST_P(ArchiveTest, EveryGoldenFileComesBackWhole) {
    for (const auto& entry : fs::directory_iterator(VESSOR_DOWNLOAD_DATA_DIR)) {
        if (entry.path().extension() != ".txt")
            continue;
        SCOPED_TRACE(entry.path().filename().string());
        const std::string bytes = readFile(entry.path());
        const std::unique_ptr<Archive> archive = fresh();
        ASSERT_TRUE(archive);
        const archive::ImportResult stored = store(*archive, bytes);
        ASSERT_EQ(stored.status, ImportStatus::Stored) << stored.message;
        const auto files = archive->exportFiles(70001234, std::nullopt, std::nullopt);
        ASSERT_TRUE(files.ok()) << files.error;
        ASSERT_EQ(files.value->size(), 1u);
        EXPECT_EQ(files.value->front().bytes, bytes);
        EXPECT_EQ(files.value->front().name.substr(0, 10), "070001234-");
    }
}

// The same file twice adds nothing; a different file of the same readings
// adds a download but no reading and no conflict.
TEST_P(ArchiveTest, SecondImportAddsNothing) {
    const std::unique_ptr<Archive> archive = fresh();
    ASSERT_TRUE(archive);
    SeriesFile file{.values = wave(0, 100)};
    const std::string bytes = seriesBytes(file);
    const archive::ImportResult first = store(*archive, bytes);
    ASSERT_EQ(first.status, ImportStatus::Stored) << first.message;
    EXPECT_EQ(first.added, 100);

    const archive::ImportResult again = store(*archive, bytes, "copy.txt");
    EXPECT_EQ(again.status, ImportStatus::AlreadyStored);
    EXPECT_EQ(again.downloadId, first.downloadId);

    file.name = "Renamed";
    const archive::ImportResult renamed = store(*archive, seriesBytes(file));
    ASSERT_EQ(renamed.status, ImportStatus::Stored) << renamed.message;
    EXPECT_EQ(renamed.added, 0);
    EXPECT_EQ(renamed.conflicts, 0);
    EXPECT_EQ(archive->downloads().value->size(), 2u);
}

// Overlapping downloads, stored in either order, export as the one series.
TEST_P(ArchiveTest, OverlappingFilesMerge) {
    const SeriesFile whole{.values = wave(0, 150)};
    const SeriesFile early{.values = wave(0, 100)};
    const SeriesFile late{.start = whole.start + 50 * 60, .values = wave(50, 100)};
    for (bool lateFirst : {false, true}) {
        SCOPED_TRACE(lateFirst ? "late first" : "early first");
        const std::unique_ptr<Archive> archive = fresh();
        ASSERT_TRUE(archive);
        const archive::ImportResult a = store(*archive, seriesBytes(lateFirst ? late : early));
        const archive::ImportResult b = store(*archive, seriesBytes(lateFirst ? early : late));
        EXPECT_EQ(a.added + b.added, 150);
        EXPECT_EQ(b.conflicts, 0);
        const auto files = archive->exportFiles(whole.serial, std::nullopt, std::nullopt);
        ASSERT_TRUE(files.ok()) << files.error;
        ASSERT_EQ(files.value->size(), 1u);
        EXPECT_EQ(files.value->front().bytes, seriesBytes(whole));
        // The range: from inclusive, to exclusive.
        const auto part = archive->exportFiles(whole.serial, whole.start + 10 * 60, whole.start + 20 * 60);
        ASSERT_TRUE(part.ok()) << part.error;
        EXPECT_EQ(part.value->front().readings, 10);
        EXPECT_EQ(part.value->front().bytes,
                  seriesBytes(SeriesFile{.start = whole.start + 10 * 60, .values = wave(10, 10)}));
    }
}

// A different value at a stored time: the first stays, the other is listed.
TEST_P(ArchiveTest, ConflictIsKeptAndReported) {
    const std::unique_ptr<Archive> archive = fresh();
    ASSERT_TRUE(archive);
    SeriesFile file{.values = {20.0, 21.0, 22.0}};
    const archive::ImportResult first = store(*archive, seriesBytes(file));
    file.values[1] = 25.5;
    file.name = "Other";
    const archive::ImportResult second = store(*archive, seriesBytes(file));
    ASSERT_EQ(second.status, ImportStatus::Stored) << second.message;
    EXPECT_EQ(second.conflicts, 1);

    const auto conflicts = archive->conflicts();
    ASSERT_TRUE(conflicts.ok()) << conflicts.error;
    ASSERT_EQ(conflicts.value->size(), 1u);
    const archive::ConflictEntry& c = conflicts.value->front();
    EXPECT_EQ(c.time, file.start + 60);
    EXPECT_EQ(c.keptDownload, first.downloadId);
    EXPECT_EQ(c.keptValue, "21.0");
    EXPECT_EQ(c.otherDownload, second.downloadId);
    EXPECT_EQ(c.otherValue, "25.5");
    const auto series = archive->series(file.serial, std::nullopt, std::nullopt);
    ASSERT_TRUE(series.ok()) << series.error;
    EXPECT_EQ(series.value->data.primary.readings[1], 21.0);
}

// A gap between downloads: two exported files, one series with the gap as
// places without readings, where an alarm excursion ends.
TEST_P(ArchiveTest, GapsSplitExportsAndEndExcursions) {
    const std::unique_ptr<Archive> archive = fresh();
    ASSERT_TRUE(archive);
    const SeriesFile before{.values = {29.0, 31.0, 32.0}};
    const SeriesFile after{.start = before.start + 5 * 60, .values = {33.0, 29.0}};
    store(*archive, seriesBytes(before));
    store(*archive, seriesBytes(after));

    const auto files = archive->exportFiles(before.serial, std::nullopt, std::nullopt);
    ASSERT_TRUE(files.ok()) << files.error;
    ASSERT_EQ(files.value->size(), 2u);
    EXPECT_EQ((*files.value)[0].name, "000123456-20240301T000000.txt");
    EXPECT_EQ((*files.value)[1].name, "000123456-20240301T000500.txt");
    EXPECT_EQ((*files.value)[1].bytes, seriesBytes(after));

    const auto series = archive->series(before.serial, std::nullopt, std::nullopt);
    ASSERT_TRUE(series.ok()) << series.error;
    const download::DownloadData& data = series.value->data;
    EXPECT_EQ(series.value->places(), 7);
    EXPECT_EQ(series.value->readings, 5);
    EXPECT_EQ(series.value->gaps, 1);
    EXPECT_EQ(data.interval, 60);
    EXPECT_TRUE(download::isNoValue(data.primary.readings[3]));
    EXPECT_FALSE(data.rows[3].time);
    EXPECT_EQ(data.primary.high[0], 30.0);
    const download::Summary summary = archive::summarizeSeries(*series.value);
    ASSERT_EQ(summary.channels.front().alarms.size(), 1u);
    const download::AlarmSummary& high = summary.channels.front().alarms.front();
    ASSERT_EQ(high.excursions.size(), 2u);
    EXPECT_EQ(high.excursions[0].first, 1);
    EXPECT_EQ(high.excursions[0].last, 2);
    EXPECT_EQ(high.excursions[1].first, 5);
    EXPECT_EQ(summary.channels.front().count, 5);
}

// The viewer's series holds the interval most readings have; the export
// still gives every stretch.
TEST_P(ArchiveTest, SeriesKeepsTheCommonestInterval) {
    const std::unique_ptr<Archive> archive = fresh();
    ASSERT_TRUE(archive);
    const SeriesFile minutes{.values = wave(0, 10)};
    const SeriesFile seconds{.start = minutes.start + 3600, .interval = 30, .values = wave(0, 4)};
    const SeriesFile later{.start = minutes.start + 7200, .values = wave(0, 5)};
    for (const SeriesFile* file : {&minutes, &seconds, &later})
        store(*archive, seriesBytes(*file));
    const auto series = archive->series(minutes.serial, std::nullopt, std::nullopt);
    ASSERT_TRUE(series.ok()) << series.error;
    EXPECT_EQ(series.value->data.interval, 60);
    EXPECT_EQ(series.value->readings, 15);
    EXPECT_EQ(series.value->leftOut, 4);
    EXPECT_EQ(series.value->places(), 125);
    EXPECT_EQ(archive->exportFiles(minutes.serial, std::nullopt, std::nullopt).value->size(), 3u);
}

// Deletion hides a download everywhere, keeps its rows, and says who and why.
TEST_P(ArchiveTest, DeletedDownloadIsHidden) {
    const std::unique_ptr<Archive> archive = fresh();
    ASSERT_TRUE(archive);
    const SeriesFile file{.values = wave(0, 10)};
    const archive::ImportResult stored = store(*archive, seriesBytes(file));
    EXPECT_EQ(archive->hide(stored.downloadId, "wrong logger", TEST_STAMP), "");
    EXPECT_TRUE(archive->downloads().value->empty());
    EXPECT_FALSE(archive->exportFiles(file.serial, std::nullopt, std::nullopt).ok());
    EXPECT_FALSE(archive->series(file.serial, std::nullopt, std::nullopt).ok());
    EXPECT_EQ(archive->hide(stored.downloadId, "again", TEST_STAMP),
              "download 1 was deleted already (by tester at 2024-03-01T13:33:20Z: wrong logger)");
    EXPECT_EQ(archive->hide(99, "none", TEST_STAMP), "the archive holds no download 99");
    const archive::ImportResult again = store(*archive, seriesBytes(file));
    EXPECT_EQ(again.status, ImportStatus::AlreadyStored);
    EXPECT_TRUE(again.hidden);
    EXPECT_TRUE(archive->verify().differences.empty());
}

// Rows are never changed through the archive's tables; one changed behind
// their back (triggers off) is found by verify, as is a changed file.
TEST_P(ArchiveTest, VerifyFindsTampering) {
    const std::unique_ptr<Archive> archive = fresh();
    ASSERT_TRUE(archive);
    const SeriesFile file{.values = {20.0, 21.0, 22.0}};
    store(*archive, seriesBytes(file));
    store(*archive, seriesBytes(SeriesFile{.name = "Other", .values = {20.0, 21.5, 22.0}}));
    EXPECT_TRUE(archive->verify().differences.empty());

    archive::ArchiveStore& db = archive->store();
    const bool sqlite = db.dialect() == archive::Dialect::Sqlite;
    for (const char* table : {"readings", "downloads", "conflicts"}) {
        const archive::StoreStatus refused = db.script(std::string("DELETE FROM ") + table);
        EXPECT_NE(refused.error.find("append-only"), std::string::npos) << table << ": " << refused.error;
    }
    ASSERT_TRUE(db.script(sqlite ? "DROP TRIGGER readings_no_update; DROP TRIGGER downloads_no_update"
                                 : "ALTER TABLE readings DISABLE TRIGGER USER; "
                                   "ALTER TABLE downloads DISABLE TRIGGER USER")
                    .ok());
    ASSERT_TRUE(db.script("UPDATE readings SET reading = 23.5 WHERE reading_time = 1709251320").ok());
    // Both downloads held 22.0 there.
    archive::VerifyReport report = archive->verify();
    ASSERT_EQ(report.differences.size(), 2u);
    EXPECT_EQ(report.differences[0], "download 1 (000123456): the reading at 2024-03-01T00:02:00 is stored as "
                                     "23.5, the file has 22.0");
    EXPECT_EQ(report.differences[1], "download 2 (000123456): the reading at 2024-03-01T00:02:00 (22.0) differs "
                                     "from the one kept and is not among the conflicts");

    const std::string changed = archive::compressBytes(seriesBytes(SeriesFile{.values = {20.0, 21.0, 23.5}}));
    const archive::SqlValue parameters[] = {archive::Bytes{changed}};
    ASSERT_TRUE(db.run("UPDATE downloads SET original = $1 WHERE id = 1", parameters).ok());
    report = archive->verify();
    ASSERT_FALSE(report.differences.empty());
    EXPECT_NE(report.differences[0].find("SHA-256"), std::string::npos) << report.differences[0];
}

// Files the archive cannot take are refused with the reason, adding nothing.
TEST_P(ArchiveTest, RefusedFiles) {
    const std::unique_ptr<Archive> archive = fresh();
    ASSERT_TRUE(archive);
    const struct {
        const char* bytes;
        const char* message;
    } cases[] = {
        {"Name\r\n", "The File contains invaild data."},
        {"Name,Time,Celsius(C)\r\n1,01/03/2024 00:00:00,20.0\r\n", "no serial number"},
        {"Name,Time,Celsius(C),Serial Number\r\n1,01/03/2024 00:00:00,20.0,AB12\r\n", "\"AB12\" is not a number"},
    };
    for (const auto& c : cases) {
        const archive::ImportResult result = store(*archive, c.bytes);
        EXPECT_EQ(result.status, ImportStatus::Refused) << c.bytes;
        EXPECT_NE(result.message.find(c.message), std::string::npos) << result.message;
    }
    EXPECT_TRUE(archive->downloads().value->empty());
}

INSTANTIATE_TEST_SUITE_P(Backends, ArchiveTest, ::testing::Values(Backend::Sqlite, Backend::Postgresql),
                         backendName);

} // namespace
} // namespace vessor::test
