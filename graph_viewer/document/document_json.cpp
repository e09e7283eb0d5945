#include "document_json.h"

#include "logger/json_text.h"


namespace vessor::graph {

namespace {

void appendString(std::string& out, const std::string& text) {
    appendJsonString(out, text);
}

// A missing value is null.
void appendNumber(std::string& out, double value) {
    if (isNoValue(value))
        out += "null";
    else
        appendJsonNumber(out, value);
}

void appendInt(std::string& out, long long value) {
    appendJsonInt(out, value);
}

void appendSet(std::string& out, const TraceSet& set) {
    const auto key = [&out](const char* name) {
        out += '"';
        out += name;
        out += "\":";
    };
    const auto flag = [&](const char* name, bool value) {
        key(name);
        out += value ? "true," : "false,";
    };
    const auto text = [&](const char* name, const std::string& value) {
        key(name);
        appendString(out, value);
        out += ',';
    };
    out += '{';
    flag("present", set.present);
    text("name", set.name);
    text("unit", set.unit);
    text("highLabel", set.highLabel);
    text("lowLabel", set.lowLabel);
    text("extraLabel", set.extraLabel);
    flag("hasHigh", set.hasHigh);
    flag("hasLow", set.hasLow);
    flag("hasExtra", set.hasExtra);
    key("decimals");
    appendInt(out, set.decimals);
    out += ',';
    key("traces");
    out += '[';
    for (int t = 0; t < set.data.traceCount(); ++t) {
        if (t > 0)
            out += ',';
        out += '[';
        const std::vector<double>& ys = set.data.ys(t);
        for (std::size_t i = 0; i < ys.size(); ++i) {
            if (i > 0)
                out += ',';
            appendNumber(out, ys[i]);
        }
        out += ']';
    }
    out += "]}";
}

} // namespace

std::string documentToJson(const VessorGraphDoc& doc) {
    std::string out;
    out.reserve(64 + 12 * static_cast<std::size_t>(doc.readingCount) * 7);
    out += "{\"title\":";
    appendString(out, doc.title);
    out += ",\"readingCount\":";
    appendInt(out, doc.readingCount);
    out += ",\"interval\":";
    appendInt(out, doc.interval);
    out += ",\"startTime\":";
    appendString(out, download::isoTimeText(doc.startTime));
    out += ",\"primary\":";
    appendSet(out, doc.primary);
    out += ",\"secondary\":";
    appendSet(out, doc.secondary);
    out += "}\n";
    return out;
}

} // namespace vessor::graph
