#include "core/panel/MeasurementLines.h"

#include "core/base/Cp932.h"
#include "core/datafile/ValueFormatter.h"
#include "core/panel/ChannelLabels.h"
#include "core/panel/PanelModelRules.h"
#include "core/panel/PanelText.h"
#include "core/panel/ReplyScanner.h"

#include <algorithm>
#include <cstdio>

namespace fenta21 {
namespace {

constexpr std::size_t kLabelColumns = 7;

const KindTable& kindsOf(const CurrentModel& model) {
    static const KindTable kNone;
    return model.kinds ? *model.kinds : kNone;
}

// The two-kind form of the wind logger and HBLTZ: the second kind's value (its leading two
// columns dropped, seven columns) before the first kind's.
std::optional<std::string> twoKindReading(const CurrentModel& model, std::string_view reply) {
    int kind1 = 0, value1 = 0, kind2 = 0, value2 = 0;
    ReplyScanner scanner(reply);
    if (!(scanner.integer(kind1) && scanner.literal(',') && scanner.integer(value1) && scanner.literal(',') &&
          scanner.integer(kind2) && scanner.literal(',') && scanner.integer(value2)))
        return std::nullopt;
    std::string second = formatKindValue(kind2, value2, kindsOf(model));
    return cutToWidth(tailFrom(second, 2), kLabelColumns) + formatKindValue(kind1, value1, kindsOf(model));
}

std::optional<std::string> channelReading(const CurrentModel& model, int channel, std::string_view reply, bool blink) {
    int kind = 0, value = 0;
    ReplyScanner scanner(reply);
    if (!(scanner.integer(kind) && scanner.literal(',') && scanner.integer(value))) return std::nullopt;
    std::string label = blink ? monitorBlinkLabel(model) : monitorChannelLabel(model, channel);
    return cutToWidth(label, kLabelColumns) + formatKindValue(kind, value, kindsOf(model));
}

}  // namespace

std::optional<DataRecord> parseDataReply(std::string_view reply) {
    DataRecord r;
    ReplyScanner s(reply);
    bool ok = s.digits(r.year, 2) && s.literal('/') && s.digits(r.month, 2) && s.literal('/') &&
              s.digits(r.day, 2) && s.literal(',') && s.digits(r.hour, 2) && s.literal(':') &&
              s.digits(r.minute, 2) && s.literal(':') && s.digits(r.second, 2) && s.literal(',') &&
              s.integer(r.channel) && s.literal(',') && s.integer(r.kind) && s.literal(',') && s.integer(r.value);
    if (!ok) return std::nullopt;
    return r;
}

std::string dataLine1(const DataRecord& r) {
    char text[64];
    std::snprintf(text, sizeof text, "Data %02d-%02d:%02d:%02d", r.day, r.hour, r.minute, r.second);
    return cutToWidth(text, kMeasurementColumns);
}

std::string dataLine2(const DataRecord& record, const CurrentModel& model) {
    return rightAligned(dataChannelLabel(model, record.channel) + formatValueWithUnit(record, kindsOf(model)),
                        kMeasurementColumns);
}

std::string modeLine(const CurrentModel& model, int channel, std::string_view reply) {
    std::string label = modeChannelLabel(model, channel);
    if (namesChannels(model.kindNumber)) {
        std::string state = reply.substr(0, 3) == "127" ? "Disable" : " Enable";
        return leftAligned(label + state, kMeasurementColumns);
    }
    return leftAligned(label + loggerText(tailFrom(reply, 4)), kMeasurementColumns);
}

std::string modeBlinkLine(const CurrentModel& model, std::string_view line) {
    constexpr std::size_t kNumberStart = 4;  // after "  ch"
    constexpr std::size_t kNamedBlank = 8;
    std::string cp932 = utf8ToCp932(line);
    if (!namesChannels(model.kindNumber)) {
        // The channel number is blanked and nothing after it is shown meanwhile.
        return cp932ToUtf8(std::string_view(cp932).substr(0, cp932PrefixLength(cp932, kNumberStart))) + "  ";
    }
    // The first eight columns go blank whatever stands there: a short name takes the start of
    // "Disable" or " Enable" with it. A double-byte character across the edge goes whole.
    std::size_t blank = cp932PrefixLength(cp932, kNamedBlank);
    if (blank < kNamedBlank && blank < cp932.size()) blank = std::min(cp932.size(), blank + 2);
    return std::string(blank, ' ') + cp932ToUtf8(std::string_view(cp932).substr(blank));
}

int monitorChannel(int modelKind, int channelIndex) {
    if (!monitorsUpperChannels(modelKind)) return channelIndex;
    if (channelIndex > 5) channelIndex = 0;
    if (channelIndex < 3) channelIndex = 3;
    return channelIndex;
}

std::string monitorLine(const CurrentModel& model, int channel, std::string_view reply, bool blink) {
    std::optional<std::string> reading = isWindFamily(model.kindNumber) || monitorsUpperChannels(model.kindNumber)
                                              ? twoKindReading(model, reply)
                                              : channelReading(model, channel, reply, blink);
    return rightAligned(reading ? *reading : loggerText(reply), kMeasurementColumns);
}

}  // namespace fenta21
