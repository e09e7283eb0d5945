// The logger's 256-byte configuration block: a plain value with its
// accessors, predicates and derived scaling. One instance (`theConfig`) is
// owned by each program and passed by reference; pages edit it in place.
// Reading and writing it on a device is LoggerSession's job (session.h).
//
// Every byte of the block may come from a device or a file: accessors read
// within the block only, text getters stop at the field's width, and an
// unknown modelType behaves as an 8-bit model without special groups.
#pragma once

#include "calendar.h"
#include "logger_link.h"
#include "models.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vessor {

class LocaleFormat;

// Field offsets in the block.
namespace field {
constexpr std::size_t MODEL_TYPE = 0x00;
constexpr std::size_t COMMAND_BYTE = 0x01;
constexpr std::size_t LOGGER_NAME = 0x02;        // char[16]
constexpr std::size_t START_HOUR = 0x12;
constexpr std::size_t START_MINUTE = 0x13;
constexpr std::size_t START_SECOND = 0x14;
constexpr std::size_t START_DAY = 0x15;
constexpr std::size_t START_MONTH = 0x16;
constexpr std::size_t START_YEAR = 0x17;
constexpr std::size_t START_DELAY = 0x18;        // u32
constexpr std::size_t SAMPLE_INTERVAL = 0x1C;    // u16
constexpr std::size_t READING_COUNT = 0x1E;      // s16
constexpr std::size_t ALARM_FLAGS = 0x20;
constexpr std::size_t STATUS_FLAGS = 0x21;
constexpr std::size_t HIGH_ALARM_RAW = 0x22;     // u8 or u16
constexpr std::size_t LOW_ALARM_RAW8 = 0x23;
constexpr std::size_t CAL_GRADIENT = 0x24;       // f32
constexpr std::size_t CAL_OFFSET = 0x28;         // f32
constexpr std::size_t BATTERY_LEVEL = 0x2C;      // s16
constexpr std::size_t OPTION_FLAGS = 0x2E;
constexpr std::size_t MODE_FLAGS = 0x2F;
constexpr std::size_t FIRMWARE_VERSION = 0x30;   // char[4], not terminated
constexpr std::size_t SERIAL_NUMBER = 0x34;      // u32
constexpr std::size_t LOW_ALARM_RAW16 = 0x38;    // u16
constexpr std::size_t RH_HIGH_ALARM = 0x38;
constexpr std::size_t RH_LOW_ALARM = 0x39;
constexpr std::size_t WRAP_COUNT = 0x3A;
constexpr std::size_t MEMORY_CAPACITY = 0x3C;    // u16
constexpr std::size_t SCALE_UNIT = 0x40;         // char[12]
constexpr std::size_t SCALE_INPUT1_TEXT = 0x4C;  // char[8] each
constexpr std::size_t SCALE_OUTPUT1_TEXT = 0x54;
constexpr std::size_t SCALE_INPUT2_TEXT = 0x5C;
constexpr std::size_t SCALE_OUTPUT2_TEXT = 0x64;
constexpr std::size_t CAP_SCALAR = 0x6C;         // f32
constexpr std::size_t HIGH_ALARM_TEXT = 0x70;    // char[8]
constexpr std::size_t LOW_ALARM_TEXT = 0x78;     // char[8]
constexpr std::size_t INPUT_RANGE_TEXT = 0x80;   // char[14]
constexpr std::size_t INPUT_UNIT = 0x8E;         // char[12]
constexpr std::size_t DEFAULT_SCALE_UNIT = 0x9A; // char[12]
constexpr std::size_t DEFAULT_INPUT1_TEXT = 0xA6;   // char[8] each
constexpr std::size_t DEFAULT_OUTPUT1_TEXT = 0xAE;
constexpr std::size_t DEFAULT_INPUT2_TEXT = 0xB6;
constexpr std::size_t DEFAULT_OUTPUT2_TEXT = 0xBE;
constexpr std::size_t DEFAULT_HIGH_ALARM_TEXT = 0xC6;
constexpr std::size_t DEFAULT_LOW_ALARM_TEXT = 0xCE;
constexpr std::size_t LOW_BATTERY_LEVEL = 0xD6;  // u16
constexpr std::size_t SENSOR_LIFE_DAY = 0xD8;
constexpr std::size_t SENSOR_LIFE_MONTH = 0xD9;
constexpr std::size_t SENSOR_LIFE_YEAR = 0xDA;
constexpr std::size_t SENSOR_LIFE_MONTHS = 0xDB;
constexpr std::size_t CAL_DATE_DAY = 0xDC;
constexpr std::size_t CAL_DATE_MONTH = 0xDD;
constexpr std::size_t CAL_DATE_YEAR = 0xDE;
constexpr std::size_t CAL_PERIOD_MONTHS = 0xDF;
constexpr std::size_t TC_GRADIENT = 0xE0;        // f32
constexpr std::size_t TC_OFFSET = 0xE4;          // f32
constexpr std::size_t COUNT_PERIOD = 0xE8;       // u32

// Widths of the text fields.
constexpr std::size_t LOGGER_NAME_WIDTH = 16;
constexpr std::size_t SCALE_UNIT_WIDTH = 12;
constexpr std::size_t SCALE_TEXT_WIDTH = 8;
constexpr std::size_t INPUT_RANGE_TEXT_WIDTH = 14;
constexpr std::size_t INPUT_UNIT_WIDTH = 12;
constexpr std::size_t FIRMWARE_VERSION_WIDTH = 4;
} // namespace field

