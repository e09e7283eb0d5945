// The report drawn as a PDF: page 1 with the header, the headline, the
// summary tables and the chart; then the excursion tables over as many pages
// as they need, heads repeated; "Page 2 of 5" and the time it was made at
// the foot of every page; a place to sign at the end.
#pragma once

#include "report_content.h"
#include "report_layout.h"

#include <QPageLayout>

#include <functional>

class QIODevice;
class QPainter;

namespace vessor::graph::report {

// Draws the chart into the painter's viewport; false when it cannot.
using ChartPainter = std::function<bool(QPainter&)>;

// Portrait, with the margins the report is laid out for.
QPageLayout reportPageLayout(QPageSize::PageSizeId paper);

// The report as a PDF into `out`. The number of pages; 0 when it cannot be
// drawn (then `out` holds nothing useful).
int writeReportPdf(QIODevice& out, const Content& content, const QPageLayout& layout,
                   const ChartPainter& chart);

} // namespace vessor::graph::report
