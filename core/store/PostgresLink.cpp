// The record store on a PostgreSQL server, through libpq. Several machines may import into it
// at the same time: the rows of one station are written by one transaction at a time (an
// advisory lock), every insert leaves rows that are there alone (ON CONFLICT DO NOTHING), and
// the counting and the rows are committed together.
#include "core/store/SqlLink.h"
#include "core/store/StoreSettings.h"

#include <libpq-fe.h>

#include <charconv>
#include <cstdlib>
#include <cstring>

namespace fenta21::store {
namespace {

constexpr std::size_t kCopyPiece = 1 << 16;
constexpr const char* kUniqueViolation = "23505";

using Result = std::unique_ptr<PGresult, void (*)(PGresult*)>;

class PostgresRow : public SqlRow {
public:
    PostgresRow(const PGresult* result, int row) : result_(result), row_(row) {}
    bool isNull(int column) const override { return PQgetisnull(result_, row_, column) != 0; }
    std::int64_t integer(int column) const override {
        const char* text = PQgetvalue(result_, row_, column);
        if (text[0] == 't') return 1;  // a boolean
        if (text[0] == 'f') return 0;
        return std::strtoll(text, nullptr, 10);
    }
    double real(int column) const override { return std::strtod(PQgetvalue(result_, row_, column), nullptr); }
    std::string text(int column) const override {
        return std::string(PQgetvalue(result_, row_, column), static_cast<std::size_t>(PQgetlength(result_, row_, column)));
    }

private:
    const PGresult* result_;
    int row_;
};

// Rows in COPY's text form, sent a piece at a time.
class CopyLines {
public:
    explicit CopyLines(PGconn* connection) : connection_(connection) { buffer_.reserve(kCopyPiece + 256); }

    void add(std::int64_t sequence, const RecordInsert& row) {
        if (sequence >= 0) {
            integer(sequence);
            buffer_ += '\t';
        }
        integer(row.seriesId);
        buffer_ += '\t';
        buffer_.append(row.loggerTime);
        buffer_ += '\t';
        integer(row.utc);
        buffer_ += '\t';
        char number[32];
        auto written = std::to_chars(number, number + sizeof number, row.number);
        buffer_.append(number, written.ptr);
        buffer_ += '\t';
        // Value texts are printable ASCII: nothing in them needs COPY's escapes.
        buffer_.append(row.text);
        buffer_ += '\n';
        if (buffer_.size() >= kCopyPiece) send();
    }

    // False when the server refused the data (the reason comes with the COPY's result).
    bool send() {
        if (!buffer_.empty() && PQputCopyData(connection_, buffer_.data(), static_cast<int>(buffer_.size())) != 1)
            ok_ = false;
        buffer_.clear();
        return ok_;
    }

private:
    void integer(std::int64_t value) {
        char digits[24];
        auto written = std::to_chars(digits, digits + sizeof digits, value);
        buffer_.append(digits, written.ptr);
    }

    PGconn* connection_;
    std::string buffer_;
    bool ok_ = true;
};

void ignoreNotice(void*, const char*) {}

// A server that cannot be reached, or that goes away in the middle of an import, is found out
// within seconds rather than after the system's TCP time-outs, so that the file is queued and
// the program can end. What the URL or libpq's environment says comes first.
PGconn* connect(const std::string& url) {
    std::vector<const char*> keywords;
    std::vector<const char*> values;
    if (std::getenv("PGCONNECT_TIMEOUT") == nullptr) {
        keywords.push_back("connect_timeout");
        values.push_back("10");
    }
    for (const auto& [keyword, value] : {std::pair{"keepalives_idle", "30"}, std::pair{"keepalives_interval", "10"},
                                         std::pair{"keepalives_count", "3"}}) {
        keywords.push_back(keyword);
        values.push_back(value);
    }
    // Last, so that what the URL says overrides the values above.
    keywords.push_back("dbname");
    values.push_back(url.c_str());
    keywords.push_back(nullptr);
    values.push_back(nullptr);
    return PQconnectdbParams(keywords.data(), values.data(), 1);
}

class PostgresLink : public SqlLink {
public:
    explicit PostgresLink(const std::string& url) : url_(url) {
        connection_ = connect(url);
        if (connection_ == nullptr) throw StoreError("cannot connect to the record store " + withoutPassword(url) + ": out of memory");
        if (PQstatus(connection_) != CONNECTION_OK) {
            std::string why = errorText();
            PQfinish(connection_);
            connection_ = nullptr;
            throw StoreError("cannot connect to the record store " + withoutPassword(url) + ": " + why);
        }
        // "already exists, skipping" and the like are not for the user's terminal.
        PQsetNoticeProcessor(connection_, ignoreNotice, nullptr);
    }

