// The clock seam: "now" as a local broken-down calendar time, and the pauses
// the device operations make. Programs use SystemClock, tests a FixedClock,
// the simulated logger a ScaledClock (VESSOR_SIM_SPEED).
#pragma once


#include "calendar.h"

#include <chrono>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>

namespace vessor {

class Clock {
public:
    virtual ~Clock() = default;
    // The current local time (daylight saving as the system reports it).
    virtual CalendarTime now() const = 0;
    // A pause of the device operations (the 100 ms after a stop write).
    virtual void sleepMs(int milliseconds) const;
};

class SystemClock : public Clock {
public:
    CalendarTime now() const override;
    // The process-wide instance (stateless).
    static const SystemClock& instance();
};

// A clock that stands still until told otherwise; sleeps advance it instead
// of waiting.
class FixedClock : public Clock {
public:
    explicit FixedClock(const CalendarTime& start);
    CalendarTime now() const override;
    void sleepMs(int milliseconds) const override;
    void set(const CalendarTime& time);
    void advance(std::uint64_t seconds);

private:
    mutable std::mutex m_mutex;
    mutable CalendarTime m_now;
    mutable std::int64_t m_sleptMs = 0;
};

// Runs `speed` times as fast as a base clock from an anchor on: at the anchor
// it shows the anchor, afterwards anchor + elapsed × speed. Speed 0 stands
// still at the anchor. The simulated logger anchors it at the moment the
// current log was set up, so every run over the same image sees the same
// time line.
class ScaledClock : public Clock {
public:
    ScaledClock(const Clock& base, const CalendarTime& anchor, double speed);
    CalendarTime now() const override;

private:
    const Clock& m_base;
    CalendarTime m_anchor;
    double m_speed;
};

// VESSOR_SIM_SPEED as a number (unset or empty: 1; 0 freezes). Anything
// but a plain number of 0 or more gives nullopt and `error`.
std::optional<double> parseSimSpeed(const char* text, std::string& error);
std::optional<double> simSpeedFromEnvironment(std::string& error);

} // namespace vessor