// alarmFlags bits.
constexpr std::uint8_t ALARM_HIGH_ENABLED = 0x01;
constexpr std::uint8_t ALARM_LOW_ENABLED = 0x02;   // CO: warning level
constexpr std::uint8_t ALARM_HIGH_HOLD = 0x04;
constexpr std::uint8_t ALARM_LOW_HOLD = 0x08;      // CO: warning level hold
constexpr std::uint8_t ALARM_RH_HIGH_ENABLED = 0x10;
constexpr std::uint8_t ALARM_RH_LOW_ENABLED = 0x20;
constexpr std::uint8_t ALARM_RH_HIGH_HOLD = 0x40;
constexpr std::uint8_t ALARM_RH_LOW_HOLD = 0x80;

// statusFlags bits (byte 0x21).
constexpr std::uint8_t STATUS_LOGGING = 0x01;
constexpr std::uint8_t STATUS_NOT_DOWNLOADED = 0x02;
constexpr std::uint8_t STATUS_BATTERY_LOW = 0x04;
constexpr std::uint8_t STATUS_BATTERY_CRITICAL = 0x08;
constexpr std::uint8_t STATUS_SENSOR_ERROR = 0x10;

// modeFlags bits.
constexpr std::uint8_t MODE_LEDS_DISABLED = 0x01;
constexpr std::uint8_t MODE_SCALING_INVERTED = 0x02;
constexpr std::uint8_t MODE_BIT2 = 0x04;
constexpr std::uint8_t MODE_SOUNDER = 0x08;
constexpr std::uint8_t MODE_WRAP = 0x10;
constexpr std::uint8_t MODE_DISPLAY_A = 0x20;
constexpr std::uint8_t MODE_DISPLAY_B = 0x40;
constexpr std::uint8_t MODE_PUSH_BUTTON = 0x80;

// optionFlags of the event logger.
constexpr std::uint8_t EVENT_VOLTAGE_RANGE_MASK = 0x03;
constexpr std::uint8_t EVENT_VOLT_FREE = 0x04;
constexpr std::uint8_t EVENT_RISING_EDGE = 0x08;
constexpr std::uint8_t EVENT_SAMPLE_MODE_MASK = 0x30;
// optionFlags of the thermocouple models.
constexpr std::uint8_t TC_FAHRENHEIT = 0x01;
constexpr std::uint8_t TC_TYPE_MASK = 0x70;
constexpr std::uint8_t TC_TYPE_J = 0x10;
constexpr std::uint8_t TC_TYPE_K = 0x20;
constexpr std::uint8_t TC_TYPE_T = 0x40;

// Event logger sample modes (optionFlags bits 4..5).
enum EventSampleMode : int {
    EVENT_MODE_EDGE = 0,
    EVENT_MODE_STATE = 1,
    EVENT_MODE_COUNT_TOTAL = 2,
    EVENT_MODE_COUNT_PER = 3,
};

