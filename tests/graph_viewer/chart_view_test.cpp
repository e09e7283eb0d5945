// The chart view: what it tells the chart wrapper for each kind of file, and
// the pictures it exports.
#include "chart/chart2d.h"
#include "chart/png_encoder.h"
#include "shell/qt_user_interface.h"
#include "view/vessor_graph_view.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QMenu>
#include <QPainter>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSet>
#include <QTemporaryDir>

#include <qcustomplot.h>

#include "qt_printers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

namespace vessor::graph {
namespace {

const std::string DATA_DIR = GRAPH_TEST_DATA;

struct Viewer {
    std::string dataFilePath;
    VessorGraphDoc doc{dataFilePath};
    QMenu menu;
    VessorGraphView view{doc};

    Viewer() {
        view.setTraceMenu(&menu);
        view.resize(1024, 768);
        view.initialUpdate();
    }
    void open(const std::string& file) {
        doc.openDocument(DATA_DIR + "/" + file);
        view.initialUpdate();
    }
    Chart2D& chart() { return view.chart(); }
    std::vector<int> menuIds() const {
        std::vector<int> ids;
        for (QAction* a : menu.actions())
            ids.push_back(a->data().toInt());
        return ids;
    }
};

TEST(ChartView, TraceStylesFollowTheTable) {
    struct Case {
        Axis axis;
        int trace;
        QColor color;
        LinePattern pattern;
    };
    const QColor red(255, 0, 0), green(0, 255, 0), blue(0, 0, 255);
    const Case cases[] = {
        {Axis::Y1, 0, red, LinePattern::Solid},
        {Axis::Y1, 1, red, LinePattern::DashDot},
        {Axis::Y1, 2, red, LinePattern::Dotted},
        {Axis::Y1, 3, green, LinePattern::LongDash},
        {Axis::Y2, 0, blue, LinePattern::Solid},
        {Axis::Y2, 1, blue, LinePattern::DashDotDot},
        {Axis::Y2, 2, blue, LinePattern::LongShortDash},
        {Axis::Y2, 3, green, LinePattern::LongDash},
    };
    Viewer v;
    v.open("humidity-day.txt");
    for (const Case& c : cases) {
        const TraceStyle s = v.chart().traceStyle(c.axis, c.trace);
        EXPECT_EQ(s.lineColor, c.color) << int(c.axis) << "/" << c.trace;
        EXPECT_EQ(s.lineWidth, 2) << int(c.axis) << "/" << c.trace;
        EXPECT_EQ(s.pattern, c.pattern) << int(c.axis) << "/" << c.trace;
        EXPECT_EQ(s.shape, PointShape::None) << int(c.axis) << "/" << c.trace;
    }
    EXPECT_EQ(v.chart().traceStyle(Axis::Y1, 0).pointSize, 5);
    EXPECT_EQ(v.chart().traceStyle(Axis::Y2, 0).pointColor, blue);
}

TEST(ChartView, MarkPointsSurvivesALoadAndMarksTheReadingTraces) {
    Viewer v;
    v.view.toggleMarkPoints();
    v.open("humidity-day.txt");
    for (auto [axis, trace, marked] :
         {std::tuple{Axis::Y1, 0, true}, std::tuple{Axis::Y1, 3, true},
          std::tuple{Axis::Y2, 0, true}, std::tuple{Axis::Y1, 1, false},
          std::tuple{Axis::Y2, 2, false}}) {
        EXPECT_EQ(v.chart().traceStyle(axis, trace).shape == PointShape::Marker, marked)
            << int(axis) << "/" << trace;
    }
    v.view.toggleMarkPoints();
    EXPECT_EQ(v.chart().traceStyle(Axis::Y1, 0).shape, PointShape::None);
    EXPECT_EQ(v.chart().traceStyle(Axis::Y2, 0).shape, PointShape::None);
}

TEST(ChartView, LabelsTitlesHeaderAndTimeAxis) {
    Viewer v;
    v.open("humidity-day.txt");
    Chart2D& c = v.chart();
    EXPECT_EQ(c.header(), "OFFICE");
    EXPECT_EQ(c.axisTitle(Axis::Y1), QString::fromUtf8("\u00B0C"));
    EXPECT_EQ(c.axisTitle(Axis::Y2), "%rh");
    const QStringList y1{c.traceLabel(Axis::Y1, 0), c.traceLabel(Axis::Y1, 1),
                         c.traceLabel(Axis::Y1, 2), c.traceLabel(Axis::Y1, 3)};
    EXPECT_EQ(y1, QStringList({"Celsius", "High Alarm", "", "dew point"}));
    const QStringList y2{c.traceLabel(Axis::Y2, 0), c.traceLabel(Axis::Y2, 1),
                         c.traceLabel(Axis::Y2, 2)};
    EXPECT_EQ(y2, QStringList({"Humidity", "High Alarm rh", "Low Alarm rh"}));
    EXPECT_EQ(c.yPrecision(Axis::Y1), 1);
    EXPECT_EQ(c.timeBase(), v.doc.startTime);
    EXPECT_EQ(c.xMin(), 0);
    EXPECT_EQ(c.xMax(), 239.0 * 360);
    EXPECT_EQ(c.data(Axis::Y1), &v.doc.primary.data);
    EXPECT_EQ(c.data(Axis::Y2), &v.doc.secondary.data);
}

TEST(ChartView, FullViewRangesIncludeZero) {
    struct Case {
        const char* file;
        bool minPinned; // at zero, the maximum chosen by the chart
        bool maxPinned; // at zero, the minimum chosen by the chart
        double below;   // every y1 value lies within the full view
        double above;
    };
    for (const Case c : {Case{"temperature-day.txt", true, false, 1.5, 8.0},
                         Case{"freezer-negative.txt", false, true, -25.0, -16.0},
                         Case{"zr-co.txt", true, false, 0.0, 50.0},
                         Case{"voltage-hours.txt", true, false, 11.0, 14.0}}) {
        Viewer v;
        v.open(c.file);
        Chart2D& chart = v.chart();
        const ZoomRange& full = v.view.zoomRange(0);
        EXPECT_EQ(!chart.isYMinAuto(Axis::Y1) && chart.yMin(Axis::Y1) == 0, c.minPinned) << c.file;
        EXPECT_EQ(!chart.isYMaxAuto(Axis::Y1) && chart.yMax(Axis::Y1) == 0, c.maxPinned) << c.file;
        EXPECT_LE(full.y1Min, std::min(0.0, c.below)) << c.file;
        EXPECT_GE(full.y1Max, std::max(0.0, c.above)) << c.file;
        EXPECT_EQ(full.y1Min, chart.yMin(Axis::Y1)) << c.file;
        EXPECT_EQ(full.y1Max, chart.yMax(Axis::Y1)) << c.file;
        EXPECT_EQ(full.xFrom, 0) << c.file;
        EXPECT_EQ(full.xTo, std::int64_t{v.doc.readingCount - 1} * v.doc.interval) << c.file;
        EXPECT_EQ(v.view.zoomLevel(), 0) << c.file;
        EXPECT_FALSE(v.view.horizontalBar()->isVisibleTo(&v.view)) << c.file;
        EXPECT_FALSE(v.view.verticalBar()->isVisibleTo(&v.view)) << c.file;
    }
}

TEST(ChartView, TraceMenuListsTheTracesTheFileSupplies) {
    struct Case {
        const char* file;
        std::vector<int> ids;
    };
    for (const Case& c :
         {Case{"humidity-day.txt", {48000, 48001, 48006, 48003, 48004, 48005}},
          Case{"zr-th-alarms.txt", {48000, 48001, 48002, 48006, 48003, 48004, 48005}},
          Case{"temperature-day.txt", {48000, 48001, 48002}}, Case{"zr-tc-fahrenheit.txt", {48000}},
          Case{"zr-ev-state.txt", {}}}) {
        Viewer v;
        v.open(c.file);
        EXPECT_EQ(v.menuIds(), c.ids) << c.file;
        for (QAction* a : v.menu.actions())
            EXPECT_TRUE(a->isChecked()) << c.file;
    }
    Viewer v;
    v.open("humidity-day.txt");
    EXPECT_EQ(v.menu.actions()[0]->text(), "Celsius");
    EXPECT_EQ(v.menu.actions()[3]->text(), "Humidity");
}

TEST(ChartView, HidingATraceKeepsItsUncheckedMenuItem) {
    Viewer v;
    v.open("zr-th-alarms.txt");
    v.menu.actions()[1]->trigger(); // High Alarm
    EXPECT_EQ(v.doc.primary.data.display(HIGH_ALARM), Display::Hidden);
    EXPECT_FALSE(v.view.isTraceShown(48001));
    EXPECT_FALSE(v.menu.actions()[1]->isChecked());
    v.view.toggleTrace(48003); // the humidity readings
    EXPECT_EQ(v.doc.secondary.data.display(READINGS), Display::Hidden);
    EXPECT_EQ(v.menuIds().size(), 7u);
    v.view.toggleTrace(48001);
    EXPECT_TRUE(v.menu.actions()[1]->isChecked());
    // The humidity set has no fourth trace: its command changes nothing.
    v.view.toggleTrace(48007);
    EXPECT_FALSE(v.view.isTraceShown(48007));
}

TEST(ChartView, FooterShowsTheTimeSpanOnShow) {
    Viewer v;
    EXPECT_EQ(v.view.footerText(), " ");
    EXPECT_EQ(v.chart().footer(), " ");
    EXPECT_TRUE(v.menu.actions().isEmpty());
    v.open("temperature-day.txt");
    EXPECT_EQ(v.chart().footer(),
              "From:-  05 March 2007 14:30:00     To:-  06 March 2007 14:25:00");
    // A second, shorter file shows its own span, not the first one's width.
    v.open("zr-t-celsius.txt");
    EXPECT_EQ(v.chart().footer(),
              "From:-  05 March 2007 14:30:00     To:-  05 March 2007 14:35:00");
    // A refused file leaves the empty chart.
    v.open("zr-ev-rising.txt");
    EXPECT_EQ(v.chart().footer(), " ");
    EXPECT_EQ(v.chart().header(), "");
}

TEST(ChartView, GridSwitchesReachTheChart) {
    Viewer v;
    v.open("humidity-day.txt");
    EXPECT_TRUE(v.chart().xGrid());
    v.view.toggleGridX();
    v.view.toggleGridY();
    EXPECT_FALSE(v.chart().xGrid());
    EXPECT_FALSE(v.chart().yGrid(Axis::Y1));
    EXPECT_FALSE(v.chart().yGrid(Axis::Y2));
    // They survive a reload.
    v.open("temperature-day.txt");
    EXPECT_FALSE(v.chart().xGrid());
    EXPECT_FALSE(v.chart().yGrid(Axis::Y1));
}

TEST(Chart, MapsPixelsAndPicksReadingsOnScreen) {
    Viewer v;
    v.open("temperature-day.txt");
    v.view.show();
    QApplication::processEvents();
    Chart2D& c = v.chart();
    const QRect area = c.plotRect();
    ASSERT_GT(area.width(), 500);
    ASSERT_GT(area.height(), 300);
    const MappedPoint topLeft = c.map(Axis::Y1, area.topLeft());
    EXPECT_NEAR(topLeft.x, 0, 300);
    EXPECT_NEAR(topLeft.y, c.yMax(Axis::Y1), 0.1);
    const MappedPoint bottomRight = c.map(Axis::Y1, area.bottomRight());
    EXPECT_NEAR(bottomRight.x, 287.0 * 300, 300);
    EXPECT_NEAR(bottomRight.y, 0, 0.1);
    EXPECT_TRUE(isNoValue(c.map(Axis::Y1, area.topLeft() - QPoint(5, 5)).x));
    EXPECT_EQ(c.pick(area.topLeft()), 0);
    EXPECT_EQ(c.pick(area.bottomRight()), 287);
    EXPECT_NEAR(c.pick(QPoint(area.center().x(), 0)), 143.5, 1);
    EXPECT_EQ(c.valueToTime(300.5), v.doc.startTime + 300);
    EXPECT_EQ(c.valueToTime(NO_VALUE), -1);
}

TEST(Chart, TimeLabelsNeverOverlapInANarrowWindow) {
    // A day of readings: six ticks three hours apart crowd a small window.
    for (const QSize size : {QSize(1024, 768), QSize(640, 480), QSize(400, 300)}) {
        Viewer v;
        v.open("humidity-day.txt");
        v.view.resize(size);
        v.view.show();
        QApplication::processEvents();
        QApplication::processEvents();
        auto* plot = qobject_cast<QCustomPlot*>(v.chart().mouseArea());
        ASSERT_NE(plot, nullptr);
        const QVector<double> ticks = plot->xAxis->tickVector();
        const QVector<QString> labels = plot->xAxis->tickVectorLabels();
        ASSERT_GE(ticks.size(), 2) << size.width();
        const QFontMetrics metrics(plot->xAxis->tickLabelFont());
        double widest = 0;
        for (const QString& label : labels) {
            for (const QString& line : label.split('\n'))
                widest = std::max<double>(widest, metrics.horizontalAdvance(line));
        }
        for (int i = 1; i < ticks.size(); ++i) {
            const double gap =
                plot->xAxis->coordToPixel(ticks[i]) - plot->xAxis->coordToPixel(ticks[i - 1]);
            EXPECT_GT(gap, widest) << size.width() << " px: " << labels[i].toStdString();
        }
        if (size.width() == 1024) {
            EXPECT_GE(ticks.size(), 6);
        }
    }
}

bool hasColour(const QImage& image, QRgb wanted) {
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if ((line[x] & 0xFFFFFF) == (wanted & 0xFFFFFF))
                return true;
        }
    }
    return false;
}

