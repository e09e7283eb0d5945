// Our chart: two data sets drawn against a time x axis and two value axes,
// with per-trace styles and labels, a header and a footer, grid switches, a
// cursor marker line, pixel mapping and picking, and drawing into any
// painter. The view and the printing code speak only to this class; the
// plotting library behind it stays out of their sight.
#pragma once

#include "document/chart_data.h"
#include "trace_reduction.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QWidget>

#include <array>
#include <cstdint>
#include <string>

class QCustomPlot;
class QIODevice;
class QCPAxis;
class QCPGraph;
class QCPItemStraightLine;
class QCPTextElement;
class QPainter;

namespace vessor::graph {

class ClockTimeTicker;
class PrecisionTicker;

enum class Axis { Y1 = 1, Y2 = 2 };

enum class LinePattern { Solid, LongDash, Dotted, ShortDash, LongShortDash, DashDot, DashDotDot };
enum class PointShape { None, Marker };

struct TraceStyle {
    LinePattern pattern = LinePattern::Solid;
    QColor lineColor = Qt::black;
    int lineWidth = 1;
    PointShape shape = PointShape::None;
    QColor pointColor = Qt::black;
    int pointSize = 5;
    bool operator==(const TraceStyle&) const = default;
};

// A pixel mapped to data: x in seconds after the time base (NO_VALUE when
// the pixel lies outside the plot area) and the value on the asked axis.
struct MappedPoint {
    double x = NO_VALUE;
    double y = NO_VALUE;
};

class Chart2D : public QWidget {
    Q_OBJECT
public:
    static constexpr int TRACES_PER_AXIS = 4;

    explicit Chart2D(QWidget* parent = nullptr);
    ~Chart2D() override;

    // Repaint switch: while off, changes pile up; switching it on brings the
    // drawing up to date with the data and every setting.
    void setRepaint(bool on);
    bool repaintEnabled() const { return repaint_; }

    // Long traces are drawn from the few points per pixel column that show
    // the same (trace_reduction.h). On: every point, slowly, to compare with.
    void setDrawEveryPoint(bool on);

    // The data drawn against an axis; not owned, may be null.
    void setData(Axis axis, const ChartData* data);
    const ChartData* data(Axis axis) const { return side(axis).data; }

    TraceStyle traceStyle(Axis axis, int trace) const;
    void setTraceStyle(Axis axis, int trace, const TraceStyle& style);
    QString traceLabel(Axis axis, int trace) const;
    void setTraceLabel(Axis axis, int trace, const QString& label);

    QString header() const { return header_; }
    void setHeader(const QString& text);
    QString footer() const { return footer_; }
    void setFooter(const QString& text);
    QString axisTitle(Axis axis) const { return side(axis).title; }
    void setAxisTitle(Axis axis, const QString& title);
    // Large: header, footer, axis titles. Small: tick labels, legend.
    void setFonts(const QFont& large, const QFont& small);

    // x values are seconds after the time base, which is in clock seconds.
    void setTimeBase(std::int64_t clockSeconds);
    std::int64_t timeBase() const { return timeBase_; }
    std::int64_t valueToTime(double x) const;

    void setXRange(double min, double max);
    double xMin() const { return xMin_; }
    double xMax() const { return xMax_; }

    // A limit is either fixed or chosen from the data shown on that axis;
    // reading a limit gives the value in force either way.
    void setYMin(Axis axis, double value);
    void setYMax(Axis axis, double value);
    void setYMinAuto(Axis axis);
    void setYMaxAuto(Axis axis);
    bool isYMinAuto(Axis axis) const { return side(axis).minAuto; }
    bool isYMaxAuto(Axis axis) const { return side(axis).maxAuto; }
    double yMin(Axis axis) const;
    double yMax(Axis axis) const;
    // Decimals of an axis's labels; negative: as many as needed.
    void setYPrecision(Axis axis, int decimals);
    int yPrecision(Axis axis) const { return side(axis).precision; }

    void setXGrid(bool on);
    bool xGrid() const { return xGrid_; }
    void setYGrid(Axis axis, bool on);
    bool yGrid(Axis axis) const { return side(axis).grid; }

