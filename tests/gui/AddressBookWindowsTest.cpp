// "ｱﾄﾞﾚｽ帳の設定" and its entry editor from the main window's command: the shared station
// list, the editing, erasing and saving of adr.csv, and the editor's field limits and folder
// check.
#include "tests/gui/AddressBookWindowsTest.h"

#include "core/app/CommandTable.h"
#include "core/session/Session.h"
#include "core/remote/AddressBookFile.h"
#include "gui/remote/RemoteWindows.h"
#include "gui/remote/StationEditorDialog.h"
#include "gui/remote/StationListModel.h"
#include "tests/gui/GuiSimLine.h"
#include "tests/gui/ModalWatcher.h"

#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTreeView>
#include <QtTest>

using namespace fenta21;
using namespace fenta21::gui;
using fenta21::test::clickButton;
using fenta21::test::GuiSimLine;
using fenta21::test::ModalWatcher;

namespace {

QLineEdit* field(QWidget* dialog, const char* name) { return dialog->findChild<QLineEdit*>(name); }

void selectRow(QWidget* window, int row) {
    auto* list = window->findChild<QTreeView*>("stationList");
    list->setCurrentIndex(list->model()->index(row, 0));
}

QString cell(QWidget* window, int row, int column) {
    auto* list = window->findChild<QTreeView*>("stationList");
    return list->model()->index(row, column).data().toString();
}

// Runs the address book command; `inBook` acts in the dialog, `inEditor` in each editor it opens.
struct AddressBookRun {
    std::function<void(QWidget*)> inBook;
    std::function<void(QWidget*)> inEditor;
    QStringList messages;

    void run(GuiSimLine& line) {
        ModalWatcher watcher([&](QWidget* window) {
            auto act = window->objectName() == "addressBookDialog" ? inBook
                       : window->objectName() == "stationEditor"   ? inEditor
                                                                   : nullptr;
            if (act) QTimer::singleShot(0, window, [act, window] { act(window); });
            else ModalWatcher::confirmMessageBox(window);
        });
        line.frame->action(CommandId::kAddressBook)->trigger();
        messages = watcher.messages();
    }
};

}  // namespace

void AddressBookWindowsTest::listShowsEveryPlaceWithTheSevenColumns() {
    GuiSimLine line;
    line.session->addressBook.store(4, {"河辺", "0312345678_1", "山側", "KAWABE", "../data", "com"});
    QStringList headings, widths, row;
    AddressBookRun book;
    book.inBook = [&](QWidget* window) {
        auto* list = window->findChild<QTreeView*>("stationList");
        for (int c = 0; c < list->model()->columnCount(); ++c) {
            headings << list->model()->headerData(c, Qt::Horizontal).toString();
            widths << QString::number(list->columnWidth(c));
            row << cell(window, 4, c);
        }
        QCOMPARE(list->model()->rowCount(), 100);
        QCOMPARE(cell(window, 99, 0), QStringLiteral("100"));
        QCOMPARE(list->selectionBehavior(), QAbstractItemView::SelectRows);
        clickButton(window, QStringLiteral("ｷｬﾝｾﾙ"));
    };
    book.run(line);
    QCOMPARE(headings, (QStringList{"No.", "地点名", "電話番号", "備考", "ﾌｧｲﾙ名", "ﾌｫﾙﾀﾞ名", "接続方法"}));
    QCOMPARE(widths, (QStringList{"30", "132", "84", "132", "72", "132", "60"}));
    QCOMPARE(row, (QStringList{"005", "河辺", "0312345678_1", "山側", "KAWABE", "../data", "com"}));
}

