#include "axis_tickers.h"

#include <algorithm>
#include <cmath>

namespace vessor::graph {

ClockTimeTicker::ClockTimeTicker() {
    setDateTimeSpec(Qt::UTC);
    setTickCount(6);
}

double ClockTimeTicker::getTickStep(const QCPRange& range) {
    // Files hold whole seconds: finer ticks would only repeat a label.
    step_ = std::max(1.0, QCPAxisTickerDateTime::getTickStep(range));
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
