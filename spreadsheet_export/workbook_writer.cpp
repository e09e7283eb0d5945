#include "spreadsheet_export/workbook_writer.h"

#include "logger/text_encoding.h"
#include "spreadsheet_export/chart_xml.h"
#include "logger/safe_save.h"
#include "logger/strings.h"

#include <xlsxwriter.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <cerrno>
#include <clocale>
#include <cstring>
#include <cmath>
#include <locale.h>

namespace vessor::xlsx {

namespace {

constexpr int MAX_DECIMALS = 15;
// Rows looked at to size the columns.
constexpr int ROWS_FOR_WIDTHS = 50;

const std::string DATA_SHEET = viewerStringText(VSTR_DATA_SHEET);

// A number as the text import takes one: the whole field, finite.
std::optional<double> numberValue(std::string_view text, int& decimals)
{
    double value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    decimals = 0;
    if (const auto point = text.find('.'); point != std::string_view::npos) {
        const auto exponent = text.find_first_of("eE", point);
        const auto digits = (exponent == std::string_view::npos ? text.size() : exponent) - point - 1;
        decimals = static_cast<int>(std::min<std::size_t>(digits, MAX_DECIMALS));
    }
    return value;
}

bool allDigits(std::string_view text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

class SheetWriter {
public:
    SheetWriter(lxw_workbook* workbook, lxw_worksheet* sheet, const ExportPlan& plan, const NumberFormats& formats)
        : m_workbook(workbook), m_sheet(sheet), m_plan(plan)
    {
        m_dateTime = workbook_add_format(workbook);
        format_set_num_format(m_dateTime, formats.dateTime.c_str());
        m_date = workbook_add_format(workbook);
        format_set_num_format(m_date, formats.date.c_str());
        m_serialNumber = workbook_add_format(workbook);
        format_set_num_format(m_serialNumber, "000000000");
    }

    lxw_error heading(lxw_row_t row, lxw_col_t column, std::string_view text)
    {
        if (text.empty())
            return LXW_NO_ERROR;
        return worksheet_write_string(m_sheet, row, column, cp1252ToUtf8(text).c_str(), nullptr);
    }

    lxw_error field(lxw_row_t row, lxw_col_t column, std::string_view raw)
    {
        const std::string_view text = trimBlanks(raw);
        // A failed reading is "Error" in the file and an empty cell in the sheet.
        if (text.empty() || equalsIgnoringCase(text, vessor::text::ERROR_TEXT))
            return LXW_NO_ERROR;
        if (static_cast<int>(column) == m_plan.categoryColumn) {
            if (const auto serial = dayFirstTimeSerial(text))
                return worksheet_write_number(m_sheet, row, column, *serial, m_dateTime);
        }
        int decimals = 0;
        if (const auto number = numberValue(text, decimals)) {
            lxw_format* format = nullptr;
            if (static_cast<int>(column) == m_plan.serialNumberColumn && allDigits(text))
                format = m_serialNumber;
            else if (decimals > 0)
                format = decimalsFormat(decimals);
            return worksheet_write_number(m_sheet, row, column, *number, format);
        }
        if (const auto date = dayFirstDateSerial(text))
            return worksheet_write_number(m_sheet, row, column, *date, m_date);
        return worksheet_write_string(m_sheet, row, column, cp1252ToUtf8(text).c_str(), nullptr);
    }

private:
    // Numbers keep the decimals the file shows them with (8.0 stays 8.0).
    lxw_format* decimalsFormat(int decimals)
    {
        lxw_format*& format = m_decimals[decimals];
        if (!format) {
            format = workbook_add_format(m_workbook);
            format_set_num_format(format, ("0." + std::string(decimals, '0')).c_str());
        }
        return format;
    }

    lxw_workbook* m_workbook;
    lxw_worksheet* m_sheet;
    const ExportPlan& m_plan;
    lxw_format* m_dateTime = nullptr;
    lxw_format* m_date = nullptr;
    lxw_format* m_serialNumber = nullptr;
    std::array<lxw_format*, MAX_DECIMALS + 1> m_decimals{};
};

void setColumnWidths(lxw_worksheet* sheet, const DownloadTable& table, const ExportPlan& plan,
                     const NumberFormats& formats)
{
    std::vector<std::size_t> widths;
    auto measure = [&](std::string_view line) {
        forEachField(line, [&](int index, std::string_view field) {
            if (index >= MAX_SHEET_COLUMNS)
                return;
            if (static_cast<std::size_t>(index) >= widths.size())
                widths.resize(index + 1, 0);
            std::size_t width = trimBlanks(field).size();
            if (index == plan.categoryColumn)
                width = std::max(width, formats.dateTime.size());
            widths[index] = std::max(widths[index], width);
        });
    };
    measure(table.header());
    for (std::size_t r = 0; r < table.data.rows.size() && r < ROWS_FOR_WIDTHS; ++r)
        measure(table.data.rows[r].line);
    for (std::size_t c = 0; c < widths.size(); ++c) {
        const double width = std::clamp<double>(static_cast<double>(widths[c]) + 2, 8.43, 60);
        worksheet_set_column(sheet, static_cast<lxw_col_t>(c), static_cast<lxw_col_t>(c), width, nullptr);
    }
}

lxw_error writeDataSheet(lxw_workbook* workbook, lxw_worksheet* sheet, const DownloadTable& table,
                         const ExportPlan& plan, const NumberFormats& formats)
{
    setColumnWidths(sheet, table, plan, formats);
    SheetWriter writer(workbook, sheet, plan, formats);
    lxw_error error = LXW_NO_ERROR;
    // The loading refused files with more columns than a sheet has.
    forEachField(table.header(), [&](int column, std::string_view text) {
        if (error == LXW_NO_ERROR && column < MAX_SHEET_COLUMNS)
            error = writer.heading(0, static_cast<lxw_col_t>(column), trimBlanks(text));
    });
    lxw_row_t row = 1;
    for (const download::Row& reading : table.data.rows) {
        forEachField(reading.line, [&](int column, std::string_view text) {
            if (error == LXW_NO_ERROR && column < MAX_SHEET_COLUMNS)
                error = writer.field(row, static_cast<lxw_col_t>(column), text);
        });
        if (error != LXW_NO_ERROR)
            return error;
        ++row;
    }
    return error;
}

void addChart(lxw_workbook* workbook, const ExportPlan& plan, const ChartPlan& chartPlan)
{
    lxw_chart* chart = workbook_add_chart(workbook, LXW_CHART_LINE);
    const auto first = static_cast<lxw_row_t>(chartPlan.firstPointRow - 1);
    const auto last = static_cast<lxw_row_t>(chartPlan.lastRow - 1);
    const auto categories = static_cast<lxw_col_t>(plan.categoryColumn);
    for (const SeriesPlan& s : plan.series) {
        const auto column = static_cast<lxw_col_t>(s.column);
        lxw_chart_series* series = chart_add_series(chart, nullptr, nullptr);
        chart_series_set_categories(series, DATA_SHEET.c_str(), first, categories, last, categories);
        chart_series_set_values(series, DATA_SHEET.c_str(), first, column, last, column);
        // Every chart names its series after the heading cells; only the first
        // chart's rows include them.
        chart_series_set_name_range(series, DATA_SHEET.c_str(), 0, column);
        chart_series_set_marker_type(series, LXW_CHART_MARKER_NONE);
    }
    chart_axis_set_label_position(chart->x_axis, LXW_CHART_AXIS_LABEL_POSITION_LOW);
    chart_axis_set_position(chart->x_axis, LXW_CHART_AXIS_POSITION_ON_TICK);
    chart_axis_set_interval_unit(chart->x_axis, static_cast<uint16_t>(chartPlan.tickSpacing));
    chart_axis_set_interval_tick(chart->x_axis, static_cast<uint16_t>(chartPlan.tickSpacing));
    // Slanted time labels stay apart however many categories the axis has.
    lxw_chart_font labels{};
    labels.rotation = -45;
    chart_axis_set_num_font(chart->x_axis, &labels);
    if (!plan.primaryAxisTitle.empty())
        chart_axis_set_name(chart->y_axis, plan.primaryAxisTitle.c_str());
    if (!plan.chartTitle.empty()) {
        // A leading "=" would make the title a formula; the heading cell holds
        // the same text.
        if (plan.chartTitle.front() == '=')
            chart_title_set_name_range(chart, DATA_SHEET.c_str(), 0, 0);
        else
            chart_title_set_name(chart, plan.chartTitle.c_str());
    }

    lxw_chartsheet* sheet = workbook_add_chartsheet(workbook, chartPlan.sheetName.c_str());
    chartsheet_set_chart(sheet, chart);
    chartsheet_set_landscape(sheet);
    if (&chartPlan == &plan.charts.front())
        chartsheet_activate(sheet);
}

std::string lxwReason(lxw_error error)
{
    return lxw_strerror(error);
}

// A zip archive ends with its end-of-central-directory record (no comment
// here); a write the library lost on a full disk cuts it off.
bool isWholeZip(std::string_view bytes)
{
    constexpr std::size_t RECORD = 22;
    return bytes.size() >= RECORD && bytes.substr(bytes.size() - RECORD, 4) == std::string_view("PK\x05\x06", 4);
}

// The workbook library prints numbers with the C library, which follows the
// locale Qt set from the environment ("20,1" under de_DE). The file format
// wants a decimal point, so this thread writes in the C locale meanwhile.
class NumericLocale {
public:
    NumericLocale() : m_c(newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr)))
    {
        if (m_c)
            m_previous = uselocale(m_c);
    }
    ~NumericLocale()
    {
        if (m_c) {
            uselocale(m_previous);
            freelocale(m_c);
        }
    }
    NumericLocale(const NumericLocale&) = delete;
    NumericLocale& operator=(const NumericLocale&) = delete;

private:
    locale_t m_c;
    locale_t m_previous = LC_GLOBAL_LOCALE;
};

} // namespace

