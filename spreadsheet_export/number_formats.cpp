#include "spreadsheet_export/number_formats.h"

namespace vessor::xlsx {

namespace {

bool isAsciiLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

void trimTrailingBlanks(std::string& text)
{
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
}

} // namespace

std::string spreadsheetFormatCode(std::string_view pattern)
{
    std::string code;
    std::string literal;
    auto flushLiteral = [&] {
        if (!literal.empty())
            code += '"' + literal + '"';
        literal.clear();
    };
    // Not "emit": Qt defines that name away wherever its headers come in.
    auto appendCode = [&](std::string_view part) {
        flushLiteral();
        code += part;
    };

    for (std::size_t i = 0; i < pattern.size();) {
        const char c = pattern[i];
        if (c == '\'') {
            // Quoted text; '' stands for one quote.
            std::size_t j = i + 1;
            if (j < pattern.size() && pattern[j] == '\'') {
                literal += '\'';
                i = j + 1;
                continue;
            }
            for (; j < pattern.size(); ++j) {
                if (pattern[j] == '\'') {
                    if (j + 1 < pattern.size() && pattern[j + 1] == '\'') {
                        literal += '\'';
                        ++j;
                        continue;
                    }
                    break;
                }
                if (pattern[j] == '"')
                    continue; // cannot stand inside a quoted format literal
                literal += pattern[j];
            }
            i = j + 1;
            continue;
        }
        if (!isAsciiLetter(c)) {
            if (c == '/' || c == '-' || c == ':' || c == '.' || c == ' ')
                appendCode(std::string_view(&c, 1));
            else if (c != '"')
                literal += c;
            ++i;
            continue;
        }
        std::size_t run = 1;
        while (i + run < pattern.size() && pattern[i + run] == c)
            ++run;
        switch (c) {
        case 'd':
            appendCode(std::string(std::min<std::size_t>(run, 4), 'd'));
            break;
        case 'M':
            appendCode(std::string(std::min<std::size_t>(run, 4), 'm'));
            break;
        case 'y':
            appendCode(run <= 2 ? "yy" : "yyyy");
            break;
        case 'h':
        case 'H':
            appendCode(run == 1 ? "h" : "hh");
            break;
        case 'm':
            appendCode(run == 1 ? "m" : "mm");
            break;
        case 's':
            appendCode(run == 1 ? "s" : "ss");
            break;
        case 'A':
        case 'a': {
            const bool upper = c == 'A';
            appendCode(upper ? "AM/PM" : "am/pm");
            if (i + 1 < pattern.size() && pattern[i + 1] == (upper ? 'P' : 'p'))
                ++run;
            run = std::min<std::size_t>(run, 2);
            break;
        }
        case 't':
        case 'z':
            // A time zone or milliseconds: dropped with the blank before it.
            flushLiteral();
            trimTrailingBlanks(code);
            if (c == 'z' && !code.empty() && code.back() == '.')
                code.pop_back();
            break;
        default:
            literal.append(run, c);
            break;
        }
        i += run;
    }
    flushLiteral();
    trimTrailingBlanks(code);
    return code;
}

NumberFormats userNumberFormats(std::string_view qtShortDate, std::string_view qtTime)
{
    NumberFormats formats;
    const std::string date = spreadsheetFormatCode(qtShortDate);
    const std::string time = spreadsheetFormatCode(qtTime);
    if (!date.empty())
        formats.date = date;
    if (!date.empty() && !time.empty())
        formats.dateTime = date + " " + time;
    return formats;
}

} // namespace vessor::xlsx
