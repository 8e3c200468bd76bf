#include "core/protocol/ModelFiles.h"

#include "core/base/Files.h"

namespace fenta21 {

std::optional<std::string> modelFilePath(const std::string& homeFolder, std::string_view modelCode,
                                         std::string_view extension) {
    if (modelCode.empty() || modelCode == "." || modelCode == "..") return std::nullopt;
    for (char c : modelCode) {
        auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F || c == '/' || c == '\\') return std::nullopt;
    }
    return joinPath(homeFolder, std::string(modelCode) + std::string(extension));
}

}  // namespace fenta21
