#include "core/store/RecordStore.h"

namespace fenta21::store {

ImportCounts& ImportCounts::operator+=(const ImportCounts& other) {
    inserted += other.inserted;
    duplicates += other.duplicates;
    conflicts += other.conflicts;
    skipped += other.skipped;
    return *this;
}

std::vector<RecordRow> RecordStore::records(std::int64_t seriesId, std::int64_t fromUtc, std::int64_t toUtc) {
    std::vector<RecordRow> rows;
    readRecords(seriesId, fromUtc, toUtc, [&rows](const RecordRow& row) {
        rows.push_back(row);
        return true;
    });
    return rows;
}

}  // namespace fenta21::store
