// Texts of the spreadsheet export that the viewer's string table does not
// hold (UTF-8; %1 and %2 are filled in by the caller). The headings it looks
// for and its numbered messages come from logger/strings.h.
#pragma once

#include <string_view>

namespace vessor::xlsx::texts {

constexpr std::string_view PROCESSING_STATUS = "Now processing File..";
constexpr std::string_view EVENT_FILE =
    "The file is an event log: its events are no readings and cannot be charted. Open it in a text editor "
    "or import it into the spreadsheet program as comma-separated text.";
constexpr std::string_view TOO_LARGE_FOR_SHEET =
    "The file has more columns or readings than a worksheet holds (16,384 columns, 1,048,575 readings).";
constexpr std::string_view CANNOT_WRITE_WORKBOOK = "Unable to write the workbook %1: %2";
constexpr std::string_view CANNOT_OPEN_WORKBOOK =
    "The workbook %1 has been written, but no spreadsheet program could be started to open it.";

} // namespace vessor::xlsx::texts
