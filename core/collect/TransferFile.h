#pragma once

#include <cstddef>
#include <string>

namespace fenta21 {

// The temporary file a transfer writes. It becomes the destination only through commit(),
// which syncs the data, renames it over the destination in one step and syncs the folder, so
// that neither a failed transfer nor a power cut leaves a half file under the real name.
// Destroyed without a commit, it removes itself.
class TransferFile {
public:
    TransferFile() = default;
    ~TransferFile();
    TransferFile(const TransferFile&) = delete;
    TransferFile& operator=(const TransferFile&) = delete;

    bool create(const std::string& path);
    bool write(const void* data, std::size_t size);
    bool write(const std::string& text) { return write(text.data(), text.size()); }
    bool commit(const std::string& destination);
    void discard();

private:
    int fd_ = -1;
    std::string path_;
};

}  // namespace fenta21