// Codes of a scaling derivation or a value conversion.
enum ScalingError : int {
    SCALING_OK = 0,
    SCALING_ABOVE_RANGE = 1,
    SCALING_EQUAL_INPUTS = 3,
    SCALING_EQUAL_OUTPUTS = 4,
    SCALING_ARITHMETIC = 5,
    SCALING_OUTPUT1_EMPTY = 6,
    SCALING_INPUT1_EMPTY = 7,
    SCALING_OUTPUT2_EMPTY = 8,
    SCALING_INPUT2_EMPTY = 9,
    SCALING_INPUT1_ABOVE_FULL_SCALE = 10,
    SCALING_INPUT1_BELOW_ZERO = 11,
    SCALING_INPUT2_ABOVE_FULL_SCALE = 12,
    SCALING_INPUT2_BELOW_ZERO = 13,
    SCALING_INPUT_BELOW_ZERO = 14,
    SCALING_RAW_BELOW_ZERO = 15,
};

// What a scaling derivation gives (conversion.h: deriveScaling). On an
// error the fields hold the defaults, except gradient and offset once the
// line itself was found.
struct ScalingResult {
    float gradient = 1.0f;
    float offset = 0.0f;
    float displayStep = 0.1f;
    int decimalPlaces = 1;
    bool ascending = true;
    int error = SCALING_OK;

    bool ok() const { return error == SCALING_OK; }
};

// The battery bits of statusFlags.
enum class BatteryState { Good, Low, Critical };

// A CO dated period against a day: no date stored, still valid, past its
// expiry, or a stored date that is no date.
enum class ExpiryState { NotSet, Valid, Expired, Invalid };
ExpiryState expiryState(const DatedPeriod& period, const CalendarTime& today);
// "No Date Set", "Error" or the expiry date in the user's date format.
std::string expiryText(const DatedPeriod& period, const LocaleFormat& locale);
// The same with the numeric "%02d/%02d/%04d" date of download files.
std::string expiryTextNumeric(const DatedPeriod& period);

class LoggerConfig {
public:
    // A zeroed block, default derived scaling.
    LoggerConfig();

    // --- The raw block ---
    const ConfigBlock& block() const { return m_block; }
    // Replaces the block (bytes from a device, a file or a test); derived
    // scaling is not recomputed: call refreshDerived() when it should be.
    void setBlock(const ConfigBlock& bytes) { m_block = bytes; }
    std::uint8_t byteAt(std::size_t offset) const;
    void setByteAt(std::size_t offset, std::uint8_t value);
    std::uint16_t u16At(std::size_t offset) const;
    void setU16At(std::size_t offset, std::uint16_t value);
    std::uint32_t u32At(std::size_t offset) const;
    void setU32At(std::size_t offset, std::uint32_t value);
    float f32At(std::size_t offset) const;
    void setF32At(std::size_t offset, float value);
    // Text up to the first NUL within [offset, offset + width - 1): the last
    // byte of the field never counts, as if a NUL had been forced there.
    std::string textAt(std::size_t offset, std::size_t width) const;
    // Copies at most width - 1 bytes and NUL-fills the rest of the field.
    void setTextAt(std::size_t offset, std::size_t width, std::string_view text);

    // The derived scaling of the block on voltage/current models, defaults
    // on every other one; returns the derivation's error code.
    int refreshDerived();

    // --- Predicates ---
    bool isCompatible() const;                     // a model this program knows (1..18)
    BatteryState batteryState() const;             // critical wins over low
    // The sensor error bit on a model that has a sensor to fail (humidity,
    // CO); true on an error.
    bool hasSensorError() const;
    bool isLogging() const;
    bool hasUndownloadedData() const;
    bool isPushButtonMode() const;
    bool isAwaitingButton() const;
    bool isDelayedStart() const;
    bool isWrapMode() const;
    bool isCalDateSet() const;
    int configLength() const;                      // 64 or 256

    // --- Field accessors ---
    int modelType() const { return m_block[field::MODEL_TYPE]; }
    void setModelType(int type) { m_block[field::MODEL_TYPE] = static_cast<std::uint8_t>(type); }
    const ModelInfo* model() const { return findModel(modelType()); }
    bool modelHas(std::uint32_t group) const { return vessor::modelHas(modelType(), group); }
    std::uint8_t commandByte() const { return m_block[field::COMMAND_BYTE]; }
    void setCommandByte(std::uint8_t v) { m_block[field::COMMAND_BYTE] = v; }