TEST(Rendering, PngAndPdfExportsHoldTheChart) {
    Viewer v;
    v.open("humidity-day.txt");
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString png = dir.filePath("chart.png");
    const QString pdf = dir.filePath("chart.pdf");
    ASSERT_TRUE(v.chart().exportPng(png, QSize(1024, 768)));
    ASSERT_TRUE(v.chart().exportPdf(pdf, QSize(1024, 768), "OFFICE"));

    QImage image(png);
    ASSERT_EQ(image.size(), QSize(1024, 768));
    image = image.convertToFormat(QImage::Format_RGB32);
    EXPECT_TRUE(hasColour(image, qRgb(255, 0, 0)));
    EXPECT_TRUE(hasColour(image, qRgb(0, 0, 255)));
    EXPECT_TRUE(hasColour(image, qRgb(0, 255, 0)));
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); y += 3) {
        for (int x = 0; x < image.width(); x += 3)
            colours.insert(image.pixel(x, y));
    }
    EXPECT_GT(colours.size(), 20);

    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    EXPECT_GT(bytes.size(), 5000);
    EXPECT_EQ(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r") +
                  bytes.count("/Type /Page "),
              1);
    const QRegularExpressionMatch box = QRegularExpression(R"(/MediaBox \[0 0 ([\d.]+) ([\d.]+)\])")
                                            .match(QString::fromLatin1(bytes));
    ASSERT_TRUE(box.hasMatch());
    EXPECT_GT(box.captured(1).toDouble(), box.captured(2).toDouble()); // landscape
}

