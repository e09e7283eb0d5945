// vessor-logger list, setup, profile and restart on simulated loggers: the
// profile round trip on every model, the refusals (the page's message, exit
// 2, the logger untouched) and the choice of one logger among several.
#include "cli/cli_support.h"
#include "tests/cli/cli_run.h"

#include "logger/clock.h"
#include "logger/locale_format.h"
#include "logger/setup/co_alarm_logic.h"
#include "logger/setup/event_pages_logic.h"
#include "logger/setup/setup_steps.h"
#include "logger/sim/simulated_logger.h"
#include "logger/strings.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>

namespace vessor::cli {
namespace {

constexpr Command COMMANDS[] = {
    {"list", "list", "", cmdList},         {"info", "info", "", cmdInfo},
    {"setup", "setup", "", cmdSetup},      {"profile", "profile", "", cmdProfile},
    {"restart", "restart", "", cmdRestart}, {"stop", "stop", "", cmdStop},
    {"sim-create", "sim-create", "", cmdSimCreate},
};

std::string fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The profile without its first line (which names the serial number).
std::string settingsOf(const std::string& profile) {
    return profile.substr(profile.find('\n') + 1);
}

class Setup : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/vessor-setup-XXXXXX";
        dir = mkdtemp(pattern);
        unsetenv("VESSOR_DEVICE");
        setenv("VESSOR_SIM_SPEED", "0", 1);
    }
    void TearDown() override {
        std::filesystem::remove_all(dir);
        unsetenv("VESSOR_SIM_SPEED");
    }

    int run(std::vector<std::string> args) {
        const test::CliRun result = test::runCli(COMMANDS, args, clock);
        stdoutText = result.out;
        stderrText = result.err;
        return result.status;
    }

    // A factory image; `edit` changes its block first.
    std::string create(int model, const std::string& name, std::uint32_t serial = 0,
                       const std::function<void(LoggerConfig&)>& edit = nullptr) {
        const std::string path = dir + "/" + name;
        std::vector<std::string> args{"sim-create", "--model", std::to_string(model), path};
        if (serial)
            args.insert(args.begin() + 1, {"--serial", std::to_string(serial)});
        EXPECT_EQ(run(args), EXIT_OK) << stderrText;
        if (edit) {
            std::string error;
            auto image = sim::loadImage(path, error);
            LoggerConfig block;
            block.setBlock(image->block);
            edit(block);
            image->block = block.block();
            EXPECT_TRUE(sim::saveImage(path, *image, error)) << error;
        }
        return path;
    }

    std::string profileOf(const std::string& image) {
        EXPECT_EQ(run({"--device", "sim:" + image, "profile"}), EXIT_OK) << stderrText;
        return stdoutText;
    }

    std::string dir;
    FixedClock clock{makeCalendarTime(2024, 5, 6, 7, 8, 9)};
    std::string stdoutText, stderrText;
};

// Settings that differ from the factory's on every model; a profile taken
// after them and applied to a factory logger of the model gives the same
// settings.
struct RoundTrip {
    int model;
    std::vector<std::string> settings;
};

