#include "core/collect/TransferFile.h"

#include "core/base/Files.h"

#include <filesystem>
#include <utility>

namespace fenta21 {

TransferFile::TransferFile() : TransferFile(FolderSync(syncFolder)) {}

TransferFile::TransferFile(FolderSync syncFolder) : syncFolder_(std::move(syncFolder)) {}

bool TransferFile::create(const std::string& folder, const TempNameParts& name) {
    storedPath_.clear();
    return file_.create(folder, name.prefix, name.suffix);
}

TransferFile::Commit TransferFile::commit(const Destination& destination) {
    if (!file_.isOpen() || !file_.sync()) {
        discard();
        return Commit::Failed;
    }
    // The file stays open, and so locked, until it has its name: a program starting meanwhile
    // must not take it for the leftover of a killed one.
    std::optional<std::string> stored = claimDestination(file_.path(), destination);
    if (!stored) {
        discard();
        return Commit::Failed;
    }
    file_.keep();
    storedPath_ = *stored;
    bool folderSynced = syncFolder_ && syncFolder_(std::filesystem::path(storedPath_).parent_path().string());
    return folderSynced ? Commit::Durable : Commit::NotDurable;
}

}  // namespace fenta21
