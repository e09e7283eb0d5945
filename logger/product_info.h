// What both programs say about themselves: version and the maker's contact
// details (About boxes, --version).
#pragma once

#include "logger/product_version.h"

namespace vessor::product {

inline constexpr const char* VERSION = VESSOR_VERSION;
inline constexpr const char* VERSION_LINE = "Vessor USB Version " VESSOR_VERSION;
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
