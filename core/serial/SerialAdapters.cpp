#include "core/serial/SerialAdapters.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <tuple>

namespace fenta21 {
namespace {

namespace fs = std::filesystem;

// A USB device sits a few folders above its tty: ttyUSB0 -> interface 1-1:1.0 -> device 1-1.
// Further up than this is no longer the adapter.
constexpr int kLevelsToTheUsbDevice = 6;

fs::path resolved(const fs::path& path) {
    std::error_code ec;
    fs::path target = fs::canonical(path, ec);
    return ec ? path : target;
}

bool isThere(const fs::path& path) {
    std::error_code ec;
    return fs::exists(path, ec);
}

// The first line of a small sysfs file, without its line end; empty when there is none.
std::string firstLine(const fs::path& file) {
    std::ifstream in(file);
    std::string line;
    if (!in || !std::getline(in, line)) return {};
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
    return line;
}

bool isInside(const fs::path& path, const fs::path& folder) {
    auto [end, rest] = std::mismatch(folder.begin(), folder.end(), path.begin(), path.end());
    return end == folder.end();
}

// The name under /dev/serial/by-id that leads to the device. The name the user gave is kept
// when it is one of them; else the first in name order, so the text does not change from one
// look to the next.
std::string stableNameOf(const std::string& given, const fs::path& device, const SerialRoots& roots) {
    std::error_code ec;
    fs::directory_iterator entries(fs::path(roots.dev) / "serial" / "by-id", ec);
    if (ec) return {};
    std::string best;
    for (const auto& entry : entries) {
        if (resolved(entry.path()) != device) continue;
        if (entry.path() == fs::path(given)) return given;
        if (best.empty() || entry.path().string() < best) best = entry.path().string();
    }
    return best;
}

// The driver that serves a device. Since Linux 6.5 a built-in port's tty hangs below the serial
// core's own port and controller devices (bus "serial-base"), whose drivers say nothing about
// the hardware; the driver of the device above them does ("serial8250").
std::string driverOf(fs::path folder, const fs::path& top) {
    for (int level = 0; level < kLevelsToTheUsbDevice && isInside(folder, top) && folder != top; ++level) {
        if (resolved(folder / "subsystem").filename() != "serial-base")
            return isThere(folder / "driver") ? resolved(folder / "driver").filename().string() : std::string();
        folder = folder.parent_path();
    }
    return {};
}

// The tty's device folder in sysfs and what the adapter says of itself above it: the USB
// interface's name and the USB device's identity (the first folder upwards that has one).
void readSysfs(const std::string& ttyName, const SerialRoots& roots, SerialAdapter& adapter) {
    fs::path link = fs::path(roots.sys) / "class" / "tty" / ttyName / "device";
    if (!isThere(link)) return;
    fs::path folder = resolved(link);
    fs::path top = resolved(roots.sys);
    adapter.driver = driverOf(folder, top);
    for (int level = 0; level < kLevelsToTheUsbDevice && isInside(folder, top) && folder != top; ++level) {
        if (adapter.interfaceName.empty()) adapter.interfaceName = firstLine(folder / "interface");
        if (isThere(folder / "idVendor") || isThere(folder / "product")) {
            adapter.vendorId = firstLine(folder / "idVendor");
            adapter.productId = firstLine(folder / "idProduct");
            adapter.manufacturer = firstLine(folder / "manufacturer");
            adapter.product = firstLine(folder / "product");
            adapter.serialNumber = firstLine(folder / "serial");
            return;
        }
        folder = folder.parent_path();
    }
}

// A ttyS node exists for every port the kernel reserved, whether or not a UART answers
// there: sysfs gives such a port the type 0 (unknown), or no device or driver at all.
bool hasRealUart(const std::string& ttyName, const SerialRoots& roots) {
    fs::path tty = fs::path(roots.sys) / "class" / "tty" / ttyName;
    if (!isThere(tty / "device") || !isThere(tty / "device" / "driver")) return false;
    return !isThere(tty / "type") || firstLine(tty / "type") != "0";
}

struct NodeName {
    int group = -1;  // 0 USB and ACM adapters, 1 built-in ports
    std::string prefix;
    long number = 0;
};

NodeName nodeNameOf(const std::string& name) {
    static const std::tuple<const char*, int> kPrefixes[] = {{"ttyUSB", 0}, {"ttyACM", 0}, {"ttyS", 1}};
    for (auto [prefix, group] : kPrefixes) {
        std::string_view p(prefix);
        if (name.size() <= p.size() || name.compare(0, p.size(), p) != 0) continue;
        std::string digits = name.substr(p.size());
        if (digits.find_first_not_of("0123456789") != std::string::npos) continue;
        return {group, std::string(p), std::atol(digits.c_str())};
    }
    return {};
}

}  // namespace

SerialAdapter inspectSerialDevice(const std::string& devicePath, const SerialRoots& roots) {
    SerialAdapter adapter;
    adapter.devicePath = devicePath;
    if (devicePath.empty()) return adapter;
    fs::path device = resolved(devicePath);
    adapter.stableName = stableNameOf(devicePath, device, roots);
    readSysfs(device.filename().string(), roots, adapter);
    return adapter;
}

std::vector<SerialAdapter> discoverSerialAdapters(const SerialRoots& roots) {
    std::vector<std::pair<NodeName, std::string>> found;
    std::error_code ec;
    for (fs::directory_iterator it(roots.dev, ec), end; !ec && it != end; it.increment(ec)) {
        std::string name = it->path().filename().string();
        NodeName node = nodeNameOf(name);
        if (node.group < 0) continue;
        if (node.group == 1 && !hasRealUart(name, roots)) continue;
        found.emplace_back(node, it->path().string());
    }
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) {
        return std::tie(a.first.group, a.first.prefix, a.first.number) <
               std::tie(b.first.group, b.first.prefix, b.first.number);
    });
    std::vector<SerialAdapter> adapters;
    for (const auto& [node, path] : found) adapters.push_back(inspectSerialDevice(path, roots));
    return adapters;
}

}  // namespace fenta21
