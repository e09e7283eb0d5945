// What the workbook holds, decided from the header line and the reading count
// alone: which columns are chart series, on which value axis, which rows each
// chart covers, and the titles. The writer only carries the plan out.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vessor::xlsx {

// A chart series holds at most 32000 points in the spreadsheet programs, so a
// chart covers at most this many sheet rows (the first one includes the
// heading row).
constexpr int ROWS_PER_CHART = 31999;

struct Headings {
    std::string title; // first field of the header (the logger name), file bytes
    std::string unit1; // first unit in brackets, e.g. "°C" (file bytes)
    std::string unit2; // second unit, e.g. "%rh"
    // Series numbers: 1 is the column after the times (sheet column 3).
    std::vector<int> primarySeries;
    std::vector<int> secondarySeries;
    // Sheet column (from 1) of the last chart column: the headings after the
    // title up to and including "Serial Number" or the first empty field.
    int columnCount = 0;
};

Headings analyseHeadings(std::string_view headerLine);

struct SeriesPlan {
    int column = 0; // sheet column, from 0
    bool secondary = false;
};

struct ChartPlan {
    std::string sheetName; // "Chart1", "Chart2", ...
    int firstRow = 0;      // sheet rows covered, from 1, inclusive
    int lastRow = 0;
    int firstPointRow = 0; // the heading row is no point
    int tickSpacing = 1;   // categories between ticks and between tick labels
};

struct ExportPlan {
    Headings headings;
    int rowCount = 0;           // sheet rows: the readings and the heading row
    int categoryColumn = 1;     // the times, from 0
    int serialNumberColumn = -1;
    std::vector<SeriesPlan> series; // the same columns on every chart
    bool secondaryAxis = false;
    std::string chartTitle;         // UTF-8
    std::string primaryAxisTitle;   // UTF-8, empty: no title
    std::string secondaryAxisTitle; // UTF-8, only with a secondary axis
    std::vector<ChartPlan> charts;

    // The user is told beforehand when the readings need more than one chart.
    bool warnsOfChartCount() const { return charts.size() > 1; }
};

ExportPlan planExport(std::string_view headerLine, int readingCount);

} // namespace vessor::xlsx
