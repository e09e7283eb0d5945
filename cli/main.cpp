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
     "save the readings as a download file (default: the logger's name + .txt here) and store it in the "
     "archive",
     cmdDownload},
    {"setup", "setup [--profile FILE] [SETTINGS] [--start WHEN] [--agree] [--force] [--dry-run]",
     "set up and start the logger as the wizard does (options below)", cmdSetup},
    {"profile", "profile [-o FILE]", "the logger's settings as a profile for setup --profile (default: stdout)",
     cmdProfile},
    {"restart", "restart [--start WHEN] [--agree] [--force] [--dry-run]",
     "start the logger again with the settings it has", cmdRestart},
    {"archive", "archive import FILE...\n"
                "  archive list [--logger SERIAL] [--conflicts]\n"
                "  archive export --logger SERIAL [--from TIME] [--to TIME] -o OUT\n"
                "  archive verify\n"
                "  archive delete ID --reason TEXT",
     "store download files in the archive; list the stored downloads (id, serial, name, heading, first\n"
     "      and last reading, readings, file, stored at, stored by; tab-separated) or the conflicting\n"
     "      readings (serial, time, kept download, its value, other download, its value); export a\n"
     "      logger's merged readings from TIME (YYYY-MM-DDTHH:MM:SS, logger's clock) up to before TIME\n"
     "      as download files, one per stretch (several: OUT a folder, SERIAL-YYYYMMDDTHHMMSS.txt);\n"
     "      re-check every stored file against its hash and readings; hide a download for a reason",
     cmdArchive},
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
