// Every page of this part of the wizard laid out at the window's size on a
// logger of a fitting model: no text may be cut off. With
// VESSOR_RENDER_DIR set, the pages are also saved there as PNG pictures.
#include <QPixmap>

#include <gtest/gtest.h>

#include <memory>

#include "config_utility/support/page_render.h"
#include "config_utility/support/sim_fixture.h"
#include "config_utility/wizard/wizard_factory.h"
#include "config_utility/wizard/wizard_page.h"
#include "logger/conversion.h"

namespace vessor {
namespace {

using RenderCase = test::PageRenderCase;

class PageRendering : public ::testing::TestWithParam<RenderCase> {};

TEST_P(PageRendering, FitsItsTexts)
{
    test::checkPageFitsItsTexts(GetParam());
}

INSTANTIATE_TEST_SUITE_P(
    Pages, PageRendering,
    ::testing::Values(
        RenderCase{"page02_temperature_alarms", 3, PAGE_SETUP_ALARMS, nullptr},
        RenderCase{"page02_temperature_alarms_f", 2, PAGE_SETUP_ALARMS,
                   [](LoggerConfig& c) {
                       c.setOptionFlags(1);
                       c.setCalGradient(0.9f);
                       c.setAlarmFlags(ALARM_LOW_ENABLED);
                   }},
        RenderCase{"page07_humidity_alarms", 3, PAGE_RH_ALARMS, nullptr},
        RenderCase{"page12_lite_alarms", 8, PAGE_LITE_ALARMS, nullptr},
        RenderCase{"page10_voltage_alarms", 4, PAGE_VOLTAGE_ALARMS, nullptr},
        RenderCase{"page10_current_text_alarms", 7, PAGE_VOLTAGE_ALARMS, nullptr},
        RenderCase{"page10_pro_alarms", 14, PAGE_VOLTAGE_ALARMS, nullptr},
        RenderCase{"page10_thermocouple_alarms", 15, PAGE_VOLTAGE_ALARMS, nullptr},
        RenderCase{"page15_co_alarms", 11, PAGE_CO_ALARMS, nullptr},
        RenderCase{"page15_co_alarms_led_off", 9, PAGE_CO_ALARMS,
                   [](LoggerConfig& c) { c.setAlarmFlags(0); }},
        RenderCase{"page03_start", 2, PAGE_SETUP_START, nullptr},
        RenderCase{"page18_push_to_start", 12, PAGE_PUSH_TO_START, nullptr},
        RenderCase{"page18_push_to_start_button", 16, PAGE_PUSH_TO_START,
                   [](LoggerConfig& c) { c.setPushButtonMode(true); }},
        RenderCase{"page17_display", 12, PAGE_LCD, nullptr},
        RenderCase{"page19_storage_mode", 13, PAGE_STORAGE_MODE, nullptr},
        RenderCase{"page04_summary", 3, PAGE_SETUP_SUMMARY,
                   [](LoggerConfig& c) { c.setLoggerName("Cold Store \xB0" "4"); }}),
    [](const auto& info) { return std::string(info.param.name); });

// The picture on the left fits what the logger measures: the numeric alarm
// page shows a meter for voltage and current, the thermometer for
// temperature; the CO page a gas cloud.
TEST(AlarmPagePictures, FitTheQuantity)
{
    struct Case {
        int model;
        int page;
        const char* picture;
    };
    const char* meter = ":/vessor-usb/panel-alarms-meter.png";
    const char* gas = ":/vessor-usb/panel-alarms-gas.png";
    for (const Case& c : {Case{4, PAGE_VOLTAGE_ALARMS, meter}, Case{5, PAGE_VOLTAGE_ALARMS, meter},
                          Case{6, PAGE_VOLTAGE_ALARMS, meter}, Case{7, PAGE_VOLTAGE_ALARMS, meter},
                          Case{10, PAGE_VOLTAGE_ALARMS, PICTURE_ALARMS}, Case{14, PAGE_VOLTAGE_ALARMS, PICTURE_ALARMS},
                          Case{15, PAGE_VOLTAGE_ALARMS, PICTURE_ALARMS}, Case{18, PAGE_VOLTAGE_ALARMS, PICTURE_ALARMS},
                          Case{9, PAGE_CO_ALARMS, gas}, Case{11, PAGE_CO_ALARMS, gas},
                          Case{3, PAGE_SETUP_ALARMS, PICTURE_ALARMS}}) {
        test::SimFixture f(c.model);
        ASSERT_TRUE(f.session.refresh());
        std::unique_ptr<Page> page(createWizardPage(c.page, f.context, nullptr));
        page->updatePage();
        auto* wizardPage = dynamic_cast<WizardPage*>(page.get());
        ASSERT_NE(wizardPage, nullptr);
        EXPECT_EQ(wizardPage->picture().toStdString(), c.picture) << "model " << c.model;
        EXPECT_FALSE(QPixmap(QString::fromLatin1(c.picture)).isNull()) << c.picture;
    }
    // One page object serves every model: it follows the logger on refresh.
    test::SimFixture f(4);
    ASSERT_TRUE(f.session.refresh());
    std::unique_ptr<Page> page(createWizardPage(PAGE_VOLTAGE_ALARMS, f.context, nullptr));
    page->updatePage();
    f.config.setModelType(14);
    page->updatePage();
    EXPECT_EQ(static_cast<WizardPage*>(page.get())->picture().toStdString(), PICTURE_ALARMS);
}

} // namespace
} // namespace vessor
