// The manual pages made from --help: the text escaped for roff, and each
// part of a help text in its place on the page.
#include "man_page.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace vessor::man {
namespace {

TEST(ManPage, TextIsEscapedForRoff) {
    struct Case {
        const char* text;
        bool allHyphens;
        const char* roff;
    };
    const Case cases[] = {
        {"--device DEV", false, "\\-\\-device DEV"},
        {"a push-button logger", false, "a push-button logger"},
        {"sim-create", true, "sim\\-create"},
        {"download [-o FILE] [--stop]", false, "download [\\-o FILE] [\\-\\-stop]"},
        {"(PATH or --device sim:PATH)", false, "(PATH or \\-\\-device sim:PATH)"},
        {"('-' is standard output)", false, "('\\-' is standard output)"},
        {"--name=--x", false, "\\-\\-name=\\-\\-x"},
        {"1-2 and x--y", false, "1-2 and x--y"},
        {".hidden", false, "\\&.hidden"},
        {"'quoted", false, "\\&'quoted"},
        {"first\n.second\n'third", false, "first\n\\&.second\n\\&'third"},
        {"a.b 'c'", false, "a.b 'c'"},
        {"C:\\path", false, "C:\\epath"},
        {"25 \xC2\xB0" "C", false, "25 \\[u00B0]C"},
        {"\xE2\x80\x94 and \xF0\x9F\x98\x80", false, "\\[u2014] and \\[u1F600]"},
        {"bad \xFF byte", false, "bad \\[uFFFD] byte"},
        {"\xF7\xBF\xBF\xBF", false, "\\[uFFFD]\\[uFFFD]\\[uFFFD]\\[uFFFD]"},
        {"cut \xE2\x80", false, "cut \\[uFFFD]\\[uFFFD]"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(roffText(c.text, c.allHyphens), c.roff) << c.text;
}

const char* const HELP =
    "Usage: tool [--device DEV] COMMAND\n"
    "       tool --help | --version\n"
    "Talks to a logger.\n"
    "\n"
    "  --device DEV       usb or sim:PATH;\n"
    "                     default: usb\n"
    "  --help             show this help\n"
    "\n"
    "Commands:\n"
    "  info\n"
    "      show the block\n"
    "  download [-o FILE]\n"
    "      save the readings\n"
    "  tool info | grep Name\n"
    "\n"
    "Exit status: 0 success,\n"
    "2 bad usage.\n"
    "TOOL_SPEED sets the speed.\n";

const char* const INCLUDE =
    "[NAME]\n"
    "talk to a logger\n"
    "[DESCRIPTION]\n"
    "More about it.\n"
    "[EXIT STATUS]\n"
    "Other statuses never occur.\n"
    "[SEE ALSO]\n"
    ".BR other (1)\n";

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

TEST(ManPage, EachPartOfTheHelpInItsPlace) {
    const std::string page = manPage({"tool", "5.45", "2026-12-08", HELP, INCLUDE});
    // In this order, each right after the one before where it is a block.
    const std::vector<std::string> expected = {
        ".TH \"TOOL\" \"1\" \"2026-12-08\" \"tool 5.45\" \"User Commands\"\n",
        ".SH NAME\ntool \\- talk to a logger\n",
        ".SH SYNOPSIS\n\\fBtool\\fR [\\-\\-device DEV] COMMAND\n.br\n\\fBtool\\fR \\-\\-help | \\-\\-version\n",
        ".SH \"DESCRIPTION\"\n.PP\nTalks to a logger.\n.PP\nTOOL_SPEED sets the speed.\n.PP\nMore about it.\n",
        ".SH \"OPTIONS\"\n.TP\n\\fB\\-\\-device\\fR DEV\nusb or sim:PATH;\ndefault: usb\n"
        ".TP\n\\fB\\-\\-help\\fR\nshow this help\n",
        ".SH \"COMMANDS\"\n.TP\n\\fBinfo\\fR\nshow the block\n"
        ".TP\n\\fBdownload\\fR [\\-o FILE]\nsave the readings\n"
        ".IP\n\\fBtool\\fR info | grep Name\n",
        ".SH \"EXIT STATUS\"\n.PP\n0 success,\n2 bad usage.\n.PP\nOther statuses never occur.\n",
        ".SH \"SEE ALSO\"\n.BR other (1)\n",
    };
    std::size_t at = 0;
    for (const std::string& part : expected) {
        const std::size_t found = page.find(part, at);
        ASSERT_NE(found, std::string::npos) << "missing or out of order:\n" << part << "\nin:\n" << page;
        at = found + part.size();
    }
    // Nothing beyond what the man macros know, and no line that roff would
    // take as a break (a leading space) or a request of its own.
    const std::set<std::string> requests = {".TH", ".SH", ".PP", ".TP", ".IP", ".br", ".B", ".BR", ".\\\""};
    for (const std::string& line : linesOf(page)) {
        EXPECT_FALSE(line.starts_with(' ')) << line;
        if (line.starts_with('.') || line.starts_with('\'')) {
            EXPECT_TRUE(requests.contains(line.substr(0, line.find(' ')))) << line;
        }
    }
}

TEST(ManPage, HelpWithoutUsageOrIncludeStillMakesAPage) {
    for (const char* help : {"", "\n\n", "Just a line.\n", "  --lonely\n", "Heading:\n"}) {
        const std::string page = manPage({"tool", "1.0", "2026-12-08", help, ""});
        EXPECT_NE(page.find(".TH \"TOOL\""), std::string::npos) << help;
        EXPECT_NE(page.find(".SH NAME\ntool \\- \n"), std::string::npos) << help;
        EXPECT_EQ(page.find(".SH SYNOPSIS"), std::string::npos) << help;
        EXPECT_EQ(page.find(".SH \"HEADING\"\n"), std::string::npos) << "an empty section: " << help;
    }
}

} // namespace
} // namespace vessor::man
