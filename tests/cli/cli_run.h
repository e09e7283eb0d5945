// vessor-logger's command line run inside a test: standard output and error
// caught in memory, messages on the error stream as the program shows them.
#pragma once

#include "cli/cli_support.h"
#include "logger/clock.h"
#include "logger/locale_format.h"

#include <cstdio>
#include <span>
#include <string>
#include <vector>

namespace vessor::test {

struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

// Everything written to `file` so far (left open).
inline std::string readStream(std::FILE* file) {
    std::rewind(file);
    std::string text;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
        text.append(buffer, n);
    return text;
}

inline CliRun runCli(std::span<const cli::Command> commands, const std::vector<std::string>& args,
                     const Clock& clock) {
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    cli::StderrUserInterface ui(err, nullptr, false);
    CliRun run;
    run.status = cli::runCommandLine(commands, args, ui, clock, FixedLocaleFormat::instance(), out, err);
    run.out = readStream(out);
    run.err = readStream(err);
    std::fclose(out);
    std::fclose(err);
    return run;
}

} // namespace vessor::test
