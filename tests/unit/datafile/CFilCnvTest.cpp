#include "core/session/Session.h"
#include "core/base/Cp932.h"
#include "core/base/Files.h"
#include "core/datafile/CFilCnv.h"
#include "core/datafile/CsvName.h"
#include "core/datafile/DataFileMessages.h"
#include "sim/image/DataImage.h"
#include "tests/support/AddressSpaceLimit.h"
#include "tests/support/ScriptedHost.h"
#include "tests/support/TempHome.h"
#include "tests/support/TestClock.h"
#include "tests/unit/datafile/InstalledHome.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <filesystem>

namespace fenta21 {
namespace {

sim::ImageRecipe windRecipe(int instants = 3) {
    sim::ImageRecipe recipe;
    recipe.modelCode = "WNDA-01";
    recipe.instants = instants;
    recipe.channels = {{0, 20, 53, 7}, {1, 5, -23, 4}};
    return recipe;
}

class CFilCnvTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::installConfiguration(home);
        std::filesystem::create_directories(dataFolder);
        models.loadModelTable();
    }

    std::string dataFile(const std::string& name, const std::string& image) {
        std::string path = dataFolder + name;
        writeFileAtomically(path, image);
        return path;
    }

    test::TempHome home;
    std::string dataFolder = home.root() + "/data/";
    ModelRegistry models{home.path()};
    test::ScriptedHost host;
    std::vector<std::string> reports;
    CFilCnv converter{models, host, [this](const std::string& text) { reports.push_back(text); }};
};

TEST(CsvName, ReplacesOnlyTheFileNamesOwnExtension) {
    const std::pair<const char*, const char*> rows[] = {
        {"/d/STA01.v38", "/d/STA01.csv"},
        {"/d/STA01", "/d/STA01.csv"},
        {"/d/data.2024/STA01", "/d/data.2024/STA01.csv"},
        {"/d/a.b.v38", "/d/a.b.csv"},
        {"STA01.V38", "STA01.csv"},
    };
    for (const auto& [data, csv] : rows) EXPECT_EQ(csvNameFor(data), csv) << data;
}

TEST_F(CFilCnvTest, ConvertingOneFileShowsTheNoticeAndNeverAsksAboutOverwriting) {
    std::string file = dataFile("A.v38", sim::buildDataImage(windRecipe()));
    home.write("../data/A.csv", "old");
    CsvFileResult result = converter.convertFile(file);
    EXPECT_EQ(result.outcome, CsvFileOutcome::Converted);
    EXPECT_TRUE(host.questions().empty());
    EXPECT_TRUE(reports.empty());
    EXPECT_EQ(host.notices(), std::vector<std::string>{kCsvProgressText});
    std::string csv = readWholeFile(result.csvFile).value();
    EXPECT_EQ(csv.substr(0, csv.find("\r\n")), utf8ToCp932("風向風速計 WNDA"));
    EXPECT_NE(csv.find("2026/04/01,00:20:00,    6.7,-0001.5\r\n"), std::string::npos);
}

struct OverwriteRow {
    const char* legend;
    std::vector<Answer> answers;
    std::size_t questions;
    std::vector<CsvFileOutcome> outcomes;
};

// Three files; the first and the third already have their CSV.
TEST_F(CFilCnvTest, AsksBeforeOverwritingAnExistingCsv) {
    using O = CsvFileOutcome;
    const OverwriteRow rows[] = {
        {"yes, then no", {Answer::Yes, Answer::No}, 2, {O::Converted, O::Converted, O::KeptExisting}},
        {"yes to all asks once", {Answer::YesToAll}, 1, {O::Converted, O::Converted, O::Converted}},
        {"cancel stops the run", {Answer::Cancel}, 1, {O::NotReached, O::NotReached, O::NotReached}},
        {"no, then cancel", {Answer::No, Answer::Cancel}, 2, {O::KeptExisting, O::Converted, O::NotReached}},
    };
    std::vector<std::string> files;
    for (const char* name : {"A.v38", "B.v38", "C.v38"}) files.push_back(dataFile(name, sim::buildDataImage(windRecipe())));
    for (const OverwriteRow& row : rows) {
        test::ScriptedHost askingHost;
        askingHost.answers.assign(row.answers.begin(), row.answers.end());
        CFilCnv run(models, askingHost, [](const std::string&) {});
        for (const char* csv : {"A.csv", "C.csv"}) home.write("../data/" + std::string(csv), "old");
        std::filesystem::remove(dataFolder + "B.csv");

        std::vector<CsvFileResult> results = run.convertFiles(files);
        ASSERT_EQ(results.size(), 3u) << row.legend;
        for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(results[i].outcome, row.outcomes[i]) << row.legend << ", file " << i;
        ASSERT_EQ(askingHost.questions().size(), row.questions) << row.legend;
        EXPECT_EQ(askingHost.questions()[0], dataFolder + "A.csv\r\n同一ファイル名がすでに存在します。上書きしますか？");
        for (std::size_t i = 0; i < 3; ++i) {
            bool kept = row.outcomes[i] == O::KeptExisting || (row.outcomes[i] == O::NotReached && i != 1);
            if (kept) {
                EXPECT_EQ(home.read("../data/" + std::string(1, static_cast<char>('A' + i)) + ".csv"), "old")
                    << row.legend;
            }
        }
    }
}

