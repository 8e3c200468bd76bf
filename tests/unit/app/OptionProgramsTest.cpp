// The option programs beside the program: a "*.exe" counts only with its companion name file.
#include "core/session/OptionPrograms.h"
#include "core/base/Cp932.h"
#include "tests/support/TempHome.h"

#include <gtest/gtest.h>

namespace fenta21::test {
namespace {

std::vector<std::string> listed(const std::vector<OptionProgram>& programs) {
    std::vector<std::string> rows;
    for (const auto& program : programs) rows.push_back(program.displayName + "=" + program.programFile);
    return rows;
}

TEST(OptionPrograms, ProgramsWithCompanionsInNameOrder) {
    TempHome home;
    home.write("zeta.exe", "");
    home.write("zeta", "Zeta tool\n");
    home.write("binary.exe", "");
    home.write("binary", "  " + utf8ToCp932("ﾃﾞｰﾀ表示") + "  second words\n");
    home.write("lonely.exe", "");
    home.write("readme", "not a program");
    EXPECT_EQ(listed(scanOptionPrograms(home.path())),
              (std::vector<std::string>{"ﾃﾞｰﾀ表示=binary.exe", "Zeta=zeta.exe"}));
}

TEST(OptionPrograms, NoneWithoutCompanionsAndAtMostTen) {
    TempHome home;
    home.write("lonely.exe", "");
    EXPECT_TRUE(scanOptionPrograms(home.path()).empty());
    for (int i = 0; i < 12; ++i) {
        std::string title = "tool" + std::string(1, static_cast<char>('a' + i));
        home.write(title + ".exe", "");
        home.write(title, title);
    }
    auto programs = scanOptionPrograms(home.path());
    ASSERT_EQ(programs.size(), kMaxOptionPrograms);
    EXPECT_EQ(programs.back().programFile, "toolj.exe");
}

TEST(OptionPrograms, MissingHomeFolderGivesNone) {
    EXPECT_TRUE(scanOptionPrograms("/nonexistent/fenta21-home").empty());
}

}  // namespace
}  // namespace fenta21::test
