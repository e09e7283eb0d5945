// The viewer and the spreadsheet export read download files alike: over the
// reader's fuzz seeds and deterministic mutations of them, both accept
// exactly the same files and read the same start time.
#include "document/vessor_graph_doc.h"
#include "spreadsheet_export/download_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace vessor::xlsx {
namespace {

std::vector<std::string> seeds()
{
    std::vector<std::string> files;
    for (const char* folder : {GRAPH_TEST_DATA, GRAPH_TEST_DATA "/fuzz-seeds"}) {
        std::vector<std::filesystem::path> paths;
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            if (entry.is_regular_file() && entry.path().extension() == ".txt")
                paths.push_back(entry.path());
        }
        std::sort(paths.begin(), paths.end()); // the same mutations on every run
        for (const auto& path : paths) {
            std::ifstream in(path, std::ios::binary);
            std::ostringstream bytes;
            bytes << in.rdbuf();
            files.push_back(bytes.str());
        }
    }
    return files;
}

// Small edits of the kind that tell the readers apart: bytes of the format's
// own alphabet put in, taken out or replaced, lines doubled or dropped, a
// blank line added, a year made two-digit-ambiguous.
class Mutator {
public:
    std::string mutate(std::string text)
    {
        static constexpr std::string_view ALPHABET = ",\r\n /:.()0123456789-eEaX\t";
        const int edits = 1 + static_cast<int>(next(3));
        for (int e = 0; e < edits; ++e) {
            const std::size_t at = text.empty() ? 0 : next(text.size());
            switch (next(8)) {
            case 0:
                if (!text.empty())
                    text.erase(at, 1);
                break;
            case 1:
                text.insert(at, 1, ALPHABET[next(ALPHABET.size())]);
                break;
            case 2:
                if (!text.empty())
                    text[at] = ALPHABET[next(ALPHABET.size())];
                break;
            case 3:
                text += next(2) ? "\r\n" : " \n";
                break;
            case 4: { // a line doubled
                const std::size_t start = text.rfind('\n', at);
                const std::size_t from = start == std::string::npos ? 0 : start + 1;
                const std::size_t end = text.find('\n', at);
                const std::size_t to = end == std::string::npos ? text.size() : end + 1;
                text.insert(to, text.substr(from, to - from));
                break;
            }
            case 5: { // a line dropped
                const std::size_t end = text.find('\n', at);
                if (end != std::string::npos)
                    text.erase(at, end - at + 1);
                break;
            }
            case 6:
                if (const auto year = text.find("/20", at); year != std::string::npos && year + 5 <= text.size())
                    text.replace(year + 1, 4, next(2) ? "2070" : "1970");
                break;
            default:
                text.insert(at, "\r\n");
                break;
            }
        }
        return text;
    }

private:
    std::size_t next(std::size_t below) { return static_cast<std::size_t>(m_random() % below); }
    std::mt19937 m_random{20261208};
};

TEST(ReaderAgreement, ViewerAndExportAcceptTheSameFilesWithTheSameStartTime)
{
    const std::vector<std::string> corpus = seeds();
    ASSERT_GE(corpus.size(), 6u);
    Mutator mutator;
    int accepted = 0;
    int refused = 0;
    constexpr int MUTANTS_PER_SEED = 100;
    for (std::size_t s = 0; s < corpus.size(); ++s) {
        for (int m = 0; m <= MUTANTS_PER_SEED; ++m) {
            const std::string bytes = m == 0 ? corpus[s] : mutator.mutate(corpus[s]);
            SCOPED_TRACE("seed " + std::to_string(s) + " mutant " + std::to_string(m) + ":\n" + bytes.substr(0, 400));
            std::string path;
            graph::VessorGraphDoc doc(path);
            const graph::LoadStatus viewer = doc.ParseDownloadText(bytes);
            const LoadResult exported = parseDownloadBytes(bytes);
            switch (viewer) {
            case graph::LoadStatus::Ok: {
                ++accepted;
                ASSERT_EQ(exported.status, LoadStatus::Ok);
                const download::DownloadData& data = exported.table.data;
                ASSERT_FALSE(data.rows.empty());
                EXPECT_EQ(data.startTime, doc.startTime);
                EXPECT_EQ(data.rows.front().time, doc.startTime);
                EXPECT_EQ(data.interval, doc.interval);
                // One reading is drawn as two points; the sheet holds one row.
                EXPECT_EQ(data.rowCount() == 1 ? 2 : data.rowCount(), doc.readingCount);
                break;
            }
            case graph::LoadStatus::EventFile:
                ++refused;
                EXPECT_EQ(exported.status, LoadStatus::EventFile);
                break;
            default:
                ++refused;
                EXPECT_EQ(exported.status, LoadStatus::Invalid);
                break;
            }
        }
    }
    // The mutations reach both sides of the line.
    EXPECT_GT(accepted, 100);
    EXPECT_GT(refused, 100);
}

} // namespace
} // namespace vessor::xlsx
