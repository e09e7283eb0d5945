// The naming rule for the logger's name, shared by every naming page of the
// wizard and by `vessor-logger sim-create --name`.
#pragma once

#include <string>
#include <string_view>

namespace vessor {

// The characters a logger name may not hold, in the order message 142
// lists them.
inline constexpr std::string_view NAME_FORBIDDEN_CHARACTERS = "\"%&*,./:<>?\\|()";
inline constexpr int NAME_MAX_LENGTH = 15;

struct NameCheck {
    int messageId = 0;    // 0: accepted, else 136, 137 or 142
    std::string name;     // the accepted name, Windows-1252 bytes
    std::string message;  // the refusal as shown to the user, UTF-8
};

// The naming rule: leading blanks removed (trailing ones stay), then empty
// (136), 16 characters or more (137), a forbidden character (142). A
// character the logger cannot store (outside Windows-1252, or a control
// character that would break the download file's lines) counts as
// forbidden too; message 142 then names it, since the list of forbidden
// characters does not. `typed` is UTF-8.
NameCheck checkLoggerName(std::string_view typed);

// Message 142 naming the first character of `typed` (UTF-8) that the logger
// cannot store; empty when it can store them all. Names that only break the
// wizard's other rules (forbidden characters, length) pass.
std::string unstorableCharacterRefusal(std::string_view typed);

} // namespace vessor
