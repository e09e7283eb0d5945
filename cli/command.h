// The command table of vessor-logger: a command is one function in its own
// file (cmd_<name>.cpp) plus one line in the table in main.cpp; shared
// helpers (the stderr user interface, option parsing, openSession) are in
// cli_support.h.
#pragma once

#include "logger/clock.h"
#include "logger/locale_format.h"
#include "logger/transport.h"
#include "logger/user_interface.h"

#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vessor::cli {

// Exit statuses.
constexpr int EXIT_OK = 0;
constexpr int EXIT_DEVICE_FAILURE = 1;  // device or communication failure, message on stderr
constexpr int EXIT_USAGE = 2;           // bad usage

struct CommandContext {
    std::string deviceSpec;             // --device, VESSOR_DEVICE or "usb"
    TransportOptions transportOptions;  // --usb-id
    std::vector<std::string> args;      // the command's own arguments
    UserInterface& ui;                  // messages on stderr
    const Clock& clock;
    const LocaleFormat& locale;
    std::FILE* out;                     // normal output (stdout)
    std::FILE* err;                     // diagnostics (stderr)
    std::optional<std::string> archiveUrl; // --archive

    // Opens the transport of deviceSpec; nullptr with the reason printed to
    // `err` (the caller returns EXIT_DEVICE_FAILURE).
    std::unique_ptr<UsbXpress> openTransport() const;
    // Prints "vessor-logger COMMAND: what" to `err`; returns EXIT_USAGE.
    int usageError(const std::string& command, const std::string& what) const;
};

using CommandFunction = int (*)(CommandContext& context);

struct Command {
    const char* name;
    const char* synopsis;      // "sim-create --model N [--name NAME] [--logging] PATH"
    const char* description;   // one line for --help
    CommandFunction run;
};

// The commands (one per file).
int cmdSimCreate(CommandContext& context);
int cmdSimPress(CommandContext& context);
int cmdInfo(CommandContext& context);
int cmdStatus(CommandContext& context);
int cmdStop(CommandContext& context);
int cmdDump(CommandContext& context);
int cmdDownload(CommandContext& context);
int cmdList(CommandContext& context);
int cmdSetup(CommandContext& context);
int cmdRestart(CommandContext& context);
int cmdProfile(CommandContext& context);
int cmdArchive(CommandContext& context);

} // namespace vessor::cli
