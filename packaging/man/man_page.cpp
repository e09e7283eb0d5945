#include "man_page.h"

#include <cctype>
#include <cstdio>
#include <vector>

namespace vessor::man {

namespace {

// One paragraph of the help, or one option or command with its description.
struct Item {
    std::vector<std::string> term; // empty for a paragraph
    std::vector<std::string> text;
    std::size_t indent = 0;
};

struct Section {
    std::string title;
    std::vector<Item> items;
    std::string roff; // from the include file, after the items
};

std::vector<std::string> splitLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        lines.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

std::string trim(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    const std::size_t last = text.find_last_not_of(" \t\r");
    return std::string(text.substr(first, last - first + 1));
}

std::string upper(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// "Options:" or "Commands:", a line of its own.
bool isHeading(const std::string& line) {
    return line.size() > 1 && line.back() == ':' && line.find(':') == line.size() - 1 &&
           line.size() <= 40;
}

Section& sectionNamed(std::vector<Section>& sections, const std::string& title) {
    for (Section& section : sections) {
        if (section.title == title)
            return section;
    }
    sections.push_back({title, {}, {}});
    return sections.back();
}

// The help after its usage lines, as sections of paragraphs and entries.
// Options before any heading are OPTIONS; "Exit status: ..." is EXIT STATUS
// up to the end of its sentence.
std::vector<Section> parseHelp(const std::vector<std::string>& lines, std::size_t first) {
    std::vector<Section> sections{{"DESCRIPTION", {}, {}}};
    std::size_t current = 0;
    bool open = false; // whether the last item takes more lines
    auto start = [&](const std::string& title) {
        current = static_cast<std::size_t>(&sectionNamed(sections, title) - sections.data());
        open = false;
    };
    for (std::size_t i = first; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        const std::string text = trim(line);
        if (text.empty()) {
            open = false;
            continue;
        }
        const std::size_t indent = line.find_first_not_of(' ');
        if (indent == 0) {
            if (isHeading(text)) {
                start(upper(text.substr(0, text.size() - 1)));
                continue;
            }
            constexpr std::string_view EXIT = "Exit status:";
            if (text.starts_with(EXIT)) {
                start("EXIT STATUS");
                sections[current].items.push_back({{}, {trim(text.substr(EXIT.size()))}, 0});
                open = true;
                continue;
            }
            Item* last = sections[current].items.empty() ? nullptr : &sections[current].items.back();
            // The exit status is a sentence; what follows it is more description.
            if (sections[current].title == "EXIT STATUS" && last && last->text.back().ends_with('.')) {
                start("DESCRIPTION");
                last = nullptr;
            }
            if (open && last && last->term.empty()) {
                last->text.push_back(text);
            } else {
                sections[current].items.push_back({{}, {text}, 0});
                open = true;
            }
            continue;
        }
        Item* last = sections[current].items.empty() ? nullptr : &sections[current].items.back();
        if (open && last && !last->term.empty() && indent > last->indent) {
            last->text.push_back(text);
            continue;
        }
        // A new entry: its term, then its description after a gap of two
        // spaces or more, or on the lines below.
        if (sections[current].title == "DESCRIPTION" && text.starts_with('-'))
            start("OPTIONS");
        Item entry{{}, {}, indent};
        const std::size_t gap = text.find("  ");
        entry.term.push_back(text.substr(0, gap));
        if (gap != std::string::npos)
            entry.text.push_back(trim(text.substr(gap)));
        sections[current].items.push_back(entry);
        open = true;
    }
    return sections;
}

// "[TITLE]" lines and the roff under each.
std::vector<std::pair<std::string, std::string>> parseInclude(std::string_view include) {
    std::vector<std::pair<std::string, std::string>> parts;
    for (const std::string& line : splitLines(include)) {
        if (line.size() > 2 && line.front() == '[' && line.back() == ']') {
            parts.emplace_back(line.substr(1, line.size() - 2), std::string());
        } else if (!parts.empty()) {
            parts.back().second += line + '\n';
        }
    }
    for (auto& part : parts) {
        while (part.second.ends_with("\n\n"))
            part.second.pop_back();
    }
    return parts;
}

// A term in bold up to its first space ("download [-o FILE]"), with every
// hyphen a minus sign: the term is what users type.
std::string termRoff(const std::string& term) {
    const std::size_t space = term.find(' ');
    std::string out = "\\fB" + roffText(term.substr(0, space), true) + "\\fR";
    if (space != std::string::npos)
        out += roffText(term.substr(space), true);
    return out;
}

// A text line never starts with a space in roff: that would break the line.
std::string textLine(const std::string& text) {
    return roffText(trim(text)) + '\n';
}

void appendUtf8Escape(std::string& out, std::string_view text, std::size_t& i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    const int length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
    unsigned codePoint = length == 1 ? byte : byte & (0x7F >> length);
    bool valid = length > 1 && i + static_cast<std::size_t>(length) <= text.size();
    for (int k = 1; valid && k < length; ++k) {
        const auto next = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
        valid = (next & 0xC0) == 0x80;
        codePoint = (codePoint << 6) | (next & 0x3F);
    }
    valid = valid && codePoint >= 0x80 && codePoint <= 0x10FFFF;
    if (!valid) {
        out += "\\[uFFFD]"; // not UTF-8: shown as the replacement character
        return;
    }
    char name[16];
    std::snprintf(name, sizeof name, "\\[u%04X]", codePoint);
    out += name;
    i += static_cast<std::size_t>(length) - 1;
}

} // namespace

std::string roffText(std::string_view text, bool allHyphens) {
    std::string out;
    bool lineStart = true;
    bool tokenStart = true;
    bool inOption = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (lineStart && (c == '.' || c == '\''))
            out += "\\&";
        lineStart = c == '\n';
        if (c == ' ' || c == '\t' || c == '\n') {
            tokenStart = true;
            inOption = false;
            out += c;
            continue;
        }
        if (tokenStart && c == '-')
            inOption = true;
        // "(-o FILE)", "['-' ...]", "[--stop]": an option may follow these.
        tokenStart = c == '(' || c == '[' || c == '\'' || c == '"' || c == '|' || c == '=';
        if (c == '\\') {
            out += "\\e";
        } else if (c == '-' && (allHyphens || inOption)) {
            out += "\\-";
        } else if (static_cast<unsigned char>(c) >= 0x80) {
            appendUtf8Escape(out, text, i);
        } else {
            out += c;
        }
    }
    return out;
}

std::string manPage(const ManPageSource& source) {
    const std::vector<std::string> lines = splitLines(source.helpText);
    std::vector<std::string> synopsis;
    std::size_t first = 0;
    constexpr std::string_view USAGE = "Usage:";
    if (!lines.empty() && lines[0].starts_with(USAGE)) {
        synopsis.push_back(trim(lines[0].substr(USAGE.size())));
        first = 1;
        // Further forms stand indented under the first: "       prog --x".
        while (first < lines.size() && lines[first].starts_with(' ') &&
               (trim(lines[first]) + ' ').starts_with(source.program + ' ')) {
            synopsis.push_back(trim(lines[first]));
            ++first;
        }
    }
    std::vector<Section> sections = parseHelp(lines, first);

    std::string name;
    for (const auto& [title, roff] : parseInclude(source.include)) {
        if (title == "NAME")
            name = trim(roff.substr(0, roff.find('\n')));
        else
            sectionNamed(sections, title).roff += roff;
    }

    std::string page;
    page += ".\\\" Made from the output of `" + source.program +
            " --help` when the program is built; the prose\n"
            ".\\\" comes from packaging/man/" +
            source.program + ".include.\n";
    page += ".TH \"" + upper(source.program) + "\" \"1\" \"" + source.date + "\" \"" +
            source.program + ' ' + source.version + "\" \"User Commands\"\n";
    page += ".SH NAME\n" + roffText(source.program, true) + " \\- " + name + '\n';
    if (!synopsis.empty()) {
        page += ".SH SYNOPSIS\n";
        for (std::size_t i = 0; i < synopsis.size(); ++i) {
            if (i > 0)
                page += ".br\n";
            page += termRoff(synopsis[i]) + '\n';
        }
    }
    for (const Section& section : sections) {
        if (section.items.empty() && section.roff.empty())
            continue;
        page += ".SH \"" + section.title + "\"\n";
        for (const Item& item : section.items) {
            if (item.term.empty()) {
                page += ".PP\n";
            } else if (item.text.empty()) {
                // A form without a description (an example): a line of its own.
                page += ".IP\n" + termRoff(item.term.front()) + '\n';
                continue;
            } else {
                page += ".TP\n" + termRoff(item.term.front()) + '\n';
            }
            for (const std::string& text : item.text)
                page += textLine(text);
        }
        if (!section.roff.empty())
            page += (section.items.empty() ? "" : ".PP\n") + section.roff;
    }
    return page;
}

} // namespace vessor::man
