// libFuzzer entry: the download-file reader over arbitrary bytes, and the
// viewer's document and the summary over what it reads.
#include "document/document_json.h"
#include "document/document_summary.h"
#include "document/vessor_graph_doc.h"

#include "logger/download_reader.h"
#include "logger/summary.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

using vessor::download::Channel;

// Every value list of a channel holds one value per row.
void checkChannel(const Channel& channel, std::size_t rows) {
    if (!channel.present)
        return;
    if (channel.readings.size() != rows || channel.high.size() != rows || channel.low.size() != rows ||
        channel.extra.size() != (channel.hasExtra ? rows : 0))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const char* bytes = reinterpret_cast<const char*>(data);
    const vessor::download::ReadResult read = vessor::download::readDownload(bytes, size);
    if (read.outcome.status == vessor::download::ReadStatus::Ok) {
        const std::size_t rows = read.data.rows.size();
        if (rows == 0 || !read.data.primary.present)
            std::abort();
        checkChannel(read.data.primary, rows);
        checkChannel(read.data.secondary, rows);
        for (const vessor::download::Row& row : read.data.rows) {
            if (row.line.data() < bytes || row.line.data() + row.line.size() > bytes + size)
                std::abort();
        }
    }

    std::string path;
    vessor::graph::VessorGraphDoc doc(path);
    const std::string_view text(bytes, size);
    if (doc.ParseDownloadText(text) == vessor::graph::LoadStatus::Ok) {
        // Everything the view and the exports read must be in bounds.
        (void)vessor::graph::documentToJson(doc);
        // The summary of what the viewer draws is the summary of what was read.
        const std::string drawn =
            vessor::download::summaryToJson(vessor::download::summarize(vessor::graph::documentSummaryInput(doc)));
        if (read.outcome.status != vessor::download::ReadStatus::Ok ||
            drawn != vessor::download::summaryToJson(
                         vessor::download::summarize(vessor::download::summaryInput(read.data))))
            std::abort();
        for (const vessor::graph::TraceSet* set : {&doc.primary, &doc.secondary}) {
            for (int t = 0; t < set->data.traceCount(); ++t) {
                for (int i = 0; i <= set->data.lastPoint(t); ++i)
                    (void)set->data.yValue(t, i);
            }
        }
    }
    return 0;
}
