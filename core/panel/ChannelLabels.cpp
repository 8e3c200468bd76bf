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

// The channel counted from 1. The channel of a "data" reply is whatever number the logger
// sent, so the count is taken one size wider: the largest int still gets its successor.
std::string numbered(const char* format, int channel) {
    char text[32];
    std::snprintf(text, sizeof text, format, static_cast<long long>(channel) + 1);
    return text;
}

// The weather loggers' label: a blank and the channel's name, cut but never padded, so a
// short name brings what follows it closer.
std::string namedLabel(const CurrentModel& model, int channel) {
    return cutToWidth(" " + channelName(model, channel), kLabelColumns);
}

// The wind logger's label on the Data and Monitor lines, where it has one for the channel.
std::optional<std::string> windLabel(const CurrentModel& model, int channel) {
    if (!isWindFamily(model.kindNumber)) return std::nullopt;
    if (auto label = windChannelLabel(channel)) return std::string(*label);
    return std::nullopt;
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
    if (namesChannels(model.kindNumber)) return namedLabel(model, channel);
    if (auto label = windLabel(model, channel)) return *label;
    return rightAligned(numbered("ch %lld ", channel), kLabelColumns);
}

// The wind logger numbers its channels here as the loggers without names do.
std::string modeChannelLabel(const CurrentModel& model, int channel) {
    if (namesChannels(model.kindNumber)) return namedLabel(model, channel);
    return numbered("  ch%2lld ", channel);
}

std::string monitorChannelLabel(const CurrentModel& model, int channel) {
    if (namesChannels(model.kindNumber)) return namedLabel(model, channel);
    if (auto label = windLabel(model, channel)) return *label;
    return numbered("ch%2lld ", channel);
}

std::string monitorBlinkLabel(const CurrentModel& model) {
    return namesChannels(model.kindNumber) || isWindFamily(model.kindNumber) ? std::string(kLabelColumns, ' ')
                                                                             : std::string("ch   ");
}

}  // namespace fenta21
