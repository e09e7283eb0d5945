// The event logger's pages on a simulated ZR-EV, driven with real clicks
// and key presses through the routes of its set-up sequence.
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "config_utility/support/sim_fixture.h"
#include "config_utility/wizard/event_pages.h"
#include "logger/setup/event_pages_logic.h"
#include "logger/strings.h"
#include "wizard_driver.h"

namespace vessor {
namespace {

using test::WizardDriver;
using Period = SetupZevCountPeriodForm;

// A factory event logger (mode 0, rising edge, 0 - 5V, one hour stored),
// edited, read, and the wizard on its entry page.
struct EventWizard {
    explicit EventWizard(const std::function<void(LoggerConfig&)>& edit = {}) : f(17)
    {
        if (edit)
            f.editBlock(edit);
        EXPECT_TRUE(f.session.refresh());
        wizard = std::make_unique<WizardDriver>(f.context);
        wizard->start(PAGE_EV_NAME);
        name = wizard->as<SetupZevNameForm>(PAGE_EV_NAME);
        trigger = wizard->as<SetupZevTriggerModeForm>(PAGE_EV_TRIGGER_MODE);
        range = wizard->as<SetupZevVoltageTriggerForm>(PAGE_EV_VOLTAGE_TRIGGER);
        period = wizard->as<Period>(PAGE_EV_COUNT_PERIOD);
    }

    std::vector<int> route() const { return wizard->shown(); }
    QString field(Period::Field which) const { return period->field(which)->text(); }

