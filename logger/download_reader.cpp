#include "logger/download_reader.h"

#include "logger/open_file.h"
#include "logger/text_encoding.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace vessor::download {

namespace {

// Readings beyond this are no logger's values; they would also break a
// chart's axis arithmetic, so such a row is refused like a missing field.
constexpr double LARGEST_VALUE = 1e100;

bool usable(double v) {
    return std::isfinite(v) && std::fabs(v) <= LARGEST_VALUE;
}

// Lines as a text-mode stream returns them: without their line end, CR LF
// read as LF. A last line without a line end is still a line; the empty text
// after a final line end is not.
class Lines {
public:
    enum class Read { Line, End, TooLong };

    explicit Lines(std::string_view bytes) : rest_(bytes) {}

    Read next(std::string_view& line) {
        line = {};
        ++number_;
        if (rest_.empty())
            return Read::End;
        const auto end = rest_.find('\n');
        if (std::min(end, rest_.size()) > LONGEST_LINE)
            return Read::TooLong;
        line = rest_.substr(0, end);
        rest_ = end == std::string_view::npos ? std::string_view{} : rest_.substr(end + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        return Read::Line;
    }

    // The line last read, from 1 (the header); one past the last at the end.
    int number() const { return number_; }

private:
    std::string_view rest_;
    int number_ = 0;
};

// The time of one of the first two rows, which set the start and the
// interval of the whole file: empty when the row has one, else why not.
std::string leadingTime(std::string_view row, std::string_view& timeText, ClockFields& fields,
                        const char* which) {
    FieldReader reader(row);
    std::string_view number;
    if (!reader.next(number) || !reader.next(timeText))
        return std::string("no row number and time in the ") + which + " row";
    if (!parseTimeStamp(timeText, fields))
        return std::string("the time of the ") + which + " row is no dd/mm/yyyy hh:mm:ss";
    return {};
}

constexpr const char* MISSING_FIELD = "a field the header announces is missing or no usable number";

class Reader {
public:
    Reader(std::string_view bytes, ReadOptions options)
        : lines_(bytes), bytes_(bytes), options_(options) {}

    ReadResult run();

    enum class Header { TooShort, Event, Channels };
    Header parseHeader(std::string_view line);
    DownloadData& data() { return data_; }

private:
    ReadResult invalid(std::string reason);
    void parseHeading(std::string_view text);
    void parseChannelHeading(Channel& set, std::string_view text, bool unitFromName);
    bool parseRow(std::string_view line, std::string_view& timeText);
    // Parses a row (blanks stripped or not, as the rules say) and keeps it as written.
    bool takeRow(std::string_view row, std::string_view written);

