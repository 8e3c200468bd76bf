#pragma once

#include "core/base/Guarded.h"
#include "core/panel/DialogChecks.h"
#include "core/panel/PanelItems.h"
#include "core/protocol/ModelRegistry.h"

#include <array>
#include <atomic>
#include <mutex>
#include <string>

namespace fenta21 {

// What the display shows of the current item.
namespace DisplayState {
inline constexpr int kRefresh = -1;    // copy the item's name and value at the next tick
inline constexpr int kShown = 0;
inline constexpr int kSubList = 1;     // a sub-list (channels, history): its first phase
inline constexpr int kSubListBlink = 2;  // the other phase; the two alternate so the title blinks
}  // namespace DisplayState

// The panel's texts: read and written whole under one lock, so the window never draws a
// line that a worker is halfway through writing.
struct PanelTexts {
    std::string line1 = std::string(kDisplayColumns, ' ');
    std::string line2 = std::string(kDisplayColumns, ' ');
    std::array<std::string, kPanelItemCount> names{};
    std::array<std::string, kPanelItemCount> values{};
    std::string dataLine1, dataLine2, monitorLine, modeLine;
};

// A setting the logger keeps per channel, as one exchange gave it: the channel it was read or
// written for and the number its reply began with (-1 when it held none). It stands for that
// channel only, so a dialog for another channel asks again.
struct ChannelSetting {
    int channel = -1;
    int code = -1;
};

struct DisplayLines {
    std::string line1, line2;
};

// The remote operation panel's state, shared by the window (timer, keys, drawing), the key
// worker and the refresher. Words are atomic; texts are guarded. The session's panel link
// flag is the panel's "active" word, and the line guard's words are its busy word and tick
// counter.
struct PanelState {
    std::atomic<int> currentItem{PanelItem::kIdle};
    // 0 when no key is queued, else key + 1; negative while the key worker handles a key,
    // so that a key pressed meanwhile is refused, whichever key it handles.
    std::atomic<int> pendingKey{0};
    // 0 when no key is held down, else key + 1.
    std::atomic<int> pressedKey{0};
    std::atomic<int> displayState{DisplayState::kShown};
    std::atomic<int> channelIndex{0};
    std::atomic<int> bannerCounter{0};
    // What the last "mode<n>" and "zero<n>" exchanges said, which preselects their dialogs;
    // the logger's offset digit setting (-1 until read).
    Guarded<ChannelSetting> modeSetting;
    Guarded<ChannelSetting> zeroSetting;
    std::atomic<int> offsetDigit{-1};

    // The model identified when the session started. The panel keeps its own copy: a CSV
    // conversion meanwhile identifies other models and must not change the panel's.
    Guarded<CurrentModel> model;
    Guarded<OffsetLimits> offsetLimits;

    std::string value(int item) const;
    void setValue(int item, std::string text);
    // Line texts are fitted to the display's sixteen columns here.
    DisplayLines display() const;
    void setDisplay(const std::string& line1, const std::string& line2);
    void setLine1(const std::string& line);
    void setLine2(const std::string& line);
    // A measurement line (seventeen columns) on line 2: right-aligned lines keep their end.
    void setLine2KeepingEnd(const std::string& line);

    // Any other look at or change of the texts, under the lock.
    template <typename F>
    auto readTexts(F&& read) const {
        std::lock_guard lock(textMutex_);
        return read(static_cast<const PanelTexts&>(texts_));
    }
    template <typename F>
    auto changeTexts(F&& change) {
        std::lock_guard lock(textMutex_);
        return change(texts_);
    }

private:
    mutable std::mutex textMutex_;
    PanelTexts texts_;
};

}  // namespace fenta21
