#include "core/panel/MeasurementLines.h"

#include "core/datafile/ValueFormatter.h"
#include "core/panel/ChannelLabels.h"
#include "core/panel/PanelModelRules.h"
#include "core/panel/PanelText.h"
#include "core/panel/ReplyScanner.h"

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

std::string modeLine(const CurrentModel& model, int channel, std::string_view reply, bool blink) {
    if (namesChannels(model.kindNumber)) {
        std::string label = blink ? std::string(kLabelColumns, ' ') : modeChannelLabel(model, channel);
        std::string state = reply.substr(0, 3) == "127" ? "Disable" : " Enable";
        return leftAligned(label + state, kMeasurementColumns);
    }
    std::string name = loggerText(tailFrom(reply, 4));
    // The wind labels blink as the channel names do; the numbered channels blink their
    // number and show nothing after it meanwhile.
    if (blink && isWindFamily(model.kindNumber) && windChannelLabel(channel))
        return leftAligned(std::string(kLabelColumns, ' ') + name, kMeasurementColumns);
    if (blink) return "  ch  ";
    return leftAligned(modeChannelLabel(model, channel) + name, kMeasurementColumns);
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
