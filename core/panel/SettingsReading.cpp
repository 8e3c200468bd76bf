#include "core/panel/SettingsReading.h"

#include "core/panel/PanelContext.h"
#include "core/panel/MeasurementLines.h"
#include "core/panel/PanelModelRules.h"
#include "core/panel/PanelText.h"
#include "core/panel/ReplyScanner.h"
#include "core/panel/SettingValues.h"
#include "core/protocol/CommandExchange.h"
#include "core/protocol/ModelKinds.h"
#include "core/protocol/StationName.h"

#include <functional>

namespace fenta21 {
namespace {

using namespace PanelItem;

// One read of the session's start: a plain exchange whose reply, when accepted, is handed on.
int ask(PanelContext& session, const std::string& command, const std::function<void(const std::string&)>& use,
        int max = kSettingReplyMax) {
    std::string reply;
    int result = sendCommand(session, command, reply, max);
    if (result == kAccepted) use(reply);
    return result;
}

void setIfRead(PanelContext& session, int item, const std::optional<std::string>& value) {
    if (value) session.panel.setValue(item, *value);
}

void storeTime(PanelContext& session, const std::string& reply) {
    if (auto time = parseLoggerTime(reply)) {
        session.panel.setValue(kTime, timeValue(*time));
        session.panel.setValue(kDate, dateValue(*time));
    }
}

void storeOffset(PanelContext& session, const std::string& reply) {
    std::optional<double> offset = leadingDecimal(reply);
    if (offset) setIfRead(session, kOffset, offsetValue(session.panel.offsetDigit.load(), *offset));
}

}  // namespace

void storeZeroReply(PanelContext& session, int channel, const std::string& reply) {
    session.panel.setValue(kZeroSet, zeroSetValue(reply));
    session.panel.zeroSetting.set({channel, leadingInteger(reply).value_or(-1)});
}

void storeModeReply(PanelContext& session, int channel, const std::string& reply) {
    CurrentModel model = session.panel.model.get();
    std::string line = modeLine(model, channel, reply);
    session.panel.changeTexts([&](PanelTexts& t) {
        t.modeLine = line;
        t.values[kMode] = cutToWidth(line, kDisplayColumns);
    });
    session.panel.modeSetting.set({channel, leadingInteger(reply).value_or(-1)});
}

namespace {

// The family's extra settings, read after the common ones.
int readFamilySettings(PanelContext& session, int kind) {
    if (hasWaveAndOffset(kind)) {
        int result = ask(session, "digit", [&](const std::string& reply) {
            session.panel.offsetDigit.store(leadingInteger(reply).value_or(-1));
        });
        if (result == kAccepted) result = ask(session, "offs0", [&](const std::string& r) { storeOffset(session, r); });
        if (result == kAccepted)
            result = ask(session, "wave", [&](const std::string& reply) {
                if (auto code = leadingInteger(reply)) setIfRead(session, kWaveCanceler, waveCancelerValue(*code));
            });
        return result;
    }
    if (kind == ModelKind::kQS) return ask(session, "zero", [&](const std::string& r) { storeZeroReply(session, 0, r); });
    if (zeroesEachChannel(kind))
        return ask(session, "zero0", [&](const std::string& r) { storeZeroReply(session, 0, r); });
    return kAccepted;
}

}  // namespace

int readAllSettings(PanelContext& session) {
    PanelState& panel = session.panel;
    // A new logger starts from blank values and the offset bounds of no logger in particular.
    panel.changeTexts([](PanelTexts& t) {
        t.values.fill(std::string(kDisplayColumns, ' '));
        t.dataLine1.clear();
        t.dataLine2.clear();
        t.monitorLine.clear();
        t.modeLine.clear();
    });
    panel.offsetLimits.set(OffsetLimits{});
    panel.offsetDigit.store(-1);
    panel.modeSetting.set({});
    panel.zeroSetting.set({});

    int identified = kAccepted;
    struct Read {
        const char* command;
        std::function<void(const std::string&)> use;
        int max = kSettingReplyMax;
    };
    const Read reads[] = {
        // The name may be longer than any setting.
        {"eerm0", [&](const std::string& r) { session.panelStationId.set(loggerText(r)); }, kStationNameReplyMax},
        {"xerm0",
         [&](const std::string& r) {
             CurrentModel model;
             identified = session.models.identifyModel(r, &model);
             if (identified == kAccepted) panel.model.set(model);
         }},
        {"rome", [&](const std::string& r) { panel.setValue(kRomVersion, plainValue(r)); }},
        {"batt", [&](const std::string& r) { setIfRead(session, kBatt, batteryValue(r)); }},
        {"memo1", [&](const std::string& r) { panel.setValue(kMemo, memoValue(r)); }},
        {"radj", [&](const std::string& r) { panel.setValue(kRtcAdjust, plainValue(r)); }},
        {"coms", [&](const std::string& r) { panel.setValue(kComSpeed, comSpeedValue(r)); }},
        {"after",
         [&](const std::string& r) {
             if (auto start = parseAfterStart(r)) panel.setValue(kAfterStart, afterStartValue(*start));
         }},
        {"pretm",
         [&](const std::string& r) {
             if (auto setting = presetTimerSetting(r)) panel.setValue(kPresetTimer, presetTimerValue(*setting));
         }},
        {"intv", [&](const std::string& r) { panel.setValue(kInterval, intervalValue(r)); }},
        {"time", [&](const std::string& r) { storeTime(session, r); }},
    };
    for (const Read& read : reads) {
        int result = ask(session, read.command, read.use, read.max);
        if (result != kAccepted) return result;
        if (identified != kAccepted) return kErrorReply;
    }
    return readFamilySettings(session, panel.model.get().kindNumber);
}

void refreshOnMove(PanelContext& session, int item) {
    if (item == kBatt) {
        std::string reply;
        if (sendCommandReport(session, "batt", reply, kSettingReplyMax) == kAccepted)
            setIfRead(session, kBatt, batteryValue(reply));
    } else if (item == kData) {
        readDataRecord(session, 0, true);
    } else if (item == kMode) {
        readChannelMode(session, 0);
    }
}

int readLoggerTime(PanelContext& session) {
    std::string reply;
    int result = sendCommandReport(session, "time", reply, kSettingReplyMax);
    if (result == kAccepted) storeTime(session, reply);
    return result;
}

int readDataRecord(PanelContext& session, int index, bool firstLook) {
    std::string reply;
    std::string command = firstLook ? std::string("data") : "data" + std::to_string(index);
    int result = sendCommandReport(session, command, reply, kLongReplyMax);
    if (result != kAccepted) return result;
    std::optional<DataRecord> record = parseDataReply(reply);
    if (!record) return result;
    CurrentModel model = session.panel.model.get();
    std::string line1 = dataLine1(*record), line2 = dataLine2(*record, model);
    session.panel.changeTexts([&](PanelTexts& t) {
        t.dataLine1 = line1;
        t.dataLine2 = line2;
        t.values[kData] = keepEnd(line2, kDisplayColumns);
    });
    return result;
}

int readChannelMode(PanelContext& session, int channel) {
    std::string reply;
    int result = sendCommandReport(session, "mode" + std::to_string(channel), reply, kSettingReplyMax);
    if (result == kAccepted) storeModeReply(session, channel, reply);
    return result;
}

int readChannelZero(PanelContext& session, int channel) {
    std::string reply;
    int result = sendCommandReport(session, "zero" + std::to_string(channel), reply, kSettingReplyMax);
    if (result == kAccepted) storeZeroReply(session, channel, reply);
    return result;
}

int readMonitor(PanelContext& session, bool blink) {
    CurrentModel model = session.panel.model.get();
    const int kind = model.kindNumber;
    std::string command;
    int max = kSettingReplyMax;
    int channel = session.panel.channelIndex.load();
    if (isWindFamily(kind)) {
        command = "moni3";
        max = kLongReplyMax;
    } else {
        if (monitorsUpperChannels(kind)) {
            channel = monitorChannel(kind, channel);
            session.panel.channelIndex.store(channel);
            max = kLongReplyMax;
        }
        command = "moni" + std::to_string(channel);
    }
    // The monitor is polled on every other tick: a failed read leaves the line as it was
    // instead of raising a message each second.
    std::string reply;
    int result = sendCommand(session, command, reply, max);
    if (result != kAccepted) return result;
    std::string line = monitorLine(model, channel, reply, blink);
    session.panel.changeTexts([&](PanelTexts& t) {
        t.monitorLine = line;
        t.values[kMonitor] = keepEnd(line, kDisplayColumns);
    });
    return result;
}

}  // namespace fenta21
