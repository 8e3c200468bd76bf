#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace fenta21 {

// Users speak of COM1 to COM9. The text file comports.txt in the home folder maps them to
// devices, one line "COMn PATH" per port ('#' starts a comment). A port without a line falls
// back to the serial adapters the system has, USB and ACM adapters first.
class ComPortMap {
public:
    static constexpr int kPorts = 9;

    static ComPortMap parse(std::string_view text);
    static ComPortMap load(const std::string& path);

    // The device path for COMn, or empty when neither the map nor the system has one.
    std::string devicePath(int portNumber) const;
    std::string mappedPath(int portNumber) const;

    // Lines that could not be understood, as "line N: text", for the error log.
    const std::vector<std::string>& problems() const { return problems_; }

private:
    std::array<std::string, kPorts> paths_;
    std::vector<std::string> problems_;
};

// The system's serial adapters: /dev/ttyUSB* and /dev/ttyACM* first, then /dev/ttyS*, each
// group in name order with numbers compared as numbers.
std::vector<std::string> systemSerialAdapters(const std::string& deviceFolder = "/dev");

}  // namespace fenta21
