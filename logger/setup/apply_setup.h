// Setting up a logger without the wizard's widgets: its set-up steps walked
// in the wizard's order, each page filled in from the block as the page
// shows it, changed only where the settings say, and stored by the page's
// own decision functions, with their checks and messages. Settings not
// given therefore keep what the logger holds, exactly as pressing Next on an
// untouched page would.
#pragma once

#include "logger/setup/setup_settings.h"

#include <string>

namespace vessor {

class LoggerConfig;
class UserInterface;

struct SetupOutcome {
    enum class Result {
        Applied,         // every step stored; the logger is ready for its start
        Refused,         // a page refused a setting; its message went through the user interface
        Invalid,         // a setting this logger cannot take: `problem` says why (one line)
        NeedsAgreement,  // the agreement was not accepted: `problem` holds its text
    };
    Result result = Result::Applied;
    std::string problem;

    bool applied() const { return result == Result::Applied; }
};

// Applies `settings` to `config` step by step (start steps excluded: the
// caller starts the logger). `agree` accepts the agreement of the loggers
// that ask for one. Messages and the pages' questions go through `ui`.
// Refused or invalid settings may leave `config` partly changed, as a
// refused page does: work on a copy to keep the original.
SetupOutcome applySetup(LoggerConfig& config, const SetupSettings& settings, bool agree, UserInterface& ui);

// The settings the pages show for the logger, as Next on each untouched page
// would store them (the logger's profile): every setting of the model's
// steps that the logger's own choices show.
SetupSettings currentSettings(const LoggerConfig& config);

} // namespace vessor
