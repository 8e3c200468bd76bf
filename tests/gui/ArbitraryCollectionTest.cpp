// "任意回収" from the main window's command, with two simulated stations behind the modem on
// COM2: building the list, writing any.dat, and the run over the list.
#include "tests/gui/ArbitraryCollectionTest.h"

#include "core/app/CommandTable.h"
#include "core/session/Session.h"
#include "core/remote/ArbitraryList.h"
#include "core/remote/ArbitraryListFile.h"
#include "gui/base/ModalWindow.h"
#include "gui/remote/CollectionListModel.h"
#include "sim/RemoteStation.h"
#include "sim/SimModem.h"
#include "sim/image/DataImage.h"
#include "tests/gui/GuiModemLine.h"
#include "tests/gui/GuiSimLine.h"
#include "tests/gui/ModalWatcher.h"

#include <QAction>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QTreeView>
#include <QtTest>

#include <algorithm>
#include <filesystem>

using namespace fenta21;
using namespace fenta21::gui;
using fenta21::test::clickButton;
using fenta21::test::GuiSimLine;
using fenta21::test::ModalWatcher;

namespace {

constexpr const char* kKawabe = "0311111111";
constexpr const char* kDam = "0322222222";

std::string image() {
    sim::ImageRecipe recipe;
    recipe.instants = 10;
    recipe.channels = {{0, 20, 10, 1, 0}};
    return sim::buildDataImage(recipe);
}

struct TwoStations : test::GuiModemLine {
    TwoStations() : GuiModemLine(2) {
        line.session->settings.modemPortIndex = 1;
        line.session->settings.modemSpeedIndex = 5;
        modem.addStation(kKawabe).logger().setMemoryImage(image());
        modem.addStation(kDam).logger().setMemoryImage(image());
        line.session->addressBook.store(0, {"河辺", kKawabe, "", "KAWABE", "", "modem"});
        line.session->addressBook.store(1, {"ﾀﾞﾑ", kDam, "", "DAM", "", "modem"});
    }

