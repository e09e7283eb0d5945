#include "vessor_graph_view.h"

#include <QApplication>
#include <QFont>
#include <QGridLayout>
#include <QMenu>
#include <QMouseEvent>
#include <QRubberBand>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <ctime>

namespace vessor::graph {

namespace {

const QColor RED(255, 0, 0);
const QColor GREEN(0, 255, 0);
const QColor BLUE(0, 0, 255);
const QColor MAGENTA(255, 0, 255);

QFont chartFont(int pixels) {
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    // Pixel sizes scale with the painter, so printers do not enlarge them twice.
    font.setPixelSize(pixels);
    font.setBold(true);
    return font;
}

// A scroll bar counts in int; longer travels are shown in coarser units.
constexpr std::int64_t BAR_LIMIT = 1'000'000'000;

int barUnits(std::int64_t value, std::int64_t unit) {
    return static_cast<int>(std::clamp<std::int64_t>(value / unit, 0, BAR_LIMIT));
}

// `unit`, doubled until a travel of `max` fits the bar.
std::int64_t barUnitFor(std::int64_t max, std::int64_t unit) {
    while (max / unit > BAR_LIMIT)
        unit *= 2;
    return unit;
}

// A bar from 0 to `max` whose page is `page`, both counted in `unit`.
void setBarRange(QScrollBar& bar, std::int64_t max, std::int64_t page, std::int64_t unit) {
    bar.setRange(0, barUnits(max, unit));
    bar.setPageStep(std::max(1, barUnits(page, unit)));
    bar.setSingleStep(1);
}

// round() for a count of steps, safe for any double.
std::int64_t roundedSteps(double v) {
    if (!(v > 0))
        return 0;
    if (v > 9.0e18)
        return static_cast<std::int64_t>(9.0e18);
    return std::llround(v);
}

const QString MAX_ZOOM_TEXT = QStringLiteral("Maximum zoom level reached.");

QString menuText(const QString& label) {
    QString text = label;
    return text.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

} // namespace

VessorGraphView::VessorGraphView(VessorGraphDoc& document, QWidget* parent)
    : QWidget(parent), doc_(document), m_chart(this), hBar_(new QScrollBar(Qt::Horizontal, this)),
      vBar_(new QScrollBar(Qt::Vertical, this)),
      rubberBand_(new QRubberBand(QRubberBand::Rectangle, m_chart.mouseArea())) {
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(&m_chart, 0, 0);
    layout->addWidget(vBar_, 0, 1);
    layout->addWidget(hBar_, 1, 0);
    hBar_->hide();
    vBar_->hide();
    for (QScrollBar* bar : {hBar_, vBar_}) {
        // The thumb moves while the user scrolls; the chart follows at the end.
        bar->setTracking(false);
        // Its "Scroll here" would move the bar behind the handlers' back.
        bar->setContextMenuPolicy(Qt::NoContextMenu);
        bar->installEventFilter(this);
        connect(bar, &QAbstractSlider::actionTriggered, this,
                [this, bar](int action) { onBarAction(bar->orientation(), action); });
        // Dragging the thumb moves only the thumb (without tracking, the bar
        // reports no action until it is let go).
        connect(bar, &QAbstractSlider::sliderMoved, this, [this, bar](int value) {
            if (bar == hBar_)
                scrollHorizontally(ScrollCode::ThumbTrack, std::int64_t{value} * hUnit_);
            else
                scrollVertically(ScrollCode::ThumbTrack, std::int64_t{value} * vUnit_);
        });
    }
    connect(&m_chart, &Chart2D::mousePressed, this, &VessorGraphView::chartMousePressEvent);
    connect(&m_chart, &Chart2D::mouseMoved, this, &VessorGraphView::chartMouseMoveEvent);
    connect(&m_chart, &Chart2D::mouseReleased, this, &VessorGraphView::chartMouseReleaseEvent);
    connect(&m_chart, &Chart2D::mouseDoubleClicked, this, &VessorGraphView::chartMouseDoubleClickEvent);
    connect(&m_chart, &Chart2D::mouseWheel, this, &VessorGraphView::chartWheelEvent);
}

void VessorGraphView::setTraceMenu(QMenu* menu) {
    traceMenu_ = menu;
    if (menu)
        connect(menu, &QMenu::aboutToShow, this, &VessorGraphView::updateTraceMenuChecks);
}

const ZoomRange& VessorGraphView::zoomRange(int level) const {
    return m_zoom[static_cast<std::size_t>(std::clamp(level, 0, ZOOM_LEVELS - 1))];
}

TraceSet* VessorGraphView::setOf(Axis axis) const {
    return axis == Axis::Y1 ? doc_.y1Set : doc_.y2Set;
}

void VessorGraphView::initialUpdate() {
    SetupChartStyle(m_chart);
    LoadChart();
}

void VessorGraphView::SetupChartStyle(Chart2D& chart) {
    chart.setRepaint(false);
    chart.setFonts(chartFont(16), chartFont(12));

    const PointShape readingsShape = m_markPoints ? PointShape::Marker : PointShape::None;
    // Change only the listed parts of each style; the readings keep their pattern.
    const auto restyle = [&chart](Axis axis, int trace, const QColor& color,
                                  const LinePattern* pattern, PointShape shape, bool pointColor) {
        TraceStyle style = chart.traceStyle(axis, trace);
        style.lineColor = color;
        style.lineWidth = 2;
        if (pattern)
            style.pattern = *pattern;
        style.shape = shape;
        if (pointColor) {
            style.pointColor = color;
            style.pointSize = 5;
        }
        chart.setTraceStyle(axis, trace, style);
    };
    const LinePattern dashDot = LinePattern::DashDot;
    const LinePattern dotted = LinePattern::Dotted;
    const LinePattern longDash = LinePattern::LongDash;
    const LinePattern dashDotDot = LinePattern::DashDotDot;
    const LinePattern longShortDash = LinePattern::LongShortDash;
    restyle(Axis::Y1, READINGS, RED, nullptr, readingsShape, true);
    restyle(Axis::Y1, HIGH_ALARM, RED, &dashDot, PointShape::None, false);
    restyle(Axis::Y1, LOW_ALARM, RED, &dotted, PointShape::None, false);
    restyle(Axis::Y1, EXTRA, GREEN, &longDash, readingsShape, true);

    chart.setXGrid(m_gridX);
    chart.setYGrid(Axis::Y1, m_gridY);
    chart.setMarkerX(NO_VALUE);
    chart.setMarkerShown(true);
    chart.setMarkerStyle(LinePattern::LongDash, MAGENTA);
    chart.setFooter(QStringLiteral(" "));

    restyle(Axis::Y2, READINGS, BLUE, nullptr, readingsShape, true);
    restyle(Axis::Y2, HIGH_ALARM, BLUE, &dashDotDot, PointShape::None, false);
    restyle(Axis::Y2, LOW_ALARM, BLUE, &longShortDash, PointShape::None, false);
    // The humidity set has no fourth trace; its style is kept in step all the same.
    restyle(Axis::Y2, EXTRA, GREEN, &longDash, readingsShape, false);
    chart.setYGrid(Axis::Y2, m_gridY);
    // Repainting stays held: LoadChart or the printing code releases it.
}

void VessorGraphView::LoadChart() {
    m_chart.setRepaint(false);
    m_band.x0 = -1;
    m_band.y0 = -1;
    eraseBand();
    m_maxZoomShown = false;
    m_chart.setHeader(QString::fromStdString(doc_.heading()));
    m_chart.setTimeBase(doc_.startTime);
    ZoomRange& full = m_zoom[0];
    full.xFrom = 0;
    full.xTo = std::int64_t{doc_.readingCount - 1} * doc_.interval;
    m_chart.setYPrecision(Axis::Y1, doc_.primary.decimals);
    AttachY1Set(doc_.primary);
    AttachY2Set(doc_.secondary);
    BuildTraceMenu();
    ApplyZoomLevel(0);
    // The footer follows the x range just set, not the one of the file before.
    ShowTimeSpan(m_chart);
    m_chart.setRepaint(true);
}

void VessorGraphView::AttachY1Set(TraceSet& set) {
    doc_.y1Set = &set;
    AttachSet(Axis::Y1, set, m_zoom[0].y1Min, m_zoom[0].y1Max);
}

void VessorGraphView::AttachY2Set(TraceSet& set) {
    doc_.y2Set = &set;
    AttachSet(Axis::Y2, set, m_zoom[0].y2Min, m_zoom[0].y2Max);
}

void VessorGraphView::AttachSet(Axis axis, TraceSet& set, double& fullMin, double& fullMax) {
    m_chart.setData(axis, &set.data);
    m_chart.setYMaxAuto(axis);
    m_chart.setYMinAuto(axis);
    // The full view always includes zero.
    fullMin = m_chart.yMin(axis);
    if (fullMin > 0) {
        fullMin = 0;
        m_chart.setYMin(axis, 0.0);
    }
    fullMax = m_chart.yMax(axis);
    if (fullMax < 0) {
        fullMax = 0;
        m_chart.setYMax(axis, 0.0);
        // The chart widens the free limit to the new span: record what it shows.
        fullMin = m_chart.yMin(axis);
    }
    m_chart.setTraceLabel(axis, READINGS, QString::fromStdString(set.name));
    m_chart.setAxisTitle(axis, QString::fromStdString(set.unit));
    m_chart.setTraceLabel(axis, HIGH_ALARM, QString::fromStdString(set.highLabel));
    m_chart.setTraceLabel(axis, LOW_ALARM, QString::fromStdString(set.lowLabel));
    m_chart.setTraceLabel(axis, EXTRA, QString::fromStdString(set.extraLabel));
}

void VessorGraphView::BuildTraceMenu() {
    if (!traceMenu_)
        return;
    traceMenu_->clear();
    // A set whose readings are hidden adds nothing; the menu is only rebuilt
    // here, so a trace hidden later keeps its (unchecked) item.
    for (const TraceCommand& command : TRACE_COMMANDS) {
        const TraceSet* set = setOf(command.axis);
        if (!set || set->data.display(READINGS) != Display::Shown ||
            set->data.display(command.trace) != Display::Shown)
            continue;
        QAction* action =
            traceMenu_->addAction(menuText(m_chart.traceLabel(command.axis, command.trace)));
        action->setData(command.id);
        action->setCheckable(true);
        action->setChecked(true);
        const int id = command.id;
        connect(action, &QAction::triggered, this, [this, id] { toggleTrace(id); });
    }
}

void VessorGraphView::updateTraceMenuChecks() {
    if (!traceMenu_)
        return;
    for (QAction* action : traceMenu_->actions())
        action->setChecked(isTraceShown(action->data().toInt()));
}

void VessorGraphView::toggleTrace(int commandId) {
    for (const TraceCommand& command : TRACE_COMMANDS) {
        if (command.id != commandId)
            continue;
        TraceSet* set = setOf(command.axis);
        if (!set)
            return;
        const bool shown = set->data.display(command.trace) == Display::Shown;
        set->data.setDisplay(command.trace, shown ? Display::Hidden : Display::Shown);
        m_chart.setRepaint(true);
        updateTraceMenuChecks();
        return;
    }
}

bool VessorGraphView::isTraceShown(int commandId) const {
    for (const TraceCommand& command : TRACE_COMMANDS) {
        if (command.id == commandId) {
            const TraceSet* set = setOf(command.axis);
            return set && set->data.display(command.trace) == Display::Shown;
        }
    }
    return false;
}

void VessorGraphView::toggleMarkPoints() {
    const PointShape shape = m_markPoints ? PointShape::None : PointShape::Marker;
    m_chart.setRepaint(false);
    for (auto [axis, trace] :
         {std::pair{Axis::Y1, 0}, std::pair{Axis::Y2, 0}, std::pair{Axis::Y1, 3}}) {
        TraceStyle style = m_chart.traceStyle(axis, trace);
        style.shape = shape;
        m_chart.setTraceStyle(axis, trace, style);
    }
    m_markPoints = !m_markPoints;
    m_chart.setRepaint(true);
}

void VessorGraphView::toggleGridX() {
    m_gridX = !m_gridX;
    m_chart.setXGrid(m_gridX);
    m_chart.setRepaint(true);
}

void VessorGraphView::toggleGridY() {
    m_gridY = !m_gridY;
    m_chart.setRepaint(false);
    m_chart.setYGrid(Axis::Y1, m_gridY);
    m_chart.setYGrid(Axis::Y2, m_gridY);
    m_chart.setRepaint(true);
}

QString VessorGraphView::formatClockTime(std::int64_t clockSeconds) {
    const ClockFields f = fromClockSeconds(clockSeconds);
    std::tm tm{};
    tm.tm_year = f.year - 1900;
    tm.tm_mon = f.month - 1;
    tm.tm_mday = f.day;
    tm.tm_hour = f.hour;
    tm.tm_min = f.minute;
    tm.tm_sec = f.second;
    tm.tm_isdst = -1;
    char text[80];
    const std::size_t n = std::strftime(text, sizeof text, " %d %B %Y %X", &tm);
    return QString::fromLocal8Bit(text, static_cast<qsizetype>(n));
}

void VessorGraphView::ShowTimeSpan(Chart2D& chart) {
    const std::int64_t from = chart.valueToTime(chart.xMin() + 0.000001);
    const std::int64_t to = chart.valueToTime(chart.xMax() + 0.000001);
    if (doc_.readingCount < 1 || from < 1 || to < 1) {
        m_footer = QStringLiteral(" ");
    } else {
        m_footer = QStringLiteral("From:- ") + formatClockTime(from) +
                   QStringLiteral("     To:- ") + formatClockTime(to);
    }
    chart.setFooter(m_footer);
}

download::ReadingRange VessorGraphView::visibleReadings() const {
    const double step = std::max(1, doc_.interval);
    const double from = std::ceil(m_chart.xMin() / step - 1e-9);
    const double to = std::floor(m_chart.xMax() / step + 1e-9) + 1;
    const double last = std::max(0, doc_.rowsRead);
    return {static_cast<int>(std::clamp(from, 0.0, last)), static_cast<int>(std::clamp(to, 0.0, last))};
}

void VessorGraphView::ApplyZoomLevel(int level) {
    level = std::clamp(level, 0, ZOOM_LEVELS - 1);
    m_chart.setRepaint(false);
    m_zoomLevel = level;
    const ZoomRange& r = m_zoom[static_cast<std::size_t>(level)];
    SetXRange(r.xFrom, r.xTo);
    SetY1Range(r.y1Min, r.y1Max);
    SetY2Range(r.y2Min, r.y2Max);
    const std::int64_t last = std::int64_t{doc_.readingCount - 1} * doc_.interval;
    hBar_->setVisible(level > 0 && m_xPage <= last);
    const ZoomRange& full = m_zoom[0];
    vBar_->setVisible(level > 0 && full.y1Max - full.y1Min >= m_y1Page);
    m_chart.setRepaint(true);
}

void VessorGraphView::SetXRange(std::int64_t from, std::int64_t to) {
    m_chart.setRepaint(false);
    m_chart.setXRange(static_cast<double>(from), static_cast<double>(to));
    m_xPage = to - from + doc_.interval;
    const std::int64_t last = std::int64_t{doc_.readingCount - 1} * doc_.interval;
    hThumb_ = {0, std::max<std::int64_t>(0, last - (to - from)), from};
    // Positions are whole intervals; count them in intervals where the span allows.
    hUnit_ = barUnitFor(hThumb_.max, std::max<std::int64_t>(1, doc_.interval));
    setBarRange(*hBar_, hThumb_.max, to - from, hUnit_);
    showHorizontalThumb();
    emit visibleRangeChanged();
}

void VessorGraphView::SetY1Range(double min, double max) {
    m_chart.setRepaint(false);
    setYLimits(Axis::Y1, min, max);
    m_yStep = yStepFor(m_chart.yPrecision(Axis::Y1));
    m_y1Page = m_yStep + (max - min);
    const ZoomRange& full = m_zoom[0];
    vThumb_ = {0, verticalThumbMax(full, min, max, m_yStep), verticalThumbPos(full, max, m_yStep)};
    vUnit_ = barUnitFor(vThumb_.max, 1);
    setBarRange(*vBar_, vThumb_.max, roundedSteps(m_y1Page / m_yStep), vUnit_);
    showVerticalThumb();
}

void VessorGraphView::SetY2Range(double min, double max) {
    m_chart.setRepaint(false);
    setYLimits(Axis::Y2, min, max);
    m_y2Page = max - min + m_yStep;
}

void VessorGraphView::setYLimits(Axis axis, double min, double max) {
    // At full view a limit pinned at zero stays fixed while the chart picks
    // the opposite one; when the data span zero both are fixed.
    if (m_zoomLevel == 0 && min == 0)
        m_chart.setYMaxAuto(axis);
    else
        m_chart.setYMax(axis, max);
    if (m_zoomLevel == 0 && max == 0)
        m_chart.setYMinAuto(axis);
    else
        m_chart.setYMin(axis, min);
}

void VessorGraphView::showHorizontalThumb() {
    hBar_->setValue(barUnits(hThumb_.pos, hUnit_));
}

void VessorGraphView::showVerticalThumb() {
    vBar_->setValue(barUnits(vThumb_.pos, vUnit_));
}

void VessorGraphView::setHorizontalThumb(std::int64_t pos) {
    hThumb_.pos = pos;
    showHorizontalThumb();
}

void VessorGraphView::setVerticalThumb(std::int64_t pos) {
    vThumb_.pos = pos;
    showVerticalThumb();
}

// ---- Zoom -------------------------------------------------------------------

void VessorGraphView::drawBand() {
    rubberBand_->setGeometry(
        QRect(QPoint(m_band.x0, m_band.y0), QPoint(m_band.x1, m_band.y1)).normalized());
    rubberBand_->show();
}

void VessorGraphView::eraseBand() {
    rubberBand_->hide();
}

void VessorGraphView::chartMousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || m_ignoreUp || m_maxZoomShown)
        return;
    if (m_zoomLevel == 0) {
        // The full view's limits as the chart has chosen them by now.
        ZoomRange& full = m_zoom[0];
        full.y1Max = m_chart.yMax(Axis::Y1);
        full.y1Min = m_chart.yMin(Axis::Y1);
        full.y2Max = m_chart.yMax(Axis::Y2);
        full.y2Min = m_chart.yMin(Axis::Y2);
    }
    if (m_zoomLevel >= ZOOM_LEVELS - 1) {
        QApplication::beep();
        m_maxZoomShown = true;
        m_footer = MAX_ZOOM_TEXT;
        m_chart.setFooter(m_footer);
        return;
    }
    const QPoint p = event->position().toPoint();
    const QRect area = m_chart.plotRect();
    if (p.x() < area.left() || p.x() > area.right() || p.y() < area.top() ||
        p.y() > area.bottom()) {
        m_band = {-1, -1, -1, -1};
        return;
    }
    ++m_zoomLevel;
    m_band = {p.x(), p.y(), p.x(), p.y()};
    ZoomRange& box = m_zoom[static_cast<std::size_t>(m_zoomLevel)];
    box.xFrom = std::int64_t{doc_.interval} * m_chart.pick(p);
    box.y1Min = m_chart.map(Axis::Y1, p).y;
    box.y2Min = m_chart.map(Axis::Y2, p).y;
    m_chart.setMarkerShown(false);
    drawBand();
}

