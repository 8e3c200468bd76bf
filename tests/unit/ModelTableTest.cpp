#include "core/base/Cp932.h"
#include "core/protocol/KindTable.h"
#include "core/protocol/ModelKinds.h"
#include "core/protocol/ModelRegistry.h"
#include "core/protocol/ModelTable.h"
#include "tests/support/TempHome.h"

#include <gtest/gtest.h>

#include <string>

namespace fenta21 {
namespace {

std::string cp932(const std::string& utf8) { return utf8ToCp932(utf8); }

TEST(ModelKind, LastMatchingFamilyWins) {
    const std::pair<const char*, int> rows[] = {
        {"WNDA-01", ModelKind::kWNDA},     {"LVLA-01", ModelKind::kLVLA},       {"QP-1", ModelKind::kQP},
        {"QS-21", ModelKind::kQS},         {"LVPQ-01", ModelKind::kLVPQ},       {"Q8-1", ModelKind::kQ8},
        {"RP8-1", ModelKind::kRP8},        {"RS8-04", ModelKind::kRS8},         {"CM-3", ModelKind::kCM},
        {"SEAL-01", ModelKind::kSEAL},     {"SEAL2-01", ModelKind::kSEAL2},     {"GAPD-1", ModelKind::kGAPD},
        {"FLKA-1", ModelKind::kFLKA},      {"Q4-1", ModelKind::kQ4},            {"RGT1-01", ModelKind::kRGT1},
        {"FLKB-1", ModelKind::kFLKB},      {"CMLOGR-01", ModelKind::kCMLOGR},   {"XCMLOGR-01", ModelKind::kXCMLOGR},
        {"HBLTZ-1", ModelKind::kHBLTZ},    {"ABC-9", ModelKind::kUnknown},      {"WNDA-CM", ModelKind::kCM},
        {"Q8Q4", ModelKind::kQ4},          {"wnda-01", ModelKind::kUnknown},
    };
    for (const auto& [code, kind] : rows) EXPECT_EQ(modelKindNumber(code), kind) << code;
    EXPECT_EQ(ModelKind::kQ8, 12288);
    EXPECT_EQ(ModelKind::kRS8, 12332);
}

TEST(ModelTable, ReadsLinesInOrderAndFindsExactCodesOnly) {
    ModelTable table = parseModelTable(cp932("WNDA-01,6,風向風速計\r\nQS-21,3,積雪深計\r\nPLAIN,2,x\r\n"));
    ASSERT_EQ(table.entries.size(), 3u);
    EXPECT_TRUE(table.problems.empty());
    EXPECT_EQ(table.entries[1].code, "QS-21");
    EXPECT_EQ(table.entries[1].channelCount, 3);
    EXPECT_EQ(table.entries[1].name, "積雪深計");
    EXPECT_NE(table.find("WNDA-01"), nullptr);
    EXPECT_EQ(table.find("wnda-01"), nullptr) << "letter case counts";
    EXPECT_EQ(table.find("WNDA-01 "), nullptr) << "a trailing space counts";
    EXPECT_EQ(table.find(""), nullptr);
}

TEST(ModelTable, EmptyCodeEndsTheTableAndLine129IsIgnored) {
    ModelTable ended = parseModelTable("A,1,a\n\nB,1,b\n");
    ASSERT_EQ(ended.entries.size(), 1u);
    EXPECT_EQ(ended.problems.size(), 1u) << "lines hidden behind the blank line are pointed out";
    EXPECT_TRUE(parseModelTable("A,1,a\n\n\n").problems.empty()) << "blank lines at the end are normal";

    std::string many;
    for (int i = 1; i <= 129; ++i) many += "M" + std::to_string(i) + ",1,m\n";
    ModelTable full = parseModelTable(many);
    EXPECT_EQ(full.entries.size(), 128u);
    EXPECT_EQ(full.find("M129"), nullptr);
    EXPECT_EQ(full.problems.size(), 1u);
}

TEST(ModelTable, DefectiveLinesAreReportedAndNeverOverrun) {
    const std::string longName = cp932("あいうえおかきくけこ");  // 20 bytes: the tenth character does not fit
    ModelTable table = parseModelTable("TWENTY-CHARACTERS-XX,1,a\n"   // code too long: left out
                                       "COUNT-TEXT,abc,b\n"           // not a number: 0
                                       "COUNT-TAIL,8x,c\n"            // trailing letters: 0
                                       "COUNT-BIG,999,d\n"            // more channels than a record can address: 0
                                       "NO-COUNT\n"                   // neither count nor name
                                       "LONG-NAME,2," + longName + "\n");
    EXPECT_EQ(table.find("TWENTY-CHARACTERS-XX"), nullptr);
    ASSERT_NE(table.find("COUNT-TEXT"), nullptr);
    EXPECT_EQ(table.find("COUNT-TEXT")->channelCount, 0);
    EXPECT_EQ(table.find("COUNT-TAIL")->channelCount, 0);
    EXPECT_EQ(table.find("COUNT-BIG")->channelCount, 0);
    EXPECT_EQ(table.find("NO-COUNT")->name, "");
    EXPECT_EQ(table.find("LONG-NAME")->name, "あいうえおかきくけ");
    EXPECT_EQ(table.problems.size(), 7u);  // NO-COUNT has two defects
    EXPECT_NE(table.problems[0].find("type.dat 1行目"), std::string::npos) << table.problems[0];
}

TEST(ModelTable, MissingFileGivesAnEmptyTable) {
    ModelTable table = loadModelTable("/nonexistent/type.dat");
    EXPECT_TRUE(table.entries.empty());
    EXPECT_TRUE(table.problems.empty());
}

struct TemplateRow {
    const char* templ;  // UTF-8
    char type;
    int decimals;
    const char* unit;  // UTF-8
};

TEST(KindTemplate, TypeDecimalsAndUnitFollowThePoint) {
    const TemplateRow rows[] = {
        {"+012.34m/s", '+', 2, "m/s"},     // signed: seven wide
        {"+0012.3ﾟC ", '+', 1, "ﾟC "},
        {"+1.2345m", '+', 4, "m  "},       // a short unit is padded
        {" 012.3m/s", ' ', 1, "m/s"},      // unsigned: six wide
        {"%100.0%", '%', 1, "%  "},
        {"%12345mV ", '%', 0, "mV "},      // no point: no decimals
        {"#123.4mm ", '#', 1, "mm "},
        {"+123456.7", '+', 0, ".7 "},      // a point beyond the width belongs to the unit
        {"+12", '+', 0, "   "},            // shorter than its width: nothing is read past it
        {"+001.23μm", '+', 2, "μm"},       // a double-byte character inside the unit
        {"+001.23mmμ", '+', 2, "mm "},     // one that would be split is left out
        {"$NNE", '$', 0, "   "},
        {"h00:00:00", 'h', 0, "   "},
        {"-", '\0', 0, "   "},
        {"-12.3", '\0', 0, "   "},
        {"", '\0', 0, "   "},
    };
    for (const TemplateRow& row : rows) {
        KindFormat format = parseKindTemplate(cp932(row.templ));
        EXPECT_EQ(format.type, row.type) << row.templ;
        EXPECT_EQ(format.decimals, row.decimals) << row.templ;
        EXPECT_EQ(format.unit, row.unit) << row.templ;
    }
}

TEST(KindTable, ReadsKindsAndPanelLines) {
    KindTable table = parseKindTable(cp932("20,平均風速, 012.3m/s,風速\r\n"
                                           "\r\n"
                                           "99,予備,-,予備\r\n"
                                           "5,気温,+0012.3ﾟC ,気温\r\n"
                                           "5,水温,+012.34ﾟC ,水温\r\n"),
                                     "WNDA-01.dat");
    EXPECT_TRUE(table.problems.empty());
    ASSERT_NE(table.format(20), nullptr);
    EXPECT_EQ(table.format(20)->name, "平均風速");
    EXPECT_EQ(table.format(99), nullptr) << "a template of \"-\" leaves the kind undefined";
    EXPECT_EQ(table.kinds[99].name, "予備");
    EXPECT_EQ(table.format(5)->name, "水温") << "a later line for the same kind replaces the earlier";
    EXPECT_EQ(table.format(5)->decimals, 2);
    EXPECT_EQ(table.format(6), nullptr);
    EXPECT_EQ(table.format(-1), nullptr);
    EXPECT_EQ(table.format(128), nullptr);
    ASSERT_EQ(table.lines.size(), 4u);
    EXPECT_EQ(table.lines[0].kind, 20);
    EXPECT_EQ(table.lines[0].label, "風速");
    EXPECT_EQ(table.lines[3].label, "水温");
}

TEST(KindTable, DefectiveLinesAreReportedAndNeverOverrun) {
    KindTable table = parseKindTable(cp932("x,名前,+012.34m/s,ラベル\n"                      // kind not a number
                                           "128,名前,+012.34m/s,ラベル\n"                    // kind out of range
                                           "-1,名前,+012.34m/s,ラベル\n"                     // kind out of range
                                           "7,名前だけ\n"                                     // no template
                                           "8,あいうえおかきくけこ,+012.34m/s,あいうえおかきくけこ\n"),  // name and label too long
                                     "K.dat");
    EXPECT_EQ(table.problems.size(), 6u);
    EXPECT_EQ(table.format(7), nullptr);
    EXPECT_EQ(table.kinds[7].name, "名前だけ");
    ASSERT_NE(table.format(8), nullptr);
    EXPECT_EQ(table.format(8)->name, "あいうえおかきくけ");
    ASSERT_EQ(table.lines.size(), 2u);
    EXPECT_EQ(table.lines[1].label, "あいうえおかきくけ");

    std::string many;
    for (int i = 0; i < 129; ++i) many += std::to_string(i % 128) + ",n,+012.34m/s,l\n";
    KindTable full = parseKindTable(many, "K.dat");
    EXPECT_EQ(full.lines.size(), 128u);
    EXPECT_EQ(full.problems.size(), 1u);
}

class ModelRegistryTest : public ::testing::Test {
protected:
    void SetUp() override {
        home.write("type.dat", cp932("WNDA-01,6,風向風速計\r\nLVLA-01,3,水位計\r\nNOKINDS,2,表なし\r\n../ESCAPE,1,x\r\n"));
        home.write("WNDA-01.dat", cp932("20,平均風速, 012.3m/s,平均風速\r\n"));
        home.write("LVLA-01.dat", cp932("32,水位,+1.2345m  ,水位\r\nzz,bad,+1,x\r\n"));
        registry.loadModelTable();
    }