    void writeList(const std::vector<int>& stations) {
        std::string bytes;
        for (int station : stations) bytes += le32(station);
        line.home.write("any.dat", bytes);
    }
    static std::string le32(int value) {
        std::string bytes(4, '\0');
        for (int i = 0; i < 4; ++i) bytes[static_cast<std::size_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
        return bytes;
    }
    std::vector<int> savedList() { return loadArbitraryList(line.home.file("any.dat")).stations(); }

    // The command, with `inWindow` acting in the arbitrary window and `other` seeing every
    // other window (message boxes are confirmed after it).
    QStringList run(const std::function<void(QWidget*)>& inWindow, const std::function<void(QWidget*)>& other = {}) {
        ModalWatcher watcher([&](QWidget* window) {
            if (window->objectName() == "arbitraryCollectionDialog") {
                QTimer::singleShot(0, window, [&inWindow, window] { inWindow(window); });
                return;
            }
            if (other) other(window);
            ModalWatcher::confirmMessageBox(window);
        });
        line.frame->action(CommandId::kArbitraryCollection)->trigger();
        return watcher.windows();
    }
};

void select(QWidget* window, const char* list, int row) {
    auto* view = window->findChild<QTreeView*>(list);
    view->setCurrentIndex(view->model()->index(row, 0));
    emit view->clicked(view->model()->index(row, 0));
}

void press(QWidget* window, const char* button) { window->findChild<QPushButton*>(button)->click(); }

QStringList column(QWidget* window, int column) {
    auto* view = window->findChild<QTreeView*>("collectionList");
    QStringList texts;
    for (int row = 0; row < view->model()->rowCount(); ++row) texts << view->model()->index(row, column).data().toString();
    return texts;
}

}  // namespace

void ArbitraryCollectionTest::listIsBuiltWithTheButtonsAndWrittenOnFinish() {
    TwoStations bench;
    // An index outside the book never shows a row that points nowhere.
    bench.writeList({1, 250, -1});
    QStringList opened, afterEdits;
    bench.run([&](QWidget* window) {
        opened = column(window, 0);
        select(window, "stationList", 5);  // an empty place: nothing is added
        press(window, "addButton");
        select(window, "stationList", 0);
        press(window, "insertButton");  // no row selected on the right: nothing is inserted
        press(window, "addButton");
        press(window, "addButton");     // the same station twice
        select(window, "collectionList", 0);
        press(window, "insertButton");
        select(window, "collectionList", 2);
        press(window, "removeButton");
        afterEdits = column(window, 0);
        press(window, "finishButton");
    });
    QCOMPARE(opened, QStringList{"002"});
    QCOMPARE(afterEdits, (QStringList{"001", "002", "001"}));
    QCOMPARE(bench.savedList(), (std::vector<int>{0, 1, 0}));
    QVERIFY(bench.modem.receivedLines().empty());
}

void ArbitraryCollectionTest::escapeWritesTheListToo() {
    TwoStations bench;
    bench.writeList({0, 1});
    QStringList windows = bench.run([](QWidget* window) {
        press(window, "clearButton");
        QTest::keyClick(window, Qt::Key_Escape);
    });
    QVERIFY(bench.line.home.exists("any.dat"));
    QCOMPARE(bench.line.home.read("any.dat"), std::string());
}

void ArbitraryCollectionTest::listThatCannotBeWrittenKeepsTheWindowOpen() {
    TwoStations bench;
    // A folder where any.dat should be: the file cannot be written.
    std::string blocked = bench.line.home.file("any.dat");
    std::filesystem::remove(blocked);
    std::filesystem::create_directory(blocked);
    bool stillOpen = false;
    QStringList rowsAfterRefusal;
    QStringList messages;
    ModalWatcher* seen = nullptr;
    ModalWatcher watcher([&](QWidget* window) {
        if (window->objectName() != "arbitraryCollectionDialog") return ModalWatcher::confirmMessageBox(window);
        QTimer::singleShot(0, window, [&, window] {
            select(window, "stationList", 0);
            press(window, "addButton");
            press(window, "finishButton");
            (void)QTest::qWaitFor([&] { return seen->messages().size() == 1; }, 30000);
            stillOpen = window->isVisible();
            rowsAfterRefusal = column(window, 0);
            std::filesystem::remove(blocked);
            press(window, "finishButton");
        });
    });
    seen = &watcher;
    bench.line.frame->action(CommandId::kArbitraryCollection)->trigger();
    QCOMPARE(watcher.messages(), QStringList{QStringLiteral("任意回収リストを保存できません!! ")});
    QVERIFY(stillOpen);
    QCOMPARE(rowsAfterRefusal, (QStringList{"001"}));
    QCOMPARE(bench.savedList(), std::vector<int>{0});
}

void ArbitraryCollectionTest::runCollectsTheRowsInOrderMarkingEachOne() {
    TwoStations bench;
    bench.writeList({0, 1, 0});
    QList<int> hotRows;
    QList<bool> greenWhileCollecting;
    bool greenAfterwards = true;
    CollectionListModel* model = nullptr;
    bench.run(
        [&](QWidget* window) {
            model = qobject_cast<CollectionListModel*>(window->findChild<QTreeView*>("collectionList")->model());
            press(window, "runButton");
            greenAfterwards = model->running() || model->hotRow() != -1;
            press(window, "finishButton");
        },
        [&](QWidget* other) {
            if (other->objectName() != kConnectionWindowName || model == nullptr) return;
            hotRows << model->hotRow();
            greenWhileCollecting << model->running();
        });
    QCOMPARE(bench.modem.dialledNumbers(), (std::vector<std::string>{kKawabe, kDam, kKawabe}));
    QCOMPARE(hotRows, (QList<int>{0, 1, 2}));
    QCOMPARE(greenWhileCollecting, (QList<bool>{true, true, true}));
    QVERIFY(!greenAfterwards);
    // The first visit stored a file for each station; the second found nothing new.
    QCOMPARE(bench.line.dataFiles().filter(".v38").size(), 2);
}

void ArbitraryCollectionTest::cancelledStationEndsTheRun() {
    TwoStations bench;
    bench.modem.station(kKawabe)->setFaults([] {
        sim::StationFaults faults;
        faults.neverAnswers = true;
        return faults;
    }());
    bench.writeList({0, 1});
    QStringList windows = bench.run([](QWidget* window) {
        press(window, "runButton");
        press(window, "finishButton");
    },
              [](QWidget* other) {
                  if (auto* connecting = qobject_cast<ModalWindow*>(other))
                      QTimer::singleShot(0, connecting, [connecting] { connecting->cancelButton()->click(); });
              });
    // One connection window, for the first station; the second is never called.
    QCOMPARE(windows.count(kConnectionWindowName), 1);
    auto dialled = bench.modem.dialledNumbers();
    QVERIFY(std::find(dialled.begin(), dialled.end(), kDam) == dialled.end());
    QCOMPARE(bench.savedList(), (std::vector<int>{0, 1}));
}

void ArbitraryCollectionTest::windowLargerThanTheScreenFitsItAndScrolls() {
    TwoStations bench;
    // The window is wider than the test screen (800 pixels, as a 1280-pixel one at a scale of 1.6).
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QRect frame;
    bool listScrolls = false;
    bench.run([&](QWidget* window) {
        frame = window->frameGeometry();
        auto* area = window->findChild<QScrollArea*>();
        listScrolls = area != nullptr && area->isAncestorOf(window->findChild<QTreeView*>("collectionList"));
        clickButton(window, QStringLiteral("終了"));
    });
    QVERIFY2(screen.contains(frame), qPrintable(QString("%1x%2 on %3x%4").arg(frame.width()).arg(frame.height())
                                                    .arg(screen.width()).arg(screen.height())));
    QVERIFY(listScrolls);
}

QTEST_MAIN(ArbitraryCollectionTest)
