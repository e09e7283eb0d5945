#include "config_utility/support/page_render.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDir>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "config_utility/support/layout_check.h"
#include "config_utility/support/sim_fixture.h"
#include "config_utility/wizard/wizard_factory.h"

namespace vessor::test {

void checkPageFitsItsTexts(const PageRenderCase& c)
{
    SimFixture f(c.model);
    if (c.edit)
        f.editBlock(c.edit);
    ASSERT_TRUE(f.session.refresh());
    f.context.liveStartClock = true;
    f.context.livePushClock = true;
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
        // The first drop-down list opened, to see its entries.
        if (auto* combo = page->findChild<QComboBox*>()) {
            combo->showPopup();
            QApplication::processEvents();
            const QString listPath =
                QDir(QString::fromLocal8Bit(dir)).filePath(QString::fromLatin1(c.name) + "_list.png");
            EXPECT_TRUE(combo->view()->window()->grab().save(listPath));
            combo->hidePopup();
        }
    }
}

} // namespace vessor::test
