// From the set-up wizard to the download file: a voltage logger with custom
// scaling and an event logger in each mode are set up and started on a
// simulated logger by clicks and keys, the logger runs for two hours, and
// `vessor-logger download` reads it out (under a decimal-comma locale). The
// file's heading and values must follow what was chosen.
#include <QByteArray>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QRadioButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "config_utility/support/setup_command.h"
#include "config_utility/support/sim_fixture.h"
#include "config_utility/wizard/event_pages.h"
#include "logger/setup/event_pages_logic.h"
#include "config_utility/wizard/name_pages.h"
#include "config_utility/wizard/number_edit.h"
#include "config_utility/wizard/setup_voltage_cal_form.h"
#include "logger/conversion.h"
#include "wizard_driver.h"

namespace vessor {
namespace {

using test::WizardDriver;

constexpr std::int64_t RUN_SECONDS = 2 * 3600;

std::string timeText(const CalendarTime& t)
{
    char text[80];
    std::snprintf(text, sizeof text, "%02d/%02d/%04d %02d:%02d:%02d", t.day, t.month + 1, t.fullYear(), t.hour,
                  t.minute, t.second);
    return text;
}

std::vector<std::string> split(const std::string& text, const std::string& by)
{
    std::vector<std::string> parts;
    std::size_t from = 0;
    for (std::size_t at; (at = text.find(by, from)) != std::string::npos; from = at + by.size())
        parts.push_back(text.substr(from, at - from));
    parts.push_back(text.substr(from));
    return parts;
}

// A simulated logger whose clock stands two hours before the real time: the
// wizard starts it then, and the command-line program, running on the real
// clock, finds two hours of readings.
struct LoggerRun {
    explicit LoggerRun(int model) : f(model)
    {
        start = fromCalendarSeconds(toCalendarSeconds(SystemClock::instance().now()) - RUN_SECONDS);
        f.clock.set(start);
        EXPECT_TRUE(f.session.refresh());
        wizard = std::make_unique<WizardDriver>(f.context);
    }

    // The wizard's last page: Finish, then the confirmation page.
    void finish()
    {
        ASSERT_EQ(wizard->current(), PAGE_SETUP_START);
        wizard->next();
        ASSERT_EQ(wizard->current(), PAGE_SETUP_SUMMARY);
        EXPECT_EQ(f.ui.texts(), std::vector<std::string>{});
    }

    // `vessor-logger download` on the logger as it stands now: the lines of
    // the file (CR LF line ends checked), empty when it failed.
    std::vector<std::string> download()
    {
        std::vector<std::string> lines;
#ifdef VESSOR_LOGGER_PROGRAM
        const QString image = dir.filePath(QStringLiteral("logger.img"));
        const QString out = dir.filePath(QStringLiteral("download.txt"));
        std::string error;
        EXPECT_TRUE(sim::saveImage(image.toStdString(), f.logger->image(), error)) << error;
        QProcess cli;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("VESSOR_SIM_SPEED"), QStringLiteral("1"));
        env.insert(QStringLiteral("LC_ALL"), QStringLiteral("de_DE.UTF-8"));
        cli.setProcessEnvironment(env);
        cli.start(QStringLiteral(VESSOR_LOGGER_PROGRAM),
                  {QStringLiteral("--device"), QStringLiteral("sim:") + image, QStringLiteral("download"),
                   QStringLiteral("--stop"), QStringLiteral("-o"), out});
        EXPECT_TRUE(cli.waitForFinished(60000));
        EXPECT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
        QFile file(out);
        if (!file.open(QIODevice::ReadOnly))
            return lines;
        const std::string bytes = file.readAll().toStdString();
        EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
        lines = split(bytes.substr(0, bytes.size() - 2), "\r\n");
        for (const std::string& line : lines)
            EXPECT_EQ(line.find('\n'), std::string::npos);
#endif
        return lines;
    }

    LoggerConfig loggerBlock() const { return f.loggerBlock(); }

    // The same choices given to `vessor-logger setup` on a factory logger of
    // the model leave the same image, byte for byte.
    void expectSetupCommandAgrees(const std::vector<std::string>& args)
    {
        const test::SetupCommandRun cli = test::runSetupCommand(f.loggerBlock().modelType(), f.clock, args);
        ASSERT_EQ(cli.status, 0) << cli.err;
        ASSERT_TRUE(cli.image);
        EXPECT_TRUE(cli.image->block == f.logger->image().block);
        EXPECT_EQ(cli.image->memory, f.logger->image().memory);
    }

