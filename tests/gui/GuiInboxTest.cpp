// Work handed from the program's threads to the GUI thread.
#include "gui/base/GuiInbox.h"
#include "tests/gui/GuiInboxTest.h"

#include <QEventLoop>
#include <QThread>
#include <QTimer>
#include <QtTest>

#include <atomic>
#include <chrono>
#include <thread>

using fenta21::gui::GuiInbox;
using fenta21::gui::postTo;

namespace {

constexpr int kPatience = 20000;  // ms; only a broken hand-off waits this long

}  // namespace

void GuiInboxTest::callFromAWorkerRunsOnTheGuiThreadBeforeItReturns() {
    GuiInbox inbox;
    QThread* gui = QThread::currentThread();
    std::atomic<bool> ranOnGui{false};
    std::atomic<bool> returned{false};
    int value = 0;  // written on the GUI thread, read by the worker after its call returns
    int seenByWorker = -1;
    std::thread worker([&] {
        bool ran = inbox.call([&] {
            ranOnGui = QThread::currentThread() == gui;
            value = 42;
        });
        seenByWorker = ran ? value : -2;
        returned = true;
    });
    QTRY_VERIFY_WITH_TIMEOUT(returned.load(), kPatience);
    worker.join();
    QVERIFY(ranOnGui.load());
    QCOMPARE(seenByWorker, 42);
}

void GuiInboxTest::callsAreServedInsideANestedLoopOfAnotherCall() {
    // The first worker's work is a window with its own loop (as a message box is); a second
    // worker asking meanwhile must be answered from inside that loop, or both would wait
    // for ever.
    GuiInbox inbox;
    std::atomic<bool> secondRan{false};
    std::atomic<bool> gaveUp{false};
    std::thread second;
    std::thread first([&] {
        inbox.call([&] {
            QEventLoop nested;
            second = std::thread([&] { inbox.call([&] { secondRan = true; }); });
            QTimer poll;
            QObject::connect(&poll, &QTimer::timeout, &nested, [&] {
                if (secondRan.load()) nested.quit();
            });
            poll.start(1);
            QTimer::singleShot(kPatience, &nested, [&] {
                gaveUp = true;
                nested.quit();
            });
            nested.exec();
        });
    });
    QTRY_VERIFY_WITH_TIMEOUT(secondRan.load() || gaveUp.load(), kPatience * 2);
    first.join();
    second.join();
    QVERIFY(!gaveUp.load());
}

void GuiInboxTest::closingReleasesACallerWhoseWorkNeverRan() {
    GuiInbox inbox;
    std::atomic<bool> workRan{false};
    std::atomic<int> result{-1};
    // The GUI thread serves nothing until it closes the inbox: the caller is let go either
    // while waiting or at once, never by running the work.
    std::thread worker([&] { result = inbox.call([&] { workRan = true; }) ? 1 : 0; });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    inbox.close();
    worker.join();
    QCOMPARE(result.load(), 0);
    QCoreApplication::processEvents();
    QVERIFY(!workRan.load());
}

void GuiInboxTest::postedWorkIsDroppedWithItsReceiverOrAfterClosing() {
    int changes = 0;
    auto* receiver = new QObject;
    postTo(receiver, [&](QObject*) { ++changes; });
    delete receiver;
    auto* kept = new QObject;
    postTo(kept, [&](QObject*) { changes += 10; });
    QTRY_COMPARE_WITH_TIMEOUT(changes, 10, kPatience);
    delete kept;

    GuiInbox inbox;
    inbox.close();
    QVERIFY(!inbox.post([&] { ++changes; }));
    QCoreApplication::processEvents();
    QCOMPARE(changes, 10);
}

QTEST_MAIN(GuiInboxTest)
