// Golden-file tests of the CSV converter. Each case is a recipe in tests/golden/csv/<case>.recipe
// (the data file's description, and the answers the user gives) with the expected CSV bytes
// in <case>.csv and what the user was asked and told in <case>.log.
//
// To regenerate the expected files after a deliberate change, run
//   FENTA21_UPDATE_GOLDEN=1 fenta21_unit_tests --gtest_filter='*CsvGolden*'
// and review the difference before committing it. Without the variable the files are only read.
#include "core/base/Files.h"
#include "core/datafile/CFilCnv.h"
#include "sim/image/ImageRecipeText.h"
#include "tests/support/ScriptedHost.h"
#include "tests/support/TempHome.h"
#include "tests/unit/datafile/GermanLocale.h"
#include "tests/unit/datafile/InstalledHome.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <sstream>

namespace fenta21 {
namespace {

namespace fs = std::filesystem;

std::string goldenFolder() { return std::string(FENTA21_CONFIG_DIR) + "/../tests/golden/csv"; }

std::vector<std::string> caseNames() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(goldenFolder()))
        if (entry.path().extension() == ".recipe") names.push_back(entry.path().stem().string());
    std::sort(names.begin(), names.end());
    return names;
}

const char* outcomeName(CsvFileOutcome outcome) {
    switch (outcome) {
    case CsvFileOutcome::Converted: return "converted";
    case CsvFileOutcome::StoppedByUser: return "stopped by the user";
    case CsvFileOutcome::Failed: return "failed";
    case CsvFileOutcome::KeptExisting: return "kept the existing CSV";
    case CsvFileOutcome::NotReached: return "not reached";
    }
    return "?";
}

// Line ends inside a message stay visible, so that each entry is one line of the log.
std::string oneLine(std::string text, const std::string& dataFolder) {
    for (std::size_t at; (at = text.find(dataFolder)) != std::string::npos;) text.replace(at, dataFolder.size(), "DATA/");
    for (std::size_t at; (at = text.find("\r\n")) != std::string::npos;) text.replace(at, 2, "\\r\\n");
    return text;
}

struct Actual {
    std::string csv;
    std::string log;
};

Actual convertCase(const std::string& name) {
    std::optional<std::string> recipeText = readWholeFile(goldenFolder() + "/" + name + ".recipe");
    if (!recipeText) throw std::runtime_error("cannot read the recipe of " + name);
    sim::ParsedRecipe parsed = sim::parseImageRecipe(*recipeText, true);
    if (!parsed.error.empty()) throw std::runtime_error(name + ".recipe: " + parsed.error);

    test::ScriptedHost host;
    for (const std::string& line : parsed.otherLines) {
        std::istringstream words(line);
        std::string key, answer;
        words >> key;
        if (key != "answers") throw std::runtime_error(name + ".recipe: " + line);
        while (words >> answer) host.answers.push_back(answer == "yes" ? Answer::Yes : Answer::No);
    }

    test::TempHome home;
    test::installConfiguration(home);
    std::string dataFolder = home.root() + "/data/";
    fs::create_directories(dataFolder);
    std::string dataFile = dataFolder + name + ".v38";
    writeFileAtomically(dataFile, sim::buildDataImage(parsed.recipe));

    ModelRegistry models(home.path());
    models.loadModelTable();
    std::vector<std::string> reports;
    CFilCnv converter(models, host, [&](const std::string& text) { reports.push_back(text); });
    CsvFileResult result = converter.convertFile(dataFile);

    Actual actual;
    actual.csv = readWholeFile(result.csvFile).value_or("(no CSV file)");
    actual.log = std::string("outcome: ") + outcomeName(result.outcome) + "\n";
    for (const std::string& question : host.questions()) actual.log += "question: " + oneLine(question, dataFolder) + "\n";
    for (const std::string& report : reports) actual.log += "report: " + oneLine(report, dataFolder) + "\n";
    if (!result.failure.empty()) actual.log += "failure: " + result.failure + "\n";
    return actual;
}

void expectGolden(const std::string& name, const Actual& actual) {
    std::string base = goldenFolder() + "/" + name;
    if (std::getenv("FENTA21_UPDATE_GOLDEN") != nullptr) {
        ASSERT_TRUE(writeFileAtomically(base + ".csv", actual.csv));
        ASSERT_TRUE(writeFileAtomically(base + ".log", actual.log));
        return;
    }
    std::optional<std::string> csv = readWholeFile(base + ".csv");
    std::optional<std::string> log = readWholeFile(base + ".log");
    ASSERT_TRUE(csv && log) << "no expected output for " << name << " (see the top of this file)";
    EXPECT_EQ(actual.csv, *csv) << name << ".csv";
    EXPECT_EQ(actual.log, *log) << name << ".log";
}

class CsvGolden : public ::testing::TestWithParam<std::string> {};

TEST_P(CsvGolden, MatchesTheExpectedFiles) { expectGolden(GetParam(), convertCase(GetParam())); }

INSTANTIATE_TEST_SUITE_P(Cases, CsvGolden, ::testing::ValuesIn(caseNames()),
                         [](const ::testing::TestParamInfo<std::string>& info) { return info.param; });

// The same files under a locale whose decimal point is a comma: the CSV must not change.
TEST(CsvGoldenLocale, EveryCaseIsTheSameUnderAGermanLocale) {
    if (std::getenv("FENTA21_UPDATE_GOLDEN") != nullptr) GTEST_SKIP() << "regenerating";
    test::GermanLocale german;
    for (const std::string& name : caseNames()) expectGolden(name, convertCase(name));
}

}  // namespace
}  // namespace fenta21
