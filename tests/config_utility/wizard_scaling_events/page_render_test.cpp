// The custom scaling and event logger pages laid out at the window's size on
// a logger of a fitting model: no text may be cut off or fall outside the
// page. With VESSOR_RENDER_DIR set, the pages are also saved there as PNG.
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>

#include "config_utility/support/layout_check.h"
#include "config_utility/support/sim_fixture.h"
#include "config_utility/wizard/wizard_factory.h"

namespace vessor {
namespace {

struct RenderCase {
    const char* name;
    int model;
    int page;
    std::function<void(LoggerConfig&)> edit;
};

using test::clippedTexts;

class PageRendering : public ::testing::TestWithParam<RenderCase> {};

TEST_P(PageRendering, FitsItsTexts)
{
    const RenderCase& c = GetParam();
    test::SimFixture f(c.model);
    if (c.edit)
        f.editBlock(c.edit);
    ASSERT_TRUE(f.session.refresh());
    std::unique_ptr<Page> page(createWizardPage(c.page, f.context, nullptr));
    ASSERT_NE(page, nullptr);
    page->setFixedSize(PAGE_WIDTH, PAGE_HEIGHT);
    page->updatePage();
    page->show();
    QApplication::processEvents();

    EXPECT_EQ(clippedTexts(page.get()), std::vector<std::string>{});

    if (const char* dir = std::getenv("VESSOR_RENDER_DIR")) {
        const QString path = QDir(QString::fromLocal8Bit(dir)).filePath(QString::fromLatin1(c.name) + ".png");
        EXPECT_TRUE(page->grab().save(path));
    }
}

void customScaling(LoggerConfig& c)
{
    c.setOptionFlags(1);
    c.setScaleUnit("\xB0" "C");
    c.setScaleInput1Text("0.5");
    c.setScaleOutput1Text("-40.125");
    c.setScaleInput2Text("9.5");
    c.setScaleOutput2Text("125");
}

INSTANTIATE_TEST_SUITE_P(
    Pages, PageRendering,
    ::testing::Values(
        RenderCase{"page09_custom_scaling", 4, PAGE_VOLTAGE_CAL, customScaling},
        RenderCase{"page09_custom_scaling_current", 7, PAGE_VOLTAGE_CAL,
                   [](LoggerConfig& c) {
                       customScaling(c);
                       c.setScaleUnit("mm/sec");
                   }},
        RenderCase{"page21_event_name", 17, PAGE_EV_NAME,
                   [](LoggerConfig& c) { c.setLoggerName("Door \xB0" "Switch"); }},
        RenderCase{"page22_event_trigger", 17, PAGE_EV_TRIGGER_MODE, nullptr},
        RenderCase{"page22_event_trigger_count_per", 17, PAGE_EV_TRIGGER_MODE,
                   [](LoggerConfig& c) { c.setEventSampleMode(EVENT_MODE_COUNT_PER); }},
        RenderCase{"page22_event_trigger_state", 17, PAGE_EV_TRIGGER_MODE,
                   [](LoggerConfig& c) { c.setEventSampleMode(EVENT_MODE_STATE); }},
        RenderCase{"page23_event_voltage_range", 17, PAGE_EV_VOLTAGE_TRIGGER, nullptr},
        RenderCase{"page24_event_count_period", 17, PAGE_EV_COUNT_PERIOD,
                   [](LoggerConfig& c) {
                       c.setEventSampleMode(EVENT_MODE_COUNT_PER);
                       c.setCountPeriod(99 * 3600 + 59 * 60 + 59);
                   }},
        RenderCase{"page24_event_count_total", 17, PAGE_EV_COUNT_PERIOD,
                   [](LoggerConfig& c) { c.setEventSampleMode(EVENT_MODE_COUNT_TOTAL); }}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace vessor
