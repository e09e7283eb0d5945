// `vessor-graph --export-xlsx` on files beyond what a worksheet or the
// reader takes: refused with exit status 2 and the viewer's message, no
// workbook left behind.
#include "download_files.h"

#include "logger/download_reader.h"
#include "spreadsheet_export/download_table.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#ifdef VESSOR_GRAPH_BINARY
namespace vessor::xlsx {
namespace {

// A valid temperature file whose header carries `extra` further headings.
std::string fileWithHeadings(int extra)
{
    std::string bytes = "Store 4,Time,Celsius(M-0C)";
    for (int i = 0; i < extra; ++i)
        bytes += ",H" + std::to_string(i);
    bytes += ",Serial Number\r\n1,05/03/2007 14:30:00,4.5,070001234\r\n2,05/03/2007 14:31:00,4.6\r\n";
    return bytes;
}

// A valid temperature file whose first row is `length` bytes long.
std::string fileWithRowOf(std::size_t length)
{
    std::string row = "1,05/03/2007 14:30:00,4.5,";
    row.resize(length, '9');
    return "Store 4,Time,Celsius(M-0C)\r\n" + row + "\r\n2,05/03/2007 14:31:00,4.6\r\n";
}

TEST(ExportLimits, FilesBeyondASheetOrTheReaderAreRefusedWithStatus2)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const struct {
        const char* name;
        std::string bytes;
        int status;
        const char* message;
    } cases[] = {
        // Just inside: written.
        {"last sheet column", fileWithHeadings(MAX_SHEET_COLUMNS - 4), 0, ""},
        // More headings than a worksheet has columns.
        {"one column over", fileWithHeadings(MAX_SHEET_COLUMNS - 3), 2, "more columns or readings than a worksheet holds"},
        {"200000 headings", fileWithHeadings(200000), 2, "more columns or readings than a worksheet holds"},
        // A line longer than the viewer reads.
        {"line over the limit", fileWithRowOf(download::LONGEST_LINE + 1), 2, "The File contains invaild data."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString input = dir.filePath(QStringLiteral("in.txt"));
        const QString output = dir.filePath(QStringLiteral("out.xlsx"));
        QFile::remove(output);
        std::ofstream(input.toStdString(), std::ios::binary) << c.bytes;

        QProcess graph;
        graph.start(QStringLiteral(VESSOR_GRAPH_BINARY), {QStringLiteral("--export-xlsx"), output, input});
        ASSERT_TRUE(graph.waitForFinished(60000));
        const QString errors = QString::fromUtf8(graph.readAllStandardError());
        EXPECT_EQ(graph.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(graph.exitCode(), c.status) << errors.toStdString();
        EXPECT_TRUE(errors.contains(QString::fromUtf8(c.message))) << errors.toStdString();
        EXPECT_EQ(QFile::exists(output), c.status == 0);
    }
}

} // namespace
} // namespace vessor::xlsx
#endif
