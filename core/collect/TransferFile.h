#pragma once

#include <cstddef>
#include <functional>
#include <string>

namespace fenta21 {

// The temporary file a transfer writes. It becomes the destination only through commit(),
// which syncs the data, renames it over the destination in one step and syncs the folder, so
// that neither a failed transfer nor a power cut leaves a half file under the real name.
// Destroyed without a commit, it removes itself.
class TransferFile {
public:
    // How the destination folder's new entry is made durable (fsync of the folder).
    using FolderSync = std::function<bool(const std::string& folder)>;

    enum class Commit {
        Durable,     // under its name and on disk
        NotDurable,  // under its name, but the folder could not be synced: a power cut may lose it
        Failed,      // not stored; the temporary file is gone and the destination untouched
    };

    TransferFile();
    explicit TransferFile(FolderSync syncFolder);
    ~TransferFile();
    TransferFile(const TransferFile&) = delete;
    TransferFile& operator=(const TransferFile&) = delete;

    bool create(const std::string& path);
    bool write(const void* data, std::size_t size);
    bool write(const std::string& text) { return write(text.data(), text.size()); }
    Commit commit(const std::string& destination);
    void discard();

private:
    FolderSync syncFolder_;
    int fd_ = -1;
    std::string path_;
};

}  // namespace fenta21
