// The model table: one row per ModelType. Pages, conversions and the
// simulator ask this table what a model is instead of testing model numbers.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace vessor {

// Byte 0 of the configuration block. 0 and values above 18 are devices this
// software does not know.
enum ModelType : int {
    MODEL_UNKNOWN = 0,
    MODEL_ZR_T_64 = 1,     // ZR-T with 64-byte data blocks
    MODEL_ZR_T = 2,
    MODEL_ZR_TH = 3,
    MODEL_ZR_V = 4,        // custom scaling
    MODEL_ZR_A = 5,        // custom scaling
    MODEL_ZR_V_TEXT = 6,   // alarms kept as text
    MODEL_ZR_A_TEXT = 7,   // alarms kept as text
    MODEL_ZR_T_MINI = 8,
    MODEL_ZR_CO = 9,
    MODEL_ZR_TC = 10,
    MODEL_ZR_CO_300 = 11,
    MODEL_ZR_TH_D = 12,
    MODEL_ZR_TH_X = 13,
    MODEL_ZR_T_PRO = 14,
    MODEL_ZR_TC_D = 15,
    MODEL_ZR_TH_DX = 16,
    MODEL_ZR_EV = 17,
    MODEL_ZR_T_RC = 18,
};

constexpr int MODEL_FIRST = 1;
constexpr int MODEL_LAST = 18;

// Model groups, as flags of ModelInfo::groups.
enum ModelGroup : std::uint32_t {
    GROUP_8BIT = 1u << 0,             // 1, 2, 3, 12, 13, 16: byte samples, 64-byte writes
    GROUP_16BIT = 1u << 1,            // 4..11, 14, 15, 17, 18: word samples, 256-byte writes
    GROUP_16BIT_ALARM = 1u << 2,      // 4..11, 14, 15, 18: u16 alarm slots at 0x22 and 0x38
    GROUP_VOLTAGE_CURRENT = 1u << 3,  // 4..7
    GROUP_HUMIDITY = 1u << 4,         // 3, 12, 13, 16
    GROUP_CO = 1u << 5,               // 9, 11
    GROUP_THERMOCOUPLE = 1u << 6,     // 10, 15
    GROUP_PUSH_BUTTON = 1u << 7,      // 12, 15, 16
    GROUP_WRAP = 1u << 8,             // 12..16, 18
    GROUP_EVENT = 1u << 9,            // 17
    GROUP_DISPLAY = 1u << 10,         // 12, 15, 16: display mode bits 5..6 of modeFlags
    GROUP_TEXT_ALARMS = 1u << 11,     // 6, 7: alarm levels shown as the typed text
    GROUP_TEMPERATURE_0_1F = 1u << 12,// 10, 15, 18: 0.1 °F per count, offset 328 °F; °F in optionFlags bit 0
    GROUP_SENSOR_CURVE = 1u << 13,    // 8: counts are sensor volts on a fixed curve; optionFlags 1 = °F
    GROUP_UNIT_FROM_OPTIONS = 1u << 14,// 14, 18: the unit shown is optionFlags 0 = °C, 1 = °F, not the unit text
    GROUP_WIDE_MEMORY = 1u << 15,     // 14, 18: the large memory's own list of sample rates
    GROUP_RECHARGEABLE = 1u << 16,    // 18: the battery messages say recharge
    GROUP_ONE_SAMPLE_RING = 1u << 17, // 14, 15, 18: a full ring starts one sample after the count
    GROUP_DELAY_UNTIL_READING = 1u << 18, // 12..16: startDelay stays set; the first reading ends the delay
    GROUP_NO_LED_CHOICE = 1u << 19,   // 14: the alarm LEDs cannot be switched off
};

enum class Quantity { Temperature, TemperatureHumidity, Voltage, Current, CarbonMonoxide,
                      Thermocouple, Events };

// What bounds the levels typed on the numeric alarm page.
enum class AlarmBoundsKind : std::uint8_t {
    None,     // no numeric alarm page
    Scaling,  // the input range under the custom scaling
    Counts,   // the values of counts 0..topCount
    Fixed,    // the fixed limits below, by the unit shown
};

struct AlarmBounds {
    AlarmBoundsKind kind;
    int topCount;                     // Counts
    float lowC, highC, lowF, highF;   // Fixed
};