    test::SimFixture f;
    CalendarTime start;
    std::unique_ptr<WizardDriver> wizard;
    QTemporaryDir dir;
};

TEST(EndToEnd, VoltageLoggerWithCustomScaling)
{
#ifndef VESSOR_LOGGER_PROGRAM
    GTEST_SKIP() << "vessor-logger is not built";
#endif
    LoggerRun run(4);
    WizardDriver& w = *run.wizard;
    w.start(PAGE_VOLTAGE_NAME);
    auto* name = w.as<SetupVoltageNameForm>(PAGE_VOLTAGE_NAME);
    WizardDriver::retype(name->nameEdit(), QStringLiteral("Tank 3"));
    WizardDriver::click(name->customButton());
    w.next();
    ASSERT_EQ(w.current(), PAGE_VOLTAGE_CAL);

    // 1 V reads 0 PSI, 9 V reads 120 PSI: 15 PSI per volt from -15 PSI.
    auto* cal = w.as<SetupVoltageCalForm>(PAGE_VOLTAGE_CAL);
    WizardDriver::retype(cal->unitList()->lineEdit(), QStringLiteral("PSI"));
    WizardDriver::retype(cal->input1Box(), QStringLiteral("1"));
    WizardDriver::retype(cal->output1Box(), QStringLiteral("0"));
    WizardDriver::retype(cal->input2Box(), QStringLiteral("9"));
    WizardDriver::retype(cal->output2Box(), QStringLiteral("120"));
    w.next();
    ASSERT_EQ(w.current(), PAGE_VOLTAGE_ALARMS);
    w.next();
    run.finish();
    run.expectSetupCommandAgrees({"--name", "Tank 3", "--scaling", "custom", "--scale-unit", "PSI", "--scale-input1",
                                  "1", "--scale-output1", "0", "--scale-input2", "9", "--scale-output2", "120"});

    // The logger holds the scaling as chosen.
    LoggerConfig held = run.loggerBlock();
    EXPECT_EQ(held.scaleUnit(), "PSI");
    EXPECT_EQ(held.scaleInput1Text(), "1");
    EXPECT_EQ(held.scaleOutput2Text(), "120");
    EXPECT_NE(held.optionFlags(), 0);
    EXPECT_TRUE(held.isLogging());
    ASSERT_EQ(applyScaling(held), SCALING_OK);
    EXPECT_FLOAT_EQ(held.scaleGradient, 15.0f);
    // The same logger with the factory scaling gives the volts of a count.
    LoggerConfig volts = held;
    volts.setOptionFlags(0);
    applyScaling(volts);

    const std::vector<std::string> lines = run.download();
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[0], "Tank 3,Time,Voltage(PSI),High Alarm,Low Alarm,Serial Number");
    const std::size_t expectedRows = RUN_SECONDS / held.sampleInterval() + 1;
    EXPECT_GE(lines.size() - 1, std::min<std::size_t>(expectedRows, 2));
    const double step = std::pow(10.0, -held.decimalPlaces);
    for (std::size_t row = 1; row < lines.size() && row <= 50; ++row) {
        const std::vector<std::string> fields = split(lines[row], ",");
        ASSERT_GE(fields.size(), 5u) << lines[row];
        EXPECT_EQ(fields[0], std::to_string(row));
        CalendarTime at = run.start;
        addSeconds(at, (row - 1) * held.sampleInterval());
        EXPECT_EQ(fields[1], timeText(at));
        // Decimals as the scaling derived, a full stop whatever the locale.
        const std::size_t point = fields[2].find('.');
        ASSERT_NE(point, std::string::npos) << fields[2];
        EXPECT_EQ(static_cast<int>(fields[2].size() - point - 1), held.decimalPlaces);
        double psi = 0;
        ASSERT_TRUE(parseNumber(fields[2], psi)) << fields[2];
        const unsigned raw = sim::simulatedRaw(held.block(), static_cast<std::uint32_t>(row - 1), 0);
        const double expected = 15.0 * rawToValue(volts, raw) - 15.0;
        EXPECT_NEAR(psi, expected, step) << "row " << row;
        double high = 0, low = 0;
        ASSERT_TRUE(parseNumber(fields[3], high));
        ASSERT_TRUE(parseNumber(fields[4], low));
        EXPECT_NEAR(high, 15.0 * 8.0 - 15.0, step);   // the factory alarms, 8 V and 1 V
        EXPECT_NEAR(low, 0.0, step);
        EXPECT_EQ(fields.size(), row == 1 ? 6u : 5u);
    }
}

