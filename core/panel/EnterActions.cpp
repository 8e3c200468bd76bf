#include "core/panel/EnterActions.h"

#include "core/panel/PanelContext.h"
#include "core/base/Cp932.h"
#include "core/panel/DialogChecks.h"
#include "core/panel/DialogLists.h"
#include "core/panel/PanelModelRules.h"
#include "core/panel/PanelText.h"
#include "core/panel/PcClock.h"
#include "core/panel/ReplyScanner.h"
#include "core/panel/SettingValues.h"
#include "core/panel/SettingsReading.h"
#include "core/protocol/CommandExchange.h"

#include <cstdio>

namespace fenta21 {
namespace {

using namespace PanelItem;

int kindOf(PanelContext& session) { return session.panel.model.get().kindNumber; }

int plainRead(PanelContext& session, const std::string& command, std::string& reply) {
    return sendCommand(session, command, reply, kSettingReplyMax);
}

int reportedRead(PanelContext& session, const std::string& command, std::string& reply) {
    return sendCommandReport(session, command, reply, kLongReplyMax);
}

int write(PanelContext& session, const std::string& command, std::string& reply) {
    return sendCommandReport(session, command, reply, kLongReplyMax);
}

std::string formatted(const char* format, int a) {
    char text[64];
    std::snprintf(text, sizeof text, format, a);
    return text;
}

int enterMemo(PanelContext& session, PanelDialogs& dialogs) {
    EditDialog dialog;
    dialog.id = DialogId::kMemo;
    dialog.caption = "メモ設定";
    for (int n = 1; n <= kMemoCount; ++n) {
        std::string reply;
        int result = reportedRead(session, "memo" + std::to_string(n), reply);
        if (result != kAccepted) return result;
        dialog.labels.push_back(memoLabel(n));
        dialog.fields.push_back(loggerText(reply));
    }
    dialog.check = checkMemos;
    if (dialogs.edit(dialog) != DialogEnd::Ok || !checkMemos(dialog.fields).empty()) return kDialogNotOk;
    for (int n = 1; n <= kMemoCount; ++n) {
        std::string reply;
        std::string text = n <= static_cast<int>(dialog.fields.size()) ? dialog.fields[static_cast<std::size_t>(n - 1)] : "";
        int result = write(session, "memo" + std::to_string(n) + "=" + utf8ToCp932(text), reply);
        if (result != kAccepted) return result;
        if (n == 1) session.panel.setValue(kMemo, memoValue(reply));
    }
    return kAccepted;
}

int enterRtcAdjust(PanelContext& session, PanelDialogs& dialogs) {
    EditDialog dialog;
    dialog.id = DialogId::kRtcAdjust;
    dialog.caption = "RTC時間補正値設定";
    dialog.labels = {""};
    std::optional<int> current = leadingInteger(session.panel.value(kRtcAdjust));
    dialog.fields = {current ? std::to_string(*current) : std::string()};
    dialog.check = checkRtcAdjustment;
    if (dialogs.edit(dialog) != DialogEnd::Ok) return kDialogNotOk;
    std::optional<int> value = dialog.fields.size() == 1 ? readRtcAdjustment(dialog.fields[0]) : std::nullopt;
    if (!value) return kDialogNotOk;
    std::string reply;
    int result = write(session, formatted("radj=%d", *value), reply);
    if (result == kAccepted) session.panel.setValue(kRtcAdjust, plainValue(reply));
    return result;
}

int chooseZero(PanelContext& session, PanelDialogs& dialogs, const std::string& name, int channel, int preselected) {
    ListDialog dialog;
    dialog.id = DialogId::kZero;
    dialog.caption = "歪み入力のZERO点設定";
    dialog.entries = zeroEntries();
    dialog.preselected = preselectable(preselected, dialog.entries);
    auto chosen = chooseEntry(dialogs, dialog);
    if (!chosen) return kDialogNotOk;
    std::string reply;
    int result = write(session, name + "=" + std::to_string(*chosen), reply);
    if (result != kAccepted) return result;
    storeZeroReply(session, channel, reply);
    return result;
}

int enterZeroSet(PanelContext& session, PanelDialogs& dialogs) {
    std::string reply;
    int result = plainRead(session, "zero", reply);
    if (result != kAccepted) return result;
    return chooseZero(session, dialogs, "zero", 0, leadingInteger(reply).value_or(-1));
}

int enterWaveCanceler(PanelContext& session, PanelDialogs& dialogs) {
    std::string reply;
    int result = plainRead(session, "wave", reply);
    if (result != kAccepted) return result;
    ListDialog dialog;
    dialog.id = DialogId::kWaveCanceler;
    dialog.caption = "波消し機能設定";
    dialog.entries = waveCancelerEntries();
    dialog.preselected = preselectable(leadingInteger(reply).value_or(-1), dialog.entries);
    auto chosen = chooseEntry(dialogs, dialog);
    if (!chosen) return kDialogNotOk;
    result = write(session, formatted("wave=%d", static_cast<int>(*chosen)), reply);
    if (result != kAccepted) return result;
    if (auto written = leadingInteger(reply))
        if (auto value = waveCancelerValue(*written)) session.panel.setValue(kWaveCanceler, *value);
    return result;
}

int enterOffset(PanelContext& session, PanelDialogs& dialogs) {
    PanelState& panel = session.panel;
    std::string digitReply, offsetReply, upperReply, lowerReply;
    for (auto [command, reply] : {std::pair{"digit", &digitReply}, std::pair{"offs0", &offsetReply},
                                  std::pair{"limtu0", &upperReply}, std::pair{"limtl0", &lowerReply}}) {
        int result = plainRead(session, command, *reply);
        if (result != kAccepted) return result;
    }
    int digit = leadingInteger(digitReply).value_or(-1);
    panel.offsetDigit.store(digit);
    // Each bound is taken only when it reads; one that does not keeps the bound it had.
    OffsetLimits limits = panel.offsetLimits.get();
    if (auto upper = leadingDecimal(upperReply)) limits.upper = *upper;
    if (auto lower = leadingDecimal(lowerReply)) limits.lower = *lower;
    panel.offsetLimits.set(limits);

    EditDialog dialog;
    dialog.id = DialogId::kOffset;
    dialog.caption = "オフセット設定";
    dialog.labels = {""};
    dialog.unit = "m";
    std::optional<double> offset = leadingDecimal(offsetReply);
    dialog.fields = {!offset ? std::string() : digit >= 0 && digit <= 2 ? fixedDecimal(*offset, 4 - digit)
                                                                         : shortestDecimal(*offset)};
    dialog.check = [limits](const std::vector<std::string>& fields) { return checkOffset(fields, limits); };
    if (dialogs.edit(dialog) != DialogEnd::Ok) return kDialogNotOk;
    std::optional<double> entered = dialog.fields.size() == 1 ? readOffset(dialog.fields[0], limits) : std::nullopt;
    if (!entered) return kDialogNotOk;
    std::string reply;
    int result = write(session, "offs0=" + fixedDecimal(*entered, 6), reply);
    if (result != kAccepted) return result;
    if (auto written = leadingDecimal(reply))
        if (auto value = offsetValue(digit, *written)) panel.setValue(kOffset, *value);
    return result;
}

int enterAfterStart(PanelContext& session, PanelDialogs& dialogs) {
    std::string reply;
    int result = reportedRead(session, "after", reply);
    if (result != kAccepted) return result;
    EditDialog dialog;
    dialog.id = DialogId::kAfterStart;
    dialog.caption = "アフタースタート設定";
    dialog.labels = {"月/日", "時:分"};
    std::optional<AfterStart> current = parseAfterStart(reply);
    dialog.fields = current ? afterStartFields(*current) : std::vector<std::string>{"", ""};
    dialog.check = checkAfterStart;
    if (dialogs.edit(dialog) != DialogEnd::Ok) return kDialogNotOk;
    // Fields that do not read back would make a malformed command: nothing is sent.
    std::optional<AfterStart> start = readAfterStartFields(dialog.fields);
    if (!start) return kDialogNotOk;
    char command[64];
    std::snprintf(command, sizeof command, "after=%02d%02d%02d%02d", start->month, start->day, start->hour,
                  start->minute);
    result = write(session, command, reply);
    if (result != kAccepted) return result;
    if (auto written = parseAfterStart(reply)) session.panel.setValue(kAfterStart, afterStartValue(*written));
    return result;
}

int enterPresetTimer(PanelContext& session, PanelDialogs& dialogs) {
    ListDialog dialog;
    dialog.id = DialogId::kPresetTimer;
    dialog.caption = "プリセットタイマー設定";
    dialog.entries = presetTimerEntries(kindOf(session));
    dialog.preselected =
        preselectable(presetTimerSettingOfValue(session.panel.value(kPresetTimer)).value_or(-1), dialog.entries);
    auto chosen = chooseEntry(dialogs, dialog);
    if (!chosen) return kDialogNotOk;
    std::string reply;
    int result = write(session, formatted("pretm=%d", static_cast<int>(*chosen)), reply);
    if (result != kAccepted) return result;
    if (auto setting = presetTimerSetting(reply)) session.panel.setValue(kPresetTimer, presetTimerValue(*setting));
    return result;
}

int enterInterval(PanelContext& session, PanelDialogs& dialogs) {
    std::string reply;
    int result = reportedRead(session, "intv", reply);
    if (result != kAccepted) return result;
    IntervalChoices choices = intervalChoices(kindOf(session), leadingInteger(reply).value_or(-1));
    ListDialog dialog;
    dialog.id = DialogId::kInterval;
    dialog.caption = "インターバル設定";
    dialog.entries = choices.labels;
    dialog.preselected = choices.preselected;
    auto chosen = chooseEntry(dialogs, dialog);
    if (!chosen || *chosen >= choices.codes.size()) return kDialogNotOk;
    result = write(session, formatted("intv=%d", choices.codes[*chosen]), reply);
    if (result == kAccepted) session.panel.setValue(kInterval, intervalValue(reply));
    return result;
}

void storeTimeReply(PanelContext& session, const std::string& reply) {
    if (auto time = parseLoggerTime(reply)) {
        session.panel.setValue(kTime, timeValue(*time));
        session.panel.setValue(kDate, dateValue(*time));
    }
}

int enterDateTime(PanelContext& session, PanelDialogs& dialogs) {
    std::string reply;
    int result = reportedRead(session, "time", reply);
    if (result != kAccepted) return result;
    EditDialog dialog;
    dialog.id = DialogId::kDateTime;
    dialog.caption = "日付・時間設定";
    dialog.labels = {"年/月/日", "時:分:秒"};
    std::optional<LoggerTime> current = parseLoggerTime(reply);
    dialog.fields = current ? dateTimeFields(*current) : std::vector<std::string>{"", ""};
    dialog.check = checkDateTime;
    dialog.actionButton = "PCの日付・時間に同期設定";
    dialog.action = [&session] { setLoggerClockFromPc(session); };
    DialogEnd end = dialogs.edit(dialog);
    std::optional<LoggerTime> entered = readDateTimeFields(dialog.fields);
    if (end == DialogEnd::Ok && entered) {
        char command[64];
        std::snprintf(command, sizeof command, "time=%02d%02d%02d%02d%02d%02d", entered->year, entered->month,
                      entered->day, entered->hour, entered->minute, entered->second);
        result = write(session, command, reply);
    } else {
        // Cancelled, or set by the PC-clock button: what the logger's clock says now.
        result = reportedRead(session, "time", reply);
    }
    if (result == kAccepted) storeTimeReply(session, reply);
    if (result != kAccepted) return result;
    return end == DialogEnd::Ok && entered ? kAccepted : kDialogNotOk;
}

// The sub-list opens where its line stands: moving to the item started it at the first
// position, and a sub-list left and entered again goes on at the position it shows.
void openSubList(PanelContext& session) { session.panel.displayState.store(DisplayState::kSubList); }

}  // namespace

bool opensSubList(int item, int modelKind) {
    switch (item) {
    case kData: case kMode: return true;
    case kMonitor: return !isWindFamily(modelKind);
    case kZeroSet: return zeroesEachChannel(modelKind);
    default: return false;
    }
}

int enterItem(PanelContext& session, PanelDialogs& dialogs, int item) {
    const int kind = kindOf(session);
    if (opensSubList(item, kind)) {
        openSubList(session);
        return kAccepted;
    }
    int result = kAccepted;
    switch (item) {
    case kMemo: result = enterMemo(session, dialogs); break;
    case kRtcAdjust: result = enterRtcAdjust(session, dialogs); break;
    case kZeroSet: result = hasZeroSet(kind) ? enterZeroSet(session, dialogs) : kAccepted; break;
    case kWaveCanceler: result = hasWaveAndOffset(kind) ? enterWaveCanceler(session, dialogs) : kAccepted; break;
    case kOffset: result = hasWaveAndOffset(kind) ? enterOffset(session, dialogs) : kAccepted; break;
    case kAfterStart: result = enterAfterStart(session, dialogs); break;
    case kPresetTimer: result = enterPresetTimer(session, dialogs); break;
    case kInterval: result = enterInterval(session, dialogs); break;
    case kTime: case kDate: result = enterDateTime(session, dialogs); break;
    default: break;  // BATT, COM Speed, ROM Version and the banner change nothing
    }
    session.panel.displayState.store(DisplayState::kRefresh);
    return result;
}

// Shared with the sub-lists: the zero dialog of one RS8 channel, preselected with that
// channel's zero point (asked again when the one at hand was another channel's).
int chooseChannelZero(PanelContext& session, PanelDialogs& dialogs, int channel) {
    if (session.panel.zeroSetting.get().channel != channel) {
        int result = readChannelZero(session, channel);
        if (result != kAccepted) return result;
    }
    return chooseZero(session, dialogs, "zero" + std::to_string(channel), channel,
                      session.panel.zeroSetting.get().code);
}

}  // namespace fenta21
