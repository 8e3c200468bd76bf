// The telephone field's dial number and unit list, and the dialling parameters of mdm.dat.
#include "core/base/Cp932.h"
#include "core/stations/ModemParameters.h"
#include "core/remote/TelephoneField.h"
#include "tests/support/TempHome.h"

#include <gtest/gtest.h>

namespace fenta21::test {
namespace {

TEST(TelephoneField, DialNumberAndUnits) {
    struct Row {
        const char* field;
        const char* number;
        std::vector<int> units;
    } rows[] = {
        {"0123456789", "0123456789", {}},
        {"0123456789_1_2_3", "0123456789", {1, 2, 3}},
        {"0123_12_3", "0123", {3}},
        {"0123_0_10_-1_9", "0123", {9}},
        {"0123_abc_4x_ 5", "0123", {4, 5}},
        {"0123_", "0123", {}},
        {"0123__7", "0123", {7}},
        {"_1", "", {1}},
        {"", "", {}},
        {"0123_99999999999999999999_2", "0123", {2}},
        {"0123_1_2_3_4_5_6_7_8_9_1_2_3", "0123", {1, 2, 3, 4, 5, 6, 7, 8, 9, 1}},
        {"0123_3_3", "0123", {3, 3}},
    };
    for (const Row& row : rows) {
        DialTarget target = parseTelephoneField(row.field);
        EXPECT_EQ(target.dialNumber, row.number) << row.field;
        EXPECT_EQ(target.units, row.units) << row.field;
    }
}

TEST(TelephoneField, DialNumberIsCutTo31BytesOnACharacterBoundary) {
    EXPECT_EQ(parseTelephoneField(std::string(40, '9') + "_2"), (DialTarget{std::string(31, '9'), {2}}));
    // 30 digits and a double-byte character that would end at byte 32.
    DialTarget target = parseTelephoneField(std::string(30, '1') + "番");
    EXPECT_EQ(target.dialNumber, std::string(30, '1'));
    EXPECT_EQ(parseTelephoneField("内線5").dialNumber, utf8ToCp932("内線5"));
}

TEST(ModemParametersFile, DefaultsValuesAndDamagedFiles) {
    TempHome home;
    ModemParameters missing = loadModemParameters(home.file("mdm.dat"));
    EXPECT_EQ(missing.retryCount, 3);
    EXPECT_EQ(missing.redialWaitTicks, 10);  // one second, not ten

    struct Row {
        const char* content;
        int retryCount;
        int redialWaitTicks;
    } rows[] = {
        {"RETRY 5\nWAIT 30\n", 5, 300},
        {"a 0 b 0", 0, 0},
        {"a 1\tb\t2", 1, 20},
        {"", 3, 10},
        {"RETRY 4\n", 4, 10},
        {"RETRY x WAIT 30", 3, 300},
        {"RETRY 5 WAIT soon", 5, 10},
        {"RETRY -2 WAIT -8", 0, 0},
        {"RETRY 7times WAIT 2s", 7, 20},
        {"RETRY 2 WAIT 99999999999999", 2, 864000},
        {"RETRY 99999999999999 WAIT 1", 1000000, 10},
    };
    for (const Row& row : rows) {
        home.write("mdm.dat", row.content);
        ModemParameters read = loadModemParameters(home.file("mdm.dat"));
        EXPECT_EQ(read.retryCount, row.retryCount) << row.content;
        EXPECT_EQ(read.redialWaitTicks, row.redialWaitTicks) << row.content;
    }
}

}  // namespace
}  // namespace fenta21::test