    std::string loggerName() const;                // cp1252 bytes as stored
    void setLoggerName(std::string_view cp1252);

    int startHour() const { return m_block[field::START_HOUR]; }
    int startMinute() const { return m_block[field::START_MINUTE]; }
    int startSecond() const { return m_block[field::START_SECOND]; }
    int startDay() const { return m_block[field::START_DAY]; }
    int startMonth() const { return m_block[field::START_MONTH]; }   // 1..12
    int startYear() const { return m_block[field::START_YEAR]; }     // year % 100
    int startFullYear() const;                     // 2000 + y below 70, else 1900 + y
    // The stored start fields as a calendar time (no delay added).
    CalendarTime startTime() const;
    void setStartTime(int fullYear, int month, int day, int hour, int minute, int second);
    std::uint32_t startDelay() const { return u32At(field::START_DELAY); }
    void setStartDelay(std::uint32_t seconds) { setU32At(field::START_DELAY, seconds); }
    std::uint16_t sampleInterval() const { return u16At(field::SAMPLE_INTERVAL); }
    void setSampleInterval(std::uint16_t seconds) { setU16At(field::SAMPLE_INTERVAL, seconds); }
    std::int16_t readingCount() const { return static_cast<std::int16_t>(u16At(field::READING_COUNT)); }
    void setReadingCount(std::int16_t count) { setU16At(field::READING_COUNT, static_cast<std::uint16_t>(count)); }

    std::uint8_t alarmFlags() const { return m_block[field::ALARM_FLAGS]; }
    void setAlarmFlags(std::uint8_t v) { m_block[field::ALARM_FLAGS] = v; }
    std::uint8_t statusFlags() const { return m_block[field::STATUS_FLAGS]; }
    void setStatusFlags(std::uint8_t v) { m_block[field::STATUS_FLAGS] = v; }
    // alarmFlags | statusFlags << 8.
    std::uint16_t statusWord() const { return u16At(field::ALARM_FLAGS); }

    // Raw alarm slots as the model lays them out (u16 on the 16-bit alarm
    // models, bytes otherwise).
    unsigned highAlarmRaw() const;
    unsigned lowAlarmRaw() const;
    void setHighAlarmRaw(unsigned raw);
    void setLowAlarmRaw(unsigned raw);
    // The raw count of an alarm level, clamped to what the model's slot holds
    // (a byte or a 16-bit word) so that a level never wraps round; the
    // value-level setters store it.
    unsigned alarmRawOf(float value) const;
    void setHighAlarmValue(float value);
    void setLowAlarmValue(float value);
    // Engineering values (slots exchanged on descending custom scaling).
    float highAlarmValue() const;
    float lowAlarmValue() const;
    std::uint8_t rhHighAlarm() const { return m_block[field::RH_HIGH_ALARM]; }
    std::uint8_t rhLowAlarm() const { return m_block[field::RH_LOW_ALARM]; }
    void setRhHighAlarm(std::uint8_t halfUnits) { m_block[field::RH_HIGH_ALARM] = halfUnits; }
    void setRhLowAlarm(std::uint8_t halfUnits) { m_block[field::RH_LOW_ALARM] = halfUnits; }
    float rhHighAlarmValue() const { return rhHighAlarm() * 0.5f; }
    float rhLowAlarmValue() const { return rhLowAlarm() * 0.5f; }

    float calGradient() const { return f32At(field::CAL_GRADIENT); }
    float calOffset() const { return f32At(field::CAL_OFFSET); }
    void setCalGradient(float m) { setF32At(field::CAL_GRADIENT, m); }
    void setCalOffset(float c) { setF32At(field::CAL_OFFSET, c); }
    std::int16_t batteryLevel() const { return static_cast<std::int16_t>(u16At(field::BATTERY_LEVEL)); }
    std::uint8_t optionFlags() const { return m_block[field::OPTION_FLAGS]; }
    void setOptionFlags(std::uint8_t v) { m_block[field::OPTION_FLAGS] = v; }
    std::uint8_t modeFlags() const { return m_block[field::MODE_FLAGS]; }
    void setModeFlags(std::uint8_t v) { m_block[field::MODE_FLAGS] = v; }
    std::string firmwareVersion() const;           // exactly four characters (NUL shown as ' ')
    std::uint32_t serialNumber() const { return u32At(field::SERIAL_NUMBER); }
    std::string serialNumberText() const;          // "%09d"
    std::uint8_t wrapCount() const { return m_block[field::WRAP_COUNT]; }
    std::uint16_t memoryCapacity() const { return u16At(field::MEMORY_CAPACITY); }
    float capScalar() const { return f32At(field::CAP_SCALAR); }
    std::uint16_t lowBatteryLevel() const { return u16At(field::LOW_BATTERY_LEVEL); }
    float tcGradient() const { return f32At(field::TC_GRADIENT); }
    float tcOffset() const { return f32At(field::TC_OFFSET); }
    std::uint32_t countPeriod() const { return u32At(field::COUNT_PERIOD); }
    void setCountPeriod(std::uint32_t seconds) { setU32At(field::COUNT_PERIOD, seconds); }

