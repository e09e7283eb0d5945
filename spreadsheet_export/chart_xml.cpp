#include "spreadsheet_export/chart_xml.h"

#include <zip.h>

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace vessor::xlsx {

namespace {

struct Span {
    std::size_t begin = 0; // of the opening tag
    std::size_t end = 0;   // past the closing tag
};

// The one element `name` (no nesting of the same name) from `from` on.
std::optional<Span> findElement(std::string_view xml, std::string_view name, std::size_t from = 0,
                                std::size_t limit = std::string_view::npos)
{
    const std::string open = "<" + std::string(name) + ">";
    const std::string close = "</" + std::string(name) + ">";
    const auto begin = xml.find(open, from);
    if (begin == std::string_view::npos || begin >= limit)
        return std::nullopt;
    const auto end = xml.find(close, begin);
    if (end == std::string_view::npos || end + close.size() > limit)
        return std::nullopt;
    return Span{begin, end + close.size()};
}

// The value of the first <tag val="..."/> inside `xml`.
std::optional<long long> attributeValue(std::string_view xml, std::string_view tag)
{
    const std::string prefix = "<" + std::string(tag) + " val=\"";
    const auto at = xml.find(prefix);
    if (at == std::string_view::npos)
        return std::nullopt;
    const char* first = xml.data() + at + prefix.size();
    long long value = 0;
    const auto [end, ec] = std::from_chars(first, xml.data() + xml.size(), value);
    if (ec != std::errc() || end == xml.data() + xml.size() || *end != '"')
        return std::nullopt;
    return value;
}

std::string escapeXml(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c; break;
        }
    }
    return out;
}

std::string axisTitleXml(const std::string& title)
{
    if (title.empty())
        return {};
    return "<c:title><c:tx><c:rich><a:bodyPr rot=\"-5400000\" vert=\"horz\"/><a:lstStyle/><a:p><a:pPr><a:defRPr/>"
           "</a:pPr><a:r><a:rPr lang=\"en-US\"/><a:t>" +
           escapeXml(title) + "</a:t></a:r></a:p></c:rich></c:tx><c:layout/></c:title>";
}

// A text axis: the categories are spaced evenly, one per reading, instead of
// being placed by date (which draws one step per day). Its labels take no
// format from the cells, so they get the time column's own.
bool makeTextCategoryAxis(std::string& xml, const std::string& labelFormat)
{
    const auto axis = findElement(xml, "c:catAx");
    if (!axis)
        return false;
    static constexpr std::string_view DATE_OR_TEXT = "<c:auto val=\"1\"/>";
    const auto at = xml.find(DATE_OR_TEXT, axis->begin);
    if (at == std::string::npos || at >= axis->end)
        return false;
    xml.replace(at, DATE_OR_TEXT.size(), "<c:auto val=\"0\"/>");
    if (labelFormat.empty())
        return true;
    const auto format = xml.find("<c:numFmt ", axis->begin);
    const auto formatEnd = xml.find("/>", format);
    if (format == std::string::npos || formatEnd == std::string::npos || formatEnd >= at)
        return false;
    xml.replace(format, formatEnd + 2 - format,
                "<c:numFmt formatCode=\"" + escapeXml(labelFormat) + "\" sourceLinked=\"0\"/>");
    return true;
}

// Moves the chosen series into a second line chart whose values hang on a
// value axis at the right (crossing its hidden category axis at the maximum).
bool addSecondaryAxis(std::string& xml, const ChartXmlEdit& edit)
{
    const auto chart = findElement(xml, "c:lineChart");
    if (!chart)
        return false;
    std::string kept;
    std::string moved;
    std::size_t pos = chart->begin + std::string_view("<c:lineChart>").size();
    std::size_t tailBegin = pos;
    while (const auto series = findElement(xml, "c:ser", pos, chart->end)) {
        const std::string_view text = std::string_view(xml).substr(series->begin, series->end - series->begin);
        const auto index = attributeValue(text, "c:idx");
        if (!index)
            return false;
        const bool secondary = std::find(edit.secondarySeries.begin(), edit.secondarySeries.end(), *index) !=
                               edit.secondarySeries.end();
        kept += xml.substr(pos, series->begin - pos); // what stands between (the grouping)
        (secondary ? moved : kept) += text;
        pos = tailBegin = series->end;
    }
    if (moved.empty() || kept.find("<c:ser>") == std::string::npos)
        return false;
    const std::string tail = xml.substr(tailBegin, chart->end - tailBegin); // markers and axis ids
    const auto firstAxis = attributeValue(tail, "c:axId");
    const auto plotEnd = xml.find("</c:plotArea>");
    if (!firstAxis || plotEnd == std::string::npos)
        return false;
    const auto lastAxisAt = tail.rfind("<c:axId val=\"");
    const auto secondAxis = attributeValue(std::string_view(tail).substr(lastAxisAt), "c:axId");
    if (!secondAxis)
        return false;
    const std::string categoryId = std::to_string(std::max(*firstAxis, *secondAxis) + 1);
    const std::string valueId = std::to_string(std::max(*firstAxis, *secondAxis) + 2);

    const std::string secondChart = "<c:lineChart><c:grouping val=\"standard\"/>" + moved +
                                    "<c:marker val=\"1\"/><c:axId val=\"" + categoryId + "\"/><c:axId val=\"" +
                                    valueId + "\"/></c:lineChart>";
    const std::string axes =
        "<c:valAx><c:axId val=\"" + valueId +
        "\"/><c:scaling><c:orientation val=\"minMax\"/></c:scaling><c:delete val=\"0\"/><c:axPos val=\"r\"/>" +
        axisTitleXml(edit.secondaryAxisTitle) +
        "<c:numFmt formatCode=\"General\" sourceLinked=\"1\"/><c:tickLblPos val=\"nextTo\"/><c:crossAx val=\"" +
        categoryId + "\"/><c:crosses val=\"max\"/><c:crossBetween val=\"midCat\"/></c:valAx>" +
        "<c:catAx><c:axId val=\"" + categoryId +
        "\"/><c:scaling><c:orientation val=\"minMax\"/></c:scaling><c:delete val=\"1\"/><c:axPos val=\"b\"/>"
        "<c:numFmt formatCode=\"General\" sourceLinked=\"1\"/><c:tickLblPos val=\"nextTo\"/><c:crossAx val=\"" +
        valueId + "\"/><c:crosses val=\"autoZero\"/><c:auto val=\"0\"/><c:lblAlgn val=\"ctr\"/>"
                  "<c:lblOffset val=\"100\"/></c:catAx>";

    // Back to front, so that the earlier offsets stay valid.
    xml.insert(plotEnd, axes);
    xml.replace(chart->begin, chart->end - chart->begin, "<c:lineChart>" + kept + tail + secondChart);
    return true;
}