void VessorGraphView::chartMouseMoveEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    const bool leftDown = event->buttons() & Qt::LeftButton;
    if (!leftDown || m_maxZoomShown)
        readout(p);
    if (!leftDown || m_band.x0 < 0 || m_ignoreUp || m_maxZoomShown)
        return;
    eraseBand();
    const QRect area = m_chart.plotRect();
    m_band.x1 = std::clamp(p.x(), area.left(), std::max(area.left(), area.right()));
    m_band.y1 = std::clamp(p.y(), area.top() + 1, std::max(area.top() + 1, area.bottom() - 1));
    drawBand();
}

void VessorGraphView::chartMouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    if ((event->buttons() & Qt::LeftButton) || m_band.x0 < 0 || m_ignoreUp || m_maxZoomShown) {
        m_ignoreUp = false;
        return;
    }
    eraseBand();
    // A release outside the plot keeps the last corner seen inside it.
    const QPoint p = event->position().toPoint();
    const QRect area = m_chart.plotRect();
    if (area.left() < p.x() && p.x() < area.right())
        m_band.x1 = p.x();
    if (area.top() < p.y() && p.y() < area.bottom())
        m_band.y1 = p.y();
    drawBand();
    const QPoint corner(m_band.x1, m_band.y1);
    ZoomRange& box = m_zoom[static_cast<std::size_t>(m_zoomLevel)];
    box.xTo = std::int64_t{doc_.interval} * m_chart.pick(corner);
    box.y1Max = m_chart.map(Axis::Y1, corner).y;
    box.y2Max = m_chart.map(Axis::Y2, corner).y;
    const bool wideEnough = finishZoomBox(box, m_zoom[0], m_yStep);
    eraseBand();
    m_band = {-1, -1, -1, -1};
    if (!wideEnough) {
        --m_zoomLevel;
        return;
    }
    m_chart.setMarkerShown(false);
    ApplyZoomLevel(m_zoomLevel);
}

