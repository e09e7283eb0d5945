// The PostgreSQL backend (libpq): parameters as text (bytes in binary),
// results as text, the staging table filled by COPY.
#include "logger/archive/store.h"

#include <libpq-fe.h>

#include <charconv>
#include <cstring>
#include <vector>

namespace vessor::archive {

namespace {

// SQLSTATEs after which the whole transaction may be run again.
bool isRetryable(const char* state) {
    return state && (std::strcmp(state, "40001") == 0 || std::strcmp(state, "40P01") == 0);
}

std::string trimmed(const char* message) {
    std::string text = message ? message : "";
    while (!text.empty() && (text.back() == '\n' || text.back() == ' '))
        text.pop_back();
    // One line: libpq continues a message on an indented line.
    for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at)) {
        std::size_t end = at + 1;
        while (end < text.size() && (text[end] == '\t' || text[end] == ' '))
            ++end;
        text.replace(at, end - at, " ");
    }
    // libpq starts server messages with their severity.
    for (const char* prefix : {"ERROR:  ", "FATAL:  "})
        if (text.rfind(prefix, 0) == 0)
            text.erase(0, std::strlen(prefix));
    return text;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return 0;
}

class PostgresRow : public SqlRow {
public:
    PostgresRow(const PGresult* result, int row) : result_(result), row_(row) {}
    bool isNull(int column) const override { return PQgetisnull(result_, row_, column) != 0; }
    std::int64_t integer(int column) const override {
        const char* text = PQgetvalue(result_, row_, column);
        std::int64_t value = 0;
        std::from_chars(text, text + std::strlen(text), value);
        return value;
    }
    double real(int column) const override {
        const char* text = PQgetvalue(result_, row_, column);
        double value = 0;
        std::from_chars(text, text + std::strlen(text), value);
        return value;
    }
    std::string text(int column) const override {
        return std::string(PQgetvalue(result_, row_, column),
                           static_cast<std::size_t>(PQgetlength(result_, row_, column)));
    }
    std::string bytes(int column) const override {
        // bytea in text form: "\x" then two hexadecimal digits a byte.
        const char* text = PQgetvalue(result_, row_, column);
        const auto length = static_cast<std::size_t>(PQgetlength(result_, row_, column));
        std::string out;
        if (length < 2 || text[0] != '\\' || text[1] != 'x')
            return out;
        out.reserve((length - 2) / 2);
        for (std::size_t i = 2; i + 1 < length; i += 2)
            out += static_cast<char>(hexDigit(text[i]) * 16 + hexDigit(text[i + 1]));
        return out;
    }

private:
    const PGresult* result_;
    int row_;
};

// Shortest text that reads back as the same double ("-0" stays -0).
void appendReal(std::string& out, double value) {
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, value);
    out.append(text, result.ptr);
}

void appendInteger(std::string& out, std::int64_t value) {
    char text[24];
    const auto result = std::to_chars(text, text + sizeof text, value);
    out.append(text, result.ptr);
}

class PostgresStore : public ArchiveStore {
public:
    explicit PostgresStore(PGconn* connection) : connection_(connection) {}
    ~PostgresStore() override { PQfinish(connection_); }

    Dialect dialect() const override { return Dialect::Postgresql; }

    StoreStatus script(std::string_view sql) override {
        PGresult* result = PQexec(connection_, std::string(sql).c_str());
        return finish(result);
    }

    StoreStatus run(std::string_view sql, std::span<const SqlValue> parameters, const RowSink& rows,
                    std::int64_t* changed) override {
        std::vector<std::string> texts(parameters.size());
        std::vector<const char*> values(parameters.size(), nullptr);
        std::vector<int> lengths(parameters.size(), 0);
        std::vector<int> formats(parameters.size(), 0);
        for (std::size_t i = 0; i < parameters.size(); ++i) {
            const SqlValue& value = parameters[i];
            if (std::holds_alternative<std::monostate>(value))
                continue;
            if (const auto* number = std::get_if<std::int64_t>(&value))
                appendInteger(texts[i], *number);
            else if (const auto* real = std::get_if<double>(&value))
                appendReal(texts[i], *real);
            else if (const auto* text = std::get_if<std::string>(&value))
                texts[i] = *text;
            else if (const auto* bytes = std::get_if<Bytes>(&value)) {
                values[i] = bytes->data.data();
                lengths[i] = static_cast<int>(bytes->data.size());
                formats[i] = 1;
                continue;
            }
            values[i] = texts[i].c_str();
            lengths[i] = static_cast<int>(texts[i].size());
        }
        PGresult* result = PQexecParams(connection_, std::string(sql).c_str(), static_cast<int>(parameters.size()),
                                        nullptr, values.data(), lengths.data(), formats.data(), 0);
        const ExecStatusType status = PQresultStatus(result);
        if (status == PGRES_TUPLES_OK && rows) {
            const int count = PQntuples(result);
            for (int r = 0; r < count; ++r)
                rows(PostgresRow(result, r));
        }
        if (changed && (status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK)) {
            const char* tuples = PQcmdTuples(result);
            *changed = 0;
            std::from_chars(tuples, tuples + std::strlen(tuples), *changed);
        }
        return finish(result);
    }

