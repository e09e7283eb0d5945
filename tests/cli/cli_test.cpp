// vessor-logger: commands against simulated loggers, exit statuses, usage.
#include "cli/cli_support.h"
#include "tests/cli/cli_run.h"

#include "logger/clock.h"
#include "logger/locale_format.h"
#include "logger/product_info.h"
#include "logger/sim/simulated_logger.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

namespace vessor::cli {
namespace {

constexpr Command COMMANDS[] = {
    {"info", "info", "", cmdInfo},
    {"stop", "stop", "", cmdStop},
    {"dump", "dump PATH", "", cmdDump},
    {"sim-create", "sim-create", "", cmdSimCreate},
    {"sim-press", "sim-press", "", cmdSimPress},
};

class Cli : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/vessor-cli-XXXXXX";
        dir = mkdtemp(pattern);
        unsetenv("VESSOR_DEVICE");
        setenv("VESSOR_SIM_SPEED", "1", 1);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }

    int run(std::vector<std::string> args) {
        const test::CliRun result = test::runCli(COMMANDS, args, clock);
        stdoutText = result.out;
        stderrText = result.err;
        return result.status;
    }

    std::string dir;
    FixedClock clock{makeCalendarTime(2024, 5, 6, 7, 8, 9)};
    std::string stdoutText, stderrText;
};

TEST_F(Cli, SimCreateInfoAndStopWorkForEveryModel) {
    for (int model = 1; model <= 18; ++model) {
        SCOPED_TRACE(model);
        const std::string image = dir + "/m" + std::to_string(model) + ".img";
        ASSERT_EQ(run({"sim-create", "--model", std::to_string(model), "--logging", image}), EXIT_OK) << stderrText;
        ASSERT_EQ(run({"--device", "sim:" + image, "info"}), EXIT_OK) << stderrText;
        EXPECT_NE(stdoutText.find("model: " + std::to_string(model) + " " + modelName(model) + "\n"), std::string::npos);
        EXPECT_NE(stdoutText.find("state: Logging\n"), std::string::npos) << stdoutText;
        EXPECT_NE(stdoutText.find("start: 06/05/2024 07:08:"), std::string::npos) << stdoutText;  // stops pause the clock on
        EXPECT_NE(stdoutText.find("serial: 0"), std::string::npos);
        ASSERT_EQ(run({"stop", "--device", "sim:" + image}), EXIT_OK) << stderrText;
        ASSERT_EQ(run({"--device", "sim:" + image, "info"}), EXIT_OK);
        EXPECT_NE(stdoutText.find("state: Stopped\n"), std::string::npos);
    }
}

