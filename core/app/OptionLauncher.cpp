#include "core/app/OptionLauncher.h"

#include "core/app/CompanionPrograms.h"
#include "core/base/AsideFile.h"
#include "core/base/Cp932.h"
#include "core/base/Files.h"
#include "core/base/NameClaim.h"

namespace fenta21 {
namespace {

constexpr mode_t kScriptMode = 0755;

// A word for the shell that stays one word whatever it holds.
std::string shellQuoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// Written aside and given its name only while nothing has it.
void install(const std::string& folder, const std::string& name, const std::string& bytes, std::optional<mode_t> mode,
             LauncherSetup& setup) {
    if (!setup.problem.empty()) return;
    std::string target = joinPath(folder, name);
    AsideFile file;
    if (!file.create(folder, name + kReplacementInfix, "", mode) || !file.write(bytes) || !file.sync()) {
        setup.problem = "cannot write " + target;
        return;
    }
    switch (claimName(file.path(), target)) {
    case NameClaim::Claimed:
        file.keep();
        setup.made.push_back(target);
        break;
    case NameClaim::Taken: setup.kept.push_back(target); break;
    case NameClaim::Failed: setup.problem = "cannot write " + target; break;
    }
}

}  // namespace

std::string dataLauncherScript(const std::string& programPath) {
    std::string program = programPath.empty() ? std::string(kDataProgram) : shellQuoted(programPath);
    return "#!/bin/sh\n"
           "# Started from the option list of fenta21 in this home folder: the data program on it.\n"
           "exec " + program + " --home \"$(dirname \"$0\")\" \"$@\"\n";
}

LauncherSetup installDataLauncher(const std::string& homeFolder, const std::string& programPath) {
    LauncherSetup setup;
    const std::string name = kDataProgram;
    install(homeFolder, name + ".exe", dataLauncherScript(programPath), kScriptMode, setup);
    // The name file is code page 932, as every text file of the home folder.
    install(homeFolder, name, utf8ToCp932(kDataLauncherDisplayName) + "\r\n", std::nullopt, setup);
    return setup;
}

}  // namespace fenta21