// Where the readings' red lands in a picture.
QRect redArea(const QImage& image) {
    QRect area;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            if (qRed(p) > 200 && qGreen(p) < 90 && qBlue(p) < 90)
                area |= QRect(x, y, 1, 1);
        }
    }
    return area;
}

// Exports and printouts draw a long solid line piece by piece: it must stay
// whole where there are readings and leave the gaps of missing ones.
TEST(Rendering, ExportedLinesKeepTheirGaps) {
    ChartData data(4);
    constexpr int COUNT = 20000;
    for (int i = 0; i < COUNT; ++i) {
        const bool missing = i >= 8000 && i < 12000;
        data.setPoint(0, i, i, missing ? NO_VALUE : (i % 2 ? 10.0 : 0.0));
    }
    data.setLastPoint(0, COUNT - 1);
    data.setDisplay(0, Display::Shown);
    Chart2D chart;
    chart.resize(1024, 768);
    chart.setData(Axis::Y1, &data);
    TraceStyle style = chart.traceStyle(Axis::Y1, 0);
    style.lineColor = QColor(255, 0, 0);
    style.lineWidth = 2;
    chart.setTraceStyle(Axis::Y1, 0, style);
    chart.setXRange(0, COUNT - 1);
    chart.setYMin(Axis::Y1, -1);
    chart.setYMax(Axis::Y1, 11);
    chart.setRepaint(true);
    const QImage image = chart.toImage(QSize(1024, 768)).convertToFormat(QImage::Format_RGB32);
    const QRect red = redArea(image);
    ASSERT_GT(red.width(), 800);
    const auto redRows = [&image, &red](double fraction) {
        const int x = red.left() + static_cast<int>(red.width() * fraction);
        int rows = 0;
        for (int y = red.top(); y <= red.bottom(); ++y) {
            const QRgb p = image.pixel(x, y);
            rows += qRed(p) > 200 && qGreen(p) < 90 && qBlue(p) < 90;
        }
        return rows;
    };
    for (double inside : {0.05, 0.2, 0.35, 0.65, 0.8, 0.95})
        EXPECT_GT(redRows(inside), red.height() * 2 / 3) << inside;
    for (double gap : {0.42, 0.5, 0.58})
        EXPECT_EQ(redRows(gap), 0) << gap;
}

