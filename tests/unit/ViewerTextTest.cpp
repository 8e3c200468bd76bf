// What the text viewer shows for a file's bytes: code page 932 or UTF-8, line ends, and
// control bytes made visible.
#include "core/base/Cp932.h"
#include "core/base/ViewerText.h"

#include <gtest/gtest.h>

#include <string>

namespace fenta21 {
namespace {

struct ViewerRow {
    const char* legend;
    std::string bytes;
    std::string shown;
};

TEST(ViewerText, DecodesAndCleansTheFile) {
    const std::string dot = "\xEF\xBD\xA5";  // half-width middle dot
    const ViewerRow rows[] = {
        {"code page 932 CSV with CR LF", utf8ToCp932("日付,ﾃﾞｰﾀ\r\n17/03/09,1.5\r\n"), "日付,ﾃﾞｰﾀ\n17/03/09,1.5\n"},
        {"half-width katakana alone", utf8ToCp932("ｺﾝﾄﾛｰﾗ"), "ｺﾝﾄﾛｰﾗ"},
        {"UTF-8 Japanese", "回収ログ\n", "回収ログ\n"},
        {"UTF-8 with a byte order mark", "\xEF\xBB\xBFnotes\r\n", "notes\n"},
        {"ASCII stays as it is", "copy\tacopy\n", "copy\tacopy\n"},
        {"a lone CR ends a line", "a\rb", "a\nb"},
        {"CR CR LF is two line ends", "a\r\r\nb", "a\n\nb"},
        {"NUL padding and DEL", std::string("AB\0\0\x7F", 5), "AB" + dot + dot + dot},
        {"an undecodable byte is marked, the rest kept", std::string("A\x81 B"), "A? B"},
        {"empty file", "", ""},
    };
    for (const auto& row : rows) EXPECT_EQ(viewerText(row.bytes), row.shown) << row.legend;
}

TEST(ViewerText, Utf8CheckRefusesMalformedSequences) {
    const std::pair<std::string, bool> rows[] = {
        {"plain", true},
        {"\xE3\x81\x82", true},          // あ
        {"\xF0\x9F\x98\x80", true},      // four bytes, U+1F600
        {"\xC0\x80", false},             // overlong NUL
        {"\xE0\x80\x80", false},         // overlong, three bytes
        {"\xED\xA0\x80", false},         // a surrogate
        {"\xF4\x90\x80\x80", false},     // past U+10FFFF
        {"\xE3\x81", false},             // cut short at the end
        {"\xE3\x41\x82", false},         // a continuation byte missing
        {"\xB0", false},                 // a lone continuation byte (ｰ in code page 932)
    };
    for (const auto& [bytes, valid] : rows) EXPECT_EQ(isValidUtf8(bytes), valid) << testing::PrintToString(bytes);
}

}  // namespace
}  // namespace fenta21
