// The arithmetic of zooming, scrolling, the readout and the printed page,
// kept apart from the widgets so that it can be checked on its own: the zoom
// records, the thumb moves of the scroll-bar events, the ranges shown when a
// scroll ends, the finishing of a dragged zoom box, the readout's value text
// and where the graph lands on a page.
#pragma once

#include <QRect>
#include <QString>

#include <cstdint>
#include <optional>

namespace vessor::graph {

// The ranges on show at one zoom level; record 0 is the full view.
// x values are seconds after the first reading (64-bit: 65535 readings 12 h
// apart span more seconds than a 32-bit number holds).
struct ZoomRange {
    std::int64_t xFrom = 0;
    std::int64_t xTo = 0;
    double y1Min = 0;
    double y1Max = 0;
    double y2Min = 0;
    double y2Max = 0;
    bool operator==(const ZoomRange&) const = default;
};

// A zoom box narrower than this many seconds is abandoned.
inline constexpr std::int64_t MIN_ZOOM_SECONDS = 2;

// One unit of the last displayed decimal: 10 to the power of minus the precision.
double yStepFor(int precision);

// The events of a scroll bar, as the window system reports them.
enum class ScrollCode { LineUp, LineDown, PageUp, PageDown, ThumbTrack, EndScroll, Other };

// A scroll bar's thumb in the units of the handlers (seconds across, y
// steps down); position 0 is the left or the top.
struct ThumbRange {
    std::int64_t min = 0;
    std::int64_t max = 0;
    std::int64_t pos = 0;
};

// Where a line or page event moves the thumb: a line step past either end
// is ignored (nullopt), a page step stops at the end. Other events: nullopt.
std::optional<std::int64_t> movedThumb(ScrollCode code, const ThumbRange& thumb, std::int64_t line,
                                       std::int64_t page);

struct XSpan {
    std::int64_t from = 0;
    std::int64_t to = 0;
    bool operator==(const XSpan&) const = default;
};

// The x range shown when a horizontal scroll ends with the thumb at `pos`;
// `xPage` is the visible width plus one interval, `last` the x of the last reading.
XSpan horizontalScrollEnd(std::int64_t pos, std::int64_t xPage, std::int64_t interval,
                          std::int64_t last);

struct YSpan {
    double min = 0;
    double max = 0;
};

// The y1 range shown when a vertical scroll ends with the thumb at `pos` (in
// steps from the top of the full view); `y1Page` is the visible span plus one step.
YSpan verticalScrollEndY1(std::int64_t pos, double step, double y1Page, const ZoomRange& full);

// The y2 range that follows the y1 scroll in proportion; `scrollRange` is
// the vertical bar's maximum minus its minimum.
YSpan verticalScrollEndY2(std::int64_t pos, std::int64_t scrollRange, double step, double y2Page,
                          const ZoomRange& full);

// The vertical thumb for a y1 range: its maximum and its position, in steps.
std::int64_t verticalThumbMax(const ZoomRange& full, double min, double max, double step);
std::int64_t verticalThumbPos(const ZoomRange& full, double max, double step);

// Completes a dragged box whose corners are in `box` (xFrom, y1Min, y2Min at
// the press; xTo, y1Max, y2Max at the release): puts both axes in order, snaps
// the values out to whole steps and clips everything to the full view. False
// when the box spans less than MIN_ZOOM_SECONDS and is to be abandoned.
bool finishZoomBox(ZoomRange& box, const ZoomRange& full, double step);

// Index of the reading under an x value (seconds), or nullopt when it lies
// before the first or beyond the last reading.
std::optional<int> readingAt(double x, std::int64_t interval, int lastPoint);

// What the footer's readout shows after the time: the first channel's reading
// with its own decimals, then the extra trace and the second channel with one
// decimal each, every part only when its trace is shown and has the value.
struct ReadoutParts {
    std::optional<double> y1;
    std::optional<double> extra;
    std::optional<double> y2;
    int decimals = 0;
    QString unit1;
    QString unit2;
};
QString readoutValues(const ReadoutParts& parts);

// The printed graph is drawn at this size in logical units and keeps its shape.
inline constexpr int PRINT_WIDTH = 1024;
inline constexpr int PRINT_HEIGHT = 768;

// Where the graph goes on a printable area of width x height device pixels:
// as large as fits at 4:3, filling the area in one direction and centred in
// the other.
QRect printArea(int width, int height);

} // namespace vessor::graph
