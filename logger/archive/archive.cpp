#include "logger/archive/archive.h"

#include "logger/archive/migrations.h"
#include "logger/conversion.h"
#include "logger/download_writer.h"
#include "logger/strings.h"
#include "logger/text_encoding.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdio>
#include <map>
#include <unordered_map>

namespace vessor::archive {

using download::FieldReader;

namespace {

// Advisory lock key of the schema's migration ("vessor").
constexpr std::int64_t MIGRATION_LOCK = 0x766573736f72;
// A transaction the database gave up on (a deadlock) is run again this often.
constexpr int ATTEMPTS = 5;

const char* dialectName(Dialect dialect) {
    return dialect == Dialect::Sqlite ? "sqlite" : "postgresql";
}

std::optional<double> nullable(const SqlRow& row, int column) {
    if (row.isNull(column))
        return std::nullopt;
    return row.real(column);
}

std::optional<std::int64_t> nullableInteger(const SqlRow& row, int column) {
    if (row.isNull(column))
        return std::nullopt;
    return row.integer(column);
}

SqlValue optionalValue(const std::optional<std::int64_t>& value) {
    return value ? SqlValue(*value) : SqlValue(std::monostate{});
}

StoreStatus migrate(ArchiveStore& store) {
    const char* dialect = dialectName(store.dialect());
    int latest = 0;
    for (const Migration& m : migrations())
        if (std::string_view(m.dialect) == dialect)
            latest = std::max(latest, m.version);
    const auto current = [&](int& version) {
        version = 0;
        return store.run("SELECT COALESCE(MAX(version), 0) FROM archive_schema", {},
                         [&](const SqlRow& row) { version = static_cast<int>(row.integer(0)); });
    };
    int version = 0;
    if (current(version).ok() && version == latest)
        return {};
    if (version > latest)
        return StoreStatus::failure("the archive's schema is version " + std::to_string(version) +
                                    ", newer than this program knows (" + std::to_string(latest) + ")");
    // Two programs opening a new archive at once: one makes the schema, the
    // other waits for it and finds it made.
    if (StoreStatus began = store.begin(); !began.ok())
        return began;
    StoreStatus status = store.lock(MIGRATION_LOCK);
    if (status.ok())
        status = store.script("CREATE TABLE IF NOT EXISTS archive_schema (version INTEGER PRIMARY KEY, "
                              "name TEXT NOT NULL, applied_at BIGINT NOT NULL)");
    if (status.ok())
        status = current(version);
    for (const Migration& m : migrations()) {
        if (!status.ok())
            break;
        if (std::string_view(m.dialect) != dialect || m.version <= version)
            continue;
        status = store.script(m.sql);
        if (status.ok()) {
            const SqlValue parameters[] = {std::int64_t{m.version}, std::string(m.name),
                                           currentStamp().unixTime};
            status = store.run("INSERT INTO archive_schema (version, name, applied_at) VALUES ($1, $2, $3)",
                               parameters);
        }
        if (!status.ok())
            status.error = std::string("schema ") + m.name + ": " + status.error;
    }
    if (status.ok())
        status = store.commit();
    if (!status.ok())
        store.rollback();
    return status;
}

std::string fileNameOf(std::string_view path) {
    const auto slash = path.rfind('/');
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string exportName(std::int64_t serial, std::int64_t time) {
    return stretchStem(serial, time) + ".txt";
}

// The third heading of a header line (the reading's), as written.
std::string_view readingHeading(std::string_view header) {
    FieldReader headings(header);
    std::string_view field;
    for (int i = 0; i < 3; ++i)
        if (!headings.next(field))
            return {};
    return field;
}

// The header without the logger name: downloads with the same one have the
// same channels, units and alarm columns.
std::string_view columnsOf(std::string_view header) {
    const auto comma = header.find(',');
    return comma == std::string_view::npos ? std::string_view{} : header.substr(comma);
}

// The fields of a row the channels do not keep as values: alarm levels as
// written, the digits of humidity and dew point, what follows the channels.
struct RowTexts {
    std::string alarms;
    std::string humidityAlarms;
    std::string extras;
    int humidityDecimals = -1; // -1: no such column
    int dewDecimals = -1;
};

RowTexts rowTexts(std::string_view line, const download::DownloadData& data) {
    RowTexts texts;
    FieldReader fields(line);
    std::string_view field;
    fields.next(field); // row number
    fields.next(field); // time
    fields.next(field); // reading
    for (bool has : {data.primary.hasHigh, data.primary.hasLow})
        if (has && fields.next(field))
            (texts.alarms += ',') += field;
    if (data.secondary.present) {
        if (fields.next(field))
            texts.humidityDecimals = download::decimalsOf(field);
        for (bool has : {data.secondary.hasHigh, data.secondary.hasLow})
            if (has && fields.next(field))
                (texts.humidityAlarms += ',') += field;
        if (data.primary.hasExtra && fields.next(field))
            texts.dewDecimals = field == text::ERROR_TEXT ? 1 : download::decimalsOf(field);
    }
    const std::size_t rest = fields.position();
    if (rest > 0 && rest <= line.size() && line[rest - 1] == ',')
        texts.extras = std::string(line.substr(rest - 1));
    return texts;
}

// Alarm levels from their fields as written, in column order.
void alarmLevels(std::string_view fields, bool hasHigh, bool hasLow, double& high, double& low) {
    FieldReader reader(fields);
    std::string_view field;
    high = low = download::NO_VALUE;
    if (hasHigh && reader.next(field))
        high = download::parseDecimal(field);
    if (hasLow && reader.next(field))
        low = download::parseDecimal(field);
}

bool sameValue(const std::optional<double>& a, const std::optional<double>& b) {
    return a.has_value() == b.has_value() && (!a || *a == *b);
}

std::string valueText(double value, int decimals) {
    return formatFixed(value, std::max(decimals, 0));
}

} // namespace

// What a file gives the archive, decided before any transaction.
struct PreparedImport {
    std::int64_t serial = 0;
    bool event = false;
    std::string loggerName;
    std::string heading;
    std::string header;
    std::optional<std::int64_t> firstTime, lastTime;
    int readings = 0;
    int interval = 0;
    int decimals = 0;
    RowTexts texts;
    std::string sourceName;
    std::string sha256;
    std::string compressed;
    std::uint64_t size = 0;
    std::vector<StagedReading> staged;
};

// A visible download with what the export and the series need.
struct Archive::DownloadRecord {
    std::int64_t id = 0;
    bool event = false;
    std::string header;
    int interval = 0;
    int decimals = 0;
    int humidityDecimals = -1;
    int dewDecimals = -1;
    std::string alarms, humidityAlarms, extras;
    std::optional<std::int64_t> firstTime, lastTime;
    std::string loggerName;
};

std::optional<std::int64_t> parseSerial(std::string_view text) {
    text = download::trimBlanks(text);
    if (text.empty() || text.size() > 18)
        return std::nullopt;
    std::int64_t value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec != std::errc() || result.ptr != text.data() + text.size() || value < 0)
        return std::nullopt;
    return value;
}

std::string serialText(std::int64_t serial) {
    char text[32];
    std::snprintf(text, sizeof text, "%09lld", static_cast<long long>(serial));
    return text;
}

std::string stretchStem(std::int64_t serial, std::int64_t time) {
    const download::ClockFields f = download::fromClockSeconds(time);
    char text[32];
    std::snprintf(text, sizeof text, "%04d%02d%02dT%02d%02d%02d", f.year, f.month, f.day, f.hour, f.minute,
                  f.second);
    return serialText(serial) + "-" + text;
}

std::optional<std::int64_t> parseIsoTime(std::string_view text) {
    // YYYY-MM-DDTHH:MM:SS
    if (text.size() != 19 || text[4] != '-' || text[7] != '-' || text[10] != 'T' || text[13] != ':' ||
        text[16] != ':')
        return std::nullopt;
    int parts[6];
    const std::size_t at[6] = {0, 5, 8, 11, 14, 17};
    const std::size_t width[6] = {4, 2, 2, 2, 2, 2};
    for (int i = 0; i < 6; ++i) {
        const char* begin = text.data() + at[i];
        const auto result = std::from_chars(begin, begin + width[i], parts[i]);
        if (result.ec != std::errc() || result.ptr != begin + width[i])
            return std::nullopt;
    }
    const download::ClockFields fields{parts[0], parts[1], parts[2], parts[3], parts[4], parts[5]};
    if (fields.year < 1970 || fields.month < 1 || fields.month > 12 || fields.day < 1 ||
        fields.day > daysInMonth(fields.month - 1, fields.year) || fields.hour > 23 || fields.minute > 59 ||
        fields.second > 59)
        return std::nullopt;
    return download::toClockSeconds(fields);
}

std::unique_ptr<Archive> Archive::open(const ArchiveUrl& url, std::string& error) {
    std::string why;
    std::unique_ptr<ArchiveStore> store = openStore(url, why);
    if (store) {
        if (StoreStatus migrated = migrate(*store); !migrated.ok()) {
            why = migrated.error;
            store.reset();
        }
    }
    if (!store) {
        error = "cannot open the archive " + url.display() + ": " + withoutPassword(why);
        return nullptr;
    }
    return std::make_unique<Archive>(std::move(store), url.display());
}

Archive::Archive(std::unique_ptr<ArchiveStore> store, std::string display)
    : store_(std::move(store)), display_(std::move(display)) {}

ImportResult Archive::importFile(std::string_view bytes, std::string_view sourceName, const Stamp& stamp) {
    ImportResult result;
    const auto refuse = [&](std::string why) {
        result.status = ImportStatus::Refused;
        result.message = std::move(why);
        return result;
    };
    PreparedImport prepared;
    prepared.sourceName = fileNameOf(sourceName);
    const download::ReadResult read = download::readDownload(bytes);
    std::string serial;
    if (read.outcome.status == download::ReadStatus::Invalid) {
        return refuse(viewerStringText(VSTR_INVALID_DATA) + " (line " + std::to_string(read.outcome.line) +
                      ": " + read.outcome.reason + ")");
    } else if (read.outcome.status == download::ReadStatus::EventFile) {
        const download::EventFileFacts facts = download::readEventFile(bytes);
        prepared.event = true;
        prepared.loggerName = facts.title;
        prepared.heading = facts.heading;
        prepared.firstTime = facts.first;
        prepared.lastTime = facts.last;
        prepared.readings = facts.rows;
        const std::string_view firstLine = bytes.substr(0, bytes.find('\n'));
        prepared.header = std::string(download::trimBlanks(firstLine));
        serial = facts.serial;
    } else {
        const download::DownloadData& data = read.data;
        serial = download::serialNumber(data);
        prepared.loggerName = data.title;
        prepared.header = std::string(data.header);
        prepared.heading = cp1252ToUtf8(std::string(readingHeading(data.header)));
        prepared.readings = data.rowCount();
        prepared.interval = data.rowCount() > 1 ? data.interval : 0;
        prepared.decimals = data.primary.decimals;
        prepared.staged.reserve(data.rows.size());
        for (std::size_t i = 0; i < data.rows.size(); ++i) {
            StagedReading r;
            // A row whose own time does not read stands where the viewer draws it.
            r.time = data.rows[i].time.value_or(data.startTime +
                                                static_cast<std::int64_t>(i) * data.interval);
            r.reading = data.primary.readings[i];
            if (data.secondary.present)
                r.humidity = data.secondary.readings[i];
            if (data.primary.hasExtra && !download::isNoValue(data.primary.extra[i]))
                r.dewPoint = data.primary.extra[i];
            prepared.staged.push_back(r);
        }
        // The span of the readings (a file's rows run forwards; one that
        // does not still has every reading inside the span).
        const auto [earliest, latest] = std::minmax_element(
            prepared.staged.begin(), prepared.staged.end(),
            [](const StagedReading& a, const StagedReading& b) { return a.time < b.time; });
        prepared.firstTime = earliest->time;
        prepared.lastTime = latest->time;
        prepared.texts = rowTexts(data.rows.front().line, data);
        // Digits as the last row gives them, as the reader takes the reading's.
        const RowTexts last = rowTexts(data.rows.back().line, data);
        prepared.texts.humidityDecimals = last.humidityDecimals;
        if (last.dewDecimals >= 0)
            prepared.texts.dewDecimals = last.dewDecimals;
    }
    const std::optional<std::int64_t> number = parseSerial(serial);
    if (!number)
        return refuse(serial.empty() ? "the file has no serial number, and the archive keeps readings by "
                                       "the logger's serial number"
                                     : "the serial number \"" + cp1252ToUtf8(serial) + "\" is not a number");
    prepared.serial = *number;
    prepared.sha256 = sha256Hex(bytes);
    prepared.compressed = compressBytes(bytes);
    prepared.size = bytes.size();
    if (prepared.sha256.empty() || (prepared.compressed.empty() && !bytes.empty())) {
        result.message = "the file's bytes could not be hashed or compressed";
        return result;
    }
    for (int attempt = 1;; ++attempt) {
        result = storeOnce(prepared, stamp);
        if (result.status != ImportStatus::Failed || result.message.rfind("retry:", 0) != 0)
            break;
        if (attempt == ATTEMPTS) {
            result.message.erase(0, 6);
            break;
        }
    }
    return result;
}

ImportResult Archive::storeOnce(const PreparedImport& p, const Stamp& stamp) {
    ArchiveStore& store = *store_;
    ImportResult result;
    result.event = p.event;
    result.readings = p.readings;
    const auto fail = [&](const StoreStatus& status) {
        store.rollback();
        result.status = ImportStatus::Failed;
        result.message = (status.retry ? "retry:" : "") + withoutPassword(status.error);
        return result;
    };
    if (StoreStatus began = store.begin(); !began.ok())
        return fail(began);
    // Imports of one logger take turns, so each sees the other's readings
    // whole (PostgreSQL; SQLite's write lock already does this).
    if (StoreStatus locked = store.lock(p.serial); !locked.ok())
        return fail(locked);

    const SqlValue download[] = {
        p.serial,
        std::string(p.event ? "event" : "series"),
        p.loggerName,
        p.heading,
        Bytes{p.header},
        optionalValue(p.firstTime),
        optionalValue(p.lastTime),
        std::int64_t{p.readings},
        std::int64_t{p.interval},
        std::int64_t{p.decimals},
        std::int64_t{p.texts.humidityDecimals},
        std::int64_t{p.texts.dewDecimals},
        Bytes{p.texts.alarms},
        Bytes{p.texts.humidityAlarms},
        Bytes{p.texts.extras},
        p.sourceName,
        Bytes{p.compressed},
        static_cast<std::int64_t>(p.size),
        p.sha256,
        stamp.unixTime,
        stamp.user,
    };
    std::optional<std::int64_t> id;
    StoreStatus status = store.run(
        "INSERT INTO downloads (serial, kind, logger_name, heading, header, first_time, last_time, "
        "readings, interval_s, decimals, humidity_decimals, dew_point_decimals, alarm_fields, "
        "humidity_alarm_fields, first_row_extras, source_name, original, original_size, sha256, "
        "stored_at, stored_by) VALUES ($1, $2, $3, $4, $5, $6, $7, $8, $9, $10, $11, $12, $13, $14, "
        "$15, $16, $17, $18, $19, $20, $21) ON CONFLICT (sha256) DO NOTHING RETURNING id",
        download, [&](const SqlRow& row) { id = row.integer(0); });
    if (!status.ok())
        return fail(status);
    if (!id) {
        // The same bytes are stored already: nothing to add.
        const SqlValue sha[] = {p.sha256};
        status = store.run("SELECT d.id, (SELECT COUNT(*) FROM deletions x WHERE x.download_id = d.id) "
                           "FROM downloads d WHERE d.sha256 = $1",
                           sha, [&](const SqlRow& row) {
                               result.downloadId = row.integer(0);
                               result.hidden = row.integer(1) > 0;
                           });
        store.rollback();
        if (!status.ok())
            return fail(status);
        result.status = ImportStatus::AlreadyStored;
        return result;
    }
    result.downloadId = *id;
    if (!p.event) {
        if (status = store.stage(p.staged); !status.ok())
            return fail(status);
        const SqlValue keys[] = {p.serial, *id};
        status = store.run("INSERT INTO readings (serial, reading_time, download_id, reading, humidity, "
                           "dew_point) SELECT CAST($1 AS BIGINT), reading_time, CAST($2 AS BIGINT), reading, "
                           "humidity, dew_point FROM staged_readings WHERE true ORDER BY reading_time, "
                           "ordinal ON CONFLICT (serial, reading_time) DO NOTHING",
                           keys, {}, &result.added);
        if (!status.ok())
            return fail(status);
        // Readings that differ from the ones kept (another download's, or
        // an earlier row of this file at the same time).
        status = store.run(
            "INSERT INTO conflicts (serial, reading_time, download_id, kept_download_id, reading, humidity, "
            "dew_point) SELECT CAST($1 AS BIGINT), s.reading_time, CAST($2 AS BIGINT), r.download_id, "
            "s.reading, s.humidity, s.dew_point FROM staged_readings s JOIN readings r ON r.serial = $1 "
            "AND r.reading_time = s.reading_time WHERE r.reading IS DISTINCT FROM s.reading OR r.humidity "
            "IS DISTINCT FROM s.humidity OR r.dew_point IS DISTINCT FROM s.dew_point ORDER BY s.ordinal",
            keys, {}, &result.conflicts);
        if (!status.ok())
            return fail(status);
    }
    if (status = store.commit(); !status.ok())
        return fail(status);
    result.status = ImportStatus::Stored;
    return result;
}

Result<std::vector<DownloadEntry>> Archive::downloads(std::optional<std::int64_t> serial) {
    std::vector<DownloadEntry> entries;
    const SqlValue parameters[] = {optionalValue(serial)};
    const StoreStatus status = store_->run(
        "SELECT d.id, d.serial, d.logger_name, d.heading, d.first_time, d.last_time, d.readings, "
        "d.source_name, d.stored_at, d.stored_by, d.kind FROM downloads d WHERE NOT EXISTS (SELECT 1 FROM "
        "deletions x WHERE x.download_id = d.id) AND (CAST($1 AS BIGINT) IS NULL OR d.serial = $1) "
        "ORDER BY d.id",
        parameters, [&](const SqlRow& row) {
            DownloadEntry e;
            e.id = row.integer(0);
            e.serial = row.integer(1);
            e.loggerName = row.text(2);
            e.heading = row.text(3);
            e.firstTime = nullableInteger(row, 4);
            e.lastTime = nullableInteger(row, 5);
            e.readings = static_cast<int>(row.integer(6));
            e.sourceName = row.text(7);
            e.storedAt = row.integer(8);
            e.storedBy = row.text(9);
            e.event = row.text(10) == "event";
            entries.push_back(std::move(e));
        });
    if (!status.ok())
        return Result<std::vector<DownloadEntry>>::failure(withoutPassword(status.error));
    return {std::move(entries), {}};
}

Result<std::vector<ConflictEntry>> Archive::conflicts(std::optional<std::int64_t> serial) {
    std::vector<ConflictEntry> entries;
    const SqlValue parameters[] = {optionalValue(serial)};
    // A value as "reading[/humidity[/dew point]]" with its download's digits.
    const auto value = [](const SqlRow& row, int at) {
        std::string text = valueText(row.real(at), static_cast<int>(row.integer(at + 3)));
        const int humidityDecimals = static_cast<int>(row.integer(at + 4));
        const int dewDecimals = static_cast<int>(row.integer(at + 5));
        if (humidityDecimals >= 0 && !row.isNull(at + 1))
            text += "/" + valueText(row.real(at + 1), humidityDecimals);
        if (dewDecimals >= 0)
            text += "/" + (row.isNull(at + 2) ? std::string(text::ERROR_TEXT) : valueText(row.real(at + 2), dewDecimals));
        return text;
    };
    const StoreStatus status = store_->run(
        "SELECT c.serial, c.reading_time, r.download_id, r.reading, r.humidity, r.dew_point, k.decimals, "
        "k.humidity_decimals, k.dew_point_decimals, c.download_id, c.reading, c.humidity, c.dew_point, "
        "o.decimals, o.humidity_decimals, o.dew_point_decimals FROM conflicts c JOIN readings r ON r.serial "
        "= c.serial AND r.reading_time = c.reading_time JOIN downloads k ON k.id = r.download_id JOIN "
        "downloads o ON o.id = c.download_id WHERE NOT EXISTS (SELECT 1 FROM deletions x WHERE "
        "x.download_id = c.download_id OR x.download_id = r.download_id) AND (CAST($1 AS BIGINT) IS NULL OR "
        "c.serial = $1) ORDER BY c.serial, c.reading_time, c.id",
        parameters, [&](const SqlRow& row) {
            ConflictEntry e;
            e.serial = row.integer(0);
            e.time = row.integer(1);
            e.keptDownload = row.integer(2);
            e.keptValue = value(row, 3);
            e.otherDownload = row.integer(9);
            e.otherValue = value(row, 10);
            entries.push_back(std::move(e));
        });
    if (!status.ok())
        return Result<std::vector<ConflictEntry>>::failure(withoutPassword(status.error));
    return {std::move(entries), {}};
}

Result<std::vector<LoggerEntry>> Archive::loggers() {
    Result<std::vector<DownloadEntry>> all = downloads();
    if (!all.ok())
        return Result<std::vector<LoggerEntry>>::failure(all.error);
    std::map<std::int64_t, LoggerEntry> bySerial;
    for (const DownloadEntry& d : *all.value) {
        LoggerEntry& e = bySerial[d.serial];
        e.serial = d.serial;
        // Downloads come oldest first: the latest names the logger.
        e.loggerName = d.loggerName;
        e.heading = d.heading;
        e.event = d.event;
        ++e.downloads;
        if (d.firstTime && (!e.firstTime || *d.firstTime < *e.firstTime))
            e.firstTime = d.firstTime;
        if (d.lastTime && (!e.lastTime || *d.lastTime > *e.lastTime))
            e.lastTime = d.lastTime;
    }
    std::vector<LoggerEntry> entries;
    for (auto& [serial, entry] : bySerial)
        entries.push_back(std::move(entry));
    return {std::move(entries), {}};
}

Result<std::vector<Archive::DownloadRecord>> Archive::records(std::int64_t serial,
                                                               std::optional<std::int64_t> from,
                                                               std::optional<std::int64_t> to) {
    std::vector<DownloadRecord> list;
    const SqlValue parameters[] = {serial, from.value_or(INT64_MIN), to.value_or(INT64_MAX)};
    const StoreStatus status = store_->run(
        "SELECT d.id, d.kind, d.header, d.interval_s, d.decimals, d.humidity_decimals, d.dew_point_decimals, "
        "d.alarm_fields, d.humidity_alarm_fields, d.first_row_extras, d.first_time, d.last_time, "
        "d.logger_name FROM downloads d WHERE d.serial = $1 AND NOT EXISTS (SELECT 1 FROM deletions x "
        "WHERE x.download_id = d.id) AND (d.first_time IS NULL OR (d.first_time < $3 AND d.last_time >= $2)) "
        "ORDER BY d.id",
        parameters, [&](const SqlRow& row) {
            DownloadRecord r;
            r.id = row.integer(0);
            r.event = row.text(1) == "event";
            r.header = row.bytes(2);
            r.interval = static_cast<int>(row.integer(3));
            r.decimals = static_cast<int>(row.integer(4));
            r.humidityDecimals = static_cast<int>(row.integer(5));
            r.dewDecimals = static_cast<int>(row.integer(6));
            r.alarms = row.bytes(7);
            r.humidityAlarms = row.bytes(8);
            r.extras = row.bytes(9);
            r.firstTime = nullableInteger(row, 10);
            r.lastTime = nullableInteger(row, 11);
            r.loggerName = row.text(12);
            list.push_back(std::move(r));
        });
    if (!status.ok())
        return Result<std::vector<DownloadRecord>>::failure(withoutPassword(status.error));
    return {std::move(list), {}};
}

namespace {

struct StoredReading {
    std::int64_t time = 0;
    std::int64_t download = 0;
    double reading = 0;
    std::optional<double> humidity;
    std::optional<double> dewPoint;
};

StoreStatus readingsOf(ArchiveStore& store, std::int64_t serial, std::int64_t from, std::int64_t to,
                       std::vector<StoredReading>& out) {
    const SqlValue parameters[] = {serial, from, to};
    return store.run("SELECT reading_time, download_id, reading, humidity, dew_point FROM readings WHERE "
                     "serial = $1 AND reading_time >= $2 AND reading_time < $3 ORDER BY reading_time",
                     parameters, [&](const SqlRow& row) {
                         out.push_back(StoredReading{row.integer(0), row.integer(1), row.real(2),
                                                     nullable(row, 3), nullable(row, 4)});
                     });
}

} // namespace

Result<std::vector<ExportFile>> Archive::exportFiles(std::int64_t serial, std::optional<std::int64_t> from,
                                                     std::optional<std::int64_t> to) {
    using Files = Result<std::vector<ExportFile>>;
    Result<std::vector<DownloadRecord>> found = records(serial, from, to);
    if (!found.ok())
        return Files::failure(found.error);
    std::vector<ExportFile> files;
    std::unordered_map<std::int64_t, const DownloadRecord*> visible;
    for (const DownloadRecord& r : *found.value) {
        if (!r.event) {
            visible.emplace(r.id, &r);
            continue;
        }
        // An event logger's files go back as they were stored.
        std::string compressed;
        std::int64_t size = 0;
        const SqlValue id[] = {r.id};
        const StoreStatus status = store_->run("SELECT original, original_size FROM downloads WHERE id = $1", id,
                                               [&](const SqlRow& row) {
                                                   compressed = row.bytes(0);
                                                   size = row.integer(1);
                                               });
        if (!status.ok())
            return Files::failure(withoutPassword(status.error));
        std::optional<std::string> bytes = decompressBytes(compressed, static_cast<std::uint64_t>(size));
        if (!bytes)
            return Files::failure("download " + std::to_string(r.id) + ": the stored file cannot be unpacked");
        files.push_back(ExportFile{exportName(serial, r.firstTime.value_or(0)), std::move(*bytes), 0});
    }

    std::vector<StoredReading> readings;
    if (!visible.empty()) {
        if (StoreStatus status = readingsOf(*store_, serial, from.value_or(INT64_MIN), to.value_or(INT64_MAX),
                                            readings);
            !status.ok())
            return Files::failure(withoutPassword(status.error));
    }

    // Stretches: readings one interval apart with the same columns.
    std::string* out = nullptr;
    ExportFile* file = nullptr;
    const DownloadRecord* first = nullptr;
    std::int64_t interval = 0, previous = 0;
    for (const StoredReading& r : readings) {
        const auto at = visible.find(r.download);
        if (at == visible.end())
            continue; // a deleted download's reading
        const DownloadRecord& record = *at->second;
        const std::int64_t gap = r.time - previous;
        bool joins = file != nullptr && columnsOf(record.header) == columnsOf(first->header);
        if (joins) {
            if (interval == 0)
                joins = gap > 0 && gap <= download::MAX_INTERVAL && (record.interval == 0 || record.interval == gap);
            else
                joins = gap == interval && (record.interval == 0 || record.interval == interval);
        }
        if (!joins) {
            files.push_back(ExportFile{exportName(serial, r.time), {}, 0});
            file = &files.back();
            out = &file->bytes;
            first = &record;
            interval = record.interval;
            DownloadTextWriter(*out).line(record.header);
        } else if (interval == 0) {
            interval = gap;
        }
        previous = r.time;
        DownloadTextWriter writer(*out);
        ++file->readings;
        writer.beginRow(file->readings, fromCalendarSeconds(r.time));
        writer.value(r.reading, record.decimals);
        writer.fields(record.alarms);
        if (record.humidityDecimals >= 0) {
            writer.value(r.humidity.value_or(0), record.humidityDecimals);
            writer.fields(record.humidityAlarms);
            if (record.dewDecimals >= 0) {
                if (r.dewPoint)
                    writer.value(*r.dewPoint, record.dewDecimals);
                else
                    writer.field(text::ERROR_TEXT);
            }
        }
        if (file->readings == 1)
            writer.fields(first->extras);
        writer.endRow();
    }
    if (files.empty())
        return Files::failure("the archive holds no readings of logger " + serialText(serial) +
                              (from || to ? " in that range" : ""));
    return {std::move(files), {}};
}

Result<ArchiveSeries> Archive::series(std::int64_t serial, std::optional<std::int64_t> from,
                                      std::optional<std::int64_t> to) {
    using Series = Result<ArchiveSeries>;
    Result<std::vector<DownloadRecord>> found = records(serial, from, to);
    if (!found.ok())
        return Series::failure(found.error);
    std::unordered_map<std::int64_t, const DownloadRecord*> visible;
    for (const DownloadRecord& r : *found.value)
        if (!r.event)
            visible.emplace(r.id, &r);
    if (visible.empty())
        return Series::failure("the archive holds no readings of logger " + serialText(serial) +
                               (from || to ? " in that range" : ""));
    std::vector<StoredReading> readings;
    if (StoreStatus status =
            readingsOf(*store_, serial, from.value_or(INT64_MIN), to.value_or(INT64_MAX), readings);
        !status.ok())
        return Series::failure(withoutPassword(status.error));

    // The grid: the interval and columns most readings have (one-row
    // downloads fit any interval).
    std::map<std::pair<std::string_view, int>, int> kinds;
    for (const StoredReading& r : readings)
        if (auto at = visible.find(r.download); at != visible.end() && at->second->interval > 0)
            ++kinds[{columnsOf(at->second->header), at->second->interval}];
    std::string_view columns;
    int interval = download::MIN_INTERVAL;
    int most = -1;
    for (const auto& [kind, count] : kinds)
        if (count > most) {
            most = count;
            columns = kind.first;
            interval = kind.second;
        }
    const DownloadRecord* latest = nullptr;
    std::vector<const StoredReading*> chosen;
    ArchiveSeries result;
    result.serial = serial;
    for (const StoredReading& r : readings) {
        const auto at = visible.find(r.download);
        if (at == visible.end())
            continue;
        const DownloadRecord& record = *at->second;
        // Only one-row downloads: the first one's columns decide.
        if (most < 0 && chosen.empty())
            columns = columnsOf(record.header);
        if (columnsOf(record.header) != columns || (most >= 0 && record.interval != 0 && record.interval != interval)) {
            ++result.leftOut;
            continue;
        }
        if (!latest || record.id > latest->id)
            latest = &record;
        chosen.push_back(&r);
    }
    if (chosen.empty())
        return Series::failure("the archive holds no readings of logger " + serialText(serial) +
                               (from || to ? " in that range" : ""));
    const std::int64_t start = chosen.front()->time;
    const std::int64_t places = (chosen.back()->time - start + interval / 2) / interval + 1;
    if (places > LARGEST_SERIES)
        return Series::failure("the range holds " + std::to_string(places) + " readings at " +
                               std::to_string(interval) + " s apart, more than can be shown; choose a shorter range");

    result.header = latest->header;
    std::optional<download::DownloadData> shape = download::readHeader(result.header);
    if (!shape)
        return Series::failure("download " + std::to_string(latest->id) + ": its header names no channels");
    download::DownloadData& data = result.data;
    data = std::move(*shape);
    data.header = {};
    data.title = latest->loggerName;
    data.startTime = start;
    data.interval = interval;
    data.primary.decimals = latest->decimals;
    const auto count = static_cast<std::size_t>(places);
    data.rows.assign(count, download::Row{});
    data.rowsRead = static_cast<int>(count);
    for (download::Channel* channel : {&data.primary, &data.secondary}) {
        if (!channel->present)
            continue;
        for (auto* values : {&channel->readings, &channel->high, &channel->low})
            values->assign(count, download::NO_VALUE);
        if (channel->hasExtra)
            channel->extra.assign(count, download::NO_VALUE);
    }
    std::int64_t lastDownload = 0;
    for (const StoredReading* r : chosen) {
        const std::int64_t offset = r->time - start;
        const std::int64_t place = (offset + interval / 2) / interval;
        if (offset % interval != 0)
            ++result.moved;
        const auto k = static_cast<std::size_t>(place);
        if (data.rows[k].time) {
            ++result.leftOut;
            continue;
        }
        const DownloadRecord& record = *visible.at(r->download);
        data.rows[k].time = start + place * interval;
        data.primary.readings[k] = r->reading;
        alarmLevels(record.alarms, data.primary.hasHigh, data.primary.hasLow, data.primary.high[k],
                    data.primary.low[k]);
        if (data.secondary.present) {
            data.secondary.readings[k] = r->humidity.value_or(download::NO_VALUE);
            alarmLevels(record.humidityAlarms, data.secondary.hasHigh, data.secondary.hasLow,
                        data.secondary.high[k], data.secondary.low[k]);
        }
        if (data.primary.hasExtra)
            data.primary.extra[k] = r->dewPoint.value_or(download::NO_VALUE);
        ++result.readings;
        if (r->download != lastDownload) {
            if (std::find(result.downloads.begin(), result.downloads.end(), r->download) == result.downloads.end())
                result.downloads.push_back(r->download);
            lastDownload = r->download;
        }
    }
    for (std::size_t k = 1; k < count; ++k)
        if (!data.rows[k].time && data.rows[k - 1].time)
            ++result.gaps;
    return {std::move(result), {}};
}

download::Summary summarizeSeries(const ArchiveSeries& series, download::ReadingRange range,
                                  double activationEnergy) {
    return download::summarize(download::summaryInput(series.data), range, activationEnergy);
}

VerifyReport Archive::verify() {
    VerifyReport report;
    struct Stored {
        std::int64_t id, serial;
        bool event;
        std::string header;
        std::optional<std::int64_t> first, last;
        int readings;
        std::string sha256;
        std::int64_t size;
    };
    std::vector<Stored> all;
    StoreStatus status = store_->run(
        "SELECT id, serial, kind, header, first_time, last_time, readings, sha256, original_size FROM "
        "downloads ORDER BY id",
        {}, [&](const SqlRow& row) {
            all.push_back(Stored{row.integer(0), row.integer(1), row.text(2) == "event", row.bytes(3),
                                 nullableInteger(row, 4), nullableInteger(row, 5), static_cast<int>(row.integer(6)),
                                 row.text(7), row.integer(8)});
        });
    if (!status.ok()) {
        report.error = withoutPassword(status.error);
        return report;
    }
    for (const Stored& d : all) {
        ++report.downloads;
        const std::string name = "download " + std::to_string(d.id) + " (" + serialText(d.serial) + ")";
        const auto differ = [&](const std::string& what) { report.differences.push_back(name + ": " + what); };
        std::string compressed;
        const SqlValue id[] = {d.id};
        status = store_->run("SELECT original FROM downloads WHERE id = $1", id,
                             [&](const SqlRow& row) { compressed = row.bytes(0); });
        if (!status.ok()) {
            report.error = withoutPassword(status.error);
            return report;
        }
        const std::optional<std::string> bytes = decompressBytes(compressed, static_cast<std::uint64_t>(d.size));
        if (!bytes) {
            differ("the stored file cannot be unpacked");
            continue;
        }
        if (const std::string sha = sha256Hex(*bytes); sha != d.sha256) {
            differ("the stored file's SHA-256 is " + sha + ", recorded " + d.sha256);
            continue;
        }
        const download::ReadResult read = download::readDownload(*bytes);
        if (d.event) {
            if (read.outcome.status != download::ReadStatus::EventFile)
                differ("stored as an event logger's file, which it is not");
            else if (download::readEventFile(*bytes).rows != d.readings)
                differ("the file has " + std::to_string(download::readEventFile(*bytes).rows) +
                       " rows, recorded " + std::to_string(d.readings));
            continue;
        }
        if (read.outcome.status != download::ReadStatus::Ok) {
            differ("the stored file no longer reads as a download file");
            continue;
        }
        const download::DownloadData& data = read.data;
        if (data.rowCount() != d.readings)
            differ("the file has " + std::to_string(data.rowCount()) + " readings, recorded " +
                   std::to_string(d.readings));
        if (std::string(data.header) != d.header)
            differ("the file's header differs from the one recorded");
        // The file's readings against the series and this download's conflicts.
        std::vector<StagedReading> rows;
        std::int64_t low = INT64_MAX, high = INT64_MIN;
        for (int i = 0; i < data.rowCount(); ++i) {
            StagedReading r;
            r.time = data.rows[i].time.value_or(data.startTime + std::int64_t{i} * data.interval);
            r.reading = data.primary.readings[i];
            if (data.secondary.present)
                r.humidity = data.secondary.readings[i];
            if (data.primary.hasExtra && !download::isNoValue(data.primary.extra[i]))
                r.dewPoint = data.primary.extra[i];
            low = std::min(low, r.time);
            high = std::max(high, r.time);
            rows.push_back(r);
        }
        if (rows.empty())
            continue;
        if (d.first && d.last && (low != *d.first || high != *d.last))
            differ("the file's first or last time differs from the one recorded");
        std::vector<StoredReading> stored;
        if (status = readingsOf(*store_, d.serial, low, high == INT64_MAX ? high : high + 1, stored); !status.ok()) {
            report.error = withoutPassword(status.error);
            return report;
        }
        std::multimap<std::int64_t, StoredReading> conflicts;
        status = store_->run("SELECT reading_time, reading, humidity, dew_point FROM conflicts WHERE download_id = $1",
                             id, [&](const SqlRow& row) {
                                 conflicts.emplace(row.integer(0), StoredReading{row.integer(0), d.id, row.real(1),
                                                                                 nullable(row, 2), nullable(row, 3)});
                             });
        if (!status.ok()) {
            report.error = withoutPassword(status.error);
            return report;
        }
        std::unordered_map<std::int64_t, const StoredReading*> byTime;
        for (const StoredReading& s : stored)
            byTime.emplace(s.time, &s);
        std::unordered_map<std::int64_t, bool> seen; // times of this file met so far
        const auto text = [&](double reading, const std::optional<double>& humidity,
                              const std::optional<double>& dew) {
            std::string t = formatFixed(reading, data.primary.decimals);
            if (humidity)
                t += "/" + formatFixed(*humidity, 1);
            if (dew)
                t += "/" + formatFixed(*dew, 1);
            return t;
        };
        for (const StagedReading& r : rows) {
            ++report.readings;
            const std::string when = download::isoTimeText(r.time);
            const auto matches = [&](const StoredReading& s) {
                return s.reading == r.reading && sameValue(s.humidity, r.humidity) && sameValue(s.dewPoint, r.dewPoint);
            };
            const auto inConflicts = [&] {
                const auto [begin, end] = conflicts.equal_range(r.time);
                for (auto c = begin; c != end; ++c)
                    if (matches(c->second)) {
                        conflicts.erase(c);
                        return true;
                    }
                return false;
            };
            const auto kept = byTime.find(r.time);
            const bool firstAtTime = !seen[r.time];
            seen[r.time] = true;
            if (kept == byTime.end()) {
                differ("the reading at " + when + " (" + text(r.reading, r.humidity, r.dewPoint) +
                       ") is missing from the archive");
                continue;
            }
            const StoredReading& s = *kept->second;
            if (s.download == d.id && firstAtTime) {
                if (!matches(s))
                    differ("the reading at " + when + " is stored as " + text(s.reading, s.humidity, s.dewPoint) +
                           ", the file has " + text(r.reading, r.humidity, r.dewPoint));
                continue;
            }
            if (!matches(s) && !inConflicts())
                differ("the reading at " + when + " (" + text(r.reading, r.humidity, r.dewPoint) +
                       ") differs from the one kept and is not among the conflicts");
        }
        for (const StoredReading& s : stored)
            if (s.download == d.id && !seen.count(s.time))
                differ("the stored reading at " + download::isoTimeText(s.time) + " is not in the file");
        for (const auto& [time, c] : conflicts)
            differ("the conflict at " + download::isoTimeText(time) + " (" + text(c.reading, c.humidity, c.dewPoint) +
                   ") is not in the file");
    }
    return report;
}

std::string Archive::hide(std::int64_t id, std::string_view reason, const Stamp& stamp) {
    ArchiveStore& store = *store_;
    if (StoreStatus began = store.begin(); !began.ok())
        return withoutPassword(began.error);
    const SqlValue key[] = {id};
    bool exists = false;
    std::string already;
    StoreStatus status = store.run("SELECT id FROM downloads WHERE id = $1", key,
                                   [&](const SqlRow&) { exists = true; });
    if (status.ok())
        status = store.run("SELECT deleted_by, deleted_at, reason FROM deletions WHERE download_id = $1", key,
                           [&](const SqlRow& row) {
                               already = "download " + std::to_string(id) + " was deleted already (by " +
                                         row.text(0) + " at " + utcTimeText(row.integer(1)) + ": " + row.text(2) +
                                         ")";
                           });
    if (status.ok() && (!exists || !already.empty())) {
        store.rollback();
        return exists ? already : "the archive holds no download " + std::to_string(id);
    }
    if (status.ok()) {
        const SqlValue row[] = {id, stamp.unixTime, stamp.user, std::string(reason)};
        status = store.run("INSERT INTO deletions (download_id, deleted_at, deleted_by, reason) VALUES ($1, $2, $3, $4)",
                           row);
    }
    if (status.ok())
        status = store.commit();
    if (!status.ok()) {
        store.rollback();
        return withoutPassword(status.error);
    }
    return {};
}

std::string archiveSavedDownload(const ArchiveChoice& choice, std::string_view bytes, const std::string& path) {
    const std::string saved = "The download was saved to " + path + ", but not stored in the archive: ";
    if (!choice.ok())
        return saved + choice.error;
    if (!choice.url->enabled())
        return {};
    std::string error;
    const std::unique_ptr<Archive> archive = Archive::open(*choice.url, error);
    if (!archive)
        return saved + error;
    const ImportResult result = archive->importFile(bytes, path, currentStamp());
    if (!result.ok())
        return saved + archive->display() + ": " + result.message;
    return {};
}

} // namespace vessor::archive
