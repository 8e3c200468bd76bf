// The text viewer that shows CSV, text and log files: code page 932 text, the window that
// leaves the program free, a file it cannot read, and the hand-off to the desktop.
#include "core/base/Cp932.h"
#include "gui/base/QtHost.h"
#include "gui/base/TextFileViewer.h"
#include "tests/gui/TextFileViewerTest.h"
#include "tests/gui/UrlCatcher.h"
#include "tests/support/TempHome.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

#include <filesystem>
#include <memory>

using namespace fenta21;
using namespace fenta21::gui;
using fenta21::test::TempHome;
using fenta21::test::UrlCatcher;

namespace {

QList<TextFileViewer*> viewers() {
    QList<TextFileViewer*> found;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (auto* viewer = qobject_cast<TextFileViewer*>(window)) found << viewer;
    return found;
}

}  // namespace

void TextFileViewerTest::hostShowsTheFileWithoutWaiting() {
    TempHome home;
    home.write("KAWABE.csv", utf8ToCp932("日付,水位(m),ﾃﾞｰﾀ\r\n17/03/09,1.52,OK\r\n"));
    QWidget mainWindow;
    QtHost host;
    host.setMainWindow(&mainWindow);
    // Returns while the window is open: a viewer that waited would never get here.
    host.openTextFile(home.file("KAWABE.csv"));
    QList<TextFileViewer*> open = viewers();
    QCOMPARE(open.size(), 1);
    TextFileViewer* viewer = open.front();
    QVERIFY(viewer->isVisible());
    QVERIFY(!viewer->isModal());
    QVERIFY(QApplication::activeModalWidget() == nullptr);
    QCOMPARE(viewer->windowTitle(), QStringLiteral("KAWABE.csv"));
    QCOMPARE(viewer->text(), QStringLiteral("日付,水位(m),ﾃﾞｰﾀ\n17/03/09,1.52,OK\n"));
    auto* text = viewer->findChild<QPlainTextEdit*>("text");
    QVERIFY(text->isReadOnly());
    QVERIFY(text->font().fixedPitch());
    QVERIFY(viewer->problem().isEmpty());
    // It belongs to the main window, and closing it frees it, so that a file shown again and
    // again leaves no hidden windows behind.
    QPointer<TextFileViewer> watched = viewer;
    QVERIFY(viewer->parentWidget() == &mainWindow);
    viewer->close();
    QTRY_VERIFY(watched.isNull());
}

void TextFileViewerTest::unreadableFileShowsWhy_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("reason");
    QTest::newRow("missing") << "absent.txt" << "cannot be opened";
    QTest::newRow("a folder") << "folder.csv" << "is a folder";
}

void TextFileViewerTest::unreadableFileShowsWhy() {
    QFETCH(QString, name);
    QFETCH(QString, reason);
    TempHome home;
    std::filesystem::create_directory(home.file("folder.csv"));
    QString path = QString::fromStdString(home.file(name.toStdString()));
    std::unique_ptr<TextFileViewer> viewer(TextFileViewer::open(path, nullptr));
    QVERIFY(viewer->isVisible());
    QVERIFY(viewer->text().isEmpty());
    QVERIFY2(viewer->problem().contains(path), qPrintable(viewer->problem()));
    QVERIFY2(viewer->problem().contains(reason), qPrintable(viewer->problem()));
    QVERIFY(!viewer->findChild<QPushButton*>("openWithSystemButton")->isEnabled());
}

void TextFileViewerTest::openWithSystemHandsTheFileToTheDesktop() {
    TempHome home;
    home.write("RSV.LOG", "20170309 1200 00001 \r\n");
    UrlCatcher desktop({"file"});
    TextFileViewer viewer(QString::fromStdString(home.file("RSV.LOG")));
    viewer.show();
    QTest::mouseClick(viewer.findChild<QPushButton*>("openWithSystemButton"), Qt::LeftButton);
    QCOMPARE(desktop.opened(), QList<QUrl>{QUrl::fromLocalFile(QString::fromStdString(home.file("RSV.LOG")))});
}

void TextFileViewerTest::escapeClosesIt() {
    TempHome home;
    home.write("RSV.LOG", "[001 KAWABE] 正常終了\r\n");
    QPointer<TextFileViewer> viewer = TextFileViewer::open(QString::fromStdString(home.file("RSV.LOG")), nullptr);
    QVERIFY(QTest::qWaitForWindowActive(viewer));
    QTest::keyClick(viewer->findChild<QPlainTextEdit*>("text"), Qt::Key_Escape);
    QTRY_VERIFY(viewer.isNull());
}

QTEST_MAIN(TextFileViewerTest)
