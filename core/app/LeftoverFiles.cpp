#include "core/app/LeftoverFiles.h"

#include "core/base/AsideFile.h"
#include "core/base/Files.h"
#include "core/collect/FileNaming.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <optional>
#include <string_view>

namespace fenta21 {
namespace {

using namespace std::chrono_literals;

constexpr auto kOldTransferQuietTime = 1h;

enum class Leftover {
    OwnerGone,      // the name carries its owner's process id
    LongUnchanged,  // an old fixed transfer name, which does not
};

struct Candidate {
    Leftover kind;
    pid_t owner = 0;
};

bool endsWith(std::string_view text, std::string_view end) {
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

// "<file>.tmp<pid>" for a file of the kinds the program wrote that way.
std::optional<Candidate> oldReplacement(std::string_view name) {
    std::size_t at = name.rfind(kReplacementInfix);
    if (at == std::string_view::npos) return std::nullopt;
    std::string_view file = name.substr(0, at);
    std::optional<pid_t> owner = parseProcessId(name.substr(at + std::string_view(kReplacementInfix).size()));
    if (!owner) return std::nullopt;
    for (std::string_view extension : {".csv", ".dat", ".hed", ".txt"})
        if (file.size() > extension.size() && endsWith(file, extension)) return Candidate{Leftover::OwnerGone, *owner};
    return std::nullopt;
}

std::optional<Candidate> candidateFor(std::string_view name) {
    for (const char* pattern : {kDataTempPattern, kTextTempPattern}) {
        TempNameParts parts = *tempNameParts(pattern);
        auto aside = parseAsideName(name, parts.suffix);
        if (aside && aside->prefix == parts.prefix) return Candidate{Leftover::OwnerGone, aside->owner};
        if (name == parts.prefix + "0000" + parts.suffix) return Candidate{Leftover::LongUnchanged};
    }
    auto aside = parseAsideName(name, "");
    std::string_view infix = kReplacementInfix;
    if (aside && aside->prefix.size() > infix.size() && endsWith(aside->prefix, infix))
        return Candidate{Leftover::OwnerGone, aside->owner};
    return oldReplacement(name);
}

bool processGone(pid_t pid) { return ::kill(pid, 0) != 0 && errno == ESRCH; }

bool abandoned(const Candidate& candidate, const struct stat& file) {
    if (candidate.kind == Leftover::OwnerGone) return processGone(candidate.owner);
    auto changed = std::chrono::system_clock::from_time_t(file.st_mtime);
    return std::chrono::system_clock::now() - changed >= kOldTransferQuietTime;
}

bool sameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

// The lock is taken before anything is decided and held until the name is gone: its owner
// takes it right after creating the file, so a file whose lock can be had belongs to a
// process that is gone, or to one that has not yet taken it, whose id is still alive.
bool removeIfLeftover(int folder, const char* name, const Candidate& candidate) {
    struct stat named {};
    // Looked at before opening: opening a device or a pipe could already do something.
    if (::fstatat(folder, name, &named, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(named.st_mode)) return false;
    int fd = ::openat(folder, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat opened {};
    bool removed = ::fstat(fd, &opened) == 0 && sameFile(opened, named) && ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
                   abandoned(candidate, opened) && ::fstatat(folder, name, &named, AT_SYMLINK_NOFOLLOW) == 0 &&
                   sameFile(opened, named) && ::unlinkat(folder, name, 0) == 0;
    ::close(fd);
    return removed;
}

}  // namespace

std::vector<std::string> removeLeftoverFiles(const std::string& folder) {
    std::vector<std::string> removed;
    DIR* listing = ::opendir(folder.c_str());
    if (listing == nullptr) return removed;
    while (const dirent* entry = ::readdir(listing)) {
        std::optional<Candidate> candidate = candidateFor(entry->d_name);
        if (candidate && removeIfLeftover(::dirfd(listing), entry->d_name, *candidate)) removed.push_back(entry->d_name);
    }
    ::closedir(listing);
    return removed;
}

}  // namespace fenta21
