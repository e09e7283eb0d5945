#include "session.h"

#include "strings.h"

namespace vessor {

LoggerSession::LoggerSession(LoggerConfig& config, const Clock& clock)
    : m_config(config), m_clock(clock) {}

DeviceResult LoggerSession::refresh() {
    if (DeviceResult found = m_link.findDevice(); !found)
        return found;
    ConfigBlock fresh{};
    if (DeviceResult read = m_link.readConfig(0, fresh); !read)
        return read;
    m_config.setBlock(fresh);
    m_bytesRead = m_link.lastConfigLength();
    m_config.refreshDerived();
    return {};
}

DeviceResult LoggerSession::refreshKnown() {
    DeviceResult result = refresh();
    if (result && !m_config.isCompatible())
        return DeviceResult{DeviceOutcome::Incompatible, "model " + std::to_string(m_config.modelType())};
    return result;
}

// The block as the logger has it now, before a write. A write sends the
// model's whole write length back; when the logger sent less than that
// (a short reply: the rest reads as zero) the write would wipe its
// calibration and scaling texts, so it is refused.
DeviceResult LoggerSession::readDeviceBlock(ConfigBlock& fresh) {
    if (DeviceResult read = m_link.readConfig(0, fresh); !read)
        return read;
    const auto holdsWholeBlock = [](std::size_t bytesRead, int model) {
        return bytesRead >= static_cast<std::size_t>(configWriteLength(model));
    };
    if (holdsWholeBlock(m_link.lastConfigLength(), fresh[field::MODEL_TYPE]) &&
        holdsWholeBlock(m_bytesRead, m_config.modelType()))
        return {};
    return DeviceResult{DeviceOutcome::ShortBlock, "the block read is shorter than a write"};
}

DeviceResult LoggerSession::checkSameLogger(const ConfigBlock& fromDevice) const {
    LoggerConfig other;
    other.setBlock(fromDevice);
    if (other.modelType() == m_config.modelType() && other.serialNumber() == m_config.serialNumber())
        return {};
    return DeviceResult{DeviceOutcome::LoggerReplaced, "serial " + other.serialNumberText()};
}

DeviceResult LoggerSession::stopLogging() {
    ConfigBlock fresh{};
    if (DeviceResult read = readDeviceBlock(fresh); !read)
        return read;
    if (DeviceResult same = checkSameLogger(fresh); !same)
        return same;
    // The logger has gone on logging since theConfig was read: its own
    // counters and status bits are taken from the block just read, so that
    // writing theConfig back cannot wind the log back to an older state.
    LoggerConfig device;
    device.setBlock(fresh);
    LoggerConfig& c = m_config;
    c.setReadingCount(device.readingCount());
    c.setByteAt(field::WRAP_COUNT, device.wrapCount());
    c.setStatusFlags(static_cast<std::uint8_t>(device.statusFlags() & ~STATUS_LOGGING));
    if (c.isPushButtonMode())
        c.setStartDelay(device.isPushButtonMode() ? device.startDelay() : c.startDelay());
    else
        c.setStartDelay(0);
    if (DeviceResult written = m_link.writeConfig(0, c.block(), static_cast<std::size_t>(c.configLength()));
        !written)
        return written;
    m_clock.sleepMs(100);
    return refresh();
}

DeviceResult LoggerSession::startLogging(int fullYear, int month, int day, int hour, int minute,
                                         int second, std::uint32_t delaySeconds, bool pushButton) {
    LoggerConfig& c = m_config;
    c.setStartDelay(pushButton ? 0 : delaySeconds);
    c.setStartTime(fullYear, month, day, hour, minute, second);
    c.setPushButtonMode(pushButton);
    c.setStatusFlags(static_cast<std::uint8_t>(c.statusFlags() | STATUS_LOGGING));
    if (DeviceResult found = m_link.findDevice(); !found)
        return found;
    ConfigBlock fresh{};
    if (DeviceResult read = readDeviceBlock(fresh); !read)
        return read;
    if (DeviceResult same = checkSameLogger(fresh); !same)
        return same;
    c.setCommandByte(0);
    return m_link.writeConfig(0, c.block(), static_cast<std::size_t>(c.configLength()));
}

DeviceResult LoggerSession::readSamples(SampleBuffer& samples) {
    return m_link.readData(0, m_config.modelType(), samples);
}

// --- Warnings ---

std::vector<DeviceWarning> deviceWarnings(const LoggerConfig& config, const CalendarTime& today) {
    std::vector<DeviceWarning> warnings;
    const bool rechargeable = config.modelHas(GROUP_RECHARGEABLE);
    switch (config.batteryState()) {
    case BatteryState::Critical:
        warnings.push_back(rechargeable ? DeviceWarning::BatteryCriticalRecharge : DeviceWarning::BatteryCritical);
        break;
    case BatteryState::Low:
        warnings.push_back(rechargeable ? DeviceWarning::BatteryLowRecharge : DeviceWarning::BatteryLow);
        break;
    case BatteryState::Good:
        break;
    }
    if (config.hasSensorError())
        warnings.push_back(isHumidityModel(config.modelType()) ? DeviceWarning::HumiditySensorError
                                                               : DeviceWarning::CoSensorDamaged);
    if (config.modelHas(GROUP_CO)) {
        // An invalid or expired sensor life says all there is to say; the
        // calibration date is checked only behind a good one.
        switch (expiryState(config.sensorLife(), today)) {
        case ExpiryState::Invalid:
            warnings.push_back(DeviceWarning::SensorLifeInvalid);
            return warnings;
        case ExpiryState::Expired:
            warnings.push_back(DeviceWarning::SensorLifeExpired);
            return warnings;
        case ExpiryState::NotSet:
        case ExpiryState::Valid:
            break;
        }
        switch (expiryState(config.calibrationPeriod(), today)) {
        case ExpiryState::Invalid: warnings.push_back(DeviceWarning::CalibrationInvalid); break;
        case ExpiryState::Expired: warnings.push_back(DeviceWarning::CalibrationExpired); break;
        case ExpiryState::NotSet:
        case ExpiryState::Valid: break;
        }
    }
    return warnings;
}

WarningMessage warningMessage(DeviceWarning warning) {
    switch (warning) {
    case DeviceWarning::BatteryCritical: return {MSG_BATTERY_CRITICAL, MessageIcon::None};
    case DeviceWarning::BatteryCriticalRecharge: return {MSG_BATTERY_CRITICAL_RECHARGE, MessageIcon::None};
    case DeviceWarning::BatteryLow: return {MSG_BATTERY_LOW, MessageIcon::None};
    case DeviceWarning::BatteryLowRecharge: return {MSG_BATTERY_LOW_RECHARGE, MessageIcon::None};
    case DeviceWarning::HumiditySensorError: return {MSG_SENSOR_ERROR, MessageIcon::Stop};
    case DeviceWarning::CoSensorDamaged: return {MSG_CO_DAMAGE, MessageIcon::Stop};
    case DeviceWarning::SensorLifeInvalid: return {MSG_SENSOR_LIFE_INVALID, MessageIcon::Stop};
    case DeviceWarning::SensorLifeExpired: return {MSG_SENSOR_LIFE_EXPIRED, MessageIcon::Stop};
    case DeviceWarning::CalibrationInvalid: return {MSG_CALIBRATION_INVALID, MessageIcon::Stop};
    case DeviceWarning::CalibrationExpired: return {MSG_CALIBRATION_EXPIRED, MessageIcon::Stop};
    }
    return {MSG_COMMUNICATION_ERROR, MessageIcon::None};
}

void showWarnings(UserInterface* ui, const std::vector<DeviceWarning>& warnings) {
    for (DeviceWarning warning : warnings) {
        const WarningMessage message = warningMessage(warning);
        showMessage(ui, message.id, message.icon);
    }
}

DeviceResult refreshAndWarn(LoggerSession& session, UserInterface* ui, const CalendarTime& today) {
    DeviceResult read = session.refreshKnown();
    if (read)
        showWarnings(ui, deviceWarnings(session.config(), today));
    return read;
}

} // namespace vessor
