// What both programs say about themselves: version and the maker's contact
// details (About boxes, --version).
#pragma once

namespace vessor::product {

inline constexpr const char* VERSION = "5.45";
inline constexpr const char* VERSION_LINE = "Vessor USB Version 5.45";
inline constexpr const char* MAKER = "Meridane Electronics";

// Rich text for the About boxes.
inline constexpr const char* CONTACT_HTML =
    "Meridane Electronics Ltd<br>"
    "Unit 7, Harrow Mill Business Park<br>"
    "Kelsford KF4 2RT, United Kingdom<br><br>"
    "Tel: +44 (0)1632 960 418<br>"
    "Email: <a href=\"mailto:support@meridane-electronics.example\">"
    "support@meridane-electronics.example</a><br>"
    "Web: <a href=\"https://www.meridane-electronics.example\">"
    "www.meridane-electronics.example</a>";

} // namespace vessor::product
