// fenta21-cli init: a home folder with the installation files, ready for a first collection.
#include "cli/Commands.h"
#include "core/app/CompanionPrograms.h"
#include "core/app/InstallationFiles.h"
#include "core/app/OptionLauncher.h"
#include "core/app/Session.h"
#include "core/base/Files.h"
#include "core/store/RecordStore.h"
#include "core/store/StoreSettings.h"

#include <cstdio>
#include <filesystem>

namespace fenta21::cli {
namespace {

// A new home keeps its records in an SQLite file of its own from the first collection on; a
// home that names a store already keeps it.
void setUpRecordStore(const std::string& home, HomeSetup& setup) {
    std::string settings = joinPath(home, store::kStoreSettingsFileName);
    if (store::storeLocation(home)) {
        setup.kept.push_back(settings);
        return;
    }
    std::string file = joinPath(home, store::kDefaultStoreFile);
    bool existed = std::filesystem::exists(file);
    try {
        store::openRecordStore(store::kDefaultStoreFile, home);
    } catch (const store::StoreError& e) {
        setup.problem = e.what();
        return;
    }
    (existed ? setup.kept : setup.made).push_back(file);
    if (!store::saveStoreLocation(home, store::kDefaultStoreFile, setup.problem)) return;
    setup.made.push_back(settings);
}

int runInit(CommandContext& context) {
    if (context.args.size() > 1) {
        std::fprintf(stderr, "fenta21-cli init: give at most one folder\n");
        return kExitUsage;
    }
    std::string home = context.session.homeFolder();
    if (!context.args.empty()) {
        std::error_code ec;
        home = std::filesystem::absolute(context.args[0], ec).lexically_normal().string();
        while (home.size() > 1 && home.back() == '/') home.pop_back();
    }
    std::vector<std::string> candidates = installationFolderCandidates(runningProgramPath());
    std::string source = findInstallationFolder(candidates);
    if (source.empty()) {
        std::fprintf(stderr, "fenta21-cli init: the installation files (type.dat and the rest) are in none of:\n");
        for (const std::string& candidate : candidates) std::fprintf(stderr, "  %s\n", candidate.c_str());
        return kExitFailed;
    }
    HomeSetup setup = makeHomeFolder(home, source);
    if (setup.problem.empty()) setUpRecordStore(home, setup);
    if (setup.problem.empty()) {
        // The data program in fenta21's option list, as the programs of this installation.
        LauncherSetup launcher = installDataLauncher(home, companionProgramPath(kDataProgram));
        setup.made.insert(setup.made.end(), launcher.made.begin(), launcher.made.end());
        setup.kept.insert(setup.kept.end(), launcher.kept.begin(), launcher.kept.end());
        setup.problem = launcher.problem;
    }
    for (const std::string& path : setup.made) std::printf("made %s\n", path.c_str());
    for (const std::string& path : setup.kept) std::printf("kept %s (already there)\n", path.c_str());
    std::fflush(stdout);
    if (!setup.problem.empty()) {
        std::fprintf(stderr, "fenta21-cli init: %s\n", setup.problem.c_str());
        return kExitFailed;
    }
    if (setup.made.empty()) std::printf("%s has everything already\n", home.c_str());
    return kExitOk;
}

}  // namespace

const CommandInfo kInitCommand{
    "init", "init [DIR]",
    "Makes a home folder: DIR, or else the --home folder or the current one. The folder is made\n"
    "when it is missing, the installation files (type.dat, the kind tables, the header reference\n"
    "files, cmd.dat) are copied into it from the installation (share/fenta21) or, for a program\n"
    "run from its build tree, from the source tree, and the \"data\" folder beside it, where\n"
    "collections store their files unless config data-folder names another, is made too, and the\n"
    "record store: records.sqlite, named in store.url (see fenta21-cli db --help).\n"
    "The data program (fenta21-data) gets its launcher \"fenta21-data.exe\" and name file there, so that\n"
    "fenta21's \"ｵﾌﾟｼｮﾝ(&O)\" menu lists it as \"ﾃﾞｰﾀｸﾞﾗﾌ\".\n"
    "A file that is there already is never overwritten. Each folder and file made is printed\n"
    "(\"made PATH\"), then each one kept (\"kept PATH (already there)\").\n"
    "Exit status: 0 done, 1 something could not be made or the installation files were not found\n"
    "(stderr says which), 2 usage error.\n",
    &runInit,
};

}  // namespace fenta21::cli
