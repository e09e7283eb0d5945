#include "chart2d.h"

#include "axis_tickers.h"
#include "png_encoder.h"
#include "vector_state.h"

#include "logger/safe_save.h"

#include <qcustomplot.h>

#include <QBuffer>
#include <QFile>
#include <QPaintEngine>
#include <QPdfWriter>
#include <QPicture>

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <limits>
#include <optional>

namespace vessor::graph {

namespace {

QPen patternPen(LinePattern pattern, const QColor& color, int width) {
    QPen pen(color, std::max(width, 1));
    switch (pattern) {
    case LinePattern::Solid:
        break;
    case LinePattern::LongDash:
        pen.setDashPattern({6, 3});
        break;
    case LinePattern::Dotted:
        pen.setDashPattern({1, 2});
        break;
    case LinePattern::ShortDash:
        pen.setDashPattern({3, 3});
        break;
    case LinePattern::LongShortDash:
        pen.setDashPattern({6, 2, 2, 2});
        break;
    case LinePattern::DashDot:
        pen.setDashPattern({4, 2, 1, 2});
        break;
    case LinePattern::DashDotDot:
        pen.setDashPattern({4, 2, 1, 2, 1, 2});
        break;
    }
    return pen;
}

// Rows of the chart's layout: header, plot, legend, footer.
constexpr int LEGEND_ROW = 2;

// Largest x value the time conversions accept (about 30 million years).
constexpr double LARGEST_X = 1e15;

// A graph whose line is drawn in pieces. Qt's raster engine fills a wide
// polyline as one polygon: a line that doubles back on itself thousands of
// times (a cold room's compressor cycling over weeks of readings, a dashed
// dew point over a month) takes it seconds, which froze the print preview
// and the exports. Into pixels a solid line goes as single segments, as the
// library draws it on screen (several times faster than short polylines for
// a smoothed line two pixels wide, and alike to the eye); to printers and
// pictures, in short runs that keep their joins; a dashed line in short runs
// whose dash offsets carry the pattern on from run to run.
class RunGraph : public QCPGraph {
public:
    using QCPGraph::QCPGraph;

    static constexpr int RUN_POINTS = 8;

    // What a trace's drawn points were reduced from.
    struct Key {
        const ChartData* data = nullptr;
        std::uint64_t revision = 0;
        std::int64_t timeBase = 0;
        PixelGrid grid;
        ReduceFor mode = ReduceFor::Lines;
        bool everyPoint = false;
        bool operator==(const Key&) const = default;
    };
    using Points = QSharedPointer<QCPGraphDataContainer>;

