// vessor-logger: a command is one function in its own file (cmd_*.cpp) and
// one line in the table below.
#include "cli_support.h"

#include "logger/clock.h"
#include "logger/locale_format.h"

#include <unistd.h>

namespace {

using namespace vessor::cli;

constexpr Command COMMANDS[] = {
    {"list", "list", "one line per attached logger: device, model, name, serial, state, readings", cmdList},
    {"info", "info", "show the logger's configuration block, one field per line", cmdInfo},
    {"status", "status", "show the current status as the utility's status page does (label<TAB>value)", cmdStatus},
    {"stop", "stop", "stop the logger (its data stays in its memory)", cmdStop},
    {"dump", "dump PATH", "save the block and the whole data memory as a logger image", cmdDump},
    {"download", "download [-o FILE] [--stop]",
     "save the readings as a download file (default: the logger's name + .txt here)", cmdDownload},
    {"setup", "setup [--profile FILE] [SETTINGS] [--start WHEN] [--agree] [--force] [--dry-run]",
     "set up and start the logger as the wizard does (options below)", cmdSetup},
    {"profile", "profile [-o FILE]", "the logger's settings as a profile for setup --profile (default: stdout)",
     cmdProfile},
    {"restart", "restart [--start WHEN] [--agree] [--force] [--dry-run]",
     "start the logger again with the settings it has", cmdRestart},
    {"sim-create", "sim-create --model N [--name NAME] [--serial N] [--logging] PATH",
     "write a factory image of model N (1..18) for a simulated logger", cmdSimCreate},
    {"sim-press", "sim-press [PATH]",
     "press the start button of a simulated push-button logger (PATH or --device sim:PATH)",
     cmdSimPress},
};

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> arguments(argv + 1, argv + argc);
    StderrUserInterface ui(stderr, stdin, isatty(STDIN_FILENO) != 0);
    return runCommandLine(COMMANDS, arguments, ui, vessor::SystemClock::instance(),
                          vessor::FixedLocaleFormat::instance(), stdout, stderr);
}
