#pragma once

#include "cli/StoredFiles.h"

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

namespace fenta21::cli {

struct CommandContext;

// "--json": a command's outcome as one JSON object on one line of stdout, in place of the
// lines it prints otherwise. The object holds what the command adds, then "exitStatus",
// "message" (the last thing the program said was wrong, or "") and "messages" (all of them,
// in order). What goes to stderr is the same with or without it.
class JsonResult {
public:
    // Takes "--json" out of the command's arguments.
    JsonResult(CommandContext& context, const char* command);

    bool wanted() const { return wanted_; }
    nlohmann::ordered_json& body() { return body_; }

    // Ends the command: prints the object when it was wanted, and returns `status`. Called
    // once, on every way out.
    int finish(int status);
    // A refused argument: "fenta21-cli COMMAND: text" on stderr, kept as a message; returns
    // `status` for finish.
    int refuse(const std::string& text, int status);

private:
    CommandContext& context_;
    std::string command_;
    bool wanted_ = false;
    nlohmann::ordered_json body_ = nlohmann::ordered_json::object();
    std::vector<std::string> complaints_;
};

// An error before any command ran (an unknown option or command, a missing home folder), as
// the object a command would have printed: "command" (null when none was named),
// "exitStatus", "message" and "messages".
void printJsonError(const std::string& command, const std::string& text, int status);

// One stored file: its path, and for a data file its record count, the first and last
// record's times and its CSV file (null when the conversion did not write it whole, with
// the reason beside it).
nlohmann::ordered_json storedFileJson(const StoredFile& file);
nlohmann::ordered_json storedFilesJson(const std::vector<StoredFile>& files);

}  // namespace fenta21::cli