const std::vector<RoundTrip> ROUND_TRIPS = {
    {1, {"--unit", "F", "--interval", "300", "--high-alarm", "100", "--low-alarm", "off", "--hold-high", "on"}},
    {2, {"--interval", "3600", "--high-alarm", "30.5", "--low-alarm", "-10"}},
    {3, {"--rh-high-alarm", "75.5", "--rh-low-alarm", "off", "--rh-hold-high", "on", "--high-alarm", "25"}},
    {4, {"--scaling", "custom", "--scale-unit", "kPa", "--scale-input1", "0", "--scale-output1", "0",
         "--scale-input2", "10", "--scale-output2", "500", "--high-alarm", "400", "--low-alarm", "50"}},
    {5, {"--interval", "1", "--low-alarm", "off", "--hold-low", "on", "--leds", "off"}},
    {6, {"--scaling", "custom", "--scale-unit", "\u00B0C", "--scale-input1", "1", "--scale-output1", "-20",
         "--scale-input2", "9", "--scale-output2", "60", "--high-alarm", "40", "--low-alarm", "-5"}},
    {7, {"--interval", "300", "--high-alarm", "12.5"}},
    {8, {"--unit", "F", "--high-alarm", "100", "--low-alarm", "20"}},
    {9, {"--low-alarm", "40", "--hold-low", "on", "--interval", "30"}},
    {10, {"--thermocouple", "J", "--unit", "F", "--high-alarm", "1000", "--low-alarm", "-100"}},
    {11, {"--low-alarm", "25", "--interval", "300", "--sounder", "on"}},
    {12, {"--display", "press", "--storage", "wrap", "--rh-high-alarm", "90"}},
    {13, {"--storage", "wrap", "--unit", "F", "--high-alarm", "100"}},
    {14, {"--unit", "F", "--high-alarm", "250", "--low-alarm", "-40", "--storage", "wrap", "--interval", "1"}},
    {15, {"--display", "on", "--thermocouple", "T", "--high-alarm", "700", "--leds", "off"}},
    {16, {"--display", "off", "--low-alarm", "off", "--name", "Freezer 2"}},
    {17, {"--event-mode", "count-per-period", "--count-period", "600", "--input", "voltage", "--voltage-range", "12",
          "--edge", "falling", "--leds", "off"}},
    {18, {"--unit", "F", "--storage", "wrap", "--high-alarm", "120", "--low-alarm", "0"}},
};

TEST_F(Setup, ProfileRoundTripOnEveryModel) {
    for (const RoundTrip& r : ROUND_TRIPS) {
        SCOPED_TRACE(r.model);
        const std::string source = create(r.model, "source.img", 100000000 + static_cast<std::uint32_t>(r.model));
        const std::string factory = profileOf(source);
        std::vector<std::string> args{"--device", "sim:" + source, "setup", "--agree"};
        args.insert(args.end(), r.settings.begin(), r.settings.end());
        ASSERT_EQ(run(args), EXIT_OK) << stderrText;
        EXPECT_NE(stdoutText.find("): Logging\n"), std::string::npos) << stdoutText;
        const std::string profile = dir + "/copy.ini";
        ASSERT_EQ(run({"--device", "sim:" + source, "profile", "-o", profile}), EXIT_OK) << stderrText;
        const std::string made = fileBytes(profile);
        EXPECT_NE(settingsOf(made), settingsOf(factory)) << "the settings changed nothing";

        const std::string target = create(r.model, "target.img", 200000000 + static_cast<std::uint32_t>(r.model));
        ASSERT_EQ(run({"--device", "sim:" + target, "setup", "--agree", "--profile", profile}), EXIT_OK) << stderrText;
        EXPECT_EQ(settingsOf(profileOf(target)), settingsOf(made)) << made;
    }
}

TEST_F(Setup, OptionsOnTheLineWinOverTheProfileAndRestartKeepsTheSettings) {
    const std::string source = create(3, "a.img");
    ASSERT_EQ(run({"--device", "sim:" + source, "setup", "--name", "Cold Room", "--high-alarm", "8"}), EXIT_OK);
    const std::string profile = dir + "/p.ini";
    ASSERT_EQ(run({"--device", "sim:" + source, "profile", "-o", profile}), EXIT_OK);
    const std::string target = create(3, "b.img", 42);
    ASSERT_EQ(run({"--device", "sim:" + target, "setup", "--profile", profile, "--name", "Dairy", "--start",
                   "2024-05-06T09:00:00"}),
              EXIT_OK)
        << stderrText;
    EXPECT_EQ(stdoutText, "set up 000000042 (ZR-TH \"Dairy\"): Delayed Start\n");
    ASSERT_EQ(run({"--device", "sim:" + target, "info"}), EXIT_OK);
    EXPECT_NE(stdoutText.find("high alarm: 8.0 \u00B0C (enabled)\n"), std::string::npos) << stdoutText;
    EXPECT_NE(stdoutText.find("start delay: 6711 s\n"), std::string::npos) << stdoutText;

    // After a stop the readings are not downloaded: restart needs --force,
    // then starts with the settings the logger has.
    ASSERT_EQ(run({"--device", "sim:" + target, "stop"}), EXIT_OK);
    std::string error;
    auto image = sim::loadImage(target, error);
    image->block[0x1E] = 5;     // readings taken
    image->block[0x21] |= 0x02; // not downloaded
    ASSERT_TRUE(sim::saveImage(target, *image, error));
    const std::string before = profileOf(target);
    EXPECT_EQ(run({"--device", "sim:" + target, "restart"}), EXIT_USAGE);
    EXPECT_NE(stderrText.find(messageText(MSG_SETUP_NOT_DOWNLOADED)), std::string::npos) << stderrText;
    ASSERT_EQ(run({"--device", "sim:" + target, "restart", "--force"}), EXIT_OK) << stderrText;
    EXPECT_EQ(stdoutText, "set up 000000042 (ZR-TH \"Dairy\"): Logging\n");
    EXPECT_EQ(settingsOf(profileOf(target)), settingsOf(before));
}

