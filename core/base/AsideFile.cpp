#include "core/base/AsideFile.h"

#include "core/base/Files.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <random>

namespace fenta21 {
namespace {

constexpr std::size_t kRandomDigits = 16;
// Each try draws 64 new random bits: a name that is still taken after this many is not
// chance but a folder that refuses (or a file system that says EEXIST for everything).
constexpr int kMostTries = 64;

bool isLowerHex(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); }

}  // namespace

std::string randomUniqueNamePart() {
    std::random_device entropy;  // getrandom(2) underneath: nothing another program can predict
    std::uint64_t bits = (std::uint64_t{entropy()} << 32) | entropy();
    char text[48];
    std::snprintf(text, sizeof text, "%ld-%016llx", static_cast<long>(::getpid()), static_cast<unsigned long long>(bits));
    return text;
}

bool AsideFile::create(const std::string& folder, const std::string& prefix, const std::string& suffix,
                       std::optional<mode_t> mode, const UniqueNamePart& unique) {
    discard();
    for (int i = 0; i < kMostTries; ++i) {
        std::string path = joinPath(folder, prefix + unique() + suffix);
        // A file that replaces another is kept private until it has that file's bits.
        int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY,
                        mode ? 0600 : 0644);
        if (fd < 0 && errno == EEXIST) continue;
        if (fd < 0) return false;
        fd_ = fd;
        path_ = path;
        int locked;
        do locked = ::flock(fd_, LOCK_EX);
        while (locked != 0 && errno == EINTR);
        if (locked != 0 || (mode && ::fchmod(fd_, *mode & 07777) != 0)) {
            discard();
            return false;
        }
        return true;
    }
    return false;
}

bool AsideFile::write(const void* data, std::size_t size) {
    auto bytes = static_cast<const char*>(data);
    std::size_t written = 0;
    while (fd_ >= 0 && written < size) {
        ssize_t n = ::write(fd_, bytes + written, size - written);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        written += static_cast<std::size_t>(n);
    }
    return fd_ >= 0;
}

bool AsideFile::sync() { return fd_ >= 0 && ::fsync(fd_) == 0; }

void AsideFile::keep() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    path_.clear();
}

void AsideFile::discard() {
    // Removed while still locked, so that no cleaner takes it for a leftover meanwhile.
    if (!path_.empty()) ::unlink(path_.c_str());
    keep();
}

std::optional<AsideName> parseAsideName(std::string_view name, std::string_view suffix) {
    if (name.size() < suffix.size() || name.substr(name.size() - suffix.size()) != suffix) return std::nullopt;
    std::string_view rest = name.substr(0, name.size() - suffix.size());
    if (rest.size() < kRandomDigits + 2) return std::nullopt;
    std::string_view random = rest.substr(rest.size() - kRandomDigits);
    for (char c : random)
        if (!isLowerHex(c)) return std::nullopt;
    rest.remove_suffix(kRandomDigits);
    if (rest.back() != '-') return std::nullopt;
    rest.remove_suffix(1);
    std::size_t digits = 0;
    while (digits < rest.size() && rest[rest.size() - 1 - digits] >= '0' && rest[rest.size() - 1 - digits] <= '9')
        ++digits;
    std::optional<pid_t> owner = parseProcessId(rest.substr(rest.size() - digits));
    if (!owner) return std::nullopt;
    return AsideName{rest.substr(0, rest.size() - digits), *owner};
}

std::optional<pid_t> parseProcessId(std::string_view digits) {
    pid_t pid = 0;
    auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), pid);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size() || pid <= 0) return std::nullopt;
    return pid;
}

}  // namespace fenta21