    // A redraw that changes neither data nor geometry (the readout) draws
    // the points it has; a zoom out, or a scroll back, finds its points
    // among the last few reductions.
    bool showKept(const Key& key, QCPGraph& lonePoints) {
        if (shown_ && *shown_ == key)
            return true;
        for (auto kept = kept_.begin(); kept != kept_.end(); ++kept) {
            if (kept->line && kept->key == key) {
                std::rotate(kept_.begin(), kept, kept + 1);
                show(key, kept_.front().line, kept_.front().lone, lonePoints, true);
                return true;
            }
        }
        return false;
    }
    // Only reductions are kept: a million points drawn whole would hold memory for nothing.
    void show(const Key& key, const Points& line, const Points& lone, QCPGraph& lonePoints,
              bool reduced) {
        setAdaptiveSampling(!reduced && !key.everyPoint);
        setData(line);
        lonePoints.setData(lone);
        shown_ = key;
        if (reduced && !(kept_.front().line && kept_.front().key == key)) {
            std::rotate(kept_.begin(), kept_.end() - 1, kept_.end());
            kept_.front() = {key, line, lone};
        }
    }
    void forget() {
        shown_.reset();
        kept_ = {};
    }

protected:
    void drawLinePlot(QCPPainter* painter, const QVector<QPointF>& lines) const override {
        const QPen pen = painter->pen();
        if (pen.style() == Qt::NoPen || pen.color().alpha() == 0)
            return;
        applyDefaultAntialiasingHint(painter);
        const bool solid = pen.style() == Qt::SolidLine;
        const QPaintEngine* engine = painter->paintEngine();
        const bool raster = engine && engine->type() == QPaintEngine::Raster;
        const auto gap = [&lines](qsizetype i) {
            const QPointF& p = lines.at(i);
            return qIsNaN(p.x()) || qIsNaN(p.y()) || qIsInf(p.y());
        };
        const qsizetype size = lines.size();
        if (solid && raster) {
            for (qsizetype i = 1; i < size; ++i) {
                if (!gap(i - 1) && !gap(i))
                    painter->drawLine(lines.at(i - 1), lines.at(i));
            }
            return;
        }
        // The dash pattern is counted in pen widths; each stretch between
        // gaps starts it afresh, as one polyline per stretch would.
        const QList<qreal> pattern = solid ? QList<qreal>() : pen.dashPattern();
        qreal period = 0;
        for (qreal length : pattern)
            period += length;
        const qreal width = pen.widthF() > 0 ? pen.widthF() : 1.0;
        QPen piece = pen;
        qreal offset = pen.dashOffset();
        // Runs overlap by one point so the line stays joined; gaps stay gaps.
        qsizetype start = 0;
        for (qsizetype i = 0; i <= size; ++i) {
            const bool end = i == size || gap(i);
            if (!end && i - start + 1 < RUN_POINTS)
                continue;
            const qsizetype last = end ? i : i + 1;
            if (last - start >= 2) {
                if (period > 0) {
                    piece.setDashOffset(offset);
                    painter->setPen(piece);
                    for (qsizetype k = start + 1; k < last; ++k) {
                        const QPointF d = lines.at(k) - lines.at(k - 1);
                        offset += std::hypot(d.x(), d.y()) / width;
                    }
                    offset = std::fmod(offset, period);
                }
                painter->drawPolyline(lines.constData() + start, static_cast<int>(last - start));
            }
            if (end)
                offset = pen.dashOffset();
            start = end ? i + 1 : i;
        }
        painter->setPen(pen);
    }

private:
    struct Kept {
        Key key;
        Points line;
        Points lone;
    };
    std::optional<Key> shown_;
    std::array<Kept, 4> kept_{};
};

// The plot redraws at once when it is resized, before the chart has handed
// over what changed with the new size (scroll bars come and go with a zoom):
// here a resize only asks for the one redraw that follows the changes.
class ChartPlot : public QCustomPlot {
public:
    ChartPlot(QWidget* parent, std::function<void()> resized, std::function<void()> painted)
        : QCustomPlot(parent), resized_(std::move(resized)), painted_(std::move(painted)) {}

protected:
    void resizeEvent(QResizeEvent*) override {
        setViewport(rect());
        resized_();
    }
    void paintEvent(QPaintEvent* event) override {
        QCustomPlot::paintEvent(event);
        clearVectorUpperHalves();
        painted_();
    }

private:
    std::function<void()> resized_;
    std::function<void()> painted_;
};

} // namespace

Chart2D::Chart2D(QWidget* parent)
    : QWidget(parent), plot_(new ChartPlot(
                           this, [this] { queueReplot(); }, [this] { emit painted(); })) {
    plot_->setGeometry(rect());
    plot_->setLocale(QLocale());
    plot_->setAutoAddPlottableToLegend(false);
    plot_->setBackground(Qt::white);
    // Nothing is dragged inside the plot; a release would only cost a redraw.
    plot_->setNoAntialiasingOnDrag(false);
    // Each element paints on the main layer: the chart is redrawn whole anyway.
    plot_->setPlottingHint(QCP::phFastPolylines, true);

    auto* layout = plot_->plotLayout();
    layout->insertRow(0);
    headerElement_ = new QCPTextElement(plot_, QString());
    layout->addElement(0, 0, headerElement_);
    // Legend under the plot, footer under the legend.
    QCPLegend* legend = plot_->legend;
    plot_->axisRect()->insetLayout()->take(legend);
    layout->addElement(LEGEND_ROW, 0, legend);
    legend->setVisible(true);
    legend->setFillOrder(QCPLayoutGrid::foColumnsFirst);
    legend->setWrap(4);
    legend->setBorderPen(Qt::NoPen);
    legend->setMargins(QMargins(8, 2, 8, 2));
    footerElement_ = new QCPTextElement(plot_, QStringLiteral(" "));
    layout->addElement(3, 0, footerElement_);
    layout->setRowStretchFactor(0, 0.001);
    layout->setRowStretchFactor(2, 0.001);
    layout->setRowStretchFactor(3, 0.001);
    layout->setRowSpacing(0);

    auto xTicker = QSharedPointer<ClockTimeTicker>::create();
    xTicker_ = xTicker.data();
    xTicker->setAxis(plot_->xAxis);
    plot_->xAxis->setTicker(xTicker);
    y1_.axis = plot_->yAxis;
    y2_.axis = plot_->yAxis2;
    for (Side* s : {&y1_, &y2_}) {
        auto ticker = QSharedPointer<PrecisionTicker>::create();
        s->ticker = ticker.data();
        s->axis->setTicker(ticker);
        s->axis->setNumberFormat(QStringLiteral("f"));
        for (int t = 0; t < TRACES_PER_AXIS; ++t) {
            s->graphs[t] = new RunGraph(plot_->xAxis, s->axis);
            s->lonePoints[t] = plot_->addGraph(plot_->xAxis, s->axis);
            s->lonePoints[t]->setLineStyle(QCPGraph::lsNone);
        }
    }
    plot_->yAxis2->grid()->setPen(QPen(QColor(200, 200, 200), 0, Qt::DotLine));

    marker_ = new QCPItemStraightLine(plot_);
    marker_->setVisible(false);
    setMarkerStyle(LinePattern::LongDash, QColor(255, 0, 255));

    // Drawing at a new size or range needs the traces' points for it.
    connect(plot_, &QCustomPlot::afterLayout, this, [this] { reducePoints(); });
    connect(plot_, &QCustomPlot::mousePress, this, &Chart2D::mousePressed);
    connect(plot_, &QCustomPlot::mouseMove, this, &Chart2D::mouseMoved);
    connect(plot_, &QCustomPlot::mouseRelease, this, &Chart2D::mouseReleased);
    connect(plot_, &QCustomPlot::mouseDoubleClick, this, &Chart2D::mouseDoubleClicked);
    connect(plot_, &QCustomPlot::mouseWheel, this, &Chart2D::mouseWheel);
    // The readout follows the mouse with no button held.
    plot_->setMouseTracking(true);
    replotNow();
}

Chart2D::~Chart2D() = default;

void Chart2D::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    plot_->setGeometry(rect());
}

