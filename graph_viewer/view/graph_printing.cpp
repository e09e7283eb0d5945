// Printing the graph: a second chart, never shown, styled like the screen's
// and given its ranges, draws one page into the printer's painter.
#include "vessor_graph_view.h"

#include "logger/safe_save.h"

#include <QBuffer>
#include <QFile>
#include <QPaintEngine>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

namespace vessor::graph {

bool VessorGraphView::printChart(QPainter& painter) {
    if (!painter.isActive())
        return false;
    const QRect printable = painter.viewport();
    const QRect area =
        printArea(printable.width(), printable.height()).translated(printable.topLeft());
    if (area.isEmpty())
        return false;

    Chart2D second(this);
    second.hide();
    second.resize(PRINT_WIDTH, PRINT_HEIGHT);
    SetupChartStyle(second);
    TraceSet* y1 = doc_.y1Set;
    TraceSet* y2 = doc_.y2Set;
    second.setData(Axis::Y1, y1 ? &y1->data : nullptr);
    second.setData(Axis::Y2, y2 ? &y2->data : nullptr);
    second.setRepaint(false);
    second.setHeader(QString::fromStdString(doc_.heading()));
    second.setTimeBase(doc_.startTime);
    second.setYPrecision(Axis::Y1, m_chart.yPrecision(Axis::Y1));
    second.setYPrecision(Axis::Y2, m_chart.yPrecision(Axis::Y2));

    // The ranges on screen. A zoomed view prints as it is shown, scrolled or
    // not; the full view always includes zero.
    PrintedRanges r;
    r.xMin = m_chart.xMin();
    r.xMax = m_chart.xMax();
    r.y1Min = m_chart.yMin(Axis::Y1);
    r.y1Max = m_chart.yMax(Axis::Y1);
    r.y2Min = m_chart.yMin(Axis::Y2);
    r.y2Max = m_chart.yMax(Axis::Y2);
    if (m_zoomLevel == 0) {
        r.y1Min = std::min(r.y1Min, 0.0);
        r.y1Max = std::max(r.y1Max, 0.0);
        r.y2Min = std::min(r.y2Min, 0.0);
        r.y2Max = std::max(r.y2Max, 0.0);
    }
    second.setXRange(r.xMin, r.xMax);
    second.setYMin(Axis::Y1, r.y1Min);
    second.setYMax(Axis::Y1, r.y1Max);
    second.setYMin(Axis::Y2, r.y2Min);
    second.setYMax(Axis::Y2, r.y2Max);

    if (y1) {
        second.setTraceLabel(Axis::Y1, READINGS, QString::fromStdString(y1->name));
        second.setAxisTitle(Axis::Y1, QString::fromStdString(y1->unit));
        second.setTraceLabel(Axis::Y1, EXTRA, QString::fromStdString(y1->extraLabel));
        second.setTraceLabel(Axis::Y1, HIGH_ALARM, QString::fromStdString(y1->highLabel));
        second.setTraceLabel(Axis::Y1, LOW_ALARM, QString::fromStdString(y1->lowLabel));
    }
    if (y2) {
        second.setTraceLabel(Axis::Y2, READINGS, QString::fromStdString(y2->name));
        second.setAxisTitle(Axis::Y2, QString::fromStdString(y2->unit));
        second.setTraceLabel(Axis::Y2, HIGH_ALARM, QString::fromStdString(y2->highLabel));
        second.setTraceLabel(Axis::Y2, LOW_ALARM, QString::fromStdString(y2->lowLabel));
    }
    // The page's footer is the time span on show; the screen keeps its own.
    const QString screenFooter = m_footer;
    ShowTimeSpan(second);
    m_footer = screenFooter;
    second.setRepaint(true);

    painter.save();
    painter.setViewport(area);
    painter.setWindow(0, 0, PRINT_WIDTH, PRINT_HEIGHT);
    second.drawTo(painter, QRectF(0, 0, PRINT_WIDTH, PRINT_HEIGHT));
    painter.restore();
    printed_ = r;
    return true;
}

bool VessorGraphView::printTo(QPrinter& printer, std::string* fileError) {
    // "Print to file" (and the preview's print without a printer) would have
    // the printer write the file in place, unchecked: the page is drawn in
    // memory instead and saved by the safe save.
    const QPaintEngine* engine = printer.paintEngine();
    if (engine && engine->type() == QPaintEngine::Pdf && !printer.outputFileName().isEmpty()) {
        std::string reason;
        if (printToPdf(printer.outputFileName(), printer.pageLayout(), &reason))
            return true;
        if (fileError)
            *fileError =
                "Cannot write " + printer.outputFileName().toStdString() + ": " + reason + ".";
        return false;
    }
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    const bool drawn = printChart(painter);
    return painter.end() && drawn;
}

bool VessorGraphView::printToPdf(QIODevice& out, const QPageLayout& layout) {
    QPdfWriter writer(&out);
    writer.setPageLayout(layout);
    writer.setTitle(QString::fromStdString(doc_.heading()));
    writer.setCreator(QStringLiteral("vessor-graph"));
    QPainter painter;
    if (!painter.begin(&writer))
        return false;
    const bool drawn = printChart(painter);
    return painter.end() && drawn;
}

bool VessorGraphView::printToPdf(const QString& path, std::string* reason) {
    const QPageLayout a4(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                         QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
    return printToPdf(path, a4, reason);
}

bool VessorGraphView::printToPdf(const QString& path, const QPageLayout& layout,
                                  std::string* reason) {
    // Drawn in memory: the file is written, checked, by the safe save only.
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly) || !printToPdf(buffer, layout)) {
        if (reason)
            *reason = "the page cannot be drawn";
        return false;
    }
    buffer.close();
    const SaveResult saved =
        saveFile(QFile::encodeName(path).toStdString(),
                 std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    if (reason)
        *reason = saved.reason;
    return saved.ok();
}

} // namespace vessor::graph
