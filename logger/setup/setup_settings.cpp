#include "logger/setup/setup_settings.h"

#include "logger/conversion.h"
#include "logger/setup/name_pages_logic.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <limits>

namespace vessor {

namespace {

using W = WizardStep;

const std::vector<SettingInfo> SETTINGS = {
    {Setting::Name, "name", "TEXT", "the logger's name (at most 15 characters)"},
    {Setting::Interval, "interval", "SECONDS", "seconds between readings: one of the model's sample rates"},
    {Setting::Unit, "unit", "C|F", "temperature unit"},
    {Setting::Thermocouple, "thermocouple", "J|K|T", "thermocouple type (ZR-TC, ZR-TC-D)"},
    {Setting::Scaling, "scaling", "standard|custom", "voltage and current loggers: factory or custom scaling"},
    {Setting::ScaleUnit, "scale-unit", "TEXT", "custom scaling: the unit shown (at most 8 characters)"},
    {Setting::ScaleInput1, "scale-input1", "NUMBER", "custom scaling: input of point 1, in the logger's input unit"},
    {Setting::ScaleOutput1, "scale-output1", "NUMBER", "custom scaling: what input 1 shows as"},
    {Setting::ScaleInput2, "scale-input2", "NUMBER", "custom scaling: input of point 2"},
    {Setting::ScaleOutput2, "scale-output2", "NUMBER", "custom scaling: what input 2 shows as"},
    {Setting::Display, "display", "off|press|on",
     "display: off, on for 30 seconds after a button press, always on"},
    {Setting::Storage, "storage", "stop|wrap", "when the memory is full: stop, or overwrite the oldest readings"},
    {Setting::HighAlarm, "high-alarm", "VALUE|off", "high alarm level in the channel's unit, or off"},
    {Setting::LowAlarm, "low-alarm", "VALUE|off",
     "low alarm level (the CO loggers' warning level, in ppm), or off"},
    {Setting::HoldHigh, "hold-high", "on|off", "keep indicating a high alarm after the value returns"},
    {Setting::HoldLow, "hold-low", "on|off", "keep indicating a low alarm (CO: the warning) after the value returns"},
    {Setting::RhHighAlarm, "rh-high-alarm", "VALUE|off", "humidity high alarm in %rh, or off"},
    {Setting::RhLowAlarm, "rh-low-alarm", "VALUE|off", "humidity low alarm in %rh, or off"},
    {Setting::RhHoldHigh, "rh-hold-high", "on|off", "keep indicating a humidity high alarm"},
    {Setting::RhHoldLow, "rh-hold-low", "on|off", "keep indicating a humidity low alarm"},
    {Setting::Leds, "leds", "on|off", "the alarm LEDs, or the event logger's red LED on events"},
    {Setting::Sounder, "sounder", "on|off", "CO loggers: the sounder"},
    {Setting::EventMode, "event-mode", "edges|states|count-total|count-per-period",
     "event logger: edges, state changes, one count in all, or counts per period"},
    {Setting::Edge, "edge", "rising|falling", "event logger: the edge that triggers"},
    {Setting::Input, "input", "voltage|volt-free", "event logger: voltage triggering or volt-free contacts"},
    {Setting::VoltageRange, "voltage-range", "3|5|12|24", "event logger: input range 0-3V, 0-5V, 0-12V or 0-24V"},
    {Setting::CountPeriod, "count-period", "SECONDS", "event logger: the counting period (count-per-period)"},
};

// The steps whose page offers each setting.
struct Offer {
    Setting setting;
    std::vector<WizardStep> steps;
};
const std::vector<Offer> OFFERS = {
    {Setting::Name, {W::Name, W::VoltageName, W::LiteName, W::CoName, W::ThermocoupleName, W::EventName}},
    {Setting::Interval, {W::Name, W::VoltageName, W::LiteName, W::CoName, W::ThermocoupleName}},
    {Setting::Unit, {W::Name, W::LiteName, W::ThermocoupleName}},
    {Setting::Thermocouple, {W::ThermocoupleName}},
    {Setting::Scaling, {W::VoltageName}},
    {Setting::ScaleUnit, {W::CustomScaling}},
    {Setting::ScaleInput1, {W::CustomScaling}},
    {Setting::ScaleOutput1, {W::CustomScaling}},
    {Setting::ScaleInput2, {W::CustomScaling}},
    {Setting::ScaleOutput2, {W::CustomScaling}},
    {Setting::Display, {W::Display}},
    {Setting::Storage, {W::Display, W::StorageMode}},
    {Setting::HighAlarm, {W::TemperatureAlarms, W::LiteAlarms, W::NumberAlarms}},
    {Setting::LowAlarm, {W::TemperatureAlarms, W::LiteAlarms, W::NumberAlarms, W::CoAlarms}},
    {Setting::HoldHigh, {W::TemperatureAlarms, W::LiteAlarms, W::NumberAlarms}},
    {Setting::HoldLow, {W::TemperatureAlarms, W::LiteAlarms, W::NumberAlarms, W::CoAlarms}},
    {Setting::RhHighAlarm, {W::HumidityAlarms}},
    {Setting::RhLowAlarm, {W::HumidityAlarms}},
    {Setting::RhHoldHigh, {W::HumidityAlarms}},
    {Setting::RhHoldLow, {W::HumidityAlarms}},
    {Setting::Leds, {W::NumberAlarms, W::EventTrigger}},
    {Setting::Sounder, {W::CoAlarms}},
    {Setting::EventMode, {W::EventName}},
    {Setting::Edge, {W::EventTrigger}},
    {Setting::Input, {W::EventTrigger}},
    {Setting::VoltageRange, {W::EventVoltageRange}},
    {Setting::CountPeriod, {W::EventCountPeriod}},
};

// The words of the settings that choose among a few.
struct Word {
    const char* text;
    int value;
};
constexpr Word UNIT_WORDS[] = {{"C", 0}, {"F", 1}};
constexpr Word THERMOCOUPLE_WORDS[] = {{"J", TC_J}, {"K", TC_K}, {"T", TC_T}};
constexpr Word SCALING_WORDS[] = {{"standard", 0}, {"custom", 1}};
constexpr Word DISPLAY_WORDS[] = {{"off", 0}, {"press", 1}, {"on", 2}};
constexpr Word STORAGE_WORDS[] = {{"stop", 0}, {"wrap", 1}};
constexpr Word ON_OFF_WORDS[] = {{"off", 0}, {"on", 1}};
constexpr Word EVENT_MODE_WORDS[] = {{"edges", EVENT_MODE_EDGE},
                                     {"states", EVENT_MODE_STATE},
                                     {"count-total", EVENT_MODE_COUNT_TOTAL},
                                     {"count-per-period", EVENT_MODE_COUNT_PER}};
constexpr Word EDGE_WORDS[] = {{"falling", 0}, {"rising", 1}};
constexpr Word INPUT_WORDS[] = {{"voltage", 0}, {"volt-free", 1}};
constexpr Word RANGE_WORDS[] = {{"3", 0}, {"5", 1}, {"12", 2}, {"24", 3}};

template <std::size_t N>
std::optional<int> wordValue(const Word (&words)[N], std::string_view text, bool ignoreCase = false)
{
    for (const Word& w : words) {
        const std::string_view word = w.text;
        const bool same = word.size() == text.size() &&
                          std::equal(word.begin(), word.end(), text.begin(), [ignoreCase](char a, char b) {
                              auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
                              return ignoreCase ? lower(a) == lower(b) : a == b;
                          });
        if (same)
            return w.value;
    }
    return std::nullopt;
}

template <std::size_t N>
std::string wordText(const Word (&words)[N], int value)
{
    for (const Word& w : words)
        if (w.value == value)
            return w.text;
    return {};
}

template <std::size_t N>
std::string wordList(const Word (&words)[N])
{
    std::string list;
    for (const Word& w : words)
        list += (list.empty() ? "" : ", ") + std::string(w.text);
    return list;
}

bool parseWhole(std::string_view text, std::uint64_t max, std::uint64_t& value)
{
    if (text.empty() || text.size() > 12)
        return false;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    return result.ec == std::errc() && result.ptr == text.data() + text.size() && value <= max;
}

// A level as the pages' boxes take it: an optional minus sign, digits and
// at most one full stop (no exponent, no other characters).
bool parseLevel(std::string_view text, AlarmLevel& level)
{
    if (text == "off") {
        level = AlarmLevel{};
        return true;
    }
    std::string_view digits = text;
    if (!digits.empty() && digits.front() == '-')
        digits.remove_prefix(1);
    const auto stop = digits.find('.');
    const std::string_view whole = digits.substr(0, stop);
    const std::string_view fraction = stop == std::string_view::npos ? std::string_view() : digits.substr(stop + 1);
    const auto allDigits = [](std::string_view s) {
        return std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    if (whole.size() + fraction.size() == 0 || whole.size() > 9 || !allDigits(whole) || !allDigits(fraction))
        return false;
    double value = 0;
    if (!parseNumber(text, value))
        return false;
    level.enabled = true;
    level.value = value;
    level.decimals = static_cast<int>(fraction.size());
    return true;
}

std::string levelText(const AlarmLevel& level)
{
    return level.enabled ? formatFixed(level.value, level.decimals) : "off";
}

template <typename T>
std::string onOff(const std::optional<T>& v)
{
    return *v ? "on" : "off";
}

} // namespace

const std::vector<SettingInfo>& settingInfos()
{
    return SETTINGS;
}

const SettingInfo& settingInfo(Setting setting)
{
    return SETTINGS[static_cast<std::size_t>(setting)];
}

const SettingInfo* findSetting(std::string_view key)
{
    for (const SettingInfo& info : SETTINGS)
        if (key == info.key)
            return &info;
    return nullptr;
}

bool SetupSettings::has(Setting setting) const
{
    switch (setting) {
    case Setting::Name: return name.has_value();
    case Setting::Interval: return interval.has_value();
    case Setting::Unit: return fahrenheit.has_value();
    case Setting::Thermocouple: return thermocouple.has_value();
    case Setting::Scaling: return customScaling.has_value();
    case Setting::ScaleUnit: return scaleUnit.has_value();
    case Setting::ScaleInput1: return scaleInput1.has_value();
    case Setting::ScaleOutput1: return scaleOutput1.has_value();
    case Setting::ScaleInput2: return scaleInput2.has_value();
    case Setting::ScaleOutput2: return scaleOutput2.has_value();
    case Setting::Display: return display.has_value();
    case Setting::Storage: return wrap.has_value();
    case Setting::HighAlarm: return highAlarm.has_value();
    case Setting::LowAlarm: return lowAlarm.has_value();
    case Setting::HoldHigh: return holdHigh.has_value();
    case Setting::HoldLow: return holdLow.has_value();
    case Setting::RhHighAlarm: return rhHighAlarm.has_value();
    case Setting::RhLowAlarm: return rhLowAlarm.has_value();
    case Setting::RhHoldHigh: return rhHoldHigh.has_value();
    case Setting::RhHoldLow: return rhHoldLow.has_value();
    case Setting::Leds: return ledsOn.has_value();
    case Setting::Sounder: return sounder.has_value();
    case Setting::EventMode: return eventMode.has_value();
    case Setting::Edge: return risingEdge.has_value();
    case Setting::Input: return voltFree.has_value();
    case Setting::VoltageRange: return voltageRange.has_value();
    case Setting::CountPeriod: return countPeriod.has_value();
    }
    return false;
}

void SetupSettings::override(const SetupSettings& other)
{
    auto take = [](auto& mine, const auto& theirs) {
        if (theirs)
            mine = theirs;
    };
    take(name, other.name);
    take(interval, other.interval);
    take(fahrenheit, other.fahrenheit);
    take(thermocouple, other.thermocouple);
    take(customScaling, other.customScaling);
    take(scaleUnit, other.scaleUnit);
    take(scaleInput1, other.scaleInput1);
    take(scaleOutput1, other.scaleOutput1);
    take(scaleInput2, other.scaleInput2);
    take(scaleOutput2, other.scaleOutput2);
    take(display, other.display);
    take(wrap, other.wrap);
    take(highAlarm, other.highAlarm);
    take(lowAlarm, other.lowAlarm);
    take(holdHigh, other.holdHigh);
    take(holdLow, other.holdLow);
    take(rhHighAlarm, other.rhHighAlarm);
    take(rhLowAlarm, other.rhLowAlarm);
    take(rhHoldHigh, other.rhHoldHigh);
    take(rhHoldLow, other.rhHoldLow);
    take(ledsOn, other.ledsOn);
    take(sounder, other.sounder);
    take(eventMode, other.eventMode);
    take(risingEdge, other.risingEdge);
    take(voltFree, other.voltFree);
    take(voltageRange, other.voltageRange);
    take(countPeriod, other.countPeriod);
}

bool setSetting(SetupSettings& s, Setting setting, std::string_view value, std::string& error)
{
    const SettingInfo& info = settingInfo(setting);
    auto refuse = [&](const std::string& what) {
        error = std::string(info.key) + ": \"" + std::string(value) + "\" is not " + what;
        return false;
    };
    auto word = [&](std::optional<int>& field, auto& words, bool ignoreCase = false) {
        const std::optional<int> v = wordValue(words, value, ignoreCase);
        if (!v)
            return refuse("one of " + wordList(words));
        field = *v;
        return true;
    };
    auto flag = [&](std::optional<bool>& field, auto& words, bool ignoreCase = false) {
        std::optional<int> v;
        if (!word(v, words, ignoreCase))
            return false;
        field = *v != 0;
        return true;
    };
    auto level = [&](std::optional<AlarmLevel>& field) {
        AlarmLevel parsed;
        if (!parseLevel(value, parsed))
            return refuse("a number (digits, a full stop, maybe a minus sign) or off");
        field = parsed;
        return true;
    };
    auto text = [&](std::optional<std::string>& field) {
        field = std::string(value);
        return true;
    };
    std::uint64_t whole = 0;
    switch (setting) {
    case Setting::Name: return text(s.name);
    case Setting::Interval:
        if (!parseWhole(value, std::numeric_limits<std::uint16_t>::max(), whole))
            return refuse("a number of seconds");
        s.interval = static_cast<std::uint16_t>(whole);
        return true;
    case Setting::Unit: return flag(s.fahrenheit, UNIT_WORDS, true);
    case Setting::Thermocouple: return word(s.thermocouple, THERMOCOUPLE_WORDS, true);
    case Setting::Scaling: return flag(s.customScaling, SCALING_WORDS);
    case Setting::ScaleUnit: return text(s.scaleUnit);
    case Setting::ScaleInput1: return text(s.scaleInput1);
    case Setting::ScaleOutput1: return text(s.scaleOutput1);
    case Setting::ScaleInput2: return text(s.scaleInput2);
    case Setting::ScaleOutput2: return text(s.scaleOutput2);
    case Setting::Display: return word(s.display, DISPLAY_WORDS);
    case Setting::Storage: return flag(s.wrap, STORAGE_WORDS);
    case Setting::HighAlarm: return level(s.highAlarm);
    case Setting::LowAlarm: return level(s.lowAlarm);
    case Setting::HoldHigh: return flag(s.holdHigh, ON_OFF_WORDS);
    case Setting::HoldLow: return flag(s.holdLow, ON_OFF_WORDS);
    case Setting::RhHighAlarm: return level(s.rhHighAlarm);
    case Setting::RhLowAlarm: return level(s.rhLowAlarm);
    case Setting::RhHoldHigh: return flag(s.rhHoldHigh, ON_OFF_WORDS);
    case Setting::RhHoldLow: return flag(s.rhHoldLow, ON_OFF_WORDS);
    case Setting::Leds: return flag(s.ledsOn, ON_OFF_WORDS);
    case Setting::Sounder: return flag(s.sounder, ON_OFF_WORDS);
    case Setting::EventMode: return word(s.eventMode, EVENT_MODE_WORDS);
    case Setting::Edge: return flag(s.risingEdge, EDGE_WORDS);
    case Setting::Input: return flag(s.voltFree, INPUT_WORDS);
    case Setting::VoltageRange: return word(s.voltageRange, RANGE_WORDS);
    case Setting::CountPeriod:
        if (!parseWhole(value, std::numeric_limits<std::uint32_t>::max(), whole))
            return refuse("a number of seconds");
        s.countPeriod = static_cast<std::uint32_t>(whole);
        return true;
    }
    return refuse("a value");
}

std::string settingText(const SetupSettings& s, Setting setting)
{
    if (!s.has(setting))
        return {};
    switch (setting) {
    case Setting::Name: return *s.name;
    case Setting::Interval: return std::to_string(*s.interval);
    case Setting::Unit: return *s.fahrenheit ? "F" : "C";
    case Setting::Thermocouple: return wordText(THERMOCOUPLE_WORDS, *s.thermocouple);
    case Setting::Scaling: return *s.customScaling ? "custom" : "standard";
    case Setting::ScaleUnit: return *s.scaleUnit;
    case Setting::ScaleInput1: return *s.scaleInput1;
    case Setting::ScaleOutput1: return *s.scaleOutput1;
    case Setting::ScaleInput2: return *s.scaleInput2;
    case Setting::ScaleOutput2: return *s.scaleOutput2;
    case Setting::Display: return wordText(DISPLAY_WORDS, *s.display);
    case Setting::Storage: return *s.wrap ? "wrap" : "stop";
    case Setting::HighAlarm: return levelText(*s.highAlarm);
    case Setting::LowAlarm: return levelText(*s.lowAlarm);
    case Setting::HoldHigh: return onOff(s.holdHigh);
    case Setting::HoldLow: return onOff(s.holdLow);
    case Setting::RhHighAlarm: return levelText(*s.rhHighAlarm);
    case Setting::RhLowAlarm: return levelText(*s.rhLowAlarm);
    case Setting::RhHoldHigh: return onOff(s.rhHoldHigh);
    case Setting::RhHoldLow: return onOff(s.rhHoldLow);
    case Setting::Leds: return onOff(s.ledsOn);
    case Setting::Sounder: return onOff(s.sounder);
    case Setting::EventMode: return wordText(EVENT_MODE_WORDS, *s.eventMode);
    case Setting::Edge: return *s.risingEdge ? "rising" : "falling";
    case Setting::Input: return *s.voltFree ? "volt-free" : "voltage";
    case Setting::VoltageRange: return wordText(RANGE_WORDS, *s.voltageRange);
    case Setting::CountPeriod: return std::to_string(*s.countPeriod);
    }
    return {};
}

bool offersSetting(WizardStep step, Setting setting)
{
    for (const Offer& offer : OFFERS)
        if (offer.setting == setting)
            return std::find(offer.steps.begin(), offer.steps.end(), step) != offer.steps.end();
    return false;
}

bool modelOffers(int modelType, Setting setting)
{
    const ModelInfo& model = setupModel(modelType);
    // The ZR-T-PRO's alarm page has no LED box.
    if (setting == Setting::Leds && model.has(GROUP_NO_LED_CHOICE))
        return false;
    return std::any_of(model.wizard.begin(), model.wizard.end(),
                       [setting](WizardStep step) { return offersSetting(step, setting); });
}

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r';
}

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// One line of the profile: line breaks would start another.
std::string oneLine(std::string_view text)
{
    std::string line(text);
    std::replace_if(line.begin(), line.end(), [](char c) { return c == '\n' || c == '\r'; }, ' ');
    return line;
}

// A value that would not read back as written goes in double quotes.
std::string quotedIfNeeded(const std::string& original)
{
    const std::string value = oneLine(original);
    const bool needs = value.empty() || isBlank(value.front()) || isBlank(value.back()) || value.front() == '"';
    return needs ? "\"" + value + "\"" : value;
}

} // namespace

