// Set up and Start from the main menu to the confirmation page in the whole
// window, on a simulated logger of each model: typed names and levels, clicked
// choices, Next and Finish. Afterwards the logger's block must hold exactly
// what the pages chose and nothing else.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimeEdit>
#include <QTimer>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <functional>
#include <map>
#include <set>

#include "cli/command.h"
#include "cli/cli_support.h"
#include "config_utility/shell/utility_window.h"
#include "config_utility/support/setup_command.h"
#include "config_utility/support/sim_fixture.h"
#include "config_utility/support/user_input.h"
#include "config_utility/wizard/agreement_pages.h"
#include "config_utility/wizard/name_pages.h"
#include "config_utility/wizard/number_edit.h"
#include "config_utility/wizard/page_sequence.h"
#include "config_utility/wizard/setup_alarms_form.h"
#include "config_utility/wizard/setup_co_alarms_form.h"
#include "config_utility/wizard/setup_mode_forms.h"
#include "config_utility/wizard/setup_start_form.h"
#include "config_utility/wizard/setup_voltage_alarms_form.h"
#include "config_utility/wizard/start_pickers.h"
#include "logger/conversion.h"
#include "logger/setup/start_logic.h"
#include "logger/sim/simulated_logger.h"
#include "logger/strings.h"

