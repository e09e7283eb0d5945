// What the user does to the chart on screen: zoom boxes dragged with the
// mouse, zoom out, the scroll bars and the wheel, the readout, help and
// printing. Mouse, wheel and scroll-bar events go through the widgets as the
// window system would deliver them.
#include "chart/chart2d.h"
#include "shell/command_ids.h"
#include "shell/help_pages.h"
#include "shell/main_frame.h"
#include "shell/qt_user_interface.h"
#include "shell/vessor_graph_app.h"
#include "view/vessor_graph_view.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QScrollBar>
#include <QStandardPaths>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QToolBar>
#include <QTemporaryDir>
#include <QWheelEvent>

#include "qt_printers.h"

#include <gtest/gtest.h>

#include <fstream>

namespace vessor::graph {
namespace {

const std::string DATA_DIR = GRAPH_TEST_DATA;

void settle() {
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
}

// A mouse event delivered to the chart as the window system would.
void sendMouse(Chart2D& chart, QEvent::Type type, QPoint p, Qt::MouseButton button,
               Qt::MouseButtons buttons) {
    QWidget* area = chart.mouseArea();
    QMouseEvent event(type, QPointF(p), area->mapToGlobal(QPointF(p)), button, buttons,
                      Qt::NoModifier);
    QApplication::sendEvent(area, &event);
}

void dragBox(Chart2D& chart, QPoint from, QPoint to) {
    sendMouse(chart, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    sendMouse(chart, QEvent::MouseMove, (from + to) / 2, Qt::NoButton, Qt::LeftButton);
    sendMouse(chart, QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
    sendMouse(chart, QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
    settle();
}

QPoint inPlot(Chart2D& chart, double fx, double fy) {
    const QRect r = chart.plotRect();
    return {r.left() + static_cast<int>(r.width() * fx),
            r.top() + static_cast<int>(r.height() * fy)};
}

// Where a part of a scroll bar (an arrow, the thumb) lies.
QRect barPart(QScrollBar* bar, QStyle::SubControl part) {
    QStyleOptionSlider option;
    option.initFrom(bar);
    option.orientation = bar->orientation();
    if (bar->orientation() == Qt::Horizontal)
        option.state |= QStyle::State_Horizontal;
    option.minimum = bar->minimum();
    option.maximum = bar->maximum();
    option.sliderPosition = bar->sliderPosition();
    option.sliderValue = bar->value();
    option.singleStep = bar->singleStep();
    option.pageStep = bar->pageStep();
    option.subControls = QStyle::SC_All;
    return bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, part, bar);
}

void sendBarMouse(QScrollBar* bar, QEvent::Type type, QPoint p, Qt::MouseButtons buttons) {
    QMouseEvent event(type, QPointF(p), bar->mapToGlobal(QPointF(p)), Qt::LeftButton, buttons,
                      Qt::NoModifier);
    QApplication::sendEvent(bar, &event);
}

// The view on screen at 1024 x 768 with a file open.
struct Screen {
    std::string dataFilePath;
    VessorGraphDoc doc{dataFilePath};
    QMenu menu;
    VessorGraphView view{doc};

    explicit Screen(const std::string& file) {
        view.setTraceMenu(&menu);
        view.resize(1024, 768);
        view.show();
        open(file);
    }
    void open(const std::string& file) {
        doc.openDocument(DATA_DIR + "/" + file);
        view.initialUpdate();
        settle();
    }
    Chart2D& chart() { return view.chart(); }
    QRect plot() { return chart().plotRect(); }
    QPoint at(double fx, double fy) { return inPlot(chart(), fx, fy); }
    void mouse(QEvent::Type type, QPoint p, Qt::MouseButton button, Qt::MouseButtons buttons) {
        sendMouse(chart(), type, p, button, buttons);
    }
    void press(QPoint p) { mouse(QEvent::MouseButtonPress, p, Qt::LeftButton, Qt::LeftButton); }
    void dragTo(QPoint p) { mouse(QEvent::MouseMove, p, Qt::NoButton, Qt::LeftButton); }
    void release(QPoint p) { mouse(QEvent::MouseButtonRelease, p, Qt::LeftButton, Qt::NoButton); }
    void hover(QPoint p) { mouse(QEvent::MouseMove, p, Qt::NoButton, Qt::NoButton); }
    void drag(QPoint from, QPoint to) { dragBox(chart(), from, to); }
    void doubleClick(QPoint p) {
        press(p);
        release(p);
        mouse(QEvent::MouseButtonDblClick, p, Qt::LeftButton, Qt::LeftButton);
        release(p);
        settle();
    }
    void wheel(QWidget* target, QPoint angle, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        const QPointF p(target->width() / 2.0, target->height() / 2.0);
        QWheelEvent event(p, target->mapToGlobal(p), QPoint(), angle, Qt::NoButton, modifiers,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(target, &event);
        settle();
    }
    // A click on a part of a scroll bar: an arrow, or the trough after the thumb.
    void clickBar(QScrollBar* bar, QStyle::SubControl part) {
        QPoint p = barPart(bar, part).center();
        if (part == QStyle::SC_ScrollBarAddPage) {
            const QRect thumb = barPart(bar, QStyle::SC_ScrollBarSlider);
            p = bar->orientation() == Qt::Horizontal ? QPoint(thumb.right() + 3, thumb.center().y())
                                                     : QPoint(thumb.center().x(), thumb.bottom() + 3);
        } else if (part == QStyle::SC_ScrollBarSubPage) {
            const QRect thumb = barPart(bar, QStyle::SC_ScrollBarSlider);
            p = bar->orientation() == Qt::Horizontal ? QPoint(thumb.left() - 3, thumb.center().y())
                                                     : QPoint(thumb.center().x(), thumb.top() - 3);
        }
        sendBarMouse(bar, QEvent::MouseButtonPress, p, Qt::LeftButton);
        sendBarMouse(bar, QEvent::MouseButtonRelease, p, Qt::NoButton);
        settle();
    }
    ZoomRange shown() {
        Chart2D& c = chart();
        return {static_cast<std::int64_t>(c.xMin()), static_cast<std::int64_t>(c.xMax()),
                c.yMin(Axis::Y1), c.yMax(Axis::Y1), c.yMin(Axis::Y2), c.yMax(Axis::Y2)};
    }
};

TEST(Zoom, ABoxDraggedInAnyDirectionZoomsTheSame) {
    ZoomRange first;
    for (int direction = 0; direction < 4; ++direction) {
        Screen s("humidity-day.txt");
        QPoint a = s.at(0.2, 0.25);
        QPoint b = s.at(0.6, 0.7);
        if (direction & 1)
            std::swap(a, b); // bottom-right to top-left
        if (direction & 2) { // the other diagonal
            const int ax = a.x();
            a.setX(b.x());
            b.setX(ax);
        }
        s.drag(a, b);
        ASSERT_EQ(s.view.zoomLevel(), 1) << direction;
        const ZoomRange z = s.view.zoomRange(1);
        if (direction == 0)
            first = z;
        EXPECT_EQ(z, first) << direction;
        // Whole readings across, whole tenths up and down, what the chart shows.
        EXPECT_EQ(z.xFrom % s.doc.interval, 0);
        EXPECT_LT(z.xFrom, z.xTo);
        EXPECT_NEAR(z.y1Min * 10, std::round(z.y1Min * 10), 1e-6);
        EXPECT_LT(z.y1Min, z.y1Max);
        EXPECT_LT(z.y2Min, z.y2Max);
        EXPECT_EQ(s.shown(), z) << direction;
        EXPECT_TRUE(s.view.horizontalBar()->isVisible());
        EXPECT_TRUE(s.view.verticalBar()->isVisible());
        EXPECT_EQ(s.view.band().x0, -1);
    }
    // The box lies inside the full view and well away from its edges.
    const ZoomRange full = Screen("humidity-day.txt").view.zoomRange(0);
    EXPECT_GT(first.xFrom, full.xFrom);
    EXPECT_LT(first.xTo, full.xTo);
    EXPECT_GT(first.y1Min, full.y1Min);
    EXPECT_LT(first.y1Max, full.y1Max);
}

TEST(Zoom, AReleaseOutsideThePlotKeepsTheLastCornerInside) {
    Screen inside("temperature-day.txt");
    const QPoint a = inside.at(0.2, 0.2);
    const QPoint corner = inside.at(0.7, 0.8);
    inside.drag(a, corner);

    Screen outside("temperature-day.txt");
    outside.press(a);
    outside.dragTo(corner);
    outside.release(QPoint(outside.plot().right() + 40, outside.plot().bottom() + 60));
    settle();
    EXPECT_EQ(outside.view.zoomRange(1), inside.view.zoomRange(1));

    // Dragged out past the edge, the corner stops at the edge.
    Screen edge("temperature-day.txt");
    edge.press(a);
    edge.dragTo(QPoint(edge.plot().right() + 80, corner.y()));
    edge.release(QPoint(edge.plot().right() + 80, corner.y()));
    settle();
    ASSERT_EQ(edge.view.zoomLevel(), 1);
    EXPECT_EQ(edge.view.zoomRange(1).xTo, edge.view.zoomRange(0).xTo);
    EXPECT_EQ(edge.view.zoomRange(1).y1Min, inside.view.zoomRange(1).y1Min);
}

TEST(Zoom, PressesThatDoNotZoom) {
    Screen s("temperature-day.txt");
    // Outside the plot: no band.
    s.press(QPoint(2, 2));
    EXPECT_EQ(s.view.band().x0, -1);
    s.release(QPoint(2, 2));
    // A click without a drag spans no time: abandoned.
    const ZoomRange before = s.shown();
    s.drag(s.at(0.5, 0.5), s.at(0.5, 0.5));
    EXPECT_EQ(s.view.zoomLevel(), 0);
    EXPECT_EQ(s.shown(), before);
    // The right button does not zoom.
    s.mouse(QEvent::MouseButtonPress, s.at(0.2, 0.2), Qt::RightButton, Qt::RightButton);
    s.mouse(QEvent::MouseMove, s.at(0.6, 0.6), Qt::NoButton, Qt::RightButton);
    s.mouse(QEvent::MouseButtonRelease, s.at(0.6, 0.6), Qt::RightButton, Qt::NoButton);
    EXPECT_EQ(s.view.zoomLevel(), 0);
    // Zoom Out at full view changes nothing.
    s.view.ZoomOut();
    EXPECT_EQ(s.view.zoomLevel(), 0);
    EXPECT_EQ(s.shown(), before);
}

TEST(Zoom, TwentyThreeLevelsThenTheMessageUntilZoomOut) {
    Screen s("temperature-day.txt");
    for (int level = 1; level <= 23; ++level) {
        s.drag(s.at(0.02, 0.02), s.at(0.98, 0.98));
        ASSERT_EQ(s.view.zoomLevel(), level);
    }
    const ZoomRange deepest = s.shown();
    s.press(s.at(0.3, 0.3));
    EXPECT_TRUE(s.view.maxZoomShown());
    EXPECT_EQ(s.chart().footer(), "Maximum zoom level reached.");
    s.dragTo(s.at(0.7, 0.7));
    s.release(s.at(0.7, 0.7));
    settle();
    EXPECT_EQ(s.view.zoomLevel(), 23);
    EXPECT_EQ(s.shown(), deepest);
    // Refused until Zoom Out, while the readout goes on.
    s.drag(s.at(0.3, 0.3), s.at(0.7, 0.7));
    EXPECT_EQ(s.view.zoomLevel(), 23);
    s.hover(s.at(0.5, 0.5));
    EXPECT_TRUE(s.chart().footer().contains(" : ")) << s.chart().footer().toStdString();

    s.view.ZoomOut();
    EXPECT_EQ(s.view.zoomLevel(), 22);
    EXPECT_FALSE(s.view.maxZoomShown());
    s.drag(s.at(0.02, 0.02), s.at(0.98, 0.98));
    EXPECT_EQ(s.view.zoomLevel(), 23);
}

TEST(Zoom, DoubleClickGoesBackOneLevelAndItsReleaseDoesNotZoom) {
    Screen s("humidity-day.txt");
    s.drag(s.at(0.1, 0.1), s.at(0.8, 0.8));
    const ZoomRange one = s.shown();
    s.drag(s.at(0.2, 0.2), s.at(0.6, 0.6));
    ASSERT_EQ(s.view.zoomLevel(), 2);
    s.doubleClick(s.at(0.5, 0.5));
    EXPECT_EQ(s.view.zoomLevel(), 1);
    EXPECT_EQ(s.shown(), one);
    s.doubleClick(s.at(0.5, 0.5));
    EXPECT_EQ(s.view.zoomLevel(), 0);
    EXPECT_FALSE(s.view.horizontalBar()->isVisible());
    EXPECT_FALSE(s.view.verticalBar()->isVisible());
    // A new drag works again afterwards.
    s.drag(s.at(0.2, 0.2), s.at(0.6, 0.6));
    EXPECT_EQ(s.view.zoomLevel(), 1);
}

TEST(Scroll, AtFullViewTheBarsAreHiddenAndScrollingIsIgnored) {
    Screen s("humidity-day.txt");
    const ZoomRange before = s.shown();
    EXPECT_FALSE(s.view.horizontalBar()->isVisible());
    EXPECT_FALSE(s.view.verticalBar()->isVisible());
    s.wheel(s.chart().mouseArea(), QPoint(0, -120));
    s.wheel(s.chart().mouseArea(), QPoint(0, 240), Qt::ShiftModifier);
    s.wheel(s.chart().mouseArea(), QPoint(-120, 0));
    for (ScrollCode code : {ScrollCode::LineDown, ScrollCode::PageDown, ScrollCode::EndScroll}) {
        s.view.scrollHorizontally(code);
        s.view.scrollVertically(code);
    }
    s.view.scrollHorizontally(ScrollCode::ThumbTrack, 3600);
    s.view.scrollHorizontally(ScrollCode::EndScroll);
    settle();
    EXPECT_EQ(s.shown(), before);
    EXPECT_EQ(s.view.zoomLevel(), 0);
}

TEST(Scroll, TheBarsMoveAZoomedViewWhenTheScrollEnds) {
    Screen s("humidity-day.txt");
    s.drag(s.at(0.3, 0.3), s.at(0.6, 0.6));
    ASSERT_EQ(s.view.zoomLevel(), 1);
    const ZoomRange z = s.shown();
    const std::int64_t interval = s.doc.interval;
    const std::int64_t width = z.xTo - z.xFrom;
    QScrollBar* h = s.view.horizontalBar();
    QScrollBar* v = s.view.verticalBar();

    // One reading to the right, then one to the left.
    s.clickBar(h, QStyle::SC_ScrollBarAddLine);
    EXPECT_EQ(s.shown().xFrom, z.xFrom + interval);
    EXPECT_EQ(s.shown().xTo, z.xTo + interval);
    s.clickBar(h, QStyle::SC_ScrollBarSubLine);
    EXPECT_EQ(s.shown().xFrom, z.xFrom);
    // A page: the visible width plus one reading.
    s.clickBar(h, QStyle::SC_ScrollBarAddPage);
    EXPECT_EQ(s.shown().xFrom, z.xFrom + width + interval);
    EXPECT_EQ(s.shown().xTo - s.shown().xFrom, width);
    EXPECT_TRUE(s.chart().footer().startsWith("From:- ")) << s.chart().footer().toStdString();
    // Paging on stops at the last reading with the width kept.
    for (int i = 0; i < 10; ++i)
        s.clickBar(h, QStyle::SC_ScrollBarAddPage);
    EXPECT_EQ(s.shown().xTo, s.view.zoomRange(0).xTo);
    EXPECT_EQ(s.shown().xTo - s.shown().xFrom, width);

    // The thumb dragged to the start: the chart follows only at the release.
    const QPoint grip = barPart(h, QStyle::SC_ScrollBarSlider).center();
    sendBarMouse(h, QEvent::MouseButtonPress, grip, Qt::LeftButton);
    sendBarMouse(h, QEvent::MouseMove, QPoint(grip.x() - h->width() / 2, grip.y()), Qt::LeftButton);
    sendBarMouse(h, QEvent::MouseMove, QPoint(0, grip.y()), Qt::LeftButton);
    settle();
    EXPECT_EQ(s.shown().xTo, s.view.zoomRange(0).xTo);
    EXPECT_EQ(s.view.horizontalThumb().pos, 0);
    sendBarMouse(h, QEvent::MouseButtonRelease, QPoint(0, grip.y()), Qt::NoButton);
    settle();
    EXPECT_EQ(s.shown().xFrom, 0);
    EXPECT_EQ(s.shown().xTo, width);

    // Up and down by one step of the last decimal; the right axis follows in proportion.
    const ZoomRange before = s.shown();
    const double step = s.view.yStep();
    s.clickBar(v, QStyle::SC_ScrollBarAddLine);
    ZoomRange after = s.shown();
    EXPECT_NEAR(after.y1Max, before.y1Max - step, 1e-9);
    EXPECT_NEAR(after.y1Min, before.y1Min - step, 1e-9);
    EXPECT_NEAR(after.y2Max - after.y2Min, before.y2Max - before.y2Min, 1e-9);
    s.clickBar(v, QStyle::SC_ScrollBarAddLine);
    EXPECT_LT(s.shown().y2Max, after.y2Max);
    EXPECT_NEAR(s.shown().y2Max - s.shown().y2Min, before.y2Max - before.y2Min, 1e-9);
    s.clickBar(v, QStyle::SC_ScrollBarSubLine);
    after = s.shown();
    // The wheel: three lines a notch, up; the axis stops at the full view's top.
    s.wheel(s.chart().mouseArea(), QPoint(0, 120));
    EXPECT_NEAR(s.shown().y1Max, std::min(after.y1Max + 3 * step, s.view.zoomRange(0).y1Max),
                1e-9);
    for (int i = 0; i < 20; ++i)
        s.clickBar(v, QStyle::SC_ScrollBarSubPage);
    EXPECT_NEAR(s.shown().y1Max, s.view.zoomRange(0).y1Max, 1e-9);
    EXPECT_NEAR(s.shown().y2Max, s.view.zoomRange(0).y2Max, 1e-9);
    // Shift and the wheel go through time.
    const std::int64_t from = s.shown().xFrom;
    s.wheel(s.chart().mouseArea(), QPoint(0, -120), Qt::ShiftModifier);
    EXPECT_EQ(s.shown().xFrom, from + 3 * interval);
}

TEST(Readout, TheTimeAndValuesUnderTheMouse) {
    Screen s("temperature-day.txt");
    const QRect plot = s.plot();
    // At the first reading's column: 05/03/2007 14:30:00, 4.0.
    s.hover(QPoint(plot.left() + 1, plot.center().y()));
    EXPECT_EQ(s.chart().footer(), QString::fromUtf8(" 05 March 2007 14:30:00 : 4.0\u00B0C"));
    EXPECT_TRUE(s.chart().markerShown());
    EXPECT_NEAR(s.chart().markerX(), 0, 300);
    // The marker follows the pointer, not the reading.
    s.hover(QPoint(plot.center().x(), plot.center().y()));
    const double x = s.chart().markerX();
    EXPECT_NEAR(x, 287 * 300 / 2.0, 300);
    EXPECT_NE(std::fmod(x, 300.0), 0.0);
    // Off the plot, past the last reading: the time span, no marker on the plot.
    s.hover(QPoint(plot.right() + 30, plot.center().y()));
    EXPECT_EQ(s.chart().footer(),
              "From:-  05 March 2007 14:30:00     To:-  06 March 2007 14:25:00");
    EXPECT_TRUE(isNoValue(s.chart().markerX()));
}

TEST(Readout, HiddenTracesAreLeftOutOfTheValues) {
    struct Case {
        std::vector<int> hidden;
        const char* values;
    };
    // humidity-day's first reading: 21.0 °C, 60.0 %rh, dew point 12.9 °C.
    const Case cases[] = {
        {{}, " : 21.0\u00B0C, 12.9\u00B0C, 60.0%rh"},
        {{48000}, " : 12.9\u00B0C, 60.0%rh"},
        {{48000, 48006}, " : 60.0%rh"},
        {{48003}, " : 21.0\u00B0C, 12.9\u00B0C"},
        {{48000, 48006, 48003}, " : "},
    };
    for (const Case& c : cases) {
        Screen s("humidity-day.txt");
        for (int id : c.hidden) {
            for (QAction* item : s.menu.actions()) {
                if (item->data().toInt() == id)
                    item->trigger();
            }
        }
        s.hover(QPoint(s.plot().left() + 1, s.plot().center().y()));
        EXPECT_EQ(s.chart().footer(),
                  QString::fromUtf8(" 05 March 2007 14:30:00") + QString::fromUtf8(c.values));
    }
}

// Text of a PDF, when the system has pdftotext.
QString pdfText(const QString& path) {
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (tool.isEmpty())
        return {};
    QProcess process;
    process.start(tool, {QStringLiteral("-layout"), path, QStringLiteral("-")});
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

TEST(Printing, APrintoutShowsTheRangesOnShow) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    Screen s("humidity-day.txt");

    // Full view: every range includes zero.
    const QString full = dir.filePath("full.pdf");
    ASSERT_TRUE(s.view.printToPdf(full));
    auto r = s.view.lastPrintedRanges();
    EXPECT_LE(r.y1Min, 0);
    EXPECT_GE(r.y1Max, 0);
    EXPECT_LE(r.y2Min, 0);
    EXPECT_EQ(r.xMin, 0);
    EXPECT_EQ(r.xMax, s.view.zoomRange(0).xTo);

    // Zoomed, then scrolled down a step: the page shows what the screen shows.
    s.drag(s.at(0.3, 0.3), s.at(0.6, 0.6));
    s.clickBar(s.view.verticalBar(), QStyle::SC_ScrollBarAddLine);
    const ZoomRange shown = s.shown();
    const QString footer = s.view.footerText();
    const QString zoomed = dir.filePath("zoomed.pdf");
    ASSERT_TRUE(s.view.printToPdf(zoomed));
    r = s.view.lastPrintedRanges();
    EXPECT_EQ(r.xMin, shown.xFrom);
    EXPECT_EQ(r.xMax, shown.xTo);
    EXPECT_DOUBLE_EQ(r.y1Min, shown.y1Min);
    EXPECT_DOUBLE_EQ(r.y1Max, shown.y1Max);
    EXPECT_DOUBLE_EQ(r.y2Min, shown.y2Min);
    EXPECT_DOUBLE_EQ(r.y2Max, shown.y2Max);
    EXPECT_GT(r.y1Min, 0);
    // The screen keeps its own footer.
    EXPECT_EQ(s.view.footerText(), footer);

    for (const QString& pdf : {full, zoomed}) {
        QFile file(pdf);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        EXPECT_TRUE(bytes.startsWith("%PDF"));
        EXPECT_EQ(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r") +
                      bytes.count("/Type /Page "),
                  1);
    }
    // Blanks as pdftotext lays them out: runs of them count as one.
    const QString fullText = pdfText(full).simplified();
    const QString zoomedText = pdfText(zoomed).simplified();
    if (!fullText.isEmpty()) {
        EXPECT_TRUE(fullText.contains("From:- 05 March 2007 14:30:00")) << fullText.toStdString();
        EXPECT_TRUE(QRegularExpression(R"((^| )0\.0( |$))").match(fullText).hasMatch());
        const QString from = VessorGraphView::formatClockTime(s.doc.startTime + shown.xFrom);
        EXPECT_TRUE(zoomedText.contains(("From:- " + from).simplified())) << zoomedText.toStdString();
        EXPECT_FALSE(QRegularExpression(R"((^| )0\.0( |$))").match(zoomedText).hasMatch());
    }
}

TEST(Printing, ThePageKeepsFourToThreeCentredAndAFailureIsReported) {
    Screen s("temperature-day.txt");
    // A wide printable area: the graph fills its height and sits in the middle.
    QImage page(2000, 750, QImage::Format_RGB32);
    page.fill(Qt::white);
    {
        QPainter painter(&page);
        ASSERT_TRUE(s.view.printChart(painter));
    }
    int left = page.width(), right = -1;
    for (int y = 0; y < page.height(); y += 2) {
        for (int x = 0; x < page.width(); ++x) {
            if (page.pixel(x, y) != qRgb(255, 255, 255)) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
        }
    }
    EXPECT_GE(left, 500);  // (2000 - 1000) / 2
    EXPECT_LE(right, 1500);
    EXPECT_GT(right - left, 800);

    QPainter idle;
    EXPECT_FALSE(s.view.printChart(idle));
    EXPECT_FALSE(s.view.printToPdf("/nonexistent-folder/graph.pdf"));
}

// Print to file: the printer's PDF goes through the safe save, so a link at
// the file name is replaced and a read-only file is refused with the reason.
TEST(Printing, PrintToFileIsASafeSave) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    Screen s("temperature-day.txt");
    const QString victim = dir.filePath("victim");
    {
        QFile file(victim);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("private");
    }
    const QString link = dir.filePath("printed.pdf");
    ASSERT_TRUE(QFile::link(victim, link));
    const QString locked = dir.filePath("locked.pdf");
    {
        QFile file(locked);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("old");
    }
    ASSERT_TRUE(QFile::setPermissions(locked, QFileDevice::ReadOwner));

    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(link);
    std::string error;
    ASSERT_TRUE(s.view.printTo(printer, &error)) << error;
    EXPECT_FALSE(QFileInfo(link).isSymLink());
    QFile printed(link);
    ASSERT_TRUE(printed.open(QIODevice::ReadOnly));
    EXPECT_TRUE(printed.readAll().startsWith("%PDF"));
    QFile kept(victim);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), "private");

    // The preview draws the same printer's pages without writing its file.
    const QString previewed = dir.filePath("previewed.pdf");
    printer.setOutputFileName(previewed);
    QPrintPreviewWidget preview(&printer);
    bool drawn = false;
    QObject::connect(&preview, &QPrintPreviewWidget::paintRequested,
                     [&](QPrinter* target) { drawn = s.view.printTo(*target); });
    preview.updatePreview();
    EXPECT_TRUE(drawn);
    EXPECT_EQ(preview.pageCount(), 1);
    EXPECT_FALSE(QFileInfo::exists(previewed));

    printer.setOutputFileName(locked);
    EXPECT_FALSE(s.view.printTo(printer, &error));
    EXPECT_EQ(error, "Cannot write " + locked.toStdString() + ": Permission denied.");
    QFile old(locked);
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), "old");
}

