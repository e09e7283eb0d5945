#include "document_summary.h"

#include <algorithm>

namespace vessor::graph {

namespace {

download::ChannelSource source(const TraceSet& set, int rows) {
    const auto trace = [&](int t) {
        const std::vector<double>& ys = set.data.ys(t);
        return std::span<const double>(ys.data(), std::min(ys.size(), static_cast<std::size_t>(rows)));
    };
    return download::channelSource(set, trace(READINGS), trace(HIGH_ALARM), trace(LOW_ALARM),
                                   set.data.traceCount() > EXTRA ? trace(EXTRA) : std::span<const double>());
}

} // namespace

download::SummaryInput documentSummaryInput(const VessorGraphDoc& doc) {
    download::SummaryInput input;
    input.title = doc.title;
    input.startTime = doc.startTime;
    input.interval = doc.interval;
    input.readings = doc.rowsRead;
    input.channels = download::summaryChannels(source(doc.primary, doc.rowsRead), source(doc.secondary, doc.rowsRead));
    return input;
}

} // namespace vessor::graph