void AddressBookWindowsTest::editedEntryIsShownAndSavedOnOk() {
    GuiSimLine line;
    QString shownName, shownMethod;
    AddressBookRun book;
    book.inBook = [&](QWidget* window) {
        selectRow(window, 2);
        clickButton(window, QStringLiteral("設定"));
        (void)QTest::qWaitFor([&] { return !cell(window, 2, 1).isEmpty(); }, 30000);
        shownName = cell(window, 2, 1);
        shownMethod = cell(window, 2, 6);
        clickButton(window, "OK");
    };
    book.inEditor = [](QWidget* editor) {
        QCOMPARE(editor->findChild<QLabel*>("numberText")->text(), QStringLiteral("003"));
        QVERIFY(editor->findChild<QRadioButton*>("modemChoice")->isChecked());
        field(editor, "nameField")->setText(QStringLiteral("ﾀﾞﾑ"));
        field(editor, "telephoneField")->setText("0451112222");
        editor->findChild<QRadioButton*>("directChoice")->setChecked(true);
        clickButton(editor, "OK");
    };
    book.run(line);
    QCOMPARE(book.messages, QStringList{});
    QCOMPARE(shownName, QStringLiteral("ﾀﾞﾑ"));
    QCOMPARE(shownMethod, QStringLiteral("com"));
    AddressBook saved;
    QVERIFY(loadAddressBook(line.home.file("adr.csv"), saved));
    QCOMPARE(saved.station(2).name, std::string("ﾀﾞﾑ"));
    QVERIFY(saved.isDirect(2));
}

void AddressBookWindowsTest::cancelKeepsTheEditsInMemoryWithoutSaving() {
    GuiSimLine line;
    AddressBookRun book;
    book.inBook = [](QWidget* window) {
        selectRow(window, 0);
        auto* list = window->findChild<QTreeView*>("stationList");
        // A double click opens the editor as "設定" does.
        emit list->doubleClicked(list->model()->index(0, 1));
        (void)QTest::qWaitFor([&] { return !cell(window, 0, 1).isEmpty(); }, 30000);
        clickButton(window, QStringLiteral("ｷｬﾝｾﾙ"));
    };
    book.inEditor = [](QWidget* editor) {
        field(editor, "nameField")->setText(QStringLiteral("河辺"));
        clickButton(editor, "OK");
    };
    book.run(line);
    QCOMPARE(line.session->addressBook.station(0).name, std::string("河辺"));
    QVERIFY(!line.home.exists("adr.csv"));
}

void AddressBookWindowsTest::eraseEmptiesTheSelectedEntry() {
    GuiSimLine line;
    line.session->addressBook.store(1, {"河辺", "031", "", "K", "", "com"});
    line.session->addressBook.store(2, {"ﾀﾞﾑ", "045", "", "D", "", "modem"});
    QString shownAfterErase;
    AddressBookRun book;
    book.inBook = [&](QWidget* window) {
        selectRow(window, 1);
        clickButton(window, QStringLiteral("削除"));
        (void)QTest::qWaitFor([&] { return cell(window, 1, 1).isEmpty(); }, 30000);
        shownAfterErase = cell(window, 1, 6);
        clickButton(window, "OK");
    };
    book.run(line);
    QCOMPARE(shownAfterErase, QString());
    QCOMPARE(line.session->addressBook.station(1), Station{});
    QVERIFY(!line.session->addressBook.isDirect(1));
    QCOMPARE(line.session->addressBook.station(2).name, std::string("ﾀﾞﾑ"));
    QCOMPARE(QString::fromStdString(line.home.read("adr.csv")).section("\r\n", 1, 1), QStringLiteral(",,,,,"));
}

void AddressBookWindowsTest::editorFieldsRefuseTheByteBeyondTheirLimit_data() {
    QTest::addColumn<QString>("fieldName");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");
    QTest::newRow("name, single bytes") << "nameField" << QString(31, 'A') << QString(30, 'A');
    QTest::newRow("name, kanji two bytes each") << "nameField" << QString(16, QChar(0x6CB3)) << QString(15, QChar(0x6CB3));
    QTest::newRow("telephone") << "telephoneField" << QString(31, '1') << QString(30, '1');
    QTest::newRow("remark, half-width katakana") << "remarkField" << QString(31, QChar(0xFF71)) << QString(30, QChar(0xFF71));
    QTest::newRow("file name") << "fileNameField" << QString(31, 'F') << QString(30, 'F');
    QTest::newRow("folder") << "folderField" << QString(65, 'd') << QString(64, 'd');
}

