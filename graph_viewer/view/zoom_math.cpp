#include "zoom_math.h"

#include <QLocale>

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace vessor::graph {

namespace {

// Truncates towards zero as a C cast would, without undefined behaviour for
// values a 64-bit integer cannot hold (NaN gives 0).
std::int64_t truncated(double v) {
    constexpr double LIMIT = 9.0e18;
    if (!(v == v))
        return 0;
    if (v >= LIMIT)
        return static_cast<std::int64_t>(LIMIT);
    if (v <= -LIMIT)
        return -static_cast<std::int64_t>(LIMIT);
    return static_cast<std::int64_t>(v);
}

// Snapping tolerates the representation error of the division, so a value
// already on a step stays there (0.3 / 0.1 is 2.9999999999999996).
constexpr double SNAP_SLACK = 1e-9;

double snapDown(double v, double step) {
    return std::floor(v / step + SNAP_SLACK) * step;
}

double snapUp(double v, double step) {
    return std::ceil(v / step - SNAP_SLACK) * step;
}

// A box flat on one axis would leave that axis without a span to draw: give
// it one step, inside the full view where there is room.
void keepSpan(double& lo, double& hi, double fullLo, double fullHi, double step) {
    if (hi > lo)
        return;
    const double at = fullHi >= fullLo ? std::clamp(std::min(lo, hi), fullLo, fullHi) : hi;
    if (at + step <= fullHi || !(fullHi > fullLo)) {
        lo = at;
        hi = at + step;
    } else if (at - step >= fullLo) {
        lo = at - step;
        hi = at;
    } else {
        lo = fullLo;
        hi = fullHi;
    }
}

} // namespace

double yStepFor(int precision) {
    precision = std::clamp(precision, 0, 15);
    std::int64_t power = 1;
    for (int i = 0; i < precision; ++i)
        power *= 10;
    return 1.0 / static_cast<double>(power);
}

std::optional<std::int64_t> movedThumb(ScrollCode code, const ThumbRange& thumb, std::int64_t line,
                                       std::int64_t page) {
    switch (code) {
    case ScrollCode::LineUp: {
        const std::int64_t pos = thumb.pos - line;
        if (pos < thumb.min)
            return std::nullopt;
        return pos;
    }
    case ScrollCode::LineDown: {
        const std::int64_t pos = thumb.pos + line;
        if (pos > thumb.max)
            return std::nullopt;
        return pos;
    }
    case ScrollCode::PageUp:
        return std::max(thumb.pos - page, thumb.min);
    case ScrollCode::PageDown:
        return std::min(thumb.pos + page, thumb.max);
    case ScrollCode::ThumbTrack:
    case ScrollCode::EndScroll:
    case ScrollCode::Other:
        break;
    }
    return std::nullopt;
}

XSpan horizontalScrollEnd(std::int64_t pos, std::int64_t xPage, std::int64_t interval,
                          std::int64_t last) {
    std::int64_t to = pos + xPage - interval;
    if (to > last) {
        to = last;
        pos = last - xPage + interval;
    }
    if (pos < 0) {
        pos = 0;
        to = xPage - interval;
    }
    return {pos, to};
}

namespace {

// A page of a value axis hanging from `top`, moved back inside the full
// range: past the top it comes down to it, then past the bottom it goes up.
YSpan pageFrom(double top, double page, double step, double fullMin, double fullMax) {
    double bottom = top - page + step;
    if (top > fullMax) {
        top = fullMax;
        bottom = top - page + step;
    }
    if (bottom < fullMin) {
        bottom = fullMin;
        top = bottom + page - step;
    }
    return {bottom, top};
}

} // namespace

YSpan verticalScrollEndY1(std::int64_t pos, double step, double y1Page, const ZoomRange& full) {
    return pageFrom(full.y1Max - static_cast<double>(pos) * step, y1Page, step, full.y1Min, full.y1Max);
}

YSpan verticalScrollEndY2(std::int64_t pos, std::int64_t scrollRange, double step, double y2Page,
                          const ZoomRange& full) {
    // A bar without travel (the zoom kept the whole y1 span) has nothing to
    // share out: the y2 axis stays at its top.
    const double share =
        scrollRange > 0 ? (full.y2Max - full.y2Min - y2Page) / static_cast<double>(scrollRange) : 0;
    return pageFrom(full.y2Max - share * static_cast<double>(pos), y2Page, step, full.y2Min, full.y2Max);
}

std::int64_t verticalThumbMax(const ZoomRange& full, double min, double max, double step) {
    // The limits are whole steps: a quotient a hair under a whole number
    // (30 - 9.1 over 0.1 is 208.99999...) is that number, or the last step
    // down, the one that reaches the bottom of the full view, is lost.
    const double steps = (full.y1Max - full.y1Min - (max - min)) / step;
    const double nearest = std::round(steps);
    return std::max<std::int64_t>(
        0, truncated(std::fabs(steps - nearest) < 1e-6 ? nearest : steps));
}

std::int64_t verticalThumbPos(const ZoomRange& full, double max, double step) {
    return truncated((full.y1Max - max) / step + 0.5);
}

bool finishZoomBox(ZoomRange& box, const ZoomRange& full, double step) {
    if (box.xTo < box.xFrom)
        std::swap(box.xFrom, box.xTo);
    box.xTo = std::min(box.xTo, full.xTo);
    box.xFrom = std::max(box.xFrom, full.xFrom);
    if (box.y1Min > box.y1Max) {
        std::swap(box.y1Min, box.y1Max);
        std::swap(box.y2Min, box.y2Max);
    }
    // The y2 corners follow the y1 ones, but an axis without data may run
    // the other way round; keep each pair in order on its own.
    if (box.y2Min > box.y2Max)
        std::swap(box.y2Min, box.y2Max);
    box.y1Min = snapDown(box.y1Min, step);
    box.y1Max = snapUp(box.y1Max, step);
    box.y2Min = snapDown(box.y2Min, step);
    box.y2Max = snapUp(box.y2Max, step);
    box.y1Max = std::min(box.y1Max, full.y1Max);
    box.y1Min = std::max(box.y1Min, full.y1Min);
    box.y2Max = std::min(box.y2Max, full.y2Max);
    box.y2Min = std::max(box.y2Min, full.y2Min);
    keepSpan(box.y1Min, box.y1Max, full.y1Min, full.y1Max, step);
    keepSpan(box.y2Min, box.y2Max, full.y2Min, full.y2Max, step);
    return box.xTo - box.xFrom >= MIN_ZOOM_SECONDS;
}

std::optional<int> readingAt(double x, std::int64_t interval, int lastPoint) {
    if (interval <= 0 || !std::isfinite(x))
        return std::nullopt;
    const std::int64_t i = x == 0 ? 0 : truncated(x / static_cast<double>(interval) + 0.5);
    if (i < 0 || i > lastPoint)
        return std::nullopt;
    return static_cast<int>(i);
}

QString readoutValues(const ReadoutParts& parts) {
    QLocale locale;
    // As printf would write them: no thousands separators.
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    QString text = QStringLiteral(" : ");
    QString separator;
    if (parts.y1) {
        text += locale.toString(*parts.y1, 'f', std::clamp(parts.decimals, 0, 15)) + parts.unit1;
        separator = QStringLiteral(", ");
    }
    if (parts.extra) {
        text += separator + locale.toString(*parts.extra, 'f', 1) + parts.unit1;
        separator = QStringLiteral(", ");
    }
    if (parts.y2)
        text += separator + locale.toString(*parts.y2, 'f', 1) + parts.unit2;
    return text;
}

QRect printArea(int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    const std::int64_t w = width;
    const std::int64_t h = height;
    if (PRINT_WIDTH * h < PRINT_HEIGHT * w) {
        // Wider than 4:3: full height, centred across.
        const auto used = static_cast<int>(PRINT_WIDTH * h / PRINT_HEIGHT);
        return {(width - used) / 2, 0, used, height};
    }
    const auto used = static_cast<int>(PRINT_HEIGHT * w / PRINT_WIDTH);
    return {0, (height - used) / 2, width, used};
}

} // namespace vessor::graph
