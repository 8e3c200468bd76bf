#pragma once

namespace fenta21 {

class LineContext;

// Every transfer and every panel setting command runs inside the line guard, which keeps the
// panel's polling off the line. Acquiring waits (at most 10 s) for the panel to finish its
// exchange, then tells the logger "comtm=0"; releasing sends "comtm=1" and frees the line.
void acquireLineGuard(LineContext& session);
void releaseLineGuard(LineContext& session);

// Keeps the panel's polling off the line while a window of the program's own is open (a file
// dialog, the viewer): the guard is held for the object's life when a panel session runs, and
// nothing happens otherwise.
class PanelPollingPause {
public:
    explicit PanelPollingPause(LineContext& session);
    ~PanelPollingPause();
    PanelPollingPause(const PanelPollingPause&) = delete;
    PanelPollingPause& operator=(const PanelPollingPause&) = delete;

private:
    LineContext& session_;
    bool held_;
};

}  // namespace fenta21