TEST_F(Cli, InfoShowsAlarmsFormattedWithTheirUnits) {
    const std::string image = dir + "/th.img";
    ASSERT_EQ(run({"sim-create", "--model", "3", "--name", "Caf\u00E9 \u00B0", image}), EXIT_OK);
    ASSERT_EQ(run({"--device", "sim:" + image, "info"}), EXIT_OK);
    EXPECT_NE(stdoutText.find("name: Caf\u00E9 \u00B0\n"), std::string::npos) << stdoutText;
    EXPECT_NE(stdoutText.find("high alarm: 30.0 \u00B0C (enabled)\n"), std::string::npos) << stdoutText;
    EXPECT_NE(stdoutText.find("humidity low alarm: 20.0 %rh (enabled)\n"), std::string::npos);
    EXPECT_NE(stdoutText.find("alarm flags: 0x33\n"), std::string::npos);
    // The name is stored in the logger's own 8-bit code page.
    std::ifstream in(image, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(bytes.substr(2, 6), "Caf\xE9 \xB0");
}

TEST_F(Cli, InfoMarksStartFieldsNoClockCanShow) {
    const std::string image = dir + "/bad-start.img";
    ASSERT_EQ(run({"sim-create", "--model", "1", image}), EXIT_OK);
    std::string error;
    auto loaded = sim::loadImage(image, error);
    ASSERT_TRUE(loaded) << error;
    const std::uint8_t start[6] = {25, 61, 0, 32, 13, 99}; // hour, minute, second, day, month, year
    std::copy(std::begin(start), std::end(start), loaded->block.begin() + 0x12);
    ASSERT_TRUE(sim::saveImage(image, *loaded, error));
    setenv("VESSOR_SIM_SPEED", "0", 1);
    ASSERT_EQ(run({"--device", "sim:" + image, "info"}), EXIT_OK) << stderrText;
    EXPECT_NE(stdoutText.find("start: 32/13/1999 25:61:00 (invalid)\n"), std::string::npos) << stdoutText;
}

TEST_F(Cli, DumpSavesAnImageThatReplays) {
    const std::string image = dir + "/live.img";
    const std::string copy = dir + "/copy.img";
    ASSERT_EQ(run({"sim-create", "--model", "14", "--logging", image}), EXIT_OK);
    clock.advance(3600);
    ASSERT_EQ(run({"--device", "sim:" + image, "dump", copy}), EXIT_OK) << stderrText;
    std::string error;
    const auto original = sim::loadImage(image, error);
    const auto dumped = sim::loadImage(copy, error);
    ASSERT_TRUE(original && dumped) << error;
    EXPECT_EQ(dumped->block, original->block);
    EXPECT_EQ(dumped->memory, original->memory);
    setenv("VESSOR_SIM_SPEED", "0", 1);
    ASSERT_EQ(run({"--device", "sim:" + copy, "info"}), EXIT_OK);
    EXPECT_NE(stdoutText.find("readings: 61\n"), std::string::npos) << stdoutText;
}

TEST_F(Cli, PushButtonPress) {
    const std::string image = dir + "/pb.img";
    ASSERT_EQ(run({"sim-create", "--model", "16", image}), EXIT_OK);
    EXPECT_EQ(run({"sim-press", image}), EXIT_DEVICE_FAILURE);  // not in push-button mode
    std::string error;
    auto loaded = sim::loadImage(image, error);
    ASSERT_TRUE(loaded);
    loaded->block[0x2F] |= 0x80;
    loaded->block[0x21] |= 0x01;
    ASSERT_TRUE(sim::saveImage(image, *loaded, error));
    ASSERT_EQ(run({"--device", "sim:" + image, "info"}), EXIT_OK);
    EXPECT_NE(stdoutText.find("state: Push Button To Start"), std::string::npos);
    clock.advance(42);
    ASSERT_EQ(run({"--device", "sim:" + image, "sim-press"}), EXIT_OK) << stderrText;
    ASSERT_EQ(run({"--device", "sim:" + image, "info"}), EXIT_OK);
    EXPECT_NE(stdoutText.find("state: Logging"), std::string::npos);
    EXPECT_NE(stdoutText.find("start delay: 42 s"), std::string::npos);
}

TEST_F(Cli, ExitStatusesAndMessages) {
    struct Case {
        std::vector<std::string> args;
        int status;
        const char* stderrHas;
    };
    const std::string image = dir + "/ok.img";
    ASSERT_EQ(run({"sim-create", "--model", "1", image}), EXIT_OK);
    {
        std::ofstream(dir + "/short.img") << "not a logger";
    }
    const Case cases[] = {
        {{}, EXIT_USAGE, "Usage"},
        {{"frobnicate"}, EXIT_USAGE, "unknown command"},
        {{"--device"}, EXIT_USAGE, "--device needs a value"},
        {{"--usb-id", "10C4", "info"}, EXIT_USAGE, "VID:PID"},
        {{"--usb-id", "10C4:XYZ", "info"}, EXIT_USAGE, "VID:PID"},
        {{"sim-create", "--model", "19", dir + "/x.img"}, EXIT_USAGE, "1..18"},
        {{"sim-create", "--model", "0", dir + "/x.img"}, EXIT_USAGE, "1..18"},
        {{"sim-create", "--model", "3"}, EXIT_USAGE, "PATH"},
        {{"sim-create", "--model", "3", "--name", "sixteen chars ok", dir + "/x.img"}, EXIT_USAGE, "15"},
        {{"sim-create", "--model", "3", dir + "/no/such/dir/x.img"}, EXIT_DEVICE_FAILURE, "cannot write"},
        {{"info", "extra"}, EXIT_USAGE, "no arguments"},
        {{"--device", "usb", "info"}, EXIT_DEVICE_FAILURE, "\n"},  // no backend, or no logger on this machine
        // A device name the tool does not know is a mistyped command line.
        {{"--device", "serial:/dev/x", "info"}, EXIT_USAGE, "unknown device"},
        {{"--device", "sim:", "info"}, EXIT_USAGE, "sim:PATH"},
        {{"--verbose", "info"}, EXIT_USAGE, "unknown option \"--verbose\""},
        {{"--device", "sim:" + dir + "/missing.img", "info"}, EXIT_DEVICE_FAILURE, "missing.img"},
        {{"--device", "sim:" + dir + "/short.img", "stop"}, EXIT_DEVICE_FAILURE, "256"},
        {{"--device", "sim:" + image, "dump"}, EXIT_USAGE, "PATH"},
        // An option's value is never taken as an option.
        {{"sim-create", "--model", "3", "--name", "--help", dir + "/x.img"}, EXIT_USAGE, "--name needs a value"},
        {{"sim-create", "--model", "--version", dir + "/x.img"}, EXIT_USAGE, "needs --model"},
        {{"--device", "--help", "info"}, EXIT_USAGE, "--device needs a value"},
        {{"info", "--device", "--version"}, EXIT_USAGE, "--device needs a value"},
        // Names the logger cannot store get the wizard's message.
        {{"sim-create", "--model", "3", "--name", "\u65E5\u672C", dir + "/x.img"}, EXIT_USAGE,
         "The logger cannot store the character '\u65E5'."},
        {{"sim-create", "--model", "3", "--name", "a\x1B" "b", dir + "/x.img"}, EXIT_USAGE,
         "The logger cannot store the character 'U+001B'."},
    };
    for (const Case& c : cases) {
        std::string joined;
        for (const auto& a : c.args)
            joined += a + " ";
        SCOPED_TRACE(joined);
        EXPECT_EQ(run(c.args), c.status);
        EXPECT_NE(stderrText.find(c.stderrHas), std::string::npos) << stderrText;
    }
    EXPECT_FALSE(std::filesystem::exists(dir + "/x.img"));
}

// Inputs that are no plain file are refused at once: a FIFO opened for
// reading would wait for a writer for ever.
TEST_F(Cli, ImagesThatAreNoPlainFileOrTooLarge) {
    const std::string fifo = dir + "/fifo.img";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const std::string large = dir + "/large.img";
    {
        std::ofstream create(large);
    }
    std::filesystem::resize_file(large, 1 << 20);
    const struct {
        std::vector<std::string> args;
        const char* stderrHas;
    } cases[] = {
        {{"--device", "sim:" + fifo, "info"}, "Not a plain file"},
        {{"sim-press", fifo}, "Not a plain file"},
        // A folder is a bus of simulated loggers; these files are none.
        {{"--device", "sim:" + dir, "stop"}, "No Vessor USB Data Logger found"},
        {{"--device", "sim:" + large, "info"},
         "1048576 bytes, but a logger image has at most 65791 (the 256-byte block and at most 65535 bytes"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.back());
        EXPECT_EQ(run(c.args), EXIT_DEVICE_FAILURE);
        EXPECT_NE(stderrText.find(c.stderrHas), std::string::npos) << stderrText;
    }
}

TEST_F(Cli, SimSpeedMustBeANumberOfZeroOrMore) {
    const std::string image = dir + "/ok.img";
    ASSERT_EQ(run({"sim-create", "--model", "3", image}), EXIT_OK);
    const struct {
        const char* speed;
        int status;
    } cases[] = {
        {"abc", EXIT_DEVICE_FAILURE}, {"-5", EXIT_DEVICE_FAILURE}, {" 60", EXIT_DEVICE_FAILURE},
        {"60x", EXIT_DEVICE_FAILURE}, {"nan", EXIT_DEVICE_FAILURE}, {"inf", EXIT_DEVICE_FAILURE},
        {"0", EXIT_OK},               {"60", EXIT_OK},              {"0.5", EXIT_OK},
        {"", EXIT_OK},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.speed);
        setenv("VESSOR_SIM_SPEED", c.speed, 1);
        const std::string refusal = std::string("VESSOR_SIM_SPEED is \"") + c.speed + "\", not a number of 0 or more";
        EXPECT_EQ(run({"--device", "sim:" + image, "info"}), c.status);
        EXPECT_EQ(stderrText.find(refusal) != std::string::npos, c.status != EXIT_OK) << stderrText;
        // The logger waits for no button: refused either way, but for its own reason.
        EXPECT_EQ(run({"sim-press", image}), EXIT_DEVICE_FAILURE);
        EXPECT_EQ(stderrText.find(refusal) != std::string::npos, c.status != EXIT_OK) << stderrText;
    }
}

