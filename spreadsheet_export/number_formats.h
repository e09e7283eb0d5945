// Number formats of the time cells. The sheet shows the times in the user's
// own short date and time format; the Qt side hands over the locale's
// patterns and they are turned into spreadsheet format codes here.
#pragma once

#include <string>
#include <string_view>

namespace vessor::xlsx {

struct NumberFormats {
    std::string dateTime = "dd/mm/yyyy hh:mm:ss"; // the time column
    std::string date = "dd/mm/yyyy";              // other dates (CO expiry dates)
};

// A Qt-style date or time pattern (d dd ddd dddd M MM MMM MMMM yy yyyy h hh H HH
// m mm s ss AP ap, quoted text) as a spreadsheet number format code. Time-zone
// and millisecond fields have no place in a cell format and are dropped; other
// text is quoted so that it is shown as it stands.
std::string spreadsheetFormatCode(std::string_view qtPattern);

// The formats for the user's short date pattern and time pattern.
NumberFormats userNumberFormats(std::string_view qtShortDate, std::string_view qtTime);

} // namespace vessor::xlsx