// One set-up of the event logger, entered through its pages.
struct EventSetup {
    const char* name;
    int choice;            // page 21
    bool rising;           // page 22
    bool voltFree;
    bool ledOff;
    int range;             // page 23, voltage triggering only
    bool ticked;           // page 24, counting only
    const char* period[3]; // hours, minutes, seconds typed on page 24
    // Expected
    std::vector<int> route;
    int mode;
    std::uint32_t countPeriod;
    const char* heading;
};

class EventEndToEnd : public ::testing::TestWithParam<EventSetup> {};

TEST_P(EventEndToEnd, FileFollowsTheChosenMode)
{
#ifndef VESSOR_LOGGER_PROGRAM
    GTEST_SKIP() << "vessor-logger is not built";
#endif
    const EventSetup& s = GetParam();
    LoggerRun run(17);
    WizardDriver& w = *run.wizard;
    w.start(PAGE_EV_NAME);
    auto* name = w.as<SetupZevNameForm>(PAGE_EV_NAME);
    WizardDriver::retype(name->nameEdit(), QStringLiteral("Door"));
    WizardDriver::click(name->modeButton(s.choice));
    w.next();
    auto* trigger = w.as<SetupZevTriggerModeForm>(PAGE_EV_TRIGGER_MODE);
    if (trigger->risingButton()->isEnabled())
        WizardDriver::click(s.rising ? trigger->risingButton() : trigger->fallingButton());
    WizardDriver::click(s.voltFree ? trigger->voltFreeButton() : trigger->voltageButton());
    WizardDriver::click(s.ledOff ? trigger->ledOffButton() : trigger->ledOnButton());
    w.next();
    if (w.current() == PAGE_EV_VOLTAGE_TRIGGER) {
        WizardDriver::click(w.as<SetupZevVoltageTriggerForm>(PAGE_EV_VOLTAGE_TRIGGER)->rangeButton(s.range));
        w.next();
    }
    if (w.current() == PAGE_EV_COUNT_PERIOD) {
        auto* period = w.as<SetupZevCountPeriodForm>(PAGE_EV_COUNT_PERIOD);
        if (period->periodBox()->isChecked() != s.ticked)
            WizardDriver::click(period->periodBox());
        if (s.ticked)
            for (int f = 0; f < 3; ++f)
                WizardDriver::retype(period->field(static_cast<SetupZevCountPeriodForm::Field>(f)),
                                     QString::fromLatin1(s.period[f]));
        w.next();
    }
    EXPECT_EQ(w.shown(), s.route);
    run.finish();
    std::vector<std::string> args = {"--name", "Door", "--input", s.voltFree ? "volt-free" : "voltage", "--leds",
                                     s.ledOff ? "off" : "on", "--event-mode"};
    const char* const modes[] = {"edges", "states", s.ticked ? "count-per-period" : "count-total"};
    args.push_back(modes[s.choice]);
    if (s.choice != EVENT_CHOICE_STATES)
        args.insert(args.end(), {"--edge", s.rising ? "rising" : "falling"});
    if (!s.voltFree)
        args.insert(args.end(), {"--voltage-range", std::vector<std::string>{"3", "5", "12", "24"}.at(s.range)});
    if (s.ticked)
        args.insert(args.end(), {"--count-period", std::to_string(s.countPeriod)});
    run.expectSetupCommandAgrees(args);

    const LoggerConfig held = run.loggerBlock();
    EXPECT_TRUE(held.isLogging());
    EXPECT_EQ(held.loggerName(), "Door");
    EXPECT_EQ(held.eventSampleMode(), s.mode);
    EXPECT_EQ((held.optionFlags() & EVENT_VOLT_FREE) != 0, s.voltFree);
    EXPECT_EQ(held.eventVoltageRange(), s.voltFree ? 0 : s.range);
    EXPECT_EQ((held.modeFlags() & MODE_LEDS_DISABLED) != 0, s.ledOff);
    if (s.mode == EVENT_MODE_COUNT_PER) {
        EXPECT_EQ(held.countPeriod(), s.countPeriod);
    }
    const std::string serial = held.serialNumberText();
    const std::string start = timeText(run.start);

    const std::vector<std::string> lines = run.download();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0], std::string("Door,Time,") + s.heading + ",Serial Number");
    switch (s.mode) {
    case EVENT_MODE_EDGE: {
        EXPECT_EQ(lines[1], "0," + start + ".0,," + serial);
        ASSERT_GE(lines.size(), 3u);
        for (std::size_t row = 2; row < lines.size(); ++row) {
            const std::vector<std::string> fields = split(lines[row], ",");
            ASSERT_EQ(fields.size(), 3u) << lines[row];
            EXPECT_EQ(fields[0], std::to_string(row - 1));
            EXPECT_EQ(fields[1].size(), 21u) << fields[1];   // with tenths
            EXPECT_EQ(fields[2], s.rising ? "1" : "0");
        }
        break;
    }
    case EVENT_MODE_STATE: {
        ASSERT_GE(lines.size(), 3u);
        std::string last;
        for (std::size_t row = 1; row < lines.size(); ++row) {
            const std::vector<std::string> fields = split(lines[row], ",");
            ASSERT_EQ(fields.size(), row == 1 ? 4u : 3u) << lines[row];
            EXPECT_TRUE(fields[2] == "0" || fields[2] == "1") << lines[row];
            EXPECT_NE(fields[2], last) << "a row without a change of state";
            last = fields[2];
        }
        EXPECT_EQ(split(lines[1], ",")[3], serial);
        break;
    }
    case EVENT_MODE_COUNT_TOTAL: {
        ASSERT_EQ(lines.size(), 2u);
        const std::vector<std::string> fields = split(lines[1], ",");
        ASSERT_EQ(fields.size(), 4u) << lines[1];
        EXPECT_EQ(fields[0], "1");
        EXPECT_EQ(fields[1], start);
        // The simulated input closes every 4 seconds.
        const unsigned long count = std::stoul(fields[2]);
        EXPECT_GE(count, static_cast<unsigned long>(RUN_SECONDS / 4));
        EXPECT_LE(count, static_cast<unsigned long>(RUN_SECONDS / 4 + 30));
        EXPECT_EQ(fields[3], serial);
        break;
    }
    case EVENT_MODE_COUNT_PER: {
        const std::size_t periods = RUN_SECONDS / s.countPeriod;
        ASSERT_EQ(lines.size() - 1, periods);
        for (std::size_t row = 1; row < lines.size(); ++row) {
            const std::vector<std::string> fields = split(lines[row], ",");
            ASSERT_EQ(fields.size(), row == 1 ? 4u : 3u) << lines[row];
            CalendarTime at = run.start;
            addSeconds(at, row * s.countPeriod);
            EXPECT_EQ(fields[1], timeText(at));
            EXPECT_EQ(fields[2].find_first_not_of("0123456789"), std::string::npos) << fields[2];
        }
        break;
    }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Modes, EventEndToEnd,
    ::testing::Values(
        EventSetup{"EdgesRisingOnVoltage", EVENT_CHOICE_EDGES, true, false, false, 2, false, {},
                   {PAGE_EV_NAME, PAGE_EV_TRIGGER_MODE, PAGE_EV_VOLTAGE_TRIGGER, PAGE_SETUP_START},
                   EVENT_MODE_EDGE, 0, "Event(Rising)"},
        EventSetup{"EdgesFallingVoltFree", EVENT_CHOICE_EDGES, false, true, true, 0, false, {},
                   {PAGE_EV_NAME, PAGE_EV_TRIGGER_MODE, PAGE_SETUP_START},
                   EVENT_MODE_EDGE, 0, "Event(Falling)"},
        EventSetup{"StateChangesVoltFree", EVENT_CHOICE_STATES, true, true, false, 0, false, {},
                   {PAGE_EV_NAME, PAGE_EV_TRIGGER_MODE, PAGE_SETUP_START},
                   EVENT_MODE_STATE, 0, "Event(State)"},
        EventSetup{"CountTotalOnVoltage", EVENT_CHOICE_COUNT, true, false, false, 3, false, {},
                   {PAGE_EV_NAME, PAGE_EV_TRIGGER_MODE, PAGE_EV_VOLTAGE_TRIGGER, PAGE_EV_COUNT_PERIOD,
                    PAGE_SETUP_START},
                   EVENT_MODE_COUNT_TOTAL, 0, "Event(Count Total)"},
        EventSetup{"CountPerHalfHourVoltFree", EVENT_CHOICE_COUNT, true, true, false, 0, true, {"0", "29", "60"},
                   {PAGE_EV_NAME, PAGE_EV_TRIGGER_MODE, PAGE_EV_COUNT_PERIOD, PAGE_SETUP_START},
                   EVENT_MODE_COUNT_PER, 1800, "Event(Count Per)"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace vessor
