// The desktop host: long operations in their windows, from the GUI thread and from workers,
// cancel, reports and questions answered the way a person answers them.
#include "core/base/Results.h"
#include "gui/base/Captions.h"
#include "gui/base/CopyAnimation.h"
#include "gui/base/ModalWindow.h"
#include "gui/base/QtHost.h"
#include "gui/base/StatusNotice.h"
#include "gui/base/TextFileViewer.h"
#include "gui/base/WindowPlacement.h"
#include "tests/gui/ModalWatcher.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QtTest>

#include <atomic>
#include <thread>

using namespace fenta21;
using namespace fenta21::gui;
using fenta21::test::ModalWatcher;

Q_DECLARE_METATYPE(fenta21::Answer)

namespace {

constexpr int kPatience = 30000;  // ms; only a broken host ever waits this long

// Runs `call` on a thread of its own and keeps the GUI thread's events going until it ends.
template <class Call>
void runOnWorker(Call call) {
    std::atomic<bool> done{false};
    std::thread worker([&] {
        call();
        done.store(true);
    });
    QTRY_VERIFY_WITH_TIMEOUT(done.load(), kPatience);
    worker.join();
}

}  // namespace

class QtHostTest : public QObject {
    Q_OBJECT
private slots:
    void collectionWindowRunsTheWorkerOnItsOwnThread();
    void workerThreadGetsItsWindowOnTheGuiThread();
    void cancelOnlySetsTheFlagUntilTheWorkerEnds();
    void reportFromAWorkerIsAMessageBox();
    void questionButtons_data();
    void questionButtons();
    void noticeShowsOneLineWithoutButtons();
    void coreFiltersBecomeDialogFilters();
    void windowsOpenCentredOverTheMainWindowWithTheirCaptionsWhole();
};

void QtHostTest::collectionWindowRunsTheWorkerOnItsOwnThread() {
    QtHost host;
    std::atomic<int> flag{kCancelled};  // a cancel left over from before must not count
    QPointer<QWidget> window;
    ModalWatcher watcher([&](QWidget* opened) { window = opened; });
    // The worker's updates must reach the window while it is open: the worker waits until
    // the GUI thread has seen all three before it ends the window.
    std::atomic<bool> updatesShown{false};
    QTimer observer;
    observer.setInterval(0);
    connect(&observer, &QTimer::timeout, [&] {
        if (!window) return;
        bool shown = window->windowTitle() == QStringLiteral("データ回収") &&
                     window->findChild<QLabel*>("text")->text() == QStringLiteral("Total 1024") &&
                     window->findChild<QProgressBar*>()->value() == 40 &&
                     window->findChild<CopyAnimation*>()->running();
        if (shown) updatesShown.store(true);
    });
    observer.start();
    std::thread::id workerThread;
    int flagSeen = -1;
    int result = host.runModal({ModalKind::Collection, "データ回収", ""}, flag, [&](ModalContext& context) {
        workerThread = std::this_thread::get_id();
        flagSeen = flag.load();
        context.startAnimation();
        context.setProgress(40);
        context.setText("Total 1024");
        while (!updatesShown.load()) std::this_thread::yield();
        return 104;
    });
    QCOMPARE(result, 104);
    QVERIFY(workerThread != std::this_thread::get_id());
    QCOMPARE(flagSeen, 0);
    QCOMPARE(watcher.windows(), QStringList{kCollectionWindowName});
    QVERIFY(window.isNull());  // ended by the worker and gone
}

void QtHostTest::workerThreadGetsItsWindowOnTheGuiThread() {
    QtHost host;
    std::atomic<int> flag{0};
    QThread* windowThread = nullptr;
    ModalWatcher watcher([&](QWidget* window) { windowThread = window->thread(); });
    int result = 0;
    runOnWorker([&] {
        result = host.runModal({ModalKind::Connection, "FENTA21通信ソフト", "通信回線接続中..."}, flag,
                               [&](ModalContext& context) {
                                   context.setText("通信回線接続中(COM2)");
                                   return 0;
                               });
    });
    QCOMPARE(result, 0);
    QCOMPARE(watcher.windows(), QStringList{kConnectionWindowName});
    QCOMPARE(windowThread, QApplication::instance()->thread());
}

void QtHostTest::cancelOnlySetsTheFlagUntilTheWorkerEnds() {
    QtHost host;
    std::atomic<int> flag{0};
    std::atomic<bool> release{false};
    bool openAfterCancel = false;
    QPointer<QWidget> cancelled;
    ModalWatcher watcher([&](QWidget* window) {
        cancelled = window;
        test::clickButton(window, QStringLiteral("ｷｬﾝｾﾙ"));
    });
    // Once the cancel has been pressed, look whether the window is still open before the
    // worker is let go.
    QTimer observer;
    observer.setInterval(0);
    connect(&observer, &QTimer::timeout, [&] {
        if (!cancelled || flag.load() != kCancelled || release.load()) return;
        openAfterCancel = cancelled->isVisible();
        release.store(true);
    });
    observer.start();
    int result = host.runModal({ModalKind::Wait, "FENTA21通信ソフト", "コマンド応答受信待ち!!"}, flag,
                               [&](ModalContext& context) {
                                   while (!context.cancelled() || !release.load()) std::this_thread::yield();
                                   return kCancelled;
                               });
    QCOMPARE(result, kCancelled);
    QVERIFY(openAfterCancel);
    QCOMPARE(watcher.windows(), QStringList{kWaitWindowName});
}

