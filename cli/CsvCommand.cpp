#include "cli/CliHost.h"
#include "cli/Commands.h"
#include "core/session/Session.h"
#include "core/datafile/CFilCnv.h"

#include <cstdio>

namespace fenta21::cli {
namespace {

int runCsv(CommandContext& context) {
    enum class Existing { Ask, Overwrite, Skip } existing = Existing::Ask;
    std::vector<std::string> files;
    for (const auto& arg : context.args) {
        if (arg == "--yes") context.host.answerYes = true;
        else if (arg == "--overwrite" || arg == "--skip-existing") {
            Existing chosen = arg == "--overwrite" ? Existing::Overwrite : Existing::Skip;
            if (existing != Existing::Ask && existing != chosen) {
                std::fprintf(stderr, "fenta21-cli csv: --overwrite and --skip-existing exclude each other\n");
                return kExitUsage;
            }
            existing = chosen;
        } else if (arg.rfind("--", 0) == 0) {
            std::fprintf(stderr, "fenta21-cli csv: unknown option %s\n", arg.c_str());
            return kExitUsage;
        } else {
            files.push_back(arg);
        }
    }
    if (files.empty()) {
        std::fprintf(stderr, "fenta21-cli csv: no data file given\n");
        return kExitUsage;
    }
    context.host.overwriteAnswer = existing == Existing::Overwrite ? Answer::YesToAll : Answer::No;

    bool allDone = true;
    for (const CsvFileResult& result : CFilCnv(context.session, context.session.models).convertFiles(files)) {
        switch (result.outcome) {
            case CsvFileOutcome::Converted: std::printf("%s\n", result.csvFile.c_str()); break;
            case CsvFileOutcome::KeptExisting:
                if (existing == Existing::Ask) {
                    std::fprintf(stderr, "%s exists and was kept (--overwrite replaces it, --skip-existing keeps it)\n",
                                 result.csvFile.c_str());
                    allDone = false;
                }
                break;
            case CsvFileOutcome::StoppedByUser:
                std::fprintf(stderr, "%s: stopped at a record that cannot be converted (--yes goes on)%s\n",
                             result.dataFile.c_str(),
                             result.existingCsvKept ? "; the CSV file that was there is kept as it was" : "");
                allDone = false;
                break;
            default:
                if (!result.failure.empty()) std::fprintf(stderr, "%s: %s\n", result.dataFile.c_str(), result.failure.c_str());
                allDone = false;
        }
    }
    return allDone ? kExitOk : kExitFailed;
}

}  // namespace

const CommandInfo kCsvCommand{
    "csv",
    "csv [--yes] [--overwrite | --skip-existing] FILE...",
    "Converts data files (.v38) to CSV files beside them, with the model table (type.dat) and the\n"
    "kind tables of the home folder. The CSV paths written are printed on stdout.\n\n"
    "  --yes            go on past records that cannot be converted (a damaged record, or a kind\n"
    "                   the model's table does not define); without it the conversion stops there\n"
    "  --overwrite      replace a CSV file that exists\n"
    "  --skip-existing  keep a CSV file that exists, and count that as done\n"
    "Without --overwrite or --skip-existing an existing CSV file is kept and said so. A file that\n"
    "cannot be converted to its end never replaces an existing CSV file; where there was none, the\n"
    "CSV file holds what was converted. Only regular files are read.\n"
    "Exit status: 0 every file converted (or kept with --skip-existing), 1 otherwise, 2 usage error.\n",
    &runCsv,
};

}  // namespace fenta21::cli
