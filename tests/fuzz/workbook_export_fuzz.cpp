// libFuzzer entry: the workbook export's reading of a download file, as far
// as the workbook writer: the table, the plan of columns and charts, and the
// times and dates of every field.
#include "spreadsheet_export/download_table.h"
#include "spreadsheet_export/export_plan.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vessor::xlsx;
    const LoadResult loaded = parseDownloadBytes(std::string(reinterpret_cast<const char*>(data), size));
    if (loaded.status != LoadStatus::Ok)
        return 0;
    const DownloadTable& table = loaded.table;
    const ExportPlan plan = planExport(table.header(), table.readingCount());
    // Every column and row the writer will touch is on the sheet.
    if (plan.rowCount != table.readingCount() + 1 || plan.headings.columnCount > MAX_SHEET_COLUMNS + 1)
        std::abort();
    for (const SeriesPlan& series : plan.series) {
        if (series.column < 0 || series.column >= MAX_SHEET_COLUMNS)
            std::abort();
    }
    int nextRow = 1;
    for (const ChartPlan& chart : plan.charts) {
        if (chart.firstRow != nextRow || chart.lastRow < chart.firstRow || chart.lastRow > plan.rowCount ||
            chart.tickSpacing < 1)
            std::abort();
        nextRow = chart.lastRow + 1;
    }
    if (!plan.charts.empty() && nextRow != plan.rowCount + 1)
        std::abort();
    for (const vessor::download::Row& row : table.data.rows) {
        forEachField(row.line, [](int, std::string_view field) {
            (void)dayFirstTimeSerial(field);
            (void)dayFirstDateSerial(field);
        });
    }
    return 0;
}
