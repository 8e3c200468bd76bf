#include "core/base/HomeFileEdit.h"

#include "core/base/Files.h"
#include "core/base/HomeLock.h"

#include <filesystem>
#include <system_error>

namespace fenta21 {
namespace {

using Outcome = HomeFileEdit::Outcome;

std::string folderOf(const std::string& path) { return std::filesystem::path(path).parent_path().string(); }

// The file as it is now; neither bytes nor a problem when there is no such file.
FileContent currentContent(const std::string& path, std::size_t maxBytes) {
    std::error_code ec;
    if (std::filesystem::status(path, ec).type() == std::filesystem::file_type::not_found) return {};
    return readRegularFilePrefix(path, maxBytes);
}

HomeFileEdit writeAside(const std::string& path, std::string_view bytes) {
    if (writeFileAtomically(path, bytes)) return {Outcome::Written, {}};
    return {Outcome::Failed, path + " cannot be written"};
}

}  // namespace

HomeFileEdit editHomeFile(const std::string& path, std::size_t maxBytes,
                          const std::function<std::optional<std::string>(const FileOnDisk& now)>& change,
                          const std::function<void()>& written) {
    HomeLock lock(folderOf(path));
    if (!lock.held()) return {Outcome::Failed, lock.problem()};
    FileContent now = currentContent(path, maxBytes);
    if (!now.problem.empty()) return {Outcome::Failed, path + " " + now.problem};
    std::optional<std::string> changed = change(now.bytes);
    if (!changed) return {Outcome::Declined, {}};
    HomeFileEdit edit = writeAside(path, *changed);
    if (edit.written() && written) written();
    return edit;
}

HomeFileEdit writeHomeFile(const std::string& path, std::string_view bytes) {
    HomeLock lock(folderOf(path));
    if (!lock.held()) return {Outcome::Failed, lock.problem()};
    return writeAside(path, bytes);
}

void readHomeFile(const std::string& path, std::size_t maxBytes, const std::function<void(const FileOnDisk& now)>& use) {
    HomeLock lock(folderOf(path));
    use(lock.held() ? currentContent(path, maxBytes).bytes : std::nullopt);
}

}  // namespace fenta21