TEST(Help, ThePageFollowsTheKindOfLogger) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string current = dir.filePath("current.txt").toStdString();
    {
        std::ofstream out(current, std::ios::binary);
        out << "PUMP,Time,Current(mA),High Alarm,Serial Number\r\n"
               "1,05/03/2007 14:30:00,12.40,18.00,000123456\r\n"
               "2,05/03/2007 14:31:00,12.42,18.00\r\n";
    }
    const auto sample = [](const char* name) { return QString::fromStdString(DATA_DIR + "/" + name); };
    struct Case {
        QString file;
        int id;
        const char* page;
    };
    const Case cases[] = {
        {sample("humidity-day.txt"), 1002, "graph-two-channel.html"},
        {sample("zr-th-no-humidity.txt"), 1002, "graph-two-channel.html"},
        {sample("voltage-hours.txt"), 1003, "graph-voltage.html"},
        {QString::fromStdString(current), 1004, "graph-current.html"},
        {sample("zr-co.txt"), 1006, "graph-co.html"},
        {sample("temperature-day.txt"), 1001, "graph-temperature.html"},
        {sample("zr-tc-fahrenheit.txt"), 1005, "graph-temperature-whole.html"},
        // A refused file leaves the empty chart: no channel, no decimals.
        {sample("zr-ev-state.txt"), 1005, "graph-temperature-whole.html"},
    };
    RecordingUserInterface ui;
    VessorGraphApp app;
    app.setUserInterface(ui);
    QList<QUrl> opened;
    app.setUrlOpener([&opened](const QUrl& url) {
        opened.append(url);
        return true;
    });
    for (const Case& c : cases) {
        app.OpenDocumentFile(c.file);
        EXPECT_EQ(app.view().helpContextId(), c.id) << c.file.toStdString();
        EXPECT_EQ(helpPageFor(c.id), c.page);
        opened.clear();
        app.frame().command(command::HELP_TOPICS)->trigger();
        ASSERT_EQ(opened.size(), 1) << c.page;
        EXPECT_EQ(QFileInfo(opened[0].toLocalFile()).fileName(), c.page);
        // Every page is installed beside the program and leads back to the contents.
        QFile page(opened[0].toLocalFile());
        ASSERT_TRUE(page.open(QIODevice::ReadOnly)) << c.page;
        EXPECT_TRUE(page.readAll().contains("href=\"graph-viewer.html\"")) << c.page;
    }
    EXPECT_EQ(helpPageFor(4242), helpContentsPage());
    EXPECT_TRUE(QFileInfo::exists(
        QDir(helpDirectory(QCoreApplication::applicationDirPath())).filePath(helpContentsPage())));
    EXPECT_TRUE(ui.messages.isEmpty()) << ui.messages.join('\n').toStdString();
}

