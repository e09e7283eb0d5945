// What the workbook library cannot write into a chart, added to each chart's
// XML once the workbook is closed: the category axis as a text axis (one
// category per reading, evenly spaced, whatever the times), and a second
// value axis on the right for the humidity series.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vessor::xlsx {

struct ChartXmlEdit {
    std::vector<int> secondarySeries; // series indexes (c:idx, from 0) to move to the second axis
    std::string secondaryAxisTitle;   // UTF-8; empty: no title
    std::string categoryFormat;       // number format of the category labels; empty: the cells'
};

// The chart part edited; nullopt when it is not of the form the workbook
// library writes (one line chart over a category and a value axis).
std::optional<std::string> editChartXml(std::string_view xml, const ChartXmlEdit& edit);

// Edits xl/charts/chart1.xml .. chart<count>.xml of a closed workbook, the
// whole .xlsx held in `workbook`. Returns an empty text on success, else the
// reason (`workbook` then unchanged).
std::string editWorkbookCharts(std::string& workbook, int chartCount, const ChartXmlEdit& edit);

} // namespace vessor::xlsx
