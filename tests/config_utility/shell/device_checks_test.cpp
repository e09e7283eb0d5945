// The main menu's commands against a simulated logger with scripted answers:
// the order of the checks, the questions and what is left on the logger.
#include <QAction>
#include <QPushButton>

#include <gtest/gtest.h>

#include <functional>

#include "config_utility/shell/main_menu_page.h"
#include "config_utility/shell/utility_window.h"
#include "config_utility/support/sim_fixture.h"
#include "logger/strings.h"

namespace vessor {
namespace {

using Edit = std::function<void(LoggerConfig&)>;

void logging(LoggerConfig& c)
{
    c.setStatusFlags(c.statusFlags() | STATUS_LOGGING);
    c.setReadingCount(12);
}

void loggingDelayed(LoggerConfig& c)
{
    c.setStatusFlags(c.statusFlags() | STATUS_LOGGING);
    c.setReadingCount(0);
    c.setStartDelay(3600);
}

void awaitingButton(LoggerConfig& c)
{
    c.setPushButtonMode(true);
    c.setStatusFlags(c.statusFlags() | STATUS_LOGGING);
    c.setReadingCount(0);
}

struct Window {
    explicit Window(int model) : f(model), window(f.session, f.samples, f.ui, f.desktop, f.clock, f.locale) {}
    test::SimFixture f;
    UtilityWindow window;

