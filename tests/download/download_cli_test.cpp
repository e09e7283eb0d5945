// `vessor-logger download` against simulated loggers kept in image files.
#include "download_support.h"

#include "cli/cli_support.h"
#include "tests/cli/cli_run.h"
#include "logger/clock.h"
#include "logger/locale_format.h"
#include "logger/sim/simulated_logger.h"
#include "logger/strings.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

namespace vessor::test {
namespace {

namespace fs = std::filesystem;

constexpr cli::Command COMMANDS[] = {
    {"download", "download [-o FILE] [--stop]", "", cli::cmdDownload},
};

std::string readFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

class CliDownload : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "vessor-cli-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir = pattern;
        image = dir / "logger.img";
        ::setenv("VESSOR_SIM_SPEED", "1", 1);
    }
    void TearDown() override { fs::remove_all(dir); }

    // A logger of `model` set up `hoursAgo` hours ago; `edit` may change its
    // block before it is saved.
    void createLogger(int model, bool logging, int hoursAgo = 2,
                      const std::function<void(LoggerConfig&)>& edit = {})
    {
        sim::FactoryOptions options;
        options.modelType = model;
        options.logging = logging;
        options.name = "Store/4";
        options.now = fromCalendarSeconds(toCalendarSeconds(SystemClock::instance().now()) -
                                          std::int64_t{3600} * hoursAgo);
        std::string error;
        std::optional<sim::LoggerImage> made = sim::makeFactoryImage(options, error);
        ASSERT_TRUE(made) << error;
        if (edit) {
            LoggerConfig view;
            view.setBlock(made->block);
            edit(view);
            made->block = view.block();
        }
        ASSERT_TRUE(sim::saveImage(image.string(), *made, error)) << error;
    }

    CliRun run(std::vector<std::string> args)
    {
        args.insert(args.begin(), {"--device", "sim:" + image.string()});
        return runCli(COMMANDS, args, SystemClock::instance());
    }

    // What the logger holds now, as a download file built straight from its
    // image (no USB link in between).
    std::string expectedFile() const
    {
        std::string error;
        const std::optional<sim::LoggerImage> held = sim::loadImage(image.string(), error);
        EXPECT_TRUE(held) << error;
        LoggerConfig config;
        config.setBlock(held->block);
        config.refreshDerived();
        SampleBuffer samples;
        if (sampleWidth(config.modelType()) == 2) {
            for (std::size_t i = 0; i + 1 < held->memory.size(); i += 2)
                samples.push_back(static_cast<float>(held->memory[i] * 256 + held->memory[i + 1]));
        } else {
            samples.assign(held->memory.begin(), held->memory.end());
        }
        std::string bytes;
        const DownloadOutcome outcome = buildDownloadFile(config, samples, bytes);
        EXPECT_TRUE(outcome.ok()) << outcome.message;
        return bytes;
    }

    // Files in the folder other than the image and its lock file.
    long filesBesideTheImage() const
    {
        long count = 0;
        for (const auto& entry : fs::directory_iterator(dir))
            count += entry.path() != image && entry.path().string() != image.string() + ".lock";
        return count;
    }

    LoggerConfig heldBlock() const
    {
        std::string error;
        LoggerConfig config;
        config.setBlock(sim::loadImage(image.string(), error)->block);
        return config;
    }

    fs::path dir;
    fs::path image;
};

TEST_F(CliDownload, EveryModelStopsAndWritesItsFile)
{
    for (int model = MODEL_FIRST; model <= MODEL_LAST; ++model) {
        SCOPED_TRACE(modelName(model) + " (model " + std::to_string(model) + ")");
        createLogger(model, true, model == MODEL_ZR_CO_300 ? 12 : 2);
        const fs::path target = dir / ("model" + std::to_string(model) + ".txt");
        const CliRun result = run({"download", "--stop", "-o", target.string()});
        ASSERT_EQ(result.status, 0) << result.err;
        EXPECT_EQ(result.out, target.string() + "\n");
        EXPECT_FALSE(heldBlock().isLogging());
        const std::string written = readFile(target);
        EXPECT_EQ(written, expectedFile());
        EXPECT_GE(linesOf(written).size(), 2u);
    }
}

TEST_F(CliDownload, WrappedMemoryGivesAFullRing)
{
    createLogger(MODEL_ZR_TH_X, true, 6, [](LoggerConfig& c) {
        c.setSampleInterval(1);
        c.setWrapMode(true);
    });
    const fs::path target = dir / "ring.txt";
    const CliRun result = run({"download", "--stop", "-o", target.string()});
    ASSERT_EQ(result.status, 0) << result.err;
    const LoggerConfig held = heldBlock();
    ASSERT_GE(held.wrapCount(), 1);
    const std::string written = readFile(target);
    EXPECT_EQ(linesOf(written).size(), 1u + held.memoryCapacity() - 1);
    EXPECT_EQ(written, expectedFile());
}

TEST_F(CliDownload, DefaultNameInTheCurrentFolder)
{
    createLogger(MODEL_ZR_T, true);
    const fs::path previous = fs::current_path();
    fs::current_path(dir);
    const CliRun result = run({"download", "--stop"});
    fs::current_path(previous);
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, (dir / "Store4.txt").string() + "\n");
    EXPECT_EQ(readFile(dir / "Store4.txt"), expectedFile());
}

