#include "cli_support.h"

#include "logger/product_info.h"
#include "logger/safe_save.h"
#include "logger/setup/setup_settings.h"
#include "logger/strings.h"
#include "logger/text_encoding.h"

#include <algorithm>
#include <charconv>
#include <iterator>
#include <string_view>
#include <cstring>

namespace vessor::cli {

StderrUserInterface::StderrUserInterface(std::FILE* err, std::FILE* in, bool interactive)
    : m_err(err), m_in(in), m_interactive(interactive) {}

void StderrUserInterface::showMessage(const std::string& text, MessageIcon) {
    std::fprintf(m_err, "%s\n", text.c_str());
}

Answer StderrUserInterface::ask(const std::string& text, MessageButtons buttons, MessageIcon) {
    const bool yesNo = buttons == MessageButtons::YesNo;
    const Answer positive = yesNo ? Answer::Yes : Answer::Ok;
    const Answer negative = yesNo ? Answer::No : Answer::Cancel;
    if (buttons == MessageButtons::Ok) {
        showMessage(text);
        return Answer::Ok;
    }
    std::fprintf(m_err, "%s\n", text.c_str());
    if (!m_interactive || !m_in) {
        std::fprintf(m_err, "(not a terminal: answered %s)\n", yesNo ? "No" : "Cancel");
        return negative;
    }
    std::fprintf(m_err, yesNo ? "[y/N] " : "[o=OK/C] ");
    std::fflush(m_err);
    char line[64] = {};
    if (!std::fgets(line, sizeof line, m_in))
        return negative;
    const char c = line[0];
    if (yesNo)
        return (c == 'y' || c == 'Y') ? positive : negative;
    return (c == 'o' || c == 'O') ? positive : negative;
}

namespace {

// Every option of the tool that takes a value: what follows one of them is
// its value, never an option of its own.
constexpr std::string_view VALUED_OPTIONS[] = {"--device", "--usb-id", "--model", "--name", "-o", "--output",
                                               "--serial", "--start", "--profile", "--archive", "--logger",
                                               "--from", "--to", "--reason"};

bool takesValue(std::string_view arg) {
    // The set-up settings (--name, --high-alarm, ...) take values too.
    return std::find(std::begin(VALUED_OPTIONS), std::end(VALUED_OPTIONS), arg) != std::end(VALUED_OPTIONS) ||
           (arg.starts_with("--") && findSetting(arg.substr(2)));
}

// Whether args[i] stands where a value goes.
bool isValuePosition(const std::vector<std::string>& args, std::size_t i) {
    return i > 0 && takesValue(args[i - 1]);
}

bool looksLikeOption(std::string_view arg) {
    return arg.starts_with("--") || arg == "-h" || arg == "-o";
}

} // namespace

std::optional<std::string> takeOption(std::vector<std::string>& args, const std::string& name,
                                      bool& missingValue) {
    missingValue = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (isValuePosition(args, i))
            continue;
        if (args[i] == name) {
            if (i + 1 >= args.size() || looksLikeOption(args[i + 1])) {
                missingValue = true;
                args.erase(args.begin() + static_cast<std::ptrdiff_t>(i));
                return std::nullopt;
            }
            std::string value = args[i + 1];
            args.erase(args.begin() + static_cast<std::ptrdiff_t>(i), args.begin() + static_cast<std::ptrdiff_t>(i) + 2);
            return value;
        }
        if (args[i].rfind(name + "=", 0) == 0) {
            std::string value = args[i].substr(name.size() + 1);
            args.erase(args.begin() + static_cast<std::ptrdiff_t>(i));
            return value;
        }
    }
    return std::nullopt;
}

bool takeFlag(std::vector<std::string>& args, const std::string& name) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == name && !isValuePosition(args, i)) {
            args.erase(args.begin() + static_cast<std::ptrdiff_t>(i));
            return true;
        }
    }
    return false;
}

bool parseUsbId(const std::string& text, UsbId& id) {
    const auto colon = text.find(':');
    if (colon == std::string::npos || colon == 0 || colon + 1 >= text.size())
        return false;
    auto parseHex = [](std::string_view part, std::uint16_t& value) {
        if (part.size() > 4)
            return false;
        unsigned parsed = 0;
        const auto r = std::from_chars(part.data(), part.data() + part.size(), parsed, 16);
        if (r.ec != std::errc() || r.ptr != part.data() + part.size())
            return false;
        value = static_cast<std::uint16_t>(parsed);
        return true;
    };
    const std::string_view view(text);
    return parseHex(view.substr(0, colon), id.vendorId) && parseHex(view.substr(colon + 1), id.productId);
}

