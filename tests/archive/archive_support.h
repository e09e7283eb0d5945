// Helpers of the archive tests: a fresh archive of either backend (SQLite in
// a temporary folder, a new database on the throwaway PostgreSQL server
// that the ctest fixture starts), download files made from values, and the
// command line run in-process.
#pragma once

#include "logger/archive/archive.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace vessor::test {

enum class Backend { Sqlite, Postgresql };
std::string backendName(const ::testing::TestParamInfo<Backend>& info);

// The maintenance URL of the fixture's server; nullopt when none runs (the
// test binary started by hand rather than by ctest).
std::optional<std::string> postgresServerUrl();

// A temporary folder removed at the end of the test.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

// The URL of a new, empty archive of `backend` (PostgreSQL: a new database);
// empty after a failed assertion or a skip.
std::string freshArchiveUrl(Backend backend, const TempFolder& folder);
std::unique_ptr<archive::Archive> openArchive(const std::string& url);

// A temperature logger's download file: header "NAME,Time,Celsius(°C),High
// Alarm,Serial Number", then reading i at start + i × interval. `values`
// are written with one decimal; the alarm level is 30.0.
struct SeriesFile {
    std::string name = "Cold Room 2";
    std::int64_t serial = 123456;
    std::int64_t start = 1709251200; // 2024-03-01T00:00:00
    int interval = 60;
    std::vector<double> values;
};
std::string seriesBytes(const SeriesFile& file);
// Values v(first), v(first + 1), ... for `count` readings: a slow wave.
std::vector<double> wave(int first, int count);

std::string readFile(const std::filesystem::path& path);
void writeFile(const std::filesystem::path& path, const std::string& bytes);

inline const archive::Stamp TEST_STAMP{"tester", 1709300000};

} // namespace vessor::test