    Lines lines_;
    std::string_view bytes_;
    ReadOptions options_;
    DownloadData data_;
};

ReadResult Reader::invalid(std::string reason) {
    ReadResult result;
    result.outcome.status = ReadStatus::Invalid;
    result.outcome.line = lines_.number();
    result.outcome.reason = std::move(reason);
    return result;
}

ReadResult Reader::run() {
    std::string_view line;
    const auto next = [&] { return lines_.next(line); };
    constexpr const char* TOO_LONG = "a line longer than any download file has";

    // Header: the logger name, "Time", then the column headings.
    if (next() == Lines::Read::TooLong)
        return invalid(TOO_LONG);
    switch (parseHeader(line)) {
    case Header::TooShort:
        return invalid("the header has fewer than two fields");
    case Header::Event: {
        ReadResult result;
        result.outcome.status = ReadStatus::EventFile;
        return result;
    }
    case Header::Channels:
        break;
    }

    // Room for every row at once: a large file is read without regrowing.
    const auto expected = static_cast<std::size_t>(std::count(bytes_.begin(), bytes_.end(), '\n')) + 1;
    data_.rows.reserve(options_.everyRow ? expected : 1);
    for (Channel* set : {&data_.primary, &data_.secondary}) {
        if (!set->present)
            continue;
        for (auto* values : {&set->readings, &set->high, &set->low})
            values->reserve(expected);
        if (set->hasExtra)
            set->extra.reserve(expected);
    }

    // The first two rows give the start time and the interval of the whole file.
    if (next() == Lines::Read::TooLong)
        return invalid(TOO_LONG);
    std::string_view row = trimBlanks(line);
    std::string_view timeText;
    ClockFields fields;
    if (std::string why = leadingTime(row, timeText, fields, "first"); !why.empty())
        return invalid(std::move(why));
    data_.startTime = toClockSeconds(fields);
    data_.interval = MIN_INTERVAL;
    if (!takeRow(row, line))
        return invalid(MISSING_FIELD);

    const Lines::Read second = next();
    if (second == Lines::Read::TooLong)
        return invalid(TOO_LONG);
    row = trimBlanks(line);
    // A blank second row ends the file: a single reading, whatever follows.
    if (!row.empty()) {
        if (std::string why = leadingTime(row, timeText, fields, "second"); !why.empty())
            return invalid(std::move(why));
        const std::int64_t distance = toClockSeconds(fields) - data_.startTime;
        data_.interval = static_cast<int>(std::clamp<std::int64_t>(distance, MIN_INTERVAL, MAX_INTERVAL));
        // Later rows are taken as they come: a blank line among them is a row
        // without fields, which makes the file invalid.
        std::string_view current = row;
        for (;;) {
            if (data_.rowsRead == INT_MAX)
                return invalid("more rows than can be counted");
            if (!takeRow(current, line))
                return invalid(MISSING_FIELD);
            const Lines::Read r = next();
            if (r == Lines::Read::TooLong)
                return invalid(TOO_LONG);
            if (r == Lines::Read::End)
                break;
            current = line;
        }
    }

    ReadResult result;
    result.outcome.status = ReadStatus::Ok;
    result.data = std::move(data_);
    return result;
}

Reader::Header Reader::parseHeader(std::string_view line) {
    data_.header = trimBlanks(line);
    FieldReader headings(data_.header);
    std::string_view field;
    if (headings.next(field))
        data_.title = cp1252ToUtf8(field);
    if (!headings.next(field))
        return Header::TooShort;
    if (toUpperAscii(data_.header).find("EVENT", headings.position()) != std::string::npos)
        return Header::Event;
    while (headings.next(field))
        parseHeading(field);
    parseHeading({});
    return Header::Channels;
}

bool Reader::takeRow(std::string_view row, std::string_view written) {
    std::string_view timeText;
    if (!parseRow(row, timeText))
        return false;
    ++data_.rowsRead;
    if (!options_.everyRow && !data_.rows.empty())
        return true;
    Row kept{written, std::nullopt};
    ClockFields fields;
    if (parseTimeStamp(timeText, fields))
        kept.time = toClockSeconds(fields);
    data_.rows.push_back(kept);
    return true;
}

void Reader::parseChannelHeading(Channel& set, std::string_view text, bool unitFromName) {
    const auto open = text.find('(');
    const std::string_view name = text.substr(0, open);
    std::string_view unit;
    if (open != std::string_view::npos) {
        unit = text.substr(open + 1);
        unit = unit.substr(0, unit.find_first_of("()"));
    }
    set.name = cp1252ToUtf8(name);
    set.unit = cp1252ToUtf8(unit);
    set.present = true;
    if (unitFromName && set.unit.empty()) {
        const std::string upper = toUpperAscii(name);
        if (upper.find("CELSIUS") != std::string::npos)
            set.unit = "\u00B0C";
        else if (upper.find("FAHRENHEIT") != std::string::npos)
            set.unit = "\u00B0F";
    }
}

void Reader::parseHeading(std::string_view text) {
    Channel& primary = data_.primary;
    Channel& secondary = data_.secondary;
    const bool bracketed = text.find('(') != std::string_view::npos;
    if (bracketed || !primary.present) {
        if (!primary.present) {
            parseChannelHeading(primary, text, true);
        } else if (!secondary.present) {
            parseChannelHeading(secondary, text, false);
        } else {
            // A third channel heading counts only when it shares the first
            // channel's unit exactly (the dew point of a humidity logger).
            const auto open = text.find('(');
            std::string_view unit = text.substr(open + 1);
            unit = unit.substr(0, unit.find(')'));
            if (cp1252ToUtf8(unit) == primary.unit) {
                primary.extraLabel = cp1252ToUtf8(text.substr(0, open));
                primary.hasExtra = true;
            }
        }
        return;
    }
    Channel& set = secondary.present ? secondary : primary;
    const std::string upper = toUpperAscii(text);
    if (upper.find("HIGH") != std::string::npos) {
        set.highLabel = cp1252ToUtf8(text);
        set.hasHigh = true;
    } else if (upper.find("LOW") != std::string::npos ||
               upper.find("WARNING LEVEL") != std::string::npos) {
        set.lowLabel = cp1252ToUtf8(text);
        set.hasLow = true;
    }
}

bool Reader::parseRow(std::string_view line, std::string_view& timeText) {
    FieldReader fields(line);
    std::string_view field;
    if (!fields.next(field) || !fields.next(timeText))
        return false;
    // The next field as a number, or NO_VALUE for a column the file does not give.
    const auto take = [&](bool wanted, double& value) {
        if (!wanted) {
            value = NO_VALUE;
            return true;
        }
        if (!fields.next(field))
            return false;
        value = parseDecimal(field);
        return usable(value);
    };

    Channel& primary = data_.primary;
    Channel& secondary = data_.secondary;
    double reading = 0, high = 0, low = 0;
    if (!take(true, reading))
        return false;
    primary.decimals = decimalsOf(field);
    if (!take(primary.hasHigh, high) || !take(primary.hasLow, low))
        return false;
    double humidity = 0, humidityHigh = 0, humidityLow = 0, extra = NO_VALUE;
    if (secondary.present) {
        if (!take(true, humidity) || !take(secondary.hasHigh, humidityHigh) ||
            !take(secondary.hasLow, humidityLow))
            return false;
        if (primary.hasExtra) {
            if (!fields.next(field))
                return false;
            if (field != "Error") {
                extra = parseDecimal(field);
                if (!usable(extra))
                    return false;
            }
        }
    }
    // Fields after these (serial number, expiry dates) are not the channels'.
    primary.readings.push_back(reading);
    primary.high.push_back(high);
    primary.low.push_back(low);
    if (secondary.present) {
        secondary.readings.push_back(humidity);
        secondary.high.push_back(humidityHigh);
        secondary.low.push_back(humidityLow);
        if (primary.hasExtra)
            primary.extra.push_back(extra);
    }
    return true;
}

} // namespace

ReadResult readDownload(const char* bytes, std::size_t size, ReadOptions options) {
    return Reader(std::string_view(bytes, size), options).run();
}

std::optional<DownloadData> readHeader(std::string_view headerLine) {
    Reader reader(headerLine, ReadOptions{});
    if (reader.parseHeader(headerLine) != Reader::Header::Channels)
        return std::nullopt;
    return std::move(reader.data());
}

EventFileFacts readEventFile(std::string_view bytes) {
    EventFileFacts facts;
    Lines lines(bytes);
    std::string_view line;
    if (lines.next(line) != Lines::Read::Line)
        return facts;
    DownloadData data;
    data.header = trimBlanks(line);
    FieldReader headings(data.header);
    std::string_view field;
    if (headings.next(field))
        facts.title = cp1252ToUtf8(field);
    if (headings.next(field) && headings.next(field))
        facts.heading = cp1252ToUtf8(field);
    // Event times carry tenths ("dd/mm/yyyy hh:mm:ss.t"): the seconds are the first 19 characters.
    const auto timeOf = [](std::string_view row) -> std::optional<std::int64_t> {
        FieldReader fields(row);
        std::string_view number, time;
        ClockFields clock;
        if (fields.next(number) && fields.next(time) && parseTimeStamp(time.substr(0, 19), clock))
            return toClockSeconds(clock);
        return std::nullopt;
    };
    for (Lines::Read r = lines.next(line); r == Lines::Read::Line; r = lines.next(line)) {
        const std::string_view row = trimBlanks(line);
        if (row.empty())
            continue;
        if (facts.rows == 0) {
            data.rows.push_back(Row{row, std::nullopt});
            facts.serial = serialNumber(data);
            facts.first = timeOf(row);
        }
        facts.last = timeOf(row);
        ++facts.rows;
    }
    return facts;
}

bool parseTimeStamp(std::string_view text, ClockFields& out) {
    if (text.size() != 19)
        return false;
    FieldReader parts(text, "/:, ");
    int v[6];
    for (int& value : v) {
        std::string_view part;
        if (!parts.next(part) || !parseWhole(part, value))
            return false;
    }
    const int day = v[0], month = v[1], year = v[2], hour = v[3], minute = v[4], second = v[5];
    if (day < 1 || day > 31 || month < 1 || month > 12 || year < 1970 || hour < 0 || hour > 23 ||
        minute < 0 || minute > 59 || second < 0 || second > 59)
        return false;
    // The century comes from the last two digits, as the logger keeps a
    // two-digit year: 00..69 are 2000..2069, 70..99 are 1970..1999.
    const int twoDigits = year % 100;
    out = ClockFields{
        twoDigits < 70 ? 2000 + twoDigits : 1900 + twoDigits, month, day, hour, minute, second};
    return true;
}

std::string serialNumber(const DownloadData& data) {
    if (data.rows.empty())
        return {};
    // Fields by position: an empty field still counts, as in the writer's rows.
    const auto fields = [](std::string_view line) {
        std::vector<std::string_view> out;
        for (;;) {
            const std::size_t comma = line.find(',');
            out.push_back(trimBlanks(line.substr(0, comma)));
            if (comma == std::string_view::npos)
                return out;
            line.remove_prefix(comma + 1);
        }
    };
    const std::vector<std::string_view> headings = fields(data.header);
    const std::vector<std::string_view> first = fields(data.rows.front().line);
    for (std::size_t i = 0; i < headings.size() && i < first.size(); ++i)
        if (toUpperAscii(headings[i]) == "SERIAL NUMBER")
            return std::string(first[i]);
    return {};
}

FileBytes loadDownloadBytes(const std::string& path) {
    InputFile file = openInputFile(path);
    return loadDownloadBytes(file, path);
}

FileBytes loadDownloadBytes(InputFile& file, const std::string& path) {
    FileBytes result;
    result.problem = file.problem();
    const auto readError = [&](const std::string& reason) {
        result.status = FileBytes::Status::ReadError;
        result.errorText = "An error occurred while reading " + path + ":\n" + reason + ".";
        result.bytes.clear();
        return result;
    };
    // A folder opens but cannot be read: reported as a failed read.
    if (file.problem() == OpenProblem::Folder)
        return readError(file.reason());
    if (!file.isOpen()) {
        result.errorText = file.reason();
        return result;
    }
    // Read in blocks into room for the whole file, taken once; a file with a
    // line longer than any download file is refused as soon as that line is
    // seen, without reading on.
    result.bytes.reserve(
        static_cast<std::size_t>(std::min<unsigned long long>(file.size(), LARGEST_FILE)) + 1);
    char buffer[65536];
    std::size_t lineStart = 0;
    result.status = FileBytes::Status::Ok;
    for (;;) {
        const long read = file.read(buffer, sizeof buffer);
        if (read < 0)
            return readError(std::strerror(errno ? errno : EIO));
        const auto n = static_cast<std::size_t>(read);
        const std::size_t before = result.bytes.size();
        result.bytes.append(buffer, n);
        for (std::size_t i = n; i > 0; --i) {
            if (buffer[i - 1] == '\n') {
                lineStart = before + i;
                break;
            }
        }
        if (result.bytes.size() - lineStart > LONGEST_LINE + 1 || result.bytes.size() > LARGEST_FILE) {
            result.status = FileBytes::Status::TooLarge;
            break;
        }
        if (n == 0)
            break;
    }
    if (result.status != FileBytes::Status::Ok)
        result.bytes.clear();
    return result;
}

} // namespace vessor::download
