// The custom scaling and event logger pages laid out at the window's size on
// a logger of a fitting model: no text may be cut off or fall outside the
// page. With VESSOR_RENDER_DIR set, the pages are also saved there as PNG.
#include <gtest/gtest.h>

#include "config_utility/shell/page.h"
#include "config_utility/support/page_render.h"

namespace vessor {
namespace {

using RenderCase = test::PageRenderCase;

class PageRendering : public ::testing::TestWithParam<RenderCase> {};

TEST_P(PageRendering, FitsItsTexts)
{
    test::checkPageFitsItsTexts(GetParam());
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
