// The string tables: exact texts the other parts and the user rely on.
#include "logger/models.h"
#include "logger/strings.h"

#include <gtest/gtest.h>

namespace vessor {
namespace {

TEST(Strings, UtilityTableHoldsEveryMessageExactly) {
    // Spot checks of texts with traps: trailing blank, backslash, quotes,
    // the double line break, placeholders.
    EXPECT_EQ(messageText(MSG_NO_LOGGER),
              "No Vessor USB Data Logger found, is the Data Logger:\na) Plugged in?\nb) Battery OK?\nc) USB driver installed?");
    EXPECT_EQ(messageText(MSG_HIGH_NOT_ABOVE_LOW).back(), ' ');
    EXPECT_EQ(messageText(MSG_NAME_BAD_CHARACTER).substr(messageText(MSG_NAME_BAD_CHARACTER).size() - 29),
              "\" % & * , . / : < > ? \\ | ( )");
    EXPECT_EQ(messageText(MSG_STORAGE_OF_SAMPLES), "of 16,382 samples.");
    const std::vector<int> ids = {129, 130, 131, 132, 133, 134, 135, 136, 137, 138, 139, 140, 141, 142, 143,
                                  144, 145, 146, 147, 148, 157, 158, 159, 160, 161, 162, 163, 164, 165, 166,
                                  167, 168, 169, 170, 171, 172, 173, 176, 179, 180, 185, 186};
    for (int id : ids)
        EXPECT_TRUE(hasMessage(id)) << id;
    EXPECT_FALSE(hasMessage(156));
    EXPECT_EQ(messageText(9999), "");
}

TEST(Strings, ModelNamesComeFromTheTable) {
    for (int model = 1; model <= 18; ++model) {
        const ModelInfo* info = findModel(model);
        ASSERT_NE(info, nullptr);
        EXPECT_EQ(messageText(info->nameId), info->name) << model;
        EXPECT_EQ(info->type, model);
    }
    EXPECT_EQ(modelName(0), "USB");
    EXPECT_EQ(modelName(19), "USB");
    EXPECT_EQ(replaceFirst(messageText(MSG_STATUS_HEADING), "USB", modelName(12)),
              "Current Status of the ZR-TH-D Data Logger:-");
}

TEST(Strings, ViewerTableIsSeparate) {
    EXPECT_EQ(viewerStringText(VSTR_INVALID_DATA), "The File contains invaild data.");
    EXPECT_EQ(viewerStringText(VSTR_TIME), "Time");
    EXPECT_NE(viewerStringText(130), messageText(130));
    EXPECT_EQ(viewerStringText(VSTR_APP_TITLE), "VessorGraph");
    EXPECT_NE(viewerStringText(VSTR_TOO_MANY_READINGS).find("readings.The maximum"), std::string::npos);
}

TEST(Models, GroupsMatchTheModelTable) {
    const std::vector<int> eightBit = {1, 2, 3, 12, 13, 16};
    for (int m = 1; m <= 18; ++m) {
        const bool is8 = std::find(eightBit.begin(), eightBit.end(), m) != eightBit.end();
        EXPECT_EQ(is8BitModel(m), is8) << m;
        EXPECT_EQ(is16BitModel(m), !is8) << m;
        EXPECT_EQ(has16BitAlarms(m), !is8 && m != 17) << m;
        EXPECT_EQ(configWriteLength(m), is8 ? 64 : 256) << m;
        EXPECT_EQ(dataBlockSize(m), m == 1 ? 64 : 512) << m;
        EXPECT_EQ(isWrapModel(m), (m >= 12 && m <= 16) || m == 18) << m;
        EXPECT_EQ(isPushButtonModel(m), m == 12 || m == 15 || m == 16) << m;
        EXPECT_EQ(isHumidityModel(m), m == 3 || m == 12 || m == 13 || m == 16) << m;
        EXPECT_EQ(isVoltageCurrentModel(m), m >= 4 && m <= 7) << m;
        EXPECT_EQ(isCOModel(m), m == 9 || m == 11) << m;
        EXPECT_EQ(isThermocoupleModel(m), m == 10 || m == 15) << m;
    }
    for (int m : {0, 19, 255, -1}) {
        EXPECT_EQ(findModel(m), nullptr);
        EXPECT_FALSE(isHumidityModel(m));
        EXPECT_EQ(configWriteLength(m), 64);
    }
}

} // namespace
} // namespace vessor
