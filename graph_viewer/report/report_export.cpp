#include "report_export.h"

#include "report_content.h"
#include "report_pdf.h"

#include "document/document_summary.h"
#include "view/vessor_graph_view.h"

#include "logger/safe_save.h"
#include "logger/text_encoding.h"

#include <QBuffer>

namespace vessor::graph {

QByteArray reportPdf(VessorGraphView& view, const ReportRequest& request) {
    const VessorGraphDoc& doc = view.document();
    const download::SummaryInput input = documentSummaryInput(doc);
    const download::Summary whole = download::summarize(input, {}, request.activationEnergy);
    // A zoomed window's report adds what the chart shows, as the panel does.
    std::optional<download::Summary> shown;
    if (view.zoomLevel() > 0)
        shown = download::summarize(input, view.visibleReadings(), request.activationEnergy);

    report::Context context;
    context.fileName = request.fileName;
    context.series = request.series;
    context.serialNumber = QString::fromStdString(cp1252ToUtf8(doc.serialNumber));
    context.locale = request.locale;
    context.madeAt = request.madeAt;
    const report::Content content =
        report::reportContent(whole, shown ? &*shown : nullptr, context);

    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly))
        return {};
    const int pages = report::writeReportPdf(
        buffer, content, report::reportPageLayout(report::paperFor(request.locale)),
        [&view](QPainter& painter) { return view.printChart(painter); });
    buffer.close();
    return pages > 0 ? bytes : QByteArray();
}

bool saveReport(VessorGraphView& view, const ReportRequest& request, const std::string& path,
                std::string& reason) {
    const QByteArray bytes = reportPdf(view, request);
    if (bytes.isEmpty()) {
        reason = "the report cannot be drawn";
        return false;
    }
    const SaveResult saved =
        saveFile(path, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    reason = saved.reason;
    return saved.ok();
}

} // namespace vessor::graph
