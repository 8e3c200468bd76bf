#include "core/panel/SubLists.h"

#include "core/panel/PanelContext.h"
#include "core/panel/DialogLists.h"
#include "core/panel/EnterActions.h"
#include "core/panel/SettingsReading.h"
#include "core/protocol/CommandExchange.h"

namespace fenta21 {
namespace {

using namespace PanelItem;

int chooseMode(PanelContext& session, PanelDialogs& dialogs, int channel) {
    // The preselection is the channel's own mode, asked again when the one at hand was
    // another channel's.
    if (session.panel.modeSetting.get().channel != channel) {
        int result = readChannelMode(session, channel);
        if (result != kAccepted) return result;
    }
    CurrentModel model = session.panel.model.get();
    std::vector<ModeChoice> choices = modeChoices(model.kindNumber, channel, *model.kinds);
    // A model whose kind table offers nothing for this channel has nothing to choose from.
    if (choices.empty()) return kAccepted;
    ListDialog dialog;
    dialog.id = DialogId::kMode;
    dialog.caption = "測定モード設定";
    for (const ModeChoice& choice : choices) dialog.entries.push_back(choice.name);
    dialog.preselected = choicePosition(choices, session.panel.modeSetting.get().code);
    auto chosen = chooseEntry(dialogs, dialog);
    if (!chosen) return kDialogNotOk;
    std::string reply;
    std::string command = "mode" + std::to_string(channel) + "=" + std::to_string(choices[*chosen].code);
    int result = sendCommandReport(session, command, reply, kLongReplyMax);
    if (result != kAccepted) return result;
    // The write is answered like a read: the line is rebuilt from the answer.
    storeModeReply(session, channel, reply);
    return result;
}

}  // namespace

int wrapChannel(int position, int channelCount) {
    if (channelCount <= 0) return 0;  // a model without channels has only the first
    if (position < 0) return channelCount - 1;
    if (position >= channelCount) return 0;
    return position;
}

int stepSubList(PanelContext& session, PanelKey key) {
    if (key != PanelKey::Previous && key != PanelKey::Next) return kAccepted;
    int position = session.panel.channelIndex.load() + (key == PanelKey::Previous ? 1 : -1);
    return selectSubListPosition(session, position);
}

int selectSubListPosition(PanelContext& session, int position) {
    PanelState& panel = session.panel;
    const int item = panel.currentItem.load();
    const int channels = panel.model.get().channelCount;
    switch (item) {
    case kData:
        // Position 0 is the newest record; there is nothing after it.
        if (position > 0) position = 0;
        panel.channelIndex.store(position);
        panel.displayState.store(DisplayState::kSubListBlink);
        return readDataRecord(session, position);
    case kZeroSet:
        position = wrapChannel(position, channels);
        panel.channelIndex.store(position);
        return readChannelZero(session, position);
    case kMonitor:
        panel.channelIndex.store(wrapChannel(position, channels));
        return kAccepted;
    case kMode:
        position = wrapChannel(position, channels);
        panel.channelIndex.store(position);
        panel.displayState.store(DisplayState::kSubListBlink);
        return readChannelMode(session, position);
    default: return kAccepted;
    }
}

int enterSubList(PanelContext& session, PanelDialogs& dialogs) {
    PanelState& panel = session.panel;
    int result = kAccepted;
    switch (panel.currentItem.load()) {
    case kMode: result = chooseMode(session, dialogs, panel.channelIndex.load()); break;
    case kZeroSet: result = chooseChannelZero(session, dialogs, panel.channelIndex.load()); break;
    default: break;  // the history and the monitor just close
    }
    panel.displayState.store(DisplayState::kRefresh);
    return result;
}

}  // namespace fenta21