    StoreStatus begin() override { return script("BEGIN"); }
    StoreStatus commit() override { return script("COMMIT"); }
    void rollback() override {
        if (PQtransactionStatus(connection_) != PQTRANS_IDLE)
            PQclear(PQexec(connection_, "ROLLBACK"));
    }

    StoreStatus lock(std::int64_t key) override {
        const SqlValue parameters[] = {key};
        return run("SELECT pg_advisory_xact_lock($1::bigint)", parameters, {}, nullptr);
    }

    StoreStatus stage(std::span<const StagedReading> rows) override {
        if (StoreStatus made = script("CREATE TEMP TABLE IF NOT EXISTS staged_readings (ordinal INTEGER, "
                                      "reading_time BIGINT, reading DOUBLE PRECISION, humidity DOUBLE "
                                      "PRECISION, dew_point DOUBLE PRECISION) ON COMMIT DELETE ROWS;"
                                      "TRUNCATE staged_readings");
            !made.ok())
            return made;
        PGresult* started = PQexec(connection_, "COPY staged_readings FROM STDIN");
        if (PQresultStatus(started) != PGRES_COPY_IN)
            return finish(started);
        PQclear(started);
        std::string chunk;
        chunk.reserve(1 << 20);
        std::int64_t ordinal = 0;
        bool sent = true;
        for (const StagedReading& r : rows) {
            appendInteger(chunk, ordinal++);
            chunk += '\t';
            appendInteger(chunk, r.time);
            chunk += '\t';
            appendReal(chunk, r.reading);
            chunk += '\t';
            if (r.humidity)
                appendReal(chunk, *r.humidity);
            else
                chunk += "\\N";
            chunk += '\t';
            if (r.dewPoint)
                appendReal(chunk, *r.dewPoint);
            else
                chunk += "\\N";
            chunk += '\n';
            if (chunk.size() > (1 << 20) - 256) {
                sent = PQputCopyData(connection_, chunk.data(), static_cast<int>(chunk.size())) == 1;
                chunk.clear();
                if (!sent)
                    break;
            }
        }
        if (sent && !chunk.empty())
            sent = PQputCopyData(connection_, chunk.data(), static_cast<int>(chunk.size())) == 1;
        PQputCopyEnd(connection_, sent ? nullptr : "the readings could not be sent");
        StoreStatus status;
        while (PGresult* result = PQgetResult(connection_)) {
            StoreStatus each = finish(result);
            if (status.ok() && !each.ok())
                status = each;
        }
        return status;
    }

private:
    StoreStatus finish(PGresult* result) {
        const ExecStatusType status = PQresultStatus(result);
        if (result && (status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK || status == PGRES_EMPTY_QUERY)) {
            PQclear(result);
            return {};
        }
        std::string message = trimmed(result ? PQresultErrorMessage(result) : PQerrorMessage(connection_));
        if (message.empty())
            message = trimmed(PQerrorMessage(connection_));
        const bool retry = result && isRetryable(PQresultErrorField(result, PG_DIAG_SQLSTATE));
        PQclear(result);
        return StoreStatus::failure(message, retry);
    }

    PGconn* connection_;
};

void ignoreNotice(void*, const char*) {}

} // namespace

std::unique_ptr<ArchiveStore> openPostgresStore(const ArchiveUrl& url, std::string& error) {
    PGconn* connection = PQconnectdb(url.target.c_str());
    if (!connection) {
        error = "out of memory";
        return nullptr;
    }
    if (PQstatus(connection) != CONNECTION_OK) {
        error = trimmed(PQerrorMessage(connection));
        PQfinish(connection);
        return nullptr;
    }
    // Notices (a table that already exists) are not the user's business.
    PQsetNoticeProcessor(connection, ignoreNotice, nullptr);
    auto store = std::make_unique<PostgresStore>(connection);
    store->script("SET client_min_messages = warning");
    return store;
}

std::unique_ptr<ArchiveStore> openStore(const ArchiveUrl& url, std::string& error) {
    switch (url.kind) {
    case ArchiveUrl::Kind::Sqlite:
        return openSqliteStore(url.target, url.isDefault, error);
    case ArchiveUrl::Kind::Postgresql:
        return openPostgresStore(url, error);
    case ArchiveUrl::Kind::None:
        break;
    }
    error = "no archive";
    return nullptr;
}

} // namespace vessor::archive
