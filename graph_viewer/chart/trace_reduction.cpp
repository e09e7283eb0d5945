#include "trace_reduction.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace vessor::graph {

namespace {

constexpr double GAP = std::numeric_limits<double>::quiet_NaN();

bool ascending(const ChartData& data, int trace, int count) {
    double previous = -std::numeric_limits<double>::infinity();
    for (int i = 0; i < count; ++i) {
        const double x = data.xValue(trace, i);
        if (!(x >= previous))
            return false;
        previous = x;
    }
    return true;
}

// One pass over the points [begin, end), x values from `xOf`.
template <typename XOf> class Reducer {
public:
    Reducer(const std::vector<double>& ys, int count, XOf xOf, const PixelGrid& grid,
            ReduceFor mode, ReducedTrace& out)
        : ys_(ys), count_(count), xOf_(xOf), grid_(grid), mode_(mode), out_(out) {}

    // Column by column: a column without gaps or odd values in one tight
    // pass for its lowest and highest point, any other the careful way.
    void byColumns(int begin, int end) {
        int width = 1;
        for (int start = begin; start < end;) {
            const double column = columnOf(start);
            const int stop = columnEnd(start, end, column, width);
            width = stop - start;
            if (mode_ != ReduceFor::Lines || width < 2 || !plainColumn(start, stop))
                run(start, stop);
            start = stop;
        }
    }

    void run(int begin, int end) {
        bool previous = drawable(begin - 1, xOf_(begin - 1));
        for (int i = begin; i < end; ++i) {
            const double x = xOf_(i);
            if (!drawable(i, x)) {
                endRun();
                gap(x);
                previous = false;
                continue;
            }
            const double y = ys_[static_cast<std::size_t>(i)];
            const double column = std::floor((x - grid_.xFrom) * grid_.pixelsPerX);
            if (!previous && !drawable(i + 1, xOf_(i + 1)))
                lonePoint(x, y, column);
            previous = true;
            if (mode_ == ReduceFor::Markers) {
                markedPoint(x, y, column);
                continue;
            }
            if (inRun_ && column == column_) {
                const double lowest = ys_[static_cast<std::size_t>(low_)];
                const double highest = ys_[static_cast<std::size_t>(high_)];
                if (y < lowest)
                    low_ = i;
                if (y > highest)
                    high_ = i;
                last_ = i;
                continue;
            }
            endRun();
            inRun_ = true;
            column_ = column;
            first_ = low_ = high_ = last_ = i;
        }
        endRun();
    }

private:
    double columnOf(int i) const { return std::floor((xOf_(i) - grid_.xFrom) * grid_.pixelsPerX); }

    // The first point after `start` in a later column than `column`; the
    // search starts from the width of the column before.
    int columnEnd(int start, int end, double column, int width) const {
        int low = start + 1;
        std::int64_t reach = std::max(1, width);
        int high = static_cast<int>(std::min<std::int64_t>(start + reach, end));
        while (high < end && !(columnOf(high) > column)) {
            low = high + 1;
            reach *= 2;
            high = static_cast<int>(std::min<std::int64_t>(start + reach, end));
        }
        while (low < high) {
            const int middle = low + (high - low) / 2;
            if (columnOf(middle) > column)
                high = middle;
            else
                low = middle + 1;
        }
        return low;
    }

    // Points [start, stop) of one column, at least two: false, and nothing
    // drawn, when one of them is missing or no finite number.
    bool plainColumn(int start, int stop) {
        // Four interleaved scans keep the processor busy; each keeps its
        // first lowest and highest, and the earliest of equals wins after.
        constexpr int LANES = 4;
        const double* y = ys_.data();
        double lowest[LANES], highest[LANES];
        int low[LANES], high[LANES];
        bool odd = false;
        for (int k = 0; k < LANES; ++k) {
            const int i = std::min(start + k, stop - 1);
            lowest[k] = highest[k] = y[i];
            low[k] = high[k] = i;
        }
        int i = start;
        for (; i + LANES <= stop; i += LANES) {
            for (int k = 0; k < LANES; ++k) {
                const double v = y[i + k];
                odd |= v != v;
                if (v < lowest[k]) {
                    lowest[k] = v;
                    low[k] = i + k;
                }
                if (v > highest[k]) {
                    highest[k] = v;
                    high[k] = i + k;
                }
            }
        }
        for (; i < stop; ++i) {
            const double v = y[i];
            odd |= v != v;
            if (v < lowest[0]) {
                lowest[0] = v;
                low[0] = i;
            }
            if (v > highest[0]) {
                highest[0] = v;
                high[0] = i;
            }
        }
        for (int k = 1; k < LANES; ++k) {
            if (lowest[k] < lowest[0] || (lowest[k] == lowest[0] && low[k] < low[0])) {
                lowest[0] = lowest[k];
                low[0] = low[k];
            }
            if (highest[k] > highest[0] || (highest[k] == highest[0] && high[k] < high[0])) {
                highest[0] = highest[k];
                high[0] = high[k];
            }
        }
        // NO_VALUE and infinity are above every reading, minus infinity below.
        if (odd || !(highest[0] < NO_VALUE) ||
            !(lowest[0] > -std::numeric_limits<double>::infinity()))
            return false;
        const int lowestAt = low[0], highestAt = high[0];
        first_ = start;
        low_ = lowestAt;
        high_ = highestAt;
        last_ = stop - 1;
        inRun_ = true;
        endRun();
        return true;
    }

    bool drawable(int i, double x) const {
        if (i < 0 || i >= count_)
            return false;
        const double y = ys_[static_cast<std::size_t>(i)];
        return !isNoValue(y) && std::isfinite(y) && !isNoValue(x) && std::isfinite(x);
    }

    double row(double y) const {
        return std::isfinite(grid_.pixelsPerY) && grid_.pixelsPerY > 0
                   ? std::floor(y * grid_.pixelsPerY)
                   : y;
    }

    void push(double x, double y) {
        std::vector<DrawPoint>& line = out_.line;
        const std::size_t n = line.size();
        // Inner points of a flat stretch draw nothing a segment would not.
        if (mode_ == ReduceFor::Lines && n >= 2 && line[n - 1].y == y && line[n - 2].y == y) {
            line[n - 1].x = x;
            return;
        }
        line.push_back({x, y});
    }

    void gap(double x) {
        marked_ = false;
        std::vector<DrawPoint>& line = out_.line;
        if (line.empty() || std::isnan(line.back().y))
            return;
        // Keys stay in order: a gap without an x of its own sits at the last point.
        line.push_back({std::isfinite(x) && !isNoValue(x) ? x : line.back().x, GAP});
    }

    // The run of points in the current column: first, lowest, highest, last, in reading order.
    void endRun() {
        if (!inRun_)
            return;
        inRun_ = false;
        int order[4] = {first_, low_, high_, last_};
        std::sort(order, order + 4);
        const int* end = std::unique(order, order + 4);
        for (const int* i = order; i != end; ++i)
            push(xOf_(*i), ys_[static_cast<std::size_t>(*i)]);
    }

    void markedPoint(double x, double y, double column) {
        const double r = row(y);
        if (marked_ && column == markedColumn_ && r == markedRow_)
            return;
        marked_ = true;
        markedColumn_ = column;
        markedRow_ = r;
        push(x, y);
    }

    void lonePoint(double x, double y, double column) {
        const double r = row(y);
        if (!out_.lone.empty() && column == loneColumn_ && r == loneRow_)
            return;
        loneColumn_ = column;
        loneRow_ = r;
        out_.lone.push_back({x, y});
    }

    const std::vector<double>& ys_;
    const int count_;
    XOf xOf_;
    const PixelGrid& grid_;
    const ReduceFor mode_;
    ReducedTrace& out_;

    bool inRun_ = false;
    double column_ = 0;
    int first_ = 0, low_ = 0, high_ = 0, last_ = 0;
    bool marked_ = false;
    double markedColumn_ = 0, markedRow_ = 0;
    double loneColumn_ = 0, loneRow_ = 0;
};

template <typename XOf>
void reduce(const ChartData& data, int trace, int count, XOf xOf, const PixelGrid& grid,
            ReduceFor mode, ReducedTrace& out) {
    // From the last point before the visible range to the first after it, so
    // that lines leave the plot at its edges.
    const int first = data.lowerBound(trace, count, grid.xFrom);
    const int after = data.lowerBound(trace, count, std::nextafter(grid.xTo, INFINITY));
    const int begin = std::max(0, first - 1);
    const int end = std::min(count, after + 1);
    const double columns = (grid.xTo - grid.xFrom) * grid.pixelsPerX;
    const double most = 4.0 * (std::min(columns, 1e6) + 2);
    out.line.reserve(static_cast<std::size_t>(std::min<double>(end - begin, most)));
    Reducer<XOf>(data.ys(trace), count, xOf, grid, mode, out).byColumns(begin, end);
}

} // namespace

bool reduceTrace(const ChartData& data, int trace, const PixelGrid& grid, ReduceFor mode,
                 ReducedTrace& out) {
    out.line.clear();
    out.lone.clear();
    if (!std::isfinite(grid.xFrom) || !std::isfinite(grid.xTo) || !(grid.xTo >= grid.xFrom) ||
        !std::isfinite(grid.pixelsPerX) || !(grid.pixelsPerX > 0))
        return false;
    const int count = std::min(data.lastPoint(trace) + 1, data.pointCount(trace));
    if (count <= 0)
        return true;
    if (data.evenlySpaced(trace)) {
        const double step = data.xStep(trace);
        reduce(
            data, trace, count, [step](int i) { return static_cast<double>(i) * step; }, grid, mode,
            out);
        return true;
    }
    if (!ascending(data, trace, count))
        return false;
    reduce(
        data, trace, count, [&data, trace](int i) { return data.xValue(trace, i); }, grid, mode,
        out);
    return true;
}

} // namespace vessor::graph