void VessorGraphView::chartMouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    // The release that ends the double-click is not the end of a drag.
    m_ignoreUp = true;
    ZoomOut();
}

void VessorGraphView::ZoomOut() {
    if (m_zoomLevel <= 0)
        return;
    if (m_maxZoomShown) {
        m_footer.clear();
        m_chart.setFooter(m_footer);
        m_maxZoomShown = false;
    }
    ApplyZoomLevel(m_zoomLevel - 1);
}

// ---- Readout ----------------------------------------------------------------

void VessorGraphView::readout(QPoint pixel) {
    m_chart.setRepaint(false);
    const double x = m_chart.map(Axis::Y1, pixel).x;
    const std::optional<int> index =
        isNoValue(x) ? std::nullopt
                     : readingAt(x, doc_.interval, doc_.primary.data.lastPoint(READINGS));
    if (!index) {
        ShowTimeSpan(m_chart);
    } else {
        const int i = *index;
        const std::int64_t t =
            m_chart.valueToTime(static_cast<double>(std::int64_t{doc_.interval} * i) + 0.000001);
        // A trace's value where it is shown and has one (each trace checked on its own).
        const auto value = [i](const TraceSet* set, int trace) -> std::optional<double> {
            if (!set || set->data.display(trace) != Display::Shown || i > set->data.lastPoint(trace))
                return std::nullopt;
            const double y = set->data.yValue(trace, i);
            if (isNoValue(y))
                return std::nullopt;
            return y;
        };
        ReadoutParts parts;
        parts.y1 = value(doc_.y1Set, READINGS);
        parts.extra = value(doc_.y1Set, EXTRA);
        parts.y2 = value(doc_.y2Set, READINGS);
        if (doc_.y1Set) {
            parts.decimals = doc_.y1Set->decimals;
            parts.unit1 = QString::fromStdString(doc_.y1Set->unit);
        }
        if (doc_.y2Set)
            parts.unit2 = QString::fromStdString(doc_.y2Set->unit);
        if (t != -1) {
            m_footer = formatClockTime(t) + readoutValues(parts);
            m_chart.setFooter(m_footer);
        }
    }
    // The marker sits at the pointer, not at the reading, and leaves the plot with it.
    m_chart.setMarkerX(x);
    m_chart.setMarkerShown(true);
    m_chart.setRepaint(true);
}

