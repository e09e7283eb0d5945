// vessor-graph --export-png/--export-pdf/--export-json/--export-xlsx,
// --export-summary and --export-report: the file read and written out without
// a window, for users' scripts and tests.
#pragma once

#include "command_line.h"

#include "logger/clock.h"

#include <QTextStream>

namespace vessor::graph {

enum ExitStatus {
    EXIT_DONE = 0,
    EXIT_CANNOT_OPEN = 1,
    EXIT_REFUSED = 2,
    EXIT_EVENT_FILE = 3,
};

// The size the chart is exported at (PDF: its shape on the page).
inline constexpr int EXPORT_WIDTH = 1024;
inline constexpr int EXPORT_HEIGHT = 768;

// Runs the exports the command line asks for, file after file in one process;
// messages go to `errors`. The status is the highest any file met. `clock`
// gives the time the reports are made at.
int runHeadless(const CommandLine& line, QTextStream& errors, const Clock& clock = SystemClock::instance());

} // namespace vessor::graph
