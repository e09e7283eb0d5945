#include "logger/setup/apply_setup.h"

#include "logger/conversion.h"
#include "logger/logger_config.h"
#include "logger/setup/alarm_list_logic.h"
#include "logger/setup/co_alarm_logic.h"
#include "logger/setup/event_pages_logic.h"
#include "logger/setup/name_pages_logic.h"
#include "logger/setup/number_alarm_logic.h"
#include "logger/setup/scaling_page_logic.h"
#include "logger/setup/setup_steps.h"
#include "logger/setup/start_logic.h"
#include "logger/strings.h"
#include "logger/text_encoding.h"
#include "logger/user_interface.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace vessor {

namespace {

// Characters of a UTF-8 text (its lead bytes).
std::size_t characterCount(std::string_view utf8)
{
    return static_cast<std::size_t>(
        std::count_if(utf8.begin(), utf8.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

std::string modelText(const LoggerConfig& config)
{
    return "the " + modelName(config.modelType()) + " (model " + std::to_string(config.modelType()) + ")";
}

// Why a setting the model has did not apply to this set-up.
std::string notShownReason(Setting setting)
{
    switch (setting) {
    case Setting::ScaleUnit:
    case Setting::ScaleInput1:
    case Setting::ScaleOutput1:
    case Setting::ScaleInput2:
    case Setting::ScaleOutput2:
        return "it belongs to custom scaling (scaling custom)";
    case Setting::VoltageRange:
        return "it belongs to voltage triggering (input voltage)";
    case Setting::CountPeriod:
        return "it belongs to counting per period (event-mode count-per-period)";
    case Setting::Edge:
        return "state changes record both edges";
    default:
        return "no page of this set-up offers it";
    }
}

// The box texts the pages' typing allows: at most `characters` characters
// and `decimals` decimal places.
bool fitsBox(const AlarmLevel& level, int decimals, std::size_t characters)
{
    return level.decimals <= decimals && formatFixed(level.value, level.decimals).size() <= characters;
}

constexpr std::size_t LEVEL_BOX_CHARACTERS = 7;

class Walk {
public:
    Walk(LoggerConfig& config, const SetupSettings& settings, bool agree, UserInterface& ui)
        : c_(config), s_(settings), agree_(agree), ui_(ui)
    {
    }

    SetupOutcome run()
    {
        const ModelInfo& model = setupModel(c_.modelType());
        for (const SettingInfo& info : settingInfos())
            if (s_.has(info.setting) && !modelOffers(c_.modelType(), info.setting)) {
                invalid(std::string(info.key) + ": " + modelText(c_) + " has no such setting");
                return outcome_;
            }
        for (const WizardStep step : model.wizard) {
            if (step == WizardStep::None)
                break;
            if (!isStepShown(step, c_))
                continue;
            if (!store(step))
                return outcome_;
        }
        for (const SettingInfo& info : settingInfos())
            if (s_.has(info.setting) && !used_[static_cast<std::size_t>(info.setting)]) {
                invalid(std::string(info.key) + " does not apply: " + notShownReason(info.setting));
                break;
            }
        return outcome_;
    }

private:
    bool store(WizardStep step)
    {
        switch (step) {
        case WizardStep::Name: return namePage();
        case WizardStep::VoltageName: return voltageNamePage();
        case WizardStep::LiteName: return liteNamePage();
        case WizardStep::CoName: return acceptName(0) && storeRate(step);
        case WizardStep::ThermocoupleName: return thermocoupleNamePage();
        case WizardStep::EventName: return eventNamePage();
        case WizardStep::CustomScaling: return scalingPage();
        case WizardStep::TemperatureAlarms: return listPage(AlarmListPage::Temperature);
        case WizardStep::LiteAlarms: return listPage(AlarmListPage::LiteTemperature);
        case WizardStep::HumidityAlarms: return listPage(AlarmListPage::Humidity);
        case WizardStep::NumberAlarms: return numberPage();
        case WizardStep::CoAlarms: return coPage();
        case WizardStep::Display:
            use(Setting::Display);
            use(Setting::Storage);
            storeDisplayPage(c_, s_.display.value_or(displayChoice(c_)), storage());
            return true;
        case WizardStep::StorageMode:
            use(Setting::Storage);
            storeStoragePage(c_, storage());
            return true;
        case WizardStep::EventTrigger: return triggerPage();
        case WizardStep::EventVoltageRange:
            use(Setting::VoltageRange);
            storeVoltageRange(c_, s_.voltageRange.value_or(voltageRangeChoice(c_)));
            return true;
        case WizardStep::EventCountPeriod: return countPeriodPage();
        case WizardStep::CoAgreement:
        case WizardStep::ProAgreement:
            if (agree_)
                return true;
            outcome_.result = SetupOutcome::Result::NeedsAgreement;
            outcome_.problem = agreementText(step);
            return false;
        case WizardStep::Start:
        case WizardStep::PushButtonStart:
        case WizardStep::None:
            return true;
        }
        return true;
    }

    // --- Naming pages ---

    bool acceptName(int readBackLimit)
    {
        use(Setting::Name);
        const std::string typed = s_.name ? *s_.name : cp1252ToUtf8(c_.loggerName());
        const NameCheck check = readBackName(typed, readBackLimit, ui_);
        if (check.messageId != 0) {
            ui_.showMessage(check.message);
            return refused();
        }
        c_.setLoggerName(check.name);
        return true;
    }

    // The rate list's entry for the interval given, or the one the page
    // shows; stored as Next stores it.
    bool storeRate(WizardStep step)
    {
        use(Setting::Interval);
        const RateList list = rateListFor(step, c_.modelType());
        int index = rateIndexFor(list, c_.sampleInterval());
        if (s_.interval) {
            const auto at = std::find_if(list.entries.begin(), list.entries.end(),
                                         [this](const RateEntry& e) { return e.seconds == *s_.interval; });
            if (at == list.entries.end()) {
                std::string rates;
                for (const RateEntry& e : list.entries)
                    rates += (rates.empty() ? "" : ", ") + std::to_string(e.seconds);
                return invalid("interval: " + std::to_string(*s_.interval) + " s is not a sample rate of " +
                               modelText(c_) + "; it takes " + rates + " seconds");
            }
            index = static_cast<int>(at - list.entries.begin());
        }
        c_.setSampleInterval(rateToStore(list, index));
        return true;
    }

    bool namePage()
    {
        const bool shownFahrenheit = isFahrenheitByte(c_);
        if (!acceptName(NAME_READ_BACK_LIMIT))
            return false;
        use(Setting::Unit);
        applyNamePageUnit(c_, s_.fahrenheit.value_or(shownFahrenheit), shownFahrenheit);
        return storeRate(WizardStep::Name);
    }

    bool voltageNamePage()
    {
        if (!acceptName(0) || !storeRate(WizardStep::VoltageName))
            return false;
        use(Setting::Scaling);
        applyScalingChoice(c_, s_.customScaling.value_or(isCustomScaling(c_)));
        return true;
    }

    bool liteNamePage()
    {
        const bool shownFahrenheit = isFahrenheitByte(c_);
        use(Setting::Interval);
        if (s_.interval && *s_.interval != LITE_SAMPLE_INTERVAL)
            return invalid("interval: " + modelText(c_) + " logs every " + std::to_string(LITE_SAMPLE_INTERVAL) +
                           " seconds");
        if (!acceptName(0))
            return false;
        use(Setting::Unit);
        storeLiteNamePage(c_, s_.fahrenheit.value_or(shownFahrenheit));
        return true;
    }

    bool thermocoupleNamePage()
    {
        const bool shownFahrenheit = isFahrenheitBit(c_);
        const int shownType = thermocoupleTypeIndex(c_.optionFlags());
        if (!acceptName(NAME_READ_BACK_LIMIT))
            return false;
        use(Setting::Unit);
        applyThermocoupleUnit(c_, s_.fahrenheit.value_or(shownFahrenheit), shownFahrenheit);
        if (!storeRate(WizardStep::ThermocoupleName))
            return false;
        use(Setting::Thermocouple);
        c_.setOptionFlags(withThermocoupleType(c_.optionFlags(), s_.thermocouple.value_or(shownType)));
        return true;
    }

    bool eventNamePage()
    {
        const int shownMode = c_.eventSampleMode();
        if (!acceptName(0))
            return false;
        int choice = eventModeChoice(shownMode);
        if (s_.eventMode) {
            use(Setting::EventMode);
            choice = eventModeChoice(*s_.eventMode);
        }
        storeEventModeChoice(c_, choice, shownMode);
        return true;
    }

    // --- Custom scaling ---

    bool scalingPage()
    {
        ScalingEntry entry;
        entry.unit = unitListFor(cp1252ToUtf8(c_.scaleUnit())).text;
        if (s_.scaleUnit) {
            use(Setting::ScaleUnit);
            if (!isUnitText(*s_.scaleUnit))
                return invalid("scale-unit: \"" + *s_.scaleUnit +
                               "\" holds a character the logger cannot store (or a comma)");
            if (characterCount(*s_.scaleUnit) > static_cast<std::size_t>(SCALE_UNIT_BOX_LIMIT))
                return invalid("scale-unit: at most " + std::to_string(SCALE_UNIT_BOX_LIMIT) + " characters");
            entry.unit = *s_.scaleUnit;
        }
        struct Point {
            Setting setting;
            const std::optional<std::string>& given;
            std::string stored;
            std::string& box;
        };
        const std::array<Point, 4> points = {{
            {Setting::ScaleOutput1, s_.scaleOutput1, c_.scaleOutput1Text(), entry.output1},
            {Setting::ScaleInput1, s_.scaleInput1, c_.scaleInput1Text(), entry.input1},
            {Setting::ScaleOutput2, s_.scaleOutput2, c_.scaleOutput2Text(), entry.output2},
            {Setting::ScaleInput2, s_.scaleInput2, c_.scaleInput2Text(), entry.input2},
        }};
        for (const Point& p : points) {
            p.box = checkedPointText(p.stored);
            if (!p.given)
                continue;
            use(p.setting);
            if (p.given->size() > static_cast<std::size_t>(SCALE_POINT_BOX_LIMIT))
                return invalid(std::string(settingInfo(p.setting).key) + ": at most " +
                               std::to_string(SCALE_POINT_BOX_LIMIT) + " characters");
            p.box = *p.given;
        }
        const ScalingVerdict verdict = storeCustomScaling(c_, entry);
        if (verdict.messageId == 0)
            return true;
        showMessage(&ui_, verdict.messageId);
        return refused();
    }

    // --- Alarm pages ---

    bool listPage(AlarmListPage page)
    {
        const bool humidity = page == AlarmListPage::Humidity;
        const LevelList list = levelList(page, c_);
        AlarmListState state = readAlarmList(page, c_);
        struct Alarm {
            Setting level;
            Setting hold;
            bool& enabled;
            int& index;
            bool& holding;
            bool high;
        };
        const std::array<Alarm, 2> alarms = {{
            {humidity ? Setting::RhHighAlarm : Setting::HighAlarm, humidity ? Setting::RhHoldHigh : Setting::HoldHigh,
             state.highEnabled, state.highIndex, state.highHold, true},
            {humidity ? Setting::RhLowAlarm : Setting::LowAlarm, humidity ? Setting::RhHoldLow : Setting::HoldLow,
             state.lowEnabled, state.lowIndex, state.lowHold, false},
        }};
        for (const Alarm& a : alarms) {
            use(a.level);
            use(a.hold);
            const std::optional<AlarmLevel>& given = level(a.level);
            if (given) {
                a.enabled = given->enabled;
                if (given->enabled) {
                    const int index = list.indexOf(given->value);
                    if (std::fabs(list.valueAt(index) - given->value) > 1e-9)
                        return invalid(std::string(settingInfo(a.level).key) + ": " + levelText(*given) +
                                       " is not a level of the list: " + formatFixed(list.top, list.decimals) +
                                       " down to " + formatFixed(list.bottom(), list.decimals) + " " + list.unit +
                                       " in steps of " + formatFixed(list.step, list.step < 1 ? 1 : 0));
                    a.index = index;
                }
                // The enable box stores its bit as it is clicked.
                setAlarmEnabled(page, c_, a.high, a.enabled);
            }
            a.holding = hold(a.hold).value_or(a.holding);
        }
        // Stored before the check, as the page does.
        storeAlarmList(page, c_, state);
        if (!checkAlarmOrder(page, c_, ui_))
            return refused();
        return true;
    }

    bool numberPage()
    {
        const NumberAlarmState state = readNumberAlarms(c_);
        const int decimals = numberAlarmDecimals(c_);
        NumberAlarmEntry entry;
        struct Box {
            Setting level;
            Setting hold;
            double shown;
            bool shownEnabled;
            bool shownHold;
            bool& enabled;
            bool& holding;
            double& value;
            std::string& text;
        };
        const std::array<Box, 2> boxes = {{
            {Setting::HighAlarm, Setting::HoldHigh, state.high, state.highEnabled, state.highHold, entry.highEnabled,
             entry.highHold, entry.high, entry.highText},
            {Setting::LowAlarm, Setting::HoldLow, state.low, state.lowEnabled, state.lowHold, entry.lowEnabled,
             entry.lowHold, entry.low, entry.lowText},
        }};
        for (const Box& b : boxes) {
            use(b.level);
            use(b.hold);
            const std::optional<AlarmLevel>& given = level(b.level);
            std::string typed = formatFixed(b.shown, decimals);
            b.enabled = given ? given->enabled : b.shownEnabled;
            if (given && given->enabled) {
                if (!fitsBox(*given, decimals, LEVEL_BOX_CHARACTERS))
                    return invalid(std::string(settingInfo(b.level).key) + ": " + modelText(c_) +
                                   " takes levels of at most " + std::to_string(LEVEL_BOX_CHARACTERS) +
                                   " characters and " + std::to_string(decimals) +
                                   (decimals == 1 ? " decimal place" : " decimal places"));
                typed = levelText(*given);
            }
            // What the box holds when Next reads it.
            b.value = parseLeadingNumber(typed);
            b.text = formatFixed(b.value, decimals);
            b.holding = hold(b.hold).value_or(b.shownHold);
        }
        // The enable boxes and "Disable LEDs" store their bits as they are clicked.
        c_.setHighAlarmEnabled(entry.highEnabled);
        c_.setLowAlarmEnabled(entry.lowEnabled);
        use(Setting::Leds);
        if (s_.ledsOn)
            c_.setLedsDisabled(!*s_.ledsOn);
        if (!storeNumberAlarms(c_, entry, ui_).stored)
            return refused();
        return true;
    }

    bool coPage()
    {
        const CoAlarmState state = readCoAlarms(c_);
        CoAlarmState entry = state;
        std::string typed = formatFixed(state.level, 0);
        use(Setting::LowAlarm);
        use(Setting::HoldLow);
        use(Setting::Sounder);
        if (s_.lowAlarm) {
            entry.ledEnabled = s_.lowAlarm->enabled;
            if (s_.lowAlarm->enabled) {
                if (s_.lowAlarm->decimals > 0)
                    return invalid("low-alarm: the warning level of " + modelText(c_) + " is a whole number of ppm");
                typed = levelText(*s_.lowAlarm);
            }
        }
        // The LED box stores its bit as it is clicked.
        c_.setLowAlarmEnabled(entry.ledEnabled);
        entry.hold = s_.holdLow.value_or(state.hold);
        entry.sounder = s_.sounder.value_or(state.sounder);
        entry.level = parseLeadingNumber(typed);
        if (!storeCoAlarms(c_, entry, ui_).stored)
            return refused();
        return true;
    }

    // --- Event pages ---

    bool triggerPage()
    {
        const TriggerPageState state = triggerPageState(c_);
        bool rising = state.risingEdge;
        if (state.edgeChoiceEnabled) {
            use(Setting::Edge);
            rising = s_.risingEdge.value_or(rising);
        }
        use(Setting::Input);
        use(Setting::Leds);
        const bool ledOff = s_.ledsOn ? !*s_.ledsOn : state.ledOff;
        storeTriggerPage(c_, rising, s_.voltFree.value_or(state.voltFree), ledOff);
        return true;
    }

    bool countPeriodPage()
    {
        bool ticked = isCountPerPeriod(c_);
        PeriodFields fields = ticked ? periodFields(c_.countPeriod()) : PeriodFields{};
        if (s_.eventMode) {
            const bool perPeriod = *s_.eventMode == EVENT_MODE_COUNT_PER;
            if (perPeriod != ticked) {
                ticked = perPeriod;
                fields = ticked ? periodFields(periodOnTicking(c_)) : PeriodFields{};
            }
        }
        if (s_.countPeriod && ticked) {
            use(Setting::CountPeriod);
            fields = periodFields(*s_.countPeriod);
        }
        const PeriodVerdict verdict = storeCountPeriod(c_, ticked, fields);
        if (verdict.message.empty())
            return true;
        ui_.showMessage(verdict.message);
        return refused();
    }

    // --- Helpers ---

    int storage() const
    {
        return s_.wrap ? (*s_.wrap ? 1 : 0) : storageChoice(c_);
    }

    const std::optional<AlarmLevel>& level(Setting setting) const
    {
        switch (setting) {
        case Setting::HighAlarm: return s_.highAlarm;
        case Setting::LowAlarm: return s_.lowAlarm;
        case Setting::RhHighAlarm: return s_.rhHighAlarm;
        default: return s_.rhLowAlarm;
        }
    }

    const std::optional<bool>& hold(Setting setting) const
    {
        switch (setting) {
        case Setting::HoldHigh: return s_.holdHigh;
        case Setting::HoldLow: return s_.holdLow;
        case Setting::RhHoldHigh: return s_.rhHoldHigh;
        default: return s_.rhHoldLow;
        }
    }

    static std::string levelText(const AlarmLevel& level)
    {
        return formatFixed(level.value, level.decimals);
    }

    void use(Setting setting) { used_[static_cast<std::size_t>(setting)] = true; }

    bool invalid(const std::string& why)
    {
        outcome_.result = SetupOutcome::Result::Invalid;
        outcome_.problem = why;
        return false;
    }

    bool refused()
    {
        outcome_.result = SetupOutcome::Result::Refused;
        return false;
    }

    LoggerConfig& c_;
    const SetupSettings& s_;
    bool agree_;
    UserInterface& ui_;
    std::array<bool, SETTING_COUNT> used_{};
    SetupOutcome outcome_;
};

} // namespace

SetupOutcome applySetup(LoggerConfig& config, const SetupSettings& settings, bool agree, UserInterface& ui)
{
    return Walk(config, settings, agree, ui).run();
}

SetupSettings currentSettings(const LoggerConfig& original)
{
    // Reading the number page may clear a bit (the ZR-T-PRO's LEDs): read a copy.
    LoggerConfig config = original;
    SetupSettings s;
    const auto alarm = [](bool enabled, double value, int decimals) {
        AlarmLevel level;
        level.enabled = enabled;
        level.value = value;
        level.decimals = decimals;
        return level;
    };
    const auto rateOf = [&config](WizardStep step) {
        const RateList list = rateListFor(step, config.modelType());
        return rateToStore(list, rateIndexFor(list, config.sampleInterval()));
    };
    for (const WizardStep step : setupModel(config.modelType()).wizard) {
        if (step == WizardStep::None)
            break;
        if (!isStepShown(step, config))
            continue;
        switch (step) {
        case WizardStep::Name:
        case WizardStep::VoltageName:
        case WizardStep::CoName:
            s.name = cp1252ToUtf8(config.loggerName());
            s.interval = rateOf(step);
            if (step == WizardStep::Name)
                s.fahrenheit = isFahrenheitByte(config);
            if (step == WizardStep::VoltageName)
                s.customScaling = isCustomScaling(config);
            break;
        case WizardStep::LiteName:
            s.name = cp1252ToUtf8(config.loggerName());
            s.interval = LITE_SAMPLE_INTERVAL;
            s.fahrenheit = isFahrenheitByte(config);
            break;
        case WizardStep::ThermocoupleName:
            s.name = cp1252ToUtf8(config.loggerName());
            s.interval = rateOf(step);
            s.fahrenheit = isFahrenheitBit(config);
            s.thermocouple = thermocoupleTypeIndex(config.optionFlags());
            break;
        case WizardStep::EventName:
            s.name = cp1252ToUtf8(config.loggerName());
            s.eventMode = std::clamp(config.eventSampleMode(), 0, 3);
            break;
        case WizardStep::CustomScaling:
            s.scaleUnit = unitListFor(cp1252ToUtf8(config.scaleUnit())).text;
            s.scaleInput1 = checkedPointText(config.scaleInput1Text());
            s.scaleOutput1 = checkedPointText(config.scaleOutput1Text());
            s.scaleInput2 = checkedPointText(config.scaleInput2Text());
            s.scaleOutput2 = checkedPointText(config.scaleOutput2Text());
            break;
        case WizardStep::TemperatureAlarms:
        case WizardStep::LiteAlarms:
        case WizardStep::HumidityAlarms: {
            const AlarmListPage page = step == WizardStep::HumidityAlarms ? AlarmListPage::Humidity
                                       : step == WizardStep::LiteAlarms   ? AlarmListPage::LiteTemperature
                                                                          : AlarmListPage::Temperature;
            const LevelList list = levelList(page, config);
            const AlarmListState state = readAlarmList(page, config);
            const AlarmLevel high = alarm(state.highEnabled, list.valueAt(state.highIndex), list.decimals);
            const AlarmLevel low = alarm(state.lowEnabled, list.valueAt(state.lowIndex), list.decimals);
            if (page == AlarmListPage::Humidity) {
                s.rhHighAlarm = high;
                s.rhLowAlarm = low;
                s.rhHoldHigh = state.highHold;
                s.rhHoldLow = state.lowHold;
            } else {
                s.highAlarm = high;
                s.lowAlarm = low;
                s.holdHigh = state.highHold;
                s.holdLow = state.lowHold;
            }
            break;
        }
        case WizardStep::NumberAlarms: {
            const NumberAlarmState state = readNumberAlarms(config);
            const int decimals = numberAlarmDecimals(config);
            s.highAlarm = alarm(state.highEnabled, parseLeadingNumber(formatFixed(state.high, decimals)), decimals);
            s.lowAlarm = alarm(state.lowEnabled, parseLeadingNumber(formatFixed(state.low, decimals)), decimals);
            s.holdHigh = state.highHold;
            s.holdLow = state.lowHold;
            if (offersDisableLeds(config))
                s.ledsOn = !state.ledsDisabled;
            break;
        }
        case WizardStep::CoAlarms: {
            const CoAlarmState state = readCoAlarms(config);
            s.lowAlarm = alarm(state.ledEnabled, parseLeadingNumber(formatFixed(state.level, 0)), 0);
            s.holdLow = state.hold;
            s.sounder = state.sounder;
            break;
        }
        case WizardStep::Display:
            s.display = displayChoice(config);
            s.wrap = storageChoice(config) == 1;
            break;
        case WizardStep::StorageMode:
            s.wrap = storageChoice(config) == 1;
            break;
        case WizardStep::EventTrigger: {
            const TriggerPageState state = triggerPageState(config);
            if (state.edgeChoiceEnabled)
                s.risingEdge = state.risingEdge;
            s.voltFree = state.voltFree;
            s.ledsOn = !state.ledOff;
            break;
        }
        case WizardStep::EventVoltageRange:
            s.voltageRange = voltageRangeChoice(config);
            break;
        case WizardStep::EventCountPeriod:
            if (isCountPerPeriod(config))
                s.countPeriod = config.countPeriod();
            break;
        default:
            break;
        }
    }
    return s;
}

} // namespace vessor