void QtHostTest::reportFromAWorkerIsAMessageBox() {
    QtHost host;
    ModalWatcher watcher;
    runOnWorker([&] { host.report("回線接続　エラー !!     "); });
    QCOMPARE(watcher.messages(), QStringList{QStringLiteral("回線接続　エラー !!     ")});
}

void QtHostTest::questionButtons_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("button");
    QTest::addColumn<fenta21::Answer>("answer");
    QTest::addColumn<int>("buttonCount");
    auto yesNo = static_cast<int>(Question::YesNo);
    auto overwrite = static_cast<int>(Question::OverwriteFile);
    QTest::newRow("yes") << yesNo << QStringLiteral("はい") << Answer::Yes << 2;
    QTest::newRow("no") << yesNo << QStringLiteral("いいえ") << Answer::No << 2;
    QTest::newRow("overwrite this") << overwrite << QStringLiteral("はい") << Answer::Yes << 4;
    QTest::newRow("overwrite all") << overwrite << QStringLiteral("すべて上書き") << Answer::YesToAll << 4;
    QTest::newRow("keep") << overwrite << QStringLiteral("いいえ") << Answer::No << 4;
    QTest::newRow("stop") << overwrite << QStringLiteral("ｷｬﾝｾﾙ") << Answer::Cancel << 4;
}

void QtHostTest::questionButtons() {
    QFETCH(int, kind);
    QFETCH(QString, button);
    QFETCH(fenta21::Answer, answer);
    QFETCH(int, buttonCount);
    QtHost host;
    int buttonsShown = 0;
    ModalWatcher watcher([&](QWidget* window) {
        buttonsShown = static_cast<int>(window->findChildren<QPushButton*>().size());
        QVERIFY(test::clickButton(window, button));
    });
    Answer given = Answer::Cancel;
    // Questions come from workers as often as from the window (the converter runs on both).
    runOnWorker([&] { given = host.ask(static_cast<Question>(kind), "a.csv\r\n同一ファイル名がすでに存在します。上書きしますか？"); });
    QCOMPARE(given, answer);
    QCOMPARE(buttonsShown, buttonCount);
    QCOMPARE(watcher.messages(), QStringList{QStringLiteral("a.csv\n同一ファイル名がすでに存在します。上書きしますか？")});
}

void QtHostTest::noticeShowsOneLineWithoutButtons() {
    QtHost host;
    const std::string longText(70, 'x');
    runOnWorker([&] { host.showNotice(longText); });
    StatusNotice* notice = host.notice();
    QVERIFY(notice != nullptr);
    QVERIFY(notice->isVisible());
    QCOMPARE(notice->windowTitle(), QStringLiteral("FENTA21(R)通信ソフト"));
    QCOMPARE(notice->text(), QString(60, 'x'));
    QVERIFY(notice->findChildren<QAbstractButton*>().isEmpty());
    host.showNotice("  回線切断中...  ");
    QCOMPARE(notice->text(), QStringLiteral("  回線切断中...  "));
    host.hideNotice();
    QVERIFY(!notice->isVisible());
}

void QtHostTest::coreFiltersBecomeDialogFilters() {
    QCOMPARE(fileDialogFilter(" Binary data (*.v38)|*.v38"), QStringLiteral(" Binary data (*.v38)"));
    QCOMPARE(fileDialogFilter(" CSV data (*.csv)|*.csv| Text data|*.txt"),
             QStringLiteral(" CSV data (*.csv);; Text data (*.txt)"));
}

void QtHostTest::windowsOpenCentredOverTheMainWindowWithTheirCaptionsWhole() {
    QtHost host;
    QWidget mainWindow;
    mainWindow.setGeometry(100, 300, 640, 216);
    mainWindow.show();
    host.setMainWindow(&mainWindow);
    const QRect screen = mainWindow.screen()->availableGeometry();
    QMap<QString, QRect> opened;
    QMap<QString, int> captionNeeds;
    auto note = [&](QWidget* window) {
        opened[window->objectName()] = window->frameGeometry();
        captionNeeds[window->objectName()] = captionWidth(window->windowTitle());
    };
    ModalWatcher watcher([&](QWidget* window) {
        note(window);
        ModalWatcher::confirmMessageBox(window);
    });
    host.report("回線接続　エラー !!     ");
    host.ask(Question::YesNo, "OK?");
    // A window of its own, not a dialog: the window manager would put it anywhere.
    host.openTextFile("/nonexistent/KAWABE.csv");
    TextFileViewer* viewer = mainWindow.findChild<TextFileViewer*>();
    QVERIFY(viewer != nullptr);
    note(viewer);
    viewer->close();
    QCOMPARE(opened.keys(), (QStringList{"reportBox", "textFileViewer", "yesNoQuestion"}));
    for (const QString& name : opened.keys()) {
        const QRect& window = opened[name];
        QVERIFY2(screen.contains(window), qPrintable(name));
        QPoint off = window.center() - mainWindow.frameGeometry().center();
        QVERIFY2(std::abs(off.x()) <= kFrameWidthAllowance && std::abs(off.y()) <= kFrameHeightAllowance, qPrintable(name));
        QVERIFY2(window.width() >= captionNeeds[name], qPrintable(name));
    }
}

QTEST_MAIN(QtHostTest)
#include "QtHostTest.moc"
