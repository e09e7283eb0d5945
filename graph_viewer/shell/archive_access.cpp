#include "archive_access.h"

#include "logger/download_fields.h"

#include <QSettings>

#include <algorithm>
#include <cstdio>
#include <filesystem>

namespace vessor::graph {

namespace {

constexpr std::int64_t DAY = 86400;

std::int64_t floorDay(std::int64_t seconds) {
    const std::int64_t q = seconds / DAY;
    return (q - (seconds % DAY < 0 ? 1 : 0)) * DAY;
}

std::string counted(std::int64_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

} // namespace

std::optional<std::string> utilityArchiveSetting() {
    const QSettings settings(QStringLiteral("Meridane Electronics"), QStringLiteral("vessor-usb"));
    const QString key = QString::fromLatin1(archive::SETTING_SECTION) + QLatin1Char('/') +
                        QString::fromLatin1(archive::SETTING_KEY);
    if (!settings.contains(key))
        return std::nullopt;
    return settings.value(key).toString().toStdString();
}

archive::ArchiveChoice viewerArchiveChoice(const std::optional<std::string>& setting) {
    // An absent setting is the default: the settings file was read already.
    return archive::chooseArchiveForProgram(std::nullopt, setting.value_or(std::string()));
}

OpenedArchive openArchiveForViewing(const archive::ArchiveChoice& choice) {
    if (!choice.ok())
        return {nullptr, "The archive cannot be opened: " + choice.error};
    const archive::ArchiveUrl& url = *choice.url;
    if (!url.enabled()) {
        if (choice.source == archive::UrlSource::Environment)
            return {nullptr, std::string("No archive is chosen: ") + archive::ENVIRONMENT_VARIABLE +
                                 " is \"none\"."};
        return {
            nullptr,
            "No archive is chosen: Vessor USB's Options > Archive... is set to \"No archive\"."};
    }
    if (url.kind == archive::ArchiveUrl::Kind::Sqlite) {
        // Looking must not make an empty archive.
        std::error_code error;
        if (!std::filesystem::exists(url.target, error)) {
            if (url.isDefault)
                return {nullptr,
                        "There is no archive yet: Vessor USB and vessor-logger make it at " +
                            url.target + " when they store the first download."};
            return {nullptr, "The archive file " + url.target + " does not exist (chosen by " +
                                 archive::urlSourceName(choice.source) + ")."};
        }
    }
    std::string why;
    std::unique_ptr<archive::Archive> opened = archive::Archive::open(
        archive::withConnectTimeout(url, archive::DIALOG_CONNECT_TIMEOUT), why);
    if (!opened)
        return {nullptr, "The archive cannot be opened: " + why};
    return {std::move(opened), {}};
}

std::pair<std::int64_t, std::int64_t> wholeSpan(const archive::LoggerEntry& logger) {
    const std::int64_t first = logger.firstTime.value_or(logger.lastTime.value_or(0));
    const std::int64_t last = std::max(first, logger.lastTime.value_or(first));
    return {floorDay(first), floorDay(last) + DAY};
}

QDateTime clockDateTime(std::int64_t clockSeconds) {
    const download::ClockFields f = download::fromClockSeconds(clockSeconds);
    return QDateTime(QDate(f.year, f.month, f.day), QTime(f.hour, f.minute, f.second), Qt::UTC);
}

std::int64_t clockSecondsOf(const QDateTime& dateTime) {
    const QDateTime utc = dateTime.toTimeSpec(Qt::UTC);
    const QDate d = utc.date();
    const QTime t = utc.time();
    return download::toClockSeconds(
        {d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second()});
}

std::string rangeTimeText(std::int64_t clockSeconds) {
    const download::ClockFields f = download::fromClockSeconds(clockSeconds);
    char text[32];
    if (f.hour == 0 && f.minute == 0 && f.second == 0)
        std::snprintf(text, sizeof text, "%04d-%02d-%02d", f.year, f.month, f.day);
    else if (f.second == 0)
        std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d", f.year, f.month, f.day, f.hour,
                      f.minute);
    else
        std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", f.year, f.month, f.day,
                      f.hour, f.minute, f.second);
    return text;
}

std::string seriesLabel(const std::string& loggerName, std::int64_t serial, std::int64_t from,
                        std::int64_t to) {
    const std::string name =
        loggerName.empty() ? "Logger " + archive::serialText(serial) : loggerName;
    return name + " \u2014 archive, " + rangeTimeText(from) + " to " + rangeTimeText(to);
}

std::string seriesFacts(const archive::ArchiveSeries& series) {
    std::string text =
        counted(series.readings, "reading", "readings") + " from " +
        counted(static_cast<std::int64_t>(series.downloads.size()), "download", "downloads") +
        ", " + (series.gaps == 0 ? std::string("no gap") : counted(series.gaps, "gap", "gaps"));
    if (series.leftOut > 0)
        text += "; " + counted(series.leftOut, "reading", "readings") +
                " left out (another interval or other channels)";
    if (series.moved > 0)
        text +=
            "; " + counted(series.moved, "reading", "readings") + " moved onto the interval's grid";
    return text;
}

} // namespace vessor::graph
