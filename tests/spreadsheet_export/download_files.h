// Download files as the utility writes them (Windows-1252, CR LF), shaped
// after the file format's worked examples, with any number of readings.
#pragma once

#include <string>

namespace vessor::xlsx::testing {

// ZR-T in °C with both alarms; readings every 10 s from 05/03/2007 14:30:00.
std::string temperatureFile(int readings);
// ZR-TH in °C with temperature and humidity alarms; every 25th reading has a
// humidity of 0.0 and so "Error" as its dew point.
std::string humidityFile(int readings);
// ZR-V in V with two decimals and the high alarm only.
std::string voltageFile(int readings);
// The time of reading i (from 0) of the files above, as the file writes it.
std::string readingTime(int i);

} // namespace vessor::xlsx::testing
