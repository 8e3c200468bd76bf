#pragma once

#include "core/datafile/DataRecord.h"
#include "core/protocol/ModelRegistry.h"

#include <optional>
#include <string>
#include <string_view>

namespace fenta21 {

// The Data, Mode and Monitor lines: measurements the logger reports, as the panel's second
// line shows them (seventeen columns; the display keeps the first sixteen).
inline constexpr std::size_t kMeasurementColumns = 17;

// "data" and "data<n>": "%02d/%02d/%02d,%02d:%02d:%02d,%d,%d,%d" (date, time, channel, kind,
// value). Nothing unless every field reads.
std::optional<DataRecord> parseDataReply(std::string_view reply);
std::string dataLine1(const DataRecord& record);  // "Data %02d-%02d:%02d:%02d"
std::string dataLine2(const DataRecord& record, const CurrentModel& model);

// "mode<n>": the mode code and its name from the fifth character on, after "  ch%2d ". The
// weather loggers show only whether the channel is on (code 127 is off) after its name.
std::string modeLine(const CurrentModel& model, int channel, std::string_view reply);
// The mode line in the blink phase of its sub-list: the weather loggers' first eight columns
// blank; for the others the two columns after "  ch" blank and the line ending there.
std::string modeBlinkLine(const CurrentModel& model, std::string_view line);

// The channel a monitor reading is asked for: HBLTZ monitors only channels 3-5.
int monitorChannel(int modelKind, int channelIndex);
// "moni3" (wind, HBLTZ: two kinds and values) or "moni<n>" (kind and value). A reply that does
// not read is shown as it came.
std::string monitorLine(const CurrentModel& model, int channel, std::string_view reply, bool blink);

}  // namespace fenta21