    test::SimFixture f;
    std::unique_ptr<WizardDriver> wizard;
    SetupZevNameForm* name = nullptr;
    SetupZevTriggerModeForm* trigger = nullptr;
    SetupZevVoltageTriggerForm* range = nullptr;
    Period* period = nullptr;
};

TEST(EventPages, CountingFromEdgeModeReachesThePeriodPageWithOneHour)
{
    for (const bool voltFree : {false, true}) {
        EventWizard w([&](LoggerConfig& c) {
            c.setCountPeriod(45);
            c.setVoltFree(voltFree);
        });
        EXPECT_TRUE(w.name->modeButton(EVENT_CHOICE_EDGES)->isChecked());
        WizardDriver::click(w.name->modeButton(EVENT_CHOICE_COUNT));
        w.wizard->next();
        EXPECT_EQ(w.f.config.eventSampleMode(), EVENT_MODE_COUNT_PER);
        EXPECT_EQ(w.trigger->noteLabel()->text().toStdString(), EVENT_RATE_LIMIT_NOTE);
        w.wizard->next();
        if (!voltFree)
            w.wizard->next();
        const std::vector<int> expected =
            voltFree ? std::vector<int>{PAGE_EV_NAME, PAGE_EV_TRIGGER_MODE, PAGE_EV_COUNT_PERIOD}
                     : std::vector<int>{PAGE_EV_NAME, PAGE_EV_TRIGGER_MODE, PAGE_EV_VOLTAGE_TRIGGER,
                                        PAGE_EV_COUNT_PERIOD};
        EXPECT_EQ(w.route(), expected);
        EXPECT_TRUE(w.period->periodBox()->isChecked());
        EXPECT_EQ(w.field(Period::HOURS), QStringLiteral("1"));
        EXPECT_EQ(w.field(Period::MINUTES), QStringLiteral("0"));
        EXPECT_EQ(w.field(Period::SECONDS), QStringLiteral("0"));
        // Back from the period page goes to the page before it.
        w.wizard->back();
        EXPECT_EQ(w.wizard->current(), voltFree ? PAGE_EV_TRIGGER_MODE : PAGE_EV_VOLTAGE_TRIGGER);
    }
}

TEST(EventPages, CountTotalStaysUntilTheBoxIsTicked)
{
    EventWizard w([](LoggerConfig& c) {
        c.setEventSampleMode(EVENT_MODE_COUNT_TOTAL);
        c.setVoltFree(true);
        c.setCountPeriod(1542);   // the last count total
    });
    EXPECT_TRUE(w.name->modeButton(EVENT_CHOICE_COUNT)->isChecked());
    w.wizard->next();
    EXPECT_TRUE(w.trigger->noteLabel()->text().isEmpty());
    w.wizard->next();
    EXPECT_EQ(w.wizard->current(), PAGE_EV_COUNT_PERIOD);
    EXPECT_EQ(w.f.config.eventSampleMode(), EVENT_MODE_COUNT_TOTAL);
    EXPECT_FALSE(w.period->periodBox()->isChecked());
    for (auto f : {Period::HOURS, Period::MINUTES, Period::SECONDS}) {
        EXPECT_FALSE(w.period->field(f)->isEnabled());
        EXPECT_FALSE(w.period->spinUp(f)->isEnabled());
        EXPECT_TRUE(w.field(f).isEmpty());
    }

    WizardDriver::click(w.period->periodBox());
    EXPECT_TRUE(w.period->field(Period::MINUTES)->isEnabled());
    EXPECT_EQ(w.field(Period::HOURS), QStringLiteral("1"));
    EXPECT_EQ(w.field(Period::MINUTES), QStringLiteral("0"));
    WizardDriver::click(w.period->periodBox());
    EXPECT_TRUE(w.field(Period::HOURS).isEmpty());
    EXPECT_FALSE(w.period->field(Period::HOURS)->isEnabled());

    // Unticked: count total with the emptied fields read as 0.
    w.wizard->next();
    EXPECT_EQ(w.wizard->current(), PAGE_SETUP_START);
    EXPECT_EQ(w.f.config.eventSampleMode(), EVENT_MODE_COUNT_TOTAL);
    EXPECT_EQ(w.f.config.countPeriod(), 0u);
}

TEST(EventPages, PeriodFieldsAreCheckedAfterTheModeIsStored)
{
    EventWizard w([](LoggerConfig& c) {
        c.setEventSampleMode(EVENT_MODE_COUNT_TOTAL);
        c.setVoltFree(true);
    });
    w.wizard->start(PAGE_EV_COUNT_PERIOD);
    ASSERT_TRUE(w.wizard->activate());
    WizardDriver::click(w.period->periodBox());

    WizardDriver::retype(w.period->field(Period::HOURS), QStringLiteral("100"));
    w.wizard->next();
    EXPECT_EQ(w.f.ui.texts(), std::vector<std::string>{HOURS_OUT_OF_RANGE});
    EXPECT_EQ(QApplication::focusWidget(), w.period->field(Period::HOURS));
    EXPECT_EQ(w.f.config.eventSampleMode(), EVENT_MODE_COUNT_PER);
    EXPECT_EQ(w.wizard->current(), PAGE_EV_COUNT_PERIOD);

    w.f.ui.clear();
    WizardDriver::retype(w.period->field(Period::HOURS), QStringLiteral("2"));
    WizardDriver::retype(w.period->field(Period::MINUTES), QStringLiteral("60"));
    w.wizard->next();
    EXPECT_EQ(w.f.ui.texts(), std::vector<std::string>{MINUTES_OUT_OF_RANGE});
    EXPECT_EQ(QApplication::focusWidget(), w.period->field(Period::MINUTES));

    w.f.ui.clear();
    WizardDriver::retype(w.period->field(Period::MINUTES), QStringLiteral("0"));
    WizardDriver::retype(w.period->field(Period::SECONDS), QStringLiteral("75"));
    w.wizard->next();
    EXPECT_EQ(w.f.ui.texts(), std::vector<std::string>{});
    EXPECT_EQ(w.wizard->current(), PAGE_SETUP_START);
    EXPECT_EQ(w.f.config.countPeriod(), 2u * 3600 + 75);
}

TEST(EventPages, PeriodFieldsTakeDigitsAndSpinRoundTheirRanges)
{
    EventWizard w([](LoggerConfig& c) {
        c.setEventSampleMode(EVENT_MODE_COUNT_PER);
        c.setCountPeriod(59 * 60);
    });
    w.wizard->start(PAGE_EV_COUNT_PERIOD);
    EXPECT_EQ(w.field(Period::MINUTES), QStringLiteral("59"));
    WizardDriver::click(w.period->spinUp(Period::MINUTES));
    EXPECT_EQ(w.field(Period::MINUTES), QStringLiteral("0"));
    WizardDriver::click(w.period->spinDown(Period::HOURS));
    EXPECT_EQ(w.field(Period::HOURS), QStringLiteral("99"));
    WizardDriver::click(w.period->spinUp(Period::HOURS));
    EXPECT_EQ(w.field(Period::HOURS), QStringLiteral("0"));

    WizardDriver::retype(w.period->field(Period::SECONDS), QStringLiteral("1a-2.5"));
    EXPECT_EQ(w.field(Period::SECONDS), QStringLiteral("125"));
    // Above the spin range: the arrow wraps from the top.
    WizardDriver::click(w.period->spinUp(Period::SECONDS));
    EXPECT_EQ(w.field(Period::SECONDS), QStringLiteral("0"));
    QTest::keyClick(w.period->field(Period::SECONDS), Qt::Key_Down);
    EXPECT_EQ(w.field(Period::SECONDS), QStringLiteral("59"));
    QTest::keyClick(w.period->field(Period::SECONDS), Qt::Key_Up);
    EXPECT_EQ(w.field(Period::SECONDS), QStringLiteral("0"));

    // A ticked period of no length is refused.
    w.wizard->next();
    EXPECT_EQ(w.f.ui.texts(), std::vector<std::string>{PERIOD_TOO_SHORT});
    EXPECT_EQ(w.wizard->current(), PAGE_EV_COUNT_PERIOD);
}

TEST(EventPages, VoltFreeStateChangesGoStraightToTheStartPageAndBack)
{
    EventWizard w([](LoggerConfig& c) {
        c.setEventSampleMode(EVENT_MODE_STATE);
        c.setEventVoltageRange(3);
        c.setVoltFree(false);
    });
    EXPECT_TRUE(w.name->modeButton(EVENT_CHOICE_STATES)->isChecked());
    w.wizard->next();
    EXPECT_FALSE(w.trigger->risingButton()->isEnabled());
    EXPECT_FALSE(w.trigger->fallingButton()->isEnabled());
    EXPECT_TRUE(w.trigger->voltageButton()->isChecked());
    WizardDriver::click(w.trigger->voltFreeButton());
    WizardDriver::click(w.trigger->ledOffButton());
    w.f.context.liveStartClock = false;
    w.wizard->next();
    EXPECT_EQ(w.route(), (std::vector<int>{PAGE_EV_NAME, PAGE_EV_TRIGGER_MODE, PAGE_SETUP_START}));
    EXPECT_TRUE(w.f.context.liveStartClock);
    EXPECT_TRUE(w.f.config.optionFlags() & EVENT_VOLT_FREE);
    EXPECT_EQ(w.f.config.eventVoltageRange(), 0);   // reset to 0 - 3V
    EXPECT_TRUE(w.f.config.modeFlags() & MODE_LEDS_DISABLED);

    w.wizard->back();
    EXPECT_EQ(w.wizard->current(), PAGE_EV_TRIGGER_MODE);
    EXPECT_TRUE(w.trigger->voltFreeButton()->isChecked());
    EXPECT_TRUE(w.trigger->ledOffButton()->isChecked());
}

TEST(EventPages, VoltageRangeAndEdgeAreStoredOnTheirPages)
{
    EventWizard w;
    EXPECT_TRUE(w.trigger->risingButton()->isChecked());
    w.wizard->next();
    WizardDriver::click(w.trigger->fallingButton());
    w.wizard->next();
    EXPECT_EQ(w.wizard->current(), PAGE_EV_VOLTAGE_TRIGGER);
    EXPECT_TRUE(w.range->rangeButton(1)->isChecked());
    WizardDriver::click(w.range->rangeButton(3));
    w.wizard->next();
    EXPECT_EQ(w.wizard->current(), PAGE_SETUP_START);
    EXPECT_EQ(w.f.config.eventVoltageRange(), 3);
    EXPECT_FALSE(w.f.config.optionFlags() & EVENT_RISING_EDGE);
    // Back from the start page in mode 0 with voltage triggering.
    w.wizard->back();
    EXPECT_EQ(w.wizard->current(), PAGE_EV_VOLTAGE_TRIGGER);
    EXPECT_TRUE(w.range->rangeButton(3)->isChecked());
}

TEST(EventPages, NameIsRefusedBeforeAnythingIsStored)
{
    EventWizard w;
    ASSERT_TRUE(w.wizard->activate());
    WizardDriver::click(w.name->modeButton(EVENT_CHOICE_COUNT));
    WizardDriver::retype(w.name->nameEdit(), QStringLiteral("Door, back"));
    w.wizard->next();
    EXPECT_EQ(w.f.ui.texts(), std::vector<std::string>{messageText(MSG_NAME_BAD_CHARACTER)});
    EXPECT_EQ(QApplication::focusWidget(), w.name->nameEdit());
    EXPECT_EQ(w.f.config.eventSampleMode(), EVENT_MODE_EDGE);
    EXPECT_EQ(w.wizard->current(), PAGE_EV_NAME);

    WizardDriver::retype(w.name->nameEdit(), QString::fromUtf8("Door \u00B0 back 12345"));
    EXPECT_EQ(w.name->nameEdit()->text().size(), 15);
    w.wizard->next();
    EXPECT_EQ(w.f.config.loggerName(), "Door \xB0 back 123");
    EXPECT_EQ(w.wizard->current(), PAGE_EV_TRIGGER_MODE);
    // Page 21's Back is inert.
    w.wizard->back();
    w.wizard->back();
    EXPECT_EQ(w.wizard->current(), PAGE_EV_NAME);
    w.wizard->back();
    EXPECT_EQ(w.wizard->current(), PAGE_EV_NAME);
}

} // namespace
} // namespace vessor
