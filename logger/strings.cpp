#include "strings.h"

#include <map>

namespace vessor {
namespace {

const std::map<int, const char*>& utilityTable() {
    static const std::map<int, const char*> table{
        {MSG_GRAPH_NOT_FOUND,
         "Unable to locate and load the Vessor Graph program.\nEnsure that the vessor-graph program "
         "is installed in the same directory\nas vessor-usb"},
        {MSG_SETUP_WHILE_LOGGING,
         "The USB Data Logger is currently logging.\nEntering set-up will stop the log & data may "
         "be lost.\nDo you wish to continue?"},
        {MSG_SETUP_WHILE_DELAYED,
         "The USB Data Logger is currently in delayed start.\nEntering set-up will stop the log & "
         "data may be lost.\nDo you wish to continue?"},
        {MSG_HIGH_NOT_ABOVE_LOW,
         "Configuration Error.\nThe High Alarm must be set greater than the Low Alarm. "},
        {MSG_SETUP_NOT_DOWNLOADED,
         "The USB Data Logger contains data that has not been downloaded.\nEntering set-up may "
         "cause data to be lost."},
        {MSG_NO_LOGGER,
         "No Vessor USB Data Logger found, is the Data Logger:\na) Plugged in?\nb) Battery OK?\nc) "
         "USB driver installed?"},
        {MSG_COMMUNICATION_ERROR,
         "An error occurred whilst communicating with the logger.\nRe-insert the logger and try "
         "again.\nIf the problem persists, contact your supplier for further help.\n(See About box "
         "for contact details)"},
        {MSG_NAME_EMPTY,
         "The Logger does not have a name to identify it.\nPlease enter a Logger Name."},
        {MSG_NAME_TOO_LONG, "The Logger Name is too long.\nMaximum length is 15 characters."},
        {MSG_CONFIRM_STOP,
         "Are you sure you wish to STOP the USB Data Logger?\nData will be saved to your PC."},
        {MSG_INCOMPATIBLE,
         "The USB device currently connected is not compatible with this version of the "
         "software.\nContact your supplier for further assistance.\n(See About box for contact "
         "details)"},
        {MSG_BATTERY_CRITICAL,
         "Warning:- The battery is critically low.\nLogging may have stopped early.\nThe battery "
         "must be replaced before starting another log."},
        {MSG_BATTERY_LOW,
         "Warning:- The battery is low.\nIt is recommended that the battery is replaced before "
         "starting another log."},
        {MSG_NAME_BAD_CHARACTER,
         "The Logger Name contains a character that is not supported.\nUnsupported characters "
         "are \" % & * , . / : < > ? \\ | ( )"},
        {MSG_TIME_NOT_IN_FUTURE, "Time set must be in the future.\nPlease enter a valid time."},
        {MSG_LOGGER_REPLACED,
         "The Data Logger that you were configuring has\nbeen removed from the port and replaced "
         "with another.\nPlease replace the original Data Logger."},
        {MSG_DATA_NOT_SAVED, "Warning:- The data from the logger may not have been saved to your PC."},
        {MSG_CONFIRM_STOP_DELAYED,
         "The USB Data Logger is currently in delayed start.\nAre you sure you wish to STOP this?"},
        {MSG_SENSOR_ERROR,
         "During the last logging session a sensor error occurred.\nContact your supplier for "
         "further help.\n(See About box for contact details)"},
        {MSG_STATUS_HEADING, "Current Status of the USB Data Logger:-"},
        {MSG_MODEL_ZR_T, "ZR-T"},
        {MSG_MODEL_ZR_TH, "ZR-TH"},
        {MSG_MODEL_ZR_V, "ZR-V"},
        {MSG_MODEL_ZR_A, "ZR-A"},
        {MSG_MODEL_ZR_T_MINI, "ZR-T-MINI"},
        {MSG_MODEL_ZR_CO, "ZR-CO"},
        {MSG_MODEL_ZR_TC, "ZR-TC"},
        {MSG_INVALID_NUMBER, "Please enter a valid number."},
        {MSG_INPUTS_EQUAL, "The input values entered must be different."},
        {MSG_OUTPUTS_EQUAL, "The graph output values must be different."},
        {MSG_CHECK_CALIBRATION, "Please check that the entered calibration values are valid."},
        {MSG_INPUT_OUT_OF_RANGE, "Entered value must be within the logger's input range."},
        {MSG_VOLTAGE_LOGGER_SET_TO, "The USB Voltage Data Logger is set to:-"},
        {MSG_HIGH_ALARM_ADJUSTED, "High alarm value out of range. Adjusting Automatically."},
        {MSG_LOW_ALARM_ADJUSTED, "Low alarm value out of range. Adjusting Automatically."},
        {MSG_WARNING_LEVEL_RANGE, "Error:- Warning Level out of range.\n(Range: 3-1000ppm)"},
        {MSG_WARNING_ABOVE_SAFE,
         "Attention:- The Warning Level has been set higher than the recommended 50ppm safety "
         "level.\nAre you sure you wish to continue?"},
        {MSG_SOUNDER_DISABLED,
         "Attention:- The Sounder has been disabled.\nAre you sure you wish to continue?"},
        {MSG_WARNING_ABOVE_SAFE_NO_SOUNDER,
         "Attention:- The Warning Level has been set higher than the recommended 50ppm safety "
         "level\nand the Sounder has been disabled. Are you sure you wish to continue?"},
        {MSG_CO_DAMAGE,
         "The logger has been exposed to damaging concentrations of CO.\nContact your supplier "
         "for further help.\n(See About box for contact details)"},
        {MSG_SENSOR_LIFE_INVALID,
         "The USB device currently connected has invalid Sensor life data.\nContact your "
         "supplier for further assistance.\n(See About box for contact details)"},
        {MSG_SENSOR_LIFE_EXPIRED,
         "The Sensor of the currently connected USB device has exceeded its life.\nIt is "
         "recommended that the unit is replaced.\nContact your supplier for further "
         "assistance.\n(See About box for contact details)"},
        {MSG_CALIBRATION_INVALID,
         "The USB device currently connected has invalid calibration period data.\nIt is "
         "recommended that the device is calibrated.\nContact your supplier for further "
         "assistance.\n(See About box for contact details)"},
        {MSG_CALIBRATION_EXPIRED,
         "The Sensor of the currently connected USB device has exceeded its calibration "
         "period.\nIt is recommended that the device is calibrated.\nContact your supplier for "
         "further assistance.\n(See About box for contact details)"},
        {MSG_MODEL_ZR_CO_300, "ZR-CO-300"},
        {MSG_MODEL_ZR_TH_D, "ZR-TH-D"},
        {MSG_SETUP_AWAITING_BUTTON,
         "The USB Data Logger is currently in push button\nto start mode. Entering set-up will "
         "stop the logger.\nDo you wish to continue?"},
        {MSG_MODEL_ZR_TH_X, "ZR-TH-X"},
        {MSG_MODEL_ZR_T_PRO, "ZR-T-PRO"},
        {MSG_STORAGE_OF_SAMPLES, "of 16,382 samples."},
        {MSG_STORAGE_RETAIN_LAST, "retain the last 16,382 samples."},
        {MSG_MODEL_ZR_TC_D, "ZR-TC-D"},
        {MSG_MODEL_ZR_TH_DX, "ZR-TH-DX"},
        {MSG_MODEL_ZR_EV, "ZR-EV"},
        {MSG_MODEL_ZR_T_RC, "ZR-T-RC"},
        {MSG_BATTERY_CRITICAL_RECHARGE,
         "Warning:- The battery is critically low.\nLogging may have stopped early.\nThe battery "
         "must be recharged before starting another log."},
        {MSG_BATTERY_LOW_RECHARGE,
         "Warning:- The battery is low.\nIt is recommended that the battery is recharged before "
         "starting another log."},
    };
    return table;
}

const std::map<int, const char*>& viewerTable() {
    static const std::map<int, const char*> table{
        {VSTR_DOCUMENT_TEMPLATE,
         "Vessor USB Graph\n\nVessorGraph\nVessorGraph Files (*.txt)\n.txt\nVessorGraph.Document\n"
         "VessorGraph.Document"},
        {VSTR_INVALID_DATA, "The File contains invaild data."},
        {VSTR_TIME, "Time"},
        {VSTR_EXCEL_NOT_INSTALLED, "Excel is not installed on the system."},
        {VSTR_NO_EXCEL_DISPATCH, "Failed to get IDispatch of Excel."},
        {VSTR_OLE_INIT_FAILED, "Failed to initialize OLE Libraries."},
        {VSTR_SERIAL_NUMBER, "Serial Number"},
        {VSTR_OPEN_FILE_FIRST, "Open the data file before exporting data to Excel."},
        {VSTR_PERCENT_RH, "%rh"},
        {VSTR_HUMIDITY_HEADING, "Humidity(%rh)"},
        {VSTR_HIGH_ALARM_RH, "High Alarm rh"},
        {VSTR_LOW_ALARM_RH, "Low Alarm rh"},
        {VSTR_DATA_SHEET, "Data"},
        {VSTR_TOO_MANY_READINGS,
         "Warning: The file contains more than 32000 readings.The maximum number of points in an "
         "Excel 2-D chart data series is 32000. Therefore %d charts will be generated to show all "
         "the readings."},
        {VSTR_APP_TITLE, "VessorGraph"},
    };
    return table;
}

std::string lookup(const std::map<int, const char*>& table, int id) {
    const auto it = table.find(id);
    return it == table.end() ? std::string() : std::string(it->second);
}

} // namespace

std::string messageText(int id) { return lookup(utilityTable(), id); }

bool hasMessage(int id) { return utilityTable().count(id) != 0; }

std::string viewerStringText(int id) { return lookup(viewerTable(), id); }

bool hasViewerString(int id) { return viewerTable().count(id) != 0; }

void showMessage(UserInterface* ui, int id, MessageIcon icon) {
    if (ui)
        ui->showMessage(messageText(id), icon);
}

Answer askMessage(UserInterface* ui, int id, MessageButtons buttons, MessageIcon icon) {
    if (!ui)
        return buttons == MessageButtons::OkCancel ? Answer::Cancel : Answer::No;
    return ui->ask(messageText(id), buttons, icon);
}

std::string replaceFirst(std::string text, const std::string& what, const std::string& with) {
    if (what.empty())
        return text;
    const auto at = text.find(what);
    if (at != std::string::npos)
        text.replace(at, what.size(), with);
    return text;
}

} // namespace vessor
