#include "axis_tickers.h"

#include <algorithm>
#include <cmath>

namespace vessor::graph {

namespace {
constexpr int MOST_TICKS = 6;
} // namespace

ClockTimeTicker::ClockTimeTicker() {
    setDateTimeSpec(Qt::UTC);
    setTickCount(MOST_TICKS);
}

double ClockTimeTicker::axisLength() const {
    // Asked before the layout of a new size is done: the plot's size is
    // already the new one, the axis rectangle's margins still those of the last.
    const QCPAxisRect* rect = axis_->axisRect();
    const QMargins margins = rect->margins();
    return axis_->parentPlot()->viewport().width() - margins.left() - margins.right();
}

double ClockTimeTicker::labelWidth(double step) const {
    const QFontMetricsF metrics(axis_->tickLabelFont());
    const QLocale locale = axis_->parentPlot()->locale();
    // A wide date and time of the kind the labels show.
    const QDateTime sample(QDate(2000, 12, 28), QTime(23, 58, 58), Qt::UTC);
    double width = metrics.horizontalAdvance(locale.toString(sample.date(), QLocale::ShortFormat));
    if (step < 86400) {
        width = std::max(width, metrics.horizontalAdvance(locale.toString(
                                    sample.time(), step < 60 ? QStringLiteral("HH:mm:ss")
                                                             : QStringLiteral("HH:mm"))));
    }
    return width + 2 * metrics.averageCharWidth();
}

double ClockTimeTicker::getTickStep(const QCPRange& range) {
    // Files hold whole seconds: finer ticks would only repeat a label.
    for (int count = MOST_TICKS; count >= 1; --count) {
        setTickCount(count);
        step_ = std::max(1.0, QCPAxisTickerDateTime::getTickStep(range));
        // Fewer ticks until neighbouring labels no longer overlap.
        if (!axis_ || !(range.size() > 0) ||
            step_ / range.size() * axisLength() >= labelWidth(step_))
            break;
    }
    return step_;
}

QString ClockTimeTicker::getTickLabel(double tick, const QLocale& locale, QChar, int) {
    const QDateTime when = QDateTime::fromMSecsSinceEpoch(std::llround(tick * 1000.0), Qt::UTC);
    const QString date = locale.toString(when.date(), QLocale::ShortFormat);
    // Ticks a day or more apart all fall at midnight: the date says it all.
    if (step_ >= 86400)
        return date;
    const QString time = locale.toString(when.time(), step_ < 60 ? QStringLiteral("HH:mm:ss")
                                                                 : QStringLiteral("HH:mm"));
    return time + QLatin1Char('\n') + date;
}

double PrecisionTicker::niceStep(double span, int tickCount, int decimals) {
    const double smallest = decimals >= 0 ? std::pow(10.0, -decimals) : 0.0;
    if (!(span > 0) || !std::isfinite(span))
        return smallest > 0 ? smallest : 1.0;
    const double raw = span / std::max(tickCount, 1);
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    double step = 10 * magnitude;
    for (double m : {1.0, 2.0, 5.0}) {
        if (m * magnitude >= raw * (1 - 1e-9)) {
            step = m * magnitude;
            break;
        }
    }
    return std::max(step, smallest);
}

double PrecisionTicker::getTickStep(const QCPRange& range) {
    return niceStep(range.size(), tickCount(), decimals_);
}

} // namespace vessor::graph