TEST_F(Setup, ForceStopsALoggingLoggerFirstAndDryRunWritesNothing) {
    const std::string image = create(2, "a.img", 0, [](LoggerConfig& c) { c.setStatusFlags(STATUS_LOGGING); });
    const std::string before = fileBytes(image);
    ASSERT_EQ(run({"--device", "sim:" + image, "setup", "--force", "--dry-run", "--interval", "300"}), EXIT_OK);
    EXPECT_NE(stdoutText.find("interval: 300 s\nreadings: 0\n"), std::string::npos) << stdoutText;
    EXPECT_NE(stdoutText.find("state: Logging\n"), std::string::npos) << stdoutText;
    EXPECT_EQ(fileBytes(image), before);
    ASSERT_EQ(run({"--device", "sim:" + image, "setup", "--force", "--interval", "300"}), EXIT_OK) << stderrText;
    ASSERT_EQ(run({"--device", "sim:" + image, "info"}), EXIT_OK);
    EXPECT_NE(stdoutText.find("interval: 300 s\n"), std::string::npos) << stdoutText;

    // A logger with readings waits for its button afresh.
    const std::string button = create(16, "b.img", 16, [](LoggerConfig& c) {
        c.setStatusFlags(STATUS_LOGGING);
        c.setReadingCount(40);
    });
    ASSERT_EQ(run({"--device", "sim:" + button, "setup", "--force", "--start", "push"}), EXIT_OK) << stderrText;
    EXPECT_EQ(stdoutText, "set up 000000016 (ZR-TH-DX \"ZR-TH-DX\"): Push Button To Start\n");
    ASSERT_EQ(run({"--device", "sim:" + button, "info"}), EXIT_OK);
    EXPECT_NE(stdoutText.find("state: Push Button To Start\n"), std::string::npos) << stdoutText;
}

TEST_F(Setup, DeviceWarningsGoToStderrAndTheSetUpGoesOn) {
    const std::string image = create(18, "a.img", 0, [](LoggerConfig& c) { c.setStatusFlags(STATUS_BATTERY_LOW); });
    ASSERT_EQ(run({"--device", "sim:" + image, "setup"}), EXIT_OK) << stderrText;
    EXPECT_EQ(stderrText, messageText(MSG_BATTERY_LOW_RECHARGE) + "\n");
}

// A refused set-up: exit 2, its message on stderr, the logger untouched.
struct Refusal {
    const char* name;
    int model;
    std::vector<std::string> args;
    std::string stderrHas;
    std::function<void(LoggerConfig&)> edit = nullptr;
};

