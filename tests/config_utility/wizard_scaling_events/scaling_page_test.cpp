// The custom scaling page on a simulated voltage logger, driven with real
// clicks and key presses: the unit list, the stored-text check, Default, and
// Next's messages with the focus on the offending box.
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "config_utility/support/sim_fixture.h"
#include "config_utility/wizard/number_edit.h"
#include "config_utility/wizard/setup_voltage_cal_form.h"
#include "logger/conversion.h"
#include "logger/strings.h"
#include "wizard_driver.h"

namespace vessor {
namespace {

using test::WizardDriver;

// A factory voltage logger (0..10 V) on which custom scaling was chosen, the
// wizard on page 9.
struct ScalingPage {
    explicit ScalingPage(const std::function<void(LoggerConfig&)>& edit = {}, int model = 4) : f(model)
    {
        f.editBlock([&](LoggerConfig& c) {
            c.setOptionFlags(1);
            if (edit)
                edit(c);
        });
        EXPECT_TRUE(f.session.refresh());
        wizard = std::make_unique<WizardDriver>(f.context);
        wizard->start(PAGE_VOLTAGE_CAL);
        page = wizard->as<SetupVoltageCalForm>(PAGE_VOLTAGE_CAL);
    }

    void typeUnit(const QString& text) { WizardDriver::retype(page->unitList()->lineEdit(), text); }
    void typePoints(const char* in1, const char* out1, const char* in2, const char* out2)
    {
        WizardDriver::retype(page->input1Box(), QString::fromLatin1(in1));
        WizardDriver::retype(page->output1Box(), QString::fromLatin1(out1));
        WizardDriver::retype(page->input2Box(), QString::fromLatin1(in2));
        WizardDriver::retype(page->output2Box(), QString::fromLatin1(out2));
    }
    std::vector<int> shownAfterStart() const
    {
        return {wizard->shown().begin() + 1, wizard->shown().end()};
    }

