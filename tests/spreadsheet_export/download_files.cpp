#include "download_files.h"

#include <cstdio>

namespace vessor::xlsx::testing {

namespace {

std::string row(int i, const char* rest)
{
    return std::to_string(i + 1) + "," + readingTime(i) + "," + rest;
}

// Numbers with a decimal point whatever the process locale.
std::string oneDecimal(int tenths)
{
    const char* sign = tenths < 0 ? "-" : "";
    const int v = tenths < 0 ? -tenths : tenths;
    return sign + std::to_string(v / 10) + "." + std::to_string(v % 10);
}

} // namespace

std::string readingTime(int i)
{
    // 10 s apart: 65535 readings stay within March 2007.
    const int total = 14 * 3600 + 30 * 60 + 10 * i;
    const int day = 5 + total / 86400;
    const int rest = total % 86400;
    char text[32];
    std::snprintf(text, sizeof text, "%02d/03/2007 %02d:%02d:%02d", day, rest / 3600, rest / 60 % 60, rest % 60);
    return text;
}

std::string temperatureFile(int readings)
{
    std::string file = "COLDROOM,Time,Celsius(\xB0"
                       "C),High Alarm,Low Alarm,Serial Number\r\n";
    for (int i = 0; i < readings; ++i) {
        const std::string fields = oneDecimal(45 - (i % 30)) + ",8.0,2.0" + (i == 0 ? ",000123456" : "");
        file += row(i, fields.c_str()) + "\r\n";
    }
    return file;
}

std::string humidityFile(int readings)
{
    std::string file = "COLDROOM,Time,Celsius(\xB0"
                       "C),High Alarm,Low Alarm,Humidity(%rh),High Alarm rh,Low Alarm rh,dew point(\xB0"
                       "C),Serial Number\r\n";
    for (int i = 0; i < readings; ++i) {
        const bool dry = i % 25 == 24;
        const std::string fields = oneDecimal(215 - (i % 10)) + ",30.0,10.0," + (dry ? "0.0" : oneDecimal(455 + i % 7)) +
                                   ",70.0,20.0," + (dry ? "Error" : oneDecimal(92 + i % 3)) + (i == 0 ? ",000123456" : "");
        file += row(i, fields.c_str()) + "\r\n";
    }
    return file;
}

std::string voltageFile(int readings)
{
    std::string file = "COLDROOM,Time,Voltage(V),High Alarm,Serial Number\r\n";
    for (int i = 0; i < readings; ++i)
        file += row(i, (std::string("12.3") + std::to_string(i % 10) + ",15.00" + (i == 0 ? ",000123456" : "")).c_str()) + "\r\n";
    return file;
}

} // namespace vessor::xlsx::testing
