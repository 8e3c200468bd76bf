#include "core/session/OptionPrograms.h"

#include "core/base/Cp932.h"
#include "core/base/Files.h"

#include <algorithm>
#include <filesystem>
#include <sstream>

namespace fenta21 {
namespace {

constexpr std::size_t kMaxNameBytes = 39;
constexpr std::string_view kProgramExtension = ".exe";

}  // namespace

std::vector<OptionProgram> scanOptionPrograms(const std::string& homeFolder) {
    std::vector<std::string> titles;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(homeFolder, ec)) {
        std::string name = entry.path().filename().string();
        if (name.size() <= kProgramExtension.size() || !name.ends_with(kProgramExtension)) continue;
        if (!entry.is_regular_file(ec)) continue;
        titles.push_back(name.substr(0, name.size() - kProgramExtension.size()));
    }
    std::sort(titles.begin(), titles.end());

    std::vector<OptionProgram> programs;
    for (const auto& title : titles) {
        if (programs.size() == kMaxOptionPrograms) break;
        std::string programFile = title + std::string(kProgramExtension);
        // The table has no room for longer names; such a program is left out.
        if (programFile.size() > kMaxNameBytes) continue;
        auto companion = readWholeFile(joinPath(homeFolder, title));
        if (!companion) continue;
        std::istringstream words(*companion);
        OptionProgram program;
        std::string word;
        words >> word;
        // The companion is code page 932 like every text file of the home folder.
        program.displayName = cp932ToUtf8(word.substr(0, cp932PrefixLength(word, kMaxNameBytes)));
        program.programFile = programFile;
        programs.push_back(std::move(program));
    }
    return programs;
}

}  // namespace fenta21
