// Download files, logger names and units are Windows-1252 bytes (the degree
// sign is 0xB0). Everything shown to the user is UTF-8; convert only at that
// boundary.
#pragma once

#include <string>
#include <string_view>

namespace vessor {

// Every byte maps to a character (the five unassigned bytes map to U+FFFD).
std::string cp1252ToUtf8(std::string_view bytes);

// Characters outside Windows-1252 become '?'; malformed UTF-8 bytes too.
std::string utf8ToCp1252(std::string_view utf8);

// The degree sign as stored in files and in the logger block.
constexpr char DEGREE_SIGN_CP1252 = '\xB0';

} // namespace vessor
