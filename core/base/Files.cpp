#include "core/base/Files.h"

#include "core/base/AsideFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <new>
#include <stdexcept>
#include <system_error>

namespace fenta21 {

namespace {

FileContent problem(std::string why) { return FileContent{std::nullopt, std::move(why)}; }

std::string systemReason(int error) { return std::error_code(error, std::generic_category()).message(); }

// Why a file of this type is not read, or nothing for a regular file.
std::optional<std::string> refusedType(mode_t mode) {
    if (S_ISREG(mode)) return std::nullopt;
    if (S_ISDIR(mode)) return "is a folder, not a file";
    return "is not a regular file (a device, a pipe or a socket)";
}

// Fills `bytes` (sized as the file was found) from `fd`, then reads on to the end in case the
// file has grown since, so that a file takes no more memory than its own size.
std::optional<std::string> readToEnd(int fd, std::string& bytes) {
    auto readSome = [fd](char* into, std::size_t count) {
        ssize_t n;
        do n = ::read(fd, into, count);
        while (n < 0 && errno == EINTR);
        return n;
    };
    std::size_t filled = 0;
    while (filled < bytes.size()) {
        ssize_t n = readSome(bytes.data() + filled, bytes.size() - filled);
        if (n < 0) return "cannot be read: " + systemReason(errno);
        if (n == 0) {
            bytes.resize(filled);
            return std::nullopt;
        }
        filled += static_cast<std::size_t>(n);
    }
    char more[16 * 1024];
    while (true) {
        ssize_t n = readSome(more, sizeof more);
        if (n < 0) return "cannot be read: " + systemReason(errno);
        if (n == 0) return std::nullopt;
        bytes.append(more, static_cast<std::size_t>(n));
    }
}

// The file a replacement is written for, and the permission bits it has (nothing for a new
// file). A link is followed only when it is the user's own or its target's owner's: a link
// that another user planted in a shared folder must not turn a save into a write over a file
// of someone else.
struct ReplacementTarget {
    std::string path;
    std::optional<mode_t> mode;
};

std::optional<ReplacementTarget> replacementTarget(const std::string& path) {
    struct stat named {};
    if (::lstat(path.c_str(), &named) != 0)
        return errno == ENOENT ? std::optional(ReplacementTarget{path, std::nullopt}) : std::nullopt;
    if (!S_ISLNK(named.st_mode)) return ReplacementTarget{path, named.st_mode & 07777};
    std::unique_ptr<char, decltype(&std::free)> real(::realpath(path.c_str(), nullptr), &std::free);
    struct stat reached {};
    if (!real || ::stat(real.get(), &reached) != 0 || !S_ISREG(reached.st_mode)) return std::nullopt;
    if (named.st_uid != ::geteuid() && named.st_uid != reached.st_uid) return std::nullopt;
    return ReplacementTarget{real.get(), reached.st_mode & 07777};
}

// Opens a regular file for reading, or says why not. The type is looked at before opening,
// since opening a pipe or a serial device already waits or changes its lines; the open file
// is looked at again in case the name moved.
int openRegularFile(const std::string& path, struct stat& opened, std::string& why) {
    struct stat named {};
    if (::stat(path.c_str(), &named) != 0) {
        why = "cannot be opened: " + systemReason(errno);
        return -1;
    }
    if (std::optional<std::string> refused = refusedType(named.st_mode)) {
        why = *refused;
        return -1;
    }
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        why = "cannot be opened: " + systemReason(errno);
        return -1;
    }
    std::optional<std::string> refused;
    if (::fstat(fd, &opened) != 0) refused = "cannot be read: " + systemReason(errno);
    else refused = refusedType(opened.st_mode);
    if (!refused) return fd;
    ::close(fd);
    why = *refused;
    return -1;
}

}  // namespace

FileContent readRegularFile(const std::string& path) {
    struct stat opened {};
    std::string refused;
    int fd = openRegularFile(path, opened, refused);
    if (fd < 0) return problem(refused);
    std::optional<std::string> why;
    std::string bytes;
    try {
        bytes.resize(static_cast<std::size_t>(opened.st_size));
        why = readToEnd(fd, bytes);
    } catch (const std::bad_alloc&) {
        why = "is too large to be held in memory";
    } catch (const std::length_error&) {
        why = "is too large to be held in memory";
    }
    ::close(fd);
    if (why) return problem(*why);
    return FileContent{std::move(bytes), {}};
}

FileContent readRegularFilePrefix(const std::string& path, std::size_t maxBytes) {
    struct stat opened {};
    std::string refused;
    int fd = openRegularFile(path, opened, refused);
    if (fd < 0) return problem(refused);
    // Read up to the bound, never sized by the file: a file padded to gigabytes costs no more
    // than one that holds exactly its layout.
    std::string bytes;
    bytes.reserve(std::min(maxBytes, static_cast<std::size_t>(opened.st_size)));
    std::optional<std::string> why;
    char chunk[16 * 1024];
    while (bytes.size() < maxBytes) {
        ssize_t n = ::read(fd, chunk, std::min(sizeof chunk, maxBytes - bytes.size()));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) why = "cannot be read: " + systemReason(errno);
        if (n <= 0) break;
        bytes.append(chunk, static_cast<std::size_t>(n));
    }
    ::close(fd);
    if (why) return problem(*why);
    return FileContent{std::move(bytes), {}};
}

std::optional<std::string> readWholeFile(const std::string& path) { return readRegularFile(path).bytes; }

bool writeFileAtomically(const std::string& path, std::string_view bytes) {
    std::optional<ReplacementTarget> target = replacementTarget(path);
    if (!target) return false;
    std::filesystem::path real(target->path);
    std::string folder = real.parent_path().string();
    AsideFile aside;
    if (!aside.create(folder, real.filename().string() + kReplacementInfix, "", target->mode)) return false;
    if (!aside.write(bytes) || !aside.sync() || std::rename(aside.path().c_str(), target->path.c_str()) != 0)
        return false;
    aside.keep();
    syncFolder(folder);
    return true;
}

bool syncFolder(const std::string& folder) {
    int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

std::string joinPath(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    if (folder.back() == '/') return folder + name;
    return folder + "/" + name;
}

}  // namespace fenta21