void Chart2D::queueReplot() {
    if (replotQueued_)
        return;
    replotQueued_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (!replotQueued_)
                return;
            replotQueued_ = false;
            plot_->replot(QCustomPlot::rpRefreshHint);
            clearVectorUpperHalves();
        },
        Qt::QueuedConnection);
}

void Chart2D::setRepaint(bool on) {
    repaint_ = on;
    if (on)
        replotNow();
}

void Chart2D::replotNow() {
    sync();
    queueReplot();
}

void Chart2D::setDrawEveryPoint(bool on) {
    everyPoint_ = on;
    changed();
}

void Chart2D::setData(Axis axis, const ChartData* data) {
    Side& s = side(axis);
    s.data = data;
    // Another data set may come to the same address.
    for (QCPGraph* graph : s.graphs)
        static_cast<RunGraph*>(graph)->forget();
    changed();
}

TraceStyle Chart2D::traceStyle(Axis axis, int trace) const {
    if (trace < 0 || trace >= TRACES_PER_AXIS)
        return {};
    return side(axis).styles[static_cast<std::size_t>(trace)];
}

void Chart2D::setTraceStyle(Axis axis, int trace, const TraceStyle& style) {
    if (trace < 0 || trace >= TRACES_PER_AXIS)
        return;
    side(axis).styles[static_cast<std::size_t>(trace)] = style;
    stylesChanged_ = true;
    changed();
}

QString Chart2D::traceLabel(Axis axis, int trace) const {
    if (trace < 0 || trace >= TRACES_PER_AXIS)
        return {};
    return side(axis).labels[static_cast<std::size_t>(trace)];
}

void Chart2D::setTraceLabel(Axis axis, int trace, const QString& label) {
    if (trace < 0 || trace >= TRACES_PER_AXIS)
        return;
    side(axis).labels[static_cast<std::size_t>(trace)] = label;
    stylesChanged_ = true;
    changed();
}

void Chart2D::setHeader(const QString& text) {
    header_ = text;
    headerElement_->setText(text);
    changed();
}

void Chart2D::setFooter(const QString& text) {
    footer_ = text;
    // An empty element would collapse and make the plot jump.
    footerElement_->setText(text.isEmpty() ? QStringLiteral(" ") : text);
    changed();
}

