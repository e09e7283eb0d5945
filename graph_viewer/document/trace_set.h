// One channel of a download file with its alarm lines: the traces the chart
// draws against one value axis, and the labels that name them.
#pragma once

#include "chart_data.h"

#include <string>

namespace vessor::graph {

// Trace numbers inside a set.
enum TraceIndex { READINGS = 0, HIGH_ALARM = 1, LOW_ALARM = 2, EXTRA = 3 };

struct TraceSet {
    explicit TraceSet(int traceCount) : data(traceCount) {}

    ChartData data;
    // Texts are UTF-8 (the file's Windows-1252 decoded).
    std::string name;      // channel name: heading text before "("
    std::string unit;      // heading text between "(" and ")"
    std::string highLabel; // headings of traces 1, 2 and 3
    std::string lowLabel;
    std::string extraLabel;
    bool present = false; // the set has a channel
    bool hasHigh = false; // traces 1, 2, 3 carry data from the file
    bool hasLow = false;
    bool hasExtra = false;
    int decimals = 0; // digits after the point of the readings (primary only)

    void clear() {
        data.clear();
        name.clear();
        unit.clear();
        highLabel.clear();
        lowLabel.clear();
        extraLabel.clear();
        present = hasHigh = hasLow = hasExtra = false;
        decimals = 0;
    }
};

} // namespace vessor::graph
