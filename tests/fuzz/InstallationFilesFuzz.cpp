// The loaders of the installation files a user may edit: type.dat, a kind table, a header
// reference file (.hed), mdm.dat and cmd.dat. The first byte chooses the file, the rest is its
// content. What they load must stay within the limits the rest of the program relies on, and
// reading from the file must give what reading the same bytes in memory gives.
#include "core/base/Cp932.h"
#include "core/datafile/DataFileHeader.h"
#include "core/datafile/HeaderListing.h"
#include "core/datafile/HeaderReference.h"
#include "core/datafile/ValueFormatter.h"
#include "core/protocol/KindTable.h"
#include "core/protocol/ModelTable.h"
#include "core/protocol/RetrySettings.h"
#include "core/stations/ModemParameters.h"
#include "tests/fuzz/support/FuzzCheck.h"
#include "tests/fuzz/support/FuzzHome.h"
#include "tests/fuzz/support/FuzzText.h"

using namespace fenta21;

namespace {

void modelTable(std::string_view text) {
    ModelTable table = parseModelTable(text);
    FUZZ_CHECK(table.entries.size() <= kModelTableLines);
    for (const ModelEntry& entry : table.entries) {
        FUZZ_CHECK(!entry.code.empty() && entry.code.size() <= kModelCodeBytes);
        FUZZ_CHECK(fuzz::isValidUtf8(entry.name) && utf8ToCp932(entry.name).size() <= kModelNameBytes);
        FUZZ_CHECK(table.find(entry.code) != nullptr && table.find(entry.code)->code == entry.code);
    }
    ModelTable loaded = loadModelTable(fuzz::writeHomeFile("fuzzed-type.dat", text));
    FUZZ_CHECK(loaded.entries.size() == table.entries.size() && loaded.problems.size() == table.problems.size());
}

void kindTable(std::string_view text) {
    KindTable table = parseKindTable(text, "FUZZ.dat");
    FUZZ_CHECK(table.lines.size() <= kKindTableLines);
    for (const KindLine& line : table.lines) FUZZ_CHECK(fuzz::isValidUtf8(line.label));
    for (int kind = 0; kind < kKindCount; ++kind) {
        const KindFormat* format = table.format(kind);
        if (format == nullptr) continue;
        FUZZ_CHECK(utf8ToCp932(format->unit).size() == kKindUnitBytes && fuzz::isValidUtf8(format->name));
        FUZZ_CHECK(format->decimals >= 0 && format->decimals < 7);
        for (int value : {0, 1, -1, 9, 99999, 32767, -32768, 65535}) {
            DataRecord record;
            record.kind = kind;
            record.value = value;
            ValueText shown = formatValueText(record, table);
            FUZZ_CHECK(shown.length <= shown.bytes.size());
            FUZZ_CHECK(fuzz::isValidUtf8(formatValueWithUnit(record, table)));
        }
    }
    KindTable loaded = loadKindTable(fuzz::writeHomeFile("FUZZ.dat", text));
    FUZZ_CHECK(loaded.lines.size() == table.lines.size() && loaded.problems == table.problems);
}

// The reference file of a model "FUZZ", listed over a header whose bytes count up.
void headerReference(std::string_view text) {
    std::vector<HeaderItem> items = parseHeaderReference(text);
    for (const HeaderItem& item : items) FUZZ_CHECK(fuzz::isValidUtf8(item.label));
    fuzz::writeHomeFile("FUZZ.hed", text);
    std::string image(1024, '\0');
    for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<char>(i * 7);
    image.replace(kHeaderModelCodeOffset, kHeaderModelCodeBytes, std::string("FUZZ").append(12, '\0'));
    HeaderListing listing = listHeader(image, fuzz::fuzzHome());
    FUZZ_CHECK(listing.rows.size() <= items.size());
    for (const HeaderRow& row : listing.rows) FUZZ_CHECK(fuzz::isValidUtf8(row.value));
}

void modemParameters(std::string_view text) {
    ModemParameters loaded = loadModemParameters(fuzz::writeHomeFile("fuzzed-mdm.dat", text));
    FUZZ_CHECK(loaded.retryCount >= 0 && loaded.retryCount <= 1'000'000);
    FUZZ_CHECK(loaded.redialWaitTicks >= 0 && loaded.redialWaitTicks <= 24 * 60 * 60 * 10);
}

void retrySettings(std::string_view text) {
    RetrySettings loaded = loadRetrySettings(fuzz::writeHomeFile("fuzzed-cmd.dat", text));
    FUZZ_CHECK(loaded.tries >= 1 && loaded.readsPerTry >= 1 && loaded.panelLimit >= 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    switch (data[0] % 5) {
    case 0: modelTable(text); break;
    case 1: kindTable(text); break;
    case 2: headerReference(text); break;
    case 3: modemParameters(text); break;
    case 4: retrySettings(text); break;
    }
    return 0;
}
