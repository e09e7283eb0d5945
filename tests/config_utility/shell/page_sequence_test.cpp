// The set-up page order of every model, walked forwards with Next and
// backwards with Back, and the live-clock flags raised on the way.
#include <QPushButton>

#include <gtest/gtest.h>

#include "config_utility/support/page_fixture.h"
#include "config_utility/wizard/page_sequence.h"
#include "config_utility/wizard/wizard_page.h"

namespace vessor {
namespace {

struct SequenceCase {
    const char* name;
    int model;
    std::uint8_t optionFlags;
    std::vector<int> pages;  // entry page first, the Finish page last
    int backFromFirst;       // Back on the entry page
};

class PageSequence : public ::testing::TestWithParam<SequenceCase> {};

TEST_P(PageSequence, NextWalksTheModelsPagesAndBackWalksThemInReverse)
{
    const SequenceCase& c = GetParam();
    LoggerConfig config;
    config.setModelType(c.model);
    config.setOptionFlags(c.optionFlags);

    std::vector<int> forward{entryPage(c.model)};
    while (forward.size() < 10) {
        const int next = nextPage(forward.back(), config);
        if (next == NO_PAGE)
            break;
        forward.push_back(next);
    }
    EXPECT_EQ(forward, c.pages);

    std::vector<int> backward{c.pages.back()};
    while (backward.size() < c.pages.size())
        backward.push_back(backPage(backward.back(), config));
    EXPECT_EQ(std::vector<int>(backward.rbegin(), backward.rend()), c.pages);
    EXPECT_EQ(backPage(c.pages.front(), config), c.backFromFirst);
}

constexpr std::uint8_t VOLT_FREE = EVENT_VOLT_FREE;
constexpr std::uint8_t mode(int m) { return static_cast<std::uint8_t>(m << 4); }

INSTANTIATE_TEST_SUITE_P(
    EveryModel, PageSequence,
    ::testing::Values(
        SequenceCase{"ZR_T_64", 1, 0, {1, 2, 3}, NO_PAGE},
        SequenceCase{"ZR_T", 2, 1, {1, 2, 3}, NO_PAGE},
        SequenceCase{"ZR_TH", 3, 0, {1, 2, 7, 3}, NO_PAGE},
        SequenceCase{"ZR_V_standard", 4, 0, {8, 10, 3}, NO_PAGE},
        SequenceCase{"ZR_V_custom", 4, 1, {8, 9, 10, 3}, NO_PAGE},
        SequenceCase{"ZR_A_custom", 5, 1, {8, 9, 10, 3}, NO_PAGE},
        SequenceCase{"ZR_V_text", 6, 0, {8, 10, 3}, NO_PAGE},
        SequenceCase{"ZR_A_text_custom", 7, 1, {8, 9, 10, 3}, NO_PAGE},
        SequenceCase{"ZR_T_MINI", 8, 0, {11, 12, 3}, NO_PAGE},
        SequenceCase{"ZR_CO", 9, 0, {14, 13, 15, 3}, 0},
        SequenceCase{"ZR_TC", 10, 0x21, {16, 10, 3}, NO_PAGE},
        SequenceCase{"ZR_CO_300", 11, 0, {14, 13, 15, 3}, 0},
        SequenceCase{"ZR_TH_D", 12, 0, {1, 17, 2, 7, 18}, NO_PAGE},
        SequenceCase{"ZR_TH_X", 13, 0, {1, 19, 2, 7, 3}, NO_PAGE},
        SequenceCase{"ZR_T_PRO", 14, 0, {20, 1, 19, 10, 3}, 0},
        SequenceCase{"ZR_TC_D", 15, 0x10, {16, 17, 10, 18}, NO_PAGE},
        SequenceCase{"ZR_TH_DX", 16, 1, {1, 17, 2, 7, 18}, NO_PAGE},
        SequenceCase{"ZR_EV_voltage_edge", 17, mode(0), {21, 22, 23, 3}, NO_PAGE},
        SequenceCase{"ZR_EV_voltage_state", 17, mode(1), {21, 22, 23, 3}, NO_PAGE},
        SequenceCase{"ZR_EV_voltage_total", 17, mode(2), {21, 22, 23, 24, 3}, NO_PAGE},
        SequenceCase{"ZR_EV_voltage_per", 17, mode(3), {21, 22, 23, 24, 3}, NO_PAGE},
        SequenceCase{"ZR_EV_voltfree_edge", 17, VOLT_FREE | mode(0), {21, 22, 3}, NO_PAGE},
        SequenceCase{"ZR_EV_voltfree_per", 17, VOLT_FREE | mode(3), {21, 22, 24, 3}, NO_PAGE},
        SequenceCase{"ZR_T_RC", 18, 0, {1, 19, 10, 3}, NO_PAGE},
        SequenceCase{"unknown_model", 0, 0, {1, 2, 3}, NO_PAGE},
        SequenceCase{"model_above_table", 200, 0, {1, 2, 3}, NO_PAGE}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PageSequenceEdges, PagesOutsideTheWizardLeadNowhereAndTheConfirmationReturnsHome)
{
    LoggerConfig config;
    config.setModelType(3);
    for (int page : {0, 5, 6, 3, 18, 25, -1, 1000})
        EXPECT_EQ(nextPage(page, config), NO_PAGE) << page;
    EXPECT_EQ(nextPage(PAGE_SETUP_SUMMARY, config), PAGE_MAIN_MENU);
    EXPECT_EQ(backPage(PAGE_SETUP_SUMMARY, config), NO_PAGE);
    EXPECT_EQ(backPage(25, config), NO_PAGE);
}

TEST(PageSequenceEdges, OnlyTheProfessionalModelEnablesBackOnTheNamePage)
{
    LoggerConfig config;
    for (int model = 0; model <= 18; ++model) {
        config.setModelType(model);
        EXPECT_EQ(isBackEnabled(PAGE_SETUP_NAME, config), model == 14) << model;
    }
    for (int page : {8, 11, 16, 21})
        EXPECT_TRUE(isBackInert(page)) << page;
    for (int page : {1, 2, 3, 14, 20, 22})
        EXPECT_FALSE(isBackInert(page)) << page;
}

// The frame's default Next raises the flag of the start page it leads to,
// and the inert Back of a first page switches nowhere.
struct FlagCase {
    int model;
    bool pushButtonMode;
    int page;
    int target;
    bool liveStart;
    bool livePush;
};

class WizardFrameFlags : public ::testing::TestWithParam<FlagCase> {};

TEST_P(WizardFrameFlags, NextRaisesTheStartPagesLiveClockFlag)
{
    const FlagCase& c = GetParam();
    test::PageFixture f;
    f.config.setModelType(c.model);
    f.config.setPushButtonMode(c.pushButtonMode);
    WizardPage page(c.page, f.context);
    page.nextButton()->click();
    EXPECT_EQ(f.shown, std::vector<int>{c.target});
    EXPECT_EQ(f.context.liveStartClock, c.liveStart);
    EXPECT_EQ(f.context.livePushClock, c.livePush);
}

INSTANTIATE_TEST_SUITE_P(
    StartPages, WizardFrameFlags,
    ::testing::Values(FlagCase{3, false, 7, 3, true, false},
                      FlagCase{12, false, 7, 18, false, true},
                      // Already waiting for the button: the pickers do not follow the clock.
                      FlagCase{12, true, 7, 18, false, false},
                      FlagCase{15, false, 10, 18, false, true},
                      FlagCase{8, false, 12, 3, true, false},
                      FlagCase{3, false, 1, 2, false, false}));

TEST(WizardFrame, InertBackDoesNothingAndCancelReturnsToTheMainMenu)
{
    test::PageFixture f;
    f.config.setModelType(4);
    WizardPage first(PAGE_VOLTAGE_NAME, f.context);
    first.backButton()->click();
    EXPECT_TRUE(f.shown.empty());
    first.cancelButton()->click();
    EXPECT_EQ(f.shown, std::vector<int>{PAGE_MAIN_MENU});

    f.shown.clear();
    WizardPage alarms(PAGE_VOLTAGE_ALARMS, f.context);
    alarms.backButton()->click();
    EXPECT_EQ(f.shown, std::vector<int>{PAGE_VOLTAGE_NAME});
}

} // namespace
} // namespace vessor
