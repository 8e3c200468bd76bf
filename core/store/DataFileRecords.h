#pragma once

#include "core/datafile/DataFileHeader.h"
#include "core/datafile/RecordExamination.h"
#include "core/datafile/RecordValue.h"
#include "core/protocol/ModelRegistry.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace fenta21::store {

// One quantity a data file records: a channel and the kind its CSV column stands for.
struct SeriesKey {
    int channel = 0;
    int kind = 0;
    auto operator<=>(const SeriesKey&) const = default;
};

// What the store keeps of a series besides its key, from the kind table.
struct SeriesLabel {
    SeriesKey key;
    std::string name;
    std::string unit;
    std::string valueType;  // "number", "direction" or "time"
};

// One record the CSV holds, as the store keeps it.
struct StoreRecord {
    SeriesKey series;
    std::string_view loggerTime;  // "YYYY-MM-DD HH:MM:SS"
    std::int64_t loggerSeconds = 0;  // the reading counted on the calendar alone
    double number = 0;
    std::string_view text;  // exactly as the CSV converter writes it
};

// A data file opened for the store: its size and content hash, its model code, and then its
// records exactly as the CSV converter takes them (the same records left out, the same texts),
// read a piece at a time so that a whole logger memory is never held at once. Every failure
// to read it is an UnreadableFile.
class DataFileRecords {
public:
    // Opens the file and reads it once for its hash.
    explicit DataFileRecords(const std::string& path);
    ~DataFileRecords();
    DataFileRecords(const DataFileRecords&) = delete;
    DataFileRecords& operator=(const DataFileRecords&) = delete;

    const std::string& path() const { return path_; }
    std::uint64_t size() const { return size_; }
    const std::string& sha256() const { return sha256_; }
    const std::string& modelCode() const { return modelCode_; }  // UTF-8

    // The model that reads the records; the file's model code looked up by the caller.
    void useModel(const CurrentModel& model);

    // The series the records fill, each once, in key order.
    std::vector<SeriesLabel> series() const;
    // Hands every record the CSV holds to `row`, in file order; returns how many records of the
    // record area it leaves out (damaged, of an undefined kind, without a column, or cut short
    // by the end of the file). May be called again: it reads the file afresh.
    std::int64_t forEachRecord(const std::function<void(const StoreRecord& record)>& row) const;

private:
    // Calls `use` with every record the CSV holds (and nullptr for each one it leaves out).
    void walk(const std::function<void(const ExaminedRecord* usable)>& use) const;
    void readAt(std::uint64_t offset, void* into, std::size_t bytes) const;

    std::string path_;
    int fd_ = -1;
    std::uint64_t size_ = 0;
    std::string sha256_;
    std::string modelCode_;
    RecordArea area_;
    CurrentModel model_;
    const FixedColumnLayout* fixed_ = nullptr;
};

}  // namespace fenta21::store