// The CO loggers' warning level: typed from 3 ppm up to warningMax; a stored
// level from keptMin up is shown as it is; readings below noiseFloor show 0.
struct CoLimits {
    int warningMax;
    int keptMin;
    float noiseFloor;
};

// The kinds of set-up page. The utility maps them to its page numbers.
enum class WizardStep : std::uint8_t {
    None,                // ends a sequence shorter than the array
    Name,
    TemperatureAlarms,
    HumidityAlarms,
    Start,               // Finish
    PushButtonStart,     // Finish
    VoltageName,
    CustomScaling,       // only when custom scaling is chosen
    NumberAlarms,
    LiteName,
    LiteAlarms,
    CoAgreement,         // Back declines: main menu
    CoName,
    CoAlarms,
    ThermocoupleName,
    Display,
    StorageMode,
    ProAgreement,        // Back declines: main menu
    EventName,
    EventTrigger,
    EventVoltageRange,   // only when the input is not volt-free
    EventCountPeriod,    // only in the counting modes
};

constexpr std::size_t WIZARD_STEPS_MAX = 5;
// Entry page first, a Finish page last, then None.
using WizardSequence = std::array<WizardStep, WIZARD_STEPS_MAX>;

struct ModelInfo {
    int type;                 // 1..18
    const char* name;         // "ZR-T", ... (UTF-8, same as the string table text)
    int nameId;               // string table id of the name (149, 150, ...)
    Quantity quantity;
    std::uint32_t groups;     // ModelGroup flags
    int sampleWidth;          // bytes per stored reading: 1 or 2
    int channels;             // readings stored per sample time: 2 on humidity models
    int configWriteLength;    // 64 or 256
    int dataBlockSize;        // 64 (model 1) or 512
    // Readings (per channel) a factory logger's memory holds; the simulator
    // sizes its images from it and writes it to memoryCapacity where used.
    int factoryCapacity;
    int factoryInterval;      // seconds between samples of a factory logger
    // Calibration of a factory logger (raw × gradient + offset, in °C where
    // a temperature); the name page restores it when °C is chosen.
    float calGradient;
    float calOffset;
    // The gradient the name page sets when °F is chosen; 0 where the unit
    // leaves the calibration alone.
    float calGradientF;
    AlarmBounds alarmBounds;
    CoLimits co;              // zero on the other models
    WizardSequence wizard;

    bool has(std::uint32_t group) const { return (groups & group) == group; }
};

// nullptr for 0 and for values above 18.
const ModelInfo* findModel(int modelType);
bool isKnownModel(int modelType);

// "USB" for an unknown type (as the status heading shows it).
std::string modelName(int modelType);

// Group tests; false for unknown types.
bool modelHas(int modelType, std::uint32_t group);
inline bool is8BitModel(int m) { return modelHas(m, GROUP_8BIT); }
inline bool is16BitModel(int m) { return modelHas(m, GROUP_16BIT); }
inline bool has16BitAlarms(int m) { return modelHas(m, GROUP_16BIT_ALARM); }
inline bool isVoltageCurrentModel(int m) { return modelHas(m, GROUP_VOLTAGE_CURRENT); }
inline bool isHumidityModel(int m) { return modelHas(m, GROUP_HUMIDITY); }
inline bool isCOModel(int m) { return modelHas(m, GROUP_CO); }
inline bool isThermocoupleModel(int m) { return modelHas(m, GROUP_THERMOCOUPLE); }
inline bool isPushButtonModel(int m) { return modelHas(m, GROUP_PUSH_BUTTON); }
inline bool isWrapModel(int m) { return modelHas(m, GROUP_WRAP); }
inline bool isEventLogger(int m) { return modelHas(m, GROUP_EVENT); }
inline bool isDisplayModel(int m) { return modelHas(m, GROUP_DISPLAY); }

// The row the set-up pages follow: an unknown type is set up like a ZR-T.
const ModelInfo& setupModel(int modelType);

// The warning limits of a CO type; those of the ZR-CO for any other type.
const CoLimits& coLimits(int modelType);

// The row's columns; for unknown types 64 (a strange device is never sent
// more than the common first 64 bytes), 512 and 1.
int configWriteLength(int modelType);
int dataBlockSize(int modelType);
int sampleWidth(int modelType);

} // namespace vessor
