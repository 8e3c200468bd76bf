// The record store in an SQLite file: WAL mode, so that readers (a plot, an SQL tool) never
// wait for an import, and every commit synced, as a file leaves the import queue only once its
// rows are committed.
#include "core/store/SqlLink.h"

#include <sqlite3.h>

#include <map>

namespace fenta21::store {
namespace {

// Another program importing holds the write lock for the length of one file.
constexpr int kBusyMilliseconds = 120000;

class SqliteRow : public SqlRow {
public:
    explicit SqliteRow(sqlite3_stmt* statement) : statement_(statement) {}
    bool isNull(int column) const override { return sqlite3_column_type(statement_, column) == SQLITE_NULL; }
    std::int64_t integer(int column) const override { return sqlite3_column_int64(statement_, column); }
    double real(int column) const override { return sqlite3_column_double(statement_, column); }
    std::string text(int column) const override {
        const unsigned char* text = sqlite3_column_text(statement_, column);
        return text == nullptr ? std::string() : std::string(reinterpret_cast<const char*>(text),
                                                             static_cast<std::size_t>(sqlite3_column_bytes(statement_, column)));
    }

private:
    sqlite3_stmt* statement_;
};

class SqliteLink : public SqlLink {
public:
    explicit SqliteLink(const std::string& path) : path_(path) {
        int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOFOLLOW | SQLITE_OPEN_NOMUTEX;
        if (sqlite3_open_v2(path.c_str(), &db_, flags, nullptr) != SQLITE_OK) {
            std::string why = db_ != nullptr ? sqlite3_errmsg(db_) : "out of memory";
            sqlite3_close(db_);
            db_ = nullptr;
            throw StoreError("cannot open the record store " + path + ": " + why);
        }
        sqlite3_busy_timeout(db_, kBusyMilliseconds);
        try {
            execute("PRAGMA journal_mode=WAL; PRAGMA synchronous=FULL; PRAGMA foreign_keys=ON");
        } catch (const StoreError&) {
            sqlite3_close(db_);
            throw;
        }
    }

    ~SqliteLink() override {
        for (auto& [sql, statement] : statements_) sqlite3_finalize(statement);
        sqlite3_close(db_);
    }

    StoreEngine engine() const override { return StoreEngine::Sqlite; }
    std::string location() const override { return path_; }

    void execute(const std::string& sql) override {
        char* message = nullptr;
        if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
            std::string why = message != nullptr ? message : sqlite3_errmsg(db_);
            sqlite3_free(message);
            fail(why);
        }
    }

    void query(const std::string& sql, const SqlParams& params, const SqlRowHandler& row) override {
        sqlite3_stmt* statement = prepared(sql, params);
        SqliteRow current(statement);
        while (true) {
            int step = sqlite3_step(statement);
            if (step == SQLITE_DONE) break;
            if (step != SQLITE_ROW) failStep(statement);
            if (!row(current)) break;
        }
        sqlite3_reset(statement);
    }

    std::int64_t change(const std::string& sql, const SqlParams& params) override {
        sqlite3_stmt* statement = prepared(sql, params);
        int step = sqlite3_step(statement);
        while (step == SQLITE_ROW) step = sqlite3_step(statement);
        if (step != SQLITE_DONE) failStep(statement);
        sqlite3_reset(statement);
        return sqlite3_changes64(db_);
    }

    void beginWriting() override { execute("BEGIN IMMEDIATE"); }
    void lockKey(std::int64_t) override {}

