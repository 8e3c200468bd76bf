#include "core/serial/PortDescription.h"

#include <filesystem>
#include <fstream>

namespace fenta21 {
namespace {

namespace fs = std::filesystem;

fs::path resolved(const fs::path& path) {
    std::error_code ec;
    fs::path target = fs::canonical(path, ec);
    return ec ? path : target;
}

std::string stableName(const fs::path& device, const std::string& deviceFolder) {
    std::error_code ec;
    fs::directory_iterator entries(fs::path(deviceFolder) / "serial" / "by-id", ec);
    if (ec) return {};
    std::string best;
    for (const auto& entry : entries) {
        // Several names may lead to one device; the first in name order is shown, so the text
        // does not change from one opening to the next.
        if (resolved(entry.path()) == device && (best.empty() || entry.path().string() < best))
            best = entry.path().string();
    }
    return best;
}

std::string firstLine(const fs::path& file) {
    std::ifstream in(file);
    std::string line;
    if (!in || !std::getline(in, line)) return {};
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
    return line;
}

// The adapter's own words: the USB interface's name when it has one (an FTDI chip calls its
// port "FT232R USB UART"), else the USB device's product name, looked for from the tty's
// device upwards.
std::string adapterName(const fs::path& device, const std::string& systemFolder) {
    fs::path link = fs::path(systemFolder) / "class" / "tty" / device.filename() / "device";
    std::error_code ec;
    if (!fs::exists(link, ec)) return {};
    fs::path folder = resolved(link);
    for (int level = 0; level < 4 && !folder.empty(); ++level, folder = folder.parent_path()) {
        for (const char* name : {"interface", "product"}) {
            std::string text = firstLine(folder / name);
            if (!text.empty()) return text;
        }
        if (folder == folder.parent_path()) break;
    }
    return {};
}

}  // namespace

std::string describeSerialDevice(const std::string& devicePath, const std::string& deviceFolder,
                                 const std::string& systemFolder) {
    if (devicePath.empty()) return {};
    fs::path device = resolved(devicePath);
    std::string name = stableName(device, deviceFolder);
    std::string text = name.empty() ? devicePath : name;
    std::string adapter = adapterName(device, systemFolder);
    if (!adapter.empty()) text += " (" + adapter + ")";
    return text;
}

}  // namespace fenta21
