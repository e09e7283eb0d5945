// The set-up of a logger as settings: every choice the wizard's pages offer,
// each optional (a setting not given keeps what the logger holds, as the
// wizard shows it filled in). Each setting has one name, used both as the
// command-line option (--NAME) and as the key of a profile, a small INI text
// of "key = value" lines that copies one logger's set-up to others.
#pragma once

#include "logger/models.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vessor {

class LoggerConfig;

// The settings, in the order of the wizard's pages (and of a profile).
enum class Setting {
    Name,
    Interval,
    Unit,
    Thermocouple,
    Scaling,
    ScaleUnit,
    ScaleInput1,
    ScaleOutput1,
    ScaleInput2,
    ScaleOutput2,
    Display,
    Storage,
    HighAlarm,
    LowAlarm,
    HoldHigh,
    HoldLow,
    RhHighAlarm,
    RhLowAlarm,
    RhHoldHigh,
    RhHoldLow,
    Leds,
    Sounder,
    EventMode,
    Edge,
    Input,
    VoltageRange,
    CountPeriod,
};
inline constexpr int SETTING_COUNT = static_cast<int>(Setting::CountPeriod) + 1;

struct SettingInfo {
    Setting setting;
    const char* key;      // "high-alarm": the option without "--", the profile's key
    const char* values;   // "VALUE|off", for help texts
    const char* help;     // one line
};
// Every setting, in the order above.
const std::vector<SettingInfo>& settingInfos();
const SettingInfo& settingInfo(Setting setting);
// nullptr for a key that names no setting.
const SettingInfo* findSetting(std::string_view key);

// An alarm level: a value in the channel's unit, or off.
struct AlarmLevel {
    bool enabled = false;
    double value = 0;
    int decimals = 0;     // decimal places as written
};

// The settings given; the field of each Setting is set when it was given.
struct SetupSettings {
    std::optional<std::string> name;          // UTF-8
    std::optional<std::uint16_t> interval;    // seconds
    std::optional<bool> fahrenheit;
    std::optional<int> thermocouple;          // TC_J, TC_K, TC_T (name_pages_logic.h)
    std::optional<bool> customScaling;
    std::optional<std::string> scaleUnit;     // UTF-8
    std::optional<std::string> scaleInput1;
    std::optional<std::string> scaleOutput1;
    std::optional<std::string> scaleInput2;
    std::optional<std::string> scaleOutput2;
    std::optional<int> display;               // the display page's choice 0, 1, 2
    std::optional<bool> wrap;
    std::optional<AlarmLevel> highAlarm;
    std::optional<AlarmLevel> lowAlarm;       // the CO models' warning level
    std::optional<bool> holdHigh;
    std::optional<bool> holdLow;
    std::optional<AlarmLevel> rhHighAlarm;
    std::optional<AlarmLevel> rhLowAlarm;
    std::optional<bool> rhHoldHigh;
    std::optional<bool> rhHoldLow;
    std::optional<bool> ledsOn;
    std::optional<bool> sounder;
    std::optional<int> eventMode;             // EVENT_MODE_*
    std::optional<bool> risingEdge;
    std::optional<bool> voltFree;
    std::optional<int> voltageRange;          // 0..3: 0-3V, 0-5V, 0-12V, 0-24V
    std::optional<std::uint32_t> countPeriod; // seconds

    bool has(Setting setting) const;
    // Every setting given in `other` replaces this one's.
    void override(const SetupSettings& other);
};

// Sets one setting from its text; false with `error` (one line naming the
// key and what it takes) when the text is not a value of the setting.
bool setSetting(SetupSettings& settings, Setting setting, std::string_view value, std::string& error);

// The text of a setting's value as a profile writes it (and setSetting reads
// it back); empty when the setting was not given.
std::string settingText(const SetupSettings& settings, Setting setting);

// The set-up steps whose page offers `setting`.
bool offersSetting(WizardStep step, Setting setting);
// Whether any step of the model's set-up offers `setting`.
bool modelOffers(int modelType, Setting setting);

// --- Profiles ---

struct Profile {
    int model = 0;
    SetupSettings settings;
};

// Reads a profile's text: "key = value" lines, blank lines and "#" comments;
// a value in double quotes keeps its blanks. False with `error` naming the
// line and what is wrong (an unknown key, a key twice, a value, no model).
bool parseProfile(std::string_view text, Profile& profile, std::string& error);

// A profile's text: a comment line, "model = N", then one line per setting
// given, in the order of the pages.
std::string formatProfile(const Profile& profile, std::string_view comment);

} // namespace vessor
