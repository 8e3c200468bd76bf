#include "cli/JsonResult.h"

#include "cli/CliHost.h"
#include "cli/Commands.h"
#include "core/datafile/DataFileSummary.h"

#include <algorithm>
#include <cstdio>

namespace fenta21::cli {

namespace {

void printJsonLine(const nlohmann::ordered_json& object) {
    // Texts that are not UTF-8 (a folder name in another encoding) are shown with U+FFFD
    // rather than ending the program without its result.
    std::string text = object.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
    std::printf("%s\n", text.c_str());
    std::fflush(stdout);
}

}  // namespace

void printJsonError(const std::string& command, const std::string& text, int status) {
    nlohmann::ordered_json object = nlohmann::ordered_json::object();
    object["command"] = command.empty() ? nlohmann::ordered_json() : nlohmann::ordered_json(command);
    object["exitStatus"] = status;
    object["message"] = text;
    object["messages"] = {text};
    printJsonLine(object);
}

JsonResult::JsonResult(CommandContext& context, const char* command) : context_(context), command_(command) {
    auto& args = context.args;
    auto flag = std::find(args.begin(), args.end(), "--json");
    wanted_ = flag != args.end();
    args.erase(std::remove(args.begin(), args.end(), "--json"), args.end());
}

int JsonResult::finish(int status) {
    if (!wanted_) return status;
    // The object tells the status the process ends with, which a cancelling signal decides.
    int exitStatus = CliHost::exitStatus(status);
    std::vector<std::string> messages = context_.host.reports();
    messages.insert(messages.end(), complaints_.begin(), complaints_.end());
    nlohmann::ordered_json object = nlohmann::ordered_json::object();
    object["command"] = command_;
    object.update(body_);
    object["exitStatus"] = exitStatus;
    object["message"] = messages.empty() ? std::string() : messages.back();
    object["messages"] = messages;
    printJsonLine(object);
    return status;
}

int JsonResult::refuse(const std::string& text, int status) {
    std::fprintf(stderr, "fenta21-cli %s: %s\n", command_.c_str(), text.c_str());
    complaints_.push_back(text);
    return status;
}

nlohmann::ordered_json storedFileJson(const StoredFile& file) {
    nlohmann::ordered_json entry = {{"path", file.path}};
    if (!file.isDataFile) return entry;
    DataFileSummary summary = summarizeDataFileAt(file.path);
    entry["records"] = summary.recordCount;
    entry["firstRecord"] = summary.first ? nlohmann::ordered_json(recordTimeText(*summary.first)) : nlohmann::ordered_json();
    entry["lastRecord"] = summary.last ? nlohmann::ordered_json(recordTimeText(*summary.last)) : nlohmann::ordered_json();
    if (!summary.problem.empty()) entry["problem"] = summary.problem;
    entry["csv"] = file.csvFile.empty() ? nlohmann::ordered_json() : nlohmann::ordered_json(file.csvFile);
    if (!file.csvProblem.empty()) entry["csvProblem"] = file.csvProblem;
    return entry;
}

nlohmann::ordered_json storedFilesJson(const std::vector<StoredFile>& files) {
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (const StoredFile& file : files) list.push_back(storedFileJson(file));
    return list;
}

}  // namespace fenta21::cli
