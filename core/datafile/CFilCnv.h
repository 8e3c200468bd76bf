#pragma once

#include "core/base/Host.h"
#include "core/base/CsvFileResult.h"
#include "core/protocol/ModelRegistry.h"

#include <functional>
#include <string>
#include <vector>

namespace fenta21 {

class Reporting;

// The CSV converter: turns data files into CSV files beside them, with the model files of the
// home folder (type.dat, the kind tables). Questions go through the host; failures through
// the reporter, which for a session is the shared report (ERR.LOG, and RSV.LOG during an
// unattended collection).
class CFilCnv {
public:
    using Reporter = std::function<void(const std::string& text)>;

    CFilCnv(ModelRegistry& models, Host& host, Reporter reporter);
    CFilCnv(Reporting& session, ModelRegistry& models);

    // From now on records that cannot be converted are left out without asking, as after a
    // yes: an unattended collection has nobody to answer, and must not hold the line while it
    // waits. `note` is told once per file, in place of the question, what was left out.
    void goOnWithoutAsking(std::function<void(const std::string& note)> note);

    // Converts one data file, overwriting an existing CSV without asking (a collection
    // converts the file it has just stored this way). The progress notice shows meanwhile.
    // Only a regular file is converted. A conversion that stops part-way keeps what it wrote
    // only where no CSV was there: an existing CSV is never replaced by a shorter one.
    CsvFileResult convertFile(const std::string& dataFile);

    // Converts the files in order, asking before overwriting an existing CSV: yes, no (keep
    // it), yes to all (ask no more in this run) or cancel (stop the run).
    std::vector<CsvFileResult> convertFiles(const std::vector<std::string>& dataFiles);

    // The CSV command: the host's file dialog for data files in `folder` (the data folder),
    // then convertFiles. Choosing nothing is reported.
    std::vector<CsvFileResult> convertChosenFiles(const std::string& folder);

private:
    void reportNewProblems();

    ModelRegistry& models_;
    Host& host_;
    Reporter reporter_;
    std::function<void(const std::string& note)> unattendedNote_;
};

}  // namespace fenta21
