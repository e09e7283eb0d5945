// The pieces of the JSON the programs write for scripts: UTF-8 strings and
// numbers that never follow the locale.
#pragma once

#include <string>
#include <string_view>

namespace vessor {

// `text` (UTF-8) in quotes, with quotes, backslashes and control characters escaped.
void appendJsonString(std::string& out, std::string_view text);
// The shortest text that reads back as `value`; null when it is not finite.
void appendJsonNumber(std::string& out, double value);
void appendJsonInt(std::string& out, long long value);

} // namespace vessor