    ImportCounts writeRecords(const RecordSource& rows, std::int64_t fileId) override {
        sqlite3_stmt* insert = prepared(
            "INSERT INTO records (series_id, logger_time, utc, number, text) VALUES ($1, $2, $3, $4, $5) "
            "ON CONFLICT DO NOTHING",
            {});
        sqlite3_stmt* stored = prepared("SELECT text FROM records WHERE series_id = $1 AND logger_time = $2", {});
        sqlite3_stmt* conflict = prepared(
            "INSERT INTO conflicts (series_id, logger_time, utc, number, text, file_id) VALUES ($1, $2, $3, $4, $5, $6) "
            "ON CONFLICT DO NOTHING",
            {});
        ImportCounts counts;
        rows([&](const RecordInsert& row) {
            bindRow(insert, row);
            if (sqlite3_step(insert) != SQLITE_DONE) failStep(insert);
            sqlite3_reset(insert);
            if (sqlite3_changes(db_) == 1) {
                ++counts.inserted;
                return;
            }
            // The key is there: the same text is a duplicate, another a conflict, kept aside.
            sqlite3_bind_int64(stored, 1, row.seriesId);
            sqlite3_bind_text(stored, 2, row.loggerTime.data(), static_cast<int>(row.loggerTime.size()), SQLITE_STATIC);
            if (sqlite3_step(stored) != SQLITE_ROW) failStep(stored);
            std::string_view storedText(reinterpret_cast<const char*>(sqlite3_column_text(stored, 0)),
                                        static_cast<std::size_t>(sqlite3_column_bytes(stored, 0)));
            bool same = storedText == row.text;
            sqlite3_reset(stored);
            if (same) {
                ++counts.duplicates;
                return;
            }
            ++counts.conflicts;
            bindRow(conflict, row);
            sqlite3_bind_int64(conflict, 6, fileId);
            if (sqlite3_step(conflict) != SQLITE_DONE) failStep(conflict);
            sqlite3_reset(conflict);
        });
        return counts;
    }

    Dialect dialect() const override { return {"INTEGER PRIMARY KEY", "REAL", "TEXT", "INTEGER", " WITHOUT ROWID"}; }

private:
    [[noreturn]] void fail(const std::string& why) const { throw StoreError("record store " + path_ + ": " + why); }
    [[noreturn]] void failStep(sqlite3_stmt* statement) {
        std::string why = sqlite3_errmsg(db_);
        sqlite3_reset(statement);
        fail(why);
    }

    void bindRow(sqlite3_stmt* statement, const RecordInsert& row) {
        sqlite3_bind_int64(statement, 1, row.seriesId);
        sqlite3_bind_text(statement, 2, row.loggerTime.data(), static_cast<int>(row.loggerTime.size()), SQLITE_STATIC);
        sqlite3_bind_int64(statement, 3, row.utc);
        sqlite3_bind_double(statement, 4, row.number);
        sqlite3_bind_text(statement, 5, row.text.data(), static_cast<int>(row.text.size()), SQLITE_STATIC);
    }

    // The statement for `sql`, prepared once per connection, with `params` bound as $1, $2 ...
    sqlite3_stmt* prepared(const std::string& sql, const SqlParams& params) {
        sqlite3_stmt*& statement = statements_[sql];
        if (statement == nullptr && sqlite3_prepare_v3(db_, sql.c_str(), -1, SQLITE_PREPARE_PERSISTENT, &statement, nullptr) != SQLITE_OK) {
            statements_.erase(sql);
            fail(sqlite3_errmsg(db_));
        }
        // A statement a failure left part-way is started afresh.
        sqlite3_reset(statement);
        sqlite3_clear_bindings(statement);
        for (std::size_t i = 0; i < params.size(); ++i) {
            std::string name = "$" + std::to_string(i + 1);
            int index = sqlite3_bind_parameter_index(statement, name.c_str());
            if (index == 0) continue;
            const SqlParam& param = params[i];
            if (const auto* integer = std::get_if<std::int64_t>(&param)) sqlite3_bind_int64(statement, index, *integer);
            else if (const auto* real = std::get_if<double>(&param)) sqlite3_bind_double(statement, index, *real);
            else if (const auto* text = std::get_if<std::string>(&param))
                sqlite3_bind_text(statement, index, text->data(), static_cast<int>(text->size()), SQLITE_TRANSIENT);
            else sqlite3_bind_null(statement, index);
        }
        return statement;
    }

    std::string path_;
    sqlite3* db_ = nullptr;
    std::map<std::string, sqlite3_stmt*> statements_;
};

}  // namespace

std::unique_ptr<SqlLink> openSqliteLink(const std::string& path) { return std::make_unique<SqliteLink>(path); }

}  // namespace fenta21::store
