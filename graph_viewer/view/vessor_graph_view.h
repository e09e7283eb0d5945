// The viewer's single view: builds the chart from the document. It binds the
// document's two trace sets to the chart's two value axes, styles the traces,
// sets the header (the logger name) and the footer (the time span on show),
// fills the "Show traces..." submenu and records the full-view ranges that
// zooming and scrolling start from. Then it serves the user: box zoom with
// the left button, zoom out, scrolling a zoomed view, the readout under the
// mouse, the View toggles, the help page for the logger kind and printing.
#pragma once

#include "chart/chart2d.h"
#include "document/vessor_graph_doc.h"
#include "logger/summary.h"
#include "zoom_math.h"

#include <QWidget>

#include <array>
#include <cstdint>
#include <string>

class QMenu;
class QMouseEvent;
class QPainter;
class QIODevice;
class QPageLayout;
class QPrinter;
class QRubberBand;
class QScrollBar;
class QWheelEvent;

namespace vessor::graph {

// The message when the graph cannot be printed.
inline constexpr const char* PRINT_FAILED_TEXT = "Error: Failed to print graph.";

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

class VessorGraphView : public QWidget {
    Q_OBJECT
public:
    static constexpr int ZOOM_LEVELS = 24;

    explicit VessorGraphView(VessorGraphDoc& document, QWidget* parent = nullptr);

    VessorGraphDoc& document() { return doc_; }
    Chart2D& chart() { return m_chart; }
    // The View menu's "Show traces..." submenu, rebuilt on every load; may be null.
    void setTraceMenu(QMenu* menu);
    QMenu* traceMenu() const { return traceMenu_; }

    // Every load, and the empty document at start-up.
    void initialUpdate();
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
    void toggleTrace(int commandId);
    bool isTraceShown(int commandId) const;
    void toggleMarkPoints();
    void toggleGridX();
    void toggleGridY();
    bool markPoints() const { return m_markPoints; }
    bool gridX() const { return m_gridX; }
    bool gridY() const { return m_gridY; }

    // Zoom: a box dragged with the left button zooms in, up to the last of
    // ZOOM_LEVELS levels; Zoom Out and a double-click go back one level.
    void ZoomOut();
    int zoomLevel() const { return m_zoomLevel; }
    const ZoomRange& zoomRange(int level) const;
    bool maxZoomShown() const { return m_maxZoomShown; }
    // The band of a drag in progress (x0 = -1: none).
    BandRect band() const { return m_band; }
    double yStep() const { return m_yStep; }
    std::int64_t xPage() const { return m_xPage; }
    QString footerText() const { return m_footer; }
    // The readings whose times fall inside the visible x range, from 0.
    download::ReadingRange visibleReadings() const;

    // Mouse messages of the chart, in its pixels.
    void chartMousePressEvent(QMouseEvent* event);
    void chartMouseMoveEvent(QMouseEvent* event);
    void chartMouseReleaseEvent(QMouseEvent* event);
    void chartMouseDoubleClickEvent(QMouseEvent* event);
    void chartWheelEvent(QWheelEvent* event);

    // Scroll-bar events of a zoomed view; the thumb positions are in seconds
    // (across) and in y steps from the top (down). At full view: ignored.
    void scrollHorizontally(ScrollCode code, std::int64_t trackPos = 0);
    void scrollVertically(ScrollCode code, std::int64_t trackPos = 0);
    const ThumbRange& horizontalThumb() const { return hThumb_; }
    const ThumbRange& verticalThumb() const { return vThumb_; }
    QScrollBar* horizontalBar() const { return hBar_; }
    QScrollBar* verticalBar() const { return vBar_; }

    // The help page for the kind of logger on show.
    int helpContextId() const;

    // Printing: one page, the graph at 4:3 filling the printable area in one
    // direction and centred in the other, drawn by a second chart with the
    // screen's ranges and switches. False when it cannot be drawn.
    bool printChart(QPainter& painter);
    // A printer that writes a PDF file gets it through the safe save; a
    // failure to write it sets `fileError` ("Cannot write X: reason.").
    bool printTo(QPrinter& printer, std::string* fileError = nullptr);
    // The same page as PDF into `out`, on the page `layout` describes.
    bool printToPdf(QIODevice& out, const QPageLayout& layout);
    // The same page as a PDF file, A4 landscape with 10 mm margins, written
    // through the safe save; false with `reason`.
    bool printToPdf(const QString& path, std::string* reason = nullptr);
    bool printToPdf(const QString& path, const QPageLayout& layout, std::string* reason = nullptr);
    // The ranges of the last printout (x in seconds after the first reading).
    struct PrintedRanges {
        double xMin = 0, xMax = 0, y1Min = 0, y1Max = 0, y2Min = 0, y2Max = 0;
    };
    const PrintedRanges& lastPrintedRanges() const { return printed_; }

    // " 05 March 2007 14:30:00": a clock time as the footer shows it, in the
    // user's locale (" %d %B %Y %X").
    static QString formatClockTime(std::int64_t clockSeconds);

signals:
    // The visible x range was set (load, zoom, scroll).
    void visibleRangeChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Binds one trace set to its value axis and records the full view range.
    void AttachSet(Axis axis, TraceSet& set, double& fullMin, double& fullMax);
    // One value axis's limits for SetY1Range and SetY2Range.
    void setYLimits(Axis axis, double min, double max);
    TraceSet* setOf(Axis axis) const;
    void updateTraceMenuChecks();
    void readout(QPoint pixel);
    void drawBand();
    void eraseBand();
    void scrollByWheel(Qt::Orientation orientation, int delta);
    void onBarAction(Qt::Orientation orientation, int action);
    void setHorizontalThumb(std::int64_t pos);
    void setVerticalThumb(std::int64_t pos);
    void showHorizontalThumb();
    void showVerticalThumb();

    VessorGraphDoc& doc_;
    Chart2D m_chart;
    QScrollBar* hBar_;
    QScrollBar* vBar_;
    QMenu* traceMenu_ = nullptr;
    QRubberBand* rubberBand_;
    // The thumbs in handler units, and how many of them one bar unit holds
    // (a bar counts in int: long spans are scaled down).
    ThumbRange hThumb_;
    ThumbRange vThumb_;
    std::int64_t hUnit_ = 1;
    std::int64_t vUnit_ = 1;
    int wheelRest_[2] = {0, 0};
    PrintedRanges printed_;

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
