// Manual pages made from the programs' --help, so that their synopsis,
// options and commands never fall behind the programs. What the help has no
// room for (the one-line summary, files, environment, see also) comes from a
// hand-written include file per program.
#pragma once

#include <string>
#include <string_view>

namespace vessor::man {

struct ManPageSource {
    std::string program;  // "vessor-logger"
    std::string version;  // "5.45"
    std::string date;     // of the release: "2026-12-08"
    std::string helpText; // what `program --help` prints
    // Sections of roff, each under a line "[TITLE]": [NAME] is the one-line
    // summary; a title the help also has (DESCRIPTION, EXIT STATUS) adds to
    // the end of it, any other follows the help's sections.
    std::string include;
};

// The whole page, in roff for `man` (groff's man macros).
std::string manPage(const ManPageSource& source);

// Plain text as roff: backslashes and non-ASCII characters escaped, a line's
// leading dot or apostrophe kept from being read as a request, and the
// hyphens of options ("--device", "-o") made minus signs, so that they can
// be copied from the page; with `allHyphens` every hyphen is one.
std::string roffText(std::string_view text, bool allHyphens = false);

} // namespace vessor::man
