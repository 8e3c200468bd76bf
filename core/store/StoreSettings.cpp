#include "core/store/StoreSettings.h"

#include "core/base/Files.h"
#include "core/base/HomeFileEdit.h"

#include <cctype>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace fenta21::store {
namespace {

constexpr std::size_t kMostSettingsBytes = 64 * 1024;
constexpr const char* kHidden = "***";

std::string trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) text.remove_suffix(1);
    return std::string(text);
}

// Where the passwords of a location are: [begin, end) of each.
std::vector<std::pair<std::size_t, std::size_t>> passwordSpans(const std::string& location) {
    std::vector<std::pair<std::size_t, std::size_t>> spans;
    std::size_t scheme = location.find("://");
    if (scheme != std::string::npos) {
        std::size_t start = scheme + 3;
        std::size_t end = location.find_first_of("/?", start);
        if (end == std::string::npos) end = location.size();
        std::size_t at = location.rfind('@', end);
        if (at != std::string::npos && at >= start) {
            std::size_t colon = location.find(':', start);
            if (colon != std::string::npos && colon < at) spans.push_back({colon + 1, at});
        }
    }
    for (std::size_t at = location.find("password="); at != std::string::npos; at = location.find("password=", at + 1)) {
        std::size_t begin = at + std::strlen("password=");
        std::size_t end = location.find_first_of("& ", begin);
        spans.push_back({begin, end == std::string::npos ? location.size() : end});
    }
    return spans;
}

// "%40" and the like as the bytes they stand for, as libpq reads them.
std::string percentDecoded(const std::string& text) {
    std::string decoded;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && std::isxdigit(static_cast<unsigned char>(text[i + 1])) &&
            std::isxdigit(static_cast<unsigned char>(text[i + 2]))) {
            decoded += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            decoded += text[i];
        }
    }
    return decoded;
}

void replaceAll(std::string& text, const std::string& word, const std::string& by) {
    if (word.empty()) return;
    for (std::size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + by.size()))
        text.replace(at, word.size(), by);
}

// The settings file exists, readable by its owner only, before its content is replaced: the
// replacement keeps the permissions of the file it replaces.
bool ownerOnly(const std::string& path, std::string& problem) {
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd >= 0) {
        ::close(fd);
        return true;
    }
    if (errno == EEXIST && ::chmod(path.c_str(), 0600) == 0) return true;
    problem = path + ": " + std::strerror(errno);
    return false;
}

}  // namespace

std::optional<std::string> storeLocation(const std::string& homeFolder) {
    FileContent content = readRegularFilePrefix(joinPath(homeFolder, kStoreSettingsFileName), kMostSettingsBytes);
    if (!content.bytes) return std::nullopt;
    const std::string& text = *content.bytes;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = trimmed(std::string_view(text).substr(start, end - start));
        start = end + 1;
        if (!line.empty() && line.front() != '#') return line;
    }
    return std::nullopt;
}

bool saveStoreLocation(const std::string& homeFolder, const std::string& location, std::string& problem) {
    std::string path = joinPath(homeFolder, kStoreSettingsFileName);
    HomeFileEdit edit = editHomeFile(path, kMostSettingsBytes, [&](const FileOnDisk&) -> std::optional<std::string> {
        if (!ownerOnly(path, problem)) return std::nullopt;
        return "# The record store of this home: a postgresql:// URL or an SQLite file.\n" + location + "\n";
    });
    if (edit.written()) return true;
    if (problem.empty()) problem = edit.problem;
    return false;
}

bool isPostgresLocation(const std::string& location) {
    return location.rfind("postgresql:", 0) == 0 || location.rfind("postgres:", 0) == 0;
}

std::string withoutPassword(const std::string& location) {
    std::string shown = location;
    std::vector<std::pair<std::size_t, std::size_t>> spans = passwordSpans(location);
    // From the last, so that the earlier places stay where they were.
    for (auto span = spans.rbegin(); span != spans.rend(); ++span)
        shown.replace(span->first, span->second - span->first, kHidden);
    return shown;
}

std::string hidePassword(std::string text, const std::string& location) {
    replaceAll(text, location, withoutPassword(location));
    for (const auto& [begin, end] : passwordSpans(location)) {
        std::string password = location.substr(begin, end - begin);
        replaceAll(text, password, kHidden);
        replaceAll(text, percentDecoded(password), kHidden);
    }
    return text;
}

}  // namespace fenta21::store
