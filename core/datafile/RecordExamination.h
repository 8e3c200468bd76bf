#pragma once

#include "core/datafile/DataRecord.h"
#include "core/datafile/FixedColumnModels.h"
#include "core/datafile/ValueFormatter.h"
#include "core/protocol/KindTable.h"

#include <cstddef>
#include <optional>

namespace fenta21 {

// What the CSV converter makes of one record, so that whatever else takes records from a data
// file (the record store) takes exactly the records the CSV holds and shows them the same way.
struct ExaminedRecord {
    bool decoded = false;  // the bytes are a valid record
    // Decoded, of a column kind the kind table defines, with a value that can be shown. Any
    // other record is one the converter asks about and, after a yes, leaves out.
    bool usable = false;
    DataRecord record;
    int columnKind = 0;  // the kind its column stands for (the record's own for fixed columns)
    ValueText text;
};

// The 8 bytes at `bytes` as the converter sees them for a model with columns from its records
// (`fixed` null) or with the fixed columns of a weather station.
ExaminedRecord examineRecord(const unsigned char* bytes, const KindTable& kinds, const FixedColumnLayout* fixed);

// The fixed column a kind's values go into, or nothing for a kind the layout has no column
// for (such records are left out of the CSV without a question).
std::optional<std::size_t> fixedColumnSlot(const FixedColumnLayout& layout, int kind);

}  // namespace fenta21
