// A device session: the operations that read and write a logger's block and
// memory through LoggerLink, over the program's one LoggerConfig. Each
// operation returns a DeviceResult; nothing here speaks to the user. The
// programs turn results into their messages in one place each
// (config_utility/shell/device_messages.*, cli/cli_support.*).
#pragma once

#include "clock.h"
#include "logger_config.h"
#include "logger_link.h"
#include "user_interface.h"

#include <cstdint>
#include <vector>

namespace vessor {

class LoggerSession {
public:
    // `config` and `clock` must outlive the session; `clock` paces the pause
    // after a stop.
    explicit LoggerSession(LoggerConfig& config, const Clock& clock = SystemClock::instance());
    LoggerSession(const LoggerSession&) = delete;
    LoggerSession& operator=(const LoggerSession&) = delete;

    // Without a transport every operation ends in NoDevice.
    void setTransport(UsbXpress* usb) { m_link.setTransport(usb); }
    LoggerLink& link() { return m_link; }
    const LoggerLink& link() const { return m_link; }
    LoggerConfig& config() { return m_config; }
    const LoggerConfig& config() const { return m_config; }
    const Clock& clock() const { return m_clock; }

    // Finds the logger (device 0) and reads its block into the config; a
    // failed read leaves the config as it was.
    DeviceResult refresh();
    // refresh(), then Incompatible when the model is not one this program
    // knows.
    DeviceResult refreshKnown();
    // Writes the config back with logging cleared (the logger's own counters
    // taken from a fresh read first), then reads it again.
    DeviceResult stopLogging();
    // Sets the start fields and writes the config with logging set.
    DeviceResult startLogging(int fullYear, int month, int day, int hour, int minute, int second,
                              std::uint32_t delaySeconds, bool pushButton);
    // The data memory; `samples` holds the readings afterwards (its size()
    // is how many arrived). On failure `samples` is untouched.
    DeviceResult readSamples(SampleBuffer& samples);

private:
    DeviceResult readDeviceBlock(ConfigBlock& fresh);
    DeviceResult checkSameLogger(const ConfigBlock& fromDevice) const;

    LoggerConfig& m_config;
    const Clock& m_clock;
    LoggerLink m_link;
    // How many bytes of the block the logger sent at the last refresh (a
    // short reply leaves the rest zero).
    std::size_t m_bytesRead = CONFIG_BLOCK_SIZE;
};

// The warnings shown before a set-up or a download; none of them ends the
// command. In the order they are shown.
enum class DeviceWarning {
    BatteryCritical,
    BatteryCriticalRecharge,  // the rechargeable model
    BatteryLow,
    BatteryLowRecharge,
    HumiditySensorError,
    CoSensorDamaged,
    SensorLifeInvalid,
    SensorLifeExpired,
    CalibrationInvalid,
    CalibrationExpired,
};

// What the block says needs the user's attention, `today` deciding expiry.
std::vector<DeviceWarning> deviceWarnings(const LoggerConfig& config, const CalendarTime& today);

struct WarningMessage {
    int id;
    MessageIcon icon;
};
// The string-table message of a warning.
WarningMessage warningMessage(DeviceWarning warning);
// Shows each warning's message in turn (nothing without a user interface).
void showWarnings(UserInterface* ui, const std::vector<DeviceWarning>& warnings);

// The opening of every logger command of the utility and of
// `vessor-logger download`: refreshKnown(), then the warnings shown through
// `ui`. Only a failed read or an unknown model end the command.
DeviceResult refreshAndWarn(LoggerSession& session, UserInterface* ui, const CalendarTime& today);

} // namespace vessor
