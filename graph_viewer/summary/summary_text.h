// The summary as the viewer's panel (and later the report) writes it: a
// headline and HTML tables over the whole file and the visible range, in the
// user's locale, with each channel's decimals and unit. Qt, no widgets.
#pragma once

#include "logger/summary.h"

#include <QLocale>
#include <QString>

#include <cstdint>

namespace vessor::graph {

// What the tables show beside the summary's own values.
struct SummaryTextContext {
    QString fileName;     // an archive's series: the archive's URL
    bool series = false;  // an archive's series rather than a file
    QString serialNumber; // shown only when present
    QLocale locale;
};

// "Within limits", "Out of limits: Celsius above High Alarm, ..." or "No
// alarm levels in this file".
QString summaryHeadline(const download::Summary& summary);
// A clock time as the time axis labels it: the locale's short date and HH:mm:ss.
QString summaryTime(std::int64_t clockSeconds, const QLocale& locale);
// "1 h 05 min": a length of time, its two largest units.
QString summaryDuration(std::int64_t seconds, const QLocale& locale);
// A value with the channel's decimals and unit; "—" for none. Plain text;
// summaryValue is the same escaped for HTML.
QString summaryValueText(const std::optional<double>& value, int decimals, const std::string& unit,
                         const QLocale& locale);
QString summaryValue(const std::optional<double>& value, int decimals, const std::string& unit,
                     const QLocale& locale);
// The headline and the tables: one column for the whole file, one for the
// visible range.
QString summaryHtml(const download::Summary& whole, const download::Summary& visible,
                    const SummaryTextContext& context);

} // namespace vessor::graph