TEST_F(Setup, RefusalsShowTheirMessageAndLeaveTheLoggerAsItWas) {
    const std::string otherModel = dir + "/th.ini";
    std::ofstream(otherModel) << "# a ZR-TH\nmodel = 3\n";
    const std::string unknownKey = dir + "/unknown.ini";
    std::ofstream(unknownKey) << "model = 2\n\n  interval = 60\nspeed = 3\n";
    const std::vector<Refusal> refusals = {
        {"bad character", 2, {"--name", "a.b"}, messageText(MSG_NAME_BAD_CHARACTER)},
        {"long name", 13, {"--name", "Sixteen letters!"}, messageText(MSG_NAME_TOO_LONG)},
        {"high not above low", 2, {"--high-alarm", "2", "--low-alarm", "8"}, messageText(MSG_HIGH_NOT_ABOVE_LOW)},
        {"humidity order", 16, {"--rh-high-alarm", "20", "--rh-low-alarm", "20"}, messageText(MSG_HIGH_NOT_ABOVE_LOW)},
        {"high out of range", 14, {"--agree", "--high-alarm", "130"}, messageText(MSG_HIGH_ALARM_ADJUSTED)},
        {"low out of range", 18, {"--low-alarm", "-20.5"}, messageText(MSG_LOW_ALARM_ADJUSTED)},
        {"CO level", 11, {"--agree", "--low-alarm", "400"}, "(Range: 3-300ppm)"},
        {"CO agreement", 9, {"--low-alarm", "40"}, "I confirm I have read and fully understood the manual"},
        {"professional agreement", 14, {}, "--agree accepts it"},
        {"equal inputs", 4, {"--scaling", "custom", "--scale-input1", "1", "--scale-input2", "1"},
         messageText(MSG_INPUTS_EQUAL)},
        {"input out of range", 5, {"--scaling", "custom", "--scale-input1", "-1"}, messageText(MSG_INPUT_OUT_OF_RANGE)},
        {"hours", 17, {"--event-mode", "count-per-period", "--count-period", "360000"}, HOURS_OUT_OF_RANGE},
        {"start in the past", 2, {"--start", "2024-05-06T07:08:07"}, messageText(MSG_TIME_NOT_IN_FUTURE)},
        {"logging", 3, {}, messageText(MSG_SETUP_WHILE_LOGGING),
         [](LoggerConfig& c) { c.setStatusFlags(STATUS_LOGGING); }},
        {"waiting for the button", 12, {"--start", "push"}, messageText(MSG_SETUP_AWAITING_BUTTON),
         [](LoggerConfig& c) {
             c.setStatusFlags(STATUS_LOGGING);
             c.setPushButtonMode(true);
         }},
        {"not downloaded", 2, {"--dry-run"}, messageText(MSG_SETUP_NOT_DOWNLOADED),
         [](LoggerConfig& c) {
             c.setReadingCount(10);
             c.setStatusFlags(STATUS_NOT_DOWNLOADED);
         }},
        {"setting the model lacks", 2, {"--rh-high-alarm", "80"}, "rh-high-alarm: the ZR-T (model 2) has no such setting"},
        {"LED box the model lacks", 14, {"--agree", "--leds", "off"}, "the ZR-T-PRO (model 14) has no such setting"},
        {"rate not offered", 2, {"--interval", "7"}, "7 s is not a sample rate of the ZR-T (model 2)"},
        {"fixed rate", 8, {"--interval", "60"}, "logs every 1800 seconds"},
        {"level not listed", 2, {"--high-alarm", "37.3"}, "37.3 is not a level of the list"},
        {"too many decimals", 10, {"--high-alarm", "100.25"}, "and 1 decimal place"},
        {"whole ppm", 9, {"--agree", "--low-alarm", "40.5"}, "whole number of ppm"},
        {"scaling point not shown", 4, {"--scale-unit", "Pa"}, "scale-unit does not apply"},
        {"unit character", 4, {"--scaling", "custom", "--scale-unit", "a,b"}, "cannot store (or a comma)"},
        {"no start button", 2, {"--start", "push"}, "has no start button"},
        {"not a value", 2, {"--unit", "K"}, "unit: \"K\" is not one of C, F"},
        {"option twice", 2, {"--unit", "C", "--unit=F"}, "--unit is given twice"},
        {"not a date", 2, {"--start", "2024-02-30T10:00:00"}, "is not now, push or a date"},
        {"profile of another model", 2, {"--profile", otherModel},
         "the profile is for the ZR-TH (model 3), the logger is the ZR-T (model 2)"},
        {"unknown key", 2, {"--profile", unknownKey}, "unknown.ini: line 4: unknown key \"speed\""},
    };
    for (const Refusal& r : refusals) {
        SCOPED_TRACE(r.name);
        const std::string image = create(r.model, "refused.img", 0, r.edit);
        const std::string before = fileBytes(image);
        std::vector<std::string> args{"--device", "sim:" + image, "setup"};
        args.insert(args.end(), r.args.begin(), r.args.end());
        EXPECT_EQ(run(args), EXIT_USAGE) << stderrText;
        EXPECT_NE(stderrText.find(r.stderrHas), std::string::npos) << stderrText;
        EXPECT_EQ(stdoutText, "");
        EXPECT_EQ(fileBytes(image), before);
    }
}