TEST_F(CFilCnvTest, ChoosingNothingIsReported) {
    EXPECT_TRUE(converter.convertChosenFiles(dataFolder).empty());
    EXPECT_EQ(reports, std::vector<std::string>{kNoFileChosenMessage});
    ASSERT_EQ(host.openRequests().size(), 1u);
    EXPECT_EQ(host.openRequests()[0].folder, dataFolder);
    EXPECT_TRUE(host.openRequests()[0].multiple);

    reports.clear();
    host.openFiles.push_back({dataFile("A.v38", sim::buildDataImage(windRecipe()))});
    std::vector<CsvFileResult> results = converter.convertChosenFiles(dataFolder);
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(results[0].outcome, CsvFileOutcome::Converted);
    EXPECT_TRUE(reports.empty());
}

// Files too short for their header, model code or memo texts, and a file that is not there:
// the message, what could be written, and no read past the end.
TEST_F(CFilCnvTest, ShortAndMissingFilesEndWithTheMessage) {
    std::string image = sim::buildDataImage(windRecipe());
    const std::pair<std::size_t, std::size_t> rows[] = {
        {5, 0},     // not even the offsets: nothing written
        {390, 0},   // the model code is cut
        {500, 1},   // the memo texts are cut: the model's name line is written
    };
    for (const auto& [length, lines] : rows) {
        reports.clear();
        std::filesystem::remove(dataFolder + "S.csv");  // each row is a first conversion
        CsvFileResult result = converter.convertFile(dataFile("S.v38", image.substr(0, length)));
        EXPECT_EQ(result.outcome, CsvFileOutcome::Failed) << length;
        EXPECT_EQ(reports, std::vector<std::string>{kCsvAbortedMessage}) << length;
        std::string csv = readWholeFile(result.csvFile).value();
        EXPECT_EQ(static_cast<std::size_t>(std::count(csv.begin(), csv.end(), '\n')), lines) << length;
    }
    reports.clear();
    EXPECT_EQ(converter.convertFile(dataFolder + "none.v38").outcome, CsvFileOutcome::Failed);
    EXPECT_EQ(reports, std::vector<std::string>{kCsvAbortedMessage});
    EXPECT_FALSE(std::filesystem::exists(dataFolder + "none.csv"));
}

TEST_F(CFilCnvTest, DataFileNamedLikeItsCsvIsNeverOverwritten) {
    std::string image = sim::buildDataImage(windRecipe());
    std::string file = dataFile("A.csv", image);
    EXPECT_EQ(converter.convertFile(file).outcome, CsvFileOutcome::Failed);
    EXPECT_EQ(readWholeFile(file).value(), image);
}

