// The CSV converter on an arbitrary data file, with the installed model files. The first byte
// chooses the host's answers (two in turn: yes, no, yes to all, cancel), whether a CSV is
// there already and whether nobody is there to ask; the rest is the data file. A CSV is made
// of whole CR LF lines and does not depend on the files converted before it.
#include "core/base/Files.h"
#include "core/datafile/CFilCnv.h"
#include "core/datafile/CsvConversion.h"
#include "core/datafile/CsvName.h"
#include "tests/fuzz/support/FuzzCheck.h"
#include "tests/fuzz/support/FuzzHome.h"
#include "tests/fuzz/support/FuzzHost.h"
#include "tests/fuzz/support/InstalledModels.h"

#include <filesystem>

using namespace fenta21;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::uint8_t options = data[0];
    const bool csvThere = options & 0x10;
    const bool unattended = options & 0x20;
    fuzz::FuzzHost host;
    host.answers = {static_cast<Answer>(options & 3), static_cast<Answer>(options >> 2 & 3)};

    const std::string_view image(reinterpret_cast<const char*>(data + 1), size - 1);
    const std::string dataFile = fuzz::writeHomeFile("converted.v38", image);
    const std::string csvFile = csvNameFor(dataFile);
    const std::string earlier = "a CSV written before\r\n";
    std::filesystem::remove(csvFile);
    if (csvThere) fuzz::writeHomeFile(std::filesystem::path(csvFile).filename().string(), earlier);

    std::size_t reports = 0;
    CFilCnv converter(fuzz::installedRegistry(), host, [&](const std::string&) { ++reports; });
    if (unattended) converter.goOnWithoutAsking([](const std::string&) {});
    std::vector<CsvFileResult> results = converter.convertFiles({dataFile});

    FUZZ_CHECK(results.size() == 1);
    const CsvFileResult& result = results.front();
    FUZZ_CHECK(result.csvFile == csvFile);
    FUZZ_CHECK(!unattended || result.outcome != CsvFileOutcome::StoppedByUser);
    if (result.outcome == CsvFileOutcome::Failed) FUZZ_CHECK(reports > 0 && !result.failure.empty());
    // Without anyone to answer, only the overwrite question of an existing CSV may be asked.
    if (unattended) FUZZ_CHECK(host.questionCount == (csvThere ? 1u : 0u));
    std::optional<std::string> csv = readWholeFile(csvFile);
    // A conversion that did not reach the end never puts itself in place of an earlier CSV.
    if (csvThere && result.outcome != CsvFileOutcome::Converted) FUZZ_CHECK(csv == earlier);
    if (result.outcome != CsvFileOutcome::Converted) return 0;
    FUZZ_CHECK(csv && (csv->empty() || csv->ends_with("\r\n")));
    if (host.yesNoQuestions > 0) return 0;
    // The registry above has identified the models of every earlier input; a fresh one, and
    // going on past every bad record as the converter did, must give the same text.
    ModelRegistry fresh(fuzz::fuzzHome());
    fresh.loadModelTable();
    CsvConversionContext context{identifyThrough(fresh), [](const std::string&) { return true; }};
    FUZZ_CHECK(convertImageToCsv(image, dataFile, context).csv == *csv);
    return 0;
}
