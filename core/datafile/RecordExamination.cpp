#include "core/datafile/RecordExamination.h"

#include "core/datafile/KindFolding.h"

namespace fenta21 {

ExaminedRecord examineRecord(const unsigned char* bytes, const KindTable& kinds, const FixedColumnLayout* fixed) {
    ExaminedRecord ex;
    ex.record = recordFields(bytes);
    if (recordFault(ex.record) != RecordFault::None) return ex;
    ex.decoded = true;
    ex.columnKind = fixed != nullptr ? ex.record.kind : foldForColumn(ex.record.kind);
    if (kinds.format(ex.columnKind) == nullptr) return ex;
    ex.text = formatValueText(ex.record, kinds);
    ex.usable = ex.text.ok;
    return ex;
}

std::optional<std::size_t> fixedColumnSlot(const FixedColumnLayout& layout, int kind) {
    for (std::size_t slot = 0; slot < layout.kinds.size(); ++slot)
        if (layout.kinds[slot] == kind) return slot;
    return std::nullopt;
}

}  // namespace fenta21