    // Text fields (cp1252 bytes as stored).
    std::string scaleUnit() const;
    void setScaleUnit(std::string_view text);
    std::string scaleInput1Text() const;
    std::string scaleOutput1Text() const;
    std::string scaleInput2Text() const;
    std::string scaleOutput2Text() const;
    void setScaleInput1Text(std::string_view text);
    void setScaleOutput1Text(std::string_view text);
    void setScaleInput2Text(std::string_view text);
    void setScaleOutput2Text(std::string_view text);
    std::string highAlarmText() const;
    std::string lowAlarmText() const;
    void setHighAlarmText(std::string_view text);
    void setLowAlarmText(std::string_view text);
    std::string inputRangeText() const;
    std::string inputUnit() const;
    std::string defaultScaleUnit() const;
    std::string defaultInput1Text() const;
    std::string defaultOutput1Text() const;
    std::string defaultInput2Text() const;
    std::string defaultOutput2Text() const;
    std::string defaultHighAlarmText() const;
    std::string defaultLowAlarmText() const;

    // CO dated periods as stored.
    DatedPeriod sensorLife() const;
    DatedPeriod calibrationPeriod() const;

    // --- Flag setters (true sets, false clears) ---
    void setHighAlarmEnabled(bool on);      // alarmFlags bit 0
    void setLowAlarmEnabled(bool on);       // bit 1
    void setHighAlarmHold(bool on);         // bit 2
    void setLowAlarmHold(bool on);          // bit 3
    void setRhHighAlarmEnabled(bool on);    // bit 4
    void setRhLowAlarmEnabled(bool on);     // bit 5
    void setRhHighAlarmHold(bool on);       // bit 6
    void setRhLowAlarmHold(bool on);        // bit 7
    void setLedsDisabled(bool on);          // modeFlags bit 0
    void setModeBit2(bool on);              // modeFlags bit 2
    void setSounderEnabled(bool on);        // modeFlags bit 3
    void setWrapMode(bool on);              // modeFlags bit 4
    void setPushButtonMode(bool on);        // modeFlags bit 7
    void setVoltFree(bool on);              // optionFlags bit 2 (event logger)
    void setRisingEdge(bool on);            // optionFlags bit 3 (event logger)
    // Display choice 1 sets bits 5 and 6, choice 2 sets bit 5 only, any other
    // clears both.
    void setDisplayMode(int choice);
    int eventVoltageRange() const { return optionFlags() & EVENT_VOLTAGE_RANGE_MASK; }
    void setEventVoltageRange(int range);
    int eventSampleMode() const { return (optionFlags() & EVENT_SAMPLE_MODE_MASK) >> 4; }
    void setEventSampleMode(int mode);

    // --- Derived values ---
    // Restores the factory unit and scaling texts and derives the scaling
    // from them; returns the derivation's error code.
    int resetScaling();
    // When the first reading held in memory was taken.
    CalendarTime firstReadingTime() const;

    // --- Derived scaling (voltage/current models; defaults otherwise) ---
    float scaleGradient = 1.0f;
    float scaleOffset = 0.0f;
    float displayStep = 0.1f;
    int decimalPlaces = 1;
    bool scaleAscending = true;

    void resetDerivedScaling();
    // Keeps a derivation's result; a successful one also sets or clears the
    // inverted-scaling bit of modeFlags.
    void setDerivedScaling(const ScalingResult& result);

private:
    void setFlag(std::size_t offset, std::uint8_t mask, bool on);

    ConfigBlock m_block{};
};

} // namespace vessor
