// The parsed document as UTF-8 JSON, for users' scripts and for tests:
// what the reader made of a file, value by value.
#pragma once

#include "vessor_graph_doc.h"

#include <string>

namespace vessor::graph {

// {"title", "readingCount", "interval", "startTime": "YYYY-MM-DDTHH:MM:SS",
//  "primary": {...}, "secondary": {...}}; each set holds its labels, flags,
// "decimals" and "traces": per trace the y values it holds, null for a
// missing value. Numbers are written the same in every locale.
std::string documentToJson(const VessorGraphDoc& doc);

} // namespace vessor::graph
