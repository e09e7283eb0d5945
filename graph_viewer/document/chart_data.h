// The points the chart draws: a fixed number of traces, each a list of
// (x, y) points addressed by index, a display state and a last-point index.
// Plain C++ so that the reader can be built and fuzzed without Qt.
#pragma once

#include "logger/download_reader.h"

#include <cstdint>
#include <vector>

namespace vessor::graph {

// The y value of a point the file does not give (an alarm level that is not
// set, a dew point of "Error"). The chart leaves a gap there.
using download::isNoValue;
using download::NO_VALUE;

enum class Display { Shown = 1, Hidden = 2 };

class ChartData {
public:
    explicit ChartData(int traceCount);

    int traceCount() const { return static_cast<int>(traces_.size()); }

    // Empties every trace and hides it.
    void clear();

    // Reserves room for `points` points; writing past it still grows the trace.
    void reserve(int trace, int points);

    // Sets point `index` of a trace, growing the trace (with missing points)
    // when the index lies past its end. Bad trace numbers or indexes are ignored.
    void setPoint(int trace, int index, double x, double y);

    // Replaces a trace's points: y values in order, point i at x = i * xStep.
    // The x values are not stored: a million readings cost their y values only.
    void setTrace(int trace, std::vector<double> ys, double xStep);

    int pointCount(int trace) const;
    // NO_VALUE for a point that does not exist.
    double xValue(int trace, int index) const;
    double yValue(int trace, int index) const;
    const std::vector<double>& ys(int trace) const;
    // Whether point i lies at x = i * xStep (a trace set by setTrace).
    bool evenlySpaced(int trace) const;
    double xStep(int trace) const;
    // Index of the first of points [0, count) whose x is not below `x`
    // (count when none is), for x values in ascending order.
    int lowerBound(int trace, int count, double x) const;

    Display display(int trace) const;
    void setDisplay(int trace, Display display);

    // Index of the last point drawn; without one set, the last point held.
    int lastPoint(int trace) const;
    void setLastPoint(int trace, int index);

    // Grows whenever a point changes, so a chart can tell when to copy anew.
    std::uint64_t pointsRevision() const { return pointsRevision_; }

private:
    struct Trace {
        std::vector<double> x; // empty while the points are evenly spaced
        std::vector<double> y;
        double xStep = 0;
        bool even = true;
        Display display = Display::Hidden;
        int lastPoint = -1; // -1: not set
    };
    bool valid(int trace) const { return trace >= 0 && trace < traceCount(); }
    // Stores the x values of an evenly spaced trace, before one point moves.
    static void spellOutX(Trace& t);

    std::vector<Trace> traces_;
    std::uint64_t pointsRevision_ = 0;
};

} // namespace vessor::graph
