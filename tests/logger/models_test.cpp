// Invariants of the model table that the rest of the code relies on: the
// groups agree with the widths and lengths, every set-up sequence is well
// formed and has the pages its groups need, and the limits are ordered.
#include "logger/models.h"

#include <algorithm>
#include <iterator>

#include <gtest/gtest.h>

namespace vessor {
namespace {

using W = WizardStep;

bool hasStep(const ModelInfo& m, WizardStep step)
{
    return std::find(m.wizard.begin(), m.wizard.end(), step) != m.wizard.end();
}

TEST(ModelTable, GroupsAgreeWithWidthsAndLengths) {
    for (int type = MODEL_FIRST; type <= MODEL_LAST; ++type) {
        const ModelInfo& m = *findModel(type);
        const bool wide = m.has(GROUP_16BIT);
        EXPECT_NE(wide, m.has(GROUP_8BIT)) << type;
        EXPECT_EQ(m.sampleWidth, wide ? 2 : 1) << type;
        EXPECT_EQ(m.configWriteLength, wide ? 256 : 64) << type;
        EXPECT_EQ(m.channels, m.has(GROUP_HUMIDITY) ? 2 : 1) << type;
        EXPECT_TRUE(m.dataBlockSize == 64 || m.dataBlockSize == 512) << type;
        // Word alarm slots only where the block is written whole.
        EXPECT_EQ(m.has(GROUP_16BIT_ALARM), wide && !m.has(GROUP_EVENT)) << type;
        // The ring and delay variants are kinds of wrap storage.
        for (std::uint32_t group : {GROUP_ONE_SAMPLE_RING, GROUP_DELAY_UNTIL_READING, GROUP_DISPLAY})
            if (m.has(group)) {
                EXPECT_TRUE(m.has(GROUP_WRAP)) << type << " group " << group;
            }
        EXPECT_GT(m.factoryInterval, 0) << type;
        EXPECT_GT(m.factoryCapacity, 0) << type;
    }
}

TEST(ModelTable, LookupsReadTheRowAndStaySafeForUnknownTypes) {
    for (int type = MODEL_FIRST; type <= MODEL_LAST; ++type) {
        const ModelInfo& m = *findModel(type);
        EXPECT_EQ(configWriteLength(type), m.configWriteLength);
        EXPECT_EQ(dataBlockSize(type), m.dataBlockSize);
        EXPECT_EQ(sampleWidth(type), m.sampleWidth);
        EXPECT_EQ(&setupModel(type), &m);
    }
    for (int type : {0, MODEL_LAST + 1, 200, -1}) {
        EXPECT_EQ(configWriteLength(type), 64) << type;
        EXPECT_EQ(dataBlockSize(type), 512) << type;
        EXPECT_EQ(sampleWidth(type), 1) << type;
        EXPECT_EQ(setupModel(type).type, MODEL_ZR_T) << type;
        EXPECT_EQ(coLimits(type).warningMax, 1000) << type;
    }
}

TEST(ModelTable, EverySequenceEndsOnAFinishPageAndHoldsThePagesItsGroupsNeed) {
    for (int type = MODEL_FIRST; type <= MODEL_LAST; ++type) {
        const ModelInfo& m = *findModel(type);
        const auto end = std::find(m.wizard.begin(), m.wizard.end(), W::None);
        ASSERT_GE(std::distance(m.wizard.begin(), end), 2) << type;
        EXPECT_TRUE(std::all_of(end, m.wizard.end(), [](W s) { return s == W::None; })) << type;
        const W last = *std::prev(end);
        EXPECT_TRUE(last == W::Start || last == W::PushButtonStart) << type;
        for (auto step = m.wizard.begin(); step != std::prev(end); ++step) {
            EXPECT_NE(*step, W::Start) << type;
            EXPECT_NE(*step, W::PushButtonStart) << type;
            EXPECT_EQ(std::count(m.wizard.begin(), end, *step), 1) << type;
        }

        EXPECT_EQ(last == W::PushButtonStart, m.has(GROUP_PUSH_BUTTON)) << type;
        EXPECT_EQ(hasStep(m, W::Display), m.has(GROUP_DISPLAY)) << type;
        EXPECT_EQ(hasStep(m, W::HumidityAlarms), m.has(GROUP_HUMIDITY)) << type;
        EXPECT_EQ(hasStep(m, W::CoAlarms), m.has(GROUP_CO)) << type;
        EXPECT_EQ(hasStep(m, W::EventTrigger), m.has(GROUP_EVENT)) << type;
        EXPECT_EQ(hasStep(m, W::CustomScaling), m.has(GROUP_VOLTAGE_CURRENT)) << type;
        EXPECT_EQ(hasStep(m, W::ThermocoupleName), m.has(GROUP_THERMOCOUPLE)) << type;
        // The byte alarm page writes byte slots, the numeric page word slots
        // within bounds it knows.
        if (hasStep(m, W::TemperatureAlarms)) {
            EXPECT_FALSE(m.has(GROUP_16BIT_ALARM)) << type;
        }
        EXPECT_EQ(hasStep(m, W::NumberAlarms), m.alarmBounds.kind != AlarmBoundsKind::None) << type;
        if (hasStep(m, W::NumberAlarms)) {
            EXPECT_TRUE(m.has(GROUP_16BIT_ALARM)) << type;
        }
        if (hasStep(m, W::StorageMode)) {
            EXPECT_TRUE(m.has(GROUP_WRAP)) << type;
        }
        // The name page's unit choice sets a calibration unless the logger
        // counts in tenths of a °F whatever it shows.
        if (hasStep(m, W::Name)) {
            EXPECT_NE(m.calGradientF != 0, m.has(GROUP_TEMPERATURE_0_1F)) << type;
        }
    }
    EXPECT_EQ(setupModel(0).wizard.front(), W::Name);
}

TEST(ModelTable, LimitsAreOrdered) {
    for (int type = MODEL_FIRST; type <= MODEL_LAST; ++type) {
        const ModelInfo& m = *findModel(type);
        const AlarmBounds& b = m.alarmBounds;
        if (b.kind == AlarmBoundsKind::Fixed) {
            EXPECT_LT(b.lowC, b.highC) << type;
            EXPECT_LT(b.lowF, b.highF) << type;
        }
        if (b.kind == AlarmBoundsKind::Counts) {
            EXPECT_TRUE(b.topCount > 0 && b.topCount <= 0xFFFF) << type;
        }
        EXPECT_EQ(m.co.warningMax > 0, m.has(GROUP_CO)) << type;
        if (m.has(GROUP_CO)) {
            EXPECT_LT(m.co.keptMin, m.co.warningMax) << type;
            EXPECT_LT(m.co.noiseFloor, static_cast<float>(m.co.warningMax)) << type;
        }
        EXPECT_NE(m.calGradient, 0.0f) << type;
    }
}

} // namespace
} // namespace vessor
