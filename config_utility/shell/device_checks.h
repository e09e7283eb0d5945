// The checks the main menu runs before it hands the logger to the set-up
// pages or the stop page. Plain functions over theConfig; every message and
// question goes through the configuration's user interface.
#pragma once

namespace vessor {

class LoggerConfig;

// Set up and Start: reads the logger, runs the checks and, when the logger
// is logging or holds data not yet downloaded, asks before going on (and
// stops a running logger on Yes). The first set-up page of the model, or
// NO_PAGE (-1) when a step ended the command.
int runSetUpChecks(LoggerConfig& config);

// Stop and Download: the same checks, then on a logging logger the stop
// question and the stop. True when the stop page should follow.
bool runStopChecks(LoggerConfig& config);

// Current Status: reads the logger and refuses an unknown type. True when
// the status page should follow.
bool runStatusChecks(LoggerConfig& config);

} // namespace vessor