void Chart2D::setAxisTitle(Axis axis, const QString& title) {
    Side& s = side(axis);
    s.title = title;
    s.axis->setLabel(title);
    changed();
}

void Chart2D::setFonts(const QFont& large, const QFont& small) {
    headerElement_->setFont(large);
    footerElement_->setFont(large);
    plot_->legend->setFont(small);
    for (QCPAxis* axis : {plot_->xAxis, plot_->yAxis, plot_->yAxis2}) {
        axis->setLabelFont(large);
        axis->setTickLabelFont(small);
    }
    changed();
}

void Chart2D::setTimeBase(std::int64_t clockSeconds) {
    timeBase_ = clockSeconds;
    changed();
}

std::int64_t Chart2D::valueToTime(double x) const {
    if (!std::isfinite(x) || std::fabs(x) > LARGEST_X)
        return -1;
    return timeBase_ + static_cast<std::int64_t>(std::floor(x));
}

void Chart2D::setXRange(double min, double max) {
    xMin_ = min;
    xMax_ = max;
    changed();
}

void Chart2D::setYMin(Axis axis, double value) {
    Side& s = side(axis);
    s.min = value;
    s.minAuto = false;
    changed();
}

void Chart2D::setYMax(Axis axis, double value) {
    Side& s = side(axis);
    s.max = value;
    s.maxAuto = false;
    changed();
}

void Chart2D::setYMinAuto(Axis axis) {
    side(axis).minAuto = true;
    changed();
}

void Chart2D::setYMaxAuto(Axis axis) {
    side(axis).maxAuto = true;
    changed();
}

double Chart2D::yMin(Axis axis) const {
    const Side& s = side(axis);
    double lo = 0, hi = 1;
    autoLimits(s, lo, hi);
    return lo;
}

double Chart2D::yMax(Axis axis) const {
    const Side& s = side(axis);
    double lo = 0, hi = 1;
    autoLimits(s, lo, hi);
    return hi;
}

void Chart2D::setYPrecision(Axis axis, int decimals) {
    side(axis).precision = decimals;
    changed();
}

void Chart2D::setXGrid(bool on) {
    xGrid_ = on;
    changed();
}

void Chart2D::setYGrid(Axis axis, bool on) {
    side(axis).grid = on;
    changed();
}

void Chart2D::setMarkerX(double x) {
    markerX_ = x;
    changed();
}

void Chart2D::setMarkerShown(bool shown) {
    markerShown_ = shown;
    changed();
}

void Chart2D::setMarkerStyle(LinePattern pattern, const QColor& color) {
    marker_->setPen(patternPen(pattern, color, 1));
    changed();
}

bool Chart2D::hasShownData(const Side& s) const {
    if (!s.data)
        return false;
    for (int t = 0; t < s.data->traceCount(); ++t) {
        if (s.data->display(t) == Display::Shown && s.data->lastPoint(t) >= 0)
            return true;
    }
    return false;
}

bool Chart2D::dataExtent(const Side& s, double& lo, double& hi) const {
    if (!s.data)
        return false;
    // Every mouse move asks for the limits: scan the points only when they,
    // or the traces shown, have changed since the last scan.
    unsigned shown = 0;
    for (int t = 0; t < s.data->traceCount() && t < 32; ++t) {
        if (s.data->display(t) == Display::Shown)
            shown |= 1u << t;
    }
    Extent& cache = s.extent;
    if (cache.data == s.data && cache.revision == s.data->pointsRevision() &&
        cache.shown == shown) {
        lo = cache.lo;
        hi = cache.hi;
        return cache.found;
    }
    lo = std::numeric_limits<double>::infinity();
    hi = -lo;
    for (int t = 0; t < s.data->traceCount(); ++t) {
        if (s.data->display(t) != Display::Shown)
            continue;
        const std::vector<double>& ys = s.data->ys(t);
        const int count = s.data->lastPoint(t) + 1;
        for (int i = 0; i < count; ++i) {
            const double y = ys[static_cast<std::size_t>(i)];
            if (isNoValue(y))
                continue;
            lo = std::min(lo, y);
            hi = std::max(hi, y);
        }
    }
    cache = {s.data, s.data->pointsRevision(), shown, lo, hi, lo <= hi};
    return cache.found;
}

