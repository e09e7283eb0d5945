#include "logger/summary.h"

#include "logger/download_fields.h"
#include "logger/json_text.h"

#include <algorithm>
#include <cmath>

namespace vessor::download {

namespace {

constexpr const char* CELSIUS = "\u00B0C";
constexpr const char* FAHRENHEIT = "\u00B0F";
constexpr double ZERO_CELSIUS = 273.15; // kelvin

bool hasValue(double v) {
    return !isNoValue(v);
}

bool beyond(AlarmKind kind, double value, double level) {
    if (!hasValue(value) || !hasValue(level))
        return false;
    return kind == AlarmKind::Low ? value < level : value > level;
}

AlarmSummary summarizeAlarm(const AlarmColumn& column, std::span<const double> values, int from, int to) {
    AlarmSummary alarm;
    alarm.kind = column.kind;
    alarm.label = column.label;
    const int levels = static_cast<int>(column.levels.size());
    for (int k = from; k < std::min(to, levels); ++k) {
        if (hasValue(column.levels[k])) {
            alarm.level = column.levels[k];
            break;
        }
    }
    const bool low = column.kind == AlarmKind::Low;
    Excursion* run = nullptr;
    for (int k = from; k < to; ++k) {
        const double value = values[k];
        if (k >= levels || !beyond(column.kind, value, column.levels[k])) {
            run = nullptr;
            continue;
        }
        ++alarm.readings;
        if (run == nullptr) {
            run = &alarm.excursions.emplace_back(Excursion{k, k, value, false});
        } else {
            run->last = k;
            run->extreme = low ? std::min(run->extreme, value) : std::max(run->extreme, value);
        }
        alarm.longestRun = std::max(alarm.longestRun, run->readings());
    }
    if (run != nullptr)
        run->openAtEnd = true;
    return alarm;
}

ChannelSummary summarizeChannel(const ChannelColumns& columns, int from, int to, double activationEnergy) {
    ChannelSummary channel;
    channel.role = columns.role;
    channel.name = columns.name;
    channel.unit = columns.unit;
    channel.decimals = columns.decimals;
    to = std::min(to, static_cast<int>(columns.values.size()));
    from = std::min(from, to);
    const std::span<const double> values = columns.values.subspan(from, to - from);
    double sum = 0, low = 0, high = 0;
    for (std::size_t i = 0; i < values.size(); ++i) {
        const double v = values[i];
        if (!hasValue(v))
            continue;
        const int k = from + static_cast<int>(i);
        if (channel.count == 0 || v < low) {
            low = v;
            channel.minAt = k;
        }
        if (channel.count == 0 || v > high) {
            high = v;
            channel.maxAt = k;
        }
        sum += v;
        ++channel.count;
    }
    if (channel.count > 0) {
        const double mean = sum / channel.count;
        // The second pass keeps the deviation exact for values far from 0.
        double squares = 0;
        for (const double v : values) {
            if (hasValue(v))
                squares += (v - mean) * (v - mean);
        }
        channel.min = low;
        channel.max = high;
        channel.mean = mean;
        channel.stddev = channel.count > 1 ? std::sqrt(squares / (channel.count - 1)) : 0.0;
        if (columns.role == ChannelRole::Primary)
            channel.mkt = meanKineticTemperature(values, columns.unit, activationEnergy);
    }
    for (const AlarmColumn& column : columns.alarms)
        channel.alarms.push_back(summarizeAlarm(column, columns.values, from, to));
    return channel;
}

// Keys and values in the form `"key": value, ` of a small hand-written JSON.
class JsonObject {
public:
    explicit JsonObject(std::string& out) : out_(out) { out_ += '{'; }
    void key(const char* name) {
        if (!first_)
            out_ += ", ";
        first_ = false;
        appendJsonString(out_, name);
        out_ += ": ";
    }
    void text(const char* name, std::string_view value) {
        key(name);
        appendJsonString(out_, value);
    }
    void number(const char* name, std::optional<double> value) {
        key(name);
        if (value)
            appendJsonNumber(out_, *value);
        else
            out_ += "null";
    }
    void integer(const char* name, long long value) {
        key(name);
        appendJsonInt(out_, value);
    }
    void time(const char* name, const Summary& summary, std::optional<int> reading) {
        key(name);
        if (reading)
            appendJsonString(out_, isoTimeText(summary.timeOf(*reading)));
        else
            out_ += "null";
    }
    void flag(const char* name, bool value) {
        key(name);
        out_ += value ? "true" : "false";
    }
    void close() { out_ += '}'; }

private:
    std::string& out_;
    bool first_ = true;
};

void appendAlarm(std::string& out, const Summary& summary, const AlarmSummary& alarm) {
    const std::int64_t interval = summary.interval;
    JsonObject o(out);
    o.text("kind", alarmKindName(alarm.kind));
    o.text("label", alarm.label);
    o.number("level", alarm.level);
    o.integer("readings", alarm.readings);
    o.integer("seconds", alarm.readings * interval);
    o.integer("excursions", static_cast<long long>(alarm.excursions.size()));
    o.integer("longestSeconds", alarm.longestRun * interval);
    o.time("firstAt", summary, alarm.firstAt());
    o.key("excursionList");
    out += '[';
    for (const Excursion& run : alarm.excursions) {
        if (&run != &alarm.excursions.front())
            out += ", ";
        JsonObject r(out);
        r.time("start", summary, run.first);
        r.time("end", summary, run.last);
        r.integer("seconds", run.readings() * interval);
        r.number("extreme", run.extreme);
        r.flag("openAtEnd", run.openAtEnd);
        r.close();
    }
    out += ']';
    o.close();
}

void appendChannel(std::string& out, const Summary& summary, const ChannelSummary& channel) {
    const bool any = channel.count > 0;
    JsonObject o(out);
    o.text("name", channel.name);
    o.text("unit", channel.unit);
    o.text("role", roleName(channel.role));
    o.integer("count", channel.count);
    o.number("min", channel.min);
    o.time("minAt", summary, any ? std::optional<int>(channel.minAt) : std::nullopt);
    o.number("max", channel.max);
    o.time("maxAt", summary, any ? std::optional<int>(channel.maxAt) : std::nullopt);
    o.number("mean", channel.mean);
    o.number("stddev", channel.stddev);
    o.number("mkt", channel.mkt);
    o.key("alarms");
    out += '[';
    for (const AlarmSummary& alarm : channel.alarms) {
        if (&alarm != &channel.alarms.front())
            out += ", ";
        appendAlarm(out, summary, alarm);
    }
    out += ']';
    o.close();
}

} // namespace

const char* roleName(ChannelRole role) {
    constexpr const char* NAMES[] = {"primary", "secondary", "extra"};
    return NAMES[static_cast<int>(role)];
}

const char* alarmKindName(AlarmKind kind) {
    constexpr const char* NAMES[] = {"high", "low", "warning"};
    return NAMES[static_cast<int>(kind)];
}

AlarmKind lowSlotKind(const std::string& label) {
    return toUpperAscii(label).find("LOW") != std::string::npos ? AlarmKind::Low : AlarmKind::Warning;
}

std::vector<ChannelColumns> summaryChannels(const ChannelSource& primary, const ChannelSource& secondary) {
    std::vector<ChannelColumns> channels;
    for (const ChannelSource* channel : {&primary, &secondary}) {
        if (!channel->present)
            continue;
        ChannelColumns& columns = channels.emplace_back();
        columns.role = channel == &primary ? ChannelRole::Primary : ChannelRole::Secondary;
        columns.name = channel->name;
        columns.unit = channel->unit;
        columns.decimals = channel->decimals;
        columns.values = channel->readings;
        if (channel->hasHigh)
            columns.alarms.push_back({AlarmKind::High, channel->highLabel, channel->high});
        if (channel->hasLow)
            columns.alarms.push_back({lowSlotKind(channel->lowLabel), channel->lowLabel, channel->low});
    }
    // The dew point comes last, in the primary channel's unit.
    if (primary.present && primary.hasExtra) {
        ChannelColumns& extra = channels.emplace_back();
        extra.role = ChannelRole::Extra;
        extra.name = primary.extraLabel;
        extra.unit = primary.unit;
        extra.decimals = primary.decimals;
        extra.values = primary.extra;
    }
    return channels;
}

SummaryInput summaryInput(const DownloadData& data) {
    SummaryInput input;
    input.title = data.title;
    input.startTime = data.startTime;
    input.interval = data.interval;
    input.readings = data.rowCount();
    const auto source = [](const Channel& c) { return channelSource(c, c.readings, c.high, c.low, c.extra); };
    input.channels = summaryChannels(source(data.primary), source(data.secondary));
    return input;
}

std::optional<double> meanKineticTemperature(std::span<const double> values, const std::string& unit,
                                             double activationEnergy) {
    const bool celsius = unit == CELSIUS;
    if ((!celsius && unit != FAHRENHEIT) || !(activationEnergy > 0) || !std::isfinite(activationEnergy))
        return std::nullopt;
    const double ratio = activationEnergy * 1000 / GAS_CONSTANT; // ΔH/R, kelvin
    double sum = 0;
    int n = 0;
    for (const double v : values) {
        if (!hasValue(v))
            continue;
        const double kelvin = (celsius ? v : (v - 32) * 5 / 9) + ZERO_CELSIUS;
        // A damaged file: no temperature is at or below absolute zero.
        if (!(kelvin > 0))
            return std::nullopt;
        sum += std::exp(-ratio / kelvin);
        ++n;
    }
    if (n == 0 || !(sum > 0))
        return std::nullopt;
    const double kelvin = ratio / -std::log(sum / n);
    const double result = celsius ? kelvin - ZERO_CELSIUS : (kelvin - ZERO_CELSIUS) * 9 / 5 + 32;
    return std::isfinite(result) ? std::optional<double>(result) : std::nullopt;
}

Summary summarize(const SummaryInput& input, ReadingRange range, double activationEnergy) {
    Summary summary;
    summary.title = input.title;
    summary.startTime = input.startTime;
    summary.interval = input.interval;
    summary.activationEnergy = activationEnergy;
    const int to = std::clamp(range.to, 0, input.readings);
    summary.range = {std::clamp(range.from, 0, to), to};
    for (const ChannelColumns& columns : input.channels)
        summary.channels.push_back(
            summarizeChannel(columns, summary.range.from, summary.range.to, activationEnergy));
    return summary;
}

std::string summaryToJson(const Summary& summary) {
    std::string out;
    const bool any = summary.readings() > 0;
    JsonObject o(out);
    o.text("title", summary.title);
    o.integer("readings", summary.readings());
    o.integer("interval", summary.interval);
    o.time("first", summary, any ? std::optional<int>(summary.range.from) : std::nullopt);
    o.time("last", summary, any ? std::optional<int>(summary.range.to - 1) : std::nullopt);
    o.number("activationEnergy", summary.activationEnergy);
    o.key("channels");
    out += '[';
    for (const ChannelSummary& channel : summary.channels) {
        out += &channel == &summary.channels.front() ? "\n " : ",\n ";
        appendChannel(out, summary, channel);
    }
    out += "]";
    o.close();
    out += '\n';
    return out;
}

} // namespace vessor::download
