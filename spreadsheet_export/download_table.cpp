#include "spreadsheet_export/download_table.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>

namespace vessor::xlsx {

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

char upper(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// Fields as the viewer's reader takes them: a run of commas is one separator.
// Returns the offset just past the n-th such field (1-based), or npos.
std::size_t endOfNonEmptyField(std::string_view line, int n)
{
    std::size_t pos = 0;
    for (int found = 0; pos < line.size();) {
        while (pos < line.size() && line[pos] == ',')
            ++pos;
        if (pos == line.size())
            break;
        while (pos < line.size() && line[pos] != ',')
            ++pos;
        if (++found == n)
            return pos;
    }
    return std::string_view::npos;
}

bool containsEventAfter(std::string_view header, std::size_t from)
{
    static constexpr std::string_view EVENT = "EVENT";
    for (std::size_t i = from; i + EVENT.size() <= header.size(); ++i) {
        bool match = true;
        for (std::size_t k = 0; k < EVENT.size() && match; ++k)
            match = upper(header[i + k]) == EVENT[k];
        if (match)
            return true;
    }
    return false;
}

// Digits only, exactly as many as the field is wide.
std::optional<int> fixedNumber(std::string_view text)
{
    if (text.empty())
        return std::nullopt;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

// Days from 1 March of year 0 style civil calendar to the spreadsheet epoch.
long long daysFromCivil(int y, int m, int d)
{
    y -= m <= 2 ? 1 : 0;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

int monthLength(int year, int month)
{
    static constexpr int LENGTHS[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : LENGTHS[month - 1];
}

std::optional<double> dateSerial(std::string_view text)
{
    if (text.size() != 10 || text[2] != '/' || text[5] != '/')
        return std::nullopt;
    const auto day = fixedNumber(text.substr(0, 2));
    const auto month = fixedNumber(text.substr(3, 2));
    const auto year = fixedNumber(text.substr(6, 4));
    // Loggers keep their clock from 1970 on, as the viewer's reader does.
    if (!day || !month || !year || *year < 1970 || *month < 1 || *month > 12 || *day < 1 ||
        *day > monthLength(*year, *month))
        return std::nullopt;
    static const long long EPOCH = daysFromCivil(1899, 12, 30);
    return static_cast<double>(daysFromCivil(*year, *month, *day) - EPOCH);
}

} // namespace

std::string_view trimBlanks(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return upper(x) == upper(y); });
}

std::optional<double> dayFirstDateSerial(std::string_view text)
{
    return dateSerial(text);
}

std::optional<double> dayFirstTimeSerial(std::string_view text)
{
    if (text.size() != 19 || text[10] != ' ' || text[13] != ':' || text[16] != ':')
        return std::nullopt;
    const auto days = dateSerial(text.substr(0, 10));
    const auto hour = fixedNumber(text.substr(11, 2));
    const auto minute = fixedNumber(text.substr(14, 2));
    const auto second = fixedNumber(text.substr(17, 2));
    if (!days || !hour || !minute || !second || *hour > 23 || *minute > 59 || *second > 59)
        return std::nullopt;
    return *days + (*hour * 3600 + *minute * 60 + *second) / 86400.0;
}

LoadResult parseDownloadBytes(std::string bytes)
{
    LoadResult result;
    result.table.bytes = std::make_unique<const std::string>(std::move(bytes));
    DownloadTable& table = result.table;
    std::string_view rest = *table.bytes;

    bool first = true;
    while (!rest.empty()) {
        const auto end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (first) {
            table.header = trimBlanks(line);
            first = false;
        } else if (!trimBlanks(line).empty()) {
            table.rows.push_back(line);
        }
    }

    const auto afterTime = endOfNonEmptyField(table.header, 2);
    if (afterTime == std::string_view::npos) {
        result.status = LoadStatus::Invalid;
        return result;
    }
    if (containsEventAfter(table.header, afterTime)) {
        result.status = LoadStatus::EventFile;
        return result;
    }
    // The first reading's time starts every chart; without it there is no graph.
    if (table.rows.empty()) {
        result.status = LoadStatus::Invalid;
        return result;
    }
    const std::string_view firstRow = trimBlanks(table.rows.front());
    const auto afterNumber = endOfNonEmptyField(firstRow, 1);
    const auto afterTimeField = endOfNonEmptyField(firstRow, 2);
    if (afterTimeField == std::string_view::npos) {
        result.status = LoadStatus::Invalid;
        return result;
    }
    std::string_view time = firstRow.substr(afterNumber, afterTimeField - afterNumber);
    while (!time.empty() && time.front() == ',')
        time.remove_prefix(1);
    if (!dayFirstTimeSerial(trimBlanks(time))) {
        result.status = LoadStatus::Invalid;
        return result;
    }
    result.status = LoadStatus::Ok;
    return result;
}

LoadResult loadDownloadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return {};
    std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad())
        return {};
    return parseDownloadBytes(std::move(bytes));
}

} // namespace vessor::xlsx
