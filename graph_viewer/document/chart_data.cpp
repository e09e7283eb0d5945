#include "chart_data.h"

#include <algorithm>

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

void ChartData::setPoint(int trace, int index, double x, double y) {
    if (!valid(trace) || index < 0)
        return;
    Trace& t = traces_[trace];
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
    t.x.resize(ys.size());
    for (std::size_t i = 0; i < ys.size(); ++i)
        t.x[i] = static_cast<double>(i) * xStep;
    t.y = std::move(ys);
    ++pointsRevision_;
}

int ChartData::pointCount(int trace) const {
    return valid(trace) ? static_cast<int>(traces_[trace].x.size()) : 0;
}

double ChartData::xValue(int trace, int index) const {
    if (index < 0 || index >= pointCount(trace))
        return NO_VALUE;
    return traces_[trace].x[static_cast<std::size_t>(index)];
}

double ChartData::yValue(int trace, int index) const {
    if (index < 0 || index >= pointCount(trace))
        return NO_VALUE;
    return traces_[trace].y[static_cast<std::size_t>(index)];
}

const std::vector<double>& ChartData::xs(int trace) const {
    static const std::vector<double> none;
    return valid(trace) ? traces_[trace].x : none;
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
    const int held = static_cast<int>(t.x.size()) - 1;
    return t.lastPoint < 0 ? held : std::min(t.lastPoint, held);
}

void ChartData::setLastPoint(int trace, int index) {
    if (valid(trace)) {
        traces_[trace].lastPoint = std::max(index, -1);
        ++pointsRevision_;
    }
}

} // namespace vessor::graph
