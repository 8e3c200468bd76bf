#include "core/serial/ComPortMap.h"

#include "core/base/Files.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <optional>
#include <sstream>

namespace fenta21 {
namespace {

std::string trim(std::string_view text) {
    auto begin = text.find_first_not_of(" \t\r");
    if (begin == std::string_view::npos) return {};
    auto end = text.find_last_not_of(" \t\r");
    return std::string(text.substr(begin, end - begin + 1));
}

// A line without its comment and surrounding blanks.
std::string content(std::string_view raw) { return trim(raw.substr(0, raw.find('#'))); }

// The number the first word of a line names (see comPortNumberOf).
int portNumberOfLine(const std::string& line) { return comPortNumberOf(line.substr(0, line.find_first_of(" \t"))); }

// Symbolic names (/dev/serial/by-id/...) and the adapter itself are the same device.
std::string deviceIdentity(const std::string& path) {
    std::error_code ec;
    auto canonical = std::filesystem::weakly_canonical(path, ec);
    return ec ? path : canonical.string();
}

}  // namespace

int comPortNumberOf(std::string_view word) {
    std::string prefix(word.substr(0, 3));
    std::transform(prefix.begin(), prefix.end(), prefix.begin(), [](unsigned char c) { return std::toupper(c); });
    if (prefix != "COM") return 0;
    if (word.size() == 4 && word[3] >= '1' && word[3] <= '9') return word[3] - '0';
    return -1;
}

ComPortMap ComPortMap::parse(std::string_view text) {
    ComPortMap map;
    std::istringstream in{std::string(text)};
    std::string raw;
    for (int lineNumber = 1; std::getline(in, raw); ++lineNumber) {
        std::string line = content(raw);
        if (line.empty()) continue;
        auto gap = line.find_first_of(" \t");
        int port = portNumberOfLine(line);
        std::string path = gap == std::string::npos ? std::string() : trim(line.substr(gap));
        if (port == 0) {
            map.refuse(lineNumber, line, 0, "not a COM port");
        } else if (port < 0) {
            map.refuse(lineNumber, line, 0, "only COM1 to COM9 can be mapped");
        } else if (path.empty()) {
            map.refuse(lineNumber, line, port, "no device given");
        } else if (!map.paths_[port - 1].empty() || !map.refused_[port - 1].empty()) {
            map.refuse(lineNumber, line, port, "COM" + std::to_string(port) + " is mapped twice");
        } else {
            for (int other = 1; other <= kPorts; ++other) {
                if (!map.paths_[other - 1].empty() && deviceIdentity(map.paths_[other - 1]) == deviceIdentity(path)) {
                    map.refuse(lineNumber, line, port, "the device is already COM" + std::to_string(other));
                    break;
                }
            }
            if (map.refused_[port - 1].empty()) map.paths_[port - 1] = path;
        }
    }
    return map;
}

void ComPortMap::refuse(int lineNumber, const std::string& line, int portNumber, const std::string& why) {
    std::string problem = "line " + std::to_string(lineNumber) + ": " + line + " (" + why + ")";
    problems_.push_back(problem);
    if (portNumber < 1) return;
    // A number refused twice keeps its first reason; a mapping already made is withdrawn too,
    // since the file says two things about it.
    if (refused_[portNumber - 1].empty()) refused_[portNumber - 1] = problem;
    paths_[portNumber - 1].clear();
}

ComPortMap ComPortMap::load(const std::string& path) {
    std::optional<std::string> text = readRegularFilePrefix(path, kMostFileBytes).bytes;
    return text ? parse(*text) : ComPortMap{};
}

std::string ComPortMap::mappedPath(int portNumber) const {
    if (portNumber < 1 || portNumber > kPorts) return {};
    return paths_[portNumber - 1];
}

std::string ComPortMap::problemFor(int portNumber) const {
    if (portNumber < 1 || portNumber > kPorts) return {};
    return refused_[portNumber - 1];
}

std::string ComPortMap::devicePath(int portNumber) const { return devicePath(portNumber, systemSerialAdapters()); }

std::string ComPortMap::devicePath(int portNumber, const std::vector<std::string>& adapters) const {
    if (portNumber < 1 || portNumber > kPorts) return {};
    if (!paths_[portNumber - 1].empty()) return paths_[portNumber - 1];
    if (!refused_[portNumber - 1].empty()) return {};
    // The free adapters go to the free numbers in order.
    std::vector<std::string> mapped;
    for (const auto& path : paths_)
        if (!path.empty()) mapped.push_back(deviceIdentity(path));
    std::vector<std::string> free;
    for (const auto& adapter : adapters)
        if (std::find(mapped.begin(), mapped.end(), deviceIdentity(adapter)) == mapped.end()) free.push_back(adapter);
    std::size_t rank = 0;
    for (int port = 1; port < portNumber; ++port)
        if (paths_[port - 1].empty() && refused_[port - 1].empty()) ++rank;
    return rank < free.size() ? free[rank] : std::string();
}

std::vector<ComPortEntry> ComPortMap::entries(const std::vector<std::string>& adapters) const {
    std::vector<ComPortEntry> table;
    for (int port = 1; port <= kPorts; ++port) {
        ComPortEntry entry;
        entry.number = port;
        entry.device = devicePath(port, adapters);
        entry.problem = refused_[port - 1];
        if (!paths_[port - 1].empty()) entry.source = ComPortEntry::Source::File;
        else if (!entry.problem.empty()) entry.source = ComPortEntry::Source::Refused;
        else if (!entry.device.empty()) entry.source = ComPortEntry::Source::FreeAdapter;
        table.push_back(std::move(entry));
    }
    return table;
}

std::string ComPortMap::withMapping(std::string_view text, int portNumber, const std::string& device) {
    std::string mapping = "COM" + std::to_string(portNumber) + " " + device;
    std::string out;
    bool placed = false;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        std::size_t next = end == std::string_view::npos ? text.size() : end + 1;
        std::string_view raw = text.substr(start, next - start);
        std::string line = content(raw.substr(0, raw.find('\n')));
        if (!line.empty() && portNumberOfLine(line) == portNumber) {
            if (!placed) out += mapping + "\n";
            placed = true;
        } else {
            out += raw;
            if (end == std::string_view::npos) out += "\n";
        }
        start = next;
    }
    if (!placed) out += mapping + "\n";
    return out;
}

std::vector<std::string> systemSerialAdapters(const SerialRoots& roots) {
    std::vector<std::string> paths;
    for (const SerialAdapter& adapter : discoverSerialAdapters(roots)) paths.push_back(adapter.devicePath);
    return paths;
}

}  // namespace fenta21
