#include "report_content.h"

#include "summary/summary_text.h"

#include "logger/download_fields.h"

#include <algorithm>
#include <cstdint>

namespace vessor::graph::report {

using download::AlarmKind;
using download::AlarmSummary;
using download::ChannelRole;
using download::ChannelSummary;
using download::Excursion;
using download::Summary;

namespace {

const QString NONE = QStringLiteral("\u2014");

QString q(const std::string& text) {
    return QString::fromStdString(text);
}

// "Celsius (°C)", kept on one line where a list of them wraps.
QString channelHeading(const ChannelSummary& channel) {
    return channel.unit.empty()
               ? q(channel.name)
               : QStringLiteral("%1\u00A0(%2)").arg(q(channel.name), q(channel.unit));
}

QString levelText(const AlarmSummary& alarm, const ChannelSummary& channel, const QLocale& locale) {
    if (!alarm.level)
        return NONE;
    return QStringLiteral("%1 %2").arg(
        alarm.kind == AlarmKind::Low ? QStringLiteral("below") : QStringLiteral("above"),
        summaryValueText(alarm.level, channel.decimals, channel.unit, locale));
}

QString duration(const Summary& s, int readings, const QLocale& locale) {
    return summaryDuration(std::int64_t{readings} * s.interval, locale);
}

QString timeOf(const Summary& s, int reading, const QLocale& locale) {
    return summaryTime(s.timeOf(reading), locale);
}

// The MKT is a temperature's; other channels leave the row out.
bool hasMkt(const ChannelSummary& channel) {
    return channel.role == ChannelRole::Primary &&
           (channel.mkt || channel.unit == "\u00B0C" || channel.unit == "\u00B0F");
}

Verdict verdictOf(const Summary& summary) {
    bool anyLevel = false;
    for (const ChannelSummary& channel : summary.channels) {
        for (const AlarmSummary& alarm : channel.alarms) {
            anyLevel = true;
            if (alarm.readings > 0)
                return Verdict::OutOfLimits;
        }
    }
    return anyLevel ? Verdict::WithinLimits : Verdict::NoLevels;
}

// "whole file" or "shown in the window, FROM to TO".
QString rangeName(const Summary& s, bool shown, bool series, const QLocale& locale) {
    if (!shown)
        return series ? QStringLiteral("whole series") : QStringLiteral("whole file");
    if (s.readings() < 1)
        return QStringLiteral("shown in the window (no reading)");
    return QStringLiteral("shown in the window, %1 to %2")
        .arg(timeOf(s, s.range.from, locale), timeOf(s, s.range.to - 1, locale));
}

Table channelTable(const Summary& s, bool shown, bool series, const QLocale& locale) {
    Table t;
    t.title = QStringLiteral("Readings, %1").arg(rangeName(s, shown, series, locale));
    t.compact = true;
    t.headings << QString();
    t.right << false;
    for (const ChannelSummary& c : s.channels) {
        t.headings << channelHeading(c);
        t.right << true;
    }
    const auto addRow = [&](const QString& label, bool quiet, auto&& cell) {
        QStringList row{label};
        for (const ChannelSummary& c : s.channels)
            row << cell(c);
        t.rows.push_back(row);
        t.quiet << quiet;
    };
    const auto value = [&](const std::optional<double> ChannelSummary::*field) {
        return [&locale, field](const ChannelSummary& c) {
            return summaryValueText(c.*field, c.decimals, c.unit, locale);
        };
    };
    const auto at = [&](int ChannelSummary::*field) {
        return [&s, &locale, field](const ChannelSummary& c) {
            return c.count > 0 ? timeOf(s, c.*field, locale) : NONE;
        };
    };
    addRow(QStringLiteral("Readings with a value"), false,
           [&locale](const ChannelSummary& c) { return locale.toString(c.count); });
    addRow(QStringLiteral("Minimum"), false, value(&ChannelSummary::min));
    addRow(QStringLiteral("at"), true, at(&ChannelSummary::minAt));
    addRow(QStringLiteral("Maximum"), false, value(&ChannelSummary::max));
    addRow(QStringLiteral("at"), true, at(&ChannelSummary::maxAt));
    addRow(QStringLiteral("Mean"), false, value(&ChannelSummary::mean));
    // The spread is a difference: the unit, one decimal more (as the panel).
    addRow(QStringLiteral("Standard deviation"), false, [&locale](const ChannelSummary& c) {
        return summaryValueText(c.stddev, c.decimals + 1, c.unit, locale);
    });
    if (std::any_of(s.channels.begin(), s.channels.end(), hasMkt)) {
        addRow(
            QStringLiteral("Mean kinetic temperature"), false, [&locale](const ChannelSummary& c) {
                return hasMkt(c) ? summaryValueText(c.mkt, c.decimals, c.unit, locale) : QString();
            });
        t.note = QStringLiteral("Mean kinetic temperature with an activation energy of %1 kJ/mol.")
                     .arg(locale.toString(s.activationEnergy, 'f', 2));
    }
    return t;
}

Table alarmTable(const Summary& s, bool shown, bool series, const QLocale& locale) {
    Table t;
    t.title = QStringLiteral("Alarm levels, %1").arg(rangeName(s, shown, series, locale));
    t.headings = {QStringLiteral("Alarm"),           QStringLiteral("Level"),
                  QStringLiteral("Readings beyond"), QStringLiteral("Time beyond"),
                  QStringLiteral("Excursions"),      QStringLiteral("Longest"),
                  QStringLiteral("First crossed")};
    t.right = {false, true, true, true, true, true, true};
    for (const ChannelSummary& c : s.channels) {
        for (const AlarmSummary& a : c.alarms) {
            t.rows.push_back({QStringLiteral("%1: %2").arg(q(c.name), q(a.label)),
                              levelText(a, c, locale), locale.toString(a.readings),
                              duration(s, a.readings, locale),
                              locale.toString(static_cast<qlonglong>(a.excursions.size())),
                              a.longestRun > 0 ? duration(s, a.longestRun, locale) : NONE,
                              a.firstAt() ? timeOf(s, *a.firstAt(), locale) : NONE});
            t.quiet << false;
        }
    }
    return t;
}

QString localTime(const CalendarTime& when, const QLocale& locale) {
    return summaryTime(download::toClockSeconds({when.fullYear(), when.month + 1, when.day,
                                                 when.hour, when.minute, when.second}),
                       locale);
}

bool hasLevels(const Summary& s) {
    return std::any_of(s.channels.begin(), s.channels.end(),
                       [](const ChannelSummary& c) { return !c.alarms.empty(); });
}

} // namespace

Table excursionTable(const Summary& s, const ChannelSummary& channel, const AlarmSummary& alarm,
                     const QLocale& locale) {
    Table t;
    t.title = QStringLiteral("%1: %2, %3")
                  .arg(q(channel.name), q(alarm.label), levelText(alarm, channel, locale));
    const qlonglong runs = static_cast<qlonglong>(alarm.excursions.size());
    if (runs > 0) {
        t.note = QStringLiteral("%1 %2, %3 beyond the level in all.")
                     .arg(locale.toString(runs),
                          runs == 1 ? QStringLiteral("excursion") : QStringLiteral("excursions"),
                          duration(s, alarm.readings, locale));
    }
    t.headings = {QStringLiteral("No."), QStringLiteral("Start"), QStringLiteral("End"),
                  QStringLiteral("Duration"),
                  alarm.kind == AlarmKind::Low ? QStringLiteral("Lowest")
                                               : QStringLiteral("Highest")};
    t.right = {true, false, false, true, true};
    const bool anyOpen = std::any_of(alarm.excursions.begin(), alarm.excursions.end(),
                                     [](const Excursion& e) { return e.openAtEnd; });
    if (anyOpen) {
        t.headings << QStringLiteral("Note");
        t.right << false;
    }
    t.rows.reserve(alarm.excursions.size());
    int number = 0;
    for (const Excursion& e : alarm.excursions) {
        QStringList row{locale.toString(++number), timeOf(s, e.first, locale),
                        timeOf(s, e.last, locale), duration(s, e.readings(), locale),
                        summaryValueText(e.extreme, channel.decimals, channel.unit, locale)};
        if (anyOpen)
            row << (e.openAtEnd ? QStringLiteral("open at the end of the file") : QString());
        t.rows.push_back(std::move(row));
        t.quiet << false;
    }
    t.none = QStringLiteral("No excursions: no reading was beyond the level.");
    return t;
}

Content reportContent(const Summary& whole, const Summary* shown, const Context& context) {
    const QLocale& locale = context.locale;
    Content r;
    r.logger = q(whole.title);
    r.headline = summaryHeadline(whole);
    r.verdict = verdictOf(whole);

    const bool any = whole.readings() > 0;
    QStringList channels;
    // A list of them wraps between channels, never inside one.
    for (const ChannelSummary& c : whole.channels)
        channels << channelHeading(c).replace(QLatin1Char(' '), QChar(0x00A0));
    if (!context.serialNumber.isEmpty())
        r.identity.emplace_back(QStringLiteral("Serial number"), context.serialNumber);
    r.identity.emplace_back(context.series ? QStringLiteral("Archive") : QStringLiteral("File"), context.fileName);
    r.identity.emplace_back(channels.size() == 1 ? QStringLiteral("Channel")
                                                 : QStringLiteral("Channels"),
                            channels.join(QStringLiteral(", ")));
    r.identity.emplace_back(QStringLiteral("Report made"), localTime(context.madeAt, locale));
    r.recording.emplace_back(QStringLiteral("First reading"),
                             any ? timeOf(whole, whole.range.from, locale) : NONE);
    r.recording.emplace_back(QStringLiteral("Last reading"),
                             any ? timeOf(whole, whole.range.to - 1, locale) : NONE);
    r.recording.emplace_back(QStringLiteral("Readings"), locale.toString(whole.readings()));
    r.recording.emplace_back(QStringLiteral("Interval"), summaryDuration(whole.interval, locale));
    r.recording.emplace_back(QStringLiteral("Span"),
                             any ? duration(whole, whole.readings() - 1, locale) : NONE);

    r.summary.push_back(channelTable(whole, false, context.series, locale));
    if (hasLevels(whole))
        r.summary.push_back(alarmTable(whole, false, context.series, locale));
    if (shown) {
        r.summary.push_back(channelTable(*shown, true, context.series, locale));
        if (hasLevels(*shown))
            r.summary.push_back(alarmTable(*shown, true, context.series, locale));
    }

    r.excursionsIntro =
        QStringLiteral(
            "Every run of consecutive readings beyond an alarm level, over the whole %1. Start "
            "and end are its first and last reading beyond the level; its duration is its "
            "readings times the interval (%2).%3")
            .arg(context.series ? QStringLiteral("series") : QStringLiteral("file"),
                 summaryDuration(whole.interval, locale),
                 context.series ? QStringLiteral(" A gap between downloads ends a run.") : QString());
    for (const ChannelSummary& c : whole.channels) {
        for (const AlarmSummary& a : c.alarms)
            r.excursions.push_back(excursionTable(whole, c, a, locale));
    }

    QStringList head{r.logger};
    if (!context.serialNumber.isEmpty())
        head << QStringLiteral("serial number %1").arg(context.serialNumber);
    head << context.fileName;
    r.runningHead = head.join(QStringLiteral(" \u00B7 "));
    r.footer = QStringLiteral("Report made %1").arg(localTime(context.madeAt, locale));
    r.locale = locale;
    return r;
}

QString pageNumberText(int page, int pages, const QLocale& locale) {
    return QStringLiteral("Page %1 of %2").arg(locale.toString(page), locale.toString(pages));
}

QPageSize::PageSizeId paperFor(const QLocale& locale) {
    static constexpr QLocale::Territory LETTER[] = {
        QLocale::UnitedStates, QLocale::Canada,
        QLocale::Mexico,       QLocale::PuertoRico,
        QLocale::Chile,        QLocale::Colombia,
        QLocale::CostaRica,    QLocale::Guatemala,
        QLocale::Nicaragua,    QLocale::Panama,
        QLocale::ElSalvador,   QLocale::Venezuela,
        QLocale::Philippines,  QLocale::DominicanRepublic,
    };
    if (locale.measurementSystem() == QLocale::ImperialUSSystem ||
        std::find(std::begin(LETTER), std::end(LETTER), locale.territory()) != std::end(LETTER))
        return QPageSize::Letter;
    return QPageSize::A4;
}

} // namespace vessor::graph::report
