#include "core/serial/ComPortMap.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fenta21 {
namespace {

std::string trim(std::string_view text) {
    auto begin = text.find_first_not_of(" \t\r");
    if (begin == std::string_view::npos) return {};
    auto end = text.find_last_not_of(" \t\r");
    return std::string(text.substr(begin, end - begin + 1));
}

int portNumberOf(const std::string& word) {
    if (word.size() != 4) return 0;
    std::string prefix = word.substr(0, 3);
    std::transform(prefix.begin(), prefix.end(), prefix.begin(), [](unsigned char c) { return std::toupper(c); });
    if (prefix != "COM" || word[3] < '1' || word[3] > '9') return 0;
    return word[3] - '0';
}

}  // namespace

ComPortMap ComPortMap::parse(std::string_view text) {
    ComPortMap map;
    std::istringstream in{std::string(text)};
    std::string raw;
    for (int lineNumber = 1; std::getline(in, raw); ++lineNumber) {
        std::string line = trim(raw.substr(0, raw.find('#')));
        if (line.empty()) continue;
        auto gap = line.find_first_of(" \t");
        int port = gap == std::string::npos ? 0 : portNumberOf(line.substr(0, gap));
        std::string path = gap == std::string::npos ? std::string() : trim(line.substr(gap));
        if (port == 0 || path.empty()) {
            map.problems_.push_back("line " + std::to_string(lineNumber) + ": " + line);
            continue;
        }
        map.paths_[port - 1] = path;
    }
    return map;
}

ComPortMap ComPortMap::load(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return {};
    std::stringstream content;
    content << in.rdbuf();
    return parse(content.str());
}

std::string ComPortMap::mappedPath(int portNumber) const {
    if (portNumber < 1 || portNumber > kPorts) return {};
    return paths_[portNumber - 1];
}

std::string ComPortMap::devicePath(int portNumber) const {
    if (portNumber < 1 || portNumber > kPorts) return {};
    if (!paths_[portNumber - 1].empty()) return paths_[portNumber - 1];
    auto adapters = systemSerialAdapters();
    if (static_cast<std::size_t>(portNumber) <= adapters.size()) return adapters[portNumber - 1];
    return {};
}

std::vector<std::string> systemSerialAdapters(const std::string& deviceFolder) {
    struct Adapter {
        int group;
        std::string prefix;
        long number;
        std::string path;
    };
    std::vector<Adapter> found;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(deviceFolder, ec)) {
        std::string name = entry.path().filename().string();
        int group = name.rfind("ttyUSB", 0) == 0 || name.rfind("ttyACM", 0) == 0 ? 0
                    : name.rfind("ttyS", 0) == 0                                   ? 1
                                                                                   : -1;
        if (group < 0) continue;
        auto digits = name.find_first_of("0123456789");
        if (digits == std::string::npos) continue;
        found.push_back({group, name.substr(0, digits), std::atol(name.c_str() + digits), entry.path().string()});
    }
    std::sort(found.begin(), found.end(), [](const Adapter& a, const Adapter& b) {
        return std::tie(a.group, a.prefix, a.number) < std::tie(b.group, b.prefix, b.number);
    });
    std::vector<std::string> paths;
    for (auto& adapter : found) paths.push_back(adapter.path);
    return paths;
}

}  // namespace fenta21