std::string writeWorkbook(const DownloadTable& table, const ExportPlan& plan, const NumberFormats& formats,
                          const std::string& outputPath, const SaveOptions& options)
{
    const NumericLocale cLocale;
    SafeSave save(outputPath, options);
    if (!save.open())
        return save.result().reason;

    // Constant memory: every row goes to disk as it is finished, so a large
    // file needs little memory and is written about twice as fast. The
    // library writes by name, into the safe save's own temporary file.
    lxw_workbook_options workbookOptions{};
    workbookOptions.constant_memory = LXW_TRUE;
    lxw_workbook* workbook = workbook_new_opt(save.libraryPath().c_str(), &workbookOptions);
    if (!workbook)
        return "the file cannot be created";
    lxw_worksheet* sheet = workbook_add_worksheet(workbook, DATA_SHEET.c_str());
    const lxw_error sheetError = writeDataSheet(workbook, sheet, table, plan, formats);
    for (const ChartPlan& chart : plan.charts)
        addChart(workbook, plan, chart);
    errno = 0;
    const lxw_error closeError = workbook_close(workbook);
    const int closeErrno = errno;
    if (sheetError != LXW_NO_ERROR)
        return lxwReason(sheetError);
    if (closeError != LXW_NO_ERROR)
        // The library's words, then the system's reason when it left one.
        return lxwReason(closeError) + (closeErrno != 0 ? std::string(": ") + std::strerror(closeErrno) : "");

    // The chart edit works on the whole workbook in memory, and reading it
    // back shows whether the library's writes all arrived.
    std::string bytes;
    if (!save.readBack(bytes))
        return save.result().reason;
    if (!isWholeZip(bytes))
        return "the workbook was not written whole";
    if (!plan.charts.empty()) {
        ChartXmlEdit edit;
        for (std::size_t i = 0; i < plan.series.size(); ++i) {
            if (plan.series[i].secondary)
                edit.secondarySeries.push_back(static_cast<int>(i));
        }
        edit.secondaryAxisTitle = plan.secondaryAxisTitle;
        edit.categoryFormat = formats.dateTime;
        if (std::string reason = editWorkbookCharts(bytes, static_cast<int>(plan.charts.size()), edit);
            !reason.empty())
            return reason;
        if (!save.rewrite(bytes))
            return save.result().reason;
    }
    if (!save.commit())
        return save.result().reason;
    return {};
}

} // namespace vessor::xlsx
