// Every file the writer keeps as a golden file is read back: by the reader,
// each value as the file writes it, and by the graph viewer's document,
// plotted with all its rows, or refused as an event file.
#include "download_support.h"

#include "document/vessor_graph_doc.h"
#include "logger/conversion.h"
#include "logger/download_reader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace vessor::test {
namespace {

std::vector<std::string> split(std::string_view line)
{
    std::vector<std::string> fields;
    for (std::size_t from = 0;;) {
        const auto comma = line.find(',', from);
        fields.emplace_back(line.substr(from, comma - from));
        if (comma == std::string_view::npos)
            return fields;
        from = comma + 1;
    }
}

// The value a field holds as the conversions read it, "Error" as none.
double fieldValue(const std::string& field)
{
    return field == "Error" ? download::NO_VALUE : parseLeadingNumber(field);
}

// Each value list of the reader holds, row by row, the field of its column,
// found by the column's heading; each row keeps its own time.
void expectValuesAsWritten(const download::DownloadData& d)
{
    const std::vector<std::string> headings = split(cp1252ToUtf8(d.header));
    const auto column = [&](const std::string& heading) {
        for (std::size_t i = 2; i < headings.size(); ++i) {
            if (headings[i] == heading || headings[i].rfind(heading + "(", 0) == 0)
                return static_cast<int>(i);
        }
        ADD_FAILURE() << "no heading " << heading;
        return 0;
    };
    std::vector<std::pair<const std::vector<double>*, int>> columns = {{&d.primary.readings, 2}};
    const auto add = [&](const download::Channel& set) {
        if (set.hasHigh)
            columns.emplace_back(&set.high, column(set.highLabel));
        if (set.hasLow)
            columns.emplace_back(&set.low, column(set.lowLabel));
    };
    add(d.primary);
    if (d.secondary.present) {
        columns.emplace_back(&d.secondary.readings, column(d.secondary.name));
        add(d.secondary);
        ASSERT_TRUE(d.primary.hasExtra);
        columns.emplace_back(&d.primary.extra, column(d.primary.extraLabel));
    }
    for (std::size_t i = 0; i < d.rows.size(); ++i) {
        const std::vector<std::string> fields = split(d.rows[i].line);
        EXPECT_EQ(d.rows[i].time, d.startTime + static_cast<std::int64_t>(i) * d.interval) << i;
        for (const auto& [values, at] : columns) {
            ASSERT_LT(static_cast<std::size_t>(at), fields.size());
            EXPECT_EQ((*values)[i], fieldValue(fields[static_cast<std::size_t>(at)]))
                << "row " << i + 1 << " column " << at;
        }
    }
    EXPECT_EQ(d.primary.decimals, download::decimalsOf(split(d.rows.back().line)[2]));
}

TEST(ReaderContract, ReaderAndViewerReadEveryGoldenFile)
{
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(VESSOR_DOWNLOAD_DATA_DIR)) {
        if (entry.path().extension() != ".txt")
            continue;
        ++files;
        const std::string name = entry.path().filename().string();
        SCOPED_TRACE(name);
        std::ifstream in(entry.path(), std::ios::binary);
        std::ostringstream stream;
        stream << in.rdbuf();
        // The reader's views point into these bytes.
        const std::string bytes = stream.str();
        const std::vector<std::string> lines = linesOf(bytes);

        const download::ReadResult read = download::readDownload(bytes);
        std::string dataFilePath;
        graph::VessorGraphDoc doc(dataFilePath);
        const graph::LoadStatus status = doc.ParseDownloadText(bytes);
        if (name.rfind("zr-ev-", 0) == 0) {
            EXPECT_EQ(read.outcome.status, download::ReadStatus::EventFile);
            EXPECT_EQ(status, graph::LoadStatus::EventFile);
            continue;
        }
        ASSERT_EQ(read.outcome.status, download::ReadStatus::Ok) << read.outcome.reason;
        ASSERT_EQ(read.data.rows.size() + 1, lines.size());
        expectValuesAsWritten(read.data);

        ASSERT_EQ(status, graph::LoadStatus::Ok) << doc.lastError();
        EXPECT_EQ(doc.readingCount, static_cast<int>(lines.size()) - 1);
        EXPECT_EQ(doc.title, "Store 4");
        EXPECT_TRUE(doc.primary.present);
        EXPECT_EQ(doc.secondary.present, name.rfind("zr-th", 0) == 0);
    }
    EXPECT_GE(files, 24);
}

} // namespace
} // namespace vessor::test
