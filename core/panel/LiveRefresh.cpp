#include "core/panel/LiveRefresh.h"

#include "core/panel/PanelContext.h"
#include "core/panel/MeasurementLines.h"
#include "core/panel/PanelModelRules.h"
#include "core/panel/SettingsReading.h"

namespace fenta21 {
namespace {

using namespace PanelItem;

bool inSubList(int state) { return state == DisplayState::kSubList || state == DisplayState::kSubListBlink; }

// One phase of the data history's blink: the title alone, then the record.
void blinkData(PanelState& panel) {
    int state = panel.displayState.load();
    if (state == DisplayState::kSubList) {
        panel.setDisplay("Data", "");
        panel.displayState.store(DisplayState::kSubListBlink);
    } else if (state == DisplayState::kSubListBlink) {
        auto [line1, line2] = panel.readTexts([](const PanelTexts& t) { return std::pair(t.dataLine1, t.dataLine2); });
        panel.setLine1(line1);
        panel.setLine2KeepingEnd(line2);
        panel.displayState.store(DisplayState::kSubList);
    }
}

void blinkMode(PanelState& panel) {
    int state = panel.displayState.load();
    if (state == DisplayState::kSubList) {
        std::string line = panel.readTexts([](const PanelTexts& t) { return t.modeLine; });
        panel.setLine2(modeBlinkLine(panel.model.get(), line));
        panel.displayState.store(DisplayState::kSubListBlink);
    } else if (state == DisplayState::kSubListBlink) {
        panel.setLine2(panel.readTexts([](const PanelTexts& t) { return t.modeLine; }));
        panel.displayState.store(DisplayState::kSubList);
    }
}

void refreshMonitor(PanelContext& session) {
    PanelState& panel = session.panel;
    int state = panel.displayState.load();
    bool blink = state == DisplayState::kSubListBlink;
    if (readMonitor(session, blink) != 0) return;
    panel.setLine2KeepingEnd(panel.readTexts([](const PanelTexts& t) { return t.monitorLine; }));
    // The channel label blinks while the sub-list is open.
    if (inSubList(state))
        panel.displayState.store(blink ? DisplayState::kSubList : DisplayState::kSubListBlink);
}

}  // namespace

bool refreshLiveLines(PanelContext& session, int item, bool evenTick) {
    PanelState& panel = session.panel;
    switch (item) {
    case kData:
        if (inSubList(panel.displayState.load())) blinkData(panel);
        return true;
    case kMode:
        if (inSubList(panel.displayState.load())) blinkMode(panel);
        return true;
    case kZeroSet:
        // The zero point is set against the live reading: RS8 shows its channel's, others
        // show it until the zero dialog is opened.
        if (evenTick && (zeroesEachChannel(panel.model.get().kindNumber) || !inSubList(panel.displayState.load())))
            refreshMonitor(session);
        return true;
    case kMonitor:
        if (evenTick) refreshMonitor(session);
        return true;
    case kTime:
        panel.setLine2(panel.value(kTime));
        return true;
    default: return false;
    }
}

}  // namespace fenta21
