// Set up and Start in the whole window on a simulated logger of every model:
// the agreement and naming pages at the head of each sequence, forwards,
// back again, and Cancel, with nothing written to the logger.
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include "config_utility/shell/utility_window.h"
#include "config_utility/support/sim_fixture.h"
#include "config_utility/support/user_input.h"
#include "config_utility/wizard/agreement_pages.h"
#include "config_utility/wizard/name_pages.h"
#include "config_utility/wizard/page_sequence.h"

namespace vessor {
namespace {

using test::click;

class WizardWalk : public ::testing::TestWithParam<int> {};

TEST_P(WizardWalk, HeadOfTheSequenceForwardBackAndCancel)
{
    const int model = GetParam();
    test::SimFixture f(model);
    UtilityWindow window(f.session, f.samples, f.ui, f.desktop, f.clock, f.locale);
    window.show();
    const ConfigBlock onLogger = f.loggerBlock().block();

    window.setUp();
    ASSERT_EQ(window.currentPage(), entryPage(model)) << ::testing::PrintToString(f.ui.texts());

    // Agreement first (CO and professional loggers).
    int agreement = NO_PAGE;
    if (auto* page = dynamic_cast<AgreementPage*>(window.page(window.currentPage()))) {
        agreement = page->pageNumber();
        EXPECT_FALSE(page->nextButton()->isEnabled());
        click(page->agreeButton());
        click(page->nextButton());
        ASSERT_EQ(window.currentPage(), nextPage(agreement, f.config));
    }

    // The naming page of the model.
    auto* naming = dynamic_cast<NamingPage*>(window.page(window.currentPage()));
    ASSERT_NE(naming, nullptr) << "page " << window.currentPage();
    const int namePage = naming->pageNumber();
    const QString name = QStringLiteral("Walk %1").arg(model);
    naming->nameEdit()->setText(name);
    click(naming->nextButton());
    EXPECT_TRUE(f.ui.texts().empty()) << ::testing::PrintToString(f.ui.texts());
    EXPECT_EQ(f.config.loggerName(), name.toStdString());
    const int following = window.currentPage();
    EXPECT_EQ(following, nextPage(namePage, f.config));
    EXPECT_NE(following, namePage);

    // Returning shows what was stored; Back leads where the tables say, an
    // inert Back stays, and the agreement must be given again.
    window.showPage(namePage);
    EXPECT_EQ(naming->nameEdit()->text(), name);
    const int back = backPage(namePage, f.config);
    if (naming->backButton()->isEnabled())
        click(naming->backButton());
    if (back == NO_PAGE) {
        EXPECT_EQ(window.currentPage(), namePage);
    } else {
        EXPECT_EQ(back, agreement);
        EXPECT_EQ(window.currentPage(), agreement);
        auto* page = static_cast<AgreementPage*>(window.page(agreement));
        EXPECT_TRUE(page->disagreeButton()->isChecked());
        EXPECT_FALSE(page->nextButton()->isEnabled());
    }

    auto* current = static_cast<WizardPage*>(window.page(window.currentPage()));
    click(current->cancelButton());
    EXPECT_EQ(window.currentPage(), PAGE_MAIN_MENU);
    EXPECT_EQ(f.loggerBlock().block(), onLogger);
}

// The event logger's naming page belongs to the event pages.
INSTANTIATE_TEST_SUITE_P(EveryModel, WizardWalk,
                         ::testing::Values(1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 18));

} // namespace
} // namespace vessor