// ---- Scrolling --------------------------------------------------------------

void VessorGraphView::scrollHorizontally(ScrollCode code, std::int64_t trackPos) {
    if (m_zoomLevel <= 0)
        return;
    switch (code) {
    case ScrollCode::LineUp:
    case ScrollCode::LineDown:
    case ScrollCode::PageUp:
    case ScrollCode::PageDown:
        if (const auto pos = movedThumb(code, hThumb_, doc_.interval, m_xPage))
            setHorizontalThumb(*pos);
        break;
    case ScrollCode::ThumbTrack:
        setHorizontalThumb(std::clamp(trackPos, hThumb_.min, hThumb_.max));
        break;
    case ScrollCode::EndScroll: {
        const std::int64_t last = std::int64_t{doc_.readingCount - 1} * doc_.interval;
        const XSpan span = horizontalScrollEnd(hThumb_.pos, m_xPage, doc_.interval, last);
        SetXRange(span.from, span.to);
        m_chart.setRepaint(true);
        ShowTimeSpan(m_chart);
        break;
    }
    case ScrollCode::Other:
        break;
    }
}

void VessorGraphView::scrollVertically(ScrollCode code, std::int64_t trackPos) {
    if (m_zoomLevel <= 0)
        return;
    switch (code) {
    case ScrollCode::LineUp:
    case ScrollCode::LineDown:
    case ScrollCode::PageUp:
    case ScrollCode::PageDown:
        if (const auto pos = movedThumb(code, vThumb_, 1, roundedSteps(m_y1Page / m_yStep)))
            setVerticalThumb(*pos);
        break;
    case ScrollCode::ThumbTrack:
        setVerticalThumb(std::clamp(trackPos, vThumb_.min, vThumb_.max));
        break;
    case ScrollCode::EndScroll: {
        const ZoomRange& full = m_zoom[0];
        const std::int64_t pos = vThumb_.pos;
        const std::int64_t travel = vThumb_.max - vThumb_.min;
        const YSpan y1 = verticalScrollEndY1(pos, m_yStep, m_y1Page, full);
        SetY1Range(y1.min, y1.max);
        const YSpan y2 = verticalScrollEndY2(pos, travel, m_yStep, m_y2Page, full);
        SetY2Range(y2.min, y2.max);
        m_chart.setRepaint(true);
        break;
    }
    case ScrollCode::Other:
        break;
    }
}

