// vessor-logger setup, restart and profile: the set-up wizard from a script.
// The logger is set up by the wizard's own page decisions (apply_setup.h), so
// every check and message is the page's; what the wizard asks becomes an
// option (--agree, --force), and the start page's choice becomes --start.
#include "cli_support.h"
#include "logger_info.h"

#include "logger/open_file.h"
#include "logger/safe_save.h"
#include "logger/setup/apply_setup.h"
#include "logger/setup/setup_steps.h"
#include "logger/setup/start_logic.h"
#include "logger/status_report.h"
#include "logger/strings.h"
#include "logger/text_encoding.h"

#include <algorithm>
#include <charconv>

namespace vessor::cli {

namespace {

// A profile is a few hundred bytes; anything far larger is not one.
constexpr unsigned long long PROFILE_MAX_BYTES = 64 * 1024;

enum class StartKind { Now, PushButton, At };

struct StartChoice {
    StartKind kind = StartKind::Now;
    CalendarTime at;
};

// "YYYY-MM-DDTHH:MM:SS" in local time.
bool parseStartMoment(std::string_view text, CalendarTime& moment) {
    if (text.size() != 19 || text[4] != '-' || text[7] != '-' || text[10] != 'T' || text[13] != ':' ||
        text[16] != ':')
        return false;
    int fields[6] = {};
    const std::size_t at[6] = {0, 5, 8, 11, 14, 17};
    const std::size_t width[6] = {4, 2, 2, 2, 2, 2};
    for (int i = 0; i < 6; ++i) {
        const char* first = text.data() + at[i];
        const char* last = first + width[i];
        if (!std::all_of(first, last, [](char c) { return c >= '0' && c <= '9'; }))
            return false;
        std::from_chars(first, last, fields[i]);
    }
    moment = makeCalendarTime(fields[0], fields[1], fields[2], fields[3], fields[4], fields[5]);
    return fields[1] >= 1 && fields[1] <= 12 && isValidCalendarTime(moment);
}

// The wizard's questions for a script: --agree answers the CO loggers'
// warning-level questions Yes; without it they go to the terminal (or are
// answered No where there is none).
class ScriptAnswers : public UserInterface {
public:
    ScriptAnswers(UserInterface& inner, bool agree) : m_inner(inner), m_agree(agree) {}
    void showMessage(const std::string& text, MessageIcon icon) override { m_inner.showMessage(text, icon); }
    Answer ask(const std::string& text, MessageButtons buttons, MessageIcon icon) override {
        if (!m_agree)
            return m_inner.ask(text, buttons, icon);
        m_inner.showMessage(text + "\n(answered Yes: --agree)", icon);
        return buttons == MessageButtons::OkCancel ? Answer::Ok : Answer::Yes;
    }

private:
    UserInterface& m_inner;
    bool m_agree;
};

// The second walk after a stop: the first has shown everything already.
class Quiet : public UserInterface {
public:
    void showMessage(const std::string&, MessageIcon) override {}
    Answer ask(const std::string&, MessageButtons buttons, MessageIcon) override {
        return buttons == MessageButtons::OkCancel ? Answer::Ok : Answer::Yes;
    }
};

std::string modelText(int model) {
    return "the " + modelName(model) + " (model " + std::to_string(model) + ")";
}

class SetupCommand {
public:
    SetupCommand(CommandContext& context, const char* name, bool takesSettings)
        : m_context(context), m_name(name), m_takesSettings(takesSettings) {}

    int run();

private:
    int usage(const std::string& what) { return m_context.usageError(m_name, what); }
    int parseArguments();
    int readProfile(const std::string& path);
    int refuse(const std::string& what) {
        std::fprintf(m_context.err, "vessor-logger %s: %s\n", m_name, what.c_str());
        return EXIT_USAGE;
    }