TEST_F(Setup, ListsEveryImageOfAFolderAndPicksTheFirst) {
    const std::string bus = dir + "/bus";
    std::filesystem::create_directory(bus);
    ASSERT_EQ(run({"--device", "sim:" + bus, "list"}), EXIT_OK);
    EXPECT_EQ(stdoutText, "");
    create(17, "bus/b.img", 7);
    create(3, "bus/a.img", 123456789, [](LoggerConfig& c) { c.setLoggerName("Tab\there"); });
    // Not images: hidden, a lock file, too small to be one.
    std::ofstream(bus + "/.hidden.img") << std::string(300, 'x');
    std::ofstream(bus + "/a.img.lock");
    std::ofstream(bus + "/notes.txt") << "cold room loggers";
    ASSERT_EQ(run({"--device", "sim:" + bus, "list"}), EXIT_OK) << stderrText;
    EXPECT_EQ(stdoutText, "sim:" + bus + "/a.img\t3 ZR-TH\tTabhere\t123456789\tStopped\t0\n"
                          "sim:" + bus + "/b.img\t17 ZR-EV\tZR-EV\t000000007\tStopped\t0\n");

    // The folder alone is its first logger, as usb is the first on the bus.
    ASSERT_EQ(run({"--device", "sim:" + bus, "setup", "--name", "First"}), EXIT_OK) << stderrText;
    ASSERT_EQ(run({"--device", "sim:" + bus + "/a.img", "info"}), EXIT_OK);
    EXPECT_NE(stdoutText.find("name: First\n"), std::string::npos) << stdoutText;
    ASSERT_EQ(run({"--device", "sim:" + bus, "list"}), EXIT_OK);
    EXPECT_NE(stdoutText.find("/a.img\t3 ZR-TH\tFirst\t123456789\tLogging\t0\n"), std::string::npos) << stdoutText;

    // A logger that cannot be opened: "no access", exit 1.
    setenv("VESSOR_SIM_SPEED", "fast", 1);
    EXPECT_EQ(run({"--device", "sim:" + bus, "list"}), EXIT_DEVICE_FAILURE);
    EXPECT_EQ(stdoutText, "sim:" + bus + "/a.img\t\t\t\tno access\t\n"
                          "sim:" + bus + "/b.img\t\t\t\tno access\t\n");
    EXPECT_NE(stderrText.find("fast"), std::string::npos) << stderrText;
}

TEST_F(Setup, DeviceNamesAndSerialNumbers) {
    for (const char* good : {"usb", "usb:010003017", "usb:7", "sim:x"}) {
        std::string error;
        EXPECT_TRUE(checkDeviceSpec(good, error)) << good;
    }
    for (const char* bad : {"usb:", "usb:01A", "usb:99999999999", "usb3", "sim:"}) {
        EXPECT_EQ(run({"--device", bad, "list"}), EXIT_USAGE) << bad;
    }
    EXPECT_EQ(run({"sim-create", "--model", "2", "--serial", "1000000000", dir + "/x.img"}), EXIT_USAGE);
    EXPECT_EQ(run({"sim-create", "--model", "2", "--serial", "0", dir + "/x.img"}), EXIT_USAGE);
}

} // namespace
} // namespace vessor::cli
