// The viewer's single view: builds the chart from the document. It binds the
// document's two trace sets to the chart's two value axes, styles the traces,
// sets the header (the logger name) and the footer (the time span on show),
// fills the "Show traces..." submenu and records the full-view ranges that
// zooming and scrolling start from.
#pragma once

#include "chart/chart2d.h"
#include "document/vessor_graph_doc.h"

#include <QWidget>

#include <array>
#include <cstdint>

class QMenu;
class QScrollBar;

namespace vessor::graph {

// The ranges on show at one zoom level; record 0 is the full view.
// x values are seconds after the first reading (64-bit: 65535 readings 12 h
// apart span more seconds than a 32-bit number holds).
struct ZoomRange {
    std::int64_t xFrom = 0;
    std::int64_t xTo = 0;
    double y1Min = 0;
    double y1Max = 0;
    double y2Min = 0;
    double y2Max = 0;
};

// Rubber-band rectangle of a zoom drag; x0 = -1: none.
struct BandRect {
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
};

// Command ids of the "Show traces..." items and the trace each one switches.
struct TraceCommand {
    int id;
    Axis axis;
    int trace;
};
inline constexpr std::array<TraceCommand, 8> TRACE_COMMANDS{{
    {48000, Axis::Y1, 0},
    {48001, Axis::Y1, 1},
    {48002, Axis::Y1, 2},
    {48006, Axis::Y1, 3},
    {48003, Axis::Y2, 0},
    {48004, Axis::Y2, 1},
    {48005, Axis::Y2, 2},
    {48007, Axis::Y2, 3},
}};

class CVessorGraphView : public QWidget {
    Q_OBJECT
public:
    static constexpr int ZOOM_LEVELS = 24;

    explicit CVessorGraphView(CVessorGraphDoc& document, QWidget* parent = nullptr);

    CVessorGraphDoc& document() { return doc_; }
    Chart2D& chart() { return m_chart; }
    // The View menu's "Show traces..." submenu, rebuilt on every load; may be null.
    void setTraceMenu(QMenu* menu);
    QMenu* traceMenu() const { return traceMenu_; }

    // Every load, and the empty document at start-up.
    void OnInitialUpdate();
    // Take the chart to act on: printing styles a second, off-screen chart.
    void SetupChartStyle(Chart2D& chart);
    void LoadChart();
    void AttachY1Set(TraceSet& set);
    void AttachY2Set(TraceSet& set);
    void BuildTraceMenu();
    void ShowTimeSpan(Chart2D& chart);

    void ApplyZoomLevel(int level);
    void SetXRange(std::int64_t from, std::int64_t to);
    void SetY1Range(double min, double max);
    void SetY2Range(double min, double max);

    // View menu toggles.
    void OnShowTrace(int commandId);
    bool isTraceShown(int commandId) const;
    void OnMarkPoints();
    void OnGridX();
    void OnGridY();
    bool markPoints() const { return m_markPoints; }
    bool gridX() const { return m_gridX; }
    bool gridY() const { return m_gridY; }

    int zoomLevel() const { return m_zoomLevel; }
    const ZoomRange& zoomRange(int level) const;
    QString footerText() const { return m_footer; }
    QScrollBar* horizontalBar() const { return hBar_; }
    QScrollBar* verticalBar() const { return vBar_; }

    // " 05 March 2007 14:30:00": a clock time as the footer shows it, in the
    // user's locale (" %d %B %Y %X").
    static QString formatClockTime(std::int64_t clockSeconds);

private:
    TraceSet* setOf(Axis axis) const;
    void updateTraceMenuChecks();

    CVessorGraphDoc& doc_;
    Chart2D m_chart;
    QScrollBar* hBar_;
    QScrollBar* vBar_;
    QMenu* traceMenu_ = nullptr;

    std::array<ZoomRange, ZOOM_LEVELS> m_zoom{};
    int m_zoomLevel = 0;
    std::int64_t m_xPage = 0; // visible x span plus one interval
    double m_y1Page = 0;      // visible y spans plus one m_yStep
    double m_y2Page = 0;
    double m_yStep = 1; // one unit of the last y1 decimal
    QString m_footer;
    bool m_maxZoomShown = false;
    BandRect m_band{-1, -1, -1, -1};
    bool m_ignoreUp = false;
    bool m_markPoints = false;
    bool m_gridX = true;
    bool m_gridY = true;
};

} // namespace vessor::graph