bool parseProfile(std::string_view text, Profile& profile, std::string& error)
{
    Profile read;
    bool modelSeen = false;
    std::array<bool, SETTING_COUNT> seen{};
    int number = 0;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        ++number;
        const std::string where = "line " + std::to_string(number) + ": ";
        line = trimmed(line);
        if (line.empty() || line.front() == '#')
            continue;
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) {
            error = where + "not \"key = value\"";
            return false;
        }
        const std::string key(trimmed(line.substr(0, equals)));
        std::string_view value = trimmed(line.substr(equals + 1));
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
            value = value.substr(1, value.size() - 2);
        if (key == "model") {
            std::uint64_t model = 0;
            if (modelSeen || !parseWhole(value, MODEL_LAST, model) || !isKnownModel(static_cast<int>(model))) {
                error = where + (modelSeen ? "model given twice" : "model is not a model number 1..18");
                return false;
            }
            modelSeen = true;
            read.model = static_cast<int>(model);
            continue;
        }
        const SettingInfo* info = findSetting(key);
        if (!info) {
            error = where + "unknown key \"" + key + "\"";
            return false;
        }
        bool& once = seen[static_cast<std::size_t>(info->setting)];
        if (once) {
            error = where + key + " given twice";
            return false;
        }
        once = true;
        std::string why;
        if (!setSetting(read.settings, info->setting, value, why)) {
            error = where + why;
            return false;
        }
    }
    if (!modelSeen) {
        error = "no \"model = N\" line";
        return false;
    }
    profile = read;
    return true;
}

std::string formatProfile(const Profile& profile, std::string_view comment)
{
    std::string text = "# " + oneLine(comment) + "\nmodel = " + std::to_string(profile.model) + "\n";
    for (const SettingInfo& info : SETTINGS)
        if (profile.settings.has(info.setting))
            text += std::string(info.key) + " = " + quotedIfNeeded(settingText(profile.settings, info.setting)) + "\n";
    return text;
}

} // namespace vessor
