#include "core/panel/DialogLists.h"

#include "core/panel/PanelModelRules.h"
#include "core/panel/SettingValues.h"
#include "core/protocol/ModelKinds.h"

#include <algorithm>
#include <array>

namespace fenta21 {
namespace {

constexpr std::array<std::string_view, kIntervalCodeCount> kIntervalLabels = {
    "1sec",  "2sec",  "3sec",  "4sec",  "5sec",  "6sec",  "10sec", "12sec", "15sec", "20sec", "30sec",
    "1min",  "2min",  "3min",  "4min",  "5min",  "6min",  "10min", "12min", "15min", "20min", "30min",
    "1hour", "2hour", "3hour", "4hour", "6hour", "8hour", "12hour", "24hour", "EXTin"};

void addRange(std::vector<int>& codes, int first, int last) {
    for (int code = first; code <= last; ++code) codes.push_back(code);
}

// A line of the kind table as a choice: its kind code, named by the kind's own name (the
// line's label names the channel, not what it records).
std::optional<ModeChoice> kindLine(const KindTable& kinds, int position) {
    if (position < 0 || static_cast<std::size_t>(position) >= kinds.lines.size()) return std::nullopt;
    const KindLine& line = kinds.lines[static_cast<std::size_t>(position)];
    std::string name;
    if (line.kind >= 0 && line.kind < kKindCount) name = kinds.kinds[static_cast<std::size_t>(line.kind)].name;
    return ModeChoice{line.kind, name};
}

}  // namespace

std::vector<std::string> presetTimerEntries(int modelKind) {
    std::vector<std::string> entries{"OFF"};
    for (int minutes = 1; minutes <= 59; ++minutes) entries.push_back(std::to_string(minutes) + "min");
    if (hasSecondPresets(modelKind))
        for (int seconds = 0; seconds <= 30; ++seconds) entries.push_back(std::to_string(seconds) + "sec");
    return entries;
}

std::optional<std::string_view> intervalLabel(int code) {
    if (code < 0 || code >= kIntervalCodeCount) return std::nullopt;
    return kIntervalLabels[static_cast<std::size_t>(code)];
}

std::vector<int> intervalCodesOffered(int modelKind) {
    using namespace ModelKind;
    std::vector<int> codes;
    switch (modelKind) {
    case kWNDA:
        addRange(codes, 0, 17);
        addRange(codes, 20, 22);
        break;
    case kQP: addRange(codes, 6, 22); break;
    case kCM:
        codes.push_back(17);
        addRange(codes, 20, 29);
        break;
    case kRGT1: case kFLKB: case kCMLOGR: case kXCMLOGR: case kGAPD: case kFLKA: case kQ4: case kQ8: case kRP8:
    case kRS8:
        addRange(codes, 11, 30);
        break;
    default: addRange(codes, 0, 30);
    }
    return codes;
}

IntervalChoices intervalChoices(int modelKind, int currentCode) {
    IntervalChoices choices;
    choices.codes = intervalCodesOffered(modelKind);
    for (int code : choices.codes) choices.labels.emplace_back(*intervalLabel(code));
    auto found = std::find(choices.codes.begin(), choices.codes.end(), currentCode);
    if (found != choices.codes.end()) choices.preselected = static_cast<int>(found - choices.codes.begin());
    return choices;
}

std::vector<std::string> waveCancelerEntries() {
    std::vector<std::string> entries;
    for (int code = 0; auto name = waveCancelerName(code); ++code) entries.emplace_back(*name);
    return entries;
}

std::vector<std::string> zeroEntries() { return {"    Zero", " Default"}; }

std::vector<ModeChoice> modeChoices(int modelKind, int channel, const KindTable& kinds) {
    using namespace ModelKind;
    std::vector<ModeChoice> choices;
    auto add = [&](int position) {
        if (auto choice = kindLine(kinds, position)) choices.push_back(*choice);
    };
    const ModeChoice disabled{kDisabledMode, "Disable"};

    if (namesChannels(modelKind)) {
        if (auto own = kindLine(kinds, channel)) choices.push_back({own->code, " Enable"});
        choices.push_back(disabled);
        return choices;
    }
    switch (modelKind) {
    case kWNDA: {
        constexpr int kWindPositions[] = {0, 2, 5, 8, 10};
        if (channel >= 0 && channel < 5) add(kWindPositions[channel]);
        choices.push_back(disabled);
        break;
    }
    case kLVLA: case kSEAL: case kGAPD:
        add(channel);
        choices.push_back(disabled);
        break;
    case kSEAL2:
        add(std::min(channel, 7));
        choices.push_back(disabled);
        break;
    case kQS: case kLVPQ:
        if (channel == 0) {
            add(2);
        } else {
            add(0);
            add(1);
        }
        choices.push_back(disabled);
        break;
    default:
        for (std::size_t position = 0; position < kinds.lines.size(); ++position) add(static_cast<int>(position));
    }
    return choices;
}

int choicePosition(const std::vector<ModeChoice>& choices, int code) {
    for (std::size_t i = 0; i < choices.size(); ++i)
        if (choices[i].code == code) return static_cast<int>(i);
    return -1;
}

}  // namespace fenta21
