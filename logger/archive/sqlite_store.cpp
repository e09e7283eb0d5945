// The SQLite backend: one file, prepared statements kept per SQL text, the
// staging table a temporary table of the connection.
#include "logger/archive/store.h"

#include <sqlite3.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <unordered_map>

namespace vessor::archive {

namespace {

// A writer waits this long for another process's transaction to end.
constexpr int BUSY_TIMEOUT_MS = 30000;

// "$1" -> "?1": SQLite reads "$1" as a named parameter, "?1" by number.
std::string numberedPlaceholders(std::string_view sql) {
    std::string out(sql);
    for (std::size_t i = 0; i + 1 < out.size(); ++i)
        if (out[i] == '$' && out[i + 1] >= '0' && out[i + 1] <= '9')
            out[i] = '?';
    return out;
}

class SqliteRow : public SqlRow {
public:
    explicit SqliteRow(sqlite3_stmt* statement) : statement_(statement) {}
    bool isNull(int column) const override { return sqlite3_column_type(statement_, column) == SQLITE_NULL; }
    std::int64_t integer(int column) const override { return sqlite3_column_int64(statement_, column); }
    double real(int column) const override { return sqlite3_column_double(statement_, column); }
    std::string text(int column) const override {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement_, column));
        return text ? std::string(text, static_cast<std::size_t>(sqlite3_column_bytes(statement_, column)))
                    : std::string();
    }
    std::string bytes(int column) const override {
        const auto* data = static_cast<const char*>(sqlite3_column_blob(statement_, column));
        return data ? std::string(data, static_cast<std::size_t>(sqlite3_column_bytes(statement_, column)))
                    : std::string();
    }

private:
    sqlite3_stmt* statement_;
};

// Makes the folders of `path` (0700, as a user's private data).
bool makeFolders(const std::string& path, std::string& error) {
    for (std::size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1)) {
        const std::string folder = path.substr(0, slash);
        if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
            error = "cannot make the folder " + folder + ": " + std::strerror(errno);
            return false;
        }
    }
    return true;
}

class SqliteStore : public ArchiveStore {
public:
    explicit SqliteStore(sqlite3* db) : db_(db) {}
    ~SqliteStore() override {
        for (auto& [sql, statement] : statements_)
            sqlite3_finalize(statement);
        sqlite3_close_v2(db_);
    }

    Dialect dialect() const override { return Dialect::Sqlite; }

    StoreStatus script(std::string_view sql) override {
        char* message = nullptr;
        if (sqlite3_exec(db_, std::string(sql).c_str(), nullptr, nullptr, &message) == SQLITE_OK)
            return {};
        std::string text = message ? message : sqlite3_errmsg(db_);
        sqlite3_free(message);
        return StoreStatus::failure(text);
    }

    StoreStatus run(std::string_view sql, std::span<const SqlValue> parameters, const RowSink& rows,
                    std::int64_t* changed) override {
        sqlite3_stmt* statement = prepared(sql);
        if (!statement)
            return failure();
        int index = 1;
        for (const SqlValue& value : parameters) {
            int result = SQLITE_OK;
            if (std::holds_alternative<std::monostate>(value))
                result = sqlite3_bind_null(statement, index);
            else if (const auto* number = std::get_if<std::int64_t>(&value))
                result = sqlite3_bind_int64(statement, index, *number);
            else if (const auto* real = std::get_if<double>(&value))
                result = sqlite3_bind_double(statement, index, *real);
            else if (const auto* text = std::get_if<std::string>(&value))
                result = sqlite3_bind_text64(statement, index, text->data(), text->size(), SQLITE_STATIC,
                                             SQLITE_UTF8);
            else if (const auto* bytes = std::get_if<Bytes>(&value))
                result = sqlite3_bind_blob64(statement, index, bytes->data.data(), bytes->data.size(),
                                             SQLITE_STATIC);
            if (result != SQLITE_OK)
                return finish(statement, failure());
            ++index;
        }
        const SqliteRow row(statement);
        for (;;) {
            const int step = sqlite3_step(statement);
            if (step == SQLITE_DONE)
                break;
            if (step != SQLITE_ROW)
                return finish(statement, failure());
            if (rows)
                rows(row);
        }
        if (changed)
            *changed = sqlite3_changes64(db_);
        return finish(statement, {});
    }

