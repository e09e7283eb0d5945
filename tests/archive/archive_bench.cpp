// Speed and size of the archive (Google Benchmark; run by hand):
//   import of a 65,535-reading file into SQLite and into PostgreSQL,
//   export of a logger-month (43,200 readings) from a PostgreSQL archive of
//   100 loggers x 1 year of 1-minute readings,
//   the archive's size per million readings (counter MB_per_million).
// The PostgreSQL benchmarks start a throwaway server (postgres_server.sh)
// and skip when none can be started. The year archive is built once, in
// $VESSOR_BENCH_DIR (default /var/tmp/vessor-archive-bench), and reused by
// later runs; delete the folder to build it again.
#include "archive_support.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>

namespace vessor::test {
namespace {

namespace fs = std::filesystem;

constexpr int LOGGERS = 100;
constexpr std::int64_t APRIL = 1680307200;      // 2023-04-01T00:00:00
constexpr std::int64_t MAY = 1682899200;        // 2023-05-01T00:00:00

const std::string& largestFile() {
    static const std::string bytes = seriesBytes(SeriesFile{.values = wave(0, 65535)});
    return bytes;
}

// The benchmark's server, started on first use and stopped at exit.
class Server {
public:
    static Server& instance() {
        static Server server;
        return server;
    }
    const std::optional<std::string>& url() const { return url_; }
    std::string folder() const { return folder_; }

private:
    Server() {
        const char* dir = std::getenv("VESSOR_BENCH_DIR");
        folder_ = dir && *dir ? dir : "/var/tmp/vessor-archive-bench";
        const std::string command = std::string("sh '") + VESSOR_POSTGRES_SERVER_SCRIPT + "' start '" +
                                    VESSOR_POSTGRES_STATE + "' '" + folder_ + "' >&2";
        if (std::system(command.c_str()) == 0)
            url_ = postgresServerUrl();
    }
    ~Server() {
        const std::string command =
            std::string("sh '") + VESSOR_POSTGRES_SERVER_SCRIPT + "' stop '" + VESSOR_POSTGRES_STATE + "'";
        if (std::system(command.c_str()) != 0)
            std::fprintf(stderr, "archive_bench: the PostgreSQL server did not stop\n");
    }
    std::optional<std::string> url_;
    std::string folder_;
};

// The server's URL with another database, made when missing.
std::optional<std::string> database(const std::string& name, bool fresh) {
    const std::optional<std::string>& server = Server::instance().url();
    if (!server)
        return std::nullopt;
    std::string why, error;
    const auto parsed = archive::parseArchiveUrl(*server, why);
    auto store = archive::openPostgresStore(*parsed, error);
    if (!store)
        return std::nullopt;
    if (fresh)
        store->script("DROP DATABASE IF EXISTS " + name);
    store->script("CREATE DATABASE " + name); // fails harmlessly when it exists
    std::string url = *server;
    url.replace(url.find("/postgres?"), 10, "/" + name + "?");
    return url;
}

std::int64_t scalar(archive::ArchiveStore& store, const std::string& sql) {
    std::int64_t value = 0;
    store.run(sql, {}, [&](const archive::SqlRow& row) { value = row.integer(0); });
    return value;
}

void importOnce(benchmark::State& state, const std::string& url) {
    std::unique_ptr<archive::Archive> archive = openArchive(url);
    if (!archive) {
        state.SkipWithError("the archive cannot be opened");
        return;
    }
    state.ResumeTiming();
    const archive::ImportResult result = archive->importFile(largestFile(), "largest.txt", TEST_STAMP);
    state.PauseTiming();
    if (result.added != 65535)
        state.SkipWithError(("the import stored " + std::to_string(result.added) + " readings: " + result.message).c_str());
}

void BM_ImportSqlite(benchmark::State& state) {
    TempFolder folder;
    int run = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const fs::path path = folder.path() / ("a" + std::to_string(run++) + ".sqlite");
        importOnce(state, "sqlite:" + path.string());
        state.ResumeTiming();
    }
    // The file, once the write-ahead log is folded in (the archive is closed).
    const fs::path last = folder.path() / ("a" + std::to_string(run - 1) + ".sqlite");
    state.counters["MB_per_million"] = static_cast<double>(fs::file_size(last)) / 65535.0;
}
BENCHMARK(BM_ImportSqlite)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_ImportPostgresql(benchmark::State& state) {
    if (!Server::instance().url()) {
        state.SkipWithError("no PostgreSQL server could be started");
        return;
    }
    std::string url;
    for (auto _ : state) {
        state.PauseTiming();
        url = database("bench_import", true).value_or("");
        importOnce(state, url);
        state.ResumeTiming();
    }
    std::unique_ptr<archive::Archive> archive = openArchive(url);
    if (archive)
        state.counters["MB_per_million"] =
            static_cast<double>(scalar(archive->store(), "SELECT pg_total_relation_size('readings') + "
                                                         "pg_total_relation_size('downloads')")) /
            65535.0;
}
BENCHMARK(BM_ImportPostgresql)->Unit(benchmark::kMillisecond)->Iterations(5);

// 100 loggers, each with twelve monthly downloads of 1-minute readings over
// 2023, generated by the server itself (the readings' rows are what counts
// here, not the files').
bool buildYearArchive(archive::Archive& archive) {
    archive::ArchiveStore& store = archive.store();
    if (scalar(store, "SELECT COUNT(*) FROM downloads") == LOGGERS * 12)
        return true;
    if (scalar(store, "SELECT COUNT(*) FROM downloads") != 0)
        return false;
    std::fprintf(stderr, "archive_bench: building the year archive (100 loggers x 525,600 readings) once...\n");
    const archive::StoreStatus downloads = store.script(
        "INSERT INTO downloads (serial, kind, logger_name, heading, header, first_time, last_time, readings, "
        "interval_s, decimals, humidity_decimals, dew_point_decimals, alarm_fields, humidity_alarm_fields, "
        "first_row_extras, source_name, original, original_size, sha256, stored_at, stored_by) "
        "SELECT l, 'series', 'Bench ' || l, 'Celsius(°C)', convert_to('Bench ' || l || "
        "',Time,Celsius(°C),Serial Number', 'WIN1252'), m0, m1 - 60, (m1 - m0) / 60, 60, 1, -1, -1, '', '', "
        "convert_to(',' || lpad(l::text, 9, '0'), 'UTF8'), 'bench.txt', '', 0, 'bench-' || l || '-' || m0, "
        "1700000000, 'bench' FROM generate_series(1, 100) l, LATERAL (SELECT "
        "extract(epoch FROM make_timestamp(2023, m, 1, 0, 0, 0))::bigint AS m0, extract(epoch FROM "
        "make_timestamp(2023, m, 1, 0, 0, 0) + interval '1 month')::bigint AS m1 FROM generate_series(1, 12) "
        "m) months ORDER BY l, m0");
    if (!downloads.ok()) {
        std::fprintf(stderr, "archive_bench: %s\n", downloads.error.c_str());
        return false;
    }
    for (int logger = 1; logger <= LOGGERS; ++logger) {
        const archive::StoreStatus readings = store.script(
            "INSERT INTO readings (serial, reading_time, download_id, reading) SELECT d.serial, t, d.id, "
            "round((20 + 5 * sin(t / 3600.0))::numeric, 1)::float8 FROM downloads d, generate_series(d.first_time, "
            "d.last_time, 60) t WHERE d.serial = " + std::to_string(logger) + " ORDER BY t");
        if (!readings.ok()) {
            std::fprintf(stderr, "archive_bench: %s\n", readings.error.c_str());
            return false;
        }
    }
    store.script("VACUUM ANALYZE readings");
    return true;
}

void BM_ExportLoggerMonthPostgresql(benchmark::State& state) {
    const std::optional<std::string> url = database("bench_year", false);
    if (!url) {
        state.SkipWithError("no PostgreSQL server could be started");
        return;
    }
    std::unique_ptr<archive::Archive> archive = openArchive(*url);
    if (!archive || !buildYearArchive(*archive)) {
        state.SkipWithError("the year archive could not be built");
        return;
    }
    int readings = 0;
    for (auto _ : state) {
        const auto files = archive->exportFiles(42, APRIL, MAY);
        if (!files.ok() || files.value->size() != 1) {
            state.SkipWithError(files.ok() ? "more than one stretch" : files.error.c_str());
            return;
        }
        readings = files.value->front().readings;
        benchmark::DoNotOptimize(files.value->front().bytes.data());
    }
    state.counters["readings"] = readings;
    const double stored = static_cast<double>(scalar(archive->store(), "SELECT COUNT(*) FROM readings"));
    state.counters["MB_per_million"] =
        static_cast<double>(scalar(archive->store(), "SELECT pg_total_relation_size('readings')")) / stored;
}
BENCHMARK(BM_ExportLoggerMonthPostgresql)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace
} // namespace vessor::test

BENCHMARK_MAIN();
