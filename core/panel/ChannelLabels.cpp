#include "core/panel/ChannelLabels.h"

#include "core/panel/PanelModelRules.h"
#include "core/panel/PanelText.h"

#include <array>
#include <cstdio>

namespace fenta21 {
namespace {

constexpr std::array<std::string_view, 11> kWindLabels = {" Mean  ", " Mean  ", " insMAX", " insMAX",
                                                         " insMAX", " menMAX", " menMAX", " menMAX",
                                                         " inst  ", " inst  ", " NEDO  "};
constexpr std::size_t kLabelColumns = 7;

std::string numbered(const char* format, int channel) {
    char text[32];
    std::snprintf(text, sizeof text, format, channel + 1);
    return text;
}

// The label shared by the three lines for the wind and weather loggers; empty otherwise.
std::string familyLabel(const CurrentModel& model, int channel) {
    if (isWindFamily(model.kindNumber)) {
        if (auto label = windChannelLabel(channel)) return std::string(*label);
        return {};
    }
    if (namesChannels(model.kindNumber)) return leftAligned(" " + channelName(model, channel), kLabelColumns);
    return {};
}

bool hasFamilyLabel(const CurrentModel& model, int channel) {
    return (isWindFamily(model.kindNumber) && windChannelLabel(channel)) || namesChannels(model.kindNumber);
}

}  // namespace

std::optional<std::string_view> windChannelLabel(int channel) {
    if (channel < 0 || channel >= static_cast<int>(kWindLabels.size())) return std::nullopt;
    return kWindLabels[static_cast<std::size_t>(channel)];
}

std::string channelName(const CurrentModel& model, int channel) {
    if (!model.kinds || channel < 0 || static_cast<std::size_t>(channel) >= model.kinds->lines.size()) return {};
    return model.kinds->lines[static_cast<std::size_t>(channel)].label;
}

std::string dataChannelLabel(const CurrentModel& model, int channel) {
    if (hasFamilyLabel(model, channel)) return familyLabel(model, channel);
    return rightAligned(numbered("ch %d ", channel), kLabelColumns);
}

std::string modeChannelLabel(const CurrentModel& model, int channel) {
    if (hasFamilyLabel(model, channel)) return familyLabel(model, channel);
    return numbered("  ch%2d ", channel);
}

std::string monitorChannelLabel(const CurrentModel& model, int channel) {
    if (hasFamilyLabel(model, channel)) return familyLabel(model, channel);
    return numbered("ch%2d ", channel);
}

std::string monitorBlinkLabel(const CurrentModel& model) {
    return namesChannels(model.kindNumber) || isWindFamily(model.kindNumber) ? std::string(kLabelColumns, ' ')
                                                                             : std::string("ch   ");
}

}  // namespace fenta21
