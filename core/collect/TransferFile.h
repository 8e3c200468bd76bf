#pragma once

#include "core/base/AsideFile.h"
#include "core/collect/FileNaming.h"

#include <cstddef>
#include <functional>
#include <string>

namespace fenta21 {

// The temporary file a transfer writes, aside in the destination folder (see AsideFile), so
// that two collections into one folder never write, or rename, each other's file. It becomes
// the destination only through commit(), which syncs the data, claims the destination's name
// in one step without replacing what another program stored there, and syncs the folder, so
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
    TransferFile(const TransferFile&) = delete;
    TransferFile& operator=(const TransferFile&) = delete;

    bool create(const std::string& folder, const TempNameParts& name);
    bool write(const void* data, std::size_t size) { return file_.write(data, size); }
    bool write(const std::string& text) { return file_.write(text); }
    Commit commit(const Destination& destination);
    void discard() { file_.discard(); }

    // Where a commit that did not fail stored the file: the destination, or the next free
    // name when another program took that one meanwhile.
    const std::string& storedPath() const { return storedPath_; }
    // The temporary file while it is being written.
    const std::string& path() const { return file_.path(); }

private:
    FolderSync syncFolder_;
    AsideFile file_;
    std::string storedPath_;
};

}  // namespace fenta21