    test::TempHome home;
    ModelRegistry registry{home.path()};
};

TEST_F(ModelRegistryTest, IdentifyReplacesTheCurrentModel) {
    CurrentModel identified;
    ASSERT_EQ(registry.identifyModel("WNDA-01", &identified), 0);
    CurrentModel current = registry.current();
    EXPECT_EQ(current.code, "WNDA-01");
    EXPECT_EQ(current.kindNumber, ModelKind::kWNDA);
    EXPECT_EQ(current.channelCount, 6);
    EXPECT_EQ(current.name, "風向風速計");
    ASSERT_NE(current.kinds->format(20), nullptr);
    EXPECT_EQ(identified.kinds, current.kinds);

    ASSERT_EQ(registry.identifyModel("LVLA-01"), 0);
    EXPECT_EQ(registry.current().kindNumber, ModelKind::kLVLA);
    EXPECT_EQ(registry.current().kinds->format(20), nullptr);
    EXPECT_NE(identified.kinds->format(20), nullptr) << "an earlier snapshot keeps its own kind table";
}

TEST_F(ModelRegistryTest, UnknownCodeClearsKindAndChannelsButKeepsTheRest) {
    ASSERT_EQ(registry.identifyModel("WNDA-01"), 0);
    EXPECT_EQ(registry.identifyModel("WNDA-01 "), -1);
    CurrentModel current = registry.current();
    EXPECT_EQ(current.kindNumber, 0);
    EXPECT_EQ(current.channelCount, 0);
    EXPECT_EQ(current.code, "WNDA-01");
    EXPECT_EQ(current.name, "風向風速計");
    EXPECT_NE(current.kinds->format(20), nullptr);
}

TEST_F(ModelRegistryTest, MissingOrUnsafeKindTableLeavesEveryKindUndefined) {
    EXPECT_EQ(registry.identifyModel("NOKINDS"), 0);
    for (int kind = 0; kind < kKindCount; ++kind) EXPECT_EQ(registry.current().kinds->format(kind), nullptr);
    EXPECT_EQ(registry.identifyModel("../ESCAPE"), 0) << "a listed code is accepted, but its name opens no file";
    EXPECT_EQ(registry.current().kinds->lines.size(), 0u);
}

TEST_F(ModelRegistryTest, EachProblemIsHandedOutOnce) {
    registry.identifyModel("LVLA-01");
    registry.identifyModel("NOKINDS");
    std::vector<std::string> problems = registry.takeNewProblems();
    ASSERT_EQ(problems.size(), 2u);
    EXPECT_NE(problems[0].find("LVLA-01.dat 2行目"), std::string::npos) << problems[0];
    EXPECT_NE(problems[1].find("NOKINDS.dat"), std::string::npos) << problems[1];
    registry.identifyModel("LVLA-01");
    EXPECT_TRUE(registry.takeNewProblems().empty());
}

TEST(ModelRegistry, WithoutTypeDatEveryLookupFails) {
    test::TempHome home;
    ModelRegistry registry(home.path());
    registry.loadModelTable();
    EXPECT_EQ(registry.identifyModel("WNDA-01"), -1);
}

}  // namespace
}  // namespace fenta21
