#include "core/events/EventHub.h"

#include <algorithm>

namespace fenta21 {

EventHub::Subscription::Subscription(Subscription&& other) noexcept : hub_(other.hub_), id_(other.id_) {
    other.hub_ = nullptr;
}

EventHub::Subscription& EventHub::Subscription::operator=(Subscription&& other) noexcept {
    if (this != &other) {
        reset();
        hub_ = other.hub_;
        id_ = other.id_;
        other.hub_ = nullptr;
    }
    return *this;
}

EventHub::Subscription::~Subscription() { reset(); }

void EventHub::Subscription::reset() {
    if (hub_) hub_->unsubscribe(id_);
    hub_ = nullptr;
}

EventHub::~EventHub() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    queued_.notify_all();
    if (thread_.joinable()) thread_.join();
}

EventHub::Subscription EventHub::subscribe(Listener listener) {
    std::lock_guard lock(mutex_);
    auto entry = std::make_shared<Entry>();
    entry->id = nextId_++;
    entry->listener = std::move(listener);
    listeners_.push_back(entry);
    return Subscription(this, entry->id);
}

void EventHub::unsubscribe(std::uint64_t id) {
    // What was published while the listener was subscribed still reaches it.
    flush();
    {
        std::lock_guard lock(mutex_);
        auto found = std::find_if(listeners_.begin(), listeners_.end(), [id](const auto& entry) { return entry->id == id; });
        if (found == listeners_.end()) return;
        (*found)->subscribed.store(false);
        listeners_.erase(found);
    }
    // A call to this listener may be under way; once it has ended, none follows.
    if (!onDeliveryThread()) std::lock_guard wait(deliveryMutex_);
}

void EventHub::publish(Event event) {
    {
        std::lock_guard lock(mutex_);
        if (listeners_.empty()) return;
        queue_.push_back({std::move(event), listeners_});
        ++publishedCount_;
        if (!thread_.joinable()) thread_ = std::thread([this] { deliverUntilStopped(); });
    }
    queued_.notify_one();
}

void EventHub::flush() {
    if (onDeliveryThread()) return;
    std::unique_lock lock(mutex_);
    std::uint64_t published = publishedCount_;
    delivered_.wait(lock, [&] { return deliveredCount_ >= published; });
}

void EventHub::deliverUntilStopped() {
    deliveryThreadId_.store(std::this_thread::get_id());
    std::unique_lock lock(mutex_);
    for (;;) {
        queued_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
        if (queue_.empty()) return;  // stopping, and everything was delivered
        Pending pending = std::move(queue_.front());
        queue_.pop_front();
        lock.unlock();
        {
            std::lock_guard calling(deliveryMutex_);
            for (const auto& entry : pending.listeners) {
                if (!entry->subscribed.load()) continue;
                try {
                    entry->listener(pending.event);
                } catch (...) {
                    // A listener's fault is its own: the others still hear the event.
                    listenerFailures_.fetch_add(1);
                }
            }
        }
        lock.lock();
        ++deliveredCount_;
        delivered_.notify_all();
    }
}

}  // namespace fenta21