// The same data file name once good, then today damaged or empty, converted again with the
// overwrite agreed to ("すべて上書き"): the good CSV stays as it was, whatever stopped the
// conversion; where there was no CSV, what was converted is kept.
TEST_F(CFilCnvTest, AConversionThatStopsPartWayNeverReplacesAnExistingCsv) {
    sim::ImageRecipe damaged = windRecipe(5);
    damaged.damaged = {{2, 1}};
    sim::ImageRecipe unknown = windRecipe();
    unknown.modelCode = "NONE-01";
    std::string good = sim::buildDataImage(windRecipe());
    struct Row {
        const char* legend;
        std::string image;
        Answer answer;  // to the question about a damaged record, where one is asked
        CsvFileOutcome outcome;
        std::size_t reports;
    };
    const Row rows[] = {
        {"empty today", "", Answer::Yes, CsvFileOutcome::Failed, 1},
        {"cut inside the memo texts", good.substr(0, 500), Answer::Yes, CsvFileOutcome::Failed, 1},
        {"a model no longer in type.dat", sim::buildDataImage(unknown), Answer::Yes, CsvFileOutcome::Failed, 1},
        {"the user stops at a damaged record", sim::buildDataImage(damaged), Answer::No, CsvFileOutcome::StoppedByUser, 0},
    };
    for (const Row& row : rows) {
        std::string file = dataFile("A.v38", good);
        std::filesystem::remove(dataFolder + "A.csv");
        ASSERT_EQ(converter.convertFile(file).outcome, CsvFileOutcome::Converted);
        std::string goodCsv = readWholeFile(dataFolder + "A.csv").value();

        dataFile("A.v38", row.image);
        test::ScriptedHost askingHost;
        askingHost.answers = {Answer::YesToAll, row.answer};
        std::vector<std::string> runReports;
        CFilCnv run(models, askingHost, [&](const std::string& text) { runReports.push_back(text); });
        std::vector<CsvFileResult> results = run.convertFiles({file});
        ASSERT_EQ(results.size(), 1u) << row.legend;
        EXPECT_EQ(results[0].outcome, row.outcome) << row.legend;
        EXPECT_TRUE(results[0].existingCsvKept) << row.legend;
        EXPECT_EQ(runReports.size(), row.reports) << row.legend;
        EXPECT_EQ(readWholeFile(dataFolder + "A.csv").value(), goodCsv) << row.legend;

        std::filesystem::remove(dataFolder + "A.csv");
        test::ScriptedHost freshHost;
        freshHost.answers = {row.answer};
        CsvFileResult fresh = CFilCnv(models, freshHost, [](const std::string&) {}).convertFile(file);
        EXPECT_FALSE(fresh.existingCsvKept) << row.legend;
        EXPECT_TRUE(std::filesystem::exists(dataFolder + "A.csv")) << row.legend << ": what was converted is kept";
    }
}

// A folder or a device named like a data file is refused as such and leaves no CSV beside it.
TEST_F(CFilCnvTest, OnlyRegularFilesAreConverted) {
    std::filesystem::create_directory(dataFolder + "folder.v38");
    std::filesystem::create_symlink("/dev/null", dataFolder + "null.v38");
    const std::pair<const char*, const char*> rows[] = {
        {"folder", "the data file is a folder, not a file"},
        {"null", "the data file is not a regular file (a device, a pipe or a socket)"},
    };
    for (const auto& [name, failure] : rows) {
        reports.clear();
        CsvFileResult result = converter.convertFile(dataFolder + name + ".v38");
        EXPECT_EQ(result.outcome, CsvFileOutcome::Failed) << name;
        EXPECT_EQ(result.failure, failure) << name;
        EXPECT_EQ(reports, std::vector<std::string>{kCsvAbortedMessage}) << name;
        EXPECT_FALSE(std::filesystem::exists(dataFolder + name + ".csv")) << name;
    }
}

// A data file that fits in memory but whose CSV text does not: the conversion fails with the
// message instead of ending the program. Runs in a child process with little memory to spare,
// exiting 0 when the conversion failed and was reported.
TEST_F(CFilCnvTest, RunningOutOfMemoryForTheCsvIsAFailureNotACrash) {
#ifdef FENTA21_UNDER_SANITIZER
    GTEST_SKIP() << "a sanitizer cannot run with a limited address space";
#else
    std::string file = dataFile("L.v38", sim::buildDataImage(windRecipe()));
    int fd = ::open(file.c_str(), O_WRONLY);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::ftruncate(fd, off_t{160} << 20), 0);  // never-written memory after the records
    ::close(fd);
    auto convertWithLittleMemory = [&] {
        if (!test::limitAddressSpace(rlim_t{256} << 20)) ::_exit(3);
        CsvFileResult result = converter.convertFile(file);
        bool reported = reports == std::vector<std::string>{kCsvAbortedMessage};
        ::_exit(result.outcome == CsvFileOutcome::Failed && reported ? 0 : 1);
    };
    EXPECT_EXIT(convertWithLittleMemory(), ::testing::ExitedWithCode(0), "");
#endif
}

