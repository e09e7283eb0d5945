#include "models.h"

namespace vessor {
namespace {

constexpr std::uint32_t T8 = GROUP_8BIT;
constexpr std::uint32_t W16 = GROUP_16BIT | GROUP_16BIT_ALARM;
constexpr std::uint32_t HUM = GROUP_8BIT | GROUP_HUMIDITY;

using W = WizardStep;
constexpr WizardSequence SEQ_T{W::Name, W::TemperatureAlarms, W::Start};
constexpr WizardSequence SEQ_TH{W::Name, W::TemperatureAlarms, W::HumidityAlarms, W::Start};
constexpr WizardSequence SEQ_VOLTAGE{W::VoltageName, W::CustomScaling, W::NumberAlarms, W::Start};
constexpr WizardSequence SEQ_MINI{W::LiteName, W::LiteAlarms, W::Start};
constexpr WizardSequence SEQ_CO{W::CoAgreement, W::CoName, W::CoAlarms, W::Start};
constexpr WizardSequence SEQ_TC{W::ThermocoupleName, W::NumberAlarms, W::Start};
constexpr WizardSequence SEQ_TH_DISPLAY{W::Name, W::Display, W::TemperatureAlarms, W::HumidityAlarms,
                                        W::PushButtonStart};
constexpr WizardSequence SEQ_TH_X{W::Name, W::StorageMode, W::TemperatureAlarms, W::HumidityAlarms, W::Start};
constexpr WizardSequence SEQ_PRO{W::ProAgreement, W::Name, W::StorageMode, W::NumberAlarms, W::Start};
constexpr WizardSequence SEQ_TC_DISPLAY{W::ThermocoupleName, W::Display, W::NumberAlarms, W::PushButtonStart};
constexpr WizardSequence SEQ_EVENT{W::EventName, W::EventTrigger, W::EventVoltageRange, W::EventCountPeriod,
                                   W::Start};
constexpr WizardSequence SEQ_RC{W::Name, W::StorageMode, W::NumberAlarms, W::Start};

constexpr AlarmBounds NO_BOUNDS{AlarmBoundsKind::None, 0, 0, 0, 0, 0};
constexpr AlarmBounds SCALED{AlarmBoundsKind::Scaling, 0, 0, 0, 0, 0};
constexpr AlarmBounds TC_COUNTS{AlarmBoundsKind::Counts, 27000, 0, 0, 0, 0};
constexpr AlarmBounds PRO_LIMITS{AlarmBoundsKind::Fixed, 0, -40, 125, -40, 257};
constexpr AlarmBounds RC_LIMITS{AlarmBoundsKind::Fixed, 0, -20, 60, -4, 140};

constexpr CoLimits NOT_CO{0, 0, 0};
// Readings below 3 ppm are sensor noise on the ZR-CO.
constexpr CoLimits CO_1000{1000, 3, 3.0f};
// The ZR-CO-300 shows any stored level from 0 ppm up.
constexpr CoLimits CO_300{300, 0, 0};

// 8-bit temperatures count 0.5 °C or 1 °F from -40.
constexpr float T8_CAL = 0.5f;
constexpr float T8_CAL_F = 1.0f;
// ZR-T-MINI: sensor volts per count.
constexpr float MINI_CAL = 3.3f / 65535.0f;

// Humidity and one-sample wrap models use a ring of 16383 readings; the
// others fill at most 32000 bytes of memory.
//   type name  nameId quantity  groups
//   width channels write block capacity interval  cal gradient offset °F-gradient
//   alarm bounds  CO limits  set-up pages
constexpr std::array<ModelInfo, MODEL_LAST> MODELS{{
    {1, "ZR-T", 149, Quantity::Temperature, T8,
     1, 1, 64, 64, 16000, 60, T8_CAL, -40, T8_CAL_F, NO_BOUNDS, NOT_CO, SEQ_T},
    {2, "ZR-T", 149, Quantity::Temperature, T8,
     1, 1, 64, 512, 32000, 60, T8_CAL, -40, T8_CAL_F, NO_BOUNDS, NOT_CO, SEQ_T},
    {3, "ZR-TH", 150, Quantity::TemperatureHumidity, HUM,
     1, 2, 64, 512, 16000, 60, T8_CAL, -40, T8_CAL_F, NO_BOUNDS, NOT_CO, SEQ_TH},
    {4, "ZR-V", 151, Quantity::Voltage, W16 | GROUP_VOLTAGE_CURRENT,
     2, 1, 256, 512, 16000, 60, 1, 0, 0, SCALED, NOT_CO, SEQ_VOLTAGE},
    {5, "ZR-A", 152, Quantity::Current, W16 | GROUP_VOLTAGE_CURRENT,
     2, 1, 256, 512, 16000, 60, 1, 0, 0, SCALED, NOT_CO, SEQ_VOLTAGE},
    {6, "ZR-V", 151, Quantity::Voltage, W16 | GROUP_VOLTAGE_CURRENT | GROUP_TEXT_ALARMS,
     2, 1, 256, 512, 16000, 60, 1, 0, 0, SCALED, NOT_CO, SEQ_VOLTAGE},
    {7, "ZR-A", 152, Quantity::Current, W16 | GROUP_VOLTAGE_CURRENT | GROUP_TEXT_ALARMS,
     2, 1, 256, 512, 16000, 60, 1, 0, 0, SCALED, NOT_CO, SEQ_VOLTAGE},
    {8, "ZR-T-MINI", 153, Quantity::Temperature, W16 | GROUP_SENSOR_CURVE,
     2, 1, 256, 512, 16000, 60, MINI_CAL, 0, 0, NO_BOUNDS, NOT_CO, SEQ_MINI},
    {9, "ZR-CO", 154, Quantity::CarbonMonoxide, W16 | GROUP_CO,
     2, 1, 256, 512, 16000, 60, 0.25f, 0, 0, NO_BOUNDS, CO_1000, SEQ_CO},
    {10, "ZR-TC", 155, Quantity::Thermocouple, W16 | GROUP_THERMOCOUPLE | GROUP_TEMPERATURE_0_1F,
     2, 1, 256, 512, 16000, 60, 1, 0, 0, TC_COUNTS, NOT_CO, SEQ_TC},
    {11, "ZR-CO-300", 174, Quantity::CarbonMonoxide, W16 | GROUP_CO,
     2, 1, 256, 512, 16000, 1800, 0.1f, 0, 0, NO_BOUNDS, CO_300, SEQ_CO},
    {12, "ZR-TH-D", 175, Quantity::TemperatureHumidity,
     HUM | GROUP_PUSH_BUTTON | GROUP_WRAP | GROUP_DISPLAY | GROUP_DELAY_UNTIL_READING,
     1, 2, 64, 512, 16383, 60, T8_CAL, -40, T8_CAL_F, NO_BOUNDS, NOT_CO, SEQ_TH_DISPLAY},
    {13, "ZR-TH-X", 177, Quantity::TemperatureHumidity, HUM | GROUP_WRAP | GROUP_DELAY_UNTIL_READING,
     1, 2, 64, 512, 16383, 60, T8_CAL, -40, T8_CAL_F, NO_BOUNDS, NOT_CO, SEQ_TH_X},
    {14, "ZR-T-PRO", 178, Quantity::Temperature,
     W16 | GROUP_WRAP | GROUP_UNIT_FROM_OPTIONS | GROUP_WIDE_MEMORY | GROUP_ONE_SAMPLE_RING |
         GROUP_DELAY_UNTIL_READING | GROUP_NO_LED_CHOICE,
     // -40 .. 615 °C over the counts; the alarm page limits to 125.
     2, 1, 256, 512, 16383, 60, 0.01f, -40, 0.01f, PRO_LIMITS, NOT_CO, SEQ_PRO},
    {15, "ZR-TC-D", 181, Quantity::Thermocouple,
     W16 | GROUP_THERMOCOUPLE | GROUP_PUSH_BUTTON | GROUP_WRAP | GROUP_DISPLAY | GROUP_TEMPERATURE_0_1F |
         GROUP_ONE_SAMPLE_RING | GROUP_DELAY_UNTIL_READING,
     2, 1, 256, 512, 16383, 60, 1, 0, 0, TC_COUNTS, NOT_CO, SEQ_TC_DISPLAY},
    {16, "ZR-TH-DX", 182, Quantity::TemperatureHumidity,
     HUM | GROUP_PUSH_BUTTON | GROUP_WRAP | GROUP_DISPLAY | GROUP_DELAY_UNTIL_READING,
     1, 2, 64, 512, 16383, 60, T8_CAL, -40, T8_CAL_F, NO_BOUNDS, NOT_CO, SEQ_TH_DISPLAY},
    {17, "ZR-EV", 183, Quantity::Events, GROUP_16BIT | GROUP_EVENT,
     2, 1, 256, 512, 16383, 60, 1, 0, 0, NO_BOUNDS, NOT_CO, SEQ_EVENT},
    // Counts in tenths of a °F whatever it shows: the unit leaves the calibration alone.
    {18, "ZR-T-RC", 184, Quantity::Temperature,
     W16 | GROUP_WRAP | GROUP_TEMPERATURE_0_1F | GROUP_UNIT_FROM_OPTIONS | GROUP_WIDE_MEMORY |
         GROUP_RECHARGEABLE | GROUP_ONE_SAMPLE_RING,
     2, 1, 256, 512, 16383, 60, 1, 0, 0, RC_LIMITS, NOT_CO, SEQ_RC},
}};

} // namespace

const ModelInfo* findModel(int modelType) {
    if (modelType < MODEL_FIRST || modelType > MODEL_LAST)
        return nullptr;
    return &MODELS[static_cast<std::size_t>(modelType - 1)];
}

bool isKnownModel(int modelType) { return findModel(modelType) != nullptr; }

std::string modelName(int modelType) {
    const ModelInfo* info = findModel(modelType);
    return info ? info->name : "USB";
}

bool modelHas(int modelType, std::uint32_t group) {
    const ModelInfo* info = findModel(modelType);
    return info && info->has(group);
}

const ModelInfo& setupModel(int modelType) {
    const ModelInfo* info = findModel(modelType);
    return info ? *info : MODELS[MODEL_ZR_T - 1];
}

const CoLimits& coLimits(int modelType) {
    const ModelInfo* info = findModel(modelType);
    return info && info->has(GROUP_CO) ? info->co : MODELS[MODEL_ZR_CO - 1].co;
}

int configWriteLength(int modelType) {
    const ModelInfo* info = findModel(modelType);
    return info ? info->configWriteLength : 64;
}

int dataBlockSize(int modelType) {
    const ModelInfo* info = findModel(modelType);
    return info ? info->dataBlockSize : 512;
}

int sampleWidth(int modelType) {
    const ModelInfo* info = findModel(modelType);
    return info ? info->sampleWidth : 1;
}

} // namespace vessor
