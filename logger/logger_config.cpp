#include "logger_config.h"

#include "conversion.h"
#include "locale_format.h"
#include "strings.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>

namespace vessor {

LoggerConfig::LoggerConfig() = default;

// --- Raw access, bounded to the block ---

std::uint8_t LoggerConfig::byteAt(std::size_t offset) const {
    return offset < CONFIG_BLOCK_SIZE ? m_block[offset] : 0;
}

void LoggerConfig::setByteAt(std::size_t offset, std::uint8_t value) {
    if (offset < CONFIG_BLOCK_SIZE)
        m_block[offset] = value;
}

std::uint16_t LoggerConfig::u16At(std::size_t offset) const {
    return static_cast<std::uint16_t>(byteAt(offset) | byteAt(offset + 1) << 8);
}

void LoggerConfig::setU16At(std::size_t offset, std::uint16_t value) {
    setByteAt(offset, static_cast<std::uint8_t>(value & 0xFF));
    setByteAt(offset + 1, static_cast<std::uint8_t>(value >> 8));
}

std::uint32_t LoggerConfig::u32At(std::size_t offset) const {
    return static_cast<std::uint32_t>(u16At(offset)) |
           static_cast<std::uint32_t>(u16At(offset + 2)) << 16;
}

void LoggerConfig::setU32At(std::size_t offset, std::uint32_t value) {
    setU16At(offset, static_cast<std::uint16_t>(value & 0xFFFF));
    setU16At(offset + 2, static_cast<std::uint16_t>(value >> 16));
}

float LoggerConfig::f32At(std::size_t offset) const {
    const std::uint32_t bits = u32At(offset);
    float value = 0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

void LoggerConfig::setF32At(std::size_t offset, float value) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    setU32At(offset, bits);
}

std::string LoggerConfig::textAt(std::size_t offset, std::size_t width) const {
    if (offset >= CONFIG_BLOCK_SIZE || width == 0)
        return {};
    width = std::min(width, CONFIG_BLOCK_SIZE - offset);
    std::string text;
    for (std::size_t i = 0; i + 1 < width && m_block[offset + i] != 0; ++i)
        text.push_back(static_cast<char>(m_block[offset + i]));
    return text;
}

void LoggerConfig::setTextAt(std::size_t offset, std::size_t width, std::string_view text) {
    if (offset >= CONFIG_BLOCK_SIZE || width == 0)
        return;
    width = std::min(width, CONFIG_BLOCK_SIZE - offset);
    const std::size_t n = std::min(text.size(), width - 1);
    for (std::size_t i = 0; i < width; ++i)
        m_block[offset + i] = i < n ? static_cast<std::uint8_t>(text[i]) : 0;
}

void LoggerConfig::setFlag(std::size_t offset, std::uint8_t mask, bool on) {
    const std::uint8_t value = byteAt(offset);
    setByteAt(offset, on ? static_cast<std::uint8_t>(value | mask)
                         : static_cast<std::uint8_t>(value & ~mask));
}

// --- Derived scaling ---

void LoggerConfig::resetDerivedScaling() {
    scaleGradient = 1.0f;
    scaleOffset = 0.0f;
    displayStep = 0.1f;
    decimalPlaces = 1;
    scaleAscending = true;
}

void LoggerConfig::setDerivedScaling(const ScalingResult& result) {
    scaleGradient = result.gradient;
    scaleOffset = result.offset;
    displayStep = result.displayStep;
    decimalPlaces = result.decimalPlaces;
    scaleAscending = result.ascending;
    if (result.ok())
        setFlag(field::MODE_FLAGS, MODE_SCALING_INVERTED, !result.ascending);
}

int LoggerConfig::refreshDerived() {
    if (isVoltageCurrentModel(modelType()))
        return applyScaling(*this);
    resetDerivedScaling();
    return SCALING_OK;
}

int LoggerConfig::resetScaling() {
    setScaleUnit(defaultScaleUnit());
    setScaleInput1Text(defaultInput1Text());
    setScaleOutput1Text(defaultOutput1Text());
    setScaleInput2Text(defaultInput2Text());
    setScaleOutput2Text(defaultOutput2Text());
    return applyScaling(*this);
}

// --- Checks ---

bool LoggerConfig::isCompatible() const { return isKnownModel(modelType()); }

BatteryState LoggerConfig::batteryState() const {
    if (statusFlags() & STATUS_BATTERY_CRITICAL)
        return BatteryState::Critical;
    if (statusFlags() & STATUS_BATTERY_LOW)
        return BatteryState::Low;
    return BatteryState::Good;
}

bool LoggerConfig::hasSensorError() const {
    return (statusFlags() & STATUS_SENSOR_ERROR) &&
           (isHumidityModel(modelType()) || isCOModel(modelType()));
}

bool LoggerConfig::isLogging() const { return statusFlags() & STATUS_LOGGING; }

bool LoggerConfig::hasUndownloadedData() const {
    return (statusFlags() & STATUS_NOT_DOWNLOADED) && readingCount() > 0;
}

bool LoggerConfig::isPushButtonMode() const {
    return isPushButtonModel(modelType()) && (modeFlags() & MODE_PUSH_BUTTON);
}

bool LoggerConfig::isAwaitingButton() const { return isPushButtonMode() && readingCount() <= 0; }

bool LoggerConfig::isDelayedStart() const {
    if (startDelay() == 0)
        return false;
    if (!modelHas(GROUP_DELAY_UNTIL_READING))
        return true;
    return readingCount() < 1 && !isPushButtonMode();
}

bool LoggerConfig::isWrapMode() const {
    return isWrapModel(modelType()) && (modeFlags() & MODE_WRAP);
}

bool LoggerConfig::isCalDateSet() const { return byteAt(field::CAL_PERIOD_MONTHS) != 0; }

int LoggerConfig::configLength() const { return configWriteLength(modelType()); }

// --- Fields ---

std::string LoggerConfig::loggerName() const { return textAt(field::LOGGER_NAME, field::LOGGER_NAME_WIDTH); }
void LoggerConfig::setLoggerName(std::string_view text) { setTextAt(field::LOGGER_NAME, field::LOGGER_NAME_WIDTH, text); }

int LoggerConfig::startFullYear() const {
    const int y = startYear();
    return y < 70 ? 2000 + y : 1900 + y;
}

CalendarTime LoggerConfig::startTime() const {
    CalendarTime t;
    t.year = startYear() < 70 ? startYear() + 100 : startYear();
    t.month = startMonth() - 1;
    t.day = startDay();
    t.hour = startHour();
    t.minute = startMinute();
    t.second = startSecond();
    return t;
}

void LoggerConfig::setStartTime(int fullYear, int month, int day, int hour, int minute, int second) {
    const int year = ((fullYear % 100) + 100) % 100;
    setByteAt(field::START_YEAR, static_cast<std::uint8_t>(year));
    setByteAt(field::START_MONTH, static_cast<std::uint8_t>(month));
    setByteAt(field::START_DAY, static_cast<std::uint8_t>(day));
    setByteAt(field::START_HOUR, static_cast<std::uint8_t>(hour));
    setByteAt(field::START_MINUTE, static_cast<std::uint8_t>(minute));
    setByteAt(field::START_SECOND, static_cast<std::uint8_t>(second));
}

unsigned LoggerConfig::highAlarmRaw() const {
    return has16BitAlarms(modelType()) ? u16At(field::HIGH_ALARM_RAW) : byteAt(field::HIGH_ALARM_RAW);
}

unsigned LoggerConfig::lowAlarmRaw() const {
    return has16BitAlarms(modelType()) ? u16At(field::LOW_ALARM_RAW16) : byteAt(field::LOW_ALARM_RAW8);
}

void LoggerConfig::setHighAlarmRaw(unsigned raw) {
    if (has16BitAlarms(modelType()))
        setU16At(field::HIGH_ALARM_RAW, static_cast<std::uint16_t>(raw));
    else
        setByteAt(field::HIGH_ALARM_RAW, static_cast<std::uint8_t>(raw));
}

void LoggerConfig::setLowAlarmRaw(unsigned raw) {
    if (has16BitAlarms(modelType()))
        setU16At(field::LOW_ALARM_RAW16, static_cast<std::uint16_t>(raw));
    else
        setByteAt(field::LOW_ALARM_RAW8, static_cast<std::uint8_t>(raw));
}

unsigned LoggerConfig::alarmRawOf(float value) const {
    const int top = has16BitAlarms(modelType()) ? 0xFFFF : 0xFF;
    return static_cast<unsigned>(std::clamp(valueToRaw(*this, value), 0, top));
}

void LoggerConfig::setHighAlarmValue(float value) { setHighAlarmRaw(alarmRawOf(value)); }

void LoggerConfig::setLowAlarmValue(float value) { setLowAlarmRaw(alarmRawOf(value)); }

float LoggerConfig::highAlarmValue() const {
    const int model = modelType();
    if (isVoltageCurrentModel(model))
        return rawToValue(*this, scaleAscending ? u16At(field::HIGH_ALARM_RAW) : u16At(field::LOW_ALARM_RAW16));
    if (has16BitAlarms(model))
        return rawToValue(*this, u16At(field::HIGH_ALARM_RAW));
    return static_cast<float>(byteAt(field::HIGH_ALARM_RAW) * static_cast<double>(calGradient()) + calOffset());
}

float LoggerConfig::lowAlarmValue() const {
    const int model = modelType();
    if (isVoltageCurrentModel(model))
        return rawToValue(*this, scaleAscending ? u16At(field::LOW_ALARM_RAW16) : u16At(field::HIGH_ALARM_RAW));
    if (has16BitAlarms(model))
        return rawToValue(*this, u16At(field::LOW_ALARM_RAW16));
    return static_cast<float>(byteAt(field::LOW_ALARM_RAW8) * static_cast<double>(calGradient()) + calOffset());
}

std::string LoggerConfig::firmwareVersion() const {
    std::string text;
    for (std::size_t i = 0; i < field::FIRMWARE_VERSION_WIDTH; ++i) {
        const auto c = static_cast<char>(m_block[field::FIRMWARE_VERSION + i]);
        text.push_back(c == '\0' ? ' ' : c);
    }
    return text;
}

std::string LoggerConfig::serialNumberText() const {
    char text[16];
    std::snprintf(text, sizeof text, "%09u", static_cast<unsigned>(serialNumber()));
    return text;
}

#define VESSOR_TEXT_FIELD(getter, offset, width) \
    std::string LoggerConfig::getter() const { return textAt(offset, width); }
#define VESSOR_TEXT_SETTER(setter, offset, width) \
    void LoggerConfig::setter(std::string_view text) { setTextAt(offset, width, text); }

VESSOR_TEXT_FIELD(scaleUnit, field::SCALE_UNIT, field::SCALE_UNIT_WIDTH)
VESSOR_TEXT_SETTER(setScaleUnit, field::SCALE_UNIT, field::SCALE_UNIT_WIDTH)
VESSOR_TEXT_FIELD(scaleInput1Text, field::SCALE_INPUT1_TEXT, field::SCALE_TEXT_WIDTH)
VESSOR_TEXT_FIELD(scaleOutput1Text, field::SCALE_OUTPUT1_TEXT, field::SCALE_TEXT_WIDTH)
VESSOR_TEXT_FIELD(scaleInput2Text, field::SCALE_INPUT2_TEXT, field::SCALE_TEXT_WIDTH)
VESSOR_TEXT_FIELD(scaleOutput2Text, field::SCALE_OUTPUT2_TEXT, field::SCALE_TEXT_WIDTH)
VESSOR_TEXT_SETTER(setScaleInput1Text, field::SCALE_INPUT1_TEXT, field::SCALE_TEXT_WIDTH)
VESSOR_TEXT_SETTER(setScaleOutput1Text, field::SCALE_OUTPUT1_TEXT, field::SCALE_TEXT_WIDTH)
VESSOR_TEXT_SETTER(setScaleInput2Text, field::SCALE_INPUT2_TEXT, field::SCALE_TEXT_WIDTH)
VESSOR_TEXT_SETTER(setScaleOutput2Text, field::SCALE_OUTPUT2_TEXT, field::SCALE_TEXT_WIDTH)
VESSOR_TEXT_FIELD(highAlarmText, field::HIGH_ALARM_TEXT, field::SCALE_TEXT_WIDTH)
VESSOR_TEXT_FIELD(lowAlarmText, field::LOW_ALARM_TEXT, field::SCALE_TEXT_WIDTH)
VESSOR_TEXT_SETTER(setHighAlarmText, field::HIGH_ALARM_TEXT, field::SCALE_TEXT_WIDTH)
VESSOR_TEXT_SETTER(setLowAlarmText, field::LOW_ALARM_TEXT, field::SCALE_TEXT_WIDTH)
VESSOR_TEXT_FIELD(inputRangeText, field::INPUT_RANGE_TEXT, field::INPUT_RANGE_TEXT_WIDTH)
VESSOR_TEXT_FIELD(inputUnit, field::INPUT_UNIT, field::INPUT_UNIT_WIDTH)
VESSOR_TEXT_FIELD(defaultScaleUnit, field::DEFAULT_SCALE_UNIT, field::SCALE_UNIT_WIDTH)
VESSOR_TEXT_FIELD(defaultInput1Text, field::DEFAULT_INPUT1_TEXT, field::SCALE_TEXT_WIDTH)
VESSOR_TEXT_FIELD(defaultOutput1Text, field::DEFAULT_OUTPUT1_TEXT, field::SCALE_TEXT_WIDTH)
VESSOR_TEXT_FIELD(defaultInput2Text, field::DEFAULT_INPUT2_TEXT, field::SCALE_TEXT_WIDTH)
VESSOR_TEXT_FIELD(defaultOutput2Text, field::DEFAULT_OUTPUT2_TEXT, field::SCALE_TEXT_WIDTH)
VESSOR_TEXT_FIELD(defaultHighAlarmText, field::DEFAULT_HIGH_ALARM_TEXT, field::SCALE_TEXT_WIDTH)
VESSOR_TEXT_FIELD(defaultLowAlarmText, field::DEFAULT_LOW_ALARM_TEXT, field::SCALE_TEXT_WIDTH)

#undef VESSOR_TEXT_FIELD
#undef VESSOR_TEXT_SETTER

DatedPeriod LoggerConfig::sensorLife() const {
    return {byteAt(field::SENSOR_LIFE_DAY), byteAt(field::SENSOR_LIFE_MONTH),
            byteAt(field::SENSOR_LIFE_YEAR), byteAt(field::SENSOR_LIFE_MONTHS)};
}

DatedPeriod LoggerConfig::calibrationPeriod() const {
    return {byteAt(field::CAL_DATE_DAY), byteAt(field::CAL_DATE_MONTH),
            byteAt(field::CAL_DATE_YEAR), byteAt(field::CAL_PERIOD_MONTHS)};
}

// --- Flag setters ---

void LoggerConfig::setHighAlarmEnabled(bool on) { setFlag(field::ALARM_FLAGS, ALARM_HIGH_ENABLED, on); }
void LoggerConfig::setLowAlarmEnabled(bool on) { setFlag(field::ALARM_FLAGS, ALARM_LOW_ENABLED, on); }
void LoggerConfig::setHighAlarmHold(bool on) { setFlag(field::ALARM_FLAGS, ALARM_HIGH_HOLD, on); }
void LoggerConfig::setLowAlarmHold(bool on) { setFlag(field::ALARM_FLAGS, ALARM_LOW_HOLD, on); }
void LoggerConfig::setRhHighAlarmEnabled(bool on) { setFlag(field::ALARM_FLAGS, ALARM_RH_HIGH_ENABLED, on); }
void LoggerConfig::setRhLowAlarmEnabled(bool on) { setFlag(field::ALARM_FLAGS, ALARM_RH_LOW_ENABLED, on); }
void LoggerConfig::setRhHighAlarmHold(bool on) { setFlag(field::ALARM_FLAGS, ALARM_RH_HIGH_HOLD, on); }
void LoggerConfig::setRhLowAlarmHold(bool on) { setFlag(field::ALARM_FLAGS, ALARM_RH_LOW_HOLD, on); }
void LoggerConfig::setLedsDisabled(bool on) { setFlag(field::MODE_FLAGS, MODE_LEDS_DISABLED, on); }
void LoggerConfig::setModeBit2(bool on) { setFlag(field::MODE_FLAGS, MODE_BIT2, on); }
void LoggerConfig::setSounderEnabled(bool on) { setFlag(field::MODE_FLAGS, MODE_SOUNDER, on); }
void LoggerConfig::setWrapMode(bool on) { setFlag(field::MODE_FLAGS, MODE_WRAP, on); }
void LoggerConfig::setPushButtonMode(bool on) { setFlag(field::MODE_FLAGS, MODE_PUSH_BUTTON, on); }
void LoggerConfig::setVoltFree(bool on) { setFlag(field::OPTION_FLAGS, EVENT_VOLT_FREE, on); }
void LoggerConfig::setRisingEdge(bool on) { setFlag(field::OPTION_FLAGS, EVENT_RISING_EDGE, on); }

void LoggerConfig::setDisplayMode(int choice) {
    setFlag(field::MODE_FLAGS, MODE_DISPLAY_A, choice == 1 || choice == 2);
    setFlag(field::MODE_FLAGS, MODE_DISPLAY_B, choice == 1);
}

void LoggerConfig::setEventVoltageRange(int range) {
    setOptionFlags(static_cast<std::uint8_t>((optionFlags() & ~EVENT_VOLTAGE_RANGE_MASK) | (range & 0x03)));
}

void LoggerConfig::setEventSampleMode(int mode) {
    setOptionFlags(static_cast<std::uint8_t>((optionFlags() & ~EVENT_SAMPLE_MODE_MASK) | ((mode & 0x03) << 4)));
}

// --- Derived values ---

CalendarTime LoggerConfig::firstReadingTime() const {
    CalendarTime t = startTime();
    if (isPushButtonMode() && startDelay() >= 1)
        addSeconds(t, startDelay());
    if (isWrapMode() && wrapCount() >= 1) {
        const std::uint64_t capacity = memoryCapacity() > 0 ? memoryCapacity() - 1u : 0u;
        addSeconds(t, capacity * (wrapCount() - 1u) * sampleInterval());
        if (readingCount() > 0)
            addSeconds(t, static_cast<std::uint64_t>(sampleInterval()) *
                              static_cast<std::uint64_t>(readingCount()));
    }
    return t;
}

ExpiryState expiryState(const DatedPeriod& period, const CalendarTime& today) {
    if (period.months == 0)
        return ExpiryState::NotSet;
    const std::optional<CalendarTime> expiry = expiryDate(period);
    if (!expiry)
        return ExpiryState::Invalid;
    return compareDates(today, *expiry) <= 0 ? ExpiryState::Valid : ExpiryState::Expired;
}

namespace {

std::string expiryTextWith(const DatedPeriod& period,
                           const std::function<std::string(const CalendarTime&)>& formatDate) {
    if (period.months == 0)
        return text::NO_DATE_SET;
    const std::optional<CalendarTime> expiry = expiryDate(period);
    return expiry ? formatDate(*expiry) : std::string(text::ERROR_TEXT);
}

} // namespace

std::string expiryText(const DatedPeriod& period, const LocaleFormat& locale) {
    return expiryTextWith(period, [&locale](const CalendarTime& date) { return locale.formatDate(date); });
}

std::string expiryTextNumeric(const DatedPeriod& period) {
    return expiryTextWith(period, [](const CalendarTime& date) { return formatDayFirstDate(date); });
}

} // namespace vessor
