#pragma once

#include "core/panel/PanelDialogs.h"
#include "core/panel/PanelItems.h"
#include "core/panel/PanelState.h"

#include <atomic>
#include <functional>
#include <thread>

namespace fenta21 {

class PanelContext;

// Everything the window draws, taken at one moment under the panel's lock: the lines are
// always a pair that was written together.
struct PanelSnapshot {
    std::string line1, line2;
    int pressedKey = -1;  // -1 none, else 0-2
    int currentItem = PanelItem::kIdle;
    bool active = false;
};

// What the panel tells its window. Called from the panel's worker threads as well as from
// the caller's: a window posts the work to its own thread.
struct PanelEvents {
    // The display lines or the pressed key changed.
    std::function<void()> redraw;
    // The collection menu key was pressed: the window opens its pop-up menu.
    std::function<void()> collectionMenu;
};

// The remote operation panel without its window: a running session on a linked logger,
// driven by key presses and the window's 465 ms timer, keeping the two display lines in the
// session's panel state. The window only feeds keys and ticks and draws what display()
// returns.
//
// Threads: start, tick, the key calls and the destructor belong to one thread (the window's);
// the key worker (one per session) handles keys and reads the settings at the start; the
// refresher (at most one run at a time, started by the tick) polls the logger's clock and
// the live lines and takes the line down when the session ends.
class PanelSession {
public:
    // The timer period the panel's polling is counted in.
    static constexpr int kTickMilliseconds = 465;

    PanelSession(PanelContext& session, PanelDialogs& dialogs, PanelEvents events = {});
    // Ends a running session and waits for its workers; it does not take the line down (the
    // refresher does that on the ticks after a session ends).
    ~PanelSession();
    PanelSession(const PanelSession&) = delete;
    PanelSession& operator=(const PanelSession&) = delete;

    // After a link has been made: the panel becomes active and its key worker reads every
    // setting, then shows the banner. A failed read is reported, and the line taken down.
    void start();
    // The window's disconnect: the workers wind the session down on the next ticks.
    void end();

    // A key pressed (mouse or keyboard): refused (false) unless the panel is active and no
    // other key is queued or being handled.
    bool pressKey(PanelKey key);
    // Every key let go.
    void releaseKey();
    // F1 ... F9 let go: the main window's timer runs the command given to that key.
    void functionKeyReleased(int number);

    // The window timer, every 465 ms.
    void tick();

    // The window's closing: the session ends at once, without the ticks that would wind it
    // down. Call it once workersRunning() is false (a worker may be waiting for the caller's
    // thread, to show a dialog); it takes a line the session still holds down itself.
    void shutDown();

    DisplayLines display() const;
    PanelSnapshot snapshot() const;
    int currentItem() const;
    // The key drawn pressed: -1 none, else 0-2.
    int pressedKey() const;
    bool active() const;
    // True while the session is winding down or running (item other than 0).
    bool running() const;
    bool refresherRunning() const { return refresherRunning_.load(); }
    // The key worker or a refresher is still at work.
    bool workersRunning() const { return keyWorkerRunning_.load() || refresherRunning_.load(); }
    // The session still has the line to take down: its key worker runs, or its item has not
    // yet come back to idle. A disconnect then only ends the session.
    bool holdsLine() const { return keyWorkerRunning_.load() || running(); }

private:
    void runKeyWorker();
    void runRefresher();
    void startRefresher();
    void endByRefresher();
    void redraw() const;

    PanelContext& session_;
    PanelDialogs& dialogs_;
    const PanelEvents events_;
    std::thread keyWorker_;
    std::thread refresher_;
    std::atomic<bool> refresherRunning_{false};
    std::atomic<bool> keyWorkerRunning_{false};
};

}  // namespace fenta21
