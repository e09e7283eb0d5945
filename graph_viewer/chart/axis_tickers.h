// Tick makers for the chart's axes: clock times along x, and value ticks that
// never need more decimals than the readings have.
#pragma once

#include <qcustomplot.h>

namespace vessor::graph {

// Keys are clock seconds (a file's wall-clock time counted as if it were UTC),
// so ticks fall on whole minutes, hours and days of the file's clock.
// Labels: the time over the date, both in the user's locale. Ticks are as
// many as the labels fit side by side along the axis, six at most.
class ClockTimeTicker : public QCPAxisTickerDateTime {
public:
    ClockTimeTicker();
    // The axis whose length and label font decide how many labels fit.
    void setAxis(QCPAxis* axis) { axis_ = axis; }

protected:
    double getTickStep(const QCPRange& range) override;
    QString getTickLabel(double tick, const QLocale& locale, QChar formatChar,
                         int precision) override;

private:
    // Room along the axis, and the width a label needs, in the plot's pixels.
    double axisLength() const;
    double labelWidth(double step) const;

    QCPAxis* axis_ = nullptr;
    double step_ = 1;
};

// Steps of 1, 2 or 5 times a power of ten, and at least one unit of the last
// decimal shown, so labels are exact at the axis precision.
class PrecisionTicker : public QCPAxisTicker {
public:
    // decimals < 0: no limit.
    void setDecimals(int decimals) { decimals_ = decimals; }
    int decimals() const { return decimals_; }

    // The step the ticker would choose for a span (also used for nice limits).
    static double niceStep(double span, int tickCount, int decimals);

protected:
    double getTickStep(const QCPRange& range) override;

private:
    int decimals_ = -1;
};

} // namespace vessor::graph
