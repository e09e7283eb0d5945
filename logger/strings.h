// The string tables: every message text of both programs with its
// identifier. Texts are UTF-8 and exact (line breaks as '\n', trailing
// blanks kept); placeholders ("%s", "%d") are filled by the caller.
#pragma once

#include "user_interface.h"

#include <string>

namespace vessor {

// The configuration utility's string table.
enum MessageId : int {
    MSG_GRAPH_NOT_FOUND = 129,
    MSG_SETUP_WHILE_LOGGING = 130,
    MSG_SETUP_WHILE_DELAYED = 131,
    MSG_HIGH_NOT_ABOVE_LOW = 132,
    MSG_SETUP_NOT_DOWNLOADED = 133,
    MSG_NO_LOGGER = 134,
    MSG_COMMUNICATION_ERROR = 135,
    MSG_NAME_EMPTY = 136,
    MSG_NAME_TOO_LONG = 137,
    MSG_CONFIRM_STOP = 138,
    MSG_INCOMPATIBLE = 139,
    MSG_BATTERY_CRITICAL = 140,
    MSG_BATTERY_LOW = 141,
    MSG_NAME_BAD_CHARACTER = 142,
    MSG_TIME_NOT_IN_FUTURE = 143,
    MSG_LOGGER_REPLACED = 144,
    MSG_DATA_NOT_SAVED = 145,
    MSG_CONFIRM_STOP_DELAYED = 146,
    MSG_SENSOR_ERROR = 147,
    MSG_STATUS_HEADING = 148,
    MSG_MODEL_ZR_T = 149,
    MSG_MODEL_ZR_TH = 150,
    MSG_MODEL_ZR_V = 151,
    MSG_MODEL_ZR_A = 152,
    MSG_MODEL_ZR_T_MINI = 153,
    MSG_MODEL_ZR_CO = 154,
    MSG_MODEL_ZR_TC = 155,
    MSG_INVALID_NUMBER = 157,
    MSG_INPUTS_EQUAL = 158,
    MSG_OUTPUTS_EQUAL = 159,
    MSG_CHECK_CALIBRATION = 160,
    MSG_INPUT_OUT_OF_RANGE = 161,
    MSG_VOLTAGE_LOGGER_SET_TO = 162,
    MSG_HIGH_ALARM_ADJUSTED = 163,
    MSG_LOW_ALARM_ADJUSTED = 164,
    MSG_WARNING_LEVEL_RANGE = 165,
    MSG_WARNING_ABOVE_SAFE = 166,
    MSG_SOUNDER_DISABLED = 167,
    MSG_WARNING_ABOVE_SAFE_NO_SOUNDER = 168,
    MSG_CO_DAMAGE = 169,
    MSG_SENSOR_LIFE_INVALID = 170,
    MSG_SENSOR_LIFE_EXPIRED = 171,
    MSG_CALIBRATION_INVALID = 172,
    MSG_CALIBRATION_EXPIRED = 173,
    MSG_MODEL_ZR_CO_300 = 174,
    MSG_MODEL_ZR_TH_D = 175,
    MSG_SETUP_AWAITING_BUTTON = 176,
    MSG_MODEL_ZR_TH_X = 177,
    MSG_MODEL_ZR_T_PRO = 178,
    MSG_STORAGE_OF_SAMPLES = 179,
    MSG_STORAGE_RETAIN_LAST = 180,
    MSG_MODEL_ZR_TC_D = 181,
    MSG_MODEL_ZR_TH_DX = 182,
    MSG_MODEL_ZR_EV = 183,
    MSG_MODEL_ZR_T_RC = 184,
    MSG_BATTERY_CRITICAL_RECHARGE = 185,
    MSG_BATTERY_LOW_RECHARGE = 186,
};

// Text of a utility string; empty for an unknown id.
std::string messageText(int id);
bool hasMessage(int id);

// Shows a utility message by id (OK button) through `ui`; nothing when `ui`
// is null.
void showMessage(UserInterface* ui, int id, MessageIcon icon = MessageIcon::None);
// Asks a utility question by id; No / Cancel when `ui` is null.
Answer askMessage(UserInterface* ui, int id, MessageButtons buttons,
                  MessageIcon icon = MessageIcon::Question);

// The graph viewer's string table (its ids overlap the utility's, so it is a
// table of its own).
enum ViewerStringId : int {
    VSTR_DOCUMENT_TEMPLATE = 128,
    VSTR_INVALID_DATA = 129,
    VSTR_TIME = 130,
    VSTR_EXCEL_NOT_INSTALLED = 133,
    VSTR_NO_EXCEL_DISPATCH = 134,
    VSTR_OLE_INIT_FAILED = 135,
    VSTR_SERIAL_NUMBER = 136,
    VSTR_OPEN_FILE_FIRST = 137,
    VSTR_PERCENT_RH = 138,
    VSTR_HUMIDITY_HEADING = 141,
    VSTR_HIGH_ALARM_RH = 142,
    VSTR_LOW_ALARM_RH = 143,
    VSTR_DATA_SHEET = 144,
    VSTR_TOO_MANY_READINGS = 145,
    VSTR_APP_TITLE = 57344,
};
std::string viewerStringText(int id);
bool hasViewerString(int id);

// Replaces the first occurrence of `what` in `text` by `with` (the
// "with USB replaced by the model name" rule of several messages).
std::string replaceFirst(std::string text, const std::string& what, const std::string& with);

// Texts without an id that the programs show verbatim.
namespace text {
inline constexpr const char* NO_FILE_SELECTED = "Error:  No file selected.";
inline constexpr const char* FAILED_OPENING_FILE = "Failed opening file:\n%s";
inline constexpr const char* FILE_HAS_ZERO_LENGTH = "File has 0 length:\n%s";
inline constexpr const char* NO_DATE_SET = "No Date Set";
inline constexpr const char* ERROR_TEXT = "Error";
inline constexpr const char* UNABLE_TO_OPEN_FILE = "Unable to open the file.";
inline constexpr const char* DATA_FILE_TERMINATED = "The data file terminated unexpectedly.";
// Event files open in the desktop's text editor.
inline constexpr const char* TEXT_EDITOR_NOT_FOUND =
    "Unable to locate and load a text editor to view event data.\nTo view data, open the "
    "downloaded file with a text editor.";
inline constexpr const char* FAILED_TO_PRINT = "Error: Failed to print graph.";
inline constexpr const char* MAX_ZOOM_REACHED = "Maximum zoom level reached.";
inline constexpr const char* EVENT_FILE_QUESTION =
    "Vessor USB Graph cannot display event files. Clicking 'Yes' will open the data in "
    "the text editor.\n\nNote: To import ZR-EV data into Excel, use the following method:\n\n1. In "
    "Excel, select 'File > Open'.\n2. Locate data file (*.txt) ensuring 'All Files' is "
    "selected in 'Files of type:'; click 'Open'.\n3. In 'Text Import Wizard 1 of 3'; click "
    "'Next'.\n4. Ensure 'Comma' is checked in 'Text Import Wizard 2 of 3'; click "
    "'Finish'.\n\nFor further information consult the ZR-EV help file section 'Importing "
    "the Measurements into Other Applications'.\n\nDo you wish to open the file in the text editor?";
} // namespace text

} // namespace vessor
