// The summary of a download file: per channel the minimum, maximum, mean,
// standard deviation and mean kinetic temperature, and per alarm level the
// readings and time beyond it and its excursions. The viewer's panel, the
// report and `vessor-graph --export-summary` share it; the definitions are
// in docs/graph-viewer.md ("Summary").
//
// It reads the reader's values (or the viewer's document's, which are the
// same) through spans, over the whole file or a range of readings.
#pragma once

#include "logger/download_reader.h"

#include <climits>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace vessor::download {

// ΔH of the mean kinetic temperature unless the user gives another, kJ/mol.
inline constexpr double DEFAULT_ACTIVATION_ENERGY = 83.14472;
// The gas constant, J/(mol·K).
inline constexpr double GAS_CONSTANT = 8.314472;

enum class ChannelRole { Primary, Secondary, Extra };
// "high" and "warning" levels are crossed from below, "low" from above.
enum class AlarmKind { High, Low, Warning };

const char* roleName(ChannelRole role);
const char* alarmKindName(AlarmKind kind);

// What the summary reads: one value (or NO_VALUE) per reading.
struct AlarmColumn {
    AlarmKind kind = AlarmKind::High;
    std::string label;
    std::span<const double> levels;
};

struct ChannelColumns {
    ChannelRole role = ChannelRole::Primary;
    std::string name;
    std::string unit;
    int decimals = 0;
    std::span<const double> values;
    std::vector<AlarmColumn> alarms; // in column order
};

struct SummaryInput {
    std::string title;
    std::int64_t startTime = 0; // clock seconds of reading 0
    int interval = 1;           // seconds
    int readings = 0;           // data rows read
    std::vector<ChannelColumns> channels; // primary, secondary, extra
};

// One channel as the reader gives it (the viewer's trace sets hold the same).
struct ChannelSource {
    bool present = false;
    std::string name, unit, highLabel, lowLabel, extraLabel;
    bool hasHigh = false, hasLow = false, hasExtra = false;
    int decimals = 0;
    std::span<const double> readings, high, low, extra;
};

template <class Labelled>
ChannelSource channelSource(const Labelled& c, std::span<const double> readings, std::span<const double> high,
                            std::span<const double> low, std::span<const double> extra) {
    return {c.present, c.name,    c.unit,     c.highLabel, c.lowLabel, c.extraLabel, c.hasHigh,
            c.hasLow,  c.hasExtra, c.decimals, readings,    high,       low,          extra};
}

// The summary's channels in their order: primary, secondary, extra. The
// spans point into the sources' values.
std::vector<ChannelColumns> summaryChannels(const ChannelSource& primary, const ChannelSource& secondary);
// A read file's title, times and channels.
SummaryInput summaryInput(const DownloadData& data);
// The kind of the alarm column a low-slot heading names: LOW, else the CO
// logger's "Warning Level" (the reader's rule).
AlarmKind lowSlotKind(const std::string& label);

// Readings [from, to), from 0; clamped to the readings there are.
struct ReadingRange {
    int from = 0;
    int to = INT_MAX;
};

// Readings are numbered from 0 in the whole file, in a range too.
struct Excursion {
    int first = 0;  // first reading beyond the level
    int last = 0;   // last reading beyond it
    double extreme = 0; // the highest value of a high/warning run, the lowest of a low run
    bool openAtEnd = false; // still beyond at the last reading summarized
    int readings() const { return last - first + 1; }
};

struct AlarmSummary {
    AlarmKind kind = AlarmKind::High;
    std::string label;
    std::optional<double> level; // on the first row that has one
    int readings = 0;            // rows beyond
    int longestRun = 0;          // readings
    std::vector<Excursion> excursions;
    std::optional<int> firstAt() const {
        return excursions.empty() ? std::nullopt : std::optional<int>(excursions.front().first);
    }
};

struct ChannelSummary {
    ChannelRole role = ChannelRole::Primary;
    std::string name;
    std::string unit;
    int decimals = 0;
    int count = 0; // readings with a value
    // All empty when count is 0.
    std::optional<double> min, max, mean, stddev;
    int minAt = 0, maxAt = 0; // first occurrence
    std::optional<double> mkt; // primary °C or °F only
    std::vector<AlarmSummary> alarms;
};

struct Summary {
    std::string title;
    std::int64_t startTime = 0;
    int interval = 1;
    ReadingRange range; // clamped
    double activationEnergy = DEFAULT_ACTIVATION_ENERGY; // kJ/mol
    std::vector<ChannelSummary> channels;

    int readings() const { return range.to - range.from; }
    // Clock seconds of reading k, as the viewer's time axis places it.
    std::int64_t timeOf(int k) const { return startTime + std::int64_t{k} * interval; }
};

Summary summarize(const SummaryInput& input, ReadingRange range = {},
                  double activationEnergy = DEFAULT_ACTIVATION_ENERGY);

// Mean kinetic temperature of values in `unit` (°C or °F, else none); none
// when a value is at or below absolute zero or every term underflows.
std::optional<double> meanKineticTemperature(std::span<const double> values, const std::string& unit,
                                             double activationEnergy);

// UTF-8 JSON, one object, numbers unrounded and never in the locale's form;
// times as YYYY-MM-DDTHH:MM:SS.
std::string summaryToJson(const Summary& summary);

} // namespace vessor::download
