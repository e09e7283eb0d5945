// The viewer's help: one HTML page per kind of logger (by context id) and a
// contents page, in the help folder installed beside the programs.
#pragma once

#include <QString>

namespace vessor::graph {

// Context ids of the help pages, by the kind of logger on show.
namespace help {
inline constexpr int TEMPERATURE_DECIMALS = 1001;
inline constexpr int TWO_CHANNEL = 1002;
inline constexpr int VOLTAGE = 1003;
inline constexpr int CURRENT = 1004;
inline constexpr int TEMPERATURE_WHOLE = 1005;
inline constexpr int CO = 1006;
} // namespace help

// The viewer's contents page.
QString helpContentsPage();
// The page of File › Open from Archive....
inline constexpr const char* ARCHIVE_HELP_PAGE = "graph-archive.html";
// The page of a context id; the contents page for an id without one.
QString helpPageFor(int contextId);
// The help folder for a program in `programDir`: "help" beside it in the
// build, "../share/vessor/help" when installed.
QString helpDirectory(const QString& programDir);

} // namespace vessor::graph
