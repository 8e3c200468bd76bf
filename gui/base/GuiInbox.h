#pragma once

#include <QObject>
#include <QPointer>

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>

class QSocketNotifier;

namespace fenta21::gui {

// The one way work reaches the GUI thread from the program's own threads (the scheduler, a
// collection's worker, the panel's key worker, a receiver). The work is queued under a plain
// mutex and the GUI thread is woken through an eventfd that its event loop watches, so it runs
// in whatever loop the GUI thread is in, a user's modal dialog included, and every hand-off is
// an ordinary lock that the race checker sees.
//
// Once closed (the program is going), queued work that has not started is dropped, its callers
// are released, and new work is refused.
class GuiInbox : public QObject {
    Q_OBJECT
public:
    // The program's inbox, made on the GUI thread the first time it is asked for there.
    static GuiInbox& instance();

    explicit GuiInbox(QObject* parent = nullptr);
    ~GuiInbox() override;

    bool onGuiThread() const;
    // Queues `work` for the GUI thread; false when the inbox is closed and the work dropped.
    bool post(std::function<void()> work);
    // Runs `work` on the GUI thread and waits until it has run; false when it never ran
    // because the inbox closed first. On the GUI thread itself it runs at once.
    bool call(const std::function<void()>& work);
    void close();
    bool closed() const;

private:
    struct Waiter {
        bool done = false;
        bool ran = false;
    };
    struct Item {
        std::function<void()> work;
        std::shared_ptr<Waiter> waiter;  // null for posted work
    };
    struct Release;
    void wake();
    void drain();

    mutable std::mutex mutex_;
    std::condition_variable finished_;
    std::deque<Item> items_;
    bool closed_ = false;
    int eventFd_ = -1;
    QSocketNotifier* notifier_ = nullptr;
};

// Posts `change` for `receiver`, dropped when the receiver is gone by the time it would run.
template <class Receiver, class Change>
void postTo(Receiver* receiver, Change change) {
    QPointer<Receiver> target(receiver);
    GuiInbox::instance().post([target, change = std::move(change)]() mutable {
        if (target) change(target.data());
    });
}

}  // namespace fenta21::gui
