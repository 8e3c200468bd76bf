#include "tests/soak/ScratchDisk.h"

#include "tests/soak/SoakSettings.h"

#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

namespace fenta21::test {
namespace {

namespace fs = std::filesystem;

constexpr const char* kFillerName = ".filler";
constexpr const char* kVolumeOptions = "size=32m,mode=0755";

int threadCount() {
    std::error_code ec;
    int count = 0;
    for (auto it = fs::directory_iterator("/proc/self/task", ec); !ec && it != fs::directory_iterator(); ++it) ++count;
    return count;
}

void copyTree(const std::string& from, const std::string& to) {
    fs::copy(from, to, fs::copy_options::recursive | fs::copy_options::copy_symlinks);
}

// Writes until the file system refuses, in ever smaller pieces, so that no page is left.
void writeUntilFull(const std::string& path) {
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0) return;
    std::string chunk(1 << 20, 'F');
    for (std::size_t size = chunk.size(); size > 0; size /= 4)
        while (::write(fd, chunk.data(), size) == static_cast<ssize_t>(size)) {}
    ::close(fd);
}

}  // namespace

bool ScratchDisk::enterPrivateMounts() {
    static const bool entered = [] {
        // FENTA21_SOAK_NO_MOUNTS=1 tries the stand-ins, as a process without the right has them.
        if (soakNumber("FENTA21_SOAK_NO_MOUNTS", 0) != 0) return false;
        if (threadCount() != 1 || ::unshare(CLONE_NEWNS) != 0) return false;
        // Without this, mounts made here would show in the rest of the system.
        return ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
    }();
    return entered;
}

ScratchDisk::ScratchDisk(std::string root) : root_(std::move(root)) {
    if (!enterPrivateMounts()) return;
    std::string stash = root_ + ".stash";
    copyTree(root_, stash);
    if (::mount("fenta21-soak", root_.c_str(), "tmpfs", 0, kVolumeOptions) == 0) {
        mounted_ = true;
        copyTree(stash, root_);
    }
    fs::remove_all(stash);
}

ScratchDisk::~ScratchDisk() {
    restore();
    // What was there before the volume comes back, for its owner to remove.
    if (mounted_) ::umount2(root_.c_str(), MNT_DETACH);
}

bool ScratchDisk::canMakeReadOnly() const { return mounted_ || ::geteuid() != 0; }

std::string ScratchDisk::fullDiskKind() const {
    return mounted_ ? "a 32 MiB tmpfs of its own" : "RLIMIT_FSIZE (no file system of its own could be mounted)";
}

void ScratchDisk::removeFolder(const std::string& folder) {
    std::error_code ec;
    fs::remove_all(folder, ec);
    removed_.push_back(folder);
}

bool ScratchDisk::makeReadOnly(const std::string& folder) {
    if (mounted_) {
        if (::mount(folder.c_str(), folder.c_str(), nullptr, MS_BIND, nullptr) != 0) return false;
        readOnlyViews_.push_back(folder);
        return ::mount(nullptr, folder.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) == 0;
    }
    if (!canMakeReadOnly() || ::chmod(folder.c_str(), 0555) != 0) return false;
    chmodded_.push_back(folder);
    return true;
}

void ScratchDisk::fill(const std::string& growingFile) {
    if (mounted_) {
        writeUntilFull(root_ + "/" + kFillerName);
        filled_ = true;
        return;
    }
    struct stat st{};
    sizeLimit_.emplace(::stat(growingFile.c_str(), &st) == 0 ? static_cast<rlim_t>(st.st_size) : 0);
}

void ScratchDisk::restore() {
    sizeLimit_.reset();
    for (const auto& folder : readOnlyViews_) ::umount2(folder.c_str(), MNT_DETACH);
    for (const auto& folder : chmodded_) ::chmod(folder.c_str(), 0755);
    readOnlyViews_.clear();
    chmodded_.clear();
    if (filled_) ::unlink((root_ + "/" + kFillerName).c_str());
    filled_ = false;
    std::error_code ec;
    for (const auto& folder : removed_) fs::create_directories(folder, ec);
    removed_.clear();
}

}  // namespace fenta21::test
