#include "vessor_graph_doc.h"

#include "logger/text_encoding.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace vessor::graph {

namespace {

// Readings beyond this are no logger's values; they would also break the
// chart's axis arithmetic, so such a row is refused like a missing field.
constexpr double LARGEST_VALUE = 1e100;

bool usable(double v) {
    return std::isfinite(v) && std::fabs(v) <= LARGEST_VALUE;
}

constexpr int PRIMARY_CAPACITY = 32768;
constexpr int SECONDARY_CAPACITY = 16382;

} // namespace

enum class Read { Line, End, Error, TooLong };

// No download line comes near this (a million commas is 1 MiB); a file
// without line ends must not fill the memory.
constexpr std::size_t LONGEST_LINE = std::size_t{64} << 20;

// Lines as a text-mode stream returns them: without their line end, CR LF
// read as LF. A last line without a line end is still a line; the empty
// text after a final line end is not.
class LineSource {
public:
    virtual ~LineSource() = default;
    virtual Read readLine(std::string& line) = 0;
    virtual std::string errorText() const { return {}; }

protected:
    static void dropCarriageReturn(std::string& line) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
    }
};

namespace {

class MemoryLineSource final : public LineSource {
public:
    explicit MemoryLineSource(std::string_view bytes) : rest_(bytes) {}

    Read readLine(std::string& line) override {
        if (rest_.empty())
            return Read::End;
        const auto end = rest_.find('\n');
        if (std::min(end, rest_.size()) > LONGEST_LINE)
            return Read::TooLong;
        line.assign(rest_.substr(0, end));
        rest_ = end == std::string_view::npos ? std::string_view{} : rest_.substr(end + 1);
        dropCarriageReturn(line);
        return Read::Line;
    }

private:
    std::string_view rest_;
};

// Reads in blocks, so a file of a million rows never sits in memory whole.
class FileLineSource final : public LineSource {
public:
    explicit FileLineSource(const std::string& path)
        : path_(path), file_(std::fopen(path.c_str(), "rb")) {
        if (!file_)
            errno_ = errno;
    }
    ~FileLineSource() override { close(); }
    FileLineSource(const FileLineSource&) = delete;
    FileLineSource& operator=(const FileLineSource&) = delete;

    bool isOpen() const { return file_ != nullptr; }
    void close() {
        if (file_)
            std::fclose(file_);
        file_ = nullptr;
    }

    Read readLine(std::string& line) override {
        line.clear();
        bool any = false;
        for (;;) {
            if (pos_ == len_) {
                if (!file_ || atEnd_)
                    break;
                len_ = std::fread(buffer_, 1, sizeof buffer_, file_);
                pos_ = 0;
                if (len_ < sizeof buffer_) {
                    if (std::ferror(file_)) {
                        errno_ = errno ? errno : EIO;
                        return Read::Error;
                    }
                    atEnd_ = true;
                }
                if (len_ == 0)
                    break;
            }
            any = true;
            const char* start = buffer_ + pos_;
            const void* nl = std::memchr(start, '\n', len_ - pos_);
            if (nl) {
                const auto n = static_cast<std::size_t>(static_cast<const char*>(nl) - start);
                line.append(start, n);
                pos_ += n + 1;
                dropCarriageReturn(line);
                return Read::Line;
            }
            line.append(start, len_ - pos_);
            pos_ = len_;
            if (line.size() > LONGEST_LINE)
                return Read::TooLong;
        }
        if (!any)
            return Read::End;
        dropCarriageReturn(line);
        return Read::Line;
    }

    std::string errorText() const override {
        return "An error occurred while reading " + path_ + ":\n" + std::strerror(errno_) + ".";
    }

private:
    std::string path_;
    std::FILE* file_;
    char buffer_[65536];
    std::size_t len_ = 0;
    std::size_t pos_ = 0;
    bool atEnd_ = false;
    int errno_ = 0;
};

// Whole number at the start of a time part, as the C library's atoi reads it;
// false when it would not fit an int.
bool parseWhole(std::string_view text, int& value) {
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    long long v = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            break;
        v = v * 10 + (c - '0');
        if (v > INT_MAX)
            return false;
    }
    value = static_cast<int>(negative ? -v : v);
    return true;
}

} // namespace

CVessorGraphDoc::CVessorGraphDoc(UserInterface& ui, TextEditorLauncher& editor,
                                 std::string& dataFilePath)
    : ui_(ui), editor_(editor), dataFilePath_(dataFilePath) {
    ResetContents();
}

bool CVessorGraphDoc::OnNewDocument() {
    ResetContents();
    return true;
}

bool CVessorGraphDoc::OnOpenDocument(const std::string& path) {
    ResetContents();
    dataFilePath_ = path;
    ParseDownloadFile(path);
    return true;
}