void VessorGraphView::onBarAction(Qt::Orientation orientation, int action) {
    ScrollCode code = ScrollCode::Other;
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
        code = ScrollCode::LineUp;
        break;
    case QAbstractSlider::SliderSingleStepAdd:
        code = ScrollCode::LineDown;
        break;
    case QAbstractSlider::SliderPageStepSub:
        code = ScrollCode::PageUp;
        break;
    case QAbstractSlider::SliderPageStepAdd:
        code = ScrollCode::PageDown;
        break;
    case QAbstractSlider::SliderMove:
        code = ScrollCode::ThumbTrack;
        break;
    default:
        break;
    }
    // The bar has already moved its own way; put the thumb where the handler says.
    if (orientation == Qt::Horizontal) {
        scrollHorizontally(code, std::int64_t{hBar_->sliderPosition()} * hUnit_);
        showHorizontalThumb();
    } else {
        scrollVertically(code, std::int64_t{vBar_->sliderPosition()} * vUnit_);
        showVerticalThumb();
    }
}

void VessorGraphView::scrollByWheel(Qt::Orientation orientation, int delta) {
    if (m_zoomLevel <= 0)
        return;
    int& rest = wheelRest_[orientation == Qt::Horizontal ? 0 : 1];
    rest += delta;
    const int notches = rest / QWheelEvent::DefaultDeltasPerStep;
    rest -= notches * QWheelEvent::DefaultDeltasPerStep;
    if (notches == 0)
        return;
    const ScrollCode code = notches > 0 ? ScrollCode::LineUp : ScrollCode::LineDown;
    const int lines = std::abs(notches) * std::max(1, QApplication::wheelScrollLines());
    for (int i = 0; i < lines; ++i) {
        if (orientation == Qt::Horizontal)
            scrollHorizontally(code);
        else
            scrollVertically(code);
    }
    if (orientation == Qt::Horizontal)
        scrollHorizontally(ScrollCode::EndScroll);
    else
        scrollVertically(ScrollCode::EndScroll);
}