void Chart2D::autoLimits(const Side& s, double& lo, double& hi) const {
    const bool hasData = dataExtent(s, lo, hi);
    if (!hasData) {
        lo = 0;
        hi = 1;
    }
    const double dataLo = lo;
    const double dataHi = hi;
    if (!s.minAuto)
        lo = s.min;
    if (!s.maxAuto)
        hi = s.max;
    if (!s.minAuto && !s.maxAuto)
        return;
    double span = hi - lo;
    if (!(span > 0))
        span = std::max({std::fabs(lo), std::fabs(hi), 1.0});
    const double step = PrecisionTicker::niceStep(span, 5, s.precision);
    // Round outwards to a whole step, and leave a step of room when a trace
    // (an alarm line, a flat reading) would otherwise run along the frame.
    if (s.minAuto) {
        lo = std::floor(lo / step) * step;
        if (hasData && lo >= dataLo - step * 1e-9 && dataLo != 0)
            lo -= step;
    }
    if (s.maxAuto) {
        hi = std::ceil(hi / step) * step;
        if (hasData && hi <= dataHi + step * 1e-9 && dataHi != 0)
            hi += step;
    }
    if (!(hi > lo)) {
        if (s.maxAuto)
            hi = lo + step;
        else
            lo = hi - step;
    }
}

void Chart2D::sync() {
    if (stylesChanged_) {
        syncStyles(y1_);
        syncStyles(y2_);
        stylesChanged_ = false;
    }
    for (Side* s : {&y1_, &y2_}) {
        for (int t = 0; t < TRACES_PER_AXIS; ++t) {
            const bool shown = s->data && t < s->data->traceCount() &&
                               s->data->display(t) == Display::Shown && s->data->lastPoint(t) >= 0;
            s->graphs[t]->setVisible(shown);
            s->lonePoints[t]->setVisible(shown);
        }
    }
    syncAxes();
    syncLegend();
    marker_->setVisible(markerShown_ && !isNoValue(markerX_) && std::isfinite(markerX_));
    if (marker_->visible()) {
        const double key = static_cast<double>(timeBase_) + markerX_;
        marker_->point1->setCoords(key, 0);
        marker_->point2->setCoords(key, 1);
    }
}

void Chart2D::reducePoints() {
    for (Side* s : {&y1_, &y2_}) {
        for (int t = 0; t < TRACES_PER_AXIS; ++t)
            reducePoints(*s, t);
    }
}

void Chart2D::reducePoints(Side& s, int trace) {
    auto* graph = static_cast<RunGraph*>(s.graphs[trace]);
    QCPGraph& lone = *s.lonePoints[trace];
    if (!graph->visible() || !s.data)
        return;
    const QCPRange keys = plot_->xAxis->range();
    const QCPRange values = s.axis->range();
    const QRect area = plot_->axisRect()->rect();
    const double base = static_cast<double>(timeBase_);
    RunGraph::Key wanted;
    wanted.data = s.data;
    wanted.revision = s.data->pointsRevision();
    wanted.timeBase = timeBase_;
    wanted.grid.xFrom = keys.lower - base;
    wanted.grid.xTo = keys.upper - base;
    wanted.grid.pixelsPerX = area.width() / keys.size();
    wanted.grid.pixelsPerY = area.height() / values.size();
    wanted.mode = graph->scatterStyle().isNone() ? ReduceFor::Lines : ReduceFor::Markers;
    wanted.everyPoint = everyPoint_;
    if (graph->showKept(wanted, lone))
        return;

    const auto line = RunGraph::Points::create();
    const auto single = RunGraph::Points::create();
    const auto toGraph = [base](const std::vector<DrawPoint>& points) {
        QVector<QCPGraphData> out;
        out.reserve(static_cast<qsizetype>(points.size()));
        for (const DrawPoint& p : points)
            out.append(QCPGraphData(base + p.x, p.y));
        return out;
    };
    ReducedTrace reduced;
    if (!everyPoint_ && reduceTrace(*s.data, trace, wanted.grid, wanted.mode, reduced)) {
        // The reduction is the drawing's sampling; the library's own would thin it again.
        line->set(toGraph(reduced.line), true);
        single->set(toGraph(reduced.lone), true);
        graph->show(wanted, line, single, lone, true);
        return;
    }
    // Every point: asked for, or points out of order (never a download
    // file's), which the library sorts and samples.
    const int count = std::min(s.data->lastPoint(trace) + 1, s.data->pointCount(trace));
    QVector<QCPGraphData> points;
    QVector<QCPGraphData> alone;
    points.reserve(count);
    const auto valid = [&](int i) {
        return i >= 0 && i < count && !isNoValue(s.data->yValue(trace, i));
    };
    for (int i = 0; i < count; ++i) {
        const double x = s.data->xValue(trace, i);
        if (isNoValue(x))
            continue;
        const double y = s.data->yValue(trace, i);
        points.append(QCPGraphData(base + x, valid(i) ? y : qQNaN()));
        if (valid(i) && !valid(i - 1) && !valid(i + 1))
            alone.append(QCPGraphData(base + x, y));
    }
    line->set(points, false);
    single->set(alone, false);
    graph->show(wanted, line, single, lone, false);
}