TEST(ViewMenu, ItemsAreCheckedAsTheSwitchesStand) {
    RecordingUserInterface ui;
    VessorGraphApp app;
    app.setUserInterface(ui);
    app.OpenDocumentFile(QString::fromStdString(DATA_DIR + "/humidity-day.txt"));
    MainFrame& frame = app.frame();
    const auto checks = [&frame] {
        emit frame.viewMenu()->aboutToShow();
        return std::tuple{frame.command(command::MARK_POINTS)->isChecked(),
                          frame.command(command::GRID_X)->isChecked(),
                          frame.command(command::GRID_Y)->isChecked()};
    };
    EXPECT_EQ(checks(), std::tuple(false, true, true));
    frame.command(command::MARK_POINTS)->trigger();
    frame.command(command::GRID_X)->trigger();
    EXPECT_EQ(checks(), std::tuple(true, false, true));
    EXPECT_EQ(app.view().chart().traceStyle(Axis::Y1, 0).shape, PointShape::Marker);
    EXPECT_FALSE(app.view().chart().xGrid());
    frame.command(command::GRID_Y)->trigger();
    frame.command(command::GRID_X)->trigger();
    EXPECT_EQ(checks(), std::tuple(true, true, false));
    // Zoom Out from the menu and the toolbar.
    frame.resize(1024, 720);
    frame.show();
    settle();
    Chart2D& chart = app.view().chart();
    dragBox(chart, inPlot(chart, 0.2, 0.2), inPlot(chart, 0.7, 0.7));
    dragBox(chart, inPlot(chart, 0.2, 0.2), inPlot(chart, 0.7, 0.7));
    ASSERT_EQ(app.view().zoomLevel(), 2);
    frame.command(command::ZOOM_OUT)->trigger();
    EXPECT_EQ(app.view().zoomLevel(), 1);
    EXPECT_TRUE(frame.toolBar()->actions().contains(frame.command(command::ZOOM_OUT)));
}

} // namespace
} // namespace vessor::graph
