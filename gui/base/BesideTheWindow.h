#pragma once

#include "gui/base/GuiInbox.h"

#include <QEventLoop>

#include <thread>

namespace fenta21::gui {

// Runs `work` on a thread of its own while the window thread goes on serving its loop (the
// heartbeat, painting, the notices and windows the work asks for), and returns when it has ended.
// The core's line work waits on the clock between its steps ("接続しました" stays two seconds);
// done on the window thread, those waits would freeze the window and leave the notice unpainted.
template <class Work>
void besideTheWindow(Work&& work) {
    QEventLoop loop;
    std::thread worker([&] {
        work();
        // The program's inbox is never closed before the application goes, so the loop ends;
        // a loop already ended by the program quitting is gone when this arrives.
        postTo(&loop, [](QEventLoop* ended) { ended->quit(); });
    });
    loop.exec();
    worker.join();
}

}  // namespace fenta21::gui
