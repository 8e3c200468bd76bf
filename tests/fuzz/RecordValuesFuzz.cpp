// Record decoding and value formatting with every installed kind table. The input is read as
// 8-byte records, and each 8 bytes also as a kind and a 32-bit value the way the panel gets
// them from a reply. The texts must agree between the formatter's forms and be plain ASCII
// before the unit.
#include "core/datafile/DataRecord.h"
#include "core/datafile/RecordValue.h"
#include "core/datafile/ValueFormatter.h"
#include "tests/fuzz/support/FuzzCheck.h"
#include "tests/fuzz/support/FuzzText.h"
#include "tests/fuzz/support/InstalledModels.h"

#include <cstring>

using namespace fenta21;

namespace {

bool isAscii(std::string_view text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) > 0x7E) return false;
    return true;
}

void checkRecord(const DataRecord& record, const KindTable& kinds) {
    ValueText text = formatValueText(record, kinds);
    FUZZ_CHECK(text.length <= text.bytes.size());
    FUZZ_CHECK(isAscii(text.view()));
    FUZZ_CHECK(text.ok != (text.view() == "-------"));
    FormattedValue value = formatValue(record, kinds);
    FUZZ_CHECK(value.text == text.view() && value.ok == text.ok);
    std::string withUnit = formatValueWithUnit(record, kinds);
    FUZZ_CHECK(withUnit.compare(0, value.text.size(), value.text) == 0);
    FUZZ_CHECK(fuzz::isValidUtf8(withUnit));
    RecordValue number = recordValue(record, kinds);
    FUZZ_CHECK(number.ok == text.ok);
    FUZZ_CHECK(!number.ok || number.number == number.number);  // never NaN
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    for (std::size_t at = 0; at + kRecordBytes <= size; at += kRecordBytes) {
        const unsigned char* bytes = data + at;
        std::optional<DataRecord> record = decodeRecord(bytes);
        FUZZ_CHECK(record.has_value() == (recordFault(recordFields(bytes)) == RecordFault::None));
        std::int32_t panelValue;
        std::memcpy(&panelValue, bytes + 4, sizeof panelValue);
        const int panelKind = static_cast<std::int8_t>(bytes[0]);
        for (const CurrentModel& model : fuzz::installedModels()) {
            if (record) checkRecord(*record, *model.kinds);
            DataRecord reading;
            reading.kind = panelKind;
            reading.value = panelValue;
            checkRecord(reading, *model.kinds);
            FUZZ_CHECK(formatKindValue(panelKind, panelValue, *model.kinds) == formatValueWithUnit(reading, *model.kinds));
        }
    }
    return 0;
}
