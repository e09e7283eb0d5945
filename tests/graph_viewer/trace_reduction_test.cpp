// The points a trace is drawn from: the reduction must cover, pixel column by
// pixel column, exactly what the whole trace covers, and keep gaps, lone
// values and the order of the points.
#include "chart/trace_reduction.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <random>
#include <vector>

namespace vessor::graph {
namespace {

// Per pixel column, the y intervals a polyline's segments cover there, one
// per unbroken stretch, in drawing order. Points are split at NaN.
using Coverage = std::map<long, std::vector<std::pair<double, double>>>;

Coverage coverage(const std::vector<DrawPoint>& points, const PixelGrid& g) {
    Coverage out;
    std::map<long, std::pair<double, double>> open; // this stretch's interval per column
    const auto column = [&g](double x) {
        return static_cast<long>(std::floor((x - g.xFrom) * g.pixelsPerX));
    };
    const auto add = [&open](long c, double y) {
        auto [it, fresh] = open.try_emplace(c, y, y);
        if (!fresh) {
            it->second.first = std::min(it->second.first, y);
            it->second.second = std::max(it->second.second, y);
        }
    };
    const auto close = [&] {
        for (const auto& [c, interval] : open)
            out[c].push_back(interval);
        open.clear();
    };
    for (std::size_t i = 0; i < points.size(); ++i) {
        const DrawPoint& p = points[i];
        if (std::isnan(p.y)) {
            close();
            continue;
        }
        add(column(p.x), p.y);
        if (i + 1 == points.size() || std::isnan(points[i + 1].y))
            continue;
        // The segment to the next point, cut at every column edge it crosses.
        const DrawPoint& q = points[i + 1];
        for (long c = column(p.x) + 1; c <= column(q.x); ++c) {
            const double edge = g.xFrom + static_cast<double>(c) / g.pixelsPerX;
            const double y = p.y + (q.y - p.y) * (edge - p.x) / (q.x - p.x);
            add(c - 1, y);
            add(c, y);
        }
    }
    close();
    return out;
}

// Every point of a trace as it would be drawn without reduction.
std::vector<DrawPoint> allPoints(const ChartData& data, int trace) {
    std::vector<DrawPoint> out;
    for (int i = 0; i <= data.lastPoint(trace); ++i) {
        const double y = data.yValue(trace, i);
        out.push_back({data.xValue(trace, i), isNoValue(y) ? std::nan("") : y});
    }
    return out;
}

PixelGrid grid(double from, double to, double width, double pixelsPerY = 10) {
    return {from, to, width / (to - from), pixelsPerY};
}

ChartData evenTrace(std::vector<double> ys, double step = 1) {
    ChartData data(1);
    const int last = static_cast<int>(ys.size()) - 1;
    data.setTrace(0, std::move(ys), step);
    data.setLastPoint(0, last);
    return data;
}

// A cold room's readings: a slow swing with noise, single spikes both ways,
// stretches without values and values alone between them.
std::vector<double> roomReadings(int count, unsigned seed) {
    std::mt19937 random(seed);
    std::normal_distribution<double> noise(0, 0.3);
    std::vector<double> ys(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        ys[static_cast<std::size_t>(i)] = 4 + 3 * std::sin(i / 5000.0) + noise(random);
    std::uniform_int_distribution<int> at(0, count - 1);
    for (int k = 0; k < 40; ++k)
        ys[static_cast<std::size_t>(at(random))] = k % 2 ? 25.0 : -18.0;
    for (int k = 0; k < 10; ++k) {
        const int from = at(random);
        for (int i = from; i < std::min(count, from + 300); ++i)
            ys[static_cast<std::size_t>(i)] = NO_VALUE;
        if (from + 150 < count)
            ys[static_cast<std::size_t>(from + 150)] = 6.5; // alone in the gap
    }
    return ys;
}

TEST(TraceReduction, CoversEveryPixelColumnAsTheWholeTraceDoes) {
    struct Case {
        const char* what;
        int count;
        double from, to, width;
    };
    const Case cases[] = {
        {"a million readings, full view", 1'000'000, 0, 999'999, 937},
        {"65535 readings at 1024 pixels", 65535, 0, 65534, 1024},
        {"zoomed into the middle", 200'000, 81'234.5, 90'000.25, 600},
        {"fewer readings than pixels", 500, 0, 499, 937},
        {"a range beyond the readings", 5000, -2000, 9000, 300},
    };
    for (const Case& c : cases) {
        const ChartData data = evenTrace(roomReadings(c.count, static_cast<unsigned>(c.count)));
        const PixelGrid g = grid(c.from, c.to, c.width);
        ReducedTrace reduced;
        ASSERT_TRUE(reduceTrace(data, 0, g, ReduceFor::Lines, reduced)) << c.what;
        // What the whole trace draws inside the plot, column by column.
        Coverage whole = coverage(allPoints(data, 0), g);
        Coverage drawn = coverage(reduced.line, g);
        const auto visible = [&c](Coverage& cover) {
            std::erase_if(cover, [&c](const auto& e) {
                return e.first < 0 || e.first >= static_cast<long>(c.width);
            });
        };
        visible(whole);
        visible(drawn);
        EXPECT_EQ(drawn, whole) << c.what;
        EXPECT_LE(reduced.line.size(), 4 * static_cast<std::size_t>(c.width) + 60) << c.what;
        EXPECT_TRUE(
            std::is_sorted(reduced.line.begin(), reduced.line.end(),
                           [](const DrawPoint& a, const DrawPoint& b) { return a.x < b.x; }))
            << c.what;
    }
}

TEST(TraceReduction, SpikesGapsAndLoneValuesSurvive) {
    std::vector<double> ys(100'000, 5.0);
    ys[12'345] = 40.0;
    ys[67'890] = -30.0;
    for (int i = 50'000; i < 51'000; ++i)
        ys[static_cast<std::size_t>(i)] = NO_VALUE;
    ys[50'500] = 7.0;
    const ChartData data = evenTrace(ys);
    ReducedTrace reduced;
    ASSERT_TRUE(reduceTrace(data, 0, grid(0, 99'999, 900), ReduceFor::Lines, reduced));
    const auto has = [&reduced](double y) {
        return std::any_of(reduced.line.begin(), reduced.line.end(),
                           [y](const DrawPoint& p) { return p.y == y; });
    };
    EXPECT_TRUE(has(40.0));
    EXPECT_TRUE(has(-30.0));
    // The lone value is a stretch of its own: a gap on both sides, and a dot.
    const auto lone = std::find(reduced.line.begin(), reduced.line.end(), DrawPoint{50'500, 7.0});
    ASSERT_NE(lone, reduced.line.end());
    EXPECT_TRUE(std::isnan((lone - 1)->y));
    EXPECT_TRUE(std::isnan((lone + 1)->y));
    EXPECT_EQ(reduced.lone, (std::vector<DrawPoint>{{50'500, 7.0}}));
    // The flat stretches are a handful of points, not one per column.
    EXPECT_LT(reduced.line.size(), 40u);
}

TEST(TraceReduction, FlatAlarmLinesAreTwoPoints) {
    const ChartData data = evenTrace(std::vector<double>(1'000'000, 8.0), 10);
    ReducedTrace reduced;
    ASSERT_TRUE(reduceTrace(data, 0, grid(0, 9'999'990, 937), ReduceFor::Lines, reduced));
    EXPECT_EQ(reduced.line, (std::vector<DrawPoint>{{0, 8.0}, {9'999'990, 8.0}}));
}

TEST(TraceReduction, MarkersKeepAPointOnEveryPixelMarked) {
    // Two readings per pixel column alternating between two rows, then a
    // flat stretch: markers need both rows in every column, and one point
    // per column where the trace is flat.
    std::vector<double> ys;
    for (int i = 0; i < 200; ++i)
        ys.push_back(i % 2 ? 10.0 : 0.0);
    for (int i = 0; i < 200; ++i)
        ys.push_back(3.0);
    const ChartData data = evenTrace(ys);
    ReducedTrace reduced;
    ASSERT_TRUE(reduceTrace(data, 0, grid(0, 400, 200), ReduceFor::Markers, reduced));
    EXPECT_EQ(reduced.line.size(), 200u + 100u);
    ASSERT_TRUE(reduceTrace(data, 0, grid(0, 400, 200), ReduceFor::Lines, reduced));
    EXPECT_LT(reduced.line.size(), 200u + 2u + 1u);
}

TEST(TraceReduction, OnlyPointsNearTheVisibleRange) {
    std::vector<double> ys;
    for (int i = 0; i < 1000; ++i)
        ys.push_back(i % 7);
    const ChartData data = evenTrace(ys, 10);
    ReducedTrace reduced;
    // x 2000..3000: readings 200..300, and the one on each side.
    ASSERT_TRUE(reduceTrace(data, 0, grid(2000, 3000, 1000), ReduceFor::Lines, reduced));
    ASSERT_FALSE(reduced.line.empty());
    EXPECT_EQ(reduced.line.front().x, 1990);
    EXPECT_EQ(reduced.line.back().x, 3010);
    EXPECT_EQ(reduced.line.size(), 103u);
}

TEST(TraceReduction, RefusesWhatItCannotReduce) {
    ChartData shuffled(1);
    for (int i = 0; i < 10; ++i)
        shuffled.setPoint(0, i, i % 3 ? i : 20 - i, 1.0);
    ReducedTrace reduced;
    EXPECT_FALSE(reduceTrace(shuffled, 0, grid(0, 20, 100), ReduceFor::Lines, reduced));

    const ChartData data = evenTrace({1, 2, 3});
    for (const PixelGrid& g : {PixelGrid{0, 2, 0, 1}, PixelGrid{2, 0, 10, 1},
                               PixelGrid{0, std::nan(""), 10, 1}, PixelGrid{0, 2, INFINITY, 1}})
        EXPECT_FALSE(reduceTrace(data, 0, g, ReduceFor::Lines, reduced));
    // Nothing to draw is no failure.
    EXPECT_TRUE(reduceTrace(ChartData(1), 0, grid(0, 2, 10), ReduceFor::Lines, reduced));
    EXPECT_TRUE(reduced.line.empty());
}

// The chart's data: x values of a whole trace are arithmetic, not stored,
// until a single point is set; lookups agree either way.
TEST(ChartDataX, EvenTracesAnswerLikeStoredOnes) {
    ChartData even = evenTrace({1, 2, 3, 4, 5}, 30);
    ChartData stored(1);
    for (int i = 0; i < 5; ++i)
        stored.setPoint(0, i, i * 30.0, i + 1.0);
    EXPECT_TRUE(even.evenlySpaced(0));
    EXPECT_FALSE(stored.evenlySpaced(0));
    for (double x :
         {-5.0, 0.0, 1.0, 29.999, 30.0, 31.0, 119.0, 120.0, 121.0, 1e300, std::nan("")}) {
        EXPECT_EQ(even.lowerBound(0, 5, x), stored.lowerBound(0, 5, x)) << x;
        EXPECT_EQ(even.lowerBound(0, 3, x), stored.lowerBound(0, 3, x)) << x;
    }
    for (int i = -1; i <= 5; ++i)
        EXPECT_EQ(even.xValue(0, i), stored.xValue(0, i)) << i;
    // Setting one point of an even trace keeps the others where they were.
    even.setPoint(0, 2, 65.0, 9.0);
    EXPECT_FALSE(even.evenlySpaced(0));
    EXPECT_EQ(even.xValue(0, 1), 30.0);
    EXPECT_EQ(even.xValue(0, 2), 65.0);
    EXPECT_EQ(even.xValue(0, 4), 120.0);
}

} // namespace
} // namespace vessor::graph
