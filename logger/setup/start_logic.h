// Finish of the start pages (3 and 18): the start moment, the delay until
// it, and the write of the block that starts the logger; and the decisions
// of the display (17) and storage mode (19) pages.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "logger/calendar.h"
#include "logger/logger_link.h"

namespace vessor {

class LoggerConfig;
class LoggerSession;
class UserInterface;

// The latest start date the block can hold: its year byte keeps the year
// modulo 100 and reads 70..99 as 1970..1999.
inline constexpr int LATEST_START_YEAR = 2069;

// Seconds from `now` until `start`. The pickers trail the clock by up to one
// tick, so one second in the past counts as an immediate start; earlier
// moments give nullopt.
std::optional<std::uint32_t> startDelaySeconds(const CalendarTime& start, const CalendarTime& now);

// The start moment from the time picker (hour, minute, second) and the date
// picker (day, month, year).
CalendarTime combineDateAndTime(const CalendarTime& date, const CalendarTime& time);

// How Finish ended: refused as a moment in the past (message 143 shown,
// nothing written), or the outcome of the write.
struct StartAttempt {
    bool inFuture = true;
    DeviceResult device;

    bool started() const { return inFuture && device.ok(); }
};

// Finish: message 143 for a moment in the past, otherwise startLogging with
// the delay until `start` (seen at `now`); with `pushButton` the logger waits
// for its button instead (delay 0). Device failures are the caller's to show.
StartAttempt startAt(LoggerSession& session, UserInterface& ui, const CalendarTime& start,
                     const CalendarTime& now, bool pushButton);

// The start choices of the push-button start page.
enum PushStartChoice : int { START_IMMEDIATE = 0, START_ON_BUTTON = 1, START_DELAYED = 2 };

// The display page: "LCD Off" (0), "LCD On for 30 seconds after button
// press" (1), "LCD Always On" (2), read from modeFlags bits 5 and 6.
int displayChoice(const LoggerConfig& config);
// The storage choice of pages 17 and 19: 1 overwrites the oldest readings.
int storageChoice(const LoggerConfig& config);
void storeDisplayPage(LoggerConfig& config, int displayChoice, int storageChoice);
void storeStoragePage(LoggerConfig& config, int storageChoice);

// The two capacity texts of the storage page (UTF-8): "of N samples." and
// "retain the last N-1 samples." with the logger's memory capacity.
std::string storageCapacityText(const LoggerConfig& config);
std::string storageRetainText(const LoggerConfig& config);

} // namespace vessor