    // Cursor marker: a vertical line at an x value; NO_VALUE keeps it off the plot.
    void setMarkerX(double x);
    double markerX() const { return markerX_; }
    void setMarkerShown(bool shown);
    bool markerShown() const { return markerShown_; }
    void setMarkerStyle(LinePattern pattern, const QColor& color);

    // The plot area inside the axes, in this widget's pixels, for the size
    // the chart was last laid out at (on screen, or by drawTo/toImage).
    QRect plotRect() const;
    MappedPoint map(Axis axis, QPoint pixel) const;
    // Index of the y1 reading nearest to the pixel along x; -1 without readings.
    int pick(QPoint pixel) const;

    // Draws the whole chart, laid out at the rectangle's size, into the rectangle.
    void drawTo(QPainter& painter, const QRectF& target);
    QImage toImage(QSize size);
    // Saved through the safe save; false with `reason` (the system's text).
    bool exportPng(const QString& path, QSize size, std::string* reason = nullptr);
    // One landscape page; the chart keeps the shape of `size` and is centred.
    bool exportPdf(const QString& path, QSize size, const QString& title,
                   std::string* reason = nullptr);
    bool writePdf(QIODevice& out, QSize size, const QString& title);

    // The widget that receives the chart's mouse events (same pixels as the
    // chart); overlays such as a zoom band go on it.
    QWidget* mouseArea() const;

signals:
    void mousePressed(QMouseEvent* event);
    void mouseMoved(QMouseEvent* event);
    void mouseReleased(QMouseEvent* event);
    void mouseDoubleClicked(QMouseEvent* event);
    void mouseWheel(QWheelEvent* event);
    // The chart has been painted on screen.
    void painted();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    // The last scan of a side's values, and what it was made for.
    struct Extent {
        const ChartData* data = nullptr;
        std::uint64_t revision = UINT64_MAX;
        unsigned shown = 0;
        double lo = 0;
        double hi = 0;
        bool found = false;
    };
    struct Side {
        const ChartData* data = nullptr;
        mutable Extent extent;
        std::array<TraceStyle, TRACES_PER_AXIS> styles;
        std::array<QString, TRACES_PER_AXIS> labels;
        std::array<QCPGraph*, TRACES_PER_AXIS> graphs{};
        std::array<QCPGraph*, TRACES_PER_AXIS> lonePoints{}; // valid points between gaps
        QString title;
        bool minAuto = true;
        bool maxAuto = true;
        double min = 0;
        double max = 1;
        int precision = -1;
        bool grid = true;
        QCPAxis* axis = nullptr;
        PrecisionTicker* ticker = nullptr;
    };
    Side& side(Axis axis) { return axis == Axis::Y1 ? y1_ : y2_; }
    const Side& side(Axis axis) const { return axis == Axis::Y1 ? y1_ : y2_; }

    void sync();
    // The points each shown trace needs at the size just laid out.
    void reducePoints();
    void reducePoints(Side& s, int trace);
    void syncStyles(Side& s);
    void syncAxes();
    void syncLegend();
    // The data's extent on an axis, over the traces shown.
    bool dataExtent(const Side& s, double& lo, double& hi) const;
    void autoLimits(const Side& s, double& lo, double& hi) const;
    bool hasShownData(const Side& s) const;
    void replotNow();
    // One redraw when the event loop next runs, however many changes come first.
    void queueReplot();
    // After a setting changed: redraw unless repainting is held.
    void changed() {
        if (repaint_)
            replotNow();
    }

    QCustomPlot* plot_;
    QCPTextElement* headerElement_;
    QCPTextElement* footerElement_;
    QCPItemStraightLine* marker_;
    ClockTimeTicker* xTicker_ = nullptr;
    Side y1_;
    Side y2_;
    bool repaint_ = true;
    QString header_;
    QString footer_;
    std::int64_t timeBase_ = 0;
    double xMin_ = 0;
    double xMax_ = 1;
    bool xGrid_ = true;
    double markerX_ = NO_VALUE;
    bool markerShown_ = false;
    bool stylesChanged_ = true;
    bool everyPoint_ = false;
    bool replotQueued_ = false;
};

} // namespace vessor::graph
