#include "models.h"

#include <array>

namespace vessor {
namespace {

constexpr std::uint32_t T8 = GROUP_8BIT | GROUP_UNIT_BYTE;
constexpr std::uint32_t W16 = GROUP_16BIT | GROUP_16BIT_ALARM;
constexpr std::uint32_t HUM = GROUP_8BIT | GROUP_HUMIDITY | GROUP_UNIT_BYTE;

// Humidity and one-sample wrap models use a ring of 16383 readings; the
// others fill at most 32000 bytes of memory.
constexpr std::array<ModelInfo, MODEL_LAST> MODELS{{
    {1, "ZR-T", 149, Quantity::Temperature, "temperature, 64-byte data blocks",
     T8, 1, 1, 64, 64, AlarmKind::Byte, "\u00B0C", 16000},
    {2, "ZR-T", 149, Quantity::Temperature, "temperature",
     T8, 1, 1, 64, 512, AlarmKind::Byte, "\u00B0C", 32000},
    {3, "ZR-TH", 150, Quantity::TemperatureHumidity, "temperature and humidity",
     HUM, 1, 2, 64, 512, AlarmKind::ByteWithHumidity, "\u00B0C", 16000},
    {4, "ZR-V", 151, Quantity::Voltage, "voltage, custom scaling",
     W16 | GROUP_VOLTAGE_CURRENT, 2, 1, 256, 512, AlarmKind::Word, "V", 16000},
    {5, "ZR-A", 152, Quantity::Current, "current, custom scaling",
     W16 | GROUP_VOLTAGE_CURRENT, 2, 1, 256, 512, AlarmKind::Word, "mA", 16000},
    {6, "ZR-V", 151, Quantity::Voltage, "voltage, alarms kept as text",
     W16 | GROUP_VOLTAGE_CURRENT | GROUP_TEXT_ALARMS, 2, 1, 256, 512, AlarmKind::Word, "V", 16000},
    {7, "ZR-A", 152, Quantity::Current, "current, alarms kept as text",
     W16 | GROUP_VOLTAGE_CURRENT | GROUP_TEXT_ALARMS, 2, 1, 256, 512, AlarmKind::Word, "mA", 16000},
    {8, "ZR-T-MINI", 153, Quantity::Temperature, "temperature, sensor curve",
     W16, 2, 1, 256, 512, AlarmKind::Word, "\u00B0C", 16000},
    {9, "ZR-CO", 154, Quantity::CarbonMonoxide, "carbon monoxide ppm",
     W16 | GROUP_CO, 2, 1, 256, 512, AlarmKind::Word, "ppm", 16000},
    {10, "ZR-TC", 155, Quantity::Thermocouple, "thermocouple temperature",
     W16 | GROUP_THERMOCOUPLE | GROUP_TEMPERATURE_0_1F, 2, 1, 256, 512, AlarmKind::Word, "\u00B0C", 16000},
    {11, "ZR-CO-300", 174, Quantity::CarbonMonoxide, "carbon monoxide ppm, 300 ppm range",
     W16 | GROUP_CO, 2, 1, 256, 512, AlarmKind::Word, "ppm", 16000},
    {12, "ZR-TH-D", 175, Quantity::TemperatureHumidity, "temperature and humidity, display, push-button",
     HUM | GROUP_PUSH_BUTTON | GROUP_WRAP | GROUP_DISPLAY, 1, 2, 64, 512,
     AlarmKind::ByteWithHumidity, "\u00B0C", 16383},
    {13, "ZR-TH-X", 177, Quantity::TemperatureHumidity, "temperature and humidity",
     HUM | GROUP_WRAP, 1, 2, 64, 512, AlarmKind::ByteWithHumidity, "\u00B0C", 16383},
    {14, "ZR-T-PRO", 178, Quantity::Temperature, "temperature",
     W16 | GROUP_WRAP | GROUP_UNIT_BYTE, 2, 1, 256, 512, AlarmKind::Word, "\u00B0C", 16383},
    {15, "ZR-TC-D", 181, Quantity::Thermocouple, "thermocouple, display, push-button",
     W16 | GROUP_THERMOCOUPLE | GROUP_PUSH_BUTTON | GROUP_WRAP | GROUP_DISPLAY | GROUP_TEMPERATURE_0_1F,
     2, 1, 256, 512, AlarmKind::Word, "\u00B0C", 16383},
    {16, "ZR-TH-DX", 182, Quantity::TemperatureHumidity, "temperature and humidity, display, push-button",
     HUM | GROUP_PUSH_BUTTON | GROUP_WRAP | GROUP_DISPLAY, 1, 2, 64, 512,
     AlarmKind::ByteWithHumidity, "\u00B0C", 16383},
    {17, "ZR-EV", 183, Quantity::Events, "events, state changes or counts",
     GROUP_16BIT | GROUP_EVENT, 2, 1, 256, 512, AlarmKind::None, "", 16383},
    {18, "ZR-T-RC", 184, Quantity::Temperature, "temperature, rechargeable battery",
     W16 | GROUP_WRAP | GROUP_TEMPERATURE_0_1F, 2, 1, 256, 512, AlarmKind::Word, "\u00B0C", 16383},
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

int configWriteLength(int modelType) { return is16BitModel(modelType) ? 256 : 64; }

int dataBlockSize(int modelType) { return modelType == MODEL_ZR_T_64 ? 64 : 512; }

int sampleWidth(int modelType) { return is16BitModel(modelType) ? 2 : 1; }

} // namespace vessor