    ~PostgresLink() override { PQfinish(connection_); }

    StoreEngine engine() const override { return StoreEngine::Postgres; }
    std::string location() const override { return withoutPassword(url_); }

    void execute(const std::string& sql) override { check(Result(PQexec(connection_, sql.c_str()), PQclear)); }

    void query(const std::string& sql, const SqlParams& params, const SqlRowHandler& row) override {
        Result result = run(sql, params);
        int rows = PQntuples(result.get());
        for (int i = 0; i < rows; ++i)
            if (!row(PostgresRow(result.get(), i))) break;
    }

    std::int64_t change(const std::string& sql, const SqlParams& params) override {
        Result result = run(sql, params);
        return std::strtoll(PQcmdTuples(result.get()), nullptr, 10);
    }

    void beginWriting() override { execute("BEGIN"); }
    void lockKey(std::int64_t key) override { change("SELECT pg_advisory_xact_lock($1)", {key}); }

    ImportCounts writeRecords(const RecordSource& rows, std::int64_t fileId) override {
        // Most files hold only new rows: they go straight into the table. A file with a row
        // whose key is there already makes the COPY fail on that key, and its rows are then
        // compared one by one with what is stored.
        execute("SAVEPOINT fresh_rows");
        std::int64_t count = 0;
        std::string refusal;
        if (copy("COPY records (series_id, logger_time, utc, number, text) FROM STDIN", rows, false, count, refusal)) {
            execute("RELEASE SAVEPOINT fresh_rows");
            ImportCounts counts;
            counts.inserted = count;
            return counts;
        }
        if (refusal != kUniqueViolation) throw StoreError(failureText());
        execute("ROLLBACK TO SAVEPOINT fresh_rows");
        return judgeRows(rows, fileId);
    }

    Dialect dialect() const override {
        return {"bigint GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY", "double precision", "text COLLATE \"C\"", "boolean",
                ""};
    }

private:
    // Each row of the file against the stored row of its key, or the first row of its key in the
    // file when the store has none: new, the same text (duplicate) or another (conflict).
    ImportCounts judgeRows(const RecordSource& rows, std::int64_t fileId) {
        execute(
            "CREATE TEMP TABLE IF NOT EXISTS incoming (n bigint, series_id bigint, logger_time text COLLATE \"C\", "
            "utc bigint, number double precision, text text) ON COMMIT DELETE ROWS");
        std::int64_t count = 0;
        std::string refusal;
        if (!copy("COPY incoming (n, series_id, logger_time, utc, number, text) FROM STDIN", rows, true, count, refusal))
            throw StoreError(failureText());
        execute(
            "ANALYZE incoming;"
            "CREATE TEMP TABLE judged ON COMMIT DROP AS "
            "SELECT i.n, i.series_id, i.logger_time, i.utc, i.number, i.text, "
            "       r.text IS NULL AND i.n = f.n AS fresh, coalesce(r.text, f.text) AS kept "
            "FROM incoming i "
            "JOIN (SELECT DISTINCT ON (series_id, logger_time) series_id, logger_time, n, text FROM incoming "
            "      ORDER BY series_id, logger_time, n) f USING (series_id, logger_time) "
            "LEFT JOIN records r USING (series_id, logger_time)");
        std::int64_t inserted = change(
            "INSERT INTO records (series_id, logger_time, utc, number, text) "
            "SELECT series_id, logger_time, utc, number, text FROM judged WHERE fresh ON CONFLICT DO NOTHING",
            {});
        change(
            "INSERT INTO conflicts (series_id, logger_time, utc, number, text, file_id) "
            "SELECT series_id, logger_time, utc, number, text, $1 FROM judged WHERE NOT fresh AND text <> kept "
            "ON CONFLICT DO NOTHING",
            {fileId});
        ImportCounts counts;
        std::int64_t fresh = 0;
        query(
            "SELECT count(*) FILTER (WHERE fresh), count(*) FILTER (WHERE NOT fresh AND text = kept), "
            "count(*) FILTER (WHERE NOT fresh AND text <> kept) FROM judged",
            {}, [&](const SqlRow& row) {
                fresh = row.integer(0);
                counts.duplicates = row.integer(1);
                counts.conflicts = row.integer(2);
                return false;
            });
        // The station's lock keeps other writers away; a row that came in all the same is not
        // counted wrongly: the import is given up and tried again.
        if (inserted != fresh) throw StoreError("the records of the station changed while the file was being imported");
        counts.inserted = inserted;
        return counts;
    }