    test::SimFixture f;
    std::unique_ptr<WizardDriver> wizard;
    SetupVoltageCalForm* page = nullptr;
};

TEST(ScalingPage, ShowsTheStoredUnitSelectedOrAdded)
{
    const struct {
        const char* stored;
        const char* shown;
        int entries;
    } cases[] = {{"ppm CO2", "ppm CO2", 26}, {"Pa", "Pa", 27}, {"volt", "Volts", 26}, {"V", "Volts", 26}};
    for (const auto& c : cases) {
        ScalingPage s([&](LoggerConfig& cfg) { cfg.setScaleUnit(c.stored); });
        QComboBox* list = s.page->unitList();
        EXPECT_EQ(list->count(), c.entries) << c.stored;
        EXPECT_EQ(list->currentText(), QString::fromLatin1(c.shown)) << c.stored;
        EXPECT_EQ(list->itemText(list->currentIndex()), QString::fromLatin1(c.shown)) << c.stored;
        EXPECT_EQ(s.page->outputUnitLabel(1)->text(), QString::fromLatin1(c.shown)) << c.stored;
        EXPECT_EQ(s.page->outputUnitLabel(2)->text(), QString::fromLatin1(c.shown)) << c.stored;
        EXPECT_EQ(s.page->inputUnitLabel(1)->text(), QStringLiteral("V"));

        // Next stores the unit as shown: "volt" becomes "Volts".
        s.wizard->next();
        EXPECT_EQ(s.f.ui.texts(), std::vector<std::string>{}) << c.stored;
        EXPECT_EQ(s.shownAfterStart(), std::vector<int>{PAGE_VOLTAGE_ALARMS}) << c.stored;
        EXPECT_EQ(s.f.config.scaleUnit(), c.shown);
    }
}

TEST(ScalingPage, StoredPointTextsPassTheCheckBeforeTheyAreShown)
{
    ScalingPage s([](LoggerConfig& c) {
        c.setScaleInput1Text("1.2.3");
        c.setScaleOutput1Text("-.5");
        c.setScaleInput2Text("  7");
        c.setScaleOutput2Text("x9");
    });
    EXPECT_EQ(s.page->input1Box()->text(), QStringLiteral("0.00"));
    EXPECT_EQ(s.page->output1Box()->text(), QStringLiteral("-.5"));
    EXPECT_EQ(s.page->input2Box()->text(), QStringLiteral("7"));
    EXPECT_EQ(s.page->output2Box()->text(), QStringLiteral("0.00"));
}

TEST(ScalingPage, TypedUnitIsLimitedAndFollowedByTheOutputUnits)
{
    ScalingPage s;
    // The comma and characters outside Windows-1252 are refused; 8 at most.
    s.typeUnit(QString::fromUtf8("kPa,\u03A9/s12345"));
    EXPECT_EQ(s.page->unitList()->currentText(), QStringLiteral("kPa/s123"));
    EXPECT_EQ(s.page->outputUnitLabel(1)->text(), QStringLiteral("kPa/s123"));
    EXPECT_EQ(s.page->outputUnitLabel(2)->text(), QStringLiteral("kPa/s123"));

    // Choosing an entry with the keyboard: the one after the selected Volts.
    QTest::keyClick(s.page->unitList(), Qt::Key_Down);
    EXPECT_EQ(s.page->unitList()->currentText(), QStringLiteral("Watts"));
    EXPECT_EQ(s.page->outputUnitLabel(2)->text(), QStringLiteral("Watts"));

    s.typeUnit(QString::fromUtf8("  \u00B5m"));
    s.wizard->next();
    EXPECT_EQ(s.f.config.scaleUnit(), "\xB5m");
}

TEST(ScalingPage, NextRefusesWithTheMessageAndFocusOfTheFirstFault)
{
    const struct {
        const char* name;
        const char* in1;
        const char* out1;
        const char* in2;
        const char* out2;
        int messageId;
        int box;   // 0 output 1, 1 input 1, 2 output 2, 3 input 2
    } cases[] = {
        {"EqualInputs", "0", "0", "0", "5", MSG_INPUTS_EQUAL, 3},
        {"EqualOutputs", "1", "5", "2", "5", MSG_OUTPUTS_EQUAL, 2},
        {"Input1AboveFullScale", "10.5", "0", "1", "5", MSG_INPUT_OUT_OF_RANGE, 1},
        {"Input2Negative", "1", "0", "-2", "5", MSG_INPUT_OUT_OF_RANGE, 3},
        {"EmptyOutput1WhateverElse", "3", "", "3", "", MSG_INVALID_NUMBER, 0},
        {"EmptyInput2", "3", "1", "", "4", MSG_INVALID_NUMBER, 3},
    };
    for (const auto& c : cases) {
        ScalingPage s;
        ASSERT_TRUE(s.wizard->activate());
        s.typePoints(c.in1, c.out1, c.in2, c.out2);
        s.page->unitList()->lineEdit()->setFocus();
        s.wizard->next();
        EXPECT_EQ(s.f.ui.texts(), std::vector<std::string>{messageText(c.messageId)}) << c.name;
        const QWidget* boxes[] = {s.page->output1Box(), s.page->input1Box(), s.page->output2Box(),
                                  s.page->input2Box()};
        EXPECT_EQ(QApplication::focusWidget(), boxes[c.box]) << c.name;
        EXPECT_EQ(s.shownAfterStart(), std::vector<int>{}) << c.name;
        // A refused Next has stored the texts as typed.
        EXPECT_EQ(s.f.config.scaleInput1Text(), c.in1) << c.name;
        EXPECT_EQ(s.f.config.scaleOutput2Text(), c.out2) << c.name;
    }
}

TEST(ScalingPage, DefaultRestoresTheFactoryPointsButKeepsTheUnitShown)
{
    ScalingPage s;
    s.typeUnit(QStringLiteral("PSI"));
    s.typePoints("1", "2", "3", "3");
    WizardDriver::click(s.page->defaultButton());
    EXPECT_EQ(s.page->input1Box()->text(), QStringLiteral("0"));
    EXPECT_EQ(s.page->output1Box()->text(), QStringLiteral("0"));
    EXPECT_EQ(s.page->input2Box()->text(), QStringLiteral("10"));
    EXPECT_EQ(s.page->output2Box()->text(), QStringLiteral("10"));
    EXPECT_EQ(s.page->unitList()->currentText(), QStringLiteral("PSI"));

    s.wizard->next();
    EXPECT_EQ(s.f.ui.texts(), std::vector<std::string>{});
    EXPECT_EQ(s.shownAfterStart(), std::vector<int>{PAGE_VOLTAGE_ALARMS});
    EXPECT_EQ(s.f.config.scaleUnit(), "PSI");
    EXPECT_EQ(s.f.config.scaleInput2Text(), "10");
    EXPECT_EQ(s.f.config.scaleOutput2Text(), "10");
}

TEST(ScalingPage, NextScalesTheAlarmPageAndBackStoresNothing)
{
    ScalingPage s;
    s.typeUnit(QStringLiteral("Pa"));
    s.typePoints("0", "0", "10", "5000");
    s.wizard->back();
    EXPECT_EQ(s.shownAfterStart(), std::vector<int>{PAGE_VOLTAGE_NAME});
    EXPECT_EQ(s.f.config.scaleUnit(), "V");
    EXPECT_EQ(s.f.config.scaleOutput2Text(), "10");

    s.wizard->start(PAGE_VOLTAGE_CAL);
    EXPECT_EQ(s.page->unitList()->currentText(), QStringLiteral("Volts"));
    s.typeUnit(QStringLiteral("Pa"));
    s.typePoints("0", "0", "10", "5000");
    s.wizard->next();
    EXPECT_EQ(s.wizard->current(), PAGE_VOLTAGE_ALARMS);
    EXPECT_FLOAT_EQ(s.f.config.scaleGradient, 500.0f);
    // The alarm page shows its levels in the new unit and range.
    float high = 0, low = 0;
    scalingRange(s.f.config, high, low);
    EXPECT_NEAR(high, 5000.0f, 10.0f);
    EXPECT_EQ(unitText(s.f.config), "Pa");
    // Back from the alarm page returns here.
    s.wizard->back();
    EXPECT_EQ(s.wizard->current(), PAGE_VOLTAGE_CAL);
    EXPECT_EQ(s.page->output2Box()->text(), QStringLiteral("5000"));
}

} // namespace
} // namespace vessor
