#pragma once

#include "core/protocol/ModelRegistry.h"

#include <optional>
#include <string>
#include <string_view>

namespace fenta21 {

// The label in front of a channel's value on the Data, Mode and Monitor lines.
//  - the weather loggers: a blank and the channel's name from the kind table, cut to seven
//    columns and not padded (" 温度");
//  - the wind logger: its channel labels (" Mean  ", " insMAX", ...) on the Data and Monitor
//    lines; its Mode line numbers the channel like every other model's;
//  - every other model: the channel number counted from 1, in each line's own form.

// The wind labels of channels 0-10; nothing beyond.
std::optional<std::string_view> windChannelLabel(int channel);

// The kind table's name for a channel, empty when the table has no such line.
std::string channelName(const CurrentModel& model, int channel);

std::string dataChannelLabel(const CurrentModel& model, int channel);     // "  ch 1 "
std::string modeChannelLabel(const CurrentModel& model, int channel);     // "  ch 1 "
std::string monitorChannelLabel(const CurrentModel& model, int channel);  // "ch 1 "

// The monitor label in the blink phase of its sub-list: blanks where the channel shows.
std::string monitorBlinkLabel(const CurrentModel& model);

}  // namespace fenta21
