#include "archive_support.h"

#include "logger/calendar.h"
#include "logger/download_writer.h"

#include <unistd.h>

#include <cmath>
#include <fstream>
#include <sstream>

namespace vessor::test {

namespace fs = std::filesystem;

std::string backendName(const ::testing::TestParamInfo<Backend>& info) {
    return info.param == Backend::Sqlite ? "Sqlite" : "Postgresql";
}

std::optional<std::string> postgresServerUrl() {
    std::ifstream state(VESSOR_POSTGRES_STATE);
    std::string line;
    while (std::getline(state, line))
        if (line.rfind("url=", 0) == 0)
            return line.substr(4);
    return std::nullopt;
}

TempFolder::TempFolder() {
    std::string pattern = (fs::temp_directory_path() / "vessor-archive-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()))
        path_ = pattern;
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    if (!path_.empty())
        fs::remove_all(path_, ignored);
}

std::string freshArchiveUrl(Backend backend, const TempFolder& folder) {
    static int counter = 0;
    ++counter;
    if (backend == Backend::Sqlite)
        return "sqlite:" + (folder.path() / ("archive" + std::to_string(counter) + ".sqlite")).string();
    const std::optional<std::string> server = postgresServerUrl();
    if (!server) {
        ADD_FAILURE() << "no PostgreSQL test server: run the tests through ctest, whose fixture starts one";
        return {};
    }
    const std::string database = "archive_" + std::to_string(::getpid()) + "_" + std::to_string(counter);
    std::string error;
    std::string why;
    const std::optional<archive::ArchiveUrl> url = archive::parseArchiveUrl(*server, why);
    auto store = archive::openPostgresStore(*url, error);
    if (!store) {
        ADD_FAILURE() << error;
        return {};
    }
    const archive::StoreStatus made = store->script("CREATE DATABASE " + database);
    EXPECT_TRUE(made.ok()) << made.error;
    std::string result = *server;
    result.replace(result.find("/postgres?"), 10, "/" + database + "?");
    return result;
}

std::unique_ptr<archive::Archive> openArchive(const std::string& url) {
    std::string why;
    const std::optional<archive::ArchiveUrl> parsed = archive::parseArchiveUrl(url, why);
    if (!parsed) {
        ADD_FAILURE() << why;
        return nullptr;
    }
    std::string error;
    std::unique_ptr<archive::Archive> opened = archive::Archive::open(*parsed, error);
    EXPECT_TRUE(opened) << error;
    return opened;
}

std::string seriesBytes(const SeriesFile& file) {
    std::string bytes;
    DownloadTextWriter writer(bytes);
    writer.line(file.name + ",Time,Celsius(\xB0" "C),High Alarm,Serial Number");
    for (std::size_t i = 0; i < file.values.size(); ++i) {
        writer.beginRow(static_cast<std::int64_t>(i) + 1,
                        fromCalendarSeconds(file.start + static_cast<std::int64_t>(i) * file.interval));
        writer.value(file.values[i], 1);
        writer.field("30.0");
        if (i == 0) {
            char serial[16];
            std::snprintf(serial, sizeof serial, "%09lld", static_cast<long long>(file.serial));
            writer.field(serial);
        }
        writer.endRow();
    }
    return bytes;
}

std::vector<double> wave(int first, int count) {
    std::vector<double> values;
    for (int i = first; i < first + count; ++i)
        values.push_back(std::round(40.0 * std::sin(i / 50.0)) / 2.0);
    return values;
}

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void writeFile(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

} // namespace vessor::test
