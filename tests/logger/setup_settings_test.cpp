// Set-up settings as text (options and profile values), the profile format,
// and picking one logger among several by its serial number.
#include "logger/device_bus.h"
#include "logger/session.h"
#include "logger/setup/setup_settings.h"
#include "logger/sim/simulated_logger.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace vessor {
namespace {

struct ValueCase {
    const char* key;
    const char* text;
    const char* written;  // what a profile writes back; nullptr: refused
};

TEST(SettingValues, AreReadAndWrittenBackOrRefused) {
    const ValueCase cases[] = {
        {"unit", "f", "F"},
        {"unit", "K", nullptr},
        {"thermocouple", "t", "T"},
        {"high-alarm", "-12.50", "-12.50"},
        {"high-alarm", ".5", "0.5"},
        {"high-alarm", "off", "off"},
        {"high-alarm", "Off", nullptr},
        {"high-alarm", "1e3", nullptr},
        {"high-alarm", "--5", nullptr},
        {"high-alarm", "5.", "5"},
        {"high-alarm", "1.2.3", nullptr},
        {"rh-low-alarm", "", nullptr},
        {"interval", "60", "60"},
        {"interval", "65536", nullptr},
        {"interval", "-10", nullptr},
        {"count-period", "4294967295", "4294967295"},
        {"count-period", "4294967296", nullptr},
        {"voltage-range", "12", "12"},
        {"voltage-range", "10", nullptr},
        {"display", "press", "press"},
        {"storage", "wrap", "wrap"},
        {"event-mode", "count", nullptr},
        {"event-mode", "count-total", "count-total"},
        {"input", "volt-free", "volt-free"},
        {"edge", "rising", "rising"},
        {"leds", "on", "on"},
        {"name", "Cold, room.", "Cold, room."},   // the naming rule is the page's, later
    };
    for (const ValueCase& c : cases) {
        SCOPED_TRACE(std::string(c.key) + " " + c.text);
        const SettingInfo* info = findSetting(c.key);
        ASSERT_NE(info, nullptr);
        SetupSettings settings;
        std::string error;
        const bool ok = setSetting(settings, info->setting, c.text, error);
        EXPECT_EQ(ok, c.written != nullptr) << error;
        EXPECT_EQ(settings.has(info->setting), ok);
        if (ok) {
            EXPECT_EQ(settingText(settings, info->setting), c.written);
        } else {
            EXPECT_EQ(error.rfind(std::string(c.key) + ": \"" + c.text + "\" is not ", 0), 0u) << error;
        }
    }
    EXPECT_EQ(findSetting("model"), nullptr);
    EXPECT_EQ(findSetting("--unit"), nullptr);
}

struct ProfileCase {
    const char* text;
    const char* error;  // nullptr: read
};

TEST(Profiles, ReadKeyValueLinesAndNameTheFaultyLine) {
    const ProfileCase cases[] = {
        {"# cold room\r\nmodel = 3\r\n\r\n  unit=F  \r\nname = \"Cold  \"\n", nullptr},
        {"name = x\n", "no \"model = N\" line"},
        {"model = 3\nmodel = 3\n", "line 2: model given twice"},
        {"model = 19\n", "line 1: model is not a model number 1..18"},
        {"model = 3\nfoo = 1\n", "line 2: unknown key \"foo\""},
        {"model = 3\nunit = C\n# again\nunit = F\n", "line 4: unit given twice"},
        {"model = 3\njunk\n", "line 2: not \"key = value\""},
        {"model = 3\nhigh-alarm = hot\n", "line 2: high-alarm: \"hot\" is not a number"},
    };
    for (const ProfileCase& c : cases) {
        SCOPED_TRACE(c.text);
        Profile profile;
        std::string error;
        const bool ok = parseProfile(c.text, profile, error);
        EXPECT_EQ(ok, c.error == nullptr) << error;
        if (c.error) {
            EXPECT_EQ(error.rfind(c.error, 0), 0u) << error;
        }
    }
    Profile profile;
    std::string error;
    ASSERT_TRUE(parseProfile(cases[0].text, profile, error));
    EXPECT_EQ(profile.model, 3);
    EXPECT_EQ(profile.settings.name, "Cold  ");
    EXPECT_EQ(profile.settings.fahrenheit, true);
    EXPECT_FALSE(profile.settings.has(Setting::Interval));
}

TEST(Profiles, WrittenProfilesReadBackTheSame) {
    Profile profile;
    profile.model = 4;
    std::string error;
    const std::pair<Setting, const char*> values[] = {
        {Setting::Name, "Tank 3 "},        {Setting::Interval, "1"},         {Setting::Scaling, "custom"},
        {Setting::ScaleUnit, "\"x\""},     {Setting::ScaleInput1, "0.5"},    {Setting::HighAlarm, "-0.25"},
        {Setting::LowAlarm, "off"},        {Setting::Leds, "off"},
    };
    for (const auto& [setting, text] : values)
        ASSERT_TRUE(setSetting(profile.settings, setting, text, error)) << error;
    const std::string text = formatProfile(profile, "two\nlines");
    EXPECT_EQ(text.rfind("# two lines\nmodel = 4\nname = \"Tank 3 \"\ninterval = 1\n", 0), 0u) << text;
    Profile read;
    ASSERT_TRUE(parseProfile(text, read, error)) << error << "\n" << text;
    EXPECT_EQ(read.model, 4);
    for (const SettingInfo& info : settingInfos())
        EXPECT_EQ(settingText(read.settings, info.setting), settingText(profile.settings, info.setting)) << info.key;
}

// A folder of images is a bus; a serial number picks its logger.
TEST(DeviceBus, ListsAFolderInNameOrderAndPicksByTheBlocksSerialNumber) {
    const std::string dir = test::tempDir();
    const std::uint32_t serials[] = {300, 100, 200};
    const char* names[] = {"c.img", "a.img", "b.img"};
    for (int i = 0; i < 3; ++i) {
        sim::FactoryOptions options;
        options.modelType = 2 + i;
        options.serialNumber = serials[i];
        std::string error;
        const auto image = sim::makeFactoryImage(options, error);
        ASSERT_TRUE(image && sim::saveImage(dir + "/" + names[i], *image, error)) << error;
    }
    FixedClock clock(makeCalendarTime(2024, 1, 1));
    std::string error;
    auto bus = std::make_shared<sim::SimFolderXpress>(dir, clock, error);
    ASSERT_EQ(error, "");
    const std::vector<AttachedLogger> loggers = readAttachedLoggers(bus);
    ASSERT_EQ(loggers.size(), 3u);
    const std::uint32_t inOrder[] = {100, 200, 300};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_TRUE(loggers[i].read.ok());
        EXPECT_EQ(loggers[i].config.serialNumber(), inOrder[i]);
        EXPECT_EQ(loggers[i].linkName, dir + "/" + std::string(1, static_cast<char>('a' + i)) + ".img");
    }

    std::unique_ptr<UsbXpress> picked = selectBySerial(bus, 200, error);
    ASSERT_TRUE(picked) << error;
    LoggerConfig config;
    LoggerSession session(config, clock);
    session.setTransport(picked.get());
    ASSERT_TRUE(session.refresh().ok());
    EXPECT_EQ(config.serialNumber(), 200u);
    EXPECT_EQ(config.modelType(), 4);

    EXPECT_EQ(selectBySerial(bus, 99, error), nullptr);
    EXPECT_EQ(error, "no logger with the serial number 000000099 is attached");
    std::filesystem::remove_all(dir);
}

} // namespace
} // namespace vessor