void CVessorGraphDoc::ResetContents() {
    dataFilePath_.clear();
    primary.clear();
    secondary.clear();
    readingCount = 0;
    interval = 10;
    startTime = toClockSeconds(ClockFields{2000, 1, 1, 0, 0, 0});
    title.clear();
}

LoadStatus CVessorGraphDoc::ParseDownloadFile(const std::string& path) {
    FileLineSource lines(path);
    if (!lines.isOpen())
        return lastStatus_ = refuse(LoadStatus::CannotOpen, text::UNABLE_TO_OPEN);
    return lastStatus_ = parse(lines, path);
}

LoadStatus CVessorGraphDoc::ParseDownloadText(std::string_view bytes, const std::string& path) {
    MemoryLineSource lines(bytes);
    return lastStatus_ = parse(lines, path);
}

LoadStatus CVessorGraphDoc::refuse(LoadStatus status, const std::string& message) {
    ui_.showMessage(message, MessageIcon::Warning);
    ResetContents();
    return status;
}

LoadStatus CVessorGraphDoc::parse(LineSource& lines, const std::string& path) {
    // Start empty even when called on a loaded document; the path stays.
    const std::string keptPath = dataFilePath_;
    ResetContents();
    dataFilePath_ = keptPath;
    std::string line;
    bool tooLong = false;
    auto next = [&]() {
        const Read r = lines.readLine(line);
        if (r == Read::End)
            line.clear();
        if (r == Read::TooLong) {
            tooLong = true;
            return Read::Error;
        }
        return r;
    };
    const auto invalid = [&] { return refuse(LoadStatus::Invalid, text::INVALID_DATA); };
    // A line too long for any download file is invalid data, not a failing disk.
    const auto readError = [&] {
        return tooLong ? invalid() : refuse(LoadStatus::ReadError, lines.errorText());
    };

    // Header: the logger name, "Time", then the column headings.
    if (next() == Read::Error)
        return readError();
    const std::string header(trimBlanks(line));
    FieldReader headings(header);
    std::string_view field;
    if (headings.next(field))
        title = cp1252ToUtf8(field);
    if (!headings.next(field))
        return invalid();
    if (toUpperAscii(header).find("EVENT", headings.position()) != std::string::npos) {
        ResetContents();
        const Answer answer =
            ui_.ask(text::EVENT_QUESTION, MessageButtons::YesNo, MessageIcon::Question);
        if (answer == Answer::Yes)
            OpenInNotepad(path);
        return LoadStatus::EventFile;
    }
    while (headings.next(field))
        ParseHeading(field);
    ParseHeading({});
    setCapacities();

    // The first two rows give the start time and the interval of the whole file.
    if (next() == Read::Error)
        return readError();
    std::string row(trimBlanks(line));
    FieldReader first(row);
    std::string_view timeText;
    ClockFields fields;
    if (!first.next(field) || !first.next(timeText) || !ParseTimeStamp(timeText, fields))
        return invalid();
    startTime = toClockSeconds(fields);
    interval = 1;
    readingCount = 0;
    if (!ParseDataRow(row, timeText))
        return invalid();
    readingCount = 1;

    const Read second = next();
    if (second == Read::Error)
        return readError();
    row = trimBlanks(line);
    if (row.empty()) {
        // A single reading is drawn as two equal points one second apart.
        interval = 1;
        const auto repeatFirst = [](ChartData& data, int trace) {
            data.setPoint(trace, 1, 1.0, data.yValue(trace, 0));
        };
        for (int t = READINGS; t <= LOW_ALARM; ++t)
            repeatFirst(primary.data, t);
        if (primary.hasExtra)
            repeatFirst(primary.data, EXTRA);
        if (secondary.present) {
            for (int t = READINGS; t <= LOW_ALARM; ++t)
                repeatFirst(secondary.data, t);
        }
        readingCount = 2;
    } else {
        FieldReader secondFields(row);
        if (!secondFields.next(field) || !secondFields.next(timeText) ||
            !ParseTimeStamp(timeText, fields))
            return invalid();
        const std::int64_t distance = toClockSeconds(fields) - startTime;
        interval = static_cast<int>(distance < MIN_INTERVAL
                                        ? MIN_INTERVAL
                                        : (distance > MAX_INTERVAL ? MAX_INTERVAL : distance));
        // Later rows are taken as they come: a blank line among them is a row
        // without fields, which makes the file invalid.
        std::string_view current = row;
        for (;;) {
            if (readingCount == INT_MAX || !ParseDataRow(current, timeText))
                return invalid();
            ++readingCount;
            const Read r = next();
            if (r == Read::Error)
                return readError();
            if (r == Read::End)
                break;
            current = line;
        }
    }

    for (int t = READINGS; t <= EXTRA; ++t)
        primary.data.setLastPoint(t, readingCount - 1);
    if (secondary.present) {
        for (int t = READINGS; t <= LOW_ALARM; ++t)
            secondary.data.setLastPoint(t, readingCount - 1);
    }
    return LoadStatus::Ok;
}