void Chart2D::syncStyles(Side& s) {
    for (int t = 0; t < TRACES_PER_AXIS; ++t) {
        const TraceStyle& style = s.styles[static_cast<std::size_t>(t)];
        QCPGraph* graph = s.graphs[t];
        graph->setPen(patternPen(style.pattern, style.lineColor, style.lineWidth));
        graph->setName(s.labels[static_cast<std::size_t>(t)]);
        if (style.shape == PointShape::Marker) {
            graph->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssDisc, style.pointColor,
                                                   style.pointColor, style.pointSize));
        } else {
            graph->setScatterStyle(QCPScatterStyle());
        }
        // Between the gaps a lone value shows as a dot the width of the line.
        s.lonePoints[t]->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssDisc, style.lineColor,
                                                         style.lineColor,
                                                         std::max(3, 2 * style.lineWidth + 1)));
    }
}

void Chart2D::syncAxes() {
    const double base = static_cast<double>(timeBase_);
    plot_->xAxis->setRange(base + std::min(xMin_, xMax_), base + std::max(xMin_, xMax_));
    plot_->xAxis->grid()->setVisible(xGrid_);
    // Without readings the time axis has nothing to tell.
    plot_->xAxis->setTickLabels(hasShownData(y1_) || hasShownData(y2_));
    for (Side* s : {&y1_, &y2_}) {
        double lo = 0, hi = 1;
        autoLimits(*s, lo, hi);
        s->axis->setRange(lo, hi);
        s->ticker->setDecimals(s->precision);
        if (s->precision >= 0) {
            s->axis->setNumberFormat(QStringLiteral("f"));
            s->axis->setNumberPrecision(s->precision);
        } else {
            s->axis->setNumberFormat(QStringLiteral("g"));
            s->axis->setNumberPrecision(6);
        }
        s->axis->grid()->setVisible(s->grid);
    }
    // The right axis only when something is drawn against it.
    const bool right = hasShownData(y2_);
    plot_->yAxis2->setVisible(right);
    plot_->yAxis2->grid()->setVisible(right && y2_.grid);
}

void Chart2D::syncLegend() {
    QCPLegend* legend = plot_->legend;
    legend->clearItems();
    for (Side* s : {&y1_, &y2_}) {
        for (int t = 0; t < TRACES_PER_AXIS; ++t) {
            if (s->graphs[t]->visible())
                s->graphs[t]->addToLegend(legend);
        }
    }
    // An empty legend would cap the layout's width at its own: leave its
    // cell empty until there is something to name.
    const bool wanted = legend->itemCount() > 0;
    QCPLayoutGrid* layout = plot_->plotLayout();
    const bool placed =
        layout->hasElement(LEGEND_ROW, 0) && layout->element(LEGEND_ROW, 0) == legend;
    if (wanted && !placed)
        plot_->plotLayout()->addElement(LEGEND_ROW, 0, legend);
    else if (!wanted && placed)
        plot_->plotLayout()->take(legend);
    legend->setVisible(wanted);
}

QWidget* Chart2D::mouseArea() const {
    return plot_;
}

QRect Chart2D::plotRect() const {
    return plot_->axisRect()->rect();
}

MappedPoint Chart2D::map(Axis axis, QPoint pixel) const {
    const QRect area = plotRect();
    if (!area.contains(pixel))
        return {};
    return {plot_->xAxis->pixelToCoord(pixel.x()) - static_cast<double>(timeBase_),
            side(axis).axis->pixelToCoord(pixel.y())};
}

