#include "logger/logger_name.h"

#include "logger/strings.h"
#include "logger/text_encoding.h"

#include <algorithm>
#include <cstdio>

namespace vessor {

namespace {

bool isBlank(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// Characters that reached the block as '?' or as control codes cannot be
// names: the first could not be stored, the second would split the
// download file's header line.
bool isUnstorable(unsigned char c)
{
    return c < 0x20 || c == 0x7F;
}

// The length of the UTF-8 sequence a byte starts (1 for a stray byte).
std::size_t sequenceLength(unsigned char lead)
{
    if (lead < 0xC0)
        return 1;
    if (lead < 0xE0)
        return 2;
    return lead < 0xF0 ? 3 : 4;
}

// One typed character as the refusal names it: itself, or its code where it
// would not show (control characters, broken UTF-8).
std::string describeCharacter(std::string_view utf8)
{
    const auto lead = static_cast<unsigned char>(utf8.front());
    char32_t code = utf8.size() == 1 ? lead : lead & (0x7F >> utf8.size());
    bool wellFormed =
        utf8.size() == sequenceLength(lead) && (utf8.size() == 1 ? lead < 0x80 : lead >= 0xC0);
    for (std::size_t i = 1; i < utf8.size(); ++i) {
        const auto next = static_cast<unsigned char>(utf8[i]);
        wellFormed = wellFormed && (next & 0xC0) == 0x80;
        code = (code << 6) | (next & 0x3F);
    }
    if (!wellFormed)
        return "\xEF\xBF\xBD";
    if (code < 0x20 || (code >= 0x7F && code < 0xA0)) {
        char text[12];
        std::snprintf(text, sizeof text, "U+%04X", static_cast<unsigned>(code));
        return text;
    }
    return std::string(utf8);
}

// The typed characters one by one (UTF-8 sequences as typed, so that the one
// the logger cannot hold can be named: after conversion it is only a '?').
template <typename Visit>
void forEachCharacter(std::string_view typed, Visit visit)
{
    for (std::size_t at = 0; at < typed.size();) {
        const std::size_t length = sequenceLength(static_cast<unsigned char>(typed[at]));
        const std::string_view character = typed.substr(at, std::min(length, typed.size() - at));
        at += character.size();
        if (!visit(character))
            return;
    }
}

// What message 142 adds for a character the logger cannot store; empty
// when it can store it.
std::string cannotStore(std::string_view character)
{
    const std::string stored = utf8ToCp1252(character);
    if (stored.size() == 1 && stored != "?" && !isUnstorable(static_cast<unsigned char>(stored.front())))
        return {};
    return "\nThe logger cannot store the character '" + describeCharacter(character) + "'.";
}

} // namespace

std::string unstorableCharacterRefusal(std::string_view typed)
{
    std::string detail;
    forEachCharacter(typed, [&detail](std::string_view character) {
        if (!(character.size() == 1 && character.front() == '?'))
            detail = cannotStore(character);
        return detail.empty();
    });
    return detail.empty() ? std::string() : messageText(MSG_NAME_BAD_CHARACTER) + detail;
}

NameCheck checkLoggerName(std::string_view typed)
{
    NameCheck result;
    auto refuse = [&result](int messageId, const std::string& detail = {}) {
        result.messageId = messageId;
        result.message = messageText(messageId) + detail;
        return result;
    };
    std::size_t first = 0;
    while (first < typed.size() && isBlank(typed[first]))
        ++first;
    typed.remove_prefix(first);
    const std::string name = utf8ToCp1252(typed);
    if (name.empty())
        return refuse(MSG_NAME_EMPTY);
    if (name.size() > static_cast<std::size_t>(NAME_MAX_LENGTH))
        return refuse(MSG_NAME_TOO_LONG);
    std::string detail;
    bool forbidden = false;
    forEachCharacter(typed, [&](std::string_view character) {
        forbidden = character.size() == 1 &&
                    NAME_FORBIDDEN_CHARACTERS.find(character.front()) != std::string_view::npos;
        if (!forbidden)
            detail = cannotStore(character);
        return !forbidden && detail.empty();
    });
    if (forbidden || !detail.empty())
        return refuse(MSG_NAME_BAD_CHARACTER, detail);
    result.name = name;
    return result;
}

} // namespace vessor