TEST_F(Cli, VersionAndHelpFromTheProgram) {
    const std::string program = VESSOR_LOGGER_PROGRAM;
    const std::string outPath = dir + "/out.txt";
    ASSERT_EQ(std::system((program + " --version > " + outPath).c_str()), 0);
    std::ifstream in(outPath);
    std::string line;
    std::getline(in, line);
    EXPECT_EQ(line, std::string("vessor-logger ") + vessor::product::VERSION);
    ASSERT_EQ(std::system((program + " --help > " + outPath).c_str()), 0);
    std::ifstream help(outPath);
    const std::string text((std::istreambuf_iterator<char>(help)), std::istreambuf_iterator<char>());
    for (const char* command : {"info", "stop", "dump PATH", "sim-create", "sim-press"})
        EXPECT_NE(text.find(command), std::string::npos) << command;
    const int status = std::system((program + " > /dev/null 2>&1").c_str());
    EXPECT_EQ(WEXITSTATUS(status), EXIT_USAGE);
    // VESSOR_DEVICE gives the default device.
    const std::string image = dir + "/env.img";
    ASSERT_EQ(std::system((program + " sim-create --model 9 " + image + " > /dev/null").c_str()), 0);
    EXPECT_EQ(std::system(("VESSOR_DEVICE=sim:" + image + " " + program + " info > " + outPath).c_str()), 0);
    std::ifstream info(outPath);
    std::getline(info, line);
    EXPECT_EQ(line, "model: 9 ZR-CO");
}

TEST_F(Cli, QuestionsAreAnsweredNoWithoutATerminal) {
    std::FILE* err = std::tmpfile();
    StderrUserInterface ui(err, nullptr, false);
    EXPECT_EQ(ui.ask("Continue?", MessageButtons::YesNo), Answer::No);
    EXPECT_EQ(ui.ask("Continue?", MessageButtons::OkCancel), Answer::Cancel);
    EXPECT_NE(test::readStream(err).find("not a terminal"), std::string::npos);
    std::fclose(err);
}

} // namespace
} // namespace vessor::cli
