// The points of a trace that drawing it at a given pixel size needs. A plot
// area is about a thousand pixels wide; a million readings put a thousand
// points in every pixel column. Per column the first, lowest, highest and
// last point (in reading order) draw the same pixels as all of them, so
// every spike stays in sight, unlike taking every n-th point. Plain C++.
#pragma once

#include "document/chart_data.h"

#include <vector>

namespace vessor::graph {

// A point to draw; y is NaN for a gap in the line.
struct DrawPoint {
    double x = 0;
    double y = 0;
    bool operator==(const DrawPoint&) const = default;
};

// Where the visible x range lies in pixels, and the size of a y pixel.
struct PixelGrid {
    double xFrom = 0;      // x at the left edge of the plot area
    double xTo = 0;        // x at the right edge
    double pixelsPerX = 0; // plot width / (xTo - xFrom)
    double pixelsPerY = 0; // plot height / y span of the axis
    bool operator==(const PixelGrid&) const = default;
};

enum class ReduceFor {
    Lines,   // a line alone: per column first, lowest, highest, last; flat runs become one segment
    Markers, // a point marker on every point: only points on the pixel just marked are left out
};

struct ReducedTrace {
    std::vector<DrawPoint> line; // the trace's points in x order, gaps as NaN
    std::vector<DrawPoint> lone; // values with gaps on both sides: dots, as no line shows them
};

// Points [0, lastPoint] of a trace, from the last point before the visible
// range to the first after it. False (and nothing reduced) when the trace's
// x values are not in ascending order or the grid is degenerate: the caller
// then draws every point.
bool reduceTrace(const ChartData& data, int trace, const PixelGrid& grid, ReduceFor mode,
                 ReducedTrace& out);

} // namespace vessor::graph