    CommandContext& m_context;
    const char* m_name;
    bool m_takesSettings;
    SetupSettings m_settings;
    std::optional<Profile> m_profile;
    StartChoice m_start;
    bool m_agree = false;
    bool m_force = false;
    bool m_dryRun = false;
};

int SetupCommand::parseArguments() {
    std::vector<std::string> args = m_context.args;
    bool missing = false;
    // An option given twice is refused rather than half taken.
    bool twice = false;
    auto valued = [&](const std::string& option) -> std::optional<std::string> {
        auto value = takeOption(args, option, missing);
        if (value && !missing) {
            bool again = false;
            twice = takeOption(args, option, again).has_value() || again;
        }
        return value;
    };
    const std::optional<std::string> start = valued("--start");
    if (missing)
        return usage("--start needs now, push or YYYY-MM-DDTHH:MM:SS");
    if (twice)
        return usage("--start is given twice");
    if (start) {
        if (*start == "now")
            m_start.kind = StartKind::Now;
        else if (*start == "push")
            m_start.kind = StartKind::PushButton;
        else if (parseStartMoment(*start, m_start.at))
            m_start.kind = StartKind::At;
        else
            return usage("--start " + *start + " is not now, push or a date and time YYYY-MM-DDTHH:MM:SS");
    }
    m_agree = takeFlag(args, "--agree");
    m_force = takeFlag(args, "--force");
    m_dryRun = takeFlag(args, "--dry-run");
    if (m_takesSettings) {
        const std::optional<std::string> profile = valued("--profile");
        if (missing)
            return usage("--profile needs a FILE");
        if (twice)
            return usage("--profile is given twice");
        if (profile)
            if (const int status = readProfile(*profile); status != EXIT_OK)
                return status;
        for (const SettingInfo& info : settingInfos()) {
            const std::string option = std::string("--") + info.key;
            const std::optional<std::string> value = valued(option);
            if (missing)
                return usage(option + " needs a value (" + info.values + ")");
            if (!value)
                continue;
            if (twice)
                return usage(option + " is given twice");
            std::string error;
            if (!setSetting(m_settings, info.setting, *value, error))
                return usage("--" + error);
        }
    }
    if (!args.empty())
        return usage("unknown argument \"" + args.front() + "\" (see --help)");
    if (m_profile) {
        SetupSettings merged = m_profile->settings;
        merged.override(m_settings);
        m_settings = merged;
    }
    return EXIT_OK;
}

int SetupCommand::readProfile(const std::string& path) {
    InputFile file = openInputFile(path);
    if (!file.isOpen())
        return refuse(path + ": " + file.reason());
    if (file.size() > PROFILE_MAX_BYTES)
        return refuse(path + ": not a profile (larger than " + std::to_string(PROFILE_MAX_BYTES) + " bytes)");
    std::string text;
    char buffer[4096];
    for (long n; (n = file.read(buffer, sizeof buffer)) != 0;) {
        if (n < 0)
            return refuse(path + ": " + file.reason());
        text.append(buffer, static_cast<std::size_t>(n));
        if (text.size() > PROFILE_MAX_BYTES)
            return refuse(path + ": not a profile (larger than " + std::to_string(PROFILE_MAX_BYTES) + " bytes)");
    }
    Profile profile;
    std::string error;
    if (!parseProfile(text, profile, error))
        return refuse(path + ": " + error);
    m_profile = profile;
    return EXIT_OK;
}

int SetupCommand::run() {
    if (const int status = parseArguments(); status != EXIT_OK)
        return status;

    // As Set up and Start: read the logger, refuse an unknown model, show the
    // device checks' warnings and go on.
    DeviceSession session(m_context);
    if (!attachTransport(m_context, session))
        return EXIT_DEVICE_FAILURE;
    const CalendarTime now = m_context.clock.now();
    if (const DeviceResult read = refreshAndWarn(session.session, &m_context.ui, now); !read)
        return reportDeviceResult(m_context, read);
    LoggerConfig& config = session.config;
    const int model = config.modelType();

    if (m_profile && m_profile->model != model)
        return refuse("the profile is for " + modelText(m_profile->model) + ", the logger is " + modelText(model));
    const WizardSequence& steps = setupModel(model).wizard;
    const bool hasButton = std::find(steps.begin(), steps.end(), WizardStep::PushButtonStart) != steps.end();
    if (m_start.kind == StartKind::PushButton && !hasButton)
        return refuse("--start push: " + modelText(model) + " has no start button");

    // The wizard asks before its first page; a script must have said it
    // means it, so no readings are lost by accident.
    if (const int question = setUpQuestion(config); question != 0 && !m_force) {
        m_context.ui.showMessage(messageText(question));
        return refuse("refused: the logger " +
                      std::string(config.isLogging() ? "is logging" : "holds readings not yet downloaded") +
                      "; --force sets it up anyway (readings not downloaded are lost)");
    }

    // Every page's decision on a copy first: a refusal writes nothing.
    ScriptAnswers answers(m_context.ui, m_agree);
    LoggerConfig planned = config;
    const SetupOutcome outcome = applySetup(planned, m_settings, m_agree, answers);
    switch (outcome.result) {
    case SetupOutcome::Result::Applied:
        break;
    case SetupOutcome::Result::Refused:
        return EXIT_USAGE;
    case SetupOutcome::Result::Invalid:
        return refuse(outcome.problem);
    case SetupOutcome::Result::NeedsAgreement: {
        std::string text = outcome.problem;
        text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
        std::fprintf(m_context.err, "%s", text.c_str());
        return refuse(modelText(model) + " asks for this agreement first; --agree accepts it");
    }
    }

    // The start page: its moment must lie ahead, as Finish requires.
    const bool pushButton = m_start.kind == StartKind::PushButton;
    const CalendarTime start = m_start.kind == StartKind::At ? m_start.at : now;
    if (start.fullYear() > LATEST_START_YEAR)
        return refuse("--start: the logger holds start dates up to " + std::to_string(LATEST_START_YEAR));
    const std::optional<std::uint32_t> delay = startDelaySeconds(start, now);
    if (!delay) {
        showMessage(&m_context.ui, MSG_TIME_NOT_IN_FUTURE);
        return EXIT_USAGE;
    }

    if (m_dryRun) {
        // The block as startLogging would write it.
        planned.setStartDelay(pushButton ? 0 : *delay);
        planned.setStartTime(start.fullYear(), start.month + 1, start.day, start.hour, start.minute, start.second);
        planned.setPushButtonMode(pushButton);
        planned.setStatusFlags(static_cast<std::uint8_t>(planned.statusFlags() | STATUS_LOGGING));
        planned.setCommandByte(0);
        printLoggerInfo(m_context.out, planned, m_context.locale);
        return EXIT_OK;
    }

    if (config.isLogging()) {
        // As the wizard's Yes: stop first, then the pages see the block as
        // the stop left it.
        if (const DeviceResult stopped = session.session.stopLogging(); !stopped)
            return reportDeviceResult(m_context, stopped);
        Quiet quiet;
        if (!applySetup(config, m_settings, m_agree, quiet).applied()) {
            std::fprintf(m_context.err, "vessor-logger %s: the logger's block changed as it stopped; it is stopped, not set up\n",
                         m_name);
            return EXIT_DEVICE_FAILURE;
        }
    } else {
        config = planned;
    }
    const StartAttempt attempt = startAt(session.session, m_context.ui, start, now, pushButton);
    if (!attempt.inFuture)
        return EXIT_USAGE;
    if (!attempt.device)
        return reportDeviceResult(m_context, attempt.device);
    // The state of the new log: the logger starts it with no readings.
    LoggerConfig started = config;
    started.setReadingCount(0);
    std::fprintf(m_context.out, "set up %s (%s \"%s\"): %s\n", config.serialNumberText().c_str(),
                 modelName(model).c_str(), cp1252ToUtf8(config.loggerName()).c_str(),
                 composeStatus(started, m_context.locale).status.value.c_str());
    return EXIT_OK;
}

} // namespace

int cmdSetup(CommandContext& context) {
    return SetupCommand(context, "setup", true).run();
}

int cmdRestart(CommandContext& context) {
    return SetupCommand(context, "restart", false).run();
}

int cmdProfile(CommandContext& context) {
    std::vector<std::string> args = context.args;
    bool missing = false;
    const std::optional<std::string> output = takeOption(args, "-o", missing);
    if (missing)
        return context.usageError("profile", "-o needs a FILE");
    if (!args.empty())
        return context.usageError("profile", "unknown argument \"" + args.front() + "\" (see --help)");
    if (output && context.deviceSpec.starts_with("sim:") && isSameFile(context.deviceSpec.substr(4), *output))
        return context.usageError("profile", *output + " is the logger's own image");

    DeviceSession session(context);
    if (!openSession(context, session, LoggerKinds::Known))
        return EXIT_DEVICE_FAILURE;
    const LoggerConfig& config = session.config;
    Profile profile;
    profile.model = config.modelType();
    profile.settings = currentSettings(config);
    const std::string text =
        formatProfile(profile, "vessor-logger profile of the " + modelName(profile.model) + " serial " +
                                   config.serialNumberText() + " \"" + cp1252ToUtf8(config.loggerName()) + "\"");
    if (!output) {
        std::fwrite(text.data(), 1, text.size(), context.out);
        return EXIT_OK;
    }
    if (const SaveResult saved = saveFile(*output, text); !saved.ok()) {
        std::fprintf(context.err, "vessor-logger profile: cannot write %s: %s\n", output->c_str(),
                     saved.reason.c_str());
        return EXIT_DEVICE_FAILURE;
    }
    return EXIT_OK;
}

} // namespace vessor::cli
