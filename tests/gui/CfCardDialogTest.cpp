// The CF card window: opened through command 32782, it formats a card image offered in its
// drive list, shows the sizes and the closing message, and stays open for the next card.
#include "core/app/CommandTable.h"
#include "core/util/CfCardFormat.h"
#include "core/util/FatVolume.h"
#include "gui/app/DesktopProgram.h"
#include "gui/base/StatusNotice.h"
#include "gui/util/CfCardDialog.h"
#include "gui/util/CfCardSetup.h"
#include "tests/gui/CfCardDialogTest.h"
#include "tests/gui/ModalWatcher.h"
#include "tests/support/TempHome.h"
#include "tests/support/TestClock.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <filesystem>
#include <fstream>

using namespace fenta21;
using namespace fenta21::gui;
using fenta21::test::ModalWatcher;
using fenta21::test::TempHome;

namespace {

constexpr int kPatience = 60000;  // ms; only a broken window ever waits this long

std::unique_ptr<DesktopProgram> startProgram(const TempHome& home) {
    return std::make_unique<DesktopProgram>(home.path(), std::make_unique<test::TestClock>(0.05));
}

std::string blankImage(const TempHome& home, const std::string& name, std::uintmax_t bytes) {
    std::string path = home.root() + "/" + name;
    { std::ofstream create(path, std::ios::binary); }
    std::filesystem::resize_file(path, bytes);
    return path;
}

// What the window showed, noted while it was open.
struct Seen {
    QStringList entries;
    int selected = -1;
    QStringList sizesAtOpening;
    QString workingFolder;
    QStringList sizesAfter;
    bool formatUsableAfter = false;
    // The notice that was up while the card was written: its text and whether it still shows.
    QString noticeText;
    bool noticeShownAfter = true;
};

QStringList sizeFields(QWidget* dialog) {
    QStringList texts;
    for (const char* name : {"totalSize", "freeSize", "allocationUnit"})
        texts << dialog->findChild<QLineEdit*>(name)->text();
    return texts;
}

}  // namespace

void CfCardDialogTest::command32782FormatsTheChosenCardAndShowsItsSizes() {
    TempHome home;
    std::string card = blankImage(home, "card.img", 64 << 20);
    std::string other = blankImage(home, "other.img", 8 << 20);
    auto program = startProgram(home);
    program->frame->cfCardSetup().listDrives = [&] {
        return std::vector<Drive>{{card, 64 << 20, "", true, "card.img  67 MB"}, {other, 8 << 20, "", false, "other.img  8 MB"}};
    };
    std::filesystem::current_path("/");

    Seen seen;
    QPointer<QWidget> window;
    QTimer afterFormat;
    ModalWatcher watcher([&](QWidget* opened) {
        if (opened->objectName() != "cfCardDialog")
            return ModalWatcher::confirmMessageBox(opened);  // "はい" to the warning, "OK" to the message
        window = opened;
        auto* drives = opened->findChild<QComboBox*>("driveList");
        for (int i = 0; i < drives->count(); ++i) seen.entries << drives->itemText(i);
        seen.selected = drives->currentIndex();
        seen.sizesAtOpening = sizeFields(opened);
        seen.workingFolder = QString::fromStdString(std::filesystem::current_path().string());
        test::clickButton(opened, QStringLiteral("フォーマット実行"));
        // Once the format has ended and its message is answered, the window is looked at again
        // and closed.
        afterFormat.setInterval(20);
        QObject::connect(&afterFormat, &QTimer::timeout, opened, [&] {
            auto* dialog = static_cast<CfCardDialog*>(window.data());
            if (dialog == nullptr || dialog->formatting() || QApplication::activeModalWidget() != dialog ||
                watcher.messages().size() < 2)
                return;
            afterFormat.stop();
            seen.sizesAfter = sizeFields(dialog);
            seen.formatUsableAfter = dialog->findChild<QPushButton*>("formatButton")->isEnabled();
            if (StatusNotice* notice = program->host.notice()) {
                seen.noticeText = notice->text();
                seen.noticeShownAfter = notice->isVisible();
            }
            test::clickButton(dialog, QStringLiteral("閉じる"));
        });
        afterFormat.start();
    });

    QAction* command = program->frame->action(CommandId::kCfCard);
    QVERIFY(command->isEnabled());
    command->trigger();

    QCOMPARE(watcher.windows(), (QStringList{"cfCardDialog", "yesNoQuestion", "reportBox"}));
    QCOMPARE(seen.entries, (QStringList{"card.img  67 MB", "other.img  8 MB"}));
    QCOMPARE(seen.selected, 0);
    QCOMPARE(seen.sizesAtOpening, (QStringList{"0", "0", "0"}));
    QCOMPARE(seen.workingFolder, QString::fromStdString(home.path()));
    QCOMPARE(watcher.messages().value(0), QString::fromStdString(std::string(kFormatWarningText).replace(
                                              std::string(kFormatWarningText).find("%s"), 2, card)));
    QCOMPARE(watcher.messages().value(1), QString::fromUtf8(kFormatDoneText));
    // The notice was up while the card was written, and is gone again.
    QCOMPARE(seen.noticeText, QString::fromUtf8(kFormattingNoticeText));
    QVERIFY(!seen.noticeShownAfter);

    std::optional<FatSizes> made = readFatSizes(card);
    QVERIFY(made);
    QCOMPARE(seen.sizesAfter, (QStringList{QString::number(made->totalBytes()), QString::number(made->freeBytes()),
                                           QStringLiteral("2048")}));
    QVERIFY(made->totalBytes() > 60'000'000);
    QVERIFY(seen.formatUsableAfter);
    QVERIFY(!window);  // closed by "閉じる", and gone with its exec
}

void CfCardDialogTest::theDriveFieldNamesTheChosenDeviceOrTheTypedText() {
    TempHome home;
    auto program = startProgram(home);
    CfCardSetup setup;
    setup.listDrives = [] {
        return std::vector<Drive>{{"/dev/sdb", 0, "", true, "/dev/sdb  64 MB"}, {"/dev/sdb1", 0, "CARD", true, "/dev/sdb1  64 MB  CARD"}};
    };
    CfCardDialog dialog(program->session, setup);
    auto* drives = dialog.findChild<QComboBox*>("driveList");
    QCOMPARE(dialog.driveText(), QStringLiteral("/dev/sdb"));
    drives->setCurrentIndex(1);
    QCOMPARE(dialog.driveText(), QStringLiteral("/dev/sdb1"));
    drives->setEditText(QStringLiteral("/dev/disk/by-label/CARD"));
    QCOMPARE(dialog.driveText(), QStringLiteral("/dev/disk/by-label/CARD"));
    QCOMPARE(drives->count(), 2);  // a typed text is used, not added
}

void CfCardDialogTest::theCommandGivenAtStartOpensTheWindow() {
    TempHome home;
    auto program = startProgram(home);
    program->frame->cfCardSetup().listDrives = [] { return std::vector<Drive>{}; };
    ModalWatcher watcher([](QWidget* opened) { test::clickButton(opened, QStringLiteral("閉じる")); });
    program->frame->show();
    program->runWhenShown(CommandId::kCfCard);
    QTRY_COMPARE_WITH_TIMEOUT(watcher.windows(), QStringList{"cfCardDialog"}, kPatience);
}

QTEST_MAIN(CfCardDialogTest)
