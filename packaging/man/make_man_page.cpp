// Writes a program's manual page from its --help (run at build time):
//   vessor-man-page PROGRAM NAME VERSION DATE INCLUDE OUTPUT
#include "man_page.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/wait.h>

namespace {

std::string shellQuoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// What the program prints for --help; its warnings (a desktop-less build
// machine) stay out of the build's log.
bool helpOf(const std::string& program, std::string& text) {
    std::FILE* pipe = popen((shellQuoted(program) + " --help 2>/dev/null").c_str(), "r");
    if (!pipe)
        return false;
    char buffer[4096];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        text.append(buffer, got);
    const int status = pclose(pipe);
    return status != -1 && WIFEXITED(status) && WEXITSTATUS(status) == 0 && !text.empty();
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 7) {
        std::fprintf(stderr, "usage: vessor-man-page PROGRAM NAME VERSION DATE INCLUDE OUTPUT\n");
        return 2;
    }
    vessor::man::ManPageSource source{argv[2], argv[3], argv[4], {}, {}};
    if (!helpOf(argv[1], source.helpText)) {
        std::fprintf(stderr, "vessor-man-page: %s --help failed\n", argv[1]);
        return 1;
    }
    std::ifstream include(argv[5]);
    if (!include) {
        std::fprintf(stderr, "vessor-man-page: cannot read %s\n", argv[5]);
        return 1;
    }
    source.include.assign(std::istreambuf_iterator<char>(include), {});
    std::ofstream out(argv[6], std::ios::binary);
    out << vessor::man::manPage(source);
    out.close();
    if (!out) {
        std::fprintf(stderr, "vessor-man-page: cannot write %s\n", argv[6]);
        return 1;
    }
    return 0;
}
