// The summary's input from the document the viewer draws: the same values,
// one per row read (a single reading, drawn as two points, counts once).
#pragma once

#include "vessor_graph_doc.h"

#include "logger/summary.h"

namespace vessor::graph {

// The spans point into `doc`, which must outlive them and stay unchanged.
download::SummaryInput documentSummaryInput(const VessorGraphDoc& doc);

} // namespace vessor::graph