void VessorGraphView::chartWheelEvent(QWheelEvent* event) {
    const QPoint delta = event->angleDelta();
    // Shift turns the wheel sideways, as in most programs.
    if (delta.x() != 0)
        scrollByWheel(Qt::Horizontal, delta.x());
    else if (event->modifiers() & Qt::ShiftModifier)
        scrollByWheel(Qt::Horizontal, delta.y());
    else
        scrollByWheel(Qt::Vertical, delta.y());
    event->accept();
}

bool VessorGraphView::eventFilter(QObject* watched, QEvent* event) {
    if (watched != hBar_ && watched != vBar_)
        return QWidget::eventFilter(watched, event);
    const Qt::Orientation orientation = watched == hBar_ ? Qt::Horizontal : Qt::Vertical;
    if (event->type() == QEvent::MouseButtonRelease) {
        // Letting go of an arrow, the trough or the thumb ends the scroll.
        if (orientation == Qt::Horizontal)
            scrollHorizontally(ScrollCode::EndScroll);
        else
            scrollVertically(ScrollCode::EndScroll);
    } else if (event->type() == QEvent::Wheel) {
        const QPoint delta = static_cast<QWheelEvent*>(event)->angleDelta();
        scrollByWheel(orientation, delta.y() != 0 ? delta.y() : delta.x());
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

// ---- Help -------------------------------------------------------------------

int VessorGraphView::helpContextId() const {
    if (doc_.secondary.present)
        return 1002;
    const std::string& name = doc_.primary.name;
    if (name == "Voltage")
        return 1003;
    if (name == "Current")
        return 1004;
    if (name == "CO")
        return 1006;
    return doc_.primary.decimals != 0 ? 1001 : 1005;
}

} // namespace vessor::graph
