// The naming rule for the logger's name, shared by the wizard's naming pages
// and `vessor-logger sim-create --name`.
#include "logger/logger_name.h"
#include "logger/strings.h"

#include <gtest/gtest.h>

#include <string>

namespace vessor {
namespace {

struct NameCase {
    const char* label;
    std::string typed;  // UTF-8
    int messageId;
    std::string stored; // Windows-1252
    std::string named = {};  // the character message 142 names, if any
};

class NamingRule : public ::testing::TestWithParam<NameCase> {};

TEST_P(NamingRule, TrimsAndChecksInOrder)
{
    const NameCase& c = GetParam();
    const NameCheck check = checkLoggerName(c.typed);
    EXPECT_EQ(check.messageId, c.messageId);
    EXPECT_EQ(check.name, c.stored);
    std::string message = c.messageId ? messageText(c.messageId) : "";
    if (!c.named.empty())
        message += "\nThe logger cannot store the character '" + c.named + "'.";
    EXPECT_EQ(check.message, message);
    // A name the logger can store every character of passes the command
    // line's check, whatever else the wizard refuses.
    if (!c.named.empty()) {
        EXPECT_EQ(unstorableCharacterRefusal(c.typed), message);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NamingRule,
    ::testing::Values(
        NameCase{"plain", "Outside Temp", 0, "Outside Temp"},
        NameCase{"leading_blanks_go", "   Fridge", 0, "Fridge"},
        NameCase{"leading_tab_goes", "\tFridge", 0, "Fridge"},
        NameCase{"trailing_blanks_stay", "Fridge  ", 0, "Fridge  "},
        NameCase{"fifteen_characters", "ABCDEFGHIJKLMNO", 0, "ABCDEFGHIJKLMNO"},
        NameCase{"trailing_blanks_count", "ABCDEFGHIJKLMN  ", MSG_NAME_TOO_LONG, ""},
        NameCase{"sixteen_characters", "ABCDEFGHIJKLMNOP", MSG_NAME_TOO_LONG, ""},
        NameCase{"length_before_characters", "ABCDEFGHIJKLMN.P", MSG_NAME_TOO_LONG, ""},
        NameCase{"empty", "", MSG_NAME_EMPTY, ""},
        NameCase{"only_blanks", "    ", MSG_NAME_EMPTY, ""},
        NameCase{"semicolon_allowed", "Room;1", 0, "Room;1"},
        NameCase{"full_stop", "Room.1", MSG_NAME_BAD_CHARACTER, ""},
        NameCase{"latin1_stored_as_cp1252", "K\xC3\xBChl \xC2\xB0", 0, "K\xFChl \xB0"},
        NameCase{"euro_sign", "\xE2\x82\xAC" "5", 0, "\x80" "5"},
        // Characters the logger cannot store are named after message 142;
        // the first offending character decides.
        NameCase{"outside_cp1252", "Ohm \xCE\xA9", MSG_NAME_BAD_CHARACTER, "", "\xCE\xA9"},
        NameCase{"emoji", "Tank \xF0\x9F\x90\x9F", MSG_NAME_BAD_CHARACTER, "", "\xF0\x9F\x90\x9F"},
        NameCase{"unassigned_cp1252_slot", "A\xC2\x81", MSG_NAME_BAD_CHARACTER, "", "U+0081"},
        NameCase{"control_character", std::string("Bad\rName"), MSG_NAME_BAD_CHARACTER, "", "U+000D"},
        NameCase{"delete_character", std::string("Bad\x7FName"), MSG_NAME_BAD_CHARACTER, "", "U+007F"},
        NameCase{"broken_utf8", std::string("Bad\xC3"), MSG_NAME_BAD_CHARACTER, "", "\xEF\xBF\xBD"},
        NameCase{"forbidden_first", "a/\xCE\xA9", MSG_NAME_BAD_CHARACTER, ""},
        NameCase{"unstorable_first", "\xCE\xA9/a", MSG_NAME_BAD_CHARACTER, "", "\xCE\xA9"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(NamingRule, EveryForbiddenCharacterIsRefusedAndTheMessageListsThemAll)
{
    ASSERT_EQ(NAME_FORBIDDEN_CHARACTERS.size(), 15u);
    std::string listed;
    for (const char c : NAME_FORBIDDEN_CHARACTERS) {
        EXPECT_EQ(checkLoggerName(std::string("A") + c + "B").messageId, MSG_NAME_BAD_CHARACTER) << c;
        if (!listed.empty())
            listed += ' ';
        listed += c;
    }
    EXPECT_EQ(messageText(MSG_NAME_BAD_CHARACTER),
              "The Logger Name contains a character that is not supported.\nUnsupported characters are " + listed);
}

// `sim-create --name` refuses only what the logger cannot store: the first
// such character, even behind a forbidden one.
TEST(NamingRule, UnstorableCharactersAloneForTheCommandLine)
{
    const std::string refusal = messageText(MSG_NAME_BAD_CHARACTER) + "\nThe logger cannot store the character '";
    const struct {
        std::string typed;
        std::string named;  // empty: accepted
    } cases[] = {
        {"Room.1", ""},
        {"ABCDEFGHIJKLMNOPQRS", ""},
        {"", ""},
        {"What?", ""},
        {"a/\xCE\xA9", "\xCE\xA9"},
        {"\xE6\x97\xA5\xE6\x9C\xAC", "\xE6\x97\xA5"},
        {"Bell\x07", "U+0007"},
        {"Esc\x1B[2J", "U+001B"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(unstorableCharacterRefusal(c.typed), c.named.empty() ? "" : refusal + c.named + "'.") << c.typed;
    }
}

} // namespace
} // namespace vessor
