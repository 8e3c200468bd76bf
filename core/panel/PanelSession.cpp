#include "core/panel/PanelSession.h"

#include "core/panel/PanelContext.h"
#include "core/report/Report.h"
#include "core/panel/LiveRefresh.h"
#include "core/panel/PanelKeys.h"
#include "core/panel/SettingsReading.h"
#include "core/panel/StartBanner.h"
#include "core/protocol/CommandExchange.h"
#include "core/protocol/Disconnect.h"

#include <chrono>

namespace fenta21 {
namespace {

using namespace std::chrono_literals;

// The panel's idle limit counts in units of 120 ticks, about a minute each.
constexpr int kTicksPerLimitUnit = 120;
constexpr int kFirstFunctionKeyCode = 112;  // F1

}  // namespace

PanelSession::PanelSession(PanelContext& session, PanelDialogs& dialogs, PanelEvents events)
    : session_(session), dialogs_(dialogs), events_(std::move(events)) {}

PanelSession::~PanelSession() {
    end();
    if (keyWorker_.joinable()) keyWorker_.join();
    if (refresher_.joinable()) refresher_.join();
}

void PanelSession::start() {
    if (keyWorker_.joinable()) keyWorker_.join();
    // A session left half shut down must not take the new link down at the next tick.
    session_.panel.currentItem.store(PanelItem::kIdle);
    session_.line.setPanelLinkActive(1);
    keyWorkerRunning_.store(true);
    keyWorker_ = std::thread([this] {
        runKeyWorker();
        keyWorkerRunning_.store(false);
    });
}

void PanelSession::end() { session_.line.setPanelLinkActive(0); }

bool PanelSession::active() const { return session_.line.panelLinkActive() == 1; }

bool PanelSession::running() const { return session_.panel.currentItem.load() != PanelItem::kIdle; }

void PanelSession::shutDown() {
    end();
    if (keyWorker_.joinable()) keyWorker_.join();
    if (refresher_.joinable()) refresher_.join();
    PanelState& panel = session_.panel;
    if (panel.currentItem.load() == PanelItem::kIdle) return;
    panel.setDisplay("", "");
    // Only a line still linked is the session's; one already down or taken by another
    // operation is left alone.
    if (session_.line.state() == LineState::Linked) disconnectLine(session_);
    panel.currentItem.store(PanelItem::kIdle);
}

DisplayLines PanelSession::display() const { return session_.panel.display(); }

PanelSnapshot PanelSession::snapshot() const {
    return session_.panel.readTexts([this](const PanelTexts& t) {
        return PanelSnapshot{t.line1, t.line2, pressedKey(), currentItem(), active()};
    });
}

int PanelSession::currentItem() const { return session_.panel.currentItem.load(); }

int PanelSession::pressedKey() const { return session_.panel.pressedKey.load() - 1; }

void PanelSession::redraw() const {
    if (events_.redraw) events_.redraw();
}

bool PanelSession::pressKey(PanelKey key) {
    PanelState& panel = session_.panel;
    if (!active() || panel.pendingKey.load() != 0) return false;
    if (key == PanelKey::CollectionMenu) {
        if (events_.collectionMenu) events_.collectionMenu();
        return true;
    }
    const int code = static_cast<int>(key) + 1;
    panel.pressedKey.store(code);
    int none = 0;
    if (!panel.pendingKey.compare_exchange_strong(none, code)) return false;
    redraw();
    return true;
}

void PanelSession::releaseKey() {
    session_.panel.pressedKey.store(0);
    redraw();
}

void PanelSession::functionKeyReleased(int number) {
    if (number >= 1 && number <= 9) session_.line.setPendingFunctionKey(kFirstFunctionKeyCode + number - 1);
    if (active()) releaseKey();
}

void PanelSession::runKeyWorker() {
    PanelState& panel = session_.panel;
    const Clock& clock = session_.clock;
    panel.changeTexts([](PanelTexts& t) { t.names = panelItemNames(); });
    if (readAllSettings(session_) != kAccepted) {
        report(session_, kNoReplyMessage);
        disconnectLine(session_);
        end();
        return;
    }
    panel.pendingKey.store(0);
    panel.displayState.store(DisplayState::kShown);
    panel.bannerCounter.store(0);
    session_.lineGuard.panelTicks.store(0);
    panel.currentItem.store(PanelItem::kBanner);

    while (active()) {
        const int queued = panel.pendingKey.load();
        if (queued > 0) {
            // Negative while handled: a key pressed meanwhile finds the queue taken.
            panel.pendingKey.store(-queued);
            handlePanelKey(session_, dialogs_, static_cast<PanelKey>(queued - 1));
            redraw();
            clock.sleepFor(100ms);
            // Held down, the key repeats: once more after another 300 ms.
            if (panel.pressedKey.load() != 0) {
                clock.sleepFor(100ms);
                if (panel.pressedKey.load() != 0) {
                    clock.sleepFor(200ms);
                    panel.pendingKey.store(queued);
                } else {
                    panel.pendingKey.store(0);
                }
            } else {
                panel.pendingKey.store(0);
            }
        }
        clock.sleepFor(100ms);
    }
    panel.pendingKey.store(0);
    panel.currentItem.store(PanelItem::kShuttingDown);
}

void PanelSession::tick() {
    PanelState& panel = session_.panel;
    const int item = panel.currentItem.load();
    if (item == PanelItem::kIdle) return;
    session_.lineGuard.panelTicks.fetch_add(1);
    // A refresher that outlived its turn (the line guard gave up waiting for it) is left to
    // finish; the window never waits for it.
    if (refresherRunning_.load()) return;

    auto& busy = session_.lineGuard.guard;
    int expected = 0;
    if (busy.compare_exchange_strong(expected, 1)) {
        int refresh = DisplayState::kRefresh;
        if (panel.displayState.compare_exchange_strong(refresh, DisplayState::kShown)) {
            const int shown = panel.currentItem.load();
            panel.changeTexts([shown](PanelTexts& t) {
                if (shown < 0 || shown >= kPanelItemCount) return;
                t.line1 = t.names[static_cast<std::size_t>(shown)];
                t.line2 = t.values[static_cast<std::size_t>(shown)];
            });
            redraw();
        } else if (panel.displayState.load() == DisplayState::kSubListBlink) {
            redraw();
        }
        startRefresher();
    } else if (expected == -1 && busy.compare_exchange_strong(expected, 1)) {
        startRefresher();
        redraw();
    }
}

void PanelSession::startRefresher() {
    if (refresher_.joinable()) refresher_.join();
    refresherRunning_.store(true);
    refresher_ = std::thread([this] { runRefresher(); });
}

void PanelSession::endByRefresher() {
    end();
    session_.lineGuard.panelTicks.store(0);
    session_.lineGuard.guard.store(0);
    refresherRunning_.store(false);
}

void PanelSession::runRefresher() {
    PanelState& panel = session_.panel;
    auto& ticks = session_.lineGuard.panelTicks;
    const int limit = session_.retry.panelLimit;
    const int tickCount = ticks.load();
    if (limit > 0 && tickCount > limit * kTicksPerLimitUnit) return endByRefresher();
    if (limit <= 0 && tickCount < 0) ticks.store(0);

    const bool evenTick = tickCount % 2 == 0;
    if (evenTick && panel.currentItem.load() > 0 && readLoggerTime(session_) != kAccepted) return endByRefresher();

    bool wantsRedraw = false;
    switch (const int item = panel.currentItem.load()) {
    case PanelItem::kShutDown: panel.currentItem.store(PanelItem::kIdle); break;
    case PanelItem::kShuttingDown:
        panel.setDisplay("", "");
        disconnectLine(session_);
        panel.currentItem.store(PanelItem::kShutDown);
        wantsRedraw = true;
        break;
    case PanelItem::kBanner: {
        BannerStep step = stepBanner(panel.bannerCounter.load(), panel.model.get().kindNumber);
        panel.bannerCounter.store(step.counter);
        if (step.line1) panel.setLine1(*step.line1);
        if (step.line2) panel.setLine2(*step.line2);
        wantsRedraw = true;
        break;
    }
    default: wantsRedraw = refreshLiveLines(session_, item, evenTick);
    }
    session_.lineGuard.guard.store(wantsRedraw ? -1 : 0);
    refresherRunning_.store(false);
}

}  // namespace fenta21
