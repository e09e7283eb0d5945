#include "logger/setup/start_logic.h"

#include <algorithm>

#include "logger/logger_config.h"
#include "logger/session.h"
#include "logger/strings.h"

namespace vessor {

namespace {

// The figure the capacity messages carry in the string table.
constexpr const char* TEMPLATE_CAPACITY = "16,382";

} // namespace

std::optional<std::uint32_t> startDelaySeconds(const CalendarTime& start, const CalendarTime& now)
{
    const std::int64_t delay = toCalendarSeconds(start) - toCalendarSeconds(now);
    if (delay == -1)
        return 0u;
    if (delay < -1)
        return std::nullopt;
    // The pickers stop at the last date the block can hold, far below this.
    return static_cast<std::uint32_t>(std::min<std::int64_t>(delay, UINT32_MAX));
}

CalendarTime combineDateAndTime(const CalendarTime& date, const CalendarTime& time)
{
    CalendarTime moment = date;
    moment.hour = time.hour;
    moment.minute = time.minute;
    moment.second = time.second;
    moment.tenths = 0;
    moment.isDst = -1;
    return moment;
}

StartAttempt startAt(LoggerSession& session, UserInterface& ui, const CalendarTime& start,
                     const CalendarTime& now, bool pushButton)
{
    StartAttempt attempt;
    const std::optional<std::uint32_t> delay = startDelaySeconds(start, now);
    if (!delay) {
        showMessage(&ui, MSG_TIME_NOT_IN_FUTURE);
        attempt.inFuture = false;
        return attempt;
    }
    attempt.device = session.startLogging(start.fullYear(), start.month + 1, start.day, start.hour, start.minute,
                                          start.second, *delay, pushButton);
    return attempt;
}

int displayChoice(const LoggerConfig& config)
{
    const std::uint8_t mode = config.modeFlags();
    if (!(mode & MODE_DISPLAY_A))
        return 0;
    return (mode & MODE_DISPLAY_B) ? 1 : 2;
}

int storageChoice(const LoggerConfig& config)
{
    return config.isWrapMode() ? 1 : 0;
}

void storeDisplayPage(LoggerConfig& config, int display, int storage)
{
    config.setDisplayMode(display);
    config.setWrapMode(storage == 1);
}

void storeStoragePage(LoggerConfig& config, int storage)
{
    config.setWrapMode(storage == 1);
}

std::string storageCapacityText(const LoggerConfig& config)
{
    return replaceFirst(messageText(MSG_STORAGE_OF_SAMPLES), TEMPLATE_CAPACITY,
                        std::to_string(config.memoryCapacity()));
}

std::string storageRetainText(const LoggerConfig& config)
{
    const int retained = std::max(0, static_cast<int>(config.memoryCapacity()) - 1);
    return replaceFirst(messageText(MSG_STORAGE_RETAIN_LAST), TEMPLATE_CAPACITY, std::to_string(retained));
}

} // namespace vessor