void AddressBookWindowsTest::editorFieldsRefuseTheByteBeyondTheirLimit() {
    QFETCH(QString, fieldName);
    QFETCH(QString, typed);
    QFETCH(QString, kept);
    GuiSimLine line;
    StationEditorDialog dialog(*StationEditor::open(*line.session, line.session->addressBook, 0), nullptr);
    QLineEdit* edit = field(&dialog, fieldName.toUtf8().constData());
    for (QChar character : typed)
        QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(character), Qt::NoModifier);
    QCOMPARE(edit->text(), kept);
}

void AddressBookWindowsTest::editorRefusesAMissingFolderAndStaysOpen() {
    GuiSimLine line;
    line.session->addressBook.store(0, {"河辺", "031", "", "K", "", "modem"});
    ModalWatcher* outer = nullptr;
    bool stillOpen = false;
    QString folderAfterRefusal;
    ModalWatcher watcher([&](QWidget* window) {
        if (window->objectName() != "stationEditor") return ModalWatcher::confirmMessageBox(window);
        QTimer::singleShot(0, window, [&, window] {
            field(window, "nameField")->setText(QStringLiteral("新河辺"));
            field(window, "folderField")->setText(QString::fromStdString(line.home.root() + "/nowhere"));
            clickButton(window, "OK");
            (void)QTest::qWaitFor([&] { return outer->messages().size() == 1; }, 30000);
            stillOpen = window->isVisible();
            folderAfterRefusal = field(window, "folderField")->text();
            clickButton(window, QStringLiteral("ｷｬﾝｾﾙ"));
        });
    });
    outer = &watcher;
    QVERIFY(!StationEditorDialog::edit(*line.session, 0, nullptr));
    QCOMPARE(watcher.messages(), QStringList{QStringLiteral("設定したフォルダがありません!! ")});
    QVERIFY(stillOpen);
    QCOMPARE(folderAfterRefusal, QStringLiteral("../data/"));
    QCOMPARE(line.session->addressBook.station(0).name, std::string("河辺"));
}

void AddressBookWindowsTest::emptyFolderPassesAndIsStoredEmpty() {
    GuiSimLine line;
    line.session->addressBook.store(0, {"河辺", "031", "", "K", "../data", "modem"});
    ModalWatcher watcher([&](QWidget* window) {
        if (window->objectName() != "stationEditor") return ModalWatcher::confirmMessageBox(window);
        QTimer::singleShot(0, window, [window] {
            field(window, "folderField")->clear();
            clickButton(window, "OK");
        });
    });
    QVERIFY(StationEditorDialog::edit(*line.session, 0, nullptr));
    QCOMPARE(watcher.messages(), QStringList{});
    QCOMPARE(line.session->addressBook.station(0).folder, std::string());
}

void AddressBookWindowsTest::enterInTheListOpensTheEditorAsADoubleClickDoes() {
    GuiSimLine line;
    line.session->addressBook.store(4, {"河辺", "0312345678", "", "KAWABE", "", "modem"});
    QString edited;
    bool bookStayedOpen = false;
    AddressBookRun book;
    book.inBook = [&](QWidget* window) {
        auto* list = window->findChild<QTreeView*>("stationList");
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
        selectRow(window, 4);
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Return);
        bookStayedOpen = window->isVisible();
        clickButton(window, QStringLiteral("ｷｬﾝｾﾙ"));
    };
    book.inEditor = [&](QWidget* editor) {
        edited = field(editor, "nameField")->text();
        clickButton(editor, QStringLiteral("ｷｬﾝｾﾙ"));
    };
    book.run(line);
    QCOMPARE(edited, QStringLiteral("河辺"));
    QVERIFY(bookStayedOpen);
}

QTEST_MAIN(AddressBookWindowsTest)
