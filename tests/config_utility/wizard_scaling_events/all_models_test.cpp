// Every model, from its entry page to a started logger, by pressing Next
// (and "I Agree" on the agreements) with what a factory logger holds: the
// page sequence of each model, and the logger started as configured.
#include <QRadioButton>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config_utility/support/sim_fixture.h"
#include "config_utility/wizard/agreement_pages.h"
#include "config_utility/wizard/page_sequence.h"
#include "wizard_driver.h"

namespace vessor {
namespace {

using test::WizardDriver;

struct Sequence {
    int model;
    std::vector<int> pages;   // entry page first, Finish on the last
};

class AllModels : public ::testing::TestWithParam<Sequence> {};

TEST_P(AllModels, WalkFromEntryPageToAStartedLogger)
{
    const Sequence& s = GetParam();
    test::SimFixture f(s.model);
    f.editBlock([](LoggerConfig& c) { c.setLoggerName("Walk"); });
    ASSERT_TRUE(f.session.refresh());
    WizardDriver wizard(f.context);
    wizard.start(entryPage(s.model));
    for (int step = 0; step < 10 && wizard.current() != PAGE_SETUP_SUMMARY; ++step) {
        if (auto* agreement = wizard.as<AgreementPage>(wizard.current()))
            WizardDriver::click(agreement->agreeButton());
        const int before = wizard.current();
        wizard.next();
        if (wizard.current() == before)
            break;   // refused: the messages say why
    }
    EXPECT_EQ(f.ui.texts(), std::vector<std::string>{});
    std::vector<int> expected = s.pages;
    expected.push_back(PAGE_SETUP_SUMMARY);
    EXPECT_EQ(wizard.shown(), expected);

    const LoggerConfig held = f.loggerBlock();
    EXPECT_TRUE(held.isLogging());
    EXPECT_EQ(held.loggerName(), "Walk");
    EXPECT_EQ(held.modelType(), s.model);
}

INSTANTIATE_TEST_SUITE_P(
    Models, AllModels,
    ::testing::Values(Sequence{1, {1, 2, 3}}, Sequence{2, {1, 2, 3}}, Sequence{3, {1, 2, 7, 3}},
                      Sequence{4, {8, 10, 3}}, Sequence{5, {8, 10, 3}}, Sequence{6, {8, 10, 3}},
                      Sequence{7, {8, 10, 3}}, Sequence{8, {11, 12, 3}}, Sequence{9, {14, 13, 15, 3}},
                      Sequence{10, {16, 10, 3}}, Sequence{11, {14, 13, 15, 3}},
                      Sequence{12, {1, 17, 2, 7, 18}}, Sequence{13, {1, 19, 2, 7, 3}},
                      Sequence{14, {20, 1, 19, 10, 3}}, Sequence{15, {16, 17, 10, 18}},
                      Sequence{16, {1, 17, 2, 7, 18}}, Sequence{17, {21, 22, 23, 3}},
                      Sequence{18, {1, 19, 10, 3}}),
    [](const auto& info) { return "Model" + std::to_string(info.param.model); });

} // namespace
} // namespace vessor