    StoreStatus begin() override { return script("BEGIN IMMEDIATE"); }
    StoreStatus commit() override { return script("COMMIT"); }
    void rollback() override {
        if (!sqlite3_get_autocommit(db_))
            script("ROLLBACK");
    }
    StoreStatus lock(std::int64_t) override { return {}; }

    StoreStatus stage(std::span<const StagedReading> rows) override {
        if (StoreStatus made = script("CREATE TEMP TABLE IF NOT EXISTS staged_readings (ordinal INTEGER, "
                                      "reading_time INTEGER, reading, humidity, dew_point);"
                                      "DELETE FROM staged_readings");
            !made.ok())
            return made;
        sqlite3_stmt* insert =
            prepared("INSERT INTO staged_readings VALUES (?1, ?2, ?3, ?4, ?5)");
        if (!insert)
            return failure();
        std::int64_t ordinal = 0;
        for (const StagedReading& r : rows) {
            sqlite3_bind_int64(insert, 1, ordinal++);
            sqlite3_bind_int64(insert, 2, r.time);
            sqlite3_bind_double(insert, 3, r.reading);
            if (r.humidity)
                sqlite3_bind_double(insert, 4, *r.humidity);
            else
                sqlite3_bind_null(insert, 4);
            if (r.dewPoint)
                sqlite3_bind_double(insert, 5, *r.dewPoint);
            else
                sqlite3_bind_null(insert, 5);
            if (sqlite3_step(insert) != SQLITE_DONE)
                return finish(insert, failure());
            sqlite3_reset(insert);
        }
        return finish(insert, {});
    }

private:
    sqlite3_stmt* prepared(std::string_view sql) {
        const std::string key(sql);
        if (auto found = statements_.find(key); found != statements_.end())
            return found->second;
        const std::string text = numberedPlaceholders(sql);
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(db_, text.c_str(), static_cast<int>(text.size()), &statement, nullptr) != SQLITE_OK)
            return nullptr;
        statements_.emplace(key, statement);
        return statement;
    }

    StoreStatus failure() const {
        const int code = sqlite3_errcode(db_);
        return StoreStatus::failure(sqlite3_errmsg(db_), code == SQLITE_BUSY || code == SQLITE_LOCKED);
    }

    static StoreStatus finish(sqlite3_stmt* statement, StoreStatus status) {
        sqlite3_reset(statement);
        sqlite3_clear_bindings(statement);
        return status;
    }

    sqlite3* db_;
    std::unordered_map<std::string, sqlite3_stmt*> statements_;
};

} // namespace

std::unique_ptr<ArchiveStore> openSqliteStore(const std::string& path, bool createFolder, std::string& error) {
    if (createFolder && !makeFolders(path, error))
        return nullptr;
    sqlite3* db = nullptr;
    const int opened = sqlite3_open_v2(path.c_str(), &db,
                                       SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (opened != SQLITE_OK) {
        error = db ? sqlite3_errmsg(db) : sqlite3_errstr(opened);
        if (const int system = db ? sqlite3_system_errno(db) : 0; system != 0)
            error += std::string(" (") + std::strerror(system) + ")";
        sqlite3_close_v2(db);
        return nullptr;
    }
    sqlite3_busy_timeout(db, BUSY_TIMEOUT_MS);
    sqlite3_extended_result_codes(db, 0);
    auto store = std::make_unique<SqliteStore>(db);
    // Readers go on while one process writes; a read-only file keeps its mode.
    store->script("PRAGMA journal_mode = WAL");
    store->script("PRAGMA foreign_keys = ON");
    return store;
}

} // namespace vessor::archive