std::unique_ptr<UsbXpress> CommandContext::openTransport() const {
    std::string error;
    TransportOptions options = transportOptions;
    options.simClock = &clock;
    auto transport = createTransport(deviceSpec, options, error);
    if (!transport)
        std::fprintf(err, "vessor-logger: %s\n", error.c_str());
    return transport;
}

int CommandContext::usageError(const std::string& command, const std::string& what) const {
    std::fprintf(err, "vessor-logger %s: %s\n", command.c_str(), what.c_str());
    return EXIT_USAGE;
}

DeviceFailureReport deviceFailureReport(const DeviceResult& result) {
    switch (result.outcome) {
    case DeviceOutcome::Ok:
        return {{}, EXIT_OK};
    case DeviceOutcome::NoDevice:
        return {messageText(MSG_NO_LOGGER), EXIT_DEVICE_FAILURE};
    case DeviceOutcome::NoAccess:
        // What the transport knows (permissions, another program) says
        // what to do about it.
        return {messageText(MSG_COMMUNICATION_ERROR) + (result.detail.empty() ? "" : "\n\n" + result.detail),
                EXIT_DEVICE_FAILURE};
    case DeviceOutcome::IoFailure:
    case DeviceOutcome::TimedOut:
    case DeviceOutcome::BadReply:
    case DeviceOutcome::ShortBlock:
        return {messageText(MSG_COMMUNICATION_ERROR), EXIT_DEVICE_FAILURE};
    case DeviceOutcome::LoggerReplaced:
        return {messageText(MSG_LOGGER_REPLACED), EXIT_DEVICE_FAILURE};
    case DeviceOutcome::Incompatible:
        return {messageText(MSG_INCOMPATIBLE), EXIT_DEVICE_FAILURE};
    }
    return {messageText(MSG_COMMUNICATION_ERROR), EXIT_DEVICE_FAILURE};
}

int reportDeviceResult(CommandContext& context, const DeviceResult& result) {
    const DeviceFailureReport report = deviceFailureReport(result);
    if (!report.message.empty())
        context.ui.showMessage(report.message);
    return report.exitStatus;
}

bool attachTransport(CommandContext& context, DeviceSession& session) {
    session.transport = context.openTransport();
    if (!session.transport)
        return false;
    session.session.setTransport(session.transport.get());
    return true;
}

bool openSession(CommandContext& context, DeviceSession& session, LoggerKinds kinds) {
    if (!attachTransport(context, session))
        return false;
    const DeviceResult read =
        kinds == LoggerKinds::Any ? session.session.refresh() : session.session.refreshKnown();
    return reportDeviceResult(context, read) == EXIT_OK;
}

namespace {

void printSetupHelp(std::FILE* out) {
    std::fprintf(out,
                 "\n"
                 "Set-up options (setup, restart):\n"
                 "  --start WHEN       now (the default), push (the model's start button; ZR-TH-D,\n"
                 "                     ZR-TC-D, ZR-TH-DX) or YYYY-MM-DDTHH:MM:SS (a delayed start,\n"
                 "                     local time, in the future)\n"
                 "  --agree            accept the safety agreement (ZR-CO, ZR-CO-300, ZR-T-PRO)\n"
                 "                     and answer the CO warning level's questions Yes\n"
                 "  --force            set up a logger that is logging or holds readings not yet\n"
                 "                     downloaded (they are lost)\n"
                 "  --dry-run          print the block as it would be written (as info does);\n"
                 "                     write nothing\n"
                 "  --profile FILE     settings from a profile (setup only; options given on the\n"
                 "                     line win)\n"
                 "\n"
                 "Set-up settings (setup options; the same names are the keys of a profile):\n");
    for (const SettingInfo& info : settingInfos()) {
        const std::string option = std::string("--") + info.key + " " + info.values;
        std::fprintf(out, "  %s\n      %s\n", option.c_str(), info.help);
    }
    std::fprintf(out,
                 "  Settings not given keep what the logger holds; each is checked as the wizard's\n"
                 "  page checks it, and a setting the model lacks is an error.\n");
}

void printHelp(std::span<const Command> commands, std::FILE* out) {
    std::fprintf(out,
                 "Usage: vessor-logger [--device DEV] [--usb-id VID:PID]... [--archive URL] COMMAND [ARGS]\n"
                 "\n"
                 "Talks to a Vessor USB data logger, real or simulated.\n"
                 "\n"
                 "Options:\n"
                 "  --device DEV       usb (the first logger on the USB bus), usb:SERIAL (the\n"
                 "                     logger whose block holds that serial number), or\n"
                 "                     sim:PATH (a simulated logger kept in a logger image; a\n"
                 "                     folder of images holds several, named sim:PATH/FILE);\n"
                 "                     default: $VESSOR_DEVICE, else usb\n"
                 "  --usb-id VID:PID   also look for this USB id (hexadecimal; repeatable)\n"
                 "  --archive URL      the archive downloads are stored in: sqlite:PATH,\n"
                 "                     postgresql://[USER@]HOST[:PORT]/DB (the password from\n"
                 "                     ~/.pgpass or PGPASSWORD) or none; default:\n"
                 "                     $VESSOR_ARCHIVE, else the utility's setting, else\n"
                 "                     sqlite:$XDG_DATA_HOME/vessor/archive.sqlite\n"
                 "  --help             show this help\n"
                 "  --version          show the version\n"
                 "\n"
                 "Commands:\n");
    for (const Command& command : commands)
        std::fprintf(out, "  %s\n      %s\n", command.synopsis, command.description);
    if (std::any_of(commands.begin(), commands.end(), [](const Command& c) { return c.name == std::string_view("setup"); }))
        printSetupHelp(out);
    std::fprintf(out,
                 "\n"
                 "Exit status: 0 success, 1 device or communication failure, 2 bad usage or a\n"
                 "setting or set-up refused.\n"
                 "Archive commands: 1 when the archive cannot be used, a file is refused, nothing\n"
                 "is in the range or verify finds a difference. A download is saved even when\n"
                 "the archive cannot store it (a warning on stderr, exit status 0).\n"
                 "VESSOR_SIM_SPEED sets how fast simulated loggers log (1 = real time,\n"
                 "60 = a minute a second, 0 = frozen).\n");
}

} // namespace