namespace vessor {
namespace {

using test::click;
using test::typeInto;

// What a step does on its page before Next is clicked; false when it has
// pressed Next itself.
using Action = std::function<bool(WizardPage&)>;
using Edit = std::function<void(LoggerConfig&)>;

template <typename P>
P& as(WizardPage& page)
{
    auto* p = dynamic_cast<P*>(&page);
    if (!p)
        throw std::runtime_error("unexpected page " + std::to_string(page.pageNumber()));
    return *p;
}

Action name(const char* text)
{
    return [text](WizardPage& page) {
        typeInto(as<NamingPage>(page).nameEdit(), QString::fromLatin1(text));
        return true;
    };
}

Action agree()
{
    return [](WizardPage& page) {
        click(as<AgreementPage>(page).agreeButton());
        return true;
    };
}

Action lists(int high, int low)
{
    return [=](WizardPage& page) {
        auto& p = as<AlarmListForm>(page);
        p.highList()->setCurrentIndex(high);
        p.lowList()->setCurrentIndex(low);
        return true;
    };
}

Action levels(const char* high, const char* low)
{
    return [=](WizardPage& page) {
        auto& p = as<SetupVoltageAlarmsForm>(page);
        typeInto(p.highBox(), QString::fromLatin1(high));
        typeInto(p.lowBox(), QString::fromLatin1(low));
        return true;
    };
}

// Several actions on one page, in order.
Action all(std::vector<Action> actions)
{
    return [actions](WizardPage& page) {
        bool next = true;
        for (const Action& a : actions)
            next = a(page) && next;
        return next;
    };
}

Action clickOn(std::function<QAbstractButton*(WizardPage&)> button)
{
    return [button](WizardPage& page) {
        click(button(page));
        return true;
    };
}

// The start pages: one hour later than shown (the pickers stop following).
Action anHourLater()
{
    return [](WizardPage& page) {
        StartPickers* pickers = nullptr;
        if (auto* start = dynamic_cast<SetupStartForm*>(&page))
            pickers = start->pickers();
        else
            pickers = as<SetupPushToStartForm>(page).pickers();
        QTest::keyClick(pickers->timeEdit(), Qt::Key_Up);
        return true;
    };
}

struct WalkCase {
    const char* name;
    int model;
    std::map<int, Action> actions;
    std::vector<int> pages;          // visited, entry page first, start page last
    Edit expect;                     // what the pages store, besides name and start
    std::vector<Answer> answers = {};
    std::vector<int> messages = {};  // shown on the way, in order
    int delay = 0;
    bool pushButton = false;
};

const char* const NAME = "Walk \xB0" "1";   // a degree sign in the name, as cp1252 stores it

struct Walk {
    explicit Walk(int model) : f(model), window(f.session, f.samples, f.ui, f.desktop, f.clock, f.locale)
    {
        window.show();
    }
    test::SimFixture f;
    UtilityWindow window;
};

// Clicks through the wizard from the main menu: each page's action on its
// first visit, then Next. Returns the pages visited.
std::vector<int> walk(UtilityWindow& window, const std::map<int, Action>& actions)
{
    std::vector<int> visited;
    std::set<int> acted;
    window.setUp();
    for (int step = 0; step < 30 && window.currentPage() != PAGE_SETUP_SUMMARY; ++step) {
        const int current = window.currentPage();
        auto* page = dynamic_cast<WizardPage*>(window.page(current));
        if (current == PAGE_MAIN_MENU || !page)
            break;
        if (visited.empty() || visited.back() != current)
            visited.push_back(current);
        bool next = true;
        const auto action = actions.find(current);
        if (action != actions.end() && acted.insert(current).second)
            next = action->second(*page);
        if (next)
            click(page->nextButton());
    }
    return visited;
}

std::string differences(const ConfigBlock& actual, const ConfigBlock& expected)
{
    std::string text;
    for (std::size_t i = 0; i < actual.size(); ++i) {
        if (actual[i] != expected[i]) {
            char line[64];
            std::snprintf(line, sizeof line, "  0x%02zX: 0x%02X, expected 0x%02X\n", i, actual[i], expected[i]);
            text += line;
        }
    }
    return text;
}

// What each case chooses on the pages, as `vessor-logger setup` options
// (the name and a delayed start are added from the case).
const std::map<std::string, std::vector<std::string>> SETUP_OPTIONS = {
    {"ZrT64", {"--high-alarm", "37.5", "--low-alarm", "0"}},
    {"ZrTDelayed", {}},
    {"ZrTH",
     {"--high-alarm", "37.5", "--low-alarm", "0.0", "--hold-high", "on", "--rh-high-alarm", "85", "--rh-low-alarm",
      "15", "--rh-hold-low", "on"}},
    {"ZrV", {"--high-alarm", "8.5", "--low-alarm", "1.25", "--leds", "off"}},
    {"ZrATextAlarms", {"--high-alarm", "12.5", "--low-alarm", "4"}},
    {"ZrTMini", {"--high-alarm", "30", "--low-alarm", "-5"}},
    {"ZrCO", {"--agree", "--low-alarm", "45", "--hold-low", "on"}},
    {"ZrCO300AboveSafe", {"--agree", "--low-alarm", "200"}},
    {"ZrTC", {"--high-alarm", "500", "--low-alarm", "-50"}},
    {"ZrTHDOnButton", {"--display", "on", "--storage", "wrap", "--start", "push"}},
    {"ZrTHXDelayed", {"--storage", "wrap", "--low-alarm", "off"}},
    {"ZrTProAdjusted", {"--agree", "--high-alarm", "125"}},
    {"ZrTCDImmediate", {"--display", "press"}},
    {"ZrTHDXDelayed", {}},
    {"ZrTRCFahrenheit", {"--unit", "F", "--high-alarm", "140", "--low-alarm", "-4"}},
};

class EndToEnd : public ::testing::TestWithParam<WalkCase> {};

TEST_P(EndToEnd, TheLoggerHoldsWhatThePagesChose)
{
    const WalkCase& c = GetParam();
    Walk w(c.model);
    for (Answer a : c.answers)
        w.f.ui.script({a});
    LoggerConfig expected = w.f.loggerBlock();

    std::map<int, Action> actions = c.actions;
    const int entry = entryPage(c.model);
    const int namePage = entry == PAGE_CO_DISCLAIMER ? PAGE_CO_NAME
                         : entry == PAGE_PRO_DISCLAIMER ? PAGE_SETUP_NAME
                                                       : entry;
    const Action naming = name(NAME);
    actions[namePage] = actions.count(namePage) ? all({naming, actions[namePage]}) : naming;
    if (entry == PAGE_CO_DISCLAIMER || entry == PAGE_PRO_DISCLAIMER)
        actions[entry] = agree();

    const std::vector<int> visited = walk(w.window, actions);
    EXPECT_EQ(visited, c.pages);
    ASSERT_EQ(w.window.currentPage(), PAGE_SETUP_SUMMARY) << ::testing::PrintToString(w.f.ui.texts());
    std::vector<std::string> texts;
    for (int id : c.messages)
        texts.push_back(messageText(id));
    EXPECT_EQ(w.f.ui.texts(), texts);
    EXPECT_EQ(w.f.ui.unusedAnswers(), 0u);

    auto* summary = dynamic_cast<SetupSummaryForm*>(w.window.page(PAGE_SETUP_SUMMARY));
    ASSERT_NE(summary, nullptr);
    EXPECT_EQ(summary->nameLabel()->text(), QString::fromUtf8("Walk \u00B0" "1"));
    click(summary->nextButton());
    EXPECT_EQ(w.window.currentPage(), PAGE_MAIN_MENU);

    expected.refreshDerived();
    expected.setLoggerName(NAME);
    // The rate lists of the naming pages are theirs to test; the interval
    // chosen there must only arrive unchanged.
    expected.setSampleInterval(w.f.config.sampleInterval());
    if (c.expect)
        c.expect(expected);
    CalendarTime start = w.f.clock.now();
    addSeconds(start, static_cast<std::uint64_t>(c.delay));
    expected.setStartTime(start.fullYear(), start.month + 1, start.day, start.hour, start.minute, start.second);
    expected.setStartDelay(static_cast<std::uint32_t>(c.delay));
    expected.setPushButtonMode(c.pushButton);
    expected.setStatusFlags(expected.statusFlags() | STATUS_LOGGING);
    expected.setCommandByte(0);
    const ConfigBlock actual = w.f.loggerBlock().block();
    EXPECT_TRUE(actual == expected.block()) << differences(actual, expected.block());

    // The same choices given to `vessor-logger setup` on a factory logger of
    // the model leave the same image, byte for byte (the same clock, so the
    // same start too).
    const auto options = SETUP_OPTIONS.find(c.name);
    ASSERT_NE(options, SETUP_OPTIONS.end()) << "no setup options for " << c.name;
    std::vector<std::string> args = {"--name", "Walk \u00B0" "1"};
    args.insert(args.end(), options->second.begin(), options->second.end());
    if (c.delay)
        args.insert(args.end(), {"--start", test::startOption(w.f.clock, c.delay)});
    const test::SetupCommandRun run = test::runSetupCommand(c.model, w.f.clock, args);
    ASSERT_EQ(run.status, cli::EXIT_OK) << run.err;
    ASSERT_TRUE(run.image);
    EXPECT_TRUE(run.image->block == actual) << differences(run.image->block, actual);
    EXPECT_EQ(run.image->memory, w.f.logger->image().memory);
}

// Levels as the model stores them.
unsigned raw(LoggerConfig& c, float value)
{
    return static_cast<unsigned>(valueToRaw(c, value));
}

INSTANTIATE_TEST_SUITE_P(
    Models, EndToEnd,
    ::testing::Values(
        WalkCase{"ZrT64", 1, {{PAGE_SETUP_ALARMS, lists(100, 175)}}, {1, 2, 3},
                 [](LoggerConfig& c) {
                     c.setHighAlarmRaw(155);   // 37.5 °C
                     c.setLowAlarmRaw(80);     // 0.0 °C
                 }},
        WalkCase{"ZrTDelayed", 2, {{PAGE_SETUP_START, anHourLater()}}, {1, 2, 3}, nullptr, {}, {}, 3600},
        WalkCase{"ZrTH", 3,
                 {{PAGE_SETUP_ALARMS, all({lists(100, 175), clickOn([](WizardPage& p) {
                                               return as<AlarmListForm>(p).highHoldBox();
                                           })})},
                  {PAGE_RH_ALARMS, all({lists(30, 170), clickOn([](WizardPage& p) {
                                           return as<AlarmListForm>(p).lowHoldBox();
                                       })})}},
                 {1, 2, 7, 3},
                 [](LoggerConfig& c) {
                     c.setHighAlarmRaw(155);
                     c.setLowAlarmRaw(80);
                     c.setRhHighAlarm(170);   // 85 %rh
                     c.setRhLowAlarm(30);     // 15 %rh
                     c.setHighAlarmHold(true);
                     c.setRhLowAlarmHold(true);
                 }},
        WalkCase{"ZrV", 4,
                 {{PAGE_VOLTAGE_ALARMS, all({levels("8.5", "1.25"), clickOn([](WizardPage& p) {
                                                return as<SetupVoltageAlarmsForm>(p).disableLedsBox();
                                            })})}},
                 {8, 10, 3},
                 [](LoggerConfig& c) {
                     c.setHighAlarmRaw(raw(c, 8.5f));
                     c.setLowAlarmRaw(raw(c, 1.25f));
                     c.setLedsDisabled(true);
                 }},
        WalkCase{"ZrATextAlarms", 7, {{PAGE_VOLTAGE_ALARMS, levels("12.5", "4")}}, {8, 10, 3},
                 [](LoggerConfig& c) {
                     c.setHighAlarmRaw(raw(c, 12.5f));
                     c.setLowAlarmRaw(raw(c, 4.0f));
                     const int d = alarmDecimals(c);
                     c.setHighAlarmText(formatFixed(12.5, d));
                     c.setLowAlarmText(formatFixed(4.0, d));
                 }},
        WalkCase{"ZrTMini", 8, {{PAGE_LITE_ALARMS, lists(20, 55)}}, {11, 12, 3},
                 [](LoggerConfig& c) {
                     c.setHighAlarmRaw(raw(c, 30.0f));
                     c.setLowAlarmRaw(raw(c, -5.0f));
                 }},
        WalkCase{"ZrCO", 9,
                 {{PAGE_CO_ALARMS, [](WizardPage& p) {
                       auto& co = as<SetupCOAlarmsForm>(p);
                       typeInto(co.levelBox(), QStringLiteral("45"));
                       click(co.holdBox());
                       return true;
                   }}},
                 {14, 13, 15, 3},
                 [](LoggerConfig& c) {
                     c.setHighAlarmEnabled(false);
                     c.setHighAlarmRaw(raw(c, 1001.0f));
                     c.setLowAlarmRaw(raw(c, 45.0f));
                     c.setLowAlarmHold(true);
                 }},
        WalkCase{"ZrCO300AboveSafe", 11,
                 {{PAGE_CO_ALARMS, [](WizardPage& p) {
                       typeInto(as<SetupCOAlarmsForm>(p).levelBox(), QStringLiteral("200"));
                       return true;
                   }}},
                 {14, 13, 15, 3},
                 [](LoggerConfig& c) {
                     c.setHighAlarmEnabled(false);
                     c.setHighAlarmRaw(raw(c, 301.0f));
                     c.setLowAlarmRaw(raw(c, 200.0f));
                 },
                 {Answer::Yes}, {MSG_WARNING_ABOVE_SAFE}},
        WalkCase{"ZrTC", 10, {{PAGE_VOLTAGE_ALARMS, levels("500", "-50")}}, {16, 10, 3},
                 [](LoggerConfig& c) {
                     c.setHighAlarmRaw(raw(c, 500.0f));
                     c.setLowAlarmRaw(raw(c, -50.0f));
                 }},
        WalkCase{"ZrTHDOnButton", 12,
                 {{PAGE_LCD, all({clickOn([](WizardPage& p) { return as<SetupLCDForm>(p).displayButton(2); }),
                                  clickOn([](WizardPage& p) { return as<SetupLCDForm>(p).storageButton(1); })})},
                  {PAGE_PUSH_TO_START, clickOn([](WizardPage& p) {
                       return as<SetupPushToStartForm>(p).choiceButton(START_ON_BUTTON);
                   })}},
                 {1, 17, 2, 7, 18},
                 [](LoggerConfig& c) {
                     c.setDisplayMode(2);
                     c.setWrapMode(true);
                 },
                 {}, {}, 0, true},
        WalkCase{"ZrTHXDelayed", 13,
                 {{PAGE_STORAGE_MODE,
                   clickOn([](WizardPage& p) { return as<SetupStorageModeForm>(p).storageButton(1); })},
                  {PAGE_SETUP_ALARMS, clickOn([](WizardPage& p) { return as<AlarmListForm>(p).lowEnableBox(); })},
                  {PAGE_SETUP_START, anHourLater()}},
                 {1, 19, 2, 7, 3},
                 [](LoggerConfig& c) {
                     c.setWrapMode(true);
                     c.setLowAlarmEnabled(false);
                 },
                 {}, {}, 3600},
        WalkCase{"ZrTProAdjusted", 14,
                 {{PAGE_VOLTAGE_ALARMS, [](WizardPage& p) {
                       auto& page = as<SetupVoltageAlarmsForm>(p);
                       typeInto(page.highBox(), QStringLiteral("130"));
                       click(page.nextButton());   // refused: the box becomes 125.0
                       return true;
                   }}},
                 {20, 1, 19, 10, 3},
                 [](LoggerConfig& c) { c.setHighAlarmRaw(raw(c, 125.0f)); },
                 {}, {MSG_HIGH_ALARM_ADJUSTED}},
        WalkCase{"ZrTCDImmediate", 15,
                 {{PAGE_LCD, clickOn([](WizardPage& p) { return as<SetupLCDForm>(p).displayButton(1); })}},
                 {16, 17, 10, 18},
                 [](LoggerConfig& c) { c.setDisplayMode(1); }},
        WalkCase{"ZrTHDXDelayed", 16, {{PAGE_PUSH_TO_START, anHourLater()}}, {1, 17, 2, 7, 18}, nullptr, {}, {},
                 3600},
        WalkCase{"ZrTRCFahrenheit", 18,
                 {{PAGE_SETUP_NAME,
                   clickOn([](WizardPage& p) { return as<NamingPage>(p).fahrenheitButton(); })},
                  {PAGE_VOLTAGE_ALARMS, levels("140", "-4")}},
                 {1, 19, 10, 3},
                 [](LoggerConfig& c) {
                     c.setOptionFlags(1);
                     c.setHighAlarmRaw(4680);   // (140 + 328) × 10
                     c.setLowAlarmRaw(3240);    // (−4 + 328) × 10
                 }}),
    [](const auto& info) { return std::string(info.param.name); });

// Back from the start page stores the alarm page's levels again on the way.
TEST(EndToEndBack, BackAndForwardKeepsTheLastChoice)
{
    Walk w(2);
    w.window.setUp();
    ASSERT_EQ(w.window.currentPage(), PAGE_SETUP_NAME);
    auto* naming = dynamic_cast<WizardPage*>(w.window.page(PAGE_SETUP_NAME));
    name(NAME)(*naming);
    click(naming->nextButton());
    auto* alarms = dynamic_cast<SetupAlarmsForm*>(w.window.page(PAGE_SETUP_ALARMS));
    ASSERT_EQ(w.window.currentPage(), PAGE_SETUP_ALARMS);
    alarms->highList()->setCurrentIndex(50);   // 62.5 °C
    click(alarms->nextButton());
    auto* start = dynamic_cast<SetupStartForm*>(w.window.page(PAGE_SETUP_START));
    ASSERT_EQ(w.window.currentPage(), PAGE_SETUP_START);
    EXPECT_TRUE(start->clockTimer()->isActive());
    click(start->backButton());
    ASSERT_EQ(w.window.currentPage(), PAGE_SETUP_ALARMS);
    EXPECT_FALSE(start->clockTimer()->isActive());
    EXPECT_EQ(alarms->highList()->currentIndex(), 50);
    alarms->highList()->setCurrentIndex(60);   // 57.5 °C
    click(alarms->backButton());
    ASSERT_EQ(w.window.currentPage(), PAGE_SETUP_NAME);
    click(naming->nextButton());
    EXPECT_EQ(alarms->highList()->currentIndex(), 60);
    click(alarms->nextButton());
    ASSERT_EQ(w.window.currentPage(), PAGE_SETUP_START);
    EXPECT_TRUE(start->clockTimer()->isActive());
    click(start->nextButton());
    ASSERT_EQ(w.window.currentPage(), PAGE_SETUP_SUMMARY);
    EXPECT_FLOAT_EQ(w.f.loggerBlock().highAlarmValue(), 57.5f);
    EXPECT_TRUE(w.f.loggerBlock().isLogging());
}

// The command-line tool sees the logger the window started: logging, in
// delayed start, or waiting for its button.
struct InfoCase {
    int model;
    int choice;   // push-button page choice, or -1: start page (delayed when START_DELAYED)
    const char* state;
};

class StartedLoggerInfo : public ::testing::TestWithParam<InfoCase> {};

TEST_P(StartedLoggerInfo, ShowsItsState)
{
    const InfoCase& c = GetParam();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string path = dir.filePath(QStringLiteral("logger.img")).toStdString();
    FixedClock clock(makeCalendarTime(2024, 3, 15, 10, 30, 0));
    sim::FactoryOptions options;
    options.modelType = c.model;
    options.now = clock.now();
    std::string error;
    auto image = sim::makeFactoryImage(options, error);
    ASSERT_TRUE(image && sim::saveImage(path, *image, error)) << error;

    {
        test::PageFixture f;
        auto logger = std::shared_ptr<sim::SimulatedLogger>(sim::SimulatedLogger::open(path, error, f.clock, 0.0));
        ASSERT_TRUE(logger) << error;
        sim::SimXpress usb(logger);
        f.session.setTransport(&usb);
        UtilityWindow window(f.session, f.samples, f.ui, f.desktop, f.clock, f.locale);
        window.show();
        std::map<int, Action> actions;
        if (c.choice >= 0)
            actions[PAGE_PUSH_TO_START] = clickOn([&](WizardPage& p) {
                return as<SetupPushToStartForm>(p).choiceButton(c.choice);
            });
        if (c.choice == START_DELAYED)
            actions[PAGE_PUSH_TO_START] = all({actions[PAGE_PUSH_TO_START], anHourLater()});
        if (c.choice == -START_DELAYED)
            actions[PAGE_SETUP_START] = anHourLater();
        walk(window, actions);
        ASSERT_EQ(window.currentPage(), PAGE_SETUP_SUMMARY) << ::testing::PrintToString(f.ui.texts());
    }

    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    test::ScriptedUserInterface ui;
    const std::array<cli::Command, 1> table{{{"info", "info", "", cli::cmdInfo}}};
    const int status =
        cli::runCommandLine(table, {"--device", "sim:" + path, "info"}, ui, clock, FixedLocaleFormat::instance(), out, err);
    EXPECT_EQ(status, cli::EXIT_OK);
    std::rewind(out);
    std::string text(4096, '\0');
    text.resize(std::fread(text.data(), 1, text.size(), out));
    std::fclose(out);
    std::fclose(err);
    EXPECT_NE(text.find(std::string("state: ") + c.state + "\n"), std::string::npos) << text;
}

INSTANTIATE_TEST_SUITE_P(States, StartedLoggerInfo,
                         ::testing::Values(InfoCase{3, -1, "Logging"}, InfoCase{2, -START_DELAYED, "Delayed Start"},
                                           InfoCase{12, START_ON_BUTTON, "Push Button To Start"},
                                           InfoCase{16, START_IMMEDIATE, "Logging"},
                                           InfoCase{15, START_DELAYED, "Delayed Start"}));

} // namespace
} // namespace vessor
