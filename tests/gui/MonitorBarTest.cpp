// The communication monitor in the main window: its lines, its limit, its selection and the
// com.log it leaves when it closes.
#include "core/app/CommandTable.h"
#include "core/base/Cp932.h"
#include "core/base/Files.h"
#include "gui/app/CMainFrame.h"
#include "gui/panel/CV38View.h"
#include "gui/app/MonitorBar.h"
#include "gui/app/StatusBar.h"
#include "tests/gui/GuiSimLine.h"
#include "tests/gui/MonitorBarTest.h"

#include <QAction>
#include <QListView>
#include <QPushButton>
#include <QtTest>

using namespace fenta21;
using namespace fenta21::gui;
using fenta21::test::GuiSimLine;

namespace {

constexpr int kPatience = 60000;  // ms; only a broken window ever waits this long

void capture(GuiSimLine& line, CaptureDirection direction, const std::string& bytes) {
    line.session->channel()->capture.capture(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(),
                                             direction);
}

QStringList exactLines(const MonitorBar& bar) {
    QStringList lines;
    for (int row = 0; row < bar.lines()->rowCount(); ++row)
        lines << bar.lines()->index(row).data(MonitorLines::kExactTextRole).toString();
    return lines;
}

int selectedRow(const MonitorBar& bar) {
    QModelIndexList rows = bar.list()->selectionModel()->selectedRows();
    return rows.size() == 1 ? rows.front().row() : -1;
}

void toggle(GuiSimLine& line) { line.frame->action(CommandId::kMonitor)->trigger(); }

}  // namespace

void MonitorBarTest::openingAndClosingResizeTheWindowAndRenameTheButton() {
    GuiSimLine line;
    QVERIFY(!line.frame->monitorShown());
    QCOMPARE(line.frame->statusBar()->monitorButton()->text(), QStringLiteral("詳細"));
    line.frame->statusBar()->monitorButton()->click();
    QVERIFY(line.frame->monitorShown());
    QCOMPARE(line.frame->maximumSize(), QSize(640, 439));
    QCOMPARE(line.frame->statusBar()->monitorButton()->text(), QStringLiteral(" Ｘ "));
    line.frame->statusBar()->monitorButton()->click();
    QVERIFY(!line.frame->monitorShown());
    QCOMPARE(line.frame->maximumSize(), QSize(640, 216));
    QCOMPARE(line.frame->statusBar()->monitorButton()->text(), QStringLiteral("詳細"));
    QCOMPARE(line.host.notice() ? line.host.notice()->isVisible() : false, false);
}

void MonitorBarTest::xKeyOpensAndClosesTheMonitor() {
    GuiSimLine line(MainMenuKind::WithoutOptions);
    line.frame->show();
    QVERIFY(QTest::qWaitForWindowExposed(line.frame.get()));
    line.frame->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(line.frame.get()));
    line.frame->view()->setFocus();
    QTest::keyClick(line.frame->view(), Qt::Key_X);
    QVERIFY(line.frame->monitorShown());
    QTest::keyClick(line.frame->view(), Qt::Key_X);
    QVERIFY(!line.frame->monitorShown());
}

void MonitorBarTest::sentCarriageReturnAndReceivedKatakanaByte() {
    GuiSimLine line;
    toggle(line);
    MonitorBar& bar = *line.frame->monitorBar();
    capture(line, CaptureDirection::Sent, "\x0D");
    capture(line, CaptureDirection::Received, "\xB1");
    bar.refresh(*line.session);
    QCOMPARE(exactLines(bar), (QStringList{QStringLiteral("送信：\x7F   "), QStringLiteral("......0D.."),
                                           QStringLiteral("受信：  \x7F "), QStringLiteral("________B1")}));
    // On screen the byte without a character of its own takes one column like the others.
    QFontMetricsF metrics(bar.list()->font());
    QCOMPARE(metrics.horizontalAdvance(bar.lines()->index(0).data().toString()),
             metrics.horizontalAdvance(QStringLiteral("送信：    ")));
}

void MonitorBarTest::thirtyFourthByteCompletesABlock() {
    GuiSimLine line;
    toggle(line);
    MonitorBar& bar = *line.frame->monitorBar();
    capture(line, CaptureDirection::Received, std::string(33, 'a'));
    bar.refresh(*line.session);
    QCOMPARE(bar.lines()->rowCount(), 4);
    capture(line, CaptureDirection::Received, "b");
    bar.refresh(*line.session);
    QCOMPARE(bar.lines()->rowCount(), 4);
    QVERIFY(exactLines(bar)[2].endsWith("a b "));
    capture(line, CaptureDirection::Sent, "c");
    bar.refresh(*line.session);
    QCOMPARE(bar.lines()->rowCount(), 8);
    QCOMPARE(exactLines(bar).mid(4), (QStringList{QStringLiteral("送信：c "), QStringLiteral("......63"),
                                                 QStringLiteral("受信：  "), QStringLiteral("________")}));
    QCOMPARE(selectedRow(bar), 7);
}

