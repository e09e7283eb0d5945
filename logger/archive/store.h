// The archive's one storage interface: a connection to an SQLite file or a
// PostgreSQL database that runs the archive's statements. The archive's
// logic (archive.cpp) writes its SQL once for both; what the two databases
// do differently (placeholders, bulk loading, locks, schema files) stays in
// the backends.
#pragma once

#include "logger/archive/archive_url.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>

namespace vessor::archive {

// A BLOB (SQLite) or BYTEA (PostgreSQL) value.
struct Bytes {
    std::string data;
};

// A statement's parameter: NULL, a whole number, a double, UTF-8 text, bytes.
using SqlValue = std::variant<std::monostate, std::int64_t, double, std::string, Bytes>;

// One row of a statement's result, read by column (from 0).
class SqlRow {
public:
    virtual ~SqlRow() = default;
    virtual bool isNull(int column) const = 0;
    virtual std::int64_t integer(int column) const = 0;
    virtual double real(int column) const = 0;
    virtual std::string text(int column) const = 0;
    virtual std::string bytes(int column) const = 0;
};
using RowSink = std::function<void(const SqlRow&)>;

// Success, or the database's message (never with a password in it);
// `retry` when the database gave up on a transaction another one clashed
// with (a deadlock, a serialization failure), so running it again may pass.
struct StoreStatus {
    std::string error;
    bool retry = false;

    bool ok() const { return error.empty(); }
    static StoreStatus failure(std::string message, bool retry = false) {
        return StoreStatus{message.empty() ? std::string("unknown database error") : std::move(message), retry};
    }
};

// One reading of a download on its way into the readings table.
struct StagedReading {
    std::int64_t time = 0;
    double reading = 0;
    std::optional<double> humidity;
    std::optional<double> dewPoint;
};

enum class Dialect { Sqlite, Postgresql };

class ArchiveStore {
public:
    virtual ~ArchiveStore() = default;

    virtual Dialect dialect() const = 0;

    // Several statements without parameters (the schema files).
    virtual StoreStatus script(std::string_view sql) = 0;
    // One statement; parameters are $1, $2, ... in both dialects. Rows of a
    // result go to `rows`; `changed` receives the rows inserted or changed.
    virtual StoreStatus run(std::string_view sql, std::span<const SqlValue> parameters = {},
                            const RowSink& rows = {}, std::int64_t* changed = nullptr) = 0;

    // A transaction that writes (SQLite takes its write lock at once, so two
    // writers wait for each other instead of failing halfway).
    virtual StoreStatus begin() = 0;
    virtual StoreStatus commit() = 0;
    virtual void rollback() = 0;
    // Within a transaction: waits until no other transaction holds `key`
    // (PostgreSQL: an advisory lock; SQLite's write lock already covers it).
    virtual StoreStatus lock(std::int64_t key) = 0;

    // Replaces the connection's staging table staged_readings(ordinal,
    // reading_time, reading, humidity, dew_point) with `rows` (PostgreSQL:
    // COPY). Within a transaction.
    virtual StoreStatus stage(std::span<const StagedReading> rows) = 0;
};

// Opens (and for SQLite creates) the database of `url`; nullptr with the
// reason in `error`. The schema is not touched here (see Archive::open).
std::unique_ptr<ArchiveStore> openStore(const ArchiveUrl& url, std::string& error);

std::unique_ptr<ArchiveStore> openSqliteStore(const std::string& path, bool createFolder, std::string& error);
std::unique_ptr<ArchiveStore> openPostgresStore(const ArchiveUrl& url, std::string& error);

} // namespace vessor::archive
