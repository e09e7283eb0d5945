// Every file the writer keeps as a golden file is read by the graph viewer's
// document: plotted with all its rows, or refused as an event file.
#include "download_support.h"

#include "document/vessor_graph_doc.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace vessor::test {
namespace {

TEST(ReaderContract, ViewerReadsEveryGoldenFile)
{
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(VESSOR_DOWNLOAD_DATA_DIR)) {
        if (entry.path().extension() != ".txt")
            continue;
        ++files;
        const std::string name = entry.path().filename().string();
        SCOPED_TRACE(name);
        std::ifstream in(entry.path(), std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        const std::vector<std::string> lines = linesOf(bytes.str());

        std::string dataFilePath;
        graph::CVessorGraphDoc doc(dataFilePath);
        const graph::LoadStatus status = doc.ParseDownloadText(bytes.str());
        if (name.rfind("zr-ev-", 0) == 0) {
            EXPECT_EQ(status, graph::LoadStatus::EventFile);
            continue;
        }
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
