#include "gui/base/GuiInbox.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QThread>

#include <cerrno>
#include <cstdint>
#include <stdexcept>
#include <sys/eventfd.h>
#include <unistd.h>

namespace fenta21::gui {

GuiInbox& GuiInbox::instance() {
    // Owned by the application object, so it goes with it and never outlives the GUI thread.
    static QPointer<GuiInbox> inbox;
    if (!inbox) inbox = new GuiInbox(QCoreApplication::instance());
    return *inbox;
}

GuiInbox::GuiInbox(QObject* parent) : QObject(parent) {
    eventFd_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (eventFd_ < 0) throw std::runtime_error("the desktop program cannot make its wake-up channel");
    notifier_ = new QSocketNotifier(eventFd_, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &GuiInbox::drain);
}

GuiInbox::~GuiInbox() {
    close();
    delete notifier_;
    ::close(eventFd_);
}

bool GuiInbox::onGuiThread() const { return QThread::currentThread() == thread(); }

bool GuiInbox::closed() const {
    std::lock_guard lock(mutex_);
    return closed_;
}

void GuiInbox::wake() {
    std::uint64_t one = 1;
    // The counter only saturates after 2^64 wakes; a full counter still leaves it readable.
    while (::write(eventFd_, &one, sizeof one) < 0 && errno == EINTR) {
    }
}

bool GuiInbox::post(std::function<void()> work) {
    {
        std::lock_guard lock(mutex_);
        if (closed_) return false;
        items_.push_back({std::move(work), nullptr});
    }
    wake();
    return true;
}

bool GuiInbox::call(const std::function<void()>& work) {
    if (onGuiThread()) {
        work();
        return true;
    }
    auto waiter = std::make_shared<Waiter>();
    std::unique_lock lock(mutex_);
    if (closed_) return false;
    items_.push_back({work, waiter});
    lock.unlock();
    wake();
    lock.lock();
    finished_.wait(lock, [&] { return waiter->done; });
    return waiter->ran;
}

void GuiInbox::close() {
    std::lock_guard lock(mutex_);
    closed_ = true;
    for (Item& item : items_)
        if (item.waiter) item.waiter->done = true;
    items_.clear();
    finished_.notify_all();
}

// Lets the caller go once its work has run, even when the work ended by an exception.
struct GuiInbox::Release {
    GuiInbox& inbox;
    std::shared_ptr<Waiter> waiter;
    ~Release() {
        if (!waiter) return;
        std::lock_guard lock(inbox.mutex_);
        waiter->done = true;
        waiter->ran = true;
        inbox.finished_.notify_all();
    }
};

void GuiInbox::drain() {
    std::uint64_t count = 0;
    while (::read(eventFd_, &count, sizeof count) < 0 && errno == EINTR) {
    }
    for (;;) {
        Item item;
        {
            std::lock_guard lock(mutex_);
            if (items_.empty()) return;
            item = std::move(items_.front());
            items_.pop_front();
        }
        // Outside the lock: the work may open a window and run a nested loop, in which this
        // inbox goes on serving other threads.
        Release release{*this, item.waiter};
        item.work();
    }
}

}  // namespace fenta21::gui
