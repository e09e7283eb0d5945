#include "spreadsheet_export/export_plan.h"

#include "logger/text_encoding.h"
#include "spreadsheet_export/download_table.h"
#include "logger/strings.h"

#include <algorithm>

namespace vessor::xlsx {

namespace {

bool contains(const std::vector<int>& list, int value)
{
    return std::find(list.begin(), list.end(), value) != list.end();
}

} // namespace

Headings analyseHeadings(std::string_view headerLine)
{
    const std::string time = viewerStringText(VSTR_TIME);
    const std::string serialNumber = viewerStringText(VSTR_SERIAL_NUMBER);
    const std::string humidity[] = {viewerStringText(VSTR_HUMIDITY_HEADING), viewerStringText(VSTR_HIGH_ALARM_RH),
                                    viewerStringText(VSTR_LOW_ALARM_RH)};
    Headings headings;
    std::vector<std::string_view> fields;
    forEachField(trimBlanks(headerLine), [&](int, std::string_view field) { fields.push_back(trimBlanks(field)); });
    headings.title = std::string(fields.front());

    int unitsFound = 0;
    int series = 0;
    for (std::size_t i = 1;; ++i, ++series) {
        const std::string_view field = i < fields.size() ? fields[i] : std::string_view{};
        const bool last = field.empty() || equalsIgnoringCase(field, serialNumber);
        if (!last) {
            if (equalsIgnoringCase(field, humidity[0]) || equalsIgnoringCase(field, humidity[1]) ||
                equalsIgnoringCase(field, humidity[2]))
                headings.secondarySeries.push_back(series);
            else if (!equalsIgnoringCase(field, time))
                headings.primarySeries.push_back(series);
        }
        const auto open = field.find('(');
        if (open != std::string_view::npos && open > 0) {
            const auto close = field.find(')', open + 1);
            if (close != std::string_view::npos && unitsFound < 2) {
                (unitsFound++ == 0 ? headings.unit1 : headings.unit2) =
                    std::string(field.substr(open + 1, close - open - 1));
            }
        }
        if (last)
            break;
    }
    // "Time" is series 0 in sheet column 2; the closing heading is counted too,
    // so the chart data run from column 2 to this column.
    headings.columnCount = series + 1;
    return headings;
}

ExportPlan planExport(std::string_view headerLine, int readingCount)
{
    ExportPlan plan;
    plan.headings = analyseHeadings(headerLine);
    plan.rowCount = readingCount + 1;

    const std::string serialNumber = viewerStringText(VSTR_SERIAL_NUMBER);
    forEachField(trimBlanks(headerLine), [&](int index, std::string_view field) {
        if (plan.serialNumberColumn < 0 && equalsIgnoringCase(trimBlanks(field), serialNumber))
            plan.serialNumberColumn = index;
    });

    const Headings& h = plan.headings;
    bool anyPrimary = false;
    bool anySecondary = false;
    for (int s = 1; s <= h.columnCount - 2; ++s) {
        const bool secondary = contains(h.secondarySeries, s);
        plan.series.push_back({s + 1, secondary});
        (secondary ? anySecondary : anyPrimary) = true;
    }
    // A second value axis only makes sense beside a first one.
    plan.secondaryAxis = anyPrimary && anySecondary;
    if (!plan.secondaryAxis) {
        for (auto& s : plan.series)
            s.secondary = false;
    }
    plan.chartTitle = cp1252ToUtf8(h.title);
    plan.primaryAxisTitle = cp1252ToUtf8(h.unit1);
    if (plan.secondaryAxis)
        plan.secondaryAxisTitle = cp1252ToUtf8(h.unit2);

    // Without a series there is nothing to draw; the data sheet still comes.
    if (plan.series.empty())
        return plan;
    // As many charts as the rows need and no more: when the rows fill the last
    // chart exactly, no empty chart follows.
    for (int first = 1, k = 1; first <= plan.rowCount; first += ROWS_PER_CHART, ++k) {
        ChartPlan chart;
        chart.sheetName = "Chart" + std::to_string(k);
        chart.firstRow = first;
        chart.lastRow = std::min(plan.rowCount, first + ROWS_PER_CHART - 1);
        chart.firstPointRow = first == 1 ? 2 : first;
        chart.tickSpacing = std::max(1, (chart.lastRow - chart.firstRow + 1) / 10);
        plan.charts.push_back(std::move(chart));
    }
    return plan;
}

} // namespace vessor::xlsx
