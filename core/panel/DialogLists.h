#pragma once

#include "core/protocol/KindTable.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace fenta21 {

// The fixed lists of the settings dialogs. A list dialog exchanges positions; what a position
// means to the logger is given here beside the list.

// Preset Timer: "OFF", "1min" ... "59min", and for the families that count seconds also
// "0sec" ... "30sec". The position is the setting written with "pretm=%d".
std::vector<std::string> presetTimerEntries(int modelKind);

// The 31 interval labels by code ("1sec" ... "24hour", "EXTin").
inline constexpr int kIntervalCodeCount = 31;
std::optional<std::string_view> intervalLabel(int code);
// The codes a model offers, in code order.
std::vector<int> intervalCodesOffered(int modelKind);

struct IntervalChoices {
    std::vector<std::string> labels;
    std::vector<int> codes;  // beside the labels: the code of each position
    int preselected = -1;    // the position of the current code; -1 when it is not offered
};
IntervalChoices intervalChoices(int modelKind, int currentCode);

// Wave canceler: the position is the code.
std::vector<std::string> waveCancelerEntries();
// Zero point: "    Zero" (0) and " Default" (1).
std::vector<std::string> zeroEntries();

// One choice of the mode dialog: the code written with "mode<n>=%d" and its name.
struct ModeChoice {
    int code = 0;
    std::string name;
};
inline constexpr int kDisabledMode = 127;

// The choices for one channel, by model family; entries that the kind table lacks are left
// out rather than read from beyond it.
std::vector<ModeChoice> modeChoices(int modelKind, int channel, const KindTable& kinds);
// The position whose code is `code`, or -1.
int choicePosition(const std::vector<ModeChoice>& choices, int code);

}  // namespace fenta21
