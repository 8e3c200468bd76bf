// The event hub: listeners that throw or stall hold up neither the publisher nor each other's
// events, and what was published reaches every listener, in order, before it leaves.
#include "core/events/EventHub.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>

namespace fenta21 {
namespace {

TEST(EventHub, ThrowingAndStalledListenersNeitherHoldUpThePublisherNorLoseEvents) {
    EventHub hub;
    std::vector<std::string> published, heard, heardAfterStall;
    std::atomic<bool> stalled{true};
    std::atomic<int> stallCalls{0};
    {
        auto throwing = hub.subscribe<NoticeAdded>([](const NoticeAdded&) { throw std::runtime_error("listener fault"); });
        auto stalling = hub.subscribe<NoticeAdded>([&](const NoticeAdded& notice) {
            stallCalls.fetch_add(1);
            while (stalled.load()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
            heardAfterStall.push_back(notice.text);
        });
        auto listening = hub.subscribe<NoticeAdded>([&](const NoticeAdded& notice) { heard.push_back(notice.text); });
        auto otherKind = hub.subscribe<ReservationStarted>([](const ReservationStarted&) { throw std::logic_error("not this kind"); });
        // Every publish returns while the stalled listener still holds its first event.
        for (int i = 0; i < 50; ++i) {
            published.push_back("notice " + std::to_string(i));
            hub.publish(NoticeAdded{published.back()});
        }
        EXPECT_LE(stallCalls.load(), 1);
        stalled.store(false);
    }  // the subscriptions end here, each after what was published to it
    EXPECT_EQ(heard, published);
    EXPECT_EQ(heardAfterStall, published);
    EXPECT_EQ(hub.listenerFailures(), 50);

    // A listener that joins later hears only what comes after it.
    std::vector<std::string> late;
    auto lateListener = hub.subscribe<NoticeAdded>([&](const NoticeAdded& notice) { late.push_back(notice.text); });
    hub.publish(NoticeAdded{"after"});
    hub.flush();
    EXPECT_EQ(late, std::vector<std::string>{"after"});
}

}  // namespace
}  // namespace fenta21
