#include "core/base/HomeFileEdit.h"

#include "core/base/Files.h"
#include "core/base/HomeLock.h"

#include <filesystem>
#include <system_error>

namespace fenta21 {
namespace {

std::string folderOf(const std::string& path) { return std::filesystem::path(path).parent_path().string(); }

bool isMissing(const std::string& path) {
    std::error_code ec;
    std::filesystem::file_status status = std::filesystem::status(path, ec);
    return status.type() == std::filesystem::file_type::not_found;
}

// The file as it is now, or why it cannot be told.
FileContent currentContent(const std::string& path, std::size_t maxBytes, bool& missing) {
    missing = isMissing(path);
    if (missing) return {};
    return readRegularFilePrefix(path, maxBytes);
}

}  // namespace

HomeFileEdit editHomeFile(const std::string& path, std::size_t maxBytes,
                          const std::function<std::optional<std::string>(const FileOnDisk& now)>& change,
                          const std::function<void()>& written) {
    HomeLock lock(folderOf(path));
    if (!lock.held()) return {HomeFileEdit::Outcome::Failed, lock.problem()};
    bool missing = false;
    FileContent now = currentContent(path, maxBytes, missing);
    if (!missing && !now.bytes) return {HomeFileEdit::Outcome::Failed, path + " " + now.problem};
    std::optional<std::string> changed = change(now.bytes);
    if (!changed) return {HomeFileEdit::Outcome::Declined, {}};
    if (!writeFileAtomically(path, *changed)) return {HomeFileEdit::Outcome::Failed, path + " cannot be written"};
    if (written) written();
    return {HomeFileEdit::Outcome::Written, {}};
}

HomeFileEdit writeHomeFile(const std::string& path, std::string_view bytes) {
    HomeLock lock(folderOf(path));
    if (!lock.held()) return {HomeFileEdit::Outcome::Failed, lock.problem()};
    if (!writeFileAtomically(path, bytes)) return {HomeFileEdit::Outcome::Failed, path + " cannot be written"};
    return {HomeFileEdit::Outcome::Written, {}};
}

void readHomeFile(const std::string& path, std::size_t maxBytes, const std::function<void(const FileOnDisk& now)>& use) {
    HomeLock lock(folderOf(path));
    if (!lock.held()) return use(std::nullopt);
    bool missing = false;
    use(currentContent(path, maxBytes, missing).bytes);
}

}  // namespace fenta21
