// What the PDF report says, as text in the user's locale: the header facts,
// the headline, the summary tables of page 1 and one excursion table per
// alarm level. The numbers are the summary's (logger/summary.h), written as
// the summary panel writes them (summary/summary_text.h). Qt, no widgets, no
// painting: report_pdf.h lays it out and draws it.
#pragma once

#include "logger/calendar.h"
#include "logger/summary.h"

#include <QList>
#include <QLocale>
#include <QPageSize>
#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

namespace vessor::graph::report {

enum class Verdict { WithinLimits, OutOfLimits, NoLevels };

struct Table {
    QString title;
    QString note; // a line under the title
    QStringList headings;
    QList<bool> right; // per column: right-aligned
    std::vector<QStringList> rows;
    QList<bool> quiet;    // per row: drawn lighter (a time under its value)
    QString none;         // in place of the rows and their headings when there are none
    bool compact = false; // as wide as its columns need, not the page's width
};

using Fact = std::pair<QString, QString>; // label, value

struct Content {
    QString logger;              // the file's title
    std::vector<Fact> identity;  // serial number, file, channels, when made
    std::vector<Fact> recording; // first and last reading, readings, interval, span
    QString headline;
    Verdict verdict = Verdict::NoLevels;
    std::vector<Table> summary;    // page 1, above the chart
    QString excursionsIntro;       // the further pages start with it
    std::vector<Table> excursions; // one per alarm level, every level of every channel
    QString runningHead;           // top of every page after the first
    QString footer;                // bottom left of every page
    QLocale locale;                // of the page numbers
};

struct Context {
    QString fileName;         // or the archive's URL, for a series
    bool series = false;      // readings from the archive, not one file
    QString serialNumber; // shown only when present
    QLocale locale;
    CalendarTime madeAt; // local time the report is made (the caller's clock)
};

// The report of `whole`; `shown`, when given, adds the tables of the readings
// the window shows (a zoomed view).
Content reportContent(const download::Summary& whole, const download::Summary* shown,
                      const Context& context);

// One alarm level's excursions: number, start (first reading beyond), end
// (last reading beyond), duration (readings × interval) and the extreme
// value; a run still beyond at the last reading is marked open.
Table excursionTable(const download::Summary& summary, const download::ChannelSummary& channel,
                     const download::AlarmSummary& alarm, const QLocale& locale);

// "Page 2 of 5".
QString pageNumberText(int page, int pages, const QLocale& locale);

// Letter where the locale's country prints on it (the Americas' letter
// countries and the Philippines, or US measurement), A4 elsewhere.
QPageSize::PageSizeId paperFor(const QLocale& locale);

} // namespace vessor::graph::report
