#include "core/collect/TransferFile.h"

#include "core/base/Files.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <utility>

namespace fenta21 {

TransferFile::TransferFile() : TransferFile(FolderSync(syncFolder)) {}

TransferFile::TransferFile(FolderSync syncFolder) : syncFolder_(std::move(syncFolder)) {}

TransferFile::~TransferFile() { discard(); }

bool TransferFile::create(const std::string& path) {
    discard();
    fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd_ < 0) return false;
    path_ = path;
    return true;
}

bool TransferFile::write(const void* data, std::size_t size) {
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

TransferFile::Commit TransferFile::commit(const std::string& destination) {
    if (fd_ < 0) return Commit::Failed;
    bool synced = ::fsync(fd_) == 0;
    bool closed = ::close(fd_) == 0;
    fd_ = -1;
    if (!synced || !closed || std::rename(path_.c_str(), destination.c_str()) != 0) {
        discard();
        return Commit::Failed;
    }
    path_.clear();
    bool folderSynced = syncFolder_ && syncFolder_(std::filesystem::path(destination).parent_path().string());
    return folderSynced ? Commit::Durable : Commit::NotDurable;
}

void TransferFile::discard() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    if (!path_.empty()) std::remove(path_.c_str());
    path_.clear();
}

}  // namespace fenta21
