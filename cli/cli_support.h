// Shared pieces of the command-line tool: the user interface on stderr,
// argument helpers, the global option parser and the command runner.
#pragma once

#include "command.h"

#include "logger/logger_config.h"
#include "logger/session.h"

#include <cstdio>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace vessor::cli {

// Messages on stderr. Questions are asked only when stdin is a terminal;
// otherwise they are answered No / Cancel, so scripts never hang.
class StderrUserInterface : public UserInterface {
public:
    explicit StderrUserInterface(std::FILE* err = stderr, std::FILE* in = stdin, bool interactive = false);
    void showMessage(const std::string& text, MessageIcon icon = MessageIcon::None) override;
    Answer ask(const std::string& text, MessageButtons buttons,
               MessageIcon icon = MessageIcon::Question) override;

private:
    std::FILE* m_err;
    std::FILE* m_in;
    bool m_interactive;
};

// Pulls "--name VALUE" (or "--name=VALUE") out of args; nullopt when
// absent; `missingValue` set when the option is last, or followed by an
// option instead of a value. An argument that stands as the value of one of
// the tool's valued options is never taken as an option (nor as a flag).
std::optional<std::string> takeOption(std::vector<std::string>& args, const std::string& name,
                                      bool& missingValue);
// Pulls a flag ("--logging") out of args.
bool takeFlag(std::vector<std::string>& args, const std::string& name);

// Parses "10C4:EA61" (hexadecimal).
bool parseUsbId(const std::string& text, UsbId& id);

// The message a device outcome shows on stderr and the exit status it
// ends the command with: the tool's one table of device failures.
struct DeviceFailureReport {
    std::string message;  // empty for Ok
    int exitStatus;
};
DeviceFailureReport deviceFailureReport(const DeviceResult& result);
// Shows the outcome's message through the context's user interface and
// returns its exit status.
int reportDeviceResult(CommandContext& context, const DeviceResult& result);

// A configuration block and a session over the context's transport.
struct DeviceSession {
    explicit DeviceSession(const CommandContext& context) : session(config, context.clock) {}

    std::unique_ptr<UsbXpress> transport;
    LoggerConfig config;
    LoggerSession session;
};
// Which loggers a command works with: any whose block reads, or only the
// kinds this program knows.
enum class LoggerKinds { Any, Known };
// Opens the device's transport for the session; false (reason shown) when
// it cannot be opened. Nothing is read yet.
bool attachTransport(CommandContext& context, DeviceSession& session);

// Opens the device and reads its configuration block; false (reason shown)
// when it cannot be opened or read, or is not of `kinds`.
bool openSession(CommandContext& context, DeviceSession& session, LoggerKinds kinds);

// The whole program over a command table (main() passes its table; tests
// may pass theirs). Output that cannot be written to `out` makes it fail (1).
int runCommandLine(std::span<const Command> commands, const std::vector<std::string>& arguments,
                   UserInterface& ui, const Clock& clock, const LocaleFormat& locale, std::FILE* out,
                   std::FILE* err);

} // namespace vessor::cli
