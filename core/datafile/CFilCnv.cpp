#include "core/datafile/CFilCnv.h"

#include "core/report/Reporting.h"
#include "core/base/Files.h"
#include "core/report/Report.h"
#include "core/datafile/CsvConversion.h"
#include "core/datafile/CsvName.h"
#include "core/datafile/DataFileMessages.h"

#include <filesystem>
#include <optional>

namespace fenta21 {
namespace {

// The progress notice stays exactly as long as one conversion runs, however it ends.
class ProgressNotice {
public:
    explicit ProgressNotice(Host& host) : host_(host) { host_.showNotice(kCsvProgressText); }
    ~ProgressNotice() { host_.hideNotice(); }
    ProgressNotice(const ProgressNotice&) = delete;
    ProgressNotice& operator=(const ProgressNotice&) = delete;

private:
    Host& host_;
};

}  // namespace

CFilCnv::CFilCnv(ModelRegistry& models, Host& host, Reporter reporter)
    : models_(models), host_(host), reporter_(std::move(reporter)) {}

CFilCnv::CFilCnv(Reporting& session, ModelRegistry& models)
    : CFilCnv(models, session.host, [&session](const std::string& text) { report(session, text); }) {}

void CFilCnv::reportNewProblems() {
    for (const std::string& problem : models_.takeNewProblems()) reporter_(problem);
}

void CFilCnv::goOnWithoutAsking(std::function<void(const std::string& note)> note) { unattendedNote_ = std::move(note); }

CsvFileResult CFilCnv::convertFile(const std::string& dataFile) {
    CsvFileResult result{dataFile, csvNameFor(dataFile), CsvFileOutcome::Failed, {}};
    ProgressNotice notice(host_);
    auto fail = [&](std::string why) {
        result.outcome = CsvFileOutcome::Failed;
        result.failure = std::move(why);
        reporter_(kCsvAbortedMessage);
        return result;
    };

    FileContent image = readRegularFile(dataFile);
    if (!image.bytes) return fail("the data file " + image.problem);
    std::error_code ec;
    if (std::filesystem::equivalent(dataFile, result.csvFile, ec))
        return fail("the CSV file would replace the data file itself");

    CsvConversionContext context;
    context.identifyModel = [this](const std::string& code) {
        std::optional<CurrentModel> model = identifyThrough(models_)(code);
        // Defects of the model's files explain what the questions below may ask about.
        reportNewProblems();
        return model;
    };
    context.askToContinue = [this, &dataFile](const std::string& question) {
        if (!unattendedNote_) return host_.ask(Question::YesNo, question) == Answer::Yes;
        bool undefinedKind = question == messageWithName(kUndefinedKindQuestion, dataFile);
        std::string name = std::filesystem::path(dataFile).filename().string();
        unattendedNote_(messageWithName(undefinedKind ? kUndefinedKindsLeftOutNote : kBadRecordsLeftOutNote, name));
        return true;
    };
    CsvConversion conversion = convertImageToCsv(*image.bytes, dataFile, context);

    // What was converted is kept even when the conversion stopped part-way, unless that would
    // put it in place of a CSV written from a good file before (an overwrite that was agreed
    // to for a file that turns out damaged or empty today).
    if (conversion.outcome != ConversionOutcome::Completed && std::filesystem::exists(result.csvFile, ec)) {
        result.existingCsvKept = true;
    } else if (!writeFileAtomically(result.csvFile, conversion.csv)) {
        return fail("the CSV file cannot be written");
    }
    switch (conversion.outcome) {
    case ConversionOutcome::Completed: result.outcome = CsvFileOutcome::Converted; break;
    case ConversionOutcome::StoppedByUser: result.outcome = CsvFileOutcome::StoppedByUser; break;
    case ConversionOutcome::Failed:
        return fail(result.existingCsvKept ? conversion.failure + "; the CSV file that was there is kept as it was"
                                           : conversion.failure);
    }
    return result;
}

std::vector<CsvFileResult> CFilCnv::convertFiles(const std::vector<std::string>& dataFiles) {
    std::vector<CsvFileResult> results;
    bool overwriteAll = false;
    bool cancelled = false;
    for (const std::string& dataFile : dataFiles) {
        std::string csvFile = csvNameFor(dataFile);
        if (cancelled) {
            results.push_back(CsvFileResult{dataFile, csvFile, CsvFileOutcome::NotReached, {}});
            continue;
        }
        std::error_code ec;
        if (!overwriteAll && std::filesystem::exists(csvFile, ec)) {
            switch (host_.ask(Question::OverwriteFile, messageWithName(kOverwriteQuestion, csvFile))) {
            case Answer::Yes: break;
            case Answer::YesToAll: overwriteAll = true; break;
            case Answer::No:
                results.push_back(CsvFileResult{dataFile, csvFile, CsvFileOutcome::KeptExisting, {}});
                continue;
            case Answer::Cancel:
                cancelled = true;
                results.push_back(CsvFileResult{dataFile, csvFile, CsvFileOutcome::NotReached, {}});
                continue;
            }
        }
        results.push_back(convertFile(dataFile));
    }
    return results;
}

std::vector<CsvFileResult> CFilCnv::convertChosenFiles(const std::string& folder) {
    std::vector<std::string> files =
        host_.chooseOpenFiles({.folder = folder, .name = "", .filter = kDataFileFilter, .multiple = true});
    if (files.empty()) {
        reporter_(kNoFileChosenMessage);
        return {};
    }
    return convertFiles(files);
}

}  // namespace fenta21
