// The pages with real clicks and keys on a simulated logger: enable boxes
// that change theConfig at once, refusals that keep the page, the start
// pages' clock following and Finish.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include "config_utility/support/sim_fixture.h"
#include "config_utility/support/user_input.h"
#include "config_utility/wizard/agreement_pages.h"
#include "config_utility/wizard/number_edit.h"
#include "config_utility/wizard/setup_alarms_form.h"
#include "config_utility/wizard/setup_co_alarms_form.h"
#include "config_utility/wizard/setup_mode_forms.h"
#include "config_utility/wizard/setup_start_form.h"
#include "config_utility/wizard/setup_voltage_alarms_form.h"
#include "config_utility/wizard/start_pickers.h"
#include "logger/conversion.h"
#include "logger/setup/start_logic.h"
#include "logger/strings.h"

namespace vessor {
namespace {

using test::SimFixture;

// A logger read into theConfig, with `edit` applied to the device first.
struct Rig : SimFixture {
    explicit Rig(int model, const std::function<void(LoggerConfig&)>& edit = nullptr) : SimFixture(model)
    {
        if (edit)
            editBlock(edit);
        if (!session.refresh())
            throw std::runtime_error("refresh failed");
    }
    std::vector<std::string> messages() const { return ui.texts(); }
};

template <typename P>
std::unique_ptr<P> showOn(Rig& rig)
{
    auto page = std::make_unique<P>(rig.context);
    page->resize(PAGE_WIDTH, PAGE_HEIGHT);
    page->updatePage();
    page->show();
    return page;
}

using test::click;
using test::typeInto;

// --- Drop-down alarm pages ----------------------------------------------------------

TEST(AlarmListPage, EnableBoxesChangeTheConfigAtOnce)
{
    Rig rig(3, [](LoggerConfig& c) { c.setAlarmFlags(ALARM_HIGH_ENABLED | ALARM_RH_HIGH_ENABLED); });
    auto page = showOn<SetupAlarmsForm>(rig);
    EXPECT_TRUE(page->highList()->isEnabled());
    EXPECT_FALSE(page->lowList()->isEnabled());
    EXPECT_FALSE(page->lowHoldBox()->isEnabled());

    click(page->lowEnableBox());
    EXPECT_EQ(rig.config.alarmFlags(), ALARM_HIGH_ENABLED | ALARM_LOW_ENABLED | ALARM_RH_HIGH_ENABLED);
    EXPECT_TRUE(page->lowList()->isEnabled());
    click(page->highEnableBox());
    EXPECT_EQ(rig.config.alarmFlags(), ALARM_LOW_ENABLED | ALARM_RH_HIGH_ENABLED);
    EXPECT_FALSE(page->highList()->isEnabled());
    EXPECT_FALSE(page->highHoldBox()->isEnabled());

    auto rh = showOn<SetupRHAlarmsForm>(rig);
    click(rh->highEnableBox());
    EXPECT_EQ(rig.config.alarmFlags(), ALARM_LOW_ENABLED);
    EXPECT_TRUE(rig.shown.empty());
}

TEST(AlarmListPage, EqualLevelsWithBothEnabledAreRefusedButStored)
{
    Rig rig(2, [](LoggerConfig& c) { c.setAlarmFlags(ALARM_HIGH_ENABLED | ALARM_LOW_ENABLED); });
    auto page = showOn<SetupAlarmsForm>(rig);
    page->highList()->setCurrentIndex(135);   // 20.0 °C
    page->lowList()->setCurrentIndex(135);
    click(page->highHoldBox());
    click(page->nextButton());
    EXPECT_EQ(rig.messages(), std::vector<std::string>{messageText(MSG_HIGH_NOT_ABOVE_LOW)});
    EXPECT_TRUE(rig.shown.empty());
    EXPECT_EQ(page->focusWidget(), page->highList());
    EXPECT_FLOAT_EQ(rig.config.highAlarmValue(), 20.0f);
    EXPECT_FLOAT_EQ(rig.config.lowAlarmValue(), 20.0f);
    EXPECT_TRUE(rig.config.alarmFlags() & ALARM_HIGH_HOLD);

    // With only one alarm enabled the same levels go on to the start page.
    click(page->lowEnableBox());
    click(page->nextButton());
    EXPECT_EQ(rig.shown, std::vector<int>{PAGE_SETUP_START});
    EXPECT_TRUE(rig.context.liveStartClock);
    EXPECT_EQ(rig.messages().size(), 1u);
}

TEST(AlarmListPage, BackStoresOnTheTemperatureAndHumidityPagesOnly)
{
    Rig rig(3);
    auto page = showOn<SetupRHAlarmsForm>(rig);
    page->highList()->setCurrentIndex(125);
    click(page->backButton());
    EXPECT_EQ(rig.shown, std::vector<int>{PAGE_SETUP_ALARMS});
    EXPECT_EQ(rig.config.rhHighAlarm(), 75);   // 37.5 %rh

    Rig lite(8);
    const unsigned before = lite.config.highAlarmRaw();
    auto litePage = showOn<SetupLiteAlarmsForm>(lite);
    litePage->highList()->setCurrentIndex(litePage->highList()->currentIndex() + 5);
    click(litePage->backButton());
    EXPECT_EQ(lite.shown, std::vector<int>{PAGE_LITE_NAME});
    EXPECT_EQ(lite.config.highAlarmRaw(), before);

    // Forward the low-cost page stores through its sensor curve.
    litePage->updatePage();
    litePage->highList()->setCurrentIndex(10);   // 40 °C
    litePage->lowList()->setCurrentIndex(60);    // −10 °C
    click(litePage->nextButton());
    EXPECT_NEAR(lite.config.highAlarmValue(), 40.0, 0.05);
    EXPECT_NEAR(lite.config.lowAlarmValue(), -10.0, 0.05);
}

TEST(AlarmListPage, ShowsTheDegreeSignInItsEntries)
{
    Rig rig(2);
    auto page = showOn<SetupAlarmsForm>(rig);
    ASSERT_EQ(page->highList()->count(), 256);
    EXPECT_EQ(page->highList()->itemText(0), QString::fromUtf8("87.5 \u00B0C"));
    EXPECT_EQ(page->highList()->itemText(255), QString::fromUtf8("-40.0 \u00B0C"));
}

// --- Numeric alarm page ---------------------------------------------------------------

TEST(NumberAlarmPage, ProHighAboveRangeIsAdjustedWhenEnabledAndStoredWhenNot)
{
    Rig rig(14);
    auto page = showOn<SetupVoltageAlarmsForm>(rig);
    EXPECT_FALSE(page->disableLedsBox()->isVisibleTo(page.get()));
    EXPECT_EQ(page->highUnitLabel()->text(), QString::fromUtf8("\u00B0C"));
    typeInto(page->highBox(), QStringLiteral("130"));
    click(page->nextButton());
    EXPECT_EQ(rig.messages(), std::vector<std::string>{messageText(MSG_HIGH_ALARM_ADJUSTED)});
    EXPECT_EQ(page->highBox()->text(), QStringLiteral("125.0"));
    EXPECT_TRUE(rig.shown.empty());

    rig.ui.clear();
    typeInto(page->highBox(), QStringLiteral("130"));
    click(page->highEnableBox());
    EXPECT_FALSE(rig.config.alarmFlags() & ALARM_HIGH_ENABLED);
    click(page->nextButton());
    EXPECT_TRUE(rig.messages().empty());
    EXPECT_EQ(rig.shown, std::vector<int>{PAGE_SETUP_START});
    EXPECT_FLOAT_EQ(rig.config.highAlarmValue(), 125.0f);
}

TEST(NumberAlarmPage, TypedLevelsReachTheConfigEvenWhenReturnPressesNext)
{
    Rig rig(18, [](LoggerConfig& c) { c.setOptionFlags(1); });
    auto page = showOn<SetupVoltageAlarmsForm>(rig);
    typeInto(page->lowBox(), QStringLiteral("-4"));
    typeInto(page->highBox(), QStringLiteral("140"));
    // Next reads what the boxes show, whether or not they lost the focus.
    click(page->nextButton());
    EXPECT_TRUE(rig.messages().empty());
    EXPECT_FLOAT_EQ(rig.config.highAlarmValue(), 140.0f);
    EXPECT_FLOAT_EQ(rig.config.lowAlarmValue(), -4.0f);

    rig.shown.clear();
    typeInto(page->lowBox(), QStringLiteral("-5"));
    click(page->nextButton());
    EXPECT_EQ(rig.messages(), std::vector<std::string>{messageText(MSG_LOW_ALARM_ADJUSTED)});
    EXPECT_EQ(page->lowBox()->text(), QStringLiteral("-4.0"));
    EXPECT_EQ(page->focusWidget(), page->lowBox());
    EXPECT_TRUE(rig.shown.empty());
}

TEST(NumberAlarmPage, DisableLedsIsStoredWhenClicked)
{
    Rig rig(4);
    auto page = showOn<SetupVoltageAlarmsForm>(rig);
    ASSERT_TRUE(page->disableLedsBox()->isVisibleTo(page.get()));
    click(page->disableLedsBox());
    EXPECT_TRUE(rig.config.modeFlags() & MODE_LEDS_DISABLED);
    click(page->disableLedsBox());
    EXPECT_FALSE(rig.config.modeFlags() & MODE_LEDS_DISABLED);
}

// --- CO page --------------------------------------------------------------------------------

TEST(CoAlarmPage, RefusesALevelAboveTheCo300Range)
{
    Rig rig(11);
    auto page = showOn<SetupCOAlarmsForm>(rig);
    ASSERT_TRUE(page->ledBox()->isChecked());
    typeInto(page->levelBox(), QStringLiteral("400"));
    click(page->nextButton());
    EXPECT_EQ(rig.messages(),
              std::vector<std::string>{"Error:- Warning Level out of range.\n(Range: 3-300ppm)"});
    EXPECT_EQ(page->levelBox()->text(), QStringLiteral("50"));
    EXPECT_TRUE(rig.shown.empty());
    EXPECT_FALSE(rig.config.alarmFlags() & ALARM_HIGH_ENABLED);
}

TEST(CoAlarmPage, LedBoxDisablesTheWarningControls)
{
    Rig rig(9);
    auto page = showOn<SetupCOAlarmsForm>(rig);
    click(page->ledBox());
    EXPECT_FALSE(rig.config.alarmFlags() & ALARM_LOW_ENABLED);
    for (QWidget* w : std::vector<QWidget*>{page->levelBox(), page->holdBox(), page->sounderBox(), page->levelsButton()})
        EXPECT_FALSE(w->isEnabled());
    typeInto(page->levelBox(), QStringLiteral("2"));   // disabled: types nothing
    click(page->nextButton());
    EXPECT_TRUE(rig.messages().empty());
    EXPECT_EQ(rig.shown, std::vector<int>{PAGE_SETUP_START});
    EXPECT_TRUE(rig.context.liveStartClock);
}

// --- Display and storage pages ----------------------------------------------------------------

TEST(DisplayPage, ReadsAndWritesTheDisplayBits)
{
    struct Row {
        std::uint8_t mode;
        int shown;
    };
    for (const Row& r : {Row{0, 0}, Row{MODE_DISPLAY_B, 0}, Row{MODE_DISPLAY_A | MODE_DISPLAY_B, 1},
                         Row{MODE_DISPLAY_A, 2}}) {
        Rig rig(12, [&](LoggerConfig& c) { c.setModeFlags(r.mode | MODE_WRAP); });
        auto page = showOn<SetupLCDForm>(rig);
        EXPECT_TRUE(page->displayButton(r.shown)->isChecked()) << int(r.mode);
        EXPECT_TRUE(page->storageButton(1)->isChecked());
        click(page->displayButton(0));
        click(page->storageButton(0));
        click(page->nextButton());
        EXPECT_EQ(rig.config.modeFlags() & (MODE_DISPLAY_A | MODE_DISPLAY_B | MODE_WRAP), 0);
        EXPECT_EQ(rig.shown, std::vector<int>{PAGE_SETUP_ALARMS});
    }
    Rig tc(15);
    auto page = showOn<SetupLCDForm>(tc);
    click(page->displayButton(1));
    click(page->storageButton(1));
    click(page->nextButton());
    EXPECT_EQ(tc.config.modeFlags() & 0x70, MODE_DISPLAY_A | MODE_DISPLAY_B | MODE_WRAP);
    EXPECT_EQ(tc.shown, std::vector<int>{PAGE_VOLTAGE_ALARMS});
}

TEST(StorageModePage, ShowsTheCapacityWithoutSeparators)
{
    Rig rig(13, [](LoggerConfig& c) { c.setU16At(field::MEMORY_CAPACITY, 16382); });
    auto page = showOn<SetupStorageModeForm>(rig);
    EXPECT_EQ(page->capacityLabel()->text(), QStringLiteral("of 16382 samples."));
    EXPECT_EQ(page->retainLabel()->text(), QStringLiteral("retain the last 16381 samples."));
    EXPECT_TRUE(page->storageButton(0)->isChecked());
    click(page->storageButton(1));
    click(page->nextButton());
    EXPECT_TRUE(rig.config.isWrapMode());
    EXPECT_EQ(rig.shown, std::vector<int>{PAGE_SETUP_ALARMS});
}

TEST(SummaryPage, NamesTheLoggerAndReturnsToTheMainMenu)
{
    Rig rig(2, [](LoggerConfig& c) { c.setLoggerName("Fridge \xB0" "2"); });
    auto page = showOn<SetupSummaryForm>(rig);
    EXPECT_EQ(page->nameLabel()->text(), QString::fromUtf8("Fridge \u00B0" "2"));
    EXPECT_FALSE(page->backButton()->isVisibleTo(page.get()));
    click(page->nextButton());
    EXPECT_EQ(rig.shown, std::vector<int>{PAGE_MAIN_MENU});
}

// --- Start page ----------------------------------------------------------------------------------

QTime pickerTime(const StartPickers* p)
{
    return p->timeEdit()->time();
}

TEST(StartPage, FollowsTheClockUntilTheUserChangesAPicker)
{
    Rig rig(2);
    rig.context.liveStartClock = true;
    auto page = showOn<SetupStartForm>(rig);
    EXPECT_TRUE(page->clockTimer()->isActive());
    EXPECT_EQ(page->clockTimer()->interval(), 500);
    EXPECT_EQ(pickerTime(page->pickers()), QTime(10, 30, 0));
    EXPECT_EQ(page->pickers()->dateEdit()->minimumDate(), QDate(2024, 3, 15));

    // The timer itself moves the pickers.
    rig.clock.advance(7);
    EXPECT_TRUE(QTest::qWaitFor([&] { return pickerTime(page->pickers()) == QTime(10, 30, 7); }, 5000));

    QTest::keyClick(page->pickers()->timeEdit(), Qt::Key_Up);
    EXPECT_FALSE(page->clockTimer()->isActive());
    EXPECT_FALSE(rig.context.liveStartClock);
    const QTime chosen = pickerTime(page->pickers());
    rig.clock.advance(5);
    page->updatePage();   // a refresh without the flag leaves the timer off
    EXPECT_FALSE(page->clockTimer()->isActive());
    EXPECT_TRUE(rig.shown.empty());
    EXPECT_NE(chosen, QTime(10, 30, 7));

    // The block keeps the year modulo 100 and reads 70..99 as the 1900s.
    page->pickers()->dateEdit()->setDate(QDate(2070, 1, 1));
    EXPECT_EQ(page->pickers()->dateEdit()->date(), QDate(2069, 12, 31));
}

TEST(StartPage, BackAndCancelStopFollowing)
{
    Rig rig(3);
    rig.context.liveStartClock = true;
    auto page = showOn<SetupStartForm>(rig);
    click(page->backButton());
    EXPECT_FALSE(page->clockTimer()->isActive());
    EXPECT_FALSE(rig.context.liveStartClock);
    EXPECT_EQ(rig.shown, std::vector<int>{PAGE_RH_ALARMS});

    rig.context.liveStartClock = true;
    page->updatePage();
    click(page->cancelButton());
    EXPECT_FALSE(page->clockTimer()->isActive());
    EXPECT_FALSE(rig.context.liveStartClock);
    EXPECT_EQ(rig.shown, (std::vector<int>{PAGE_RH_ALARMS, PAGE_MAIN_MENU}));
}

struct FinishCase {
    const char* name;
    int advanceBeforeFinish;   // seconds the clock moves after the pickers stopped
    bool userChange;           // the user set the pickers (they stop following)
    int expectedDelay;         // -1: refused with message 143
};

class StartFinish : public ::testing::TestWithParam<FinishCase> {};

TEST_P(StartFinish, StartsAtThePickersMoment)
{
    const FinishCase& c = GetParam();
    Rig rig(2);
    const LoggerConfig before = rig.loggerBlock();
    rig.context.liveStartClock = true;
    auto page = showOn<SetupStartForm>(rig);
    rig.clock.advance(40);
    page->followClock();   // the last tick: 10:30:40
    if (c.userChange) {
        QTest::keyClick(page->pickers()->timeEdit(), Qt::Key_Up);
        QTest::keyClick(page->pickers()->timeEdit(), Qt::Key_Down);
    } else {
        page->clockTimer()->stop();   // the next tick has not come yet
    }
    rig.clock.advance(static_cast<std::uint64_t>(c.advanceBeforeFinish));
    click(page->nextButton());

    EXPECT_FALSE(rig.context.liveStartClock);
    EXPECT_FALSE(page->clockTimer()->isActive());
    const LoggerConfig after = rig.loggerBlock();
    if (c.expectedDelay < 0) {
        EXPECT_EQ(rig.messages(), std::vector<std::string>{messageText(MSG_TIME_NOT_IN_FUTURE)});
        EXPECT_TRUE(rig.shown.empty());
        EXPECT_EQ(after.block(), before.block());
        return;
    }
    EXPECT_TRUE(rig.messages().empty());
    EXPECT_EQ(rig.shown, std::vector<int>{PAGE_SETUP_SUMMARY});
    EXPECT_TRUE(after.isLogging());
    EXPECT_EQ(after.startDelay(), static_cast<std::uint32_t>(c.expectedDelay));
    EXPECT_EQ(after.startTime(), makeCalendarTime(2024, 3, 15, 10, 30, 40));
}

INSTANTIATE_TEST_SUITE_P(Moments, StartFinish,
                         ::testing::Values(FinishCase{"Untouched", 0, false, 0},
                                           FinishCase{"UntouchedOneTickLate", 1, false, 0},
                                           FinishCase{"SetTwoSecondsAgo", 2, true, -1},
                                           FinishCase{"SetOneSecondAgo", 1, true, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(StartFinish, DelayedStartStoresTheDelay)
{
    Rig rig(2);
    auto page = showOn<SetupStartForm>(rig);
    QTest::keyClick(page->pickers()->timeEdit(), Qt::Key_Up);   // 11:30:00
    click(page->nextButton());
    ASSERT_EQ(rig.shown, std::vector<int>{PAGE_SETUP_SUMMARY});
    EXPECT_EQ(rig.loggerBlock().startDelay(), 3600u);
    EXPECT_TRUE(rig.loggerBlock().isDelayedStart());
}

TEST(StartFinish, ALoggerSwappedBeforeFinishIsNotWritten)
{
    Rig rig(2);
    auto other = rig.otherLogger(2);
    const ConfigBlock otherBefore = other->image().block;
    const ConfigBlock originalBefore = rig.logger->image().block;
    rig.usb->swapLogger(other);
    auto page = showOn<SetupStartForm>(rig);
    click(page->nextButton());
    EXPECT_EQ(rig.messages(), std::vector<std::string>{messageText(MSG_LOGGER_REPLACED)});
    EXPECT_TRUE(rig.shown.empty());
    EXPECT_EQ(other->image().block, otherBefore);
    EXPECT_EQ(rig.logger->image().block, originalBefore);
}

// --- Push-button start page ----------------------------------------------------------------------

TEST(PushStartPage, InPushButtonModeOpensOnTheButtonChoiceWithBlankPickers)
{
    Rig rig(12, [](LoggerConfig& c) { c.setPushButtonMode(true); });
    rig.context.livePushClock = true;
    auto page = showOn<SetupPushToStartForm>(rig);
    EXPECT_TRUE(page->choiceButton(START_ON_BUTTON)->isChecked());
    EXPECT_FALSE(page->pickers()->timeEdit()->isEnabled());
    EXPECT_TRUE(page->pickers()->isBlank());
    EXPECT_EQ(page->pickers()->timeEdit()->text().trimmed(), QString());
    EXPECT_FALSE(page->clockTimer()->isActive());
    EXPECT_FALSE(rig.context.livePushClock);

    // The delayed choice shows the current moment and stops following.
    rig.clock.advance(20);
    click(page->choiceButton(START_DELAYED));
    EXPECT_TRUE(page->pickers()->timeEdit()->isEnabled());
    EXPECT_FALSE(page->pickers()->isBlank());
    EXPECT_EQ(pickerTime(page->pickers()), QTime(10, 30, 20));
    EXPECT_FALSE(page->clockTimer()->isActive());
    EXPECT_FALSE(rig.context.livePushClock);
}

TEST(PushStartPage, ImmediateAgainDoesNotRestartTheClock)
{
    Rig rig(16);
    rig.context.livePushClock = true;
    auto page = showOn<SetupPushToStartForm>(rig);
    EXPECT_TRUE(page->choiceButton(START_IMMEDIATE)->isChecked());
    EXPECT_TRUE(page->clockTimer()->isActive());
    page->clockTimer()->stop();   // between two ticks
    rig.clock.advance(3);
    click(page->choiceButton(START_IMMEDIATE));
    EXPECT_EQ(pickerTime(page->pickers()), QTime(10, 30, 0));
    EXPECT_TRUE(rig.context.livePushClock);

    // From the button choice, Immediate follows the clock again.
    click(page->choiceButton(START_ON_BUTTON));
    EXPECT_FALSE(rig.context.livePushClock);
    click(page->choiceButton(START_IMMEDIATE));
    EXPECT_TRUE(rig.context.livePushClock);
    EXPECT_TRUE(page->clockTimer()->isActive());
    EXPECT_EQ(pickerTime(page->pickers()), QTime(10, 30, 3));
}

TEST(PushStartPage, ChangingAPickerChoosesTheDelayedStart)
{
    Rig rig(16);
    rig.context.livePushClock = true;
    auto page = showOn<SetupPushToStartForm>(rig);
    QTest::keyClick(page->pickers()->timeEdit(), Qt::Key_Up);
    EXPECT_TRUE(page->choiceButton(START_DELAYED)->isChecked());
    EXPECT_FALSE(page->choiceButton(START_IMMEDIATE)->isChecked());
    EXPECT_FALSE(page->clockTimer()->isActive());
    EXPECT_FALSE(rig.context.livePushClock);
    click(page->nextButton());
    ASSERT_EQ(rig.shown, std::vector<int>{PAGE_SETUP_SUMMARY});
    const LoggerConfig after = rig.loggerBlock();
    EXPECT_EQ(after.startDelay(), 3600u);
    EXPECT_FALSE(after.isPushButtonMode());
}

TEST(PushStartPage, ButtonChoiceLeavesTheLoggerWaiting)
{
    Rig rig(15);
    auto page = showOn<SetupPushToStartForm>(rig);
    click(page->choiceButton(START_ON_BUTTON));
    rig.clock.advance(90);
    click(page->nextButton());
    ASSERT_EQ(rig.shown, std::vector<int>{PAGE_SETUP_SUMMARY});
    const LoggerConfig after = rig.loggerBlock();
    EXPECT_TRUE(after.isAwaitingButton());
    EXPECT_EQ(after.startDelay(), 0u);
    EXPECT_EQ(after.startTime(), makeCalendarTime(2024, 3, 15, 10, 31, 30));
}

// Escape pressed in the control `focusOf` picks on page P; returns the pages
// asked for.
template <typename P, typename Focus>
std::vector<int> escapeOn(int model, Focus focusOf)
{
    Rig rig(model);
    auto page = showOn<P>(rig);
    QWidget* focus = focusOf(*page);
    focus->setFocus();
    QTest::keyClick(focus, Qt::Key_Escape);
    return rig.shown;
}

// Escape, wherever the focus stands, does what Cancel does (the start page
// stops following the clock); the confirmation page has no Cancel.
TEST(WizardKeys, EscapeCancelsThePage)
{
    const std::vector<int> menu{PAGE_MAIN_MENU};
    EXPECT_EQ(escapeOn<SetupVoltageAlarmsForm>(4, [](auto& p) { return p.highBox(); }), menu);
    EXPECT_EQ(escapeOn<SetupAlarmsForm>(3, [](auto& p) { return p.highList(); }), menu);
    EXPECT_EQ(escapeOn<SetupCODisclaimerForm>(9, [](auto& p) { return p.textBox(); }), menu);
    EXPECT_EQ(escapeOn<SetupSummaryForm>(3, [](auto& p) { return p.nextButton(); }), std::vector<int>{});

    Rig rig(3);
    rig.context.liveStartClock = true;
    auto page = showOn<SetupStartForm>(rig);
    ASSERT_TRUE(page->clockTimer()->isActive());
    page->pickers()->timeEdit()->setFocus();
    QTest::keyClick(page->pickers()->timeEdit(), Qt::Key_Escape);
    EXPECT_FALSE(page->clockTimer()->isActive());
    EXPECT_FALSE(rig.context.liveStartClock);
    EXPECT_EQ(rig.shown, menu);
}

} // namespace
} // namespace vessor
