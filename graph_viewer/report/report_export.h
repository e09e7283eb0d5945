// The report of the file on show in a view, as File › Export Report… and
// `vessor-graph --export-report` make it: the whole file, plus the readings
// the window shows when it is zoomed, and the chart as printed.
#pragma once

#include "logger/calendar.h"
#include "logger/summary.h"

#include <QByteArray>
#include <QLocale>
#include <QString>

#include <string>

namespace vessor::graph {

class VessorGraphView;

struct ReportRequest {
    QString fileName; // as the report names it (a series: the archive's URL)
    bool series = false;
    QLocale locale;   // of the numbers, the times and the paper
    double activationEnergy = download::DEFAULT_ACTIVATION_ENERGY;
    CalendarTime madeAt; // local time, from the caller's clock
};

// The PDF; empty when it cannot be drawn.
QByteArray reportPdf(VessorGraphView& view, const ReportRequest& request);
// The PDF written through the safe save; false with `reason` (the system's
// text, or why it could not be drawn).
bool saveReport(VessorGraphView& view, const ReportRequest& request, const std::string& path,
                std::string& reason);

} // namespace vessor::graph
