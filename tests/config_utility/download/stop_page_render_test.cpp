// The stop page laid out at the window's size: no text cut off. With
// VESSOR_RENDER_DIR set, each case is also saved there as a PNG picture.
#include <QAbstractButton>
#include <QDir>
#include <QLabel>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

#include "config_utility/download/stop_info_form.h"
#include "config_utility/support/page_fixture.h"

namespace vessor {
namespace {

std::vector<std::string> clippedTexts(QWidget* page)
{
    std::vector<std::string> clipped;
    auto inside = [page](QWidget* w) {
        return page->rect().contains(QRect(w->mapTo(page, QPoint(0, 0)), w->size()));
    };
    for (QLabel* label : page->findChildren<QLabel*>()) {
        if (label->isVisibleTo(page) && !label->text().isEmpty() &&
            (label->sizeHint().width() > label->width() || !inside(label)))
            clipped.push_back(label->text().toStdString());
    }
    for (QAbstractButton* button : page->findChildren<QAbstractButton*>()) {
        if (button->sizeHint().width() > button->width() || !inside(button))
            clipped.push_back(button->text().toStdString());
    }
    return clipped;
}

TEST(StopPageRender, NothingCutOff)
{
    const struct {
        const char* name;
        std::function<void(LoggerConfig&)> edit;
    } cases[] = {
        {"readings",
         [](LoggerConfig& c) {
             c.setModelType(MODEL_ZR_TH);
             c.setLoggerName("Freezer/1.a");
             c.setReadingCount(16000);
         }},
        {"memory-usage",
         [](LoggerConfig& c) {
             c.setModelType(MODEL_ZR_EV);
             c.setLoggerName("WWWWWWWWWWWWWWW");
             c.setEventSampleMode(EVENT_MODE_EDGE);
             c.setU16At(field::MEMORY_CAPACITY, 16383);
             c.setReadingCount(4021);
         }},
        {"no-readings",
         [](LoggerConfig& c) {
             c.setModelType(MODEL_ZR_T);
             c.setLoggerName("K\xFChlraum \xB0" "C");
             c.setReadingCount(0);
         }},
    };
    const char* renderDir = std::getenv("VESSOR_RENDER_DIR");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::PageFixture f;
        c.edit(f.config);
        StopInfoForm page(f.context);
        page.updatePage();
        page.show();
        EXPECT_EQ(clippedTexts(&page), std::vector<std::string>{});
        if (renderDir)
            page.grab().save(QDir(QString::fromLocal8Bit(renderDir))
                                 .filePath(QStringLiteral("stop-page-%1.png").arg(c.name)));
    }
}

} // namespace
} // namespace vessor