    // Streams the rows into a COPY. False when the server refused them, with the SQLSTATE in
    // `refusal`; `count` is the number of rows the COPY took.
    bool copy(const std::string& sql, const RecordSource& rows, bool numbered, std::int64_t& count, std::string& refusal) {
        Result started(PQexec(connection_, sql.c_str()), PQclear);
        if (PQresultStatus(started.get()) != PGRES_COPY_IN) throw StoreError(failureText(started.get()));
        CopyLines lines(connection_);
        std::int64_t sequence = 0;
        bool sending = true;
        rows([&](const RecordInsert& row) {
            if (sending) lines.add(numbered ? sequence++ : -1, row);
        });
        sending = lines.send();
        PQputCopyEnd(connection_, nullptr);
        bool ok = true;
        while (PGresult* raw = PQgetResult(connection_)) {
            Result result(raw, PQclear);
            if (PQresultStatus(raw) == PGRES_COMMAND_OK) {
                count = std::strtoll(PQcmdTuples(raw), nullptr, 10);
            } else {
                ok = false;
                const char* state = PQresultErrorField(raw, PG_DIAG_SQLSTATE);
                refusal = state != nullptr ? state : "";
                lastFailure_ = failureText(raw);
            }
        }
        return ok && sending;
    }

    Result run(const std::string& sql, const SqlParams& params) {
        std::vector<std::string> texts(params.size());
        std::vector<const char*> values(params.size(), nullptr);
        for (std::size_t i = 0; i < params.size(); ++i) {
            const SqlParam& param = params[i];
            if (const auto* integer = std::get_if<std::int64_t>(&param)) texts[i] = std::to_string(*integer);
            else if (const auto* real = std::get_if<double>(&param)) {
                char digits[32];
                texts[i].assign(digits, std::to_chars(digits, digits + sizeof digits, *real).ptr);
            } else if (const auto* text = std::get_if<std::string>(&param)) texts[i] = *text;
            else continue;
            values[i] = texts[i].c_str();
        }
        Result result(PQexecParams(connection_, sql.c_str(), static_cast<int>(params.size()), nullptr, values.data(),
                                   nullptr, nullptr, 0),
                      PQclear);
        check(result);
        return result;
    }

    void check(const Result& result) {
        ExecStatusType status = PQresultStatus(result.get());
        if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) throw StoreError(failureText(result.get()));
    }

    std::string errorText() const {
        std::string text = PQerrorMessage(connection_);
        while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
        return hidePassword(text, url_);
    }
    std::string failureText(const PGresult* result) {
        std::string text = result != nullptr ? PQresultErrorMessage(result) : "";
        if (text.empty()) return "record store " + location() + ": " + errorText();
        while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
        return "record store " + location() + ": " + hidePassword(text, url_);
    }
    std::string failureText() { return lastFailure_.empty() ? "record store " + location() + ": " + errorText() : lastFailure_; }

    std::string url_;
    PGconn* connection_ = nullptr;
    std::string lastFailure_;
};

}  // namespace

std::unique_ptr<SqlLink> openPostgresLink(const std::string& url) { return std::make_unique<PostgresLink>(url); }

}  // namespace fenta21::store
