#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace fenta21 {

// Users speak of COM1 to COM9. The text file comports.txt in the home folder maps them to
// devices, one line "COMn PATH" per port ('#' starts a comment). The ports without a line take
// the serial adapters the system has that no line maps, USB and ACM adapters first, in order:
// one device never answers under two numbers. A line that cannot be used leaves its number
// without a device, so a mistake in the file is never covered up by a guess.
class ComPortMap {
public:
    static constexpr int kPorts = 9;

    static ComPortMap parse(std::string_view text);
    static ComPortMap load(const std::string& path);

    // The device path for COMn, or empty when neither the map nor the system has one.
    std::string devicePath(int portNumber) const;
    std::string devicePath(int portNumber, const std::vector<std::string>& adapters) const;
    std::string mappedPath(int portNumber) const;

    // Lines that could not be used, as "line N: text (why)".
    const std::vector<std::string>& problems() const { return problems_; }
    // The problem that leaves COMn without a device, or empty.
    std::string problemFor(int portNumber) const;

private:
    void refuse(int lineNumber, const std::string& line, int portNumber, const std::string& why);

    std::array<std::string, kPorts> paths_;
    std::array<std::string, kPorts> refused_;
    std::vector<std::string> problems_;
};

// The system's serial adapters: /dev/ttyUSB* and /dev/ttyACM* first, then /dev/ttyS*, each
// group in name order with numbers compared as numbers.
std::vector<std::string> systemSerialAdapters(const std::string& deviceFolder = "/dev");

}  // namespace fenta21