// Library errors of the zip edit, mapped to one text.
std::string zipFailure(zip_t* archive, std::string_view what)
{
    return std::string(what) + ": " + zip_strerror(archive);
}

} // namespace

std::optional<std::string> editChartXml(std::string_view xml, const ChartXmlEdit& edit)
{
    std::string result(xml);
    if (!makeTextCategoryAxis(result, edit.categoryFormat))
        return std::nullopt;
    if (!edit.secondarySeries.empty() && !addSecondaryAxis(result, edit))
        return std::nullopt;
    return result;
}

std::string editWorkbookCharts(std::string& workbook, int chartCount, const ChartXmlEdit& edit)
{
    // The archive is edited in memory: libzip writing by name would make its
    // own temporary file and rename beside the target.
    zip_error_t error;
    zip_error_init(&error);
    // libzip takes a copy of its own: when the rewritten archive replaces the
    // buffer it frees the first one, whoever passed it.
    void* copy = std::malloc(workbook.size() ? workbook.size() : 1);
    if (!copy)
        return "out of memory";
    std::memcpy(copy, workbook.data(), workbook.size());
    zip_source_t* source = zip_source_buffer_create(copy, workbook.size(), 1, &error);
    zip_t* archive = source ? zip_open_from_source(source, 0, &error) : nullptr;
    if (!archive) {
        std::string reason = std::string("the workbook cannot be reopened: ") + zip_error_strerror(&error);
        zip_error_fini(&error);
        if (source)
            zip_source_free(source);
        return reason;
    }
    zip_error_fini(&error);
    // The source outlives the archive: the rewritten workbook is read from it.
    zip_source_keep(source);
    auto drop = [&](std::string reason) {
        zip_discard(archive);
        zip_source_free(source);
        return reason;
    };
    // libzip reads the replacement buffers only when the archive is closed.
    std::vector<std::unique_ptr<std::string>> parts;
    for (int i = 1; i <= chartCount; ++i) {
        const std::string name = "xl/charts/chart" + std::to_string(i) + ".xml";
        const zip_int64_t index = zip_name_locate(archive, name.c_str(), 0);
        zip_stat_t stat;
        if (index < 0 || zip_stat_index(archive, static_cast<zip_uint64_t>(index), 0, &stat) != 0 ||
            !(stat.valid & ZIP_STAT_SIZE))
            return drop(name + " is missing from the workbook");
        std::string xml(stat.size, '\0');
        zip_file_t* file = zip_fopen_index(archive, static_cast<zip_uint64_t>(index), 0);
        const zip_int64_t read = file ? zip_fread(file, xml.data(), stat.size) : -1;
        if (file)
            zip_fclose(file);
        if (read != static_cast<zip_int64_t>(stat.size))
            return drop(zipFailure(archive, name));
        auto edited = editChartXml(xml, edit);
        if (!edited)
            return drop(name + " is not a chart of the expected form");
        parts.push_back(std::make_unique<std::string>(std::move(*edited)));
        zip_source_t* part = zip_source_buffer(archive, parts.back()->data(), parts.back()->size(), 0);
        if (!part || zip_file_replace(archive, static_cast<zip_uint64_t>(index), part, 0) != 0) {
            if (part)
                zip_source_free(part);
            return drop(zipFailure(archive, name));
        }
    }
    if (zip_close(archive) != 0)
        return drop(zipFailure(archive, "the workbook cannot be rewritten"));

    zip_stat_t stat;
    std::string result;
    bool read = zip_source_stat(source, &stat) == 0 && (stat.valid & ZIP_STAT_SIZE) && zip_source_open(source) == 0;
    if (read) {
        result.resize(stat.size);
        read = zip_source_read(source, result.data(), stat.size) == static_cast<zip_int64_t>(stat.size);
        zip_source_close(source);
    }
    zip_source_free(source);
    if (!read)
        return "the rewritten workbook cannot be read back";
    workbook = std::move(result);
    return {};
}

} // namespace vessor::xlsx