// A model code is shown in the failure text, which a terminal prints: its bytes are escaped.
TEST_F(CFilCnvTest, AnUnknownModelCodeIsShownEscaped) {
    sim::ImageRecipe recipe = windRecipe();
    recipe.modelCode = "\x1b[2JAB\\\x90";
    CsvFileResult result = converter.convertFile(dataFile("M.v38", sim::buildDataImage(recipe)));
    EXPECT_EQ(result.outcome, CsvFileOutcome::Failed);
    EXPECT_EQ(result.failure, "type.dat has no line for the model \"\\x1B[2JAB\\x5C\\x90\"");
}

TEST_F(CFilCnvTest, KindTableDefectsAreReportedOnceBeforeTheQuestion) {
    home.write("type.dat", readWholeFile(home.file("type.dat")).value() + "BROKEN-1,2,x\r\n");
    home.write("BROKEN-1.dat", "20,speed, 012.3m/s,speed\r\nnot-a-kind,x,+1,x\r\n");
    models.loadModelTable();
    sim::ImageRecipe recipe = windRecipe();
    recipe.modelCode = "BROKEN-1";
    recipe.channels.push_back({2, 21, 0, 0});  // a kind the table does not define
    std::string file = dataFile("B.v38", sim::buildDataImage(recipe));

    // Notes how many reports were out when each question came.
    struct NotingHost : test::ScriptedHost {
        std::function<std::size_t()> reportCount;
        std::vector<std::size_t> reportsBeforeQuestion;
        Answer ask(Question kind, const std::string& text) override {
            reportsBeforeQuestion.push_back(reportCount());
            return ScriptedHost::ask(kind, text);
        }
    } noting;
    noting.reportCount = [this] { return reports.size(); };
    noting.answers = {Answer::Yes, Answer::Yes};
    CFilCnv run(models, noting, [this](const std::string& text) { reports.push_back(text); });

    EXPECT_EQ(run.convertFile(file).outcome, CsvFileOutcome::Converted);
    EXPECT_EQ(run.convertFile(file).outcome, CsvFileOutcome::Converted);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_NE(reports[0].find("BROKEN-1.dat 2行目"), std::string::npos) << reports[0];
    EXPECT_EQ(noting.reportsBeforeQuestion, (std::vector<std::size_t>{1, 1})) << "each file asks once, after the defect";
}

// Unattended, the questions are not asked; each file notes once what kind of record it left out.
TEST_F(CFilCnvTest, GoingOnWithoutAskingNotesOncePerFile) {
    sim::ImageRecipe undefinedKind = windRecipe(6);
    undefinedKind.channels.push_back({2, 21, 0, 0});  // a kind the table does not define
    sim::ImageRecipe damaged = windRecipe(6);
    damaged.damaged = {{1, 0}, {4, 1}};
    const std::pair<sim::ImageRecipe, std::string> rows[] = {
        {undefinedKind, "U.v38 測定モードが正しく記録されていないデータを除いてCSV変換しました"},
        {damaged, "D.v38 正しく記録されていないデータを除いてCSV変換しました"},
    };
    std::vector<std::string> notes;
    converter.goOnWithoutAsking([&](const std::string& note) { notes.push_back(note); });
    for (const auto& [recipe, note] : rows) {
        notes.clear();
        std::string file = dataFile(note.substr(0, 5), sim::buildDataImage(recipe));
        EXPECT_EQ(converter.convertFile(file).outcome, CsvFileOutcome::Converted) << note;
        EXPECT_EQ(notes, std::vector<std::string>{note});
    }
    EXPECT_TRUE(host.questions().empty());
}

TEST(CFilCnvSession, ReportsThroughTheSharedReport) {
    test::TempHome home;
    test::ScriptedHost host;
    test::TestClock clock;
    Session session(home.path(), host, clock);
    ModelRegistry models(home.path());  // no type.dat: every model is unknown
    CFilCnv converter(session, models);

    std::string file = home.root() + "/A.v38";
    writeFileAtomically(file, sim::buildDataImage(windRecipe()));
    EXPECT_EQ(converter.convertFile(file).outcome, CsvFileOutcome::Failed);
    EXPECT_EQ(host.reports(), std::vector<std::string>{kCsvAbortedMessage});
    EXPECT_NE(home.read("ERR.LOG").find(utf8ToCp932(kCsvAbortedMessage)), std::string::npos);
}

}  // namespace
}  // namespace fenta21
