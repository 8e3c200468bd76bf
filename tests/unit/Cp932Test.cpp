#include "core/base/Cp932.h"

#include <gtest/gtest.h>

namespace fenta21 {
namespace {

const std::string kKa = "\x83\x4a";  // カ in code page 932

TEST(Cp932, RoundTripsJapaneseAndHalfWidthKatakana) {
    std::string utf8 = "ｺﾝﾄﾛｰﾗ データ回収";
    std::string cp932 = utf8ToCp932(utf8);
    EXPECT_EQ(cp932.size(), 6u + 1u + 10u);  // half-width katakana take one byte each
    EXPECT_EQ(cp932ToUtf8(cp932), utf8);
}

TEST(Cp932, UnconvertibleBytesBecomeQuestionMarksAndNothingAfterIsLost) {
    EXPECT_EQ(cp932ToUtf8(std::string("A\x81") + "\x20" + "B"), "A? B");
    EXPECT_EQ(utf8ToCp932("x\xff y"), "x? y");
}

TEST(Cp932, TellsWhetherEveryCharacterHasACodePage932Form) {
    const struct {
        const char* utf8;
        bool held;
    } rows[] = {
        {"", true},         {"data/観測所_1", true}, {"ｺﾝﾄﾛｰﾗ", true},         {"Müller", false},
        {"관측소", false}, {"site\xF0\x9F\x8C\x8A", false}, {"broken\xff", false},
    };
    for (const auto& row : rows) EXPECT_EQ(hasCp932Form(row.utf8), row.held) << row.utf8;
}

TEST(Cp932, FixedFieldNeverSplitsADoubleByteCharacter) {
    std::string text = "abc" + kKa + kKa;  // 7 bytes
    EXPECT_EQ(cp932FixedField(text, 7), text);
    EXPECT_EQ(cp932FixedField(text, 6), "abc" + kKa + " ");  // the cut character's first byte became a space
    EXPECT_EQ(cp932FixedField(text, 4), "abc ");
    EXPECT_EQ(cp932FixedField(text, 10), text + "   ");
    EXPECT_EQ(cp932PrefixLength(text, 4), 3u);
    EXPECT_EQ(cp932PrefixLength(std::string("ab\x83"), 10), 2u);  // a lone first byte at the end
}

TEST(Cp932, CStringFieldKeepsRoomForTheTerminator) {
    std::string field = cp932CString("ab" "カ", 4);
    ASSERT_EQ(field.size(), 4u);
    EXPECT_EQ(field, std::string("ab\0\0", 4));
    EXPECT_EQ(utf8FromCString(std::string("ab" "\x83\x4a" "\0zz", 7)), "abカ");
}

}  // namespace
}  // namespace fenta21
