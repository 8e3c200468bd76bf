#pragma once

#include "core/serial/SerialAdapters.h"

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace fenta21 {

struct ComPortEntry;

// Users speak of COM1 to COM9. The text file comports.txt in the home folder maps them to
// devices, one line "COMn PATH" per port ('#' starts a comment). The ports without a line take
// the serial adapters the system has that no line maps, USB and ACM adapters first, in order:
// one device never answers under two numbers. A line that cannot be used leaves its number
// without a device, so a mistake in the file is never covered up by a guess.
class ComPortMap {
public:
    static constexpr int kPorts = 9;
    // Far more than nine lines and their comments take; a file is read up to this many bytes.
    static constexpr std::size_t kMostFileBytes = 64 * 1024;

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

    // COM1 to COM9 in order, each with the device it leads to now and why.
    std::vector<ComPortEntry> entries(const std::vector<std::string>& adapters) const;

    // The file's text with COMn mapped to `device`: the first line that names COMn is
    // replaced, later ones are dropped (the file said two things about it), and without one
    // the line is added at the end. Comments and the other lines stay as they are.
    static std::string withMapping(std::string_view text, int portNumber, const std::string& device);

private:
    void refuse(int lineNumber, const std::string& line, int portNumber, const std::string& why);

    std::array<std::string, kPorts> paths_;
    std::array<std::string, kPorts> refused_;
    std::vector<std::string> problems_;
};

struct ComPortEntry {
    enum class Source {
        File,         // a line of comports.txt
        FreeAdapter,  // no line: the next adapter that no line maps
        Refused,      // a line that cannot be used: no device, on purpose
        None,         // no line and no adapter left
    };
    int number = 0;
    std::string device;
    Source source = Source::None;
    std::string problem;  // for Refused: "line N: text (why)"
};

// The port a word names: 1-9 for "COM1".."COM9" in any case, -1 for another COM number, 0
// when the word is not a COM port at all.
int comPortNumberOf(std::string_view word);

// The device paths of the system's serial adapters (see discoverSerialAdapters).
std::vector<std::string> systemSerialAdapters(const SerialRoots& roots = {});

}  // namespace fenta21
