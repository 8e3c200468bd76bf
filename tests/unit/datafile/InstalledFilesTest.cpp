#include "core/base/Cp932.h"
#include "core/base/Files.h"
#include "core/datafile/FixedColumnModels.h"
#include "core/datafile/HeaderReference.h"
#include "core/protocol/KindTable.h"
#include "core/protocol/ModelKinds.h"
#include "core/protocol/ModelTable.h"
#include "sim/image/DataImage.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace fenta21 {
namespace {

std::string configFile(const std::string& name) { return std::string(FENTA21_CONFIG_DIR) + "/" + name; }

std::size_t referenceBytes(const std::vector<HeaderItem>& items) {
    std::size_t bytes = 0;
    for (const HeaderItem& item : items) bytes += headerItemBytes(item.type);
    return bytes;
}

// The files the program ships: every model of type.dat has a kind table and a header
// reference file that read without a single defect.
TEST(InstalledFiles, EveryModelHasCleanKindTableAndHeaderReference) {
    ModelTable models = loadModelTable(configFile("type.dat"));
    EXPECT_TRUE(models.problems.empty());
    ASSERT_GE(models.entries.size(), 9u);
    std::set<char> types;
    bool undefinedLine = false;
    for (const ModelEntry& model : models.entries) {
        SCOPED_TRACE(model.code);
        std::optional<std::string> kindText = readWholeFile(configFile(model.code + ".dat"));
        ASSERT_TRUE(kindText.has_value());
        KindTable kinds = parseKindTable(*kindText, model.code + ".dat");
        EXPECT_TRUE(kinds.problems.empty());
        EXPECT_FALSE(kinds.lines.empty());
        for (const KindLine& line : kinds.lines) {
            const KindFormat& format = kinds.kinds[static_cast<std::size_t>(line.kind)];
            if (!format.defined()) {
                undefinedLine = true;
                continue;
            }
            types.insert(format.type);
            EXPECT_EQ(utf8ToCp932(format.unit).size(), kKindUnitBytes) << line.label;
        }
        if (const FixedColumnLayout* fixed = fixedColumnLayoutFor(model.code)) {
            for (int kind : fixed->kinds) EXPECT_NE(kinds.format(kind), nullptr) << "fixed column kind " << kind;
        }

        std::optional<std::string> reference = readWholeFile(configFile(model.code + ".hed"));
        ASSERT_TRUE(reference.has_value());
        EXPECT_EQ(referenceBytes(parseHeaderReference(*reference)), sim::kHeaderAreaBytes);
    }
    EXPECT_EQ(types, (std::set<char>{'+', ' ', '%', '#', '$', 'h'}));
    EXPECT_TRUE(undefinedLine) << "one kind is shipped undefined (\"-\")";

    std::optional<std::string> fallback = readWholeFile(configFile(kFallbackHeaderReference));
    ASSERT_TRUE(fallback.has_value());
    EXPECT_EQ(referenceBytes(parseHeaderReference(*fallback)), sim::kHeaderAreaBytes);
}

TEST(InstalledFiles, ModelCodesBelongToTheirFamilies) {
    const std::map<std::string, int> expected = {
        {"WNDA-01", ModelKind::kWNDA},   {"LVLA-01", ModelKind::kLVLA},     {"LVPQ-01", ModelKind::kLVPQ},
        {"QS-21", ModelKind::kQS},       {"RS8-04", ModelKind::kRS8},       {"SEAL-01", ModelKind::kSEAL},
        {"RGT1-01", ModelKind::kRGT1},   {"CMLOGR-01", ModelKind::kCMLOGR}, {"XCMLOGR-01", ModelKind::kXCMLOGR},
    };
    ModelTable models = loadModelTable(configFile("type.dat"));
    for (const auto& [code, kind] : expected) {
        ASSERT_NE(models.find(code), nullptr) << code;
        EXPECT_EQ(modelKindNumber(code), kind) << code;
    }
}

}  // namespace
}  // namespace fenta21
