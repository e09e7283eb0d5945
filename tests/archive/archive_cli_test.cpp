// `vessor-logger archive` and the download's archive hook: usage, the
// outputs and exit statuses, the download kept when the archive fails, and
// two processes importing into one PostgreSQL archive at once.
#include "archive_support.h"

#include "cli/cli_support.h"
#include "tests/cli/cli_run.h"
#include "logger/clock.h"
#include "logger/locale_format.h"
#include "logger/sim/simulated_logger.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

namespace vessor::test {
namespace {

namespace fs = std::filesystem;

constexpr cli::Command COMMANDS[] = {
    {"archive", "archive ...", "", cli::cmdArchive},
    {"download", "download [-o FILE] [--stop]", "", cli::cmdDownload},
};

CliRun run(const std::vector<std::string>& args) {
    return runCli(COMMANDS, args, SystemClock::instance());
}

TEST(ArchiveCommand, BadUsageIsExitTwo) {
    const std::vector<std::vector<std::string>> cases = {
        {"archive"},
        {"archive", "shred"},
        {"archive", "import"},
        {"archive", "import", "--logger", "1"},
        {"archive", "list", "--logger", "12ab"},
        {"archive", "list", "extra"},
        {"archive", "export", "-o", "out.txt"},
        {"archive", "export", "--logger", "1"},
        {"archive", "export", "--logger", "1", "--from", "2024-02-30T00:00:00", "-o", "x"},
        {"archive", "export", "--logger", "1", "--from", "2024-03-02T00:00:00", "--to", "2024-03-01T00:00:00",
         "-o", "x"},
        {"archive", "delete", "3"},
        {"archive", "delete", "3", "--reason", " "},
        {"archive", "delete", "--reason", "typo"},
        {"archive", "verify", "now"},
        {"--archive", "mysql://db/x", "archive", "list"},
        {"archive", "list", "--archive"},
    };
    for (const auto& args : cases) {
        const CliRun r = run(args);
        EXPECT_EQ(r.status, cli::EXIT_USAGE) << ::testing::PrintToString(args) << r.err;
        EXPECT_NE(r.err.find("vessor-logger"), std::string::npos);
    }
}

// import, list, export, delete and verify through the command line, with the
// exact lines scripts read.
TEST(ArchiveCommand, StoresListsExportsAndDeletes) {
    TempFolder folder;
    const fs::path dir = folder.path();
    const std::string archive = "sqlite:" + (dir / "a.sqlite").string();
    const SeriesFile first{.values = {20.0, 21.0, 22.0}};
    const SeriesFile later{.start = first.start + 600, .values = {23.0, 24.0}};
    SeriesFile changed = first;
    changed.name = "Cold Room 2b";
    changed.values[2] = 25.0;
    writeFile(dir / "first.txt", seriesBytes(first));
    writeFile(dir / "later.txt", seriesBytes(later));
    writeFile(dir / "changed.txt", seriesBytes(changed));
    writeFile(dir / "bad.txt", "nothing\r\n");

    CliRun r = run({"--archive", archive, "archive", "import", (dir / "first.txt").string(),
                    (dir / "bad.txt").string(), (dir / "later.txt").string(), (dir / "first.txt").string(),
                    (dir / "changed.txt").string()});
    EXPECT_EQ(r.status, cli::EXIT_DEVICE_FAILURE);
    EXPECT_NE(r.err.find("bad.txt: The File contains invaild data."), std::string::npos) << r.err;
    EXPECT_NE(r.out.find("first.txt: stored as download 1 (3 readings, 3 new, 0 conflicting)\n"), std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("first.txt: already stored as download 1\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("changed.txt: stored as download 3 (3 readings, 0 new, 1 conflicting)\n"),
              std::string::npos)
        << r.out;

    r = run({"archive", "list", "--logger", "123456", "--archive", archive});
    EXPECT_EQ(r.status, cli::EXIT_OK) << r.err;
    const std::string user = archive::currentStamp().user;
    const std::string line1 = "1\t000123456\tCold Room 2\tCelsius(\u00B0C)\t2024-03-01T00:00:00\t"
                              "2024-03-01T00:02:00\t3\tfirst.txt\t";
    ASSERT_EQ(r.out.substr(0, line1.size()), line1) << r.out;
    EXPECT_NE(r.out.find("Z\t" + user + "\n2\t000123456\tCold Room 2\t"), std::string::npos) << r.out;
    EXPECT_EQ(run({"--archive", archive, "archive", "list", "--logger", "999"}).out, "");

    r = run({"--archive", archive, "archive", "list", "--conflicts"});
    EXPECT_EQ(r.out, "000123456\t2024-03-01T00:02:00\t1\t22.0\t3\t25.0\n");

    // Two stretches: OUT must be a folder.
    const std::string out = (dir / "out.txt").string();
    r = run({"--archive", archive, "archive", "export", "--logger", "123456", "-o", out});
    EXPECT_EQ(r.status, cli::EXIT_DEVICE_FAILURE);
    EXPECT_NE(r.err.find("2 stretches"), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(out));
    fs::create_directory(dir / "export");
    r = run({"--archive", archive, "archive", "export", "--logger", "123456", "-o", (dir / "export").string()});
    EXPECT_EQ(r.status, cli::EXIT_OK) << r.err;
    EXPECT_EQ(readFile(dir / "export" / "000123456-20240301T000000.txt"), seriesBytes(first));
    EXPECT_EQ(readFile(dir / "export" / "000123456-20240301T001000.txt"), seriesBytes(later));
    r = run({"--archive", archive, "archive", "export", "--logger", "123456", "--from", "2024-03-01T00:10:00",
             "-o", out});
    EXPECT_EQ(r.out, out + "\n");
    EXPECT_EQ(readFile(out), seriesBytes(later));
    r = run({"--archive", archive, "archive", "export", "--logger", "123456", "--to", "2024-03-01T00:00:00", "-o",
             out});
    EXPECT_EQ(r.status, cli::EXIT_DEVICE_FAILURE);
    EXPECT_NE(r.err.find("no readings of logger 000123456 in that range"), std::string::npos) << r.err;

    r = run({"--archive", archive, "archive", "delete", "2", "--reason", "test file"});
    EXPECT_EQ(r.out, "download 2 deleted\n");
    EXPECT_EQ(run({"--archive", archive, "archive", "delete", "2", "--reason", "again"}).status,
              cli::EXIT_DEVICE_FAILURE);
    r = run({"--archive", archive, "archive", "list"});
    EXPECT_EQ(r.out.find("\n2\t"), std::string::npos) << r.out;

    r = run({"--archive", archive, "archive", "verify"});
    EXPECT_EQ(r.status, cli::EXIT_OK);
    EXPECT_EQ(r.out, "3 downloads, 8 readings checked: 0 differences\n");
}

// A logger image with readings for `vessor-logger download`.
void makeLogger(const fs::path& image) {
    sim::FactoryOptions options;
    options.modelType = MODEL_ZR_T;
    options.logging = true;
    options.name = "Store 4";
    options.now = fromCalendarSeconds(toCalendarSeconds(SystemClock::instance().now()) - 7200);
    std::string error;
    const std::optional<sim::LoggerImage> made = sim::makeFactoryImage(options, error);
    ASSERT_TRUE(made) << error;
    ASSERT_TRUE(sim::saveImage(image.string(), *made, error)) << error;
}

// The download is saved whatever the archive does; the archive's trouble is
// a warning on stderr and the exit status stays 0.
TEST(ArchiveCommand, DownloadIsSavedWhateverTheArchive) {
    TempFolder folder;
    const fs::path dir = folder.path();
    writeFile(dir / "plain-file", "not a folder");
    const struct {
        const char* name;
        std::vector<std::string> options;
        const char* environment;
        const char* warning; // empty: stored without a word
    } cases[] = {
        {"stored", {"--archive", "sqlite:" + (dir / "a.sqlite").string()}, nullptr, ""},
        {"none", {"--archive", "none"}, nullptr, ""},
        {"unwritable", {"--archive", "sqlite:" + (dir / "plain-file" / "a.sqlite").string()}, nullptr,
         "warning: The download was saved to "},
        {"bad environment", {}, "mysql://x", "not stored in the archive: VESSOR_ARCHIVE: the archive URL"},
        {"server away", {"--archive", "postgresql://me:secret@/x?host=/nonexistent"}, nullptr,
         "cannot open the archive postgresql://me@/x?host=/nonexistent: "},
    };
    ::setenv("VESSOR_SIM_SPEED", "1", 1);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path image = dir / "logger.img";
        const fs::path file = dir / "saved.txt";
        fs::remove(file);
        makeLogger(image);
        if (c.environment)
            ::setenv("VESSOR_ARCHIVE", c.environment, 1);
        std::vector<std::string> args = c.options;
        args.insert(args.end(), {"--device", "sim:" + image.string(), "download", "--stop", "-o", file.string()});
        const CliRun r = run(args);
        ::setenv("VESSOR_ARCHIVE", "none", 1);
        EXPECT_EQ(r.status, cli::EXIT_OK) << r.err;
        EXPECT_TRUE(fs::exists(file));
        if (*c.warning) {
            EXPECT_NE(r.err.find(c.warning), std::string::npos) << r.err;
            EXPECT_EQ(r.err.find("secret"), std::string::npos) << r.err;
        } else {
            EXPECT_EQ(r.err, "");
        }
    }
    const CliRun listed = run({"--archive", "sqlite:" + (dir / "a.sqlite").string(), "archive", "list"});
    EXPECT_NE(listed.out.find("\tStore 4\tCelsius(\u00B0C)\t"), std::string::npos) << listed.out;
    EXPECT_NE(listed.out.find("\tsaved.txt\t"), std::string::npos) << listed.out;
}

// Runs the program with `args`, its output into `out`; returns the child.
pid_t start(const std::vector<std::string>& args, const fs::path& out) {
    const pid_t child = ::fork();
    if (child == 0) {
        const int fd = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ::dup2(fd, 1);
        ::dup2(fd, 2);
        std::vector<char*> argv{const_cast<char*>(VESSOR_LOGGER_PROGRAM)};
        for (const std::string& arg : args)
            argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        ::execv(VESSOR_LOGGER_PROGRAM, argv.data());
        ::_exit(127);
    }
    return child;
}

// Two desktops importing overlapping downloads into one PostgreSQL archive
// at the same moment: every reading once, none lost, no false conflict.
TEST(ArchiveCommand, TwoProcessesImportAtOnceIntoPostgresql) {
    TempFolder folder;
    const std::string url = freshArchiveUrl(Backend::Postgresql, folder);
    ASSERT_FALSE(url.empty());
    const fs::path dir = folder.path();
    const SeriesFile whole{.values = wave(0, 12000)};
    const int firsts[] = {0, 3000, 6000, 9000};
    std::vector<std::string> files;
    for (int first : firsts) {
        const fs::path path = dir / ("part" + std::to_string(first) + ".txt");
        writeFile(path, seriesBytes(SeriesFile{.start = whole.start + first * 60, .values = wave(first, 4500)}));
        files.push_back(path.string());
    }
    // One process in file order, the other backwards: both meet every file.
    std::vector<std::string> forward = {"--archive", url, "archive", "import"};
    forward.insert(forward.end(), files.begin(), files.end());
    std::vector<std::string> backward = {"--archive", url, "archive", "import"};
    backward.insert(backward.end(), files.rbegin(), files.rend());
    const pid_t a = start(forward, dir / "a.log");
    const pid_t b = start(backward, dir / "b.log");
    int statusA = -1, statusB = -1;
    ::waitpid(a, &statusA, 0);
    ::waitpid(b, &statusB, 0);
    const std::string logs = readFile(dir / "a.log") + readFile(dir / "b.log");
    ASSERT_TRUE(WIFEXITED(statusA) && WEXITSTATUS(statusA) == 0) << logs;
    ASSERT_TRUE(WIFEXITED(statusB) && WEXITSTATUS(statusB) == 0) << logs;

    const std::unique_ptr<archive::Archive> archive = openArchive(url);
    ASSERT_TRUE(archive);
    EXPECT_EQ(archive->downloads().value->size(), 4u);
    EXPECT_TRUE(archive->conflicts().value->empty());
    const auto exported = archive->exportFiles(whole.serial, std::nullopt, std::nullopt);
    ASSERT_TRUE(exported.ok()) << exported.error;
    ASSERT_EQ(exported.value->size(), 1u);
    EXPECT_EQ(exported.value->front().readings, 13500);
    EXPECT_EQ(exported.value->front().bytes, seriesBytes(SeriesFile{.values = wave(0, 13500)}));
}

} // namespace
} // namespace vessor::test
