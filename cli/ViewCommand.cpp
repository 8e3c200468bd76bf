#include "cli/CliHost.h"
#include "cli/Commands.h"
#include "core/session/Session.h"
#include "core/base/Files.h"
#include "core/datafile/DataFileCheck.h"
#include "core/datafile/DataFileViewer.h"

#include <cstdio>
#include <cstdlib>

namespace fenta21::cli {
namespace {

int runView(CommandContext& context) {
    bool header = false;
    long page = 1;
    std::string file;
    auto& args = context.args;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--header") {
            header = true;
        } else if (args[i] == "--page") {
            char* end = nullptr;
            page = i + 1 < args.size() ? std::strtol(args[i + 1].c_str(), &end, 10) : 0;
            if (i + 1 >= args.size() || *end != '\0' || page < 1 || page > 1000000) {
                std::fprintf(stderr, "fenta21-cli view: --page takes a page number from 1\n");
                return kExitUsage;
            }
            ++i;
        } else if (args[i].rfind("--", 0) == 0 || !file.empty()) {
            std::fprintf(stderr, "fenta21-cli view: unexpected argument %s\n", args[i].c_str());
            return kExitUsage;
        } else {
            file = args[i];
        }
    }
    if (file.empty()) {
        std::fprintf(stderr, "fenta21-cli view: no data file given\n");
        return kExitUsage;
    }
    FileContent content = readRegularFile(file);
    if (!content.bytes) {
        std::fprintf(stderr, "fenta21-cli view: %s: %s\n", file.c_str(), content.problem.c_str());
        return kExitFailed;
    }
    if (std::string why = notADataFileReason(*content.bytes); !why.empty()) {
        std::fprintf(stderr, "fenta21-cli view: %s is not a data file: %s\n", file.c_str(), why.c_str());
        return kExitFailed;
    }
    int pages = recordPageCount(*content.bytes);
    if (!header && page > pages) {
        std::fprintf(stderr, "fenta21-cli view: %s has %d page%s of records: there is no page %ld\n", file.c_str(),
                     pages, pages == 1 ? "" : "s", page);
        return kExitFailed;
    }
    if (header) {
        for (const HeaderRow& row : viewerHeaderRows(context.session, file))
            std::printf("%s\t%s\t%s\n", row.offsetText.c_str(), row.label.c_str(), row.value.c_str());
    } else {
        RecordPage shown = viewerRecordPage(context.session, file, static_cast<int>(page - 1));
        for (const RecordRow& row : shown.rows)
            std::printf("%s\t%s\t%s\n", row.offsetText.c_str(), row.hex.c_str(), row.decoded.c_str());
    }
    return context.host.reported() ? kExitFailed : kExitOk;
}

}  // namespace

const CommandInfo kViewCommand{
    "view",
    "view [--header] [--page N] FILE",
    "Shows a data file (.v38) as the data file viewer does, one row a line, columns separated by\n"
    "a tab.\n\n"
    "  --header   the header items: offset (\"%06X\"), the header reference file's label, the value\n"
    "  --page N   page N (from 1) of the record area, 2048 records a page: offset, the record's\n"
    "             eight bytes in hexadecimal, and the decoded record (empty when it is none)\n"
    "Without either, page 1. A damaged file shows what can be read, its message on stderr, and\n"
    "exits 1. A file that is not a data file, or a page past the last, is refused with the reason.\n"
    "Exit status: 0 shown, 1 not shown or shown in part, 2 usage error.\n",
    &runView,
};

}  // namespace fenta21::cli
