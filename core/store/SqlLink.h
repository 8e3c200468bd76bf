#pragma once

#include "core/store/DataFileRecords.h"
#include "core/store/RecordStore.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace fenta21::store {

// A statement's parameter: NULL, an integer, a real number or a text.
using SqlParam = std::variant<std::monostate, std::int64_t, double, std::string>;
using SqlParams = std::vector<SqlParam>;

// One row of a result, valid while the row handler runs. Columns count from 0.
class SqlRow {
public:
    virtual ~SqlRow() = default;
    virtual bool isNull(int column) const = 0;
    virtual std::int64_t integer(int column) const = 0;
    virtual double real(int column) const = 0;
    virtual std::string text(int column) const = 0;
    std::optional<std::int64_t> optionalInteger(int column) const {
        return isNull(column) ? std::nullopt : std::optional(integer(column));
    }
};
using SqlRowHandler = std::function<bool(const SqlRow& row)>;

// A row for the records table, its series already known.
struct RecordInsert {
    std::int64_t seriesId = 0;
    std::string_view loggerTime;
    std::int64_t utc = 0;
    double number = 0;
    std::string_view text;
};
// Hands every row of one file to `row`; may be called more than once, each time afresh.
using RecordSource = std::function<void(const std::function<void(const RecordInsert& row)>& row)>;

// One connection to a store's engine: the few things the two engines do differently. The
// statements themselves are written once, with parameters $1, $2 ... that both engines read.
class SqlLink {
public:
    virtual ~SqlLink() = default;

    virtual StoreEngine engine() const = 0;
    virtual std::string location() const = 0;

    // Statements without parameters, separated by ';'.
    virtual void execute(const std::string& sql) = 0;
    // One statement; each result row goes to `row` until it returns false.
    virtual void query(const std::string& sql, const SqlParams& params, const SqlRowHandler& row) = 0;
    // One statement; the number of rows it changed.
    virtual std::int64_t change(const std::string& sql, const SqlParams& params) = 0;

    // Starts a transaction that writes. SQLite takes its write lock at once, so that two
    // programs never both read first and then wait for each other.
    virtual void beginWriting() = 0;
    // Within the transaction: waits until no other connection writes under the same key (a
    // station's records, the schema). SQLite's write lock covers all of it already.
    virtual void lockKey(std::int64_t key) = 0;

    // Writes the rows of one file into the records table, each counted once as inserted,
    // duplicate (the stored row has the same text) or conflict (another text: the row goes into
    // the conflicts table with `fileId`). Within the transaction begun.
    virtual ImportCounts writeRecords(const RecordSource& rows, std::int64_t fileId) = 0;

    // The engine's words in the schema: an identity key, a real number, a text keyed in byte
    // order, a truth value, and what follows a key-organised table's definition.
    struct Dialect {
        const char* identity;
        const char* real;
        const char* keyText;
        const char* boolean;
        const char* keyedTable;
    };
    virtual Dialect dialect() const = 0;
};

// A writing transaction that is rolled back unless committed: whatever ends a piece of work
// early (a failure, an exception) leaves the store as it was.
class WriteTransaction {
public:
    explicit WriteTransaction(SqlLink& link) : link_(link) { link_.beginWriting(); }
    ~WriteTransaction() {
        if (open_) {
            try {
                link_.execute("ROLLBACK");
            } catch (const StoreError&) {
                // The connection is gone, and the transaction with it.
            }
        }
    }
    WriteTransaction(const WriteTransaction&) = delete;
    WriteTransaction& operator=(const WriteTransaction&) = delete;
    void commit() {
        link_.execute("COMMIT");
        open_ = false;
    }

private:
    SqlLink& link_;
    bool open_ = true;
};

// Opens an SQLite file (made when missing) in WAL mode.
std::unique_ptr<SqlLink> openSqliteLink(const std::string& path);
// Connects to a PostgreSQL server through libpq.
std::unique_ptr<SqlLink> openPostgresLink(const std::string& url);

}  // namespace fenta21::store