// A start date that is no date would give rows whose times run backwards:
// refused before anything is written to the logger or the disk.
TEST_F(CliDownload, StartDateThatIsNoDateIsRefused)
{
    const struct {
        int month;
        int day;
        const char* shown;
    } dates[] = {
        {0, 12, "12/00/2026"},
        {13, 1, "01/13/2026"},
        {5, 0, "00/05/2026"},
        {2, 30, "30/02/2026"},
    };
    for (const auto& date : dates) {
        for (const bool logging : {true, false}) {
            SCOPED_TRACE(std::string(date.shown) + (logging ? " logging" : " stopped"));
            createLogger(MODEL_ZR_T, logging, 2, [&](LoggerConfig& c) {
                c.setStartTime(2026, date.month, date.day, 10, 0, 0);
                c.setReadingCount(5);
                c.setStatusFlags(static_cast<std::uint8_t>(c.statusFlags() | STATUS_NOT_DOWNLOADED));
            });
            const std::string before = readFile(image);
            const fs::path previous = fs::current_path();
            fs::current_path(dir);
            const CliRun result = run({"download", "--stop"});
            fs::current_path(previous);
            EXPECT_EQ(result.status, 1);
            EXPECT_EQ(result.err, std::string("The logger's start date (") + date.shown +
                                      ") is not a valid date, so its readings cannot be given times. "
                                      "No file was written; the readings stay in the logger. "
                                      "`vessor-logger dump` saves its whole memory.\n");
            EXPECT_EQ(result.out, "");
            EXPECT_EQ(filesBesideTheImage(), 0);
            EXPECT_EQ(heldBlock().isLogging(), logging);
            // A stopped logger is not even read out (that would mark it downloaded).
            if (!logging) {
                EXPECT_EQ(readFile(image), before);
            }
        }
    }
}

TEST_F(CliDownload, Refusals)
{
    const struct {
        const char* name;
        int model;
        bool logging;
        std::function<void(LoggerConfig&)> edit;
        std::vector<std::string> args;
        int status;
        std::string message;
    } cases[] = {
        {"still logging", MODEL_ZR_T, true, {}, {"download"}, 1, "add --stop"},
        {"no readings", MODEL_ZR_TH, false, {}, {"download", "--stop"}, 1, text::NO_READINGS},
        {"incompatible", MODEL_ZR_T, true, [](LoggerConfig& c) { c.setModelType(0); },
         {"download", "--stop"}, 1, messageText(MSG_INCOMPATIBLE)},
        {"name without a file name", MODEL_ZR_T, true,
         [](LoggerConfig& c) { c.setLoggerName("./."); }, {"download", "--stop"}, 1, "-o FILE"},
        {"folder missing", MODEL_ZR_T, true, {}, {"download", "--stop", "-o", "/nonexistent/x.txt"},
         1, "Failed opening file:\n/nonexistent/x.txt"},
        {"-o without a file", MODEL_ZR_T, true, {}, {"download", "-o"}, 2, "-o needs a FILE"},
        {"stray argument", MODEL_ZR_T, true, {}, {"download", "now"}, 2, "unexpected argument"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        createLogger(c.model, c.logging, 2, c.edit);
        const fs::path previous = fs::current_path();
        fs::current_path(dir);
        const CliRun result = run(c.args);
        fs::current_path(previous);
        EXPECT_EQ(result.status, c.status);
        EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
        EXPECT_EQ(result.out, "");
        // Nothing but the logger image (and its lock file) in the folder.
        EXPECT_EQ(filesBesideTheImage(), 0);
    }
    // The logger that was refused while logging is still logging.
    createLogger(MODEL_ZR_T, true);
    EXPECT_EQ(run({"download"}).status, 1);
    EXPECT_TRUE(heldBlock().isLogging());
}

TEST_F(CliDownload, FailedWriteKeepsTheOlderFile)
{
    createLogger(MODEL_ZR_T, true);
    const fs::path target = dir / "old.txt";
    std::ofstream(target, std::ios::binary) << "older download\r\n";
    // Refused by its mode, so for root too.
    fs::permissions(target, fs::perms::owner_read);
    const CliRun result = run({"download", "--stop", "-o", target.string()});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("Failed opening file:\n" + target.string() + ": Permission denied"), std::string::npos)
        << result.err;
    EXPECT_EQ(readFile(target), "older download\r\n");
}

TEST_F(CliDownload, TheImageBeingReadIsNeverTheOutput)
{
    createLogger(MODEL_ZR_T, false);
    const std::string before = readFile(image);
    fs::create_hard_link(image, dir / "another-name.img");
    for (const fs::path& output : {image, dir / "another-name.img"}) {
        const CliRun result = run({"download", "-o", output.string()});
        EXPECT_EQ(result.status, 2) << output;
        EXPECT_NE(result.err.find("the logger image"), std::string::npos) << result.err;
    }
    EXPECT_EQ(readFile(image), before);
}

} // namespace
} // namespace vessor::test
