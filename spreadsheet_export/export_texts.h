// The texts of the spreadsheet export: the headings it looks for in a
// download file and the messages it shows (UTF-8; %1 is filled in by the
// caller).
#pragma once

#include <string_view>

namespace vessor::xlsx::texts {

// Headings of the download file (compared ignoring case).
constexpr std::string_view TIME_HEADING = "Time";                               // 130
constexpr std::string_view SERIAL_NUMBER_HEADING = "Serial Number";             // 136
constexpr std::string_view HUMIDITY_HEADING = "Humidity(%rh)";                  // 141
constexpr std::string_view HUMIDITY_HIGH_ALARM_HEADING = "High Alarm rh";       // 142
constexpr std::string_view HUMIDITY_LOW_ALARM_HEADING = "Low Alarm rh";         // 143
constexpr std::string_view DATA_SHEET_NAME = "Data";                            // 144

// Messages.
constexpr std::string_view NO_FILE_ON_SHOW = "Open the data file before exporting data to Excel."; // 137
constexpr std::string_view MANY_CHARTS =                                                            // 145
    "Warning: The file contains more than 32000 readings.The maximum number of points in an Excel "
    "2-D chart data series is 32000. Therefore %d charts will be generated to show all the readings.";
constexpr std::string_view PROCESSING_STATUS = "Now processing File..";
constexpr std::string_view CANNOT_OPEN_FILE = "Unable to open the file.";
constexpr std::string_view INVALID_DATA = "The File contains invaild data."; // 129
constexpr std::string_view EVENT_FILE =
    "The file you are trying to open is an event log which cannot be displayed in Vessor USB Graph.";
constexpr std::string_view CANNOT_WRITE_WORKBOOK = "Unable to write the workbook %1: %2";
constexpr std::string_view CANNOT_OPEN_WORKBOOK =
    "The workbook %1 has been written, but no spreadsheet program could be started to open it.";

} // namespace vessor::xlsx::texts