// Share of the pixels two pictures of one size differ in.
double differingShare(const QImage& a, const QImage& b) {
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32);
    if (x.size() != y.size())
        return 1;
    qint64 differing = 0;
    for (int row = 0; row < x.height(); ++row) {
        const auto* p = reinterpret_cast<const QRgb*>(x.constScanLine(row));
        const auto* q = reinterpret_cast<const QRgb*>(y.constScanLine(row));
        for (int col = 0; col < x.width(); ++col)
            differing += p[col] != q[col];
    }
    return static_cast<double>(differing) / (static_cast<double>(x.width()) * x.height());
}

// The PNG export's own encoder: what any reader decodes is the picture drawn,
// pixel for pixel, whatever its size and content.
TEST(Rendering, PngBytesDecodeToThePictureDrawn) {
    Viewer v;
    v.open("humidity-day.txt");
    std::vector<QImage> pictures{v.chart().toImage(QSize(1024, 768))};
    std::mt19937 random(7);
    for (QSize size : {QSize(1, 1), QSize(3, 2), QSize(257, 5), QSize(2, 300)}) {
        QImage noise(size, QImage::Format_RGB32);
        for (int y = 0; y < size.height(); ++y) {
            for (int x = 0; x < size.width(); ++x)
                noise.setPixel(x, y, qRgb(random() & 255, random() & 255, random() & 255));
        }
        pictures.push_back(noise);
    }
    // Another format, and an alpha channel that the PNG leaves out.
    pictures.push_back(pictures[0].convertToFormat(QImage::Format_RGB888));
    QImage translucent(4, 4, QImage::Format_ARGB32);
    translucent.fill(qRgba(10, 200, 30, 128));
    pictures.push_back(translucent);
    for (const QImage& picture : pictures) {
        const QByteArray bytes = encodePng(picture);
        ASSERT_TRUE(bytes.startsWith("\x89PNG\r\n\x1a\n"));
        QImage decoded;
        ASSERT_TRUE(decoded.loadFromData(bytes, "PNG"))
            << picture.width() << "x" << picture.height();
        const QImage wanted = picture.convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(decoded.size(), wanted.size());
        EXPECT_EQ(differingShare(decoded, wanted), 0.0)
            << picture.width() << "x" << picture.height();
    }
    EXPECT_TRUE(encodePng(QImage()).isEmpty());
    // Flat colour stays small.
    EXPECT_LT(encodePng(pictures[0]).size(), 200'000);
}

// Long traces are drawn from a few points per pixel column: the pictures of
// the sample files, and of 65535 readings with spikes and a gap, are those
// of every point drawn.
TEST(Rendering, ReducedTracesDrawWhatEveryPointDraws) {
    const auto both = [](Viewer& v) {
        const QImage reduced = v.chart().toImage(QSize(1024, 768));
        v.chart().setDrawEveryPoint(true);
        const QImage every = v.chart().toImage(QSize(1024, 768));
        v.chart().setDrawEveryPoint(false);
        return std::pair{reduced, every};
    };
    for (const char* file :
         {"freezer-negative.txt", "humidity-day.txt", "temperature-day.txt", "voltage-hours.txt",
          "zr-co.txt", "zr-t-celsius.txt", "zr-tc-fahrenheit.txt", "zr-th-alarms.txt",
          "zr-th-no-humidity.txt", "zr-v.txt"}) {
        Viewer v;
        v.open(file);
        const auto [reduced, every] = both(v);
        EXPECT_LE(differingShare(reduced, every), 0.01) << file;
    }

    // The dew point of "Error" leaves a gap; the temperature has a spike each way.
    std::string text = "COLDROOM,Time,Celsius(\xB0"
                       "C),High Alarm,Low Alarm,Humidity(%rh),"
                       "High Alarm rh,Low Alarm rh,dew point(\xB0"
                       "C)\r\n";
    for (int i = 0; i < 65535; ++i) {
        const double smooth = 4 + 3 * std::sin(i / 700.0);
        const double value = i == 12345 ? 40.0 : i == 23456 ? 35.0 : i == 50000 ? -20.0 : smooth;
        const bool error = i >= 30000 && i < 32000;
        text += std::to_string(i + 1) + (i ? ",05/03/2007 14:31:00," : ",05/03/2007 14:30:00,") +
                std::to_string(value) + ",30.0,10.0," +
                std::to_string(50 + 10 * std::cos(i / 900.0)) + ",70.0,20.0," +
                (error ? std::string("Error") : std::to_string(smooth - 3)) + "\r\n";
    }
    Viewer v;
    ASSERT_EQ(v.doc.ParseDownloadText(text), LoadStatus::Ok);
    v.view.initialUpdate();
    // The red alarm lines' dashes would hide where the readings reach.
    v.view.toggleTrace(TRACE_COMMANDS[1].id);
    v.view.toggleTrace(TRACE_COMMANDS[2].id);
    // Drawn whole, tens of points share each pixel and their smoothed edges
    // pile up, so pixels differ along every line: compare what is where.
    const auto [reduced, every] = both(v);
    const QImage a = reduced.convertToFormat(QImage::Format_RGB32);
    const QImage b = every.convertToFormat(QImage::Format_RGB32);
    // Column by column the readings' red reaches as high and as low: every spike is there.
    const QRect red = redArea(a);
    EXPECT_EQ(red, redArea(b));
    EXPECT_GT(red.height(), 400);
    const auto reach = [&red](const QImage& image, int x) {
        int top = -1, bottom = -1;
        for (int y = red.top(); y <= red.bottom(); ++y) {
            const QRgb p = image.pixel(x, y);
            if (qRed(p) > 200 && qGreen(p) < 90 && qBlue(p) < 90) {
                top = top < 0 ? y : top;
                bottom = y;
            }
        }
        return std::pair{top, bottom};
    };
    int spikes = 0;
    for (int x = red.left(); x <= red.right(); ++x) {
        const auto [top, bottom] = reach(a, x);
        const auto [everyTop, everyBottom] = reach(b, x);
        EXPECT_NEAR(top, everyTop, 2) << x;
        EXPECT_NEAR(bottom, everyBottom, 2) << x;
        spikes += bottom - top > 200;
    }
    EXPECT_GE(spikes, 3);
    // The dew point's gap (its dashes leave shorter ones): the longest run
    // of columns without green, in the same place.
    const auto longestGap = [&red](const QImage& image) {
        QRect best;
        int start = red.left();
        for (int x = red.left(); x <= red.right(); ++x) {
            bool green = false;
            for (int y = red.top(); y <= red.bottom() && !green; ++y) {
                const QRgb p = image.pixel(x, y);
                green = qGreen(p) > 200 && qRed(p) < 90 && qBlue(p) < 90;
            }
            if (green)
                start = x + 1;
            else if (x - start + 1 > best.width())
                best = QRect(start, 0, x - start + 1, 1);
        }
        return best;
    };
    const QRect gap = longestGap(a);
    EXPECT_GT(gap.width(), 20);
    EXPECT_NEAR(gap.left(), longestGap(b).left(), 2);
    EXPECT_NEAR(gap.right(), longestGap(b).right(), 2);
}

TEST(Rendering, DrawingIntoAnyPainterKeepsTheLayoutWhateverTheResolution) {
    Viewer v;
    v.open("temperature-day.txt");
    const QRect full =
        redArea(v.chart().toImage(QSize(1024, 768)).convertToFormat(QImage::Format_RGB32));
    ASSERT_GT(full.width(), 800);
    // Laid out at 1024 x 768, then shrunk to 800 x 600.
    const double k = 800.0 / 1024.0;
    // A printer-like device: 600 dpi, the chart mapped into its middle.
    QImage page(1000, 800, QImage::Format_RGB32);
    page.setDotsPerMeterX(23622);
    page.setDotsPerMeterY(23622);
    page.fill(Qt::white);
    {
        QPainter painter(&page);
        painter.setViewport(100, 100, 800, 600);
        painter.setWindow(0, 0, 1024, 768);
        v.chart().drawTo(painter, QRectF(0, 0, 1024, 768));
    }
    const QRect drawn = redArea(page);
    EXPECT_NEAR(drawn.left(), 100 + k * full.left(), 4);
    EXPECT_NEAR(drawn.right(), 100 + k * full.right(), 4);
    EXPECT_NEAR(drawn.top(), 100 + k * full.top(), 4);
    EXPECT_NEAR(drawn.bottom(), 100 + k * full.bottom(), 4);
}

} // namespace
} // namespace vessor::graph
