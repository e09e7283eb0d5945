// Renders this group's pages and the CO table dialog to PNG files for a look
// by eye. Runs only when VESSOR_RENDER_DIR names an output folder.
#include <QDir>
#include <QPixmap>

#include <gtest/gtest.h>

#include <cstdlib>

#include "config_utility/support/sim_fixture.h"
#include "config_utility/wizard/agreement_pages.h"
#include "config_utility/wizard/co_table_dialog.h"
#include "config_utility/wizard/name_pages.h"

namespace vessor {
namespace {

QString renderDir()
{
    const char* dir = std::getenv("VESSOR_RENDER_DIR");
    return dir ? QString::fromLocal8Bit(dir) : QString();
}

template <typename PageType>
void renderPage(int model, const char* file)
{
    test::SimFixture f(model);
    ASSERT_TRUE(f.session.refresh());
    PageType page(f.context);
    page.resize(PAGE_WIDTH, PAGE_HEIGHT);
    page.updatePage();
    page.show();
    EXPECT_TRUE(page.grab().save(QDir(renderDir()).filePath(QString::fromLatin1(file))));
}

TEST(RenderPages, WritesPictures)
{
    if (renderDir().isEmpty())
        GTEST_SKIP() << "set VESSOR_RENDER_DIR to render";
    renderPage<SetupNameForm>(MODEL_ZR_TH, "page01-zr-th.png");
    renderPage<SetupNameForm>(MODEL_ZR_T_PRO, "page01-zr-t-pro.png");
    renderPage<SetupVoltageNameForm>(MODEL_ZR_A, "page08-zr-a.png");
    renderPage<SetupLiteNameForm>(MODEL_ZR_T_MINI, "page11-zr-t-mini.png");
    renderPage<SetupCONameForm>(MODEL_ZR_CO, "page13-zr-co.png");
    renderPage<SetupCODisclaimerForm>(MODEL_ZR_CO, "page14-zr-co.png");
    renderPage<SetupTCNameForm>(MODEL_ZR_TC, "page16-zr-tc.png");
    renderPage<SetupPRODisclaimerForm>(MODEL_ZR_T_PRO, "page20-zr-t-pro.png");

    SetupCOTableDialog dialog;
    dialog.show();
    EXPECT_TRUE(dialog.grab().save(QDir(renderDir()).filePath(QStringLiteral("co-table.png"))));
}

} // namespace
} // namespace vessor
