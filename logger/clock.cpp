#include "clock.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <string_view>
#include <thread>

namespace vessor {

void Clock::sleepMs(int milliseconds) const {
    if (milliseconds > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

CalendarTime SystemClock::now() const {
    const std::time_t seconds = std::time(nullptr);
    std::tm local{};
    localtime_r(&seconds, &local);
    CalendarTime t;
    t.second = local.tm_sec > 59 ? 59 : local.tm_sec;  // no leap seconds on a logger
    t.minute = local.tm_min;
    t.hour = local.tm_hour;
    t.day = local.tm_mday;
    t.month = local.tm_mon;
    t.year = local.tm_year;
    return t;
}

const SystemClock& SystemClock::instance() {
    static const SystemClock clock;
    return clock;
}

FixedClock::FixedClock(const CalendarTime& start) : m_now(start) {}

CalendarTime FixedClock::now() const {
    std::lock_guard lock(m_mutex);
    return m_now;
}

void FixedClock::sleepMs(int milliseconds) const {
    if (milliseconds <= 0)
        return;
    std::lock_guard lock(m_mutex);
    m_sleptMs += milliseconds;
    const std::int64_t whole = m_sleptMs / 1000;
    m_sleptMs %= 1000;
    // A fixed clock is a test's clock: pausing moves it on instead of waiting.
    addSeconds(m_now, static_cast<std::uint64_t>(whole));
}

void FixedClock::set(const CalendarTime& time) {
    std::lock_guard lock(m_mutex);
    m_now = time;
}

void FixedClock::advance(std::uint64_t seconds) {
    std::lock_guard lock(m_mutex);
    addSeconds(m_now, seconds);
}

ScaledClock::ScaledClock(const Clock& base, const CalendarTime& anchor, double speed)
    : m_base(base), m_anchor(anchor), m_speed(speed) {}

CalendarTime ScaledClock::now() const {
    const std::int64_t anchor = toCalendarSeconds(m_anchor);
    const std::int64_t real = toCalendarSeconds(m_base.now());
    if (m_speed == 1.0)
        return m_base.now();
    const double elapsed = static_cast<double>(real - anchor) * m_speed;
    // Before the anchor (a clock set back) the logger's time stands still.
    const std::int64_t scaled = elapsed > 0 ? static_cast<std::int64_t>(std::floor(elapsed)) : 0;
    return fromCalendarSeconds(anchor + scaled);
}

std::optional<double> parseSimSpeed(const char* text, std::string& error) {
    if (!text || !*text)
        return 1.0;
    const std::string_view view(text);
    double speed = 0.0;
    const auto result = std::from_chars(view.data(), view.data() + view.size(), speed);
    if (result.ec != std::errc() || result.ptr != view.data() + view.size() || !(speed >= 0.0) ||
        !std::isfinite(speed)) {
        error = "VESSOR_SIM_SPEED is \"" + std::string(view) +
                "\", not a number of 0 or more (1 = real time, 60 = a minute a second, 0 = frozen)";
        return std::nullopt;
    }
    return speed;
}

std::optional<double> simSpeedFromEnvironment(std::string& error) {
    return parseSimSpeed(std::getenv("VESSOR_SIM_SPEED"), error);
}

} // namespace vessor
