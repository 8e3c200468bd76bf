// The panel's reply parsers and value texts, for every installed model. The first byte
// chooses the channel and the blink phase, the rest is the logger's reply. A value text fills
// its display columns exactly, never holds half a character, and a shown preset timer reads
// back as the setting it shows.
#include "core/panel/MeasurementLines.h"
#include "core/panel/PanelItems.h"
#include "core/panel/PanelText.h"
#include "core/panel/ReplyScanner.h"
#include "core/panel/SettingValues.h"
#include "tests/fuzz/support/FuzzCheck.h"
#include "tests/fuzz/support/FuzzText.h"
#include "tests/fuzz/support/InstalledModels.h"

#include <cmath>

using namespace fenta21;

namespace {

void checkColumns(const std::string& text, std::size_t columns) {
    FUZZ_CHECK(fuzz::isValidUtf8(text));
    FUZZ_CHECK(displayWidth(text) == columns);
}

void checkOptional(const std::optional<std::string>& text) {
    if (text) checkColumns(*text, kDisplayColumns);
}

// What every model reads the same way.
void settingReplies(std::string_view reply) {
    checkOptional(batteryValue(reply));
    if (std::optional<int> setting = presetTimerSetting(reply)) {
        std::string shown = presetTimerValue(*setting);
        checkColumns(shown, kDisplayColumns);
        FUZZ_CHECK(presetTimerSettingOfValue(shown) == setting);
    }
    if (auto start = parseAfterStart(reply)) checkColumns(afterStartValue(*start), kDisplayColumns);
    if (auto time = parseLoggerTime(reply)) {
        checkColumns(timeValue(*time), kDisplayColumns);
        checkColumns(dateValue(*time), kDisplayColumns);
    }
    if (std::optional<double> offset = leadingDecimal(reply)) {
        for (int digit = 0; digit <= 2; ++digit) checkOptional(offsetValue(digit, *offset));
        for (int decimals = 0; decimals <= 6; ++decimals) {
            std::string text = fixedDecimal(*offset, decimals);
            if (std::isfinite(*offset)) FUZZ_CHECK(wholeDecimal(text).has_value());
        }
    }
    if (std::optional<int> code = leadingInteger(reply)) checkOptional(waveCancelerValue(*code));
    for (const std::string& text : {comSpeedValue(reply), intervalValue(reply), zeroSetValue(reply), plainValue(reply),
                                    memoValue(reply)})
        checkColumns(text, kDisplayColumns);
    FUZZ_CHECK(fuzz::isValidUtf8(loggerText(reply)));
    wholeInteger(reply);
}

void measurementReplies(const CurrentModel& model, int channel, bool blink, std::string_view reply) {
    if (std::optional<DataRecord> record = parseDataReply(reply)) {
        FUZZ_CHECK(displayWidth(dataLine1(*record)) <= kMeasurementColumns);
        checkColumns(dataLine2(*record, model), kMeasurementColumns);
    }
    std::string mode = modeLine(model, channel, reply);
    checkColumns(mode, kMeasurementColumns);
    FUZZ_CHECK(fuzz::isValidUtf8(modeBlinkLine(model, mode)));
    checkColumns(monitorLine(model, monitorChannel(model.kindNumber, channel), reply, blink), kMeasurementColumns);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const int channel = data[0] & 0x0F;
    const bool blink = data[0] & 0x10;
    std::string_view reply(reinterpret_cast<const char*>(data + 1), size - 1);
    settingReplies(reply);
    for (const CurrentModel& model : fuzz::installedModels()) measurementReplies(model, channel, blink, reply);
    return 0;
}
