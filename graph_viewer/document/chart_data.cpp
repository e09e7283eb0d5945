#include "chart_data.h"

#include <algorithm>
#include <cmath>

namespace vessor::graph {

ChartData::ChartData(int traceCount) : traces_(static_cast<std::size_t>(std::max(traceCount, 0))) {}

void ChartData::clear() {
    for (Trace& t : traces_)
        t = Trace{};
    ++pointsRevision_;
}

void ChartData::reserve(int trace, int points) {
    if (valid(trace) && points > 0) {
        traces_[trace].x.reserve(static_cast<std::size_t>(points));
        traces_[trace].y.reserve(static_cast<std::size_t>(points));
    }
}

void ChartData::spellOutX(Trace& t) {
    if (!t.even)
        return;
    t.x.resize(t.y.size());
    for (std::size_t i = 0; i < t.y.size(); ++i)
        t.x[i] = static_cast<double>(i) * t.xStep;
    t.even = false;
}

void ChartData::setPoint(int trace, int index, double x, double y) {
    if (!valid(trace) || index < 0)
        return;
    Trace& t = traces_[trace];
    spellOutX(t);
    const auto i = static_cast<std::size_t>(index);
    if (i == t.x.size()) {
        t.x.push_back(x);
        t.y.push_back(y);
        ++pointsRevision_;
        return;
    }
    if (i > t.x.size()) {
        t.x.resize(i + 1, NO_VALUE);
        t.y.resize(i + 1, NO_VALUE);
    }
    t.x[i] = x;
    t.y[i] = y;
    ++pointsRevision_;
}

void ChartData::setTrace(int trace, std::vector<double> ys, double xStep) {
    if (!valid(trace))
        return;
    Trace& t = traces_[trace];
    t.x = std::vector<double>();
    t.xStep = xStep;
    t.even = true;
    t.y = std::move(ys);
    ++pointsRevision_;
}

int ChartData::pointCount(int trace) const {
    return valid(trace) ? static_cast<int>(traces_[trace].y.size()) : 0;
}

double ChartData::xValue(int trace, int index) const {
    if (index < 0 || index >= pointCount(trace))
        return NO_VALUE;
    const Trace& t = traces_[trace];
    return t.even ? static_cast<double>(index) * t.xStep : t.x[static_cast<std::size_t>(index)];
}

bool ChartData::evenlySpaced(int trace) const {
    return !valid(trace) || traces_[trace].even;
}

double ChartData::xStep(int trace) const {
    return valid(trace) ? traces_[trace].xStep : 0;
}

int ChartData::lowerBound(int trace, int count, double x) const {
    count = std::clamp(count, 0, pointCount(trace));
    if (count == 0 || std::isnan(x))
        return 0;
    const Trace& t = traces_[trace];
    if (!t.even) {
        const auto end = t.x.begin() + count;
        return static_cast<int>(std::lower_bound(t.x.begin(), end, x) - t.x.begin());
    }
    if (!(t.xStep > 0))
        return x <= 0 ? 0 : count;
    const double steps = std::ceil(x / t.xStep);
    if (!(steps > 0))
        return 0;
    if (steps >= count)
        return count;
    // Rounding may put the point one step off.
    auto i = static_cast<int>(steps);
    while (i > 0 && static_cast<double>(i - 1) * t.xStep >= x)
        --i;
    while (i < count && static_cast<double>(i) * t.xStep < x)
        ++i;
    return i;
}

double ChartData::yValue(int trace, int index) const {
    if (index < 0 || index >= pointCount(trace))
        return NO_VALUE;
    return traces_[trace].y[static_cast<std::size_t>(index)];
}

const std::vector<double>& ChartData::ys(int trace) const {
    static const std::vector<double> none;
    return valid(trace) ? traces_[trace].y : none;
}

Display ChartData::display(int trace) const {
    return valid(trace) ? traces_[trace].display : Display::Hidden;
}

void ChartData::setDisplay(int trace, Display display) {
    if (valid(trace))
        traces_[trace].display = display;
}

int ChartData::lastPoint(int trace) const {
    if (!valid(trace))
        return -1;
    const Trace& t = traces_[trace];
    const int held = static_cast<int>(t.y.size()) - 1;
    return t.lastPoint < 0 ? held : std::min(t.lastPoint, held);
}

void ChartData::setLastPoint(int trace, int index) {
    if (valid(trace)) {
        traces_[trace].lastPoint = std::max(index, -1);
        ++pointsRevision_;
    }
}

} // namespace vessor::graph
