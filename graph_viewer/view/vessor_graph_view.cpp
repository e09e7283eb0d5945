#include "vessor_graph_view.h"

#include <QFont>
#include <QGridLayout>
#include <QMenu>
#include <QScrollBar>

#include <algorithm>
#include <climits>
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

int clampToInt(double v) {
    if (!(v > INT_MIN))
        return INT_MIN;
    if (!(v < INT_MAX))
        return INT_MAX;
    return static_cast<int>(v);
}

QString menuText(const QString& label) {
    QString text = label;
    return text.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

} // namespace

CVessorGraphView::CVessorGraphView(CVessorGraphDoc& document, QWidget* parent)
    : QWidget(parent), doc_(document), m_chart(this), hBar_(new QScrollBar(Qt::Horizontal, this)),
      vBar_(new QScrollBar(Qt::Vertical, this)) {
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(&m_chart, 0, 0);
    layout->addWidget(vBar_, 0, 1);
    layout->addWidget(hBar_, 1, 0);
    hBar_->hide();
    vBar_->hide();
}

void CVessorGraphView::setTraceMenu(QMenu* menu) {
    traceMenu_ = menu;
    if (menu)
        connect(menu, &QMenu::aboutToShow, this, &CVessorGraphView::updateTraceMenuChecks);
}

const ZoomRange& CVessorGraphView::zoomRange(int level) const {
    return m_zoom[static_cast<std::size_t>(std::clamp(level, 0, ZOOM_LEVELS - 1))];
}

TraceSet* CVessorGraphView::setOf(Axis axis) const {
    return axis == Axis::Y1 ? doc_.y1Set : doc_.y2Set;
}

void CVessorGraphView::OnInitialUpdate() {
    SetupChartStyle(m_chart);
    LoadChart();
}

