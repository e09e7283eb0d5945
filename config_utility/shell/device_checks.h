// The checks the main menu runs before it hands the logger to the set-up
// pages or the stop page. Plain functions over the session; every message
// and question goes through `ui`, `today` decides the CO expiry warnings.
#pragma once

#include "logger/calendar.h"

namespace vessor {

class LoggerSession;
class UserInterface;

// Set up and Start: reads the logger, runs the checks and, when the logger
// is logging or holds data not yet downloaded, asks before going on (and
// stops a running logger on Yes). The first set-up page of the model, or
// NO_PAGE (-1) when a step ended the command.
int runSetUpChecks(LoggerSession& session, UserInterface& ui, const CalendarTime& today);

// Stop and Download: the same checks, then on a logging logger the stop
// question and the stop. True when the stop page should follow.
bool runStopChecks(LoggerSession& session, UserInterface& ui, const CalendarTime& today);

// Current Status: reads the logger and refuses an unknown type. True when
// the status page should follow.
bool runStatusChecks(LoggerSession& session, UserInterface& ui);

} // namespace vessor