void CVessorGraphDoc::setCapacities() {
    for (int t = READINGS; t <= LOW_ALARM; ++t)
        primary.data.reserve(t, PRIMARY_CAPACITY);
    if (primary.hasExtra)
        primary.data.reserve(EXTRA, PRIMARY_CAPACITY);
    if (secondary.present) {
        for (int t = READINGS; t <= LOW_ALARM; ++t)
            secondary.data.reserve(t, SECONDARY_CAPACITY);
    }
}

void CVessorGraphDoc::parseChannelHeading(TraceSet& set, std::string_view text, bool unitFromName) {
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
    set.data.setDisplay(READINGS, Display::Shown);
    if (unitFromName && set.unit.empty()) {
        const std::string upper = toUpperAscii(name);
        if (upper.find("CELSIUS") != std::string::npos)
            set.unit = "\u00B0C";
        else if (upper.find("FAHRENHEIT") != std::string::npos)
            set.unit = "\u00B0F";
    }
}

void CVessorGraphDoc::ParseHeading(std::string_view text) {
    const bool bracketed = text.find('(') != std::string_view::npos;
    if (bracketed || !primary.present) {
        if (!primary.present) {
            parseChannelHeading(primary, text, true);
        } else if (!secondary.present) {
            parseChannelHeading(secondary, text, false);
        } else {
            // A third channel heading is drawn only when it shares the first
            // channel's unit exactly (the dew point of a humidity logger).
            const auto open = text.find('(');
            std::string_view unit = text.substr(open + 1);
            unit = unit.substr(0, unit.find(')'));
            if (cp1252ToUtf8(unit) == primary.unit) {
                primary.extraLabel = cp1252ToUtf8(text.substr(0, open));
                primary.hasExtra = true;
                primary.data.setDisplay(EXTRA, Display::Shown);
            }
        }
        return;
    }
    TraceSet& set = secondary.present ? secondary : primary;
    const std::string upper = toUpperAscii(text);
    if (upper.find("HIGH") != std::string::npos) {
        set.highLabel = cp1252ToUtf8(text);
        set.hasHigh = true;
        set.data.setDisplay(HIGH_ALARM, Display::Shown);
    } else if (upper.find("LOW") != std::string::npos ||
               upper.find("WARNING LEVEL") != std::string::npos) {
        set.lowLabel = cp1252ToUtf8(text);
        set.hasLow = true;
        set.data.setDisplay(LOW_ALARM, Display::Shown);
    }
}

bool CVessorGraphDoc::ParseDataRow(std::string_view line, std::string_view& timeText) {
    FieldReader fields(line);
    std::string_view field;
    if (!fields.next(field) || !fields.next(timeText))
        return false;
    const int index = readingCount;
    const double x = static_cast<double>(index) * interval;
    // The next field as a number, or NO_VALUE for a trace the file does not give.
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

    double reading = 0, high = 0, low = 0;
    if (!take(true, reading))
        return false;
    primary.decimals = decimalsOf(field);
    if (!take(primary.hasHigh, high) || !take(primary.hasLow, low))
        return false;
    primary.data.setPoint(READINGS, index, x, reading);
    primary.data.setPoint(HIGH_ALARM, index, x, high);
    primary.data.setPoint(LOW_ALARM, index, x, low);

    if (secondary.present) {
        if (!take(true, reading) || !take(secondary.hasHigh, high) || !take(secondary.hasLow, low))
            return false;
        secondary.data.setPoint(READINGS, index, x, reading);
        secondary.data.setPoint(HIGH_ALARM, index, x, high);
        secondary.data.setPoint(LOW_ALARM, index, x, low);
        if (primary.hasExtra) {
            if (!fields.next(field))
                return false;
            double extra = NO_VALUE;
            if (field != "Error") {
                extra = parseDecimal(field);
                if (!usable(extra))
                    return false;
            }
            primary.data.setPoint(EXTRA, index, x, extra);
        }
    }
    return true;
}

bool CVessorGraphDoc::ParseTimeStamp(std::string_view text, ClockFields& out) {
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

void CVessorGraphDoc::OpenInNotepad(const std::string& path) {
    if (!editor_.open(path))
        ui_.showMessage(text::EDITOR_FAILED, MessageIcon::Warning);
}

} // namespace vessor::graph