int Chart2D::pick(QPoint pixel) const {
    const ChartData* data = y1_.data;
    if (!data)
        return -1;
    const int count = data->lastPoint(0) + 1;
    if (count <= 0)
        return -1;
    const double x = plot_->xAxis->pixelToCoord(pixel.x()) - static_cast<double>(timeBase_);
    int index = data->lowerBound(0, count, x);
    if (index >= count)
        return count - 1;
    if (index > 0 && x - data->xValue(0, index - 1) <= data->xValue(0, index) - x)
        --index;
    return index;
}

void Chart2D::drawTo(QPainter& painter, const QRectF& target) {
    const int width = std::max(1, static_cast<int>(std::lround(target.width())));
    const int height = std::max(1, static_cast<int>(std::lround(target.height())));
    sync();
    // The plotting library draws only on its own painter type: record the
    // drawing and replay it on the caller's painter (printer, PDF, image).
    QPicture picture;
    {
        QCPPainter recorder(&picture);
        plot_->toPainter(&recorder, width, height);
    }
    painter.save();
    painter.translate(target.topLeft());
    painter.scale(target.width() / width, target.height() / height);
    // A picture replays scaled by the target's resolution over its own; the
    // painter's mapping already places it, so undo that.
    if (const QPaintDevice* device = painter.device()) {
        painter.scale(static_cast<double>(picture.logicalDpiX()) / device->logicalDpiX(),
                      static_cast<double>(picture.logicalDpiY()) / device->logicalDpiY());
    }
    painter.drawPicture(0, 0, picture);
    painter.restore();
    clearVectorUpperHalves();
    // Lay the screen chart out at its own size again.
    queueReplot();
}

QImage Chart2D::toImage(QSize size) {
    // Opaque: nothing to blend with, and the PNG needs no alpha channel.
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    sync();
    {
        QCPPainter painter(&image);
        plot_->toPainter(&painter, size.width(), size.height());
    }
    clearVectorUpperHalves();
    queueReplot();
    return image;
}

namespace {

// Encoded in memory and handed whole to the safe save, so that every write
// is checked and a failure leaves the old file.
bool saveBytes(const QString& path, const QByteArray& bytes, std::string* reason) {
    const SaveResult saved =
        saveFile(QFile::encodeName(path).toStdString(),
                 std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    if (reason)
        *reason = saved.reason;
    return saved.ok();
}

} // namespace

bool Chart2D::exportPng(const QString& path, QSize size, std::string* reason) {
    const QByteArray bytes = encodePng(toImage(size));
    if (bytes.isEmpty()) {
        if (reason)
            *reason = "the picture cannot be encoded";
        return false;
    }
    return saveBytes(path, bytes, reason);
}

bool Chart2D::exportPdf(const QString& path, QSize size, const QString& title,
                        std::string* reason) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly) || !writePdf(buffer, size, title)) {
        if (reason)
            *reason = "the page cannot be drawn";
        return false;
    }
    buffer.close();
    return saveBytes(path, bytes, reason);
}

bool Chart2D::writePdf(QIODevice& out, QSize size, const QString& title) {
    QPdfWriter writer(&out);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageOrientation(QPageLayout::Landscape);
    writer.setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
    writer.setTitle(title);
    writer.setCreator(QStringLiteral("vessor-graph"));
    QPainter painter;
    if (!painter.begin(&writer))
        return false;
    // Keep the chart's shape: fill the page in one direction, centre it in the other.
    const QRect page = painter.viewport();
    QRect target = page;
    if (qint64{size.width()} * page.height() < qint64{size.height()} * page.width()) {
        target.setWidth(static_cast<int>(qint64{page.height()} * size.width() / size.height()));
        target.moveLeft(page.left() + (page.width() - target.width()) / 2);
    } else {
        target.setHeight(static_cast<int>(qint64{page.width()} * size.height() / size.width()));
        target.moveTop(page.top() + (page.height() - target.height()) / 2);
    }
    painter.setViewport(target);
    painter.setWindow(QRect(QPoint(0, 0), size));
    drawTo(painter, QRectF(QPointF(0, 0), QSizeF(size)));
    return painter.end();
}

} // namespace vessor::graph