    void trigger(CommandId id) { window.action(id)->trigger(); }
};

struct CheckCase {
    const char* name;
    int model;
    Edit edit;
    std::vector<Answer> answers;
    std::vector<int> messages;  // message ids shown or asked, in order
    int page;                   // page shown afterwards
    bool stillLogging;
};

std::vector<std::string> textsOf(const std::vector<int>& ids)
{
    std::vector<std::string> texts;
    for (int id : ids)
        texts.push_back(messageText(id));
    return texts;
}

class SetUpChecks : public ::testing::TestWithParam<CheckCase> {};

TEST_P(SetUpChecks, AskAndStopInOrder)
{
    const CheckCase& c = GetParam();
    Window w(c.model);
    if (c.edit)
        w.f.editBlock(c.edit);
    for (Answer a : c.answers)
        w.f.ui.script({a});
    w.trigger(CMD_SET_UP);
    EXPECT_EQ(w.f.ui.texts(), textsOf(c.messages));
    EXPECT_EQ(w.window.currentPage(), c.page);
    EXPECT_EQ(w.f.loggerBlock().isLogging(), c.stillLogging);
    EXPECT_EQ(w.f.ui.unusedAnswers(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    SetUp, SetUpChecks,
    ::testing::Values(
        CheckCase{"IdleLoggerGoesStraightToItsFirstPage", 3, nullptr, {}, {}, 1, false},
        CheckCase{"CriticalBatteryThenLoggingQuestionNo", 3,
                  [](LoggerConfig& c) {
                      logging(c);
                      c.setStatusFlags(c.statusFlags() | STATUS_BATTERY_CRITICAL);
                  },
                  {Answer::No}, {MSG_BATTERY_CRITICAL, MSG_SETUP_WHILE_LOGGING}, 0, true},
        CheckCase{"LoggingQuestionYesStopsTheLogger", 3, logging, {Answer::Yes},
                  {MSG_SETUP_WHILE_LOGGING}, 1, false},
        CheckCase{"DelayedStartAsksItsOwnQuestion", 2, loggingDelayed, {Answer::Yes},
                  {MSG_SETUP_WHILE_DELAYED}, 1, false},
        CheckCase{"AwaitingTheButton", 12, awaitingButton, {Answer::No},
                  {MSG_SETUP_AWAITING_BUTTON}, 0, true},
        CheckCase{"DataNotDownloadedCancelStaysHome", 3,
                  [](LoggerConfig& c) {
                      c.setStatusFlags(STATUS_NOT_DOWNLOADED);
                      c.setReadingCount(40);
                  },
                  {Answer::Cancel}, {MSG_SETUP_NOT_DOWNLOADED}, 0, false},
        CheckCase{"DataNotDownloadedOkGoesOn", 8,
                  [](LoggerConfig& c) {
                      c.setStatusFlags(STATUS_NOT_DOWNLOADED);
                      c.setReadingCount(40);
                  },
                  {Answer::Ok}, {MSG_SETUP_NOT_DOWNLOADED}, 11, false},
        CheckCase{"NotDownloadedFlagWithoutReadingsAsksNothing", 3,
                  [](LoggerConfig& c) {
                      c.setStatusFlags(STATUS_NOT_DOWNLOADED);
                      c.setReadingCount(0);
                  },
                  {}, {}, 1, false},
        CheckCase{"SensorErrorIsShownAndSetUpGoesOn", 3,
                  [](LoggerConfig& c) { c.setStatusFlags(STATUS_SENSOR_ERROR); },
                  {}, {MSG_SENSOR_ERROR}, 1, false},
        CheckCase{"CoInvalidSensorLifeSkipsTheCalibrationCheck", 9,
                  [](LoggerConfig& c) {
                      c.setByteAt(field::SENSOR_LIFE_MONTH, 0);
                      c.setByteAt(field::SENSOR_LIFE_MONTHS, 24);
                      c.setByteAt(field::CAL_DATE_MONTH, 13);
                      c.setByteAt(field::CAL_PERIOD_MONTHS, 12);
                  },
                  {}, {MSG_SENSOR_LIFE_INVALID}, 14, false},
        CheckCase{"CoValidSensorLifeChecksTheCalibration", 11,
                  [](LoggerConfig& c) {
                      c.setByteAt(field::CAL_DATE_DAY, 1);
                      c.setByteAt(field::CAL_DATE_MONTH, 1);
                      c.setByteAt(field::CAL_DATE_YEAR, 100);
                      c.setByteAt(field::CAL_PERIOD_MONTHS, 12);
                  },
                  {}, {MSG_CALIBRATION_EXPIRED}, 14, false},
        CheckCase{"IncompatibleLoggerEndsTheCommand", 3,
                  [](LoggerConfig& c) { c.setModelType(0); }, {}, {MSG_INCOMPATIBLE}, 0, false},
        CheckCase{"EventLoggerFirstPage", 17, nullptr, {}, {}, 21, false},
        CheckCase{"ProfessionalModelStartsWithItsDisclaimer", 14, nullptr, {}, {}, 20, false}),
    [](const auto& info) { return std::string(info.param.name); });

class StopChecks : public ::testing::TestWithParam<CheckCase> {};

TEST_P(StopChecks, AskAndStopInOrder)
{
    const CheckCase& c = GetParam();
    Window w(c.model);
    if (c.edit)
        w.f.editBlock(c.edit);
    for (Answer a : c.answers)
        w.f.ui.script({a});
    w.trigger(CMD_STOP_AND_DOWNLOAD);
    EXPECT_EQ(w.f.ui.texts(), textsOf(c.messages));
    EXPECT_EQ(w.window.currentPage(), c.page);
    EXPECT_EQ(w.f.loggerBlock().isLogging(), c.stillLogging);
}

INSTANTIATE_TEST_SUITE_P(
    StopAndDownload, StopChecks,
    ::testing::Values(
        CheckCase{"StoppedLoggerGoesStraightToTheStopPage", 3,
                  [](LoggerConfig& c) { c.setReadingCount(30); }, {}, {}, 5, false},
        CheckCase{"LoggingNoLeavesItLogging", 3, logging, {Answer::No}, {MSG_CONFIRM_STOP}, 0, true},
        CheckCase{"LoggingYesStops", 3, logging, {Answer::Yes}, {MSG_CONFIRM_STOP}, 5, false},
        CheckCase{"DelayedStart", 4, loggingDelayed, {Answer::Yes}, {MSG_CONFIRM_STOP_DELAYED}, 5, false},
        CheckCase{"AwaitingTheButton", 16, awaitingButton, {Answer::Yes},
                  {MSG_SETUP_AWAITING_BUTTON}, 5, false},
        CheckCase{"LowBatteryIsShownFirst", 3,
                  [](LoggerConfig& c) {
                      logging(c);
                      c.setStatusFlags(c.statusFlags() | STATUS_BATTERY_LOW);
                  },
                  {Answer::Yes}, {MSG_BATTERY_LOW, MSG_CONFIRM_STOP}, 5, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(StopChecksIcons, QuestionsCarryTheirIcons)
{
    Window w(12);
    w.f.editBlock(logging);
    w.f.ui.script({Answer::No});
    w.trigger(CMD_STOP_AND_DOWNLOAD);
    w.f.editBlock(awaitingButton);
    w.f.ui.script({Answer::No});
    w.trigger(CMD_STOP_AND_DOWNLOAD);
    const auto& log = w.f.ui.log();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].icon, MessageIcon::Question);
    EXPECT_EQ(log[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(log[1].icon, MessageIcon::None);
}

TEST(DeviceFaults, NoLoggerAndBrokenLinkEndTheCommandWithTheirMessage)
{
    {
        Window w(3);
        sim::SimFaults faults;
        faults.noDevice = true;
        w.f.usb->setFaults(faults);
        w.trigger(CMD_SET_UP);
        w.trigger(CMD_STOP_AND_DOWNLOAD);
        w.trigger(CMD_CURRENT_STATUS);
        EXPECT_EQ(w.f.ui.texts(), textsOf({MSG_NO_LOGGER, MSG_NO_LOGGER, MSG_NO_LOGGER}));
        EXPECT_EQ(w.window.currentPage(), PAGE_MAIN_MENU);
    }
    {
        Window w(3);
        sim::SimFaults faults;
        faults.failReadAfter = 0;
        w.f.usb->setFaults(faults);
        w.trigger(CMD_STOP_AND_DOWNLOAD);
        EXPECT_EQ(w.f.ui.texts(), textsOf({MSG_COMMUNICATION_ERROR}));
        EXPECT_EQ(w.window.currentPage(), PAGE_MAIN_MENU);
    }
}

// Rows are timed from the start date: one that is no date is refused before
// the stop question, and the logger keeps logging.
TEST(StopChecksStartDate, DateThatIsNoDateIsRefusedBeforeTheStop)
{
    const struct {
        int month;
        int day;
        const char* shown;
    } dates[] = {{13, 5, "05/13/2024"}, {0, 5, "05/00/2024"}, {4, 31, "31/04/2024"}};
    for (const auto& date : dates) {
        SCOPED_TRACE(date.shown);
        Window w(3);
        w.f.editBlock([&](LoggerConfig& c) {
            logging(c);
            c.setStartTime(2024, date.month, date.day, 8, 0, 0);
        });
        const ConfigBlock before = w.f.logger->image().block;
        w.trigger(CMD_STOP_AND_DOWNLOAD);
        EXPECT_EQ(w.f.ui.texts(),
                  std::vector<std::string>{std::string("The logger's start date (") + date.shown +
                                           ") is not a valid date, so its readings cannot be given "
                                           "times. No file was written; the readings stay in the logger."});
        EXPECT_EQ(w.window.currentPage(), PAGE_MAIN_MENU);
        EXPECT_EQ(w.f.logger->image().block, before);
    }
}

TEST(DeviceFaults, LoggerSwappedDuringTheStopQuestionIsLeftAlone)
{
    Window w(3);
    w.f.editBlock(logging);
    auto other = w.f.otherLogger(3);
    {
        LoggerConfig view;
        view.setBlock(other->image().block);
        logging(view);
        sim::LoggerImage image = other->image();
        image.block = view.block();
        other->setImage(image);
    }
    // The refresh is the first request; the logger is exchanged behind it,
    // while the question is on screen.
    sim::SimFaults faults;
    faults.swapAfterRequests = 1;
    faults.swapIn = other;
    w.f.usb->setFaults(faults);
    w.f.ui.script({Answer::Yes});
    w.trigger(CMD_STOP_AND_DOWNLOAD);
    EXPECT_EQ(w.f.ui.texts(), textsOf({MSG_CONFIRM_STOP, MSG_LOGGER_REPLACED}));
    EXPECT_EQ(w.window.currentPage(), PAGE_MAIN_MENU);
    LoggerConfig otherNow;
    otherNow.setBlock(other->image().block);
    EXPECT_TRUE(otherNow.isLogging());
}

TEST(DeviceFaults, ShortConfigurationReplyIsNeverWrittenBack)
{
    // A 16-bit logger announcing 64 bytes: the rest of its block reads as
    // zero, and writing that back would wipe its calibration and texts.
    {
        Window w(MODEL_ZR_V);
        w.f.editBlock(logging);
        const ConfigBlock before = w.f.logger->image().block;
        sim::SimFaults faults;
        faults.firmware.configLength = 64;
        w.f.usb->setFaults(faults);
        w.f.ui.script({Answer::Yes, Answer::Yes});
        w.trigger(CMD_SET_UP);
        w.trigger(CMD_STOP_AND_DOWNLOAD);
        EXPECT_EQ(w.f.ui.texts(), textsOf({MSG_SETUP_WHILE_LOGGING, MSG_COMMUNICATION_ERROR,
                                           MSG_CONFIRM_STOP, MSG_COMMUNICATION_ERROR}));
        EXPECT_EQ(w.window.currentPage(), PAGE_MAIN_MENU);
        EXPECT_EQ(w.f.logger->image().block, before);
    }
    // The 8-bit models send and take 64 bytes: nothing is missing.
    {
        Window w(MODEL_ZR_T);
        w.f.editBlock(logging);
        sim::SimFaults faults;
        faults.firmware.configLength = 64;
        w.f.usb->setFaults(faults);
        w.f.ui.script({Answer::Yes});
        w.trigger(CMD_STOP_AND_DOWNLOAD);
        EXPECT_EQ(w.f.ui.texts(), textsOf({MSG_CONFIRM_STOP}));
        EXPECT_EQ(w.window.currentPage(), PAGE_STOP);
        EXPECT_FALSE(w.f.loggerBlock().isLogging());
    }
}

} // namespace
} // namespace vessor