namespace {

int runArguments(std::span<const Command> commands, const std::vector<std::string>& arguments,
                 UserInterface& ui, const Clock& clock, const LocaleFormat& locale, std::FILE* out,
                 std::FILE* err) {
    std::vector<std::string> args = arguments;
    CommandContext context{defaultDeviceSpec(), {}, {}, ui, clock, locale, out, err, {}};

    bool missing = false;
    // Global options may stand before or after the command.
    for (;;) {
        auto device = takeOption(args, "--device", missing);
        if (missing) {
            std::fprintf(err, "vessor-logger: --device needs a value (usb or sim:PATH)\n");
            return EXIT_USAGE;
        }
        if (!device)
            break;
        std::string error;
        if (!checkDeviceSpec(*device, error)) {
            std::fprintf(err, "vessor-logger: %s\n", error.c_str());
            return EXIT_USAGE;
        }
        context.deviceSpec = *device;
    }
    for (;;) {
        auto id = takeOption(args, "--usb-id", missing);
        if (missing) {
            std::fprintf(err, "vessor-logger: --usb-id needs a value VID:PID\n");
            return EXIT_USAGE;
        }
        if (!id)
            break;
        UsbId usbId;
        if (!parseUsbId(*id, usbId)) {
            std::fprintf(err, "vessor-logger: --usb-id %s is not VID:PID in hexadecimal\n", id->c_str());
            return EXIT_USAGE;
        }
        context.transportOptions.extraUsbIds.push_back(usbId);
    }
    if (auto archive = takeOption(args, "--archive", missing); archive || missing) {
        if (missing) {
            std::fprintf(err, "vessor-logger: --archive needs a value (sqlite:PATH, postgresql://... or none)\n");
            return EXIT_USAGE;
        }
        context.archiveUrl = std::move(archive);
    }
    if (takeFlag(args, "--version")) {
        std::fprintf(out, "vessor-logger %s\n", product::VERSION);
        return EXIT_OK;
    }
    if (takeFlag(args, "--help") || takeFlag(args, "-h")) {
        printHelp(commands, out);
        return EXIT_OK;
    }
    if (args.empty()) {
        printHelp(commands, err);
        return EXIT_USAGE;
    }
    const std::string name = args.front();
    args.erase(args.begin());
    for (const Command& command : commands) {
        if (name == command.name) {
            context.args = std::move(args);
            return command.run(context);
        }
    }
    std::fprintf(err, "vessor-logger: unknown %s \"%s\" (see --help)\n",
                 name.rfind('-', 0) == 0 ? "option" : "command", name.c_str());
    return EXIT_USAGE;
}

} // namespace

int runCommandLine(std::span<const Command> commands, const std::vector<std::string>& arguments,
                   UserInterface& ui, const Clock& clock, const LocaleFormat& locale,
                   std::FILE* out, std::FILE* err) {
    const int status = runArguments(commands, arguments, ui, clock, locale, out, err);
    // Output that never arrived (a full disk behind a redirection) is a failure.
    const SaveResult flushed = finishStream(out);
    if (flushed.ok())
        return status;
    std::fprintf(err, "vessor-logger: cannot write the output: %s\n", flushed.reason.c_str());
    return status == EXIT_OK ? EXIT_DEVICE_FAILURE : status;
}

} // namespace vessor::cli