void CVessorGraphView::SetupChartStyle(Chart2D& chart) {
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

void CVessorGraphView::LoadChart() {
    m_chart.setRepaint(false);
    m_band.x0 = -1;
    m_band.y0 = -1;
    m_maxZoomShown = false;
    m_chart.setHeader(QString::fromStdString(doc_.title));
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

void CVessorGraphView::AttachY1Set(TraceSet& set) {
    m_chart.setData(Axis::Y1, &set.data);
    doc_.y1Set = &set;
    m_chart.setYMaxAuto(Axis::Y1);
    m_chart.setYMinAuto(Axis::Y1);
    // The full view always includes zero.
    ZoomRange& full = m_zoom[0];
    full.y1Min = m_chart.yMin(Axis::Y1);
    if (full.y1Min > 0) {
        full.y1Min = 0;
        m_chart.setYMin(Axis::Y1, 0.0);
    }
    full.y1Max = m_chart.yMax(Axis::Y1);
    if (full.y1Max < 0) {
        full.y1Max = 0;
        m_chart.setYMax(Axis::Y1, 0.0);
        // The chart widens the free limit to the new span: record what it shows.
        full.y1Min = m_chart.yMin(Axis::Y1);
    }
    m_chart.setTraceLabel(Axis::Y1, READINGS, QString::fromStdString(set.name));
    m_chart.setAxisTitle(Axis::Y1, QString::fromStdString(set.unit));
    m_chart.setTraceLabel(Axis::Y1, HIGH_ALARM, QString::fromStdString(set.highLabel));
    m_chart.setTraceLabel(Axis::Y1, LOW_ALARM, QString::fromStdString(set.lowLabel));
    m_chart.setTraceLabel(Axis::Y1, EXTRA, QString::fromStdString(set.extraLabel));
}

void CVessorGraphView::AttachY2Set(TraceSet& set) {
    m_chart.setData(Axis::Y2, &set.data);
    doc_.y2Set = &set;
    m_chart.setYMaxAuto(Axis::Y2);
    m_chart.setYMinAuto(Axis::Y2);
    ZoomRange& full = m_zoom[0];
    full.y2Min = m_chart.yMin(Axis::Y2);
    if (full.y2Min > 0) {
        full.y2Min = 0;
        m_chart.setYMin(Axis::Y2, 0.0);
    }
    full.y2Max = m_chart.yMax(Axis::Y2);
    if (full.y2Max < 0) {
        full.y2Max = 0;
        m_chart.setYMax(Axis::Y2, 0.0);
        full.y2Min = m_chart.yMin(Axis::Y2);
    }
    m_chart.setTraceLabel(Axis::Y2, READINGS, QString::fromStdString(set.name));
    m_chart.setAxisTitle(Axis::Y2, QString::fromStdString(set.unit));
    m_chart.setTraceLabel(Axis::Y2, HIGH_ALARM, QString::fromStdString(set.highLabel));
    m_chart.setTraceLabel(Axis::Y2, LOW_ALARM, QString::fromStdString(set.lowLabel));
    m_chart.setTraceLabel(Axis::Y2, EXTRA, QString::fromStdString(set.extraLabel));
}

void CVessorGraphView::BuildTraceMenu() {
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
        connect(action, &QAction::triggered, this, [this, id] { OnShowTrace(id); });
    }
}

void CVessorGraphView::updateTraceMenuChecks() {
    if (!traceMenu_)
        return;
    for (QAction* action : traceMenu_->actions())
        action->setChecked(isTraceShown(action->data().toInt()));
}

void CVessorGraphView::OnShowTrace(int commandId) {
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

bool CVessorGraphView::isTraceShown(int commandId) const {
    for (const TraceCommand& command : TRACE_COMMANDS) {
        if (command.id == commandId) {
            const TraceSet* set = setOf(command.axis);
            return set && set->data.display(command.trace) == Display::Shown;
        }
    }
    return false;
}

void CVessorGraphView::OnMarkPoints() {
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

void CVessorGraphView::OnGridX() {
    m_gridX = !m_gridX;
    m_chart.setXGrid(m_gridX);
    m_chart.setRepaint(true);
}

void CVessorGraphView::OnGridY() {
    m_gridY = !m_gridY;
    m_chart.setRepaint(false);
    m_chart.setYGrid(Axis::Y1, m_gridY);
    m_chart.setYGrid(Axis::Y2, m_gridY);
    m_chart.setRepaint(true);
}

QString CVessorGraphView::formatClockTime(std::int64_t clockSeconds) {
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

void CVessorGraphView::ShowTimeSpan(Chart2D& chart) {
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

void CVessorGraphView::ApplyZoomLevel(int level) {
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

void CVessorGraphView::SetXRange(std::int64_t from, std::int64_t to) {
    m_chart.setRepaint(false);
    m_chart.setXRange(static_cast<double>(from), static_cast<double>(to));
    m_xPage = to - from + doc_.interval;
    const std::int64_t last = std::int64_t{doc_.readingCount - 1} * doc_.interval;
    hBar_->setRange(0, clampToInt(static_cast<double>(last - (to - from))));
    hBar_->setValue(clampToInt(static_cast<double>(from)));
}

void CVessorGraphView::SetY1Range(double min, double max) {
    m_chart.setRepaint(false);
    // At full view a limit pinned at zero stays fixed while the chart picks
    // the opposite one; when the data span zero both are fixed.
    if (m_zoomLevel == 0 && min == 0)
        m_chart.setYMaxAuto(Axis::Y1);
    else
        m_chart.setYMax(Axis::Y1, max);
    if (m_zoomLevel == 0 && max == 0)
        m_chart.setYMinAuto(Axis::Y1);
    else
        m_chart.setYMin(Axis::Y1, min);
    const int precision = std::clamp(m_chart.yPrecision(Axis::Y1), 0, 15);
    std::int64_t power = 1;
    for (int i = 0; i < precision; ++i)
        power *= 10;
    m_yStep = 1.0 / static_cast<double>(power);
    m_y1Page = m_yStep + (max - min);
    const ZoomRange& full = m_zoom[0];
    vBar_->setRange(0, std::max(0, clampToInt((full.y1Max - full.y1Min - (max - min)) / m_yStep)));
    vBar_->setValue(clampToInt((full.y1Max - max) / m_yStep + 0.5));
}

void CVessorGraphView::SetY2Range(double min, double max) {
    m_chart.setRepaint(false);
    if (m_zoomLevel == 0 && min == 0)
        m_chart.setYMaxAuto(Axis::Y2);
    else
        m_chart.setYMax(Axis::Y2, max);
    if (m_zoomLevel == 0 && max == 0)
        m_chart.setYMinAuto(Axis::Y2);
    else
        m_chart.setYMin(Axis::Y2, min);
    m_y2Page = max - min + m_yStep;
}

} // namespace vessor::graph
