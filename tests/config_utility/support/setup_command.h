// `vessor-logger setup` run in-process on a simulated logger, for tests that
// set up the same logger through the wizard and through the command and
// compare what the two wrote.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "logger/clock.h"
#include "logger/sim/simulated_logger.h"

namespace vessor::test {

struct SetupCommandRun {
    int status = -1;
    std::string out;
    std::string err;
    std::optional<sim::LoggerImage> image;   // the logger afterwards
};

// A factory logger of `model` made at `clock`'s time (as SimFixture makes
// one), frozen in time, then `vessor-logger setup ARGS` on it.
SetupCommandRun runSetupCommand(int model, const Clock& clock, const std::vector<std::string>& args);

// "YYYY-MM-DDTHH:MM:SS" of the clock's time plus `seconds`, for --start.
std::string startOption(const Clock& clock, int seconds);

} // namespace vessor::test
