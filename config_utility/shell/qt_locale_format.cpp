#include "config_utility/shell/qt_locale_format.h"

#include <QDate>
#include <QTime>

namespace vessor {

namespace {

// The short time format, with seconds: logger times are to the second.
QString timeWithSeconds(const QLocale& locale)
{
    QString pattern = locale.timeFormat(QLocale::ShortFormat);
    if (!pattern.contains(QLatin1Char('s'))) {
        const qsizetype minutes = pattern.lastIndexOf(QLatin1String("mm"));
        if (minutes >= 0)
            pattern.insert(minutes + 2, QLatin1String(":ss"));
        else
            pattern = QStringLiteral("HH:mm:ss");
    }
    return pattern;
}

// The short date format with a four-digit year, so that dates far apart
// (sensor expiry) cannot be confused.
QString dateWithFullYear(const QLocale& locale)
{
    QString pattern = locale.dateFormat(QLocale::ShortFormat);
    if (!pattern.contains(QLatin1String("yyyy")))
        pattern.replace(QLatin1String("yy"), QLatin1String("yyyy"));
    return pattern;
}

} // namespace

QtLocaleFormat::QtLocaleFormat(const QLocale& locale)
    : locale_(locale), datePattern_(dateWithFullYear(locale)), timePattern_(timeWithSeconds(locale))
{
}

// QDate and QTime carry the logger's fields as they are (no time zone in
// between); fields Qt refuses fall back to the plain pattern formatter.
std::string QtLocaleFormat::formatDate(const CalendarTime& t) const
{
    const QDate date(t.fullYear(), t.month + 1, t.day);
    if (!date.isValid())
        return formatCalendarPattern(t, datePattern_.toStdString());
    return locale_.toString(date, datePattern_).toStdString();
}

std::string QtLocaleFormat::formatTime(const CalendarTime& t) const
{
    const QTime time(t.hour, t.minute, t.second);
    if (!time.isValid())
        return formatCalendarPattern(t, timePattern_.toStdString());
    return locale_.toString(time, timePattern_).toStdString();
}

} // namespace vessor
