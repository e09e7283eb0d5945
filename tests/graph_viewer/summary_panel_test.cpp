// The summary as the panel writes it (headline, values with their decimals,
// unit and the locale's numbers) and View > Summary following the zoom.
#include "chart/chart2d.h"
#include "shell/command_ids.h"
#include "shell/main_frame.h"
#include "shell/qt_user_interface.h"
#include "shell/vessor_graph_app.h"
#include "summary/summary_panel.h"
#include "summary/summary_text.h"
#include "view/vessor_graph_view.h"

#include <QAction>
#include <QApplication>
#include <QDockWidget>
#include <QMouseEvent>
#include <QSettings>
#include <QTextBrowser>

#include <gtest/gtest.h>

namespace vessor::graph {
namespace {

using download::AlarmKind;
using download::AlarmSummary;
using download::ChannelRole;
using download::ChannelSummary;
using download::Excursion;
using download::Summary;

ChannelSummary channel(const char* name, const char* unit, int decimals, ChannelRole role) {
    ChannelSummary c;
    c.role = role;
    c.name = name;
    c.unit = unit;
    c.decimals = decimals;
    c.count = 3;
    c.min = 18.25;
    c.max = 20.0;
    c.mean = 19.125;
    c.stddev = 0.5;
    c.maxAt = 2;
    return c;
}

AlarmSummary alarm(AlarmKind kind, const char* label, double level, int beyond) {
    AlarmSummary a;
    a.kind = kind;
    a.label = label;
    a.level = level;
    a.readings = beyond;
    a.longestRun = beyond;
    if (beyond > 0)
        a.excursions.push_back(Excursion{1, beyond, level, false});
    return a;
}

Summary summaryOf(std::vector<ChannelSummary> channels) {
    Summary s;
    s.title = "Cold Store";
    s.startTime = 1'173'105'000; // 2007-03-05 14:30:00
    s.interval = 60;
    s.range = {0, 3};
    s.channels = std::move(channels);
    return s;
}

TEST(SummaryText, TheHeadlineNamesWhatWasCrossed) {
    ChannelSummary celsius = channel("Celsius", "°C", 1, ChannelRole::Primary);
    ChannelSummary humidity = channel("Humidity", "%rh", 1, ChannelRole::Secondary);
    const struct {
        std::vector<AlarmSummary> celsius, humidity;
        QString headline;
    } cases[] = {
        {{}, {}, QStringLiteral("No alarm levels in this file")},
        {{alarm(AlarmKind::High, "High Alarm", 30, 0)}, {}, QStringLiteral("Within limits")},
        {{alarm(AlarmKind::High, "High Alarm", 30, 2), alarm(AlarmKind::Low, "Low Alarm", 10, 0)},
         {alarm(AlarmKind::Low, "Low Alarm rh", 20, 1)},
         QStringLiteral("Out of limits: Celsius above High Alarm, Humidity below Low Alarm rh")},
        {{alarm(AlarmKind::Warning, "Warning Level", 35, 1)}, {},
         QStringLiteral("Out of limits: Celsius above Warning Level")},
    };
    for (const auto& c : cases) {
        celsius.alarms = c.celsius;
        humidity.alarms = c.humidity;
        EXPECT_EQ(summaryHeadline(summaryOf({celsius, humidity})), c.headline);
    }
}

TEST(SummaryText, ValuesTimesAndLengthsInTheLocale) {
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    const QLocale german(QStringLiteral("de_DE"));
    const QString nbsp(QChar(0x00A0));
    EXPECT_EQ(summaryValue(19.125, 2, "°C", english), QStringLiteral("19.13") + nbsp + "°C");
    EXPECT_EQ(summaryValue(19.125, 1, "°C", german), QStringLiteral("19,1") + nbsp + "°C");
    EXPECT_EQ(summaryValue(1234.5, 0, "", german), QStringLiteral("1.235"));
    EXPECT_EQ(summaryValue(std::nullopt, 1, "°C", english), QStringLiteral("\u2014"));
    EXPECT_EQ(summaryTime(1'173'105'000, german), QStringLiteral("05.03.07 14:30:00"));
    const struct {
        std::int64_t seconds;
        const char* text;
    } lengths[] = {{0, "0 s"}, {45, "45 s"}, {60, "1 min"}, {3900, "1 h 05 min"},
                   {7200, "2 h"}, {90061, "1 d 01 h"}, {3 * 86400 + 59, "3 d"}};
    for (const auto& l : lengths)
        EXPECT_EQ(summaryDuration(l.seconds, english), QString::fromUtf8(l.text)) << l.seconds;
}

TEST(SummaryText, TheTablesCarryBothColumnsAndMissingValues) {
    ChannelSummary celsius = channel("Celsius", "°C", 1, ChannelRole::Primary);
    celsius.alarms = {alarm(AlarmKind::High, "High Alarm", 19.5, 2)};
    ChannelSummary dew = channel("dew point", "°C", 1, ChannelRole::Extra);
    dew.mkt = 99.0; // not the primary channel: never shown
    const Summary whole = summaryOf({celsius, dew});
    Summary visible = whole;
    visible.range = {1, 1}; // zoomed to no reading
    visible.channels[0].count = 0;
    visible.channels[0].min = visible.channels[0].max = visible.channels[0].mean = std::nullopt;
    SummaryTextContext context;
    context.fileName = QStringLiteral("cold & store.txt");
    context.locale = QLocale(QStringLiteral("de_DE"));
    const QString html = summaryHtml(whole, visible, context);
    EXPECT_TRUE(html.contains(QStringLiteral("cold &amp; store.txt")));
    EXPECT_TRUE(html.contains(QStringLiteral("19,1")));           // mean, one decimal
    EXPECT_TRUE(html.contains(QStringLiteral("0,50")));           // spread, one decimal more
    EXPECT_TRUE(html.contains(QStringLiteral("05.03.07 14:32:00"))); // maximum at reading 2
    EXPECT_TRUE(html.contains(QStringLiteral("2 min")));          // time beyond the level
    EXPECT_TRUE(html.contains(QStringLiteral("\u2014")));         // MKT and the empty range
    EXPECT_FALSE(html.contains(QStringLiteral("99,0")));
    EXPECT_FALSE(html.contains(QStringLiteral("Serial number")));
    context.serialNumber = QStringLiteral("000123456");
    EXPECT_TRUE(summaryHtml(whole, visible, context).contains(QStringLiteral("000123456")));
}

void settle() {
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
}

void dragBox(Chart2D& chart, double fx0, double fx1) {
    const QRect r = chart.plotRect();
    const auto at = [&r](double fx, double fy) {
        return QPoint(r.left() + static_cast<int>(r.width() * fx), r.top() + static_cast<int>(r.height() * fy));
    };
    QWidget* area = chart.mouseArea();
    const auto send = [area](QEvent::Type type, QPoint p, Qt::MouseButton button, Qt::MouseButtons buttons) {
        QMouseEvent event(type, QPointF(p), area->mapToGlobal(QPointF(p)), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(area, &event);
    };
    send(QEvent::MouseButtonPress, at(fx0, 0.1), Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseMove, at(fx1, 0.9), Qt::NoButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, at(fx1, 0.9), Qt::LeftButton, Qt::NoButton);
    settle();
}

TEST(SummaryPanel, ViewSummaryShowsThePanelThatFollowsTheZoom) {
    RecordingUserInterface ui;
    VessorGraphApp app;
    app.setUserInterface(ui);
    MainFrame& frame = app.frame();
    frame.resize(1024, 720);
    frame.show();
    QAction* toggle = frame.command(command::VIEW_SUMMARY);
    ASSERT_NE(toggle, nullptr);
    EXPECT_FALSE(frame.summaryDock()->isVisible());
    toggle->trigger();
    settle();
    ASSERT_TRUE(frame.summaryDock()->isVisible());
    QTextBrowser* text = frame.summaryPanel().text();
    EXPECT_TRUE(text->toPlainText().contains(QStringLiteral("No file is open")));

    app.OpenDocumentFile(QString::fromStdString(std::string(GRAPH_TEST_DATA) + "/temperature-day.txt"));
    settle();
    const QString full = text->toPlainText();
    EXPECT_TRUE(full.contains(QStringLiteral("Out of limits: Celsius below Low Alarm"))) << full.toStdString();
    EXPECT_TRUE(full.contains(QStringLiteral("temperature-day.txt")));
    EXPECT_EQ(full.count(QStringLiteral("288")), 2); // readings: whole file and visible range

    dragBox(app.view().chart(), 0.3, 0.6);
    ASSERT_EQ(app.view().zoomLevel(), 1);
    const download::ReadingRange shown = app.view().visibleReadings();
    EXPECT_GT(shown.from, 0);
    EXPECT_LT(shown.to, 288);
    const QString zoomed = text->toPlainText();
    EXPECT_NE(zoomed, full);
    EXPECT_EQ(zoomed.count(QStringLiteral("288")), 1);
    EXPECT_TRUE(zoomed.contains(QString::number(shown.to - shown.from)));

    // The energy is the user's and outlives the window; the dock's own close unchecks the menu.
    frame.summaryPanel().setActivationEnergy(100.0);
    EXPECT_DOUBLE_EQ(app.settings().value(QStringLiteral("Summary/ActivationEnergy")).toDouble(), 100.0);
    frame.summaryDock()->close();
    settle();
    EXPECT_FALSE(toggle->isChecked());
    VessorGraphApp again;
    EXPECT_DOUBLE_EQ(again.frame().summaryPanel().activationEnergy(), 100.0);
}

TEST(SummaryPanel, ASavedEnergyThatIsNoNumberGivesTheDefaultUnrounded) {
    VessorGraphApp app;
    app.settings().setValue(QStringLiteral("Summary/ActivationEnergy"), QStringLiteral("nonsense"));
    VessorGraphApp next;
    EXPECT_DOUBLE_EQ(next.frame().summaryPanel().activationEnergy(), download::DEFAULT_ACTIVATION_ENERGY);
}

} // namespace
} // namespace vessor::graph
