#pragma once

#include "core/events/Events.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace fenta21 {

// Where the core announces what happened, to any number of listeners on any thread.
//
// publish() only queues: the hub's own thread calls the listeners afterwards, so a listener
// that is slow, blocks or throws never holds up a collection, the "clear" after it or the
// line. Each listener sees the events in the order they were published, every event published
// after it subscribed and none from before. An exception from a listener is caught and counted
// and the others still hear the event. Nothing published is lost: flush() waits until all of
// it was delivered (the command-line program does so before it prints its result or exits),
// and the hub's destruction delivers what is still queued.
class EventHub {
public:
    using Listener = std::function<void(const Event&)>;

    // Ends its listener's subscription when destroyed: what was published until then is still
    // delivered to it first (unless the ending comes from a listener itself), and afterwards
    // it is never called again. It must end before its hub does.
    class Subscription {
    public:
        Subscription() = default;
        Subscription(Subscription&& other) noexcept;
        Subscription& operator=(Subscription&& other) noexcept;
        ~Subscription();
        void reset();

    private:
        friend class EventHub;
        Subscription(EventHub* hub, std::uint64_t id) : hub_(hub), id_(id) {}
        EventHub* hub_ = nullptr;
        std::uint64_t id_ = 0;
    };

    EventHub() = default;
    ~EventHub();
    EventHub(const EventHub&) = delete;
    EventHub& operator=(const EventHub&) = delete;

    [[nodiscard]] Subscription subscribe(Listener listener);
    // A listener of one kind of event only.
    template <typename E>
    [[nodiscard]] Subscription subscribe(std::function<void(const E&)> listener) {
        return subscribe(Listener([listener = std::move(listener)](const Event& event) {
            if (const E* wanted = std::get_if<E>(&event)) listener(*wanted);
        }));
    }

    void publish(Event event);
    // Waits until every event published before the call has been delivered. From a listener
    // (the hub's own thread) it returns at once, as waiting there would wait for itself.
    void flush();
    // Listener calls that ended in an exception.
    int listenerFailures() const { return listenerFailures_.load(); }

private:
    struct Entry {
        std::uint64_t id;
        Listener listener;
        std::atomic<bool> subscribed{true};
    };
    struct Pending {
        Event event;
        std::vector<std::shared_ptr<Entry>> listeners;
    };

    void unsubscribe(std::uint64_t id);
    void deliverUntilStopped();
    bool onDeliveryThread() const { return std::this_thread::get_id() == deliveryThreadId_.load(); }

    std::mutex mutex_;
    std::condition_variable queued_;
    std::condition_variable delivered_;
    std::vector<std::shared_ptr<Entry>> listeners_;
    std::deque<Pending> queue_;
    std::uint64_t nextId_ = 1;
    std::uint64_t publishedCount_ = 0;
    std::uint64_t deliveredCount_ = 0;
    bool stopping_ = false;
    // Held while listeners are called, so that an ending subscription waits out a call to it.
    std::mutex deliveryMutex_;
    std::atomic<std::thread::id> deliveryThreadId_{};
    std::atomic<int> listenerFailures_{0};
    std::thread thread_;  // started by the first event that has a listener
};

}  // namespace fenta21