void MonitorBarTest::listKeepsFourThousandLinesAndFollowsTheLast() {
    GuiSimLine line;
    toggle(line);
    MonitorBar& bar = *line.frame->monitorBar();
    // 1000 blocks fill the list; they come in two updates, as the queue holds fewer.
    for (int half = 0; half < 2; ++half) {
        std::string traffic;
        for (int block = 0; block < 500; ++block) traffic += std::string(34, static_cast<char>('0' + block % 10));
        capture(line, CaptureDirection::Sent, traffic);
        bar.refresh(*line.session);
    }
    QCOMPARE(bar.lines()->rowCount(), 4000);
    capture(line, CaptureDirection::Sent, std::string(34, 'N') + std::string(34 * 2, 'M'));
    bar.refresh(*line.session);
    QCOMPARE(bar.lines()->rowCount(), 4000);
    QStringList lines = exactLines(bar);
    // The three oldest blocks ("0", "1", "2") went; the newest is last and selected.
    QVERIFY(lines[0].startsWith(QStringLiteral("送信：3 ")));
    QVERIFY(lines[3996].startsWith(QStringLiteral("送信：M ")));
    QCOMPARE(selectedRow(bar), 3999);
}

void MonitorBarTest::anEarlierSelectedLineStaysSelected() {
    GuiSimLine line;
    toggle(line);
    MonitorBar& bar = *line.frame->monitorBar();
    capture(line, CaptureDirection::Received, std::string(34 * 2, 'r'));
    bar.refresh(*line.session);
    QCOMPARE(selectedRow(bar), 7);
    bar.list()->selectionModel()->setCurrentIndex(bar.lines()->index(2), QItemSelectionModel::ClearAndSelect);
    capture(line, CaptureDirection::Sent, std::string(34, 's'));
    bar.refresh(*line.session);
    QCOMPARE(bar.lines()->rowCount(), 12);
    QCOMPARE(selectedRow(bar), 2);
}

void MonitorBarTest::closingWritesComLog() {
    GuiSimLine line;
    std::string comLog = line.home.file("com.log");
    // An earlier opening's traffic is not part of this opening's log.
    toggle(line);
    capture(line, CaptureDirection::Received, std::string(34, 'o'));
    line.frame->monitorBar()->refresh(*line.session);
    toggle(line);
    toggle(line);
    capture(line, CaptureDirection::Sent, std::string(34, 'k') + "\x0D");
    capture(line, CaptureDirection::Received, "\xB1");
    line.frame->monitorBar()->refresh(*line.session);
    toggle(line);

    std::string block = utf8ToCp932("送信：");
    for (int i = 0; i < 34; ++i) block += "k ";
    block += "\r\n......";
    for (int i = 0; i < 34; ++i) block += "6B";
    block += "\r\n" + utf8ToCp932("受信：") + std::string(68, ' ') + "\r\n______" + std::string(68, '_') + "\r\n";
    std::string part = utf8ToCp932("送信：") + "\x7F   \r\n......0D..\r\n" + utf8ToCp932("受信：") +
                       "  \x7F \r\n________B1\r\n";
    auto written = readWholeFile(comLog);
    QVERIFY(written.has_value());
    QCOMPARE(QByteArray::fromStdString(*written), QByteArray::fromStdString(block + part));
}

void MonitorBarTest::heartbeatFeedsTheOpenMonitorOnly() {
    GuiSimLine line;
    MonitorBar& bar = *line.frame->monitorBar();
    capture(line, CaptureDirection::Sent, "x");
    // A hidden monitor leaves the queue for the time it opens.
    QTRY_VERIFY_WITH_TIMEOUT(line.frame->statusBar()->statePicture()->bitmap() != StatusBitmap::BeforeFirstUpdate,
                             kPatience);
    QCOMPARE(bar.lines()->rowCount(), 0);
    toggle(line);
    QTRY_COMPARE_WITH_TIMEOUT(bar.lines()->rowCount(), 4, kPatience);
    QCOMPARE(exactLines(bar)[0], QStringLiteral("送信：x "));
}

QTEST_MAIN(MonitorBarTest)
