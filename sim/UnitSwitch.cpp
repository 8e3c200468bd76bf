#include "sim/UnitSwitch.h"

#include "sim/BlockFrame.h"

#include <cstdio>
#include <stdexcept>

namespace fenta21::sim {
namespace {

// The same bound the loggers keep: no command is anywhere near this long.
constexpr std::size_t kLongestLine = 4096;

bool isLineEnd(char c) { return c == '\r' || c == '\n'; }

// The unit index of a selection line "_COM<n>", or -1.
int selectionIndex(const std::string& text) {
    int index = -1;
    char tail = 0;
    if (std::sscanf(text.c_str(), "_COM%d%c", &index, &tail) != 1) return -1;
    return index;
}

}  // namespace

UnitSwitch::UnitSwitch(int units) {
    if (units < 1) units = 1;
    for (int i = 0; i < units; ++i) {
        units_.push_back(std::make_unique<SimLogger>());
        // Each unit knows how many share the line, so it answers its own selection.
        units_.back()->setUnitCount(units);
    }
}

SimLogger& UnitSwitch::unit(int n) const {
    if (n < 1 || n > unitCount()) throw std::out_of_range("no unit " + std::to_string(n));
    return *units_[static_cast<std::size_t>(n - 1)];
}

std::string UnitSwitch::carry(std::string_view bytes) {
    std::string answers;
    for (char c : bytes) {
        SimLogger& selected = unit(selected_);
        if (line_.empty() && selected.transferPending()) {
            answers += selected.receive(std::string_view(&c, 1));
            continue;
        }
        line_.push_back(c);
        if (isLineEnd(c)) {
            std::string line = takeLine();
            const int index = selectionIndex(line.substr(0, line.size() - 1));
            if (index >= 0 && index < unitCount()) selected_ = index + 1;
            answers += unit(selected_).receive(line);
        } else if (line_.size() >= kLongestLine) {
            // Garbage without a line end: the unit drops it the way it drops its own.
            answers += selected.receive(takeLine());
        }
    }
    return answers;
}

void UnitSwitch::reset() {
    line_.clear();
    const char cancel = static_cast<char>(kCan);
    for (auto& unit : units_)
        if (unit->transferPending()) unit->receive(std::string_view(&cancel, 1));
    selected_ = 1;
}

std::string UnitSwitch::takeLine() {
    std::string line;
    line.swap(line_);
    return line;
}

}  // namespace fenta21::sim
