#include "summary_text.h"

#include <QDateTime>
#include <QStringList>

namespace vessor::graph {

using download::AlarmKind;
using download::AlarmSummary;
using download::ChannelRole;
using download::ChannelSummary;
using download::Summary;

namespace {

const QString NONE = QStringLiteral("\u2014");

QString q(const std::string& text) {
    return QString::fromStdString(text);
}

QString escaped(const QString& text) {
    return text.toHtmlEscaped();
}

QString count(int n, const QLocale& locale) {
    return locale.toString(n);
}

QString row(const QString& label, const QString& whole, const QString& visible) {
    return QStringLiteral("<tr><td class=l>%1</td><td class=v>%2</td><td class=v>%3</td></tr>")
        .arg(escaped(label), whole, visible);
}

// A row that belongs to the one above it ("at" under "Minimum").
QString subRow(const QString& label, const QString& whole, const QString& visible) {
    return QStringLiteral("<tr><td class=i>%1</td><td class=v>%2</td><td class=v>%3</td></tr>")
        .arg(escaped(label), whole, visible);
}

QString wideRow(const QString& label, const QString& value) {
    return QStringLiteral("<tr><td class=l>%1</td><td class=w colspan=2>%2</td></tr>")
        .arg(escaped(label), value);
}

QString sectionRow(const QString& title) {
    return QStringLiteral("<tr><th colspan=3 class=s>%1</th></tr>").arg(escaped(title));
}

// The time of reading k, or "—" when the range has no reading.
QString timeOf(const Summary& s, int k, bool has, const QLocale& locale) {
    return has ? escaped(summaryTime(s.timeOf(k), locale)) : NONE;
}

const AlarmSummary* alarmAt(const Summary& s, std::size_t channel, std::size_t alarm) {
    if (channel >= s.channels.size() || alarm >= s.channels[channel].alarms.size())
        return nullptr;
    return &s.channels[channel].alarms[alarm];
}

const char* beyondWord(AlarmKind kind) {
    return kind == AlarmKind::Low ? "below" : "above";
}

} // namespace

QString summaryHeadline(const Summary& summary) {
    QStringList crossed;
    bool anyLevel = false;
    for (const ChannelSummary& channel : summary.channels) {
        for (const AlarmSummary& alarm : channel.alarms) {
            anyLevel = true;
            if (alarm.readings > 0) {
                crossed << QStringLiteral("%1 %2 %3")
                               .arg(q(channel.name), QLatin1String(beyondWord(alarm.kind)),
                                    q(alarm.label));
            }
        }
    }
    if (!anyLevel)
        return QStringLiteral("No alarm levels in this file");
    if (crossed.isEmpty())
        return QStringLiteral("Within limits");
    return QStringLiteral("Out of limits: ") + crossed.join(QStringLiteral(", "));
}

QString summaryTime(std::int64_t clockSeconds, const QLocale& locale) {
    const QDateTime when = QDateTime::fromSecsSinceEpoch(clockSeconds, Qt::UTC);
    return locale.toString(when.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
           locale.toString(when.time(), QStringLiteral("HH:mm:ss"));
}

QString summaryDuration(std::int64_t seconds, const QLocale& locale) {
    struct Unit {
        std::int64_t size;
        const char* name;
    };
    static constexpr Unit UNITS[] = {{86400, "d"}, {3600, "h"}, {60, "min"}, {1, "s"}};
    if (seconds <= 0)
        return locale.toString(0) + QStringLiteral(" s");
    QStringList parts;
    for (const Unit& unit : UNITS) {
        const std::int64_t n = seconds / unit.size;
        // The largest unit, and the next one after it even when zero.
        if (n > 0 || !parts.isEmpty()) {
            const QString number = parts.isEmpty() ? locale.toString(static_cast<qlonglong>(n))
                                                   : QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
            parts << number + QLatin1Char(' ') + QLatin1String(unit.name);
            seconds -= n * unit.size;
            if (parts.size() == 2)
                break;
        }
    }
    // "1 h 00 min" reads better as "1 h".
    if (parts.size() == 2 && parts[1].startsWith(QStringLiteral("00 ")))
        parts.removeLast();
    return parts.join(QLatin1Char(' '));
}

QString summaryValueText(const std::optional<double>& value, int decimals, const std::string& unit,
                         const QLocale& locale) {
    if (!value)
        return NONE;
    QString text = locale.toString(*value, 'f', std::max(decimals, 0));
    if (!unit.empty())
        text += QChar(0x00A0) + q(unit);
    return text;
}

QString summaryValue(const std::optional<double>& value, int decimals, const std::string& unit,
                     const QLocale& locale) {
    return escaped(summaryValueText(value, decimals, unit, locale));
}

QString summaryHtml(const Summary& whole, const Summary& visible, const SummaryTextContext& context) {
    const QLocale& locale = context.locale;
    const QString headline = summaryHeadline(whole);
    const bool alarmed = headline.startsWith(QStringLiteral("Out of limits"));
    QString html = QStringLiteral(
        "<style>table{border-collapse:collapse;} td,th{padding:1px 6px;}"
        " td.l{color:#444;white-space:nowrap;} td.v{text-align:right;white-space:nowrap;}"
        " th{text-align:right;white-space:nowrap;} th.s{text-align:left;padding-top:8px;"
        "border-bottom:1px solid #999;} td.w{text-align:left;} td.i{color:#666;padding-left:18px;} span.a{color:#666;}</style>");
    html += QStringLiteral("<p style='font-size:large;font-weight:bold;color:%1'>%2</p>")
                .arg(alarmed ? QStringLiteral("#b00000") : QStringLiteral("#006000"),
                     escaped(headline));
    html += QStringLiteral("<table><tr><th></th><th>%1</th><th>Visible range</th></tr>")
                .arg(context.series ? QStringLiteral("Whole series") : QStringLiteral("Whole file"));

    const bool hasWhole = whole.readings() > 0;
    const bool hasVisible = visible.readings() > 0;
    html += sectionRow(QStringLiteral("Recording"));
    html += wideRow(QStringLiteral("Logger"), escaped(q(whole.title)));
    if (!context.serialNumber.isEmpty())
        html += wideRow(QStringLiteral("Serial number"), escaped(context.serialNumber));
    html += wideRow(context.series ? QStringLiteral("Archive") : QStringLiteral("File"),
                    escaped(context.fileName));
    html += row(QStringLiteral("First reading"), timeOf(whole, whole.range.from, hasWhole, locale),
                timeOf(visible, visible.range.from, hasVisible, locale));
    html += row(QStringLiteral("Last reading"), timeOf(whole, whole.range.to - 1, hasWhole, locale),
                timeOf(visible, visible.range.to - 1, hasVisible, locale));
    // An archive's series has places without a reading (gaps): the first
    // channel's count is the readings (in a file every row has one).
    const auto readings = [](const Summary& s) {
        return s.channels.empty() ? s.readings() : s.channels.front().count;
    };
    html += row(QStringLiteral("Readings"), count(readings(whole), locale),
                count(readings(visible), locale));
    html += wideRow(QStringLiteral("Interval"), escaped(summaryDuration(whole.interval, locale)));
    const auto span = [&](const Summary& s, bool has) {
        return has ? escaped(summaryDuration(std::int64_t{s.readings() - 1} * s.interval, locale))
                   : NONE;
    };
    html += row(QStringLiteral("Span"), span(whole, hasWhole), span(visible, hasVisible));

    for (std::size_t c = 0; c < whole.channels.size(); ++c) {
        const ChannelSummary& w = whole.channels[c];
        const ChannelSummary* v = c < visible.channels.size() ? &visible.channels[c] : nullptr;
        const auto value = [&](const ChannelSummary* s, const std::optional<double> ChannelSummary::*field) {
            return summaryValue(s ? s->*field : std::nullopt, w.decimals, w.unit, locale);
        };
        const auto at = [&](const Summary& s, const ChannelSummary* ch, int ChannelSummary::*field) {
            return ch && ch->count > 0
                       ? QStringLiteral("<span class=a>%1</span>")
                             .arg(escaped(summaryTime(s.timeOf(ch->*field), locale)))
                       : NONE;
        };
        html += sectionRow(q(w.name));
        html += row(QStringLiteral("Minimum"), value(&w, &ChannelSummary::min), value(v, &ChannelSummary::min));
        html += subRow(QStringLiteral("at"), at(whole, &w, &ChannelSummary::minAt),
                    at(visible, v, &ChannelSummary::minAt));
        html += row(QStringLiteral("Maximum"), value(&w, &ChannelSummary::max), value(v, &ChannelSummary::max));
        html += subRow(QStringLiteral("at"), at(whole, &w, &ChannelSummary::maxAt),
                    at(visible, v, &ChannelSummary::maxAt));
        html += row(QStringLiteral("Mean"), value(&w, &ChannelSummary::mean), value(v, &ChannelSummary::mean));
        // The spread is a difference: it carries the unit, one decimal more.
        const auto spread = [&](const ChannelSummary* s) {
            return summaryValue(s ? s->stddev : std::nullopt, w.decimals + 1, w.unit, locale);
        };
        html += row(QStringLiteral("Standard deviation"), spread(&w), spread(v));
        if (w.role == ChannelRole::Primary)
            html += row(QStringLiteral("MKT"), value(&w, &ChannelSummary::mkt), value(v, &ChannelSummary::mkt));

        for (std::size_t a = 0; a < w.alarms.size(); ++a) {
            const AlarmSummary& wa = w.alarms[a];
            const AlarmSummary* va = alarmAt(visible, c, a);
            html += sectionRow(q(w.name) + QStringLiteral(": ") + q(wa.label));
            html += row(QStringLiteral("Level"), summaryValue(wa.level, w.decimals, w.unit, locale),
                        summaryValue(va ? va->level : std::nullopt, w.decimals, w.unit, locale));
            const auto readings = [&](const AlarmSummary* s) {
                return s ? count(s->readings, locale) : NONE;
            };
            const auto time = [&](const Summary& sum, const AlarmSummary* s) {
                return s ? escaped(summaryDuration(std::int64_t{s->readings} * sum.interval, locale)) : NONE;
            };
            const auto runs = [&](const AlarmSummary* s) {
                return s ? count(static_cast<int>(s->excursions.size()), locale) : NONE;
            };
            const auto longest = [&](const Summary& sum, const AlarmSummary* s) {
                return s && s->longestRun > 0
                           ? escaped(summaryDuration(std::int64_t{s->longestRun} * sum.interval, locale))
                           : NONE;
            };
            const auto first = [&](const Summary& sum, const AlarmSummary* s) {
                return s && s->firstAt() ? escaped(summaryTime(sum.timeOf(*s->firstAt()), locale)) : NONE;
            };
            html += row(QStringLiteral("Readings beyond"), readings(&wa), readings(va));
            html += row(QStringLiteral("Time beyond"), time(whole, &wa), time(visible, va));
            html += row(QStringLiteral("Excursions"), runs(&wa), runs(va));
            html += row(QStringLiteral("Longest excursion"), longest(whole, &wa), longest(visible, va));
            html += row(QStringLiteral("First crossed"), first(whole, &wa), first(visible, va));
        }
    }
    html += QStringLiteral("</table>");
    return html;
}

} // namespace vessor::graph
